// Locale-aware comparison and case mapping.
#include <gtest/gtest.h>

#include <unicode/uloc.h>

#include "quillrt/framework/locale_text.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::DefaultLocale;

TEST(LocaleText, CompareTextIgnoresCaseOnly) {
  EXPECT_EQ(AnsiCompareText(U("Été"), U("été"), "fr"), 0);
  EXPECT_EQ(AnsiCompareText(U("ÄPFEL"), U("äpfel"), "de"), 0);
  EXPECT_NE(AnsiCompareText(U("ete"), U("été"), "fr"), 0);  // accents still count
  EXPECT_EQ(AnsiCompareText(u"apple", u"Banana", "en"), -1);
  EXPECT_EQ(AnsiCompareText(u"Banana", u"apple", "en"), 1);
  EXPECT_TRUE(AnsiSameText(U("STRASSE"), U("straße"), "de"));  // ß differs from ss by case level only
  EXPECT_FALSE(AnsiSameText(u"abc", u"abd", "en"));
  EXPECT_FALSE(AnsiSameText(u"\uFF21", u"a", "en"));  // a full-width letter is not a case variant
  // Turkish pairs I with ı and İ with i.
  EXPECT_TRUE(AnsiSameText(U("IĞDIR"), U("ığdır"), "tr"));
  EXPECT_TRUE(AnsiSameText(U("İstanbul"), u"istanbul", "tr"));
  EXPECT_FALSE(AnsiSameText(u"I", u"i", "tr"));
}

// Latin-1 text is folded without ICU; it must agree with the general path, which
// text with any character beyond Latin-1 (here "Ā") takes.
TEST(LocaleText, EveryLatin1LetterEqualsItsCaseVariants) {
  for (char16_t c = 0x41; c <= 0xFF; ++c) {
    const UnicodeString letter(1, c);
    for (const UnicodeString& variant : {AnsiUpperCase(letter, "en"), AnsiLowerCase(letter, "en")}) {
      EXPECT_TRUE(AnsiSameText(letter, variant, "en")) << int(c);
      EXPECT_TRUE(AnsiSameText(letter + u"\u0100", variant + u"\u0101", "en")) << int(c);
    }
  }
  EXPECT_EQ(AnsiCompareText(u"\u00B5", u"\u03BC", "en"), 0);  // micro sign and mu
  EXPECT_EQ(AnsiCompareText(U("à"), U("Ā"), "en"), AnsiCompareText(U("à"), U("ā"), "en"));
}

TEST(LocaleText, CompareStrIsCaseSensitiveAndExact) {
  EXPECT_NE(AnsiCompareStr(u"abc", u"ABC", "en"), 0);
  EXPECT_EQ(AnsiCompareStr(u"abc", u"ABC", "en"), -AnsiCompareStr(u"ABC", u"abc", "en"));
  EXPECT_EQ(AnsiCompareStr(u"a", u"b", "en"), -1);
  // Ignorable control characters do not make different texts equal ...
  EXPECT_FALSE(AnsiSameStr(u"ab", u"a\u0001b", "en"));
  // ... but canonically equivalent spellings of "é" are the same text.
  EXPECT_TRUE(AnsiSameStr(u"\u00E9", u"e\u0301", "fr"));
  // Locale order, not code-unit order: "é" sorts between "e" and "f".
  EXPECT_EQ(AnsiCompareStr(U("é"), u"f", "fr"), -1);
  EXPECT_EQ(AnsiCompareStr(U("é"), u"e", "fr"), 1);
}

TEST(LocaleText, CaseMappingIsFullAndFollowsTheLocale) {
  EXPECT_EQ(AnsiUpperCase(U("straße"), "de"), U("STRASSE"));
  EXPECT_EQ(AnsiLowerCase(U("ÉTÉ"), "fr"), U("été"));
  EXPECT_EQ(AnsiUpperCase(u"i", "tr"), U("İ"));
  EXPECT_EQ(AnsiLowerCase(u"I", "tr"), U("ı"));
  EXPECT_EQ(AnsiUpperCase(u"i", "en"), u"I");
  EXPECT_EQ(AnsiUpperCase(u""), u"");
}

TEST(LocaleText, UserLocaleFormsFollowTheDefaultLocale) {
  {
    DefaultLocale turkish("tr_TR");
    EXPECT_EQ(AnsiUpperCase(u"i"), U("İ"));
    EXPECT_NE(AnsiCompareText(u"I", u"i"), 0);  // dotless I is not the capital of i in Turkish
  }
  {
    // A C/POSIX environment still compares letters without case.
    DefaultLocale posix("en_US_POSIX");
    EXPECT_EQ(UserLocaleName(), "en_US");
    EXPECT_EQ(AnsiCompareText(u"ABC", u"abc"), 0);
    EXPECT_EQ(AnsiCompareText(u"b", u"C"), -1);
    EXPECT_EQ(AnsiUpperCase(u"i"), u"I");
  }
}

}  // namespace
}  // namespace quill
