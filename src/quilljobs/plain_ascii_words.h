#pragma once
// Counting the words of plain ASCII text straight from its bytes. Most corpus
// text is plain ASCII (printable characters, tabs and line ends), and there
// the word rule comes down to a set of word characters and a set of middle
// characters: a word is a run of word characters, and a middle character
// between two word characters joins them. Read that way from the bytes, a
// piece gives the words ClassifyText and FindWords find in its widened text,
// without the widening, the class array or the list of spans. Markup ("<")
// and word/TAG tokens are left to that general way.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "quillrt/analysis/word_frequency_table.h"
#include "quilljobs/quilljobs_export.h"
#include "quilljobs/word_rule.h"

namespace quill::jobs {

class QUILLJOBS_API PlainAsciiWordCounter {
 public:
  explicit PlainAsciiWordCounter(const WordRule& rule);

  // Counts the words of at least `min_length` characters in `bytes` into
  // `table`, in order, as the general way would. False, counting nothing,
  // when the bytes are not all plain ASCII, hold a "<" (markup may start
  // there), or the rule reads word/TAG tokens.
  bool Count(std::string_view bytes, std::size_t min_length, TWordFrequencyTable& table);

 private:
  enum ByteKind : std::uint8_t { other, word, middle, refused };

  // The word-character bits of the bytes, 64 a block, middle characters
  // between two word characters included; false at a refused byte.
  bool MarkWords(std::string_view bytes);
  bool MarkBlocksByKind(std::string_view bytes, std::size_t& done);
  bool MarkBlocksInVectors(std::string_view bytes, std::size_t& done);

  bool usable_ = false;
  // Whether the word characters are exactly the ASCII letters and digits and
  // at most four middle characters are ASCII: then the vector form applies.
  bool letters_and_digits_ = false;
  std::array<ByteKind, 256> kinds_{};
  std::array<char, 4> middles_{};  // the ASCII middle characters, repeated to four
  std::size_t middle_count_ = 0;
  std::vector<std::uint64_t> words_;    // per block of 64 bytes
  std::vector<std::uint64_t> middles_in_;  // per block of 64 bytes
};

}  // namespace quill::jobs
