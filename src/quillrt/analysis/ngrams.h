#pragma once
// N-gram lists: the runs of n words that a window sliding over a text meets,
// with their frequencies.
#include <cstdint>
#include <memory>

#include "quillrt/analysis/word_lists.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class TWordFrequencyTable;

// Every n-gram of `text` counted into `table`. A window of up to n words,
// joined by single blanks, slides over the text; each time it holds n complete
// words their text is counted. Words are runs of letters and numbers (L*, N*).
// What ends a word decides how the window goes on:
//  - a blank or another separator, a symbol, a control or format character, an
//    unassigned, private-use or surrogate unit: the window slides on (its
//    first word drops out once it is full);
//  - a comma, a dash or connector punctuation: the same;
//  - any other punctuation or a mark (a full stop, a colon, a combining accent
//    ...): a full window is emptied, so the next n-gram starts afresh; a window
//    not yet full keeps its words.
// Only the character that ends a word counts: what follows it up to the next
// word is passed over. A "<" starts a tag, passed over up to its ">" or, when
// no ">" comes within `max_tag_len` characters, up to the next character at or
// below U+0020; a tag right after a word ends that word. The text's last word
// ends the window like a blank. `progress`, when given, is told the position
// reached (percent of the text) whenever a new n-gram is counted. n below 1
// counts nothing.
QUILLRT_API void CountNGramsOfTxt(const UnicodeString& text, std::int32_t n, std::int32_t max_tag_len,
                                  TWordFrequencyTable& table, const TTellCountEvent& progress);

// The n-grams of `text` with their frequencies, alphabetical or (sort_by_freq)
// most frequent first, as the word lists are (word_lists.h).
QUILLRT_API std::unique_ptr<TStringList> SimpleNGramListOfTxt(const UnicodeString& text, std::int32_t n,
                                                              std::int32_t max_tag_len, bool sort_by_freq,
                                                              const TTellCountEvent& progress);

}  // namespace quill
