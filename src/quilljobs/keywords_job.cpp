#include "quilljobs/keywords_job.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "quilljobs/frequency_jobs.h"

namespace quill::jobs {
namespace {

// The word list of one corpus, alphabetical (sorted, case-insensitive), with
// progress reported as part of the whole run's.
FrequencyResult CountWords(const Corpus& corpus, bool pos_tags, const JobControl& control, std::int64_t done_before,
                           std::int64_t total) {
  WordListSettings settings;
  settings.pos_tags = pos_tags;
  JobControl part;
  part.cancel = control.cancel;
  part.on_progress = [&](std::int64_t done, std::int64_t) { control.Progress(done_before + done, total); };
  return WordListJob(settings).Run(corpus, part);
}

std::int64_t FrequencyAt(const TStringList& list, int index) { return list.GetObject(index).AsInt(); }

// The frequency of `word` in a sorted list of the same comparison, 0 if absent.
std::int64_t FrequencyIn(const TStringList& list, const UnicodeString& word) {
  int index = 0;
  return list.Find(word, index) ? FrequencyAt(list, index) : 0;
}

// Whether a stronger keyword of its direction comes first: for the measures
// of effect size (%DIFF, Log Ratio) a negative keyword is stronger the lower
// it goes; the significance measures grow with the strength either way.
bool SignedStat(KeynessStat stat) { return stat == KeynessStat::percent_diff || stat == KeynessStat::log_ratio; }

void RankDirection(std::vector<Keyword>& keywords, KeynessStat stat, bool negative) {
  const bool lowest_first = negative && SignedStat(stat);
  std::stable_sort(keywords.begin(), keywords.end(), [&](const Keyword& x, const Keyword& y) {
    const double vx = KeynessValue(x.scores, stat), vy = KeynessValue(y.scores, stat);
    return lowest_first ? vx < vy : vx > vy;
  });
}

}  // namespace

KeywordsJob::KeywordsJob(KeywordsSettings settings) : settings_(settings) {
  double tabled = 0;
  if (settings_.p != 0 && !TabledCriticalValue(settings_.p, tabled))
    throw JobError(JobError::bad_request, "p must be 0.05, 0.01, 0.001 or 0.0001");
  if (settings_.min_freq < 1) throw JobError(JobError::bad_request, "the minimum frequency must be at least 1");
  if (settings_.top < 0) throw JobError(JobError::bad_request, "top must not be negative");
}

KeywordsResult KeywordsJob::Run(const Corpus& target, const Corpus& reference, const JobControl& control) const {
  const std::int64_t total = target.TotalBytes() + reference.TotalBytes();
  const FrequencyResult target_words = CountWords(target, settings_.pos_tags, control, 0, total);
  const FrequencyResult ref_words =
      CountWords(reference, settings_.pos_tags, control, target.TotalBytes(), total);

  KeywordsResult result;
  result.target_tokens = target_words.tokens;
  result.ref_tokens = ref_words.tokens;
  result.target_files = target_words.files_read;
  result.ref_files = ref_words.files_read;
  result.cancelled = target_words.cancelled || ref_words.cancelled;
  if (result.cancelled) return result;
  if (result.target_tokens == 0) throw JobError(JobError::bad_request, "the target corpus holds no words");
  if (result.ref_tokens == 0) throw JobError(JobError::bad_request, "the reference corpus holds no words");

  const auto target_size = static_cast<double>(result.target_tokens);
  const auto ref_size = static_cast<double>(result.ref_tokens);
  std::vector<Keyword> candidates;
  const auto consider = [&](const UnicodeString& word, std::int64_t in_target, std::int64_t in_ref) {
    Keyword keyword{word, in_target, in_ref,
                    ScoreKeyness({static_cast<double>(in_target), static_cast<double>(in_ref), target_size, ref_size})};
    const std::int64_t where_over = keyword.scores.positive ? in_target : in_ref;
    if (where_over >= settings_.min_freq) candidates.push_back(std::move(keyword));
  };
  const TStringList& in_target = *target_words.list;
  const TStringList& in_ref = *ref_words.list;
  for (int i = 0; i < in_target.Count(); ++i)
    consider(in_target[i], FrequencyAt(in_target, i), FrequencyIn(in_ref, in_target[i]));
  if (settings_.reference_only_words)
    for (int i = 0; i < in_ref.Count(); ++i)
      if (FrequencyIn(in_target, in_ref[i]) == 0) consider(in_ref[i], 0, FrequencyAt(in_ref, i));
  result.words_tested = static_cast<std::int64_t>(candidates.size());

  if (settings_.p != 0) {
    if (settings_.bonferroni)
      result.critical_value = ChiSquareCriticalValue(settings_.p / std::max<double>(1, result.words_tested));
    else
      TabledCriticalValue(settings_.p, result.critical_value);
  }
  const KeynessStat test = settings_.stat == KeynessStat::chi_square ? KeynessStat::chi_square : KeynessStat::log_likelihood;
  std::vector<Keyword> positive, negative;
  for (Keyword& keyword : candidates) {
    if (settings_.p != 0 && KeynessValue(keyword.scores, test) < result.critical_value) continue;
    (keyword.scores.positive ? positive : negative).push_back(std::move(keyword));
  }
  RankDirection(positive, settings_.stat, false);
  RankDirection(negative, settings_.stat, true);
  const auto take = [&](std::vector<Keyword>& part) {
    if (settings_.top > 0 && part.size() > static_cast<std::size_t>(settings_.top))
      part.resize(static_cast<std::size_t>(settings_.top));
    for (Keyword& keyword : part) result.keywords.push_back(std::move(keyword));
  };
  if (settings_.direction != KeywordDirection::negative) take(positive);
  if (settings_.direction != KeywordDirection::positive) take(negative);
  return result;
}

}  // namespace quill::jobs
