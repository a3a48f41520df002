#pragma once
// The options of the commands that search or count a corpus on every core:
// -j/--threads and, for the concordance, --piece-size.
#include <CLI/CLI.hpp>

#include <cstdint>

namespace quill::cli {

// -j/--threads N: files searched at once (default 0: one per core). The
// output does not depend on it.
void AddThreadsOption(CLI::App* app, int& threads);

// --piece-size SIZE ("16M", "4096", "64K"): files larger than this are read
// in pieces of about this size (at least 1 byte).
void AddPieceSizeOption(CLI::App* app, std::int64_t& piece_size);

}  // namespace quill::cli
