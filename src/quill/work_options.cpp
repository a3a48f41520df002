#include "work_options.h"

#include <string>

#include "file_tool_support.h"

namespace quill::cli {

void AddThreadsOption(CLI::App* app, int& threads) {
  threads = 0;
  app->add_option("-j,--threads", threads,
                  "Threads at most (default: 0, one per core; word and n-gram lists of a small corpus use "
                  "fewer); the output is the same")
      ->check(CLI::Range(0, 1024));
}

void AddPieceSizeOption(CLI::App* app, std::int64_t& piece_size, const std::string& help) {
  app->add_option_function<std::string>(
         "--piece-size",
         [&piece_size](const std::string& text) {
           std::int64_t bytes = 0;
           if (!ParseByteSize(text, bytes) || bytes < 1)
             throw CLI::ValidationError("--piece-size", "a size such as 16M, 64K or 4096, at least 1 byte");
           piece_size = bytes;
         },
         help)
      ->type_name("SIZE");
}

}  // namespace quill::cli
