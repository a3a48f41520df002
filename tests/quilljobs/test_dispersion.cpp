// The dispersion measures against spreads worked by hand, and the dispersion
// job's parts: files, equal parts across file ends, positions of the hits;
// the statistics jobs stopped before they start.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>

#include "quilljobs/collocates_job.h"
#include "quilljobs/dispersion_job.h"
#include "quilljobs/keywords_job.h"
#include "test_support.h"

namespace quill::jobs {
namespace {

using quill::testing::TempDir;
using quill::testing::WriteText;

TEST(DispersionMeasures, WorkedSpreads) {
  // Relative frequencies .2, 0, .1 (mean .1, deviations .1, -.1, 0): V = sqrt(2/3), D = 1 - 1/sqrt(3).
  // Shares of the hits .5, 0, .5 against shares of the words .25, .25, .5: DP = .25.
  DispersionMeasures m = MeasureDispersion({2, 0, 2}, {10, 10, 20});
  EXPECT_EQ(m.range, 2);
  EXPECT_NEAR(m.juilland_d, 1 - 1 / std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(m.dp, 0.25, 1e-12);
  EXPECT_NEAR(m.dp_norm, 0.25 / 0.75, 1e-12);

  m = MeasureDispersion({1, 1}, {5, 5});  // perfectly even
  EXPECT_NEAR(m.juilland_d, 1, 1e-12);
  EXPECT_NEAR(m.dp, 0, 1e-12);

  m = MeasureDispersion({3, 0, 0}, {10, 10, 10});  // all in one of equal parts
  EXPECT_NEAR(m.juilland_d, 0, 1e-12);
  EXPECT_NEAR(m.dp, 2.0 / 3, 1e-12);
  EXPECT_NEAR(m.dp_norm, 1, 1e-12);
}

TEST(DispersionMeasures, UndefinedCases) {
  const DispersionMeasures none = MeasureDispersion({0, 0}, {5, 5});
  EXPECT_EQ(none.range, 0);
  EXPECT_TRUE(std::isnan(none.juilland_d) && std::isnan(none.dp) && std::isnan(none.dp_norm));
  const DispersionMeasures one = MeasureDispersion({2}, {5});
  EXPECT_TRUE(std::isnan(one.juilland_d) && std::isnan(one.dp_norm));
  EXPECT_EQ(one.dp, 0);
  // A part without words has no relative frequency: it is left out.
  const DispersionMeasures with_empty = MeasureDispersion({1, 0, 1}, {5, 0, 5});
  EXPECT_NEAR(with_empty.juilland_d, 1, 1e-12);
}

class DispersionOfTwoFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(dir_.Path("1.txt"), "Jury a b jury\n");     // words 0..3, hits at 0 and 3
    WriteText(dir_.Path("2.txt"), "c d e f g h JURY\n");  // words 4..10, a hit at 10
    WriteText(dir_.Path("3.txt"), "...\n");               // no words: no part
    CorpusOptions options;
    options.paths = {dir_.path().string()};
    corpus_ = std::make_unique<Corpus>(options);
  }
  DispersionResult Run(int parts) const {
    DispersionSettings settings;
    settings.words = {"jury"};
    settings.parts = parts;
    return DispersionJob(settings).Run(*corpus_);
  }
  TempDir dir_;
  std::unique_ptr<Corpus> corpus_;
};

TEST_F(DispersionOfTwoFiles, OnePartPerFile) {
  const DispersionResult result = Run(0);
  EXPECT_EQ(result.files_read, 3);
  EXPECT_EQ(result.tokens, 11);
  EXPECT_EQ(result.hits, 3);
  ASSERT_EQ(result.parts.size(), 2u);
  EXPECT_EQ(result.parts[0].words, 4);
  EXPECT_EQ(result.parts[0].positions, (std::vector<double>{0, 0.75}));
  EXPECT_EQ(result.parts[1].words, 7);
  EXPECT_EQ(result.parts[1].positions, (std::vector<double>{6.0 / 7}));
  EXPECT_NEAR(result.parts[0].RelativeFrequency(), 0.5, 1e-15);
  EXPECT_EQ(result.measures.range, 2);
}

TEST_F(DispersionOfTwoFiles, EqualPartsRunAcrossFileEnds) {
  // 11 words in three parts: words 0-2, 3-6 and 7-10; hits at words 0, 3 and 10.
  const DispersionResult result = Run(3);
  ASSERT_EQ(result.parts.size(), 3u);
  EXPECT_EQ(result.parts[0].name, "segment 1 of 3");
  EXPECT_EQ(result.parts[0].words, 3);
  EXPECT_EQ(result.parts[1].words, 4);
  EXPECT_EQ(result.parts[2].words, 4);
  EXPECT_EQ(result.parts[0].positions, (std::vector<double>{0}));
  EXPECT_EQ(result.parts[1].positions, (std::vector<double>{0}));
  EXPECT_EQ(result.parts[2].positions, (std::vector<double>{0.75}));
  EXPECT_EQ(result.measures.range, 3);

  const DispersionResult single_words = Run(11);
  ASSERT_EQ(single_words.parts.size(), 11u);
  EXPECT_EQ(single_words.measures.range, 3);
  EXPECT_EQ(single_words.parts[10].hits, 1);
}

TEST_F(DispersionOfTwoFiles, BadRequests) {
  EXPECT_THROW(Run(12), JobError);  // more parts than words
  DispersionSettings settings;
  EXPECT_THROW(DispersionJob{settings}, JobError);
  settings.words = {"jury*"};
  EXPECT_THROW(DispersionJob(settings).Run(*corpus_), JobError);
}

}  // namespace
}  // namespace quill::jobs

namespace quill::jobs {
namespace {

// A job stopped before its first file ends with what it has, flagged, and
// never mistakes the empty counts for a bad request.
TEST(StatisticsJobsCancelled, EndEarlyWithoutAnError) {
  TempDir dir;
  WriteText(dir.Path("1.txt"), "jury and jury\n");
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);
  const std::atomic<bool> stop{true};
  JobControl control;
  control.cancel = &stop;

  const KeywordsResult keywords = KeywordsJob(KeywordsSettings{}).Run(corpus, corpus, control);
  EXPECT_TRUE(keywords.cancelled);
  EXPECT_TRUE(keywords.keywords.empty());

  CollocatesSettings collocates;
  collocates.nodes = {"jury"};
  const CollocatesResult near = CollocatesJob(collocates).Run(corpus, control);
  EXPECT_TRUE(near.cancelled);
  EXPECT_EQ(near.tokens, 0);

  DispersionSettings dispersion;
  dispersion.words = {"jury"};
  dispersion.parts = 2;
  const DispersionResult spread = DispersionJob(dispersion).Run(corpus, control);
  EXPECT_TRUE(spread.cancelled);
  EXPECT_TRUE(spread.parts.empty());
}

}  // namespace
}  // namespace quill::jobs
