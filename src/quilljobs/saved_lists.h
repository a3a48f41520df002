#pragma once
// Saved lists: the files a job's results are saved to and loaded from, and
// what a file found on disk holds. Each starts with the workbench's 57-byte header (the saving tool's
// version and the list kind's signature); the body after it is described in
// saved_lists.md beside this file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quilljobs/concordance_lines.h"
#include "quilljobs/job_control.h"
#include "quilljobs/quilljobs_export.h"
#include "quilljobs/saved_list_files.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/process/tool_kinds.h"
#include "quillrt/vocabulary/list_kinds.h"

namespace quill::jobs {

// Writes a frequency list (lines with their frequency in the object slot) as a
// saved word list of the word-list tool. `words_per_entry` is 1 for a word
// list and n for a list of n-grams. The file appears whole or not at all; a
// failure raises JobError(failed) naming the file.
QUILLJOBS_API void SaveFrequencyList(const std::string& path, const TStringList& list, int words_per_entry);

// Writes concordance lines as a saved concordance of the concordance tool,
// with the search words typed; same guarantees.
QUILLJOBS_API void SaveConcordance(const std::string& path, const std::vector<ConcordanceLine>& lines,
                     const std::vector<std::string>& search_words);

// Loads a saved word list (or n-gram list). A file that is not one, or a
// damaged one, raises JobError(failed) saying what it is or what is wrong.
QUILLJOBS_API TSavedWordList LoadSavedFrequencyList(const std::string& path);

// What `quill info` says of a file.
struct SavedFileDescription {
  bool recognised = false;
  std::string how;                    // "saved list", "earlier release", "batch zip", or what is wrong
  list_type kind = lt_none_in_use;
  tool_type tool = tool_none;
  std::int32_t version = 0;           // from the header; 0 when the file has none
  bool earlier_version = false;       // older than the owning tool's current version
  std::optional<std::int64_t> entries;  // when the body could be read (files in a batch zip)
  int words_per_entry = 0;            // word lists: 1, or n for n-grams; 0 otherwise
};

QUILLJOBS_API SavedFileDescription DescribeSavedFile(const std::string& path);

// One line for `quill info`: "FILE: kind (tool, version V), N entries".
QUILLJOBS_API std::string DescriptionLine(const std::string& path, const SavedFileDescription& description);

}  // namespace quill::jobs
