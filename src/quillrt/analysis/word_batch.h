#pragma once
// Words added to a frequency table a batch at a time. Counting a word costs a
// hash, a look at its slot and the fold of its case; done one word after
// another, each look waits for memory. A batch prepares a few dozen words,
// then fetches their slots together (TWordFrequencyTable::AddPreparedWords).
// An ASCII word of up to eight units (most words) is folded eight units at a
// time in two registers; any other word is folded into a side buffer.
//
// Words must lie in one text that outlives the batch's next Flush: short
// words are read eight units at a time, never past the text's end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "quillrt/analysis/word_frequency_table.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API WordBatch {
 public:
  WordBatch(TWordFrequencyTable& table, std::u16string_view text)
      : table_(table), text_end_(text.data() + text.size()) {}
  WordBatch(const WordBatch&) = delete;
  WordBatch& operator=(const WordBatch&) = delete;
  ~WordBatch() = default;  // words not flushed are not counted

  // Counts the word of `length` units at `word` (inside the text) once.
  void Add(const WideChar* word, std::size_t length);
  // Adds the words gathered so far to the table.
  void Flush();

 private:
  static constexpr std::size_t kWords = 32;
  static constexpr std::size_t kShort = SIZE_MAX;

  bool AppendedFoldedAscii(const WideChar* word, std::size_t length);

  TWordFrequencyTable& table_;
  const WideChar* text_end_;
  TWordFrequencyTable::TPreparedWord pending_[kWords];
  std::size_t long_at_[kWords];
  std::size_t long_length_[kWords];
  std::size_t count_ = 0;
  UnicodeString side_;  // folded keys of the other words
};

}  // namespace quill
