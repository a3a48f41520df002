#include "quillrt/files/zip_library.h"

#include <optional>
#include <string>
#include <vector>

#include "quillrt/files/zip_archive.h"
#include "quillrt/platform/dynamic_library.h"

#ifndef QUILL_LIBZIP_SONAME
#error "QUILL_LIBZIP_SONAME names the libzip to load (set by the build)"
#endif

namespace quill::detail {

namespace {

ZipLibrary Load() {
  static constexpr const char* kNames[] = {
#define QUILL_ZIP_NAME(name) #name,
      QUILL_ZIP_FUNCTIONS(QUILL_ZIP_NAME)
#undef QUILL_ZIP_NAME
  };
  std::string reason;
  const std::optional<std::vector<void*>> addresses = LoadLibraryForGood(QUILL_LIBZIP_SONAME, kNames, reason);
  if (!addresses)
    throw EZipError("Zip archives need " QUILL_LIBZIP_SONAME ", which could not be loaded: " + reason);
  ZipLibrary library;
  std::size_t next = 0;
#define QUILL_ZIP_TAKE(name) library.name = reinterpret_cast<decltype(library.name)>((*addresses)[next++]);
  QUILL_ZIP_FUNCTIONS(QUILL_ZIP_TAKE)
#undef QUILL_ZIP_TAKE
  return library;
}

}  // namespace

const ZipLibrary& Zip() {
  // A static whose initialization throws is not initialized: the next call
  // loads again and raises the same error, rather than handing out nulls.
  static const ZipLibrary library = Load();
  return library;
}

}  // namespace quill::detail
