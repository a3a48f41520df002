// Inputs that cannot be read and output that cannot be written: each is named
// on standard error, counted, and makes the exit status 2, while everything
// else is still read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "quillrt/files/zip_archive.h"
#include "test_support.h"

namespace quill::testing {
namespace {

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

std::string ReadFileText(const std::filesystem::path& file) {
  const std::vector<unsigned char> bytes = ReadAllBytes(file);
  return std::string(bytes.begin(), bytes.end());
}

void MakeZip(const std::filesystem::path& path, const std::string& entry, const std::string& text) {
  TZipArchive zip;
  zip.SetFileName(Utf8ToUtf16(path.string()));
  zip.OpenArchive(TZipOpenMode::create);
  zip.AddFromBytes(Utf8ToUtf16(entry), text);
  zip.CloseArchive();
}

class CliLostInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.Path("c"));
    WriteText(dir_.Path("c/good.txt"), "a cat and a dog\n");
  }
  std::string Corpus() const { return dir_.Path("c").string(); }
  TempDir dir_;
};

TEST_F(CliLostInputs, CorruptAndTruncatedArchivesAreNamedCountedAndFailTheRun) {
  WriteText(dir_.Path("c/corrupt.zip"), "PK\x03\x04 not really an archive at all");
  MakeZip(dir_.Path("whole.zip"), "inner.txt", "the cat inside the archive sat on the mat\n");
  const std::string whole = ReadFileText(dir_.Path("whole.zip"));
  WriteText(dir_.Path("c/truncated.zip"), whole.substr(0, whole.size() / 2));

  for (const char* command : {"concord", "wordlist", "ngrams", "files"}) {
    std::vector<std::string> args{command, "--zip", Corpus()};
    if (std::string(command) == "concord") args.insert(args.end(), {"-s", "cat"});
    const CliResult result = RunQuill(args);
    EXPECT_EQ(result.exit_code, 2) << command << "\n" << result.err;
    EXPECT_TRUE(Has(result.err, "corrupt.zip")) << command << "\n" << result.err;
    EXPECT_TRUE(Has(result.err, "truncated.zip")) << command << "\n" << result.err;
    EXPECT_TRUE(Has(result.err, "2 files skipped")) << command << "\n" << result.err;
    // The readable file is still read.
    EXPECT_TRUE(Has(result.out, "good.txt") || Has(result.out, "cat")) << command << "\n" << result.out;
  }
}

TEST_F(CliLostInputs, NamesThatCannotBeOpenedAreNotEmptyFiles) {
  std::filesystem::create_symlink(dir_.Path("nowhere.txt"), dir_.Path("c/dangling.txt"));
  const std::string dangling = dir_.Path("c/dangling.txt").string();

  const CliResult detect = RunQuill({"detect", dangling, dir_.Path("c/good.txt").string()});
  EXPECT_EQ(detect.exit_code, 2);
  EXPECT_FALSE(Has(detect.out, "empty")) << detect.out;
  EXPECT_TRUE(Has(detect.err, "dangling.txt")) << detect.err;
  EXPECT_TRUE(Has(detect.out, "good.txt")) << detect.out;

  const CliResult concord = RunQuill({"concord", "-q", "-s", "cat", dangling, dir_.Path("c/good.txt").string()});
  EXPECT_EQ(concord.exit_code, 2) << concord.err;
  EXPECT_TRUE(Has(concord.err, "dangling.txt")) << concord.err;
  EXPECT_TRUE(Has(concord.out, "cat")) << concord.out;
}

TEST_F(CliLostInputs, UnreadableFoldersAndFilesFailTheRun) {
  std::filesystem::create_directories(dir_.Path("c/locked"));
  WriteText(dir_.Path("c/locked/inside.txt"), "cat\n");
  WriteText(dir_.Path("c/locked.txt"), "cat\n");
  std::filesystem::permissions(dir_.Path("c/locked"), std::filesystem::perms::none);
  std::filesystem::permissions(dir_.Path("c/locked.txt"), std::filesystem::perms::none);
  const bool can_read_anything = std::ifstream(dir_.Path("c/locked.txt")).good();
  std::error_code ignored;
  if (can_read_anything) {
    std::filesystem::permissions(dir_.Path("c/locked"), std::filesystem::perms::owner_all, ignored);
    GTEST_SKIP() << "running as a user who can read any file";
  }
  for (const char* command : {"wordlist", "files"}) {
    const CliResult result = RunQuill({command, Corpus()});
    EXPECT_EQ(result.exit_code, 2) << command;
    EXPECT_TRUE(Has(result.err, "locked")) << result.err;
    EXPECT_TRUE(Has(result.err, "2 files skipped")) << result.err;
    EXPECT_FALSE(Has(result.out, "empty")) << result.out;
  }
  std::filesystem::permissions(dir_.Path("c/locked"), std::filesystem::perms::owner_all, ignored);
}

TEST_F(CliLostInputs, AMissingPathFailsTheRunButTheOthersAreCounted) {
  const std::string missing = dir_.Path("no-such-folder").string();
  for (const char* command : {"wordlist", "ngrams"}) {
    const CliResult result = RunQuill({command, missing, Corpus()});
    EXPECT_EQ(result.exit_code, 2) << command;
    EXPECT_TRUE(Has(result.err, "no-such-folder")) << result.err;
    EXPECT_TRUE(Has(result.out, "cat")) << result.out;
  }
  const CliResult concord = RunQuill({"concord", "-q", "-s", "dog", missing, Corpus()});
  EXPECT_EQ(concord.exit_code, 2);
  EXPECT_TRUE(Has(concord.out, "dog")) << concord.out;
  // An error wins over "nothing found" as well.
  EXPECT_EQ(RunQuill({"concord", "-q", "-s", "absent", missing, Corpus()}).exit_code, 2);
}

TEST_F(CliLostInputs, AnArchiveNamedDirectlyIsReadAsAnArchive) {
  MakeZip(dir_.Path("corpus.zip"), "texts/inner.txt", "zebras graze\n");
  // Named "data" to show that the content decides, not only the name.
  std::filesystem::copy_file(dir_.Path("corpus.zip"), dir_.Path("data"));
  for (const std::string& name : {dir_.Path("corpus.zip").string(), dir_.Path("data").string()}) {
    for (const bool zip_flag : {false, true}) {
      std::vector<std::string> args{"wordlist", name};
      if (zip_flag) args.push_back("--zip");
      const CliResult result = RunQuill(args);
      EXPECT_EQ(result.exit_code, 0) << result.err;
      EXPECT_EQ(result.out, "graze\t1\nzebras\t1\n") << name;
    }
  }
  const CliResult concord = RunQuill({"concord", "-q", "--format", "tsv", "-s", "zebras", dir_.Path("corpus.zip").string()});
  EXPECT_EQ(concord.exit_code, 0) << concord.err;
  EXPECT_TRUE(Has(concord.out, "inner.txt")) << concord.out;
}

TEST_F(CliLostInputs, WriteErrorsAreErrorsButAClosedPipeIsNot) {
  const std::vector<std::vector<std::string>> commands{{"wordlist", Corpus()},
                                                       {"ngrams", Corpus()},
                                                       {"concord", "-q", "-s", "cat", Corpus()},
                                                       {"files", Corpus()},
                                                       {"detect", dir_.Path("c/good.txt").string()}};
  for (const auto& args : commands) {
    const CliResult full = RunQuillRedirected(args, "/dev/null", "/dev/full");
    EXPECT_EQ(full.exit_code, 2) << args[0];
    EXPECT_TRUE(Has(full.err, "cannot write the output")) << args[0] << "\n" << full.err;
  }
  // Enough output to fill a pipe that nobody reads any more.
  std::string many;
  for (int i = 0; i < 40000; ++i) many += "w" + std::to_string(i) + " ";
  WriteText(dir_.Path("many.txt"), many);
  const CliResult piped =
      RunShell("\"$QUILL\" wordlist -q '" + dir_.Path("many.txt").string() + "' | head -n 1 >/dev/null");
  EXPECT_EQ(piped.exit_code, 0);
  EXPECT_TRUE(piped.err.empty()) << piped.err;
}

}  // namespace
}  // namespace quill::testing
