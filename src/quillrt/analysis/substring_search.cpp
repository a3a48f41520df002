#include "quillrt/analysis/substring_search.h"

#include <algorithm>
#include <cstring>

namespace quill {

TSubstringSearcher::TSubstringSearcher(std::u16string_view pattern) : pattern_(pattern) {
  const std::size_t m = pattern_.size();
  const auto longest = static_cast<std::uint32_t>(std::min<std::size_t>(m, UINT32_MAX));
  shift_.fill(longest);
  for (std::size_t i = 0; i + 1 < m; ++i) {
    std::uint32_t& shift = shift_[pattern_[i] & 0xFF];
    shift = std::min(shift, static_cast<std::uint32_t>(m - 1 - i));
  }
}

std::size_t TSubstringSearcher::Find(std::u16string_view text, std::size_t from) const {
  const std::size_t m = pattern_.size();
  const std::size_t n = text.size();
  if (m == 0 || from > n || n - from < m) return npos;
  const char16_t last = pattern_[m - 1];
  const char16_t* chars = text.data();
  for (std::size_t i = from; i <= n - m;) {
    const char16_t c = chars[i + m - 1];
    if (c == last && std::memcmp(chars + i, pattern_.data(), (m - 1) * sizeof(char16_t)) == 0) return i;
    i += shift_[c & 0xFF];
  }
  return npos;
}

std::int64_t TSubstringSearcher::CountIn(std::u16string_view text) const {
  std::int64_t count = 0;
  for (std::size_t at = Find(text, 0); at != npos; at = Find(text, at + 1)) ++count;
  return count;
}

}  // namespace quill
