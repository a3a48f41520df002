#pragma once
// The attempt of the wanted-word matcher as it was before its stars remembered
// the stretches they had walked in vain, kept for the comparison tests: the
// same results, in quadratic time on long tokens. Below, the original notes.
//
// Private to the wanted-word matcher: one attempt to match the whole pattern
// from a candidate character, with wildcards, star backtracking, markup
// skipping, separator collapsing and the right boundary.
//
// Positions are indexes from the scan's start. `pos` is always the last
// character consumed by the pattern, so a hit's length is pos - candidate + 1
// and markup or separators passed over are counted in it without bookkeeping.
#include <algorithm>
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/text/class_bits.h"
#include "quillrt/text/wanted_word_matcher.h"

namespace quill::testing::previous_matcher {

inline constexpr std::int32_t kMaxHitLength = 65535;
inline constexpr char16_t kSpace = 0x0020;
inline constexpr TClassWord kLetterDigitOrPunct = C1_ALPHA | C1_DIGIT | C1_PUNCT;  // 0x0114

inline bool HasClass(TClassWord c, TClassWord bits) { return !IsSegmentMarker(c) && (c & bits) != 0; }

// The pattern as the matcher reads it: the lower-case copy is walked; the other
// two are consulted for case-insensitive comparison.
struct Pattern {
  const char16_t* lower = nullptr;
  const char16_t* upper = nullptr;
  const char16_t* title = nullptr;
  std::int32_t length = 0;
  bool case_sensitive = false;
  bool left_bounded = false;
  bool right_bounded = false;
  TClassWord space_group = class_separator;  // what a pattern space swallows after it
  bool plain = false;  // no wildcard, space or tag code: characters are compared one by one

  bool StartsInTag() const { return lower[0] == pattern_tag_open; }
};

// Unit is char16_t for UTF-16 buffers and unsigned char for 8-bit ones.
template <class Unit>
class Attempt {
 public:
  // `limit` characters of `text` and `classes` may be read; `classes[-1]` too
  // when has_class_before is true.
  Attempt(const Unit* text, const TClassWord* classes, std::int32_t limit, bool has_class_before,
          const Pattern& pattern)
      : text_(text), classes_(classes), limit_(limit), has_class_before_(has_class_before), pattern_(pattern) {}

  // Tries the whole pattern from `candidate`; on success sets the lengths.
  bool MatchAt(std::int32_t candidate) {
    in_tag_ = pattern_.StartsInTag();
    if (!in_tag_ && IsMarkupClass(classes_[candidate])) return false;
    if (pattern_.left_bounded && (candidate > 0 || has_class_before_)) {
      const TClassWord before = classes_[candidate - 1];
      if (!IsMarkupClass(before) && IsWordClass(before)) return false;
    }
    return pattern_.plain ? MatchPlain(candidate) : MatchRest(candidate);
  }

  std::int32_t exact_length() const { return exact_length_; }
  std::int32_t hit_length() const { return hit_length_; }

 private:
  enum class Outcome : std::uint8_t { fail, nothing, consumed };
  enum class Star : std::uint8_t { off, end_of_word, terminator };

  char16_t CodeAt(std::int32_t i) const { return static_cast<char16_t>(text_[i]); }

  void TakeTagCode(char16_t p) {
    if (p == pattern_tag_open) {
      in_tag_ = true;
    } else if (p == pattern_tag_close) {
      in_tag_ = false;
    }
  }

  bool NextIsSpace(std::int32_t pattern_index) const {
    return pattern_index + 1 < pattern_.length && pattern_.lower[pattern_index + 1] == kSpace;
  }

  // The whole attempt for a pattern of plain characters: no backtracking, no
  // separator runs, and markup is never matched, only stepped over.
  bool MatchPlain(std::int32_t candidate) {
    end_ = static_cast<std::int32_t>(std::min<std::int64_t>(limit_, std::int64_t{candidate} + kMaxHitLength + 1));
    if (!SameChar(0, CodeAt(candidate))) return false;
    std::int32_t pos = candidate;
    for (std::int32_t k = 1; k < pattern_.length; ++k) {
      std::int32_t i = pos + 1;
      if (i < end_ && IsMarkupClass(classes_[i]) && !IsMarkupClass(classes_[pos])) {
        while (i < end_ && IsMarkupClass(classes_[i])) ++i;
      }
      if (i >= end_ || !SameChar(k, CodeAt(i))) return false;
      pos = i;
    }
    return Finish(candidate, pos);
  }

  bool SameChar(std::int32_t k, char16_t c) const {
    return c == pattern_.lower[k] || (!pattern_.case_sensitive && (c == pattern_.upper[k] || c == pattern_.title[k]));
  }

  bool MatchRest(std::int32_t candidate) {
    // Nothing is looked at beyond the longest possible hit.
    end_ = static_cast<std::int32_t>(std::min<std::int64_t>(limit_, std::int64_t{candidate} + kMaxHitLength + 1));
    k_ = 0;
    star_ = Star::off;
    can_backtrack_ = false;
    std::int32_t pos = candidate - 1;
    std::int32_t i = candidate;
    bool compare_again = true;  // the character at i is still to be compared
    char16_t p = 0;
    for (;;) {
      if (star_ == Star::off) {
        if (k_ >= pattern_.length) {
          if (pos >= candidate && Finish(candidate, pos)) return true;
          if (!Backtrack(pos)) return false;
          compare_again = false;
          continue;
        }
        p = pattern_.lower[k_];
        TakeTagCode(p);
        ++k_;
      }
      if (!compare_again) {
        i = pos + 1;
        if (i < end_ && !in_tag_ && IsMarkupClass(classes_[i]) && !IsMarkupClass(classes_[pos])) {
          while (i < end_ && IsMarkupClass(classes_[i])) ++i;
        }
        if (i >= end_) {
          if (!Backtrack(pos)) return false;
          continue;
        }
      }
      compare_again = false;

      const bool space_step = star_ == Star::off && p == kSpace;
      std::int32_t last = i;
      Outcome outcome = star_ == Star::off ? Compare(p, k_ - 1, i, last) : StarStep(i, last);
      if (outcome == Outcome::fail && space_step && !in_tag_ && HasClass(classes_[i], class_separator_or_punct)) {
        outcome = Outcome::consumed;  // a pattern space stands for any separator or punctuation
      }
      if (outcome == Outcome::fail) {
        if (!Backtrack(pos)) return false;
        continue;
      }
      if (outcome == Outcome::nothing) {
        compare_again = true;
        continue;
      }
      pos = last;
      if (space_step && HasClass(classes_[pos], pattern_.space_group)) {
        while (pos + 1 < end_ && HasClass(classes_[pos + 1], pattern_.space_group)) ++pos;
      }
      if (pos - candidate >= kMaxHitLength) return false;
    }
  }

  // Pattern character p (at pattern_index) against the character at i.
  Outcome Compare(char16_t p, std::int32_t pattern_index, std::int32_t i, std::int32_t& last) {
    const char16_t c = CodeAt(i);
    const TClassWord cls = classes_[i];
    last = i;
    if (p == c) return Outcome::consumed;
    switch (p) {
      case pattern_any_char:
      case pattern_any_letter:
        if (NextIsSpace(pattern_index) && HasClass(cls, class_separator_or_punct)) return Outcome::nothing;
        return HasClass(cls, p == pattern_any_char ? kLetterDigitOrPunct : C1_ALPHA) ? Outcome::consumed
                                                                                      : Outcome::fail;
      case pattern_digit_run:
        if (!HasClass(cls, C1_DIGIT)) return Outcome::fail;
        while (last + 1 < end_ && HasClass(classes_[last + 1], C1_DIGIT)) ++last;
        return Outcome::consumed;
      case pattern_star:
        return StartStar(pattern_index, i);
      case pattern_any_word:
        return AnyWord(i, last);
      default:
        if (!pattern_.case_sensitive && (c == pattern_.upper[pattern_index] || c == pattern_.title[pattern_index])) {
          return Outcome::consumed;
        }
        return Outcome::fail;
    }
  }

  Outcome StartStar(std::int32_t pattern_index, std::int32_t i) {
    if (pattern_index + 1 >= pattern_.length || pattern_.lower[pattern_index + 1] == kSpace) {
      // The star takes the rest of the word.
      if (HasClass(classes_[i], class_separator_or_punct)) return Outcome::nothing;
      if (!WordGoesOnAfter(i)) return Outcome::consumed;
      star_ = Star::end_of_word;
      return Outcome::consumed;
    }
    // The star takes characters up to its terminator, the pattern character after it.
    if (CodeAt(i) <= kSpace) return Outcome::fail;
    terminator_index_ = pattern_index + 1;
    k_ = terminator_index_ + 1;
    in_tag_at_star_ = in_tag_;
    star_ = Star::terminator;
    return Outcome::consumed;
  }

  bool WordGoesOnAfter(std::int32_t i) const {
    return i + 1 < end_ && !HasClass(classes_[i + 1], class_separator_or_punct);
  }

  Outcome StarStep(std::int32_t i, std::int32_t& last) {
    last = i;
    if (star_ == Star::end_of_word) {
      if (HasClass(classes_[i], class_separator_or_punct)) {
        star_ = Star::off;
        return Outcome::nothing;
      }
      if (!WordGoesOnAfter(i)) star_ = Star::off;
      return Outcome::consumed;
    }
    if (TerminatorAt(i, last)) {
      star_ = Star::off;
      can_backtrack_ = true;
      terminator_found_at_ = i;
      TakeTagCode(pattern_.lower[terminator_index_]);
      return Outcome::consumed;
    }
    return CodeAt(i) > kSpace ? Outcome::consumed : Outcome::fail;
  }

  // The terminator is compared like any pattern character, wildcards included;
  // a star or any-word code after a star can only stand for itself.
  bool TerminatorAt(std::int32_t i, std::int32_t& last) {
    const char16_t t = pattern_.lower[terminator_index_];
    if (t == pattern_star || t == pattern_any_word) {
      last = i;
      return CodeAt(i) == t;
    }
    return Compare(t, terminator_index_, i, last) == Outcome::consumed;
  }

  // After a failure beyond a star's terminator: the star takes the character
  // where the terminator was found and looks for the terminator again after it.
  bool Backtrack(std::int32_t& pos) {
    if (!can_backtrack_) return false;
    can_backtrack_ = false;
    if (CodeAt(terminator_found_at_) <= kSpace) return false;
    pos = terminator_found_at_;
    k_ = terminator_index_ + 1;
    in_tag_ = in_tag_at_star_;
    star_ = Star::terminator;
    return true;
  }

  // The any-word wildcard: the rest of the word from i, markup included.
  Outcome AnyWord(std::int32_t i, std::int32_t& last) {
    std::int32_t j = i;
    if (!in_tag_) j = LastOfMarkupRun(j);
    for (;;) {
      if (j + 1 >= end_ || HasClass(classes_[j + 1], class_separator)) break;
      ++j;
      if (!IsMarkupClass(classes_[j])) continue;
      if (!in_tag_) {
        j = LastOfMarkupRun(j);
        continue;
      }
      // Inside a tag the word runs up to and including the next space, which
      // stands for the pattern space after the wildcard.
      while (CodeAt(j) != kSpace && j + 1 < end_) ++j;
      if (k_ < pattern_.length) ++k_;
      break;
    }
    last = j;
    return Outcome::consumed;
  }

  std::int32_t LastOfMarkupRun(std::int32_t j) const {
    if (!IsMarkupClass(classes_[j])) return j;
    while (j + 1 < end_ && IsMarkupClass(classes_[j + 1])) ++j;
    return j;
  }

  // The right boundary, or the extension to the end of the word.
  bool Finish(std::int32_t candidate, std::int32_t pos) {
    exact_length_ = pos - candidate + 1;
    if (exact_length_ > kMaxHitLength) return false;
    if (pattern_.right_bounded) {
      if (pos + 1 < limit_ && IsWordClass(classes_[pos + 1])) return false;
      hit_length_ = exact_length_;
      return true;
    }
    std::int32_t e = pos;
    while (e + 1 < limit_ && e - candidate + 1 < kMaxHitLength &&
           (IsWordClass(classes_[e + 1]) || classes_[e + 1] == class_zero_width_joiner)) {
      ++e;
    }
    hit_length_ = e - candidate + 1;
    return true;
  }

  const Unit* text_;
  const TClassWord* classes_;
  std::int32_t limit_;
  bool has_class_before_;
  const Pattern& pattern_;

  // State of one attempt.
  std::int32_t end_ = 0;
  std::int32_t k_ = 0;  // next pattern character to take
  bool in_tag_ = false;
  Star star_ = Star::off;
  std::int32_t terminator_index_ = 0;
  bool in_tag_at_star_ = false;
  bool can_backtrack_ = false;
  std::int32_t terminator_found_at_ = 0;

  std::int32_t exact_length_ = 0;
  std::int32_t hit_length_ = 0;
};

}  // namespace quill::testing::previous_matcher
