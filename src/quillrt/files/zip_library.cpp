#include "quillrt/files/zip_library.h"

#include <dlfcn.h>

#include <string>
#include <type_traits>

#include "quillrt/files/zip_archive.h"

#ifndef QUILL_LIBZIP_SONAME
#error "QUILL_LIBZIP_SONAME names the libzip to load (set by the build)"
#endif

namespace quill::detail {

namespace {

[[noreturn]] void ThrowUnloadable(const char* reason) {
  throw EZipError(std::string("Zip archives need " QUILL_LIBZIP_SONAME ", which could not be loaded: ") +
                  (reason != nullptr ? reason : "no reason given"));
}

ZipLibrary Load() {
  // Kept open for the life of the process: the table points into it.
  void* handle = dlopen(QUILL_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) ThrowUnloadable(dlerror());
  ZipLibrary library;
  const auto find = [&](auto& pointer, const char* name) {
    dlerror();
    void* address = dlsym(handle, name);
    if (address == nullptr) {
      const char* message = dlerror();
      const std::string reason = message != nullptr ? message : std::string(name) + " is missing";
      dlclose(handle);
      ThrowUnloadable(reason.c_str());
    }
    pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(address);
  };
#define QUILL_ZIP_FIND(name) find(library.name, #name);
  QUILL_ZIP_FUNCTIONS(QUILL_ZIP_FIND)
#undef QUILL_ZIP_FIND
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
