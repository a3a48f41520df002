#pragma once
// When a locale's collation orders words of printable ASCII characters by
// their characters alone, one at a time. That is so when, in the locale, each
// such character is one collation element with a primary weight of its own
// (a letter and its capital may share one), none is ignorable, no contraction
// is made of them only, and digits are not read as numbers: then two ASCII
// words that differ other than in case differ at the first level, and their
// order is that of the characters' primary ranks, the shorter word first
// when one begins the other. A word list of such words needs no sort keys and
// no comparison of neighbours to find spellings that compare equal.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API AsciiCollation {
 public:
  // Probes the locale's collation.
  explicit AsciiCollation(const std::string& locale);
  // The same, cached per thread (a program uses one or two locales).
  static const AsciiCollation& Of(const std::string& locale);

  // Whether the locale's collation is of that kind.
  bool Usable() const { return usable_; }
  // The primary rank of a printable ASCII character other than the blank
  // (1 and up, shared by a letter and its capital where the locale says so);
  // 0 for any other character, which the ranks cannot order.
  std::uint8_t Rank(char16_t c) const { return c < 0x80 ? ranks_[c] : 0; }
  // Whether every unit of `s` has a rank.
  bool Ranks(std::u16string_view s) const;
  // The order of two such words in the locale (-1, 0 or 1).
  int Compare(std::u16string_view a, std::u16string_view b) const;

 private:
  bool usable_ = false;
  std::array<std::uint8_t, 128> ranks_{};
};

}  // namespace quill
