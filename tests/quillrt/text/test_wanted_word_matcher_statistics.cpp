// The counting the matcher does while it scans: words, segment markers, the
// segment-end hooks, and the write-back of the caller's record.
#include <gtest/gtest.h>

#include <vector>

#include "test_wanted_word_matcher_support.h"

namespace quill::testing {
namespace {

struct HookCall {
  int hook;  // 0 sentence, 1 paragraph, 2 heading, 3 section
  std::int32_t number;
  std::int32_t words;
  bool operator==(const HookCall&) const = default;
};

std::vector<HookCall>* recorded = nullptr;

template <int Hook>
void Record(std::int32_t number, std::int32_t words) {
  recorded->push_back({Hook, number, words});
}

// Installs recording hooks and puts the do-nothing ones back afterwards.
class MatcherStatistics : public ::testing::Test {
 protected:
  void SetUp() override {
    recorded = &calls_;
    HandleSentenceEndProc = Record<0>;
    HandleParagraphEndProc = Record<1>;
    HandleHeadingEndProc = Record<2>;
    HandleSectionEndProc = Record<3>;
  }
  void TearDown() override {
    HandleSentenceEndProc = HandleParagraphEndProc = HandleHeadingEndProc = HandleSectionEndProc =
        DoNothingWithTextSection;
    recorded = nullptr;
  }

  std::vector<HookCall> calls_;
};

// A search word that the texts below never hold: the scan runs to the end.
const WantedWord kAbsent(u"zzz");

TEST_F(MatcherStatistics, WordsAreCountedAtEachSeparatorBeforeAWord) {
  // Separators before "two", "three" and "four"; a run counts once.
  const auto run = FindAll(ClassedText(u"one two   three\tfour"), kAbsent);
  EXPECT_EQ(run.stats.number[word_stats], 3);
  EXPECT_EQ(run.stats.position[sentence_stats], 3);
  EXPECT_EQ(run.stats.position[paragraph_stats], 3);
  EXPECT_EQ(run.stats.position[section_stats], 3);
  EXPECT_EQ(run.stats.position[heading_stats], 0);  // not in a heading
  EXPECT_EQ(run.stats.out_of[sentence_stats], 3);
  EXPECT_EQ(run.stats.out_of[word_stats], 0);
  EXPECT_TRUE(calls_.empty());
}

TEST_F(MatcherStatistics, EachCharacterIsCountedOnceOverTheCallsOfASearch) {
  UnicodeString text;
  for (int i = 0; i < 40; ++i) text += u"the cat sat on the mat. ";
  ClassedText classed(text);
  for (std::int32_t i = 0; i < classed.size(); ++i) {
    if (text[i] == u'.') classed.Marker(i, ts_sentence_end);
  }
  const auto without_hits = FindAll(classed, kAbsent);
  const auto with_hits = FindAll(classed, WantedWord(u"the"));
  EXPECT_EQ(with_hits.hits.size(), 80u);
  EXPECT_EQ(without_hits.stats.number[word_stats], with_hits.stats.number[word_stats]);
  EXPECT_EQ(without_hits.stats.number[sentence_stats], 40);
  EXPECT_EQ(with_hits.stats.number[sentence_stats], 40);
  EXPECT_EQ(calls_.size(), 80u);  // forty sentence ends in each search
}

TEST_F(MatcherStatistics, SentenceStartClosesThePreviousSentenceWhenEndsAreNotMarked) {
  ClassedText text(u"a b#c d e#f");
  text.Marker(3, ts_sentence_start).Marker(9, ts_sentence_start);
  const auto first = FindAll(text, kAbsent);
  EXPECT_EQ(calls_, (std::vector<HookCall>{{0, 0, 1}, {0, 1, 3}}));
  EXPECT_EQ(first.stats.number[sentence_stats], 2);
  EXPECT_EQ(first.stats.position[sentence_stats], 1);
  EXPECT_EQ(first.stats.out_of[sentence_stats], 1);

  // With sentence ends marked, a start marker is ignored.
  calls_.clear();
  const auto marked = FindAll(text, kAbsent, true, {.sentence = true});
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(marked.stats.number[sentence_stats], 0);
  EXPECT_EQ(marked.stats.position[sentence_stats], 3);
}

TEST_F(MatcherStatistics, EachSegmentCodeCallsItsHook) {
  struct Case {
    std::uint16_t start, end;
    int hook;
    text_stats_type kind;
    SegmentEnds marked;
  };
  const Case cases[] = {
      {ts_sentence_start, ts_sentence_end, 0, sentence_stats, {.sentence = true}},
      {ts_paragraph_start, ts_paragraph_end, 1, paragraph_stats, {.paragraph = true}},
      {ts_heading_start, ts_heading_end, 2, heading_stats, {.heading = true}},
      {ts_section_start, ts_section_end, 3, section_stats, {.section = true}},
  };
  for (const Case& c : cases) {
    calls_.clear();
    // start "x y z" end, start "v w" end
    ClassedText text(u"#x y z##v w#");
    text.Marker(0, c.start).Marker(6, c.end).Marker(7, c.start).Marker(11, c.end);
    const auto run = FindAll(text, kAbsent, true, c.marked);
    EXPECT_EQ(calls_, (std::vector<HookCall>{{c.hook, 0, 2}, {c.hook, 1, 2}})) << c.hook;
    EXPECT_EQ(run.stats.number[c.kind], 2);
    EXPECT_EQ(run.stats.position[c.kind], 1);
    EXPECT_EQ(run.stats.out_of[c.kind], 1);
    EXPECT_FALSE(run.in_heading);
  }
}

TEST_F(MatcherStatistics, HeadingWordsCountOnlyInsideHeadings) {
  ClassedText text(u"a b#c d e#f g");
  text.Marker(3, ts_heading_start).Marker(9, ts_heading_end);
  const auto run = FindAll(text, kAbsent, true, {.heading = true});
  // Inside the heading: the separators before d and e (and the position starts at 0).
  EXPECT_EQ(calls_, (std::vector<HookCall>{{2, 0, 2}}));
  EXPECT_EQ(run.stats.number[word_stats], 4);

  // Still inside a heading when the scan stops: the flag is handed back.
  calls_.clear();
  ClassedText open(u"a#b c");
  open.Marker(1, ts_heading_start);
  const auto open_run = FindAll(open, kAbsent, true, {.heading = true});
  EXPECT_TRUE(open_run.in_heading);
  EXPECT_EQ(open_run.stats.position[heading_stats], 1);
  // Without heading ends marked, a heading start closes the heading at once.
  const auto unmarked = FindAll(open, kAbsent);
  EXPECT_FALSE(unmarked.in_heading);
  EXPECT_EQ(calls_, (std::vector<HookCall>{{2, 0, 0}}));
}

TEST_F(MatcherStatistics, MarkersInLongTextsAreFoundWhereverTheyFall) {
  // Markers at every offset of the scan's blocks, and hits next to them.
  UnicodeString text;
  for (int i = 0; i < 60; ++i) text += u"ab cat ";
  for (int offset = 0; offset < 11; ++offset) {
    calls_.clear();
    ClassedText classed(text);
    std::int32_t markers = 0;
    for (std::int32_t i = 20 + offset; i < classed.size(); i += 37) {
      if (text[i] == u' ') {
        classed.Marker(i, ts_paragraph_end);
        ++markers;
      }
    }
    const auto run = FindAll(classed, WantedWord(u"cat"));
    EXPECT_EQ(run.hits.size(), 60u);
    EXPECT_EQ(static_cast<std::int32_t>(calls_.size()), markers);
    EXPECT_EQ(run.stats.number[paragraph_stats], markers);
  }
}

TEST_F(MatcherStatistics, EmptyPatternLeavesEverythingAlone) {
  ClassedText text(u"a b#c");
  text.Marker(3, ts_sentence_end);
  TSearchStatsRec stats;
  stats.position[sentence_stats] = 7;
  bool in_heading = true;
  std::uint16_t characters = 99;
  std::uint16_t exact = 98;
  const UnicodeString empty;
  EXPECT_EQ(NewFindWantedInBuffer(text.chars(), text.size(), text.classes(), text.classes(), text.classes_end(),
                                  empty, empty, empty, 0, false, true, true, false, false, characters, exact, stats,
                                  in_heading, false, false, false, false),
            nullptr);
  EXPECT_EQ(stats.position[sentence_stats], 7);
  EXPECT_EQ(stats.out_of[sentence_stats], 0);
  EXPECT_TRUE(in_heading);
  EXPECT_EQ(characters, 99);
  EXPECT_EQ(exact, 98);
  EXPECT_TRUE(calls_.empty());
}

}  // namespace
}  // namespace quill::testing
