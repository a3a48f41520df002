#include "quillrt/analysis/string_helpers.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "quillrt/analysis/word_boundaries.h"
#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/locale_text.h"
#include "quillrt/framework/streams.h"
#include "quillrt/platform/case_mapping.h"
#include "quillrt/platform/code_pages.h"
#include "quillrt/process/yield.h"
#include "quillrt/text/buffer_checksums.h"
#include "quillrt/vocabulary/text_conventions.h"

namespace quill {

namespace {

constexpr auto npos = UnicodeString::npos;

bool IsHighSurrogate(WideChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WideChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Separators after which TitleCase starts a new word, besides every character below "0".
constexpr std::u16string_view kTitleSeparators = u":;<=>?@[\\]^_`{|}~\u00A1\u00AB\u00BB\u00BF\u2018\u201C\u2039\u203A";

bool StartsWordForTitle(WideChar previous) { return previous < u'0' || kTitleSeparators.find(previous) != npos; }

WideChar Upper(WideChar c) { return MapCaseString(std::u16string_view(&c, 1), CaseDirection::upper)[0]; }

UnicodeString Trimmed(const UnicodeString& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && text[first] <= u' ') ++first;
  while (last > first && text[last - 1] <= u' ') --last;
  return text.substr(first, last - first);
}

int OneBased(std::size_t at) { return at == npos ? 0 : static_cast<int>(at) + 1; }

}  // namespace

// ---- Blanks and characters --------------------------------------------------------

UnicodeString StrippedOfSingleAmpersands(const UnicodeString& text) {
  UnicodeString result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      result += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == u'&') {
      result += u'&';
      ++i;
    }
  }
  return result;
}

UnicodeString StrippedDoubleSpaces(const UnicodeString& text) {
  UnicodeString result;
  result.reserve(text.size());
  for (const WideChar c : text)
    if (c != u' ' || result.empty() || result.back() != u' ') result += c;
  return result;
}

UnicodeString StrippedOfChar(const UnicodeString& text, WideChar ch) {
  UnicodeString result = text;
  std::erase(result, ch);
  return result;
}

UnicodeString StrippedOfChars(const UnicodeString& text, std::u16string_view set) {
  UnicodeString result = text;
  std::erase_if(result, [set](WideChar c) { return set.find(c) != npos; });
  return result;
}

UnicodeString WideTrimSpaceOnly(const UnicodeString& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsWhiteSpaceChar(text[first])) ++first;
  while (last > first && IsWhiteSpaceChar(text[last - 1])) --last;
  return text.substr(first, last - first);
}

UnicodeString StrippedSpacesAtLineStarts(const UnicodeString& text) {
  UnicodeString result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == u'\n' && i > 0 && text[i - 1] == u'\r')
      while (i + 2 < text.size() && text[i + 1] == u' ') ++i;  // the last character stays
  }
  return result;
}

UnicodeString BackwardsStr(const UnicodeString& text) {
  UnicodeString result(text.rbegin(), text.rend());
  for (std::size_t i = 0; i + 1 < result.size(); ++i)
    if (IsLowSurrogate(result[i]) && IsHighSurrogate(result[i + 1])) {
      std::swap(result[i], result[i + 1]);
      ++i;
    }
  return result;
}

UnicodeString InterspersedWithSpaces(const UnicodeString& text) {
  UnicodeString result;
  result.reserve(text.size() * 2);
  for (const WideChar c : text) {
    result += c;
    result += u' ';
  }
  return result;
}

UnicodeString StrippedSpacesBeforePunctuation(const UnicodeString& text) {
  UnicodeString result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u' ') {
      std::size_t next = i + 1;
      while (next < text.size() && (text[next] == u' ' || IsWhiteSpaceChar(text[next]))) ++next;
      if (next < text.size() && IsPunctuationChar(text[next])) continue;
    }
    result += text[i];
  }
  return result;
}

bool ContainsAlphanumCharacter(const UnicodeString& text) {
  return std::any_of(text.begin(), text.end(), IsLetterOrDigitChar);
}

WideChar WideCharFromCardinal(std::uint32_t code) { return code < 0x10000 ? static_cast<WideChar>(code) : u'?'; }

UnicodeString WideStringFromCardinal(std::uint32_t code) { return UnicodeString(1, WideCharFromCardinal(code)); }

// ---- Quotes, brackets and pieces ----------------------------------------------------

UnicodeString DoubleQuotesAdded(const UnicodeString& text) { return u'"' + Trimmed(text) + u'"'; }

UnicodeString DoubleQuotesRemoved(const UnicodeString& text) { return StrippedOfChar(Trimmed(text), u'"'); }

UnicodeString Bracketed(const UnicodeString& text) {
  UnicodeString result = text;
  if (result.empty() || result.front() != u'(') result.insert(result.begin(), u'(');
  if (result.size() < 2 || result.back() != u')') result += u')';
  return result;
}

bool IsAngleBracketed(const UnicodeString& text) {
  return text.size() >= 2 && text.front() == u'<' && text.back() == u'>';
}

UnicodeString UNAngle_Bracketed(const UnicodeString& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  if (first < last && text[first] == u'<') ++first;
  if (last > first && text[last - 1] == u'>') --last;
  return text.substr(first, last - first);
}

UnicodeString RemovedInitialChar(const UnicodeString& text, WideChar ch) {
  return !text.empty() && text.front() == ch ? text.substr(1) : text;
}

UnicodeString FirstXCharactersOfString(const UnicodeString& text, int n, bool ellipsis) {
  const auto count = static_cast<std::size_t>(std::max(n, 0));
  if (text.size() <= count) return text;
  UnicodeString result = text.substr(0, count);
  if (ellipsis) result += u'\u2026';
  return result;
}

UnicodeString ValueString(const UnicodeString& text) {
  const std::size_t equals = text.find(u'=');
  return equals == npos ? UnicodeString() : text.substr(equals + 1);
}

TTwoStringHalves StringHalvesSplitAtMark(WideChar mark, const UnicodeString& text) {
  const std::size_t at = text.find(mark);
  if (at == npos) return {text, {}};
  return {text.substr(0, at), text.substr(at + 1)};
}

std::int32_t IntegerInsideSquareBrackets(const UnicodeString& text) {
  const std::size_t bracket = text.find(u'[');
  if (bracket == npos) return 0;
  std::int64_t value = 0;
  for (std::size_t i = bracket + 1; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > INT32_MAX) return INT32_MAX;  // saturates rather than wrapping
  }
  return static_cast<std::int32_t>(value);
}

int PositionOfNumberInString(const UnicodeString& text, int start) {
  for (std::size_t i = static_cast<std::size_t>(std::max(start, 1)) - 1; i < text.size(); ++i)
    if (text[i] >= u'0' && text[i] <= u'9') return static_cast<int>(i) + 1;
  return -1;
}

// ---- File names --------------------------------------------------------------------

UnicodeString FilenameWithInsertion(const UnicodeString& file_name, const UnicodeString& insertion,
                                    bool before_extension) {
  const std::size_t dot = file_name.rfind(u'.');
  const std::size_t slash = file_name.find_last_of(u"/\\");
  const bool has_extension = dot != npos && (slash == npos || dot > slash);
  if (!before_extension || !has_extension) return file_name + insertion;
  UnicodeString result = file_name;
  result.insert(dot, insertion);
  return result;
}

UnicodeString AcceptableFilename(const UnicodeString& text) {
  UnicodeString result = text;
  for (WideChar& c : result) {
    if (c == u'>') c = u')';
    else if (c == u'<') c = u'(';
    else if (c < u' ' || std::u16string_view(u"\\/:*?\"|").find(c) != npos) c = u'_';
  }
  return result;
}

// ---- Case ------------------------------------------------------------------------

UnicodeString TitleCase(const UnicodeString& text, bool every_word) {
  UnicodeString result = MapCaseString(text, CaseDirection::lower);
  for (std::size_t i = 0; i < result.size(); ++i)
    if (i == 0 || (every_word && StartsWordForTitle(result[i - 1]))) result[i] = Upper(result[i]);
  return result;
}

UnicodeString EnsurePrecomposed(const UnicodeString& text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return text;
  const icu::UnicodeString source(text.data(), static_cast<int32_t>(text.size()));
  const icu::UnicodeString composed = nfc->normalize(source, status);
  if (U_FAILURE(status)) return text;
  return UnicodeString(composed.getBuffer(), static_cast<std::size_t>(composed.length()));
}

int CaseInsensitiveUpperedPos(const UnicodeString& upper_sub, const UnicodeString& text) {
  if (upper_sub.empty()) return 0;
  return OneBased(MapCaseString(text, CaseDirection::upper).find(upper_sub));
}

int CaseInsensitivePos(const UnicodeString& sub, const UnicodeString& text) {
  return CaseInsensitiveUpperedPos(MapCaseString(sub, CaseDirection::upper), text);
}

UnicodeString OutputConvertedStr(int kind, const UnicodeString& text) {
  switch (kind) {
    case 0: return AnsiUpperCase(text);
    case 1: return TitleCasedString(text);
    case 2: return AnsiLowerCase(text);
    default: return text;
  }
}

namespace {

void MapInPlace(std::uint32_t lcid, std::uint32_t direction_flag, char16_t* buffer) {
  if (buffer == nullptr || *buffer == 0) return;
  LCMapStringW(lcid, direction_flag | LCMAP_LINGUISTIC_CASING, buffer, -1, buffer,
               static_cast<int>(std::char_traits<char16_t>::length(buffer)) + 1);
}

void MapInPlace(std::uint32_t lcid, std::uint32_t direction_flag, char* buffer) {
  if (buffer == nullptr || *buffer == 0) return;
  const std::size_t length = std::char_traits<char>::length(buffer);
  const std::uint32_t page = GetACP();
  // Character by character, so that the bytes keep their places.
  for (std::size_t i = 0; i < length; ++i) {
    UnicodeString wide = AnsiToUnicode(std::string_view(buffer + i, 1), page);
    if (wide.size() != 1) continue;
    MapInPlace(lcid, direction_flag, wide.data());
    bool lossy = false;
    const AnsiString back = UnicodeToAnsi(wide, page, &lossy);
    if (!lossy && back.size() == 1) buffer[i] = back[0];
  }
}

}  // namespace

void WinLowerCased(std::uint32_t lcid, char16_t* buffer) { MapInPlace(lcid, LCMAP_LOWERCASE, buffer); }
void Capitalise(std::uint32_t lcid, char16_t* buffer) { MapInPlace(lcid, LCMAP_UPPERCASE, buffer); }
void WinLowerCased(std::uint32_t lcid, char* buffer) { MapInPlace(lcid, LCMAP_LOWERCASE, buffer); }
void Capitalise(std::uint32_t lcid, char* buffer) { MapInPlace(lcid, LCMAP_UPPERCASE, buffer); }

UnicodeString YesorNo(bool flag) { return CatalogueText(flag ? "_QYYes" : "_QYNo"); }

// ---- Positions -----------------------------------------------------------------------

int NearerOfTwo(int a, int b) {
  if (a > 0 && b > 0) return std::min(a, b);
  if (a > 0) return a;
  return b > 0 ? b : 0;
}

int PosExNearer(const UnicodeString& text, const UnicodeString& s1, const UnicodeString& s2, int start) {
  const std::size_t from = static_cast<std::size_t>(std::max(start, 1)) - 1;
  const auto find = [&](const UnicodeString& s) { return s.empty() ? 0 : OneBased(text.find(s, from)); };
  return NearerOfTwo(find(s1), find(s2));
}

namespace {

template <class Char>
const Char* NearerPointer(const Char* text, const Char* s1, const Char* s2) {
  if (text == nullptr) return nullptr;
  const std::basic_string_view<Char> view(text);
  const auto find = [&](const Char* s) {
    if (s == nullptr || *s == 0) return view.npos;
    return view.find(s);
  };
  const std::size_t a = find(s1);
  const std::size_t b = find(s2);
  const std::size_t nearer = std::min(a, b);  // npos is the largest value
  return nearer == view.npos ? nullptr : text + nearer;
}

}  // namespace

const char* StrPosNearerA(const char* text, const char* s1, const char* s2) { return NearerPointer(text, s1, s2); }

const char16_t* StrPosNearerW(const char16_t* text, const char16_t* s1, const char16_t* s2) {
  return NearerPointer(text, s1, s2);
}

std::unique_ptr<TQYLongintList> PositionsWordFoundIn(const UnicodeString& word, const UnicodeString& text,
                                                     std::uint32_t flags) {
  auto positions = std::make_unique<TQYLongintList>();
  if (word.empty() || text.empty()) return positions;
  for (std::size_t at = text.find(word); at != npos; at = text.find(word, at + 1)) {
    const int first = static_cast<int>(at) + 1;
    const int last = first + static_cast<int>(word.size()) - 1;
    if ((flags & kWordBoundedAtLeft) != 0 && !BoundedAtLeft(text, first, last)) continue;
    if ((flags & kWordBoundedAtRight) != 0 && !BoundedAtRight(text, first, last)) continue;
    positions->AddOne(first);
  }
  return positions;
}

int PosWordFoundIn(const UnicodeString& word, const UnicodeString& text, std::uint32_t flags) {
  const auto positions = PositionsWordFoundIn(word, text, flags);
  return positions->Count() == 0 ? -1 : positions->GetAValue(0);
}

// ---- Line ends -------------------------------------------------------------------------

UnicodeString UnixStringToWindowsStringW(const UnicodeString& text, int& added) {
  added = 0;
  UnicodeString result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const WideChar c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      result += u"\r\n";
      ++i;
    } else if (c == u'\r' || c == u'\n') {
      result += u"\r\n";
      ++added;
    } else {
      result += c;
    }
  }
  return result;
}

AnsiString UnixStringToWindowsString(int& added, const AnsiString& text) {
  added = 0;
  AnsiString result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    MyYieldProcess();
    const char c = text[i];
    if (c == '\n' && (i == 0 || text[i - 1] != '\r')) {
      result += '\r';
      ++added;
    }
    result += c;
    if (c == '\r' && i + 1 < text.size() && text[i + 1] != '\n') {
      result += '\n';
      ++added;
    }
  }
  return result;
}

// ---- Replacing -------------------------------------------------------------------------

void Replace1With2In(WideChar old_char, WideChar new_char, UnicodeString& text) {
  std::replace(text.begin(), text.end(), old_char, new_char);
}

void Replace1With2In(char old_char, char new_char, AnsiString& text) {
  std::replace(text.begin(), text.end(), old_char, new_char);
}

void Replace2With4In(WideChar a, WideChar b, WideChar c, WideChar d, UnicodeString& text) {
  Replace1With2In(a, c, text);
  Replace1With2In(b, d, text);
}

UnicodeString ReplaceAnyOfTheseWithChar(std::u16string_view set, const UnicodeString& text, WideChar ch) {
  UnicodeString result = text;
  for (WideChar& c : result)
    if (set.find(c) != npos) c = ch;
  return result;
}

AnsiString AnsiStringReplace(const AnsiString& text, const AnsiString& old_text, const AnsiString& new_text,
                             std::uint32_t flags) {
  if (text.empty() || old_text.empty()) return text;
  const auto upper = [](AnsiString s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
  };
  const bool ignore_case = (flags & kReplaceIgnoreCase) != 0;
  const AnsiString haystack = ignore_case ? upper(text) : text;
  const AnsiString needle = ignore_case ? upper(old_text) : old_text;
  AnsiString result;
  std::size_t pos = 0;
  for (std::size_t at = haystack.find(needle); at != AnsiString::npos; at = haystack.find(needle, pos)) {
    result.append(text, pos, at - pos);
    result += new_text;
    pos = at + needle.size();
    if ((flags & kReplaceAll) == 0) break;
  }
  result.append(text, pos);
  return result;
}

// ---- 8-bit text --------------------------------------------------------------------------

AnsiString ConvertedFromWideString(std::uint32_t code_page, const UnicodeString& text) {
  AnsiString bytes = UnicodeToAnsi(text, code_page == 0 ? GetACP() : code_page);
  if (bytes.size() > text.size()) bytes.resize(text.size());
  return bytes;
}

AnsiString ConvertedFromWideString(const UnicodeString& text) { return ConvertedFromWideString(0, text); }

UnicodeString ConvertedToWideString(std::uint32_t code_page, std::string_view bytes) {
  return EnsurePrecomposed(AnsiToUnicode(bytes, code_page == 0 ? GetACP() : code_page));
}

UnicodeString ConvertedToWideString(std::string_view bytes) { return ConvertedToWideString(0, bytes); }

void AnsiAppendToTextFile(const UnicodeString& file_name, const TStrings& lines) {
  TFileStream file(file_name, fmOpenReadWrite | fmShareDenyNone);
  file.Seek(0, TSeekOrigin::soEnd);
  for (const UnicodeString& line : lines) {
    const AnsiString bytes = ConvertedFromWideString(line) + "\r\n";
    file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  }
}

namespace {

constexpr std::size_t kCopyBufferUnits = 256;

template <class Char>
const Char* CopiedIntoBuffer(std::basic_string_view<Char> text, std::array<Char, kCopyBufferUnits>& buffer) {
  buffer.fill(0);
  std::copy_n(text.begin(), std::min(text.size(), kCopyBufferUnits - 1), buffer.begin());
  return buffer.data();
}

std::array<char16_t, kCopyBufferUnits>& WideCopyBuffer() {
  thread_local std::array<char16_t, kCopyBufferUnits> buffer{};
  return buffer;
}

std::array<char, kCopyBufferUnits>& AnsiCopyBuffer() {
  thread_local std::array<char, kCopyBufferUnits> buffer{};
  return buffer;
}

}  // namespace

const char16_t* GetCopyOfAnsiEncodedAsUnicode(const AnsiString& text, std::uint32_t /*lcid*/) {
  const UnicodeString wide = ConvertedToWideString(text);
  return CopiedIntoBuffer<char16_t>(wide, WideCopyBuffer());
}

const char16_t* GetCopyOfWideSTringEncodedASUnicode(const UnicodeString& text, std::uint32_t /*lcid*/) {
  return CopiedIntoBuffer<char16_t>(text, WideCopyBuffer());
}

const char* GetCopyOfAnsiEncodedAsAnsi(const AnsiString& text, std::uint32_t /*lcid*/) {
  return CopiedIntoBuffer<char>(text, AnsiCopyBuffer());
}

const char* GetCopyOfWideSTringEncodedAsAnsi(const UnicodeString& text, std::uint32_t /*lcid*/) {
  const AnsiString bytes = ConvertedFromWideString(text);
  return CopiedIntoBuffer<char>(bytes, AnsiCopyBuffer());
}

std::uint32_t CheckSumOfABufferful(const void* buffer, std::int32_t length) { return My4Checksum(buffer, length); }

}  // namespace quill
