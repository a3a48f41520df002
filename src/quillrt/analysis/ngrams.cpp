#include "quillrt/analysis/ngrams.h"

#include "quillrt/analysis/word_chars.h"
#include "quillrt/analysis/word_frequency_table.h"
#include "quillrt/process/yield.h"

namespace quill {
namespace {

using word_chars::kNGramBreak;
using word_chars::kNGramSliding;
using word_chars::kNGramWordChar;

// N-grams on their way into the table, counted together so that their
// lookups overlap. The progress event hears of each new n-gram in turn, with
// the position where it ended.
class NGramBatch {
 public:
  NGramBatch(TWordFrequencyTable& table, const TTellCountEvent& progress, std::size_t text_length)
      : table_(table), progress_(progress), text_length_(text_length) {}

  void Add(std::u16string_view key, std::u16string_view spelling, std::size_t position) {
    Pending& p = pending_[count_];
    p.key_at = buffer_.size();
    p.key_length = key.size();
    buffer_.append(key);
    p.spelling_at = buffer_.size();
    p.spelling_length = spelling.size();
    buffer_.append(spelling);
    p.position = position;
    if (++count_ == kBatch) Flush();
  }

  void Flush() {
    TWordFrequencyTable::TPreparedWord prepared[kBatch];
    bool fresh[kBatch];
    const std::u16string_view buffer(buffer_);
    for (std::size_t k = 0; k < count_; ++k)
      prepared[k] = TWordFrequencyTable::Prepared(buffer.substr(pending_[k].key_at, pending_[k].key_length),
                                                  buffer.substr(pending_[k].spelling_at, pending_[k].spelling_length));
    table_.AddPreparedWords(prepared, count_, fresh);
    const std::size_t done = count_;
    count_ = 0;
    buffer_.clear();
    if (!progress_) return;
    for (std::size_t k = 0; k < done; ++k)
      if (fresh[k]) progress_(static_cast<std::int32_t>(static_cast<std::uint64_t>(pending_[k].position) * 100 / text_length_));
  }

 private:
  static constexpr std::size_t kBatch = 32;
  struct Pending {
    std::size_t key_at, key_length, spelling_at, spelling_length, position;
  };
  TWordFrequencyTable& table_;
  const TTellCountEvent& progress_;
  const std::size_t text_length_;
  UnicodeString buffer_;
  Pending pending_[kBatch];
  std::size_t count_ = 0;
};

// The window: its text as met and the same text case-folded, each word
// followed by one blank until the window is full.
class NGramWindow {
 public:
  NGramWindow(std::int32_t n, NGramBatch& batch) : n_(n), batch_(batch) {}

  void AddChar(WideChar c) {
    in_word_ = true;
    spelling_.push_back(c);
  }

  // Ends the word in hand, if any; a full window is counted as ending at
  // `position` (1-based).
  void EndWord(bool sliding, std::size_t position) {
    if (!in_word_) return;
    in_word_ = false;
    word_chars::AppendFolded(std::u16string_view(spelling_).substr(word_start_), key_);
    if (++words_ < n_) {
      AppendBlank();
      return;
    }
    batch_.Add(key_, spelling_, position);
    if (sliding && n_ > 1) {
      // The first word and the blank after it drop out.
      spelling_.erase(0, spelling_.find(u' ') + 1);
      key_.erase(0, key_.find(u' ') + 1);
      --words_;
      AppendBlank();
    } else {
      spelling_.clear();
      key_.clear();
      words_ = 0;
      word_start_ = 0;
    }
  }

 private:
  void AppendBlank() {
    spelling_.push_back(u' ');
    key_.push_back(u' ');
    word_start_ = spelling_.size();
  }

  const std::int32_t n_;
  NGramBatch& batch_;
  UnicodeString spelling_;
  UnicodeString key_;            // the complete words folded
  std::size_t word_start_ = 0;  // where the word in hand begins in spelling_
  std::int32_t words_ = 0;      // complete words in the window
  bool in_word_ = false;
};

// From the "<" at `open`: the position of the ">" that closes the tag or, once
// more than `max_tag_len` characters lie between, of the next character at or
// below U+0020; the length when neither comes. Yields for each character passed.
std::size_t TagStop(const UnicodeString& text, std::size_t open, std::int32_t max_tag_len) {
  for (std::size_t j = open + 1; j < text.size(); ++j) {
    const WideChar c = text[j];
    if (c == u'>') return j;
    if (c <= 0x20 && static_cast<std::int64_t>(j - open - 1) >= max_tag_len) return j;
    MyYieldProcess();
  }
  return text.size();
}

// The position of the next letter or number at or after `from`, passing over
// tags; the length when there is none. Yields for each character passed.
std::size_t NextWordStart(const UnicodeString& text, std::size_t from, std::int32_t max_tag_len,
                          const std::uint8_t* flags) {
  for (std::size_t j = from; j < text.size(); ++j) {
    const WideChar c = text[j];
    if (flags[c] & kNGramWordChar) return j;
    MyYieldProcess();
    if (c == u'<') {
      j = TagStop(text, j, max_tag_len);
      if (j >= text.size()) break;
      MyYieldProcess();  // the character that ends the tag
    }
  }
  return text.size();
}


}  // namespace

void CountNGramsOfTxt(const UnicodeString& text, std::int32_t n, std::int32_t max_tag_len,
                      TWordFrequencyTable& table, const TTellCountEvent& progress) {
  if (n < 1 || text.empty()) return;
  const std::uint8_t* flags = word_chars::Flags();
  const std::size_t length = text.size();
  NGramBatch batch(table, progress, length);
  NGramWindow window(n, batch);
  std::size_t i = 0;
  while (i < length) {
    MyYieldProcess();
    const WideChar c = text[i];
    const std::uint8_t f = flags[c];
    if (f & kNGramWordChar) {
      window.AddChar(c);
      ++i;
      continue;
    }
    if (c == u'<') {
      // The tag is passed over; the character that ends it then ends the word.
      i = TagStop(text, i, max_tag_len);
      continue;
    }
    // Punctuation and marks empty a full window unless they are commas, dashes
    // or connectors; everything else lets the window slide on.
    const bool sliding = (f & kNGramBreak) == 0 || (f & kNGramSliding) != 0;
    window.EndWord(sliding, i + 1);
    i = NextWordStart(text, i + 1, max_tag_len, flags);
  }
  window.EndWord(true, length);
  batch.Flush();
}

std::unique_ptr<TStringList> SimpleNGramListOfTxt(const UnicodeString& text, std::int32_t n,
                                                  std::int32_t max_tag_len, bool sort_by_freq,
                                                  const TTellCountEvent& progress) {
  TWordFrequencyTable table;
  CountNGramsOfTxt(text, n, max_tag_len, table, progress);
  return table.ToStringList(sort_by_freq);
}

}  // namespace quill
