#pragma once
// Locale-aware comparison and case mapping of whole strings, over ICU.
//
// The one-argument-pair forms use the user's locale (ICU's default locale, with a
// C/POSIX environment counting as "en_US"); the forms with a trailing `locale` take
// an ICU locale name such as "de_DE" or "tr".
// Comparisons return -1, 0 or 1.
//
// - AnsiCompareText ignores case and nothing else: it compares the strings' full
//   case foldings by the locale's collation, so "Été" equals "été" and "Straße"
//   equals "STRASSE", while "ete" and "été" (or "a" and a full-width "Ａ") differ.
// - AnsiCompareStr orders by the locale's collation with case counting (lowercase
//   first) and calls two strings equal only when they are the same text
//   (canonically equivalent forms such as a precomposed and a decomposed "é" are
//   the same text).
//
// Collators are created once per thread and locale and then reused: building one
// costs far more than a comparison. A comparison allocates nothing of its own for
// strings of ordinary length.
#include <string>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

QUILLRT_API int AnsiCompareText(std::u16string_view a, std::u16string_view b);
QUILLRT_API int AnsiCompareText(std::u16string_view a, std::u16string_view b, const std::string& locale);
QUILLRT_API int AnsiCompareStr(std::u16string_view a, std::u16string_view b);
QUILLRT_API int AnsiCompareStr(std::u16string_view a, std::u16string_view b, const std::string& locale);

QUILLRT_API bool AnsiSameText(std::u16string_view a, std::u16string_view b);
QUILLRT_API bool AnsiSameText(std::u16string_view a, std::u16string_view b, const std::string& locale);
QUILLRT_API bool AnsiSameStr(std::u16string_view a, std::u16string_view b);
QUILLRT_API bool AnsiSameStr(std::u16string_view a, std::u16string_view b, const std::string& locale);

// Full case mapping of the whole string by the locale's rules: the result may be
// longer than the argument ("ß" -> "SS"), and Turkish maps "i" to "İ".
QUILLRT_API UnicodeString AnsiUpperCase(std::u16string_view s);
QUILLRT_API UnicodeString AnsiUpperCase(std::u16string_view s, const std::string& locale);
QUILLRT_API UnicodeString AnsiLowerCase(std::u16string_view s);
QUILLRT_API UnicodeString AnsiLowerCase(std::u16string_view s, const std::string& locale);

// The ICU name of the user's locale, as the functions above use it.
QUILLRT_API std::string UserLocaleName();

}  // namespace quill
