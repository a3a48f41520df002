#include "quillrt/catalogue/message_catalogue.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <string>

#include "quillrt/catalogue/english_texts.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/sysutils.h"

namespace quill {
namespace {

using Overrides = std::map<std::string, UnicodeString, std::less<>>;

Overrides& TheOverrides() {
  static Overrides overrides;
  return overrides;
}

const catalogue::Entry* FindIn(std::span<const catalogue::Entry> table, std::string_view key) {
  const auto it = std::lower_bound(table.begin(), table.end(), key,
                                   [](const catalogue::Entry& entry, std::string_view k) { return entry.key < k; });
  return it != table.end() && it->key == key ? &*it : nullptr;
}

const catalogue::Entry* FindEnglish(std::string_view key) {
  for (const auto table : catalogue::EnglishTables()) {
    if (const catalogue::Entry* entry = FindIn(table, key)) return entry;
  }
  return nullptr;
}

// Keys are ASCII identifiers; anything else is shown byte for byte.
UnicodeString KeyAsText(std::string_view key) { return Utf8ToUtf16(key); }

bool IsComment(const UnicodeString& line) {
  const auto first = line.find_first_not_of(u" \t");
  return first == UnicodeString::npos || line[first] == u';' || line[first] == u'#';
}

}  // namespace

UnicodeString CatalogueText(std::string_view key) {
  const Overrides& overrides = TheOverrides();
  if (!overrides.empty()) {
    if (const auto it = overrides.find(key); it != overrides.end()) return it->second;
  }
  return EnglishCatalogueText(key);
}

bool HasCatalogueText(std::string_view key) {
  return FindEnglish(key) != nullptr || TheOverrides().find(key) != TheOverrides().end();
}

UnicodeString EnglishCatalogueText(std::string_view key) {
  if (const catalogue::Entry* entry = FindEnglish(key)) return Utf8ToUtf16(entry->text);
  return KeyAsText(key);
}

std::vector<std::string_view> CatalogueKeys() {
  std::vector<std::string_view> keys;
  for (const auto table : catalogue::EnglishTables()) {
    for (const catalogue::Entry& entry : table) keys.push_back(entry.key);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

void SetCatalogueText(std::string_view key, const UnicodeString& text) {
  TheOverrides().insert_or_assign(std::string(key), text);
}

void ResetCatalogueText(std::string_view key) {
  Overrides& overrides = TheOverrides();
  if (const auto it = overrides.find(key); it != overrides.end()) overrides.erase(it);
}

void ResetCatalogue() { TheOverrides().clear(); }

int ApplyCatalogueOverrides(const TStrings& lines) {
  int applied = 0;
  for (const UnicodeString& line : lines) {
    if (IsComment(line)) continue;
    const auto equals = line.find(u'=');
    if (equals == UnicodeString::npos) continue;
    const UnicodeString key = Trim(line.substr(0, equals));
    if (key.empty()) continue;
    SetCatalogueText(Utf16ToUtf8(key), line.substr(equals + 1));
    ++applied;
  }
  return applied;
}

int LoadCatalogueLanguagePack(const UnicodeString& file_name) {
  TStringList lines;
  lines.LoadFromFile(file_name, TEncoding::UTF8());
  return ApplyCatalogueOverrides(lines);
}

ECatalogueError::~ECatalogueError() = default;

namespace catalogue {

std::span<const std::span<const Entry>> EnglishTables() {
  static const std::array<std::span<const Entry>, 4> tables{GeneralTexts(), ToolTexts(), HeadingTexts(),
                                                            DateTexts()};
  return tables;
}

}  // namespace catalogue

namespace {

bool IsConversionLetter(char16_t c) {
  switch (c) {
    case u'd': case u'u': case u'x': case u'e': case u'f': case u'g':
    case u'n': case u'm': case u'p': case u's':
    case u'D': case u'U': case u'X': case u'E': case u'F': case u'G':
    case u'N': case u'M': case u'P': case u'S':
      return true;
    default:
      return false;
  }
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Skips the digits (or one "*") from `i`; returns the position after them.
std::size_t SkipCount(const UnicodeString& text, std::size_t i) {
  if (i < text.size() && text[i] == u'*') return i + 1;
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// One line of a translation, checked and decoded.
struct TranslatedLine {
  std::string key;
  UnicodeString text;
};

[[noreturn]] void FailAt(const UnicodeString& origin, int line_number, const UnicodeString& problem) {
  throw ECatalogueError(origin + u":" + Utf8ToUtf16(std::to_string(line_number)) + u": " + problem);
}

bool IsWellFormedUtf8(std::string_view bytes) {
  // The converter turns each ill-formed sequence into U+FFFD; a U+FFFD that the
  // input did not spell out itself therefore marks bad bytes.
  const UnicodeString converted = Utf8ToUtf16(bytes);
  const auto replacements = std::count(converted.begin(), converted.end(), u'\uFFFD');
  std::size_t spelled = 0;
  for (std::size_t at = bytes.find("\xEF\xBF\xBD"); at != std::string_view::npos;
       at = bytes.find("\xEF\xBF\xBD", at + 3)) {
    ++spelled;
  }
  return static_cast<std::size_t>(replacements) == spelled;
}

// Decodes the escapes of a translated text; false for an unknown one.
bool Unescape(const UnicodeString& raw, UnicodeString& text) {
  text.clear();
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != u'\\') {
      text += raw[i];
      continue;
    }
    if (++i == raw.size()) return false;
    switch (raw[i]) {
      case u't': text += u'\t'; break;
      case u'n': text += u'\n'; break;
      case u'r': text += u'\r'; break;
      case u'\\': text += u'\\'; break;
      default: return false;
    }
  }
  return true;
}

std::string Sorted(std::string letters) {
  std::sort(letters.begin(), letters.end());
  return letters;
}

TranslatedLine CheckedLine(std::string_view bytes, const UnicodeString& origin, int line_number) {
  if (!IsWellFormedUtf8(bytes)) FailAt(origin, line_number, u"the line is not valid UTF-8");
  const auto tab = bytes.find('\t');
  if (tab == std::string_view::npos) FailAt(origin, line_number, u"expected a key, a tab and the text");
  TranslatedLine line{std::string(bytes.substr(0, tab)), {}};
  if (line.key.empty()) FailAt(origin, line_number, u"the key is empty");
  const UnicodeString key16 = Utf8ToUtf16(line.key);
  if (FindEnglish(line.key) == nullptr) FailAt(origin, line_number, u"unknown key " + key16);
  if (!Unescape(Utf8ToUtf16(bytes.substr(tab + 1)), line.text))
    FailAt(origin, line_number, u"unknown escape in the text of " + key16 + u" (use \\t, \\n, \\r or \\\\)");
  if (line.text.empty()) FailAt(origin, line_number, u"the text of " + key16 + u" is empty");
  const std::string english = CatalogueFormatPlaceholders(EnglishCatalogueText(line.key));
  const std::string translated = CatalogueFormatPlaceholders(line.text);
  if (Sorted(english) != Sorted(translated)) {
    FailAt(origin, line_number,
           u"the placeholders of " + key16 + u" (" + Utf8ToUtf16(translated) + u") differ from the English text's (" +
               Utf8ToUtf16(english) + u")");
  }
  return line;
}

}  // namespace

std::string CatalogueFormatPlaceholders(const UnicodeString& text) {
  std::string letters;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'%') continue;
    if (i + 1 < text.size() && text[i + 1] == u'%') {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    // An argument index "n:" may come first.
    std::size_t after_index = SkipCount(text, j);
    if (after_index > j && after_index < text.size() && text[after_index] == u':') j = after_index + 1;
    if (j < text.size() && text[j] == u'-') ++j;
    j = SkipCount(text, j);
    if (j < text.size() && text[j] == u'.') j = SkipCount(text, j + 1);
    if (j < text.size() && IsConversionLetter(text[j])) {
      letters += static_cast<char>(std::tolower(static_cast<unsigned char>(text[j])));
      i = j;
    }
  }
  return letters;
}

int ApplyCatalogueTranslation(std::string_view utf8_lines, const UnicodeString& origin) {
  if (utf8_lines.starts_with("\xEF\xBB\xBF")) utf8_lines.remove_prefix(3);
  std::vector<TranslatedLine> lines;
  std::map<std::string, int, std::less<>> first_line_of;
  int line_number = 0;
  while (!utf8_lines.empty()) {
    ++line_number;
    const auto end = utf8_lines.find('\n');
    std::string_view line = utf8_lines.substr(0, end);
    utf8_lines.remove_prefix(end == std::string_view::npos ? utf8_lines.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    TranslatedLine checked = CheckedLine(line, origin, line_number);
    const auto [earlier, fresh] = first_line_of.try_emplace(checked.key, line_number);
    if (!fresh) {
      FailAt(origin, line_number,
             Utf8ToUtf16(checked.key) + u" is given again (first on line " +
                 Utf8ToUtf16(std::to_string(earlier->second)) + u")");
    }
    lines.push_back(std::move(checked));
  }
  for (const TranslatedLine& line : lines) SetCatalogueText(line.key, line.text);
  return static_cast<int>(lines.size());
}

int LoadCatalogueTranslation(const UnicodeString& file_name) {
  TMemoryStream contents;
  contents.LoadFromFile(file_name);
  const auto& bytes = contents.Bytes();
  return ApplyCatalogueTranslation(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), file_name);
}

}  // namespace quill
