#include "quillrt/catalogue/message_catalogue.h"

#include <algorithm>
#include <map>
#include <string>

#include "quillrt/catalogue/english_texts.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/sysutils.h"

namespace quill {
namespace {

using Overrides = std::map<std::string, UnicodeString, std::less<>>;

Overrides& TheOverrides() {
  static Overrides overrides;
  return overrides;
}

const catalogue::Entry* FindEnglish(std::string_view key) {
  const auto table = catalogue::EnglishTexts();
  const auto it = std::lower_bound(table.begin(), table.end(), key,
                                   [](const catalogue::Entry& entry, std::string_view k) { return entry.key < k; });
  return it != table.end() && it->key == key ? &*it : nullptr;
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
  for (const catalogue::Entry& entry : catalogue::EnglishTexts()) keys.push_back(entry.key);
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

}  // namespace quill
