#pragma once
// What every job shares: the errors it raises, and the hooks through which a
// caller follows its progress and stops it. Jobs never print; a front-end
// turns these into a progress bar, a message box or a Python exception.
#include <atomic>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "quilljobs/quilljobs_export.h"

namespace quill::jobs {

// A job that cannot start or cannot go on. `bad_request`: what was asked for
// makes no sense (an unknown language, a search word with nothing to search
// for, an unknown sort key); `failed`: the request was sound but the work
// could not be done (a list that cannot be saved, a damaged saved list).
class QUILLJOBS_API JobError : public std::runtime_error {
 public:
  enum Kind { bad_request, failed };
  JobError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// Progress and cancellation. `cancel` may be set from another thread or a
// signal handler; a job looks at it between files and between hits and then
// ends early with what it has (its result says it was cancelled).
// `on_progress` hears the work done out of the total (bytes of the corpus).
struct JobControl {
  const std::atomic<bool>* cancel = nullptr;
  std::function<void(std::int64_t done, std::int64_t total)> on_progress;

  bool Cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
  void Progress(std::int64_t done, std::int64_t total) const {
    if (on_progress) on_progress(done, total);
  }
};

}  // namespace quill::jobs
