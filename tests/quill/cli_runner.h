#pragma once
// Runs the quill executable as a user would and captures what it prints.
#include <string>
#include <vector>

namespace quill::testing {

struct CliResult {
  int exit_code = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs `quill args...` (no shell involved) and waits for it.
CliResult RunQuill(const std::vector<std::string>& args);

}  // namespace quill::testing
