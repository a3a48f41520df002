#pragma once
// Locale-aware string comparison with the results and flags of the Windows call
// CompareStringW / CompareStringA, implemented over ICU collation.
//
// Results: CSTR_LESS_THAN (1), CSTR_EQUAL (2), CSTR_GREATER_THAN (3), or 0 when
// the comparison fails: a null string, an unknown locale identifier or a flag
// outside the set below. Subtracting 2 from a successful result gives the usual
// -1 / 0 / 1.
//
// A count of -1 (any negative count) means "up to the terminating NUL".
//
// How the flags are rendered in ICU terms:
// - no flag: tertiary strength, case-sensitive. Hyphen-minus and apostrophe are
//   "word sort" characters: they are skipped in a first comparison so that "coop"
//   and "co-op" sort together, and only break ties (fewer of them first, then
//   their place).
// - SORT_STRINGSORT: hyphen and apostrophe compare as the symbols they are.
// - NORM_IGNORECASE / LINGUISTIC_IGNORECASE: secondary strength (ICU keeps width
//   and kana-type differences on the same level as case, so they go too).
// - NORM_IGNORENONSPACE / LINGUISTIC_IGNOREDIACRITIC: primary strength, with a
//   case level unless case is ignored as well.
// - NORM_IGNORESYMBOLS: spaces, punctuation, symbols and currency signs are
//   ignorable ("shifted" alternate handling up to the currency group).
// - NORM_IGNOREWIDTH: half- and full-width forms are folded before comparing.
// - NORM_IGNOREKANATYPE: katakana folds to hiragana before comparing.
// - SORT_DIGITSASNUMBERS: runs of digits compare by numeric value.
// - NORM_LINGUISTIC_CASING: accepted; ICU casing is always linguistic.
//
// Collators are cached per thread for each (locale, flags) pair, so repeated
// comparisons cost one hash look-up (none when the pair repeats) plus ICU's work.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

inline constexpr std::uint32_t NORM_IGNORECASE = 0x00000001;
inline constexpr std::uint32_t NORM_IGNORENONSPACE = 0x00000002;
inline constexpr std::uint32_t NORM_IGNORESYMBOLS = 0x00000004;
inline constexpr std::uint32_t SORT_DIGITSASNUMBERS = 0x00000008;
inline constexpr std::uint32_t LINGUISTIC_IGNORECASE = 0x00000010;
inline constexpr std::uint32_t LINGUISTIC_IGNOREDIACRITIC = 0x00000020;
inline constexpr std::uint32_t SORT_STRINGSORT = 0x00001000;
inline constexpr std::uint32_t NORM_IGNOREKANATYPE = 0x00010000;
inline constexpr std::uint32_t NORM_IGNOREWIDTH = 0x00020000;
inline constexpr std::uint32_t NORM_LINGUISTIC_CASING = 0x08000000;

inline constexpr int CSTR_LESS_THAN = 1;
inline constexpr int CSTR_EQUAL = 2;
inline constexpr int CSTR_GREATER_THAN = 3;

// Compares two UTF-16 strings under `locale` (an LCID; 0, 0x0400 and 0x0800 mean
// the user's default locale (GetUserDefaultLCID), 0x007F the invariant one, which
// compares by the root collation).
QUILLRT_API int CompareStringW(std::uint32_t locale, std::uint32_t flags, const WideChar* string1, int count1,
                               const WideChar* string2, int count2);

// Compares two 8-bit strings under `locale`; the bytes are read in the locale's
// ANSI code page (the system's, GetACP, for locales written only in Unicode).
QUILLRT_API int CompareStringA(std::uint32_t locale, std::uint32_t flags, const char* string1, int count1,
                               const char* string2, int count2);

// The ICU locale name that `locale` selects for comparison, or an empty string
// when the identifier is unknown (CompareString* then fail).
QUILLRT_API std::string CollationLocaleName(std::uint32_t locale);

}  // namespace quill
