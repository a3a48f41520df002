// quill info: what kind of saved list each file is, which tool saved it, in
// which version, and how many entries it holds.
#include <cstdio>
#include <memory>

#include "commands.h"
#include "quilljobs/saved_lists.h"

namespace quill::cli {
namespace {

void RunInfo(const std::vector<std::string>& files) {
  bool all_known = true;
  for (const std::string& file : files) {
    const jobs::SavedFileDescription description = jobs::DescribeSavedFile(file);
    std::printf("%s\n", jobs::DescriptionLine(file, description).c_str());
    all_known = all_known && description.recognised;
  }
  std::fflush(stdout);
  if (!all_known) throw CLI::RuntimeError(kExitFailure);
}

QuillCommand info_command("info", [](CLI::App& app) {
  auto files = std::make_shared<std::vector<std::string>>();
  CLI::App* sub = app.add_subcommand("info", "Kind, tool, version and entry count of saved lists");
  sub->add_option("files", *files, "Saved lists (.lst, .cnc ...), lists of earlier releases, batch zips")->required();
  sub->footer("Exit code 1 when a file is not a saved list.\nExample: quill info words.lst conc.cnc");
  sub->callback([files] { RunInfo(*files); });
});

}  // namespace
}  // namespace quill::cli
