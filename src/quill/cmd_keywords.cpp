// quill keywords: the words of a target corpus that occur significantly more
// (or less) often than in a reference corpus, with their keyness scores.
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "corpus_input.h"
#include "frequency_output.h"
#include "progress.h"
#include "stats_output.h"
#include "quilljobs/keywords_job.h"

namespace quill::cli {
namespace {

struct KeywordsOptions {
  CorpusOptions corpus;  // the target's paths; the other options serve both corpora
  std::vector<std::string> reference;
  jobs::KeywordsSettings job;
  std::string stat = "ll";
  std::string direction = "both";
  std::string format = "tsv";
  bool quiet = false;
};

jobs::KeywordDirection DirectionOf(const std::string& name) {
  if (name == "both") return jobs::KeywordDirection::both;
  if (name == "positive") return jobs::KeywordDirection::positive;
  if (name == "negative") return jobs::KeywordDirection::negative;
  Fail("unknown direction: " + name + " (positive, negative or both)", kExitUsage);
}

constexpr const char* kColumns[] = {"word", "target_freq", "ref_freq", "ll", "chi2", "diff", "logratio", "bic", "sign"};

void WriteTsv(const jobs::KeywordsResult& result) {
  std::string out;
  for (const char* column : kColumns) out += std::string(out.empty() ? "" : "\t") + column;
  out += '\n';
  for (const jobs::Keyword& k : result.keywords) {
    out += Utf16ToUtf8(k.word) + '\t' + std::to_string(k.target_freq) + '\t' + std::to_string(k.ref_freq) + '\t' +
           TsvNumber(k.scores.log_likelihood) + '\t' + TsvNumber(k.scores.chi_square) + '\t' +
           TsvNumber(k.scores.percent_diff) + '\t' + TsvNumber(k.scores.log_ratio) + '\t' + TsvNumber(k.scores.bic) +
           '\t' + (k.scores.positive ? "+" : "-") + '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void WriteJson(const jobs::KeywordsResult& result) {
  std::string out = "{\"target_files\": " + std::to_string(result.target_files) +
                    ", \"target_tokens\": " + std::to_string(result.target_tokens) +
                    ", \"ref_files\": " + std::to_string(result.ref_files) +
                    ", \"ref_tokens\": " + std::to_string(result.ref_tokens) +
                    ", \"words_tested\": " + std::to_string(result.words_tested) +
                    ", \"critical_value\": " + JsonNumber(result.critical_value) + ", \"keywords\": [";
  bool first = true;
  for (const jobs::Keyword& k : result.keywords) {
    out += first ? "\n  {" : ",\n  {";
    first = false;
    out += "\"word\": " + JsonString(Utf16ToUtf8(k.word)) + ", \"target_freq\": " + std::to_string(k.target_freq) +
           ", \"ref_freq\": " + std::to_string(k.ref_freq) + ", \"ll\": " + JsonNumber(k.scores.log_likelihood) +
           ", \"chi2\": " + JsonNumber(k.scores.chi_square) + ", \"diff\": " + JsonNumber(k.scores.percent_diff) +
           ", \"logratio\": " + JsonNumber(k.scores.log_ratio) + ", \"bic\": " + JsonNumber(k.scores.bic) +
           ", \"positive\": " + (k.scores.positive ? "true" : "false") + "}";
  }
  out += result.keywords.empty() ? "]}\n" : "\n]}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void RunKeywords(KeywordsOptions& options) {
  const OutputFormat format = ParseOutputFormat(options.format);
  if (!jobs::ParseKeynessStat(options.stat, options.job.stat))
    Fail("unknown statistic: " + options.stat + " (ll, chi2, diff, logratio or bic)", kExitUsage);
  options.job.direction = DirectionOf(options.direction);
  if (options.corpus.paths.empty()) Fail("name the target corpus's files or folders", kExitUsage);
  const jobs::KeywordsJob job(options.job);
  CorpusOptions reference_options = options.corpus;
  reference_options.paths = options.reference;
  const jobs::Corpus target = OpenCorpus(options.corpus);
  const jobs::Corpus reference = OpenCorpus(reference_options);

  JobRunControls run("counting words", target.TotalBytes() + reference.TotalBytes(), !options.quiet);
  const jobs::KeywordsResult result = job.Run(target, reference, run.Control());
  run.Finish();
  if (result.cancelled) EndInterrupted(kNoPartialScores);
  format == OutputFormat::json ? WriteJson(result) : WriteTsv(result);
  std::fflush(stdout);
}

QuillCommand keywords_command("keywords", [](CLI::App& app) {
  auto options = std::make_shared<KeywordsOptions>();
  CLI::App* sub = app.add_subcommand("keywords", "Keywords: words of a target corpus unusually frequent (or rare) "
                                                 "against a reference corpus");
  AddCorpusOptions(sub, options->corpus);
  // Every path after --ref, up to the next option, is the reference's.
  sub->add_option("--ref", options->reference, "Files and folders of the reference corpus")
      ->required()
      ->expected(1, -1)
      ->allow_extra_args(true);
  sub->add_option("--stat", options->stat, "Ranking: ll, chi2, diff (%DIFF), logratio or bic (default: ll)");
  sub->add_option("--min-freq", options->job.min_freq,
                  "Least frequency in the corpus where the word is over-represented (default: 1)")
      ->check(CLI::Range(std::int64_t{1}, INT64_MAX));
  sub->add_option("--p", options->job.p,
                  "Keep only words significant at p: 0.05, 0.01, 0.001 or 0.0001 (critical values 3.84, 6.63, "
                  "10.83, 15.13 of log-likelihood, or of chi-square with --stat chi2)");
  sub->add_flag("--bonferroni", options->job.bonferroni, "With --p: divide p by the number of words tested");
  sub->add_option("--keys", options->direction, "positive, negative or both (default: both, positive first)");
  sub->add_flag("--ref-only-words", options->job.reference_only_words,
                "Also list the words met only in the reference (as negative keywords)");
  sub->add_option("--top", options->job.top, "Keep the first N of each direction (default: 0, all)")
      ->check(NonNegativeCount());
  sub->add_option("--format", options->format, "Output format: tsv (with a header line) or json (default: tsv)");
  sub->add_flag("--pos-tags", options->job.pos_tags, "Tokens are word/TAG (as in the Brown corpus): the tags are markup");
  sub->add_flag("-q,--quiet", options->quiet, "No progress bar");
  sub->footer("Example: quill keywords data/brown/ca* --ref data/brown/c[b-r]* --pos-tags --p 0.0001 --top 20");
  sub->callback([options] { RunKeywords(*options); });
});

}  // namespace
}  // namespace quill::cli
