#include "quillrt/collections/integer_lists.h"

#include "quillrt/collections/comparisons.h"
#include "quillrt/process/yield.h"

namespace quill {

namespace {

// First index whose entry satisfies `matches`, by a linear scan that yields on
// every step; -1 when none does.
template <class List, class Matches>
int LinearIndexOf(const List& list, Matches matches) {
  for (int i = 0; i < list.Count(); ++i) {
    MyYieldProcess();
    if (list.IndexAssignedOK(i) && matches(i)) return i;
  }
  return -1;
}

}  // namespace

// ---- TQYLongintList ------------------------------------------------------------

TQYLongintList::TQYLongintList() : TUsefulBaseListSorts(EntriesClassOf<TLongIntHolder>()) {}
TQYLongintList::~TQYLongintList() = default;

int TQYLongintList::AddOne(std::int32_t value) {
  return OrderedInsert(std::make_unique<TLongIntHolder>(value),
                       [&](int i) { return CompareLongints(EntryRef<TLongIntHolder>(i).data, value); });
}

void TQYLongintList::InsertOne(int where, std::int32_t value) {
  Insert(where, std::make_unique<TLongIntHolder>(value));
  CheckOrderAt(where);
}

int TQYLongintList::Find(std::int32_t value) {
  return BinarySearch([&](int i) { return CompareLongints(EntryRef<TLongIntHolder>(i).data, value); }, true);
}

int TQYLongintList::IndexOf(std::int32_t item) {
  if (sorted) return Find(item);
  return LinearIndexOf(*this, [&](int i) { return EntryRef<TLongIntHolder>(i).data == item; });
}

void TQYLongintList::FindAndFree(std::int32_t value) {
  const int index = Find(value);
  if (index >= 0) Delete(index);
}

std::int32_t TQYLongintList::GetAValue(int index) const {
  const auto* entry = EntryAs<TLongIntHolder>(index);
  return entry ? entry->data : -1;
}

int TQYLongintList::ComparedValues(int a, int b) const {
  if (!IndexAssignedOK(a) || !IndexAssignedOK(b)) return -1;
  return CompareLongints(EntryRef<TLongIntHolder>(a).data, EntryRef<TLongIntHolder>(b).data);
}

void TQYLongintList::SortAscendingDefault() {
  SortEntries([](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
    return CompareLongints(static_cast<const TLongIntHolder*>(a)->data, static_cast<const TLongIntHolder*>(b)->data);
  });
  sorted = true;
}

// ---- TCardinalList ---------------------------------------------------------------

TCardinalList::TCardinalList() : TUsefulBaseListSorts(EntriesClassOf<TCardinalHolder>()) {}
TCardinalList::~TCardinalList() = default;

int TCardinalList::AddOne(std::uint32_t value) { return AppendEntry(std::make_unique<TCardinalHolder>(value)); }

void TCardinalList::InsertOne(int where, std::uint32_t value) {
  Insert(where, std::make_unique<TCardinalHolder>(value));
  CheckOrderAt(where);
}

int TCardinalList::Find(std::uint32_t value) {
  return BinarySearch([&](int i) { return CompareCardinals(EntryRef<TCardinalHolder>(i).data, value); }, false);
}

int TCardinalList::IndexOf(std::uint32_t item) {
  if (sorted) return Find(item);
  return LinearIndexOf(*this, [&](int i) { return EntryRef<TCardinalHolder>(i).data == item; });
}

std::uint32_t TCardinalList::GetAValue(int index) const {
  const auto* entry = EntryAs<TCardinalHolder>(index);
  return entry ? entry->data : 0;
}

int TCardinalList::ComparedValues(int a, int b) const {
  if (!IndexAssignedOK(a) || !IndexAssignedOK(b)) return -1;
  return CompareCardinals(EntryRef<TCardinalHolder>(a).data, EntryRef<TCardinalHolder>(b).data);
}

void TCardinalList::SortAscendingDefault() {
  SortEntries([](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
    return CompareCardinals(static_cast<const TCardinalHolder*>(a)->data, static_cast<const TCardinalHolder*>(b)->data);
  });
  sorted = true;
}

// ---- TQYInt64List ----------------------------------------------------------------

TQYInt64List::TQYInt64List() : TUsefulBaseListSorts(EntriesClassOf<TInt64Holder>()) {}
TQYInt64List::~TQYInt64List() = default;

int TQYInt64List::AddOne(std::int64_t value) {
  return OrderedInsert(std::make_unique<TInt64Holder>(value),
                       [&](int i) { return CompareInt64s(EntryRef<TInt64Holder>(i).data, value); });
}

int TQYInt64List::FindInSorted(std::int64_t value) {
  return BinarySearch([&](int i) { return CompareInt64s(EntryRef<TInt64Holder>(i).data, value); }, true);
}

int TQYInt64List::IndexOf(std::int64_t item) {
  if (sorted) return FindInSorted(item);
  return LinearIndexOf(*this, [&](int i) { return EntryRef<TInt64Holder>(i).data == item; });
}

std::int64_t TQYInt64List::GetAValue(int index) const {
  const auto* entry = EntryAs<TInt64Holder>(index);
  return entry ? entry->data : -1;
}

int TQYInt64List::ComparedValues(int a, int b) const {
  if (!IndexAssignedOK(a) || !IndexAssignedOK(b)) return -1;
  return CompareInt64s(EntryRef<TInt64Holder>(a).data, EntryRef<TInt64Holder>(b).data);
}

void TQYInt64List::SortAscendingDefault() {
  SortEntries([](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
    return CompareInt64s(static_cast<const TInt64Holder*>(a)->data, static_cast<const TInt64Holder*>(b)->data);
  });
  sorted = true;
}

// ---- TIntegerAndSingleList -------------------------------------------------------

TIntegerAndSingleList::TIntegerAndSingleList() : TUsefulBaseListSorts(EntriesClassOf<TIntegerAndSingleHolder>()) {}
TIntegerAndSingleList::~TIntegerAndSingleList() = default;

int TIntegerAndSingleList::AddOne(const TIntegerAndSingleRec& aData) {
  return AppendEntry(std::make_unique<TIntegerAndSingleHolder>(aData));
}

int TIntegerAndSingleList::Find(float value) {
  return BinarySearch([&](int i) { return CompareSingles(EntryRef<TIntegerAndSingleHolder>(i).data.s, value); },
                      false);
}

void TIntegerAndSingleList::GetOne(int index, TIntegerAndSingleRec& out) const {
  const auto* entry = EntryAs<TIntegerAndSingleHolder>(index);
  out = entry ? entry->data : TIntegerAndSingleRec{};
}

void TIntegerAndSingleList::SortAscendingDefault() {
  SortEntries(SortSingles);
  sorted = true;
}

int TIntegerAndSingleList::ComparedForSearch(int a, int b) const {
  return CompareSingles(EntryRef<TIntegerAndSingleHolder>(a).data.s, EntryRef<TIntegerAndSingleHolder>(b).data.s);
}

// ---- TCardinalAndFreqList --------------------------------------------------------

TCardinalAndFreqList::TCardinalAndFreqList() : TUsefulBaseListSorts(EntriesClassOf<TCardinalAndFreqHolder>()) {}
TCardinalAndFreqList::~TCardinalAndFreqList() = default;

int TCardinalAndFreqList::AddOne(const TCardinalAndFreq& rec) {
  return AppendEntry(std::make_unique<TCardinalAndFreqHolder>(rec));
}

int TCardinalAndFreqList::AddOneOrIncFreq(const TCardinalAndFreq& rec) {
  const int found = IndexOf(rec.c);
  if (found >= 0) {
    auto& f = EntryRef<TCardinalAndFreqHolder>(found).data.f;
    f = static_cast<std::int32_t>(static_cast<std::uint32_t>(f) + 1u);  // wraps like the 32-bit counter it is
    return found;
  }
  return OrderedInsert(std::make_unique<TCardinalAndFreqHolder>(rec),
                       [&](int i) { return CompareCardinals(EntryRef<TCardinalAndFreqHolder>(i).data.c, rec.c); });
}

int TCardinalAndFreqList::Find(std::uint32_t c) {
  return BinarySearch([&](int i) { return CompareCardinals(EntryRef<TCardinalAndFreqHolder>(i).data.c, c); }, true,
                      Count() - 1);
}

int TCardinalAndFreqList::IndexOf(std::uint32_t c) {
  if (sorted) return Find(c);
  return LinearIndexOf(*this, [&](int i) { return EntryRef<TCardinalAndFreqHolder>(i).data.c == c; });
}

void TCardinalAndFreqList::GetACardAndFreq(int index, TCardinalAndFreq& out) const {
  const auto* entry = EntryAs<TCardinalAndFreqHolder>(index);
  out = entry ? entry->data : TCardinalAndFreq{};
}

void TCardinalAndFreqList::SetACardAndFreq(int index, const TCardinalAndFreq& rec) {
  auto* entry = EntryAs<TCardinalAndFreqHolder>(index);
  if (entry == nullptr) return;
  entry->data = rec;
  CheckOrderAt(index);
}

void TCardinalAndFreqList::SortOnCardinals() {
  SortEntries([](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
    return CompareCardinals(static_cast<const TCardinalAndFreqHolder*>(a)->data.c,
                            static_cast<const TCardinalAndFreqHolder*>(b)->data.c);
  });
  sorted = true;
}

void TCardinalAndFreqList::SortOnFrequencies(bool descending) {
  SortEntries([descending](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
    const int order = CompareLongints(static_cast<const TCardinalAndFreqHolder*>(a)->data.f,
                                      static_cast<const TCardinalAndFreqHolder*>(b)->data.f);
    return descending ? -order : order;
  });
  sorted = false;
}

int TCardinalAndFreqList::ComparedForSearch(int a, int b) const {
  return CompareCardinals(EntryRef<TCardinalAndFreqHolder>(a).data.c, EntryRef<TCardinalAndFreqHolder>(b).data.c);
}

}  // namespace quill
