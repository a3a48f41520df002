#include <gtest/gtest.h>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/vocabulary/text_conventions.h"

namespace quill {
namespace {

TEST(EncodedCRLFTAB, WildcardsInsideTheTextBecomeCodes) {
  EXPECT_EQ(EncodedCRLFTAB(u"a*b"), (UnicodeString{u'a', 29, u'b'}));
  EXPECT_EQ(EncodedCRLFTAB(u"a?b#c"), (UnicodeString{u'a', 28, u'b', 27, u'c'}));
  // At either end, or touching a double quote, a wildcard is literal.
  EXPECT_EQ(EncodedCRLFTAB(u"*"), u"*");
  EXPECT_EQ(EncodedCRLFTAB(u"*ab?"), u"*ab?");
  EXPECT_EQ(EncodedCRLFTAB(u"a\"*\"b"), u"a\"*\"b");
  EXPECT_EQ(EncodedCRLFTAB(u"a\"#b"), u"a\"#b");
  EXPECT_EQ(EncodedCRLFTAB(u""), u"");
}

TEST(EncodedCRLFTAB, TypedLineBreaksAndTabsBecomeCharacters) {
  EXPECT_EQ(EncodedCRLFTAB(u"end<Enter>next<Tab>x"), u"end\r\nnext\tx");
  EXPECT_EQ(EncodedCRLFTAB(u"<Enter><Enter>"), u"\r\n\r\n");
  // The markers are the catalogue's: a translation changes what is recognised.
  SetCatalogueText("_QYEnter", u"<Eingabe>");
  EXPECT_EQ(EncodedCRLFTAB(u"a<Eingabe>b<Enter>"), u"a\r\nb<Enter>");
  ResetCatalogue();
}

TEST(EncodedCRLFTAB, ReadableFormReversesIt) {
  const UnicodeString typed = u"a*b?c#d<Enter>e<Tab>f";
  EXPECT_EQ(EncodedCRLFTABToReadableStr(EncodedCRLFTAB(typed)), typed);
  // A lone CR or LF is not a typed line break.
  EXPECT_EQ(EncodedCRLFTABToReadableStr(u"a\rb\nc"), u"a\rb\nc");
}

TEST(TypeRecords, FlagBitsAndValue) {
  constexpr std::uint32_t marked = 0xF0000005u;
  static_assert(TypeRecWithoutTextMarker(marked) == 5);
  static_assert(TypeRecIsTextEnd(marked) && TypeRecIsParaHeadEnd(marked));
  static_assert(TypeRecIsSentEnd(marked) && TypeRecIsPunctEnd(marked));
  static_assert(TypeRecIsUnmarked(5) && TypeRecIsUnmarked(0x0FFFFFFF));
  static_assert(!TypeRecIsUnmarked(0x10000000) && !TypeRecIsUnmarked(marked));
  static_assert(TypeRecIsSentEnd(0x20000000) && !TypeRecIsParaHeadEnd(0x20000000) && !TypeRecIsTextEnd(0x20000000));
  static_assert(TypeRecIsParaHeadEnd(0x40000001) && TypeRecWithoutTextMarker(0x40000001) == 1);
  SUCCEED();
}

TEST(StringCleanUps, QuotesCharactersAndSubstrings) {
  EXPECT_EQ(CutOutsideQuotes(u"\"the cat\""), u"the cat");
  EXPECT_EQ(CutOutsideQuotes(u"\"\""), u"");
  EXPECT_EQ(CutOutsideQuotes(u"\""), u"\"");
  EXPECT_EQ(CutOutsideQuotes(u"\"half"), u"\"half");

  EXPECT_EQ(ChrClearedFromString(u'-', u"a-b--c-"), u"abc");
  EXPECT_EQ(SubStrClearedFromString(u"ab", u"aabb"), u"");
  EXPECT_EQ(SubStrClearedFromString(u"ab", u"xaabby"), u"xy");
  EXPECT_EQ(SubStrClearedFromString(u"", u"abc"), u"abc");
  EXPECT_EQ(SubStrClearedFromString(u"abc", u"ab"), u"ab");
}

TEST(StringCleanUps, DrivePathsAreMadeWhole) {
  EXPECT_EQ(CorrectedPathname(u" C: "), UnicodeString(u"C:") + PathDelim);
  EXPECT_EQ(CorrectedPathname(u"C:data"), UnicodeString(u"C:") + PathDelim + u"data");
  EXPECT_EQ(CorrectedPathname(u"C:\\data"), u"C:\\data");
  EXPECT_EQ(CorrectedPathname(u"C:/data"), u"C:/data");
  EXPECT_EQ(CorrectedPathname(u"/home/data "), u"/home/data");
  EXPECT_EQ(CorrectedPathname(u""), u"");
}

TEST(StringCleanUps, TitleCase) {
  EXPECT_EQ(TitleCasedString(u"the CAT sat"), u"The Cat Sat");
  EXPECT_EQ(TitleCasedString(u"o'neil-smith"), u"O'Neil-Smith");
  EXPECT_EQ(TitleCasedString(u"a b"), u"A b");   // a letter in the last place stays small
  EXPECT_EQ(TitleCasedString(u"X"), u"x");
  EXPECT_EQ(TitleCasedString(u"ÉTÉ über"), u"Été Über");
  EXPECT_EQ(TitleCasedString(u"12 apples"), u"12 Apples");
  EXPECT_EQ(TitleCasedString(u""), u"");
}

}  // namespace
}  // namespace quill
