#pragma once
// Waiting loops that keep the tool's window alive: each round calls the yield
// hook four times and then checks the condition and the clock.
//
// Rules shared by the three loops:
// - When there is nothing to wait for at the start, they return false at once,
//   without yielding.
// - The time-out strikes when `timeout_seconds` is less than the whole seconds
//   elapsed since the start. So 0 waits until one whole second has passed, n
//   until n + 1 have passed, and a negative time-out gives up after one round.
// - The result is whether the time-out struck in the last round, even when the
//   condition cleared in that same round.
//
// The flags are taken by reference because the hook (the tool's message pump)
// changes them while we wait; they are re-read after every round.
#include <cstdint>

#include "quillrt/process/callbacks.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Waits until `done` becomes true. True only when it gave up on the time-out.
QUILLRT_API bool WaitTillDone(const bool& done, std::int32_t timeout_seconds);

// Waits while `busy` stays true. True only when it gave up on the time-out.
QUILLRT_API bool WaitedFor(const bool& busy, std::int32_t timeout_seconds);

// Waits while `condition()` returns true. True only when it gave up on the
// time-out. An empty condition is nothing to wait for.
QUILLRT_API bool EspereFuncao(const TBoolFunct& condition, std::int32_t timeout_seconds);

}  // namespace quill
