#pragma once
// Subcommands register themselves here: each command's source file holds one
// static QuillCommand whose setup function adds the subcommand to the app. main()
// then only parses and runs; adding a command never touches main.cpp.
#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace quill::cli {

struct CommandEntry {
  std::string name;
  std::function<void(CLI::App& app)> setup;
};

// All registered commands, in registration order.
std::vector<CommandEntry>& RegisteredCommands();

struct QuillCommand {
  QuillCommand(std::string name, std::function<void(CLI::App& app)> setup) {
    RegisteredCommands().push_back({std::move(name), std::move(setup)});
  }
};

// A command's callback reports failure by throwing CLI::RuntimeError(exit_code)
// after writing its own message to stderr; main() turns it into the exit code.
// Exit codes shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;   // the job could not be done (I/O error, bad data)
// A bad command line (CLI11 uses this code too), and any error on the way:
// an input skipped, output that could not be written.
inline constexpr int kExitUsage = 2;

}  // namespace quill::cli
