#pragma once
// The statistics of keyness (how much more, or less, often a word occurs in a
// target corpus than in a reference corpus) and of collocation (how strongly
// a word goes with a node word), computed from raw counts. Pure functions: the
// jobs count, these score. Sources are named at each formula.
#include <cstdint>
#include <string>
#include <string_view>

#include "quilljobs/quilljobs_export.h"
#include "quillrt/vocabulary/relationships.h"

namespace quill::jobs {

// A word's frequency in the target and the reference corpus, and the number
// of words (tokens) in each. Both sizes must be above zero.
struct KeynessCounts {
  double target_freq = 0;
  double ref_freq = 0;
  double target_size = 0;
  double ref_size = 0;
};

struct KeynessScores {
  double log_likelihood = 0;  // G2, Dunning 1993, in the Lancaster calculator's two-term form
  double chi_square = 0;      // Pearson's chi-square over the 2x2 table, with Yates' correction
  double percent_diff = 0;    // %DIFF, Gabrielatos and Marchi 2012 (+infinity when absent from the reference)
  double log_ratio = 0;       // Log Ratio, Hardie 2014 (0.5 stands in for a zero frequency)
  double bic = 0;             // BIC approximation to the Bayes factor, Wilson 2013: G2 - ln(N)
  bool positive = true;       // relatively at least as frequent in the target as in the reference
};

QUILLJOBS_API KeynessScores ScoreKeyness(const KeynessCounts& counts);

// The ranking statistics of a keyword list, with their names on the command
// line and in Python: "ll", "chi2", "diff", "logratio", "bic".
enum class KeynessStat { log_likelihood, chi_square, percent_diff, log_ratio, bic };
QUILLJOBS_API bool ParseKeynessStat(std::string_view name, KeynessStat& stat);
QUILLJOBS_API double KeynessValue(const KeynessScores& scores, KeynessStat stat);

// The value of chi-square with one degree of freedom that is exceeded with
// probability `p` (0 < p < 1): 3.841... for 0.05.
QUILLJOBS_API double ChiSquareCriticalValue(double p);
// The customary rounded critical values: 3.84, 6.63, 10.83 and 15.13 for
// p = 0.05, 0.01, 0.001 and 0.0001. False for any other p.
QUILLJOBS_API bool TabledCriticalValue(double p, double& value);

// A collocate's counts: O, its co-occurrences with the node within the span;
// the node's and the collocate's frequencies in the corpus; the number of
// word positions the span holds around each node (L + R); the corpus's size.
struct CollocationCounts {
  double observed = 0;
  double node_freq = 0;
  double collocate_freq = 0;
  double span_size = 0;
  double corpus_size = 0;
};

// After Evert 2008 and Brezina, McEnery and Wattam 2015. The 2x2 table has
// R1 = node_freq x span_size (the word positions inside the spans) and
// C1 = collocate_freq; E = R1 C1 / N.
struct CollocationScores {
  double expected = 0;        // E
  double mi = 0;              // log2(O/E)
  double mi3 = 0;             // log2(O^3/E)
  double t_score = 0;         // (O - E) / sqrt(O)
  double z_score = 0;         // (O - E) / sqrt(E)
  double log_likelihood = 0;  // G2 over the four cells of the 2x2 table
  double dice = 0;            // 2 O / (f(node) + f(collocate))
  double log_dice = 0;        // 14 + log2(Dice)
  double log_ratio = 0;       // log2 of the collocate's relative frequency inside the spans over outside them
};

QUILLJOBS_API CollocationScores ScoreCollocation(const CollocationCounts& counts);

// The scores in the order the relationship threshold test reads them.
QUILLJOBS_API TRelationshipArray RelationshipValues(const CollocationScores& scores);

// The ranking statistics of a collocate list, named "freq", "mi", "mi3", "t",
// "z", "ll", "dice", "logdice", "logratio".
enum class CollocationStat { frequency, mi, mi3, t_score, z_score, log_likelihood, dice, log_dice, log_ratio };
QUILLJOBS_API bool ParseCollocationStat(std::string_view name, CollocationStat& stat);
// A threshold's statistic: "dice", "mi", "mi3", "z", "ll", "t", "logratio".
QUILLJOBS_API bool ParseRelationshipStat(std::string_view name, TMutualInfoStats& stat);

// A score as the statistics' tab-separated output writes it: twelve
// significant digits, enough to check a score to 1e-9 of its value; "inf",
// "-inf" and "nan" for the values that are not finite (a word absent from the
// reference has an infinite %DIFF).
QUILLJOBS_API std::string TsvNumber(double value);

}  // namespace quill::jobs
