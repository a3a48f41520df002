#pragma once
// What an LCID says about a language: its primary language, reading direction,
// whether it needs Unicode or has combining characters, and the locale lookups
// by LCID (currency, country, names, code pages). The lookups all go through
// the replaceable hook GetLocaleDataProc of the platform layer, declared with
// them in platform/locale_info.h.
#include <array>
#include <cstdint>
#include <memory>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/language/language_holders.h"
#include "quillrt/platform/locale_info.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The framework's reading-order modes.
enum TBiDiMode : std::uint8_t {
  bdLeftToRight = 0,
  bdRightToLeft = 1,
  bdRightToLeftNoAlign = 2,
  bdRightToLeftReadingOnly = 3,
};

// The ANSI code pages the tools offer in their choosers (0 = none chosen).
extern QUILLRT_API const std::array<std::uint16_t, 15> win_codepages;

// The low 10 bits of the LCID.
QUILLRT_API std::uint16_t PrimaryLanguage(std::uint32_t lcid);
QUILLRT_API bool SamePrimaryLanguage(std::uint32_t a, std::uint32_t b);

// Right to left for Arabic, Hebrew, Farsi and Pashto.
QUILLRT_API TBiDiMode BiDiModeFromLCID(std::uint32_t lcid);
// Right to left for the Hebrew (177) and Arabic (178) character sets.
QUILLRT_API TBiDiMode BiDiModeFromCharset(std::uint8_t charset);

// Languages that no 8-bit code page serves well: Arabic, Chinese, Hebrew,
// Japanese, Korean, Thai, Farsi, Vietnamese, Pashto.
QUILLRT_API bool LanguageRequiresUnicode(std::uint32_t lcid);
// Languages written with combining characters: Arabic, Thai, Farsi, the Indic
// scripts, Tibetan, Khmer, Lao, Sinhala, Amharic, Nepali, Pashto, Yoruba.
QUILLRT_API bool LanguageHasCombiningCharacters(std::uint32_t lcid);

// The currency symbols of the entries of `lcids` that share the primary
// language of `lcid`, in order, joined by "," (no blank). A symbol that already
// occurs anywhere in the result, even inside a longer one, is not added again.
QUILLRT_API UnicodeString LCIDAllCurrencyString(std::uint32_t lcid, const TArrayOfLCID& lcids);

// One line per country among the entries of `lcids` that share the primary
// language of `lcid`: the English country name, with the entry's LCID as the
// line's integer object. The first LCID met for a country wins; an LCID with no
// country name adds nothing. Sorted at the
// end in the list's default (case-insensitive) order.
QUILLRT_API std::unique_ptr<TStringList> LCIDSubVarieties(std::uint32_t lcid, const TArrayOfLCID& lcids);

// A system language name splits as "Language (Variety)":
// ShortenedSysLanguageName gives "Language", SysLanguageVariantName "Variety"
// (brackets removed, trimmed). A name without " (" is returned unchanged by both
// (the second only trims it and drops stray brackets).
QUILLRT_API UnicodeString ShortenedSysLanguageName(const UnicodeString& name);
QUILLRT_API UnicodeString SysLanguageVariantName(const UnicodeString& name);

}  // namespace quill
