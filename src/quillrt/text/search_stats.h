#pragma once
// Running word and segment statistics kept while a buffer is scanned, and the
// hooks called when a segment (sentence, paragraph, heading, section) ends.
#include <cstdint>

#include "quillrt/quillrt_export.h"

namespace quill {

enum text_stats_type : std::uint8_t {
  word_stats,
  sentence_stats,
  paragraph_stats,
  heading_stats,
  section_stats,
};
inline constexpr int text_stats_count = 5;

struct TSearchStatsRec {
  std::int32_t number[text_stats_count] = {};
  std::int32_t position[text_stats_count] = {};
  std::int32_t out_of[text_stats_count] = {};
};

// Called with the number of the segment just ended (counted from where the
// statistics started) and the number of words in it.
using THandleTextSectionProc = void (*)(std::int32_t segment_number, std::int32_t words_in_segment);

// The four segment-end hooks. At load each points to a procedure that does
// nothing; a tool may replace any of them (never with null: reset to
// DoNothingWithTextSection instead).
QUILLRT_API void DoNothingWithTextSection(std::int32_t segment_number, std::int32_t words_in_segment);
extern QUILLRT_API THandleTextSectionProc HandleSentenceEndProc;
extern QUILLRT_API THandleTextSectionProc HandleParagraphEndProc;
extern QUILLRT_API THandleTextSectionProc HandleHeadingEndProc;
extern QUILLRT_API THandleTextSectionProc HandleSectionEndProc;

}  // namespace quill
