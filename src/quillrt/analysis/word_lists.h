#pragma once
// Quick statistics of plain text: word counts, word lists with frequencies, the
// one-word test of whether two texts have the same bag of words, and the type
// and token differences of two text files.
//
// A word is a maximal run of letters (L*) and decimal digits (Nd), classified
// one UTF-16 unit at a time; every other character ends a word.
//
// Word lists are string lists owned by the caller: case-insensitive (The and the
// are one line, spelled as first met), with the frequency as the integer in
// each line's object slot. Alphabetical lists are Sorted; lists by frequency
// are not, and run from the most frequent line down, equal frequencies by the
// lines' UTF-16 code units. Counting loops call the yield hook once per
// character.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class TWordFrequencyTable;

// Progress of a long job: a percentage or a running count.
using TTellCountEvent = std::function<void(std::int32_t count)>;

// The word of a bag-of-words comparison whose counts differ, with its count in
// each text; an empty word (and zero counts) when the texts count as similar.
struct TFreqDifference {
  std::int32_t first_text_freq = 0;
  std::int32_t second_text_freq = 0;
  UnicodeString wd;
};

// The number of words.
QUILLRT_API std::int32_t BasicWordCount(const UnicodeString& text);

// Every word of at least `min_length` characters, counted into `table`. A text
// may be counted in pieces (cut where no word runs on) with the same result.
QUILLRT_API void CountWordsOfTxt(std::u16string_view text, std::int32_t min_length, TWordFrequencyTable& table);

// The words of at least `min_length` characters with their frequencies,
// alphabetical or (sort_by_freq) most frequent first.
QUILLRT_API std::unique_ptr<TStringList> SimpleWordListOfTxt(const UnicodeString& text, std::int32_t min_length,
                                                             bool sort_by_freq);

// Whether two texts hold the same words about equally often, ignoring case.
// The word lists of both (words of at least `min_length` characters, by
// frequency) are compared: the words of the longer list, most frequent first,
// are looked up in the shorter (text2's list is the one walked when both are
// as long), and the first word met at least `min_freq` times whose two counts
// differ by more than `max_diff` is the answer, with its count in text1 and in
// text2. The word is in upper case.
QUILLRT_API TFreqDifference BagOfWordsSimilar(const UnicodeString& text1, const UnicodeString& text2,
                                              std::int32_t max_diff, std::int32_t min_length, std::int32_t min_freq);

// The type and token differences of two text files after removing markup
// (runs from `open_char` to `close_char` of at most `max_markup_len`
// characters), or (-1, -1) when the texts are too different to be compared.
//
// With `threshold` 0 only identical texts are compared, giving (0, 0).
// Otherwise identical texts give (0, 0); texts whose lengths differ by more
// than `threshold` percent of their mean length give (-1, -1); and the others
// are compared word by word (case-insensitive): the types found in one text
// only or in both with different counts, the tokens by which the counts
// differ. When the token difference is at most `threshold` percent of all
// tokens, or the shared types are at least 100 - `threshold` percent of all
// types, the result is (number of types not shared, token difference);
// otherwise (-1, -1). Texts that differ but hold no words at all differ by no
// type and no token: (0, 0). A file that does not exist gives (-1, -1).
// `last_word` is set to the last word found in only one of the texts (empty
// when none was).
QUILLRT_API std::pair<std::int32_t, std::int32_t> TypeAndTokenDifferences2Files(
    const UnicodeString& filename1, const UnicodeString& filename2, WideChar open_char, WideChar close_char,
    std::int32_t threshold, std::int32_t max_markup_len, UnicodeString& last_word);

}  // namespace quill
