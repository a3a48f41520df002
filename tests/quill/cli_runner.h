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

// The same with standard input read from `stdin_path` and, unless
// `stdout_path` is empty, standard output written there instead of captured.
CliResult RunQuillRedirected(const std::vector<std::string>& args, const std::string& stdin_path,
                             const std::string& stdout_path, const char* program = QUILL_BINARY);

// Runs a shell command line (bash), with $QUILL naming the quill program.
CliResult RunShell(const std::string& command_line);

}  // namespace quill::testing
