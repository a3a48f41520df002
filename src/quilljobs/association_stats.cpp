#include "quilljobs/association_stats.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

namespace quill::jobs {
namespace {

// One cell's share of G2: O ln(O/E), taking 0 ln 0 as 0 (the limit). A cell
// that cannot be observed (O <= 0) adds nothing.
double GTerm(double observed, double expected) {
  if (observed <= 0 || expected <= 0) return 0;
  return observed * std::log(observed / expected);
}

// A zero frequency would make a ratio infinite or zero; Hardie's Log Ratio
// counts it as half an occurrence.
double AtLeastHalf(double frequency) { return frequency > 0 ? frequency : 0.5; }

template <typename Stat, std::size_t N>
bool Lookup(const std::array<std::pair<std::string_view, Stat>, N>& names, std::string_view name, Stat& stat) {
  for (const auto& [known, value] : names)
    if (known == name) {
      stat = value;
      return true;
    }
  return false;
}

}  // namespace

KeynessScores ScoreKeyness(const KeynessCounts& counts) {
  const double a = counts.target_freq, b = counts.ref_freq;
  const double c = counts.target_size, d = counts.ref_size;
  const double n = c + d;
  KeynessScores scores;
  scores.positive = a * d >= b * c;

  // The Lancaster calculator sums over the two frequency cells only.
  const double e1 = c * (a + b) / n, e2 = d * (a + b) / n;
  scores.log_likelihood = 2 * (GTerm(a, e1) + GTerm(b, e2));

  // Cells: word in target a, in reference b; other words c - a, d - b. The
  // correction never takes the difference past zero.
  const double margins = (a + b) * (n - a - b) * c * d;
  const double difference = std::max(0.0, std::fabs(a * (d - b) - b * (c - a)) - n / 2);
  scores.chi_square = margins > 0 ? n * difference * difference / margins : 0;

  const double target_relative = a / c, ref_relative = b / d;
  scores.percent_diff = b > 0 ? (target_relative - ref_relative) * 100 / ref_relative
                              : std::numeric_limits<double>::infinity();
  scores.log_ratio = std::log2((AtLeastHalf(a) / c) / (AtLeastHalf(b) / d));
  scores.bic = scores.log_likelihood - std::log(n);
  return scores;
}

bool ParseKeynessStat(std::string_view name, KeynessStat& stat) {
  static constexpr std::array<std::pair<std::string_view, KeynessStat>, 5> kNames{{
      {"ll", KeynessStat::log_likelihood},
      {"chi2", KeynessStat::chi_square},
      {"diff", KeynessStat::percent_diff},
      {"logratio", KeynessStat::log_ratio},
      {"bic", KeynessStat::bic},
  }};
  return Lookup(kNames, name, stat);
}

double KeynessValue(const KeynessScores& scores, KeynessStat stat) {
  switch (stat) {
    case KeynessStat::log_likelihood: return scores.log_likelihood;
    case KeynessStat::chi_square: return scores.chi_square;
    case KeynessStat::percent_diff: return scores.percent_diff;
    case KeynessStat::log_ratio: return scores.log_ratio;
    case KeynessStat::bic: return scores.bic;
  }
  return 0;
}

double ChiSquareCriticalValue(double p) {
  // With one degree of freedom P(X > x) = erfc(sqrt(x / 2)), which falls
  // steadily from 1 at x = 0; halving the interval finds x to the last bit.
  double low = 0, high = 2000;
  for (int step = 0; step < 200 && high - low > 0; ++step) {
    const double middle = (low + high) / 2;
    if (middle == low || middle == high) break;
    (std::erfc(std::sqrt(middle / 2)) > p ? low : high) = middle;
  }
  return (low + high) / 2;
}

bool TabledCriticalValue(double p, double& value) {
  static constexpr std::array<std::pair<double, double>, 4> kTable{{
      {0.05, 3.84}, {0.01, 6.63}, {0.001, 10.83}, {0.0001, 15.13}}};
  for (const auto& [tabled_p, critical] : kTable)
    if (std::fabs(p - tabled_p) <= tabled_p * 1e-9) {
      value = critical;
      return true;
    }
  return false;
}

CollocationScores ScoreCollocation(const CollocationCounts& counts) {
  const double o = counts.observed, n = counts.corpus_size;
  const double r1 = counts.node_freq * counts.span_size, c1 = counts.collocate_freq;
  CollocationScores scores;
  scores.expected = r1 * c1 / n;
  const double e = scores.expected;
  scores.mi = std::log2(o / e);
  scores.mi3 = std::log2(o * o * o / e);
  scores.t_score = (o - e) / std::sqrt(o);
  scores.z_score = (o - e) / std::sqrt(e);

  // The four cells: in a span and the collocate, in a span and another word,
  // outside the spans and the collocate, outside and another word. A token
  // inside two nodes' spans counts twice, so the outer cells are kept at zero
  // or above.
  const double o12 = std::max(0.0, r1 - o), o21 = std::max(0.0, c1 - o);
  const double o22 = std::max(0.0, n - r1 - c1 + o);
  scores.log_likelihood = 2 * (GTerm(o, e) + GTerm(o12, r1 * (n - c1) / n) + GTerm(o21, (n - r1) * c1 / n) +
                               GTerm(o22, (n - r1) * (n - c1) / n));

  scores.dice = 2 * o / (counts.node_freq + c1);
  scores.log_dice = 14 + std::log2(scores.dice);
  scores.log_ratio = n > r1 ? std::log2((AtLeastHalf(o) / r1) / (AtLeastHalf(o21) / (n - r1)))
                            : std::numeric_limits<double>::quiet_NaN();
  return scores;
}

TRelationshipArray RelationshipValues(const CollocationScores& scores) {
  TRelationshipArray values{};
  values[MI_Dice] = static_cast<float>(scores.dice);
  values[MI_MI] = static_cast<float>(scores.mi);
  values[MI_MI3] = static_cast<float>(scores.mi3);
  values[MI_Z] = static_cast<float>(scores.z_score);
  values[MI_log_likelihood] = static_cast<float>(scores.log_likelihood);
  values[MI_T_Score] = static_cast<float>(scores.t_score);
  values[MI_Log_Ratio] = static_cast<float>(scores.log_ratio);
  return values;
}

bool ParseCollocationStat(std::string_view name, CollocationStat& stat) {
  static constexpr std::array<std::pair<std::string_view, CollocationStat>, 9> kNames{{
      {"freq", CollocationStat::frequency},
      {"mi", CollocationStat::mi},
      {"mi3", CollocationStat::mi3},
      {"t", CollocationStat::t_score},
      {"z", CollocationStat::z_score},
      {"ll", CollocationStat::log_likelihood},
      {"dice", CollocationStat::dice},
      {"logdice", CollocationStat::log_dice},
      {"logratio", CollocationStat::log_ratio},
  }};
  return Lookup(kNames, name, stat);
}

bool ParseRelationshipStat(std::string_view name, TMutualInfoStats& stat) {
  static constexpr std::array<std::pair<std::string_view, TMutualInfoStats>, 7> kNames{{
      {"dice", MI_Dice},
      {"mi", MI_MI},
      {"mi3", MI_MI3},
      {"z", MI_Z},
      {"ll", MI_log_likelihood},
      {"t", MI_T_Score},
      {"logratio", MI_Log_Ratio},
  }};
  return Lookup(kNames, name, stat);
}

std::string TsvNumber(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.12g", value);
  return text;
}

}  // namespace quill::jobs
