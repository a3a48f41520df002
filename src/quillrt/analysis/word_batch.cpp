#include "quillrt/analysis/word_batch.h"

#include <cstring>

#include "quillrt/analysis/word_chars.h"

namespace quill {

namespace {

// For a word of n units (0 to 8) read as two 64-bit words: the lanes that
// hold it.
constexpr std::uint64_t kUnitsMasks[9][2] = {
    {0, 0},
    {0xFFFFull, 0},
    {0xFFFFFFFFull, 0},
    {0xFFFFFFFFFFFFull, 0},
    {~0ull, 0},
    {~0ull, 0xFFFFull},
    {~0ull, 0xFFFFFFFFull},
    {~0ull, 0xFFFFFFFFFFFFull},
    {~0ull, ~0ull}};

// Four ASCII units with A-Z lowered: lanes at or above 'A' and not above 'Z'
// get 0x20. No lane can carry into the next, as every unit is below 0x80.
std::uint64_t FoldedAscii(std::uint64_t units) {
  constexpr std::uint64_t ones = 0x0001000100010001ull;
  const std::uint64_t from_a = units + ones * (0x80 - 'A');
  const std::uint64_t past_z = units + ones * (0x80 - 'Z' - 1);
  return units | ((from_a & ~past_z & (ones * 0x80)) >> 2);
}

}  // namespace

void WordBatch::Add(const WideChar* word, std::size_t length) {
  TWordFrequencyTable::TPreparedWord& prepared = pending_[count_];
  prepared.spelling = std::u16string_view(word, length);
  long_at_[count_] = kShort;
  if (length <= TWordFrequencyTable::kShortKey && text_end_ - word >= 8) {
    std::uint64_t low, high;
    std::memcpy(&low, word, sizeof low);
    std::memcpy(&high, word + 4, sizeof high);
    low &= kUnitsMasks[length][0];
    high &= kUnitsMasks[length][1];
    if (((low | high) & 0xFF80FF80FF80FF80ull) == 0) {
      prepared.short_key[0] = FoldedAscii(low);
      prepared.short_key[1] = FoldedAscii(high);
      prepared.length = static_cast<std::uint32_t>(length);
      prepared.folded = {};
      prepared.hash = TWordFrequencyTable::HashShortKey(prepared.short_key, prepared.length);
      if (++count_ == kWords) Flush();
      return;
    }
  }
  long_at_[count_] = side_.size();
  if (!AppendedFoldedAscii(word, length)) word_chars::AppendFolded(prepared.spelling, side_);
  long_length_[count_] = side_.size() - long_at_[count_];
  if (++count_ == kWords) Flush();
}

void WordBatch::Flush() {
  for (std::size_t k = 0; k < count_; ++k) {
    if (long_at_[k] == kShort) continue;
    pending_[k] = TWordFrequencyTable::Prepared(std::u16string_view(side_).substr(long_at_[k], long_length_[k]),
                                                pending_[k].spelling);
  }
  table_.AddPreparedWords(pending_, count_);
  count_ = 0;
  side_.clear();
}

// Folds an ASCII word four units at a time onto side_; false (adding
// nothing) for a word with other characters.
bool WordBatch::AppendedFoldedAscii(const WideChar* word, std::size_t length) {
  std::uint64_t any = 0;
  std::size_t k = 0;
  for (; k + 4 <= length; k += 4) {
    std::uint64_t four;
    std::memcpy(&four, word + k, sizeof four);
    any |= four;
  }
  for (; k < length; ++k) any |= word[k];
  if (any & 0xFF80FF80FF80FF80ull) return false;
  const std::size_t at = side_.size();
  side_.resize(at + length);
  WideChar* out = side_.data() + at;
  for (k = 0; k + 4 <= length; k += 4) {
    std::uint64_t four;
    std::memcpy(&four, word + k, sizeof four);
    four = FoldedAscii(four);
    std::memcpy(out + k, &four, sizeof four);
  }
  for (; k < length; ++k) out[k] = static_cast<WideChar>(FoldedAscii(word[k]));
  return true;
}

}  // namespace quill
