// The corpus walk of TFileAndDirIterator (quillfs) over a tree of 100,000
// files: the walk itself, the hand-over of every file, and reading the walk
// back from a favourites file instead of walking again.
//
//   bench_file_and_dir_iterator [benchmark flags]     times the three on the
//                                                     tree named by QUILL_WALK_TREE
//                                                     (default: the tree of
//                                                     bench_folder_walk in /tmp)
//   bench_file_and_dir_iterator --count FOLDER [MASK] walks FOLDER once (with
//                                                     subfolders) and prints the
//                                                     folders and files found
//
// bench/iterator_walk_vs_find.sh runs it against find(1) on the same tree.
#include <benchmark/benchmark.h>

#include "bench_corpus.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "quillfs/file_and_dir_iterator.h"

namespace {

using namespace quill;


void Configure(TFileAndDirIterator& iterator, const UnicodeString& head, const UnicodeString& mask) {
  iterator.SetHeadDir(head);
  iterator.SetFileMask(mask);
  iterator.SetIncludeSubFolders(true);
  iterator.SetReadZipfiles(false);
}

void Report(benchmark::State& state, const TFileAndDirIterator& iterator) {
  state.counters["files"] = iterator.Total();
  state.counters["folders"] = iterator.DirCount();
  state.counters["files_per_s"] =
      benchmark::Counter(static_cast<double>(iterator.Total()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_IterateFindingFiles(benchmark::State& state) {
  TFileAndDirIterator iterator;
  Configure(iterator, Utf8ToUtf16(bench::WalkTreeFolder()), u"*.txt");
  for (auto _ : state) {
    iterator.IterateFindingFiles();
    benchmark::DoNotOptimize(iterator.Total());
  }
  Report(state, iterator);
}
BENCHMARK(BM_IterateFindingFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ProcessAllFilesFound(benchmark::State& state) {
  TFileAndDirIterator iterator;
  Configure(iterator, Utf8ToUtf16(bench::WalkTreeFolder()), u"*.txt");
  iterator.IterateFindingFiles();
  std::size_t name_units = 0;
  iterator.OnProcessingAFile = [&name_units](const UnicodeString& full, const TMySearchRec&) {
    name_units += full.size();
  };
  for (auto _ : state) {
    iterator.SetProcessingFiles(true);
    iterator.ProcessAllFilesFound();
    benchmark::DoNotOptimize(name_units);
  }
  Report(state, iterator);
}
BENCHMARK(BM_ProcessAllFilesFound)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadFavourites(benchmark::State& state) {
  TFileAndDirIterator iterator;
  Configure(iterator, Utf8ToUtf16(bench::WalkTreeFolder()), u"*.txt");
  iterator.SetFavourites(Utf8ToUtf16((std::filesystem::temp_directory_path() / "quill-bench-favourites").string()));
  iterator.IterateFindingFiles();
  iterator.SaveFavourites();
  state.counters["file_bytes"] =
      static_cast<double>(std::filesystem::file_size(Utf16ToUtf8(iterator.Favourites())));
  for (auto _ : state) {
    iterator.ReadFavourites();
    benchmark::DoNotOptimize(iterator.Total());
  }
  Report(state, iterator);
  std::filesystem::remove(Utf16ToUtf8(iterator.Favourites()));
}
BENCHMARK(BM_ReadFavourites)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--count") == 0) {
    TFileAndDirIterator iterator;
    Configure(iterator, Utf8ToUtf16(argv[2]), argc >= 4 ? Utf8ToUtf16(argv[3]) : UnicodeString(u"*"));
    iterator.IterateFindingFiles();
    std::cout << iterator.DirCount() << " folders, " << iterator.Total() << " files\n";
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
