#include "progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

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

}  // namespace quill::cli
