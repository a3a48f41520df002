#pragma once
// Positions around a concordance line's search word and the keys a concordance
// is sorted by, with their short names ("L3", "Centre", "R1", "Sentence
// number" ...), and the modes of a concordance's key presses.
#include <array>
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Word positions: 50 to the left (span_L50 ... span_L01), the search word
// (span_Centre = 50) and 51 to the right (span_R01 ... span_R51). One byte.
enum TConcordance_span_type : std::uint8_t {
  span_L50 = 0, span_L49, span_L48, span_L47, span_L46, span_L45, span_L44, span_L43,
  span_L42, span_L41, span_L40, span_L39, span_L38, span_L37, span_L36, span_L35,
  span_L34, span_L33, span_L32, span_L31, span_L30, span_L29, span_L28, span_L27,
  span_L26, span_L25, span_L24, span_L23, span_L22, span_L21, span_L20, span_L19,
  span_L18, span_L17, span_L16, span_L15, span_L14, span_L13, span_L12, span_L11,
  span_L10, span_L09, span_L08, span_L07, span_L06, span_L05, span_L04, span_L03,
  span_L02, span_L01, span_Centre, span_R01, span_R02, span_R03, span_R04, span_R05,
  span_R06, span_R07, span_R08, span_R09, span_R10, span_R11, span_R12, span_R13,
  span_R14, span_R15, span_R16, span_R17, span_R18, span_R19, span_R20, span_R21,
  span_R22, span_R23, span_R24, span_R25, span_R26, span_R27, span_R28, span_R29,
  span_R30, span_R31, span_R32, span_R33, span_R34, span_R35, span_R36, span_R37,
  span_R38, span_R39, span_R40, span_R41, span_R42, span_R43, span_R44, span_R45,
  span_R46, span_R47, span_R48, span_R49, span_R50, span_R51,
};
inline constexpr int kConcordanceSpanCount = span_R51 + 1;

// The positions a sort may use directly: five either side and the centre.
inline constexpr TConcordance_span_type kFixedSortSpanLow = span_L05;
inline constexpr TConcordance_span_type kFixedSortSpanHigh = span_R05;
inline constexpr bool InFixedSortSpanRange(int span) { return span >= kFixedSortSpanLow && span <= kFixedSortSpanHigh; }

// Sort keys of a concordance; stored as one byte, the order is fixed.
enum concordance_sort_type : std::uint8_t {
  cs_left5, cs_left4, cs_left3, cs_left2, cs_left1, cs_centre,
  cs_right1, cs_right2, cs_right3, cs_right4, cs_right5,
  cs_context_word_position, cs_set, cs_filename, cs_textdate, cs_by_tag, cs_by_tag_distance,
  cs_file_percent, cs_word_number, cs_sentence_number, cs_sentence_position,
  cs_paragraph_number, cs_paragraph_position, cs_heading_number, cs_heading_position,
  cs_section_number, cs_section_position, cs_word_rarity, cs_highlighted_collocate,
  cs_whole_line, cs_byte_position,
};
inline constexpr int kConcordanceSortCount = cs_byte_position + 1;

// The names of the sort keys, from the message catalogue: filled when the
// library loads, and again by FillSortNames (after a translation is loaded).
extern QUILLRT_API std::array<UnicodeString, kConcordanceSortCount> sort_str_arr;
QUILLRT_API void FillSortNames();

// The three levels of a concordance sort.
using TConcordanceSortLevels = std::array<concordance_sort_type, 3>;

// "L" and the distance left of the centre for positions below 50, "R" and the
// distance right for 51 to 100, "Centre" for 50 and for anything above 100.
QUILLRT_API UnicodeString ConcordanceSpanStr(int span);

// The position a sort key looks at: sort + 45 (cs_left5 gives span_L05,
// cs_centre span_Centre, cs_right5 span_R05).
QUILLRT_API TConcordance_span_type SortSpanFromSort(concordance_sort_type sort);

// A collocate horizon of `left` words left and `right` words right packed in 16
// bits: the low byte is the position 50 - left, the high byte 50 + right (each
// kept to a byte, as stored).
QUILLRT_API std::uint16_t CollocSpan(std::uint16_t left, std::uint16_t right);

// The default sort: L1, then R1, then R1.
QUILLRT_API void SetConcSortToDefault(TConcordanceSortLevels& levels);

// What the keys typed in a concordance do.
enum TKeyPressMode : std::uint8_t { typing_in, setting_categories, editing_data };

// "Type-in", "Set", "Edit"; empty outside the enumeration.
QUILLRT_API UnicodeString Type_Mode_Str(TKeyPressMode mode);

}  // namespace quill
