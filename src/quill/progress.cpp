#include "progress.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

#include "commands.h"

namespace quill::cli {
namespace {

constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kBarWidth = 30;

}  // namespace

ProgressBar::ProgressBar(std::string label, std::int64_t total, bool enabled)
    : label_(std::move(label)),
      total_(total),
      active_(enabled && total > 0 && isatty(STDERR_FILENO) == 1),
      started_(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Set(std::int64_t done) {
  done_ = std::clamp<std::int64_t>(done, 0, total_);
  if (!active_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - started_ < kQuietStart || (drawn_ && now - last_drawn_ < kRedrawEvery)) return;
  last_drawn_ = now;
  Draw();
}

void ProgressBar::Draw() {
  const int percent = static_cast<int>(done_ * 100 / total_);
  const int filled = static_cast<int>(done_ * kBarWidth / total_);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kBarWidth, '-');
  std::fprintf(stderr, "\r[%s] %3d%% %s", bar.c_str(), percent, label_.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressBar::Finish() {
  if (!drawn_) return;
  // Blank the line so that what follows starts clean.
  std::fprintf(stderr, "\r%*s\r", kBarWidth + 8 + static_cast<int>(label_.size()), "");
  std::fflush(stderr);
  drawn_ = false;
  active_ = false;
}

JobRunControls::JobRunControls(std::string label, std::int64_t total, bool show_progress)
    : progress_(std::move(label), total, show_progress) {
  control_.cancel = &ctrl_c_.Flag();
  control_.on_progress = [this](std::int64_t done, std::int64_t) { progress_.Set(done); };
}

void EndInterrupted(const std::string& what_is_partial) {
  std::fflush(stdout);
  std::fprintf(stderr, "quill: interrupted: %s\n", what_is_partial.c_str());
  throw CLI::RuntimeError(kExitUsage);
}

std::string PartialListNote(const std::string& save) {
  std::string note = "the list counts only the text read before Ctrl-C";
  if (!save.empty()) note += "; " + save + " was not written";
  return note;
}

}  // namespace quill::cli
