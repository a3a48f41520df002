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
#include <string>
#include <string_view>
#include <vector>

#include "quillrt/analysis/large_table_memory.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class AsciiCollation;

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

  // A word made ready for counting by a scanning loop: the hash and length of
  // its folded key, and the key itself when it is short enough to sit in
  // short_key (zero-padded): a key of ASCII characters only, of up to
  // kAsciiKey characters, as one byte each, its length then carrying
  // kAsciiForm; any other key of up to kShortKey units as its UTF-16 units.
  // A longer key is in `folded`, which must stay valid until the word is
  // counted. The spelling is in `spelling`, or, for a word taken from 8-bit
  // ASCII text, in `ascii_spelling` (`spelling` then empty).
  static constexpr std::uint32_t kShortKey = 8;
  static constexpr std::uint32_t kAsciiKey = 16;
  static constexpr std::uint32_t kAsciiForm = 0x80000000u;
  struct TPreparedWord {
    std::uint64_t hash;
    std::uint64_t short_key[2];
    std::u16string_view folded;
    std::uint32_t length;
    std::u16string_view spelling;
    std::string_view ascii_spelling;
  };
  // Whether a prepared word's key sits in short_key, by its length.
  static constexpr bool IsShortKey(std::uint32_t length) { return length <= kShortKey || (length & kAsciiForm) != 0; }
  // Prepares a word from its folded key.
  static TPreparedWord Prepared(std::u16string_view folded, std::u16string_view spelling);
  // The hash of a zero-padded short key, as Prepared makes it.
  static std::uint64_t HashShortKey(const std::uint64_t short_key[2], std::uint32_t length) {
    std::uint64_t h = short_key[0] * 0x9E3779B97F4A7C15ull + short_key[1] * 0xC2B2AE3D27D4EB4Full + length;
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    return h ^ (h >> 32);
  }
  // Starts fetching the slot a word of this hash is looked up at, for a
  // caller that counts it a little later (a word batch, as it prepares it).
  void PrefetchSlot(std::uint64_t hash) const {
    __builtin_prefetch(slots_.data() + (static_cast<std::size_t>(hash) & (slots_.size() - 1)));
  }
  // One occurrence each of several prepared words: their lookups overlap,
  // which makes this faster than one AddFolded per word. `fresh`, when given,
  // receives for each word whether it opened a new entry.
  void AddPreparedWords(const TPreparedWord* words, std::size_t count, bool* fresh = nullptr);
  // Makes room for `entries` entries at once, so that a table known to grow
  // large does not grow step by step (each step moves every entry).
  void Reserve(std::size_t entries);
  // Counts every line of `list` with the frequency in its object slot.
  void AddList(const TStringList& list);
  // Counts every entry of `other` with its count, in the order `other` met
  // them: counting two texts into two tables and adding the second to the
  // first gives the table of counting both into one (first spellings and
  // all), without making a list of either.
  void AddTable(const TWordFrequencyTable& other);

  // Counting a corpus cut into numbered parts on several tables at once.
  // Each table marks the entries it opens with the part being counted, and
  // must be given its parts in increasing order. MergeParts then makes this
  // table the one that counting every part of both, in part order, into one
  // table would give: the same counts, each entry spelled as it was first met,
  // the entries in the order first met.
  void SetPart(std::uint32_t part) { part_ = part; }
  void MergeParts(const TWordFrequencyTable& other);

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
  // One slot of the open-addressing table: everything a lookup needs, so that
  // counting a word touches one cache line. Short keys (IsShortKey) live in
  // the slot, in the form TPreparedWord gives them; longer ones in keys_.
  struct alignas(32) Slot {
    std::uint32_t hash_low;        // the low half of the key's hash
    std::uint32_t entry_plus_one;  // 0: an empty slot
    std::uint32_t count;           // saturates at its largest value
    std::uint32_t length;          // of the key, with kAsciiForm for a key held as bytes
    union {
      std::uint64_t inline_key[2];
      std::uint64_t key_at;
    };
  };
  // An entry in the order first met.
  struct Entry {
    std::uint64_t spelling_at;
    std::uint32_t spelling_length;
    std::uint32_t part;  // the part it was first met in
  };
  // An entry with its count and key, while the list is being made.
  struct Item {
    std::uint32_t entry;
    std::uint64_t count;
    std::u16string_view key;
  };
  // A group of entries the locale's comparison calls equal, as one line.
  struct Line {
    std::uint32_t spelling_entry;  // the member met first
    std::int64_t count;
  };
  // The first four units of a spelling, for comparing by code units without
  // reaching into the spellings most of the time.
  std::uint64_t SpellingPrefix(std::uint32_t entry) const;

  // The key of a slot; a key held as bytes is widened onto `room`, which
  // must have the capacity for it (so that earlier keys stay in place).
  std::u16string_view KeyOf(const Slot& slot, std::u16string& room) const;
  // The key of a slot whose key is not short.
  std::u16string_view LongKeyOf(const Slot& slot) const { return {keys_.data() + slot.key_at, slot.length}; }
  void AppendSpelling(const TPreparedWord& word);
  std::u16string_view Spelling(std::uint32_t entry) const {
    return {spellings_.data() + entries_[entry].spelling_at, entries_[entry].spelling_length};
  }
  // Every entry with its count and key, indexed by entry; keys held as bytes
  // are widened in `room`.
  std::vector<Item> ItemsByEntry(std::u16string& room) const;
  bool AddPrepared(const TPreparedWord& word, std::int64_t count);
  // Counts the word; its entry, and in `opened` whether it is new.
  std::uint32_t CountedEntry(const TPreparedWord& word, std::int64_t count, bool& opened);
  void Grow();
  void Rehash(std::size_t slots);  // a power of two
  std::vector<Line> MergedLines() const;
  // Each entry's count, indexed by entry.
  std::vector<std::uint32_t> CountsByEntry() const;
  const AsciiCollation* CharacterOrder() const;
  std::vector<Line> LinesInCharacterOrder(const AsciiCollation& collation) const;
  // A line of a list by frequency, with the first units of its spelling.
  struct Ranked {
    std::uint64_t prefix;
    std::int32_t freq;
    std::uint32_t entry;
  };
  std::vector<Ranked> RankedByFrequency(std::int64_t min_freq) const;
  bool MergeInOrder(const std::vector<Item>& items, const std::string& locale, std::vector<Line>& lines) const;

  std::vector<Entry> entries_;  // in the order first met
  using Slots = std::vector<Slot, LargeTableAllocator<Slot>>;
  Slots slots_;  // a power of two long, at most half full
  std::u16string keys_;         // keys too long for their slot, back to back
  std::u16string spellings_;    // first spellings, back to back
  std::u16string scratch_;      // the key being looked up
  std::int64_t total_ = 0;
  std::uint32_t part_ = 0;
};

}  // namespace quill
