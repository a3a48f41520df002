#pragma once
// A progress bar on standard error for long jobs. It is drawn only when
// standard error is a terminal, and only once the job has run for half a
// second, so that quick runs and redirected output stay clean. And what
// every corpus command runs its job with: that bar, and Ctrl-C as a request
// to stop.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "ctrl_c.h"
#include "quilljobs/job_control.h"

namespace quill::cli {

class ProgressBar {
 public:
  // `total` is the amount of work (bytes, files ...); `enabled` false keeps
  // the bar off whatever standard error is.
  ProgressBar(std::string label, std::int64_t total, bool enabled = true);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Advance(std::int64_t amount) { Set(done_ + amount); }
  void Set(std::int64_t done);
  // Clears the bar's line (when one was drawn); called by the destructor too.
  void Finish();

 private:
  void Draw();

  std::string label_;
  std::int64_t total_;
  std::int64_t done_ = 0;
  bool active_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point last_drawn_;
};

// While alive, Ctrl-C asks the job run with Control() to stop (every worker
// within a moment) instead of ending the program, so that what was done so
// far can still be printed; the previous handler comes back afterwards. A
// program started with Ctrl-C ignored (a background job of a shell) goes on
// ignoring it. Progress goes to the bar.
class JobRunControls {
 public:
  JobRunControls(std::string label, std::int64_t total, bool show_progress);
  JobRunControls(const JobRunControls&) = delete;
  JobRunControls& operator=(const JobRunControls&) = delete;

  const jobs::JobControl& Control() const { return control_; }
  // Clears the bar; the job has ended.
  void Finish() { progress_.Finish(); }

 private:
  ProgressBar progress_;
  CtrlCRequest ctrl_c_;
  jobs::JobControl control_;
};

// After a job that Ctrl-C stopped, once its partial result is printed: says
// so on standard error and ends the command with status 2, so that the
// partial answer never passes for a whole one.
[[noreturn]] void EndInterrupted(const std::string& what_is_partial);

// What EndInterrupted says after a word or n-gram list (printed, but not
// saved to `save` when one was asked for) and after scores (not printed).
std::string PartialListNote(const std::string& save);
inline constexpr const char* kNoPartialScores =
    "nothing printed: scores over part of a corpus would mislead";

}  // namespace quill::cli
