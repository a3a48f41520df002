#include "quilljobs/frequency_jobs.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "quilljobs/ordered_work.h"
#include "quilljobs/word_rule.h"
#include "quillrt/analysis/word_batch.h"
#include "quillrt/analysis/word_frequency_table.h"

namespace quill::jobs {
namespace {

constexpr int kMaxN = 100;

FrequencyResult Finished(const TWordFrequencyTable& table, const FrequencyListShape& shape) {
  FrequencyResult result;
  result.list = table.ToStringList(shape.by_freq, shape.min_freq, shape.top);
  result.tokens = table.Total();
  return result;
}

// Counts the runs of n words that lie within one sentence.
void CountNGrams(std::u16string_view text, const ClassifiedText& classified, const std::vector<WordSpan>& words,
                 std::size_t n, UnicodeString& ngram, TWordFrequencyTable& table) {
  std::size_t run_start = 0;  // the first word of the current sentence's run
  for (std::size_t w = 0; w < words.size(); ++w) {
    if (w > 0 && BreaksRunOfWords(text, classified, words[w - 1].end, words[w].start)) run_start = w;
    if (w + 1 < run_start + n) continue;
    ngram.clear();
    for (std::size_t k = w + 1 - n; k <= w; ++k) {
      if (!ngram.empty()) ngram.push_back(u' ');
      ngram.append(text.substr(words[k].start, words[k].end - words[k].start));
    }
    table.Add(ngram);
  }
}

// A run of files counted as one item of work: [first, last).
struct FileRun {
  std::size_t first = 0, last = 0;
};

// The corpus cut into runs of neighbouring files of about equal bytes, a few
// per thread so that the threads stay busy to the end; one run for one
// thread. Counting a run into its own table and adding the tables up in
// reading order gives the one table of the whole corpus, each word spelled
// as it was first met.
std::vector<FileRun> FileRuns(const std::vector<CorpusFile>& files, std::int64_t total_bytes, int threads) {
  if (threads <= 1 || files.empty()) return {{0, files.size()}};
  constexpr std::int64_t kSmallestRun = std::int64_t{1} << 20;
  const std::int64_t target = std::max(kSmallestRun, total_bytes / (std::int64_t{threads} * 8));
  std::vector<FileRun> runs;
  std::int64_t bytes = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (runs.empty() || bytes >= target) {
      runs.push_back({i, i});
      bytes = 0;
    }
    runs.back().last = i + 1;
    bytes += std::max<std::int64_t>(files[i].size, 1);
  }
  return runs;
}

// What counting a run yields.
struct CountedRun {
  std::unique_ptr<TWordFrequencyTable> table;
  std::int64_t files_read = 0;
};

// Counts one file into a table; true when the file was read. Each worker has
// its own (with its own buffers).
using FileCounter = std::function<bool(const CorpusFile&, TWordFrequencyTable&, SharedProgress&)>;

// Counts the runs of the corpus on workers with counters from `make_counter`
// and adds their tables up in reading order.
FrequencyResult CountRuns(const Corpus& corpus, const JobControl& control, int threads_asked,
                          const FrequencyListShape& shape, const std::function<FileCounter()>& make_counter) {
  const std::vector<CorpusFile>& files = corpus.Files();
  const int threads = WorkerCount(threads_asked, files.size());
  const std::vector<FileRun> runs = FileRuns(files, corpus.TotalBytes(), threads);
  SharedProgress progress(control, corpus.TotalBytes(), threads == 1);
  std::vector<FileCounter> counters;
  for (int w = 0; w < threads; ++w) counters.push_back(make_counter());

  std::unique_ptr<TWordFrequencyTable> total;
  std::int64_t files_read = 0;
  OrderedWork<CountedRun> work;
  work.items = runs.size();
  work.threads = threads;
  work.work = [&](std::size_t index, int worker) {
    const FileCounter& count_file = counters[static_cast<std::size_t>(worker)];
    CountedRun counted{std::make_unique<TWordFrequencyTable>(), 0};
    for (std::size_t f = runs[index].first; f < runs[index].last && !control.Cancelled(); ++f)
      if (count_file(files[f], *counted.table, progress)) ++counted.files_read;
    return counted;
  };
  work.take = [&](CountedRun&& counted) {
    files_read += counted.files_read;
    if (!total)
      total = std::move(counted.table);
    else
      total->AddTable(*counted.table);
    return true;
  };
  work.stopped = [&] { return control.Cancelled(); };
  work.tick = [&] { progress.Tell(); };
  RunInOrder(work);

  if (!total) total = std::make_unique<TWordFrequencyTable>();
  FrequencyResult result = Finished(*total, shape);
  result.files_read = files_read;
  result.cancelled = control.Cancelled();
  return result;
}

}  // namespace

std::vector<FrequencyItem> FrequencyResult::Items() const {
  std::vector<FrequencyItem> items;
  if (!list) return items;
  items.reserve(static_cast<std::size_t>(list->Count()));
  for (int i = 0; i < list->Count(); ++i)
    items.push_back({(*list)[i], static_cast<std::int64_t>(list->GetObject(i).AsInt())});
  return items;
}

WordListJob::WordListJob(WordListSettings settings) : settings_(settings) {
  settings_.min_length = std::max(settings_.min_length, 1);
}

FrequencyResult WordListJob::Run(const Corpus& corpus, const JobControl& control) const {
  const WordRule rule = corpus.Rule(settings_.pos_tags);
  const auto min_length = static_cast<std::size_t>(settings_.min_length);
  return CountRuns(corpus, control, settings_.threads, settings_.shape, [&]() -> FileCounter {
    return [&, classified = ClassifiedText{}, words = std::vector<WordSpan>{}](
               const CorpusFile& file, TWordFrequencyTable& table, SharedProgress& progress) mutable {
      // Words never span the pieces, so counting piece by piece counts the file.
      std::int64_t reported = 0;
      const bool read = corpus.ReadTextInPieces(file, [&](std::u16string_view piece) {
        if (control.Cancelled()) return;
        ClassifyText(piece, rule, classified);
        FindWords(classified, piece.size(), words);
        WordBatch batch(table, piece);
        for (const WordSpan& word : words)
          if (word.end - word.start >= min_length) batch.Add(piece.data() + word.start, word.end - word.start);
        batch.Flush();
        // About a byte a character.
        const std::int64_t now = std::min(reported + static_cast<std::int64_t>(piece.size()), file.size);
        progress.Add(now - reported);
        reported = now;
      }, kDefaultPieceBytes, control.cancel);
      progress.Add(file.size - reported);
      return read;
    };
  });
}

NGramJob::NGramJob(NGramSettings settings) : settings_(settings) {
  if (settings_.n < 1 || settings_.n > kMaxN)
    throw JobError(JobError::bad_request, "n must be between 1 and " + std::to_string(kMaxN));
}

FrequencyResult NGramJob::Run(const Corpus& corpus, const JobControl& control) const {
  WordRule rule = corpus.Rule(settings_.pos_tags);
  rule.max_tag_length = static_cast<std::size_t>(std::max(settings_.max_tag_length, 1));
  const auto n = static_cast<std::size_t>(settings_.n);
  return CountRuns(corpus, control, settings_.threads, settings_.shape, [&]() -> FileCounter {
    return [&, text = UnicodeString{}, ngram = UnicodeString{}, classified = ClassifiedText{},
            words = std::vector<WordSpan>{}](const CorpusFile& file, TWordFrequencyTable& table,
                                             SharedProgress& progress) mutable {
      const bool read = corpus.ReadText(file, text);
      if (read) {
        ClassifyText(text, rule, classified);
        FindWords(classified, text.size(), words);
        CountNGrams(text, classified, words, n, ngram, table);
      }
      progress.Add(file.size);
      return read;
    };
  });
}

}  // namespace quill::jobs
