#pragma once
// The options of the commands that search or count a corpus on every core:
// -j/--threads and --piece-size.
#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

namespace quill::cli {

// -j/--threads N: files searched at once (default 0: one per core). The
// output does not depend on it.
void AddThreadsOption(CLI::App* app, int& threads);

// --piece-size SIZE ("16M", "4096", "64K"): files larger than this are read
// in pieces (at least 1 byte); `help` says how, with the default.
void AddPieceSizeOption(CLI::App* app, std::int64_t& piece_size, const std::string& help);

}  // namespace quill::cli
