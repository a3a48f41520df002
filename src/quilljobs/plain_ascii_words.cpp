#include "quilljobs/plain_ascii_words.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "quillrt/analysis/word_batch.h"
#include "quillrt/platform/char_types.h"
#include "quillrt/text/class_bits.h"

namespace quill::jobs {
namespace {

bool IsPlainAscii(unsigned c) { return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r'; }

bool IsLetterOrDigit(unsigned c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

PlainAsciiWordCounter::PlainAsciiWordCounter(const WordRule& rule) {
  if (rule.pos_tags) return;
  // The classes the general way gives each character on its own: a plain
  // ASCII character's class never depends on its neighbours.
  const TClassWord* const classes = CharType1Table();
  bool standard = true;
  for (unsigned c = 0; c < 256; ++c) {
    if (!IsPlainAscii(c) || c == '<') {
      kinds_[c] = refused;
      continue;
    }
    // Characters the general way leaves alone as markup never come here.
    if (IsMarkupClass(classes[c]) || IsSegmentMarker(classes[c])) return;
    kinds_[c] = IsWordClass(classes[c]) ? word : other;
    standard = standard && (kinds_[c] == word) == IsLetterOrDigit(c);
  }
  for (const char16_t m : rule.middle_characters) {
    if (m >= 0x80 || kinds_[m] == refused || kinds_[m] == word) continue;
    if (kinds_[m] == middle) continue;
    kinds_[m] = middle;
    if (middle_count_ < middles_.size()) middles_[middle_count_] = static_cast<char>(m);
    ++middle_count_;
  }
  for (std::size_t k = middle_count_; k < middles_.size(); ++k) middles_[k] = middle_count_ > 0 ? middles_[0] : '\0';
  letters_and_digits_ = standard && middle_count_ <= middles_.size();
  usable_ = true;
}

bool PlainAsciiWordCounter::Count(std::string_view bytes, std::size_t min_length, TWordFrequencyTable& table) {
  if (!usable_ || !MarkWords(bytes)) return false;
  WordBatch batch(table, bytes);
  bool inside = false;
  std::size_t start = 0;
  const auto take = [&](std::size_t end) {
    if (end - start >= min_length) batch.AddAscii(bytes.data() + start, end - start);
  };
  for (std::size_t block = 0; block < words_.size(); ++block) {
    const std::uint64_t words = words_[block];
    // A bit where characters turn from non-word to word or back: alternately
    // a word's start and its end.
    for (std::uint64_t edges = words ^ ((words << 1) | (inside ? 1u : 0u)); edges != 0; edges &= edges - 1) {
      const std::size_t at = block * 64 + static_cast<std::size_t>(__builtin_ctzll(edges));
      if (inside)
        take(at);
      else
        start = at;
      inside = !inside;
    }
  }
  if (inside) take(bytes.size());
  batch.Flush();
  return true;
}

bool PlainAsciiWordCounter::MarkWords(std::string_view bytes) {
  const std::size_t blocks = (bytes.size() + 63) / 64;
  words_.assign(blocks, 0);
  middles_in_.assign(blocks, 0);
  std::size_t done = 0;
  if (letters_and_digits_ && !MarkBlocksInVectors(bytes, done)) return false;
  if (!MarkBlocksByKind(bytes, done)) return false;
  if (middle_count_ == 0) return true;
  // A middle character joins when word characters stand on both sides of it
  // (neither end of the text is between two).
  std::uint64_t before = 0;  // the last bit of the block before
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::uint64_t words = words_[b];
    const std::uint64_t after = b + 1 < blocks ? words_[b + 1] & 1u : 0;
    const std::uint64_t left = (words << 1) | before;
    const std::uint64_t right = (words >> 1) | (after << 63);
    before = words >> 63;
    words_[b] = words | (middles_in_[b] & left & right);
  }
  return true;
}

// Byte by byte from `done`, by the kinds' table.
bool PlainAsciiWordCounter::MarkBlocksByKind(std::string_view bytes, std::size_t& done) {
  for (std::size_t i = done; i < bytes.size(); ++i) {
    const ByteKind kind = kinds_[static_cast<unsigned char>(bytes[i])];
    if (kind == refused) return false;
    const std::uint64_t bit = std::uint64_t{1} << (i % 64);
    if (kind == word) words_[i / 64] |= bit;
    if (kind == middle) middles_in_[i / 64] |= bit;
  }
  done = bytes.size();
  return true;
}

// Sixty-four bytes at a time from `done`, for letters and digits and up to
// four middle characters; leaves `done` where the whole blocks end.
bool PlainAsciiWordCounter::MarkBlocksInVectors(std::string_view bytes, std::size_t& done) {
#if defined(__SSE2__)
  const auto in_range = [](__m128i v, char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(high + 1))));
  };
  const __m128i m0 = _mm_set1_epi8(middles_[0]), m1 = _mm_set1_epi8(middles_[1]);
  const __m128i m2 = _mm_set1_epi8(middles_[2]), m3 = _mm_set1_epi8(middles_[3]);
  const bool any_middle = middle_count_ > 0;
  for (std::size_t b = 0; (b + 1) * 64 <= bytes.size(); ++b) {
    std::uint64_t words = 0, middles = 0;
    unsigned refused_bits = 0;
    for (std::size_t q = 0; q < 4; ++q) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + b * 64 + q * 16));
      // Signed: bytes above 0x7F are negative and fail the printable test.
      const __m128i printable = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(0x1F)), _mm_cmplt_epi8(v, _mm_set1_epi8(0x7F)));
      const __m128i line = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\t')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))),
                                        _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
      const __m128i ok = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_or_si128(printable, line));
      refused_bits |= static_cast<unsigned>(_mm_movemask_epi8(ok)) ^ 0xFFFFu;
      const __m128i letter = in_range(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 'z');
      const __m128i word_char = _mm_or_si128(letter, in_range(v, '0', '9'));
      words |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(word_char))) << (q * 16);
      if (any_middle) {
        const __m128i middle = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, m0), _mm_cmpeq_epi8(v, m1)),
                                            _mm_or_si128(_mm_cmpeq_epi8(v, m2), _mm_cmpeq_epi8(v, m3)));
        middles |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(middle))) << (q * 16);
      }
    }
    if (refused_bits != 0) return false;
    words_[b] = words;
    middles_in_[b] = middles;
    done = (b + 1) * 64;
  }
#else
  (void)bytes;
  (void)done;
#endif
  return true;
}

}  // namespace quill::jobs
