#pragma once
// Byte-order marks, UTF-8 signatures and the quick UTF-8 checks that decide how
// the bytes of a file are to be read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// `p` when its first unit is a byte-order mark in either order (U+FEFF, or
// U+FFFE as a byte-swapped file reads), else null. Null for null.
QUILLRT_API const WideChar* UnicodeSigned(const WideChar* p);
QUILLRT_API WideChar* UnicodeSigned(WideChar* p);
// `p` when its first unit is U+FFFE (a byte-swapped UTF-16 file), else null.
QUILLRT_API const WideChar* UnicodeByteReversed(const WideChar* p);
QUILLRT_API WideChar* UnicodeByteReversed(WideChar* p);

// Swaps the two bytes of every unit of a NUL-terminated buffer, in place, up to
// the terminating zero unit. Returns `text` (null does nothing).
QUILLRT_API WideChar* StrSwapByteOrder(WideChar* text);

using TThreeBytes = std::array<std::uint8_t, 3>;

// True for the bytes EF BB BF.
QUILLRT_API bool IsUTF8Signature(const TThreeBytes& bytes);
// The same for the first three bytes at `p` (false for null; the test stops at
// the first byte that differs, so a shorter NUL-terminated text is safe).
QUILLRT_API bool IsUTF8SignatureA(const char* p);
// True when the first three units hold the values 0xEF, 0xBB, 0xBF: a UTF-8
// signature read byte by byte into a UTF-16 buffer.
QUILLRT_API bool IsUTF8SignatureW(const WideChar* p);
// The three signature bytes, as text in code page 65001.
QUILLRT_API AnsiString UTF8SignatureAsUTF8String();

// The number of characters of a UTF-8 byte string, counted by lead bytes: a
// byte below 0x80 steps 1, 110xxxxx 2, 1110xxxx 3, 11110xxx 4, 111110xx 5,
// 1111110x 6. When a byte that cannot lead a sequence stands where a lead byte
// is due, or when the last sequence announces more bytes than remain, the
// result is the length in bytes.
QUILLRT_API std::size_t UTF8LengthInChars(std::string_view s);

// Whether `s` is well-formed UTF-8 as far as its first multi-byte sequence:
// the walk stops with true at the first legal sequence of two or more bytes
// (setting `all_ascii` false), with false at the first illegal one or one that
// runs past the end, and with true (`all_ascii` staying true) at the end of
// pure ASCII. Calls the yield hook once per position.
QUILLRT_API bool CheckedUTF(std::string_view s, bool& all_ascii);

}  // namespace quill
