// Listing a folder tree the way the file-and-folder iterator does: one walker
// reports every subfolder, then one per-folder list per folder is filled.
//
//   bench_folder_walk [benchmark flags]      times the walk of the tree named by
//                                            QUILL_WALK_TREE (default: a tree of
//                                            100,000 files made in /tmp)
//   bench_folder_walk --count FOLDER [MASK]  walks FOLDER once and prints the
//                                            number of folders and files found
//
// bench/folder_walk_vs_find.sh runs it against find(1) on the same tree.
#include <benchmark/benchmark.h>

#include "bench_corpus.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "quillrt/files/folderful.h"
#include "quillrt/files/peruse_dir.h"

namespace {

using namespace quill;

struct TWalkResult {
  std::size_t folders = 0;
  std::size_t files = 0;
};

TWalkResult Walk(const UnicodeString& head, const UnicodeString& mask) {
  TPeruseDir walker(mask, u"*", u"*", u"", u"", true, false, false, false, false);
  std::vector<UnicodeString> folders{head};
  walker.OnFoundDir = [&](const UnicodeString& folder) { folders.push_back(folder); };
  walker.ProcessAllSubDirectories(head);
  TWalkResult result;
  result.folders = folders.size();
  for (const UnicodeString& folder : folders) {
    TFolderful files(folder);
    files.FillList(&walker);
    result.files += static_cast<std::size_t>(files.Count());
  }
  return result;
}


void BM_WalkTree(benchmark::State& state) {
  const UnicodeString head = Utf8ToUtf16(bench::WalkTreeFolder());
  TWalkResult result;
  for (auto _ : state) {
    result = Walk(head, u"*.txt");
    benchmark::DoNotOptimize(result.files);
  }
  state.counters["files"] = static_cast<double>(result.files);
  state.counters["folders"] = static_cast<double>(result.folders);
  state.counters["files_per_s"] =
      benchmark::Counter(static_cast<double>(result.files), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WalkTree)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--count") == 0) {
    const UnicodeString mask = argc >= 4 ? Utf8ToUtf16(argv[3]) : UnicodeString(u"*");
    const TWalkResult result = Walk(Utf8ToUtf16(argv[2]), mask);
    std::cout << result.folders << " folders, " << result.files << " files\n";
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
