// Kernels of the text primitives over a large buffer of English text: building
// the class array (UTF-16 and 8-bit) and the wanted-word matcher called in a
// loop as the search engine calls it (restarting one character after each
// hit's start). A plain 65,536-entry table lookup over the same buffer runs in
// the same program as the reference, so results read as ratios.
//
// The text is the Brown corpus (data/brown, tags stripped) repeated to size, or,
// when it is absent, English-like text generated deterministically. Size in
// megabytes of UTF-16: QUILL_BENCH_MB (default 200). Corpus folder:
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
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "quillrt/platform/char_types.h"
#include "quillrt/text/class_bits.h"
#include "quillrt/text/search_stats.h"
#include "quillrt/text/wanted_word_matcher.h"

namespace {

using quill::bench::BrownText;

// Characters to run over: QUILL_BENCH_MB megabytes of UTF-16.
std::size_t TargetCharacters() {
  return quill::bench::MegabytesFromEnv("QUILL_BENCH_MB", 200) * 1024 * 1024 / 2;
}

// English-like text: frequent words with Zipf-like weights, sentences with
// capitals, commas, numbers and ordinals, and paragraphs.
std::string GeneratedText() {
  static const char* const words[] = {
      "the",    "of",     "and",   "to",    "a",      "in",     "that",   "is",     "was",     "he",
      "for",    "it",     "with",  "as",    "his",    "on",     "be",     "at",     "by",      "I",
      "this",   "had",    "not",   "are",   "but",    "from",   "or",     "have",   "an",      "they",
      "which",  "one",    "you",   "were",  "her",    "all",    "she",    "there",  "would",   "their",
      "we",     "him",    "been",  "has",   "when",   "who",    "will",   "more",   "no",      "if",
      "out",    "so",     "said",  "what",  "up",     "its",    "about",  "into",   "than",    "them",
      "can",    "only",   "other", "new",   "some",   "could",  "time",   "these",  "two",     "may",
      "then",   "do",     "first", "any",   "my",     "now",    "such",   "like",   "our",     "over",
      "man",    "me",     "even",  "most",  "made",   "after",  "also",   "did",    "many",    "before",
      "must",   "through", "back", "years", "where",  "much",   "your",   "way",    "well",    "down",
      "should", "because", "each", "just",  "those",  "people", "state",  "how",    "too",     "little",
      "world",  "great",  "still", "own",   "men",    "work",   "long",   "get",    "here",    "between",
      "both",   "life",   "being", "under", "never",  "day",    "same",   "another", "know",   "while",
      "last",   "might",  "us",    "young", "old",    "year",   "off",    "come",   "since",   "against",
      "go",     "came",   "right", "used",  "take",   "three",  "himself", "few",   "house",   "use",
      "during", "without", "again", "place", "around", "however", "home",  "small", "found",   "thought",
      "went",   "say",    "part",  "once",  "general", "high",  "upon",   "school", "every",   "don't",
      "does",   "got",    "united", "left", "number", "course", "war",    "until",  "always",  "away",
      "something", "fact", "though", "water", "less",  "public", "put",    "think",  "almost",  "hand",
      "enough", "far",    "took",  "head",  "yet",    "government", "system", "better", "set", "told",
      "nothing", "night", "end",   "why",   "called", "didn't", "eyes",   "find",   "going",   "look",
      "asked",  "later",  "knew",  "point", "next",   "program", "city",  "business", "give",  "group",
  };
  constexpr std::size_t kWords = std::size(words);
  std::vector<double> weights(kWords);
  for (std::size_t i = 0; i < kWords; ++i) weights[i] = 1.0 / static_cast<double>(i + 2);
  std::mt19937 random(20240611u);
  std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
  std::uniform_int_distribution<int> length(6, 24), percent(0, 99), number(1, 2000);
  std::string text;
  while (text.size() < 8u * 1024 * 1024) {
    for (int sentence = 0; sentence < 5; ++sentence) {
      const int n = length(random);
      for (int w = 0; w < n; ++w) {
        std::string word = words[pick(random)];
        if (w == 0) word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
        const int roll = percent(random);
        if (roll < 2) {
          word = std::to_string(number(random));
        } else if (roll < 3) {
          const int day = number(random) % 31 + 1;
          word = std::to_string(day) + (day % 10 == 1 && day != 11 ? "st" : day % 10 == 2 && day != 12 ? "nd"
                                                                     : day % 10 == 3 && day != 13 ? "rd"
                                                                                                  : "th");
        }
        text += word;
        if (w + 1 < n) text += percent(random) < 7 ? ", " : " ";
      }
      text += ". ";
    }
    text += "\r\n\t";
  }
  return text;
}

struct Corpus {
  std::u16string text;
  std::string bytes;  // the same text in an 8-bit code page (1252)
  std::vector<quill::TClassWord> classes;
  const char* source = "";
};

const Corpus& TheCorpus() {
  static const Corpus corpus = [] {
    Corpus c;
    std::string base = BrownText();
    c.source = base.empty() ? "generated English-like text" : "Brown corpus";
    if (base.empty()) base = GeneratedText();
    const std::size_t n = TargetCharacters();
    c.bytes.reserve(n);
    while (c.bytes.size() < n) c.bytes.append(base, 0, std::min(base.size(), n - c.bytes.size()));
    // The corpus is ASCII apart from a few Latin-1 bytes: read the bytes as Latin-1.
    c.text.assign(c.bytes.begin(), c.bytes.end());
    std::transform(c.bytes.begin(), c.bytes.end(), c.text.begin(),
                   [](char b) { return static_cast<char16_t>(static_cast<unsigned char>(b)); });
    c.classes.assign(n + 2, 0);
    quill::BuildClassArray(c.text.data(), n, 0x0409, c.classes.data());
    return c;
  }();
  return corpus;
}

void Report(benchmark::State& state, std::size_t characters, std::size_t unit_bytes) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * characters));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * characters * unit_bytes));
  state.SetLabel(TheCorpus().source);
}

// The reference: one lookup in a 65,536-entry table per UTF-16 unit.
void BM_ReferenceTableLookup(benchmark::State& state) {
  const Corpus& c = TheCorpus();
  const quill::TClassWord* table = quill::CharType1Table();
  std::vector<quill::TClassWord> out(c.text.size());
  for (auto _ : state) {
    const char16_t* text = c.text.data();
    quill::TClassWord* classes = out.data();
    for (std::size_t i = 0, n = c.text.size(); i < n; ++i) classes[i] = table[text[i]];
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  Report(state, c.text.size(), 2);
}

void BM_BuildClassArrayW(benchmark::State& state) {
  const Corpus& c = TheCorpus();
  std::vector<quill::TClassWord> out(c.text.size());
  for (auto _ : state) {
    quill::BuildClassArray(c.text.data(), c.text.size(), 0x0409, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  Report(state, c.text.size(), 2);
}

void BM_BuildClassArrayA(benchmark::State& state) {
  const Corpus& c = TheCorpus();
  std::vector<quill::TClassWord> out(c.bytes.size());
  for (auto _ : state) {
    quill::BuildClassArrayA(c.bytes.data(), c.bytes.size(), 1252, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  Report(state, c.bytes.size(), 1);
}

// The search engine's loop over the whole buffer for one search word.
void RunMatcher(benchmark::State& state, const std::u16string& pattern, bool left_bounded, bool right_bounded) {
  const Corpus& c = TheCorpus();
  std::u16string lower = pattern, upper = pattern;
  for (auto& ch : upper) {
    if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - 0x20);
  }
  std::u16string title = lower;
  title[0] = upper[0];
  const auto length = static_cast<std::uint16_t>(pattern.size());
  const char16_t* const base = c.text.data();
  const auto count = static_cast<std::int32_t>(c.text.size());
  const quill::TClassWord* const classes = c.classes.data();
  const quill::TClassWord* const classes_end = classes + count + 1;
  std::int64_t hits = 0;
  std::int64_t words = 0;
  for (auto _ : state) {
    quill::TSearchStatsRec stats;
    bool in_heading = false;
    hits = 0;
    std::int32_t at = 0;
    for (;;) {
      std::uint16_t characters = 0;
      std::uint16_t exact = 0;
      const char16_t* found = quill::NewFindWantedInBuffer(
          base + at, count - at, classes + at, classes, classes_end, upper, lower, title, length, false, left_bounded,
          right_bounded, false, false, characters, exact, stats, in_heading, false, false, false, false);
      if (found == nullptr) break;
      ++hits;
      at = static_cast<std::int32_t>(found - base) + 1;
    }
    words = stats.number[quill::word_stats];
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
  state.counters["words"] = static_cast<double>(words);
  Report(state, c.text.size(), 2);
}

void BM_MatcherPlainWord(benchmark::State& state) { RunMatcher(state, u"the", true, true); }
void BM_MatcherStar(benchmark::State& state) { RunMatcher(state, u"th\x1D" u"e", true, true); }
void BM_MatcherDigitWildcard(benchmark::State& state) { RunMatcher(state, u"\x1Bth", true, true); }
// A word that never occurs but starts like "the": the scan without the cost of hits.
void BM_MatcherNoHit(benchmark::State& state) { RunMatcher(state, u"thx", true, true); }

void Configure(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(2)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ReferenceTableLookup)->Apply(Configure);
BENCHMARK(BM_BuildClassArrayW)->Apply(Configure);
BENCHMARK(BM_BuildClassArrayA)->Apply(Configure);
BENCHMARK(BM_MatcherPlainWord)->Apply(Configure);
BENCHMARK(BM_MatcherStar)->Apply(Configure);
BENCHMARK(BM_MatcherDigitWildcard)->Apply(Configure);
BENCHMARK(BM_MatcherNoHit)->Apply(Configure);

}  // namespace

BENCHMARK_MAIN();
