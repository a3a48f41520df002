#include "quillrt/search/text_selection.h"

#include <cstddef>

namespace quill {
namespace {

constexpr std::size_t kMaxTagPairs = 6;
constexpr std::size_t kSelectionFieldLength = 80;

// What is left of a pairs text once stars and blanks (and control characters)
// are gone.
UnicodeString WithoutStarsAndBlanks(const UnicodeString& text) {
  UnicodeString result;
  for (char16_t c : text)
    if (c != u'*' && c > u' ') result += c;
  return result;
}

void AppendLimited(UnicodeString& field, char16_t c) {
  if (field.size() < kSelectionFieldLength) field += c;
}

char16_t WildcardOfCode(char16_t code) {
  for (const auto& kind : tag_wildcards_converters)
    if (kind[replacement_char] == code) return kind[original_char];
  return code;
}

}  // namespace

void StringToIgnoreTag_Type(const UnicodeString& text, TIgnore_tag_type& pairs) {
  pairs = {};
  const UnicodeString rest = WithoutStarsAndBlanks(text);
  std::size_t slot = 0;
  std::size_t item_start = 0;
  while (item_start <= rest.size()) {
    std::size_t comma = rest.find(u',', item_start);
    if (comma == UnicodeString::npos) comma = rest.size();
    if (comma > item_start) {
      pairs[tag_on][slot] = rest[item_start];
      pairs[tag_off][slot] = rest[comma - 1];
      if (slot + 1 < kMaxTagPairs) ++slot;  // items beyond the sixth overwrite it
    }
    item_start = comma + 1;
  }
}

UnicodeString IgnoreTag_TypeToString(const TIgnore_tag_type& pairs) {
  UnicodeString result;
  for (std::size_t slot = 0; slot < kMaxTagPairs; ++slot) {
    const char16_t start = pairs[tag_on][slot];
    const char16_t end = pairs[tag_off][slot];
    if (start == 0 || end == 0) continue;
    if (!result.empty()) result += u',';
    result += start;
    result += u'*';
    result += end;
  }
  return result;
}

void StringToTSelectTextFile_RecW(const UnicodeString& text, TSelectTextFile_RecW& rec) {
  rec = {};
  UnicodeString start, wilds, end;
  bool after_first_code = false;
  for (char16_t c : TagWildcardConverted(text)) {
    if (c < u' ') {
      after_first_code = true;
      AppendLimited(wilds, c);
    } else {
      AppendLimited(after_first_code ? end : start, c);
    }
  }
  SetFixedChars<WideChar>(rec.seekStart, start);
  SetFixedChars<WideChar>(rec.seek_wilds, wilds);
  SetFixedChars<WideChar>(rec.seekEnd, end);
  rec.length_of_seek = static_cast<std::int32_t>(start.size());
  rec.contains_wildcard = !wilds.empty();
}

UnicodeString TSelectTextFile_RecWToString(const TSelectTextFile_RecW& rec) {
  UnicodeString result = GetFixedChars(rec.seekStart);
  for (char16_t code : GetFixedChars(rec.seek_wilds)) result += WildcardOfCode(code);
  return result + GetFixedChars(rec.seekEnd);
}

}  // namespace quill
