#pragma once
// What a file holds: 8-bit text, UTF-8, UTF-16 in either byte order, a file of
// an early word processor, a compound document or a zip archive; judged from
// its first bytes (quick) or from all of it (thorough).
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The kinds of content, in their stored order (bit i of a set is kind i). The
// kinds' traditional names begin with an underscore, which C++ reserves before
// a capital letter, so here they carry the prefix "fc".
enum TFileContentsTypes : std::uint8_t {
  fc_8_bit,            // 1: 8-bit text, plain ASCII included
  fc_UTF8,             // 2: UTF-8 text
  fc_16_bit,           // 4: UTF-16 little-endian
  fc_early_Word,       // 8: an early word-processor file (DB A5 2D 00)
  fc_Storage,          // 16: a compound document (D0 CF 11 E0)
  fc_Zip,              // 32: a zip archive (50 4B 03 04)
  fc_16_bit_reversed,  // 64: UTF-16 big-endian
};

// A set of content kinds, held in one byte.
class TFileContentsSet {
 public:
  constexpr TFileContentsSet() = default;
  constexpr TFileContentsSet(std::initializer_list<TFileContentsTypes> kinds) {
    for (TFileContentsTypes kind : kinds) bits_ = static_cast<std::uint8_t>(bits_ | (1u << kind));
  }
  static constexpr TFileContentsSet FromBits(std::uint8_t bits) {
    TFileContentsSet set;
    set.bits_ = bits;
    return set;
  }
  constexpr std::uint8_t Bits() const { return bits_; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool Contains(TFileContentsTypes kind) const { return (bits_ & (1u << kind)) != 0; }
  constexpr void Include(TFileContentsTypes kind) { bits_ = static_cast<std::uint8_t>(bits_ | (1u << kind)); }
  friend constexpr bool operator==(TFileContentsSet, TFileContentsSet) = default;

 private:
  std::uint8_t bits_ = 0;
};

// The kind of `size` bytes at `buffer`:
//  - 3 bytes or fewer: the empty set;
//  - the signatures of a compound document, an early word-processor file or a
//    zip archive give that kind alone;
//  - quick: a UTF-8 signature adds fc_UTF8; then the first two bytes FF FE add
//    fc_16_bit, FE FF fc_16_bit_reversed, anything else fc_8_bit (so a UTF-8
//    signature gives {fc_8_bit, fc_UTF8});
//  - thorough: a UTF-16 byte-order mark (even size) or the statistical UTF-16
//    test gives fc_16_bit (fc_16_bit_reversed for FE FF); else a UTF-8
//    signature gives fc_UTF8; else the bytes up to the first zero byte are
//    checked as UTF-8: well-formed up to a first multi-byte character gives
//    fc_UTF8, anything else (pure ASCII included) fc_8_bit.
QUILLRT_API TFileContentsSet FileBufferType(const void* buffer, bool thorough, std::int64_t size);

// FileBufferType of the file's first 4 bytes (quick) or of the whole file
// (thorough). A file shorter than 4 bytes, or one that cannot be read, gives the
// empty set.
QUILLRT_API TFileContentsSet FileContentsType(const UnicodeString& name, bool thorough);

// 0 when both sets are empty; otherwise -1, 0 or 1 as the sets compare when
// read as numbers (the sums of their bit values).
QUILLRT_API int FileContentsComparison(TFileContentsSet a, TFileContentsSet b);

// More than 3 bytes, and either a UTF-16 byte-order mark in either order or the
// statistical UTF-16 test.
QUILLRT_API bool StringIsInUnicode(const void* buffer, std::int64_t size);
// StringIsInUnicode of the whole file; false for an empty or unreadable file.
QUILLRT_API bool TextFileInUnicode(const UnicodeString& name);

// The text of `bytes`, decoded by what they hold: UTF-16 either way (a mark is
// dropped), UTF-8 (a signature is dropped), otherwise the system's 8-bit page.
QUILLRT_API UnicodeString DecodedTextBytes(std::string_view bytes);

// The whole file as bytes; raises EFOpenError / EReadError.
QUILLRT_API std::string ReadWholeFile(const UnicodeString& name);

}  // namespace quill
