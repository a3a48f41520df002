#include "quillrt/analysis/word_frequency_table.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>

#include "quillrt/analysis/word_chars.h"
#include "quillrt/collections/comparisons.h"
#include "quillrt/framework/locale_text.h"

namespace quill {
namespace {

// A fast hash of UTF-16 units, four at a time.
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
  return h ^ (h >> 32);
}

std::uint32_t Offset(std::size_t at) {
  if (at > UINT32_MAX) throw std::length_error("word list too large");
  return static_cast<std::uint32_t>(at);
}

std::int32_t ClampedFrequency(std::int64_t count) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
}

}  // namespace

TWordFrequencyTable::TWordFrequencyTable() { slots_.resize(1024); }
TWordFrequencyTable::~TWordFrequencyTable() = default;

void TWordFrequencyTable::Clear() {
  entries_.clear();
  slots_.assign(1024, Slot{});
  keys_.clear();
  spellings_.clear();
  total_ = 0;
}

bool TWordFrequencyTable::Add(std::u16string_view spelling, std::int64_t count) {
  scratch_.clear();
  word_chars::AppendFolded(spelling, scratch_);
  return AddFolded(scratch_, spelling, count);
}

bool TWordFrequencyTable::AddFolded(std::u16string_view folded, std::u16string_view spelling, std::int64_t count) {
  total_ += count;
  const std::uint64_t hash = HashUnits(folded);
  const std::uint32_t low = static_cast<std::uint32_t>(hash);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = static_cast<std::size_t>(hash >> 20) & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.entry_plus_one == 0) {
      entries_.push_back({hash, Offset(keys_.size()), Offset(folded.size()), Offset(spellings_.size()),
                          Offset(spelling.size()), count});
      keys_.append(folded);
      spellings_.append(spelling);
      slot = {static_cast<std::uint32_t>(entries_.size()), low};
      if (entries_.size() * 2 > slots_.size()) Grow();
      return true;
    }
    if (slot.hash_low == low) {
      Entry& entry = entries_[slot.entry_plus_one - 1];
      if (entry.hash == hash && Key(entry) == folded) {
        entry.count += count;
        return false;
      }
    }
  }
}

void TWordFrequencyTable::Grow() {
  std::vector<Slot> bigger(slots_.size() * 2);
  const std::size_t mask = bigger.size() - 1;
  for (std::size_t e = 0; e < entries_.size(); ++e) {
    const std::uint64_t hash = entries_[e].hash;
    std::size_t i = static_cast<std::size_t>(hash >> 20) & mask;
    while (bigger[i].entry_plus_one != 0) i = (i + 1) & mask;
    bigger[i] = {static_cast<std::uint32_t>(e + 1), static_cast<std::uint32_t>(hash)};
  }
  slots_.swap(bigger);
}

void TWordFrequencyTable::AddList(const TStringList& list) {
  for (int i = 0; i < list.Count(); ++i) Add(list[i], list.GetObject(i).AsInt());
}

// Entries in the locale's case-insensitive order. Spellings that the order
// calls equal without folding alike (canonically equivalent letters, for
// instance) stand next to each other then, and become one line spelled as the
// first met of them: exactly what a sorted list filled one word at a time holds.
std::vector<TWordFrequencyTable::Line> TWordFrequencyTable::MergedLines() const {
  std::vector<std::uint32_t> order(entries_.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
    const int c = AnsiCompareText(Spelling(entries_[a]), Spelling(entries_[b]));
    return c != 0 ? c < 0 : a < b;
  });
  std::vector<Line> lines;
  lines.reserve(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    const std::uint32_t e = order[k];
    if (!lines.empty() &&
        AnsiCompareText(Spelling(entries_[lines.back().spelling_entry]), Spelling(entries_[e])) == 0) {
      // Members of a group arrive in the order first met: the line keeps its spelling.
      lines.back().count += entries_[e].count;
      continue;
    }
    lines.push_back({e, entries_[e].count});
  }
  return lines;
}

std::unique_ptr<TStringList> TWordFrequencyTable::ToStringList(bool sort_by_freq, std::int64_t min_freq,
                                                               int top) const {
  std::vector<Line> lines = MergedLines();
  std::erase_if(lines, [min_freq](const Line& line) { return line.count < min_freq; });
  if (sort_by_freq) {
    std::sort(lines.begin(), lines.end(), [this](const Line& a, const Line& b) {
      const std::int32_t fa = ClampedFrequency(a.count), fb = ClampedFrequency(b.count);
      if (fa != fb) return fa > fb;
      return Compare2Strings(Spelling(entries_[a.spelling_entry]), Spelling(entries_[b.spelling_entry])) < 0;
    });
  }
  if (top > 0 && lines.size() > static_cast<std::size_t>(top)) lines.resize(static_cast<std::size_t>(top));

  auto list = std::make_unique<TStringList>();
  list->BeginUpdate();
  list->SetCapacity(static_cast<int>(lines.size()));
  for (const Line& line : lines)
    list->AddObject(UnicodeString(Spelling(entries_[line.spelling_entry])),
                    TObjectRef::FromInt(ClampedFrequency(line.count)));
  // Already in the list's own order, so this costs one comparison a line.
  if (!sort_by_freq) list->SetSorted(true);
  list->EndUpdate();
  return list;
}

}  // namespace quill
