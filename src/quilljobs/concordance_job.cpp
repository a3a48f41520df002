#include "quilljobs/concordance_job.h"

#include <algorithm>
#include <memory>

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

// Searches one file after another with one engine; what a file yields is
// its lines in reading order and its hits per search word.
class FileSearcher {
 public:
  FileSearcher(const ConcordanceSettings& settings, const WordRule& rule, const JobControl& control)
      : settings_(settings),
        rule_(rule),
        control_(control),
        wanted_tag_(Utf8ToUtf16(settings.tag)),
        hide_tags_(rule.pos_tags && !settings.show_tags),
        engine_(true, true, rule.lcid),
        searches_(ParsedWordList(settings.searches, rule.lcid)),
        context_(ParsedWordList(settings.context, rule.lcid)),
        exclusions_(ParsedWordList(settings.exclude, rule.lcid)),
        hits_(settings.searches.size(), 0) {}

  // Searches `text` (the file's whole text); the lines found are appended to
  // `lines` in reading order when lines are kept.
  void Search(const CorpusFile& file, std::int32_t file_index, std::vector<ConcordanceLine>& lines) {
    ClassifyText(text_, rule_, classified_);
    FindWords(classified_, text_.size(), words_);
    engine_.PrepareForConcordancing(
        file.name, text_.c_str(), classified_.classes.data(), nullptr, static_cast<std::int32_t>(file.size),
        static_cast<std::int32_t>(text_.size()), 0, false,
        [this](TObject* sender, const TSearchFound_Rec& found) { return on_hit_(sender, found); }, nullptr);
    engine_.SetArrayOfTagsFound(classified_.markers);
    if (!context_.empty()) WordNumbersOf(context_, context_hits_);
    if (!exclusions_.empty()) WordNumbersOf(exclusions_, exclusion_hits_);

    const std::size_t first = lines.size();
    for (std::size_t g = 0; g < searches_.size(); ++g) {
      TSearchWordItems& items = *searches_[g];
      for (std::int32_t i = 0; i < items.Count(); ++i) {
        raw_.clear();
        on_hit_ = [this](TObject*, const TSearchFound_Rec& found) { return KeepHit(found); };
        engine_.ClearChunkTextStats();
        engine_.SearchAndDo(items.GetPtr(i), i);
        hits_[g] += static_cast<std::int64_t>(raw_.size());
        if (settings_.keep_lines)
          for (const RawHit& hit : raw_) lines.push_back(LineOf(hit, file, file_index, static_cast<std::int32_t>(g)));
      }
    }
    // Reading order within the file, whatever order the search words came in.
    std::stable_sort(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end(),
                     [](const ConcordanceLine& a, const ConcordanceLine& b) { return a.word_number < b.word_number; });
    words_searched_ += static_cast<std::int64_t>(words_.size());
  }

  UnicodeString& Text() { return text_; }
  const std::vector<std::int64_t>& Hits() const { return hits_; }
  std::int64_t Words() const { return words_searched_; }

 private:
  struct RawHit {
    std::size_t pos, len;
    TSearchStatsRec stats;
  };

  // The word numbers at which any of `words` is found in the engine's buffer.
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
    const std::size_t end = pos + static_cast<std::size_t>(std::max(found.hit_characters, found.exact_hit_len));
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

  ConcordanceLine LineOf(const RawHit& hit, const CorpusFile& file, std::int32_t file_index, std::int32_t group) {
    // Markup hidden from the context: the tags of word/TAG tokens unless shown.
    const auto hidden = [this](std::size_t i) {
      return hide_tags_ && IsMarkupClass(classified_.classes[i]) && text_[i] != u'<';
    };
    ConcordanceLine line =
        MakeConcordanceLine(text_, hit.pos, hit.len, static_cast<std::size_t>(settings_.width), hidden);
    line.file = Utf16ToUtf8(file.name);
    line.file_index = file_index;
    line.word_number = WordNumberAt(words_, hit.pos);
    line.sentence = classified_.markers.Any(ts_sentence_start) ? hit.stats.number[sentence_stats] + 1 : 0;
    line.paragraph = classified_.markers.Any(ts_paragraph_start) ? hit.stats.number[paragraph_stats] + 1 : 0;
    line.search_word = group;
    return line;
  }

  const ConcordanceSettings& settings_;
  const WordRule rule_;
  const JobControl& control_;
  const UnicodeString wanted_tag_;
  const bool hide_tags_;
  TSearchAndDoEngine engine_;
  WordItems searches_, context_, exclusions_;
  std::vector<std::int64_t> hits_;
  std::int64_t words_searched_ = 0;

  UnicodeString text_;
  ClassifiedText classified_;
  std::vector<WordSpan> words_;
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
  FileSearcher searcher(settings_, rule, control);

  ConcordanceResult result;
  result.totals.lcid = rule.lcid;
  std::vector<ConcordanceLine> file_lines;
  std::vector<ConcordanceLine>& lines = on_line ? file_lines : result.lines;
  // Without sorting no more lines than the limit are wanted; the search itself
  // always runs to the end, so that the totals are those of the whole corpus.
  const auto lines_wanted = settings_.sort.empty() && settings_.limit > 0 ? static_cast<std::size_t>(settings_.limit)
                                                                          : SIZE_MAX;
  std::size_t handed_over = 0;
  bool stopped_by_sink = false;
  std::int64_t done = 0;
  std::int32_t file_index = 0;
  for (const CorpusFile& file : corpus.Files()) {
    if (control.Cancelled() || stopped_by_sink) break;
    ++file_index;
    if (corpus.ReadText(file, searcher.Text())) {
      searcher.Search(file, file_index, lines);
      ++result.totals.files_read;
    }
    if (on_line) {
      for (ConcordanceLine& line : file_lines) {
        if (handed_over >= lines_wanted) break;
        line.hit_number = static_cast<std::int64_t>(++handed_over);
        if (!on_line(line)) {
          stopped_by_sink = true;
          break;
        }
      }
      file_lines.clear();
    } else if (result.lines.size() > lines_wanted) {
      result.lines.resize(lines_wanted);
    }
    done += file.size;
    control.Progress(done, corpus.TotalBytes());
  }

  result.totals.search_hits = searcher.Hits();
  for (const std::int64_t hits : result.totals.search_hits) result.totals.hits += hits;
  result.totals.words = searcher.Words();
  result.totals.cancelled = control.Cancelled() || stopped_by_sink;
  if (on_line) return result;

  for (std::size_t i = 0; i < result.lines.size(); ++i) result.lines[i].hit_number = static_cast<std::int64_t>(i) + 1;
  SortConcordance(result.lines, settings_.sort);
  if (settings_.limit > 0 && result.lines.size() > static_cast<std::size_t>(settings_.limit))
    result.lines.resize(static_cast<std::size_t>(settings_.limit));
  return result;
}

}  // namespace quill::jobs
