#include <gtest/gtest.h>

#include "quillrt/analysis/ngrams.h"
#include "word_list_test_helpers.h"

namespace quill {
namespace {

using testing::Counts;
using testing::CountsOf;
using testing::YieldHookScope;

Counts NGrams(const UnicodeString& text, int n, int max_tag_len = 20) {
  return CountsOf(*SimpleNGramListOfTxt(text, n, max_tag_len, false, nullptr));
}

TEST(SimpleNGramListOfTxt, FullStopsStartAfreshCommasAndDashesRunOn) {
  EXPECT_EQ(NGrams(u"a b c d", 2), (Counts{{"a b", 1}, {"b c", 1}, {"c d", 1}}));
  EXPECT_EQ(NGrams(u"a b. c d", 2), (Counts{{"a b", 1}, {"c d", 1}}));
  EXPECT_EQ(NGrams(u"a, b c", 2), (Counts{{"a b", 1}, {"b c", 1}}));
  EXPECT_EQ(NGrams(u"a-b c", 2), (Counts{{"a b", 1}, {"b c", 1}}));
  EXPECT_EQ(NGrams(u"a_b c", 2), (Counts{{"a b", 1}, {"b c", 1}}));
  EXPECT_EQ(NGrams(u"a b: c d", 2), (Counts{{"a b", 1}, {"c d", 1}}));
  // A full stop before the window is full keeps its words.
  EXPECT_EQ(NGrams(u"a. b c", 3), (Counts{{"a b c", 1}}));
  // Only the character that ends a word counts; a stop after a blank is passed over.
  EXPECT_EQ(NGrams(u"a b . c", 2), (Counts{{"a b", 1}, {"b c", 1}}));
}

TEST(SimpleNGramListOfTxt, CountsIgnoringCaseWithSeparatorsNormalised) {
  EXPECT_EQ(NGrams(u"The cat. the  CAT.\r\n\tTHE\u00A0cat", 2), (Counts{{"The cat", 3}}));
  EXPECT_EQ(NGrams(u"x y", 3), Counts{}) << "too few words";
  EXPECT_EQ(NGrams(u"", 2), Counts{});
  EXPECT_EQ(NGrams(u"a b", 0), Counts{});
  // Numbers of every kind belong to words.
  EXPECT_EQ(NGrams(u"3\u00BD cups", 2), (Counts{{"3\u00BD cups", 1}}));
}

TEST(SimpleNGramListOfTxt, SingleWordsCarryNoBlanks) {
  EXPECT_EQ(NGrams(u"a b a. b, a", 1), (Counts{{"a", 3}, {"b", 2}}));
}

TEST(SimpleNGramListOfTxt, WordsEndedBySymbolsOrTagsStaySeparate) {
  // A symbol or control character ends a word like a blank: the next word
  // does not run into it.
  EXPECT_EQ(NGrams(u"a+b c", 2), (Counts{{"a b", 1}, {"b c", 1}}));
  EXPECT_EQ(NGrams(u"a\u0001b c", 2), (Counts{{"a b", 1}, {"b c", 1}}));
  EXPECT_EQ(NGrams(u"a<i>b</i> c", 2), (Counts{{"a b", 1}, {"b c", 1}}));
  // Tags between words are passed over.
  EXPECT_EQ(NGrams(u"<p>a <b>b</b> c</p>", 2), (Counts{{"a b", 1}, {"b c", 1}}));
}

TEST(SimpleNGramListOfTxt, LongTagsEndAtTheNextBlank) {
  // "<not" finds no ">" within 3 characters: it ends at the blank after "not",
  // so "not" is passed over with it, and the text goes on.
  EXPECT_EQ(NGrams(u"x <not a tag y", 1, 3), (Counts{{"a", 1}, {"tag", 1}, {"x", 1}, {"y", 1}}));
  // With room for it the whole run up to ">" is a tag.
  EXPECT_EQ(NGrams(u"x <not a tag> y", 1, 20), (Counts{{"x", 1}, {"y", 1}}));
  // A "<" that never closes swallows the rest; the word before it still counts.
  EXPECT_EQ(NGrams(u"x y<zzz", 2, 20), (Counts{{"x y", 1}}));
}

TEST(SimpleNGramListOfTxt, ReportsProgressForEachNewNGram) {
  std::vector<int> reports;
  SimpleNGramListOfTxt(u"a b a b", 2, 20, false, [&](std::int32_t percent) { reports.push_back(percent); });
  // "a b" ends at position 4 of 7, "b a" at 6; the second "a b" is not new.
  EXPECT_EQ(reports, (std::vector<int>{57, 85}));
}

TEST(SimpleNGramListOfTxt, ByFrequencyAndYieldingPerCharacter) {
  int calls = 0;
  YieldHookScope hook([&] { ++calls; });
  const UnicodeString text = u"c d. a b. a b. <x>c d, a b";
  const auto list = SimpleNGramListOfTxt(text, 2, 20, true, nullptr);
  EXPECT_FALSE(list->Sorted());
  EXPECT_EQ(CountsOf(*list), (Counts{{"a b", 3}, {"c d", 2}, {"d a", 1}}));
  EXPECT_EQ(calls, static_cast<int>(text.size()));
}

}  // namespace
}  // namespace quill
