// quill: the command-line tool that runs the workbench's jobs on real corpora.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>

#include <malloc.h>

#include "commands.h"
#include "run_outcome.h"
#include "quilljobs/job_control.h"
#include "quillrt/framework/exceptions.h"

namespace quill::cli {

std::vector<CommandEntry>& RegisteredCommands() {
  static std::vector<CommandEntry> commands;
  return commands;
}

}  // namespace quill::cli

namespace {

// A run of the tool is short, and its large arrays come and go (word tables
// as they grow, lists as they are ordered). Each fresh mapping costs a page
// fault per page on first use; keeping freed memory in the heap for the next
// array spares them.
void KeepFreedMemoryForReuse() {
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quill::cli;
  KeepFreedMemoryForReuse();
  CLI::App app{"quill - corpus linguistics from the command line"};
  app.set_version_flag("--version", std::string("quill ") + QUILL_VERSION);
  app.require_subcommand(0, 1);

  auto& commands = RegisteredCommands();
  std::sort(commands.begin(), commands.end(),
            [](const CommandEntry& a, const CommandEntry& b) { return a.name < b.name; });
  for (const auto& command : commands) command.setup(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    // A command's own failure keeps its code; every kind of bad command line
    // (CLI11 numbers them from 100 up) is the one usage code.
    if (code == 0 || dynamic_cast<const CLI::RuntimeError*>(&e) != nullptr) return FinalExitStatus(code);
    return kExitUsage;
  } catch (const quill::jobs::JobError& e) {
    std::cerr << "quill: " << e.what() << "\n";
    return FinalExitStatus(e.kind() == quill::jobs::JobError::bad_request ? kExitUsage : kExitFailure);
  } catch (const quill::Exception& e) {
    std::cerr << "quill: " << e.what() << "\n";
    return kExitFailure;
  } catch (const std::exception& e) {
    std::cerr << "quill: " << e.what() << "\n";
    return kExitFailure;
  }
  if (app.get_subcommands().empty()) {
    std::cout << app.help();
  }
  return FinalExitStatus(kExitOk);
}
