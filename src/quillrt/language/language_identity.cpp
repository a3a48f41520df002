#include "quillrt/language/language_identity.h"

#include <algorithm>

#include "quillrt/framework/sysutils.h"

namespace quill {

const std::array<std::uint16_t, 15> win_codepages = {0,    1250, 1251, 1252, 1253, 1254, 1255, 1256,
                                                     1257, 1258, 874,  932,  936,  949,  950};

namespace {

// Primary languages by number.
constexpr std::uint16_t lang_arabic = 1;
constexpr std::uint16_t lang_chinese = 4;
constexpr std::uint16_t lang_hebrew = 13;
constexpr std::uint16_t lang_japanese = 17;
constexpr std::uint16_t lang_korean = 18;
constexpr std::uint16_t lang_thai = 30;
constexpr std::uint16_t lang_farsi = 41;
constexpr std::uint16_t lang_vietnamese = 42;
constexpr std::uint16_t lang_pashto = 99;

constexpr std::uint8_t hebrew_charset = 177;
constexpr std::uint8_t arabic_charset = 178;

template <std::size_t N>
bool OneOf(std::uint16_t value, const std::array<std::uint16_t, N>& values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

constexpr std::u16string_view variety_opener = u" (";

}  // namespace

std::uint16_t PrimaryLanguage(std::uint32_t lcid) { return static_cast<std::uint16_t>(lcid & 0x3FF); }

bool SamePrimaryLanguage(std::uint32_t a, std::uint32_t b) { return PrimaryLanguage(a) == PrimaryLanguage(b); }

TBiDiMode BiDiModeFromLCID(std::uint32_t lcid) {
  static constexpr std::array<std::uint16_t, 4> rtl = {lang_arabic, lang_hebrew, lang_farsi, lang_pashto};
  return OneOf(PrimaryLanguage(lcid), rtl) ? bdRightToLeft : bdLeftToRight;
}

TBiDiMode BiDiModeFromCharset(std::uint8_t charset) {
  return charset == hebrew_charset || charset == arabic_charset ? bdRightToLeft : bdLeftToRight;
}

bool LanguageRequiresUnicode(std::uint32_t lcid) {
  static constexpr std::array<std::uint16_t, 9> unicode_only = {lang_arabic, lang_chinese, lang_hebrew,
                                                                lang_japanese, lang_korean, lang_thai,
                                                                lang_farsi,  lang_vietnamese, lang_pashto};
  return OneOf(PrimaryLanguage(lcid), unicode_only);
}

bool LanguageHasCombiningCharacters(std::uint32_t lcid) {
  // Arabic, Thai, Farsi, Hindi, Bengali, Gujarati, Oriya, Tamil, Telugu, Kannada,
  // Malayalam, Tibetan, Khmer, Lao, Sinhala, Amharic, Nepali, Pashto, Yoruba.
  static constexpr std::array<std::uint16_t, 19> combining = {1,  30, 41, 57, 69, 71, 72, 73, 74, 75,
                                                              76, 81, 83, 84, 91, 94, 97, 99, 106};
  return OneOf(PrimaryLanguage(lcid), combining);
}

UnicodeString LCIDAllCurrencyString(std::uint32_t lcid, const TArrayOfLCID& lcids) {
  UnicodeString result;
  for (const std::uint32_t entry : lcids) {
    if (!SamePrimaryLanguage(lcid, entry)) continue;
    const UnicodeString symbol = CurrencyFromLCID(entry);
    if (result.find(symbol) != UnicodeString::npos) continue;  // an empty symbol is always found
    if (!result.empty()) result += u',';
    result += symbol;
  }
  return result;
}

std::unique_ptr<TStringList> LCIDSubVarieties(std::uint32_t lcid, const TArrayOfLCID& lcids) {
  auto list = std::make_unique<TStringList>();
  for (const std::uint32_t entry : lcids) {
    if (!SamePrimaryLanguage(lcid, entry)) continue;
    const UnicodeString country = CountryFromLCID(entry);
    // An LCID the locale data does not know names no country: no blank line.
    if (country.empty() || list->IndexOf(country) >= 0) continue;
    list->AddObject(country, TObjectRef::FromInt(static_cast<std::intptr_t>(entry)));
  }
  list->Sort();
  return list;
}

UnicodeString ShortenedSysLanguageName(const UnicodeString& name) {
  const std::size_t at = name.find(variety_opener);
  return at == UnicodeString::npos ? name : name.substr(0, at);
}

UnicodeString SysLanguageVariantName(const UnicodeString& name) {
  const std::size_t at = name.find(variety_opener);
  UnicodeString variety = at == UnicodeString::npos ? name : name.substr(at + variety_opener.size());
  std::erase_if(variety, [](WideChar c) { return c == u'(' || c == u')'; });
  return Trim(variety);
}

}  // namespace quill
