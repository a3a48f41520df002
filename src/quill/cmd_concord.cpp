// quill concord: a concordance of a corpus, one line per hit of the search
// words (the concordance job), printed as text, TSV, JSON or a picture.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "commands.h"
#include "concord_output.h"
#include "concord_picture.h"
#include "corpus_input.h"
#include "progress.h"
#include "run_outcome.h"
#include "work_options.h"
#include "quilljobs/concordance_job.h"
#include "quilljobs/saved_lists.h"
#include "quillrt/framework/file_names.h"

namespace quill::cli {
namespace {

// What `quill concord --help` says of the search words.
constexpr const char* kSearchWordSyntaxSummary = R"(Search words (-s, --context, --exclude):
  jury/juries      alternatives, separated by /
  jur*  *ing       a star at an end: any rest (or start) of the word
  hous*s           a star inside: any characters up to what follows it
  colo?r  ^ #      ? any one character, ^ any one letter, # a run of digits
  the * of         a lone * between spaces: any one word
  "in the"         (quote it for the shell) words in a row; markup between skipped
  ==May==          case-sensitive (otherwise case is ignored)
  "*" "/" "?"      a quoted wildcard stands for itself
  /\The  day/\     a line break before / after the word
A word is a run of letters and digits; ' and - between two letters join them
("don't", "well-known"). Markup <...> (and with --pos-tags the /TAG of each
word/TAG token) is not text. --tag PATTERN keeps hits whose word carries a
matching tag: --pos-tags -s "run*" --tag "vb*".
Exit status: 0 hits found, 1 none, 2 an error (bad command line, an input
skipped, output not written) whatever was found.)";

struct ConcordOptions {
  CorpusOptions corpus;
  jobs::ConcordanceSettings job;
  std::vector<std::string> sort;
  std::string format = "text";
  bool count = false;
  bool quiet = false;
  std::string save;  // also write the lines to this saved-list file
  std::string png;   // a picture instead of the listing
  int png_width = 1000;
};

std::vector<jobs::SortKey> SortKeys(const std::vector<std::string>& names) {
  if (names.size() > 3) Fail("at most three sort keys", kExitUsage);
  std::vector<jobs::SortKey> keys;
  for (const std::string& name : names) {
    jobs::SortKey key;
    if (!jobs::ParseSortKey(name, key))
      Fail("unknown sort key: " + name + " (L5..L1, C, R1..R5, File, Word, Position)", kExitUsage);
    keys.push_back(key);
  }
  return keys;
}

void PrintSummary(const ConcordOptions& options, const jobs::ConcordanceTotals& totals, double seconds) {
  std::fprintf(stderr, "quill: %lld files, %lld words, %lld hits", static_cast<long long>(totals.files_read),
               static_cast<long long>(totals.words), static_cast<long long>(totals.hits));
  for (std::size_t g = 0; g < options.job.searches.size(); ++g)
    std::fprintf(stderr, "; %s: %lld", options.job.searches[g].c_str(), static_cast<long long>(totals.search_hits[g]));
  std::fprintf(stderr, "; %.2f s%s\n", seconds, totals.cancelled ? " (interrupted)" : "");
}

// A line's file as shown: from the name's own bytes (file_index counts the
// corpus's files from 1), so that a name that is not UTF-8 is escaped rather
// than blurred.
std::string ShownFileName(const jobs::Corpus& corpus, const jobs::ConcordanceLine& line) {
  const std::vector<CorpusFile>& files = corpus.Files();
  const auto index = static_cast<std::size_t>(line.file_index) - 1;
  return Printable(index < files.size() ? FileNameToBytes(files[index].name) : line.file);
}

// TSV and JSON lines stand alone, so an unsorted listing in those forms is
// written as the lines come instead of being kept (a common word makes
// millions of lines in a large corpus). The text form aligns every line to
// the longest left context, and sorting, saving and pictures need them all.
bool StreamsLines(const ConcordOptions& options, ConcordFormat format) {
  return !options.count && format != ConcordFormat::Text && options.job.sort.empty() && options.save.empty() &&
         options.png.empty();
}

void WriteLines(const ConcordOptions& options, ConcordFormat format, const jobs::Corpus& corpus,
                std::vector<jobs::ConcordanceLine>& lines, const jobs::ConcordanceTotals& totals) {
  if (!options.save.empty()) jobs::SaveConcordance(options.save, lines, options.job.searches);
  for (jobs::ConcordanceLine& line : lines) line.file = ShownFileName(corpus, line);
  if (options.png.empty()) {
    WriteConcordance(stdout, lines, format, format == ConcordFormat::Text && ::isatty(STDOUT_FILENO));
    return;
  }
  // A picture shows 40 lines unless --limit says otherwise.
  constexpr std::size_t kPictureLines = 40;
  if (options.job.limit <= 0 && lines.size() > kPictureLines) lines.resize(kPictureLines);
  const ConcordPictureInfo picture{options.job.searches, totals.search_hits, totals.hits,     totals.words,
                                   static_cast<std::size_t>(totals.files_read), totals.lcid, options.png_width};
  WriteConcordPicture(options.png, lines, picture);
}

void RunConcord(ConcordOptions& options) {
  const auto started = std::chrono::steady_clock::now();
  ConcordFormat format = ConcordFormat::Text;
  if (!ParseConcordFormat(options.format, format)) Fail("unknown format: " + options.format, kExitUsage);
  options.job.sort = SortKeys(options.sort);
  options.job.keep_lines = !options.count;
  const jobs::ConcordanceJob job(options.job);
  const jobs::Corpus corpus = OpenCorpus(options.corpus, options.job.threads);

  JobRunControls run("searching", corpus.TotalBytes(), !options.quiet && corpus.Files().size() > 1);
  const bool streamed = StreamsLines(options, format);
  bool output_failed = false;  // standard output refused a line: nothing more is wanted
  jobs::ConcordanceLineSink write_line;
  if (streamed) {
    WriteConcordanceHeader(stdout, format);
    write_line = [&](const jobs::ConcordanceLine& line) {
      jobs::ConcordanceLine shown = line;
      shown.file = ShownFileName(corpus, line);
      WriteConcordanceLine(stdout, shown, format);
      output_failed = std::ferror(stdout) != 0;
      return !output_failed;
    };
  }
  jobs::ConcordanceResult result = job.Run(corpus, run.Control(), write_line);
  run.Finish();

  if (output_failed) return;  // the final status names the write error (or none for a closed pipe)
  if (options.count) {
    for (std::size_t g = 0; g < options.job.searches.size(); ++g)
      std::printf("%s\t%lld\n", options.job.searches[g].c_str(), static_cast<long long>(result.totals.search_hits[g]));
    std::printf("total\t%lld\n", static_cast<long long>(result.totals.hits));
  } else if (!streamed) {
    WriteLines(options, format, corpus, result.lines, result.totals);
  }
  std::fflush(stdout);

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (!options.quiet) PrintSummary(options, result.totals, seconds);
  if (result.totals.cancelled) throw CLI::RuntimeError(kExitUsage);
  if (result.totals.hits == 0) throw CLI::RuntimeError(kExitFailure);
}

QuillCommand concord_command("concord", [](CLI::App& app) {
  auto options = std::make_shared<ConcordOptions>();
  CLI::App* sub = app.add_subcommand("concord", "Concordance: every hit of the search words with its context");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("-s,--search", options->job.searches,
                  "Search word (repeatable); see the search-word syntax below")
      ->required()
      ->allow_extra_args(false);
  sub->add_option("--context", options->job.context, "Keep only hits with this word within the horizon (repeatable)")->allow_extra_args(false);
  sub->add_option("--horizon", options->job.horizon, "Words either side searched for context and exclusions (default: 5, at most 100)")
      ->check(CLI::Range(0, 100));
  sub->add_option("--exclude", options->job.exclude, "Drop hits with this word at or within the horizon (repeatable)")->allow_extra_args(false);
  sub->add_option("--width", options->job.width, "Characters of context each side (default: 40, at most 10000)")
      ->check(CLI::Range(0, 10000));
  sub->add_option("--format", options->format, "Output: text, tsv or json (one object per line) (default: text)");
  sub->add_option("--sort", options->sort, "Up to three keys: L5..L1, C, R1..R5, File, Word (the hit), Position")
      ->delimiter(',')
      ->allow_extra_args(false);
  sub->add_option("--limit", options->job.limit, "Show at most N lines (default: 0, all of them)")->check(NonNegativeCount());
  sub->add_option("--png", options->png, "Write the lines (40 unless --limit says) as a PNG picture to FILE");
  sub->add_option("--png-width", options->png_width, "Width of the picture in pixels (default: 1000)");
  sub->add_flag("--count", options->count, "Print only the number of hits of each search word");
  sub->add_flag("--pos-tags", options->job.pos_tags,
                "Tokens are word/TAG (as in the Brown corpus): the tags are markup, not words, and are hidden");
  sub->add_flag("--show-tags", options->job.show_tags, "With --pos-tags: show the tags in the context");
  sub->add_option("--tag", options->job.tag,
                  "Keep hits whose (last) word carries this tag: wildcards * ?, alternatives with '/' "
                  "(implies --pos-tags)");
  sub->add_flag("-q,--quiet", options->quiet, "No summary or progress on standard error");
  sub->add_option("--save", options->save, "Also save the lines as a concordance file (.cnc)")->excludes("--count");
  AddThreadsOption(sub, options->job.threads);
  AddPieceSizeOption(sub, options->job.piece_size,
                     "Files larger than this are searched in pieces of about this size (default: 1M)");
  sub->footer(kSearchWordSyntaxSummary);
  sub->callback([options] { RunConcord(*options); });
});

}  // namespace
}  // namespace quill::cli
