#pragma once
// A progress bar on standard error for long jobs. It is drawn only when
// standard error is a terminal, and only once the job has run for half a
// second, so that quick runs and redirected output stay clean.
#include <chrono>
#include <cstdint>
#include <string>

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

}  // namespace quill::cli
