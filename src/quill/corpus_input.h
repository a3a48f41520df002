#pragma once
// The command line's side of a corpus: the options every corpus-reading
// command takes, the default corpus when none is named, and the corpus's
// reports turned into messages on standard error and the run's exit status.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <string>

#include "quilljobs/corpus.h"

namespace quill::cli {

using jobs::CorpusFile;
using jobs::CorpusOptions;

// Adds PATH... ("-": standard input) and --mask, --subfolders/--no-subfolders,
// --zip, --exclude-dirs, --exclude-ext, --lang, --binary and --favourites to a
// command.
void AddCorpusOptions(CLI::App* app, CorpusOptions& options);

// The corpus of the options, the default corpus when neither a path nor
// favourites were named (none
// there ends the command with exit code 2). Inputs left out are named on
// standard error and make the exit status 2 (run_outcome.h); binary files
// left out are counted for the summary; warnings are printed. The walk lists
// folders on `threads` threads at once (0: one per core); a command with -j
// passes it.
jobs::Corpus OpenCorpus(CorpusOptions options, int threads = 0);

// The default corpus: $QUILL_DEFAULT_CORPUS when set, else data/brown found
// from the working folder or the program's folder upwards.
std::optional<std::filesystem::path> DefaultCorpus();

// Checks a count option whose 0 means "no limit" (--limit, --top): a whole
// number from 0 up, with a short message for anything else.
CLI::Validator NonNegativeCount();

// Writes "quill: <message>" to standard error and ends the command with `code`.
// Visible to the pictures module, which fails the same way.
[[noreturn, gnu::visibility("default")]] void Fail(const std::string& message, int code);

}  // namespace quill::cli
