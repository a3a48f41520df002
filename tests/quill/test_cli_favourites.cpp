// quill files --save-favourites and --favourites: a walk kept in a file and
// read again by every command instead of walking the folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "quillrt/vocabulary/tool_names.h"
#include "test_support.h"

namespace quill::testing {
namespace {

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

class CliFavourites : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.Path("c/deeper"));
    WriteText(dir_.Path("c/one.txt"), "the cat sat on the mat\n");
    WriteText(dir_.Path("c/deeper/two.txt"), "a cat and a dog\n");
    WriteText(dir_.Path("c/skip.bak"), "cat cat cat\n");
  }
  std::string Corpus() const { return dir_.Path("c").string(); }
  std::string Favourites() const { return dir_.Path("walk.fav").string(); }
  TempDir dir_;
};

TEST_F(CliFavourites, ASavedWalkGivesEveryCommandTheSameAnswer) {
  const CliResult saved = RunQuill({"files", "--exclude-ext", ".bak", "--save-favourites", Favourites(), Corpus()});
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  // Not part of the saved walk, and the walk's options need not be repeated.
  WriteText(dir_.Path("c/later.txt"), "cat\n");
  std::filesystem::remove(dir_.Path("c/later.txt"));

  EXPECT_EQ(RunQuill({"files", "--favourites", Favourites()}).out, saved.out);
  const CliResult walked = RunQuill({"wordlist", "--exclude-ext", ".bak", Corpus()});
  const CliResult read = RunQuill({"wordlist", "--favourites", Favourites()});
  EXPECT_EQ(read.exit_code, 0) << read.err;
  EXPECT_EQ(read.out, walked.out);
  EXPECT_TRUE(Has(read.out, "cat\t2\n")) << read.out;
  const CliResult concord = RunQuill({"concord", "-q", "--format", "tsv", "-s", "dog", "--favourites", Favourites()});
  EXPECT_EQ(concord.exit_code, 0) << concord.err;
  EXPECT_TRUE(Has(concord.out, "two.txt")) << concord.out;

  // A file of the walk that has gone since is named when it is read.
  std::filesystem::remove(dir_.Path("c/one.txt"));
  const CliResult gone = RunQuill({"wordlist", "--favourites", Favourites()});
  EXPECT_EQ(gone.exit_code, 2);
  EXPECT_TRUE(Has(gone.err, "one.txt")) << gone.err;
  EXPECT_TRUE(Has(gone.out, "dog\t1\n")) << gone.out;
}

TEST_F(CliFavourites, FilesThatAreNotThisToolsFavouritesAreRefusedClearly) {
  const CliResult missing = RunQuill({"wordlist", "--favourites", Favourites()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_TRUE(Has(missing.err, "Cannot read: " + Favourites())) << missing.err;
  EXPECT_TRUE(missing.out.empty()) << missing.out;

  ASSERT_EQ(RunQuill({"files", "--save-favourites", Favourites(), Corpus()}).exit_code, 0);
  // The same walk stamped by another tool.
  std::vector<unsigned char> bytes = ReadAllBytes(Favourites());
  const std::int32_t stored = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
  const std::int32_t other = CurrentSignatureOf(tool_concordancer);
  ASSERT_NE(other, stored);
  for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<unsigned char>(other >> (8 * i));
  WriteAllBytes(Favourites(), bytes);
  const CliResult foreign = RunQuill({"concord", "-s", "cat", "--favourites", Favourites()});
  EXPECT_EQ(foreign.exit_code, 2);
  EXPECT_TRUE(Has(foreign.err, "favourites file of another tool")) << foreign.err;
  EXPECT_TRUE(foreign.out.empty()) << foreign.out;

  // More than one walk cannot be kept as one; nothing is written.
  const CliResult two = RunQuill({"files", "--save-favourites", dir_.Path("two.fav").string(), Corpus(),
                                  dir_.Path("c/one.txt").string()});
  EXPECT_EQ(two.exit_code, 2);
  EXPECT_TRUE(Has(two.err, "one folder")) << two.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("two.fav")));
}

}  // namespace
}  // namespace quill::testing
