#include "quillrt/text/search_stats.h"

namespace quill {

void DoNothingWithTextSection(std::int32_t, std::int32_t) {}

THandleTextSectionProc HandleSentenceEndProc = DoNothingWithTextSection;
THandleTextSectionProc HandleParagraphEndProc = DoNothingWithTextSection;
THandleTextSectionProc HandleHeadingEndProc = DoNothingWithTextSection;
THandleTextSectionProc HandleSectionEndProc = DoNothingWithTextSection;

}  // namespace quill
