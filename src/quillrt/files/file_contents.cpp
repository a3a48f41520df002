#include "quillrt/files/file_contents.h"

#include "quillrt/framework/encoding.h"
#include "quillrt/framework/streams.h"
#include "quillrt/platform/unicode_statistics.h"
#include "quillrt/text/unicode_signatures.h"

namespace quill {

namespace {

constexpr std::uint32_t kStorageSignature = 0xE011CFD0;
constexpr std::uint32_t kEarlyWordSignature = 0x002DA5DB;
constexpr std::uint32_t kZipSignature = 0x04034B50;

bool HasUtf8Signature(const unsigned char* bytes) {
  return IsUTF8Signature(TThreeBytes{bytes[0], bytes[1], bytes[2]});
}

}  // namespace

TFileContentsSet FileBufferType(const void* buffer, bool thorough, std::int64_t size) {
  if (buffer == nullptr || size <= 3) return {};
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  const std::uint32_t signature = TStream::FromLE<std::uint32_t>(bytes);
  if (signature == kStorageSignature) return {fc_Storage};
  if (signature == kEarlyWordSignature) return {fc_early_Word};
  if (signature == kZipSignature) return {fc_Zip};
  const std::uint16_t first = TStream::FromLE<std::uint16_t>(bytes);

  TFileContentsSet set;
  if (!thorough) {
    if (HasUtf8Signature(bytes)) set.Include(fc_UTF8);
    if (first == 0xFEFF)
      set.Include(fc_16_bit);
    else if (first == 0xFFFE)
      set.Include(fc_16_bit_reversed);
    else
      set.Include(fc_8_bit);
    return set;
  }
  const bool marked = size % 2 == 0 && (first == 0xFEFF || first == 0xFFFE);
  if (marked || IsTextUnicode(bytes, size)) {
    set.Include(first == 0xFFFE ? fc_16_bit_reversed : fc_16_bit);
    return set;
  }
  if (HasUtf8Signature(bytes)) {
    set.Include(fc_UTF8);
    return set;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
  text = text.substr(0, text.find('\0'));
  bool all_ascii = true;
  const bool well_formed = CheckedUTF(text, all_ascii);
  set.Include(well_formed && !all_ascii ? fc_UTF8 : fc_8_bit);
  return set;
}

std::string ReadWholeFile(const UnicodeString& name) {
  TFileStream stream(name, fmOpenRead | fmShareDenyNone);
  std::string bytes;
  const std::int64_t size = stream.GetSize();
  bytes.resize(static_cast<std::size_t>(size));
  if (size > 0) stream.ReadBuffer(bytes.data(), size);
  return bytes;
}

TFileContentsSet FileContentsType(const UnicodeString& name, bool thorough) {
  try {
    std::string bytes;
    if (thorough) {
      bytes = ReadWholeFile(name);
    } else {
      TFileStream stream(name, fmOpenRead | fmShareDenyNone);
      bytes.resize(4);
      bytes.resize(static_cast<std::size_t>(stream.Read(bytes.data(), 4)));
    }
    if (bytes.size() < 4) return {};
    return FileBufferType(bytes.data(), thorough, static_cast<std::int64_t>(bytes.size()));
  } catch (const std::exception&) {
    return {};
  }
}

int FileContentsComparison(TFileContentsSet a, TFileContentsSet b) {
  if (a.Empty() && b.Empty()) return 0;
  if (a.Bits() < b.Bits()) return -1;
  return a.Bits() > b.Bits() ? 1 : 0;
}

bool StringIsInUnicode(const void* buffer, std::int64_t size) {
  if (buffer == nullptr || size <= 3) return false;
  const auto first = TStream::FromLE<std::uint16_t>(static_cast<const unsigned char*>(buffer));
  return first == 0xFEFF || first == 0xFFFE || IsTextUnicode(buffer, size);
}

bool TextFileInUnicode(const UnicodeString& name) {
  try {
    const std::string bytes = ReadWholeFile(name);
    return !bytes.empty() && StringIsInUnicode(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  } catch (const std::exception&) {
    return false;
  }
}

UnicodeString DecodedTextBytes(std::string_view bytes) {
  const TFileContentsSet kind = FileBufferType(bytes.data(), true, static_cast<std::int64_t>(bytes.size()));
  std::size_t mark = 0;
  TEncoding::DetectFromPreamble(bytes, mark);
  if (kind.Contains(fc_16_bit_reversed)) return TEncoding::BigEndianUnicode()->GetString(bytes.substr(mark));
  if (kind.Contains(fc_16_bit)) return TEncoding::Unicode()->GetString(bytes.substr(mark));
  if (kind.Contains(fc_UTF8)) return TEncoding::UTF8()->GetString(bytes.substr(mark));
  if (kind.Empty()) {
    // Too short to judge by content: a mark, or UTF-8 that holds a non-ASCII character.
    if (const TEncoding* marked = TEncoding::DetectFromPreamble(bytes, mark)) return marked->GetString(bytes.substr(mark));
    bool all_ascii = true;
    if (CheckedUTF(bytes, all_ascii) && !all_ascii) return TEncoding::UTF8()->GetString(bytes);
  }
  return TEncoding::Default()->GetString(bytes);
}

}  // namespace quill
