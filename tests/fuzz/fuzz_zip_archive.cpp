// Opens arbitrary bytes as a zip archive and, when that succeeds, reads every
// entry's details, looks each entry up by its stored name, reads the comment
// and extracts the entries (small ones: a few bytes can promise gigabytes).
//
// EZipError is the documented answer to a damaged archive and not a failure;
// per-entry failures are skipped through the failure event. Checked besides
// crashes, leaks and undefined behaviour: an entry is found again by its own
// name (the first entry of that name), and what is extracted has the size the
// archive reports.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quillrt/files/zip_archive.h"

namespace {

using namespace quill;

constexpr int kMostEntries = 64;
constexpr std::int64_t kLargestExtract = 1 << 20;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TZipArchive zip;
  zip.OnProcessFileFailure = [](TZipArchive&, const UnicodeString&, TZipOperation, const UnicodeString&,
                                TZipFailureAction& action) { action = zfaSkip; };
  try {
    zip.OpenFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EZipError&) {
    return 0;
  }
  (void)zip.Comment();
  const int count = zip.EntryCount();
  Check(count >= 0);
  for (int i = 0; i < count && i < kMostEntries; ++i) {
    const TZipEntryInfo info = zip.EntryInfo(i);
    if (!info.StoredName.empty()) {
      const int found = zip.FindEntry(info.StoredName);
      Check(found >= 0 && found <= i);
    }
    if (info.Size < 0 || info.Size > kLargestExtract || info.CompressedSize > kLargestExtract) continue;
    TMemoryStream stream;
    if (zip.ExtractToStream(i, stream)) Check(stream.GetSize() == info.Size);
  }
  zip.CloseArchive();
  return 0;
}
