#include "quillrt/collections/tuple_lists.h"

namespace quill {

T2LongintList::T2LongintList() = default;
T2LongintList::~T2LongintList() = default;

std::int32_t T2LongintList::TotalOf(T2LongintSort which) const {
  if (!ValidKey(which)) return 0;
  std::uint32_t total = 0;
  for (int i = 0; i < Count(); ++i)
    if (const auto* entry = EntryAs<T2LongIntHolder>(i)) total += static_cast<std::uint32_t>(FieldOf(entry->data, which));
  return static_cast<std::int32_t>(total);
}

T3LongintList::T3LongintList() = default;
T3LongintList::~T3LongintList() = default;

void T3LongintList::TripleSort(T3LongintSort first, T3LongintSort second, T3LongintSort third) {
  if (first == second) return;
  SortOnThreeDistinctFirst(first, second, third);
}

T4LongintList::T4LongintList() = default;
T4LongintList::~T4LongintList() = default;

void T4LongintList::TripleSort(T4LongintSort first, T4LongintSort second, T4LongintSort third) {
  if (!ValidKey(first) || !ValidKey(second)) return;
  if (first != second) {
    SortOnThreeDistinctFirst(first, second, third);
  } else if (first == t4_long2 && third == t4_long0) {
    // Kept as the tools have always had it: this combination sorts on long2 alone.
    SortDefault(t4_long2);
  } else {
    DoubleSort(first, third);
  }
}

}  // namespace quill
