#pragma once
// Lines (sentences, chunks) with the files they occur in: each line of a
// TStringlistWithListOfOccurrences owns a TListOfOccurrences holding one
// record per file, (file number, frequency in that file).
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "quillrt/collections/string_lists_base.h"
#include "quillrt/collections/tuple_lists.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Records (long0 = file number, long1 = frequency in that file).
class QUILLRT_API TListOfOccurrences : public T2LongintList {
 public:
  ~TListOfOccurrences() override;
};

// Not sorted, case-insensitive. Delete of an index out of range does nothing.
class QUILLRT_API TStringlistWithListOfOccurrences : public TOwningIndexCheckStringlist<TListOfOccurrences> {
 public:
  ~TStringlistWithListOfOccurrences() override;

  // Adds `freq` occurrences in file `file_number` to the line `text` (found
  // ignoring case; added with an empty occurrence list when missing): to the
  // file's record, or as a new record. Returns the line's index.
  int AddOrIncOneByFreq(const UnicodeString& text, std::int32_t file_number, std::int32_t freq);
  // The occurrence list of a line; null for an index out of range.
  TListOfOccurrences* GetAListOfOccurrences(int index) const;
  // The number of lines that occur in more than one file.
  int Repeateds() const;
  // Every line deleted, from the last to the first.
  void Clear() override;
  // By the file number of each line's first record, ascending; equal ones by
  // the lines' code units, descending. A line without records counts as -1.
  void SortAllOccurrencesFileAscending();
  // By the sum of each line's frequencies over all files, descending; equal
  // ones by the lines' code units, descending.
  void SortAllOccurrencesFreqDescending();

 protected:
  void Changing() override;

 private:
  void SortByKeys(const std::vector<std::int64_t>& keys, bool ascending);
  int FindLine(const UnicodeString& text);

  // Case-folded line -> index, so that finding a line is not a scan of the
  // list. Built when needed; any change made other than by adding a line at
  // the end drops it.
  std::unordered_map<UnicodeString, int> line_index_;
  bool index_valid_ = false;
  bool appending_ = false;
};

}  // namespace quill
