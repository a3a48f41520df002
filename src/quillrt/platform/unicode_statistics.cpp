#include "quillrt/platform/unicode_statistics.h"

#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quill {

namespace {

struct TRange {
  char16_t first, last;
};

// Blocks where running text lives (surrogates are judged in pairs, apart).
constexpr TRange kTextRanges[] = {
    {0x0009, 0x000A}, {0x000C, 0x000D}, {0x0020, 0x007E}, {0x00A0, 0x036F}, {0x0370, 0x06FF},
    {0x0900, 0x0DFF}, {0x0E00, 0x0EFF}, {0x10A0, 0x11FF}, {0x1E00, 0x1FFF}, {0x2010, 0x206F},
    {0x20A0, 0x20CF}, {0x2100, 0x23FF}, {0x2460, 0x257F}, {0x3000, 0x31FF}, {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFF00, 0xFFEF},
};

bool InTextRange(char16_t unit) {
  for (const TRange& range : kTextRanges)
    if (unit >= range.first && unit <= range.last) return true;
  return false;
}

bool IsIllegal(char16_t unit) {
  if (unit == 0xFFFE || unit == 0xFFFF) return true;
  if (unit < 0x20) return !(unit == 0x09 || unit == 0x0A || unit == 0x0C || unit == 0x0D);
  return unit >= 0x7F && unit <= 0x9F;
}

// Bytes that 8-bit text does not contain.
constexpr bool IsNonTextByte(unsigned byte) {
  return byte <= 0x08 || byte == 0x0B || (byte >= 0x0E && byte <= 0x1F) || byte == 0x7F;
}

// The same as a table, for the pass over every byte of a buffer.
constexpr auto kNonTextBytes = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) table[b] = IsNonTextByte(b) ? 1 : 0;
  return table;
}();

// Whether any of `n` bytes is one 8-bit text does not contain: sixteen
// bytes at a time, since most buffers asked about have none.
bool AnyNonTextByte(const unsigned char* bytes, std::size_t n) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i highest_control = _mm_set1_epi8(0x1F);
  const auto equal = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(v, highest_control), v);
    const __m128i text_control = _mm_or_si128(_mm_or_si128(equal(v, 0x09), equal(v, 0x0A)),
                                              _mm_or_si128(equal(v, 0x0C), equal(v, 0x0D)));
    const __m128i non_text = _mm_or_si128(_mm_andnot_si128(text_control, control), equal(v, 0x7F));
    if (_mm_movemask_epi8(non_text) != 0) return true;
  }
#endif
  for (; i < n; ++i)
    if (kNonTextBytes[bytes[i]] != 0) return true;
  return false;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

bool IsTextUnicode(const void* buffer, std::int64_t size) {
  if (buffer == nullptr || size < 2 || size % 2 != 0) return false;
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  const std::size_t n = static_cast<std::size_t>(size / 2);
  auto unit_at = [&](std::size_t i) { return static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
  if (unit_at(0) == 0xFEFF) return true;
  if (unit_at(0) == 0xFFFE) return false;

  // UTF-16 of any script holds bytes that 8-bit text does not (the zero high
  // bytes of Latin letters, control-range bytes elsewhere). Counted first, on
  // their own, because they settle most buffers at once: 8-bit and UTF-8 text
  // has none, and the statistics below are the costly part.
  if (!AnyNonTextByte(bytes, 2 * n)) return false;
  std::size_t non_text_units = 0;
  for (std::size_t i = 0; i < n; ++i)
    non_text_units += kNonTextBytes[bytes[2 * i]] | kNonTextBytes[bytes[2 * i + 1]];
  if (non_text_units == 0 || non_text_units * 100 < n) return false;

  std::size_t illegal = 0, ascii_le = 0, ascii_be = 0, text = 0, text_swapped = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t unit = unit_at(i);
    const unsigned low = bytes[2 * i], high = bytes[2 * i + 1];
    const auto swapped = static_cast<char16_t>((low << 8) | high);
    if (high == 0 && low >= 0x09 && low <= 0x7E) ++ascii_le;
    if (low == 0 && high >= 0x09 && high <= 0x7E) ++ascii_be;
    if (InTextRange(swapped)) ++text_swapped;
    if (IsHighSurrogate(unit) && i + 1 < n && IsLowSurrogate(unit_at(i + 1))) {
      text += 2;
      ++i;
      continue;
    }
    if (IsHighSurrogate(unit) || IsLowSurrogate(unit) || IsIllegal(unit))
      ++illegal;
    else if (InTextRange(unit))
      ++text;
  }
  if (illegal * 200 > n) return false;
  if (ascii_be > ascii_le && ascii_be * 10 >= n) return false;
  if (text * 10 < n * 9) return false;
  return text > text_swapped || text == n;
}

}  // namespace quill
