// quill compare: how far two files agree (a percentage from their start) and
// whether their sizes, last-write times and attributes are the same. Exit code
// 0 when the contents are identical, 1 when they differ, 2 on an error.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "commands.h"
#include "file_tool_support.h"
#include "progress.h"
#include "quillfs/file_comparer.h"
#include "quillrt/framework/exceptions.h"

namespace quill::cli {
namespace {

constexpr int kExitCompareError = 2;

struct CompareOptions {
  std::string a;
  std::string b;
  bool ignore_line_ends = false;
};

const char* SameOrDiffer(bool same) { return same ? "same" : "differ"; }

void RunCompare(const CompareOptions& options) {
  std::error_code error;
  for (const std::string& name : {options.a, options.b}) {
    if (!std::filesystem::is_regular_file(name, error)) FailFileTool("no such file: " + name, kExitCompareError);
  }
  TFileComparer comparer;
  comparer.SetSilentComparison(true);
  comparer.SetFile1(Utf8ToUtf16(options.a));
  comparer.SetFile2(Utf8ToUtf16(options.b));
  ProgressBar bar("comparing", 100);
  comparer.OnCheckProgress = [&bar](std::int32_t percent) { bar.Set(percent); };
  float percent = 0;
  try {
    percent = comparer.PercentMatching(options.ignore_line_ends);
  } catch (const Exception& e) {
    bar.Finish();
    FailFileTool(std::string("cannot compare: ") + e.what(), kExitCompareError);
  }
  bar.Finish();

  char shown[32];
  // Two decimals, never rounded up to 100.00 for files that differ.
  std::snprintf(shown, sizeof shown, "%.2f", percent);
  if (percent < 100.0f && std::string(shown) == "100.00") std::snprintf(shown, sizeof shown, "99.99");
  std::cout << "contents:   " << shown << "% matching"
            << (comparer.CRLFs_were_ignored ? " (line ends ignored)" : "") << "\n";
  std::cout << "sizes:      " << SameOrDiffer(comparer.SizesMatch()) << " (" << comparer.Size1();
  if (!comparer.SizesMatch()) std::cout << " / " << comparer.Size2();
  std::cout << " bytes)\n";
  std::cout << "dates:      " << SameOrDiffer(comparer.DatesMatch()) << "\n";
  std::cout << "attributes: " << SameOrDiffer(comparer.AttributesMatch()) << "\n";
  const bool identical = comparer.Identical();
  if (comparer.ContentsMatch() && !identical) {
    std::cout << "verdict:    different (the shorter file is the start of the longer one)\n";
  } else {
    std::cout << "verdict:    " << (identical ? "identical" : "different") << "\n";
  }
  std::cout.flush();
  if (!identical) throw CLI::RuntimeError(kExitFailure);
}

QuillCommand compare_command("compare", [](CLI::App& app) {
  auto options = std::make_shared<CompareOptions>();
  CLI::App* sub = app.add_subcommand(
      "compare", "Compare two files: percentage matching, sizes, dates, attributes (exit 0 identical, 1 different, 2 error)");
  sub->add_option("a", options->a, "First file")->required();
  sub->add_option("b", options->b, "Second file")->required();
  sub->add_flag("--ignore-line-ends", options->ignore_line_ends, "Treat texts differing only in CR/LF line ends as the same");
  sub->callback([options] { RunCompare(*options); });
});

}  // namespace
}  // namespace quill::cli
