#include "quillrt/text/wanted_word_matcher.h"

#include <algorithm>
#include <array>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "quillrt/platform/vector_width.h"
#if QUILL_WIDE_VECTOR_KERNELS
#include <immintrin.h>
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
// forms (or be markup, which the attempt steps over); with three, the one
// after that the third's (or either of the two be markup). The block scan also applies
// the attempt's cheap refusals: markup where a hit may not start, and a word
// character before a left-bounded hit. The attempt decides.
struct FirstCharFilter {
  char16_t equal[3] = {0, 0, 0};
  TClassWord any_class = 0;
  bool every_char = false;
  bool second_char = false;
  char16_t second_equal[3] = {0, 0, 0};
  bool third_char = false;
  char16_t third_equal[3] = {0, 0, 0};
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
        if (pattern.length > 2 && IsPlainPatternChar(pattern.lower[2])) {
          filter.third_char = true;
          filter.third_equal[0] = filter.third_equal[1] = filter.third_equal[2] = pattern.lower[2];
          if (!pattern.case_sensitive) {
            filter.third_equal[1] = pattern.upper[2];
            filter.third_equal[2] = pattern.title[2];
          }
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

#if QUILL_WIDE_VECTOR_KERNELS
QUILL_WIDE_VECTOR_TARGET inline __m256i LoadSixteen(const char16_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
QUILL_WIDE_VECTOR_TARGET inline __m256i LoadSixteen(const unsigned char* p) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
QUILL_WIDE_VECTOR_TARGET inline __m256i LoadSixteen(const TClassWord* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
// One bit per 16-bit lane that is all ones, in lane order.
QUILL_WIDE_VECTOR_TARGET inline unsigned WideLaneBits(__m256i v) {
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_packs_epi16(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1))));
}
// All ones in the lanes whose class has one of `bits`.
QUILL_WIDE_VECTOR_TARGET inline __m256i HasAnyOf(__m256i classes, __m256i bits) {
  return _mm256_xor_si256(_mm256_cmpeq_epi16(_mm256_and_si256(classes, bits), _mm256_setzero_si256()),
                          _mm256_cmpeq_epi16(classes, classes));
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
    i = RunBlocks(WideVectorsInUse());
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
  // Blocks of characters while the class words and characters just before and
  // two after a block can be read: sixteen at a time when `wide`, then eight.
  // Blocks holding a segment marker go the careful way. Returns where the
  // careful scan goes on, or -1 with found_ set when a hit was found.
  std::int32_t RunBlocks(bool wide) {
    if (limit_ < 10) return 0;
    if (Step(0)) {
      found_ = 0;
      return -1;
    }
    std::int32_t i = 1;
#if QUILL_WIDE_VECTOR_KERNELS
    if (wide) i = RunWideBlocks(i);
    if (i < 0) return -1;
#else
    (void)wide;
#endif
    return RunNarrowBlocks(i);
  }

  // The careful way through `count` characters from `i`; true on a hit (in found_).
  bool StepThrough(std::int32_t i, std::int32_t count) {
    for (const std::int32_t end = i + count; i < end; ++i) {
      if (Step(i)) {
        found_ = i;
        return true;
      }
    }
    return false;
  }

  // Tries the candidates of the block at `i` (a bit each) in order, adding
  // the words that end before each one first and the rest after; true on a
  // hit (in found_).
  bool TryCandidates(std::int32_t i, unsigned candidates, unsigned word_ends) {
    unsigned counted = 0;
    while (candidates != 0) {
      const int b = std::countr_zero(candidates);
      const unsigned up_to = (2u << b) - 1;
      stats_.AddWords(BitsIn16(word_ends & up_to & ~counted));
      counted = up_to;
      if (attempt_.MatchAt(i + b)) {
        found_ = i + b;
        return true;
      }
      candidates &= candidates - 1;
    }
    stats_.AddWords(BitsIn16(word_ends & ~counted));
    return false;
  }

  static std::int32_t BitsIn16(unsigned mask) { return kBitsIn[mask & 0xFF] + kBitsIn[(mask >> 8) & 0xFF]; }

#if QUILL_WIDE_VECTOR_KERNELS
  // Sixteen characters a block, as RunNarrowBlocks does eight.
  QUILL_WIDE_VECTOR_TARGET std::int32_t RunWideBlocks(std::int32_t i) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i separator = _mm256_set1_epi16(static_cast<short>(class_separator));
    const __m256i word_char = _mm256_set1_epi16(static_cast<short>(class_word_char));
    const __m256i markup_bits = _mm256_set1_epi16(static_cast<short>(class_markup | class_segment_marker));
    const __m256i markup = _mm256_set1_epi16(static_cast<short>(class_markup));
    const __m256i any_class = _mm256_set1_epi16(static_cast<short>(filter_.any_class));
    const __m256i equal0 = _mm256_set1_epi16(static_cast<short>(filter_.equal[0]));
    const __m256i equal1 = _mm256_set1_epi16(static_cast<short>(filter_.equal[1]));
    const __m256i equal2 = _mm256_set1_epi16(static_cast<short>(filter_.equal[2]));
    const __m256i second0 = _mm256_set1_epi16(static_cast<short>(filter_.second_equal[0]));
    const __m256i second1 = _mm256_set1_epi16(static_cast<short>(filter_.second_equal[1]));
    const __m256i second2 = _mm256_set1_epi16(static_cast<short>(filter_.second_equal[2]));
    const __m256i third0 = _mm256_set1_epi16(static_cast<short>(filter_.third_equal[0]));
    const __m256i third1 = _mm256_set1_epi16(static_cast<short>(filter_.third_equal[1]));
    const __m256i third2 = _mm256_set1_epi16(static_cast<short>(filter_.third_equal[2]));

    while (i + 18 <= limit_) {
      const __m256i cls = LoadSixteen(classes_ + i);
      if ((static_cast<unsigned>(_mm256_movemask_epi8(cls)) & 0xAAAAAAAAu) != 0) {
        if (StepThrough(i, 16)) return -1;
        i += 16;
        continue;
      }
      const __m256i next = LoadSixteen(classes_ + i + 1);
      const __m256i is_separator = HasAnyOf(cls, separator);
      const __m256i next_not_separator =
          _mm256_or_si256(_mm256_cmpeq_epi16(_mm256_and_si256(next, separator), zero), _mm256_srai_epi16(next, 15));
      const unsigned word_ends = WideLaneBits(_mm256_and_si256(is_separator, next_not_separator));

      unsigned candidates = 0xFFFF;
      if (!filter_.every_char) {
        const __m256i text = LoadSixteen(text_ + i);
        __m256i hits = _mm256_or_si256(
            _mm256_or_si256(_mm256_cmpeq_epi16(text, equal0), _mm256_cmpeq_epi16(text, equal1)),
            _mm256_cmpeq_epi16(text, equal2));
        if (filter_.any_class != 0) hits = _mm256_or_si256(hits, HasAnyOf(cls, any_class));
        if (filter_.second_char) {
          const __m256i after = LoadSixteen(text_ + i + 1);
          const __m256i next_markup = _mm256_cmpeq_epi16(_mm256_and_si256(next, markup_bits), markup);
          const __m256i second = _mm256_or_si256(
              _mm256_or_si256(_mm256_cmpeq_epi16(after, second0), _mm256_cmpeq_epi16(after, second1)),
              _mm256_or_si256(_mm256_cmpeq_epi16(after, second2), next_markup));
          hits = _mm256_and_si256(hits, second);
          if (filter_.third_char) {
            const __m256i two_on = LoadSixteen(text_ + i + 2);
            const __m256i two_on_markup =
                _mm256_cmpeq_epi16(_mm256_and_si256(LoadSixteen(classes_ + i + 2), markup_bits), markup);
            const __m256i third = _mm256_or_si256(
                _mm256_or_si256(_mm256_cmpeq_epi16(two_on, third0), _mm256_cmpeq_epi16(two_on, third1)),
                _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi16(two_on, third2), two_on_markup), next_markup));
            hits = _mm256_and_si256(hits, third);
          }
        }
        candidates = WideLaneBits(hits);
      }
      if (candidates != 0 && !filter_.may_start_on_markup)
        candidates &= ~WideLaneBits(_mm256_cmpeq_epi16(_mm256_and_si256(cls, markup_bits), markup));
      if (candidates != 0 && filter_.left_bounded) {
        // Refused after a word character, unless that is markup or a marker.
        const __m256i before = LoadSixteen(classes_ + i - 1);
        const __m256i free_before = _mm256_or_si256(
            _mm256_or_si256(_mm256_cmpeq_epi16(_mm256_and_si256(before, word_char), zero),
                            _mm256_srai_epi16(before, 15)),
            _mm256_cmpeq_epi16(_mm256_and_si256(before, markup_bits), markup));
        candidates &= WideLaneBits(free_before);
      }
      if (candidates == 0) {
        stats_.AddWords(_mm_popcnt_u32(word_ends));
      } else if (TryCandidates(i, candidates, word_ends)) {
        return -1;
      }
      i += 16;
    }
    return i;
  }
#endif

  // Eight characters a block.
  std::int32_t RunNarrowBlocks(std::int32_t i) {
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
    const __m128i third0 = _mm_set1_epi16(static_cast<short>(filter_.third_equal[0]));
    const __m128i third1 = _mm_set1_epi16(static_cast<short>(filter_.third_equal[1]));
    const __m128i third2 = _mm_set1_epi16(static_cast<short>(filter_.third_equal[2]));
    const auto is_markup = [&](__m128i cls) { return _mm_cmpeq_epi16(_mm_and_si128(cls, markup_bits), markup); };

    while (i + 10 <= limit_) {
      const __m128i cls = LoadEight(classes_ + i);
      if ((_mm_movemask_epi8(cls) & 0xAAAA) != 0) {
        if (StepThrough(i, 8)) return -1;
        i += 8;
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
          if (filter_.third_char) {
            const __m128i two_on = LoadEight(text_ + i + 2);
            const __m128i third = _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi16(two_on, third0), _mm_cmpeq_epi16(two_on, third1)),
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(two_on, third2), is_markup(LoadEight(classes_ + i + 2))),
                             is_markup(next)));
            hits = _mm_and_si128(hits, third);
          }
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
      if (candidates == 0) {
        stats_.AddWords(kBitsIn[word_ends]);
      } else if (TryCandidates(i, candidates, word_ends)) {
        return -1;
      }
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
