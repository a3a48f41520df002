// Large files searched in pieces and corpora searched on several threads give
// what one whole-file search on one thread gives: the same lines, numbers,
// contexts and totals, whatever the piece size or the thread count.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
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

// A text with sentence and paragraph tags, phrases to straddle piece edges,
// words joined by middle characters, long lines and blank runs.
std::string MarkedText(int paragraphs, int seed) {
  static const char* const kWords[] = {"the",  "jury", "of", "city", "don't",  "well-known", "Jurors",
                                       "said", "THE",  "a",  "end",  "people", "of the",     "juries"};
  std::string text;
  unsigned state = static_cast<unsigned>(seed) * 2654435761u + 1;
  const auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFF;
  };
  for (int p = 0; p < paragraphs; ++p) {
    text += "<p>";
    const unsigned sentences = 1 + next() % 4;
    for (unsigned s = 0; s < sentences; ++s) {
      text += "<s>";
      const unsigned words = 2 + next() % 12;
      for (unsigned w = 0; w < words; ++w) {
        text += kWords[next() % std::size(kWords)];
        text += next() % 9 == 0 ? "  \t " : (next() % 11 == 0 ? "\n" : " ");
      }
      text += ".</s> ";
    }
    text += next() % 3 == 0 ? "</p>\n\n" : "</p>\n";
  }
  return text;
}

void ExpectSameLines(const ConcordanceResult& expected, const ConcordanceResult& got, const std::string& what) {
  EXPECT_EQ(got.totals.search_hits, expected.totals.search_hits) << what;
  EXPECT_EQ(got.totals.words, expected.totals.words) << what;
  EXPECT_EQ(got.totals.files_read, expected.totals.files_read) << what;
  ASSERT_EQ(got.lines.size(), expected.lines.size()) << what;
  for (std::size_t i = 0; i < got.lines.size(); ++i) {
    const ConcordanceLine& a = expected.lines[i];
    const ConcordanceLine& b = got.lines[i];
    const std::string where = what + ", line " + std::to_string(i + 1);
    EXPECT_EQ(b.file, a.file) << where;
    EXPECT_EQ(b.file_index, a.file_index) << where;
    EXPECT_EQ(b.hit_number, a.hit_number) << where;
    EXPECT_EQ(b.word_number, a.word_number) << where;
    EXPECT_EQ(b.sentence, a.sentence) << where;
    EXPECT_EQ(b.paragraph, a.paragraph) << where;
    EXPECT_EQ(b.search_word, a.search_word) << where;
    EXPECT_EQ(Utf16ToUtf8(b.left), Utf16ToUtf8(a.left)) << where;
    EXPECT_EQ(Utf16ToUtf8(b.hit), Utf16ToUtf8(a.hit)) << where;
    EXPECT_EQ(Utf16ToUtf8(b.right), Utf16ToUtf8(a.right)) << where;
    if (::testing::Test::HasFailure()) return;  // one broken line tells enough
  }
}

class PiecesAndThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(dir_.Path("a.txt"), MarkedText(60, 1));
    WriteText(dir_.Path("b.txt"), MarkedText(5, 2));
    WriteText(dir_.Path("c.txt"), "no paragraphs here: the jury of the city\n");
    WriteText(dir_.Path("d.txt"), MarkedText(90, 3));
    CorpusOptions options;
    options.paths = {dir_.path().string()};
    corpus_ = std::make_unique<Corpus>(options);
  }

  TempDir dir_;
  std::unique_ptr<Corpus> corpus_;
};

TEST_F(PiecesAndThreads, TinyPiecesGiveTheWholeFileSearchWithHitsStraddlingEveryEdge) {
  struct Case {
    std::string name;
    std::vector<std::string> searches, context, exclude;
    int width = 40;
    int horizon = 5;
  };
  const std::vector<Case> cases = {
      {"words and a phrase", {"the", "of the/jury", "jur*", "don't", "well-known"}, {}, {}},
      {"context words", {"the"}, {"city"}, {}, 25, 3},
      {"exclusions", {"jury"}, {}, {"of"}, 60, 2},
      {"narrow context", {"*s"}, {}, {}, 0, 0},
  };
  for (const Case& c : cases) {
    ConcordanceSettings settings;
    settings.searches = c.searches;
    settings.context = c.context;
    settings.exclude = c.exclude;
    settings.width = c.width;
    settings.horizon = c.horizon;
    const ConcordanceResult whole = ConcordanceJob(settings).Run(*corpus_);
    ASSERT_GT(whole.totals.hits, 50) << c.name;
    for (const std::int64_t piece : {1, 7, 300, 4096}) {
      settings.piece_size = piece;
      ExpectSameLines(whole, ConcordanceJob(settings).Run(*corpus_), c.name + ", pieces of " + std::to_string(piece));
    }
    // Two cores: the windows are searched by a helper beside the reading.
    settings.threads = 2;
    for (const std::int64_t piece : {7, 300}) {
      settings.piece_size = piece;
      ExpectSameLines(whole, ConcordanceJob(settings).Run(*corpus_),
                      c.name + ", pieces of " + std::to_string(piece) + " on two cores");
    }
  }
}

TEST_F(PiecesAndThreads, ThreadsGiveTheOutputOfOneThreadSortedLimitedOrStreamed) {
  ConcordanceSettings settings;
  settings.searches = {"the", "jury"};
  const ConcordanceResult one = ConcordanceJob(settings).Run(*corpus_);
  for (const int threads : {2, 3, 8}) {
    settings.threads = threads;
    settings.piece_size = threads == 3 ? 500 : settings.piece_size;
    ExpectSameLines(one, ConcordanceJob(settings).Run(*corpus_), std::to_string(threads) + " threads");
  }

  settings.sort = {SortKey::R1, SortKey::L1};
  settings.limit = 30;
  settings.threads = 1;
  const ConcordanceResult sorted_one = ConcordanceJob(settings).Run(*corpus_);
  settings.threads = 4;
  ExpectSameLines(sorted_one, ConcordanceJob(settings).Run(*corpus_), "sorted and limited");

  settings.sort.clear();
  std::vector<ConcordanceLine> streamed;
  const ConcordanceResult streamed_result =
      ConcordanceJob(settings).Run(*corpus_, {}, [&](const ConcordanceLine& line) {
        streamed.push_back(line);
        return streamed.size() < 12;  // the sink stops the workers
      });
  EXPECT_TRUE(streamed_result.totals.cancelled);
  ASSERT_EQ(streamed.size(), 12u);
  ASSERT_GT(one.lines.size(), 12u);
  // A sink that raises stops the workers and the error comes out of Run.
  EXPECT_THROW(ConcordanceJob(settings).Run(
                   *corpus_, {}, [](const ConcordanceLine&) -> bool { throw std::runtime_error("sink failed"); }),
               std::runtime_error);
  for (std::size_t i = 0; i < streamed.size(); ++i) {
    EXPECT_EQ(streamed[i].hit_number, one.lines[i].hit_number);
    EXPECT_EQ(streamed[i].word_number, one.lines[i].word_number);
    EXPECT_EQ(streamed[i].file_index, one.lines[i].file_index);
  }
}

// On one worker the lines of a large file go to the sink window by window,
// while the file is still being read (so they need not all be kept), the
// same lines as at the file's end; a sink that wants no more ends the search.
TEST(StreamedLines, ALargeFilesLinesArriveWhileItIsRead) {
  TempDir dir;
  WriteText(dir.Path("big.txt"), MarkedText(400, 4));
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);
  ConcordanceSettings settings;
  settings.searches = {"the", "jury"};
  const ConcordanceResult kept = ConcordanceJob(settings).Run(corpus);
  ASSERT_GT(kept.lines.size(), 200u);

  settings.piece_size = 512;
  for (const int threads : {1, 2}) {
    settings.threads = threads;
    std::int64_t done = 0;
    JobControl control;
    control.on_progress = [&](std::int64_t now, std::int64_t) { done = now; };
    ConcordanceResult streamed;
    std::size_t early = 0;
    streamed.totals = ConcordanceJob(settings)
                          .Run(corpus, control,
                               [&](const ConcordanceLine& line) {
                                 if (done < corpus.TotalBytes() / 2) ++early;
                                 streamed.lines.push_back(line);
                                 return true;
                               })
                          .totals;
    EXPECT_GT(early, 20u) << threads << " threads: the first lines came only at the end of the file";
    ExpectSameLines(kept, streamed, std::to_string(threads) + " threads, streamed");

    std::size_t calls = 0;
    const ConcordanceResult stopped =
        ConcordanceJob(settings).Run(corpus, control, [&](const ConcordanceLine&) { return ++calls < 7; });
    EXPECT_EQ(calls, 7u);
    EXPECT_TRUE(stopped.totals.cancelled);
  }
}

// Many small files are searched in runs of neighbours, a run an item of
// work: the lines, their numbers and files, and the totals stay those of one
// thread, and a sink that wants no more stops within the run.
TEST(FileRuns, ManySmallFilesGiveTheOutputOfOneThread) {
  TempDir dir;
  for (int i = 0; i < 70; ++i)
    WriteText(dir.Path("f" + std::to_string(100 + i) + ".txt"), i % 9 == 0 ? "nothing here\n" : MarkedText(2, i));
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);
  ConcordanceSettings settings;
  settings.searches = {"the", "jury"};
  const ConcordanceResult one = ConcordanceJob(settings).Run(corpus);
  ASSERT_GT(one.lines.size(), 100u);
  for (const int threads : {2, 3}) {
    settings.threads = threads;
    ExpectSameLines(one, ConcordanceJob(settings).Run(corpus), std::to_string(threads) + " threads");
    std::size_t calls = 0;
    const ConcordanceResult stopped =
        ConcordanceJob(settings).Run(corpus, {}, [&](const ConcordanceLine&) { return ++calls < 5; });
    EXPECT_EQ(calls, 5u);
    EXPECT_TRUE(stopped.totals.cancelled);
  }
}

TEST_F(PiecesAndThreads, CancellingStopsEveryWorkerAndProgressEndsAtTheTotal) {
  ConcordanceSettings settings;
  settings.searches = {"the"};
  settings.threads = 3;
  settings.piece_size = 64;
  std::atomic<bool> cancel{false};
  std::vector<std::int64_t> progress;
  JobControl control;
  control.cancel = &cancel;
  control.on_progress = [&](std::int64_t done, std::int64_t total) {
    EXPECT_EQ(total, corpus_->TotalBytes());
    if (!progress.empty()) {
      EXPECT_GE(done, progress.back());
    }
    progress.push_back(done);
  };
  const ConcordanceResult full = ConcordanceJob(settings).Run(*corpus_, control);
  EXPECT_FALSE(full.totals.cancelled);
  ASSERT_FALSE(progress.empty());
  EXPECT_LE(progress.back(), corpus_->TotalBytes());

  // Cancelled from the first hit on: far fewer hits than the whole corpus.
  settings.threads = 2;
  progress.clear();
  const ConcordanceJob job(settings);
  const ConcordanceResult stopped = job.Run(*corpus_, control, [&](const ConcordanceLine&) {
    cancel = true;
    return true;
  });
  EXPECT_TRUE(stopped.totals.cancelled);
  EXPECT_LT(stopped.totals.hits, full.totals.hits);
}

TEST_F(PiecesAndThreads, WordAndNGramListsAreTheSameOnEveryThreadCount) {
  WordListSettings words;
  words.bytes_per_thread = 0;  // as many threads as asked, however small the corpus
  words.shape.by_freq = true;
  const FrequencyResult one = WordListJob(words).Run(*corpus_);
  NGramSettings pairs;
  pairs.bytes_per_thread = 0;
  const FrequencyResult pairs_one = NGramJob(pairs).Run(*corpus_);
  for (const int threads : {2, 5}) {
    words.threads = threads;
    pairs.threads = threads;
    const FrequencyResult many = WordListJob(words).Run(*corpus_);
    EXPECT_EQ(many.tokens, one.tokens);
    EXPECT_EQ(many.files_read, one.files_read);
    const std::vector<FrequencyItem> a = one.Items(), b = many.Items();
    ASSERT_EQ(b.size(), a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(b[i].item, a[i].item) << i;  // the first spelling met, in reading order
      EXPECT_EQ(b[i].frequency, a[i].frequency) << i;
    }
    const FrequencyResult pairs_many = NGramJob(pairs).Run(*corpus_);
    EXPECT_EQ(pairs_many.tokens, pairs_one.tokens);
    EXPECT_EQ(pairs_many.Items().size(), pairs_one.Items().size());
  }
}

void ExpectSameList(const FrequencyResult& expected, const FrequencyResult& got, const std::string& what) {
  EXPECT_EQ(got.tokens, expected.tokens) << what;
  EXPECT_EQ(got.files_read, expected.files_read) << what;
  const std::vector<FrequencyItem> a = expected.Items(), b = got.Items();
  ASSERT_EQ(b.size(), a.size()) << what;
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(Utf16ToUtf8(b[i].item), Utf16ToUtf8(a[i].item)) << what << ", line " << i;
    EXPECT_EQ(b[i].frequency, a[i].frequency) << what << ", line " << i;
    if (::testing::Test::HasFailure()) return;
  }
}

// N-grams are counted part by part with the words before each cut carried
// over: sentences running across every cut give the n-grams of the whole
// file, in the same order of first meeting.
TEST_F(PiecesAndThreads, NGramsAcrossEveryCutAreCountedOnce) {
  WriteText(dir_.Path("e.txt"), "the/at jury/nn said/vbd ./. the/at city/nn of/in\nthe/at people/nns ./.\n");
  CorpusOptions options;
  options.paths = {dir_.path().string()};
  const Corpus corpus(options);
  for (const bool pos_tags : {false, true}) {
    for (const int n : {2, 3, 6}) {
      NGramSettings settings;
      settings.bytes_per_thread = 0;
      settings.n = n;
      settings.pos_tags = pos_tags;
      settings.piece_size = std::int64_t{1} << 30;
      settings.threads = 1;
      const FrequencyResult whole = NGramJob(settings).Run(corpus);
      ASSERT_GT(whole.tokens, 100) << n;
      // Whatever the thread count, a file is read in parts one after another.
      for (const int threads : {1, 3}) {
        settings.threads = threads;
        for (const std::int64_t part : {1, 7, 300}) {
          settings.piece_size = part;
          ExpectSameList(whole, NGramJob(settings).Run(corpus),
                         std::to_string(n) + "-grams in parts of " + std::to_string(part) + " on " +
                             std::to_string(threads) + " threads" + (pos_tags ? ", tagged" : ""));
        }
      }
    }
  }
}

// A run of words ends at a long stretch without words (here blanks), however
// the file is read: what is carried between parts stays bounded.
TEST(NGramGaps, ALongStretchWithoutWordsEndsTheRun) {
  TempDir dir;
  WriteText(dir.Path("gap.txt"), "one two" + std::string(kLongestGapInRun + 1, ' ') + "three four\n" +
                                     "five" + std::string(1000, '\n') + "six\n");
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);
  NGramSettings settings;
  settings.bytes_per_thread = 0;
  for (const std::int64_t part : {std::int64_t{1} << 30, std::int64_t{4096}}) {
    settings.piece_size = part;
    const FrequencyResult pairs = NGramJob(settings).Run(corpus);
    std::vector<std::string> items;
    for (const FrequencyItem& item : pairs.Items()) items.push_back(Utf16ToUtf8(item.item));
    EXPECT_EQ(items, (std::vector<std::string>{"five six", "four five", "one two", "three four"})) << part;
  }
}

// Files above a megabyte are shared out among the threads piece by piece: the
// list must be that of one thread reading each file in order, whatever the
// encoding, with words (and UTF-8 sequences, and UTF-16 units) met at every
// distance from the cuts, and each file counted as read once.
TEST(SharedPieces, LargeFilesCountedOnSeveralThreadsGiveTheListOfOne) {
  TempDir dir;
  std::string latin;
  while (latin.size() < 2'600'000) latin += MarkedText(40, static_cast<int>(latin.size() % 97)) + "caf\xC3\xA9 ";
  WriteText(dir.Path("big utf8.txt"), latin);
  // UTF-16LE with its mark, words of several scripts.
  std::u16string wide = u"\uFEFF";
  while (wide.size() < 1'400'000) wide += u"\u05E9\u05DC\u05D5\u05DD Stra\u00DFe the jury \u00C9t\u00E9\n";
  std::vector<unsigned char> wide_bytes;
  for (const char16_t unit : wide) {
    wide_bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    wide_bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  quill::testing::WriteAllBytes(dir.Path("big utf16.txt"), wide_bytes);
  // One long line without a blank: a single piece takes it, the others are empty.
  WriteText(dir.Path("long line.txt"), std::string(2'200'000, 'x') + " tail");
  WriteText(dir.Path("small.txt"), "the jury and the city");
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);

  WordListSettings settings;
  settings.bytes_per_thread = 0;
  settings.piece_size = 256 << 10;
  const FrequencyResult one = WordListJob(settings).Run(corpus);
  EXPECT_EQ(one.files_read, 4);
  std::int64_t last_done = 0, last_total = 0;
  JobControl control;
  control.on_progress = [&](std::int64_t done, std::int64_t total) {
    last_done = done;
    last_total = total;
  };
  settings.threads = 3;
  const FrequencyResult many = WordListJob(settings).Run(corpus, control);
  EXPECT_EQ(many.files_read, one.files_read);
  EXPECT_EQ(many.tokens, one.tokens);
  const std::vector<FrequencyItem> a = one.Items(), b = many.Items();
  ASSERT_EQ(b.size(), a.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(Utf16ToUtf8(b[i].item), Utf16ToUtf8(a[i].item)) << i;
    EXPECT_EQ(b[i].frequency, a[i].frequency) << i;
    if (::testing::Test::HasFailure()) break;
  }
  EXPECT_EQ(last_done, last_total);
  EXPECT_EQ(last_total, corpus.TotalBytes());

  NGramSettings pairs;
  pairs.bytes_per_thread = 0;
  pairs.piece_size = 256 << 10;
  const FrequencyResult pairs_one = NGramJob(pairs).Run(corpus);
  pairs.threads = 3;
  ExpectSameList(pairs_one, NGramJob(pairs).Run(corpus), "pairs on three threads");
}

// Pieces are cut at line ends where there are any, so that no tag with a
// blank inside ("<p n=3>") is split into words; a line longer than the reach
// of that search is cut at a blank. The list is the whole file's for every
// piece size, on one thread and shared out.
TEST(SharedPieces, CutsKeepTagsWhole) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text += "<p n=\"" + std::to_string(i) + "\" rend=\"it al\">the jury said</p>\n";
  text += std::string(100'000, 'w') + " " + std::string(70'000, 'v') + " long line\n";
  WriteText(dir.Path("tagged.txt"), text);
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);
  WordListSettings settings;
  settings.bytes_per_thread = 0;
  const FrequencyResult whole = WordListJob(settings).Run(corpus);
  ASSERT_EQ(whole.tokens, 3000 * 3 + 4);
  for (const std::int64_t piece : {5, 333, 4096}) {
    for (const int threads : {1, 2}) {
      settings.piece_size = piece;
      settings.threads = threads;
      const FrequencyResult cut = WordListJob(settings).Run(corpus);
      EXPECT_EQ(cut.tokens, whole.tokens) << piece << " on " << threads;
      EXPECT_EQ(cut.Items().size(), whole.Items().size()) << piece << " on " << threads;
    }
  }
  // The same for n-grams, counted across the cuts.
  NGramSettings ngrams;
  ngrams.bytes_per_thread = 0;
  ngrams.n = 3;
  const FrequencyResult whole_ngrams = NGramJob(ngrams).Run(corpus);
  for (const std::int64_t piece : {5, 333, 4096}) {
    for (const int threads : {1, 2}) {
      ngrams.piece_size = piece;
      ngrams.threads = threads;
      ExpectSameList(whole_ngrams, NGramJob(ngrams).Run(corpus),
                     "3-grams, pieces of " + std::to_string(piece) + " on " + std::to_string(threads));
    }
  }
}

// A large binary file is judged once while its pieces are planned: left out
// and reported once, not once per piece nor once per thread.
TEST(SharedPieces, ALargeBinaryFileIsReportedOnce) {
  TempDir dir;
  std::vector<unsigned char> binary(1'500'000);
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<unsigned char>(i * 7 % 251);
  quill::testing::WriteAllBytes(dir.Path("data.bin"), binary);
  WriteText(dir.Path("text.txt"), "a text");
  int reports = 0;
  CorpusOptions options;
  options.paths = {dir.path().string()};
  CorpusEvents events;
  events.on_binary_skipped = [&reports](const std::string&) { ++reports; };
  const Corpus corpus(options, events);
  WordListSettings settings;
  settings.bytes_per_thread = 0;
  settings.threads = 2;
  settings.piece_size = 64 << 10;
  const FrequencyResult result = WordListJob(settings).Run(corpus);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(result.files_read, 1);
  EXPECT_EQ(result.tokens, 2);
}

TEST(JobsEndlessInput, AnEndlessDeviceEndsWithAMessageNotAllMemory) {
  // /dev/zero is binary: left out after its first bytes.
  std::vector<std::string> binary;
  CorpusEvents events;
  events.on_binary_skipped = [&](const std::string& name) { binary.push_back(name); };
  std::vector<std::string> skipped;
  events.on_skipped = [&](const std::string& name, const std::string&) { skipped.push_back(name); };
  CorpusOptions options;
  options.paths = {"/dev/zero"};
  {
    const Corpus corpus(options, events);
    ConcordanceSettings settings;
    settings.searches = {"x"};
    const ConcordanceResult result = ConcordanceJob(settings).Run(corpus);
    EXPECT_EQ(result.totals.files_read, 0);
    EXPECT_EQ(binary, std::vector<std::string>{"/dev/zero"});
  }
  // Read as text all the same, it stops at the most a stream may give.
  options.binary = true;
  options.max_stream_bytes = 1 << 20;
  std::string reason;
  events.on_skipped = [&](const std::string&, const std::string& why) { reason = why; };
  const Corpus corpus(options, events);
  WordListSettings words;
  words.bytes_per_thread = 0;
  const FrequencyResult counted = WordListJob(words).Run(corpus);
  EXPECT_EQ(counted.files_read, 0);
  EXPECT_NE(reason.find("more than 1 MB from a stream"), std::string::npos) << reason;
}

}  // namespace
}  // namespace quill::jobs
