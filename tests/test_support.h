#pragma once
// Helpers shared by the test programs: a temporary folder per test, small
// file utilities, the user's locale set for a scope. Tests never depend on
// data/.
#include <unicode/uloc.h>

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

// Makes `locale` ICU's default (the user's locale) for one scope and restores
// the previous default.
class DefaultLocale {
 public:
  explicit DefaultLocale(const char* locale) : saved_(uloc_getDefault()) { Set(locale); }
  ~DefaultLocale() { Set(saved_.c_str()); }
  DefaultLocale(const DefaultLocale&) = delete;
  DefaultLocale& operator=(const DefaultLocale&) = delete;

 private:
  static void Set(const char* locale) {
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault(locale, &status);
  }
  std::string saved_;
};

}  // namespace quill::testing
