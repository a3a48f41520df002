// The comparer's percentage and verdicts, the line-end-blind pass, and the
// cases where a naive percentage would lie (empty files, huge files, texts full
// of line ends).
#include <gtest/gtest.h>

#include <filesystem>

#include "quillfs/file_comparer.h"
#include "quillfs_test_support.h"
#include "quillrt/platform/file_system.h"
#include "test_support.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::PatternBytes;
using testing::ScriptedAnswers;
using testing::TempDir;
using testing::WriteAllBytes;
using testing::WriteText;

class ComparerTest : public ::testing::Test {
 protected:
  float Compare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, bool ignore_line_ends = false) {
    WriteAllBytes(dir_.Path("a"), a);
    WriteAllBytes(dir_.Path("b"), b);
    comparer_.SetFile1(dir_.File("a"));
    comparer_.SetFile2(dir_.File("b"));
    comparer_.SetSilentComparison(true);
    return comparer_.PercentMatching(ignore_line_ends);
  }
  float CompareText(const std::string& a, const std::string& b, bool ignore_line_ends) {
    return Compare({a.begin(), a.end()}, {b.begin(), b.end()}, ignore_line_ends);
  }

  TempDir dir_;
  TFileComparer comparer_;
};

TEST_F(ComparerTest, EqualFilesMatchInEveryRespectAndSaySo) {
  const auto bytes = PatternBytes(300000);
  WriteAllBytes(dir_.Path("a"), bytes);
  fs::copy_file(dir_.Path("a"), dir_.Path("b"));
  ASSERT_TRUE(SetFileLastWriteStamp(dir_.File("b"), TFileStamp{1500000000, 0}));
  ASSERT_TRUE(SetFileLastWriteStamp(dir_.File("a"), TFileStamp{1500000000, 0}));
  comparer_.SetFile1(dir_.File("a"));
  comparer_.SetFile2(dir_.File("b"));
  ScriptedAnswers recorder(IDOK);
  EXPECT_EQ(comparer_.PercentMatching(false), 100.0f);
  EXPECT_TRUE(comparer_.ContentsMatch());
  EXPECT_TRUE(comparer_.SizesMatch());
  EXPECT_TRUE(comparer_.DatesMatch());
  EXPECT_TRUE(comparer_.AttributesMatch());
  EXPECT_TRUE(comparer_.Identical());
  ASSERT_EQ(recorder.asked.size(), 1u);
  EXPECT_NE(recorder.asked[0].find("Comparison: "), std::string::npos);
  EXPECT_NE(recorder.asked[0].find(" matches "), std::string::npos);
}

TEST_F(ComparerTest, TheScoreIsTheEqualShareOfTheCommonLengthFromTheStart) {
  auto a = PatternBytes(102400);
  auto b = a;
  b[51200] ^= 1;
  EXPECT_EQ(Compare(a, b), 50.0f);
  EXPECT_FALSE(comparer_.ContentsMatch());

  a = PatternBytes(200000);
  b = a;
  b.back() ^= 1;
  EXPECT_LT(Compare(a, b), 100.0f);
  EXPECT_FALSE(comparer_.ContentsMatch());
}

TEST_F(ComparerTest, APrefixScores100ButIsNotIdentical) {
  const auto a = PatternBytes(150000);
  auto b = a;
  b.push_back('x');
  EXPECT_EQ(Compare(a, b), 100.0f);
  EXPECT_TRUE(comparer_.ContentsMatch());
  EXPECT_FALSE(comparer_.SizesMatch());
  EXPECT_FALSE(comparer_.Identical());
}

TEST_F(ComparerTest, EmptyFilesNeverDivideByZero) {
  EXPECT_EQ(Compare({}, {}), 100.0f);
  EXPECT_TRUE(comparer_.Identical());
  EXPECT_EQ(Compare({}, {'a'}), 0.0f);
  EXPECT_FALSE(comparer_.ContentsMatch());
  EXPECT_EQ(Compare({'a'}, {}, true), 0.0f);
  EXPECT_FALSE(comparer_.ContentsMatch());
}

TEST_F(ComparerTest, AMissingFileScoresZeroAndShowsNothing) {
  WriteText(dir_.Path("a"), "text");
  comparer_.SetFile1(dir_.File("a"));
  comparer_.SetFile2(dir_.File("missing"));
  ScriptedAnswers recorder(IDOK);
  EXPECT_EQ(comparer_.PercentMatching(), 0.0f);
  EXPECT_FALSE(comparer_.ContentsMatch());
  EXPECT_FALSE(comparer_.AttributesMatch());
  EXPECT_TRUE(recorder.asked.empty());
}

TEST_F(ComparerTest, LineEndsAreIgnoredOnlyWhenAsked) {
  const std::string crlf = "one\r\ntwo\r\nthree\r\n", lf = "one\ntwo\nthree\n";
  EXPECT_LT(CompareText(crlf, lf, false), 100.0f);
  EXPECT_FALSE(comparer_.CRLFs_were_ignored);
  EXPECT_EQ(CompareText(crlf, lf, true), 100.0f);
  EXPECT_TRUE(comparer_.CRLFs_were_ignored);
  EXPECT_TRUE(comparer_.ContentsMatch());
  EXPECT_TRUE(comparer_.Identical());
}

TEST_F(ComparerTest, TheLineEndBlindPassNeverExceeds100NorCallsDifferentTextsAMatch) {
  // Many line ends in File1 before a difference would push a position-based
  // score far above 100.
  const float many = CompareText(std::string(1000, '\n') + "ab", "ac", true);
  EXPECT_LT(many, 100.0f);
  EXPECT_GE(many, 0.0f);
  EXPECT_FALSE(comparer_.ContentsMatch());
  // One text going on after the other ends is a difference too.
  EXPECT_LT(CompareText("a\r\nb", "a\nbc", true), 100.0f);
  EXPECT_FALSE(comparer_.ContentsMatch());
  EXPECT_EQ(CompareText("a\r\nbcd", "a\nbxy", true), 50.0f);  // "ab" of "abcd" agree
}

TEST_F(ComparerTest, ProgressCountsUpThroughFile2) {
  std::vector<std::int32_t> seen;
  comparer_.OnCheckProgress = [&](std::int32_t percent) { seen.push_back(percent); };
  const auto bytes = PatternBytes(kCompareBlock * 4);
  Compare(bytes, bytes);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{0, 25, 50, 75}));
}

TEST(SharePercent, StaysBelow100ForAnyDifferenceHoweverLarge) {
  EXPECT_EQ(ShareAsPercent(0, 0), 100.0f);
  EXPECT_EQ(ShareAsPercent(5, 5), 100.0f);
  EXPECT_EQ(ShareAsPercent(1, 4), 25.0f);
  EXPECT_LT(ShareAsPercent(999'999'999'999LL, 1'000'000'000'000LL), 100.0f);
  EXPECT_GT(ShareAsPercent(999'999'999'999LL, 1'000'000'000'000LL), 99.99f);
}

}  // namespace
}  // namespace quill
