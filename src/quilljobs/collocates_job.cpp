#include "quilljobs/collocates_job.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "quilljobs/word_keys.h"
#include "quilljobs/word_rule.h"

namespace quill::jobs {
namespace {

constexpr int kMaxSpan = 50;

// Every distinct word of the corpus (by its folding) with its counts.
class Vocabulary {
 public:
  struct Entry {
    UnicodeString spelling;  // as first met
    std::int64_t frequency = 0;
    std::int64_t left = 0;
    std::int64_t right = 0;
  };

  // Counts one occurrence; `key` receives the word's folding.
  std::uint32_t Count(std::u16string_view spelling, UnicodeString& key) {
    FoldWordInto(spelling, key);
    auto at = ids_.find(key);
    if (at == ids_.end()) {
      at = ids_.emplace(key, static_cast<std::uint32_t>(entries_.size())).first;
      entries_.push_back({UnicodeString(spelling)});
    }
    ++entries_[at->second].frequency;
    return at->second;
  }
  std::vector<Entry>& Entries() { return entries_; }

 private:
  std::unordered_map<UnicodeString, std::uint32_t> ids_;
  std::vector<Entry> entries_;
};

// One file's words as vocabulary entries, with the sentence each belongs to
// (all in one when sentences are not asked for) and where the node stands.
struct FileWords {
  std::vector<std::uint32_t> ids;
  std::vector<std::uint32_t> sentence;
  std::vector<std::size_t> nodes;
};

double StatValue(const Collocate& c, CollocationStat stat);

// The ranking value, a score that cannot be computed (NaN) ranking last.
double RankingValue(const Collocate& c, CollocationStat stat) {
  const double value = StatValue(c, stat);
  return std::isnan(value) ? -HUGE_VAL : value;
}

double StatValue(const Collocate& c, CollocationStat stat) {
  const CollocationScores& s = c.scores;
  switch (stat) {
    case CollocationStat::frequency: return static_cast<double>(c.observed);
    case CollocationStat::mi: return s.mi;
    case CollocationStat::mi3: return s.mi3;
    case CollocationStat::t_score: return s.t_score;
    case CollocationStat::z_score: return s.z_score;
    case CollocationStat::log_likelihood: return s.log_likelihood;
    case CollocationStat::dice: return s.dice;
    case CollocationStat::log_dice: return s.log_dice;
    case CollocationStat::log_ratio: return s.log_ratio;
  }
  return 0;
}

bool AnyThresholdEnabled(const TConcgramMutualChecks& checks) {
  return std::any_of(checks.proc_settings.begin(), checks.proc_settings.end(),
                     [](const TBoolAndSingleSettings& setting) { return setting.do_it; });
}

}  // namespace

CollocatesJob::CollocatesJob(CollocatesSettings settings) : settings_(std::move(settings)) {
  if (settings_.nodes.empty()) throw JobError(JobError::bad_request, "no node word given");
  if (settings_.left < 0 || settings_.right < 0 || settings_.left > kMaxSpan || settings_.right > kMaxSpan)
    throw JobError(JobError::bad_request, "the span reaches 0 to " + std::to_string(kMaxSpan) + " words each side");
  if (settings_.left + settings_.right == 0) throw JobError(JobError::bad_request, "the span holds no words");
  if (settings_.min_freq < 1 || settings_.min_coll_freq < 1)
    throw JobError(JobError::bad_request, "the minimum frequencies must be at least 1");
  if (settings_.top < 0) throw JobError(JobError::bad_request, "top must not be negative");
}

namespace {

constexpr std::size_t kWordsBetweenStopChecks = std::size_t{1} << 16;

}  // namespace

CollocatesResult CollocatesJob::Run(const Corpus& corpus, const JobControl& control) const {
  const WordRule rule = corpus.Rule(settings_.pos_tags);
  ClassifiedText classified;
  std::vector<WordSpan> spans;

  const std::unordered_set<UnicodeString> node_keys = WordKeysOf(settings_.nodes, rule, "a node");

  Vocabulary vocabulary;
  std::vector<bool> is_node;  // by vocabulary entry
  CollocatesResult result;
  result.span_size = settings_.left + settings_.right;
  UnicodeString text, key;
  FileWords words;
  std::int64_t done = 0;
  for (const CorpusFile& file : corpus.Files()) {
    if (control.Cancelled()) break;
    if (corpus.ReadText(file, text)) {
      ++result.files_read;
      if (control.Cancelled()) break;
      ClassifyText(text, rule, classified);
      FindWords(classified, text.size(), spans);
      if (control.Cancelled()) break;
      words.ids.clear();
      words.sentence.clear();
      words.nodes.clear();
      std::uint32_t sentence = 0;
      for (std::size_t w = 0; w < spans.size(); ++w) {
        // A large file is looked at for a stop now and then, not only between files.
        if (w % kWordsBetweenStopChecks == 0 && w > 0 && control.Cancelled()) break;
        const std::u16string_view word = std::u16string_view(text).substr(spans[w].start, spans[w].end - spans[w].start);
        const std::uint32_t id = vocabulary.Count(word, key);
        if (id >= is_node.size()) is_node.push_back(node_keys.count(key) > 0);
        if (settings_.within_sentence && w > 0 && EndsSentenceBetween(text, classified, spans[w - 1].end, spans[w].start))
          ++sentence;
        words.ids.push_back(id);
        words.sentence.push_back(sentence);
        if (is_node[id]) words.nodes.push_back(w);
      }
      result.tokens += static_cast<std::int64_t>(spans.size());
      result.node_freq += static_cast<std::int64_t>(words.nodes.size());
      auto& entries = vocabulary.Entries();
      const std::size_t count = words.ids.size();
      for (const std::size_t at : words.nodes) {
        const auto left = static_cast<std::size_t>(settings_.left), right = static_cast<std::size_t>(settings_.right);
        for (std::size_t j = at >= left ? at - left : 0; j < at; ++j)
          if (words.sentence[j] == words.sentence[at]) ++entries[words.ids[j]].left;
        for (std::size_t j = at + 1; j <= at + right && j < count; ++j)
          if (words.sentence[j] == words.sentence[at]) ++entries[words.ids[j]].right;
      }
    }
    done += file.size;
    control.Progress(done, corpus.TotalBytes());
  }
  result.cancelled = control.Cancelled();  // the last file too may have been cut short

  const bool tested = AnyThresholdEnabled(settings_.thresholds);
  for (Vocabulary::Entry& entry : vocabulary.Entries()) {
    const std::int64_t observed = entry.left + entry.right;
    if (observed < settings_.min_coll_freq || observed == 0 || entry.frequency < settings_.min_freq) continue;
    Collocate collocate{std::move(entry.spelling), observed, entry.left, entry.right, entry.frequency, {}};
    collocate.scores = ScoreCollocation({static_cast<double>(observed), static_cast<double>(result.node_freq),
                                         static_cast<double>(entry.frequency), static_cast<double>(result.span_size),
                                         static_cast<double>(result.tokens)});
    if (tested && !PassesRelationshipThresholdTests(settings_.thresholds, RelationshipValues(collocate.scores)))
      continue;
    result.collocates.push_back(std::move(collocate));
  }
  const CollocationStat stat = settings_.sort;
  std::sort(result.collocates.begin(), result.collocates.end(), [stat](const Collocate& x, const Collocate& y) {
    const double vx = RankingValue(x, stat), vy = RankingValue(y, stat);
    if (vx != vy) return vx > vy;
    if (x.observed != y.observed) return x.observed > y.observed;
    return x.word < y.word;
  });
  if (settings_.top > 0 && result.collocates.size() > static_cast<std::size_t>(settings_.top))
    result.collocates.resize(static_cast<std::size_t>(settings_.top));
  return result;
}

}  // namespace quill::jobs
