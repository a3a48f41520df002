#pragma once
// Which vector instructions the text-scanning kernels use. Every kernel has a
// form for SSE2, which every x86-64 processor has; the hottest also have one
// for AVX2, twice as wide, taken when the processor has it. Limiting them to
// the narrow forms lets tests hold the two against each other, and rules the
// wide ones out should they ever be suspected.
#include "quillrt/quillrt_export.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
// The kernels with a wide form are compiled here (for the processors that have it).
#define QUILL_WIDE_VECTOR_KERNELS 1
#define QUILL_WIDE_VECTOR_TARGET __attribute__((target("avx2,popcnt")))
#else
#define QUILL_WIDE_VECTOR_KERNELS 0
#endif

namespace quill {

// Whether the kernels use their wide forms now: built with them, the processor
// has AVX2, and they are not limited to the narrow ones.
QUILLRT_API bool WideVectorsInUse();

// Limits the kernels to their narrow forms (true), or lets them use the widest
// the processor has (false). Takes effect from the next call of a kernel; safe
// to call while other threads scan. A process starts limited when its
// environment sets QUILL_NARROW_VECTORS (to anything but "0").
QUILLRT_API void LimitToNarrowVectors(bool limit);

}  // namespace quill
