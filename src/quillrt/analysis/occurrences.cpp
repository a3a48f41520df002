#include "quillrt/analysis/occurrences.h"

#include <vector>

#include "quillrt/analysis/word_chars.h"
#include "quillrt/collections/comparisons.h"

namespace quill {
namespace {

UnicodeString Folded(const UnicodeString& text) {
  UnicodeString key;
  key.reserve(text.size());
  word_chars::AppendFolded(text, key);
  return key;
}

}  // namespace

TListOfOccurrences::~TListOfOccurrences() = default;

TStringlistWithListOfOccurrences::~TStringlistWithListOfOccurrences() = default;

void TStringlistWithListOfOccurrences::Changing() {
  if (!appending_) {
    index_valid_ = false;
    line_index_.clear();
  }
  TOwningIndexCheckStringlist<TListOfOccurrences>::Changing();
}

int TStringlistWithListOfOccurrences::FindLine(const UnicodeString& text) {
  if (!index_valid_) {
    line_index_.clear();
    // The first of equal lines is the one found, as a scan would find it.
    for (int i = 0; i < Count(); ++i) line_index_.emplace(Folded((*this)[i]), i);
    index_valid_ = true;
  }
  const auto found = line_index_.find(Folded(text));
  return found == line_index_.end() ? -1 : found->second;
}

int TStringlistWithListOfOccurrences::AddOrIncOneByFreq(const UnicodeString& text, std::int32_t file_number,
                                                        std::int32_t freq) {
  int index = FindLine(text);
  if (index < 0) {
    appending_ = true;
    try {
      index = AddObject(text, std::make_unique<TListOfOccurrences>());
    } catch (...) {
      appending_ = false;
      throw;
    }
    appending_ = false;
    if (index == Count() - 1)
      line_index_.emplace(Folded(text), index);
    else
      index_valid_ = false;  // a sorted list put it elsewhere: indexes moved
  }
  TListOfOccurrences* occurrences = GetObject(index);
  if (occurrences == nullptr) {
    // A line put in by other means has no list yet.
    PutObject(index, std::make_unique<TListOfOccurrences>());
    occurrences = GetObject(index);
  }
  const int record = occurrences->LongIndexOf(file_number, t2_long0);
  if (record < 0)
    occurrences->AddOne({file_number, freq});
  else
    occurrences->AddToOneFreq(record, freq, t2_long1);
  return index;
}

TListOfOccurrences* TStringlistWithListOfOccurrences::GetAListOfOccurrences(int index) const {
  return HolderAt(index);
}

int TStringlistWithListOfOccurrences::Repeateds() const {
  int repeated = 0;
  for (int i = 0; i < Count(); ++i) {
    const TListOfOccurrences* occurrences = GetObject(i);
    if (occurrences != nullptr && occurrences->Count() > 1) ++repeated;
  }
  return repeated;
}

void TStringlistWithListOfOccurrences::Clear() {
  for (int i = Count() - 1; i >= 0; --i) Delete(i);
  TOwningIndexCheckStringlist<TListOfOccurrences>::Clear();
}

void TStringlistWithListOfOccurrences::SortByKeys(const std::vector<std::int64_t>& keys, bool ascending) {
  SetSorted(false);
  CustomSort([&keys, ascending](TStringListOf<std::unique_ptr<TListOfOccurrences>>& list, int a, int b) {
    const std::int64_t ka = keys[static_cast<std::size_t>(a)], kb = keys[static_cast<std::size_t>(b)];
    if (ka != kb) return (ka < kb) == ascending ? -1 : 1;
    return Compare2Strings(list[b], list[a]);
  });
}

void TStringlistWithListOfOccurrences::SortAllOccurrencesFileAscending() {
  std::vector<std::int64_t> keys(static_cast<std::size_t>(Count()), -1);
  for (int i = 0; i < Count(); ++i) {
    if (const TListOfOccurrences* occurrences = GetObject(i); occurrences != nullptr && occurrences->Count() > 0) {
      T2_longint_rec first;
      occurrences->GetADouble(0, first);
      keys[static_cast<std::size_t>(i)] = first.long0;
    }
  }
  SortByKeys(keys, true);
}

void TStringlistWithListOfOccurrences::SortAllOccurrencesFreqDescending() {
  std::vector<std::int64_t> keys(static_cast<std::size_t>(Count()), 0);
  for (int i = 0; i < Count(); ++i) {
    const TListOfOccurrences* occurrences = GetObject(i);
    if (occurrences == nullptr) continue;
    std::int64_t sum = 0;
    for (int r = 0; r < occurrences->Count(); ++r) {
      T2_longint_rec rec;
      occurrences->GetADouble(r, rec);
      sum += rec.long1;
    }
    keys[static_cast<std::size_t>(i)] = sum;
  }
  SortByKeys(keys, false);
}

}  // namespace quill
