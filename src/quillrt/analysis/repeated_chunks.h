#pragma once
// Long stretches of characters that recur within one text, and sentences that
// recur within and across a set of files.
#include <cstdint>
#include <memory>

#include "quillrt/analysis/occurrences.h"
#include "quillrt/analysis/word_lists.h"
#include "quillrt/collections/integer_lists.h"
#include "quillrt/collections/string_lists_with_values.h"
#include "quillrt/files/folder_efficient_file_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The stretches of `chunk_len` characters, taken one after another from the
// start of `text` and trimmed of blanks, that occur again later in the text.
// Only stretches longer than 100 characters after trimming are looked for, so
// a `chunk_len` of 100 or less finds nothing. Each line is a stretch with
// (long0) the number of times it occurs after its own place, overlapping
// occurrences included, and (long1) the position of the first of them. The
// search for a stretch stops once the list holds `max_repeated` lines of which
// `max_repeated` occur more than once. Lines occurring fewer than `min_freq`
// times are left out; the rest are sorted most repeated first (equal counts by
// position). `progress`, when given, is told the percentage of the text taken.
QUILLRT_API std::unique_ptr<TStringListWith2LongintList> RepeatedXCharChunks(std::int32_t chunk_len,
                                                                             std::int32_t min_freq,
                                                                             std::int32_t max_repeated,
                                                                             const UnicodeString& text,
                                                                             const TTellCountEvent& progress);

// Finds the sentences that recur in a set of files. For each file in turn:
// LoadATextFile, then AddToRepeatedSentencesInTxt; results gather in
// chunks_list, one line per sentence with (file number, occurrences) per file.
//
// A file's text is read by paragraphs (lines ending in CR LF; a last line
// without one is not read), each cut into sentences (SentencesExtractedFrom-
// Paragraph with the settings). Sentences that begin in lower case are passed
// over. Each distinct sentence (ignoring case) is counted once per file: its
// occurrences anywhere in the text, and it is recorded when it occurs at least
// min_hits times. The scan checks `processing` before each paragraph; Stop,
// called from a handler that runs during a yield, ends it there.
class QUILLRT_API TRepeatedChunks {
 public:
  TRepeatedChunks();
  ~TRepeatedChunks();
  TRepeatedChunks(const TRepeatedChunks&) = delete;
  TRepeatedChunks& operator=(const TRepeatedChunks&) = delete;

  // Empties the three lists.
  void Clear();
  void SetSettings(bool include_unterminated_sentences, std::int32_t tag_span, std::int32_t min_hits,
                   std::int32_t min_sentence_length, TTellCountEvent this_reporting,
                   TTellCountEvent overall_reporting, TTellCountEvent running_total_reporting);
  // When the file exists: its name joins fnames (the index is its file number
  // and the result) and txt becomes its text without markup (runs from "<" to
  // ">" of at most tag_span characters). Otherwise -1, and nothing changes.
  std::int32_t LoadATextFile(const UnicodeString& filename);
  // The full name of file `number`; empty for a bad number.
  UnicodeString GetAFilename(std::int32_t number) const;
  // Sets `processing`, reports file_number out of total_files to
  // overall_reporting, scans txt as file `file_number`, and reports the
  // number of lines in chunks_list to running_total_reporting. Raises
  // Exception "list not assigned" when chunks_list is missing.
  void AddToRepeatedSentencesInTxt(std::int32_t file_number, std::int32_t total_files);
  // Scans `text` as file `file_number` while `processing` is set, and returns
  // the number of lines it added to chunks_list. this_reporting hears the
  // position reached (percent) for texts over 100,000 characters. Raises
  // Exception "chunks_list not assigned" when chunks_list is missing.
  std::int32_t AddedToRepeatedSentencesInTxt(std::int32_t file_number, const UnicodeString& text);
  void SortAScendingFilenumbers();
  void SortDescendingFreq();
  // Ends the current scan before its next paragraph.
  void Stop() { processing = false; }

  bool processing = false;
  bool include_unterminated_sentences = false;
  std::int32_t min_sentence_length = 0;
  std::int32_t min_hits = 0;
  std::int32_t tag_span = 0;
  TTellCountEvent this_reporting;
  TTellCountEvent overall_reporting;
  TTellCountEvent running_total_reporting;
  UnicodeString txt;
  std::unique_ptr<TQYLongintList> display_index;
  std::unique_ptr<TFolderEfficientFileStringlist> fnames;
  std::unique_ptr<TStringlistWithListOfOccurrences> chunks_list;

 private:
  TStringlistWithListOfOccurrences& Chunks(const char* missing_message) const;
};

}  // namespace quill
