#include "saved_concordance.h"

#include "quilljobs/job_control.h"
#include "quilljobs/saved_list_files.h"
#include "quilljobs/saved_lists.h"
#include "quillrt/framework/streams.h"

namespace quill::workbench {
namespace {

jobs::TSavedConcordance ReadConcordance(const std::string& path) {
  try {
    TFileStream stream(Utf8ToUtf16(path), fmOpenRead | fmShareDenyWrite);
    return jobs::ReadSavedConcordance(stream);
  } catch (const std::exception& e) {
    const jobs::SavedFileDescription description = jobs::DescribeSavedFile(path);
    if (description.recognised && description.kind != lt_concordance_list)
      throw jobs::JobError(jobs::JobError::failed, jobs::DescriptionLine(path, description) + ": not a concordance");
    throw jobs::JobError(jobs::JobError::failed, "cannot load " + path + ": " + e.what());
  }
}

}  // namespace

LoadedConcordance LoadConcordanceFile(const std::string& path) {
  const jobs::TSavedConcordance saved = ReadConcordance(path);
  LoadedConcordance loaded;
  loaded.sources = saved.sources.size();
  for (const UnicodeString& word : saved.search_words) loaded.searches.push_back(Utf16ToUtf8(word));
  loaded.lines.reserve(saved.lines.size());
  for (const jobs::TSavedConcordanceLine& from : saved.lines) {
    jobs::ConcordanceLine line;
    // The reader has checked that every line's source is one of the sources.
    line.file = Utf16ToUtf8(saved.sources.at(static_cast<std::size_t>(from.source)));
    line.file_index = from.source + 1;
    line.hit_number = from.hit_number;
    line.word_number = from.word_number;
    line.sentence = from.sentence;
    line.paragraph = from.paragraph;
    line.search_word = from.search_word;
    line.left = from.left;
    line.hit = from.hit;
    line.right = from.right;
    loaded.lines.push_back(std::move(line));
  }
  return loaded;
}

}  // namespace quill::workbench
