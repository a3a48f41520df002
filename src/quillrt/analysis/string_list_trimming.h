#pragma once
// Trimming every line of a list and dropping the empty ones.
#include "quillrt/framework/string_list.h"
#include "quillrt/process/callbacks.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Walks the lines from the first while `running` (set true on entry; a handler
// run from the yield hook may clear it to stop):
//  - a line that trimming shortens and leaves non-empty becomes the trimmed text
//    followed by one blank;
//  - a line that is empty once trimmed is deleted, unless `keepOneEmpty`: then
//    it is deleted only when the next line has no characters at all, so that a
//    run of empty lines shrinks to one.
// For each line changed or found empty the yield hook is called, then
// `progress` (when given) with the line's index as a percentage of the count.
QUILLRT_API void TrimAStringlist(TStrings& lines, bool keepOneEmpty, const TProgressProc& progress, bool& running);
QUILLRT_API void TrimAStringlist(TStrings& lines, const TProgressProc& progress, bool& running);

}  // namespace quill
