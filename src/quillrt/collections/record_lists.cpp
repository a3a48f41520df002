#include "quillrt/collections/record_lists.h"

#include <algorithm>
#include <cstdint>

#include "quillrt/collections/comparisons.h"
#include "quillrt/process/yield.h"

namespace quill {

// ---- TWordFreqAndSourceNumList ---------------------------------------------------

TWordFreqAndSourceNumList::TWordFreqAndSourceNumList()
    : TUsefulBaseListSorts(EntriesClassOf<TWordFreqAndSourceNumHolder>()) {}
TWordFreqAndSourceNumList::~TWordFreqAndSourceNumList() = default;

int TWordFreqAndSourceNumList::AddOne(const TWordFreqAndSourceNum& rec) {
  return Add(std::make_unique<TWordFreqAndSourceNumHolder>(rec));
}

TWordFreqAndSourceNum TWordFreqAndSourceNumList::GetOne(int index) const {
  const auto* entry = EntryAs<TWordFreqAndSourceNumHolder>(index);
  return entry ? entry->data : TWordFreqAndSourceNum{};
}

TWordFreqAndSourceNum TWordFreqAndSourceNumList::GetNext() {
  TWordFreqAndSourceNum result = GetOne(this_);
  if (this_ < INT32_MAX) ++this_;
  return result;
}

std::int32_t TWordFreqAndSourceNumList::HighestFrequency() const {
  std::int32_t highest = 0;
  for (int i = 0; i < Count(); ++i)
    if (const auto* entry = EntryAs<TWordFreqAndSourceNumHolder>(i)) highest = std::max(highest, entry->data.f);
  return highest;
}

void TWordFreqAndSourceNumList::SortOnFreqs() {
  SortEntries([](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
    return CompareLongints(static_cast<const TWordFreqAndSourceNumHolder*>(b)->data.f,
                           static_cast<const TWordFreqAndSourceNumHolder*>(a)->data.f);
  });
  sorted = true;
}

void TWordFreqAndSourceNumList::Clear() {
  TUsefulBaseListSorts::Clear();
  this_ = 0;
}

// ---- TIntegerAnd3CardinalsList ---------------------------------------------------

TIntegerAnd3CardinalsList::TIntegerAnd3CardinalsList()
    : TUsefulBaseList(EntriesClassOf<TIntegerAnd3CardinalsHolder>()) {}
TIntegerAnd3CardinalsList::~TIntegerAnd3CardinalsList() = default;

int TIntegerAnd3CardinalsList::AddOne(const TIntegerAnd3CardinalsRec& aData) {
  return Add(std::make_unique<TIntegerAnd3CardinalsHolder>(aData));
}

void TIntegerAnd3CardinalsList::GetAValue(int index, TIntegerAnd3CardinalsRec& out) const {
  if (const auto* entry = EntryAs<TIntegerAnd3CardinalsHolder>(index)) out = entry->data;
}

void TIntegerAnd3CardinalsList::SetAFreq(int index, std::int32_t value) {
  if (auto* entry = EntryAs<TIntegerAnd3CardinalsHolder>(index)) entry->data.freq = value;
}

void TIntegerAnd3CardinalsList::SortAscendingDefault() { SortEntries(SortIntegerAnd3CardinalsFreq); }

// ---- TStringColumnAndColourList --------------------------------------------------

TStringColumnAndColourList::TStringColumnAndColourList()
    : TUsefulBaseList(EntriesClassOf<TStringColumnAndColourHolder>()) {}
TStringColumnAndColourList::~TStringColumnAndColourList() = default;

int TStringColumnAndColourList::AddOne(const TStringColumnAndColourRec& rec) {
  return Add(std::make_unique<TStringColumnAndColourHolder>(rec));
}

UnicodeString TStringColumnAndColourList::GetAString(int index) const {
  const auto* entry = EntryAs<TStringColumnAndColourHolder>(index);
  return entry ? entry->data.s : UnicodeString();
}

std::int32_t TStringColumnAndColourList::GetAColumn(int index) const {
  const auto* entry = EntryAs<TStringColumnAndColourHolder>(index);
  return entry ? entry->data.column_number : -1;
}

std::int32_t TStringColumnAndColourList::GetABackgroundColour(int index) const {
  const auto* entry = EntryAs<TStringColumnAndColourHolder>(index);
  return entry ? entry->data.background_colour : -1;
}

TStringColumnAndColourRec TStringColumnAndColourList::GetAStringColumnAndColour(int index) const {
  const auto* entry = EntryAs<TStringColumnAndColourHolder>(index);
  return entry ? entry->data : TStringColumnAndColourRec{};
}

void TStringColumnAndColourList::SetAString(int index, const UnicodeString& s) {
  if (auto* entry = EntryAs<TStringColumnAndColourHolder>(index)) entry->data.s = s;
}

void TStringColumnAndColourList::SetAColumn(int index, std::int32_t column) {
  if (auto* entry = EntryAs<TStringColumnAndColourHolder>(index)) entry->data.column_number = column;
}

void TStringColumnAndColourList::SetABackgroundColour(int index, std::int32_t colour) {
  if (auto* entry = EntryAs<TStringColumnAndColourHolder>(index)) entry->data.background_colour = colour;
}

void TStringColumnAndColourList::SetAStringColumnAndColour(int index, const TStringColumnAndColourRec& rec) {
  if (auto* entry = EntryAs<TStringColumnAndColourHolder>(index)) entry->data = rec;
}

// ---- T2StringsAnd2IntegersList ---------------------------------------------------

T2StringsAnd2IntegersList::T2StringsAnd2IntegersList()
    : TUsefulBaseList(EntriesClassOf<T2StringsAnd2IntegersHolder>()) {}
T2StringsAnd2IntegersList::~T2StringsAnd2IntegersList() = default;

int T2StringsAnd2IntegersList::AddOne(const T2StringsAnd2IntegersRec& rec) {
  return Add(std::make_unique<T2StringsAnd2IntegersHolder>(rec));
}

T2StringsAnd2IntegersRec T2StringsAnd2IntegersList::GetTwoStringsAndInt(int index) const {
  const auto* entry = EntryAs<T2StringsAnd2IntegersHolder>(index);
  return entry ? entry->data : T2StringsAnd2IntegersRec{};
}

// ---- TDoublePointerList ----------------------------------------------------------

TDoublePointerList::TDoublePointerList() : TUsefulBaseList(EntriesClassOf<TDoublePointerHolder>()) {}
TDoublePointerList::~TDoublePointerList() = default;

int TDoublePointerList::AddOne(const T2_Pointer& pointers) {
  return Add(std::make_unique<TDoublePointerHolder>(pointers));
}

void TDoublePointerList::GetADoublePointer(int index, T2_Pointer& out) const {
  if (const auto* entry = EntryAs<TDoublePointerHolder>(index)) out = entry->data;
}

void TDoublePointerList::SetADoublePointer(int index, const T2_Pointer& pointers) {
  if (auto* entry = EntryAs<TDoublePointerHolder>(index)) entry->data = pointers;
}

// ---- TSmallintList ---------------------------------------------------------------

TSmallintList::TSmallintList() = default;
TSmallintList::~TSmallintList() = default;

int TSmallintList::AddOne(std::int16_t value) {
  Add(std::make_unique<TSmallIntHolder>(value));
  return Count() - 1;
}

std::int16_t TSmallintList::GetAValue(int index) const {
  if (index < 0 || index >= Count()) return 0;
  const TSmallIntHolder* entry = Get(index);
  return entry ? entry->data : 0;
}

bool TSmallintList::ReadFromStream(std::int32_t n, TStream& stream) {
  const auto count = static_cast<std::int16_t>(static_cast<std::uint16_t>(n & 0xFFFF));
  try {
    for (int i = 0; i < count; ++i) {
      MyYieldProcess();
      std::int16_t value = 0;
      if (!stream.TryReadLE(value)) return false;
      AddOne(value);
    }
  } catch (const Exception&) {
    return false;
  }
  return true;
}

bool TSmallintList::SaveToStream(TStream& stream) const {
  try {
    for (int i = 0; i < Count(); ++i) {
      MyYieldProcess();
      const TSmallIntHolder* entry = Get(i);
      if (!stream.TryWriteLE<std::int16_t>(entry ? entry->data : 0)) return false;
    }
  } catch (const Exception&) {
    return false;
  }
  return true;
}

void TSmallintList::Clear() {
  for (int i = 0; i < Count(); ++i) {
    MyYieldProcess();
    FreeAt(i);
  }
  TObjectList<TSmallIntHolder>::Clear();
}

}  // namespace quill
