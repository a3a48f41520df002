#include "quilljobs/concordance_job.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <deque>
#include <iterator>
#include <exception>
#include <memory>
#include <optional>
#include <mutex>
#include <thread>

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

// A window of a large file, or a whole file: its text, classes and words, the
// core within it whose hits count, the counts of the file before the window,
// and the segment markers met so far in the file (whether the file marks
// sentence ends is judged from them).
struct Window {
  UnicodeString text;
  ClassifiedText classified;
  std::vector<WordSpan> words;  // placed only when a search needs them
  bool words_placed = false;
  std::size_t core_words = 0;  // the words that start in the core
  std::size_t core_begin = 0, core_end = 0;
  WindowStart start;
  TTagsFoundArray markers;
};

// The windows of a large file handed, in order, from the searcher that reads
// and classifies them to one that searches them, so that a single large file
// keeps two cores busy; searched windows come back to be filled again, so that
// their buffers are reused. At most `in_flight` windows exist.
class WindowPipe {
 public:
  explicit WindowPipe(std::size_t in_flight) : in_flight_(in_flight) {}

  // A window to fill: one handed back, else a new one while there are fewer
  // than in_flight, else the next to come back.
  std::unique_ptr<Window> Spare() {
    std::unique_lock lock(mutex_);
    if (spare_.empty() && made_ < in_flight_) {
      ++made_;
      return std::make_unique<Window>();
    }
    changed_.wait(lock, [this] { return !spare_.empty(); });
    std::unique_ptr<Window> window = std::move(spare_.front());
    spare_.pop_front();
    return window;
  }
  void Send(std::unique_ptr<Window> window) {
    {
      const std::lock_guard lock(mutex_);
      sent_.push_back(std::move(window));
    }
    changed_.notify_all();
  }
  // The next window sent; null once the pipe is closed and emptied.
  std::unique_ptr<Window> Receive() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return closed_ || !sent_.empty(); });
    if (sent_.empty()) return nullptr;
    std::unique_ptr<Window> window = std::move(sent_.front());
    sent_.pop_front();
    return window;
  }
  void Return(std::unique_ptr<Window> window) {
    {
      const std::lock_guard lock(mutex_);
      spare_.push_back(std::move(window));
    }
    changed_.notify_all();
  }
  void Close() {
    {
      const std::lock_guard lock(mutex_);
      closed_ = true;
    }
    changed_.notify_all();
  }

 private:
  const std::size_t in_flight_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Window>> sent_, spare_;
  std::size_t made_ = 0;
  bool closed_ = false;
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

  // A searcher (with an engine of its own) that searches the windows of a
  // large file on a thread of its own while this one reads and classifies
  // the next: a large file then keeps two cores busy, with the same lines.
  void SetHelper(FileSearcher* helper) { helper_ = helper; }

  // Lines handed on as each window of a file is searched, on this searcher's
  // thread, instead of when the file is done: a large file's lines need not
  // all wait in memory. `drain` takes them in reading order and is false
  // when no more are wanted, which ends the file's search.
  using LineDrain = std::function<bool(std::vector<ConcordanceLine>& lines)>;
  void DrainLinesBy(LineDrain drain) { drain_ = std::move(drain); }
  // Whether the drain has said it wants no more lines.
  bool LinesRefused() const { return drain_stopped_; }

  // Searches one file; its lines, hits and words are added to `out`.
  void SearchFile(const CorpusFile& file, std::int32_t file_index, SearchOutcome& out) {
    SetFile(file, file_index, out);
    const bool read = InPieces(file) ? SearchInPieces(file) : SearchWhole(file);
    DrainLines();
    if (read) ++out.files_read;
    progress_.Add(file.size - reported_bytes_);
    reported_bytes_ = 0;
  }

 private:
  void SetFile(const CorpusFile& file, std::int32_t file_index, SearchOutcome& out) {
    file_ = &file;
    file_index_ = file_index;
    out_ = &out;
    if (out.hits.empty()) out.hits.assign(settings_.searches.size(), 0);
    stop_reading_ = false;
  }

  // Hands the lines found so far to the drain. The helper adds its windows'
  // lines to the outcome while this thread reads, so they are taken under
  // the outcome's lock.
  void DrainLines() {
    if (!drain_ || drain_stopped_) return;
    {
      const std::lock_guard lock(lines_mutex_);
      drained_.swap(out_->lines);
    }
    if (!drained_.empty() && !drain_(drained_)) {
      drain_stopped_ = true;
      stop_reading_ = true;
    }
    drained_.clear();
  }

  // The helper's side: searches the windows handed over until the pipe is
  // closed, handing each back. After a failure the rest are handed back
  // unsearched, so that the reading side never waits for ever.
  void SearchHandedWindows(WindowPipe& pipe) {
    while (std::unique_ptr<Window> window = pipe.Receive()) {
      if (!failure_) {
        try {
          win_ = window.get();
          SearchWindow(window->core_begin, window->core_end, window->start);
        } catch (...) {
          failure_ = std::current_exception();
        }
        win_ = &window_;
      }
      pipe.Return(std::move(window));
    }
  }

  // Starts the helper on a pipe for the file being searched; the pipe is
  // closed and the helper waited for when the run goes, whatever happens.
  class HelperRun {
   public:
    HelperRun(FileSearcher& owner, FileSearcher& helper) : owner_(owner), helper_(helper) {
      owner_.pipe_ = std::make_unique<WindowPipe>(kWindowsInFlight);
      helper_.SetFile(*owner_.file_, owner_.file_index_, *owner_.out_);
      helper_.lines_lock_ = &owner_.lines_mutex_;
      helper_.failure_ = nullptr;
      thread_ = std::thread([this] { helper_.SearchHandedWindows(*owner_.pipe_); });
    }
    ~HelperRun() {
      Stop();
      owner_.pipe_.reset();
      helper_.lines_lock_ = &helper_.lines_mutex_;
    }
    HelperRun(const HelperRun&) = delete;
    HelperRun& operator=(const HelperRun&) = delete;
    // Waits for the helper to search every window sent, and raises what it raised.
    void Finish() {
      Stop();
      if (helper_.failure_) std::rethrow_exception(helper_.failure_);
    }

   private:
    void Stop() {
      if (!thread_.joinable()) return;
      owner_.pipe_->Close();
      thread_.join();
    }

    // One being filled, one being searched, one waiting between them.
    static constexpr std::size_t kWindowsInFlight = 3;
    FileSearcher& owner_;
    FileSearcher& helper_;
    std::thread thread_;
  };

  struct RawHit {
    std::size_t pos, len;
    TSearchStatsRec stats;
  };

  bool InPieces(const CorpusFile& file) const {
    return settings_.piece_size > 0 && file.size > settings_.piece_size && !file.in_zip;
  }

  bool SearchWhole(const CorpusFile& file) {
    if (!corpus_.ReadText(file, win_->text)) return false;
    ClassifyText(win_->text, rule_, win_->classified);
    win_->words_placed = false;
    win_->core_words = CountWordStarts(win_->classified, 0, win_->text.size());
    win_->markers = win_->classified.markers;
    SearchWindow(0, win_->text.size(), WindowStart{});
    return true;
  }

  // The text comes in pieces; win_->text holds the part kept of what came before
  // (from the start of the next window) and the pieces since.
  bool SearchInPieces(const CorpusFile& file) {
    window_.text.clear();
    window_.markers = {};
    core_start_ = 0;
    carried_ = {};
    std::optional<HelperRun> helper_run;
    if (helper_ != nullptr) helper_run.emplace(*this, *helper_);
    const std::size_t piece_bytes = static_cast<std::size_t>(settings_.piece_size);
    std::int64_t characters = 0;
    const bool read = corpus_.ReadTextInPieces(
        file,
        [&](std::u16string_view piece) {
          if (control_.Cancelled()) stop_reading_ = true;
          if (stop_reading_) return;
          win_->text.append(piece);
          characters += static_cast<std::int64_t>(piece.size());
          // Each piece ends a window as soon as enough text follows the cut.
          if (win_->text.size() - core_start_ > AfterCoreNeeded()) SearchNextWindow(false);
          // About a byte a character; the rest of the file is added at its end.
          const std::int64_t now = std::min(characters, file.size);
          progress_.Add(now - reported_bytes_);
          reported_bytes_ = now;
          DrainLines();
        },
        piece_bytes, &stop_reading_);
    if (read && !stop_reading_ && !control_.Cancelled() && core_start_ < window_.text.size()) SearchNextWindow(true);
    if (helper_run) helper_run->Finish();
    window_.text.clear();
    window_.text.shrink_to_fit();
    return read;
  }

  std::size_t AfterCoreNeeded() const {
    return ContextReach(settings_.width) + kLongestHitAtAnEdge + rule_.max_tag_length;
  }

  // Searches the core that ends where enough text follows it (at the end of
  // the text when it is the last), then keeps only what the next window needs.
  void SearchNextWindow(bool last) {
    std::size_t core_end = win_->text.size();
    if (!last) {
      core_end = CoreEnd(win_->text.size() - AfterCoreNeeded());
      if (core_end <= core_start_) return;  // no place to cut yet: wait for more text
    }
    // Words are counted here, not placed: placing them, when the search
    // needs it, is left to whoever searches the window.
    ClassifyText(window_.text, rule_, window_.classified);
    window_.words_placed = false;
    window_.markers = Union(window_.markers, window_.classified.markers);
    const std::size_t words_before_core = CountWordStarts(window_.classified, 0, core_start_);
    if (!last &&
        CountWordStarts(window_.classified, core_end, window_.text.size()) <= static_cast<std::size_t>(settings_.horizon))
      return;
    const std::size_t core_words = CountWordStarts(window_.classified, core_start_, core_end);

    const Segments before_core = MarkersIn(0, core_start_);
    WindowStart start;
    start.words = carried_.words - static_cast<std::int64_t>(words_before_core);
    start.sentences = carried_.sentences - before_core.sentences;
    start.paragraphs = carried_.paragraphs - before_core.paragraphs;
    const Segments in_core = MarkersIn(core_start_, core_end);
    carried_.words += static_cast<std::int64_t>(core_words);
    carried_.sentences += in_core.sentences;
    carried_.paragraphs += in_core.paragraphs;
    window_.core_words = core_words;
    const std::size_t keep_from = last ? window_.text.size() : KeptFrom(core_end, words_before_core + core_words);
    SearchOrHandOver(core_start_, core_end, start, keep_from);
    core_start_ = core_end - keep_from;
  }

  // Searches the window's core here, or hands the window to the helper
  // (taking a spare window's buffers in its place); either way the window
  // then holds only its text from `keep_from` on, and the markers met.
  void SearchOrHandOver(std::size_t core_begin, std::size_t core_end, const WindowStart& start,
                        std::size_t keep_from) {
    if (!pipe_) {
      SearchWindow(core_begin, core_end, start);
      window_.text.erase(0, keep_from);
      return;
    }
    window_.core_begin = core_begin;
    window_.core_end = core_end;
    window_.start = start;
    std::unique_ptr<Window> handed = pipe_->Spare();
    std::swap(*handed, window_);
    window_.text.assign(handed->text, keep_from);
    window_.markers = handed->markers;
    pipe_->Send(std::move(handed));
  }

  // The end of a core at or before `at`: just after a line end (tags close on
  // their line, so none is cut), else just after a blank.
  std::size_t CoreEnd(std::size_t at) const {
    if (at <= core_start_) return core_start_;
    const std::u16string_view candidates = std::u16string_view(win_->text).substr(core_start_, at - core_start_);
    std::size_t cut = candidates.find_last_of(u'\n');
    if (cut == std::u16string_view::npos) cut = candidates.find_last_of(u" \t\r");
    return cut == std::u16string_view::npos ? core_start_ : core_start_ + cut + 1;
  }

  // Where the next window starts: the horizon's words and the context's
  // reach before `core_end` (which `words` words start before), from the
  // start of a line when one is near.
  std::size_t KeptFrom(std::size_t core_end, std::size_t words) const {
    const std::size_t reach = ContextReach(settings_.width);
    std::size_t from = core_end > reach ? core_end - reach : 0;
    const auto horizon = static_cast<std::size_t>(settings_.horizon) + 1;
    from = std::min(from, words > horizon ? StartOfWordBefore(window_.classified, core_end, horizon) : 0);
    if (from == 0) return 0;
    const std::u16string_view before = std::u16string_view(win_->text).substr(0, from);
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
    const TClassWord sentence = win_->markers.Any(ts_sentence_end) ? ts_sentence_end : ts_sentence_start;
    const TClassWord paragraph = win_->markers.Any(ts_paragraph_end) ? ts_paragraph_end : ts_paragraph_start;
    Segments segments;
    for (std::size_t i = from; i < to; ++i) {
      const TClassWord c = win_->classified.classes[i];
      if (!IsSegmentMarker(c)) continue;
      const auto code = static_cast<TClassWord>(c & class_segment_code_mask);
      if (code == sentence)
        ++segments.sentences;
      else if (code == paragraph)
        ++segments.paragraphs;
    }
    return segments;
  }

  // Whether a whole file's words must be placed, not only counted: for the
  // lines' word numbers, the horizon of context and exclusion words, and the
  // tag after a hit. Counting hits alone needs none of it.
  bool NeedsWordPlaces() const {
    return settings_.keep_lines || !context_.empty() || !exclusions_.empty() || !wanted_tag_.empty();
  }

  // Places the window's words when the search needs them.
  void PlaceWordsIfNeeded() {
    if (win_->words_placed || !NeedsWordPlaces()) return;
    FindWords(win_->classified, win_->text.size(), win_->words);
    win_->words_placed = true;
  }

  // Searches win_->text (classified) for every search word, keeping the hits that
  // start in [core_start, core_end).
  void SearchWindow(std::size_t core_start, std::size_t core_end, const WindowStart& start) {
    win_->core_begin = core_start;
    win_->core_end = core_end;
    win_->start = start;
    PlaceWordsIfNeeded();
    engine_.PrepareForConcordancing(
        file_->name, win_->text.c_str(), win_->classified.classes.data(), nullptr,
        static_cast<std::int32_t>(std::min<std::int64_t>(file_->size, INT32_MAX)),
        static_cast<std::int32_t>(win_->text.size()), 0, false,
        [this](TObject* sender, const TSearchFound_Rec& found) { return on_hit_(sender, found); }, nullptr);
    engine_.SetArrayOfTagsFound(win_->markers);
    if (!context_.empty()) WordNumbersOf(context_, context_hits_);
    if (!exclusions_.empty()) WordNumbersOf(exclusions_, exclusion_hits_);

    std::vector<ConcordanceLine>& lines = window_lines_;
    lines.clear();
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
    std::stable_sort(lines.begin(), lines.end(),
                     [](const ConcordanceLine& a, const ConcordanceLine& b) { return a.word_number < b.word_number; });
    const std::lock_guard lock(*lines_lock_);
    out_->lines.insert(out_->lines.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    out_->words += static_cast<std::int64_t>(win_->core_words);
  }

  // The engine's counts start from those of the file before the window.
  void StartCounting() {
    engine_.ClearChunkTextStats();
    engine_.ThisFileChunk_Stats.number[sentence_stats] = win_->start.sentences;
    engine_.ThisFileChunk_Stats.number[paragraph_stats] = win_->start.paragraphs;
  }

  // The word numbers (within the window) at which any of `words` is found.
  void WordNumbersOf(WordItems& words, std::vector<std::int32_t>& numbers) {
    numbers.clear();
    on_hit_ = [&](TObject*, const TSearchFound_Rec& found) {
      numbers.push_back(WordNumberAt(win_->words, static_cast<std::size_t>(found.hit_pos_in_characters)));
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
    if (pos < win_->core_begin || pos >= win_->core_end) return false;
    const std::size_t end = pos + static_cast<std::size_t>(std::max(found.hit_characters, found.exact_hit_len));
    // Counting alone needs no word (nor its place) of a hit.
    if (!NeedsWordPlaces()) {
      raw_.push_back({pos, end - pos, found.count_stats});
      return true;
    }
    // A hit that begins inside a word (a leading wildcard) is the whole word.
    const std::int32_t word = WordNumberAt(win_->words, pos);
    if (word > 0 && win_->words[static_cast<std::size_t>(word - 1)].end > pos)
      pos = win_->words[static_cast<std::size_t>(word - 1)].start;
    if (!context_.empty() && !AnyWithin(context_hits_, word, settings_.horizon, false)) return false;
    if (!exclusions_.empty() && AnyWithin(exclusion_hits_, word, settings_.horizon, true)) return false;
    if (!wanted_tag_.empty()) {
      const std::int32_t last = WordNumberAt(win_->words, end > pos ? end - 1 : pos);
      const std::size_t last_end = last > 0 ? win_->words[static_cast<std::size_t>(last - 1)].end : end;
      if (!TagMatches(PosTagAt(win_->text, win_->classified, last_end), wanted_tag_)) return false;
    }
    raw_.push_back({pos, end - pos, found.count_stats});
    return true;
  }

  ConcordanceLine LineOf(const RawHit& hit, std::int32_t group) {
    // Markup hidden from the context: the tags of word/TAG tokens unless shown.
    const auto hidden = [this](std::size_t i) {
      return hide_tags_ && IsMarkupClass(win_->classified.classes[i]) && win_->text[i] != u'<';
    };
    ConcordanceLine line =
        MakeConcordanceLine(win_->text, hit.pos, hit.len, static_cast<std::size_t>(settings_.width), hidden);
    line.file = Utf16ToUtf8(file_->name);
    line.file_index = file_index_;
    line.word_number = static_cast<std::int32_t>(win_->start.words + WordNumberAt(win_->words, hit.pos));
    line.sentence = win_->markers.Any(ts_sentence_start) ? hit.stats.number[sentence_stats] + 1 : 0;
    line.paragraph = win_->markers.Any(ts_paragraph_start) ? hit.stats.number[paragraph_stats] + 1 : 0;
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

  // The window being read and classified here, and the one being searched:
  // the same but while a handed-over window of another searcher is searched.
  Window window_;
  Window* win_ = &window_;
  // Between the windows of a file: where the next core starts in the text
  // and the counts before it.
  std::size_t core_start_ = 0;
  WindowStart carried_;
  // Searches the windows of a large file beside this one, when set.
  FileSearcher* helper_ = nullptr;
  std::unique_ptr<WindowPipe> pipe_;  // while a large file is searched with the helper
  std::exception_ptr failure_;        // what the search of a handed window raised (as a helper)

  std::vector<std::int32_t> context_hits_, exclusion_hits_;
  std::vector<RawHit> raw_;
  std::vector<ConcordanceLine> window_lines_;
  TSearchFoundEvent on_hit_;

  // Lines handed on as they come (when a drain is set), and the lock the
  // outcome's lines are added under: this searcher's own, or as a helper
  // its owner's.
  LineDrain drain_;
  bool drain_stopped_ = false;
  std::vector<ConcordanceLine> drained_;
  std::mutex lines_mutex_;
  std::mutex* lines_lock_ = &lines_mutex_;
  // Set to end the reading of a file: cancelled, or no more lines wanted.
  std::atomic<bool> stop_reading_{false};
};

// Neighbouring files searched as one item of work, [first, last): handing
// each small file's results over on its own would wake the taking thread
// thousands of times. A run ends after about a megabyte, or sooner so that
// every thread gets several runs.
struct FileRun {
  std::size_t first, last;
};

std::vector<FileRun> FileRuns(const std::vector<CorpusFile>& files, int threads) {
  constexpr std::int64_t kRunBytes = std::int64_t{1} << 20;
  const std::size_t run_files = std::max<std::size_t>(1, files.size() / (static_cast<std::size_t>(threads) * 8));
  std::vector<FileRun> runs;
  std::int64_t bytes = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (runs.empty() || bytes >= kRunBytes || runs.back().last - runs.back().first >= run_files) {
      runs.push_back({i, i});
      bytes = 0;
    }
    runs.back().last = i + 1;
    bytes += std::max<std::int64_t>(files[i].size, 1);
  }
  return runs;
}

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
  const std::vector<FileRun> runs = FileRuns(files, WorkerCount(settings_.threads, SIZE_MAX));
  const int threads = WorkerCount(settings_.threads, runs.size());
  SharedProgress progress(control, corpus.TotalBytes(), threads == 1);
  // One searcher (and engine) per worker; made here so that a bad search word
  // is refused before any work starts.
  std::vector<std::unique_ptr<FileSearcher>> searchers;
  for (int w = 0; w < threads; ++w)
    searchers.push_back(std::make_unique<FileSearcher>(settings_, rule, control, corpus, progress));
  // With more than one core asked for, each searcher has a helper for the
  // windows of large files (a corpus of one large file has one searcher).
  std::vector<std::unique_ptr<FileSearcher>> helpers;
  if (WorkerCount(settings_.threads, SIZE_MAX) > 1) {
    for (const auto& searcher : searchers) {
      helpers.push_back(std::make_unique<FileSearcher>(settings_, rule, control, corpus, progress));
      searcher->SetHelper(helpers.back().get());
    }
  }

  ConcordanceResult result;
  result.totals.lcid = rule.lcid;
  result.totals.search_hits.assign(settings_.searches.size(), 0);
  // Without sorting no more lines than the limit are wanted; the search itself
  // always runs to the end, so that the totals are those of the whole corpus.
  const auto lines_wanted =
      settings_.sort.empty() && settings_.limit > 0 ? static_cast<std::size_t>(settings_.limit) : SIZE_MAX;
  std::size_t handed_over = 0;
  bool stopped_by_sink = false;
  // Hands lines to the sink, numbered in reading order; false once it wants
  // no more.
  const auto hand_over = [&](std::vector<ConcordanceLine>& lines) {
    for (ConcordanceLine& line : lines) {
      if (handed_over >= lines_wanted) break;
      line.hit_number = static_cast<std::int64_t>(++handed_over);
      if (!on_line(line)) {
        stopped_by_sink = true;
        return false;
      }
    }
    return true;
  };
  // One worker searches on this thread: its lines go to the sink as each
  // window is done, so a large file's lines are not all kept.
  if (on_line && threads == 1) searchers.front()->DrainLinesBy(hand_over);

  OrderedWork<SearchOutcome> work;
  work.items = runs.size();
  work.threads = threads;
  work.work = [&](std::size_t index, int worker) {
    SearchOutcome outcome;
    FileSearcher& searcher = *searchers[static_cast<std::size_t>(worker)];
    for (std::size_t f = runs[index].first; f < runs[index].last && !control.Cancelled() && !searcher.LinesRefused();
         ++f)
      searcher.SearchFile(files[f], static_cast<std::int32_t>(f) + 1, outcome);
    return outcome;
  };
  work.take = [&](SearchOutcome&& outcome) {
    for (std::size_t g = 0; g < outcome.hits.size(); ++g) result.totals.search_hits[g] += outcome.hits[g];
    result.totals.words += outcome.words;
    result.totals.files_read += outcome.files_read;
    if (on_line) return !stopped_by_sink && hand_over(outcome.lines);
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
