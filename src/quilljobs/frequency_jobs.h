#pragma once
// The counting jobs: a word list (each word of a corpus with its frequency)
// and an n-gram list (each run of n words within a sentence). Words are those
// of the word rule, so that both lists count the words a concordance finds.
#include <cstdint>
#include <memory>
#include <vector>

#include "quilljobs/corpus.h"
#include "quilljobs/job_control.h"
#include "quilljobs/quilljobs_export.h"
#include "quillrt/framework/string_list.h"

namespace quill::jobs {

// A counting job starts a thread for each this many bytes of corpus at most
// (tuned on the benchmark corpora; see bench/README.md).
inline constexpr std::int64_t kDefaultBytesPerThread = std::int64_t{4} << 20;

// How a finished list is cut and ordered.
struct FrequencyListShape {
  bool by_freq = false;       // most frequent first; otherwise alphabetical
  std::int64_t min_freq = 1;  // leave out items met fewer times
  int top = 0;                // keep the first `top` lines (0: all)
};

struct FrequencyItem {
  UnicodeString item;
  std::int64_t frequency = 0;
};

struct QUILLJOBS_API FrequencyResult {
  // The lines with their frequencies in the object slots (clamped to int32),
  // as saved lists hold them.
  std::unique_ptr<TStringList> list;
  std::int64_t tokens = 0;      // items counted (before the shape is applied)
  std::int64_t files_read = 0;  // files counted (not those left out)
  bool cancelled = false;       // stopped before the end: the counts are partial

  // The lines as (item, frequency) pairs, in the list's order.
  std::vector<FrequencyItem> Items() const;
};

struct WordListSettings {
  bool pos_tags = false;  // tokens are word/TAG: the tags are markup
  int min_length = 1;     // shortest word counted, in characters
  FrequencyListShape shape;
  // Files counted at once at most (0: one per core); the list is the same.
  int threads = 1;
  // A thread is started for each this many bytes of the corpus at most (0:
  // as many as asked): each thread counts into a table of its own, which
  // grows to hold most of the corpus's words however little it reads, and
  // the tables are merged at the end, so on a few megabytes a second thread
  // costs more than it saves.
  std::int64_t bytes_per_thread = kDefaultBytesPerThread;
  // With several threads, files larger than this (bytes) are shared out
  // among them in pieces of at least this size, so that one large file
  // keeps every thread busy. Text is read in parts of at most this size (and
  // at most a megabyte).
  std::int64_t piece_size = std::int64_t{4} << 20;
};

class QUILLJOBS_API WordListJob {
 public:
  explicit WordListJob(WordListSettings settings);
  // Counts the corpus piece by piece: files of any size need no buffer of
  // their whole text.
  FrequencyResult Run(const Corpus& corpus, const JobControl& control = {}) const;

 private:
  WordListSettings settings_;
};

// Characters without a word after which a run of words (an n-gram) cannot go
// on, sentence end or not: what lies between two words is carried from one
// part of a file into the next, and this bounds it.
inline constexpr std::size_t kLongestGapInRun = std::size_t{1} << 20;

struct NGramSettings {
  int n = 2;                 // words in each n-gram, 1..100
  int max_tag_length = 100;  // longest markup tag passed over
  bool pos_tags = false;
  FrequencyListShape shape;
  int threads = 1;  // files counted at once at most (0: one per core), as for word lists
  std::int64_t bytes_per_thread = kDefaultBytesPerThread;
  // Files are read in parts of about this many bytes, so that no file needs a
  // buffer of its whole text; the n-grams running across a cut are counted as
  // in the whole text.
  std::int64_t piece_size = static_cast<std::int64_t>(kDefaultPieceBytes);
};

class QUILLJOBS_API NGramJob {
 public:
  // Raises JobError(bad_request) for an n outside 1..100.
  explicit NGramJob(NGramSettings settings);
  // Counts each file on its own, so that no n-gram spans two files, and
  // within sentences (a run of words also ends at a gap of more than
  // kLongestGapInRun characters without a word).
  FrequencyResult Run(const Corpus& corpus, const JobControl& control = {}) const;

 private:
  NGramSettings settings_;
};

}  // namespace quill::jobs
