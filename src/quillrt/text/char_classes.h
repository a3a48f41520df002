#pragma once
// The character-class array of a buffer and what the text layer does with it:
// building it, the editors that write the special class values (zero-width
// joiners, characters allowed inside words and numbers), single-character
// tests, locale-bound case mapping of strings and buffers, and the 8-bit case
// operations that work from a language's own tables of letters.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/text/class_bits.h"

namespace quill {

// One class word per character of a buffer, plus two zero words at the end
// (the search engine's end pointer rests on the second of them).
using TClassArray = std::vector<TClassWord>;
inline constexpr std::size_t class_array_extra_words = 2;

// Fill `classes` for a UTF-16 buffer under `lcid` (or an 8-bit buffer in the
// LCID's default ANSI code page): count + 2 words, the last two zero. The
// array's memory is reused when it is large enough. A null buffer or a count
// of 0 gives just the two zero words.
QUILLRT_API void FillClassArray(const WideChar* buffer, std::size_t count, std::uint32_t lcid, TClassArray& classes);
QUILLRT_API void FillClassArrayA(const char* buffer, std::size_t count, std::uint32_t lcid, TClassArray& classes);
QUILLRT_API TClassArray MakeClassArray(const WideChar* buffer, std::size_t count, std::uint32_t lcid);
QUILLRT_API TClassArray MakeClassArrayA(const char* buffer, std::size_t count, std::uint32_t lcid);

// --- Single-character tests -------------------------------------------------

// "0" to "9" only.
QUILLRT_API bool IsOrdinaryNumberChar(WideChar c);
// A decimal digit of any script (general category Nd).
QUILLRT_API bool IsADigitChar(WideChar c);
// U+001B, the internal form of the digit wildcard (not "#" itself).
QUILLRT_API bool IsHashSymbol(WideChar c);
// "#" or "{".
QUILLRT_API bool IsHashOrBrace(WideChar c);

// --- Case mapping -------------------------------------------------------------

// Linguistic case mapping under `locale` (Turkish and Azeri dotted and dotless
// i), one unit for one unit. The part before the first NUL is mapped; the rest
// of the string, if any, is copied unchanged. The argument is left alone.
QUILLRT_API UnicodeString Lowercase(std::uint32_t locale, const UnicodeString& s);
QUILLRT_API UnicodeString Uppercase(std::uint32_t locale, const UnicodeString& s);
// Locale-independent mapping of the whole string.
QUILLRT_API UnicodeString Lowercase(const UnicodeString& s);
QUILLRT_API UnicodeString Uppercase(const UnicodeString& s);
// Linguistic mapping in place over a NUL-terminated buffer. The result is the
// platform call's: the units written, counting the terminating NUL; 0 for a
// null buffer.
QUILLRT_API int LowercaseIt(std::uint32_t locale, WideChar* text);
QUILLRT_API int UppercaseIt(std::uint32_t locale, WideChar* text);

// --- 8-bit case tables ----------------------------------------------------------

// One length byte, then up to 128 characters of an 8-bit code page: the lower-
// (or upper-) case letters beyond "a" to "z". The character at index k of the
// lower-case table is the lower-case form of the one at index k of the
// upper-case table. A length byte above 128 counts as 128.
struct ANSILower_or_upperStr_type {
  std::uint8_t length = 0;
  unsigned char chars[128] = {};
};
inline constexpr std::size_t ansi_case_table_capacity = 128;

// A table holding the first 128 bytes of `letters`.
QUILLRT_API ANSILower_or_upperStr_type MakeANSICaseTable(const AnsiString& letters);

// In place over `count` bytes: "a" to "z" become "A" to "Z"; a byte above "z"
// found in `lowers` (first occurrence, within the common length of the two
// tables) becomes the byte at the same index of `uppers`; other bytes stay.
QUILLRT_API void CapitaliseABuffer(char* buffer, const ANSILower_or_upperStr_type& lowers,
                                   const ANSILower_or_upperStr_type& uppers, int count);

// In place over `count` bytes, blanks out lower-case words. A word is a run of
// bytes above 0x20. Until a word's first upper-case letter ("A" to "Z" or a
// byte of `uppers`) each lower-case letter ("a" to "z" or a byte above "z" of
// `lowers`) becomes a space; from the first upper-case letter on, the word is
// left alone. Digits and punctuation never change and do not end a word.
QUILLRT_API void CutLowercaseWords(char* buffer, const ANSILower_or_upperStr_type& lowers,
                                   const ANSILower_or_upperStr_type& uppers, int count);

// --- Class-array editors --------------------------------------------------------

// Every U+200D gets the class 0x0200 (defined only): it may extend a hit.
QUILLRT_API void SetZeroWidthJoinersToDefined(const WideChar* buffer, TClassWord* classes, std::size_t count);
// Every U+200C gets the class 0x0300 (defined, alphabetic): it counts as a letter.
QUILLRT_API void SetZeroWidthNonJoinersToDefinedAlpha(const WideChar* buffer, TClassWord* classes,
                                                      std::size_t count);

// Marks the language's allowable middle characters (apostrophes, hyphens, ...)
// where they join letters (class 0x0302) or digits (0x0204). `buffer` holds
// `count` UTF-16 units when `in_unicode`, else `count` bytes. For each of the
// first `allowables_length` characters of `wide_allowables`, in order, each
// occurrence at index i below count - 1 (the last character is never looked at)
// whose class is neither markup nor a segment marker is examined:
//   - unless `allow_middles_at_left`, the first character to its left that is
//     not markup must be a word character: a segment marker refuses, and so
//     does an occurrence with nothing but markup to its left, but a word
//     character at the very start of the buffer is a neighbour like any other,
//     so "I'm" opening a text is one word; a digit there makes the candidate
//     0x0204, else 0x0302;
//   - unless `allow_middles_at_right`, the same to its right (a marker, or
//     nothing but markup up to the end of the buffer, refuses); a digit there
//     makes the candidate 0x0204;
//   - the candidate (0x0302 when neither side was looked at) is written.
// In 8-bit buffers an allowable below U+0080 is compared as it is; another one
// is compared as its byte in the system ANSI code page, and matches nothing
// when that page lacks it.
QUILLRT_API void HandleMiddleChars(const void* buffer, TClassWord* classes, const WideChar* wide_allowables,
                                   int allowables_length, std::size_t count, bool in_unicode,
                                   bool allow_middles_at_right, bool allow_middles_at_left);

// Marks the separators inside numbers: wherever a digit, a non-digit and a
// digit follow each other, the middle character gets the class 0x0204 when it
// is ".", ",", U+00B7 (byte 0xB7 in 8-bit buffers) or, with `space_in_numbers`,
// a space. Segment markers never count as digits, and markers and markup are
// never overwritten.
QUILLRT_API void HandleMiddleCharsInNumbers(bool in_unicode, bool space_in_numbers, const void* buffer,
                                            TClassWord* classes, std::size_t count);

}  // namespace quill
