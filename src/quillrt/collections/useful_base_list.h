#pragma once
// The typed list base: an owning list of entry objects of one entry class, with
// a binary stream format of its own and the sorting helpers the numeric lists
// build on.
//
// Stream formats
//   TUsefulBaseList       int32 count C, then C entry records
//   TUsefulBaseListSorts  int32 count C, one byte `sorted` (0 or 1), then C entries
// Each entry record is whatever the entry class's SaveToStream writes.
//
// Reading damaged streams. A read never invents entries and never silently
// drops what it could read:
//   - a count or sorted byte that does not arrive whole: false, list unchanged;
//   - a negative count, or one above global_list_count_safety_limit: false, list
//     unchanged (no entry is created);
//   - a sorted byte other than 0 or 1: false, list unchanged (the stream is not
//     a list of this kind, or is out of step);
//   - a stream that ends inside an entry, or an entry that reports a failed read:
//     false; the entries read whole before it stay in the list, appended, and the
//     failed entry is discarded. Later entries are not created.
//   - an entry class whose reader raises (a string count over its limit) lets the
//     exception through; the list again holds exactly the entries read whole.
// Reading appends to what the list holds. `sorted` takes the stored flag when the
// list was empty; appended to existing entries it stays true only if the list was
// sorted too. Either way it is set only if the entries really stand in the order
// binary search relies on (a damaged or foreign stream may claim otherwise).
//
// Ownership: the list owns its entries. FreeOne frees an entry and leaves its
// slot empty (null) until Pack, Clear or RemoveDuplicates removes such slots.
// Entries added to the list must be of the list's entry class (or derived from
// it): anything else raises EInvalidCast at once, so every slot holds either
// null or an entry of that class.
#include <algorithm>
#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <typeinfo>
#include <vector>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/process/yield.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Upper bound on the entry count a list reads from a stream (134,217,727 at load:
// the most entries a pointer list could ever hold in the 32-bit tools that wrote
// these streams). A larger count means a damaged stream. Tools may change it.
extern QUILLRT_API std::int32_t global_list_count_safety_limit;

// An entry of a typed list. The base reads and writes nothing and reports success.
class QUILLRT_API TUsefulBaseListObject {
 public:
  TUsefulBaseListObject() = default;
  TUsefulBaseListObject(const TUsefulBaseListObject&) = default;
  TUsefulBaseListObject& operator=(const TUsefulBaseListObject&) = default;
  virtual ~TUsefulBaseListObject();

  // Read/write the entry's own bytes; true when all of them moved.
  virtual bool ReadFromStream(TStream& stream);
  virtual bool SaveToStream(TStream& stream) const;
};

// The class of a list's entries: creates a blank entry (all fields zero) and
// tells whether an object is an entry of the class or of a class derived from it.
struct TUsefulBaseListObjectClass {
  std::unique_ptr<TUsefulBaseListObject> (*create)() = nullptr;
  bool (*is_instance)(const TUsefulBaseListObject* entry) = nullptr;
};

template <class T>
  requires std::derived_from<T, TUsefulBaseListObject> && std::default_initializable<T>
TUsefulBaseListObjectClass EntriesClassOf() {
  return {[]() -> std::unique_ptr<TUsefulBaseListObject> { return std::make_unique<T>(); },
          [](const TUsefulBaseListObject* entry) { return dynamic_cast<const T*>(entry) != nullptr; }};
}

class QUILLRT_API TUsefulBaseList {
 public:
  explicit TUsefulBaseList(TUsefulBaseListObjectClass entries_class);
  TUsefulBaseList(const TUsefulBaseList&) = delete;
  TUsefulBaseList& operator=(const TUsefulBaseList&) = delete;
  virtual ~TUsefulBaseList();

  // ---- the pointer list ----------------------------------------------------
  int Count() const { return static_cast<int>(items_.size()); }
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity);
  // The entry at index (null for an emptied slot); raises EListError out of range.
  TUsefulBaseListObject* Items(int index) const;
  const TUsefulBaseListObjectClass& EntriesClass() const { return fEntriesClass; }

  // Append / insert an entry (null is allowed and makes an empty slot). An entry
  // of another class raises EInvalidCast; a bad index raises EListError.
  int Add(std::unique_ptr<TUsefulBaseListObject> entry);
  void Insert(int index, std::unique_ptr<TUsefulBaseListObject> entry);
  // Frees the entry at index and removes its slot.
  void Delete(int index);
  void Exchange(int index1, int index2);
  // Removes the empty slots, keeping the order of the entries.
  void Pack();

  // ---- typed-list operations -------------------------------------------------
  // True when 0 <= index < Count() and the slot holds an entry.
  bool IndexAssignedOK(int index) const;
  // Three-way comparison of entries a and b; the base says every pair differs.
  virtual int ComparedValues(int a, int b) const;
  // Frees entry index when IndexAssignedOK(index); the slot stays, empty.
  virtual void FreeOne(int index);
  // Frees every entry and empties the list.
  virtual void Clear();

  virtual bool ReadFromStream(TStream& stream);
  virtual bool SaveToStream(TStream& stream);
  // Reads n entries and appends them (see the header comment for damage).
  bool LoadTheInstances(TStream& stream, int n);
  // Writes the entries in slots 0..n-1, skipping empty slots; false when n is
  // beyond the list or an entry fails to write (later entries are not written).
  // An entry of the wrong class raises EInvalidCast.
  bool SaveTheInstances(TStream& stream, int n);

  // Reads the file through ReadFromStream. Failing to open it raises.
  bool LoadFromFile(const UnicodeString& file_name);
  // Writes the file through SaveToStream. The file is replaced only when every
  // entry was written, so a failed save leaves an existing file as it was.
  bool SaveToFile(const UnicodeString& file_name);

  // The entry most recently created, read or written by the persistence loops
  // (null after Clear or when that entry has been freed).
  TUsefulBaseListObject* AnInstance = nullptr;

 protected:
  // The entry at index as the derived list's entry type, or null when the index
  // fails IndexAssignedOK. Safe because Add/Insert admit only the entry class.
  template <class T>
  T* EntryAs(int index) const {
    return IndexAssignedOK(index) ? static_cast<T*>(items_[static_cast<std::size_t>(index)].get()) : nullptr;
  }
  template <class T>
  T& EntryRef(int index) const {
    return *static_cast<T*>(items_[static_cast<std::size_t>(index)].get());
  }
  // Count of slots holding an entry.
  int AssignedCount() const;

  // Sorts the entries with a three-way comparison of two (non-null) entries;
  // empty slots move to the end. The order is stable. If the comparison raises,
  // the list is left exactly as it was.
  template <class Compare>
  void SortEntries(Compare compare);

  std::vector<std::unique_ptr<TUsefulBaseListObject>> items_;

 private:
  void CheckClass(const TUsefulBaseListObject* entry) const;

  TUsefulBaseListObjectClass fEntriesClass;
};

class QUILLRT_API TUsefulBaseListSorts : public TUsefulBaseList {
 public:
  // Comparison of two entries: negative, zero or positive.
  using TListSortCompare = std::function<int(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b)>;

  explicit TUsefulBaseListSorts(TUsefulBaseListObjectClass entries_class);
  ~TUsefulBaseListSorts() override;

  void Clear() override;
  bool ReadFromStream(TStream& stream) override;
  bool SaveToStream(TStream& stream) override;

  // Sorts with `compare` and sets sorted.
  void Sort(const TListSortCompare& compare);
  // Reverses the order of the entries; sorted is left as it was.
  void ReverseTheSort();
  // On a list whose equal entries stand together (by ComparedValues), keeps the
  // first of each run of equal entries and frees the others; then packs.
  void RemoveDuplicates();

  // The index last probed by the most recent binary search (-1 when that search
  // met an empty list).
  std::int32_t nearest = -1;
  // True once the list has been sorted and its order may be searched.
  bool sorted = false;

 protected:
  // The order binary search and ordered insertion rely on; by default the order
  // of ComparedValues. Both indexes hold entries.
  virtual int ComparedForSearch(int a, int b) const { return ComparedValues(a, b); }
  // Clears sorted when the entry at index (just placed or changed) breaks the
  // search order.
  void CheckOrderAt(int index);
  // True when the entries from index `from` on stand in search order.
  bool InSearchOrder(int from) const;

  // Binary search of the searchable order. `compare(index)` compares the entry at
  // index with the sought value (negative: entry orders before it). Returns the
  // index of an equal entry or -1; when `track_nearest`, nearest ends as the last
  // index probed (start_nearest when nothing was probed). Empty slots are stepped
  // over. Calls the yield hook once per step.
  template <class CompareToValue>
  int BinarySearch(CompareToValue compare, bool track_nearest, int start_nearest = -1);

  // Inserts `entry` where its order puts it when sorted (before an equal entry),
  // else appends. Returns the index it took.
  template <class CompareToValue>
  int OrderedInsert(std::unique_ptr<TUsefulBaseListObject> entry, CompareToValue compare);

  // Appends and keeps `sorted` honest.
  int AppendEntry(std::unique_ptr<TUsefulBaseListObject> entry);
};

// ---- template definitions ------------------------------------------------------

template <class Compare>
void TUsefulBaseList::SortEntries(Compare compare) {
  std::vector<TUsefulBaseListObject*> order;
  order.reserve(items_.size());
  for (const auto& slot : items_)
    if (slot) order.push_back(slot.get());
  std::size_t steps = 0;
  std::stable_sort(order.begin(), order.end(), [&](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
    if ((++steps & 0x3FF) == 0) MyYieldProcess();
    return compare(a, b) < 0;
  });
  // Nothing below can raise: hand the entries over in their new order.
  for (auto& slot : items_) (void)slot.release();
  for (std::size_t i = 0; i < items_.size(); ++i) items_[i].reset(i < order.size() ? order[i] : nullptr);
}

template <class CompareToValue>
int TUsefulBaseListSorts::BinarySearch(CompareToValue compare, bool track_nearest, int start_nearest) {
  if (track_nearest) nearest = start_nearest;
  int lo = 0;
  int hi = Count() - 1;
  while (lo <= hi) {
    MyYieldProcess();
    const int mid = lo + (hi - lo) / 2;
    int probe = mid;
    while (probe <= hi && !items_[static_cast<std::size_t>(probe)]) ++probe;
    if (probe > hi) {
      probe = mid - 1;
      while (probe >= lo && !items_[static_cast<std::size_t>(probe)]) --probe;
      if (probe < lo) break;  // only empty slots left in the range
    }
    if (track_nearest) nearest = probe;
    const int order = compare(probe);
    if (order < 0)
      lo = probe + 1;
    else if (order > 0)
      hi = probe - 1;
    else
      return probe;
  }
  return -1;
}

template <class CompareToValue>
int TUsefulBaseListSorts::OrderedInsert(std::unique_ptr<TUsefulBaseListObject> entry, CompareToValue compare) {
  if (!sorted) return Add(std::move(entry));
  int at = BinarySearch(compare, true);
  if (at < 0) at = nearest >= 0 ? (compare(nearest) > 0 ? nearest : nearest + 1) : Count();
  Insert(at, std::move(entry));
  return at;
}

}  // namespace quill
