#include "quilljobs/text_decoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "quillrt/platform/vector_width.h"
#if QUILL_WIDE_VECTOR_KERNELS
#include <immintrin.h>
#endif

#include "quillrt/files/file_contents.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/platform/utf8_decoding.h"

namespace quill::jobs {
namespace {

constexpr std::size_t kSample = 1 << 16;

// Control characters that text does not hold: C0 controls other than
// backspace, tab, line feed, vertical tab, form feed, carriage return and
// escape (terminal text), and DEL.
constexpr bool IsBinaryControl(unsigned char c) {
  return (c < 0x20 && c != 0x08 && c != 0x09 && c != 0x0A && c != 0x0B && c != 0x0C && c != 0x0D && c != 0x1B &&
          c != 0x1A) ||
         c == 0x7F;
}

constexpr auto kBinaryControls = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned c = 0; c < 256; ++c) table[c] = IsBinaryControl(static_cast<unsigned char>(c)) ? 1 : 0;
  return table;
}();

// Whether the bytes hold nothing below a blank but tabs and line ends, and no
// DEL: most text, told sixteen bytes at a time.
bool OnlyPlainControls(std::string_view bytes) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i highest_control = _mm_set1_epi8(0x1F);
  const auto equal = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  for (; i + 16 <= bytes.size(); i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(v, highest_control), v);
    const __m128i plain = _mm_or_si128(_mm_or_si128(equal(v, 0x09), equal(v, 0x0A)), equal(v, 0x0D));
    if (_mm_movemask_epi8(_mm_or_si128(_mm_andnot_si128(plain, control), equal(v, 0x7F))) != 0) return false;
  }
#endif
  for (; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if ((c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0x7F) return false;
  }
  return true;
}

// A zero byte, or more than one control character in 32.
bool LooksBinary(std::string_view sample) {
  if (OnlyPlainControls(sample)) return false;
  if (std::memchr(sample.data(), 0, sample.size()) != nullptr) return true;
  std::size_t controls = 0;
  for (const char ch : sample) controls += kBinaryControls[static_cast<unsigned char>(ch)];
  return controls * 32 > sample.size();
}

#if defined(__SSE2__)
// Sixteen bytes at `out` as sixteen 16-bit units.
inline void StoreWidened(__m128i bytes, char16_t* out) {
  const __m128i zero = _mm_setzero_si128();
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
}
#endif

#if QUILL_WIDE_VECTOR_KERNELS
// IsPlainAsciiText's blocks, thirty-two bytes at a time from `i`: false at the
// first block with a byte that is neither printable ASCII nor a tab or line
// end; else `i` is left where the blocks end.
QUILL_WIDE_VECTOR_TARGET bool PlainAsciiBlocksWide(std::string_view bytes, char16_t* out, std::size_t& i) {
  const __m256i below_blank = _mm256_set1_epi8(0x1F);
  const __m256i del = _mm256_set1_epi8(0x7F);
  const __m256i tab = _mm256_set1_epi8(0x09), line_feed = _mm256_set1_epi8(0x0A), carriage = _mm256_set1_epi8(0x0D);
  for (; i + 32 <= bytes.size(); i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes.data() + i));
    const __m256i printable = _mm256_and_si256(_mm256_cmpgt_epi8(v, below_blank), _mm256_cmpgt_epi8(del, v));
    const __m256i line = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, tab), _mm256_cmpeq_epi8(v, line_feed)),
                                         _mm256_cmpeq_epi8(v, carriage));
    if (_mm256_movemask_epi8(_mm256_or_si256(printable, line)) != -1) return false;
    if (out != nullptr) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_cvtepu8_epi16(_mm256_castsi256_si128(v)));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i + 16),
                          _mm256_cvtepu8_epi16(_mm256_extracti128_si256(v, 1)));
    }
  }
  return true;
}
#endif

// Whether every byte is printable ASCII, a tab or a line end: what most
// corpus files hold, and what every other test below would call ASCII
// text one by one (no mark, no UTF-16 byte, no control, nothing above 0x7E).
// With `out`, each byte is also widened to a UTF-16 unit there as it is
// looked at (what is written before a refusal is of no use).
bool IsPlainAsciiText(std::string_view bytes, char16_t* out = nullptr) {
  std::size_t i = 0;
#if QUILL_WIDE_VECTOR_KERNELS
  if (WideVectorsInUse() && !PlainAsciiBlocksWide(bytes, out, i)) return false;
#endif
#if defined(__SSE2__)
  const __m128i below_blank = _mm_set1_epi8(0x1F);
  const __m128i del = _mm_set1_epi8(0x7F);
  const auto equal = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  for (; i + 16 <= bytes.size(); i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
    // Signed: bytes above 0x7F are negative, so they fail the first test.
    const __m128i printable = _mm_and_si128(_mm_cmpgt_epi8(v, below_blank), _mm_cmplt_epi8(v, del));
    const __m128i line = _mm_or_si128(_mm_or_si128(equal(v, 0x09), equal(v, 0x0A)), equal(v, 0x0D));
    if (_mm_movemask_epi8(_mm_or_si128(printable, line)) != 0xFFFF) return false;
    if (out != nullptr) StoreWidened(v, out + i);
  }
#endif
  for (; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if ((c < 0x20 || c > 0x7E) && c != 0x09 && c != 0x0A && c != 0x0D) return false;
    if (out != nullptr) out[i] = c;
  }
  return true;
}

// The first byte at or after `from` that is not ASCII (the size when none is).
std::size_t AsciiRunEnd(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
#if defined(__SSE2__)
  for (; i + 16 <= bytes.size(); i += 16) {
    const int high = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i)));
    if (high != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(high)));
  }
#endif
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view s, std::size_t at) {
  const auto step = detail::DecodeUtf8Step(reinterpret_cast<const unsigned char*>(s.data()) + at, s.size() - at);
  return step.valid ? step.length : 0;
}

TextKind KindOfText(std::string_view bytes) {
  std::size_t mark = 0;
  if (const TEncoding* marked = TEncoding::DetectFromPreamble(bytes, mark)) {
    if (marked == TEncoding::Unicode()) return {TextKind::utf16, mark, 0};
    if (marked == TEncoding::BigEndianUnicode()) return {TextKind::utf16_big_endian, mark, 0};
    Utf8Tally tally;
    tally.Count(bytes, mark, bytes.size());
    return {TextKind::utf8, mark, tally.invalid};
  }
  if (IsPlainAsciiText(bytes)) return {TextKind::ascii, 0, 0};
  const std::size_t sample = std::min(bytes.size(), kSample) & ~std::size_t{1};
  const TFileContentsSet kind = FileBufferType(bytes.data(), true, static_cast<std::int64_t>(sample));
  if (kind.Contains(fc_16_bit_reversed)) return {TextKind::utf16_big_endian, 0, 0};
  // Without a mark, the zero high bytes of the Latin characters tell the byte
  // order (and betray UTF-16 that the statistics missed): zeros at even
  // offsets are big-endian.
  std::size_t zero_even = 0, zero_odd = 0;
  if (std::memchr(bytes.data(), 0, sample) != nullptr)
    for (std::size_t i = 0; i + 1 < sample; i += 2) {
      zero_even += static_cast<std::size_t>(bytes[i] == 0);
      zero_odd += static_cast<std::size_t>(bytes[i + 1] == 0);
    }
  const bool big_endian_zeros = zero_even > zero_odd;
  if (kind.Contains(fc_16_bit)) return {big_endian_zeros ? TextKind::utf16_big_endian : TextKind::utf16, 0, 0};
  const std::size_t zeros = zero_even + zero_odd;
  if (zeros * 8 > sample && std::max(zero_even, zero_odd) * 10 >= zeros * 9)
    return {big_endian_zeros ? TextKind::utf16_big_endian : TextKind::utf16, 0, 0};
  if (LooksBinary(bytes.substr(0, std::min(bytes.size(), kSample)))) return {TextKind::binary, 0, 0};

  Utf8Tally tally;
  tally.Count(bytes, 0, bytes.size());
  return tally.Verdict();
}

// The ASCII between the sequences is passed over a block at a time.
std::size_t Utf8Tally::Count(std::string_view bytes, std::size_t from, std::size_t to) {
  std::size_t i = from;
  to = std::min(to, bytes.size());
  // The ASCII runs are looked through only as far as `to`: a caller that
  // lets go of a large text's pages behind the count must get the count
  // back at each stretch's end, not at the end of the text.
  const std::string_view stretch = bytes.substr(0, to);
  while ((i = AsciiRunEnd(stretch, i)) < to) {
    const std::size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) {
      ++invalid;
      ++i;
    } else {
      ++well_formed;
      i += length;
    }
  }
  return std::max(i, to);
}

TextKind Utf8Tally::Verdict() const {
  if (well_formed == 0 && invalid == 0) return {TextKind::ascii, 0, 0};
  // 8-bit text almost never forms a well-formed sequence by chance; UTF-8
  // text with a damaged byte here and there is still UTF-8.
  if (well_formed > 0 && invalid <= well_formed) return {TextKind::utf8, 0, invalid};
  return {TextKind::eight_bit, 0, 0};
}

UnicodeString DecodeText(std::string_view bytes, const TextKind& kind) {
  switch (kind.encoding) {
    case TextKind::utf16: return TEncoding::Unicode()->GetString(bytes.substr(kind.mark));
    case TextKind::utf16_big_endian: return TEncoding::BigEndianUnicode()->GetString(bytes.substr(kind.mark));
    case TextKind::utf8: return TEncoding::UTF8()->GetString(bytes.substr(kind.mark));
    case TextKind::ascii: {
      UnicodeString text(bytes.size(), u'\0');
      WidenedAscii(bytes, text.data());
      return text;
    }
    case TextKind::eight_bit:
    case TextKind::binary: break;
  }
  return TEncoding::Default()->GetString(bytes);
}

bool WidenedPlainAscii(std::string_view bytes, char16_t* out) { return IsPlainAsciiText(bytes, out); }

bool WidenedAscii(std::string_view bytes, char16_t* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t i = 0;
  unsigned any = 0;
#if defined(__SSE2__)
  __m128i seen = _mm_setzero_si128();
  for (; i + 16 <= bytes.size(); i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    seen = _mm_or_si128(seen, v);
    StoreWidened(v, out + i);
  }
  any = static_cast<unsigned>(_mm_movemask_epi8(seen));
#endif
  for (; i < bytes.size(); ++i) {
    any |= in[i] & 0x80u;
    out[i] = in[i];
  }
  return any == 0;
}

std::string TextKindName(const TextKind& kind) {
  switch (kind.encoding) {
    case TextKind::utf16: return "UTF-16LE";
    case TextKind::utf16_big_endian: return "UTF-16BE";
    case TextKind::utf8:
      return kind.invalid_utf8 == 0 ? "UTF-8" : "UTF-8 (" + std::to_string(kind.invalid_utf8) + " invalid bytes)";
    case TextKind::ascii: return "ASCII";
    case TextKind::eight_bit: return "8-bit";
    case TextKind::binary: return "binary";
  }
  return "8-bit";
}

}  // namespace quill::jobs
