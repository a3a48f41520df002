#include "quillrt/collections/mem_ini_file.h"

#include <string>
#include <string_view>

#include "quillrt/framework/encoding.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/sysutils.h"

namespace quill {

namespace {

std::string ReadWholeFile(const UnicodeString& file_name) {
  TFileStream in(file_name, fmOpenRead | fmShareDenyWrite);
  std::string bytes(static_cast<std::size_t>(in.GetSize()), '\0');
  if (!bytes.empty()) in.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  return bytes;
}

// Length of the UTF-8 sequence starting at bytes[i], or 0 when it is ill-formed
// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > bytes.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return length;
}

bool IsWellFormedUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// The encoding of a settings file without a byte-order mark (see the header).
const TEncoding* GuessEncoding(std::string_view bytes) {
  std::size_t zeros_at_even = 0, zeros_at_odd = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\0') ++(i % 2 == 0 ? zeros_at_even : zeros_at_odd);
  if (bytes.size() % 2 == 0 && zeros_at_even + zeros_at_odd > 0)
    return zeros_at_odd >= zeros_at_even ? TEncoding::Unicode() : TEncoding::BigEndianUnicode();
  if (IsWellFormedUtf8(bytes)) return TEncoding::UTF8();
  return TEncoding::Default();
}

}  // namespace

TMyMemIniFile::TMyMemIniFile(const UnicodeString& file_name)
    : TMemIniFile(file_name, TEncoding::Unicode(), DeferLoading{}) {
  if (file_name.empty() || !FileExists(file_name)) return;
  const std::string bytes = ReadWholeFile(file_name);
  std::size_t preamble = 0;
  const TEncoding* encoding = TEncoding::DetectFromPreamble(bytes, preamble);
  if (!encoding) encoding = GuessEncoding(bytes);
  TStringList lines;
  lines.SetText(encoding->GetString(std::string_view(bytes).substr(preamble)));
  SetStrings(lines);
}

bool TMyMemIniFile::ReadBool(const UnicodeString& section, const UnicodeString& ident,
                             bool default_value) const {
  const UnicodeString value = ReadString(section, ident, default_value ? kIniYes : kIniNo);
  if (value.empty()) return default_value;
  if (default_value) return value.front() == kIniYes[0];
  return value.front() != kIniNo[0];
}

void TMyMemIniFile::WriteBool(const UnicodeString& section, const UnicodeString& ident, bool value) {
  WriteString(section, ident, value ? kIniYes : kIniNo);
}

UnicodeString TMyMemIniFile::BackupFileName() const { return ChangeFileExt(FileName(), u".BAK"); }

bool TMyMemIniFile::SaveABackup() const {
  if (FileName().empty() || !FileExists(FileName())) return false;
  try {
    const std::string bytes = ReadWholeFile(FileName());
    return WriteFileAtomically(BackupFileName(), [&](TStream& out) {
      if (!bytes.empty()) out.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
      return true;
    });
  } catch (const Exception&) {
    return false;  // the backup is a courtesy: a failure must not stop the tool
  }
}

}  // namespace quill
