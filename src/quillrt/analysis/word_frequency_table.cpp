#include "quillrt/analysis/word_frequency_table.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "quillrt/analysis/ascii_collation.h"
#include "quillrt/analysis/word_chars.h"
#include "quillrt/collections/comparisons.h"
#include "quillrt/framework/locale_text.h"

namespace quill {
namespace {

constexpr std::size_t kFirstSlots = 1024;

// A fast hash of the UTF-16 units of a long key, four at a time (short keys
// have HashShortKey).
std::uint64_t HashUnits(std::u16string_view s) {
  const char16_t* p = s.data();
  std::size_t n = s.size();
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (n * 0x100000001B3ull);
  while (n >= 4) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    h = (h ^ v) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
    p += 4;
    n -= 4;
  }
  std::uint64_t v = 0;
  std::memcpy(&v, p, n * sizeof(char16_t));
  h = (h ^ v) * 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 29;
  h *= 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 31);
}

std::int32_t ClampedFrequency(std::int64_t count) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(count, INT32_MIN, INT32_MAX));
}

// Whether n units at a and b are the same, compared four at a time.
bool SameUnits(const char16_t* a, const char16_t* b, std::size_t n) {
  std::size_t k = 0;
  for (; k + 4 <= n; k += 4) {
    std::uint64_t x, y;
    std::memcpy(&x, a + k, sizeof x);
    std::memcpy(&y, b + k, sizeof y);
    if (x != y) return false;
  }
  for (; k < n; ++k)
    if (a[k] != b[k]) return false;
  return true;
}

std::uint32_t SaturatedSum(std::uint32_t count, std::int64_t more) {
  const std::int64_t sum = static_cast<std::int64_t>(count) + more;
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(sum, 0, UINT32_MAX));
}

struct CollatorCloser {
  void operator()(UCollator* collator) const { ucol_close(collator); }
};

// Sort keys of the case-folded entries under the user's collation: comparing
// them is a byte comparison instead of a collation per comparison.
class SortKeys {
 public:
  SortKeys(std::size_t count, const std::string& locale) : at_(count + 1, 0) {
    UErrorCode status = U_ZERO_ERROR;
    collator_.reset(ucol_open(locale.c_str(), &status));
    if (U_FAILURE(status)) collator_.reset();
    if (collator_) ucol_setStrength(collator_.get(), UCOL_TERTIARY);
  }
  bool Usable() const { return collator_ != nullptr; }

  // Keys must be made in item order, 0, 1, ...
  void Make(std::size_t item, std::u16string_view key) {
    std::size_t at = bytes_.size();
    bytes_.resize(at + key.size() * 4 + 16);
    for (;;) {
      const int32_t room = static_cast<int32_t>(std::min<std::size_t>(bytes_.size() - at, INT32_MAX));
      const int32_t need = ucol_getSortKey(collator_.get(), key.data(), static_cast<int32_t>(key.size()),
                                           bytes_.data() + at, room);
      if (need <= room) {
        bytes_.resize(at + static_cast<std::size_t>(need));
        break;
      }
      bytes_.resize(at + static_cast<std::size_t>(need));
    }
    at_[item + 1] = bytes_.size();
  }
  // The first eight bytes, big-endian, zero-padded: comparing two of them
  // orders the keys whenever they differ.
  std::uint64_t Prefix(std::size_t item) const {
    std::uint64_t prefix = 0;
    const std::size_t length = std::min<std::size_t>(8, at_[item + 1] - at_[item]);
    for (std::size_t k = 0; k < length; ++k) prefix |= std::uint64_t{bytes_[at_[item] + k]} << (56 - 8 * k);
    return prefix;
  }
  int Compare(std::size_t a, std::size_t b) const {
    const std::size_t la = at_[a + 1] - at_[a], lb = at_[b + 1] - at_[b];
    const int c = std::memcmp(bytes_.data() + at_[a], bytes_.data() + at_[b], std::min(la, lb));
    return c != 0 ? c : (la < lb ? -1 : (la > lb ? 1 : 0));
  }

 private:
  std::unique_ptr<UCollator, CollatorCloser> collator_;
  std::vector<std::size_t> at_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

TWordFrequencyTable::TWordFrequencyTable() { slots_.resize(kFirstSlots); }
TWordFrequencyTable::~TWordFrequencyTable() = default;

void TWordFrequencyTable::Clear() {
  entries_.clear();
  slots_.assign(kFirstSlots, Slot{});
  keys_.clear();
  spellings_.clear();
  total_ = 0;
  part_ = 0;
}

std::u16string_view TWordFrequencyTable::KeyOf(const Slot& slot, std::u16string& room) const {
  if (!IsShortKey(slot.length)) return LongKeyOf(slot);
  const std::size_t at = room.size();
  if ((slot.length & kAsciiForm) != 0) {
    const std::uint32_t length = slot.length & ~kAsciiForm;
    unsigned char bytes[kAsciiKey];
    std::memcpy(bytes, slot.inline_key, sizeof bytes);
    room.append(bytes, bytes + length);
  } else {
    char16_t units[kShortKey];
    std::memcpy(units, slot.inline_key, sizeof units);
    room.append(units, slot.length);
  }
  return std::u16string_view(room).substr(at);
}

bool TWordFrequencyTable::Add(std::u16string_view spelling, std::int64_t count) {
  scratch_.clear();
  word_chars::AppendFolded(spelling, scratch_);
  return AddFolded(scratch_, spelling, count);
}

TWordFrequencyTable::TPreparedWord TWordFrequencyTable::Prepared(std::u16string_view folded,
                                                                 std::u16string_view spelling) {
  if (folded.size() >= kAsciiForm || spelling.size() > UINT32_MAX) throw std::length_error("word too long to count");
  TPreparedWord word{0, {0, 0}, folded, static_cast<std::uint32_t>(folded.size()), spelling, {}};
  const bool ascii = folded.size() <= kAsciiKey &&
                     std::all_of(folded.begin(), folded.end(), [](char16_t c) { return c < 0x80; });
  if (ascii) {
    unsigned char bytes[kAsciiKey] = {};
    std::copy(folded.begin(), folded.end(), bytes);
    std::memcpy(word.short_key, bytes, sizeof bytes);
    word.length |= kAsciiForm;
  } else if (word.length <= kShortKey) {
    std::memcpy(word.short_key, folded.data(), folded.size() * sizeof(char16_t));
  } else {
    word.hash = HashUnits(folded);
    return word;
  }
  word.hash = HashShortKey(word.short_key, word.length);
  return word;
}

bool TWordFrequencyTable::AddFolded(std::u16string_view folded, std::u16string_view spelling, std::int64_t count) {
  return AddPrepared(Prepared(folded, spelling), count);
}

void TWordFrequencyTable::AddPreparedWords(const TPreparedWord* words, std::size_t count, bool* fresh) {
  // The slots the words start from are fetched together; while one word is
  // counted, the stored key that a long word a few places on will compare
  // with is fetched too (its slot has arrived by then).
  constexpr std::size_t kKeyAhead = 8;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t k = 0; k < count; ++k) __builtin_prefetch(&slots_[static_cast<std::size_t>(words[k].hash) & mask]);
  for (std::size_t k = 0; k < count; ++k) {
    if (k + kKeyAhead < count && !IsShortKey(words[k + kKeyAhead].length)) {
      const Slot& home = slots_[static_cast<std::size_t>(words[k + kKeyAhead].hash) & (slots_.size() - 1)];
      if (home.entry_plus_one != 0 && !IsShortKey(home.length)) __builtin_prefetch(keys_.data() + home.key_at);
    }
    // Most words are met before, at the slot they start from.
    const TPreparedWord& word = words[k];
    Slot& home = slots_[static_cast<std::size_t>(word.hash) & (slots_.size() - 1)];
    if (IsShortKey(word.length) && home.hash_low == static_cast<std::uint32_t>(word.hash) &&
        home.length == word.length && home.entry_plus_one != 0 && home.count != UINT32_MAX) {
      if (home.inline_key[0] == word.short_key[0] && home.inline_key[1] == word.short_key[1]) {
        ++home.count;
        ++total_;
        if (fresh != nullptr) fresh[k] = false;
        continue;
      }
    }
    const bool added = AddPrepared(word, 1);
    if (fresh != nullptr) fresh[k] = added;
  }
}

bool TWordFrequencyTable::AddPrepared(const TPreparedWord& word, std::int64_t count) {
  bool opened = false;
  CountedEntry(word, count, opened);
  return opened;
}

std::uint32_t TWordFrequencyTable::CountedEntry(const TPreparedWord& word, std::int64_t count, bool& opened) {
  total_ += count;
  const auto hash_low = static_cast<std::uint32_t>(word.hash);
  const std::uint32_t length = word.length;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = static_cast<std::size_t>(word.hash) & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.entry_plus_one == 0) {
      slot.hash_low = hash_low;
      slot.length = length;
      slot.count = SaturatedSum(0, count);
      if (IsShortKey(length)) {
        std::memcpy(slot.inline_key, word.short_key, sizeof word.short_key);
      } else {
        slot.key_at = keys_.size();
        keys_.append(word.folded);
      }
      AppendSpelling(word);
      slot.entry_plus_one = static_cast<std::uint32_t>(entries_.size());
      if (entries_.size() * 2 > slots_.size()) Grow();
      opened = true;
      return static_cast<std::uint32_t>(entries_.size() - 1);
    }
    if (slot.hash_low != hash_low || slot.length != length) continue;
    bool same;
    if (IsShortKey(length)) {
      same = slot.inline_key[0] == word.short_key[0] && slot.inline_key[1] == word.short_key[1];
    } else {
      same = SameUnits(keys_.data() + slot.key_at, word.folded.data(), length);
    }
    if (same) {
      slot.count = SaturatedSum(slot.count, count);
      return slot.entry_plus_one - 1;
    }
  }
}

// A new entry, spelled as the word is, first met in the part being counted.
void TWordFrequencyTable::AppendSpelling(const TPreparedWord& word) {
  const std::size_t length = word.spelling.empty() ? word.ascii_spelling.size() : word.spelling.size();
  entries_.push_back({spellings_.size(), static_cast<std::uint32_t>(length), part_});
  if (word.spelling.empty())
    spellings_.append(word.ascii_spelling.begin(), word.ascii_spelling.end());
  else
    spellings_.append(word.spelling);
}

std::uint64_t TWordFrequencyTable::SpellingPrefix(std::uint32_t entry) const {
  const std::u16string_view spelling = Spelling(entry);
  std::uint64_t prefix = 0;
  for (std::size_t k = 0; k < std::min<std::size_t>(4, spelling.size()); ++k)
    prefix |= std::uint64_t{spelling[k]} << (48 - 16 * k);
  return prefix;
}

void TWordFrequencyTable::Grow() { Rehash(slots_.size() * 2); }

void TWordFrequencyTable::Reserve(std::size_t entries) {
  std::size_t slots = slots_.size();
  while (slots < (std::size_t{1} << 31) && entries * 2 > slots) slots *= 2;
  if (slots > slots_.size()) Rehash(slots);
  entries_.reserve(entries);
  spellings_.reserve(entries * 8);  // most words are shorter
}

void TWordFrequencyTable::Rehash(std::size_t slots) {
  if (slots > (std::size_t{1} << 31)) throw std::length_error("word list too large");
  Slots bigger(slots);
  const std::size_t mask = bigger.size() - 1;
  for (const Slot& slot : slots_) {
    if (slot.entry_plus_one == 0) continue;
    std::size_t i = slot.hash_low & mask;  // the table never outgrows 32 bits of index
    while (bigger[i].entry_plus_one != 0) i = (i + 1) & mask;
    bigger[i] = slot;
  }
  slots_.swap(bigger);
}

void TWordFrequencyTable::AddList(const TStringList& list) {
  for (int i = 0; i < list.Count(); ++i) Add(list[i], list.GetObject(i).AsInt());
}

std::vector<TWordFrequencyTable::Item> TWordFrequencyTable::ItemsByEntry(std::u16string& room) const {
  std::size_t short_units = 0;
  for (const Slot& slot : slots_)
    if (slot.entry_plus_one != 0 && IsShortKey(slot.length)) short_units += slot.length & ~kAsciiForm;
  room.clear();
  room.reserve(short_units);
  std::vector<Item> items(entries_.size());
  for (const Slot& slot : slots_)
    if (slot.entry_plus_one != 0)
      items[slot.entry_plus_one - 1] = {slot.entry_plus_one - 1, slot.count, KeyOf(slot, room)};
  return items;
}

void TWordFrequencyTable::AddTable(const TWordFrequencyTable& other) {
  const std::int64_t total = total_ + other.total_;
  const std::uint32_t part = part_;
  std::u16string room;
  for (const Item& item : other.ItemsByEntry(room)) {
    part_ = other.entries_[item.entry].part;
    AddPrepared(Prepared(item.key, other.Spelling(item.entry)), static_cast<std::int64_t>(item.count));
  }
  part_ = part;
  total_ = total;  // exact, even where a saturated count in a slot is not
}

void TWordFrequencyTable::MergeParts(const TWordFrequencyTable& other) {
  if (&other == this) throw std::invalid_argument("a word table cannot take in its own parts again");
  // Entries first met in one part stand in the order of the one table that
  // counted it; so the entries of both are ordered by (part, place in the
  // table whose spelling they keep).
  std::vector<std::uint32_t> place(entries_.size());
  std::iota(place.begin(), place.end(), 0u);
  const std::int64_t total = total_ + other.total_;
  const std::uint32_t own_part = part_;
  for (const Slot& slot : other.slots_) {
    if (slot.entry_plus_one == 0) continue;
    const std::uint32_t theirs = slot.entry_plus_one - 1;
    TPreparedWord word{slot.hash_low, {slot.inline_key[0], slot.inline_key[1]}, {}, slot.length, other.Spelling(theirs), {}};
    if (!IsShortKey(slot.length)) word.folded = other.LongKeyOf(slot);
    part_ = other.entries_[theirs].part;
    bool opened = false;
    const std::uint32_t mine = CountedEntry(word, slot.count, opened);
    if (opened) {
      place.push_back(theirs);
    } else if (part_ < entries_[mine].part) {  // met first over there: spelled as there
      entries_[mine] = {spellings_.size(), static_cast<std::uint32_t>(word.spelling.size()), part_};
      spellings_.append(word.spelling);
      place[mine] = theirs;
    }
  }
  part_ = own_part;
  total_ = total;  // exact, even where a saturated count in a slot is not

  std::vector<std::uint32_t> order(entries_.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return entries_[a].part != entries_[b].part ? entries_[a].part < entries_[b].part : place[a] < place[b];
  });
  std::vector<Entry> sorted(entries_.size());
  std::vector<std::uint32_t> renumbered(entries_.size());
  for (std::uint32_t k = 0; k < order.size(); ++k) {
    sorted[k] = entries_[order[k]];
    renumbered[order[k]] = k;
  }
  entries_.swap(sorted);
  for (Slot& slot : slots_)
    if (slot.entry_plus_one != 0) slot.entry_plus_one = renumbered[slot.entry_plus_one - 1] + 1;
}

// Groups the items, which stand in the locale's case-insensitive order as far
// as the caller knows, into lines: runs that the comparison calls equal become
// one line spelled as the member met first. False, as soon as two neighbours
// turn out to be out of order.
bool TWordFrequencyTable::MergeInOrder(const std::vector<Item>& items, const std::string& locale,
                                       std::vector<Line>& lines) const {
  lines.clear();
  lines.reserve(items.size());
  for (std::size_t k = 0; k < items.size(); ++k) {
    const Item& item = items[k];
    if (k > 0) {
      const int c = AnsiCompareText(Spelling(items[k - 1].entry), Spelling(item.entry), locale);
      if (c > 0) return false;
      if (c == 0) {
        Line& line = lines.back();
        line.count += static_cast<std::int64_t>(item.count);
        line.spelling_entry = std::min(line.spelling_entry, item.entry);
        continue;
      }
    }
    lines.push_back({item.entry, static_cast<std::int64_t>(item.count)});
  }
  return true;
}

// The entries in the locale's case-insensitive order, equal ones merged:
// exactly what a sorted list filled one word at a time holds. The order comes
// from collation sort keys of the folded entries; one comparison of each pair
// of neighbours then confirms it (and finds the entries to merge, such as
// canonically equivalent spellings that fold differently). Should the keys
// ever disagree with the comparison, the comparison sorts the items itself.
std::vector<TWordFrequencyTable::Line> TWordFrequencyTable::MergedLines() const {
  std::u16string room;
  std::vector<Item> items = ItemsByEntry(room);
  std::vector<Line> lines;
  // The user's locale, looked up once rather than at every comparison.
  const std::string locale = UserLocaleName();
  SortKeys keys(items.size(), locale);
  if (keys.Usable()) {
    for (std::size_t i = 0; i < items.size(); ++i) keys.Make(i, items[i].key);
    struct Keyed {
      std::uint64_t prefix;
      std::uint32_t item;
    };
    std::vector<Keyed> order(items.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = {keys.Prefix(i), i};
    std::sort(order.begin(), order.end(), [&keys](const Keyed& a, const Keyed& b) {
      if (a.prefix != b.prefix) return a.prefix < b.prefix;
      const int c = keys.Compare(a.item, b.item);
      return c != 0 ? c < 0 : a.item < b.item;
    });
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (const Keyed& k : order) sorted.push_back(items[k.item]);
    if (MergeInOrder(sorted, locale, lines)) return lines;
  }
  std::sort(items.begin(), items.end(), [this, &locale](const Item& a, const Item& b) {
    const int c = AnsiCompareText(Spelling(a.entry), Spelling(b.entry), locale);
    return c != 0 ? c < 0 : a.entry < b.entry;
  });
  MergeInOrder(items, locale, lines);
  return lines;
}

// When every spelling is of printable ASCII characters and the user's
// collation orders such words by their characters (AsciiCollation), no two
// entries compare equal, so each is a line of its own: that collation then,
// else none.
const AsciiCollation* TWordFrequencyTable::CharacterOrder() const {
  const AsciiCollation& collation = AsciiCollation::Of(UserLocaleName());
  // The spellings' buffer holds every entry's spelling (and any it replaced).
  return collation.Usable() && collation.Ranks(spellings_) ? &collation : nullptr;
}

std::vector<std::uint32_t> TWordFrequencyTable::CountsByEntry() const {
  std::vector<std::uint32_t> counts(entries_.size());
  for (const Slot& slot : slots_)
    if (slot.entry_plus_one != 0) counts[slot.entry_plus_one - 1] = slot.count;
  return counts;
}

// The entries as lines, in the order of their characters' ranks.
std::vector<TWordFrequencyTable::Line> TWordFrequencyTable::LinesInCharacterOrder(
    const AsciiCollation& collation) const {
  // The first eight ranks, a byte each, decide most comparisons.
  struct Keyed {
    std::uint64_t prefix = 0;
    Line line;
  };
  const std::vector<std::uint32_t> counts = CountsByEntry();
  std::vector<Keyed> keyed(counts.size());
  // In entry order, the spellings are read in the order they lie in.
  for (std::uint32_t entry = 0; entry < counts.size(); ++entry) {
    Keyed& k = keyed[entry];
    k.line = {entry, counts[entry]};
    const std::u16string_view spelling = Spelling(entry);
    for (std::size_t u = 0; u < std::min<std::size_t>(8, spelling.size()); ++u)
      k.prefix |= std::uint64_t{collation.Rank(spelling[u])} << (56 - 8 * u);
  }
  std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return collation.Compare(Spelling(a.line.spelling_entry), Spelling(b.line.spelling_entry)) < 0;
  });
  std::vector<Line> lines;
  lines.reserve(keyed.size());
  for (const Keyed& k : keyed) lines.push_back(k.line);
  return lines;
}

// The lines met at least `min_freq` times, most frequent first, equal
// frequencies by their spellings' code units.
std::vector<TWordFrequencyTable::Ranked> TWordFrequencyTable::RankedByFrequency(std::int64_t min_freq) const {
  std::vector<Ranked> ranked;
  const auto take = [&](std::uint32_t entry, std::int64_t count) {
    if (count >= min_freq) ranked.push_back({SpellingPrefix(entry), ClampedFrequency(count), entry});
  };
  if (CharacterOrder() != nullptr) {
    // The entries in their own order, whose spellings lie in that order too.
    const std::vector<std::uint32_t> counts = CountsByEntry();
    ranked.reserve(entries_.size());
    for (std::uint32_t entry = 0; entry < counts.size(); ++entry) take(entry, counts[entry]);
  } else {
    for (const Line& line : MergedLines()) take(line.spelling_entry, line.count);
  }
  std::sort(ranked.begin(), ranked.end(), [this](const Ranked& a, const Ranked& b) {
    if (a.freq != b.freq) return a.freq > b.freq;
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return Compare2Strings(Spelling(a.entry), Spelling(b.entry)) < 0;
  });
  return ranked;
}

std::unique_ptr<TStringList> TWordFrequencyTable::ToStringList(bool sort_by_freq, std::int64_t min_freq,
                                                               int top) const {
  auto list = std::make_unique<TStringList>();
  list->BeginUpdate();
  const auto kept = [top](std::size_t lines) {
    return top > 0 ? std::min(lines, static_cast<std::size_t>(top)) : lines;
  };
  if (sort_by_freq) {
    const std::vector<Ranked> ranked = RankedByFrequency(min_freq);
    list->SetCapacity(static_cast<int>(kept(ranked.size())));
    for (std::size_t k = 0; k < kept(ranked.size()); ++k)
      list->AddObject(UnicodeString(Spelling(ranked[k].entry)), TObjectRef::FromInt(ranked[k].freq));
  } else {
    const AsciiCollation* order = CharacterOrder();
    std::vector<Line> lines = order != nullptr ? LinesInCharacterOrder(*order) : MergedLines();
    std::erase_if(lines, [min_freq](const Line& line) { return line.count < min_freq; });
    lines.resize(kept(lines.size()));
    list->SetCapacity(static_cast<int>(lines.size()));
    for (const Line& line : lines)
      list->AddObject(UnicodeString(Spelling(line.spelling_entry)), TObjectRef::FromInt(ClampedFrequency(line.count)));
    // The lines stand in the list's own order (case-insensitive, by the same
    // comparison), each strictly after the one before.
    list->AdoptAsSorted();
  }
  list->EndUpdate();
  return list;
}

}  // namespace quill
