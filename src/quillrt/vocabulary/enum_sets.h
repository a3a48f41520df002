#pragma once
// A set of values of a one-byte enumeration with fewer than 64 values, as a bit
// mask: what the tools keep as "sets of list kinds" and "sets of tool kinds".
#include <cstdint>
#include <initializer_list>

namespace quill {

template <class E, unsigned Count>
class TEnumSet {
  static_assert(Count <= 64, "one bit per value in a 64-bit mask");

 public:
  constexpr TEnumSet() = default;
  constexpr TEnumSet(std::initializer_list<E> members) {
    for (const E member : members) Include(member);
  }

  // A value outside the enumeration is never a member.
  constexpr bool Contains(E value) const {
    const auto bit = static_cast<unsigned>(value);
    return bit < Count && (bits_ >> bit & 1u) != 0;
  }
  constexpr void Include(E value) {
    if (const auto bit = static_cast<unsigned>(value); bit < Count) bits_ |= std::uint64_t{1} << bit;
  }
  constexpr void Exclude(E value) {
    if (const auto bit = static_cast<unsigned>(value); bit < Count) bits_ &= ~(std::uint64_t{1} << bit);
  }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr int Size() const { return __builtin_popcountll(bits_); }
  constexpr std::uint64_t Bits() const { return bits_; }
  constexpr bool operator==(const TEnumSet&) const = default;

 private:
  std::uint64_t bits_ = 0;
};

}  // namespace quill
