#pragma once
// Scanning, substring search and comparison over raw character buffers.
//
// A buffer is a pointer to its first character and a count of characters: bytes
// for the 8-bit operations (names ending in "A", or none and a char buffer),
// 16-bit units for the "W" operations. The count bounds every operation: NULs
// inside it are ordinary characters and nothing outside it is read. Patterns
// passed as NUL-terminated strings are read up to their NUL.
//
// None of these allocates. Results that point into a buffer are null when
// nothing is found; a null buffer or pattern, or a count of zero or below, finds
// nothing.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The first unit equal to `c` in [from, to), or `to`: std::find for 16-bit
// text, eight units at a time, for the scans that pass over a whole text.
QUILLRT_API const WideChar* FindWideChar(const WideChar* from, const WideChar* to, WideChar c);
// The first unit equal to any of the four in `set` in [from, to), or `to`
// (repeat a unit to look for fewer): one pass where four would be needed.
QUILLRT_API const WideChar* FindAnyOfFourWideChars(const WideChar* from, const WideChar* to, const WideChar (&set)[4]);

// First occurrence of `c` among the first `count` characters.
QUILLRT_API const char* FastStrScan(const char* buffer, char c, std::int32_t count);
QUILLRT_API const WideChar* FastStrScanW(const WideChar* buffer, WideChar c, std::int32_t count);

// As FastStrScanW, except that a null buffer or a count of zero (or below)
// returns `buffer` itself rather than null: callers use it to walk a buffer and
// treat "nothing left to scan" as "stay where you are".
QUILLRT_API const WideChar* StrLScanW(const WideChar* buffer, WideChar c, std::int32_t count);

// First position at which the whole NUL-terminated `pattern` lies inside the
// first `count` characters (a pattern ending at the last counted character is
// found). Null for an empty pattern or one longer than count.
QUILLRT_API const char* FastStrPos(const char* buffer, const char* pattern, std::int32_t count);
QUILLRT_API const WideChar* FastStrPosW(const WideChar* buffer, const WideChar* pattern, std::int32_t count);

// Two-case search: the first position where, for every index k of the pattern,
// the buffer character equals lower_pattern[k] or upper_pattern[k]. The caller
// makes the two case forms; they must have the same length, else nothing is found.
QUILLRT_API const char* FastStrIPos(const char* buffer, const char* lower_pattern, const char* upper_pattern,
                                    std::int32_t count);
QUILLRT_API const WideChar* FastStrIPosW(const WideChar* buffer, const WideChar* lower_pattern,
                                         const WideChar* upper_pattern, std::int32_t count);

// 1-based index of the first `c` in `s` at or after the 1-based `start`; 0 when
// there is none or start lies beyond the end. A start below 1 counts as 1.
QUILLRT_API std::int32_t StrScanIndex(const UnicodeString& s, WideChar c, std::int32_t start);

// 1-based index of the first element equal to `value` among the first `count`
// elements of `values`; 0 when there is none.
QUILLRT_API std::int32_t ScanForInt(std::int32_t value, const std::int32_t* values, std::int32_t count);

// Compares the first `count` units of a and b from the start and returns how
// many units remain after the first unequal pair: 0 when all are equal (and also
// when only the last pair differs). 0 for a null pointer.
QUILLRT_API std::int32_t HowFarEqualContentsA(const char* a, const char* b, std::int32_t count);
QUILLRT_API std::int32_t HowFarEqualContentsW(const WideChar* a, const WideChar* b, std::int32_t count);

// True when the first `count` units of a and b are equal; true for a count of
// zero or below, false when a null pointer would have to be read.
QUILLRT_API bool EqualContentsA(const char* a, const char* b, std::int32_t count);
QUILLRT_API bool EqualContentsW(const WideChar* a, const WideChar* b, std::int32_t count);

// The scans and searches over writable buffers, returning writable pointers.
inline char* FastStrScan(char* buffer, char c, std::int32_t count) {
  return const_cast<char*>(FastStrScan(static_cast<const char*>(buffer), c, count));
}
inline WideChar* FastStrScanW(WideChar* buffer, WideChar c, std::int32_t count) {
  return const_cast<WideChar*>(FastStrScanW(static_cast<const WideChar*>(buffer), c, count));
}
inline WideChar* StrLScanW(WideChar* buffer, WideChar c, std::int32_t count) {
  return const_cast<WideChar*>(StrLScanW(static_cast<const WideChar*>(buffer), c, count));
}
inline char* FastStrPos(char* buffer, const char* pattern, std::int32_t count) {
  return const_cast<char*>(FastStrPos(static_cast<const char*>(buffer), pattern, count));
}
inline WideChar* FastStrPosW(WideChar* buffer, const WideChar* pattern, std::int32_t count) {
  return const_cast<WideChar*>(FastStrPosW(static_cast<const WideChar*>(buffer), pattern, count));
}
inline char* FastStrIPos(char* buffer, const char* lower_pattern, const char* upper_pattern, std::int32_t count) {
  return const_cast<char*>(FastStrIPos(static_cast<const char*>(buffer), lower_pattern, upper_pattern, count));
}
inline WideChar* FastStrIPosW(WideChar* buffer, const WideChar* lower_pattern, const WideChar* upper_pattern,
                              std::int32_t count) {
  return const_cast<WideChar*>(
      FastStrIPosW(static_cast<const WideChar*>(buffer), lower_pattern, upper_pattern, count));
}

}  // namespace quill
