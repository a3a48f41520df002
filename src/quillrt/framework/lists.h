#pragma once
// Growable lists with the framework's operations: a non-owning pointer list and an
// owning list of typed objects. Indexes are 0-based; an index out of range raises
// EListError ("List index out of bounds (n)").
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "quillrt/framework/exceptions.h"

namespace quill {

namespace detail {
[[noreturn]] inline void ListIndexError(std::int64_t index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}
}  // namespace detail

// Shared implementation of both lists over a vector of slots (T* or unique_ptr<T>).
template <class Slot, class Item>
class TListCore {
 public:
  // Comparison for Sort: negative, zero or positive, as the framework's.
  using TListSortCompare = std::function<int(const Item* a, const Item* b)>;

  int Count() const { return static_cast<int>(items_.size()); }
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity) { items_.reserve(static_cast<std::size_t>(std::max(capacity, 0))); }
  bool IsEmpty() const { return items_.empty(); }

  Item* Get(int index) const { return AsPointer(items_[Checked(index)]); }
  Item* operator[](int index) const { return Get(index); }
  Item* First() const { return Get(0); }
  Item* Last() const { return Get(Count() - 1); }

  // Index of the first slot holding `item`, or -1.
  int IndexOf(const Item* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (AsPointer(items_[i]) == item) return static_cast<int>(i);
    return -1;
  }

  void Exchange(int index1, int index2) { std::swap(items_[Checked(index1)], items_[Checked(index2)]); }

  // Moves the item at cur_index so that it stands at new_index.
  void Move(int cur_index, int new_index) {
    if (cur_index == new_index) return;
    Checked(cur_index);
    Checked(new_index);
    auto first = items_.begin();
    if (cur_index < new_index)
      std::rotate(first + cur_index, first + cur_index + 1, first + new_index + 1);
    else
      std::rotate(first + new_index, first + cur_index, first + cur_index + 1);
  }

  // Removes every empty (null) slot, keeping the order of the others.
  void Pack() {
    items_.erase(std::remove_if(items_.begin(), items_.end(), [](const Slot& s) { return AsPointer(s) == nullptr; }),
                 items_.end());
  }

  // Stable sort with a three-way comparison.
  void Sort(const TListSortCompare& compare) {
    std::stable_sort(items_.begin(), items_.end(),
                     [&](const Slot& a, const Slot& b) { return compare(AsPointer(a), AsPointer(b)) < 0; });
  }

  void Reverse() { std::reverse(items_.begin(), items_.end()); }

 protected:
  static Item* AsPointer(Item* p) { return p; }
  static Item* AsPointer(const std::unique_ptr<Item>& p) { return p.get(); }

  std::size_t Checked(int index) const {
    if (index < 0 || index >= Count()) detail::ListIndexError(index);
    return static_cast<std::size_t>(index);
  }
  std::size_t CheckedInsert(int index) const {
    if (index < 0 || index > Count()) detail::ListIndexError(index);
    return static_cast<std::size_t>(index);
  }

  std::vector<Slot> items_;
};

// A list of pointers it does not own (the framework's TList when T is void).
template <class T>
class TPointerList : public TListCore<T*, T> {
  using Base = TListCore<T*, T>;

 public:
  virtual ~TPointerList() = default;

  int Add(T* item) {
    this->items_.push_back(item);
    return this->Count() - 1;
  }
  void Insert(int index, T* item) { this->items_.insert(this->items_.begin() + this->CheckedInsert(index), item); }
  void Put(int index, T* item) { this->items_[this->Checked(index)] = item; }
  void Delete(int index) { this->items_.erase(this->items_.begin() + this->Checked(index)); }
  // Removes the first slot holding `item`; returns its former index or -1.
  int Remove(const T* item) {
    const int index = this->IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
  }
  virtual void Clear() { this->items_.clear(); }
  const std::vector<T*>& List() const { return this->items_; }
};

using TList = TPointerList<void>;

// A list that owns its objects: Delete, Clear and destruction free them.
template <class T>
class TObjectList : public TListCore<std::unique_ptr<T>, T> {
 public:
  virtual ~TObjectList() = default;

  T* Add(std::unique_ptr<T> item) {
    this->items_.push_back(std::move(item));
    return this->items_.back().get();
  }
  T* Insert(int index, std::unique_ptr<T> item) {
    auto at = this->items_.insert(this->items_.begin() + this->CheckedInsert(index), std::move(item));
    return at->get();
  }
  // Replaces (and frees) the object at index.
  void Put(int index, std::unique_ptr<T> item) { this->items_[this->Checked(index)] = std::move(item); }
  void Delete(int index) { this->items_.erase(this->items_.begin() + this->Checked(index)); }
  // Frees the object at index but keeps its slot, now empty, until Pack.
  void FreeAt(int index) { this->items_[this->Checked(index)].reset(); }
  // Takes the object at index out of the list without freeing it.
  std::unique_ptr<T> Extract(int index) {
    auto item = std::move(this->items_[this->Checked(index)]);
    this->items_.erase(this->items_.begin() + static_cast<std::ptrdiff_t>(index));
    return item;
  }
  virtual void Clear() { this->items_.clear(); }
};

}  // namespace quill
