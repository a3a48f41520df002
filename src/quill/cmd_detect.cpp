// quill detect: what each file holds (8-bit text, UTF-8, UTF-16 either way,
// zip archive, compound document, early word-processor file), judged from all
// of its bytes.
#include <filesystem>
#include <iostream>
#include <memory>

#include "commands.h"
#include "corpus_input.h"
#include "run_outcome.h"
#include "quillrt/files/file_contents.h"

namespace quill::cli {

// The names of the kinds in a set, joined with "+"; "empty" for a file too
// short to tell.
std::string ContentKindNames(TFileContentsSet kinds) {
  static constexpr std::pair<TFileContentsTypes, const char*> names[] = {
      {fc_8_bit, "8-bit"},       {fc_UTF8, "UTF-8"},        {fc_16_bit, "UTF-16LE"},
      {fc_early_Word, "early-Word"}, {fc_Storage, "compound-document"}, {fc_Zip, "zip"},
      {fc_16_bit_reversed, "UTF-16BE"},
  };
  std::string out;
  for (const auto& [kind, name] : names) {
    if (!kinds.Contains(kind)) continue;
    if (!out.empty()) out += "+";
    out += name;
  }
  return out.empty() ? "empty" : out;
}

namespace {

struct DetectOptions {
  std::vector<std::string> files;
};

void RunDetect(const DetectOptions& options) {
  for (const std::string& name : options.files) {
    std::error_code error;
    if (!std::filesystem::exists(name, error)) {
      ReportSkippedInput(name, "no such file");
      continue;
    }
    // A file that cannot be read has no content to name: it is not "empty".
    if (const std::string reason = UnreadableReason(name); !reason.empty()) {
      ReportSkippedInput(name, reason);
      continue;
    }
    std::cout << name << "\t" << ContentKindNames(FileContentsType(Utf8ToUtf16(name), true)) << "\n";
  }
}

QuillCommand detect_command("detect", [](CLI::App& app) {
  auto options = std::make_shared<DetectOptions>();
  CLI::App* sub = app.add_subcommand("detect", "What each file holds: 8-bit, UTF-8, UTF-16LE/BE, zip ...");
  sub->add_option("files", options->files, "Files to look at")->required();
  sub->callback([options] { RunDetect(*options); });
});

}  // namespace
}  // namespace quill::cli
