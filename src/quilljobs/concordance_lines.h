#pragma once
// Concordance lines: one per hit, with the context either side cut at word
// edges, and the sort keys a concordance can be ordered by.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/rendering/extra_fonts.h"
#include "quilljobs/quilljobs_export.h"

namespace quill::jobs {

struct ConcordanceLine {
  std::string file;           // the file's name as listed (UTF-8)
  std::int32_t file_index = 0;  // the file's place in the corpus, for stable order
  std::int64_t hit_number = 0;  // 1-based over the whole run, in reading order
  std::int32_t word_number = 0;
  std::int32_t sentence = 0;   // 0: the text marks no sentences
  std::int32_t paragraph = 0;  // 0: the text marks no paragraphs
  std::int32_t search_word = 0;  // which -s the hit answers
  UnicodeString left, hit, right;
};

// Builds the line for a hit of `hit_length` characters at `hit_pos` of `text`,
// with at most `width` characters of context each side (less where the text
// ends). The context stops at a word edge rather than showing part of a word;
// line breaks, tabs and markup <...> become single spaces, and the characters
// `hidden` says so of (the tags of word/TAG tokens) are left out.
using HiddenCharacter = std::function<bool(std::size_t index_in_text)>;
QUILLJOBS_API ConcordanceLine MakeConcordanceLine(const UnicodeString& text, std::size_t hit_pos, std::size_t hit_length,
                                    std::size_t width, const HiddenCharacter& hidden = nullptr);

enum class SortKey { L5, L4, L3, L2, L1, Centre, R1, R2, R3, R4, R5, Filename, HitWord, Position };

// "L1".."L5", "C"/"Centre", "R1".."R5", "File"/"Filename", "Word" (the hit as
// found, case and all), "Position"/"WordNumber" (reading order), in
// any case. False for anything else.
QUILLJOBS_API bool ParseSortKey(const std::string& name, SortKey& key);

// The n-th word left (negative n) or right (positive n) of the hit, or the hit
// itself (0), folded to lower case; empty when the context holds no such word.
QUILLJOBS_API UnicodeString ContextWord(const ConcordanceLine& line, int n);

// Sorts by up to three keys, each level breaking the ties of the one before;
// equal lines keep their reading order.
QUILLJOBS_API void SortConcordance(std::vector<ConcordanceLine>& lines, const std::vector<SortKey>& keys);

// The span that paints a line's hit in its search word's colours and
// typefaces, for the text drawer (characters of left + hit + right counted
// from 1).
QUILLJOBS_API TExtraFontRec HitSpanOf(const ConcordanceLine& line);

}  // namespace quill::jobs
