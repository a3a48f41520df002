#include "quilljobs/frequency_jobs.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <numeric>

#include "quilljobs/ordered_work.h"
#include "quilljobs/plain_ascii_words.h"
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
    if (w > 0 && (words[w].start - words[w - 1].end > kLongestGapInRun ||
                  BreaksRunOfWords(text, classified, words[w - 1].end, words[w].start)))
      run_start = w;
    if (w + 1 < run_start + n) continue;
    ngram.clear();
    for (std::size_t k = w + 1 - n; k <= w; ++k) {
      if (!ngram.empty()) ngram.push_back(u' ');
      ngram.append(text.substr(words[k].start, words[k].end - words[k].start));
    }
    table.Add(ngram);
  }
}

// Counts the n-grams of a file part by part. The parts are cut at line ends,
// where no word or tag runs on, but a sentence may: each part's last n - 1
// words, and what follows them, are carried into the next, so that the
// n-grams running across a cut are counted in their place, exactly as in the
// whole text (and none twice: n - 1 carried words make no n-gram alone).
class NGramCounter {
 public:
  NGramCounter(const WordRule& rule, std::size_t n) : rule_(rule), n_(n) {}

  void Count(std::u16string_view part, TWordFrequencyTable& table) {
    text_.assign(carry_);
    text_.append(part);
    ClassifyText(text_, rule_, classified_);
    FindWords(classified_, text_.size(), words_);
    CountNGrams(text_, classified_, words_, n_, ngram_, table);
    Carry();
  }
  void EndOfFile() { carry_.clear(); }

 private:
  void Carry() {
    const std::size_t kept = std::min(n_ - 1, words_.size());
    const bool runs_on = kept > 0 && text_.size() - words_.back().end <= kLongestGapInRun;
    carry_.assign(runs_on ? std::u16string_view(text_).substr(words_[words_.size() - kept].start)
                          : std::u16string_view());
  }

  const WordRule& rule_;
  const std::size_t n_;
  UnicodeString carry_;  // from the first word carried to the end of the part before
  UnicodeString text_;
  UnicodeString ngram_;
  ClassifiedText classified_;
  std::vector<WordSpan> words_;
};

// An item of work: a run of whole files [first, last), or one shared piece
// of the large file `first`.
struct WorkItem {
  static constexpr std::size_t kWholeFiles = SIZE_MAX;
  std::size_t first = 0, last = 0;
  std::size_t piece = kWholeFiles;
};

// The corpus cut into items: runs of neighbouring files of about equal
// bytes, a few per thread so that the threads stay busy to the end (one run
// for one thread), and, when `share_above` is set, the shared pieces of each
// file larger than that, one item each, so that one large file keeps every
// thread busy too. A file that is not to be read at all
// (found so while planning its pieces, and reported) gets no item.
struct WorkPlan {
  std::vector<WorkItem> items;
  std::vector<SharedPieces> pieces;  // per file; count 0 for whole files
};

// The pieces a file of `size` bytes is shared out in: about four per thread,
// none smaller than `smallest`.
std::size_t SharedPieceBytes(std::int64_t size, int threads, std::size_t smallest) {
  const auto quarter_share = static_cast<std::size_t>(size) / (static_cast<std::size_t>(threads) * 4) + 1;
  return std::max(smallest, quarter_share);
}

WorkPlan PlanWork(const Corpus& corpus, int threads, std::size_t share_above, const JobControl& control) {
  const std::vector<CorpusFile>& files = corpus.Files();
  WorkPlan plan;
  plan.pieces.resize(files.size());
  constexpr std::int64_t kSmallestRun = std::int64_t{1} << 20;
  const std::int64_t target =
      threads <= 1 ? INT64_MAX : std::max(kSmallestRun, corpus.TotalBytes() / (std::int64_t{threads} * 8));
  std::int64_t bytes = 0;
  bool run_open = false;
  for (std::size_t i = 0; i < files.size() && !control.Cancelled(); ++i) {
    if (share_above > 0 && files[i].size > static_cast<std::int64_t>(share_above)) {
      const std::size_t piece_bytes = SharedPieceBytes(files[i].size, threads, share_above);
      if (!corpus.PlanSharedPieces(files[i], piece_bytes, plan.pieces[i])) continue;
      if (plan.pieces[i].count > 0) {
        for (std::size_t k = 0; k < plan.pieces[i].count; ++k) plan.items.push_back({i, i + 1, k});
        run_open = false;
        continue;
      }
    }
    if (!run_open || bytes >= target) {
      plan.items.push_back({i, i, WorkItem::kWholeFiles});
      bytes = 0;
      run_open = true;
    }
    plan.items.back().last = i + 1;
    bytes += std::max<std::int64_t>(files[i].size, 1);
  }
  return plan;
}

// The threads a counting job asks for: at most `at_most` (0: one per core),
// and one for each `bytes_per_thread` of corpus at most (0: no such limit).
struct ThreadsAsked {
  int at_most = 1;
  std::int64_t bytes_per_thread = 0;

  std::size_t WorthStarting(std::int64_t corpus_bytes) const {
    if (bytes_per_thread <= 0) return SIZE_MAX;
    return static_cast<std::size_t>(std::max<std::int64_t>(1, corpus_bytes / bytes_per_thread));
  }
};

// Counts one file into a table; true when the file was read. Each worker has
// its own (with its own buffers).
using FileCounter = std::function<bool(const CorpusFile&, TWordFrequencyTable&, SharedProgress&)>;
// Counts one shared piece of a file; true when it was read.
using PieceCounter =
    std::function<bool(const CorpusFile&, const SharedPieces&, std::size_t, TWordFrequencyTable&, SharedProgress&)>;

struct Counters {
  FileCounter file;
  PieceCounter piece;  // empty: files are never shared out
};

// The bytes of a file that piece `k` stands for in the progress: the pieces'
// nominal sizes, the last taking the rest.
std::int64_t PieceBytes(const CorpusFile& file, const SharedPieces& pieces, std::size_t k) {
  const auto nominal = static_cast<std::int64_t>(pieces.piece_bytes);
  const auto before = static_cast<std::int64_t>(k) * nominal;
  return k + 1 < pieces.count ? nominal : std::max<std::int64_t>(file.size - before, 0);
}

// The entries a worker's table is given room for at once: what Heaps' law
// (types growing as about forty times the square root of the tokens) expects
// of its share of the corpus at a token every six bytes, and at most 65,536
// (a table of 4 MB; one that outgrows it grows as it goes). Growing step by
// step moves every entry at each step, into fresh memory.
std::size_t ExpectedEntries(std::int64_t bytes) {
  const double tokens = static_cast<double>(std::max<std::int64_t>(bytes, 0)) / 6;
  return static_cast<std::size_t>(std::min(40 * std::sqrt(tokens), 65536.0));
}

// Counts the items of the corpus on workers with counters from `make_counters`
// into the one table of reading them in order.
// Files above `share_above` bytes (0: none) are shared out in pieces when
// there are several threads.
FrequencyResult CountRuns(const Corpus& corpus, const JobControl& control, const ThreadsAsked& threads_asked,
                          const FrequencyListShape& shape, std::size_t share_above,
                          const std::function<Counters()>& make_counters) {
  const std::vector<CorpusFile>& files = corpus.Files();
  std::vector<Counters> counters{make_counters()};
  if (!counters.front().piece) share_above = 0;
  // Sharing out pieces needs more than one thread to be worth planning.
  const int threads_wanted = WorkerCount(threads_asked.at_most, threads_asked.WorthStarting(corpus.TotalBytes()));
  const WorkPlan plan = PlanWork(corpus, threads_wanted, threads_wanted > 1 ? share_above : 0, control);
  const int threads = WorkerCount(threads_wanted, plan.items.size());
  SharedProgress progress(control, corpus.TotalBytes(), threads == 1);
  while (counters.size() < static_cast<std::size_t>(threads)) counters.push_back(make_counters());

  // Each worker counts the items it takes into a table of its own, marked
  // with the item's number; merging the tables by those numbers at the end
  // gives the table of one thread counting every item in order.
  if (plan.items.size() > UINT32_MAX) throw JobError(JobError::bad_request, "too many files to count at once");
  std::vector<std::unique_ptr<TWordFrequencyTable>> tables;
  std::vector<std::int64_t> files_read(static_cast<std::size_t>(threads), 0);
  for (int w = 0; w < threads; ++w) {
    tables.push_back(std::make_unique<TWordFrequencyTable>());
    tables.back()->Reserve(ExpectedEntries(corpus.TotalBytes() / threads));
  }
  OrderedWork<bool> work;
  work.items = plan.items.size();
  work.threads = threads;
  work.work = [&](std::size_t index, int worker) {
    const Counters& count = counters[static_cast<std::size_t>(worker)];
    TWordFrequencyTable& table = *tables[static_cast<std::size_t>(worker)];
    std::int64_t& read = files_read[static_cast<std::size_t>(worker)];
    table.SetPart(static_cast<std::uint32_t>(index));
    const WorkItem& item = plan.items[index];
    if (item.piece != WorkItem::kWholeFiles) {
      const CorpusFile& file = files[item.first];
      const SharedPieces& pieces = plan.pieces[item.first];
      // A file counts as read with its first piece.
      if (count.piece(file, pieces, item.piece, table, progress) && item.piece == 0) ++read;
      progress.Add(PieceBytes(file, pieces, item.piece));
      return true;
    }
    for (std::size_t f = item.first; f < item.last && !control.Cancelled(); ++f)
      if (count.file(files[f], table, progress)) ++read;
    return true;
  };
  work.take = [](bool&&) { return true; };
  work.stopped = [&] { return control.Cancelled(); };
  work.tick = [&] { progress.Tell(); };
  RunInOrder(work);

  // A stop leaves in the tables whatever was counted, in any item.
  // The table that met the most entries takes in the others (the least to
  // add to it), each let go once taken in.
  std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a->Entries() > b->Entries(); });
  std::unique_ptr<TWordFrequencyTable> total = std::move(tables.front());
  for (std::size_t w = 1; w < tables.size(); ++w) {
    total->MergeParts(*tables[w]);
    tables[w].reset();
  }
  FrequencyResult result = Finished(*total, shape);
  result.files_read = std::accumulate(files_read.begin(), files_read.end(), std::int64_t{0});
  result.cancelled = control.Cancelled();
  return result;
}

// Hands a file's text to `takers` part by part (none once the job is
// cancelled), telling the progress about a byte a character as it goes and
// the whole file at the end; true when the file was read.
bool ReadPartsWithProgress(const Corpus& corpus, const CorpusFile& file, const JobControl& control,
                           SharedProgress& progress, std::size_t part_bytes, const PieceTakers& takers) {
  std::int64_t reported = 0;
  const auto report = [&](std::size_t characters) {
    const std::int64_t now = std::min(reported + static_cast<std::int64_t>(characters), file.size);
    progress.Add(now - reported);
    reported = now;
  };
  PieceTakers with_progress;
  with_progress.text = [&](std::u16string_view part) {
    if (control.Cancelled()) return;
    takers.text(part);
    report(part.size());
  };
  if (takers.plain_bytes)
    with_progress.plain_bytes = [&](std::string_view bytes) {
      if (control.Cancelled()) return true;
      if (!takers.plain_bytes(bytes)) return false;
      report(bytes.size());
      return true;
    };
  const bool read = corpus.ReadTextInPieces(file, with_progress, part_bytes, control.cancel);
  progress.Add(file.size - reported);
  return read;
}

// The words of one piece of text, counted in batches.
void CountPieceWords(std::u16string_view piece, const WordRule& rule, std::size_t min_length,
                     ClassifiedText& classified, std::vector<WordSpan>& words, TWordFrequencyTable& table) {
  ClassifyText(piece, rule, classified);
  FindWords(classified, piece.size(), words);
  WordBatch batch(table, piece);
  for (const WordSpan& word : words)
    if (word.end - word.start >= min_length) batch.Add(piece.data() + word.start, word.end - word.start);
  batch.Flush();
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
  if (settings_.piece_size < 1) throw JobError(JobError::bad_request, "the piece size must be at least one byte");
}

FrequencyResult WordListJob::Run(const Corpus& corpus, const JobControl& control) const {
  const WordRule rule = corpus.Rule(settings_.pos_tags);
  const auto min_length = static_cast<std::size_t>(settings_.min_length);
  const auto share_above = static_cast<std::size_t>(settings_.piece_size);
  const std::size_t read_bytes = std::min(share_above, kDefaultPieceBytes);
  const ThreadsAsked threads{settings_.threads, settings_.bytes_per_thread};
  return CountRuns(corpus, control, threads, settings_.shape, share_above, [&]() -> Counters {
    // Each worker's buffers, shared by its two counters. Plain ASCII pieces
    // are counted from their bytes, any other from their text.
    struct Buffers {
      explicit Buffers(const WordRule& rule) : plain(rule) {}
      ClassifiedText classified;
      std::vector<WordSpan> words;
      PlainAsciiWordCounter plain;
    };
    auto buffers = std::make_shared<Buffers>(rule);
    const auto takers_for = [&, buffers](TWordFrequencyTable& table) {
      PieceTakers takers;
      takers.text = [&, buffers](std::u16string_view piece) {
        if (!control.Cancelled())
          CountPieceWords(piece, rule, min_length, buffers->classified, buffers->words, table);
      };
      takers.plain_bytes = [&, buffers](std::string_view bytes) {
        return control.Cancelled() || buffers->plain.Count(bytes, min_length, table);
      };
      return takers;
    };
    Counters counters;
    counters.file = [&, takers_for](const CorpusFile& file, TWordFrequencyTable& table, SharedProgress& progress) {
      // Words never span the pieces, so counting piece by piece counts the file.
      return ReadPartsWithProgress(corpus, file, control, progress, read_bytes, takers_for(table));
    };
    counters.piece = [&, takers_for](const CorpusFile& file, const SharedPieces& pieces, std::size_t k,
                                     TWordFrequencyTable& table, SharedProgress&) {
      return corpus.ReadSharedPiece(file, pieces, k, takers_for(table), read_bytes);
    };
    return counters;
  });
}

NGramJob::NGramJob(NGramSettings settings) : settings_(settings) {
  if (settings_.n < 1 || settings_.n > kMaxN)
    throw JobError(JobError::bad_request, "n must be between 1 and " + std::to_string(kMaxN));
  if (settings_.piece_size < 1) throw JobError(JobError::bad_request, "the piece size must be at least one byte");
}

FrequencyResult NGramJob::Run(const Corpus& corpus, const JobControl& control) const {
  WordRule rule = corpus.Rule(settings_.pos_tags);
  rule.max_tag_length = static_cast<std::size_t>(std::max(settings_.max_tag_length, 1));
  const auto n = static_cast<std::size_t>(settings_.n);
  const auto part_bytes = static_cast<std::size_t>(settings_.piece_size);
  const ThreadsAsked threads{settings_.threads, settings_.bytes_per_thread};
  return CountRuns(corpus, control, threads, settings_.shape, 0, [&]() -> Counters {
    auto counter = std::make_shared<NGramCounter>(rule, n);
    return {[&, counter](const CorpusFile& file, TWordFrequencyTable& table, SharedProgress& progress) {
      const bool read = ReadPartsWithProgress(corpus, file, control, progress, part_bytes,
                                              {[&](std::u16string_view part) { counter->Count(part, table); }, {}});
      counter->EndOfFile();
      return read;
    }, {}};
  });
}

}  // namespace quill::jobs
