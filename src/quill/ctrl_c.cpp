#include "ctrl_c.h"

#include <csignal>

namespace quill::cli {
namespace {

// One flag for the process, as there is one handler: a signal handler may
// only store to a lock-free atomic.
std::atomic<bool> g_ctrl_c{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnCtrlC(int) { g_ctrl_c.store(true); }

}  // namespace

CtrlCRequest::CtrlCRequest() {
  g_ctrl_c.store(false);
  previous_handler_ = std::signal(SIGINT, OnCtrlC);
  if (previous_handler_ == SIG_IGN) std::signal(SIGINT, SIG_IGN);
}

CtrlCRequest::~CtrlCRequest() { std::signal(SIGINT, previous_handler_ == SIG_ERR ? SIG_DFL : previous_handler_); }

const std::atomic<bool>& CtrlCRequest::Flag() const { return g_ctrl_c; }

}  // namespace quill::cli
