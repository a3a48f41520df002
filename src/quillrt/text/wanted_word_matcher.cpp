#include "quillrt/text/wanted_word_matcher.h"

#include <algorithm>
#include <array>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "quillrt/text/wanted_word_attempt.h"
#include "quillrt/text/wanted_word_statistics.h"

namespace quill {

namespace {

using wanted_word::Attempt;
using wanted_word::HasClass;
using wanted_word::Pattern;
using wanted_word::RunningStatistics;
using wanted_word::SegmentEndsMarked;

// A cheap test passed by every character that the first pattern character can
// match (and by a few more): characters equal to one of three values, or whose
// class has one of some bits. When the pattern starts with two plain
// characters, the character after must equal one of the second one's three
// forms (or be markup, which the attempt steps over). The block scan also applies
// the attempt's cheap refusals: markup where a hit may not start, and a word
// character before a left-bounded hit. The attempt decides.
struct FirstCharFilter {
  char16_t equal[3] = {0, 0, 0};
  TClassWord any_class = 0;
  bool every_char = false;
  bool second_char = false;
  char16_t second_equal[3] = {0, 0, 0};
  bool left_bounded = false;
  bool may_start_on_markup = false;
};

bool IsPlainPatternChar(char16_t c) {
  return c != wanted_word::kSpace && c != pattern_tag_open && c != pattern_tag_close &&
         (c < pattern_any_word || c > pattern_any_letter);
}

FirstCharFilter MakeFilter(const Pattern& pattern) {
  FirstCharFilter filter;
  const char16_t first = pattern.lower[0];
  filter.equal[0] = filter.equal[1] = filter.equal[2] = first;
  filter.left_bounded = pattern.left_bounded;
  filter.may_start_on_markup = pattern.StartsInTag();
  const bool space_follows = pattern.length > 1 && pattern.lower[1] == wanted_word::kSpace;
  const TClassWord matches_nothing = space_follows ? class_separator_or_punct : 0;
  switch (first) {
    case pattern_digit_run:
      filter.any_class = C1_DIGIT;
      break;
    case pattern_any_char:
      filter.any_class = wanted_word::kLetterDigitOrPunct | matches_nothing;
      break;
    case pattern_any_letter:
      filter.any_class = C1_ALPHA | matches_nothing;
      break;
    case pattern_star:
    case pattern_any_word:
      filter.every_char = true;
      break;
    default:
      if (!pattern.case_sensitive) {
        filter.equal[1] = pattern.upper[0];
        filter.equal[2] = pattern.title[0];
      }
      if (IsPlainPatternChar(first) && pattern.length > 1 && IsPlainPatternChar(pattern.lower[1])) {
        filter.second_char = true;
        filter.second_equal[0] = filter.second_equal[1] = filter.second_equal[2] = pattern.lower[1];
        if (!pattern.case_sensitive) {
          filter.second_equal[1] = pattern.upper[1];
          filter.second_equal[2] = pattern.title[1];
        }
      }
      break;
  }
  return filter;
}

#if defined(__SSE2__)
inline __m128i LoadEight(const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i LoadEight(const unsigned char* p) {
  return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
}
inline __m128i LoadEight(const TClassWord* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
// Bits set in a lane mask. A table, since the baseline instruction set has no
// population count instruction and the library call costs more than the scan.
inline constexpr auto kBitsIn = [] {
  std::array<std::uint8_t, 256> bits{};
  for (unsigned m = 0; m < 256; ++m) bits[m] = static_cast<std::uint8_t>(std::popcount(m));
  return bits;
}();

// One bit per 16-bit lane that is all ones.
inline unsigned LaneBits(__m128i v) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(v, _mm_setzero_si128())));
}
#endif

// The outer scan: statistics for every character, and an attempt at every
// character that passes the first-character filter.
template <class Unit>
class Scan {
 public:
  Scan(const Unit* text, const TClassWord* classes, std::int32_t limit, const FirstCharFilter& filter,
       Attempt<Unit>& attempt, RunningStatistics& stats)
      : text_(text), classes_(classes), limit_(limit), filter_(filter), attempt_(attempt), stats_(stats) {}

  // Index of the first hit, or -1.
  std::int32_t Run() {
    std::int32_t i = 0;
#if defined(__SSE2__)
    i = RunBlocks();
    if (i < 0) return found_;
#endif
    for (; i < limit_; ++i) {
      if (Step(i)) return i;
    }
    return -1;
  }

 private:
  // One character the careful way.
  bool Step(std::int32_t i) {
    const TClassWord cls = classes_[i];
    if (IsSegmentMarker(cls)) {
      stats_.Marker(cls);
    } else if ((cls & class_separator) != 0 && !(i + 1 < limit_ && IsSeparatorClass(classes_[i + 1]))) {
      stats_.AddWords(1);
    }
    return MayStart(i) && attempt_.MatchAt(i);
  }

  bool MayStart(std::int32_t i) const {
    const char16_t c = static_cast<char16_t>(text_[i]);
    return filter_.every_char || c == filter_.equal[0] || c == filter_.equal[1] || c == filter_.equal[2] ||
           HasClass(classes_[i], filter_.any_class);
  }

#if defined(__SSE2__)
  // Eight characters at a time while the class words and characters just
  // before and after the block can be read. Blocks holding a segment marker go
  // the careful way. Returns where the careful scan goes on, or -1 with found_
  // set when a hit was found.
  std::int32_t RunBlocks() {
    if (limit_ < 10) return 0;
    if (Step(0)) {
      found_ = 0;
      return -1;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_cmpeq_epi16(zero, zero);
    const __m128i separator = _mm_set1_epi16(static_cast<short>(class_separator));
    const __m128i word_char = _mm_set1_epi16(static_cast<short>(class_word_char));
    const __m128i markup_bits = _mm_set1_epi16(static_cast<short>(class_markup | class_segment_marker));
    const __m128i markup = _mm_set1_epi16(static_cast<short>(class_markup));
    const __m128i any_class = _mm_set1_epi16(static_cast<short>(filter_.any_class));
    const __m128i equal0 = _mm_set1_epi16(static_cast<short>(filter_.equal[0]));
    const __m128i equal1 = _mm_set1_epi16(static_cast<short>(filter_.equal[1]));
    const __m128i equal2 = _mm_set1_epi16(static_cast<short>(filter_.equal[2]));
    const __m128i second0 = _mm_set1_epi16(static_cast<short>(filter_.second_equal[0]));
    const __m128i second1 = _mm_set1_epi16(static_cast<short>(filter_.second_equal[1]));
    const __m128i second2 = _mm_set1_epi16(static_cast<short>(filter_.second_equal[2]));
    const auto is_markup = [&](__m128i cls) { return _mm_cmpeq_epi16(_mm_and_si128(cls, markup_bits), markup); };

    std::int32_t i = 1;
    while (i + 9 <= limit_) {
      const __m128i cls = LoadEight(classes_ + i);
      if ((_mm_movemask_epi8(cls) & 0xAAAA) != 0) {
        for (const std::int32_t block_end = i + 8; i < block_end; ++i) {
          if (Step(i)) {
            found_ = i;
            return -1;
          }
        }
        continue;
      }
      // A word ends at a separator followed by a non-separator (markers are none).
      const __m128i next = LoadEight(classes_ + i + 1);
      const __m128i not_separator = _mm_cmpeq_epi16(_mm_and_si128(cls, separator), zero);
      const __m128i next_not_separator =
          _mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(next, separator), zero), _mm_srai_epi16(next, 15));
      const unsigned word_ends = LaneBits(_mm_andnot_si128(not_separator, next_not_separator));

      unsigned candidates = 0xFF;
      if (!filter_.every_char) {
        const __m128i text = LoadEight(text_ + i);
        __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(text, equal0), _mm_cmpeq_epi16(text, equal1)),
                                    _mm_cmpeq_epi16(text, equal2));
        if (filter_.any_class != 0) {
          hits = _mm_or_si128(hits, _mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(cls, any_class), zero), ones));
        }
        if (filter_.second_char) {
          const __m128i after = LoadEight(text_ + i + 1);
          const __m128i second = _mm_or_si128(
              _mm_or_si128(_mm_cmpeq_epi16(after, second0), _mm_cmpeq_epi16(after, second1)),
              _mm_or_si128(_mm_cmpeq_epi16(after, second2), is_markup(next)));
          hits = _mm_and_si128(hits, second);
        }
        candidates = LaneBits(hits);
      }
      if (candidates != 0 && !filter_.may_start_on_markup) {
        candidates &= ~LaneBits(is_markup(cls));
      }
      if (candidates != 0 && filter_.left_bounded) {
        // Refused after a word character, unless that is markup or a marker.
        const __m128i before = LoadEight(classes_ + i - 1);
        const __m128i free_before = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(before, word_char), zero),
                                                              _mm_srai_epi16(before, 15)),
                                                 is_markup(before));
        candidates &= LaneBits(free_before);
      }
      unsigned counted = 0;
      while (candidates != 0) {
        const int b = std::countr_zero(candidates);
        const unsigned up_to = (2u << b) - 1;
        stats_.AddWords(kBitsIn[word_ends & up_to & ~counted]);
        counted = up_to;
        if (attempt_.MatchAt(i + b)) {
          found_ = i + b;
          return -1;
        }
        candidates &= candidates - 1;
      }
      stats_.AddWords(kBitsIn[word_ends & ~counted]);
      i += 8;
    }
    return i;
  }
#endif

  const Unit* text_;
  const TClassWord* classes_;
  std::int32_t limit_;
  const FirstCharFilter& filter_;
  Attempt<Unit>& attempt_;
  RunningStatistics& stats_;
  std::int32_t found_ = -1;
};

// The search over a typed buffer; returns the hit's index from start or -1.
template <class Unit>
std::int32_t FindWanted(const Unit* start, std::int32_t count, const TClassWord* classes_at_start,
                        const TClassWord* classes_first, const TClassWord* classes_end, const UnicodeString& upper_copy,
                        const UnicodeString& lower_copy, const UnicodeString& title_copy,
                        std::uint16_t pattern_length, bool case_sensitive, bool left_bounded, bool right_bounded,
                        bool skip_punctuation, std::uint16_t& hit_characters, std::uint16_t& exact_hit_len,
                        TSearchStatsRec& stats, bool& in_heading, SegmentEndsMarked marked) {
  std::size_t length = std::min<std::size_t>(pattern_length, lower_copy.size());
  if (!case_sensitive) length = std::min({length, upper_copy.size(), title_copy.size()});
  if (length == 0 || start == nullptr || classes_at_start == nullptr) return -1;

  // Never read past the character count or the class array's last character
  // word (the end sentinel is the second word after it).
  std::int32_t limit = std::max(count, 0);
  if (classes_end != nullptr) {
    const std::ptrdiff_t words = classes_end - classes_at_start - 1;
    limit = static_cast<std::int32_t>(std::clamp<std::ptrdiff_t>(words, 0, limit));
  }
  const bool has_class_before = classes_first != nullptr && classes_first < classes_at_start;

  Pattern pattern;
  pattern.lower = lower_copy.data();
  pattern.upper = upper_copy.data();
  pattern.title = title_copy.data();
  pattern.length = static_cast<std::int32_t>(length);
  pattern.case_sensitive = case_sensitive;
  pattern.left_bounded = left_bounded;
  pattern.right_bounded = right_bounded;
  pattern.space_group = skip_punctuation ? class_separator_or_punct : class_separator;
  pattern.plain = std::all_of(pattern.lower, pattern.lower + length, IsPlainPatternChar);
  const FirstCharFilter filter = MakeFilter(pattern);

  RunningStatistics running(stats, in_heading, marked);
  Attempt<Unit> attempt(start, classes_at_start, limit, has_class_before, pattern);
  const std::int32_t found = Scan<Unit>(start, classes_at_start, limit, filter, attempt, running).Run();
  if (found >= 0) {
    hit_characters = static_cast<std::uint16_t>(attempt.hit_length());
    exact_hit_len = static_cast<std::uint16_t>(attempt.exact_length());
  }
  running.WriteBack(stats, in_heading);
  return found;
}

}  // namespace

const WideChar* NewFindWantedInBuffer(const WideChar* start, std::int32_t count, const TClassWord* classes_at_start,
                                      const TClassWord* classes_first, const TClassWord* classes_end,
                                      const UnicodeString& upper_copy, const UnicodeString& lower_copy,
                                      const UnicodeString& title_copy, std::uint16_t pattern_length,
                                      bool case_sensitive, bool left_bounded, bool right_bounded,
                                      bool skip_punctuation, bool /*skip_tags*/, std::uint16_t& hit_characters,
                                      std::uint16_t& exact_hit_len, TSearchStatsRec& stats, bool& in_heading,
                                      bool sentence_ends_marked, bool paragraph_ends_marked, bool heading_ends_marked,
                                      bool section_ends_marked) {
  const std::int32_t found = FindWanted(
      start, count, classes_at_start, classes_first, classes_end, upper_copy, lower_copy, title_copy, pattern_length,
      case_sensitive, left_bounded, right_bounded, skip_punctuation, hit_characters, exact_hit_len, stats, in_heading,
      {sentence_ends_marked, paragraph_ends_marked, heading_ends_marked, section_ends_marked});
  return found < 0 ? nullptr : start + found;
}

const char* NewFindWantedInBuffer(const char* start, std::int32_t count, const TClassWord* classes_at_start,
                                  const TClassWord* classes_first, const TClassWord* classes_end,
                                  const UnicodeString& upper_copy, const UnicodeString& lower_copy,
                                  const UnicodeString& title_copy, std::uint16_t pattern_length, bool case_sensitive,
                                  bool left_bounded, bool right_bounded, bool skip_punctuation, bool /*skip_tags*/,
                                  std::uint16_t& hit_characters, std::uint16_t& exact_hit_len, TSearchStatsRec& stats,
                                  bool& in_heading, bool sentence_ends_marked, bool paragraph_ends_marked,
                                  bool heading_ends_marked, bool section_ends_marked) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(start);
  const std::int32_t found = FindWanted(
      bytes, count, classes_at_start, classes_first, classes_end, upper_copy, lower_copy, title_copy, pattern_length,
      case_sensitive, left_bounded, right_bounded, skip_punctuation, hit_characters, exact_hit_len, stats, in_heading,
      {sentence_ends_marked, paragraph_ends_marked, heading_ends_marked, section_ends_marked});
  return found < 0 ? nullptr : start + found;
}

const void* NewFindWantedInBuffer(const void* start, std::int32_t count, const TClassWord* classes_at_start,
                                  const TClassWord* classes_first, const TClassWord* classes_end,
                                  const UnicodeString& upper_copy, const UnicodeString& lower_copy,
                                  const UnicodeString& title_copy, std::uint16_t pattern_length, bool case_sensitive,
                                  bool left_bounded, bool right_bounded, bool in_unicode, bool skip_punctuation,
                                  bool skip_tags, std::uint16_t& hit_characters, std::uint16_t& exact_hit_len,
                                  TSearchStatsRec& stats, bool& in_heading, bool sentence_ends_marked,
                                  bool paragraph_ends_marked, bool heading_ends_marked, bool section_ends_marked) {
  if (in_unicode) {
    return NewFindWantedInBuffer(static_cast<const WideChar*>(start), count, classes_at_start, classes_first,
                                 classes_end, upper_copy, lower_copy, title_copy, pattern_length, case_sensitive,
                                 left_bounded, right_bounded, skip_punctuation, skip_tags, hit_characters,
                                 exact_hit_len, stats, in_heading, sentence_ends_marked, paragraph_ends_marked,
                                 heading_ends_marked, section_ends_marked);
  }
  return NewFindWantedInBuffer(static_cast<const char*>(start), count, classes_at_start, classes_first, classes_end,
                               upper_copy, lower_copy, title_copy, pattern_length, case_sensitive, left_bounded,
                               right_bounded, skip_punctuation, skip_tags, hit_characters, exact_hit_len, stats,
                               in_heading, sentence_ends_marked, paragraph_ends_marked, heading_ends_marked,
                               section_ends_marked);
}

}  // namespace quill
