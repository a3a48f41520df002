// The concordance, word-list and n-gram jobs over small corpora whose answers
// are known: numbers, streaming, stopping, and the counts of the lists.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "quilljobs/concordance_job.h"
#include "quilljobs/frequency_jobs.h"
#include "quillrt/framework/encoding.h"
#include "test_support.h"

namespace quill::jobs {
namespace {

using quill::testing::TempDir;
using quill::testing::WriteText;

class JobsOnTwoTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(dir_.Path("1.txt"),
              "<p><s>The jury said the city was fine.</s> <s>The city agreed.</s></p>\n"
              "<p><s>Then the jury went home.</s></p>\n");
    WriteText(dir_.Path("2.txt"), "<s>A jury of the people.</s> <s>No city.</s>\n");
    CorpusOptions options;
    options.paths = {dir_.path().string()};
    corpus_ = std::make_unique<Corpus>(options);
  }

  ConcordanceSettings Search(std::vector<std::string> words) const {
    ConcordanceSettings settings;
    settings.searches = std::move(words);
    return settings;
  }

  TempDir dir_;
  std::unique_ptr<Corpus> corpus_;
};

std::string Hit(const ConcordanceLine& line) { return Utf16ToUtf8(line.hit); }

TEST_F(JobsOnTwoTexts, LinesCarryWordSentenceAndParagraphNumbersInReadingOrder) {
  const ConcordanceResult result = ConcordanceJob(Search({"city", "jury"})).Run(*corpus_);
  ASSERT_EQ(result.lines.size(), 6u);
  EXPECT_EQ(result.totals.search_hits, (std::vector<std::int64_t>{3, 3}));
  EXPECT_EQ(result.totals.hits, 6);
  EXPECT_EQ(result.totals.files_read, 2);
  EXPECT_EQ(result.totals.words, 15 + 7);
  const ConcordanceLine& first = result.lines[0];
  EXPECT_EQ(Hit(first), "jury");
  EXPECT_EQ(first.word_number, 2);
  EXPECT_EQ(first.sentence, 1);
  EXPECT_EQ(first.paragraph, 1);
  EXPECT_EQ(Utf16ToUtf8(first.right), " said the city was fine. The city agreed");
  const ConcordanceLine& went_home = result.lines[3];
  EXPECT_EQ(Hit(went_home), "jury");
  EXPECT_EQ(went_home.word_number, 13);
  EXPECT_EQ(went_home.sentence, 3);
  EXPECT_EQ(went_home.paragraph, 2);
  for (std::size_t i = 0; i < result.lines.size(); ++i) EXPECT_EQ(result.lines[i].hit_number, std::int64_t(i) + 1);
  EXPECT_EQ(result.lines[4].file_index, 2);
  EXPECT_EQ(result.lines[4].paragraph, 0);  // the second text marks no paragraphs
}

TEST_F(JobsOnTwoTexts, StreamedLinesAreTheKeptLinesAndTheSinkCanStop) {
  const ConcordanceJob job(Search({"the"}));
  const ConcordanceResult kept = job.Run(*corpus_);
  std::vector<ConcordanceLine> streamed;
  const ConcordanceResult result = job.Run(*corpus_, {}, [&](const ConcordanceLine& line) {
    streamed.push_back(line);
    return true;
  });
  EXPECT_TRUE(result.lines.empty());
  ASSERT_EQ(streamed.size(), kept.lines.size());
  for (std::size_t i = 0; i < streamed.size(); ++i) {
    EXPECT_EQ(streamed[i].hit_number, kept.lines[i].hit_number);
    EXPECT_EQ(streamed[i].word_number, kept.lines[i].word_number);
    EXPECT_EQ(streamed[i].left, kept.lines[i].left);
  }
  EXPECT_FALSE(result.totals.cancelled);

  int taken = 0;
  const ConcordanceResult stopped = job.Run(*corpus_, {}, [&](const ConcordanceLine&) { return ++taken < 2; });
  EXPECT_EQ(taken, 2);
  EXPECT_TRUE(stopped.totals.cancelled);

  ConcordanceSettings sorted = Search({"the"});
  sorted.sort = {SortKey::R1};
  EXPECT_THROW(ConcordanceJob(sorted).Run(*corpus_, {}, [](const ConcordanceLine&) { return true; }), JobError);
}

TEST_F(JobsOnTwoTexts, LimitKeepsTheTotalsAndCancellingStopsBeforeTheFirstFile) {
  ConcordanceSettings settings = Search({"the"});
  settings.limit = 2;
  const ConcordanceResult limited = ConcordanceJob(settings).Run(*corpus_);
  EXPECT_EQ(limited.lines.size(), 2u);
  EXPECT_EQ(limited.totals.hits, 5);

  std::atomic<bool> cancel{true};
  std::vector<std::int64_t> progress;
  JobControl control;
  control.cancel = &cancel;
  const ConcordanceResult cancelled = ConcordanceJob(settings).Run(*corpus_, control);
  EXPECT_TRUE(cancelled.totals.cancelled);
  EXPECT_EQ(cancelled.totals.files_read, 0);

  cancel = false;
  control.on_progress = [&](std::int64_t done, std::int64_t total) {
    EXPECT_EQ(total, corpus_->TotalBytes());
    progress.push_back(done);
  };
  ConcordanceJob(settings).Run(*corpus_, control);
  ASSERT_EQ(progress.size(), 2u);
  EXPECT_EQ(progress.back(), corpus_->TotalBytes());
}

TEST_F(JobsOnTwoTexts, ContextAndExclusionWordsWithinTheHorizon) {
  ConcordanceSettings settings = Search({"city"});
  settings.context = {"jury"};
  settings.horizon = 3;
  // "The jury said the city": jury is 3 words before the first city only.
  ConcordanceResult result = ConcordanceJob(settings).Run(*corpus_);
  ASSERT_EQ(result.lines.size(), 1u);
  EXPECT_EQ(result.lines[0].word_number, 5);

  settings.context.clear();
  settings.exclude = {"jury"};
  result = ConcordanceJob(settings).Run(*corpus_);
  EXPECT_EQ(result.totals.hits, 2);
}

TEST_F(JobsOnTwoTexts, BadRequestsAreRefusedWithTheirKind) {
  ConcordanceSettings settings = Search({});
  EXPECT_THROW(ConcordanceJob{settings}, JobError);
  settings = Search({"the"});
  settings.horizon = 101;
  EXPECT_THROW(ConcordanceJob{settings}, JobError);
  settings = Search({" "});
  try {
    ConcordanceJob(settings).Run(*corpus_);
    FAIL() << "a search word of nothing was searched";
  } catch (const JobError& e) {
    EXPECT_EQ(e.kind(), JobError::bad_request);
    EXPECT_NE(std::string(e.what()).find("nothing to search for"), std::string::npos);
  }
  NGramSettings ngrams;
  ngrams.n = 0;
  EXPECT_THROW(NGramJob{ngrams}, JobError);
}

TEST(JobsTags, TagPatternsAndTaggedHits) {
  EXPECT_TRUE(TagMatches(u"VBD", u"vb*"));
  EXPECT_TRUE(TagMatches(u"NN", u"jj/nn"));
  EXPECT_FALSE(TagMatches(u"NNS", u"nn"));
  EXPECT_FALSE(TagMatches(u"NN", u""));

  TempDir dir;
  WriteText(dir.Path("tagged.txt"), "The/AT run/NN was/BEDZ long/JJ ./. They/PPSS run/VB home/NR ./.\n");
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);
  ConcordanceSettings settings;
  settings.searches = {"run"};
  settings.tag = "vb*";
  const ConcordanceResult result = ConcordanceJob(settings).Run(corpus);
  ASSERT_EQ(result.lines.size(), 1u);
  EXPECT_EQ(result.lines[0].word_number, 6);
  EXPECT_EQ(Utf16ToUtf8(result.lines[0].left), "The run was long . They ");
}

TEST_F(JobsOnTwoTexts, WordListCountsEveryWordAndShapesTheList) {
  WordListSettings settings;
  FrequencyResult result = WordListJob(settings).Run(*corpus_);
  EXPECT_EQ(result.tokens, 22);
  EXPECT_EQ(result.files_read, 2);
  const auto items = result.Items();
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(Utf16ToUtf8(items.front().item), "A");  // alphabetical, case folded
  std::int64_t the = 0;
  for (const FrequencyItem& item : items)
    if (Utf16ToUtf8(item.item) == "The") the = item.frequency;
  EXPECT_EQ(the, 5);

  settings.shape.by_freq = true;
  settings.shape.top = 2;
  result = WordListJob(settings).Run(*corpus_);
  ASSERT_EQ(result.Items().size(), 2u);
  EXPECT_EQ(result.Items()[0].frequency, 5);
  EXPECT_EQ(result.Items()[1].frequency, 3);

  settings.shape = {};
  settings.min_length = 5;
  for (const FrequencyItem& item : WordListJob(settings).Run(*corpus_).Items()) EXPECT_GE(item.item.size(), 5u);
}

TEST_F(JobsOnTwoTexts, NGramsStayWithinSentencesAndFiles) {
  NGramSettings settings;
  settings.n = 2;
  const FrequencyResult result = NGramJob(settings).Run(*corpus_);
  std::vector<std::string> items;
  for (const FrequencyItem& item : result.Items()) items.push_back(Utf16ToUtf8(item.item));
  const auto has = [&](const std::string& s) { return std::find(items.begin(), items.end(), s) != items.end(); };
  EXPECT_TRUE(has("The jury"));
  EXPECT_TRUE(has("city agreed"));
  EXPECT_FALSE(has("fine The"));   // across a sentence end
  EXPECT_FALSE(has("home A"));     // across the two files
  // 6 + 2 + 4 in the first text, 4 + 1 in the second.
  EXPECT_EQ(result.tokens, 17);
}

}  // namespace
}  // namespace quill::jobs
