#pragma once
// Helpers of the quillfs tests: answering the library's questions, and files of
// known contents.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "quillrt/platform/dialogs.h"

namespace quill::testing {

// While alive, every message box is answered with `answer` and recorded.
class ScriptedAnswers {
 public:
  explicit ScriptedAnswers(TMsgBoxAnswer answer) : answer_(answer) {
    previous_ = SetMessageBoxHook([this](const UnicodeString& caption, const UnicodeString& text, TMsgBoxIcon,
                                         TMsgBoxButtons) {
      asked.push_back(Utf16ToUtf8(caption) + ": " + Utf16ToUtf8(text));
      return answer_;
    });
  }
  ~ScriptedAnswers() { SetMessageBoxHook(previous_); }
  ScriptedAnswers(const ScriptedAnswers&) = delete;
  ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;

  std::vector<std::string> asked;

 private:
  TMsgBoxAnswer answer_;
  TMessageBoxHook previous_;
};

// `size` bytes that differ from one position to the next (so that a chunk in
// the wrong place shows), reproducible from `seed`.
inline std::vector<unsigned char> PatternBytes(std::size_t size, std::uint32_t seed = 1) {
  std::vector<unsigned char> bytes(size);
  std::uint32_t state = seed * 2654435761u + 12345u;
  for (auto& byte : bytes) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<unsigned char>(state >> 24);
  }
  return bytes;
}

// The names in a folder, sorted.
inline std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quill::testing
