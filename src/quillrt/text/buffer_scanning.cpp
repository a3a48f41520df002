#include "quillrt/text/buffer_scanning.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quill {

const WideChar* FindWideChar(const WideChar* from, const WideChar* to, WideChar c) {
#if defined(__SSE2__)
  // Eight units compared at once; the mask has two bits per unit.
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
  for (; to - from >= 8; from += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(units, wanted));
    if (mask != 0) return from + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
  }
#endif
  for (; from != to; ++from)
    if (*from == c) return from;
  return to;
}

const WideChar* FindAnyOfFourWideChars(const WideChar* from, const WideChar* to, const WideChar (&set)[4]) {
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi16(static_cast<short>(set[0]));
  const __m128i second = _mm_set1_epi16(static_cast<short>(set[1]));
  const __m128i third = _mm_set1_epi16(static_cast<short>(set[2]));
  const __m128i fourth = _mm_set1_epi16(static_cast<short>(set[3]));
  for (; to - from >= 8; from += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, first), _mm_cmpeq_epi16(units, second)),
                                      _mm_or_si128(_mm_cmpeq_epi16(units, third), _mm_cmpeq_epi16(units, fourth)));
    const int mask = _mm_movemask_epi8(hits);
    if (mask != 0) return from + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
  }
#endif
  for (; from != to; ++from)
    if (*from == set[0] || *from == set[1] || *from == set[2] || *from == set[3]) return from;
  return to;
}

namespace {

template <class Unit>
const Unit* ScanFor(const Unit* buffer, Unit c, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return nullptr;
  if constexpr (sizeof(Unit) == 1) {
    return static_cast<const Unit*>(std::memchr(buffer, static_cast<unsigned char>(c), count));
  } else {
    const Unit* end = buffer + count;
    const Unit* found = FindWideChar(buffer, end, c);
    return found == end ? nullptr : found;
  }
}

template <class Unit>
std::size_t TerminatedLength(const Unit* s) {
  std::size_t n = 0;
  while (s[n] != 0) ++n;
  return n;
}

// Tries every start at which the pattern still fits (the last one included):
// finds the first character with the scan, then compares the rest.
template <class Unit, class Matches>
const Unit* NaiveSearch(const Unit* buffer, std::int32_t count, std::size_t pattern_length, Matches matches) {
  if (pattern_length == 0 || count <= 0 || pattern_length > static_cast<std::size_t>(count)) return nullptr;
  const Unit* const last_start = buffer + (count - static_cast<std::int32_t>(pattern_length));
  for (const Unit* p = buffer; p <= last_start; ++p) {
    if (!matches(p[0], 0)) continue;
    std::size_t k = 1;
    while (k < pattern_length && matches(p[k], k)) ++k;
    if (k == pattern_length) return p;
  }
  return nullptr;
}

template <class Unit>
const Unit* PatternSearch(const Unit* buffer, const Unit* pattern, std::int32_t count) {
  if (buffer == nullptr || pattern == nullptr) return nullptr;
  const std::size_t length = TerminatedLength(pattern);
  if (length == 1) return ScanFor(buffer, pattern[0], count);
  return NaiveSearch(buffer, count, length, [pattern](Unit c, std::size_t k) { return c == pattern[k]; });
}

template <class Unit>
const Unit* TwoCaseSearch(const Unit* buffer, const Unit* lower, const Unit* upper, std::int32_t count) {
  if (buffer == nullptr || lower == nullptr || upper == nullptr) return nullptr;
  const std::size_t length = TerminatedLength(lower);
  if (TerminatedLength(upper) != length) return nullptr;
  return NaiveSearch(buffer, count, length,
                     [lower, upper](Unit c, std::size_t k) { return c == lower[k] || c == upper[k]; });
}

template <class Unit>
std::int32_t HowFarEqual(const Unit* a, const Unit* b, std::int32_t count) {
  if (a == nullptr || b == nullptr) return 0;
  for (std::int32_t i = 0; i < count; ++i) {
    if (a[i] != b[i]) return count - i - 1;
  }
  return 0;
}

template <class Unit>
bool Equal(const Unit* a, const Unit* b, std::int32_t count) {
  if (count <= 0 || a == b) return true;
  if (a == nullptr || b == nullptr) return false;
  return std::memcmp(a, b, static_cast<std::size_t>(count) * sizeof(Unit)) == 0;
}

}  // namespace

const char* FastStrScan(const char* buffer, char c, std::int32_t count) { return ScanFor(buffer, c, count); }

const WideChar* FastStrScanW(const WideChar* buffer, WideChar c, std::int32_t count) {
  return ScanFor(buffer, c, count);
}

const WideChar* StrLScanW(const WideChar* buffer, WideChar c, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return buffer;
  return ScanFor(buffer, c, count);
}

const char* FastStrPos(const char* buffer, const char* pattern, std::int32_t count) {
  return PatternSearch(buffer, pattern, count);
}

const WideChar* FastStrPosW(const WideChar* buffer, const WideChar* pattern, std::int32_t count) {
  return PatternSearch(buffer, pattern, count);
}

const char* FastStrIPos(const char* buffer, const char* lower_pattern, const char* upper_pattern,
                        std::int32_t count) {
  return TwoCaseSearch(buffer, lower_pattern, upper_pattern, count);
}

const WideChar* FastStrIPosW(const WideChar* buffer, const WideChar* lower_pattern, const WideChar* upper_pattern,
                             std::int32_t count) {
  return TwoCaseSearch(buffer, lower_pattern, upper_pattern, count);
}

std::int32_t StrScanIndex(const UnicodeString& s, WideChar c, std::int32_t start) {
  if (start < 1) start = 1;
  if (static_cast<std::size_t>(start) > s.size()) return 0;
  const std::size_t found = s.find(c, static_cast<std::size_t>(start) - 1);
  return found == UnicodeString::npos ? 0 : static_cast<std::int32_t>(found) + 1;
}

std::int32_t ScanForInt(std::int32_t value, const std::int32_t* values, std::int32_t count) {
  if (values == nullptr) return 0;
  for (std::int32_t i = 0; i < count; ++i) {
    if (values[i] == value) return i + 1;
  }
  return 0;
}

std::int32_t HowFarEqualContentsA(const char* a, const char* b, std::int32_t count) { return HowFarEqual(a, b, count); }

std::int32_t HowFarEqualContentsW(const WideChar* a, const WideChar* b, std::int32_t count) {
  return HowFarEqual(a, b, count);
}

bool EqualContentsA(const char* a, const char* b, std::int32_t count) { return Equal(a, b, count); }

bool EqualContentsW(const WideChar* a, const WideChar* b, std::int32_t count) { return Equal(a, b, count); }

}  // namespace quill
