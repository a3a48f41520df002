#include "quilljobs/frequency_jobs.h"

#include <algorithm>

#include "quilljobs/word_rule.h"
#include "quillrt/analysis/word_frequency_table.h"

namespace quill::jobs {
namespace {

constexpr int kMaxN = 100;

FrequencyResult Finished(const TWordFrequencyTable& table, const FrequencyListShape& shape) {
  FrequencyResult result;
  result.list = table.ToStringList(shape.by_freq, shape.min_freq, shape.top);
  result.tokens = table.Total();
  return result;
}

// Counts the runs of n words that lie within one sentence.
void CountNGrams(std::u16string_view text, const ClassifiedText& classified, const std::vector<WordSpan>& words,
                 std::size_t n, UnicodeString& ngram, TWordFrequencyTable& table) {
  std::size_t run_start = 0;  // the first word of the current sentence's run
  for (std::size_t w = 0; w < words.size(); ++w) {
    if (w > 0 && BreaksRunOfWords(text, classified, words[w - 1].end, words[w].start)) run_start = w;
    if (w + 1 < run_start + n) continue;
    ngram.clear();
    for (std::size_t k = w + 1 - n; k <= w; ++k) {
      if (!ngram.empty()) ngram.push_back(u' ');
      ngram.append(text.substr(words[k].start, words[k].end - words[k].start));
    }
    table.Add(ngram);
  }
}

}  // namespace

std::vector<FrequencyItem> FrequencyResult::Items() const {
  std::vector<FrequencyItem> items;
  if (!list) return items;
  items.reserve(static_cast<std::size_t>(list->Count()));
  for (int i = 0; i < list->Count(); ++i)
    items.push_back({(*list)[i], static_cast<std::int64_t>(list->GetObject(i).AsInt())});
  return items;
}

WordListJob::WordListJob(WordListSettings settings) : settings_(settings) {
  settings_.min_length = std::max(settings_.min_length, 1);
}

FrequencyResult WordListJob::Run(const Corpus& corpus, const JobControl& control) const {
  const WordRule rule = corpus.Rule(settings_.pos_tags);
  const auto min_length = static_cast<std::size_t>(settings_.min_length);
  TWordFrequencyTable table;
  ClassifiedText classified;
  std::vector<WordSpan> words;
  std::int64_t done = 0, files_read = 0;
  bool cancelled = false;
  for (const CorpusFile& file : corpus.Files()) {
    if ((cancelled = control.Cancelled())) break;
    // Words never span the pieces, so counting piece by piece counts the file.
    std::int64_t characters = 0;
    const bool read = corpus.ReadTextInPieces(file, [&](std::u16string_view piece) {
      if (control.Cancelled()) return;
      ClassifyText(piece, rule, classified);
      FindWords(classified, piece.size(), words);
      for (const WordSpan& word : words)
        if (word.end - word.start >= min_length) table.Add(piece.substr(word.start, word.end - word.start));
      characters += static_cast<std::int64_t>(piece.size());
      control.Progress(done + std::min(characters, file.size), corpus.TotalBytes());  // about a byte a character
    });
    if (read) ++files_read;
    done += file.size;
    control.Progress(done, corpus.TotalBytes());
  }
  FrequencyResult result = Finished(table, settings_.shape);
  result.files_read = files_read;
  result.cancelled = cancelled || control.Cancelled();
  return result;
}

NGramJob::NGramJob(NGramSettings settings) : settings_(settings) {
  if (settings_.n < 1 || settings_.n > kMaxN)
    throw JobError(JobError::bad_request, "n must be between 1 and " + std::to_string(kMaxN));
}

FrequencyResult NGramJob::Run(const Corpus& corpus, const JobControl& control) const {
  WordRule rule = corpus.Rule(settings_.pos_tags);
  rule.max_tag_length = static_cast<std::size_t>(std::max(settings_.max_tag_length, 1));
  TWordFrequencyTable table;
  UnicodeString text, ngram;
  ClassifiedText classified;
  std::vector<WordSpan> words;
  std::int64_t done = 0, files_read = 0;
  bool cancelled = false;
  for (const CorpusFile& file : corpus.Files()) {
    if ((cancelled = control.Cancelled())) break;
    if (corpus.ReadText(file, text)) {
      ClassifyText(text, rule, classified);
      FindWords(classified, text.size(), words);
      CountNGrams(text, classified, words, static_cast<std::size_t>(settings_.n), ngram, table);
      ++files_read;
    }
    done += file.size;
    control.Progress(done, corpus.TotalBytes());
  }
  FrequencyResult result = Finished(table, settings_.shape);
  result.files_read = files_read;
  result.cancelled = cancelled;
  return result;
}

}  // namespace quill::jobs
