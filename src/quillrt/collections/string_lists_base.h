#pragma once
// Index-checking lists: the string list and the pointer list that the lists with
// values, the file lists and the search-word lists build on. Their getters test
// an index with IndexAssignedOK and answer a fixed empty value instead of raising.
#include <memory>

#include "quillrt/framework/lists.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// A string list whose slot type is chosen by the derived list: TObjectRef for a
// value or a pointer the list does not own, std::unique_ptr<X> for owned entries.
template <class TObj = TObjectRef>
class QUILLRT_API TIndexCheckStringlistOf : public TStringListOf<TObj> {
 public:
  ~TIndexCheckStringlistOf() override = default;

  bool IndexAssignedOK(int a) const { return a >= 0 && a < this->Count(); }

  // Reverses the order of the lines together with their objects. A Sorted list
  // stops being Sorted, since its lines no longer stand in the list's order.
  void ReverseTheSort() {
    if (this->Count() < 2) return;
    this->SetSorted(false);
    // Every line ordered by its position, last first: exactly the reversal.
    this->CustomSort([](TStringListOf<TObj>&, int a, int b) { return a < b ? 1 : (a > b ? -1 : 0); });
  }
};

using TIndexCheckStringlist = TIndexCheckStringlistOf<TObjectRef>;

// A pointer list (not owning) with the same index test.
template <class T = void>
class QUILLRT_API TIndexCheckListOf : public TPointerList<T> {
 public:
  ~TIndexCheckListOf() override = default;
  bool IndexAssignedOK(int a) const { return a >= 0 && a < this->Count(); }
};

using TIndexCheckList = TIndexCheckListOf<void>;

// An index-checking string list owning one Holder per line: Clear, Delete and the
// destructor free them. Delete of an index out of range does nothing.
template <class Holder>
class QUILLRT_API TOwningIndexCheckStringlist : public TIndexCheckStringlistOf<std::unique_ptr<Holder>> {
  using Base = TIndexCheckStringlistOf<std::unique_ptr<Holder>>;

 public:
  ~TOwningIndexCheckStringlist() override = default;

  void Delete(int index) override {
    if (this->IndexAssignedOK(index)) Base::Delete(index);
  }

 protected:
  // The holder of line `index`, or null for an index out of range or an empty slot.
  Holder* HolderAt(int index) const { return this->IndexAssignedOK(index) ? this->GetObject(index) : nullptr; }
  // The holder of line `index` of a list being sorted (its index at the start of
  // the sort, which the list keeps while the comparison runs).
  const Holder* SortedHolder(int index) const { return this->GetObject(index); }
};

}  // namespace quill
