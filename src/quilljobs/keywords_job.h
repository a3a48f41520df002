#pragma once
// The keywords of a target corpus against a reference corpus: every word of
// the target with its frequency in both, scored for keyness, filtered by
// frequency and significance, and ranked, the words over-represented in the
// target (positive keywords) before those under-represented (negative).
#include <cstdint>
#include <vector>

#include "quilljobs/association_stats.h"
#include "quilljobs/corpus.h"
#include "quilljobs/job_control.h"
#include "quilljobs/quilljobs_export.h"
#include "quillrt/framework/strings.h"

namespace quill::jobs {

enum class KeywordDirection { both, positive, negative };

struct KeywordsSettings {
  bool pos_tags = false;  // tokens are word/TAG: the tags are markup
  KeynessStat stat = KeynessStat::log_likelihood;  // the ranking
  // A word is kept when it occurs at least this often in the corpus where it
  // is over-represented (the target for positive keywords, else the reference).
  std::int64_t min_freq = 1;
  // Keep only words whose log-likelihood (chi-square when ranking by it)
  // reaches the critical value of p: 0.05, 0.01, 0.001 or 0.0001; 0: no test.
  double p = 0;
  // Divide p by the number of words tested (Bonferroni's correction); the
  // critical value is then computed, not tabled.
  bool bonferroni = false;
  KeywordDirection direction = KeywordDirection::both;
  // Also list the words met only in the reference (negative keywords).
  bool reference_only_words = false;
  int top = 0;  // keep the first `top` of each direction (0: all)
};

struct Keyword {
  UnicodeString word;
  std::int64_t target_freq = 0;
  std::int64_t ref_freq = 0;
  KeynessScores scores;
};

struct KeywordsResult {
  std::vector<Keyword> keywords;  // positive ones first, each part strongest first
  std::int64_t target_tokens = 0;
  std::int64_t ref_tokens = 0;
  std::int64_t target_files = 0;
  std::int64_t ref_files = 0;
  std::int64_t words_tested = 0;  // words that passed the frequency filter
  double critical_value = 0;      // the significance threshold applied (0: none)
  bool cancelled = false;
};

class QUILLJOBS_API KeywordsJob {
 public:
  // Raises JobError(bad_request) for a p other than the four tabled ones, a
  // negative top or a minimum frequency below 1.
  explicit KeywordsJob(KeywordsSettings settings);
  // Counts the words of both corpora (the word-list job's words) and scores
  // them. Raises JobError(bad_request) when either corpus holds no words.
  KeywordsResult Run(const Corpus& target, const Corpus& reference, const JobControl& control = {}) const;

 private:
  KeywordsSettings settings_;
};

}  // namespace quill::jobs
