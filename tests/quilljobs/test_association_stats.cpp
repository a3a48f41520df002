// The keyness and collocation statistics against tables worked by hand, and
// the keywords job's counting, filtering and ranking on small corpora.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "quilljobs/association_stats.h"
#include "quilljobs/keywords_job.h"
#include "quillrt/framework/encoding.h"
#include "test_support.h"

namespace quill::jobs {
namespace {

using quill::testing::TempDir;
using quill::testing::WriteText;

constexpr double kTight = 1e-12;

// a = 10 of 1000 target words, b = 5 of 2000 reference words: the expected
// frequencies are 5 and 10, every cell is 5 away from its expectation.
TEST(KeynessScores, WorkedTable) {
  const KeynessScores s = ScoreKeyness({10, 5, 1000, 2000});
  EXPECT_NEAR(s.log_likelihood, 10 * std::log(2.0), kTight);  // 2 (10 ln 2 + 5 ln 1/2)
  // Yates: sum of (|O - E| - 0.5)^2 / E over the four cells.
  EXPECT_NEAR(s.chi_square, 4.5 * 4.5 * (1 / 5.0 + 1 / 10.0 + 1 / 995.0 + 1 / 1990.0), kTight);
  EXPECT_NEAR(s.percent_diff, 300, kTight);  // 1% against 0.25%
  EXPECT_NEAR(s.log_ratio, 2, kTight);
  EXPECT_NEAR(s.bic, 10 * std::log(2.0) - std::log(3000.0), kTight);
  EXPECT_TRUE(s.positive);

  const KeynessScores mirrored = ScoreKeyness({5, 10, 2000, 1000});
  EXPECT_NEAR(mirrored.log_likelihood, s.log_likelihood, kTight);
  EXPECT_NEAR(mirrored.chi_square, s.chi_square, kTight);
  EXPECT_NEAR(mirrored.log_ratio, -2, kTight);
  EXPECT_NEAR(mirrored.percent_diff, -75, kTight);
  EXPECT_FALSE(mirrored.positive);
}

TEST(KeynessScores, ZeroFrequenciesAndEqualProportions) {
  const KeynessScores absent = ScoreKeyness({4, 0, 100, 100});
  EXPECT_NEAR(absent.log_likelihood, 8 * std::log(2.0), kTight);  // the empty cell adds nothing
  EXPECT_NEAR(absent.log_ratio, 3, kTight);                      // 4 against half an occurrence
  EXPECT_EQ(absent.percent_diff, std::numeric_limits<double>::infinity());

  const KeynessScores only_in_reference = ScoreKeyness({0, 4, 100, 100});
  EXPECT_NEAR(only_in_reference.log_ratio, -3, kTight);
  EXPECT_NEAR(only_in_reference.percent_diff, -100, kTight);
  EXPECT_FALSE(only_in_reference.positive);

  // The correction would overshoot a difference smaller than half the table.
  const KeynessScores same = ScoreKeyness({1, 1, 100, 100});
  EXPECT_EQ(same.chi_square, 0);
  EXPECT_EQ(same.log_likelihood, 0);
  EXPECT_EQ(same.log_ratio, 0);

  // A word that is every token of both corpora: no table to test.
  EXPECT_EQ(ScoreKeyness({3, 5, 3, 5}).chi_square, 0);
}

TEST(CriticalValues, TabledAndComputed) {
  double value = 0;
  ASSERT_TRUE(TabledCriticalValue(0.05, value));
  EXPECT_EQ(value, 3.84);
  ASSERT_TRUE(TabledCriticalValue(0.0001, value));
  EXPECT_EQ(value, 15.13);
  EXPECT_FALSE(TabledCriticalValue(0.02, value));
  // Published quantiles of chi-square with one degree of freedom.
  EXPECT_NEAR(ChiSquareCriticalValue(0.05), 3.841458820694124, 1e-9);
  EXPECT_NEAR(ChiSquareCriticalValue(0.01), 6.634896601021214, 1e-9);
  EXPECT_NEAR(ChiSquareCriticalValue(0.0001), 15.136705226623606, 1e-9);
  EXPECT_NEAR(std::erfc(std::sqrt(ChiSquareCriticalValue(1e-12) / 2)), 1e-12, 1e-20);
}

// O = 4 in the spans of a node met 10 times with two positions each (R1 = 20),
// a collocate met 20 times, N = 1000: E = 0.4.
TEST(CollocationScores, WorkedTable) {
  const CollocationScores s = ScoreCollocation({4, 10, 20, 2, 1000});
  EXPECT_NEAR(s.expected, 0.4, kTight);
  EXPECT_NEAR(s.mi, std::log2(10.0), kTight);
  EXPECT_NEAR(s.mi3, std::log2(160.0), kTight);
  EXPECT_NEAR(s.t_score, 1.8, kTight);
  EXPECT_NEAR(s.z_score, 3.6 / std::sqrt(0.4), kTight);
  // Cells 4, 16, 16, 964 against 0.4, 19.6, 19.6, 960.4.
  EXPECT_NEAR(s.log_likelihood,
              2 * (4 * std::log(10.0) + 32 * std::log(16 / 19.6) + 964 * std::log(964 / 960.4)), 1e-10);
  EXPECT_NEAR(s.dice, 8.0 / 30, kTight);
  EXPECT_NEAR(s.log_dice, 14 + std::log2(8.0 / 30), kTight);
  EXPECT_NEAR(s.log_ratio, std::log2((4 / 20.0) / (16 / 980.0)), kTight);

  const TRelationshipArray values = RelationshipValues(s);
  EXPECT_FLOAT_EQ(values[MI_MI], static_cast<float>(s.mi));
  EXPECT_FLOAT_EQ(values[MI_T_Score], 1.8f);
  EXPECT_FLOAT_EQ(values[MI_Dice], static_cast<float>(8.0 / 30));
}

TEST(CollocationScores, CollocateOnlyInsideTheSpans) {
  // Every occurrence of the collocate is next to the node: nothing outside,
  // so Log Ratio counts half an occurrence there.
  const CollocationScores s = ScoreCollocation({3, 3, 3, 2, 100});
  EXPECT_NEAR(s.log_ratio, std::log2((3 / 6.0) / (0.5 / 94)), kTight);
  EXPECT_NEAR(s.dice, 1, kTight);
  EXPECT_NEAR(s.log_dice, 14, kTight);
  EXPECT_TRUE(std::isfinite(s.log_likelihood));
}

class KeywordsOnSmallCorpora : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"target", "ref", "empty"}) std::filesystem::create_directories(dir_.Path(folder));
    // Target: 10 words; reference: 20 words.
    WriteText(dir_.Path("target/t.txt"), "Apple apple apple apple banana cherry cherry date egg fig\n");
    WriteText(dir_.Path("ref/r.txt"),
              "apple banana banana banana banana banana cherry cherry cherry cherry "
              "date date grape grape grape grape grape grape grape grape\n");
    target_ = Open("target");
    reference_ = Open("ref");
  }

  std::unique_ptr<Corpus> Open(const std::string& folder) const {
    CorpusOptions options;
    options.paths = {dir_.Path(folder).string()};
    return std::make_unique<Corpus>(options);
  }

  KeywordsResult Run(KeywordsSettings settings) const { return KeywordsJob(settings).Run(*target_, *reference_); }

  static std::string Words(const KeywordsResult& result) {
    std::string words;
    for (const Keyword& k : result.keywords) words += (words.empty() ? "" : " ") + Utf16ToUtf8(k.word);
    return words;
  }

  TempDir dir_;
  std::unique_ptr<Corpus> target_, reference_;
};

TEST_F(KeywordsOnSmallCorpora, CountsBothCorporaAndRanksEachDirection) {
  KeywordsSettings settings;
  settings.stat = KeynessStat::log_ratio;
  const KeywordsResult result = Run(settings);
  EXPECT_EQ(result.target_tokens, 10);
  EXPECT_EQ(result.ref_tokens, 20);
  EXPECT_EQ(result.words_tested, 6);
  // Positive by Log Ratio: apple 4 vs 1 (8x), egg and fig 1 vs 0 (4x), cherry
  // and date equal-ish; negative: banana 1 vs 5, weakest last.
  ASSERT_EQ(result.keywords.size(), 6u);
  EXPECT_EQ(Words(result), "Apple egg fig cherry date banana");
  const Keyword& apple = result.keywords[0];
  EXPECT_EQ(apple.target_freq, 4);  // "Apple" and "apple" are one word
  EXPECT_EQ(apple.ref_freq, 1);
  EXPECT_NEAR(apple.scores.log_ratio, 3, kTight);
  EXPECT_NEAR(result.keywords[3].scores.log_ratio, 0, kTight);  // cherry: 2/10 against 4/20
  EXPECT_FALSE(result.keywords[5].scores.positive);
}

TEST_F(KeywordsOnSmallCorpora, DirectionsReferenceOnlyWordsAndMinimumFrequency) {
  KeywordsSettings settings;
  settings.direction = KeywordDirection::negative;
  // date (1 of 10 against 2 of 20) is as frequent in both: not negative.
  EXPECT_EQ(Words(Run(settings)), "banana");
  settings.reference_only_words = true;
  // grape: 0 against 8, the strongest negative keyword by log-likelihood.
  const KeywordsResult with_grape = Run(settings);
  EXPECT_EQ(Words(with_grape), "grape banana");
  EXPECT_EQ(with_grape.keywords[0].target_freq, 0);
  settings.min_freq = 6;  // counted where the word is over-represented: the reference
  EXPECT_EQ(Words(Run(settings)), "grape");
  settings.direction = KeywordDirection::positive;
  settings.min_freq = 2;
  EXPECT_EQ(Words(Run(settings)), "Apple cherry");
}

TEST_F(KeywordsOnSmallCorpora, SignificanceFilterAndBonferroni) {
  KeywordsSettings settings;
  settings.p = 0.05;
  settings.reference_only_words = true;
  const KeywordsResult result = Run(settings);
  EXPECT_EQ(result.critical_value, 3.84);
  for (const Keyword& k : result.keywords) EXPECT_GE(k.scores.log_likelihood, 3.84);
  // grape: 2 * 8 ln(30/20) = 6.49; apple: 2 (4 ln(4/(10*5/30)) + ln(1/(20*5/30))) = 4.59.
  EXPECT_EQ(Words(result), "Apple grape");
  settings.bonferroni = true;  // 7 words tested: p = 0.05 / 7
  const KeywordsResult corrected = Run(settings);
  EXPECT_NEAR(corrected.critical_value, ChiSquareCriticalValue(0.05 / 7), 1e-12);
  EXPECT_GT(corrected.critical_value, 6.49);
  EXPECT_TRUE(corrected.keywords.empty());
}

TEST_F(KeywordsOnSmallCorpora, BadRequestsAndEmptyCorpora) {
  KeywordsSettings settings;
  settings.p = 0.02;
  EXPECT_THROW(KeywordsJob{settings}, JobError);
  settings.p = 0;
  settings.min_freq = 0;
  EXPECT_THROW(KeywordsJob{settings}, JobError);
  WriteText(dir_.Path("empty/e.txt"), "... !!!\n");
  const auto empty = Open("empty");
  try {
    KeywordsJob(KeywordsSettings{}).Run(*target_, *empty);
    FAIL() << "an empty reference was scored";
  } catch (const JobError& e) {
    EXPECT_EQ(e.kind(), JobError::bad_request);
    EXPECT_STREQ(e.what(), "the reference corpus holds no words");
  }
}

}  // namespace
}  // namespace quill::jobs
