#pragma once
// The collocates of a node word: every word met within a span of words to
// the left and right of the node's occurrences, with how often it is met there
// (O), its frequency in the corpus, and the association scores.
#include <cstdint>
#include <string>
#include <vector>

#include "quilljobs/association_stats.h"
#include "quilljobs/corpus.h"
#include "quilljobs/job_control.h"
#include "quilljobs/quilljobs_export.h"
#include "quillrt/framework/strings.h"
#include "quillrt/vocabulary/relationships.h"

namespace quill::jobs {

struct CollocatesSettings {
  // The node: one or more words, each matched whole and without regard to case.
  std::vector<std::string> nodes;
  int left = 5;   // words to the left of the node, 0..50
  int right = 5;  // words to the right, 0..50 (left + right at least 1)
  bool within_sentence = false;  // spans stop at sentence ends
  bool pos_tags = false;
  std::int64_t min_freq = 1;       // least frequency of a collocate in the corpus
  std::int64_t min_coll_freq = 1;  // least co-occurrences with the node
  // The statistics a collocate must reach (the relationship threshold test);
  // with none enabled every collocate passes.
  TConcgramMutualChecks thresholds{};
  CollocationStat sort = CollocationStat::log_likelihood;  // strongest first
  int top = 0;  // keep the first `top` (0: all)
};

struct Collocate {
  UnicodeString word;
  std::int64_t observed = 0;  // co-occurrences within the span (O)
  std::int64_t left = 0;      // of which to the left of the node
  std::int64_t right = 0;     // and to the right
  std::int64_t frequency = 0; // in the whole corpus
  CollocationScores scores;
};

struct CollocatesResult {
  std::vector<Collocate> collocates;
  std::int64_t node_freq = 0;  // occurrences of the node
  std::int64_t tokens = 0;     // words in the corpus (N)
  std::int64_t files_read = 0;
  int span_size = 0;           // left + right
  bool cancelled = false;
};

class QUILLJOBS_API CollocatesJob {
 public:
  // Raises JobError(bad_request) when no node is given, the span is empty or
  // wider than 50 words either side, or a minimum is below 1.
  explicit CollocatesJob(CollocatesSettings settings);
  // Reads each file whole (spans never cross files). A node that never
  // occurs gives an empty list. Raises JobError(bad_request) when a node is
  // not one word of the corpus's language.
  CollocatesResult Run(const Corpus& corpus, const JobControl& control = {}) const;

 private:
  CollocatesSettings settings_;
};

}  // namespace quill::jobs
