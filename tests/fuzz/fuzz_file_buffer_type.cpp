// Feeds arbitrary bytes to the content-kind tests: FileBufferType quick and
// thorough, the statistical UTF-16 test, StringIsInUnicode, and the decoding
// that follows the kind.
//
// Besides "no crash, no undefined behaviour", the answers are checked against
// each other: buffers of 3 bytes or fewer have no kind, longer ones always have
// one; a thorough answer is exactly one kind; the statistical test never takes
// a buffer of odd size for UTF-16; and the signatures decide alike in both modes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quillrt/files/file_contents.h"
#include "quillrt/platform/unicode_statistics.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

bool SingleKind(TFileContentsSet set) {
  const unsigned bits = set.Bits();
  return bits != 0 && (bits & (bits - 1)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto length = static_cast<std::int64_t>(size);
  const TFileContentsSet quick = FileBufferType(data, false, length);
  const TFileContentsSet thorough = FileBufferType(data, true, length);
  if (size <= 3) {
    Check(quick.Empty() && thorough.Empty());
  } else {
    Check(!quick.Empty());
    Check(SingleKind(thorough));
    const bool signed_kind = quick.Contains(fc_Zip) || quick.Contains(fc_Storage) || quick.Contains(fc_early_Word);
    if (signed_kind) Check(quick == thorough);
  }
  if (IsTextUnicode(data, length)) Check(size % 2 == 0);
  if (StringIsInUnicode(data, length)) Check(size > 3);
  const UnicodeString text = DecodedTextBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  Check(text.size() <= size + 1);
  return 0;
}
