#pragma once
// Finding one fixed piece of text many times over in a long text: a
// Horspool search whose shift table is keyed by the low byte of each UTF-16
// unit (units sharing a low byte share the smallest shift, which stays safe).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

class TSubstringSearcher {
 public:
  explicit TSubstringSearcher(std::u16string_view pattern);

  // The 0-based index of the first occurrence at or after `from`, or npos.
  // An empty pattern is found nowhere.
  std::size_t Find(std::u16string_view text, std::size_t from) const;
  // Occurrences in the whole text, overlapping ones included.
  std::int64_t CountIn(std::u16string_view text) const;

  static constexpr std::size_t npos = std::u16string_view::npos;

 private:
  std::u16string pattern_;
  std::array<std::uint32_t, 256> shift_{};
};

}  // namespace quill
