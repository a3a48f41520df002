#pragma once
// Sentences inside a paragraph: where one ends, where the next validly starts,
// and cutting a paragraph into a list of sentences.
//
// Positions are 1-based. Letters, digits and case are the Unicode general
// categories of each UTF-16 unit (see word_boundaries.h). The punctuation that
// may end a sentence is the language layer's (sentence_punctuation.h). Every
// function stays inside its text whatever position it is given.
#include <cstdint>
#include <memory>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The first position from `start` on where a sentence may end: a letter or digit
// has been seen from `start` up to it, and it is either the last position or a
// potential terminator followed by something other than a letter or digit. So
// "3.5" does not end at its stop, "Dr." does, and text holding a letter ends at
// its last character at the latest. -1 when nothing qualifies or `start` lies
// beyond the text (a `start` below 1 counts as 1).
QUILLRT_API int EndOfSentence(int start, const UnicodeString& text);

// `pos` moved forward past characters that are not letters or digits, never
// beyond the last position. A `pos` below 1 counts as 1; one beyond the text
// is returned as it is.
QUILLRT_API int FirstLetterOrDigitPosAfterSentenceEnd(const UnicodeString& text, int pos);

// false only when the character at `pos` is a lower-case letter and `pos` is
// below the length (the last character never counts as a lower-case start).
QUILLRT_API bool FirstCharAfterSentenceEndUpperCase(const UnicodeString& text, int pos);

// The first letter or digit at or after `pos` that is not a lower-case letter
// with more text after it: sentences that begin in lower case are skipped
// whole. When a lower-case start has no further sentence end after it (no
// letter or digit follows), the answer is the last position, the latest a
// sentence can start.
QUILLRT_API int FirstValidStartOfSentence(const UnicodeString& text, int pos);

// The text is not empty and its first character is an upper-case letter.
QUILLRT_API bool FirstLetterIsCapitalised(const UnicodeString& text);

// From `pos` on, past characters that are not letters or digits (stopping at
// the last character at the latest): whether the character reached is upper
// case. false for a `pos` beyond the text.
QUILLRT_API bool NextWordCapitalised(const UnicodeString& text, int pos);

// Cuts by Unicode general category alone. A sentence starts only at an
// upper-case or title-case letter, a letter of a caseless script or a number,
// and ends at a potential terminator (other punctuation, Po) not followed by a
// decimal digit, once at least `min_letters` letters, marks and digits have
// been met since the previous sentence. Sentences are trimmed and kept when
// longer than `min_letters` characters. With `flush_at_end` the last character
// closes the pending sentence; when none is pending, the text after the last
// sentence kept (the whole paragraph when there was none) is flushed instead.
QUILLRT_API std::unique_ptr<TStringList> SentencesExtractedFromParagraph(bool flush_at_end, int min_letters,
                                                                         const UnicodeString& text);

// Cuts a paragraph into trimmed, non-empty sentences.
//
// With a `separator`, the pieces between its occurrences are the sentences.
//
// Without one (empty), by the character types of `lcid`: a sentence ends at
// other punctuation (Po) that is not one of the marks that never end sentences
// (quotes, commas, colons, semicolons, "#%&*/@\", U+00A1, U+00B7, U+00BF and the
// non-ending punctuation of other scripts), when the next letter or digit is
// not a lower-case letter; a full stop, question or exclamation mark or danda
// also must not be followed at once by a lower-case letter or a digit. Closing
// quotes, brackets and tags after the mark, and the first blank after them,
// belong to the sentence that ends. Runs from "<" to the next ">" of at most
// `max_tag_len` characters are tags: their letters count as neither letters
// nor lower case, and a mark inside a tag never ends a sentence.
// Returns an empty list when the characters cannot be classified for `lcid`.
QUILLRT_API std::unique_ptr<TStringList> SentencesFromParagraph(const UnicodeString& text,
                                                                const UnicodeString& separator, std::uint32_t lcid,
                                                                int max_tag_len);

}  // namespace quill
