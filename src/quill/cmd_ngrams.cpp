// quill ngrams: the n-grams of a corpus with their frequencies.
#include <memory>

#include "commands.h"
#include "work_options.h"
#include "corpus_input.h"
#include "frequency_output.h"
#include "progress.h"
#include "quilljobs/frequency_jobs.h"
#include "quilljobs/saved_lists.h"

namespace quill::cli {
namespace {

struct NGramOptions {
  CorpusOptions corpus;
  jobs::NGramSettings job;
  std::string format = "tsv";
  bool quiet = false;
  std::string save;  // also write the list to this saved-list file
};

void RunNGrams(const NGramOptions& options) {
  const OutputFormat format = ParseOutputFormat(options.format);
  const jobs::NGramJob job(options.job);
  const jobs::Corpus corpus = OpenCorpus(options.corpus, options.job.threads);
  JobRunControls run("counting " + std::to_string(options.job.n) + "-grams", corpus.TotalBytes(), !options.quiet);
  const jobs::FrequencyResult result = job.Run(corpus, run.Control());
  run.Finish();

  if (!options.save.empty() && !result.cancelled) jobs::SaveFrequencyList(options.save, *result.list, options.job.n);
  WriteFrequencyList(*result.list, format,
                     {{"files", result.files_read}, {"n", options.job.n}, {"ngrams", result.tokens},
                      {"lines", result.list->Count()}},
                     "items", "ngram");
  if (result.cancelled) EndInterrupted(PartialListNote(options.save));
}

QuillCommand ngrams_command("ngrams", [](CLI::App& app) {
  auto options = std::make_shared<NGramOptions>();
  CLI::App* sub = app.add_subcommand("ngrams", "N-gram list of a corpus: each run of n words with its frequency");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("-n", options->job.n, "Words in each n-gram (default: 2)")->check(CLI::Range(1, 100));
  sub->add_flag("--by-freq", options->job.shape.by_freq, "Most frequent first (default: alphabetical)");
  sub->add_option("--min-freq", options->job.shape.min_freq, "Leave out n-grams met fewer times (default: 1)");
  sub->add_option("--top", options->job.shape.top, "Keep only the first N lines (default: 0, all of them)")->check(NonNegativeCount());
  sub->add_option("--max-tag-len", options->job.max_tag_length,
                  "Longest markup tag passed over, in characters (default: 100)");
  sub->add_option("--format", options->format, "Output format: tsv or json (default: tsv)");
  sub->add_flag("--pos-tags", options->job.pos_tags, "Tokens are word/TAG (as in the Brown corpus): the tags are markup, not words");
  sub->add_flag("-q,--quiet", options->quiet, "No progress bar");
  sub->add_option("--save", options->save, "Also save the list as a word-list file (.lst)");
  AddThreadsOption(sub, options->job.threads);
  sub->footer("Example: quill ngrams -n 3 --by-freq --top 20 data/brown");
  sub->callback([options] { RunNGrams(*options); });
});

}  // namespace
}  // namespace quill::cli
