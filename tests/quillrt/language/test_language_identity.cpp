#include <gtest/gtest.h>

#include <map>

#include "quillrt/language/language_identity.h"

namespace quill {
namespace {

// Locale answers of a test, installed in GetLocaleDataProc while it lives.
class FakeLocaleData {
 public:
  explicit FakeLocaleData(std::map<std::pair<std::uint32_t, std::uint32_t>, UnicodeString> answers) {
    Answers() = std::move(answers);
    saved_ = GetLocaleDataProc;
    GetLocaleDataProc = &Lookup;
  }
  ~FakeLocaleData() { GetLocaleDataProc = saved_; }

 private:
  static std::map<std::pair<std::uint32_t, std::uint32_t>, UnicodeString>& Answers() {
    static std::map<std::pair<std::uint32_t, std::uint32_t>, UnicodeString> answers;
    return answers;
  }
  static void Lookup(std::uint32_t lcid, std::uint32_t type, UnicodeString& result) {
    const auto it = Answers().find({lcid, type});
    result = it == Answers().end() ? UnicodeString() : it->second;
  }
  TGetLocaleFunct saved_;
};

constexpr std::uint32_t en_us = 0x0409;
constexpr std::uint32_t en_gb = 0x0809;
constexpr std::uint32_t en_au = 0x0C09;
constexpr std::uint32_t de_de = 0x0407;

TEST(LanguageIdentity, PrimaryLanguageAndDirection) {
  EXPECT_EQ(PrimaryLanguage(0x0809), 9);
  EXPECT_EQ(PrimaryLanguage(0xFFFFFFFF), 0x3FF);
  EXPECT_TRUE(SamePrimaryLanguage(0x0409, 0x0809));
  EXPECT_FALSE(SamePrimaryLanguage(0x0409, 0x0407));

  EXPECT_EQ(BiDiModeFromLCID(0x040D), bdRightToLeft);  // Hebrew
  EXPECT_EQ(BiDiModeFromLCID(0x0401), bdRightToLeft);  // Arabic (Saudi Arabia)
  EXPECT_EQ(BiDiModeFromLCID(0x3801), bdRightToLeft);  // Arabic (UAE): same primary language
  EXPECT_EQ(BiDiModeFromLCID(0x0429), bdRightToLeft);  // Farsi
  EXPECT_EQ(BiDiModeFromLCID(0x0463), bdRightToLeft);  // Pashto
  EXPECT_EQ(BiDiModeFromLCID(0x0420), bdLeftToRight);  // Urdu is not among them
  EXPECT_EQ(BiDiModeFromLCID(0x0409), bdLeftToRight);

  EXPECT_EQ(BiDiModeFromCharset(177), bdRightToLeft);
  EXPECT_EQ(BiDiModeFromCharset(178), bdRightToLeft);
  EXPECT_EQ(BiDiModeFromCharset(0), bdLeftToRight);
  EXPECT_EQ(BiDiModeFromCharset(186), bdLeftToRight);
}

TEST(LanguageIdentity, UnicodeAndCombiningLanguages) {
  for (std::uint32_t lcid : {0x0401u, 0x0804u, 0x040Du, 0x0411u, 0x0412u, 0x041Eu, 0x0429u, 0x042Au, 0x0463u})
    EXPECT_TRUE(LanguageRequiresUnicode(lcid)) << std::hex << lcid;
  for (std::uint32_t lcid : {0x0409u, 0x0439u, 0x0419u, 0x0467u})
    EXPECT_FALSE(LanguageRequiresUnicode(lcid)) << std::hex << lcid;
  // Above 103 nothing qualifies, whatever the sublanguage bits say.
  for (std::uint32_t primary = 104; primary < 0x400; ++primary)
    ASSERT_FALSE(LanguageRequiresUnicode(0x0400 | primary)) << primary;

  for (std::uint32_t lcid : {0x0401u, 0x041Eu, 0x0439u, 0x0445u, 0x0449u, 0x0451u, 0x045Eu, 0x0461u, 0x046Au})
    EXPECT_TRUE(LanguageHasCombiningCharacters(lcid)) << std::hex << lcid;
  for (std::uint32_t lcid : {0x0409u, 0x0411u, 0x040Du, 0x0404u})
    EXPECT_FALSE(LanguageHasCombiningCharacters(lcid)) << std::hex << lcid;
  for (std::uint32_t primary = 112; primary < 0x400; ++primary)
    ASSERT_FALSE(LanguageHasCombiningCharacters(primary)) << primary;
}

TEST(LanguageIdentity, CurrenciesOfAllVarietiesFromTheLocaleData) {
  // The real locale data: the Australian "$" is already there.
  EXPECT_EQ(LCIDAllCurrencyString(en_us, {en_us, en_au, en_gb}), u"$,\u00A3");
  EXPECT_EQ(LCIDAllCurrencyString(en_gb, {de_de, en_gb, en_us}), u"\u00A3,$") << "other languages skipped";
  EXPECT_EQ(LCIDAllCurrencyString(en_us, {}), u"");
}

TEST(LanguageIdentity, CurrencyStringSkipsSymbolsAlreadyPresent) {
  FakeLocaleData fake({{{0x0409, LOCALE_SCURRENCY}, u"US$"},
                       {{0x0809, LOCALE_SCURRENCY}, u"$"},
                       {{0x0C09, LOCALE_SCURRENCY}, u"A$"},
                       {{0x1009, LOCALE_SCURRENCY}, u"US$"}});
  // "$" occurs inside "US$"; "A$" does not occur and is added.
  EXPECT_EQ(LCIDAllCurrencyString(0x0409, {0x0409, 0x0809, 0x0C09, 0x1009}), u"US$,A$");
  // The other way round, "US$" is new: only whole-result containment counts.
  EXPECT_EQ(LCIDAllCurrencyString(0x0409, {0x0809, 0x0409}), u"$,US$");
  // An LCID without a symbol adds nothing (not even a separator).
  EXPECT_EQ(LCIDAllCurrencyString(0x0409, {0x2009, 0x0809, 0x2409}), u"$");
}

TEST(LanguageIdentity, SubVarietiesKeepTheFirstLcidPerCountryAndSort) {
  FakeLocaleData fake({{{0x0409, LOCALE_SENGCOUNTRY}, u"United States"},
                       {{0x0809, LOCALE_SENGCOUNTRY}, u"united kingdom"},
                       {{0x0C09, LOCALE_SENGCOUNTRY}, u"Australia"},
                       {{0x4409, LOCALE_SENGCOUNTRY}, u"United States"},
                       {{0x0407, LOCALE_SENGCOUNTRY}, u"Germany"}});
  const auto list = LCIDSubVarieties(0x0409, {0x4409, 0x0809, 0x0407, 0x0409, 0x0C09, 0x2C09});
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Get(0), u"Australia");
  EXPECT_EQ(list->Get(1), u"united kingdom") << "case-insensitive order";
  EXPECT_EQ(list->Get(2), u"United States");
  EXPECT_EQ(list->GetObject(0).AsInt(), 0x0C09);
  EXPECT_EQ(list->GetObject(1).AsInt(), 0x0809);
  EXPECT_EQ(list->GetObject(2).AsInt(), 0x4409) << "the first LCID met wins";
  EXPECT_FALSE(list->Sorted()) << "sorted once, not a sorted list";
}

TEST(LanguageIdentity, SubVarietiesFromTheLocaleData) {
  const auto list = LCIDSubVarieties(en_us, {en_us, en_gb, en_au, de_de});
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Get(0), u"Australia");
  EXPECT_EQ(list->Get(2), u"United States");
  EXPECT_EQ(list->GetObject(2).AsInt(), static_cast<std::intptr_t>(en_us));
}

TEST(LanguageIdentity, LookupsGoThroughTheHook) {
  FakeLocaleData fake({{{0x0409, LOCALE_SENGLANGUAGE}, u"Anglais"},
                       {{0x0409, LOCALE_IDEFAULTCODEPAGE}, u"437"},
                       {{0x0409, LOCALE_IDEFAULTANSICODEPAGE}, u"12x"}});
  EXPECT_EQ(EnglishLanguageNameFromLCID(0x0409), u"Anglais");
  EXPECT_EQ(DOSCodepageFromLCID(0x0409), 437);
  EXPECT_EQ(WindowsCodepageFromLCID(0x0409), 0) << "not a number";
  EXPECT_EQ(CurrencyFromLCID(0x0409), u"");
}

TEST(LanguageIdentity, SystemLanguageNamesSplitIntoLanguageAndVariety) {
  EXPECT_EQ(ShortenedSysLanguageName(u"English (United Kingdom)"), u"English");
  EXPECT_EQ(SysLanguageVariantName(u"English (United Kingdom)"), u"United Kingdom");
  EXPECT_EQ(ShortenedSysLanguageName(u"Chinese (Traditional, Taiwan)"), u"Chinese");
  EXPECT_EQ(SysLanguageVariantName(u"Chinese (Traditional, Taiwan)"), u"Traditional, Taiwan");
  EXPECT_EQ(SysLanguageVariantName(u"Serbian (Latin (Serbia))"), u"Latin Serbia");
  // Without " (" the name comes back, trimmed and without stray brackets.
  EXPECT_EQ(ShortenedSysLanguageName(u"Esperanto"), u"Esperanto");
  EXPECT_EQ(SysLanguageVariantName(u" Esperanto(x) "), u"Esperantox");
  EXPECT_EQ(ShortenedSysLanguageName(u""), u"");
  EXPECT_EQ(SysLanguageVariantName(u""), u"");
}

}  // namespace
}  // namespace quill
