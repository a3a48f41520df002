// quill ngrams: the n-grams of a corpus with their frequencies.
#include <algorithm>
#include <memory>

#include "commands.h"
#include "corpus_input.h"
#include "frequency_output.h"
#include "progress.h"
#include "quillrt/analysis/ngrams.h"
#include "saved_lists.h"
#include "word_rule.h"
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

// Counts the runs of n words that lie within one sentence.
void CountNGrams(std::u16string_view text, const ClassifiedText& classified, const std::vector<WordSpan>& words,
                 std::size_t n, TWordFrequencyTable& table) {
  std::size_t run_start = 0;  // the first word of the current sentence's run
  UnicodeString ngram;
  for (std::size_t w = 0; w < words.size(); ++w) {
    if (w > 0 && BreaksRunOfWords(text, classified, words[w - 1].end, words[w].start)) run_start = w;
    if (w + 1 < run_start + n) continue;
    ngram.clear();
    for (std::size_t k = w + 1 - n; k <= w; ++k) {
      if (!ngram.empty()) ngram.push_back(u' ');
      ngram.append(text.substr(words[k].start, words[k].end - words[k].start));
    }
    table.Add(ngram);
  }
}

void RunNGrams(const NGramOptions& options) {
  const OutputFormat format = ParseOutputFormat(options.format);
  const std::vector<CorpusFile> files = CollectCorpusFiles(options.corpus);
  std::int64_t total_bytes = 0;
  for (const CorpusFile& file : files) total_bytes += file.size;

  // Each file is counted on its own, so that no n-gram spans two files.
  WordRule rule = WordRuleOfLanguage(!options.corpus.lang.empty(), options.pos_tags);
  rule.max_tag_length = static_cast<std::size_t>(std::max(options.max_tag_len, 1));
  TWordFrequencyTable table;
  ProgressBar progress("counting " + std::to_string(options.n) + "-grams", total_bytes, !options.quiet);
  int unreadable = 0;
  UnicodeString text;
  ClassifiedText classified;
  std::vector<WordSpan> words;
  std::int64_t done = 0;
  for (const CorpusFile& file : files) {
    if (ReadCorpusText(file, text)) {
      ClassifyText(text, rule, classified);
      FindWords(classified, text.size(), words);
      CountNGrams(text, classified, words, static_cast<std::size_t>(options.n), table);
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
                     {{"files", static_cast<std::int64_t>(files.size()) - unreadable}, {"n", options.n},
                      {"ngrams", table.Total()}, {"lines", list->Count()}},
                     "items", "ngram");
}

QuillCommand ngrams_command("ngrams", [](CLI::App& app) {
  auto options = std::make_shared<NGramOptions>();
  CLI::App* sub = app.add_subcommand("ngrams", "N-gram list of a corpus: each run of n words with its frequency");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("-n", options->n, "Words in each n-gram (default: 2)")->check(CLI::Range(1, 100));
  sub->add_flag("--by-freq", options->by_freq, "Most frequent first (default: alphabetical)");
  sub->add_option("--min-freq", options->min_freq, "Leave out n-grams met fewer times (default: 1)");
  sub->add_option("--top", options->top, "Keep only the first N lines (default: 0, all of them)")->check(NonNegativeCount());
  sub->add_option("--max-tag-len", options->max_tag_len,
                  "Longest markup tag passed over, in characters (default: 100)");
  sub->add_option("--format", options->format, "Output format: tsv or json (default: tsv)");
  sub->add_flag("--pos-tags", options->pos_tags, "Tokens are word/TAG (as in the Brown corpus): the tags are markup, not words");
  sub->add_flag("-q,--quiet", options->quiet, "No progress bar");
  sub->add_option("--save", options->save, "Also save the list as a word-list file (.lst)");
  sub->footer("Example: quill ngrams -n 3 --by-freq --top 20 data/brown");
  sub->callback([options] { RunNGrams(*options); });
});

}  // namespace
}  // namespace quill::cli
