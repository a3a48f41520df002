#pragma once
// The class word kept for every character of a searched buffer, and the values
// the text layer writes into it. One 16-bit word per character; the platform
// classification fills the low ten bits, the calling tool adds markup and segment
// markers.
#include <cstdint>

// TClassWord and the platform classification bits C1_UPPER ... C1_DEFINED.
#include "quillrt/platform/char_types.h"

namespace quill {

// Set by the calling tool: part of a tag that searches skip.
inline constexpr TClassWord class_markup = 0x0800;
// Set by the calling tool: a segment marker. The low 11 bits then hold the
// segment code and no other bit has a class meaning.
inline constexpr TClassWord class_segment_marker = 0x8000;
inline constexpr TClassWord class_segment_code_mask = 0x07FF;

// The groups that recur everywhere.
inline constexpr TClassWord class_word_char = C1_ALPHA | C1_DIGIT;                       // 0x0104
inline constexpr TClassWord class_separator = C1_SPACE | C1_CNTRL | C1_BLANK;            // 0x0068
inline constexpr TClassWord class_separator_or_punct = class_separator | C1_PUNCT;       // 0x0078

// Special values written by the class-array editors.
inline constexpr TClassWord class_zero_width_joiner = C1_DEFINED;                        // 0x0200
inline constexpr TClassWord class_zero_width_non_joiner = C1_DEFINED | C1_ALPHA;         // 0x0300
inline constexpr TClassWord class_middle_letter = C1_DEFINED | C1_ALPHA | C1_LOWER;      // 0x0302
inline constexpr TClassWord class_middle_digit = C1_DEFINED | C1_DIGIT;                  // 0x0204

// Segment codes held in a marker's low bits.
enum text_segments_type : std::uint16_t {
  ts_sentence_start = 14,
  ts_sentence_end = 15,
  ts_paragraph_start = 16,
  ts_paragraph_end = 17,
  ts_heading_start = 18,
  ts_heading_end = 19,
  ts_section_start = 20,
  ts_section_end = 21,
};

inline constexpr bool IsSegmentMarker(TClassWord c) { return (c & class_segment_marker) != 0; }
inline constexpr bool IsWordClass(TClassWord c) { return !IsSegmentMarker(c) && (c & class_word_char) != 0; }
inline constexpr bool IsSeparatorClass(TClassWord c) { return !IsSegmentMarker(c) && (c & class_separator) != 0; }
inline constexpr bool IsSeparatorOrPunctClass(TClassWord c) {
  return !IsSegmentMarker(c) && (c & class_separator_or_punct) != 0;
}
inline constexpr bool IsMarkupClass(TClassWord c) { return !IsSegmentMarker(c) && (c & class_markup) != 0; }

}  // namespace quill
