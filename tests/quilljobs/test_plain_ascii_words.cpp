// Words counted straight from the bytes of plain ASCII text against the
// general way (class array, word edges, a batch over the widened text), over
// random texts that cross the counter's 64-byte blocks, under rules that take
// its vector form and its byte-by-byte form; and the texts it must refuse.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "quilljobs/corpus.h"
#include "quilljobs/frequency_jobs.h"
#include "quilljobs/plain_ascii_words.h"
#include "quilljobs/word_rule.h"
#include "quillrt/analysis/word_batch.h"
#include "quillrt/analysis/word_frequency_table.h"
#include "test_support.h"

namespace quill::jobs {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::pair<std::u16string, int>>;

Lines LinesOf(const TWordFrequencyTable& table) {
  const auto list = table.ToStringList(false);
  Lines lines;
  for (int i = 0; i < list->Count(); ++i) lines.emplace_back((*list)[i], list->GetObject(i).AsInt());
  return lines;
}

void CountTheGeneralWay(const std::string& bytes, const WordRule& rule, std::size_t min_length,
                        TWordFrequencyTable& table) {
  const std::u16string text(bytes.begin(), bytes.end());
  ClassifiedText classified;
  ClassifyText(text, rule, classified);
  std::vector<WordSpan> words;
  FindWords(classified, text.size(), words);
  WordBatch batch(table, text);
  for (const WordSpan& word : words)
    if (word.end - word.start >= min_length) batch.Add(text.data() + word.start, word.end - word.start);
  batch.Flush();
}

WordRule RuleWithMiddles(std::u16string middles) {
  WordRule rule;
  rule.middle_characters = std::move(middles);
  return rule;
}

TEST(PlainAsciiWordCounter, FindsTheWordsTheGeneralWayFinds) {
  std::mt19937 random(5);
  // Letters of both cases, digits, middle characters in runs and at the ends,
  // a character some rules make a middle one, blanks and punctuation.
  const std::string alphabet = "aAbZz09''--..__ \n\t,;!\"~x";
  const std::vector<WordRule> rules = {
      WordRule{},              // the usual: apostrophes and hyphens join
      RuleWithMiddles(u""),    // nothing joins
      RuleWithMiddles(u"x'"),  // a letter among them changes nothing
      RuleWithMiddles(u"'-._,;"),  // more than the vector form compares: byte by byte
      RuleWithMiddles(u"\u2019_"),  // only ASCII ones can occur
  };
  for (const WordRule& rule : rules) {
    PlainAsciiWordCounter counter(rule);
    for (int trial = 0; trial < 300; ++trial) {
      std::string bytes;
      const std::size_t length = random() % 300;
      for (std::size_t i = 0; i < length; ++i) bytes += alphabet[random() % alphabet.size()];
      const std::size_t min_length = 1 + random() % 3;
      TWordFrequencyTable expected, found;
      CountTheGeneralWay(bytes, rule, min_length, expected);
      ASSERT_TRUE(counter.Count(bytes, min_length, found)) << bytes;
      ASSERT_EQ(LinesOf(found), LinesOf(expected)) << "text: \"" << bytes << "\" middles of " << rule.middle_characters.size();
      EXPECT_EQ(found.Total(), expected.Total());
    }
  }
}

TEST(PlainAsciiWordCounter, RefusesWhatIsNotPlainAsciiWithoutMarkup) {
  PlainAsciiWordCounter counter{WordRule{}};
  const std::string words(200, 'w');
  for (const std::string& odd : {"caf\xC3\xA9"s, "a <b> c"s, "bell\x07"s, "nul\0"s, "del\x7F"s, "\xFF"s}) {
    for (const std::size_t at : {std::size_t{0}, std::size_t{70}, words.size()}) {
      std::string bytes = words;
      bytes.insert(at, " " + odd + " ");
      TWordFrequencyTable table;
      EXPECT_FALSE(counter.Count(bytes, 1, table)) << odd << " at " << at;
      EXPECT_EQ(table.Entries(), 0) << "a refused text counted words";
    }
  }
  WordRule tagged;
  tagged.pos_tags = true;
  PlainAsciiWordCounter tags(tagged);
  TWordFrequencyTable table;
  EXPECT_FALSE(tags.Count("the/at dog/nn", 1, table)) << "word/TAG tokens are the general way's";
  EXPECT_TRUE(counter.Count("", 1, table));
  EXPECT_EQ(table.Entries(), 0);
}

// A word list job takes plain ASCII pieces from their bytes and the others
// (a line with a non-ASCII word, markup) from their text: its list is the
// general way's over every file's whole text, read in pieces or shared out.
TEST(PlainAsciiWordCounter, AWordListOfMixedPiecesIsTheGeneralWaysList) {
  quill::testing::TempDir dir;
  std::string big;
  std::mt19937 random(3);
  const char* const words[] = {"the", "Jury", "don't", "well-known", "extraordinarily", "internationalisation", "a1"};
  while (big.size() < 3'000'000) {
    big += words[random() % 7];
    big += random() % 9 == 0 ? ".\n" : " ";
    if (random() % 20000 == 0) big += "caf\xC3\xA9 <p> ";  // a piece here is read as text
  }
  quill::testing::WriteText(dir.Path("big.txt"), big);
  quill::testing::WriteText(dir.Path("plain.txt"), "The jury said it's well-known.");
  quill::testing::WriteText(dir.Path("marked.txt"), "<s>The jury</s> said <b>no</b>");
  quill::testing::WriteText(dir.Path("latin.txt"), "Stra\xC3\x9F" "e the JURY");
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);

  TWordFrequencyTable expected;
  const WordRule rule = corpus.Rule(false);
  for (const CorpusFile& file : corpus.Files()) {
    UnicodeString text;
    ASSERT_TRUE(corpus.ReadText(file, text));
    ClassifiedText classified;
    ClassifyText(text, rule, classified);
    std::vector<WordSpan> spans;
    FindWords(classified, text.size(), spans);
    WordBatch batch(expected, text);
    for (const WordSpan& word : spans) batch.Add(text.data() + word.start, word.end - word.start);
    batch.Flush();
  }
  const auto list = expected.ToStringList(false);
  for (const int threads : {1, 3}) {
    WordListSettings settings;
    settings.threads = threads;
    settings.bytes_per_thread = 0;
    settings.piece_size = 256 << 10;
    const std::vector<FrequencyItem> items = WordListJob(settings).Run(corpus).Items();
    ASSERT_EQ(static_cast<int>(items.size()), list->Count()) << threads << " threads";
    for (int i = 0; i < list->Count(); ++i) {
      EXPECT_EQ(items[static_cast<std::size_t>(i)].item, (*list)[i]) << i;
      EXPECT_EQ(items[static_cast<std::size_t>(i)].frequency, list->GetObject(i).AsInt()) << (*list)[i].size();
    }
  }
}

}  // namespace
}  // namespace quill::jobs
