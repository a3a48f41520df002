#include "quilljobs/word_rule.h"

#include <unicode/uchar.h>  // the general-category values only

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "quillrt/platform/vector_width.h"
#if QUILL_WIDE_VECTOR_KERNELS
#include <immintrin.h>
#endif

#include "quillrt/analysis/word_boundaries.h"
#include "quillrt/language/sentence_punctuation.h"
#include "quillrt/platform/locale_info.h"
#include "quillrt/text/buffer_scanning.h"
#include "quillrt/text/class_bits.h"

namespace quill::jobs {
namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v'; }

// The tag's segment code when it is one of the sentence/paragraph/heading
// tags (<s>, </p>, <head> ...); 0 otherwise.
std::uint16_t SegmentCodeOfTag(std::u16string_view tag) {
  const bool closing = tag.size() > 1 && tag[1] == u'/';
  std::size_t i = closing ? 2 : 1;
  UnicodeString name;
  while (i < tag.size() && tag[i] != u'>' && tag[i] != u' ' && tag[i] != u'/') name.push_back(tag[i++]);
  name = Lowercase(name);
  std::uint16_t start = 0;
  if (name == u"s") start = ts_sentence_start;
  else if (name == u"p") start = ts_paragraph_start;
  else if (name == u"head" || name == u"h1" || name == u"h2" || name == u"h3") start = ts_heading_start;
  else return 0;
  return static_cast<std::uint16_t>(closing ? start + 1 : start);
}

// Marks markup <...> so that searches and counts skip it; the first character
// of a segment tag becomes that segment's marker.
void MarkAngleBracketMarkup(std::u16string_view text, std::size_t max_length, ClassifiedText& out) {
  const std::size_t n = text.size();
  const char16_t* const first = text.data();
  for (std::size_t i = 0; i < n; ++i) {
    i = static_cast<std::size_t>(FindWideChar(first + i, first + n, u'<') - first);
    if (i + 1 >= n) break;
    const char16_t next = text[i + 1];
    if (!(next == u'/' || next == u'!' || next == u'?' || IsAsciiLetter(next))) continue;
    // A tag closes on the same line within a reasonable reach.
    std::size_t end = i + 1;
    while (end < n && end - i < max_length && text[end] != u'>' && text[end] != u'<' && text[end] != u'\n') ++end;
    if (end >= n || text[end] != u'>') continue;
    for (std::size_t k = i; k <= end; ++k) out.classes[k] = class_markup;
    if (const std::uint16_t code = SegmentCodeOfTag(text.substr(i, end - i + 1)); code != 0) {
      out.classes[i] = static_cast<TClassWord>(class_segment_marker | code);
      ++out.markers[static_cast<text_segments_type>(code)];
    }
    i = end;
  }
}

// Marks the "/TAG" of every word/TAG token.
void MarkPosTags(std::u16string_view text, ClassifiedText& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsBlank(text[i]) || IsMarkupClass(out.classes[i]) || IsSegmentMarker(out.classes[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i]) && !IsMarkupClass(out.classes[i]) &&
           !IsSegmentMarker(out.classes[i]))
      ++i;
    const std::size_t slash = text.substr(start, i - start).rfind(u'/');
    if (slash == std::u16string_view::npos || slash == 0) continue;
    for (std::size_t k = start + slash; k < i; ++k) out.classes[k] = class_markup;
  }
}

bool IsRunBreakingPunctuation(char16_t c) {
  switch (CharCategory(c)) {
    case U_DASH_PUNCTUATION:
    case U_CONNECTOR_PUNCTUATION:
      return false;
    case U_START_PUNCTUATION:
    case U_END_PUNCTUATION:
    case U_INITIAL_PUNCTUATION:
    case U_FINAL_PUNCTUATION:
    case U_OTHER_PUNCTUATION:
      return c != u',' && c != u'\u060C' && c != u'\u3001' && c != u'\uFF0C';
    default:
      return false;
  }
}

}  // namespace

WordRule WordRuleOfLanguage(bool language_given, bool pos_tags) {
  WordRule rule;
  if (language_given) rule.lcid = GetUserDefaultLCID();
  rule.pos_tags = pos_tags;
  return rule;
}

void ClassifyText(std::u16string_view text, const WordRule& rule, ClassifiedText& out) {
  FillClassArray(text.data(), text.size(), rule.lcid, out.classes);
  out.markers = {};
  MarkAngleBracketMarkup(text, rule.max_tag_length, out);
  if (rule.pos_tags) MarkPosTags(text, out);
  if (!rule.middle_characters.empty() && !text.empty())
    HandleMiddleChars(text.data(), out.classes.data(), rule.middle_characters.data(),
                      static_cast<int>(rule.middle_characters.size()), text.size(), true, false, false);
}

namespace {

// The bits set in a 16-bit mask, without the library call that
// __builtin_popcount becomes for processors without a population count.
std::size_t BitsSet16(unsigned mask) {
  mask -= (mask >> 1) & 0x5555u;
  mask = (mask & 0x3333u) + ((mask >> 2) & 0x3333u);
  mask = (mask + (mask >> 4)) & 0x0F0Fu;
  return (mask + (mask >> 8)) & 0x1Fu;
}

#if defined(__SSE2__)
// One bit per class of the sixteen at `at` that is a word character's (a
// segment marker, with its sign bit, is none).
inline unsigned WordCharMask16(const TClassWord* at) {
  const __m128i word_bits = _mm_set1_epi16(static_cast<short>(class_word_char));
  const __m128i zero = _mm_setzero_si128();
  const auto not_word = [&](const TClassWord* p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return _mm_or_si128(_mm_cmplt_epi16(v, zero), _mm_cmpeq_epi16(_mm_and_si128(v, word_bits), zero));
  };
  const auto others = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(not_word(at), not_word(at + 8))));
  return ~others & 0xFFFFu;
}

// The words that the edges of a block from `base` end (a bit each where
// characters turn from non-word to word or back, alternately a word's start
// and its end), with the word under way carried in `inside` and `start`.
inline void TakeEdges(std::uint32_t edges, std::size_t base, bool& inside, std::size_t& start,
                      std::vector<WordSpan>& words) {
  for (; edges != 0; edges &= edges - 1) {
    const std::size_t at = base + static_cast<std::size_t>(__builtin_ctz(edges));
    if (inside)
      words.push_back({start, at});
    else
      start = at;
    inside = !inside;
  }
}

#if QUILL_WIDE_VECTOR_KERNELS
// The same for the thirty-two classes at `at`.
QUILL_WIDE_VECTOR_TARGET inline std::uint32_t WordCharMask32(const TClassWord* at) {
  const __m256i word_bits = _mm256_set1_epi16(static_cast<short>(class_word_char));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 16));
  const __m256i low_not_word =
      _mm256_or_si256(_mm256_cmpgt_epi16(zero, low), _mm256_cmpeq_epi16(_mm256_and_si256(low, word_bits), zero));
  const __m256i high_not_word =
      _mm256_or_si256(_mm256_cmpgt_epi16(zero, high), _mm256_cmpeq_epi16(_mm256_and_si256(high, word_bits), zero));
  // Packing works within each half of the register: put the quarters back in order.
  const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi16(low_not_word, high_not_word), 0xD8);
  return ~static_cast<std::uint32_t>(_mm256_movemask_epi8(packed));
}

// The words of the classes from `i`, thirty-two classes at a time, as
// FindWords does sixteen; leaves `i` where it stopped.
QUILL_WIDE_VECTOR_TARGET void FindWordsWide(const TClassWord* classes, std::size_t length, std::size_t& i,
                                            bool& inside, std::size_t& start, std::vector<WordSpan>& words) {
  for (; i + 32 <= length; i += 32) {
    const std::uint32_t word_chars = WordCharMask32(classes + i);
    TakeEdges(word_chars ^ ((word_chars << 1) | (inside ? 1u : 0u)), i, inside, start, words);
  }
}

// The word starts of the classes from `i`, thirty-two at a time.
QUILL_WIDE_VECTOR_TARGET std::size_t CountWordStartsWide(const TClassWord* classes, std::size_t to, std::size_t& i,
                                                         bool& inside) {
  std::size_t starts = 0;
  for (; i + 32 <= to; i += 32) {
    const std::uint32_t words = WordCharMask32(classes + i);
    starts += static_cast<std::size_t>(_mm_popcnt_u32(words & ~((words << 1) | (inside ? 1u : 0u))));
    inside = (words >> 31) != 0;
  }
  return starts;
}
#endif
#endif

}  // namespace

void FindWords(const ClassifiedText& classified, std::size_t length, std::vector<WordSpan>& words) {
  words.clear();
  const TClassWord* classes = classified.classes.data();
  bool inside = false;  // whether the character before is a word character
  std::size_t start = 0;
  std::size_t i = 0;
#if QUILL_WIDE_VECTOR_KERNELS
  if (WideVectorsInUse()) FindWordsWide(classes, length, i, inside, start, words);
#endif
#if defined(__SSE2__)
  // Sixteen classes at a time: the edges (where characters turn from non-word
  // to word or back) are the bits of the word mask that differ from the bit
  // before; they alternate between a word's start and its end.
  for (; i + 16 <= length; i += 16) {
    const unsigned word_chars = WordCharMask16(classes + i);
    TakeEdges((word_chars ^ ((word_chars << 1) | (inside ? 1u : 0u))) & 0xFFFFu, i, inside, start, words);
  }
#endif
  for (; i < length; ++i) {
    const bool word = IsWordClass(classes[i]);
    if (word && !inside) start = i;
    if (!word && inside) words.push_back({start, i});
    inside = word;
  }
  if (inside) words.push_back({start, length});
}

std::size_t CountWordStarts(const ClassifiedText& classified, std::size_t from, std::size_t to) {
  const TClassWord* classes = classified.classes.data();
  std::size_t starts = 0;
  bool inside = from > 0 && IsWordClass(classes[from - 1]);
  std::size_t i = from;
#if QUILL_WIDE_VECTOR_KERNELS
  if (WideVectorsInUse()) starts += CountWordStartsWide(classes, to, i, inside);
#endif
#if defined(__SSE2__)
  // The word starts among sixteen classes: the bits set where the bit before
  // is not.
  for (; i + 16 <= to; i += 16) {
    const unsigned words = WordCharMask16(classes + i);
    const unsigned before = (words << 1) | (inside ? 1u : 0u);
    starts += BitsSet16(words & ~before);
    inside = (words >> 15) != 0;
  }
#endif
  for (; i < to; ++i) {
    const bool word = IsWordClass(classes[i]);
    starts += static_cast<std::size_t>(word && !inside);
    inside = word;
  }
  return starts;
}

std::size_t StartOfWordBefore(const ClassifiedText& classified, std::size_t before, std::size_t k) {
  const TClassWord* classes = classified.classes.data();
  for (std::size_t i = before; k > 0 && i-- > 0;) {
    const bool starts = IsWordClass(classes[i]) && (i == 0 || !IsWordClass(classes[i - 1]));
    if (starts && --k == 0) return i;
  }
  return 0;
}

std::u16string_view PosTagAt(std::u16string_view text, const ClassifiedText& classified, std::size_t word_end) {
  std::size_t at = word_end;
  // Punctuation of the token may stand between the word and its tag ("Mr./np").
  while (at < text.size() && !IsBlank(text[at]) && !IsMarkupClass(classified.classes[at]) &&
         !IsWordClass(classified.classes[at]))
    ++at;
  if (at >= text.size() || text[at] != u'/' || !IsMarkupClass(classified.classes[at])) return {};
  std::size_t end = at + 1;
  while (end < text.size() && IsMarkupClass(classified.classes[end]) && !IsBlank(text[end])) ++end;
  return text.substr(at + 1, end - at - 1);
}

bool BreaksRunOfWords(std::u16string_view text, const ClassifiedText& classified, std::size_t gap_start,
                      std::size_t gap_end) {
  bool terminator = false;
  bool first = true;
  for (std::size_t i = gap_start; i < gap_end; ++i) {
    const TClassWord c = classified.classes[i];
    if (IsSegmentMarker(c)) {
      const auto code = static_cast<std::uint16_t>(c & class_segment_code_mask);
      if (code == ts_sentence_start || code == ts_sentence_end || code == ts_paragraph_start ||
          code == ts_paragraph_end || code == ts_heading_start || code == ts_heading_end)
        return true;
      continue;
    }
    if (IsMarkupClass(c)) continue;
    if (IsPotentialSentenceTerminator(text[i])) terminator = true;
    else if (first && IsRunBreakingPunctuation(text[i])) return true;
    first = false;
  }
  if (!terminator) return false;
  // A stop before a word in lower case is an abbreviation's, inside the sentence.
  return gap_end >= text.size() || CharCategory(text[gap_end]) != U_LOWERCASE_LETTER;
}

bool EndsSentenceBetween(std::u16string_view text, const ClassifiedText& classified, std::size_t gap_start,
                         std::size_t gap_end) {
  bool terminator = false;
  for (std::size_t i = gap_start; i < gap_end; ++i) {
    const TClassWord c = classified.classes[i];
    if (IsSegmentMarker(c)) {
      const auto code = static_cast<std::uint16_t>(c & class_segment_code_mask);
      if (code == ts_sentence_start || code == ts_sentence_end || code == ts_paragraph_start ||
          code == ts_paragraph_end || code == ts_heading_start || code == ts_heading_end)
        return true;
    } else if (!IsMarkupClass(c) && IsPotentialSentenceTerminator(text[i])) {
      terminator = true;
    }
  }
  return terminator && (gap_end >= text.size() || CharCategory(text[gap_end]) != U_LOWERCASE_LETTER);
}

}  // namespace quill::jobs
