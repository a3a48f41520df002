// What counts as a hit: case folding, word bounds, wildcards, star backtracking,
// separator collapsing, markup and the buffer's edges.
#include <gtest/gtest.h>

#include "test_wanted_word_matcher_support.h"

namespace quill::testing {
namespace {

using Starts_ = std::vector<std::int32_t>;

SearchRun Find(const UnicodeString& text, const WantedWord& word) { return FindAll(ClassedText(text), word); }

TEST(WantedWordMatcher, BoundedCaseInsensitiveWord) {
  const auto run = Find(u"Cat CAT cAt cats scat cat.", WantedWord(u"cat"));
  EXPECT_EQ(Starts(run), (Starts_{0, 4, 8, 22}));
  for (const Hit& hit : run.hits) {
    EXPECT_EQ(hit.characters, 3);
    EXPECT_EQ(hit.exact, 3);
  }
  EXPECT_EQ(Starts(Find(u"Cat CAT cAt cat", WantedWord(u"cat").CaseSensitive())), (Starts_{12}));
  // The title copy is consulted, so a capitalised pattern finds the lower-case word too.
  EXPECT_EQ(Starts(Find(u"Paris paris PARIS", WantedWord(u"Paris"))), (Starts_{0, 6, 12}));
}

TEST(WantedWordMatcher, UnboundedEdgesAndWordExtension) {
  const auto cats = Find(u"cats and", WantedWord(u"cat").Unbounded(false, true));
  ASSERT_EQ(cats.hits.size(), 1u);
  EXPECT_EQ(cats.hits[0], (Hit{0, 4, 3}));

  const auto running = Find(u"running", WantedWord(u"ing").Unbounded(true, false));
  EXPECT_EQ(running.hits, (std::vector<Hit>{{4, 3, 3}}));
  EXPECT_TRUE(Find(u"running", WantedWord(u"ing")).hits.empty());

  // A zero-width joiner carries the extension on; a hyphen stops it.
  const auto joined = Find(u"cat\u200Dfish cat-fish", WantedWord(u"cat").Unbounded(false, true));
  EXPECT_EQ(joined.hits, (std::vector<Hit>{{0, 8, 3}, {9, 3, 3}}));
}

TEST(WantedWordMatcher, LeftBoundaryLooksBeforeTheStartButNotPastMarkupOrMarkers) {
  // Starting the scan in the middle of a word: the class before the start counts.
  const ClassedText text(u"scat cat");
  EXPECT_EQ(Starts(FindAll(text, WantedWord(u"cat"), true, {}, 1)), (Starts_{5}));

  ClassedText tagged(u"x<i>cat");
  tagged.MarkTags();
  EXPECT_EQ(Starts(FindAll(tagged, WantedWord(u"cat"))), (Starts_{4}));

  ClassedText marked(u"x#cat");
  marked.Marker(1, ts_sentence_end);
  EXPECT_EQ(Starts(FindAll(marked, WantedWord(u"cat"))), (Starts_{2}));
}

TEST(WantedWordMatcher, DigitRunWildcard) {
  // The comma is punctuation here, so only the digits after it are one run.
  const auto run = Find(u"the 15th and 3rd and 1,000th", WantedWord(u"\x1Bth"));
  EXPECT_EQ(run.hits, (std::vector<Hit>{{4, 4, 4}, {23, 5, 5}}));

  // With the number separators marked as digits, a grouped number is one run.
  ClassedText grouped(u"1,000th");
  grouped.SetClass(1, class_middle_digit);
  EXPECT_EQ(FindAll(grouped, WantedWord(u"\x1Bth")).hits, (std::vector<Hit>{{0, 7, 7}}));

  // A segment marker is never a digit, whatever its low bits say.
  ClassedText marker(u"1#th");
  marker.Marker(1, ts_sentence_end);
  EXPECT_TRUE(FindAll(marker, WantedWord(u"\x1B\x1Bth")).hits.empty());
}

TEST(WantedWordMatcher, AnyCharacterAndAnyLetter) {
  // Before a pattern space, the any-character wildcard may match nothing.
  EXPECT_EQ(Starts(Find(u"cats dog, cat dog", WantedWord(u"cat\x1C dog"))), (Starts_{0, 10}));
  EXPECT_EQ(Starts(Find(u"cat cot c9t c-t c t", WantedWord(u"c\x1Et"))), (Starts_{0, 4}));
  EXPECT_EQ(Starts(Find(u"cat c9t c-t c t", WantedWord(u"c\x1Ct"))), (Starts_{0, 4, 8}));
}

TEST(WantedWordMatcher, StarTakesCharactersUpToItsTerminator) {
  EXPECT_EQ(Starts(Find(u"cat chart ct c t cut!", WantedWord(u"c\x1Dt"))), (Starts_{0, 4, 17}));
  // Backtracking: the first 'a' after the star is not the one that leads to a hit.
  EXPECT_EQ(Find(u"cxaat", WantedWord(u"c\x1D"
                                       u"at"))
                .hits,
            (std::vector<Hit>{{0, 5, 5}}));
  EXPECT_EQ(Find(u"cxaaab", WantedWord(u"c\x1D"
                                        u"aab"))
                .hits,
            (std::vector<Hit>{{0, 6, 6}}));
  // ... also when the right boundary is what fails.
  EXPECT_EQ(Find(u"catat", WantedWord(u"c\x1Dt")).hits, (std::vector<Hit>{{0, 5, 5}}));
  // The terminator is folded like any pattern character, and may be a wildcard.
  EXPECT_EQ(Starts(Find(u"cAT", WantedWord(u"c\x1Dt"))), (Starts_{0}));
  EXPECT_EQ(Find(u"abc12", WantedWord(u"a\x1D\x1B")).hits, (std::vector<Hit>{{0, 5, 5}}));
}

TEST(WantedWordMatcher, StarBeforeASpaceTakesTheRestOfTheWord) {
  EXPECT_EQ(Find(u"newest york", WantedWord(u"new\x1D york")).hits, (std::vector<Hit>{{0, 11, 11}}));
  // Here the star may also match nothing at the end of the word.
  EXPECT_EQ(Find(u"new york", WantedWord(u"new\x1D york")).hits, (std::vector<Hit>{{0, 8, 8}}));
  // A star at the pattern's end behaves the same way.
  EXPECT_EQ(Find(u"walking fast", WantedWord(u"walk\x1D")).hits, (std::vector<Hit>{{0, 7, 7}}));
}

TEST(WantedWordMatcher, AnyWordWildcard) {
  const auto run = Find(u"the end of, the well-known of, the of", WantedWord(u"the \x1A of"));
  EXPECT_EQ(Starts(run), (Starts_{0, 12}));
  EXPECT_EQ(run.hits[0].characters, 10);
  EXPECT_EQ(run.hits[1].characters, 17);

  // Markup inside the word is part of it.
  ClassedText tagged(u"the b<i>i</i>g of");
  tagged.MarkTags();
  EXPECT_EQ(FindAll(tagged, WantedWord(u"the \x1A of")).hits, (std::vector<Hit>{{0, 17, 17}}));
}

TEST(WantedWordMatcher, PatternSpaceCollapsesSeparators) {
  EXPECT_EQ(Find(u"new   york", WantedWord(u"new york")).hits, (std::vector<Hit>{{0, 10, 10}}));
  EXPECT_EQ(Find(u"new-york", WantedWord(u"new york")).hits, (std::vector<Hit>{{0, 8, 8}}));
  EXPECT_EQ(Find(u"new\t\r\nyork", WantedWord(u"new york")).hits, (std::vector<Hit>{{0, 10, 10}}));
  // A run of punctuation and spaces is swallowed only when punctuation is skipped.
  WantedWord word(u"new york");
  EXPECT_TRUE(Find(u"new - york", word).hits.empty());
  word.skip_punctuation = true;
  EXPECT_EQ(Find(u"new - york", word).hits, (std::vector<Hit>{{0, 10, 10}}));
}

TEST(WantedWordMatcher, MarkupInsideAHitIsSteppedOver) {
  ClassedText text(u"ca<b>t <b>dog c<i></i>at");
  text.MarkTags();
  const auto run = FindAll(text, WantedWord(u"cat"));
  EXPECT_EQ(run.hits, (std::vector<Hit>{{0, 6, 6}, {14, 10, 10}}));
  // A hit never starts on markup: the b of the tag is not a word "b".
  EXPECT_TRUE(FindAll(text, WantedWord(u"b")).hits.empty());
}

TEST(WantedWordMatcher, PatternTagsMatchMarkupLiterally) {
  // The buffer's tags are delimited by the tag codes, as the engine prepares them.
  ClassedText text(u"x \x19h1\x18Title \x19h2\x18Other");
  text.MarkTags(0x19, 0x18);
  const auto run = FindAll(text, WantedWord(u"\x19h1\x18title"));
  EXPECT_EQ(run.hits, (std::vector<Hit>{{2, 9, 9}}));
}

TEST(WantedWordMatcher, BufferEnd) {
  // A hit may end on the last character, also when it is longer than the pattern.
  EXPECT_EQ(Starts(Find(u"a cat", WantedWord(u"cat"))), (Starts_{2}));
  EXPECT_EQ(Find(u"x new  york", WantedWord(u"new york")).hits, (std::vector<Hit>{{2, 9, 9}}));
  EXPECT_EQ(Find(u"on the 15th", WantedWord(u"\x1Bth")).hits, (std::vector<Hit>{{7, 4, 4}}));
  // A pattern cut off by the end is no hit, whatever the lengths.
  EXPECT_TRUE(Find(u"a ca", WantedWord(u"cat")).hits.empty());
  EXPECT_TRUE(Find(u"x 12a", WantedWord(u"\x1B"
                                          u"ab"))
                  .hits.empty());
  // An empty buffer and a single character.
  EXPECT_TRUE(Find(u"", WantedWord(u"a")).hits.empty());
  EXPECT_EQ(Starts(Find(u"A", WantedWord(u"a"))), (Starts_{0}));
}

TEST(WantedWordMatcher, NothingBeyondTheClassArrayIsRead) {
  // Class words after the last character would spoil the end of word if read.
  ClassedText text(u"a cat");
  text.classes()[5] = text.classes()[6] = C1_ALPHA | C1_LOWER;
  EXPECT_EQ(Starts(FindAll(text, WantedWord(u"cat"))), (Starts_{2}));
  EXPECT_EQ(FindAll(text, WantedWord(u"ca").Unbounded(false, true)).hits, (std::vector<Hit>{{2, 3, 2}}));
}

TEST(WantedWordMatcher, HitsAreLimitedTo65535Characters) {
  const UnicodeString long_word(70000, u'a');
  const auto run = Find(long_word, WantedWord(u"a").Unbounded(false, true));
  ASSERT_FALSE(run.hits.empty());
  EXPECT_EQ(run.hits[0], (Hit{0, 65535, 1}));
}

TEST(WantedWordMatcher, EightBitBuffersGiveTheSameHits) {
  const UnicodeString text =
      u"The cat's 15th walk: new  york, NEW-York; catalogue cats\tand the running dogs. chart c t cxaat \xE9t\xE9 "
      u"\xC9T\xC9 end coat";
  const std::vector<WantedWord> words = {
      WantedWord(u"cat"),          WantedWord(u"cat").Unbounded(false, true),
      WantedWord(u"\x1Bth"),       WantedWord(u"new york"),
      WantedWord(u"c\x1Dt"),       WantedWord(u"ing").Unbounded(true, false),
      WantedWord(u"the \x1A dogs"), WantedWord(u"\xE9t\xE9"),
      WantedWord(u"c\x1E\x1Ct"),
  };
  ClassedText classed(text);
  classed.Marker(19, ts_sentence_end).Marker(77, ts_paragraph_start);
  for (const WantedWord& word : words) {
    WantedWord eight_bit = word;
    // The copies of an 8-bit search hold the byte values of the code page (here Latin-1).
    for (auto* copy : {&eight_bit.lower, &eight_bit.upper, &eight_bit.title}) {
      for (auto& c : *copy) {
        if (c == 0xE9 && copy != &eight_bit.lower) c = 0xC9;
      }
    }
    const auto wide = FindAll(classed, eight_bit, true);
    const auto narrow = FindAll(classed, eight_bit, false);
    EXPECT_EQ(wide.hits, narrow.hits) << Utf16ToUtf8(word.lower);
    EXPECT_FALSE(wide.hits.empty()) << Utf16ToUtf8(word.lower);
    for (int kind = 0; kind < text_stats_count; ++kind) {
      EXPECT_EQ(wide.stats.number[kind], narrow.stats.number[kind]);
      EXPECT_EQ(wide.stats.position[kind], narrow.stats.position[kind]);
    }
  }
}

}  // namespace
}  // namespace quill::testing
