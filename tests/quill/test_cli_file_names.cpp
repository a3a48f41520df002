// File names that are not UTF-8: found by the walk, opened by their bytes,
// counted, and shown escaped.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

TEST(CliFileNames, NamesThatAreNotUtf8AreReadAndShownEscaped) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("c"));
  const std::string latin1 = dir.Path("c").string() + "/caf\xE9.txt";  // "café" in Latin-1
  WriteText(latin1, "zebras in a latin one name\n");
  WriteText(dir.Path("c/plain.txt"), "zebras again\n");

  const CliResult files = RunQuill({"files", dir.Path("c").string()});
  EXPECT_EQ(files.exit_code, 0) << files.err;
  EXPECT_TRUE(Has(files.out, "/caf\\xE9.txt\t27\t")) << files.out;
  EXPECT_TRUE(Has(files.err, "2 files")) << files.err;

  for (const std::string& path : {dir.Path("c").string(), latin1}) {
    const CliResult words = RunQuill({"wordlist", "--by-freq", path});
    EXPECT_EQ(words.exit_code, 0) << words.err;
    EXPECT_TRUE(Has(words.out, "latin\t1\n")) << path << "\n" << words.out;
  }
  const CliResult count = RunQuill({"concord", "-q", "-s", "zebras", "--count", dir.Path("c").string()});
  EXPECT_EQ(count.exit_code, 0) << count.err;
  EXPECT_TRUE(Has(count.out, "zebras\t2\n")) << count.out;
  const CliResult concord = RunQuill({"concord", "-q", "--format", "tsv", "-s", "zebras", dir.Path("c").string()});
  EXPECT_TRUE(Has(concord.out, "/caf\\xE9.txt\t")) << concord.out;

  // A saved walk keeps the name's bytes.
  const std::string favourites = dir.Path("walk.fav").string();
  ASSERT_EQ(RunQuill({"files", "--save-favourites", favourites, dir.Path("c").string()}).exit_code, 0);
  const CliResult again = RunQuill({"wordlist", "--favourites", favourites});
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_TRUE(Has(again.out, "latin\t1\n")) << again.out;
}

}  // namespace
}  // namespace quill::testing
