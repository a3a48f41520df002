// Locale information: LCIDs and ICU locales, the answers of the information
// types for a few locales, unknown LCIDs, the size query and the hook.
#include <gtest/gtest.h>

#include "quillrt/platform/locale_info.h"

namespace quill {
namespace {

constexpr std::uint32_t kUnknown = 0x7FFF0;

TEST(LocaleInfo, LcidsAndLocaleNames) {
  EXPECT_EQ(LCIDToLocaleName(0x0409), "en_US");
  EXPECT_EQ(LCIDToLocaleName(0x0407), "de_DE");
  EXPECT_EQ(LCIDToLocaleName(kUnknown), "");
  EXPECT_EQ(LocaleNameToLCID("en-US"), 0x0409u);
  EXPECT_EQ(LocaleNameToLCID("tr_TR"), 0x041Fu);
  EXPECT_EQ(LocaleNameToLCID("xx-unknown"), 0u);
  EXPECT_EQ(LocaleNameToLCID(""), 0u);
  EXPECT_TRUE(IsValidLCID(0x0411));
  EXPECT_FALSE(IsValidLCID(kUnknown));
}

TEST(LocaleInfo, AnswersForKnownLocales) {
  EXPECT_EQ(LocaleInfoString(0x0409, LOCALE_IDEFAULTANSICODEPAGE), u"1252");
  EXPECT_EQ(LocaleInfoString(0x0409, LOCALE_IDEFAULTCODEPAGE), u"437");
  EXPECT_EQ(LocaleInfoString(0x0409, LOCALE_IMEASURE), u"1");
  EXPECT_EQ(LocaleInfoString(0x0409, LOCALE_SCURRENCY), u"$");
  EXPECT_EQ(LocaleInfoString(0x0409, LOCALE_SENGCOUNTRY), u"United States");
  EXPECT_EQ(LocaleInfoString(0x0409, LOCALE_SENGLANGUAGE), u"English");
  EXPECT_EQ(LocaleInfoString(0x0409, LOCALE_SNAME), u"en-US");
  EXPECT_EQ(LocaleInfoString(0x0409, LOCALE_ILANGUAGE), u"0409");

  EXPECT_EQ(LocaleInfoString(0x0407, LOCALE_IDEFAULTANSICODEPAGE), u"1252");
  EXPECT_EQ(LocaleInfoString(0x0407, LOCALE_IDEFAULTCODEPAGE), u"850");
  EXPECT_EQ(LocaleInfoString(0x0407, LOCALE_IMEASURE), u"0");
  EXPECT_EQ(LocaleInfoString(0x0407, LOCALE_SCURRENCY), u"€");
  EXPECT_EQ(LocaleInfoString(0x0407, LOCALE_SENGCOUNTRY), u"Germany");
  EXPECT_EQ(LocaleInfoString(0x0407, LOCALE_SENGLANGUAGE), u"German");
  EXPECT_EQ(LocaleInfoString(0x0407, LOCALE_SNATIVELANGNAME), u"Deutsch");

  EXPECT_EQ(LocaleInfoString(0x041F, LOCALE_IDEFAULTANSICODEPAGE), u"1254");
  EXPECT_EQ(LocaleInfoString(0x041F, LOCALE_IDEFAULTCODEPAGE), u"857");
  EXPECT_EQ(LocaleInfoString(0x041F, LOCALE_SENGLANGUAGE), u"Turkish");

  EXPECT_EQ(LocaleInfoString(0x0411, LOCALE_IDEFAULTANSICODEPAGE), u"932");
  EXPECT_EQ(LocaleInfoString(0x0411, LOCALE_IDEFAULTCODEPAGE), u"932");
  EXPECT_EQ(LocaleInfoString(0x0411, LOCALE_SENGLANGUAGE), u"Japanese");
  EXPECT_EQ(LocaleInfoString(0x0411, LOCALE_SENGCOUNTRY), u"Japan");
  EXPECT_EQ(LocaleInfoString(0x0411, LOCALE_IMEASURE), u"0");
}

TEST(LocaleInfo, CodePagesByLanguageAndScript) {
  EXPECT_EQ(AnsiCodePageOfLCID(0x0419), 1251u);  // Russian
  EXPECT_EQ(OemCodePageOfLCID(0x0419), 866u);
  EXPECT_EQ(AnsiCodePageOfLCID(0x0408), 1253u);  // Greek
  EXPECT_EQ(OemCodePageOfLCID(0x0408), 737u);
  EXPECT_EQ(AnsiCodePageOfLCID(0x0804), 936u);   // Chinese, PRC
  EXPECT_EQ(AnsiCodePageOfLCID(0x0404), 950u);   // Chinese, Taiwan
  EXPECT_EQ(AnsiCodePageOfLCID(0x0C04), 950u);   // Chinese, Hong Kong
  EXPECT_EQ(AnsiCodePageOfLCID(0x041A), 1250u);  // Croatian
  EXPECT_EQ(AnsiCodePageOfLCID(0x0C1A), 1251u);  // Serbian, Cyrillic
  EXPECT_EQ(OemCodePageOfLCID(0x0C1A), 855u);
  EXPECT_EQ(AnsiCodePageOfLCID(0x082C), 1251u);  // Azeri, Cyrillic
  EXPECT_EQ(AnsiCodePageOfLCID(0x0809), 1252u);  // English, U.K.
  EXPECT_EQ(OemCodePageOfLCID(0x0809), 850u);
  EXPECT_EQ(AnsiCodePageOfLCID(0x042A), 1258u);  // Vietnamese
  EXPECT_EQ(AnsiCodePageOfLCID(0x041E), 874u);   // Thai
  // Languages written only in Unicode.
  EXPECT_EQ(LocaleInfoString(0x0439, LOCALE_IDEFAULTANSICODEPAGE), u"0");  // Hindi
  EXPECT_EQ(LocaleInfoString(0x0437, LOCALE_IDEFAULTANSICODEPAGE), u"0");  // Georgian
  EXPECT_EQ(LocaleInfoString(0x042B, LOCALE_IDEFAULTCODEPAGE), u"1");      // Armenian
  EXPECT_EQ(AnsiCodePageOfLCID(kUnknown), 0u);
}

TEST(LocaleInfo, UnknownLcidsAndTypesFail) {
  EXPECT_EQ(LocaleInfoString(kUnknown, LOCALE_SENGLANGUAGE), u"");
  EXPECT_EQ(LocaleInfoString(kUnknown, LOCALE_IDEFAULTANSICODEPAGE), u"");
  EXPECT_EQ(LocaleInfoString(0x0409, 0x7777), u"");
  char16_t buffer[4] = {u'#'};
  EXPECT_EQ(GetLocaleInfoW(kUnknown, LOCALE_SENGLANGUAGE, buffer, 4), 0);
  EXPECT_EQ(buffer[0], u'#');
  EXPECT_EQ(CurrencyFromLCID(kUnknown), u"");
  EXPECT_EQ(WindowsCodepageFromLCID(kUnknown), 0);
  EXPECT_EQ(DOSCodepageFromLCID(kUnknown), 0);
}

TEST(LocaleInfo, SizeQueryAndBuffer) {
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SENGLANGUAGE, nullptr, 0), 8);  // "English" + NUL
  char16_t small[4] = {u'#', u'#', u'#', u'#'};
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SENGLANGUAGE, small, 4), 0);
  char16_t exact[8] = {};
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SENGLANGUAGE | LOCALE_NOUSEROVERRIDE, exact, 8), 8);
  EXPECT_EQ(std::u16string(exact), u"English");
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_SENGLANGUAGE, nullptr, 8), 0);
}

TEST(LocaleInfo, SpecialLcids) {
  SetUserDefaultLCID(0x0407);
  EXPECT_EQ(GetUserDefaultLCID(), 0x0407u);
  EXPECT_EQ(LocaleInfoString(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE), u"German");
  SetUserDefaultLCID(0);
  EXPECT_NE(GetUserDefaultLCID(), 0u);
  EXPECT_EQ(LocaleInfoString(LOCALE_INVARIANT, LOCALE_IDEFAULTANSICODEPAGE), u"1252");
  EXPECT_EQ(AnsiCodePageOfLCID(LOCALE_INVARIANT), 1252u);
}

UnicodeString g_asked;
void FakeLocaleData(std::uint32_t lcid, std::uint32_t lc_type, UnicodeString& result) {
  g_asked = UnicodeString(u"asked ") + static_cast<char16_t>(u'0' + (lc_type & 0xF));
  result = lcid == 0x0409 && lc_type == LOCALE_IDEFAULTCODEPAGE ? u"abc" : u"42";
}

TEST(LocaleInfo, LookupsGoThroughTheHook) {
  EXPECT_EQ(GetLocaleDataProc, &StandardGetLocaleData);
  EXPECT_EQ(CurrencyFromLCID(0x0409), u"$");
  EXPECT_EQ(CountryFromLCID(0x0409), u"United States");
  EXPECT_EQ(EnglishLanguageNameFromLCID(0x0409), u"English");
  EXPECT_FALSE(LocalLanguageNameFromLCID(0x0409).empty());
  EXPECT_EQ(DOSCodepageFromLCID(0x0409), 437);
  EXPECT_EQ(WindowsCodepageFromLCID(0x0409), 1252);

  GetLocaleDataProc = FakeLocaleData;
  EXPECT_EQ(CurrencyFromLCID(0x0409), u"42");
  EXPECT_EQ(g_asked, u"asked 4");  // LOCALE_SCURRENCY is 0x14
  EXPECT_EQ(WindowsCodepageFromLCID(0x0409), 42);
  EXPECT_EQ(DOSCodepageFromLCID(0x0409), 0);  // "abc" is not a number
  GetLocaleDataProc = StandardGetLocaleData;
}

TEST(LocaleInfo, NumberParsing) {
  int value = -1;
  EXPECT_TRUE(TryParseLocaleNumber(u"1252", value));
  EXPECT_EQ(value, 1252);
  EXPECT_TRUE(TryParseLocaleNumber(u"-7", value));
  EXPECT_EQ(value, -7);
  EXPECT_FALSE(TryParseLocaleNumber(u"", value));
  EXPECT_FALSE(TryParseLocaleNumber(u"12a", value));
  EXPECT_FALSE(TryParseLocaleNumber(u" 12", value));
  EXPECT_FALSE(TryParseLocaleNumber(u"99999999999", value));
  EXPECT_EQ(value, -7);
}

}  // namespace
}  // namespace quill
