#include "quillrt/platform/compare_string.h"
#include "quillrt/platform/locale_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quill {
namespace {

constexpr std::uint32_t kEnglishUS = 0x0409;
constexpr std::uint32_t kGerman = 0x0407;
constexpr std::uint32_t kSwedish = 0x041D;

int Cmp(const UnicodeString& a, const UnicodeString& b, std::uint32_t flags = 0,
        std::uint32_t locale = kEnglishUS) {
  return CompareStringW(locale, flags, a.c_str(), -1, b.c_str(), -1);
}

TEST(CompareStringW, OrdersAndReportsEqualityWithWindowsResults) {
  EXPECT_EQ(Cmp(u"apple", u"banana"), CSTR_LESS_THAN);
  EXPECT_EQ(Cmp(u"banana", u"apple"), CSTR_GREATER_THAN);
  EXPECT_EQ(Cmp(u"pear", u"pear"), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"", u""), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"", u"a"), CSTR_LESS_THAN);
  // Linguistic, not code-unit order: lower-case b sorts before upper-case C.
  EXPECT_EQ(Cmp(u"b", u"C"), CSTR_LESS_THAN);
}

TEST(CompareStringW, CaseAndDiacriticFlags) {
  EXPECT_NE(Cmp(u"a", u"A"), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"Été", u"été", NORM_IGNORECASE), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"ÄPFEL", u"äpfel", LINGUISTIC_IGNORECASE), CSTR_EQUAL);
  // Ignoring case keeps accents apart.
  EXPECT_NE(Cmp(u"e", u"é", NORM_IGNORECASE), CSTR_EQUAL);

  EXPECT_EQ(Cmp(u"resume", u"résumé", NORM_IGNORENONSPACE), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"naive", u"naïve", LINGUISTIC_IGNOREDIACRITIC), CSTR_EQUAL);
  // Ignoring accents alone keeps case apart; both flags together ignore both.
  EXPECT_NE(Cmp(u"Resume", u"résumé", NORM_IGNORENONSPACE), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"Resume", u"résumé", NORM_IGNORENONSPACE | NORM_IGNORECASE), CSTR_EQUAL);
}

TEST(CompareStringW, SymbolsWidthKanaAndDigits) {
  EXPECT_NE(Cmp(u"a b!", u"ab"), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"a b!", u"ab", NORM_IGNORESYMBOLS), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"$1.5%", u"15", NORM_IGNORESYMBOLS), CSTR_EQUAL);

  EXPECT_NE(Cmp(u"ＡＢＣ", u"ABC"), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"ＡＢＣ", u"ABC", NORM_IGNOREWIDTH), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"ｶﾞ", u"ガ", NORM_IGNOREWIDTH), CSTR_EQUAL);  // half-width katakana with voicing mark

  EXPECT_NE(Cmp(u"カナ", u"かな"), CSTR_EQUAL);
  EXPECT_EQ(Cmp(u"カナ", u"かな", NORM_IGNOREKANATYPE), CSTR_EQUAL);

  EXPECT_EQ(Cmp(u"page10", u"page9"), CSTR_LESS_THAN);
  EXPECT_EQ(Cmp(u"page10", u"page9", SORT_DIGITSASNUMBERS), CSTR_GREATER_THAN);
}

TEST(CompareStringW, WordSortKeepsHyphenatedWordsBesideTheirTwins) {
  std::vector<UnicodeString> words = {u"cop", u"co-op", u"coop", u"coo", u"can't", u"cant"};
  std::sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return Cmp(a, b) == CSTR_LESS_THAN; });
  EXPECT_EQ(words, (std::vector<UnicodeString>{u"cant", u"can't", u"coo", u"coop", u"co-op", u"cop"}));

  // As a string sort the hyphen is an ordinary symbol and sorts before letters.
  EXPECT_EQ(Cmp(u"co-op", u"coo", SORT_STRINGSORT), CSTR_LESS_THAN);
  EXPECT_EQ(Cmp(u"co-op", u"coo"), CSTR_GREATER_THAN);
}

TEST(CompareStringW, LocaleDecidesTheOrder) {
  // Swedish puts ö after z; German sorts it with o.
  EXPECT_EQ(Cmp(u"z", u"ö", 0, kSwedish), CSTR_LESS_THAN);
  EXPECT_EQ(Cmp(u"z", u"ö", 0, kGerman), CSTR_GREATER_THAN);
  // The default locale identifiers resolve too.
  EXPECT_EQ(Cmp(u"a", u"b", 0, 0x0400), CSTR_LESS_THAN);
  EXPECT_EQ(Cmp(u"a", u"b", 0, 0x007F), CSTR_LESS_THAN);
  EXPECT_EQ(Cmp(u"a", u"b", 0, 0), CSTR_LESS_THAN);
}

TEST(CompareStringW, DefaultIdentifiersFollowTheUserLocale) {
  struct Reset {
    ~Reset() { SetUserDefaultLCID(0); }
  } reset;
  SetUserDefaultLCID(kSwedish);
  EXPECT_EQ(Cmp(u"z", u"ö", 0, 0x0400), CSTR_LESS_THAN);
  SetUserDefaultLCID(kGerman);
  EXPECT_EQ(Cmp(u"z", u"ö", 0, 0x0400), CSTR_GREATER_THAN);
  EXPECT_EQ(Cmp(u"z", u"ö", 0, 0x0800), CSTR_GREATER_THAN);
}

TEST(CompareStringW, CountsSelectPrefixesAndNegativeCountsReadToTheNul) {
  const char16_t a[] = u"abcX";
  const char16_t b[] = u"abcY";
  EXPECT_EQ(CompareStringW(kEnglishUS, 0, a, 3, b, 3), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(kEnglishUS, 0, a, 4, b, 4), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringW(kEnglishUS, 0, a, -1, b, 3), CSTR_GREATER_THAN);
  EXPECT_EQ(CompareStringW(kEnglishUS, 0, a, -5, b, -2), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringW(kEnglishUS, 0, a, 0, b, 0), CSTR_EQUAL);
}

TEST(CompareStringW, FailuresGiveZero) {
  EXPECT_EQ(CompareStringW(kEnglishUS, 0, nullptr, -1, u"a", -1), 0);
  EXPECT_EQ(CompareStringW(kEnglishUS, 0, u"a", -1, nullptr, 0), 0);
  EXPECT_EQ(CompareStringW(0x7FFF0, 0, u"a", -1, u"b", -1), 0);
  EXPECT_EQ(CompareStringW(0x1234, 0, u"a", -1, u"b", -1), 0);
  EXPECT_EQ(CompareStringW(kEnglishUS, 0x40000000, u"a", -1, u"b", -1), 0);
  // A failure is not remembered against the good identifiers.
  EXPECT_EQ(CompareStringW(kEnglishUS, 0, u"a", -1, u"b", -1), CSTR_LESS_THAN);
  EXPECT_TRUE(CollationLocaleName(0x7FFF0).empty());
  EXPECT_EQ(CollationLocaleName(kGerman), "de_DE");
}

TEST(CompareStringA, ReadsBytesInTheLocalesCodePage) {
  // 0xE0 is Cyrillic a in 1251 but a-grave in 1252, which equals Latin a when
  // accents are ignored.
  constexpr std::uint32_t loose = NORM_IGNORENONSPACE | NORM_IGNORECASE;
  EXPECT_NE(CompareStringA(0x0419, loose, "\xE0", -1, "a", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(kEnglishUS, loose, "\xE0", -1, "a", -1), CSTR_EQUAL);
  // Hindi has no ANSI page: the system's (1252) reads the bytes.
  EXPECT_EQ(CompareStringA(0x0439, loose, "\xE0", -1, "a", -1), CSTR_EQUAL);

  // 0xE9 is é in code page 1252.
  EXPECT_EQ(CompareStringA(kEnglishUS, NORM_IGNORENONSPACE, "caf\xE9", -1, "cafe", -1), CSTR_EQUAL);
  EXPECT_NE(CompareStringA(kEnglishUS, 0, "caf\xE9", -1, "cafe", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(kEnglishUS, 0, "abc", 2, "abd", 2), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(kEnglishUS, NORM_IGNORECASE, "ABC", -1, "abc", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(kEnglishUS, 0, nullptr, -1, "a", -1), 0);
  EXPECT_EQ(CompareStringA(0x7FFF0, 0, "a", -1, "a", -1), 0);
}

}  // namespace
}  // namespace quill
