#pragma once
// Locale identifiers (LCIDs) and the locale information the libraries ask for:
// the query GetLocaleInfoW, the replaceable hook GetLocaleDataProc through which
// every lookup of the language layer goes, and those lookups.
//
// An LCID maps to an ICU locale (uloc_getLocaleForLCID); names, currency and
// measurement system come from ICU's locale data. The default ANSI and OEM code
// pages come from a small table per primary language (the low 10 bits of the
// LCID) holding the system's own assignments; languages written only in Unicode
// (Hindi, Georgian, Armenian, ...) answer "0" for the ANSI page and "1" (the OEM
// page of the system) for the OEM page. An LCID unknown to ICU answers nothing:
// the query fails.
#include <cstdint>
#include <string>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Special LCIDs.
inline constexpr std::uint32_t LOCALE_NEUTRAL = 0x0000;
inline constexpr std::uint32_t LOCALE_INVARIANT = 0x007F;
inline constexpr std::uint32_t LOCALE_USER_DEFAULT = 0x0400;
inline constexpr std::uint32_t LOCALE_SYSTEM_DEFAULT = 0x0800;

// Information types.
inline constexpr std::uint32_t LOCALE_ILANGUAGE = 0x0001;          // LANGID, 4 hex digits
inline constexpr std::uint32_t LOCALE_SLANGUAGE = 0x0002;          // "English (United States)" in the UI language
inline constexpr std::uint32_t LOCALE_SNATIVELANGNAME = 0x0004;    // "Deutsch"
inline constexpr std::uint32_t LOCALE_SCOUNTRY = 0x0006;           // country in the UI language
inline constexpr std::uint32_t LOCALE_SNATIVECTRYNAME = 0x0008;    // "Deutschland"
inline constexpr std::uint32_t LOCALE_IDEFAULTCODEPAGE = 0x000B;   // OEM code page
inline constexpr std::uint32_t LOCALE_IMEASURE = 0x000D;           // "0" metric, "1" U.S.
inline constexpr std::uint32_t LOCALE_SCURRENCY = 0x0014;          // "$"
inline constexpr std::uint32_t LOCALE_SINTLSYMBOL = 0x0015;        // "USD"
inline constexpr std::uint32_t LOCALE_SISO639LANGNAME = 0x0059;    // "en"
inline constexpr std::uint32_t LOCALE_SISO3166CTRYNAME = 0x005A;   // "US"
inline constexpr std::uint32_t LOCALE_SNAME = 0x005C;              // "en-US"
inline constexpr std::uint32_t LOCALE_SENGLANGUAGE = 0x1001;       // "English"
inline constexpr std::uint32_t LOCALE_SENGCOUNTRY = 0x1002;        // "United States"
inline constexpr std::uint32_t LOCALE_IDEFAULTANSICODEPAGE = 0x1004;
// Flags that may accompany a type; they do not change the answers here.
inline constexpr std::uint32_t LOCALE_NOUSEROVERRIDE = 0x80000000;
inline constexpr std::uint32_t LOCALE_USE_CP_ACP = 0x40000000;

// The user's locale: the LCID of ICU's default locale (from the environment),
// 0x0409 when it has none, or what SetUserDefaultLCID set (0 resets).
QUILLRT_API std::uint32_t GetUserDefaultLCID();
QUILLRT_API void SetUserDefaultLCID(std::uint32_t lcid);
QUILLRT_API std::uint32_t GetSystemDefaultLCID();
// LOCALE_NEUTRAL, LOCALE_USER_DEFAULT -> the user's LCID; LOCALE_SYSTEM_DEFAULT
// -> the system's; anything else unchanged.
QUILLRT_API std::uint32_t ResolveLCID(std::uint32_t lcid);

// The ICU locale of an LCID ("en_US", "de_DE@collation=phonebook"); "" when ICU
// does not know it. LOCALE_INVARIANT maps to the root locale "".
QUILLRT_API std::string LCIDToLocaleName(std::uint32_t lcid);
// The LCID of a locale name in ICU ("en_US") or BCP 47 ("en-US") form; 0 when
// unknown.
QUILLRT_API std::uint32_t LocaleNameToLCID(std::string_view name);
// True when the LCID names a locale (after resolving the special values).
QUILLRT_API bool IsValidLCID(std::uint32_t lcid);

// The default code pages of an LCID from the table described above: 0 / 1 for
// Unicode-only languages, 0 for unknown LCIDs.
QUILLRT_API std::uint32_t AnsiCodePageOfLCID(std::uint32_t lcid);
QUILLRT_API std::uint32_t OemCodePageOfLCID(std::uint32_t lcid);

// The text of one information type, "" when the LCID or the type is unknown.
// This is the standard implementation behind GetLocaleDataProc.
QUILLRT_API UnicodeString LocaleInfoString(std::uint32_t lcid, std::uint32_t lc_type);

// The query with the system's conventions: the result counts the units written
// including the terminating NUL; a `data_count` of 0 asks for that size and
// writes nothing; 0 on failure (unknown LCID or type, null or too small output).
QUILLRT_API int GetLocaleInfoW(std::uint32_t lcid, std::uint32_t lc_type, char16_t* data, int data_count);

// The locale-data hook: (LCID, information type, result). At load it points to
// StandardGetLocaleData; a tool may point it elsewhere (never to null: reset it
// to StandardGetLocaleData instead).
using TGetLocaleFunct = void (*)(std::uint32_t lcid, std::uint32_t lc_type, UnicodeString& result);
QUILLRT_API void StandardGetLocaleData(std::uint32_t lcid, std::uint32_t lc_type, UnicodeString& result);
extern QUILLRT_API TGetLocaleFunct GetLocaleDataProc;

// The lookups, all through GetLocaleDataProc.
QUILLRT_API UnicodeString CurrencyFromLCID(std::uint32_t lcid);             // LOCALE_SCURRENCY
QUILLRT_API UnicodeString CountryFromLCID(std::uint32_t lcid);              // LOCALE_SENGCOUNTRY
QUILLRT_API UnicodeString LocalLanguageNameFromLCID(std::uint32_t lcid);    // LOCALE_SLANGUAGE
QUILLRT_API UnicodeString EnglishLanguageNameFromLCID(std::uint32_t lcid);  // LOCALE_SENGLANGUAGE
// The code pages as integers; 0 when the text is not a number.
QUILLRT_API int DOSCodepageFromLCID(std::uint32_t lcid);      // LOCALE_IDEFAULTCODEPAGE
QUILLRT_API int WindowsCodepageFromLCID(std::uint32_t lcid);  // LOCALE_IDEFAULTANSICODEPAGE

// Reads a whole decimal number (optional sign, no blanks); false for anything
// else, including an empty text or a value beyond 32 bits.
QUILLRT_API bool TryParseLocaleNumber(const UnicodeString& text, int& value);

}  // namespace quill
