#pragma once
// Ctrl-C as a request to stop, for the commands that have partial work to
// print or to clean up, rather than the end of the program.
#include <atomic>

namespace quill::cli {

// While alive, Ctrl-C sets Pressed() instead of ending the program, and the
// previous handler comes back afterwards. A program started with Ctrl-C
// ignored (a background job of a shell) goes on ignoring it.
class CtrlCRequest {
 public:
  CtrlCRequest();
  ~CtrlCRequest();
  CtrlCRequest(const CtrlCRequest&) = delete;
  CtrlCRequest& operator=(const CtrlCRequest&) = delete;

  bool Pressed() const { return Flag().load(); }
  // Set from the signal handler; a job's cancel flag can point at it.
  const std::atomic<bool>& Flag() const;

 private:
  void (*previous_handler_)(int) = nullptr;
};

}  // namespace quill::cli
