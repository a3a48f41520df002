// quill wordlist: the words of a corpus with their frequencies.
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

struct WordlistOptions {
  CorpusOptions corpus;
  jobs::WordListSettings job;
  std::string format = "tsv";
  bool quiet = false;
  std::string save;  // also write the list to this saved-list file
  std::string load;  // print this saved list instead of counting
};

void RunWordlist(const WordlistOptions& options) {
  const OutputFormat format = ParseOutputFormat(options.format);
  if (!options.load.empty()) return PrintSavedFrequencyList(options.load, format);
  const jobs::WordListJob job(options.job);
  const jobs::Corpus corpus = OpenCorpus(options.corpus, options.job.threads);
  JobRunControls run("counting words", corpus.TotalBytes(), !options.quiet);
  const jobs::FrequencyResult result = job.Run(corpus, run.Control());
  run.Finish();

  if (!options.save.empty() && !result.cancelled) jobs::SaveFrequencyList(options.save, *result.list, 1);
  WriteFrequencyList(*result.list, format,
                     {{"files", result.files_read}, {"tokens", result.tokens}, {"lines", result.list->Count()}},
                     "words", "word");
  if (result.cancelled) EndInterrupted(PartialListNote(options.save));
}

QuillCommand wordlist_command("wordlist", [](CLI::App& app) {
  auto options = std::make_shared<WordlistOptions>();
  CLI::App* sub = app.add_subcommand("wordlist", "Word list of a corpus: each word with its frequency");
  AddCorpusOptions(sub, options->corpus);
  sub->add_flag("--by-freq", options->job.shape.by_freq, "Most frequent first (default: alphabetical)");
  sub->add_option("--min-length", options->job.min_length, "Shortest word counted, in characters (default: 1)");
  sub->add_option("--min-freq", options->job.shape.min_freq, "Leave out words met fewer times (default: 1)");
  sub->add_option("--top", options->job.shape.top, "Keep only the first N lines (default: 0, all of them)")->check(NonNegativeCount());
  sub->add_option("--format", options->format, "Output format: tsv or json (default: tsv)");
  sub->add_flag("--pos-tags", options->job.pos_tags, "Tokens are word/TAG (as in the Brown corpus): the tags are markup, not words");
  sub->add_flag("-q,--quiet", options->quiet, "No progress bar");
  sub->add_option("--save", options->save, "Also save the list as a word-list file (.lst)");
  sub->add_option("--load", options->load, "Print a saved word list instead of counting a corpus");
  AddThreadsOption(sub, options->job.threads);
  AddPieceSizeOption(sub, options->job.piece_size,
                     "With several threads, files larger than this are shared out among them in pieces (default: 4M)");
  sub->footer("Example: quill wordlist --by-freq --top 20 data/brown");
  sub->callback([options] { RunWordlist(*options); });
});

}  // namespace
}  // namespace quill::cli
