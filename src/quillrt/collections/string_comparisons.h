#pragma once
// String comparisons used to sort word lists: ordinal, and locale-aware through
// the platform's collation with the process-wide options in my_default_sort.
#include <cstdint>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Comparison options (the NORM_* / SORT_* flags of platform/compare_string.h)
// for ComparePWidechar and ComparePAnsichar. 0 at load: case-sensitive, nothing
// ignored.
extern QUILLRT_API std::uint32_t my_default_sort;

// Ordinal comparison of UTF-16 code units: -1, 0 or 1.
QUILLRT_API std::int32_t CrudeStringComparison(const UnicodeString& a, const UnicodeString& b);

// Locale-aware comparison of two zero-terminated strings under `locale` with
// my_default_sort: -1, 0 or 1, and -2 when the comparison itself fails (a null
// string, an unknown locale identifier or unusable options).
QUILLRT_API std::int32_t ComparePWidechar(std::uint32_t locale, const WideChar* a, const WideChar* b);
// The same for 8-bit strings, read in the locale's ANSI code page.
QUILLRT_API std::int32_t ComparePAnsichar(std::uint32_t locale, const char* a, const char* b);

// ComparePWidechar on two strings.
QUILLRT_API std::int32_t LCIDStringComparison(const UnicodeString& a, const UnicodeString& b, std::uint32_t locale);

// For sorting a string list whose object slots hold int32 frequencies: the
// larger frequency first, equal frequencies by the lines' code units ascending.
QUILLRT_API int StringListCompareDescFreq(TStringList& List, int Index1, int Index2);

}  // namespace quill
