#include "corpus_input.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <utility>

#include "commands.h"
#include "run_outcome.h"

namespace quill::cli {
namespace fs = std::filesystem;

namespace {

std::optional<fs::path> FindUpwards(fs::path dir, const fs::path& wanted) {
  for (int up = 0; up < 8 && !dir.empty(); ++up) {
    std::error_code error;
    if (fs::is_directory(dir / wanted, error)) return dir / wanted;
    if (dir == dir.parent_path()) break;
    dir = dir.parent_path();
  }
  return std::nullopt;
}

}  // namespace

CLI::Validator NonNegativeCount() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        char* end = nullptr;
        errno = 0;
        const long long number = std::strtoll(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || errno == ERANGE || number < 0 || number > INT32_MAX)
          return "must be a whole number from 0 (no limit) to " + std::to_string(INT32_MAX);
        return {};
      },
      "N>=0");
}

void Fail(const std::string& message, int code) {
  std::cerr << "quill: " << message << "\n";
  throw CLI::RuntimeError(code);
}

void AddCorpusOptions(CLI::App* app, CorpusOptions& options) {
  app->add_option("paths", options.paths, "Files and folders of the corpus (default: data/brown)");
  app->add_option("--mask", options.mask, "File masks for folders, separated by ';' (default: *)");
  app->add_flag("--subfolders,!--no-subfolders", options.subfolders, "Walk the folders below (default: on)");
  app->add_flag("--zip", options.zips,
                "Read the files inside zip archives too (in folders: archives named like the mask's part before its "
                "first dot)");
  app->add_option("--exclude-dirs", options.exclude_dirs, "Folder masks to leave out at any depth, ';'-separated");
  app->add_option("--exclude-ext", options.exclude_ext, "Extensions to leave out, e.g. '.bak;.tmp'");
  app->add_option("--lang", options.lang, "Language of the texts: locale name (de_DE) or LCID (0x0407)");
  app->add_flag("--binary", options.binary, "Read binary files (NUL bytes, control characters) as text too");
  app->add_option("--favourites", options.favourites,
                  "Read the files of a walk saved by 'quill files --save-favourites' instead of walking again");
}

std::optional<fs::path> DefaultCorpus() {
  if (const char* env = std::getenv("QUILL_DEFAULT_CORPUS"); env != nullptr) {
    std::error_code error;
    if (fs::is_directory(env, error)) return fs::path(env);
    return std::nullopt;
  }
  std::error_code error;
  if (auto found = FindUpwards(fs::current_path(error), "data/brown")) return found;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) return FindUpwards(program.parent_path(), "data/brown");
  return std::nullopt;
}

jobs::Corpus OpenCorpus(CorpusOptions options, int threads) {
  options.listing_threads = threads;
  if (options.paths.empty() && options.favourites.empty()) {
    const auto corpus = DefaultCorpus();
    if (!corpus)
      Fail("no corpus named and the default corpus data/brown is not there: name files or folders, "
           "or run scripts/setup to fetch the Brown corpus",
           kExitUsage);
    options.paths.push_back(corpus->string());
  }
  jobs::CorpusEvents events;
  events.on_skipped = [](const std::string& name, const std::string& reason) { ReportSkippedInput(name, reason); };
  events.on_binary_skipped = [](const std::string&) { NoteBinaryFileSkipped(); };
  events.on_warning = [](const std::string& message) { std::cerr << "quill: warning: " << Printable(message) << "\n"; };
  return jobs::Corpus(std::move(options), std::move(events));
}

}  // namespace quill::cli
