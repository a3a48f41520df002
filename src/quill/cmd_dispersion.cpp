// quill dispersion: how evenly a word is spread over the files (or equal
// parts) of a corpus, as a table of the parts and the dispersion measures, or
// as a dispersion plot.
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "corpus_input.h"
#include "dispersion_picture.h"
#include "frequency_output.h"
#include "progress.h"
#include "run_outcome.h"
#include "stats_output.h"
#include "quilljobs/dispersion_job.h"

namespace quill::cli {
namespace {

struct DispersionOptions {
  CorpusOptions corpus;
  jobs::DispersionSettings job;
  std::string format = "tsv";
  std::string png;
  int png_width = 1000;
  bool quiet = false;
};

std::string WordsText(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "\"" : ", \"") + word + "\"";
  return text;
}

void WriteTsv(const jobs::DispersionResult& result) {
  const jobs::DispersionMeasures& m = result.measures;
  std::string out = "measure\tvalue\nhits\t" + std::to_string(result.hits) + "\ntokens\t" +
                    std::to_string(result.tokens) + "\nparts\t" + std::to_string(result.parts.size()) + "\nrange\t" +
                    std::to_string(m.range) + "\nD\t" + TsvNumber(m.juilland_d) + "\nDP\t" + TsvNumber(m.dp) +
                    "\nDPnorm\t" + TsvNumber(m.dp_norm) + "\n\npart\twords\thits\trel_freq\n";
  for (const jobs::DispersionPart& part : result.parts)
    out += Printable(part.name) + '\t' + std::to_string(part.words) + '\t' + std::to_string(part.hits) + '\t' +
           TsvNumber(part.RelativeFrequency()) + '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void WriteJson(const jobs::DispersionResult& result) {
  const jobs::DispersionMeasures& m = result.measures;
  std::string out = "{\"files\": " + std::to_string(result.files_read) + ", \"hits\": " + std::to_string(result.hits) +
                    ", \"tokens\": " + std::to_string(result.tokens) + ", \"range\": " + std::to_string(m.range) +
                    ", \"D\": " + JsonNumber(m.juilland_d) + ", \"DP\": " + JsonNumber(m.dp) +
                    ", \"DPnorm\": " + JsonNumber(m.dp_norm) + ", \"parts\": [";
  bool first = true;
  for (const jobs::DispersionPart& part : result.parts) {
    out += first ? "\n  {" : ",\n  {";
    first = false;
    out += "\"name\": " + JsonString(part.name) + ", \"words\": " + std::to_string(part.words) +
           ", \"hits\": " + std::to_string(part.hits) + ", \"rel_freq\": " + JsonNumber(part.RelativeFrequency()) +
           ", \"positions\": [";
    for (std::size_t k = 0; k < part.positions.size(); ++k) out += (k ? ", " : "") + JsonNumber(part.positions[k]);
    out += "]}";
  }
  out += result.parts.empty() ? "]}\n" : "\n]}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void RunDispersion(const DispersionOptions& options) {
  const OutputFormat format = ParseOutputFormat(options.format);
  const jobs::DispersionJob job(options.job);
  const jobs::Corpus corpus = OpenCorpus(options.corpus);
  JobRunControls run("reading", corpus.TotalBytes(), !options.quiet);
  const jobs::DispersionResult result = job.Run(corpus, run.Control());
  run.Finish();
  if (result.cancelled) EndInterrupted(kNoPartialScores);
  if (!options.png.empty()) {
    WriteDispersionPicture(options.png, WordsText(options.job.words), result, options.png_width);
    return;
  }
  format == OutputFormat::json ? WriteJson(result) : WriteTsv(result);
  std::fflush(stdout);
}

QuillCommand dispersion_command("dispersion", [](CLI::App& app) {
  auto options = std::make_shared<DispersionOptions>();
  CLI::App* sub = app.add_subcommand("dispersion", "Dispersion: how evenly a word is spread over a corpus "
                                                   "(range, Juilland's D, Gries' DP)");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("-s,--search", options->job.words, "The word (repeatable: the words count as one)")
      ->required()
      ->allow_extra_args(false);
  sub->add_option("--segments,--parts", options->job.parts,
                  "Cut the corpus into N segments of equal size in words (default: 0, one per file)")
      ->check(CLI::Range(0, 1000000));
  sub->add_option("--png", options->png, "Write a dispersion plot (a bar per file or segment, a tick per hit) to FILE as PNG");
  sub->add_option("--png-width", options->png_width, "Width of the picture in pixels (default: 1000)");
  sub->add_option("--format", options->format, "Output format: tsv or json (with each hit's position) (default: tsv)");
  sub->add_flag("--pos-tags", options->job.pos_tags, "Tokens are word/TAG (as in the Brown corpus): the tags are markup");
  sub->add_flag("-q,--quiet", options->quiet, "No progress bar");
  sub->footer("Example: quill dispersion -s jury --pos-tags --segments 20 --png jury.png data/brown");
  sub->callback([options] { RunDispersion(*options); });
});

}  // namespace
}  // namespace quill::cli
