#include "quillrt/analysis/word_batch.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "quillrt/analysis/word_chars.h"

namespace quill {

namespace {

using Table = TWordFrequencyTable;

// Eight ASCII characters, a byte each, with A-Z lowered: lanes at or above
// 'A' and not above 'Z' get 0x20. No lane can carry into the next, as every
// byte is below 0x80.
std::uint64_t FoldedAsciiBytes(std::uint64_t bytes) {
  constexpr std::uint64_t ones = 0x0101010101010101ull;
  const std::uint64_t from_a = bytes + ones * (0x80 - 'A');
  const std::uint64_t past_z = bytes + ones * (0x80 - 'Z' - 1);
  return bytes | ((from_a & ~past_z & (ones * 0x80)) >> 2);
}

// Packs the `length` (at most 16) units at `word` into `key` as bytes, folded;
// false when one of them is not ASCII.
bool PackedAsciiUnits(const WideChar* word, std::size_t length, std::uint64_t (&key)[2]) {
  unsigned char bytes[Table::kAsciiKey] = {};
  for (std::size_t k = 0; k < length; ++k) {
    if (word[k] >= 0x80) return false;
    bytes[k] = static_cast<unsigned char>(word[k]);
  }
  std::memcpy(key, bytes, sizeof bytes);
  key[0] = FoldedAsciiBytes(key[0]);
  key[1] = FoldedAsciiBytes(key[1]);
  return true;
}

#if defined(__SSE2__)
// The lanes of the first `length` bytes of sixteen.
__m128i FirstBytes(std::size_t length) {
  const __m128i lanes = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  return _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(length)), lanes);
}

// Sixteen ASCII bytes with A-Z lowered, as a key (taken out of the register
// rather than through memory: the hash needs it at once).
void StoreFolded(__m128i bytes, std::uint64_t (&key)[2]) {
  const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('A' - 1)),
                                      _mm_cmplt_epi8(bytes, _mm_set1_epi8('Z' + 1)));
  const __m128i folded = _mm_or_si128(bytes, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
  key[0] = static_cast<std::uint64_t>(_mm_cvtsi128_si64(folded));
  key[1] = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(folded, folded)));
}
#endif

}  // namespace

// Inlined into the adding functions: the key and its hash stay in registers.
inline void WordBatch::TakePacked(std::size_t length) {
  Table::TPreparedWord& prepared = pending_[count_];
  long_at_[count_] = kShort;
  prepared.length = static_cast<std::uint32_t>(length) | Table::kAsciiForm;
  prepared.folded = {};
  prepared.hash = Table::HashShortKey(prepared.short_key, prepared.length);
  // Fetched while the rest of the batch is prepared, the slot is at hand
  // when the batch is counted.
  table_.PrefetchSlot(prepared.hash);
  if (++count_ == kWords) Flush();
}

void WordBatch::Add(const WideChar* word, std::size_t length) {
  Table::TPreparedWord& prepared = pending_[count_];
  prepared.spelling = std::u16string_view(word, length);
  prepared.ascii_spelling = {};
  if (length <= Table::kAsciiKey && PackedKey(word, length, prepared.short_key)) {
    TakePacked(length);
    return;
  }
  TakeFolded(prepared.spelling);
}

// The folded key of an ASCII word of up to sixteen units, packed into bytes;
// false for a word with other characters.
bool WordBatch::PackedKey(const WideChar* word, std::size_t length, std::uint64_t (&key)[2]) const {
#if defined(__SSE2__)
  if (text_end_ - word >= 16) {
    // Two registers of eight units, those past the word zeroed; ASCII when no
    // unit is above 0x7F, and then they pack into bytes.
    const __m128i lanes = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
    const auto n = static_cast<short>(length);
    const __m128i low = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(word)),
                                      _mm_cmpgt_epi16(_mm_set1_epi16(n), lanes));
    const __m128i high = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(word + 8)),
                                       _mm_cmpgt_epi16(_mm_set1_epi16(static_cast<short>(n - 8)), lanes));
    const __m128i above = _mm_and_si128(_mm_or_si128(low, high), _mm_set1_epi16(static_cast<short>(0xFF80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(above, _mm_setzero_si128())) != 0xFFFF) return false;
    StoreFolded(_mm_packus_epi16(low, high), key);
    return true;
  }
#endif
  return PackedAsciiUnits(word, length, key);
}

void WordBatch::AddAscii(const char* word, std::size_t length) {
  Table::TPreparedWord& prepared = pending_[count_];
  prepared.spelling = {};
  prepared.ascii_spelling = std::string_view(word, length);
  if (length <= Table::kAsciiKey) {
#if defined(__SSE2__)
    if (ascii_end_ - word >= 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(word));
      StoreFolded(_mm_and_si128(bytes, FirstBytes(length)), prepared.short_key);
      TakePacked(length);
      return;
    }
#endif
    unsigned char bytes[Table::kAsciiKey] = {};
    std::memcpy(bytes, word, length);
    std::memcpy(prepared.short_key, bytes, sizeof bytes);
    prepared.short_key[0] = FoldedAsciiBytes(prepared.short_key[0]);
    prepared.short_key[1] = FoldedAsciiBytes(prepared.short_key[1]);
    TakePacked(length);
    return;
  }
  // A longer word's key is its folded UTF-16 units.
  long_at_[count_] = side_.size();
  side_.append(word, word + length);
  for (std::size_t k = long_at_[count_]; k < side_.size(); ++k)
    if (side_[k] >= u'A' && side_[k] <= u'Z') side_[k] = static_cast<WideChar>(side_[k] + 0x20);
  long_length_[count_] = length;
  if (++count_ == kWords) Flush();
}

void WordBatch::TakeFolded(std::u16string_view spelling) {
  long_at_[count_] = side_.size();
  word_chars::AppendFolded(spelling, side_);
  long_length_[count_] = side_.size() - long_at_[count_];
  if (++count_ == kWords) Flush();
}

void WordBatch::Flush() {
  for (std::size_t k = 0; k < count_; ++k) {
    if (long_at_[k] == kShort) continue;
    const std::string_view ascii_spelling = pending_[k].ascii_spelling;
    pending_[k] = Table::Prepared(std::u16string_view(side_).substr(long_at_[k], long_length_[k]), pending_[k].spelling);
    pending_[k].ascii_spelling = ascii_spelling;
  }
  table_.AddPreparedWords(pending_, count_);
  count_ = 0;
  side_.clear();
}

}  // namespace quill
