// quill collocates: the words met near a node word, with how often they are
// met there and how strongly they go with it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "commands.h"
#include "corpus_input.h"
#include "frequency_output.h"
#include "progress.h"
#include "stats_output.h"
#include "quilljobs/collocates_job.h"

namespace quill::cli {
namespace {

struct CollocatesOptions {
  CorpusOptions corpus;
  jobs::CollocatesSettings job;
  std::string span = "L5,R5";
  std::string stat = "ll";
  std::vector<std::string> thresholds;
  bool all_thresholds = false;
  std::string format = "tsv";
  bool quiet = false;
};

bool ParseWordCount(const std::string& text, int& count) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < 0 || value > 1000) return false;
  count = static_cast<int>(value);
  return true;
}

// "L5,R5": five words left and five right; "L3,R0" or "L0,R2" look one way.
void ParseSpan(const std::string& span, jobs::CollocatesSettings& job) {
  const std::size_t comma = span.find(',');
  const std::string left = span.substr(0, comma), right = comma == std::string::npos ? "" : span.substr(comma + 1);
  if (left.size() < 2 || right.size() < 2 || (left[0] != 'L' && left[0] != 'l') ||
      (right[0] != 'R' && right[0] != 'r') || !ParseWordCount(left.substr(1), job.left) ||
      !ParseWordCount(right.substr(1), job.right))
    Fail("the span is written L<words>,R<words>, e.g. L5,R5: " + span, kExitUsage);
}

// "mi=3": MI must reach 3.
void ParseThreshold(const std::string& text, TConcgramMutualChecks& checks) {
  const std::size_t equals = text.find('=');
  TMutualInfoStats stat{};
  char* end = nullptr;
  const std::string value = equals == std::string::npos ? "" : text.substr(equals + 1);
  const float threshold = std::strtof(value.c_str(), &end);
  if (equals == std::string::npos || !jobs::ParseRelationshipStat(text.substr(0, equals), stat) || value.empty() ||
      *end != '\0')
    Fail("a threshold is NAME=VALUE with NAME one of dice, mi, mi3, z, ll, t, logratio: " + text, kExitUsage);
  checks.proc_settings[stat] = {true, threshold};
}

constexpr const char* kColumns[] = {"word", "O", "left", "right", "freq", "E", "mi", "mi3", "t", "z",
                                    "ll", "dice", "logdice", "logratio"};

std::vector<double> Scores(const jobs::CollocationScores& s) {
  return {s.expected, s.mi, s.mi3, s.t_score, s.z_score, s.log_likelihood, s.dice, s.log_dice, s.log_ratio};
}

void WriteTsv(const jobs::CollocatesResult& result) {
  std::string out;
  for (const char* column : kColumns) out += std::string(out.empty() ? "" : "\t") + column;
  out += '\n';
  for (const jobs::Collocate& c : result.collocates) {
    out += Utf16ToUtf8(c.word) + '\t' + std::to_string(c.observed) + '\t' + std::to_string(c.left) + '\t' +
           std::to_string(c.right) + '\t' + std::to_string(c.frequency);
    for (const double score : Scores(c.scores)) out += '\t' + TsvNumber(score);
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void WriteJson(const jobs::CollocatesResult& result) {
  std::string out = "{\"files\": " + std::to_string(result.files_read) + ", \"tokens\": " +
                    std::to_string(result.tokens) + ", \"node_freq\": " + std::to_string(result.node_freq) +
                    ", \"span_size\": " + std::to_string(result.span_size) + ", \"collocates\": [";
  bool first = true;
  for (const jobs::Collocate& c : result.collocates) {
    out += first ? "\n  {" : ",\n  {";
    first = false;
    out += "\"word\": " + JsonString(Utf16ToUtf8(c.word)) + ", \"O\": " + std::to_string(c.observed) +
           ", \"left\": " + std::to_string(c.left) + ", \"right\": " + std::to_string(c.right) +
           ", \"freq\": " + std::to_string(c.frequency);
    const std::vector<double> scores = Scores(c.scores);
    for (std::size_t k = 0; k < scores.size(); ++k)
      out += ", " + JsonString(kColumns[5 + k]) + ": " + JsonNumber(scores[k]);
    out += "}";
  }
  out += result.collocates.empty() ? "]}\n" : "\n]}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void RunCollocates(CollocatesOptions& options) {
  const OutputFormat format = ParseOutputFormat(options.format);
  ParseSpan(options.span, options.job);
  if (!jobs::ParseCollocationStat(options.stat, options.job.sort))
    Fail("unknown statistic: " + options.stat + " (freq, mi, mi3, t, z, ll, dice, logdice or logratio)", kExitUsage);
  for (const std::string& threshold : options.thresholds) ParseThreshold(threshold, options.job.thresholds);
  options.job.thresholds.test_all_procedures = options.all_thresholds;
  options.job.thresholds.test_all_words = true;  // otherwise any one statistic that passes is enough
  const jobs::CollocatesJob job(options.job);
  const jobs::Corpus corpus = OpenCorpus(options.corpus);

  JobRunControls run("counting collocates", corpus.TotalBytes(), !options.quiet);
  const jobs::CollocatesResult result = job.Run(corpus, run.Control());
  run.Finish();
  if (result.cancelled) EndInterrupted(kNoPartialScores);
  format == OutputFormat::json ? WriteJson(result) : WriteTsv(result);
  std::fflush(stdout);
  if (!options.quiet)
    std::fprintf(stderr, "quill: %lld files, %lld words, node met %lld times, %zu collocates\n",
                 static_cast<long long>(result.files_read), static_cast<long long>(result.tokens),
                 static_cast<long long>(result.node_freq), result.collocates.size());
}

QuillCommand collocates_command("collocates", [](CLI::App& app) {
  auto options = std::make_shared<CollocatesOptions>();
  CLI::App* sub = app.add_subcommand("collocates", "Collocates: the words met near a node word, with association scores");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("-s,--search", options->job.nodes, "The node word (repeatable: the words count as one node)")
      ->required()
      ->allow_extra_args(false);
  sub->add_option("--span", options->span, "Words left and right of the node, at most 50 each (default: L5,R5)");
  sub->add_flag("--sentences", options->job.within_sentence, "Spans stop at the ends of sentences");
  sub->add_option("--stat", options->stat, "Ranking: freq, mi, mi3, t, z, ll, dice, logdice or logratio (default: ll)");
  sub->add_option("--min-freq", options->job.min_freq, "Least frequency of a collocate in the corpus (default: 1)")
      ->check(CLI::Range(std::int64_t{1}, INT64_MAX));
  sub->add_option("--min-coll-freq", options->job.min_coll_freq, "Least co-occurrences with the node (default: 1)")
      ->check(CLI::Range(std::int64_t{1}, INT64_MAX));
  sub->add_option("--threshold", options->thresholds,
                  "NAME=VALUE (repeatable): a collocate must reach VALUE in NAME (dice, mi, mi3, z, ll, t, "
                  "logratio); any one is enough unless --all-thresholds")
      ->allow_extra_args(false);
  sub->add_flag("--all-thresholds", options->all_thresholds, "Every --threshold must be reached");
  sub->add_option("--top", options->job.top, "Keep only the first N lines (default: 0, all of them)")->check(NonNegativeCount());
  sub->add_option("--format", options->format, "Output format: tsv (with a header line) or json (default: tsv)");
  sub->add_flag("--pos-tags", options->job.pos_tags, "Tokens are word/TAG (as in the Brown corpus): the tags are markup");
  sub->add_flag("-q,--quiet", options->quiet, "No progress bar or summary");
  sub->footer("Example: quill collocates -s time --span L5,R5 --pos-tags --min-coll-freq 5 --stat mi3 --top 20");
  sub->callback([options] { RunCollocates(*options); });
});

}  // namespace
}  // namespace quill::cli
