// quill wordlist and quill ngrams on small corpora made in a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cli_runner.h"
#include "quillrt/files/zip_archive.h"
#include "test_support.h"

namespace quill::testing {
namespace {

// A UTF-16 little-endian file with its byte-order mark.
void WriteUtf16(const std::filesystem::path& file, const std::u16string& text) {
  std::vector<unsigned char> bytes{0xFF, 0xFE};
  for (const char16_t c : text) {
    bytes.push_back(static_cast<unsigned char>(c & 0xFF));
    bytes.push_back(static_cast<unsigned char>(c >> 8));
  }
  WriteAllBytes(file, bytes);
}

class CliWordList : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.Path("corpus/sub"));
    WriteText(dir_.Path("corpus/a.txt"), "The cat saw the dog.\nCaf\xC3\xA9 caf\xC3\xA9 CAF\xC3\x89\n");
    WriteUtf16(dir_.Path("corpus/b.txt"), u"the end of the story");
    WriteText(dir_.Path("corpus/sub/c.dat"), "Zebra zebra the");
  }
  std::string Corpus() const { return dir_.Path("corpus").string(); }
  TempDir dir_;
};

TEST_F(CliWordList, CountsAFolderTreeByFrequency) {
  const CliResult result = RunQuill({"wordlist", Corpus(), "--by-freq"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(result.err.empty()) << result.err;
  // "the" five times (first spelled The), the UTF-8 and UTF-16 files both read,
  // the file in the subfolder too; ties in code-unit order.
  EXPECT_EQ(result.out,
            "The\t5\n"
            "Caf\xC3\xA9\t3\n"
            "Zebra\t2\n"
            "cat\t1\ndog\t1\nend\t1\nof\t1\nsaw\t1\nstory\t1\n");
}

TEST_F(CliWordList, ReadsUtf16WithoutAByteOrderMarkInEitherOrder) {
  const std::u16string text = u"Gr\u00FC\u00DFe aus K\u00F6ln, gr\u00FC\u00DFe!";
  std::vector<unsigned char> little, big;
  for (const char16_t c : text) {
    little.insert(little.end(), {static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>(c >> 8)});
    big.insert(big.end(), {static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c & 0xFF)});
  }
  WriteAllBytes(dir_.Path("le.txt"), little);
  WriteAllBytes(dir_.Path("be.txt"), big);
  for (const char* name : {"le.txt", "be.txt"}) {
    const CliResult result = RunQuill({"wordlist", dir_.Path(name).string(), "--by-freq"});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out, "Gr\xC3\xBC\xC3\x9F" "e\t2\nK\xC3\xB6ln\t1\naus\t1\n") << name;
  }
}

TEST_F(CliWordList, AlphabeticalWithLengthTopMaskAndSubfolderOptions) {
  CliResult result = RunQuill({"wordlist", Corpus(), "--min-length", "4", "--no-subfolders"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Caf\xC3\xA9\t3\nstory\t1\n");

  result = RunQuill({"wordlist", Corpus(), "--mask", "*.dat", "--by-freq", "--top", "1"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Zebra\t2\n");

  // A file named on its own is read whatever the mask.
  result = RunQuill({"wordlist", dir_.Path("corpus/sub/c.dat").string(), "--mask", "*.txt"});
  EXPECT_EQ(result.out, "the\t1\nZebra\t2\n");
}

TEST_F(CliWordList, JsonOutput) {
  const CliResult result = RunQuill({"wordlist", Corpus(), "--by-freq", "--top", "2", "--format", "json"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "{\"files\": 3, \"tokens\": 16, \"lines\": 2, \"words\": [\n"
            "  {\"word\": \"The\", \"freq\": 5},\n"
            "  {\"word\": \"Caf\xC3\xA9\", \"freq\": 3}\n"
            "]}\n");
}

TEST_F(CliWordList, MissingPathsAndBadOptionsFailClearly) {
  const std::string missing = dir_.Path("no-such-folder").string();
  CliResult result = RunQuill({"wordlist", Corpus(), missing});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.err, "quill: skipped " + missing + ": no such file or folder\nquill: 1 file skipped\n");
  EXPECT_FALSE(result.out.empty());  // the corpus named beside it is still counted

  result = RunQuill({"ngrams", missing});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("no such file or folder"), std::string::npos);

  result = RunQuill({"wordlist", Corpus(), "--format", "xml"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("unknown output format"), std::string::npos);

  result = RunQuill({"wordlist", Corpus(), "--lang", "xx"});
  EXPECT_EQ(result.exit_code, 2) << result.err;
}

TEST_F(CliWordList, WithoutPathsAndWithoutTheDefaultCorpusSaysHowToGetIt) {
  const std::string missing = dir_.Path("brown").string();
  ::setenv("QUILL_DEFAULT_CORPUS", missing.c_str(), 1);
  const CliResult result = RunQuill({"wordlist"});
  ::unsetenv("QUILL_DEFAULT_CORPUS");
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("scripts/setup"), std::string::npos) << result.err;

  ::setenv("QUILL_DEFAULT_CORPUS", Corpus().c_str(), 1);
  const CliResult with_default = RunQuill({"wordlist", "--by-freq", "--top", "1"});
  ::unsetenv("QUILL_DEFAULT_CORPUS");
  EXPECT_EQ(with_default.exit_code, 0) << with_default.err;
  EXPECT_EQ(with_default.out, "The\t5\n");
}

TEST_F(CliWordList, NGramsStayInsideEachFile) {
  const CliResult result = RunQuill({"ngrams", "-n", "2", "--by-freq", dir_.Path("corpus/a.txt").string(),
                                     dir_.Path("corpus/b.txt").string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  // The full stop after "dog" starts afresh; nothing joins "CAFÉ" to "the end".
  EXPECT_EQ(result.out,
            "Caf\xC3\xA9 caf\xC3\xA9\t2\n"
            "The cat\t1\ncat saw\t1\nend of\t1\nof the\t1\nsaw the\t1\nthe dog\t1\nthe end\t1\nthe story\t1\n");

  const CliResult json = RunQuill({"ngrams", "-n", "3", "--format", "json", "--top", "1",
                                   dir_.Path("corpus/b.txt").string()});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(json.out,
            "{\"files\": 1, \"n\": 3, \"ngrams\": 3, \"lines\": 1, \"items\": [\n"
            "  {\"ngram\": \"end of the\", \"freq\": 1}\n]}\n");
}

TEST_F(CliWordList, LeavesOutPartOfSpeechTagsWhenAsked) {
  WriteText(dir_.Path("tagged.txt"), "The/at jury/nn said/vbd ./. The/at and/or ./.\n");
  const std::string tagged = dir_.Path("tagged.txt").string();
  CliResult result = RunQuill({"wordlist", tagged, "--pos-tags", "--by-freq"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "The\t2\nand\t1\njury\t1\nsaid\t1\n");
  // A full stop standing apart (after a blank) ends the sentence as well.
  result = RunQuill({"ngrams", tagged, "--pos-tags", "-n", "2"});
  EXPECT_EQ(result.out, "jury said\t1\nThe and\t1\nThe jury\t1\n");
  // Without the option the tags are words like any other.
  result = RunQuill({"wordlist", tagged});
  EXPECT_NE(result.out.find("at\t2\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("vbd\t1\n"), std::string::npos) << result.out;
}

TEST_F(CliWordList, ReadsFilesInsideZipArchives) {
  TZipArchive zip;
  zip.SetFileName(Utf8ToUtf16(dir_.Path("corpus/texts.zip").string()));
  zip.OpenArchive(TZipOpenMode::create);
  zip.AddFromBytes(u"inner.txt", "zipped words zipped");
  zip.CloseArchive();
  const CliResult without = RunQuill({"wordlist", Corpus(), "--mask", "*.txt", "--no-subfolders"});
  EXPECT_EQ(without.out.find("zipped"), std::string::npos);
  const CliResult with = RunQuill({"wordlist", Corpus(), "--mask", "*.txt", "--no-subfolders", "--zip", "--by-freq"});
  ASSERT_EQ(with.exit_code, 0) << with.err;
  EXPECT_NE(with.out.find("zipped\t2\n"), std::string::npos) << with.out;
}

}  // namespace
}  // namespace quill::testing
