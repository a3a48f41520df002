// The search engine over a large buffer of English: SearchAndDo for "the"
// (word-bounded, case-insensitive), every hit counted through the tool's
// callback, over UTF-16 and over the 8-bit form of the same text. Two reference
// kernels run in the same program so that the results read as ratios: one
// class-table lookup per character (the least any search reads), and a plain
// loop that finds the bounded word "the" by direct comparison.
//
// The text is the Brown corpus (data/brown, tags stripped) repeated to size, or,
// when it is absent, English-like text generated deterministically. Size in
// megabytes of UTF-16: QUILL_BENCH_MB (default 200). Corpus folder:
// QUILL_BROWN_DIR, else data/brown found from the working folder upwards.
//
// Two more modes serve bench/compare_ripgrep.sh:
//   bench_search_engine --write-text DIR      writes DIR/corpus.utf16le.txt (no
//                                             byte-order mark) and DIR/corpus.utf8.txt
//   bench_search_engine --count FILE utf16|8bit
//                                             reads FILE in chunks of 1 Mi characters
//                                             as a tool does, prepares the engine and
//                                             searches each chunk, prints "hits <n>"
//                                             and the CPU seconds of each step
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <memory>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bench_corpus.h"
#include "quillrt/platform/char_types.h"
#include "quillrt/search/search_engine.h"
#include "quillrt/search/search_word_syntax.h"
#include "quillrt/text/class_bits.h"

namespace {

namespace fs = std::filesystem;
using quill::bench::BrownText;

// Characters to run over: QUILL_BENCH_MB megabytes of UTF-16.
std::size_t TargetCharacters() {
  return quill::bench::MegabytesFromEnv("QUILL_BENCH_MB", 200) * 1024 * 1024 / 2;
}

constexpr std::uint32_t kEnglish = 0x0409;  // 8-bit text in code page 1252

// English-like sentences from frequent words, for machines without the corpus.
std::string GeneratedText() {
  static const char* const words[] = {"the",  "of",   "and",   "to",   "a",     "in",    "that", "is",
                                      "was",  "he",   "for",   "it",   "with",  "as",    "his",  "on",
                                      "be",   "at",   "by",    "this", "had",   "not",   "are",  "but",
                                      "from", "or",   "have",  "an",   "they",  "which", "one",  "you",
                                      "were", "her",  "all",   "she",  "there", "would", "their", "other",
                                      "then", "them", "these", "there's", "theme", "bathe", "lathe", "The"};
  std::mt19937 random(20240611u);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(words) - 1);
  std::uniform_int_distribution<int> length(6, 24);
  std::string text;
  while (text.size() < 8u * 1024 * 1024) {
    const int n = length(random);
    for (int w = 0; w < n; ++w) {
      text += words[pick(random)];
      text += w + 1 < n ? " " : ".\n\t";
    }
  }
  return text;
}

struct Corpus {
  std::u16string text;  // with a terminating NUL, as the engine reads it
  std::string bytes;    // the same characters as bytes (the corpus is ASCII)
  const char* source = "";
  std::size_t characters() const { return bytes.size(); }
};

const Corpus& TheCorpus() {
  static const Corpus corpus = [] {
    Corpus c;
    std::string base = BrownText();
    c.source = base.empty() ? "generated English-like text" : "Brown corpus";
    if (base.empty()) base = GeneratedText();
    const std::size_t n = TargetCharacters();
    c.bytes.reserve(n + 1);
    while (c.bytes.size() < n) c.bytes.append(base, 0, std::min(base.size(), n - c.bytes.size()));
    c.text.resize(n);
    std::transform(c.bytes.begin(), c.bytes.end(), c.text.begin(),
                   [](char b) { return static_cast<char16_t>(static_cast<unsigned char>(b)); });
    return c;
  }();
  return corpus;
}

void Report(benchmark::State& state, std::size_t characters, std::size_t unit_bytes, std::int64_t hits) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * characters));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * characters * unit_bytes));
  state.counters["hits"] = static_cast<double>(hits);
  state.SetLabel(TheCorpus().source);
}

quill::TSearch_word_format_rec WordThe() {
  std::u16string typed = u"the";
  quill::TSearch_word_format_rec rec;
  quill::Parsed_SearchWord(quill::TIgnore_tag_type{}, typed, rec);
  return rec;
}

// ---- references ---------------------------------------------------------------

// One lookup in the 65,536-entry class table per UTF-16 unit.
void BM_ReferenceTableLookup(benchmark::State& state) {
  const Corpus& c = TheCorpus();
  const quill::TClassWord* table = quill::CharType1Table();
  std::vector<quill::TClassWord> out(c.characters());
  for (auto _ : state) {
    const char16_t* text = c.text.data();
    quill::TClassWord* classes = out.data();
    for (std::size_t i = 0, n = c.characters(); i < n; ++i) classes[i] = table[text[i]];
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  Report(state, c.characters(), 2, 0);
}

// The bounded word "the" in any case, found by comparing every character, with
// word characters told by the class table: what a plain loop does.
void BM_ReferencePlainLoop(benchmark::State& state) {
  const Corpus& c = TheCorpus();
  const quill::TClassWord* table = quill::CharType1Table();
  const auto is_word = [table](char16_t ch) { return (table[ch] & quill::class_word_char) != 0; };
  const auto lower = [](char16_t ch) { return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 0x20) : ch; };
  std::int64_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    const char16_t* text = c.text.data();
    const std::size_t n = c.characters();
    for (std::size_t i = 0; i + 3 <= n; ++i) {
      if (lower(text[i]) == u't' && lower(text[i + 1]) == u'h' && lower(text[i + 2]) == u'e' &&
          (i == 0 || !is_word(text[i - 1])) && (i + 3 == n || !is_word(text[i + 3]))) {
        ++hits;
      }
    }
    benchmark::DoNotOptimize(hits);
  }
  Report(state, c.characters(), 2, hits);
}

// ---- the engine -------------------------------------------------------------------

void RunSearchAndDo(benchmark::State& state, bool in_unicode) {
  const Corpus& c = TheCorpus();
  quill::TSearchAndDoEngine engine(in_unicode, true, kEnglish);
  std::int64_t hits = 0;
  const void* buffer = in_unicode ? static_cast<const void*>(c.text.c_str()) : c.bytes.c_str();
  const auto size = static_cast<std::int32_t>(c.characters() * (in_unicode ? 2 : 1));
  engine.PrepareFirst(buffer, size, 0,
                      [&hits](quill::TObject*, const quill::TSearchFound_Rec&) {
                        ++hits;
                        return true;
                      },
                      nullptr);
  quill::TSearch_word_format_rec the = WordThe();
  std::int64_t last = 0;
  for (auto _ : state) {
    hits = 0;
    engine.ClearChunkTextStats();
    if (!engine.SearchAndDo(&the)) state.SkipWithError("the search did not start");
    last = hits;
  }
  Report(state, c.characters(), in_unicode ? 2 : 1, last);
  state.counters["words"] = static_cast<double>(engine.ThisFileChunk_Stats.number[quill::word_stats]);
}

void BM_SearchAndDoW(benchmark::State& state) { RunSearchAndDo(state, true); }
void BM_SearchAndDoA(benchmark::State& state) { RunSearchAndDo(state, false); }

// What a buffer costs before its first search: its length and its class array.
void RunPrepareFirst(benchmark::State& state, bool in_unicode) {
  const Corpus& c = TheCorpus();
  quill::TSearchAndDoEngine engine(in_unicode, true, kEnglish);
  const void* buffer = in_unicode ? static_cast<const void*>(c.text.c_str()) : c.bytes.c_str();
  for (auto _ : state) {
    engine.PrepareFirst(buffer, 0, 0, [](quill::TObject*, const quill::TSearchFound_Rec&) { return true; }, nullptr);
    benchmark::DoNotOptimize(engine.GetBufferDetailsStart());
  }
  Report(state, c.characters(), in_unicode ? 2 : 1, 0);
}

void BM_PrepareFirstW(benchmark::State& state) { RunPrepareFirst(state, true); }
void BM_PrepareFirstA(benchmark::State& state) { RunPrepareFirst(state, false); }

void Configure(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(2)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ReferenceTableLookup)->Apply(Configure);
BENCHMARK(BM_ReferencePlainLoop)->Apply(Configure);
BENCHMARK(BM_SearchAndDoW)->Apply(Configure);
BENCHMARK(BM_SearchAndDoA)->Apply(Configure);
BENCHMARK(BM_PrepareFirstW)->Apply(Configure);
BENCHMARK(BM_PrepareFirstA)->Apply(Configure);

// ---- modes for the peer comparison --------------------------------------------------

int WriteText(const fs::path& dir) {
  const Corpus& c = TheCorpus();
  fs::create_directories(dir);
  {
    std::ofstream utf16(dir / "corpus.utf16le.txt", std::ios::binary);
    std::string le(c.characters() * 2, '\0');
    for (std::size_t i = 0; i < c.characters(); ++i) le[2 * i] = c.bytes[i];  // ASCII: high bytes zero
    utf16.write(le.data(), static_cast<std::streamsize>(le.size()));
  }
  std::ofstream utf8(dir / "corpus.utf8.txt", std::ios::binary);
  utf8.write(c.bytes.data(), static_cast<std::streamsize>(c.bytes.size()));
  std::printf("%zu characters from the %s\n", c.characters(), c.source);
  return utf8 ? 0 : 1;
}

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Reads a file and searches it for "the" as a tool does: chunk by chunk, each
// chunk ending at a separator (the rest of the word is carried over to the
// next), one engine and one buffer reused throughout. Prints the hits and the
// CPU seconds of each step.
template <class Char>
int CountFileInChunks(const char* file, bool in_unicode) {
  const int fd = open(file, O_RDONLY);
  if (fd < 0) {
    std::fprintf(stderr, "cannot read %s\n", file);
    return 1;
  }
  struct stat info {};
  fstat(fd, &info);
  // A tool's chunk: a few megabytes, so that text and classes stay in the caches.
  constexpr std::size_t kChunk = 1u << 20;
  auto buffer = std::make_unique_for_overwrite<Char[]>(kChunk + 1);
  buffer[kChunk] = 0;
  std::int64_t hits = 0;
  quill::TSearchAndDoEngine engine(in_unicode, true, kEnglish);
  const auto count_hit = [&hits](quill::TObject*, const quill::TSearchFound_Rec&) {
    ++hits;
    return true;
  };
  quill::TSearch_word_format_rec the = WordThe();
  double read_cpu = 0, prepare_cpu = 0, search_cpu = 0;
  std::size_t carried = 0;
  std::uint32_t chunk_start = 0;
  bool first = true;
  for (bool at_end = false; !at_end;) {
    double t = CpuSeconds();
    std::size_t filled = carried;
    while (filled < kChunk) {
      const ssize_t got = read(fd, reinterpret_cast<char*>(buffer.get() + filled), (kChunk - filled) * sizeof(Char));
      if (got <= 0) {
        at_end = true;
        break;
      }
      filled += static_cast<std::size_t>(got) / sizeof(Char);
    }
    if (first && in_unicode && filled > 0 && buffer[0] == 0xFEFF) buffer[0] = ' ';  // the byte-order mark
    first = false;
    // End the chunk before its last separator; what follows waits for the next one.
    std::size_t cut = filled;
    if (!at_end) {
      while (cut > 0 && buffer[cut - 1] != ' ' && buffer[cut - 1] != '\n' && buffer[cut - 1] != '\t') --cut;
      if (cut > 0) --cut;
      if (cut == 0) cut = filled;
    }
    const Char saved = buffer[cut];
    buffer[cut] = 0;
    double u = CpuSeconds();
    read_cpu += u - t;
    engine.PrepareFirst(buffer.get(), static_cast<std::int32_t>(std::min<off_t>(info.st_size, INT32_MAX)),
                        chunk_start, count_hit, nullptr);
    engine.ClearChunkTextStats();
    t = CpuSeconds();
    prepare_cpu += t - u;
    engine.SearchAndDo(&the);
    u = CpuSeconds();
    search_cpu += u - t;
    buffer[cut] = saved;
    carried = filled - cut;
    std::memmove(buffer.get(), buffer.get() + cut, carried * sizeof(Char));
    chunk_start += static_cast<std::uint32_t>(cut * sizeof(Char));
    if (filled == 0) break;
  }
  close(fd);
  std::printf("hits %lld\nread %.3f s, prepare %.3f s, search %.3f s (CPU)\n", static_cast<long long>(hits), read_cpu,
              prepare_cpu, search_cpu);
  return 0;
}

int CountFile(const char* file, bool in_unicode) {
  return in_unicode ? CountFileInChunks<char16_t>(file, true) : CountFileInChunks<char>(file, false);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--write-text") == 0) return WriteText(argv[2]);
  if (argc >= 4 && std::strcmp(argv[1], "--count") == 0) return CountFile(argv[2], std::strcmp(argv[3], "utf16") == 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
