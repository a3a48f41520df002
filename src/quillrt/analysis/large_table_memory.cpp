#include "quillrt/analysis/large_table_memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace quill {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundedToHugePages(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* AllocateTableMemory(std::size_t bytes, std::size_t alignment) {
  if (bytes < kHugePage) return ::operator new(bytes, std::align_val_t{alignment});
  if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
  // Map one huge page more than needed, then cut the ends off so that the
  // block starts on a huge-page boundary.
  const std::size_t size = RoundedToHugePages(bytes);
  const std::size_t mapped = size + kHugePage;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) ::munmap(raw, aligned - start);
  const std::uintptr_t end = aligned + size;
  if (start + mapped > end) ::munmap(reinterpret_cast<void*>(end), start + mapped - end);
#ifdef MADV_HUGEPAGE
  ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // a hint: failing is harmless
#endif
  return reinterpret_cast<void*>(aligned);
}

void ReleaseTableMemory(void* memory, std::size_t bytes, std::size_t alignment) noexcept {
  if (memory == nullptr) return;
  if (bytes < kHugePage) {
    ::operator delete(memory, std::align_val_t{alignment});
    return;
  }
  ::munmap(memory, RoundedToHugePages(bytes));
}

}  // namespace quill
