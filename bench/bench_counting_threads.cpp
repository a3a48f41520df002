// Where a second thread starts to pay for a word list: the untagged Brown
// samples as files, copied to corpora of 6 to 48 MB, counted on one thread and
// on two (each with its own table, merged at the end). The job's own rule
// (kDefaultBytesPerThread) is set from these figures; see bench/README.md.
//
//   build-bench/bench/bench_counting_threads [--benchmark_repetitions=5]
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench_corpus.h"
#include "quilljobs/corpus.h"
#include "quilljobs/frequency_jobs.h"

namespace quill::bench {
namespace {

namespace fs = std::filesystem;

// A folder of `copies` copies of the 500 untagged samples (about 6 MB a
// copy), made once in /tmp.
fs::path SampleCopies(int copies) {
  const fs::path folder = "/tmp/quill-bench-samples-x" + std::to_string(copies);
  if (fs::exists(folder / "done")) return folder;
  const auto samples = BrownSampleFiles();
  for (int c = 0; c < copies; ++c) {
    const fs::path copy = folder / ("copy" + std::to_string(c));
    fs::create_directories(copy);
    for (const auto& sample : samples) {
      std::ifstream in(sample, std::ios::binary);
      std::ofstream(copy / sample.filename(), std::ios::binary)
          << StripTags(std::string(std::istreambuf_iterator<char>(in), {}));
    }
  }
  std::ofstream(folder / "done");
  return folder;
}

void BM_WordListThreads(benchmark::State& state) {
  if (BrownSampleFiles().empty()) {
    state.SkipWithError("no Brown corpus in data/brown");
    return;
  }
  jobs::CorpusOptions options;
  options.paths = {SampleCopies(static_cast<int>(state.range(0))).string()};
  options.mask = "c*";  // not the marker file
  const jobs::Corpus corpus(options);
  jobs::WordListSettings settings;
  settings.threads = static_cast<int>(state.range(1));
  settings.bytes_per_thread = 0;
  for (auto _ : state) benchmark::DoNotOptimize(jobs::WordListJob(settings).Run(corpus).tokens);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * corpus.TotalBytes());
}

}  // namespace
}  // namespace quill::bench

BENCHMARK(quill::bench::BM_WordListThreads)
    ->ArgsProduct({{1, 2, 4, 8}, {1, 2}})
    ->ArgNames({"copies", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
