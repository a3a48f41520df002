#pragma once
// The concordance job: every hit of the search words in a corpus, with its
// context, word, sentence and paragraph numbers, searched as the
// concordancer searches (the text's class array with markup and segment
// markers, the language's middle characters, one engine search per search
// word), optionally kept only near context words or away from exclusion
// words, and sorted.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "quilljobs/concordance_lines.h"
#include "quilljobs/corpus.h"
#include "quilljobs/job_control.h"
#include "quilljobs/quilljobs_export.h"

namespace quill::jobs {

struct ConcordanceSettings {
  std::vector<std::string> searches;  // search words as typed (UTF-8), each with its "/" alternatives
  std::vector<std::string> context;   // keep hits with one of these within the horizon
  std::vector<std::string> exclude;   // drop hits with one of these at or within the horizon
  int horizon = 5;                    // words either side, 0..100
  int width = 40;                     // characters of context either side
  bool pos_tags = false;              // tokens are word/TAG: the tags are markup
  bool show_tags = false;             // ... shown in the context all the same
  std::string tag;                    // keep hits whose (last) word carries a matching tag
  std::vector<SortKey> sort;          // up to three keys; none: reading order
  std::int64_t limit = 0;             // lines kept (0: all); the totals always count every hit
  bool keep_lines = true;             // false: count only
  // Files larger than this (bytes) are read and searched in pieces of about
  // this size, so that memory stays bounded whatever a file's size; numbers,
  // hits and context continue across the pieces as in one whole text. Two
  // limits: whether the file marks sentence and paragraph ends (</s>, </p>)
  // is judged from the pieces read so far, and a hit of more than 1,024
  // characters at a piece's end may lose some of its right context. Pieces
  // of a megabyte keep a window's text, classes and words in the processor's
  // cache; larger ones cost more time, not less.
  std::int64_t piece_size = std::int64_t{1} << 20;
  int threads = 1;  // files searched at once (0: one per core); the output is the same
};

struct ConcordanceTotals {
  std::vector<std::int64_t> search_hits;  // per search word, in the order given
  std::int64_t hits = 0;
  std::int64_t words = 0;       // words of the files read
  std::int64_t files_read = 0;  // files searched (not those left out)
  std::uint32_t lcid = 0;       // the language searched in
  bool cancelled = false;       // stopped before the end: the totals are partial
};

struct ConcordanceResult {
  std::vector<ConcordanceLine> lines;  // sorted and limited; empty when streamed or counting
  ConcordanceTotals totals;
};

// Takes one line; false stops the job.
using ConcordanceLineSink = std::function<bool(const ConcordanceLine& line)>;

class QUILLJOBS_API ConcordanceJob {
 public:
  // Checks what needs no corpus: raises JobError(bad_request) for no search
  // word, more than three sort keys, or a horizon or width out of range.
  explicit ConcordanceJob(ConcordanceSettings settings);

  const ConcordanceSettings& Settings() const { return settings_; }

  // Searches every file of the corpus, on as many threads as asked, the
  // results taken in reading order. With `on_line`, the lines are
  // handed over in reading order as each file is done (at most `limit` of
  // them) instead of being kept: a caller can show them at once or stop; no
  // sort keys may be set then. Raises JobError(bad_request) for a search,
  // context or exclusion word with nothing to search for.
  ConcordanceResult Run(const Corpus& corpus, const JobControl& control = {},
                        const ConcordanceLineSink& on_line = nullptr) const;

 private:
  ConcordanceSettings settings_;
};

// A --tag pattern: alternatives separated by "/", each with the wildcards
// "*" and "?", compared without regard to case.
QUILLJOBS_API bool TagMatches(std::u16string_view tag, const UnicodeString& pattern);

}  // namespace quill::jobs
