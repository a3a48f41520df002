// quill: the command-line tool that runs the workbench's jobs on real corpora.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

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
// as they grow, lists as they are ordered). Each fresh page costs a fault on
// first use, and in a virtual machine a fault costs several microseconds
// (a word list of a few megabytes spent a fifth of its time on them). So
// freed memory stays in the heap for the next array, the heap grows in large
// steps, the kernel is asked to back it with huge pages (one fault for two
// megabytes), and every thread allocates from that one heap.
void TuneTheHeap() {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_TOP_PAD, 64 << 20);
  mallopt(M_ARENA_MAX, 1);
  // One block now grows the heap by the padding, which can then be advised.
  void* block = std::malloc(kHugePage);
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const std::uintptr_t from = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t to = end & ~(kHugePage - 1);
  // Only a block inside the heap (not one mapped apart) tells where it is.
  if (block != nullptr && start < end && to > from)
    madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);  // a hint: failing is harmless
  std::free(block);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quill::cli;
  TuneTheHeap();
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
