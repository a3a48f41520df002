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
#include "concord_picture.h"
#include "concordance_lines.h"
#include "corpus_input.h"
#include "progress.h"
#include "run_outcome.h"
#include "saved_lists.h"
#include "word_rule.h"
#include "quillrt/files/file_contents.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/platform/locale_info.h"
#include "quillrt/search/search_engine.h"
#include "quillrt/search/search_word_collections.h"
#include "quillrt/text/char_classes.h"
#include "quillrt/text/class_bits.h"

namespace quill::cli {
namespace {

std::atomic<bool> g_interrupted{false};

// What `quill concord --help` says of the search words.
constexpr const char* kSearchWordSyntaxSummary = R"(Search words (-s, --context, --exclude):
  jury/juries      alternatives, separated by /
  jur*  *ing       a star at an end: any rest (or start) of the word
  hous*s           a star inside: any characters up to what follows it
  colo?r  ^ #      ? any one character, ^ any one letter, # a run of digits
  the * of         a lone * between spaces: any one word
  "in the"         (quote it for the shell) words in a row; markup between skipped
  ==May==          case-sensitive (otherwise case is ignored)
  "*" "/" "?"      a quoted wildcard stands for itself
  /\The  day/\     a line break before / after the word
A word is a run of letters and digits; ' and - between two letters join them
("don't", "well-known"). Markup <...> (and with --pos-tags the /TAG of each
word/TAG token) is not text. --tag PATTERN keeps hits whose word carries a
matching tag: --pos-tags -s "run*" --tag "vb*".
Exit status: 0 hits found, 1 none, 2 an error (bad command line, an input
skipped, output not written) whatever was found.)";

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
  bool pos_tags = false;   // tokens are word/TAG: the tags are markup
  bool show_tags = false;  // ... shown in the context all the same
  std::string tag;         // keep hits whose word carries a tag matching this
  std::string save;        // also write the lines to this saved-list file
  std::string png;         // a picture instead of the listing
  int png_width = 1000;
};

// The largest context width: a line of a concordance is read, not paged.
constexpr int kMaxWidth = 10000;
constexpr int kMaxHorizon = 100;

TIgnore_tag_type AngleBracketTags() {
  TIgnore_tag_type tags{};
  tags[tag_on][0] = u'<';
  tags[tag_off][0] = u'>';
  return tags;
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

// The number of the word that holds character `pos` (1-based): the words that
// start at or before it. A position between words gets the number of the word
// before it.
std::int32_t WordNumberAt(const std::vector<WordSpan>& words, std::size_t pos) {
  const auto after = std::upper_bound(words.begin(), words.end(), pos,
                                      [](std::size_t p, const WordSpan& word) { return p < word.start; });
  return static_cast<std::int32_t>(after - words.begin());
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

// A --tag pattern: alternatives separated by "/", each with the wildcards
// "*" and "?", compared without regard to case.
bool TagMatches(std::u16string_view tag, const UnicodeString& pattern) {
  std::size_t from = 0;
  while (from <= pattern.size()) {
    std::size_t to = pattern.find(u'/', from);
    if (to == UnicodeString::npos) to = pattern.size();
    if (to > from && PathMatchSpec(tag, std::u16string_view(pattern).substr(from, to - from))) return true;
    from = to + 1;
  }
  return false;
}

bool AnyWithin(const std::vector<std::int32_t>& sorted, std::int32_t word, int horizon, bool include_self) {
  auto it = std::lower_bound(sorted.begin(), sorted.end(), word - horizon);
  for (; it != sorted.end() && *it <= word + horizon; ++it)
    if (include_self || *it != word) return true;
  return false;
}

std::string FileLabel(const CorpusFile& file) { return Printable(Utf16ToUtf8(file.name)); }

void RunConcord(const ConcordOptions& options) {
  const auto started = std::chrono::steady_clock::now();
  ConcordFormat format = ConcordFormat::Text;
  if (!ParseConcordFormat(options.format, format)) Fail("unknown format: " + options.format, kExitUsage);
  std::vector<SortKey> sort_keys;
  if (options.sort.size() > 3) Fail("at most three sort keys", kExitUsage);
  for (const std::string& name : options.sort) {
    SortKey key;
    if (!ParseSortKey(name, key))
      Fail("unknown sort key: " + name + " (L5..L1, C, R1..R5, File, Word, Position)", kExitUsage);
    sort_keys.push_back(key);
  }

  const std::vector<CorpusFile> files = CollectCorpusFiles(options.corpus);
  // A tag asked for only has a meaning in word/TAG text.
  const WordRule rule = WordRuleOfLanguage(!options.corpus.lang.empty(), options.pos_tags || !options.tag.empty());
  const std::uint32_t lcid = rule.lcid;
  const UnicodeString wanted_tag = Utf8ToUtf16(options.tag);
  const bool hide_tags = rule.pos_tags && !options.show_tags;

  std::vector<SearchGroup> groups;
  for (const std::string& typed : options.searches) groups.push_back({typed, ParsedWords(typed, lcid), 0});
  std::vector<std::unique_ptr<TSearchWordItems>> context_words, exclusion_words;
  for (const std::string& typed : options.context) context_words.push_back(ParsedWords(typed, lcid));
  for (const std::string& typed : options.exclude) exclusion_words.push_back(ParsedWords(typed, lcid));

  g_interrupted.store(false);
  std::signal(SIGINT, OnInterrupt);

  // The lines wanted: all of them when sorting, otherwise no more than the
  // limit. The search itself always runs to the end, so that the totals are
  // those of the whole corpus.
  const bool keep_lines = !options.count;
  const std::size_t lines_wanted =
      sort_keys.empty() && options.limit > 0 ? static_cast<std::size_t>(options.limit) : SIZE_MAX;

  TSearchAndDoEngine engine(true, true, lcid);
  std::vector<ConcordanceLine> lines;
  std::vector<std::int32_t> context_hits, exclusion_hits, collect;
  std::int64_t total_hits = 0, total_words = 0, total_bytes = 0;
  std::size_t unreadable = 0;
  for (const CorpusFile& file : files) total_bytes += file.size;

  ProgressBar progress("searching", total_bytes, !options.quiet && files.size() > 1);
  UnicodeString text;
  ClassifiedText classified;
  std::vector<WordSpan> words;
  std::int32_t file_index = 0;
  // Raw hits of the current search word; checked against the context and
  // exclusion words once those are known for the file.
  struct RawHit {
    std::size_t pos, len;
    TSearchStatsRec stats;
  };
  std::vector<RawHit> raw;
  // Markup hidden from the context: the tags of word/TAG tokens unless shown.
  const auto hidden = [&](std::size_t i) { return hide_tags && IsMarkupClass(classified.classes[i]) && text[i] != u'<'; };

  for (const CorpusFile& file : files) {
    if (g_interrupted.load()) break;
    ++file_index;
    if (!ReadCorpusText(file, text)) {
      ++unreadable;
      progress.Advance(file.size);
      continue;
    }
    ClassifyText(text, rule, classified);
    FindWords(classified, text.size(), words);

    TSearchFoundEvent on_hit;
    engine.PrepareForConcordancing(file.name, text.c_str(), classified.classes.data(), nullptr,
                                   static_cast<std::int32_t>(file.size), static_cast<std::int32_t>(text.size()), 0,
                                   false,
                                   [&](TObject* sender, const TSearchFound_Rec& found) { return on_hit(sender, found); },
                                   nullptr);
    engine.SetArrayOfTagsFound(classified.markers);

    const auto collect_words = [&](TObject*, const TSearchFound_Rec& found) {
      collect.push_back(WordNumberAt(words, static_cast<std::size_t>(found.hit_pos_in_characters)));
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

    for (std::size_t g = 0; g < groups.size(); ++g) {
      SearchGroup& group = groups[g];
      for (std::int32_t i = 0; i < group.items->Count(); ++i) {
        raw.clear();
        on_hit = [&](TObject*, const TSearchFound_Rec& found) {
          if (g_interrupted.load()) engine.Cancel();
          auto pos = static_cast<std::size_t>(found.hit_pos_in_characters);
          std::size_t end = pos + static_cast<std::size_t>(std::max(found.hit_characters, found.exact_hit_len));
          // A hit that begins inside a word (a leading wildcard) is the whole word.
          const std::int32_t word = WordNumberAt(words, pos);
          if (word > 0 && words[static_cast<std::size_t>(word - 1)].end > pos)
            pos = words[static_cast<std::size_t>(word - 1)].start;
          if (!context_words.empty() && !AnyWithin(context_hits, word, options.horizon, false)) return false;
          if (!exclusion_words.empty() && AnyWithin(exclusion_hits, word, options.horizon, true)) return false;
          if (!wanted_tag.empty()) {
            const std::int32_t last = WordNumberAt(words, end > pos ? end - 1 : pos);
            const std::size_t last_end = last > 0 ? words[static_cast<std::size_t>(last - 1)].end : end;
            if (!TagMatches(PosTagAt(text, classified, last_end), wanted_tag)) return false;
          }
          raw.push_back({pos, end - pos, found.count_stats});
          return true;
        };
        engine.ClearChunkTextStats();
        engine.SearchAndDo(group.items->GetPtr(i), i);
        group.hits += static_cast<std::int64_t>(raw.size());
        total_hits += static_cast<std::int64_t>(raw.size());
        if (!keep_lines) continue;
        for (const RawHit& hit : raw) {
          if (lines.size() >= lines_wanted) break;
          ConcordanceLine line =
              MakeConcordanceLine(text, hit.pos, hit.len, static_cast<std::size_t>(options.width), hidden);
          line.file = FileLabel(file);
          line.file_index = file_index;
          line.word_number = WordNumberAt(words, hit.pos);
          line.sentence = classified.markers.Any(ts_sentence_start) ? hit.stats.number[sentence_stats] + 1 : 0;
          line.paragraph = classified.markers.Any(ts_paragraph_start) ? hit.stats.number[paragraph_stats] + 1 : 0;
          line.search_word = static_cast<std::int32_t>(g);
          lines.push_back(std::move(line));
        }
      }
    }
    total_words += static_cast<std::int64_t>(words.size());
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
    if (!options.png.empty()) {
      // A picture shows 40 lines unless --limit says otherwise.
      constexpr std::size_t kPictureLines = 40;
      if (options.limit <= 0 && lines.size() > kPictureLines) lines.resize(kPictureLines);
      ConcordPictureInfo picture{options.searches, {}, total_hits, total_words,
                                 files.size() - static_cast<std::size_t>(unreadable), lcid, options.png_width};
      for (const SearchGroup& group : groups) picture.search_hits.push_back(group.hits);
      WriteConcordPicture(options.png, lines, picture);
    } else {
      WriteConcordance(stdout, lines, format, format == ConcordFormat::Text && ::isatty(STDOUT_FILENO));
    }
  } else {
    for (const SearchGroup& group : groups) std::printf("%s\t%lld\n", group.typed.c_str(), static_cast<long long>(group.hits));
    std::printf("total\t%lld\n", static_cast<long long>(total_hits));
  }
  std::fflush(stdout);

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (!options.quiet) {
    std::fprintf(stderr, "quill: %zu files, %lld words, %lld hits", files.size() - unreadable,
                 static_cast<long long>(total_words), static_cast<long long>(total_hits));
    for (const SearchGroup& group : groups)
      std::fprintf(stderr, "; %s: %lld", group.typed.c_str(), static_cast<long long>(group.hits));
    std::fprintf(stderr, "; %.2f s%s\n", seconds, g_interrupted.load() ? " (interrupted)" : "");
  }
  if (g_interrupted.load()) throw CLI::RuntimeError(kExitUsage);
  if (total_hits == 0) throw CLI::RuntimeError(kExitFailure);
}

QuillCommand concord_command("concord", [](CLI::App& app) {
  auto options = std::make_shared<ConcordOptions>();
  CLI::App* sub = app.add_subcommand("concord", "Concordance: every hit of the search words with its context");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("-s,--search", options->searches,
                  "Search word (repeatable); see the search-word syntax below")
      ->required()
      ->allow_extra_args(false);
  sub->add_option("--context", options->context, "Keep only hits with this word within the horizon (repeatable)")->allow_extra_args(false);
  sub->add_option("--horizon", options->horizon, "Words either side searched for context and exclusions (default: 5, at most 100)")
      ->check(CLI::Range(0, kMaxHorizon));
  sub->add_option("--exclude", options->exclude, "Drop hits with this word at or within the horizon (repeatable)")->allow_extra_args(false);
  sub->add_option("--width", options->width, "Characters of context each side (default: 40, at most 10000)")
      ->check(CLI::Range(0, kMaxWidth));
  sub->add_option("--format", options->format, "Output: text, tsv or json (one object per line) (default: text)");
  sub->add_option("--sort", options->sort, "Up to three keys: L5..L1, C, R1..R5, File, Word (the hit), Position")
      ->delimiter(',')
      ->allow_extra_args(false);
  sub->add_option("--limit", options->limit, "Show at most N lines (default: 0, all of them)")->check(NonNegativeCount());
  sub->add_option("--png", options->png, "Write the lines (40 unless --limit says) as a PNG picture to FILE");
  sub->add_option("--png-width", options->png_width, "Width of the picture in pixels (default: 1000)");
  sub->add_flag("--count", options->count, "Print only the number of hits of each search word");
  sub->add_flag("--pos-tags", options->pos_tags,
                "Tokens are word/TAG (as in the Brown corpus): the tags are markup, not words, and are hidden");
  sub->add_flag("--show-tags", options->show_tags, "With --pos-tags: show the tags in the context");
  sub->add_option("--tag", options->tag,
                  "Keep hits whose (last) word carries this tag: wildcards * ?, alternatives with '/' "
                  "(implies --pos-tags)");
  sub->add_flag("-q,--quiet", options->quiet, "No summary or progress on standard error");
  sub->add_option("--save", options->save, "Also save the lines as a concordance file (.cnc)")->excludes("--count");
  sub->footer(kSearchWordSyntaxSummary);
  sub->callback([options] { RunConcord(*options); });
});

}  // namespace
}  // namespace quill::cli
