// quill concord: a concordance of a corpus, one line per hit of the search
// words, searched as the concordance tool searches: the text's class array
// with markup and sentence/paragraph markers, the language's middle
// characters, and one SearchAndDo per search word.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>

#include "commands.h"
#include "concord_output.h"
#include "concordance_lines.h"
#include "corpus_input.h"
#include "progress.h"
#include "saved_lists.h"
#include "quillrt/files/file_contents.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/platform/locale_info.h"
#include "quillrt/search/search_engine.h"
#include "quillrt/search/search_word_collections.h"
#include "quillrt/text/char_classes.h"
#include "quillrt/text/class_bits.h"

namespace quill::cli {
namespace {

constexpr std::uint32_t kEnglishLcid = 0x0409;
// Characters that join two letters into one word ("don't", "well-known").
constexpr std::u16string_view kMiddleCharacters = u"'\u2019-";

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) { g_interrupted.store(true); }

struct ConcordOptions {
  CorpusOptions corpus;
  std::vector<std::string> searches;
  std::vector<std::string> context;
  std::vector<std::string> exclude;
  int horizon = 5;
  int width = 40;
  std::string format = "text";
  std::vector<std::string> sort;
  long long limit = 0;
  bool count = false;
  bool quiet = false;
  std::string save;  // also write the lines to this saved-list file
};

TIgnore_tag_type AngleBracketTags() {
  TIgnore_tag_type tags{};
  tags[tag_on][0] = u'<';
  tags[tag_off][0] = u'>';
  return tags;
}

// The tag's segment code when it is one of the sentence/paragraph/heading
// tags (<s>, </p>, <head> ...); 0 otherwise.
std::uint16_t SegmentCodeOfTag(std::u16string_view tag) {
  const bool closing = tag.size() > 1 && tag[1] == u'/';
  std::size_t i = closing ? 2 : 1;
  UnicodeString name;
  while (i < tag.size() && tag[i] != u'>' && tag[i] != u' ' && tag[i] != u'/') name.push_back(tag[i++]);
  name = Lowercase(name);
  std::uint16_t start = 0;
  if (name == u"s") start = ts_sentence_start;
  else if (name == u"p") start = ts_paragraph_start;
  else if (name == u"head" || name == u"h1" || name == u"h2" || name == u"h3") start = ts_heading_start;
  else return 0;
  return static_cast<std::uint16_t>(closing ? start + 1 : start);
}

// Marks markup <...> in the class array so that the engine skips it; the
// first character of a segment tag becomes that segment's marker. Returns
// the markers found.
TTagsFoundArray MarkMarkup(const UnicodeString& text, TClassArray& classes) {
  TTagsFoundArray found;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] != u'<' || i + 1 >= n) continue;
    const WideChar next = text[i + 1];
    if (!(next == u'/' || next == u'!' || next == u'?' || (next < 0x80 && std::isalpha(next)))) continue;
    // A tag closes on the same line within a reasonable reach.
    std::size_t end = i + 1;
    while (end < n && end - i < 512 && text[end] != u'>' && text[end] != u'<' && text[end] != u'\n') ++end;
    if (end >= n || text[end] != u'>') continue;
    for (std::size_t k = i; k <= end; ++k) classes[k] = class_markup;
    if (const std::uint16_t code = SegmentCodeOfTag(std::u16string_view(text).substr(i, end - i + 1)); code != 0) {
      classes[i] = static_cast<TClassWord>(class_segment_marker | code);
      ++found[static_cast<text_segments_type>(code)];
    }
    i = end;
  }
  return found;
}

// One -s argument: its alternatives and the running total of its hits.
struct SearchGroup {
  std::string typed;
  std::unique_ptr<TSearchWordItems> items;
  std::int64_t hits = 0;
};

std::unique_ptr<TSearchWordItems> ParsedWords(const std::string& typed, std::uint32_t lcid) {
  auto items = std::make_unique<TSearchWordItems>(AngleBracketTags(), lcid, true);
  items->AddedSearchWords(Utf8ToUtf16(typed));
  if (items->Count() == 0) Fail("nothing to search for in \"" + typed + "\"", kExitUsage);
  return items;
}

// The word numbers at which any of `words` is found in the engine's buffer.
std::vector<std::int32_t> WordNumbersOf(TSearchAndDoEngine& engine, std::vector<std::unique_ptr<TSearchWordItems>>& words,
                                        std::vector<std::int32_t>& sink) {
  sink.clear();
  for (auto& items : words)
    for (std::int32_t i = 0; i < items->Count(); ++i) {
      engine.ClearChunkTextStats();
      engine.SearchAndDo(items->GetPtr(i), i);
    }
  std::sort(sink.begin(), sink.end());
  return sink;
}

bool AnyWithin(const std::vector<std::int32_t>& sorted, std::int32_t word, int horizon, bool include_self) {
  auto it = std::lower_bound(sorted.begin(), sorted.end(), word - horizon);
  for (; it != sorted.end() && *it <= word + horizon; ++it)
    if (include_self || *it != word) return true;
  return false;
}

// UTF-16 without a byte-order mark that the reader took for 8-bit text comes
// out with a NUL for every other character (the zero high bytes of ASCII).
// Such a file is read again as UTF-16 in the byte order its zeros show.
void MendUnmarkedUtf16(const CorpusFile& file, UnicodeString& text) {
  if (file.in_zip || text.size() < 4) return;
  const auto nuls = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\0'));
  if (nuls * 3 < text.size()) return;
  std::string bytes;
  try {
    bytes = ReadWholeFile(file.name);
  } catch (const Exception&) {
    return;
  }
  std::size_t zero_even = 0, zero_odd = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == 0) ++(i % 2 == 0 ? zero_even : zero_odd);
  const TEncoding* encoding = zero_even > zero_odd ? TEncoding::BigEndianUnicode() : TEncoding::Unicode();
  text = encoding->GetString(bytes);
}

// Plain ASCII text (no zero byte, nothing above 0x7F) reads the same in every
// 8-bit code page and cannot be UTF-16 text of any script the statistical
// test would recognise, so it is widened directly: on an English corpus the
// encoding tests would otherwise cost more than the search. Anything else is
// read by the corpus reader with its full detection.
bool ReadText(const CorpusFile& file, std::string& bytes, UnicodeString& text) {
  if (!file.in_zip) {
    bytes.clear();
    if (std::FILE* f = std::fopen(Utf16ToUtf8(file.name).c_str(), "rb")) {
      char chunk[1 << 16];
      for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, got);
      const bool failed = std::ferror(f) != 0;
      std::fclose(f);
      std::uint64_t seen_or = 0;
      bool zero = false;
      std::size_t i = 0;
      for (; i + 8 <= bytes.size() && !zero; i += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, bytes.data() + i, sizeof eight);
        seen_or |= eight;
        zero = ((eight - 0x0101010101010101ull) & ~eight & 0x8080808080808080ull) != 0;
      }
      for (; i < bytes.size(); ++i) {
        seen_or |= static_cast<unsigned char>(bytes[i]);
        zero = zero || bytes[i] == 0;
      }
      if (!failed && !zero && (seen_or & 0x8080808080808080ull) == 0) {
        text.assign(bytes.begin(), bytes.end());
        return true;
      }
    }
  }
  if (!ReadCorpusText(file, text)) return false;
  MendUnmarkedUtf16(file, text);
  return true;
}

// 8-bit texts are decoded in the code page of the language asked for.
void UseCodePageOf(std::uint32_t lcid) {
  const std::uint32_t code_page = AnsiCodePageOfLCID(lcid);
  if (code_page <= 3) return;  // a Unicode-only language keeps the system's page
  try {
    SetSystemAnsiCodePage(static_cast<int>(code_page));
  } catch (const Exception&) {
    // A page the converter does not know: the system's page stays.
  }
}

std::string FileLabel(const CorpusFile& file) { return Utf16ToUtf8(file.name); }

void RunConcord(const ConcordOptions& options) {
  const auto started = std::chrono::steady_clock::now();
  ConcordFormat format = ConcordFormat::Text;
  if (!ParseConcordFormat(options.format, format)) Fail("unknown format: " + options.format, kExitUsage);
  std::vector<SortKey> sort_keys;
  if (options.sort.size() > 3) Fail("at most three sort keys", kExitUsage);
  for (const std::string& name : options.sort) {
    SortKey key;
    if (!ParseSortKey(name, key)) Fail("unknown sort key: " + name + " (L5..L1, C, R1..R5, File, Word)", kExitUsage);
    sort_keys.push_back(key);
  }
  if (options.width < 0 || options.horizon < 0 || options.limit < 0) Fail("negative width, horizon or limit", kExitUsage);

  for (const std::string& path : options.corpus.paths) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && path.find(".zip") == std::string::npos)
      Fail("no such file or folder: " + path, kExitUsage);
  }
  std::vector<CorpusFile> files;
  try {
    files = CollectCorpusFiles(options.corpus);
  } catch (const CLI::RuntimeError&) {
    throw CLI::RuntimeError(kExitUsage);  // the message is out already
  }
  const std::uint32_t lcid = options.corpus.lang.empty() ? kEnglishLcid : GetUserDefaultLCID();
  if (!options.corpus.lang.empty()) UseCodePageOf(lcid);

  std::vector<SearchGroup> groups;
  for (const std::string& typed : options.searches) groups.push_back({typed, ParsedWords(typed, lcid), 0});
  std::vector<std::unique_ptr<TSearchWordItems>> context_words, exclusion_words;
  for (const std::string& typed : options.context) context_words.push_back(ParsedWords(typed, lcid));
  for (const std::string& typed : options.exclude) exclusion_words.push_back(ParsedWords(typed, lcid));

  g_interrupted.store(false);
  std::signal(SIGINT, OnInterrupt);

  // The lines wanted: all of them when sorting, otherwise no more than the limit.
  const bool keep_lines = !options.count;
  const std::int64_t stop_after = sort_keys.empty() ? options.limit : 0;

  TSearchAndDoEngine engine(true, true, lcid);
  std::vector<ConcordanceLine> lines;
  std::vector<std::int32_t> context_hits, exclusion_hits, collect;
  std::int64_t total_hits = 0, total_words = 0, total_bytes = 0;
  int unreadable = 0;
  bool enough = false;
  for (const CorpusFile& file : files) total_bytes += file.size;

  ProgressBar progress("searching", total_bytes, !options.quiet && files.size() > 1);
  UnicodeString text;
  std::string file_bytes;
  TClassArray classes;
  std::int32_t file_index = 0;
  std::int32_t words_in_file = 0;
  // Raw hits of the current search word; checked against the context and
  // exclusion words once those are known for the file.
  struct RawHit {
    std::size_t pos, len;
    TSearchStatsRec stats;
  };
  std::vector<RawHit> raw;

  for (const CorpusFile& file : files) {
    if (g_interrupted.load() || enough) break;
    ++file_index;
    if (!ReadText(file, file_bytes, text)) {
      ++unreadable;
      progress.Advance(file.size);
      continue;
    }
    classes = MakeClassArray(text.data(), text.size(), lcid);
    const TTagsFoundArray markers = MarkMarkup(text, classes);
    words_in_file = 0;

    TSearchFoundEvent on_hit;
    TWordCountEvent on_count = [&](TObject*, const TSearchStatsRec& stats) {
      words_in_file = std::max(words_in_file, stats.number[word_stats]);
    };
    engine.PrepareForConcordancing(file.name, text.c_str(), classes.data(), nullptr,
                                   static_cast<std::int32_t>(file.size), static_cast<std::int32_t>(text.size()), 0,
                                   false,
                                   [&](TObject* sender, const TSearchFound_Rec& found) { return on_hit(sender, found); },
                                   on_count);
    engine.SetArrayOfTagsFound(markers);
    engine.HandleAllowables(kMiddleCharacters, false, false);

    const auto collect_words = [&](TObject*, const TSearchFound_Rec& found) {
      collect.push_back(found.count_stats.number[word_stats] + 1);
      return true;
    };
    if (!context_words.empty()) {
      on_hit = collect_words;
      context_hits = WordNumbersOf(engine, context_words, collect);
    }
    if (!exclusion_words.empty()) {
      on_hit = collect_words;
      exclusion_hits = WordNumbersOf(engine, exclusion_words, collect);
    }

    for (std::size_t g = 0; g < groups.size() && !enough; ++g) {
      SearchGroup& group = groups[g];
      for (std::int32_t i = 0; i < group.items->Count() && !enough; ++i) {
        raw.clear();
        on_hit = [&](TObject*, const TSearchFound_Rec& found) {
          if (g_interrupted.load()) engine.Cancel();
          const std::int32_t word = found.count_stats.number[word_stats] + 1;
          if (!context_words.empty() && !AnyWithin(context_hits, word, options.horizon, false)) return false;
          if (!exclusion_words.empty() && AnyWithin(exclusion_hits, word, options.horizon, true)) return false;
          raw.push_back({static_cast<std::size_t>(found.hit_pos_in_characters),
                         static_cast<std::size_t>(std::max(found.hit_characters, found.exact_hit_len)),
                         found.count_stats});
          ++total_hits;
          if (stop_after > 0 && total_hits >= stop_after) {
            enough = true;
            engine.FoundEnough();
          }
          return true;
        };
        engine.ClearChunkTextStats();
        engine.SearchAndDo(group.items->GetPtr(i), i);
        group.hits += static_cast<std::int64_t>(raw.size());
        if (!keep_lines) continue;
        for (const RawHit& hit : raw) {
          ConcordanceLine line = MakeConcordanceLine(text, hit.pos, hit.len, static_cast<std::size_t>(options.width));
          line.file = FileLabel(file);
          line.file_index = file_index;
          // The engine counts the words before the hit; the hit's own number is one on.
          line.word_number = hit.stats.number[word_stats] + 1;
          line.sentence = markers.Any(ts_sentence_start) ? hit.stats.number[sentence_stats] + 1 : 0;
          line.paragraph = markers.Any(ts_paragraph_start) ? hit.stats.number[paragraph_stats] + 1 : 0;
          line.search_word = static_cast<std::int32_t>(g);
          lines.push_back(std::move(line));
        }
      }
    }
    total_words += words_in_file;
    progress.Advance(file.size);
  }
  progress.Finish();
  std::signal(SIGINT, SIG_DFL);

  if (keep_lines) {
    // Reading order first (file, then place in the file), whatever order the
    // search words were searched in; then the chosen sort.
    std::stable_sort(lines.begin(), lines.end(), [](const ConcordanceLine& a, const ConcordanceLine& b) {
      return a.file_index != b.file_index ? a.file_index < b.file_index : a.word_number < b.word_number;
    });
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i].hit_number = static_cast<std::int64_t>(i) + 1;
    SortConcordance(lines, sort_keys);
    if (options.limit > 0 && lines.size() > static_cast<std::size_t>(options.limit))
      lines.resize(static_cast<std::size_t>(options.limit));
    if (!options.save.empty()) SaveConcordance(options.save, lines, options.searches);
    WriteConcordance(stdout, lines, format, static_cast<std::size_t>(options.width),
                     format == ConcordFormat::Text && ::isatty(STDOUT_FILENO));
  } else {
    for (const SearchGroup& group : groups) std::printf("%s\t%lld\n", group.typed.c_str(), static_cast<long long>(group.hits));
    std::printf("total\t%lld\n", static_cast<long long>(total_hits));
  }
  std::fflush(stdout);

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (!options.quiet) {
    std::fprintf(stderr, "quill: %zu files, %lld words, %lld hits", files.size() - static_cast<std::size_t>(unreadable),
                 static_cast<long long>(total_words), static_cast<long long>(total_hits));
    for (const SearchGroup& group : groups)
      std::fprintf(stderr, "; %s: %lld", group.typed.c_str(), static_cast<long long>(group.hits));
    std::fprintf(stderr, "; %.2f s%s\n", seconds, g_interrupted.load() ? " (interrupted)" : "");
  }
  if (unreadable > 0 && !options.quiet) std::fprintf(stderr, "quill: %d file(s) could not be read\n", unreadable);
  if (g_interrupted.load()) throw CLI::RuntimeError(kExitUsage);
  if (total_hits == 0) throw CLI::RuntimeError(kExitFailure);
}

QuillCommand concord_command("concord", [](CLI::App& app) {
  auto options = std::make_shared<ConcordOptions>();
  CLI::App* sub = app.add_subcommand("concord", "Concordance: every hit of the search words with its context");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("-s,--search", options->searches,
                  "Search word (repeatable): alternatives with '/', wildcards * ?, markers, quoted literals, tags")
      ->required()
      ->allow_extra_args(false);
  sub->add_option("--context", options->context, "Keep only hits with this word within the horizon (repeatable)")->allow_extra_args(false);
  sub->add_option("--horizon", options->horizon, "Words either side searched for context and exclusions (default: 5)");
  sub->add_option("--exclude", options->exclude, "Drop hits with this word at or within the horizon (repeatable)")->allow_extra_args(false);
  sub->add_option("--width", options->width, "Characters of context each side (default: 40)");
  sub->add_option("--format", options->format, "Output: text, tsv or json (one object per line) (default: text)");
  sub->add_option("--sort", options->sort, "Up to three keys: L5..L1, C, R1..R5, File, Word")->delimiter(',')->allow_extra_args(false);
  sub->add_option("--limit", options->limit, "Show at most N lines (default: all)");
  sub->add_flag("--count", options->count, "Print only the number of hits of each search word");
  sub->add_flag("-q,--quiet", options->quiet, "No summary or progress on standard error");
  sub->add_option("--save", options->save, "Also save the lines as a concordance file (.cnc)")->excludes("--count");
  sub->callback([options] { RunConcord(*options); });
});

}  // namespace
}  // namespace quill::cli
