// Every core and large files on the command line: -j and --piece-size change
// nothing in what is printed, and an endless input ends with a message.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST(CliThreads, OutputIsByteIdenticalOnOneThreadAndOnMany) {
  std::filesystem::path corpus = std::filesystem::path(QUILL_SOURCE_DIR) / "data" / "brown";
  if (!std::filesystem::exists(corpus / "ca01")) GTEST_SKIP() << "the demo corpus is not fetched";
  const std::vector<std::string> texts{"--pos-tags", "--mask", "ca*;cb*;cc*", corpus.string()};
  const std::vector<std::vector<std::string>> commands = {
      With({"concord", "-q", "-s", "jury/juries", "-s", "in the", "--format", "tsv"}, texts),
      With({"concord", "-q", "-s", "the", "--sort", "R1,L1", "--limit", "200"}, texts),
      With({"wordlist", "-q", "--by-freq"}, texts),
      With({"ngrams", "-q", "-n", "3"}, texts),
  };
  for (const auto& command : commands) {
    const CliResult one = RunQuill(With(command, {"-j", "1"}));
    ASSERT_EQ(one.exit_code, 0) << command[0] << ": " << one.err;
    ASSERT_FALSE(one.out.empty());
    for (const std::string threads : {"2", "3"}) {
      const CliResult many = RunQuill(With(command, {"-j", threads}));
      EXPECT_EQ(many.exit_code, 0) << many.err;
      EXPECT_TRUE(many.out == one.out) << command[0] << " differs with -j " << threads;
    }
  }
}

TEST(CliPieces, ALargeFileInTinyPiecesPrintsWhatTheWholeFilePrints) {
  TempDir dir;
  std::string text;
  for (int i = 0; text.size() < 200000; ++i)
    text += "<p><s>The jury of the city said " + std::to_string(i) + ".</s> <s>In the end.</s></p>\n";
  WriteText(dir.Path("big.txt"), text);
  const std::vector<std::string> search{"concord", "-q", "-s", "of the/jury", "--format", "tsv",
                                        dir.Path("big.txt").string()};
  const CliResult whole = RunQuill(search);
  ASSERT_EQ(whole.exit_code, 0) << whole.err;
  const CliResult pieces = RunQuill(With(search, {"--piece-size", "3K", "-j", "2"}));
  EXPECT_EQ(pieces.exit_code, 0) << pieces.err;
  EXPECT_TRUE(pieces.out == whole.out);
  EXPECT_NE(RunQuill(With(search, {"--piece-size", "0"})).exit_code, 0);
  EXPECT_NE(RunQuill(With(search, {"--piece-size", "lots"})).exit_code, 0);
}

TEST(CliPieces, AnEndlessInputEndsWithAMessage) {
  // Binary from its first bytes: left out at once (read as text, it would stop
  // at the most a stream may give, which the jobs' tests check).
  const CliResult zero = RunQuill({"concord", "-s", "x", "/dev/zero"});
  EXPECT_EQ(zero.exit_code, 1);
  EXPECT_NE(zero.err.find("1 binary file skipped"), std::string::npos) << zero.err;
}

}  // namespace
}  // namespace quill::testing
