// quill wordlist: the words of a corpus with their frequencies.
#include <algorithm>
#include <memory>

#include "commands.h"
#include "corpus_input.h"
#include "frequency_output.h"
#include "progress.h"
#include "saved_lists.h"
#include "quillrt/analysis/word_frequency_table.h"
#include "word_rule.h"

namespace quill::cli {
namespace {

struct WordlistOptions {
  CorpusOptions corpus;
  bool by_freq = false;
  int min_length = 1;
  long long min_freq = 1;
  int top = 0;
  std::string format = "tsv";
  bool quiet = false;
  bool pos_tags = false;
  std::string save;  // also write the list to this saved-list file
  std::string load;  // print this saved list instead of counting
};

void RunWordlist(const WordlistOptions& options) {
  const OutputFormat format = ParseOutputFormat(options.format);
  if (!options.load.empty()) return PrintSavedFrequencyList(options.load, format);
  const std::vector<CorpusFile> files = CollectCorpusFiles(options.corpus);
  std::int64_t total_bytes = 0;
  for (const CorpusFile& file : files) total_bytes += file.size;

  const WordRule rule = WordRuleOfLanguage(!options.corpus.lang.empty(), options.pos_tags);
  TWordFrequencyTable table;
  ProgressBar progress("counting words", total_bytes, !options.quiet);
  int unreadable = 0;
  std::int64_t done = 0;
  ClassifiedText classified;
  std::vector<WordSpan> words;
  for (const CorpusFile& file : files) {
    // Words never span the pieces, so counting piece by piece counts the file.
    std::int64_t characters = 0;
    const bool read = ReadCorpusTextInPieces(file, [&](std::u16string_view piece) {
      ClassifyText(piece, rule, classified);
      FindWords(classified, piece.size(), words);
      for (const WordSpan& word : words)
        if (word.end - word.start >= static_cast<std::size_t>(std::max(options.min_length, 1)))
          table.Add(piece.substr(word.start, word.end - word.start));
      characters += static_cast<std::int64_t>(piece.size());
      progress.Set(done + std::min(characters, file.size));  // about a byte a character
    });
    if (!read) ++unreadable;
    done += file.size;
    progress.Set(done);
  }
  progress.Finish();

  const auto list = table.ToStringList(options.by_freq, options.min_freq, options.top);
  if (!options.save.empty()) SaveFrequencyList(options.save, *list, 1);
  WriteFrequencyList(*list, format,
                     {{"files", static_cast<std::int64_t>(files.size()) - unreadable}, {"tokens", table.Total()},
                      {"lines", list->Count()}},
                     "words", "word");
}

QuillCommand wordlist_command("wordlist", [](CLI::App& app) {
  auto options = std::make_shared<WordlistOptions>();
  CLI::App* sub = app.add_subcommand("wordlist", "Word list of a corpus: each word with its frequency");
  AddCorpusOptions(sub, options->corpus);
  sub->add_flag("--by-freq", options->by_freq, "Most frequent first (default: alphabetical)");
  sub->add_option("--min-length", options->min_length, "Shortest word counted, in characters (default: 1)");
  sub->add_option("--min-freq", options->min_freq, "Leave out words met fewer times (default: 1)");
  sub->add_option("--top", options->top, "Keep only the first N lines (default: 0, all of them)")->check(NonNegativeCount());
  sub->add_option("--format", options->format, "Output format: tsv or json (default: tsv)");
  sub->add_flag("--pos-tags", options->pos_tags, "Tokens are word/TAG (as in the Brown corpus): the tags are markup, not words");
  sub->add_flag("-q,--quiet", options->quiet, "No progress bar");
  sub->add_option("--save", options->save, "Also save the list as a word-list file (.lst)");
  sub->add_option("--load", options->load, "Print a saved word list instead of counting a corpus");
  sub->footer("Example: quill wordlist --by-freq --top 20 data/brown");
  sub->callback([options] { RunWordlist(*options); });
});

}  // namespace
}  // namespace quill::cli
