#include "quilljobs/concordance_job.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <iterator>
#include <memory>

#include "quilljobs/ordered_work.h"
#include "quilljobs/word_rule.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/search/search_engine.h"
#include "quillrt/search/search_word_collections.h"
#include "quillrt/text/char_classes.h"
#include "quillrt/text/class_bits.h"

namespace quill::jobs {
namespace {

constexpr int kMaxHorizon = 100;
// The largest context width: a line of a concordance is read, not paged.
constexpr int kMaxWidth = 10000;

TIgnore_tag_type AngleBracketTags() {
  TIgnore_tag_type tags{};
  tags[tag_on][0] = u'<';
  tags[tag_off][0] = u'>';
  return tags;
}

using WordItems = std::vector<std::unique_ptr<TSearchWordItems>>;

std::unique_ptr<TSearchWordItems> ParsedWords(const std::string& typed, std::uint32_t lcid) {
  auto items = std::make_unique<TSearchWordItems>(AngleBracketTags(), lcid, true);
  items->AddedSearchWords(Utf8ToUtf16(typed));
  if (items->Count() == 0) throw JobError(JobError::bad_request, "nothing to search for in \"" + typed + "\"");
  return items;
}

WordItems ParsedWordList(const std::vector<std::string>& typed, std::uint32_t lcid) {
  WordItems parsed;
  for (const std::string& words : typed) parsed.push_back(ParsedWords(words, lcid));
  return parsed;
}

// The number of the word that holds character `pos` (1-based): the words that
// start at or before it. A position between words gets the number of the word
// before it.
std::int32_t WordNumberAt(const std::vector<WordSpan>& words, std::size_t pos) {
  const auto after = std::upper_bound(words.begin(), words.end(), pos,
                                      [](std::size_t p, const WordSpan& word) { return p < word.start; });
  return static_cast<std::int32_t>(after - words.begin());
}

bool AnyWithin(const std::vector<std::int32_t>& sorted, std::int32_t word, int horizon, bool include_self) {
  auto it = std::lower_bound(sorted.begin(), sorted.end(), word - horizon);
  for (; it != sorted.end() && *it <= word + horizon; ++it)
    if (include_self || *it != word) return true;
  return false;
}

// What the search of one file (or of a run of them) yields: its lines in
// reading order, its hits per search word and its words.
struct SearchOutcome {
  std::vector<ConcordanceLine> lines;
  std::vector<std::int64_t> hits;
  std::int64_t words = 0;
  std::int64_t files_read = 0;
};

// The characters a concordance line reads either side of its hit, and the
// longest hit whose context is whole at a piece edge.
std::size_t ContextReach(int width) { return static_cast<std::size_t>(width) * 4 + 64; }
constexpr std::size_t kLongestHitAtAnEdge = 1024;

// Where one search of a window starts counting: the words and segment
// numbers of the file before the window's first character.
struct WindowStart {
  std::int64_t words = 0;
  std::int32_t sentences = 0;
  std::int32_t paragraphs = 0;
};

// Searches files with one engine. A file is searched whole, or, when large,
// window by window: each window holds a core of new text, what comes before
// it (so that the left context and the context words before a hit are
// there) and what comes after it (for hits that run past the core's end,
// the right context and the context words after). Only hits that start in
// the core count; the word and segment counts carried from core to core
// number them as in the whole file.
class FileSearcher {
 public:
  FileSearcher(const ConcordanceSettings& settings, const WordRule& rule, const JobControl& control,
               const Corpus& corpus, SharedProgress& progress)
      : settings_(settings),
        rule_(rule),
        control_(control),
        corpus_(corpus),
        progress_(progress),
        wanted_tag_(Utf8ToUtf16(settings.tag)),
        hide_tags_(rule.pos_tags && !settings.show_tags),
        engine_(true, true, rule.lcid),
        searches_(ParsedWordList(settings.searches, rule.lcid)),
        context_(ParsedWordList(settings.context, rule.lcid)),
        exclusions_(ParsedWordList(settings.exclude, rule.lcid)) {}

  // Searches one file; its lines, hits and words are added to `out`.
  void SearchFile(const CorpusFile& file, std::int32_t file_index, SearchOutcome& out) {
    file_ = &file;
    file_index_ = file_index;
    out_ = &out;
    if (out.hits.empty()) out.hits.assign(settings_.searches.size(), 0);
    const bool read = InPieces(file) ? SearchInPieces(file) : SearchWhole(file);
    if (read) ++out.files_read;
    progress_.Add(file.size - reported_bytes_);
    reported_bytes_ = 0;
  }

 private:
  struct RawHit {
    std::size_t pos, len;
    TSearchStatsRec stats;
  };

  bool InPieces(const CorpusFile& file) const {
    return settings_.piece_size > 0 && file.size > settings_.piece_size && !file.in_zip;
  }

  bool SearchWhole(const CorpusFile& file) {
    if (!corpus_.ReadText(file, text_)) return false;
    Classify(NeedsWordPlaces());
    markers_seen_ = classified_.markers;
    SearchWindow(0, text_.size(), WindowStart{});
    return true;
  }

  // The text comes in pieces; text_ holds the part kept of what came before
  // (from the start of the next window) and the pieces since.
  bool SearchInPieces(const CorpusFile& file) {
    text_.clear();
    markers_seen_ = {};
    core_start_ = 0;
    carried_ = {};
    const std::size_t piece_bytes = static_cast<std::size_t>(settings_.piece_size);
    std::int64_t characters = 0;
    const bool read = corpus_.ReadTextInPieces(
        file,
        [&](std::u16string_view piece) {
          if (control_.Cancelled()) return;
          text_.append(piece);
          characters += static_cast<std::int64_t>(piece.size());
          // Each piece ends a window as soon as enough text follows the cut.
          if (text_.size() - core_start_ > AfterCoreNeeded()) SearchNextWindow(false);
          // About a byte a character; the rest of the file is added at its end.
          const std::int64_t now = std::min(characters, file.size);
          progress_.Add(now - reported_bytes_);
          reported_bytes_ = now;
        },
        piece_bytes, control_.cancel);
    if (read && !control_.Cancelled() && core_start_ < text_.size()) SearchNextWindow(true);
    text_.clear();
    text_.shrink_to_fit();
    return read;
  }

  std::size_t AfterCoreNeeded() const {
    return ContextReach(settings_.width) + kLongestHitAtAnEdge + rule_.max_tag_length;
  }

  // Searches the core that ends where enough text follows it (at the end of
  // the text when it is the last), then keeps only what the next window needs.
  void SearchNextWindow(bool last) {
    std::size_t core_end = text_.size();
    if (!last) {
      core_end = CoreEnd(text_.size() - AfterCoreNeeded());
      if (core_end <= core_start_) return;  // no place to cut yet: wait for more text
    }
    Classify(true);
    markers_seen_ = Union(markers_seen_, classified_.markers);
    const std::size_t words_before_core = WordsBefore(core_start_);
    if (!last && words_.size() - WordsBefore(core_end) <= static_cast<std::size_t>(settings_.horizon)) return;

    const Segments before_core = MarkersIn(0, core_start_);
    WindowStart start;
    start.words = carried_.words - static_cast<std::int64_t>(words_before_core);
    start.sentences = carried_.sentences - before_core.sentences;
    start.paragraphs = carried_.paragraphs - before_core.paragraphs;
    SearchWindow(core_start_, core_end, start);

    const Segments in_core = MarkersIn(core_start_, core_end);
    carried_.words += static_cast<std::int64_t>(WordsBefore(core_end) - words_before_core);
    carried_.sentences += in_core.sentences;
    carried_.paragraphs += in_core.paragraphs;
    if (last) return;
    const std::size_t keep_from = KeptFrom(core_end);
    text_.erase(0, keep_from);
    core_start_ = core_end - keep_from;
  }

  // The end of a core at or before `at`: just after a line end (tags close on
  // their line, so none is cut), else just after a blank.
  std::size_t CoreEnd(std::size_t at) const {
    if (at <= core_start_) return core_start_;
    const std::u16string_view candidates = std::u16string_view(text_).substr(core_start_, at - core_start_);
    std::size_t cut = candidates.find_last_of(u'\n');
    if (cut == std::u16string_view::npos) cut = candidates.find_last_of(u" \t\r");
    return cut == std::u16string_view::npos ? core_start_ : core_start_ + cut + 1;
  }

  // Where the next window starts: the horizon's words and the context's
  // reach before `core_end`, from the start of a line when one is near.
  std::size_t KeptFrom(std::size_t core_end) const {
    const std::size_t reach = ContextReach(settings_.width);
    std::size_t from = core_end > reach ? core_end - reach : 0;
    const std::size_t words = WordsBefore(core_end);
    const auto horizon = static_cast<std::size_t>(settings_.horizon) + 1;
    from = std::min(from, words > horizon ? words_[words - horizon].start : 0);
    if (from == 0) return 0;
    const std::u16string_view before = std::u16string_view(text_).substr(0, from);
    const std::size_t line_start = before.find_last_of(u'\n');
    if (line_start != std::u16string_view::npos && from - line_start <= rule_.max_tag_length) return line_start + 1;
    const std::size_t blank = before.find_last_of(u" \t\r\n");
    return blank == std::u16string_view::npos ? 0 : blank + 1;
  }

  static TTagsFoundArray Union(TTagsFoundArray a, const TTagsFoundArray& b) {
    for (std::size_t i = 0; i < a.counts.size(); ++i) a.counts[i] += b.counts[i];
    return a;
  }

  // The segments that the engine counts in [from, to): sentences and
  // paragraphs end at their end markers when the text has them, else at
  // their start markers.
  struct Segments {
    std::int32_t sentences = 0;
    std::int32_t paragraphs = 0;
  };
  Segments MarkersIn(std::size_t from, std::size_t to) const {
    const TClassWord sentence = markers_seen_.Any(ts_sentence_end) ? ts_sentence_end : ts_sentence_start;
    const TClassWord paragraph = markers_seen_.Any(ts_paragraph_end) ? ts_paragraph_end : ts_paragraph_start;
    Segments segments;
    for (std::size_t i = from; i < to; ++i) {
      const TClassWord c = classified_.classes[i];
      if (!IsSegmentMarker(c)) continue;
      const auto code = static_cast<TClassWord>(c & class_segment_code_mask);
      if (code == sentence)
        ++segments.sentences;
      else if (code == paragraph)
        ++segments.paragraphs;
    }
    return segments;
  }

  std::size_t WordsBefore(std::size_t pos) const {
    return pos == 0 ? 0 : static_cast<std::size_t>(WordNumberAt(words_, pos - 1));
  }

  // Whether a whole file's words must be placed, not only counted: for the
  // lines' word numbers, the horizon of context and exclusion words, and the
  // tag after a hit. Counting hits alone needs none of it.
  bool NeedsWordPlaces() const {
    return settings_.keep_lines || !context_.empty() || !exclusions_.empty() || !wanted_tag_.empty();
  }

  void Classify(bool place_words) {
    ClassifyText(text_, rule_, classified_);
    words_placed_ = place_words;
    if (place_words)
      FindWords(classified_, text_.size(), words_);
    else
      words_counted_ = CountWords(classified_, text_.size());
  }

  std::size_t WordsIn(std::size_t from, std::size_t to) const {
    if (!words_placed_) return words_counted_;  // only whole texts are counted without places
    return WordsBefore(to) - WordsBefore(from);
  }

  // Searches text_ (classified) for every search word, keeping the hits that
  // start in [core_start, core_end).
  void SearchWindow(std::size_t core_start, std::size_t core_end, const WindowStart& start) {
    core_begin_ = core_start;
    core_end_ = core_end;
    window_start_ = start;
    engine_.PrepareForConcordancing(
        file_->name, text_.c_str(), classified_.classes.data(), nullptr,
        static_cast<std::int32_t>(std::min<std::int64_t>(file_->size, INT32_MAX)),
        static_cast<std::int32_t>(text_.size()), 0, false,
        [this](TObject* sender, const TSearchFound_Rec& found) { return on_hit_(sender, found); }, nullptr);
    engine_.SetArrayOfTagsFound(markers_seen_);
    if (!context_.empty()) WordNumbersOf(context_, context_hits_);
    if (!exclusions_.empty()) WordNumbersOf(exclusions_, exclusion_hits_);

    std::vector<ConcordanceLine>& lines = out_->lines;
    const std::size_t first = lines.size();
    for (std::size_t g = 0; g < searches_.size(); ++g) {
      TSearchWordItems& items = *searches_[g];
      for (std::int32_t i = 0; i < items.Count(); ++i) {
        raw_.clear();
        on_hit_ = [this](TObject*, const TSearchFound_Rec& found) { return KeepHit(found); };
        StartCounting();
        engine_.SearchAndDo(items.GetPtr(i), i);
        out_->hits[g] += static_cast<std::int64_t>(raw_.size());
        if (settings_.keep_lines)
          for (const RawHit& hit : raw_) lines.push_back(LineOf(hit, static_cast<std::int32_t>(g)));
      }
    }
    // Reading order within the file, whatever order the search words came in.
    std::stable_sort(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end(),
                     [](const ConcordanceLine& a, const ConcordanceLine& b) { return a.word_number < b.word_number; });
    out_->words += static_cast<std::int64_t>(WordsIn(core_start, core_end));
  }

  // The engine's counts start from those of the file before the window.
  void StartCounting() {
    engine_.ClearChunkTextStats();
    engine_.ThisFileChunk_Stats.number[sentence_stats] = window_start_.sentences;
    engine_.ThisFileChunk_Stats.number[paragraph_stats] = window_start_.paragraphs;
  }

  // The word numbers (within the window) at which any of `words` is found.
  void WordNumbersOf(WordItems& words, std::vector<std::int32_t>& numbers) {
    numbers.clear();
    on_hit_ = [&](TObject*, const TSearchFound_Rec& found) {
      numbers.push_back(WordNumberAt(words_, static_cast<std::size_t>(found.hit_pos_in_characters)));
      return true;
    };
    for (auto& items : words)
      for (std::int32_t i = 0; i < items->Count(); ++i) {
        engine_.ClearChunkTextStats();
        engine_.SearchAndDo(items->GetPtr(i), i);
      }
    std::sort(numbers.begin(), numbers.end());
  }

  bool KeepHit(const TSearchFound_Rec& found) {
    if (control_.Cancelled()) engine_.Cancel();
    auto pos = static_cast<std::size_t>(found.hit_pos_in_characters);
    // Hits before the core were counted with the window before; those after
    // it will be with the next.
    if (pos < core_begin_ || pos >= core_end_) return false;
    const std::size_t end = pos + static_cast<std::size_t>(std::max(found.hit_characters, found.exact_hit_len));
    // Counting alone needs no word (nor its place) of a hit.
    if (!NeedsWordPlaces()) {
      raw_.push_back({pos, end - pos, found.count_stats});
      return true;
    }
    // A hit that begins inside a word (a leading wildcard) is the whole word.
    const std::int32_t word = WordNumberAt(words_, pos);
    if (word > 0 && words_[static_cast<std::size_t>(word - 1)].end > pos)
      pos = words_[static_cast<std::size_t>(word - 1)].start;
    if (!context_.empty() && !AnyWithin(context_hits_, word, settings_.horizon, false)) return false;
    if (!exclusions_.empty() && AnyWithin(exclusion_hits_, word, settings_.horizon, true)) return false;
    if (!wanted_tag_.empty()) {
      const std::int32_t last = WordNumberAt(words_, end > pos ? end - 1 : pos);
      const std::size_t last_end = last > 0 ? words_[static_cast<std::size_t>(last - 1)].end : end;
      if (!TagMatches(PosTagAt(text_, classified_, last_end), wanted_tag_)) return false;
    }
    raw_.push_back({pos, end - pos, found.count_stats});
    return true;
  }

  ConcordanceLine LineOf(const RawHit& hit, std::int32_t group) {
    // Markup hidden from the context: the tags of word/TAG tokens unless shown.
    const auto hidden = [this](std::size_t i) {
      return hide_tags_ && IsMarkupClass(classified_.classes[i]) && text_[i] != u'<';
    };
    ConcordanceLine line =
        MakeConcordanceLine(text_, hit.pos, hit.len, static_cast<std::size_t>(settings_.width), hidden);
    line.file = Utf16ToUtf8(file_->name);
    line.file_index = file_index_;
    line.word_number = static_cast<std::int32_t>(window_start_.words + WordNumberAt(words_, hit.pos));
    line.sentence = markers_seen_.Any(ts_sentence_start) ? hit.stats.number[sentence_stats] + 1 : 0;
    line.paragraph = markers_seen_.Any(ts_paragraph_start) ? hit.stats.number[paragraph_stats] + 1 : 0;
    line.search_word = group;
    return line;
  }

  const ConcordanceSettings& settings_;
  const WordRule rule_;
  const JobControl& control_;
  const Corpus& corpus_;
  SharedProgress& progress_;
  const UnicodeString wanted_tag_;
  const bool hide_tags_;
  TSearchAndDoEngine engine_;
  WordItems searches_, context_, exclusions_;

  // The file being searched and where its results go.
  const CorpusFile* file_ = nullptr;
  std::int32_t file_index_ = 0;
  SearchOutcome* out_ = nullptr;
  std::int64_t reported_bytes_ = 0;

  // The window: its text, classes and words, the core within it, and the
  // counts of the file before it.
  UnicodeString text_;
  ClassifiedText classified_;
  std::vector<WordSpan> words_;  // when placed; else only their number is known
  bool words_placed_ = false;
  std::size_t words_counted_ = 0;
  std::size_t core_begin_ = 0, core_end_ = 0;
  WindowStart window_start_;
  // Between the windows of a file: where the next core starts in text_, the
  // counts before it, and the segment markers met so far (whether the file
  // marks sentence ends is judged from them).
  std::size_t core_start_ = 0;
  WindowStart carried_;
  TTagsFoundArray markers_seen_;

  std::vector<std::int32_t> context_hits_, exclusion_hits_;
  std::vector<RawHit> raw_;
  TSearchFoundEvent on_hit_;
};

}  // namespace

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

ConcordanceJob::ConcordanceJob(ConcordanceSettings settings) : settings_(std::move(settings)) {
  if (settings_.searches.empty()) throw JobError(JobError::bad_request, "no search word given");
  if (settings_.sort.size() > 3) throw JobError(JobError::bad_request, "at most three sort keys");
  if (settings_.horizon < 0 || settings_.horizon > kMaxHorizon)
    throw JobError(JobError::bad_request, "the horizon must be between 0 and " + std::to_string(kMaxHorizon));
  if (settings_.width < 0 || settings_.width > kMaxWidth)
    throw JobError(JobError::bad_request, "the width must be between 0 and " + std::to_string(kMaxWidth));
  if (settings_.limit < 0) throw JobError(JobError::bad_request, "the limit must not be negative");
}

ConcordanceResult ConcordanceJob::Run(const Corpus& corpus, const JobControl& control,
                                      const ConcordanceLineSink& on_line) const {
  if (on_line && !settings_.sort.empty())
    throw JobError(JobError::bad_request, "sorted lines cannot be handed over before the search ends");
  // A tag asked for only has a meaning in word/TAG text.
  const WordRule rule = corpus.Rule(settings_.pos_tags || !settings_.tag.empty());
  const std::vector<CorpusFile>& files = corpus.Files();
  const int threads = WorkerCount(settings_.threads, files.size());
  SharedProgress progress(control, corpus.TotalBytes(), threads == 1);
  // One searcher (and engine) per worker; made here so that a bad search word
  // is refused before any work starts.
  std::vector<std::unique_ptr<FileSearcher>> searchers;
  for (int w = 0; w < threads; ++w)
    searchers.push_back(std::make_unique<FileSearcher>(settings_, rule, control, corpus, progress));

  ConcordanceResult result;
  result.totals.lcid = rule.lcid;
  result.totals.search_hits.assign(settings_.searches.size(), 0);
  // Without sorting no more lines than the limit are wanted; the search itself
  // always runs to the end, so that the totals are those of the whole corpus.
  const auto lines_wanted =
      settings_.sort.empty() && settings_.limit > 0 ? static_cast<std::size_t>(settings_.limit) : SIZE_MAX;
  std::size_t handed_over = 0;
  bool stopped_by_sink = false;

  OrderedWork<SearchOutcome> work;
  work.items = files.size();
  work.threads = threads;
  work.work = [&](std::size_t index, int worker) {
    SearchOutcome outcome;
    searchers[static_cast<std::size_t>(worker)]->SearchFile(files[index], static_cast<std::int32_t>(index) + 1,
                                                            outcome);
    return outcome;
  };
  work.take = [&](SearchOutcome&& outcome) {
    for (std::size_t g = 0; g < outcome.hits.size(); ++g) result.totals.search_hits[g] += outcome.hits[g];
    result.totals.words += outcome.words;
    result.totals.files_read += outcome.files_read;
    if (on_line) {
      for (ConcordanceLine& line : outcome.lines) {
        if (handed_over >= lines_wanted) break;
        line.hit_number = static_cast<std::int64_t>(++handed_over);
        if (!on_line(line)) {
          stopped_by_sink = true;
          return false;
        }
      }
      return true;
    }
    const std::size_t room = lines_wanted - std::min(lines_wanted, result.lines.size());
    const auto taken = static_cast<std::ptrdiff_t>(std::min(room, outcome.lines.size()));
    result.lines.insert(result.lines.end(), std::make_move_iterator(outcome.lines.begin()),
                        std::make_move_iterator(outcome.lines.begin() + taken));
    return true;
  };
  work.stopped = [&] { return control.Cancelled(); };
  work.tick = [&] { progress.Tell(); };
  RunInOrder(work);

  for (const std::int64_t hits : result.totals.search_hits) result.totals.hits += hits;
  result.totals.cancelled = control.Cancelled() || stopped_by_sink;
  if (on_line) return result;

  for (std::size_t i = 0; i < result.lines.size(); ++i) result.lines[i].hit_number = static_cast<std::int64_t>(i) + 1;
  SortConcordance(result.lines, settings_.sort);
  if (settings_.limit > 0 && result.lines.size() > static_cast<std::size_t>(settings_.limit))
    result.lines.resize(static_cast<std::size_t>(settings_.limit));
  return result;
}

}  // namespace quill::jobs
