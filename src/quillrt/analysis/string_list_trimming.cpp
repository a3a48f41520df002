#include "quillrt/analysis/string_list_trimming.h"

#include "quillrt/framework/sysutils.h"
#include "quillrt/process/yield.h"

namespace quill {
namespace {

void ReportProgress(const TProgressProc& progress, int index, int count) {
  MyYieldProcess();
  if (progress) progress(static_cast<std::int32_t>(std::int64_t{index} * 100 / count));
}

}  // namespace

void TrimAStringlist(TStrings& lines, bool keepOneEmpty, const TProgressProc& progress, bool& running) {
  running = true;
  int i = 0;
  while (running && i < lines.Count()) {
    const UnicodeString trimmed = Trim(lines[i]);
    if (!trimmed.empty()) {
      if (trimmed.size() < lines[i].size()) {
        ReportProgress(progress, i, lines.Count());
        if (i >= lines.Count()) break;  // the handler run by the report shortened the list
        lines.Put(i, trimmed + u" ");
      }
      ++i;
      continue;
    }
    ReportProgress(progress, i, lines.Count());
    if (i >= lines.Count()) break;
    const bool next_is_empty = i + 1 < lines.Count() && lines[i + 1].empty();
    if (!keepOneEmpty || next_is_empty) {
      lines.Delete(i);
    } else {
      ++i;
    }
  }
}

void TrimAStringlist(TStrings& lines, const TProgressProc& progress, bool& running) {
  TrimAStringlist(lines, false, progress, running);
}

}  // namespace quill
