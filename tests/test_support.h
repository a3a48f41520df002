#pragma once
// Helpers shared by the test programs: a temporary folder per test and small
// file utilities. Tests never depend on data/.
#include <filesystem>
#include <string>
#include <vector>

#include "quillrt/framework/strings.h"

namespace quill::testing {

// A fresh, empty folder removed with everything in it when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Full path of `name` inside the folder, as UTF-16 and as a file-system path.
  UnicodeString File(const std::string& name) const;
  std::filesystem::path Path(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::vector<unsigned char> ReadAllBytes(const std::filesystem::path& file);
void WriteAllBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);
void WriteText(const std::filesystem::path& file, const std::string& bytes);

}  // namespace quill::testing
