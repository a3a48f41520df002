#pragma once
// Tag patterns typed by users outside the search words: the pairs of tag
// delimiters to ignore ("<*>,[*]") and the text-selection patterns that pick
// texts by a tag or phrase they contain ("<doc id=*>").
//
// Both build on the tag syntax of the search words (TIgnore_tag_type and the
// tag-wildcard codes), which is why they live beside it.
#include <cstdint>

#include "quillrt/collections/basic_types.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/search/search_word_syntax.h"

namespace quill {

// Reads pairs such as "<*>,[*]": every "*" and every character up to and
// including the space (code 32 and below) is dropped, the rest is split at
// commas, and each non-empty item gives a pair of its first and last character.
// At most six pairs; further items overwrite the sixth. `pairs` is cleared first.
QUILLRT_API void StringToIgnoreTag_Type(const UnicodeString& text, TIgnore_tag_type& pairs);

// The pairs whose start and end are both set, each as start "*" end, joined by
// ",": the text that StringToIgnoreTag_Type reads back to the same pairs.
QUILLRT_API UnicodeString IgnoreTag_TypeToString(const TIgnore_tag_type& pairs);

// How a text-selection pattern combines with the others.
enum text_select_type : std::uint8_t { incluir_and, incluir_or, excluir_and, excluir_or };

// A text-selection pattern: the text before the first wildcard, the wildcard
// codes, and the text after it.
struct TSelectTextFile_RecW {
  eightywidechar seekStart{};
  eightywidechar seek_wilds{};
  eightywidechar seekEnd{};
  std::int32_t length_of_seek = 0;  // the length of seekStart
  text_select_type ato_necessario = incluir_and;
  bool contains_wildcard = false;
};

// Clears `rec` and fills it from a typed pattern: the tag wildcards become their
// codes (TagWildcardConverted); characters before the first code (any character
// below 32) go to seekStart, every code to seek_wilds (setting
// contains_wildcard), the other characters after the first code to seekEnd. Each
// field keeps at most 80 characters.
QUILLRT_API void StringToTSelectTextFile_RecW(const UnicodeString& text, TSelectTextFile_RecW& rec);

// seekStart, then each code of seek_wilds as its wildcard (31 "~", 30 "^",
// 29 "*", 28 "?", 27 "#"; any other code as itself), then seekEnd.
QUILLRT_API UnicodeString TSelectTextFile_RecWToString(const TSelectTextFile_RecW& rec);

}  // namespace quill
