// Three-level sort of 1,000,000 concordance-like lines (word to the left, word to
// the right, position) with T3SortYieldingList, against std::sort of the same
// pointers with the equivalent lexicographic comparison.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "quillrt/collections/three_level_sort.h"
#include "quillrt/process/yield.h"

namespace {

struct Line {
  std::u16string left;
  std::u16string right;
  std::int32_t position;
};

constexpr int kLines = 1'000'000;

// Words drawn with a Zipf-like skew, as in running text: a few very common
// words, a long tail of rare ones, so every level meets runs of ties.
std::vector<Line> MakeLines() {
  std::mt19937 rng(42);
  std::vector<std::u16string> vocabulary;
  std::uniform_int_distribution<int> letter(0, 25), length(2, 9);
  for (int i = 0; i < 20000; ++i) {
    std::u16string w;
    for (int n = length(rng); n > 0; --n) w.push_back(static_cast<char16_t>(u'a' + letter(rng)));
    vocabulary.push_back(w);
  }
  std::vector<double> weights;
  for (std::size_t i = 0; i < vocabulary.size(); ++i) weights.push_back(1.0 / static_cast<double>(i + 1));
  std::discrete_distribution<std::size_t> word(weights.begin(), weights.end());
  std::uniform_int_distribution<std::int32_t> position(0, 5000);
  std::vector<Line> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) lines.push_back({vocabulary[word(rng)], vocabulary[word(rng)], position(rng)});
  return lines;
}

const std::vector<Line>& Lines() {
  static const std::vector<Line> lines = MakeLines();
  return lines;
}

int Compare3(const Line& a, const Line& b, int key) {
  switch (key) {
    case 0: return a.left.compare(b.left);
    case 1: return a.right.compare(b.right);
    default: return a.position < b.position ? -1 : (a.position > b.position ? 1 : 0);
  }
}

// A tool's list: the base line is held by pointer (the lines themselves never
// move; only the pointers to them are permuted), so SetBase allocates nothing.
class LineList : public quill::T3SortYieldingList {
 public:
  void SetBase(void* p, std::int32_t sortvar) override {
    base_ = static_cast<const Line*>(p);
    key_ = sortvar;
  }
  quill::TCompareFunctOfObject Compare() {
    return [this](const void* item) { return Compare3(*static_cast<const Line*>(item), *base_, key_); };
  }

 private:
  const Line* base_ = nullptr;
  int key_ = 0;
};

std::vector<const Line*> ShuffledPointers() {
  std::vector<const Line*> pointers;
  for (const Line& line : Lines()) pointers.push_back(&line);
  std::shuffle(pointers.begin(), pointers.end(), std::mt19937(7));
  return pointers;
}

void BM_ThreeLevelSort(benchmark::State& state) {
  const bool with_hook = state.range(0) != 0;
  const auto pointers = ShuffledPointers();
  if (with_hook)
    quill::AYieldProcessProc = [] {};
  else
    quill::AYieldProcessProc = nullptr;
  for (auto _ : state) {
    state.PauseTiming();
    LineList list;
    list.SetCapacity(kLines);
    for (const Line* p : pointers) list.Add(const_cast<Line*>(p));
    list.SetAscending(true, true, false);
    const auto compare = list.Compare();
    state.ResumeTiming();
    list.DoATrebleSort(compare, 0, 1, 2);
    benchmark::DoNotOptimize(list.First());
  }
  quill::AYieldProcessProc = nullptr;
}
BENCHMARK(BM_ThreeLevelSort)->Arg(0)->Arg(1)->ArgNames({"hook"})->Unit(benchmark::kMillisecond);

void BM_StdSort(benchmark::State& state) {
  const auto pointers = ShuffledPointers();
  for (auto _ : state) {
    state.PauseTiming();
    auto work = pointers;
    state.ResumeTiming();
    std::sort(work.begin(), work.end(), [](const Line* a, const Line* b) {
      if (const int c = Compare3(*a, *b, 0)) return c < 0;
      if (const int c = Compare3(*a, *b, 1)) return c < 0;
      return Compare3(*a, *b, 2) > 0;  // third level descending
    });
    benchmark::DoNotOptimize(work.front());
  }
}
BENCHMARK(BM_StdSort)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
