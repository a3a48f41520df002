#pragma once
// The search flags and the parsed search-word record: what one typed search
// word becomes once parsed (search_word_syntax.h), held by the search-word
// collection and handed to the search engine and the matcher.
#include <array>
#include <cstdint>
#include <initializer_list>

#include "quillrt/framework/strings.h"

namespace quill {

// The values of a search-flag set; value n is bit n of the stored byte.
enum TMySearchFlag : std::uint8_t {
  myReplace,          // carried for the calling tool
  myConfirmFinds,     // carried for the calling tool
  myCaseIsSensitive,  // match case exactly
  mySW_To_Avoid,      // the word is one to avoid (an exclusion)
  myLeftBounded,      // a hit must start at a word boundary
  myRightBounded,     // a hit must end at a word boundary
};

// A set of TMySearchFlag, one byte wide (bit n for value n), as it is stored.
class TMySearchFlags {
 public:
  constexpr TMySearchFlags() = default;
  constexpr TMySearchFlags(std::initializer_list<TMySearchFlag> flags) {
    for (const TMySearchFlag flag : flags) Include(flag);
  }
  static constexpr TMySearchFlags FromByte(std::uint8_t bits) {
    TMySearchFlags flags;
    flags.bits_ = bits;
    return flags;
  }
  // What a typed word without markers gets: both bounds (0x30).
  static constexpr TMySearchFlags Default() { return {myLeftBounded, myRightBounded}; }

  constexpr std::uint8_t AsByte() const { return bits_; }
  constexpr bool Contains(TMySearchFlag flag) const { return (bits_ & Bit(flag)) != 0; }
  constexpr void Include(TMySearchFlag flag) { bits_ = static_cast<std::uint8_t>(bits_ | Bit(flag)); }
  constexpr void Exclude(TMySearchFlag flag) { bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(flag)); }
  constexpr bool IsEmpty() const { return bits_ == 0; }
  friend constexpr bool operator==(TMySearchFlags, TMySearchFlags) = default;

 private:
  static constexpr std::uint8_t Bit(TMySearchFlag flag) { return static_cast<std::uint8_t>(1u << flag); }
  std::uint8_t bits_ = 0;
};

// The four case copies of a search word's text.
enum sw_copy_type : std::uint8_t { unchanged_copy, upper_copy, lower_copy, title_copy };

// One parsed search word. A zeroed record (as constructed) is what the parse
// functions start from.
struct TSearch_word_format_rec {
  UnicodeString typed_in_text;  // as typed for this alternative: the word's identity
  UnicodeString search_text;    // parsed, with the matcher's internal codes
  // Unchanged, upper case, lower case, and the upper copy's first character
  // followed by the lower copy's rest; all four of one length.
  std::array<UnicodeString, 4> copies;
  TMySearchFlags flags;
  std::int32_t n_to_find = 0;  // hits wanted; below 1 means no limit
  std::int32_t hits_found = 0;
  UnicodeString sw_context_needed;  // the word after " context:="
  std::int32_t spaces_in_sw = 0;    // set by the collection
  std::array<std::uint8_t, 4> spareb{};
  bool ambiguous = false;  // the search text differs from the typed text or holds a wildcard code
  bool auto_lemma_added = false;
  bool copies_converted = false;  // the copies hold the bytes of an 8-bit code page
  bool has_file_based_context_word = false;
  bool achou_suficiente = false;  // enough hits have been found
  bool contains_a_tag = false;    // the search text holds paired tag codes
  std::int16_t Langnum = 0;
  std::int32_t SearchColumn = 0;
  std::int32_t temp_int = 0;
  std::array<std::uint8_t, 52> extras{};

  bool operator==(const TSearch_word_format_rec&) const = default;
};

}  // namespace quill
