#include "quillrt/text/locale_helpers.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "quillrt/platform/code_pages.h"
#include "quillrt/platform/locale_info.h"

namespace quill {

namespace {

constexpr std::size_t kShortPathLength = 3;
constexpr std::size_t kMaxPathCharacters = normalised_path_buffer_size - 1;

}  // namespace

std::uint32_t CodePageFromLocale(std::uint32_t locale) {
  int value = 0;
  if (TryParseLocaleNumber(LocaleInfoString(locale, LOCALE_IDEFAULTANSICODEPAGE), value) && value >= 0)
    return static_cast<std::uint32_t>(value);
  return GetACP();
}

std::uint32_t LCIDToCodePage(std::uint32_t locale) { return CodePageFromLocale(locale); }

bool UserDefaultMeasurements(std::uint32_t locale) {
  return LocaleInfoString(locale, LOCALE_IMEASURE) != u"1";
}

UnicodeString NormalisedPath(const UnicodeString& path) {
  if (path.size() <= kShortPathLength) return path;
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path absolute = fs::absolute(fs::path(Utf16ToUtf8(path)), error);
  if (error) return path;
  std::string text = absolute.lexically_normal().string();
  // lexically_normal keeps a trailing delimiter ("/a/b/" -> "/a/b/"); drop it,
  // but never the root's own.
  while (text.size() > 1 && text.back() == fs::path::preferred_separator) text.pop_back();
  return Utf8ToUtf16(text);
}

void NormalisedPathW(const UnicodeString& path, WideChar* buffer) {
  if (buffer == nullptr) return;
  std::fill_n(buffer, normalised_path_buffer_size, WideChar{0});
  const UnicodeString normalised = NormalisedPath(path);
  std::copy_n(normalised.begin(), std::min(normalised.size(), kMaxPathCharacters), buffer);
}

}  // namespace quill
