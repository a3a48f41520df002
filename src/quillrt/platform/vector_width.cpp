#include "quillrt/platform/vector_width.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace quill {
namespace {

// QUILL_NARROW_VECTORS set (to anything but "0") starts the process limited.
bool LimitedByEnvironment() {
  const char* value = std::getenv("QUILL_NARROW_VECTORS");
  return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

std::atomic<bool> limited{LimitedByEnvironment()};

bool ProcessorHasWideVectors() {
#if QUILL_WIDE_VECTOR_KERNELS
  // The processor's features are read here first, should this run before the
  // runtime's own initialisation has (from another library's static object).
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
  }();
  return has;
#else
  return false;
#endif
}

}  // namespace

bool WideVectorsInUse() { return ProcessorHasWideVectors() && !limited.load(std::memory_order_relaxed); }

void LimitToNarrowVectors(bool limit) { limited.store(limit, std::memory_order_relaxed); }

}  // namespace quill
