// Random texts against two references: the hits of a search must be exactly the
// positions where a call starting there reports a hit at once (which exercises
// the fast scan against the plain one), 8-bit and UTF-16 buffers must agree, and
// the word count must be that of a plain count over the class array. The fast
// scan runs with the processor's widest vectors and limited to the narrow ones.
#include <gtest/gtest.h>

#include <random>

#include "quillrt/platform/vector_width.h"
#include "test_wanted_word_matcher_support.h"

namespace quill::testing {
namespace {

// Whether a call starting at `at` reports a hit right there.
bool HitStartsAt(const ClassedText& text, const WantedWord& word, std::int32_t at, Hit& hit) {
  TSearchStatsRec stats;
  bool in_heading = false;
  std::uint16_t characters = 0;
  std::uint16_t exact = 0;
  const char16_t* found = NewFindWantedInBuffer(
      text.chars() + at, text.size() - at, text.classes() + at, text.classes(), text.classes_end(), word.upper,
      word.lower, word.title, static_cast<std::uint16_t>(word.lower.size()), word.case_sensitive, word.left_bounded,
      word.right_bounded, word.skip_punctuation, false, characters, exact, stats, in_heading, false, false, false,
      false);
  hit = {at, characters, exact};
  return found == text.chars() + at;
}

std::int32_t PlainWordCount(const ClassedText& text) {
  std::int32_t words = 0;
  for (std::int32_t i = 0; i < text.size(); ++i) {
    const bool next_is_separator = i + 1 < text.size() && IsSeparatorClass(text.classes()[i + 1]);
    if (IsSeparatorClass(text.classes()[i]) && !next_is_separator) ++words;
  }
  return words;
}

UnicodeString RandomText(std::mt19937& random, int pieces) {
  static const char16_t* const kPieces[] = {
      u"the", u"The", u"THE", u"th", u"t", u"h", u"e", u"then", u"other", u" ", u" ", u" ", u"  ", u",", u"-",
      u".", u"\t", u"<b>", u"</b>", u"15th", u"1", u"2,5", u"\u200D", u"\xE9", u"ht", u"tth",
      u"t<b>he", u"th</b>e", u"theth",
  };
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  UnicodeString text;
  for (int i = 0; i < pieces; ++i) text += kPieces[pick(random)];
  return text;
}

void CheckFastScanAgainstCallsAtEachPosition() {
  const UnicodeString patterns[] = {
      u"the", u"th", u"t", u"The", u"\x1Bth", u"t\x1Dh", u"th\x1D", u"the \x1A th", u"th\x1C", u"\x1Eh",
      u"the the", u"\x1C\x1C", u"h\x1E t", u"then", u"th e",
  };
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> coin(0, 1);
  std::uniform_int_distribution<int> percent(0, 99);
  for (int round = 0; round < 60; ++round) {
    const UnicodeString raw = RandomText(random, 40 + round * 3);
    // A zero-width joiner has no 8-bit form: such texts are searched in UTF-16 only.
    const bool has_byte_form = raw.find(u'\u200D') == UnicodeString::npos;
    ClassedText text(raw);
    text.MarkTags();
    for (std::int32_t i = 0; i < text.size(); ++i) {
      if (percent(random) < 3) text.Marker(i, static_cast<std::uint16_t>(ts_sentence_start + percent(random) % 8));
    }
    for (const UnicodeString& pattern : patterns) {
      WantedWord word(pattern);
      if (coin(random) != 0) word.CaseSensitive();
      word.Unbounded(coin(random) != 0, coin(random) != 0);
      word.skip_punctuation = coin(random) != 0;

      const SearchRun wide = FindAll(text, word, true);
      std::vector<Hit> expected;
      for (std::int32_t at = 0; at < text.size(); ++at) {
        Hit hit{};
        if (HitStartsAt(text, word, at, hit)) expected.push_back(hit);
      }
      ASSERT_EQ(wide.hits, expected) << "round " << round << " pattern " << Utf16ToUtf8(pattern);

      EXPECT_EQ(wide.stats.number[word_stats], PlainWordCount(text));
      if (!has_byte_form) continue;
      const SearchRun narrow = FindAll(text, word, false);
      ASSERT_EQ(narrow.hits, wide.hits) << "round " << round << " pattern " << Utf16ToUtf8(pattern);
      for (int kind = word_stats; kind <= section_stats; ++kind) {
        EXPECT_EQ(wide.stats.number[kind], narrow.stats.number[kind]);
        EXPECT_EQ(wide.stats.position[kind], narrow.stats.position[kind]);
      }
    }
  }
}

// Restores the processor's widest vectors when a test ends.
struct NarrowVectors {
  explicit NarrowVectors(bool narrow) { LimitToNarrowVectors(narrow); }
  ~NarrowVectors() { LimitToNarrowVectors(false); }
};

TEST(WantedWordMatcherRandom, FastScanAgreesWithCallsAtEachPosition) {
  NarrowVectors widest(false);
  CheckFastScanAgainstCallsAtEachPosition();
}

TEST(WantedWordMatcherRandom, NarrowFastScanAgreesWithCallsAtEachPosition) {
  NarrowVectors narrow(true);
  ASSERT_FALSE(WideVectorsInUse());
  CheckFastScanAgainstCallsAtEachPosition();
}

}  // namespace
}  // namespace quill::testing
