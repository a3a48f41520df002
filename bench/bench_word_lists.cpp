// Word lists and n-gram lists over a large English text: SimpleWordListOfTxt
// (alphabetical and by frequency) and SimpleNGramListOfTxt with n = 3, against a
// plain reference in the same program: lower-cased ASCII words counted in a
// std::unordered_map<std::u16string, int> (no locale order, no first spellings);
// and, over the first 4 MB, against the same list filled word by word as a
// sorted string list is filled (a binary search by locale comparison a word).
//
// The text is the Brown corpus (data/brown, tags stripped) repeated to size, or,
// when it is absent, English-like text generated deterministically. Size in
// megabytes of text, one character a byte as on disk: QUILL_BENCH_MB (default
// 100; the buffer is UTF-16, twice that in memory). Corpus folder:
// QUILL_BROWN_DIR, else data/brown found from the working folder upwards.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string_view>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench_corpus.h"
#include "quillrt/analysis/ngrams.h"
#include "quillrt/analysis/word_boundaries.h"
#include "quillrt/analysis/word_lists.h"

namespace {

using quill::bench::BrownText;

// Characters to run over: QUILL_BENCH_MB megabytes.
std::size_t TargetCharacters() {
  return quill::bench::MegabytesFromEnv("QUILL_BENCH_MB", 100) * 1024 * 1024;
}

// Sentences of frequent English words with Zipf-like weights, for machines
// without the corpus.
std::string GeneratedText() {
  static const char* const words[] = {"the", "of", "and", "to", "a", "in", "that", "is", "was", "he", "for", "it",
                                      "with", "as", "his", "on", "be", "at", "by", "I", "this", "had", "not", "are",
                                      "but", "from", "or", "have", "an", "they", "which", "one", "you", "were",
                                      "her", "all", "she", "there", "would", "their", "we", "him", "been", "has",
                                      "when", "who", "will", "more", "no", "if", "out", "so", "said", "what", "up"};
  constexpr std::size_t kWords = std::size(words);
  std::vector<double> weights(kWords);
  for (std::size_t i = 0; i < kWords; ++i) weights[i] = 1.0 / static_cast<double>(i + 2);
  std::mt19937 random(20240611u);
  std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
  std::uniform_int_distribution<int> length(6, 24), number(1, 100000);
  std::string text;
  while (text.size() < 8u * 1024 * 1024) {
    const int n = length(random);
    for (int w = 0; w < n; ++w) {
      text += w == n / 2 ? "x" + std::to_string(number(random)) : words[pick(random)];
      text += w + 1 < n ? " " : ".\r\n";
    }
  }
  return text;
}

struct Corpus {
  std::u16string text;
  const char* source = "";
};

const Corpus& TheCorpus() {
  static const Corpus corpus = [] {
    Corpus c;
    std::string base = BrownText();
    c.source = base.empty() ? "generated English-like text" : "Brown corpus";
    if (base.empty()) base = GeneratedText();
    const std::size_t n = TargetCharacters();
    c.text.reserve(n);
    // The corpus is ASCII apart from a few Latin-1 bytes: read the bytes as Latin-1.
    while (c.text.size() < n) {
      const std::size_t take = std::min(base.size(), n - c.text.size());
      for (std::size_t i = 0; i < take; ++i) c.text.push_back(static_cast<char16_t>(static_cast<unsigned char>(base[i])));
    }
    return c;
  }();
  return corpus;
}

void Report(benchmark::State& state, std::int64_t lines) {
  const Corpus& c = TheCorpus();
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * c.text.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.text.size()));
  state.counters["lines"] = static_cast<double>(lines);
  state.SetLabel(c.source);
}

void BM_ReferenceUnorderedMap(benchmark::State& state) {
  const Corpus& c = TheCorpus();
  std::int64_t lines = 0;
  for (auto _ : state) {
    std::unordered_map<std::u16string, int> counts;
    std::u16string word;
    for (const char16_t ch : c.text) {
      const bool letter = (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9');
      if (letter) {
        word.push_back(ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 0x20) : ch);
      } else if (!word.empty()) {
        ++counts[word];
        word.clear();
      }
    }
    if (!word.empty()) ++counts[word];
    lines = static_cast<std::int64_t>(counts.size());
    benchmark::DoNotOptimize(counts);
  }
  Report(state, lines);
}

void BM_SimpleWordListOfTxt(benchmark::State& state) {
  const bool by_freq = state.range(0) != 0;
  std::int64_t lines = 0;
  for (auto _ : state) {
    const auto list = quill::SimpleWordListOfTxt(TheCorpus().text, 1, by_freq);
    lines = list->Count();
  }
  Report(state, lines);
}

void BM_SimpleNGramListOfTxt3(benchmark::State& state) {
  const bool by_freq = state.range(0) != 0;
  std::int64_t lines = 0;
  for (auto _ : state) {
    const auto list = quill::SimpleNGramListOfTxt(TheCorpus().text, 3, 100, by_freq, nullptr);
    lines = list->Count();
  }
  Report(state, lines);
}

// The list filled as a sorted, case-insensitive string list is filled one
// word at a time (a binary search by locale comparison per word): the result
// SimpleWordListOfTxt reproduces, over the first 4 MB only, beside
// SimpleWordListOfTxt on the same 4 MB.
constexpr std::size_t kSlice = 4 * 1024 * 1024;

std::u16string_view Slice() {
  const std::u16string& text = TheCorpus().text;
  return std::u16string_view(text).substr(0, std::min(text.size(), kSlice));
}

void ReportSlice(benchmark::State& state, std::int64_t lines) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * Slice().size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Slice().size()));
  state.counters["lines"] = static_cast<double>(lines);
  state.SetLabel("first 4 MB");
}

void BM_SortedInsertion4MB(benchmark::State& state) {
  std::int64_t lines = 0;
  for (auto _ : state) {
    quill::TStringList list;
    list.SetSorted(true);
    const std::u16string_view text = Slice();
    std::size_t i = 0;
    while (i < text.size()) {
      while (i < text.size() && !quill::IsLetterOrDigitChar(text[i])) ++i;
      const std::size_t start = i;
      while (i < text.size() && quill::IsLetterOrDigitChar(text[i])) ++i;
      if (i == start) continue;
      const std::u16string word(text.substr(start, i - start));
      int at;
      if (list.Find(word, at))
        list.PutObject(at, quill::TObjectRef::FromInt(list.GetObject(at).AsInt() + 1));
      else
        list.AddObject(word, quill::TObjectRef::FromInt(1));
    }
    lines = list.Count();
  }
  ReportSlice(state, lines);
}

void BM_SimpleWordListOfTxt4MB(benchmark::State& state) {
  std::int64_t lines = 0;
  const std::u16string text(Slice());
  for (auto _ : state) lines = quill::SimpleWordListOfTxt(text, 1, false)->Count();
  ReportSlice(state, lines);
}

void Configure(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(1)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ReferenceUnorderedMap)->Apply(Configure);
BENCHMARK(BM_SortedInsertion4MB)->Apply(Configure);
BENCHMARK(BM_SimpleWordListOfTxt4MB)->Apply(Configure);
BENCHMARK(BM_SimpleWordListOfTxt)->Arg(0)->Arg(1)->ArgName("by_freq")->Apply(Configure);
BENCHMARK(BM_SimpleNGramListOfTxt3)->Arg(0)->Arg(1)->ArgName("by_freq")->Apply(Configure);

}  // namespace

BENCHMARK_MAIN();
