#pragma once
// String types of the whole system and the conversions at the UTF-8 boundary.
//
// Text is UTF-16 throughout (UnicodeString). 8-bit text is a byte string
// (AnsiString); when its code page matters it travels alongside.
#include <string>
#include <string_view>

#include "quillrt/quillrt_export.h"

namespace quill {

using UnicodeString = std::u16string;
using AnsiString = std::string;
using WideChar = char16_t;
using PWideChar = WideChar*;

// UTF-8 -> UTF-16. Ill-formed sequences become U+FFFD, one per maximal bad
// subsequence, so that nothing is silently dropped.
QUILLRT_API UnicodeString Utf8ToUtf16(std::string_view utf8);

// UTF-16 -> UTF-8. An unpaired surrogate becomes U+FFFD.
QUILLRT_API std::string Utf16ToUtf8(std::u16string_view utf16);

// Shorthand for tests and messages: the UTF-16 form of a UTF-8 literal.
inline UnicodeString U(std::string_view utf8) { return Utf8ToUtf16(utf8); }

}  // namespace quill
