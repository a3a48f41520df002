#pragma once
// The wanted-word matcher: finds the next occurrence of one parsed search word
// in a text buffer, reading word boundaries, markup and segment markers from the
// buffer's class array, and counting words and segments as it scans.
//
// The search engine calls it in a loop, restarting one character after the
// start of each hit, with the same statistics record and heading flag each time:
// every character is counted exactly once over the calls of one search, and the
// segment-end hooks (search_stats.h) are called from inside the scan.
//
// What a match is:
//  - The pattern is walked in its lower-case copy. A buffer character matches a
//    pattern character when it equals it; otherwise, unless the search is case
//    sensitive, when it equals the character at the same index of the upper-case
//    or the title-case copy. A wildcard code equal to the buffer character is
//    matched literally before its wildcard rule is tried.
//  - Wildcards (codes below): any-character takes one letter, digit or
//    punctuation character; any-letter one alphabetic character; both match
//    nothing when the pattern goes on with a space and the buffer holds a
//    separator or punctuation. Digit-run takes a whole run of digits. Star, before
//    a pattern space (or at the pattern's end), takes the rest of the word, which
//    may be nothing; elsewhere it takes at least one character and then every
//    character up to the first one that matches the pattern character after it,
//    never a space or control character; when the text after that fails, the star
//    takes that character too and looks for the next one. Any-word takes the rest
//    of the word it starts in.
//  - A pattern space matches a run of separators (and of punctuation when
//    skip_punctuation is set) and also a single punctuation character.
//  - Runs of markup (class bit 0x0800) inside a hit are stepped over and counted
//    in the hit, unless the pattern is inside a tag (between the tag-open and
//    tag-close codes), where markup is matched like text. A hit never starts on
//    markup unless the pattern starts with a tag.
//  - left_bounded: the character before the hit is not a word character (markup
//    and segment markers there do not count). right_bounded: the character after
//    the hit is not a word character. Without right_bounded the hit is extended
//    over the rest of its word (and zero-width joiners): hit_characters covers it,
//    exact_hit_len only what the pattern matched.
//  - A hit is at most 65,535 characters long; longer candidates are not hits.
//  - Nothing is read outside the counted buffer (the buffer's class words before
//    `classes_at_start`, back to `classes_first`, may be read for the left
//    boundary). The end of the buffer ends every word.
//
// Statistics: every character scanned before the hit's first character (and
// that one) is counted: a separator followed by a non-separator ends a word; a
// segment marker ends the sentence, paragraph, heading or section it closes and
// calls the matching hook with the segment's number and its count of words.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/text/class_bits.h"
#include "quillrt/text/search_stats.h"

namespace quill {

// The internal pattern codes that the search-word parser writes.
inline constexpr WideChar pattern_tag_close = 0x0018;
inline constexpr WideChar pattern_tag_open = 0x0019;
inline constexpr WideChar pattern_any_word = 0x001A;
inline constexpr WideChar pattern_digit_run = 0x001B;
inline constexpr WideChar pattern_any_char = 0x001C;
inline constexpr WideChar pattern_star = 0x001D;
inline constexpr WideChar pattern_any_letter = 0x001E;

// Finds the next hit at or after `start` and returns the address of its first
// character, or null when there is none before the end. `count` is the number of
// characters from `start` to the end of the buffer; `classes_at_start` is the
// class word of `start`, `classes_first` that of the buffer's first character
// and `classes_end` the class array's end sentinel, the second of the two zero
// words after the last character's word. In 8-bit buffers (in_unicode false) a
// character is a byte and the copies hold the pattern's byte values, one per
// unit. pattern_length is the length of the three copies (which must be equal;
// only their common length is used). skip_tags is accepted for the callers'
// sake: markup is recognised from the class array.
//
// On a hit, hit_characters and exact_hit_len are written. Whatever the outcome
// the statistics and in_heading are written back, the out_of entries of the
// sentence, paragraph, heading and section counts set to their positions. With
// a pattern_length of 0 or a null pointer the result is null and nothing is
// written.
QUILLRT_API const void* NewFindWantedInBuffer(
    const void* start, std::int32_t count, const TClassWord* classes_at_start, const TClassWord* classes_first,
    const TClassWord* classes_end, const UnicodeString& upper_copy, const UnicodeString& lower_copy,
    const UnicodeString& title_copy, std::uint16_t pattern_length, bool case_sensitive, bool left_bounded,
    bool right_bounded, bool in_unicode, bool skip_punctuation, bool skip_tags, std::uint16_t& hit_characters,
    std::uint16_t& exact_hit_len, TSearchStatsRec& stats, bool& in_heading, bool sentence_ends_marked,
    bool paragraph_ends_marked, bool heading_ends_marked, bool section_ends_marked);

// The same over a typed buffer (the character type says what in_unicode says).
QUILLRT_API const WideChar* NewFindWantedInBuffer(
    const WideChar* start, std::int32_t count, const TClassWord* classes_at_start, const TClassWord* classes_first,
    const TClassWord* classes_end, const UnicodeString& upper_copy, const UnicodeString& lower_copy,
    const UnicodeString& title_copy, std::uint16_t pattern_length, bool case_sensitive, bool left_bounded,
    bool right_bounded, bool skip_punctuation, bool skip_tags, std::uint16_t& hit_characters,
    std::uint16_t& exact_hit_len, TSearchStatsRec& stats, bool& in_heading, bool sentence_ends_marked,
    bool paragraph_ends_marked, bool heading_ends_marked, bool section_ends_marked);

QUILLRT_API const char* NewFindWantedInBuffer(
    const char* start, std::int32_t count, const TClassWord* classes_at_start, const TClassWord* classes_first,
    const TClassWord* classes_end, const UnicodeString& upper_copy, const UnicodeString& lower_copy,
    const UnicodeString& title_copy, std::uint16_t pattern_length, bool case_sensitive, bool left_bounded,
    bool right_bounded, bool skip_punctuation, bool skip_tags, std::uint16_t& hit_characters,
    std::uint16_t& exact_hit_len, TSearchStatsRec& stats, bool& in_heading, bool sentence_ends_marked,
    bool paragraph_ends_marked, bool heading_ends_marked, bool section_ends_marked);

}  // namespace quill
