// Stars that remember the stretches they walked in vain: every attempt must end
// exactly as it did before (the previous attempt, kept beside these tests, is
// the reference), and a star over a long token must cost linear time.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "previous_wanted_word_attempt.h"
#include "quillrt/text/wanted_word_attempt.h"
#include "test_wanted_word_matcher_support.h"

namespace quill::testing {
namespace {

struct Typed {
  std::u16string lower, upper, title;
  bool left_bounded = false, right_bounded = false, case_sensitive = false;
};

template <class P>
P MakePattern(const Typed& typed) {
  P pattern;
  pattern.lower = typed.lower.c_str();
  pattern.upper = typed.upper.c_str();
  pattern.title = typed.title.c_str();
  pattern.length = static_cast<std::int32_t>(typed.lower.size());
  pattern.case_sensitive = typed.case_sensitive;
  pattern.left_bounded = typed.left_bounded;
  pattern.right_bounded = typed.right_bounded;
  return pattern;
}

Typed TypedPattern(const std::u16string& lower, bool left, bool right) {
  Typed typed{lower, lower, lower, left, right, false};
  for (char16_t& c : typed.upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  if (!typed.title.empty() && typed.title[0] >= u'a' && typed.title[0] <= u'z')
    typed.title[0] = static_cast<char16_t>(typed.title[0] - 32);
  return typed;
}

// Ordinary text: words of a few letters, punctuation, markup, numbers.
UnicodeString OrdinaryText(std::mt19937& random, int pieces) {
  static const char16_t* const kPieces[] = {u"a",   u"ab",   u"ba",  u"abz", u"za",   u"zz", u"aaa", u" ",  u" ",
                                            u"  ",  u",",    u".",   u"-",   u"<b>",  u"</b>", u"12", u"z",  u"Az",
                                            u"aZa", u"\t",   u"baz", u"q",   u"zaza", u"x",  u"ax", u"\n", u"'"};
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  UnicodeString text;
  for (int i = 0; i < pieces; ++i) text += kPieces[pick(random)];
  return text;
}

TEST(WantedWordStarWalks, EveryAttemptEndsAsBefore) {
  const std::u16string star(1, pattern_star), any(1, pattern_any_char), letter(1, pattern_any_letter);
  const std::vector<std::u16string> patterns{
      u"a" + star + u"z",         star + u"a" + star + u"z", u"a" + star + u"z" + star + u"a",
      u"a" + star + u"b" + star + u"z",
      u"z" + star + u"a" + star + u"a" + star + u"z",        u"a" + star + any + u"z",
      u"b" + star + letter,       u"a" + star + u"z a",      u"a" + star + u"<",
      u"a" + star + u"z" + star,  u"ba" + star + u"a" + star + u"a" + star + u"z"};
  std::mt19937 random(2024);
  std::size_t compared = 0, hits = 0;
  for (int round = 0; round < 150; ++round) {
    ClassedText text(OrdinaryText(random, 30 + round * 2));
    if (round % 2 == 0) text.MarkTags();
    for (const std::u16string& lower : patterns) {
      for (const int bounds : {0, 1, 2, 3}) {
        const Typed typed = TypedPattern(lower, bounds & 1, bounds & 2);
        const auto now_pattern = MakePattern<wanted_word::Pattern>(typed);
        const auto before_pattern = MakePattern<previous_matcher::Pattern>(typed);
        // One attempt object each, tried at every candidate in order, as a scan does.
        wanted_word::Attempt<char16_t> now(text.chars(), text.classes(), text.size(), false, now_pattern);
        previous_matcher::Attempt<char16_t> before(text.chars(), text.classes(), text.size(), false, before_pattern);
        for (std::int32_t at = 0; at < text.size(); ++at) {
          const bool hit_now = now.MatchAt(at);
          ASSERT_EQ(hit_now, before.MatchAt(at)) << "round " << round << " at " << at;
          if (hit_now) {
            ASSERT_EQ(now.exact_length(), before.exact_length()) << "round " << round << " at " << at;
            ASSERT_EQ(now.hit_length(), before.hit_length()) << "round " << round << " at " << at;
            ++hits;
          }
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(hits, compared / 100);  // the texts give the stars something to find
}

TEST(WantedWordStarWalks, StarsAcrossALongTokenTakeLinearTime) {
  const std::u16string star(1, pattern_star);
  const UnicodeString token(200000, u'a');
  ClassedText text(token + u" z");
  std::u16string thirty_stars = u"a";
  for (int i = 0; i < 30; ++i) thirty_stars += star + u"a";
  thirty_stars += star + u"z";
  for (const std::u16string& lower : {u"a" + star + u"z", thirty_stars}) {
    const Typed typed = TypedPattern(lower, false, false);
    const auto pattern = MakePattern<wanted_word::Pattern>(typed);
    wanted_word::Attempt<char16_t> attempt(text.chars(), text.classes(), text.size(), false, pattern);
    const auto started = std::chrono::steady_clock::now();
    std::int32_t found = 0;
    for (std::int32_t at = 0; at < text.size(); ++at) found += attempt.MatchAt(at) ? 1 : 0;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(found, 0);
    // Quadratic work would be 2 * 10^10 steps here; linear is well under a second.
    EXPECT_LT(seconds, 5.0);
  }
}

}  // namespace
}  // namespace quill::testing
