#include "quillrt/collections/useful_base_list.h"

#include "quillrt/framework/lists.h"

namespace quill {

std::int32_t global_list_count_safety_limit = 134217727;

// ---- TUsefulBaseListObject -------------------------------------------------------

TUsefulBaseListObject::~TUsefulBaseListObject() = default;

bool TUsefulBaseListObject::ReadFromStream(TStream&) { return true; }

bool TUsefulBaseListObject::SaveToStream(TStream&) const { return true; }

// ---- TUsefulBaseList -------------------------------------------------------------

TUsefulBaseList::TUsefulBaseList(TUsefulBaseListObjectClass entries_class) : fEntriesClass(entries_class) {
  if (!fEntriesClass.create || !fEntriesClass.is_instance)
    throw EInvalidCast(std::string_view("A typed list needs an entry class"));
}

TUsefulBaseList::~TUsefulBaseList() = default;

void TUsefulBaseList::SetCapacity(int capacity) {
  if (capacity > Count()) items_.reserve(static_cast<std::size_t>(capacity));
}

TUsefulBaseListObject* TUsefulBaseList::Items(int index) const {
  if (index < 0 || index >= Count()) detail::ListIndexError(index);
  return items_[static_cast<std::size_t>(index)].get();
}

void TUsefulBaseList::CheckClass(const TUsefulBaseListObject* entry) const {
  if (entry != nullptr && !fEntriesClass.is_instance(entry))
    throw EInvalidCast(std::string_view("Invalid class typecast: the entry is not of the list's entry class"));
}

int TUsefulBaseList::Add(std::unique_ptr<TUsefulBaseListObject> entry) {
  CheckClass(entry.get());
  items_.push_back(std::move(entry));
  return Count() - 1;
}

void TUsefulBaseList::Insert(int index, std::unique_ptr<TUsefulBaseListObject> entry) {
  if (index < 0 || index > Count()) detail::ListIndexError(index);
  CheckClass(entry.get());
  items_.insert(items_.begin() + index, std::move(entry));
}

void TUsefulBaseList::Delete(int index) {
  if (index < 0 || index >= Count()) detail::ListIndexError(index);
  if (AnInstance == items_[static_cast<std::size_t>(index)].get()) AnInstance = nullptr;
  items_.erase(items_.begin() + index);
}

void TUsefulBaseList::Exchange(int index1, int index2) {
  if (index1 < 0 || index1 >= Count()) detail::ListIndexError(index1);
  if (index2 < 0 || index2 >= Count()) detail::ListIndexError(index2);
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

void TUsefulBaseList::Pack() {
  std::erase_if(items_, [](const auto& slot) { return slot == nullptr; });
}

int TUsefulBaseList::AssignedCount() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const auto& slot) { return slot != nullptr; }));
}

bool TUsefulBaseList::IndexAssignedOK(int index) const {
  return index >= 0 && index < Count() && items_[static_cast<std::size_t>(index)] != nullptr;
}

int TUsefulBaseList::ComparedValues(int, int) const { return -1; }

void TUsefulBaseList::FreeOne(int index) {
  if (!IndexAssignedOK(index)) return;
  auto& slot = items_[static_cast<std::size_t>(index)];
  if (AnInstance == slot.get()) AnInstance = nullptr;
  slot.reset();
}

void TUsefulBaseList::Clear() {
  for (int i = 0; i < Count(); ++i) FreeOne(i);
  items_.clear();
  AnInstance = nullptr;
}

bool TUsefulBaseList::LoadTheInstances(TStream& stream, int n) {
  if (n == 0) return true;
  if (n < 0 || n > global_list_count_safety_limit) return false;
  for (int i = 0; i < n; ++i) {
    MyYieldProcess();
    auto entry = fEntriesClass.create();
    if (!entry->ReadFromStream(stream)) return false;
    AnInstance = entry.get();
    items_.push_back(std::move(entry));
  }
  return true;
}

bool TUsefulBaseList::SaveTheInstances(TStream& stream, int n) {
  if (n < 1) return true;
  if (n > Count()) return false;
  for (int i = 0; i < n; ++i) {
    MyYieldProcess();
    const TUsefulBaseListObject* entry = items_[static_cast<std::size_t>(i)].get();
    if (entry == nullptr) continue;
    CheckClass(entry);
    AnInstance = items_[static_cast<std::size_t>(i)].get();
    if (!entry->SaveToStream(stream)) return false;
  }
  return true;
}

bool TUsefulBaseList::ReadFromStream(TStream& stream) {
  std::int32_t count = 0;
  if (!stream.TryReadLE(count)) return false;
  return LoadTheInstances(stream, count);
}

bool TUsefulBaseList::SaveToStream(TStream& stream) {
  // Empty slots hold nothing and are not written, so the count is of entries.
  if (!stream.TryWriteLE(static_cast<std::int32_t>(AssignedCount()))) return false;
  return SaveTheInstances(stream, Count());
}

bool TUsefulBaseList::LoadFromFile(const UnicodeString& file_name) {
  TFileStream file(file_name, fmOpenRead | fmShareDenyNone);
  return ReadFromStream(file);
}

bool TUsefulBaseList::SaveToFile(const UnicodeString& file_name) {
  return WriteFileAtomically(file_name, [this](TStream& file) { return SaveToStream(file); });
}

// ---- TUsefulBaseListSorts --------------------------------------------------------

TUsefulBaseListSorts::TUsefulBaseListSorts(TUsefulBaseListObjectClass entries_class)
    : TUsefulBaseList(entries_class) {}

TUsefulBaseListSorts::~TUsefulBaseListSorts() = default;

void TUsefulBaseListSorts::Clear() {
  TUsefulBaseList::Clear();
  sorted = false;
}

bool TUsefulBaseListSorts::ReadFromStream(TStream& stream) {
  std::int32_t count = 0;
  std::uint8_t stored_sorted = 0;
  if (!stream.TryReadLE(count) || !stream.TryReadLE(stored_sorted)) return false;
  if (stored_sorted > 1) return false;

  const int before = Count();
  const bool ok = LoadTheInstances(stream, count);
  if (before == 0) sorted = stored_sorted == 1;
  else if (Count() > before) sorted = sorted && stored_sorted == 1;
  // A flag is only a claim: make sure the order it promises to binary search
  // holds (a damaged stream, or entries appended to a list, may break it).
  if (sorted && !InSearchOrder(before == 0 ? 0 : before - 1)) sorted = false;
  return ok;
}

bool TUsefulBaseListSorts::SaveToStream(TStream& stream) {
  if (!stream.TryWriteLE(static_cast<std::int32_t>(AssignedCount()))) return false;
  if (!stream.TryWriteLE(static_cast<std::uint8_t>(sorted ? 1 : 0))) return false;
  return SaveTheInstances(stream, Count());
}

void TUsefulBaseListSorts::Sort(const TListSortCompare& compare) {
  SortEntries(compare);
  sorted = true;
}

void TUsefulBaseListSorts::ReverseTheSort() {
  if (Count() >= 2) std::reverse(items_.begin(), items_.end());
}

void TUsefulBaseListSorts::RemoveDuplicates() {
  const int count = Count();
  int a = 0;
  while (a < count) {
    MyYieldProcess();
    int last = a;
    while (last + 1 < count && ComparedValues(a, last + 1) == 0) ++last;
    for (int j = a + 1; j <= last; ++j) FreeOne(j);
    a = last + 1;
  }
  Pack();
}

bool TUsefulBaseListSorts::InSearchOrder(int from) const {
  int previous = -1;
  for (int i = std::max(from, 0); i < Count(); ++i) {
    if (!IndexAssignedOK(i)) continue;
    if (previous >= 0 && ComparedForSearch(previous, i) > 0) return false;
    previous = i;
  }
  return true;
}

void TUsefulBaseListSorts::CheckOrderAt(int index) {
  if (!sorted || !IndexAssignedOK(index)) return;
  // Neighbours may be empty slots; compare with the nearest entries instead.
  int before = index - 1;
  while (before >= 0 && !IndexAssignedOK(before)) --before;
  int after = index + 1;
  while (after < Count() && !IndexAssignedOK(after)) ++after;
  if ((before >= 0 && ComparedForSearch(before, index) > 0) ||
      (after < Count() && ComparedForSearch(index, after) > 0))
    sorted = false;
}

int TUsefulBaseListSorts::AppendEntry(std::unique_ptr<TUsefulBaseListObject> entry) {
  const int index = Add(std::move(entry));
  CheckOrderAt(index);
  return index;
}

}  // namespace quill
