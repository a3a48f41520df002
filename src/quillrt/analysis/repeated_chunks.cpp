#include "quillrt/analysis/repeated_chunks.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

#include "quillrt/analysis/sentences.h"
#include "quillrt/analysis/substring_search.h"
#include "quillrt/analysis/tags.h"
#include "quillrt/analysis/word_chars.h"
#include "quillrt/files/text_files.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/yield.h"

namespace quill {
namespace {

constexpr std::size_t kShortestChunk = 100;  // chunks must be longer than this

std::int32_t Percent(std::int64_t position, std::int64_t length) {
  return static_cast<std::int32_t>(position * 100 / length);
}

}  // namespace

std::unique_ptr<TStringListWith2LongintList> RepeatedXCharChunks(std::int32_t chunk_len, std::int32_t min_freq,
                                                                 std::int32_t max_repeated,
                                                                 const UnicodeString& text,
                                                                 const TTellCountEvent& progress) {
  auto list = std::make_unique<TStringListWith2LongintList>();
  list->SetSorted(true);
  if (chunk_len < 1) return list;  // no chunk to take, and no way forward
  const std::int64_t length = static_cast<std::int64_t>(text.size());
  int repeated = 0;  // lines occurring more than once, as Repeateds(t2_long0) counts them
  std::int64_t pos = 1;
  do {
    const std::int64_t next = pos + chunk_len;
    UnicodeString chunk;
    if (pos < length) {
      chunk = Trim(text.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(chunk_len)));
      if (progress) progress(Percent(next, length));
    }
    if (chunk.size() > kShortestChunk) {
      MyYieldProcess();
      const TSubstringSearcher searcher(chunk);
      int line = -1;
      std::size_t from = static_cast<std::size_t>(next - 1);
      while (!(list->Count() >= max_repeated && repeated >= max_repeated)) {
        const std::size_t found = searcher.Find(text, from);
        if (found == TSubstringSearcher::npos) break;
        const auto q = static_cast<std::int32_t>(found + 1);
        if (line < 0 && !list->Find(chunk, line)) {
          line = list->AddOne(chunk, {1, q});
        } else {
          list->IncOne(line, t2_long0);
          T2_longint_rec rec;
          list->GetOne(line, rec);
          if (rec.long0 == 2) ++repeated;
        }
        from = found + 1;
      }
    }
    pos = next;
  } while (length >= pos + chunk_len);

  if (list->Count() > 1) {
    list->SetSorted(false);
    list->SortOnFreq();
  }
  // Also for a single line: a chunk repeated too rarely is not a result.
  for (int i = list->Count() - 1; i >= 0; --i) {
    T2_longint_rec rec;
    list->GetOne(i, rec);
    if (rec.long0 < min_freq) list->Delete(i);
  }
  return list;
}

// ---- TRepeatedChunks ------------------------------------------------------------

TRepeatedChunks::TRepeatedChunks()
    : display_index(std::make_unique<TQYLongintList>()),
      fnames(std::make_unique<TFolderEfficientFileStringlist>()),
      chunks_list(std::make_unique<TStringlistWithListOfOccurrences>()) {}

TRepeatedChunks::~TRepeatedChunks() { Clear(); }

void TRepeatedChunks::Clear() {
  if (display_index) display_index->Clear();
  if (fnames) fnames->Clear();
  if (chunks_list) chunks_list->Clear();
}

void TRepeatedChunks::SetSettings(bool include_unterminated, std::int32_t span, std::int32_t hits,
                                  std::int32_t sentence_length, TTellCountEvent this_report,
                                  TTellCountEvent overall_report, TTellCountEvent running_total_report) {
  include_unterminated_sentences = include_unterminated;
  tag_span = span;
  min_hits = hits;
  min_sentence_length = sentence_length;
  this_reporting = std::move(this_report);
  overall_reporting = std::move(overall_report);
  running_total_reporting = std::move(running_total_report);
}

std::int32_t TRepeatedChunks::LoadATextFile(const UnicodeString& filename) {
  if (!fnames || !FileExists(filename)) return -1;
  UnicodeString text = WithoutMarkup(TextFileContents(filename), u'<', u'>', tag_span);
  const std::int32_t number = fnames->AddOne(filename);
  txt = std::move(text);
  return number;
}

UnicodeString TRepeatedChunks::GetAFilename(std::int32_t number) const {
  return fnames ? fnames->GetFullFilename(number) : UnicodeString();
}

TStringlistWithListOfOccurrences& TRepeatedChunks::Chunks(const char* missing_message) const {
  if (!chunks_list) throw Exception(std::string_view(missing_message));
  return *chunks_list;
}

void TRepeatedChunks::AddToRepeatedSentencesInTxt(std::int32_t file_number, std::int32_t total_files) {
  Chunks("list not assigned");
  processing = true;
  if (overall_reporting && total_files > 0)
    overall_reporting(static_cast<std::int32_t>(static_cast<std::int64_t>(file_number) * 100 / total_files));
  AddedToRepeatedSentencesInTxt(file_number, txt);
  if (running_total_reporting) running_total_reporting(Chunks("list not assigned").Count());
}

std::int32_t TRepeatedChunks::AddedToRepeatedSentencesInTxt(std::int32_t file_number, const UnicodeString& text) {
  const char* const missing = "chunks_list not assigned";
  const int lines_before = Chunks(missing).Count();
  const std::int64_t length = static_cast<std::int64_t>(text.size());
  std::unordered_set<UnicodeString> handled;  // case-folded sentences met in this call
  UnicodeString key;
  int start = FirstValidStartOfSentence(text, 1);
  while (processing) {
    const std::size_t line_end = text.find(u"\r\n", static_cast<std::size_t>(start - 1));
    if (line_end == UnicodeString::npos) break;
    const UnicodeString paragraph =
        Trim(text.substr(static_cast<std::size_t>(start - 1), line_end - static_cast<std::size_t>(start - 1)));
    if (!paragraph.empty()) {
      const auto sentences =
          SentencesExtractedFromParagraph(include_unterminated_sentences, min_sentence_length, paragraph);
      for (const UnicodeString& sentence : *sentences) {
        if (sentence.empty()) continue;
        key.clear();
        word_chars::AppendFolded(sentence, key);
        if (!handled.insert(key).second) continue;
        MyYieldProcess();
        if (this_reporting && length > 100000) this_reporting(Percent(start, length));
        const std::int64_t hits = TSubstringSearcher(sentence).CountIn(text);
        if (hits >= min_hits)
          Chunks(missing).AddOrIncOneByFreq(sentence, file_number,
                                            static_cast<std::int32_t>(std::min<std::int64_t>(hits, INT32_MAX)));
      }
    }
    start = FirstValidStartOfSentence(text, static_cast<int>(line_end) + 3);
  }
  return Chunks(missing).Count() - lines_before;
}

void TRepeatedChunks::SortAScendingFilenumbers() {
  if (chunks_list) chunks_list->SortAllOccurrencesFileAscending();
}

void TRepeatedChunks::SortDescendingFreq() {
  if (chunks_list) chunks_list->SortAllOccurrencesFreqDescending();
}

}  // namespace quill
