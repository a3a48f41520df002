#include "file_tool_support.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <iostream>
#include <limits>

namespace quill::cli {

bool ParseByteSize(const std::string& text, std::int64_t& bytes) {
  std::size_t at = 0;
  std::uint64_t value = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    const auto digit = static_cast<std::uint64_t>(text[at] - '0');
    if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
    value = value * 10 + digit;
    ++at;
  }
  if (at == 0) return false;
  std::string unit = text.substr(at);
  for (char& c : unit) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  int shift = 0;
  if (!unit.empty() && unit != "B") {
    switch (unit[0]) {
      case 'K': shift = 10; break;
      case 'M': shift = 20; break;
      case 'G': shift = 30; break;
      default: return false;
    }
    const std::string rest = unit.substr(1);
    if (!rest.empty() && rest != "B" && rest != "IB") return false;
  }
  if (value > (static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) >> shift)) return false;
  bytes = static_cast<std::int64_t>(value << shift);
  return true;
}

InterruptScope::InterruptScope(std::function<void()> stop) : stop_(std::move(stop)) {
  previous_yield_ = AYieldProcessProc;
  AYieldProcessProc = [this] {
    // Stop() yields itself: ask once only.
    if (!stopped_ && ctrl_c_.Pressed()) {
      stopped_ = true;
      stop_();
    }
  };
}

InterruptScope::~InterruptScope() { AYieldProcessProc = previous_yield_; }

QuestionAnswers::QuestionAnswers(bool overwrite) {
  previous_ = SetMessageBoxHook([overwrite](const UnicodeString&, const UnicodeString&, TMsgBoxIcon,
                                            TMsgBoxButtons buttons) {
    if (buttons == MB_YESNO) return overwrite ? IDYES : IDNO;
    return NonDestructiveAnswer(buttons);
  });
}

QuestionAnswers::~QuestionAnswers() { SetMessageBoxHook(previous_); }

void FailFileTool(const std::string& message, int code) {
  std::cerr << "quill: " << message << "\n";
  throw CLI::RuntimeError(code);
}

}  // namespace quill::cli
