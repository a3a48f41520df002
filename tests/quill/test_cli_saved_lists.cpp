// Saved lists end to end: --save of wordlist, ngrams and concord, quill info
// on those and on files of earlier releases and batch zips, wordlist --load.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "quillrt/collections/stream_forms.h"
#include "quillrt/collections/string_lists_streamable.h"
#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/streams.h"
#include "quillrt/vocabulary/saved_list_header.h"
#include "test_support.h"

namespace quill::testing {
namespace {

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

std::vector<unsigned char> HeaderThen(std::int32_t version, const std::string& type, std::vector<unsigned char> body) {
  TCheckSignature sig;
  sig.signature = version;
  sig.type_of_data = type;
  const TCheckSignatureBytes header = CheckSignatureToBytes(sig);
  std::vector<unsigned char> bytes;
  bytes.reserve(header.size() + body.size());
  for (const unsigned char b : header) bytes.push_back(b);
  for (const unsigned char b : body) bytes.push_back(b);
  return bytes;
}

class CliSavedLists : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.Path("corpus"));
    WriteText(dir_.Path("corpus/a.txt"), "The cat saw the dog. The dog saw the cat.\n");
    WriteText(dir_.Path("corpus/b.txt"), "A dog is a dog; caf\xC3\xA9 au lait.\n");
  }
  std::string Corpus() const { return dir_.Path("corpus").string(); }
  std::string File(const std::string& name) const { return dir_.Path(name).string(); }
  TempDir dir_;
};

TEST_F(CliSavedLists, WordListRoundTrip) {
  const CliResult counted = RunQuill({"wordlist", "-q", "--by-freq", Corpus(), "--save", File("words.lst")});
  ASSERT_EQ(counted.exit_code, 0) << counted.err;
  // Saving changes nothing of what is printed.
  EXPECT_EQ(counted.out, RunQuill({"wordlist", "-q", "--by-freq", Corpus()}).out);

  const CliResult info = RunQuill({"info", File("words.lst")});
  ASSERT_EQ(info.exit_code, 0) << info.err;
  EXPECT_EQ(info.out, File("words.lst") + ": Word list (Wordlister, version 37), 9 entries\n");

  const CliResult loaded = RunQuill({"wordlist", "--load", File("words.lst")});
  ASSERT_EQ(loaded.exit_code, 0) << loaded.err;
  EXPECT_EQ(loaded.out, counted.out);
  const CliResult json = RunQuill({"wordlist", "--load", File("words.lst"), "--format", "json"});
  EXPECT_TRUE(Has(json.out, "\"lines\": 9")) << json.out;
  EXPECT_TRUE(Has(json.out, "{\"word\": \"caf\xC3\xA9\", \"freq\": 1}")) << json.out;

  // The header is the word-list tool's, for a word list.
  TFileStream stream(Utf8ToUtf16(File("words.lst")), fmOpenRead);
  TCheckSignature sig;
  EXPECT_TRUE(DiskSignatureISOKForToolAndList(sig, tool_word_lister, lt_word_list, stream, reading));
  EXPECT_EQ(sig.infosize, 1);
}

TEST_F(CliSavedLists, NGramListRoundTrip) {
  const CliResult counted = RunQuill({"ngrams", "-q", "-n", "2", "--by-freq", "--top", "3", Corpus(), "--save",
                                      File("pairs.lst")});
  ASSERT_EQ(counted.exit_code, 0) << counted.err;
  EXPECT_EQ(RunQuill({"info", File("pairs.lst")}).out,
            File("pairs.lst") + ": Word list of 2-grams (Wordlister, version 37), 3 entries\n");
  const CliResult loaded = RunQuill({"wordlist", "--load", File("pairs.lst")});
  ASSERT_EQ(loaded.exit_code, 0) << loaded.err;
  EXPECT_EQ(loaded.out, counted.out);
  EXPECT_TRUE(Has(RunQuill({"wordlist", "--load", File("pairs.lst"), "--format", "json"}).out, "\"n\": 2"));
}

TEST_F(CliSavedLists, ConcordanceIsSavedLineForLine) {
  const CliResult shown =
      RunQuill({"concord", "-q", "--format", "tsv", "-s", "dog", "--sort", "R1", Corpus(), "--save", File("dog.cnc")});
  ASSERT_EQ(shown.exit_code, 0) << shown.err;
  EXPECT_EQ(RunQuill({"info", File("dog.cnc")}).out,
            File("dog.cnc") + ": Concordance list (Concordancer, version 36), 4 entries\n");

  // The body, read back by its documented layout.
  TFileStream stream(Utf8ToUtf16(File("dog.cnc")), fmOpenRead);
  TCheckSignature sig;
  ASSERT_TRUE(DiskSignatureISOKForToolAndList(sig, tool_concordancer, lt_concordance_list, stream, reading));
  TMyStreamableStringlist searches, sources;
  ASSERT_TRUE(searches.ReadFromStream(stream));
  ASSERT_TRUE(sources.ReadFromStream(stream));
  EXPECT_EQ(searches.Count(), 1);
  EXPECT_EQ(searches[0], u"dog");
  ASSERT_EQ(sources.Count(), 2);
  ASSERT_EQ(stream.ReadLE<std::int32_t>(), 4);
  std::vector<std::int64_t> hit_numbers;
  for (int i = 0; i < 4; ++i) {
    const auto source = stream.ReadLE<std::int32_t>();
    EXPECT_TRUE(source == 0 || source == 1);
    const auto word = stream.ReadLE<std::int32_t>();
    EXPECT_GT(word, 0);
    stream.ReadLE<std::int32_t>();
    stream.ReadLE<std::int32_t>();
    EXPECT_EQ(stream.ReadLE<std::int32_t>(), 0);  // the first -s
    hit_numbers.push_back(stream.ReadLE<std::int64_t>());
    ReadAString(stream);
    EXPECT_EQ(ReadAString(stream), u"dog");
    ReadAString(stream);
  }
  EXPECT_EQ(stream.GetPosition(), stream.GetSize());
  std::sort(hit_numbers.begin(), hit_numbers.end());
  EXPECT_EQ(hit_numbers, (std::vector<std::int64_t>{1, 2, 3, 4}));

  // A concordance is no word list.
  const CliResult load = RunQuill({"wordlist", "--load", File("dog.cnc")});
  EXPECT_EQ(load.exit_code, 1);
  EXPECT_TRUE(Has(load.err, "is a Concordance list, not a word list")) << load.err;
}

TEST_F(CliSavedLists, InfoRecognisesEarlierReleasesEarlierVersionsAndBatchZips) {
  std::vector<unsigned char> old(64, 0);
  old[0] = 12;
  const std::string name = "Concordancer";
  std::copy(name.begin(), name.end(), old.begin() + 1);
  WriteAllBytes(dir_.Path("old.cnc"), old);
  WriteAllBytes(dir_.Path("v35.lst"), HeaderThen(35, "Word List32", {0, 0, 0, 0}));
  WriteAllBytes(dir_.Path("keys.kws"), HeaderThen(37, "Key Word List32", {1, 2, 3}));
  {
    TZipArchive zip;
    zip.SetFileName(Utf8ToUtf16(File("batch.zip")));
    zip.OpenArchive(TZipOpenMode::create);
    zip.AddFromBytes(u"one.cnc", "x");
    zip.AddFromBytes(u"two.cnc", "y");
    zip.SetComment("Quilry Batch file .cnc");
    zip.CloseArchive();
  }
  const CliResult info = RunQuill({"info", File("old.cnc"), File("v35.lst"), File("keys.kws"), File("batch.zip")});
  ASSERT_EQ(info.exit_code, 0) << info.out << info.err;
  EXPECT_EQ(info.out, File("old.cnc") + ": Concordance list (Concordancer, earlier release)\n" +
                          File("v35.lst") + ": Word list (Wordlister, version 35, an earlier version), entries not readable by quill\n" +
                          File("keys.kws") + ": Key word list (Keyness, version 37), entries not readable by quill\n" +
                          File("batch.zip") + ": batch zip of 2 Concordance list files (Concordancer)\n");
}

TEST_F(CliSavedLists, FilesThatAreNotSavedListsOrAreDamaged) {
  ASSERT_EQ(RunQuill({"wordlist", "-q", Corpus(), "--save", File("words.lst")}).exit_code, 0);
  auto bytes = ReadAllBytes(dir_.Path("words.lst"));
  bytes.resize(bytes.size() - 3);
  WriteAllBytes(dir_.Path("cut.lst"), bytes);

  WriteAllBytes(dir_.Path("v40.lst"), HeaderThen(40, "Word List32", {0, 0, 0, 0}));

  const CliResult info =
      RunQuill({"info", File("corpus/a.txt"), File("cut.lst"), File("missing.lst"), File("v40.lst")});
  EXPECT_EQ(info.exit_code, 1);
  EXPECT_EQ(info.out, File("corpus/a.txt") + ": not a saved list\n" + File("cut.lst") +
                          ": Word list (Wordlister, version 37), entries not readable by quill\n" +
                          File("missing.lst") + ": no such file\n" + File("v40.lst") +
                          ": a Word list header of unknown version 40\n");

  const CliResult load = RunQuill({"wordlist", "--load", File("cut.lst")});
  EXPECT_EQ(load.exit_code, 1);
  EXPECT_TRUE(Has(load.err, "cannot load")) << load.err;
  EXPECT_TRUE(load.out.empty()) << load.out;
}

TEST_F(CliSavedLists, AFailedSaveLeavesNothingAndReportsIt) {
  const CliResult into_nowhere = RunQuill({"wordlist", "-q", Corpus(), "--save", File("no/such/folder/w.lst")});
  EXPECT_EQ(into_nowhere.exit_code, 1);
  EXPECT_TRUE(Has(into_nowhere.err, "cannot save")) << into_nowhere.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("no")));

  // Saving over an older list replaces it whole.
  WriteText(dir_.Path("w.lst"), "an older file");
  ASSERT_EQ(RunQuill({"wordlist", "-q", Corpus(), "--save", File("w.lst")}).exit_code, 0);
  EXPECT_TRUE(Has(RunQuill({"info", File("w.lst")}).out, "9 entries"));
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path())) ++files;
  EXPECT_EQ(files, 2);  // the corpus folder and w.lst: no temporary file left
}

TEST_F(CliSavedLists, SaveAndCountDoNotGoTogether) {
  const CliResult both = RunQuill({"concord", "-s", "dog", "--count", Corpus(), "--save", File("c.cnc")});
  EXPECT_EQ(both.exit_code, 2);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("c.cnc")));
}

}  // namespace
}  // namespace quill::testing
