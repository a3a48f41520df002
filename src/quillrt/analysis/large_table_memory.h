#pragma once
// Memory for the large hash tables of the counting loops. A table that doubles
// as it fills writes every page of each new array once, and with small pages
// each first write is a fault into the kernel: for a word table of a few
// megabytes those faults cost more than moving the entries. Blocks of two
// megabytes and more are therefore mapped on their own, aligned to the huge
// page size, and offered to the kernel as huge pages (where it does not take
// them, they are ordinary pages: nothing changes but the speed).
#include <cstddef>
#include <cstdint>
#include <new>

#include "quillrt/quillrt_export.h"

namespace quill {

// Fresh memory of `bytes`, aligned to `alignment` (a power of two no larger
// than the huge page size); std::bad_alloc when there is none.
QUILLRT_API void* AllocateTableMemory(std::size_t bytes, std::size_t alignment);
// Gives back what AllocateTableMemory gave, with the same size and alignment.
QUILLRT_API void ReleaseTableMemory(void* memory, std::size_t bytes, std::size_t alignment) noexcept;

template <class T>
class LargeTableAllocator {
 public:
  using value_type = T;
  LargeTableAllocator() = default;
  template <class U>
  LargeTableAllocator(const LargeTableAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocateTableMemory(count * sizeof(T), alignof(T)));
  }
  void deallocate(T* memory, std::size_t count) noexcept { ReleaseTableMemory(memory, count * sizeof(T), alignof(T)); }

  template <class U>
  bool operator==(const LargeTableAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace quill
