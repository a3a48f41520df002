// quill detect: what each file holds (8-bit text, UTF-8, UTF-16 either way,
// zip archive, .docx document, compound document, early word-processor file),
// judged from all
// of its bytes.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <iostream>
#include <memory>

#include "commands.h"
#include "corpus_input.h"
#include "run_outcome.h"
#include "quilljobs/text_decoding.h"
#include "quillrt/files/file_contents.h"

namespace quill::cli {

std::string ContentDescription(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return "empty";
  // Files that are not text show a signature in their first bytes.
  const TFileContentsSet signature = FileBufferType(bytes.data(), false, static_cast<std::int64_t>(bytes.size()));
  if (signature.Contains(fc_Zip)) return jobs::IsWordDocumentName(path) ? "docx" : "zip";
  if (signature.Contains(fc_Storage)) return "compound-document";
  if (signature.Contains(fc_early_Word)) return "early-Word";
  return jobs::TextKindName(jobs::KindOfText(bytes));
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
    if (const std::string reason = jobs::UnreadableReason(name); !reason.empty()) {
      ReportSkippedInput(name, reason);
      continue;
    }
    std::cout << Printable(name) << "\t" << ContentDescription(name) << "\n";
  }
}

QuillCommand detect_command("detect", [](CLI::App& app) {
  auto options = std::make_shared<DetectOptions>();
  CLI::App* sub = app.add_subcommand("detect", "What each file holds: 8-bit, UTF-8, UTF-16LE/BE, zip ...");
  sub->add_option("files", options->files, "Files to look at")->required();
  sub->footer("Kinds: ASCII, UTF-8 (with the number of invalid bytes, if any), UTF-16LE, UTF-16BE, 8-bit, binary,\n"
              "zip, compound-document, early-Word, empty.");
  sub->callback([options] { RunDetect(*options); });
});

}  // namespace
}  // namespace quill::cli
