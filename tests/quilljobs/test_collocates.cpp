// The collocates job on small texts whose co-occurrences are counted by hand:
// spans, sentence ends, files, case, filters and thresholds.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "quilljobs/collocates_job.h"
#include "quilljobs/word_keys.h"
#include "quillrt/framework/strings.h"
#include "test_support.h"

namespace quill::jobs {
namespace {

using quill::testing::TempDir;
using quill::testing::WriteText;

class CollocatesOnSmallTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(dir_.Path("1.txt"), "a b Node. C node d\n");
    // A second file: its first word is not in the span of the last node above.
    WriteText(dir_.Path("2.txt"), "e NODE\n");
    CorpusOptions options;
    options.paths = {dir_.path().string()};
    corpus_ = std::make_unique<Corpus>(options);
  }

  CollocatesSettings Settings(int left, int right) const {
    CollocatesSettings settings;
    settings.nodes = {"node"};
    settings.left = left;
    settings.right = right;
    return settings;
  }

  // word -> "O left right"
  static std::map<std::string, std::string> Counts(const CollocatesResult& result) {
    std::map<std::string, std::string> counts;
    for (const Collocate& c : result.collocates)
      counts[Utf16ToUtf8(c.word)] = std::to_string(c.observed) + " " + std::to_string(c.left) + " " + std::to_string(c.right);
    return counts;
  }

  TempDir dir_;
  std::unique_ptr<Corpus> corpus_;
};

TEST_F(CollocatesOnSmallTexts, CountsEachSideWithinFiles) {
  const CollocatesResult result = CollocatesJob(Settings(2, 2)).Run(*corpus_);
  EXPECT_EQ(result.tokens, 8);
  EXPECT_EQ(result.node_freq, 3);  // any case
  EXPECT_EQ(result.span_size, 4);
  EXPECT_EQ(result.files_read, 2);
  // Node at 2: a b | C node; node at 4: node C | d; node in 2.txt: e |.
  const std::map<std::string, std::string> expected{
      {"a", "1 1 0"}, {"b", "1 1 0"}, {"C", "2 1 1"}, {"Node", "2 1 1"}, {"d", "1 0 1"}, {"e", "1 1 0"}};
  EXPECT_EQ(Counts(result), expected);
  for (const Collocate& c : result.collocates) {
    if (c.word == u"Node") {
      EXPECT_EQ(c.frequency, 3);  // the node itself, as first spelled
    }
  }
}

TEST_F(CollocatesOnSmallTexts, SentenceEndsCutTheSpans) {
  CollocatesSettings settings = Settings(2, 2);
  settings.within_sentence = true;
  const std::map<std::string, std::string> expected{
      {"a", "1 1 0"}, {"b", "1 1 0"}, {"C", "1 1 0"}, {"d", "1 0 1"}, {"e", "1 1 0"}};
  EXPECT_EQ(Counts(CollocatesJob(settings).Run(*corpus_)), expected);
  // A stop before a lower-case word belongs to an abbreviation: no sentence end.
  WriteText(dir_.Path("1.txt"), "a b node. c node d\n");
  EXPECT_EQ(Counts(CollocatesJob(settings).Run(*corpus_)).count("node"), 1u);
}

TEST_F(CollocatesOnSmallTexts, OneSidedSpansFiltersAndRanking) {
  EXPECT_EQ(Counts(CollocatesJob(Settings(0, 1)).Run(*corpus_)),
            (std::map<std::string, std::string>{{"C", "1 0 1"}, {"d", "1 0 1"}}));
  CollocatesSettings settings = Settings(2, 2);
  settings.min_coll_freq = 2;
  EXPECT_EQ(CollocatesJob(settings).Run(*corpus_).collocates.size(), 2u);
  settings.min_coll_freq = 1;
  settings.min_freq = 2;  // only "node" is met twice or more in the corpus
  EXPECT_EQ(Counts(CollocatesJob(settings).Run(*corpus_)).size(), 1u);

  settings.min_freq = 1;
  settings.sort = CollocationStat::frequency;
  settings.top = 2;
  const CollocatesResult top = CollocatesJob(settings).Run(*corpus_);
  ASSERT_EQ(top.collocates.size(), 2u);
  EXPECT_EQ(top.collocates[0].word, u"C");  // 2 each: then by spelling
  EXPECT_EQ(top.collocates[1].word, u"Node");
  // The scores are those of the counts.
  const Collocate& c = top.collocates[0];
  EXPECT_DOUBLE_EQ(c.scores.mi, ScoreCollocation({2, 3, 1, 4, 8}).mi);
}

TEST_F(CollocatesOnSmallTexts, ThresholdTest) {
  // E = 3 x 4 x f / 8 = 1.5 f: O/E for C is 2/1.5, for node 2/4.5, for the others 1/1.5.
  CollocatesSettings settings = Settings(2, 2);
  settings.thresholds.proc_settings[MI_MI] = {true, 0.0f};
  settings.thresholds.test_all_words = true;
  EXPECT_EQ(Counts(CollocatesJob(settings).Run(*corpus_)), (std::map<std::string, std::string>{{"C", "2 1 1"}}));
  // Every enabled statistic must pass; a T score of 2 is out of reach.
  settings.thresholds.test_all_procedures = true;
  settings.thresholds.proc_settings[MI_T_Score] = {true, 2.0f};
  EXPECT_TRUE(CollocatesJob(settings).Run(*corpus_).collocates.empty());
}

TEST_F(CollocatesOnSmallTexts, BadRequests) {
  CollocatesSettings settings = Settings(0, 0);
  EXPECT_THROW(CollocatesJob{settings}, JobError);
  settings = Settings(51, 1);
  EXPECT_THROW(CollocatesJob{settings}, JobError);
  settings = Settings(1, 1);
  settings.nodes = {"two words"};
  EXPECT_THROW(CollocatesJob(settings).Run(*corpus_), JobError);
  settings.nodes = {"absent"};
  const CollocatesResult none = CollocatesJob(settings).Run(*corpus_);
  EXPECT_EQ(none.node_freq, 0);
  EXPECT_TRUE(none.collocates.empty());
}

TEST(FoldedWord, FullCaseFolding) {
  EXPECT_EQ(FoldedWord(u"Jury"), u"jury");
  EXPECT_EQ(FoldedWord(u"STRASSE"), FoldedWord(u"Straße"));
  EXPECT_EQ(FoldedWord(u"ΣΟΦΟΣ"), FoldedWord(u"σοφος"));
}

}  // namespace
}  // namespace quill::jobs
