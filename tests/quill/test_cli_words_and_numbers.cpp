// The words every command counts, the numbers a concordance reports, and
// tagged (word/TAG) corpora: the same answers from concord, wordlist and
// ngrams, and the same from tagged text as from the text without its tags.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

// The frequency wordlist gives `word` (first column compared without case).
long long WordListFrequency(const std::string& list, const std::string& word) {
  std::istringstream lines(list);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t tab = line.find('\t');
    std::string key = line.substr(0, tab);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key == word) return std::stoll(line.substr(tab + 1));
  }
  return 0;
}

long long ConcordCount(const std::vector<std::string>& corpus_args, const std::string& word) {
  std::vector<std::string> args{"concord", "-q", "--count", "-s", word};
  args.insert(args.end(), corpus_args.begin(), corpus_args.end());
  const CliResult result = RunQuill(args);
  const std::size_t at = result.out.rfind("total\t");
  return at == std::string::npos ? -1 : std::stoll(result.out.substr(at + 6));
}

// The TSV rows of a concordance, each split into its fields.
std::vector<std::vector<std::string>> Rows(const std::string& tsv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(tsv);
  std::string line;
  std::getline(lines, line);  // header
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    rows.push_back(fields);
  }
  return rows;
}

constexpr const char* kTagged =
    "\n\n\tThe/at Fulton/np-tl County/nn-tl Grand/jj-tl Jury/nn-tl said/vbd Friday/nr an/at\n"
    "investigation/nn of/in Atlanta's/np$ recent/jj election/nn took/vbd place/nn ./.\n\n"
    "\tThe/at well-known/jj jury/nn said/vbd it/pps did/dod n't/* run/vb ./. The/at men/nns ran/vbd\n"
    "a/at run/nn in/in the/at <b>park</b> ,/, said/vbd Mr./np Kennedy/np ./.\n";

std::string Untagged() {
  return "\n\n\tThe Fulton County Grand Jury said Friday an\n"
         "investigation of Atlanta's recent election took place .\n\n"
         "\tThe well-known jury said it did n't run . The men ran\n"
         "a run in the <b>park</b> , said Mr. Kennedy .\n";
}

class CliWords : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(dir_.Path("tagged.txt"), kTagged);
    WriteText(dir_.Path("plain.txt"), Untagged());
  }
  std::string Tagged() const { return dir_.Path("tagged.txt").string(); }
  std::string Plain() const { return dir_.Path("plain.txt").string(); }
  TempDir dir_;
};

TEST_F(CliWords, TaggedTextGivesTheHitsAndNumbersOfTheTextWithoutTags) {
  for (const std::string word : {"in the", "the", "jury", "run", "said", "well-known", "Atlanta's", "n't"}) {
    const CliResult tagged = RunQuill({"concord", "-q", "--format", "tsv", "--pos-tags", "-s", word, Tagged()});
    const CliResult plain = RunQuill({"concord", "-q", "--format", "tsv", "-s", word, Plain()});
    ASSERT_EQ(tagged.exit_code, 0) << word << "\n" << tagged.err;
    const auto tagged_rows = Rows(tagged.out), plain_rows = Rows(plain.out);
    ASSERT_EQ(tagged_rows.size(), plain_rows.size()) << word << "\n" << tagged.out << plain.out;
    for (std::size_t i = 0; i < tagged_rows.size(); ++i) {
      EXPECT_EQ(tagged_rows[i][2], plain_rows[i][2]) << word;  // word number
      EXPECT_EQ(tagged_rows[i][6], plain_rows[i][6]) << word;  // the hit
    }
  }
  // The tags are not words: "nn" is found only among them.
  EXPECT_EQ(RunQuill({"concord", "-q", "--pos-tags", "-s", "nn", Tagged()}).exit_code, 1);
  EXPECT_EQ(RunQuill({"concord", "-q", "-s", "nn", Tagged()}).exit_code, 0);
}

TEST_F(CliWords, TagsAreHiddenUnlessShownAndCanBeAskedFor) {
  const CliResult hidden = RunQuill({"concord", "-q", "--pos-tags", "-s", "jury", Tagged()});
  EXPECT_FALSE(Has(hidden.out, "/nn")) << hidden.out;
  EXPECT_TRUE(Has(hidden.out, "Grand  Jury  said")) << hidden.out;
  const CliResult shown = RunQuill({"concord", "-q", "--pos-tags", "--show-tags", "-s", "jury", Tagged()});
  EXPECT_TRUE(Has(shown.out, "Grand/jj-tl")) << shown.out;

  // "run" the verb and "run" the noun; "r*" with verb tags: run, ran.
  const CliResult verbs = RunQuill({"concord", "-q", "--format", "tsv", "-s", "run", "--tag", "vb*", Tagged()});
  ASSERT_EQ(Rows(verbs.out).size(), 1u) << verbs.out;
  const CliResult nouns = RunQuill({"concord", "-q", "--format", "tsv", "-s", "run", "--tag", "NN", Tagged()});
  ASSERT_EQ(Rows(nouns.out).size(), 1u) << nouns.out;
  EXPECT_NE(Rows(verbs.out)[0][2], Rows(nouns.out)[0][2]);
  const CliResult either = RunQuill({"concord", "-q", "--format", "tsv", "-s", "r*", "--tag", "vb/vbd", Tagged()});
  EXPECT_EQ(Rows(either.out).size(), 2u) << either.out;
}

TEST_F(CliWords, WordNumbersAndLeadingWildcards) {
  // "Jury" is the fifth word of its file, blanks before the first word or not.
  const CliResult jury = RunQuill({"concord", "-q", "--format", "tsv", "-s", "jury", Plain()});
  ASSERT_FALSE(Rows(jury.out).empty()) << jury.out;
  EXPECT_EQ(Rows(jury.out)[0][2], "5");
  EXPECT_EQ(Rows(jury.out)[1][2], "18");  // "Atlanta's" and "well-known" are one word each

  // A leading wildcard shows the whole word as the hit, and sorts by it.
  const CliResult ends = RunQuill({"concord", "-q", "--format", "tsv", "-s", "*ury", "--sort", "C", Plain()});
  const auto rows = Rows(ends.out);
  ASSERT_EQ(rows.size(), 2u) << ends.out;
  EXPECT_EQ(rows[0][6], "Jury");
  EXPECT_EQ(rows[1][6], "jury");
  EXPECT_TRUE(rows[0][5].ends_with("Grand ")) << ends.out;

  // --sort Word: the hit as found; Position: reading order.
  const CliResult by_word = RunQuill({"concord", "-q", "--format", "tsv", "-s", "the", "--sort", "Word", Plain()});
  const auto word_rows = Rows(by_word.out);
  ASSERT_EQ(word_rows.size(), 4u);
  EXPECT_EQ(word_rows[0][6], "The");
  EXPECT_EQ(word_rows[3][6], "the");
  const CliResult by_place = RunQuill({"concord", "-q", "--format", "tsv", "-s", "the", "--sort", "Position", Plain()});
  EXPECT_EQ(Rows(by_place.out)[3][6], "the");
  EXPECT_EQ(Rows(by_place.out)[2][6], "The");
}

TEST_F(CliWords, TheLimitDoesNotShrinkTheTotals) {
  const CliResult limited = RunQuill({"concord", "--format", "tsv", "-s", "the", "--limit", "1", Plain()});
  EXPECT_EQ(Rows(limited.out).size(), 1u);
  EXPECT_TRUE(Has(limited.err, " 4 hits")) << limited.err;
}

TEST_F(CliWords, EveryCommandCountsTheSameWords) {
  const CliResult list = RunQuill({"wordlist", Plain()});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  // Words joined by an apostrophe or hyphen stay whole; markup is not counted.
  EXPECT_TRUE(Has(list.out, "well-known\t1\n")) << list.out;
  EXPECT_TRUE(Has(list.out, "Atlanta's\t1\n")) << list.out;
  EXPECT_FALSE(Has(list.out, "\nb\t")) << list.out;
  for (const std::string word : {"the", "jury", "said", "run", "well-known", "atlanta's", "park", "t", "b"})
    EXPECT_EQ(WordListFrequency(list.out, word), std::max(0LL, ConcordCount({Plain()}, word))) << word;

  const CliResult tagged_list = RunQuill({"wordlist", "--pos-tags", Tagged()});
  EXPECT_EQ(tagged_list.out, list.out);
  EXPECT_EQ(RunQuill({"ngrams", "--pos-tags", Tagged()}).out, RunQuill({"ngrams", Plain()}).out);
}

TEST_F(CliWords, NGramsNeverSpanASentenceEnd) {
  const CliResult bigrams = RunQuill({"ngrams", Plain()});
  ASSERT_EQ(bigrams.exit_code, 0) << bigrams.err;
  EXPECT_FALSE(Has(bigrams.out, "place The")) << bigrams.out;  // a stop standing alone
  EXPECT_FALSE(Has(bigrams.out, "run The")) << bigrams.out;
  EXPECT_FALSE(Has(bigrams.out, "Mr Kennedy")) << bigrams.out;  // "Mr." before a capital: the language's rule
  EXPECT_TRUE(Has(bigrams.out, "the park\t1\n")) << bigrams.out;  // markup between words is passed over
  WriteText(dir_.Path("attached.txt"), "It rained. Then it stopped, etc. and so on\n");
  const CliResult attached = RunQuill({"ngrams", dir_.Path("attached.txt").string()});
  EXPECT_FALSE(Has(attached.out, "rained Then")) << attached.out;
  EXPECT_TRUE(Has(attached.out, "stopped etc\t1\n")) << attached.out;
  EXPECT_TRUE(Has(attached.out, "etc and\t1\n")) << attached.out;  // a stop before lower case: an abbreviation
}

TEST(CliDemoCorpus, WordListAndConcordanceAgreeOnTheBrownCorpus) {
  std::filesystem::path corpus = std::filesystem::path(QUILL_SOURCE_DIR) / "data" / "brown";
  if (!std::filesystem::exists(corpus / "ca01")) GTEST_SKIP() << "the demo corpus is not fetched";
  const std::vector<std::string> texts{"--pos-tags", "--mask", "c???", corpus.string()};
  std::vector<std::string> args{"wordlist", "-q"};
  args.insert(args.end(), texts.begin(), texts.end());
  const CliResult list = RunQuill(args);
  ASSERT_EQ(list.exit_code, 0) << list.err;
  for (const std::string word : {"the", "jury", "don't", "t", "well-known", "atlanta's"})
    EXPECT_EQ(WordListFrequency(list.out, word), ConcordCount(texts, word)) << word;
}

}  // namespace
}  // namespace quill::testing
