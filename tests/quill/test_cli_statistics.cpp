// quill keywords and quill collocates on small corpora: what they print, and
// how they refuse a bad command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

class CliStatistics : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"target", "ref"}) std::filesystem::create_directories(dir_.Path(folder));
    WriteText(dir_.Path("target/t.txt"), "Apple apple apple apple banana cherry cherry date egg fig\n");
    WriteText(dir_.Path("ref/r1.txt"), "apple banana banana banana banana banana cherry cherry cherry cherry\n");
    WriteText(dir_.Path("ref/r2.txt"), "date date grape grape grape grape grape grape grape grape\n");
  }
  std::string Path(const std::string& name) const { return dir_.Path(name).string(); }
  TempDir dir_;
};

TEST_F(CliStatistics, KeywordsTsvHasAHeaderAndEveryScore) {
  // Both reference files after --ref, then an option: the target stays one file.
  const CliResult result = RunQuill({"keywords", Path("target"), "--ref", Path("ref/r1.txt"), Path("ref/r2.txt"),
                                     "--stat", "logratio", "--keys", "positive", "--top", "2", "-q"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  // Apple: 4 of 10 against 1 of 20; egg: 1 of 10, absent from the reference.
  EXPECT_EQ(result.out,
            "word\ttarget_freq\tref_freq\tll\tchi2\tdiff\tlogratio\tbic\tsign\n"
            "Apple\t4\t1\t4.59580429018\t3.63\t700\t3\t1.19460690852\t+\n"
            "egg\t1\t0\t2.19722457734\t0.129310344828\tinf\t2\t-1.20397280433\t+\n");
}

TEST_F(CliStatistics, KeywordsJsonWritesNullForAnInfiniteScore) {
  const CliResult result = RunQuill({"keywords", Path("target"), "--ref", Path("ref"), "--format", "json", "--p",
                                     "0.05", "--ref-only-words", "-q"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.out.find("\"target_tokens\": 10, \"ref_files\": 2, \"ref_tokens\": 20, \"words_tested\": 7, "
                            "\"critical_value\": 3.84"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("{\"word\": \"grape\", \"target_freq\": 0, \"ref_freq\": 8"), std::string::npos);
  EXPECT_NE(result.out.find("\"positive\": false}"), std::string::npos);

  const CliResult egg = RunQuill({"keywords", Path("target/t.txt"), "--ref", Path("ref"), "--stat", "diff",
                                  "--format", "json", "--top", "1", "--keys", "positive", "-q"});
  EXPECT_NE(egg.out.find("\"diff\": null"), std::string::npos) << egg.out;
}

TEST_F(CliStatistics, KeywordsRefuseBadRequests) {
  const auto refused = [](const std::vector<std::string>& args, const std::string& message) {
    const CliResult result = RunQuill(args);
    EXPECT_EQ(result.exit_code, 2) << message;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  };
  refused({"keywords", Path("target"), "--ref", Path("ref"), "--p", "0.02"}, "p must be 0.05, 0.01, 0.001 or 0.0001");
  refused({"keywords", Path("target"), "--ref", Path("ref"), "--stat", "mi"}, "unknown statistic: mi");
  refused({"keywords", Path("target"), "--ref", Path("ref"), "--keys", "up"}, "unknown direction: up");
  refused({"keywords", Path("target")}, "--ref");
  refused({"keywords", "--ref", Path("ref")}, "name the target corpus");
  // A reference lost on the way is reported and fails the run.
  const CliResult lost = RunQuill({"keywords", Path("target"), "--ref", Path("ref"), Path("missing"), "-q"});
  EXPECT_EQ(lost.exit_code, 2);
  EXPECT_NE(lost.err.find("skipped"), std::string::npos) << lost.err;
}

TEST_F(CliStatistics, CollocatesCountsAndScores) {
  WriteText(dir_.Path("c.txt"), "a b Node. C node d\n");
  const CliResult result = RunQuill({"collocates", Path("c.txt"), "-s", "node", "--span", "L1,R1", "--sentences",
                                     "--stat", "freq", "-q"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  // N = 6, the node twice, two positions each: E = 2 x 2 x 1 / 6 for every collocate.
  EXPECT_EQ(result.out.substr(0, result.out.find('\n')),
            "word\tO\tleft\tright\tfreq\tE\tmi\tmi3\tt\tz\tll\tdice\tlogdice\tlogratio");
  EXPECT_NE(result.out.find("\nb\t1\t1\t0\t1\t0.666666666667\t0.584962500721\t"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\nC\t1\t1\t0\t1\t"), std::string::npos);
  EXPECT_NE(result.out.find("\nd\t1\t0\t1\t1\t"), std::string::npos);
  EXPECT_EQ(result.out.find("\na\t"), std::string::npos);  // two words away

  const CliResult json = RunQuill({"collocates", Path("c.txt"), "-s", "NODE", "--format", "json", "-q",
                                   "--threshold", "mi=10"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(json.out, "{\"files\": 1, \"tokens\": 6, \"node_freq\": 2, \"span_size\": 10, \"collocates\": []}\n");
}

TEST_F(CliStatistics, CollocatesRefuseBadRequests) {
  WriteText(dir_.Path("c.txt"), "a b node\n");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--span", "5,5"}, {"--span", "L0,R0"}, {"--span", "L60,R1"}, {"--threshold", "mi"},
           {"--threshold", "logdice=3"}, {"--stat", "pmi"}, {"-s", "two words"}}) {
    std::vector<std::string> command{"collocates", Path("c.txt"), "-s", "node"};
    command.insert(command.end(), args.begin(), args.end());
    const CliResult result = RunQuill(command);
    EXPECT_EQ(result.exit_code, 2) << args[1];
    EXPECT_FALSE(result.err.empty());
    EXPECT_TRUE(result.out.empty());
  }
}

}  // namespace
}  // namespace quill::testing
