#include "quillrt/process/waiting.h"

#include <chrono>

namespace quill {

namespace {

// The flag may change behind our back (through the hook, or an alias of it):
// read it from memory every time.
bool Read(const bool& flag) { return static_cast<const volatile bool&>(flag); }

// The shared loop. `waiting()` says whether the condition still holds. The
// clock is monotonic so that a change of the wall clock neither cuts a wait
// short nor stretches it.
template <class StillWaiting>
bool WaitWhile(StillWaiting waiting, std::int32_t timeout_seconds) {
  if (!waiting()) return false;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  const std::int64_t limit = timeout_seconds;
  bool timed_out = false;
  do {
    for (int i = 0; i < 4; ++i) MyYieldProcess();
    const std::int64_t elapsed = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
    timed_out = limit < elapsed;
  } while (waiting() && !timed_out);
  return timed_out;
}

}  // namespace

bool WaitTillDone(const bool& done, std::int32_t timeout_seconds) {
  return WaitWhile([&] { return !Read(done); }, timeout_seconds);
}

bool WaitedFor(const bool& busy, std::int32_t timeout_seconds) {
  return WaitWhile([&] { return Read(busy); }, timeout_seconds);
}

bool EspereFuncao(const TBoolFunct& condition, std::int32_t timeout_seconds) {
  if (!condition) return false;
  return WaitWhile([&] { return condition(); }, timeout_seconds);
}

}  // namespace quill
