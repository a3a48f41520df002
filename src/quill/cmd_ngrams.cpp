// quill ngrams: the n-grams of a corpus with their frequencies.
#include <memory>

#include "commands.h"
#include "corpus_input.h"
#include "frequency_output.h"
#include "progress.h"
#include "saved_lists.h"
#include "quillrt/analysis/ngrams.h"
#include "quillrt/analysis/word_frequency_table.h"

namespace quill::cli {
namespace {

struct NGramOptions {
  CorpusOptions corpus;
  int n = 2;
  int max_tag_len = 100;
  bool by_freq = false;
  long long min_freq = 1;
  int top = 0;
  std::string format = "tsv";
  bool quiet = false;
  bool pos_tags = false;
  std::string save;  // also write the list to this saved-list file
};

void RunNGrams(const NGramOptions& options) {
  const OutputFormat format = ParseOutputFormat(options.format);
  const std::vector<CorpusFile> files = CollectCorpusFiles(options.corpus);
  std::int64_t total_bytes = 0;
  for (const CorpusFile& file : files) total_bytes += file.size;

  // Each file is counted on its own, so that no n-gram spans two files.
  TWordFrequencyTable table;
  ProgressBar progress("counting " + std::to_string(options.n) + "-grams", total_bytes, !options.quiet);
  int unreadable = 0;
  UnicodeString text;
  std::int64_t done = 0;
  for (const CorpusFile& file : files) {
    // The count tells the percentage of the file reached at each new n-gram.
    const TTellCountEvent within_file = [&](std::int32_t percent) { progress.Set(done + file.size * percent / 100); };
    if (ReadCorpusText(file, text)) {
      if (options.pos_tags) {
        UnicodeString untagged;
        AppendWithoutPosTags(text, untagged);
        text.swap(untagged);
      }
      CountNGramsOfTxt(text, options.n, options.max_tag_len, table, within_file);
    } else {
      ++unreadable;
    }
    done += file.size;
    progress.Set(done);
  }
  progress.Finish();

  const auto list = table.ToStringList(options.by_freq, options.min_freq, options.top);
  if (!options.save.empty()) SaveFrequencyList(options.save, *list, options.n);
  WriteFrequencyList(*list, format,
                     {{"files", static_cast<std::int64_t>(files.size())}, {"n", options.n},
                      {"ngrams", table.Total()}, {"lines", list->Count()}},
                     "items", "ngram");
  if (unreadable > 0) throw CLI::RuntimeError(kExitFailure);
}

QuillCommand ngrams_command("ngrams", [](CLI::App& app) {
  auto options = std::make_shared<NGramOptions>();
  CLI::App* sub = app.add_subcommand("ngrams", "N-gram list of a corpus: each run of n words with its frequency");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("-n", options->n, "Words in each n-gram (default: 2)")->check(CLI::Range(1, 100));
  sub->add_flag("--by-freq", options->by_freq, "Most frequent first (default: alphabetical)");
  sub->add_option("--min-freq", options->min_freq, "Leave out n-grams met fewer times (default: 1)");
  sub->add_option("--top", options->top, "Keep only the first N lines (default: all)")->check(CLI::NonNegativeNumber);
  sub->add_option("--max-tag-len", options->max_tag_len,
                  "Longest markup tag passed over, in characters (default: 100)");
  sub->add_option("--format", options->format, "Output format: tsv or json (default: tsv)");
  sub->add_flag("--pos-tags", options->pos_tags, "Tokens are word/TAG (as in the Brown corpus): leave the tags out");
  sub->add_flag("-q,--quiet", options->quiet, "No progress bar");
  sub->add_option("--save", options->save, "Also save the list as a word-list file (.lst)");
  sub->footer("Example: quill ngrams -n 3 --by-freq --top 20 data/brown");
  sub->callback([options] { RunNGrams(*options); });
});

}  // namespace
}  // namespace quill::cli
