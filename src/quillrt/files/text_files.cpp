#include "quillrt/files/text_files.h"

#include <unicode/unorm2.h>

#include <algorithm>

#include "quillrt/files/file_contents.h"
#include "quillrt/files/file_operations.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/code_pages.h"
#include "quillrt/platform/utf8_decoding.h"
#include "quillrt/text/locale_helpers.h"
#include "quillrt/text/unicode_signatures.h"

namespace quill {

namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// Well-formed UTF-8 with at least one character beyond ASCII.
bool IsUtf8WithNonAscii(std::string_view bytes) {
  bool non_ascii = false;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t i = 0; i < bytes.size();) {
    const detail::Utf8Step step = detail::DecodeUtf8Step(p + i, bytes.size() - i);
    if (!step.valid) return false;
    non_ascii = non_ascii || step.length > 1;
    i += step.length;
  }
  return non_ascii;
}

std::string Utf16LEBytes(const UnicodeString& text) {
  std::string bytes(kUtf16Mark);
  bytes.reserve(2 + text.size() * 2);
  for (WideChar unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

bool WriteBytesAtomically(const UnicodeString& name, const std::string& bytes) {
  return WriteFileAtomically(name, [&](TStream& out) {
    out.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return true;
  });
}

UnicodeString Composed(const UnicodeString& text) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  if (U_FAILURE(status) || text.empty()) return text;
  const auto length = static_cast<int32_t>(text.size());
  if (unorm2_isNormalized(nfc, text.data(), length, &status) && U_SUCCESS(status)) return text;
  status = U_ZERO_ERROR;
  UnicodeString out(text.size() + 16, u'\0');
  int32_t written = unorm2_normalize(nfc, text.data(), length, out.data(), static_cast<int32_t>(out.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    status = U_ZERO_ERROR;
    out.resize(static_cast<std::size_t>(written));
    written = unorm2_normalize(nfc, text.data(), length, out.data(), written, &status);
  }
  if (U_FAILURE(status)) return text;
  out.resize(static_cast<std::size_t>(written));
  return out;
}

// The file's text and the encoding it was read with (by its mark, else the
// system's 8-bit page); `had_mark` tells whether a mark was there.
UnicodeString ReadByMark(const UnicodeString& name, const TEncoding*& encoding, bool& had_mark) {
  const std::string bytes = ReadWholeFile(name);
  std::size_t mark = 0;
  encoding = TEncoding::DetectFromPreamble(bytes, mark);
  had_mark = encoding != nullptr;
  if (encoding == nullptr) encoding = TEncoding::Default();
  return encoding->GetString(std::string_view(bytes).substr(mark));
}

bool InsertAndWrite(const UnicodeString& name, const UnicodeString& insertion, bool backup, int position,
                    bool keep_encoding) {
  if (backup) CopyAFileWithBackup(name);
  const TEncoding* encoding = nullptr;
  bool had_mark = false;
  UnicodeString text = ReadByMark(name, encoding, had_mark);  // a failure to read goes to the caller
  try {
    const std::size_t at = static_cast<std::size_t>(std::clamp(position, 1, static_cast<int>(text.size()) + 1) - 1);
    text.insert(at, insertion);
    if (!keep_encoding) return WriteBytesAtomically(name, Utf16LEBytes(text));
    std::string bytes = had_mark ? std::string(encoding->GetPreamble()) : std::string();
    bytes += encoding->GetBytes(text);
    return WriteBytesAtomically(name, bytes);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

void TPossiblyDodgyTextStringlist::LoadFromStream(TStream& stream, const TEncoding* encoding) {
  std::string bytes;
  std::vector<char> chunk(65536);
  for (;;) {
    const std::int64_t got = stream.Read(chunk.data(), static_cast<std::int64_t>(chunk.size()));
    if (got <= 0) break;
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
  }
  std::size_t mark = 0;
  const TEncoding* used = TEncoding::DetectFromPreamble(bytes, mark);
  UnicodeString text;
  if (used != nullptr) {
    text = used->GetString(std::string_view(bytes).substr(mark));
  } else {
    used = encoding != nullptr ? encoding : TEncoding::Default();
    text = used->GetString(bytes);
    const int page = used->CodePage();
    const bool eight_bit = page != 1200 && page != 1201 && page != 65001;
    if (eight_bit && UTF8LengthInChars(bytes) != text.size() && IsUtf8WithNonAscii(bytes)) {
      used = TEncoding::UTF8();
      text = used->GetString(bytes);
    }
  }
  SetTextStr(text);
  SetEncoding(used);
}

void TPossiblyDodgyTextStringlist::LoadFromFile(const UnicodeString& file_name, const TEncoding* encoding) {
  TFileStream stream(file_name, fmOpenRead | fmShareDenyNone);
  LoadFromStream(stream, encoding);
}

UnicodeString TextFileContents(const UnicodeString& name) {
  if (!FileExists(name)) return {};
  TPossiblyDodgyTextStringlist lines;
  lines.LoadFromFile(name);
  UnicodeString text;
  for (const UnicodeString& line : lines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

bool SavedTextAsStream(const UnicodeString& text, const UnicodeString& name) {
  if (text.empty()) return false;
  WriteBytesAtomically(name, Utf16LEBytes(text));
  return true;
}

bool ConvertATextFileAnsiToUTF16(const UnicodeString& name, std::uint32_t locale) {
  if (!FileExists(name)) return false;
  if (TextFileInUnicode(name)) return true;
  std::string bytes = ReadWholeFile(name);
  UnicodeString text;
  if (IsUTF8SignatureA(bytes.c_str())) {
    text = TEncoding::UTF8()->GetString(std::string_view(bytes).substr(3));
  } else if (IsUtf8WithNonAscii(bytes)) {
    text = TEncoding::UTF8()->GetString(bytes);
  } else {
    text = AnsiToUnicode(bytes, LCIDToCodePage(locale));
  }
  WriteBytesAtomically(name, Utf16LEBytes(Composed(text)));
  return true;
}

bool InsertIntoFileA(const UnicodeString& name, const AnsiString& text, bool backup, int position) {
  return InsertAndWrite(name, TEncoding::Default()->GetString(text), backup, position, true);
}

bool InsertIntoFileW(const UnicodeString& name, const UnicodeString& text, bool backup, int position) {
  return InsertAndWrite(name, text, backup, position, false);
}

}  // namespace quill
