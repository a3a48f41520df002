#include "quillrt/search/search_found.h"

namespace quill {

namespace {

// Takes an item of the list back into ownership, so that it is freed on scope exit.
std::unique_ptr<TSearchFoundHolder> Reclaim(void* item) {
  return std::unique_ptr<TSearchFoundHolder>(static_cast<TSearchFoundHolder*>(item));
}

}  // namespace

std::int64_t TSearchFoundHolder::ByteOffset() const {
  return static_cast<const char*>(fData.where_hit_started) - static_cast<const char*>(fData.start_of_memory);
}

TSearchFoundList::TSearchFoundList() = default;

TSearchFoundList::~TSearchFoundList() { Clear(); }

std::int32_t TSearchFoundList::AddOne(const TSearchFound_Rec& rec) {
  auto holder = std::make_unique<TSearchFoundHolder>(rec);
  const std::int32_t index = Add(holder.get());
  holder.release();  // the list owns it now
  return index;
}

TSearchFoundHolder* TSearchFoundList::GetHolder(std::int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return static_cast<TSearchFoundHolder*>(Get(index));
}

TSearchFound_Rec TSearchFoundList::GetOne(std::int32_t index) const {
  const TSearchFoundHolder* holder = GetHolder(index);
  return holder != nullptr ? holder->fData : TSearchFound_Rec{};
}

void TSearchFoundList::Delete(std::int32_t index) {
  if (index < 0 || index >= Count()) return;
  auto owned = Reclaim(Get(index));
  TPointerList<void>::Delete(index);
}

void TSearchFoundList::Clear() {
  for (void* item : List()) Reclaim(item);
  TPointerList<void>::Clear();
}

void TSearchFoundList::SortOnPosition(bool ascending) {
  SetSortToAscend(sort_first_sort, ascending);
  DoASingleSort([this](const void* item) { return CompareWithBase(item); }, 0);
}

void TSearchFoundList::SetBase(void* p, std::int32_t) {
  base_offset_ = p != nullptr ? static_cast<const TSearchFoundHolder*>(p)->ByteOffset() : 0;
}

std::int32_t TSearchFoundList::CompareWithBase(const void* item) const {
  const std::int64_t offset = static_cast<const TSearchFoundHolder*>(item)->ByteOffset();
  return offset < base_offset_ ? -1 : (offset > base_offset_ ? 1 : 0);
}

}  // namespace quill
