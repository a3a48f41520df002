// quill: the command-line tool that runs the workbench's jobs on real corpora.
#include <CLI/CLI.hpp>

#include <iostream>

#include "quillrt/framework/exceptions.h"

int main(int argc, char** argv) {
  CLI::App app{"quill - corpus linguistics from the command line"};
  app.set_version_flag("--version", std::string("quill ") + QUILL_VERSION);
  app.require_subcommand(0, 1);
  app.footer("Subcommands for concordances, word lists and file jobs arrive as the libraries grow.");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  if (app.get_subcommands().empty()) {
    std::cout << app.help();
    return 0;
  }
  return 0;
}
