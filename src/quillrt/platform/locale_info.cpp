#include "quillrt/platform/locale_info.h"

#include <unicode/ucurr.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <limits>

namespace quill {

namespace {

std::atomic<std::uint32_t> g_user_lcid{0};

constexpr std::uint32_t kPrimaryMask = 0x3FF;
constexpr std::uint32_t kUnicodeOnlyAnsi = 0;
constexpr std::uint32_t kUnicodeOnlyOem = 1;

struct CodePagePair {
  std::uint16_t primary;
  std::uint16_t ansi;
  std::uint16_t oem;
};

// The ANSI and OEM code pages of each primary language that has them, in
// order of primary language. Languages absent here are written in Unicode
// only. Languages whose pages depend on the script or the country are settled
// in CodePagesOf.
constexpr CodePagePair kCodePages[] = {
    {0x01, 1256, 720},  // Arabic
    {0x02, 1251, 866},  // Bulgarian
    {0x03, 1252, 850},  // Catalan
    {0x05, 1250, 852},  // Czech
    {0x06, 1252, 850},  // Danish
    {0x07, 1252, 850},  // German
    {0x08, 1253, 737},  // Greek
    {0x09, 1252, 850},  // English (U.S.: 437)
    {0x0A, 1252, 850},  // Spanish
    {0x0B, 1252, 850},  // Finnish
    {0x0C, 1252, 850},  // French
    {0x0D, 1255, 862},  // Hebrew
    {0x0E, 1250, 852},  // Hungarian
    {0x0F, 1252, 850},  // Icelandic
    {0x10, 1252, 850},  // Italian
    {0x11, 932, 932},   // Japanese
    {0x12, 949, 949},   // Korean
    {0x13, 1252, 850},  // Dutch
    {0x14, 1252, 850},  // Norwegian
    {0x15, 1250, 852},  // Polish
    {0x16, 1252, 850},  // Portuguese
    {0x17, 1252, 850},  // Romansh
    {0x18, 1250, 852},  // Romanian
    {0x19, 1251, 866},  // Russian
    {0x1A, 1250, 852},  // Croatian, Serbian, Bosnian (Latin)
    {0x1B, 1250, 852},  // Slovak
    {0x1C, 1250, 852},  // Albanian
    {0x1D, 1252, 850},  // Swedish
    {0x1E, 874, 874},   // Thai
    {0x1F, 1254, 857},  // Turkish
    {0x20, 1256, 720},  // Urdu
    {0x21, 1252, 850},  // Indonesian
    {0x22, 1251, 866},  // Ukrainian
    {0x23, 1251, 866},  // Belarusian
    {0x24, 1250, 852},  // Slovenian
    {0x25, 1257, 775},  // Estonian
    {0x26, 1257, 775},  // Latvian
    {0x27, 1257, 775},  // Lithuanian
    {0x28, 1251, 866},  // Tajik
    {0x29, 1256, 720},  // Persian
    {0x2A, 1258, 1258}, // Vietnamese
    {0x2C, 1254, 857},  // Azeri (Latin)
    {0x2D, 1252, 850},  // Basque
    {0x2E, 1252, 850},  // Sorbian
    {0x2F, 1251, 866},  // Macedonian
    {0x32, 1252, 850},  // Tswana
    {0x34, 1252, 850},  // Xhosa
    {0x35, 1252, 850},  // Zulu
    {0x36, 1252, 850},  // Afrikaans
    {0x38, 1252, 850},  // Faroese
    {0x3B, 1252, 850},  // Sami
    {0x3C, 1252, 850},  // Irish
    {0x3E, 1252, 850},  // Malay
    {0x3F, 1251, 866},  // Kazakh
    {0x40, 1251, 866},  // Kyrgyz
    {0x41, 1252, 437},  // Swahili
    {0x42, 1250, 852},  // Turkmen
    {0x43, 1254, 857},  // Uzbek (Latin)
    {0x44, 1251, 866},  // Tatar
    {0x50, 1251, 866},  // Mongolian (Cyrillic)
    {0x52, 1252, 850},  // Welsh
    {0x56, 1252, 850},  // Galician
    {0x5D, 1252, 437},  // Inuktitut (Latin)
    {0x5F, 1252, 850},  // Tamazight (Latin)
    {0x62, 1252, 850},  // Frisian
    {0x64, 1252, 437},  // Filipino
    {0x68, 1252, 437},  // Hausa
    {0x6A, 1252, 437},  // Yoruba
    {0x6B, 1252, 850},  // Quechua
    {0x6C, 1252, 850},  // Sesotho sa Leboa
    {0x6D, 1251, 866},  // Bashkir
    {0x6E, 1252, 850},  // Luxembourgish
    {0x6F, 1252, 850},  // Greenlandic
    {0x70, 1252, 437},  // Igbo
    {0x7A, 1252, 850},  // Mapudungun
    {0x7C, 1252, 850},  // Mohawk
    {0x7E, 1252, 850},  // Breton
    {0x80, 1256, 720},  // Uyghur
    {0x82, 1252, 850},  // Occitan
    {0x83, 1252, 850},  // Corsican
    {0x84, 1252, 850},  // Alsatian
    {0x85, 1251, 866},  // Sakha
    {0x86, 1252, 850},  // K'iche'
    {0x87, 1252, 437},  // Kinyarwanda
    {0x88, 1252, 850},  // Wolof
    {0x8C, 1256, 720},  // Dari
};

CodePagePair CodePagesOf(std::uint32_t lcid) {
  const auto primary = static_cast<std::uint16_t>(lcid & kPrimaryMask);
  const std::uint32_t sublanguage = (lcid & 0xFFFF) >> 10;
  switch (primary) {
    case 0x04: {  // Chinese: simplified for the PRC and Singapore, traditional elsewhere
      const bool simplified = sublanguage == 0x02 || sublanguage == 0x04 || (lcid & 0xFFFF) == 0x0004;
      return simplified ? CodePagePair{primary, 936, 936} : CodePagePair{primary, 950, 950};
    }
    case 0x09:
      if ((lcid & 0xFFFF) == 0x0409) return {primary, 1252, 437};
      break;
    case 0x1A:  // Serbian and Bosnian in Cyrillic
      if (sublanguage == 0x03 || sublanguage == 0x07 || sublanguage == 0x08 || sublanguage == 0x0A ||
          sublanguage == 0x0C)
        return {primary, 1251, 855};
      break;
    case 0x2C:  // Azeri in Cyrillic
    case 0x43:  // Uzbek in Cyrillic
      if (sublanguage == 0x02) return {primary, 1251, 866};
      break;
    case 0x50:  // Mongolian in the traditional script
      if (sublanguage == 0x02) return {primary, kUnicodeOnlyAnsi, kUnicodeOnlyOem};
      break;
    default: break;
  }
  const auto* end = std::end(kCodePages);
  const auto* it = std::lower_bound(std::begin(kCodePages), end, primary,
                                    [](const CodePagePair& entry, std::uint16_t p) { return entry.primary < p; });
  if (it != end && it->primary == primary) return *it;
  return {primary, kUnicodeOnlyAnsi, kUnicodeOnlyOem};
}

// ICU output into a fixed buffer as a UTF-16 string ("" on failure).
template <typename Call>
UnicodeString IcuText(Call&& call) {
  std::array<UChar, 256> buffer{};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = call(buffer.data(), static_cast<int32_t>(buffer.size()), &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return UnicodeString(reinterpret_cast<const char16_t*>(buffer.data()),
                       static_cast<std::size_t>(std::min<int32_t>(length, static_cast<int32_t>(buffer.size()))));
}

UnicodeString Ascii(const std::string& text) { return UnicodeString(text.begin(), text.end()); }

UnicodeString Number(std::uint32_t value) { return Ascii(std::to_string(value)); }

// The locale without keywords ("de_DE@collation=phonebook" -> "de_DE").
std::string BaseName(const std::string& locale) {
  char buffer[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getBaseName(locale.c_str(), buffer, sizeof buffer, &status);
  return U_SUCCESS(status) ? std::string(buffer) : locale;
}

// The locale with its likely country when it has none ("en" -> "en_Latn_US"),
// for the answers that need a country.
std::string WithLikelyCountry(const std::string& locale) {
  char country[ULOC_COUNTRY_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getCountry(locale.c_str(), country, sizeof country, &status);
  if (U_SUCCESS(status) && country[0] != 0) return locale;
  char buffer[ULOC_FULLNAME_CAPACITY] = {};
  status = U_ZERO_ERROR;
  uloc_addLikelySubtags(locale.c_str(), buffer, sizeof buffer, &status);
  return U_SUCCESS(status) ? std::string(buffer) : locale;
}

const char* UserInterfaceLocale() { return uloc_getDefault(); }

UnicodeString CurrencySymbol(const std::string& locale, bool iso_code) {
  const std::string with_country = WithLikelyCountry(locale);
  UChar code[4] = {};
  UErrorCode status = U_ZERO_ERROR;
  ucurr_forLocale(with_country.c_str(), code, 4, &status);
  if (U_FAILURE(status) || code[0] == 0) return {};
  if (iso_code) return UnicodeString(reinterpret_cast<const char16_t*>(code), 3);
  UBool is_choice = false;
  int32_t length = 0;
  status = U_ZERO_ERROR;
  const UChar* name = ucurr_getName(code, locale.c_str(), UCURR_SYMBOL_NAME, &is_choice, &length, &status);
  if (U_FAILURE(status) || name == nullptr || length <= 0) return {};
  return UnicodeString(reinterpret_cast<const char16_t*>(name), static_cast<std::size_t>(length));
}

UnicodeString Measurement(const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const UMeasurementSystem system = ulocdata_getMeasurementSystem(WithLikelyCountry(locale).c_str(), &status);
  if (U_FAILURE(status)) return {};
  return system == UMS_US ? u"1" : u"0";
}

UnicodeString InvariantInfo(std::uint32_t lc_type) {
  switch (lc_type) {
    case LOCALE_ILANGUAGE: return u"007f";
    case LOCALE_SLANGUAGE:
    case LOCALE_SENGLANGUAGE:
    case LOCALE_SNATIVELANGNAME: return u"Invariant Language";
    case LOCALE_SCOUNTRY:
    case LOCALE_SENGCOUNTRY:
    case LOCALE_SNATIVECTRYNAME: return u"Invariant Country";
    case LOCALE_IDEFAULTCODEPAGE: return u"437";
    case LOCALE_IDEFAULTANSICODEPAGE: return u"1252";
    case LOCALE_IMEASURE: return u"0";
    case LOCALE_SCURRENCY: return u"\u00A4";
    case LOCALE_SINTLSYMBOL: return u"XDR";
    case LOCALE_SISO639LANGNAME: return u"iv";
    case LOCALE_SISO3166CTRYNAME: return u"IV";
    case LOCALE_SNAME: return u"";
    default: return {};
  }
}

}  // namespace

std::uint32_t GetUserDefaultLCID() {
  const std::uint32_t set = g_user_lcid.load(std::memory_order_relaxed);
  if (set != 0) return set;
  const std::uint32_t from_icu = uloc_getLCID(uloc_getDefault());
  // ICU reads the "C" environment as en_US_POSIX, which has no LCID of its own.
  return (from_icu == 0 || from_icu == LOCALE_INVARIANT) ? 0x0409 : from_icu;
}

void SetUserDefaultLCID(std::uint32_t lcid) { g_user_lcid.store(lcid, std::memory_order_relaxed); }

std::uint32_t GetSystemDefaultLCID() { return GetUserDefaultLCID(); }

std::uint32_t ResolveLCID(std::uint32_t lcid) {
  switch (lcid) {
    case LOCALE_NEUTRAL:
    case LOCALE_USER_DEFAULT: return GetUserDefaultLCID();
    case LOCALE_SYSTEM_DEFAULT: return GetSystemDefaultLCID();
    default: return lcid;
  }
}

std::string LCIDToLocaleName(std::uint32_t lcid) {
  lcid = ResolveLCID(lcid);
  if (lcid == LOCALE_INVARIANT) return {};
  char buffer[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = uloc_getLocaleForLCID(lcid, buffer, sizeof buffer, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(length));
}

std::uint32_t LocaleNameToLCID(std::string_view name) {
  if (name.empty()) return 0;
  const std::string text(name);
  char buffer[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_forLanguageTag(text.c_str(), buffer, sizeof buffer, nullptr, &status);
  // A name in ICU's own form ("en_US") is not a well-formed tag; use it as is.
  const std::string locale = (U_SUCCESS(status) && buffer[0] != 0) ? std::string(buffer) : text;
  return uloc_getLCID(locale.c_str());
}

bool IsValidLCID(std::uint32_t lcid) {
  lcid = ResolveLCID(lcid);
  return lcid == LOCALE_INVARIANT || !LCIDToLocaleName(lcid).empty();
}

std::uint32_t AnsiCodePageOfLCID(std::uint32_t lcid) {
  lcid = ResolveLCID(lcid);
  if (lcid == LOCALE_INVARIANT) return 1252;
  return IsValidLCID(lcid) ? CodePagesOf(lcid).ansi : 0;
}

std::uint32_t OemCodePageOfLCID(std::uint32_t lcid) {
  lcid = ResolveLCID(lcid);
  if (lcid == LOCALE_INVARIANT) return 437;
  return IsValidLCID(lcid) ? CodePagesOf(lcid).oem : 0;
}

UnicodeString LocaleInfoString(std::uint32_t lcid, std::uint32_t lc_type) {
  lc_type &= ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP);
  lcid = ResolveLCID(lcid);
  if (lcid == LOCALE_INVARIANT) return InvariantInfo(lc_type);
  const std::string full = LCIDToLocaleName(lcid);
  if (full.empty()) return {};
  const std::string locale = BaseName(full);
  const char* ui = UserInterfaceLocale();
  switch (lc_type) {
    case LOCALE_ILANGUAGE: {
      char hex[8];
      std::snprintf(hex, sizeof hex, "%04x", lcid & 0xFFFF);
      return Ascii(hex);
    }
    case LOCALE_SLANGUAGE:
      return IcuText([&](UChar* out, int32_t cap, UErrorCode* s) { return uloc_getDisplayName(locale.c_str(), ui, out, cap, s); });
    case LOCALE_SNATIVELANGNAME:
      return IcuText([&](UChar* out, int32_t cap, UErrorCode* s) {
        return uloc_getDisplayLanguage(locale.c_str(), locale.c_str(), out, cap, s);
      });
    case LOCALE_SENGLANGUAGE:
      return IcuText([&](UChar* out, int32_t cap, UErrorCode* s) { return uloc_getDisplayLanguage(locale.c_str(), "en", out, cap, s); });
    case LOCALE_SCOUNTRY:
      return IcuText([&](UChar* out, int32_t cap, UErrorCode* s) { return uloc_getDisplayCountry(locale.c_str(), ui, out, cap, s); });
    case LOCALE_SNATIVECTRYNAME:
      return IcuText([&](UChar* out, int32_t cap, UErrorCode* s) {
        return uloc_getDisplayCountry(locale.c_str(), locale.c_str(), out, cap, s);
      });
    case LOCALE_SENGCOUNTRY:
      return IcuText([&](UChar* out, int32_t cap, UErrorCode* s) { return uloc_getDisplayCountry(locale.c_str(), "en", out, cap, s); });
    case LOCALE_IDEFAULTCODEPAGE: return Number(CodePagesOf(lcid).oem);
    case LOCALE_IDEFAULTANSICODEPAGE: return Number(CodePagesOf(lcid).ansi);
    case LOCALE_IMEASURE: return Measurement(locale);
    case LOCALE_SCURRENCY: return CurrencySymbol(locale, false);
    case LOCALE_SINTLSYMBOL: return CurrencySymbol(locale, true);
    case LOCALE_SISO639LANGNAME: {
      char language[ULOC_LANG_CAPACITY] = {};
      UErrorCode status = U_ZERO_ERROR;
      uloc_getLanguage(locale.c_str(), language, sizeof language, &status);
      return U_SUCCESS(status) ? Ascii(language) : UnicodeString();
    }
    case LOCALE_SISO3166CTRYNAME: {
      char country[ULOC_COUNTRY_CAPACITY] = {};
      UErrorCode status = U_ZERO_ERROR;
      uloc_getCountry(locale.c_str(), country, sizeof country, &status);
      return U_SUCCESS(status) ? Ascii(country) : UnicodeString();
    }
    case LOCALE_SNAME: {
      char tag[ULOC_FULLNAME_CAPACITY] = {};
      UErrorCode status = U_ZERO_ERROR;
      uloc_toLanguageTag(locale.c_str(), tag, sizeof tag, true, &status);
      return U_SUCCESS(status) ? Ascii(tag) : UnicodeString();
    }
    default: return {};
  }
}

int GetLocaleInfoW(std::uint32_t lcid, std::uint32_t lc_type, char16_t* data, int data_count) {
  if (data_count < 0 || (data_count > 0 && data == nullptr)) return 0;
  const UnicodeString text = LocaleInfoString(lcid, lc_type);
  if (text.empty()) return 0;
  const int needed = static_cast<int>(text.size()) + 1;
  if (data_count == 0) return needed;
  if (needed > data_count) return 0;
  std::copy(text.begin(), text.end(), data);
  data[text.size()] = 0;
  return needed;
}

void StandardGetLocaleData(std::uint32_t lcid, std::uint32_t lc_type, UnicodeString& result) {
  // Asked as the system call is asked: a buffer of 1024 units, the text up to
  // its terminating NUL, nothing when the call fails.
  std::array<char16_t, 1024> buffer{};
  const int written = GetLocaleInfoW(lcid, lc_type, buffer.data(), static_cast<int>(buffer.size()));
  result = written > 0 ? UnicodeString(buffer.data()) : UnicodeString();
}

TGetLocaleFunct GetLocaleDataProc = StandardGetLocaleData;

namespace {

UnicodeString AskHook(std::uint32_t lcid, std::uint32_t lc_type) {
  UnicodeString result;
  (GetLocaleDataProc != nullptr ? GetLocaleDataProc : StandardGetLocaleData)(lcid, lc_type, result);
  return result;
}

int HookNumber(std::uint32_t lcid, std::uint32_t lc_type) {
  int value = 0;
  return TryParseLocaleNumber(AskHook(lcid, lc_type), value) ? value : 0;
}

}  // namespace

UnicodeString CurrencyFromLCID(std::uint32_t lcid) { return AskHook(lcid, LOCALE_SCURRENCY); }
UnicodeString CountryFromLCID(std::uint32_t lcid) { return AskHook(lcid, LOCALE_SENGCOUNTRY); }
UnicodeString LocalLanguageNameFromLCID(std::uint32_t lcid) { return AskHook(lcid, LOCALE_SLANGUAGE); }
UnicodeString EnglishLanguageNameFromLCID(std::uint32_t lcid) { return AskHook(lcid, LOCALE_SENGLANGUAGE); }
int DOSCodepageFromLCID(std::uint32_t lcid) { return HookNumber(lcid, LOCALE_IDEFAULTCODEPAGE); }
int WindowsCodepageFromLCID(std::uint32_t lcid) { return HookNumber(lcid, LOCALE_IDEFAULTANSICODEPAGE); }

bool TryParseLocaleNumber(const UnicodeString& text, int& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return false;
  long long magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    magnitude = magnitude * 10 + (text[i] - u'0');
    if (magnitude > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return false;
  }
  const long long signed_value = negative ? -magnitude : magnitude;
  if (signed_value > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(signed_value);
  return true;
}

}  // namespace quill
