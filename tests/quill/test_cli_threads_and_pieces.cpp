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

// Ctrl-C asks the job to stop rather than ending the program: a list says
// it is partial (and is not saved), scores are not printed at all, and the
// run ends with status 2. The corpus is a pipe that the test holds open, so
// that the signal comes while quill is surely inside the job.
TEST(CliInterrupt, CtrlCStopsTheJobAndSaysWhatIsPartial) {
  TempDir dir;
  const std::filesystem::path fifo = dir.Path("pipe"), out = dir.Path("out"), err = dir.Path("err");
  // With job control on, the background quill hears Ctrl-C (a shell without
  // it starts background jobs with the signal ignored).
  WriteText(dir.Path("interrupt.sh"),
            "set -m\n"
            "mkfifo \"$FIFO\"\n"
            "\"$QUILL\" \"$@\" \"$FIFO\" > \"$OUT\" 2> \"$ERR\" & q=$!\n"
            "exec 3> \"$FIFO\"\n"  // returns once quill has opened the pipe, inside the job
            "printf 'the jury said that the jury\\n' >&3\n"
            "kill -INT $q\n"
            "exec 3>&-\n"
            "wait $q\n"
            "echo \"status $?\"\n");
  struct Case {
    std::string args;
    std::string said;
  };
  const std::string saved = dir.Path("w.lst").string();
  const std::vector<Case> cases = {
      {"wordlist -q --save '" + saved + "'",
       "interrupted: the list counts only the text read before Ctrl-C; " + saved + " was not written"},
      {"ngrams -q", "interrupted: the list counts only the text read before Ctrl-C"},
      {"dispersion -q -s jury", "interrupted: nothing printed"},
      {"collocates -q -s jury", "interrupted: nothing printed"},
      {"concord -s jury", "(interrupted)"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(fifo);
    const CliResult run = RunShell("FIFO='" + fifo.string() + "' OUT='" + out.string() + "' ERR='" + err.string() +
                                   "' QUILL=\"$QUILL\" timeout 60 bash '" + dir.Path("interrupt.sh").string() + "' " + c.args);
    const std::vector<unsigned char> bytes = ReadAllBytes(err);
    const std::string said(bytes.begin(), bytes.end());
    EXPECT_NE(run.out.find("status 2"), std::string::npos) << c.args << ": " << run.out << run.err << said;
    EXPECT_NE(said.find(c.said), std::string::npos) << c.args << ": " << said;
  }
  EXPECT_FALSE(std::filesystem::exists(saved));
}

}  // namespace
}  // namespace quill::testing
