// Numbers out of range, context wider than the text, escapes from the corpus,
// and 8-bit text read in the code page of the language asked for.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

TEST(CliLimits, ContextIsCutToTheTextAndNumbersAreBounded) {
  TempDir dir;
  WriteText(dir.Path("a.txt"), "one short line with a target in it\n");
  const std::string file = dir.Path("a.txt").string();
  const CliResult wide = RunQuill({"concord", "-q", "--width", "10000", "--limit", "1", "-s", "target", file});
  EXPECT_EQ(wide.exit_code, 0) << wide.err;
  EXPECT_LT(wide.out.size(), 200u);  // no padding out to the width asked for

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"concord", "--width", "2147483647", "-s", "x", file},
           {"concord", "--width", "-1", "-s", "x", file},
           {"concord", "--limit", "-3", "-s", "x", file},
           {"concord", "--horizon", "1000", "-s", "x", file},
           {"ngrams", "-n", "101", file},
           {"wordlist", "--top", "-1", file}}) {
    const CliResult result = RunQuill(bad);
    EXPECT_EQ(result.exit_code, 2) << bad[1];
    EXPECT_LT(result.err.size(), 300u) << result.err;  // a short message, not the whole help
  }
  const CliResult help = RunQuill({"concord", "--help"});
  EXPECT_TRUE(Has(help.out, "0, all of them")) << help.out;
  EXPECT_TRUE(Has(help.out, "at most 10000")) << help.out;
}

TEST(CliHelp, ConcordHelpSummarisesTheSearchWordSyntaxAndExitStatus) {
  const CliResult help = RunQuill({"concord", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  for (const char* part : {"jury/juries", "colo?r", "==May==", "the * of", "--tag", "--pos-tags", "Exit status"})
    EXPECT_TRUE(Has(help.out, part)) << part << "\n" << help.out;
}

TEST(CliLimits, TerminalEscapesFromTheCorpusAreShownEscaped) {
  TempDir dir;
  WriteText(dir.Path("a.txt"), "before \x1b[2J target \x1b]0;title\x07 after\n");
  const CliResult result = RunQuill({"concord", "-q", "-s", "target", dir.Path("a.txt").string()});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_FALSE(Has(result.out, "\x1b")) << result.out;
  EXPECT_FALSE(Has(result.out, "\x07")) << result.out;
  EXPECT_TRUE(Has(result.out, "\\x1B[2J")) << result.out;
}

TEST(CliLanguages, EveryCommandReadsEightBitTextInTheLanguagesCodePage) {
  TempDir dir;
  // "Москва большая. Москва" in cp1251.
  WriteText(dir.Path("ru.txt"), "\xCC\xEE\xF1\xEA\xE2\xE0 \xE1\xEE\xEB\xFC\xF8\xE0\xFF. \xCC\xEE\xF1\xEA\xE2\xE0\n");
  const std::string file = dir.Path("ru.txt").string();
  const std::string moscow = "\u041C\u043E\u0441\u043A\u0432\u0430";
  const CliResult list = RunQuill({"wordlist", "--lang", "ru_RU", file});
  EXPECT_EQ(list.exit_code, 0) << list.err;
  EXPECT_TRUE(Has(list.out, moscow + "\t2\n")) << list.out;
  const CliResult ngrams = RunQuill({"ngrams", "--lang", "ru_RU", file});
  EXPECT_TRUE(Has(ngrams.out, moscow + " \u0431\u043E\u043B\u044C\u0448\u0430\u044F\t1\n")) << ngrams.out;
  const CliResult concord = RunQuill({"concord", "-q", "--count", "--lang", "ru_RU", "-s", moscow, file});
  EXPECT_TRUE(Has(concord.out, "total\t2\n")) << concord.out;
}

}  // namespace
}  // namespace quill::testing
