#pragma once
// Counting words or n-grams by a hash table keyed by their case folding, and
// turning the counts into the string list that the word-list functions return.
//
// The list is the one a sorted, case-insensitive string list would hold after
// adding every occurrence in turn (a new line with frequency 1, an equal line
// + 1): one line per group of spellings that the locale's case-insensitive
// comparison calls equal, spelled as the group was first met, in that
// comparison's order. Counting by hash and sorting once at the end gives that
// list without a binary search per occurrence.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API TWordFrequencyTable {
 public:
  TWordFrequencyTable();
  ~TWordFrequencyTable();
  TWordFrequencyTable(const TWordFrequencyTable&) = delete;
  TWordFrequencyTable& operator=(const TWordFrequencyTable&) = delete;

  // Counts `count` occurrences of `spelling`. True when it opened a new entry.
  bool Add(std::u16string_view spelling, std::int64_t count = 1);
  // The same, for a caller that has the case folding of `spelling` at hand
  // (word_chars::AppendFolded of it).
  bool AddFolded(std::u16string_view folded, std::u16string_view spelling, std::int64_t count = 1);
  // Counts every line of `list` with the frequency in its object slot.
  void AddList(const TStringList& list);

  // Entries counted so far (spellings that differ only by case folding are
  // one entry) and the sum of their counts.
  int Entries() const { return static_cast<int>(entries_.size()); }
  std::int64_t Total() const { return total_; }
  void Clear();

  // A new list of the entries with their frequencies (clamped to the int32 the
  // slot holds) in the object slots. Alphabetical: Sorted, case-insensitive.
  // By frequency: not Sorted; frequency descending, equal frequencies by the
  // lines' UTF-16 code units. Entries below `min_freq` are left out; a `top`
  // above 0 keeps only the first `top` lines.
  std::unique_ptr<TStringList> ToStringList(bool sort_by_freq, std::int64_t min_freq = 1, int top = 0) const;

 private:
  struct Entry {
    std::uint64_t hash;
    std::uint32_t key_at, key_length;
    std::uint32_t spelling_at, spelling_length;
    std::int64_t count;
  };
  struct Slot {
    std::uint32_t entry_plus_one;  // 0: empty
    std::uint32_t hash_low;
  };
  // A group of entries the locale's comparison calls equal, as one line.
  struct Line {
    std::uint32_t spelling_entry;  // the member met first
    std::int64_t count;
  };

  std::u16string_view Key(const Entry& e) const { return {keys_.data() + e.key_at, e.key_length}; }
  std::u16string_view Spelling(const Entry& e) const { return {spellings_.data() + e.spelling_at, e.spelling_length}; }
  void Grow();
  std::vector<Line> MergedLines() const;

  std::vector<Entry> entries_;  // in the order first met
  std::vector<Slot> slots_;     // open addressing, a power of two long
  std::u16string keys_;         // folded keys, back to back
  std::u16string spellings_;    // first spellings, back to back
  std::u16string scratch_;      // the key being looked up
  std::int64_t total_ = 0;
};

}  // namespace quill
