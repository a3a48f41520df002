#pragma once
// What `quill split`, `quill join` and `quill compare` share: byte sizes typed
// on the command line, Ctrl-C turned into a clean stop, and the library's
// questions answered from the command-line options.
#include <cstdint>
#include <functional>
#include <string>

#include "ctrl_c.h"
#include "quillrt/platform/dialogs.h"
#include "quillrt/process/yield.h"

namespace quill::cli {

// Exit code of a job ended by Ctrl-C (128 + SIGINT, as shells report it).
inline constexpr int kExitInterrupted = 130;

// "1400000", "64K", "100M", "2G" (binary multiples, either case, optional "B"
// or "iB" after the letter) as bytes; false for anything else or a value that
// does not fit in 63 bits.
bool ParseByteSize(const std::string& text, std::int64_t& bytes);

// While alive, Ctrl-C no longer ends the program: the first one calls `stop`
// at the library's next yield, so the job can end cleanly and remove what it
// left unfinished. The previous handler and yield hook come back afterwards.
class InterruptScope {
 public:
  explicit InterruptScope(std::function<void()> stop);
  ~InterruptScope();
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;
  bool Interrupted() const { return ctrl_c_.Pressed(); }

 private:
  CtrlCRequest ctrl_c_;
  std::function<void()> stop_;
  bool stopped_ = false;
  TYieldProcessProc previous_yield_;
};

// While alive, the library's questions are answered without asking: overwrite
// questions (Yes / No) with `overwrite`, everything else (a new disk, deleting
// files to make room) with the answer that does no harm.
class QuestionAnswers {
 public:
  explicit QuestionAnswers(bool overwrite);
  ~QuestionAnswers();
  QuestionAnswers(const QuestionAnswers&) = delete;
  QuestionAnswers& operator=(const QuestionAnswers&) = delete;

 private:
  TMessageBoxHook previous_;
};

// Writes "quill: <message>" to standard error and ends the command with `code`.
[[noreturn]] void FailFileTool(const std::string& message, int code);

}  // namespace quill::cli
