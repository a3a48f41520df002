// Cutting English text into sentences: SentencesFromParagraph by character types
// (the tools' usual call, tags up to 20 characters), paragraph by paragraph and
// as one string, and the category-only SentencesExtractedFromParagraph.
//
// The text is the Brown corpus (data/brown, tags stripped, five sentences to a
// paragraph) repeated to size, or, when it is absent, English-like text generated
// deterministically with abbreviations, decimals and quotations. Size in
// characters: QUILL_BENCH_SENTENCE_MB million (default 10, i.e. 10 MB of English
// as 8-bit text). Corpus folder: QUILL_BROWN_DIR, else data/brown found from the
// working folder upwards.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "quillrt/analysis/sentences.h"

namespace {

std::size_t TargetCharacters() {
  return quill::bench::MegabytesFromEnv("QUILL_BENCH_SENTENCE_MB", 10) * 1024 * 1024;
}

using quill::UnicodeString;

// One Brown sentence ("word/tag word/tag ...") without its tags.
std::string StripSentenceTags(const std::string& line) {
  std::string plain;
  std::size_t i = 0;
  while (i < line.size()) {
    if (std::isspace(static_cast<unsigned char>(line[i])) != 0) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && std::isspace(static_cast<unsigned char>(line[end])) == 0) ++end;
    const std::size_t slash = line.rfind('/', end - 1);
    if (!plain.empty()) plain += ' ';
    plain.append(line, i, (slash != std::string::npos && slash > i ? slash : end) - i);
    i = end;
  }
  return plain;
}

std::vector<std::string> BrownSentences() {
  std::vector<std::string> sentences;
  const auto files = quill::bench::BrownSampleFiles();
  for (const auto& file : files) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
      std::string plain = StripSentenceTags(line);
      if (!plain.empty()) sentences.push_back(std::move(plain));
    }
  }
  return sentences;
}

std::vector<std::string> GeneratedSentences() {
  static const char* const words[] = {"the", "of",   "and",   "to",   "a",     "in",    "that", "is",
                                      "was", "he",   "for",   "it",   "with",  "as",    "his",  "on",
                                      "be",  "at",   "by",    "this", "had",   "not",   "are",  "but",
                                      "from", "or",  "have",  "an",   "they",  "which", "one",  "were",
                                      "her", "all",  "she",   "there", "would", "their", "city", "report"};
  static const char* const openers[] = {"The", "Mr. Brown", "Dr. Smith", "In 1961", "Nobody", "Prices",
                                        "She", "A committee", "The U.S. team", "Its"};
  std::mt19937 random(20240611u);
  std::uniform_int_distribution<std::size_t> word(0, std::size(words) - 1), opener(0, std::size(openers) - 1);
  std::uniform_int_distribution<int> length(6, 24), roll(0, 99);
  std::vector<std::string> sentences;
  std::size_t size = 0;
  while (size < 4u * 1024 * 1024) {
    std::string s = openers[opener(random)];
    const int n = length(random);
    for (int w = 0; w < n; ++w) {
      const int r = roll(random);
      s += ' ';
      if (r < 3)
        s += std::to_string(r + 1) + "." + std::to_string(n);  // a decimal
      else if (r < 5)
        s += "e.g.";
      else
        s += words[word(random)];
      if (roll(random) < 6) s += ',';
    }
    const int end = roll(random);
    s += end < 80 ? "." : end < 90 ? "?" : "!";
    if (roll(random) < 10) s = "\"" + s + "\" he said.";
    size += s.size() + 1;
    sentences.push_back(std::move(s));
  }
  return sentences;
}

// Paragraphs of five sentences, repeated until the target size is reached.
const std::vector<UnicodeString>& Paragraphs() {
  static const std::vector<UnicodeString> paragraphs = [] {
    std::vector<std::string> sentences = BrownSentences();
    if (sentences.empty()) sentences = GeneratedSentences();
    std::vector<UnicodeString> result;
    std::size_t total = 0;
    const std::size_t target = TargetCharacters();
    for (std::size_t i = 0; total < target; i += 5) {
      std::string paragraph;
      for (std::size_t k = 0; k < 5; ++k) {
        if (!paragraph.empty()) paragraph += ' ';
        paragraph += sentences[(i + k) % sentences.size()];
      }
      result.push_back(quill::Utf8ToUtf16(paragraph));
      total += result.back().size();
    }
    return result;
  }();
  return paragraphs;
}

std::int64_t TotalCharacters() {
  std::int64_t total = 0;
  for (const UnicodeString& p : Paragraphs()) total += static_cast<std::int64_t>(p.size());
  return total;
}

void BM_SentencesFromParagraph_ByParagraph(benchmark::State& state) {
  const auto& paragraphs = Paragraphs();
  std::int64_t sentences = 0;
  for (auto _ : state) {
    sentences = 0;
    for (const UnicodeString& p : paragraphs) sentences += quill::SentencesFromParagraph(p, u"", 0x0409, 20)->Count();
    benchmark::DoNotOptimize(sentences);
  }
  state.counters["sentences"] = static_cast<double>(sentences);
  state.SetBytesProcessed(state.iterations() * TotalCharacters());
  state.SetItemsProcessed(state.iterations() * sentences);
}

void BM_SentencesFromParagraph_WholeText(benchmark::State& state) {
  UnicodeString whole;
  for (const UnicodeString& p : Paragraphs()) whole += p + u"\r\n";
  for (auto _ : state) {
    auto list = quill::SentencesFromParagraph(whole, u"", 0x0409, 20);
    benchmark::DoNotOptimize(list->Count());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(whole.size()));
}

void BM_SentencesExtractedFromParagraph(benchmark::State& state) {
  const auto& paragraphs = Paragraphs();
  for (auto _ : state) {
    std::int64_t sentences = 0;
    for (const UnicodeString& p : paragraphs)
      sentences += quill::SentencesExtractedFromParagraph(true, 0, p)->Count();
    benchmark::DoNotOptimize(sentences);
  }
  state.SetBytesProcessed(state.iterations() * TotalCharacters());
}

}  // namespace

// Bytes processed are characters of input: one per byte of 8-bit English text.
BENCHMARK(BM_SentencesFromParagraph_ByParagraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SentencesFromParagraph_WholeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SentencesExtractedFromParagraph)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
