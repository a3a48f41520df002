#pragma once
// The one notion of a word that every command uses, so that a word list, an
// n-gram list and a concordance of the same corpus count the same words:
//
//  - a word is a run of letters and digits of the text's language;
//  - the language's middle characters (apostrophe, right single quote, hyphen)
//    join the letters either side into one word: "don't", "well-known";
//  - markup is not text: a tag "<...>" closed on its line, and, for corpora of
//    word/TAG tokens (--pos-tags), the "/TAG" ending each token (its last "/"
//    and what follows, when something comes before it);
//  - <s>, <p> and heading tags mark sentences, paragraphs and headings.
//
// The rule is applied by building the text's class array (one class word per
// character, as the search engine reads it), so the words found here are the
// words the engine searches.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/search/search_engine.h"
#include "quillrt/text/char_classes.h"
#include "quilljobs/quilljobs_export.h"

namespace quill::jobs {

struct WordRule {
  std::uint32_t lcid = 0x0409;                    // the language of the texts
  std::u16string middle_characters = u"'\u2019-";  // join two letters into one word
  bool pos_tags = false;                           // tokens are word/TAG
  std::size_t max_tag_length = 512;                // longest <...> taken for markup
};

// The rule for the language of --lang (English when none was given: call it
// after the corpus options have been applied).
QUILLJOBS_API WordRule WordRuleOfLanguage(bool language_given, bool pos_tags);

// A text's class array under the rule, with the segment markers it holds.
struct ClassifiedText {
  TClassArray classes;     // one word per character, plus the two zero words at the end
  TTagsFoundArray markers;  // how many sentence/paragraph/heading markers
};
QUILLJOBS_API void ClassifyText(std::u16string_view text, const WordRule& rule, ClassifiedText& out);

// Where a word lies in its text: [start, end).
struct WordSpan {
  std::size_t start = 0;
  std::size_t end = 0;
};

// The words of a classified text, in order.
QUILLJOBS_API void FindWords(const ClassifiedText& classified, std::size_t length, std::vector<WordSpan>& words);
// How many of the words FindWords would find start in [from, to).
QUILLJOBS_API std::size_t CountWordStarts(const ClassifiedText& classified, std::size_t from, std::size_t to);
// Where the k-th word (k from 1) counted back from `before` starts, among the
// words that start before it; 0 when fewer than k do.
QUILLJOBS_API std::size_t StartOfWordBefore(const ClassifiedText& classified, std::size_t before, std::size_t k);

// The part-of-speech tag that ends the word/TAG token whose word ends at
// `word_end` (the characters after its "/"); empty when none follows there.
QUILLJOBS_API std::u16string_view PosTagAt(std::u16string_view text, const ClassifiedText& classified, std::size_t word_end);

// Whether a sentence ends between the word ending at `gap_start` and the one
// starting at `gap_end`: the gap holds a sentence terminator (". ! ?" and those
// of other scripts), whether it sticks to the word or stands alone, and the
// next word does not begin with a lower-case letter (a stop followed by one
// belongs to an abbreviation inside the sentence: "etc. and"). A sentence
// marker in the gap ends the sentence too. Punctuation other than commas,
// dashes and connectors right after a word ends the run of words as well
// (colons, semicolons, brackets, quotes).
QUILLJOBS_API bool BreaksRunOfWords(std::u16string_view text, const ClassifiedText& classified, std::size_t gap_start,
                      std::size_t gap_end);

// Whether a sentence ends between the two words: a sentence, paragraph or
// heading marker in the gap, or a terminator as BreaksRunOfWords reads it
// (not before a lower-case word). Other punctuation never ends a sentence.
QUILLJOBS_API bool EndsSentenceBetween(std::u16string_view text, const ClassifiedText& classified,
                                       std::size_t gap_start, std::size_t gap_end);

}  // namespace quill::jobs
