#pragma once
// NUL-terminated copies of raw buffers, the fixed search-word buffer, and the
// numeric character notation "{CHR(n)}" / "#n".
//
// A copy made here is a block of count + 1 characters holding the copied text
// and a NUL. Free it with DeletePAnsichar or DeletePWideChar and nothing else.
#include <array>
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Exactly `count` characters of `source` and a NUL (a count below 0 counts as
// 0). Null for a null source.
QUILLRT_API char* NewLenPAnsichar(const char* source, std::int32_t count);
QUILLRT_API WideChar* NewLenPWidechar(const WideChar* source, std::int32_t count);

// The same with count = the smaller of `max` and the source's length up to its
// NUL; the source is never read beyond `max` characters.
QUILLRT_API char* StrNewLen(const char* source, std::int32_t max);
QUILLRT_API WideChar* StrNewWLen(const WideChar* source, std::int32_t max);

// A copy of the whole NUL-terminated source; null for a null source.
QUILLRT_API char* NewPAnsichar(const char* source);
QUILLRT_API WideChar* NewPWideChar(const WideChar* source);

// Free a block made above; null is ignored.
QUILLRT_API void DeletePAnsichar(char* p);
QUILLRT_API void DeletePWideChar(WideChar* p);

// A fixed search-word buffer: 80 characters and a terminating NUL, all zero
// when empty.
inline constexpr std::size_t search_word_type32_chars = 80;
using Search_word_type32 = std::array<WideChar, search_word_type32_chars + 1>;

// Zero-fills `buffer` and copies at most the first 80 characters of `s`.
QUILLRT_API void StringToSearch_word_type32(const UnicodeString& s, Search_word_type32& buffer);
// The text of `buffer` up to its first NUL (at most 80 characters).
QUILLRT_API UnicodeString Search_word_type32ToString(const Search_word_type32& buffer);

// Replaces in `s` first every "{CHR(n)}" (the word CHR in any case) and then
// every "#n", n being ASCII decimal digits, by the one character of code n
// (kept to 16 bits). A notation whose number does not parse (no digits, or a
// value beyond 32 bits) is left as it is. Returns the code of the last
// character so produced, or -1 when none was. Calls the yield hook once per
// occurrence examined.
QUILLRT_API std::int32_t MyFormatValidNumberStr(UnicodeString& s);

}  // namespace quill
