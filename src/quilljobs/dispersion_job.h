#pragma once
// How evenly a word is spread over a corpus: its frequency in each file (or
// in each of N equal-sized parts of the corpus), where each occurrence falls,
// and the dispersion measures range, Juilland's D and Gries' DP.
#include <cstdint>
#include <string>
#include <vector>

#include "quilljobs/corpus.h"
#include "quilljobs/job_control.h"
#include "quilljobs/quilljobs_export.h"

namespace quill::jobs {

// The measures over parts of sizes s_i (words) holding f_i occurrences.
struct DispersionMeasures {
  std::int64_t range = 0;  // parts holding the word at least once
  // Juilland's D = 1 - V / sqrt(n - 1), V the coefficient of variation (the
  // population standard deviation over the mean) of the parts' relative
  // frequencies f_i / s_i: 1 when perfectly even. NaN for one part or no hit.
  double juilland_d = 0;
  // Gries' DP = 1/2 sum |f_i / F - s_i / S| (Gries 2008): 0 when perfectly
  // even, towards 1 when all in one small part. NaN with no hit.
  double dp = 0;
  // DP / (1 - min s_i / S), so that 1 is reached (Lijffijt and Gries 2012).
  double dp_norm = 0;
};

// Parts without words are left out (they have no relative frequency).
QUILLJOBS_API DispersionMeasures MeasureDispersion(const std::vector<std::int64_t>& frequencies,
                                                   const std::vector<std::int64_t>& sizes);

struct DispersionSettings {
  std::vector<std::string> words;  // each matched whole and without regard to case; their hits count together
  int parts = 0;                   // 0: one part per file; N: N equal parts of the corpus's words in reading order
  bool pos_tags = false;
};

struct DispersionPart {
  std::string name;             // the file's name (UTF-8), or "segment K of N"
  bool segment = false;         // an equal share of the corpus's words rather than a file
  std::int64_t words = 0;
  std::int64_t hits = 0;
  std::vector<double> positions;  // of each hit in the part, from 0 (first word) to below 1

  double RelativeFrequency() const { return words > 0 ? static_cast<double>(hits) / static_cast<double>(words) : 0; }
};

struct DispersionResult {
  std::vector<DispersionPart> parts;  // files without words are left out
  std::int64_t tokens = 0;
  std::int64_t hits = 0;
  std::int64_t files_read = 0;
  DispersionMeasures measures;
  bool cancelled = false;
};

class QUILLJOBS_API DispersionJob {
 public:
  // Raises JobError(bad_request) when no word is given or parts is negative.
  explicit DispersionJob(DispersionSettings settings);
  // Raises JobError(bad_request) when a word is not one word of the corpus's
  // language, or when the corpus has fewer words than parts asked for.
  DispersionResult Run(const Corpus& corpus, const JobControl& control = {}) const;

 private:
  DispersionSettings settings_;
};

}  // namespace quill::jobs
