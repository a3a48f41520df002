#pragma once
// Words added to a frequency table a batch at a time. Counting a word costs a
// hash, a look at its slot and the fold of its case; done one word after
// another, each look waits for memory. A batch prepares a few dozen words,
// then fetches their slots together (TWordFrequencyTable::AddPreparedWords).
// An ASCII word of up to sixteen characters (nearly every word) is folded and
// packed into its key in two registers; any other word is folded into a side
// buffer.
//
// A batch takes the words of one text, either UTF-16 or 8-bit text of ASCII
// characters only, which must outlive the batch's next Flush: short words are
// read sixteen characters at a time, never past the text's end.
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
  // For 8-bit text in which every byte is an ASCII character (below 0x80).
  WordBatch(TWordFrequencyTable& table, std::string_view ascii_text)
      : table_(table), ascii_end_(ascii_text.data() + ascii_text.size()) {}
  WordBatch(const WordBatch&) = delete;
  WordBatch& operator=(const WordBatch&) = delete;
  ~WordBatch() = default;  // words not flushed are not counted

  // Counts the word of `length` units at `word` (inside the UTF-16 text) once.
  void Add(const WideChar* word, std::size_t length);
  // Counts the word of `length` bytes at `word` (inside the ASCII text) once.
  void AddAscii(const char* word, std::size_t length);
  // Adds the words gathered so far to the table.
  void Flush();

 private:
  static constexpr std::size_t kWords = 32;
  static constexpr std::size_t kShort = SIZE_MAX;

  bool PackedKey(const WideChar* word, std::size_t length, std::uint64_t (&key)[2]) const;
  // Gives the word in hand its packed key (`length` ASCII characters already
  // in its short_key, folded) and hash, and takes it into the batch.
  void TakePacked(std::size_t length);
  // Takes the word in hand into the batch with its key folded onto side_.
  void TakeFolded(std::u16string_view spelling);

  TWordFrequencyTable& table_;
  const WideChar* text_end_ = nullptr;
  const char* ascii_end_ = nullptr;
  TWordFrequencyTable::TPreparedWord pending_[kWords];
  std::size_t long_at_[kWords];
  std::size_t long_length_[kWords];
  std::size_t count_ = 0;
  UnicodeString side_;  // folded keys of the other words
};

}  // namespace quill
