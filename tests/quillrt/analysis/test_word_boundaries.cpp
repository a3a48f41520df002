#include <gtest/gtest.h>

#include "quillrt/analysis/word_boundaries.h"

namespace quill {
namespace {

TEST(WordBoundaries, BoundedWords) {
  EXPECT_FALSE(IsWholeWord(u"cats", 1, 4));
  EXPECT_TRUE(IsWholeWord(u"cat.", 1, 4));
  EXPECT_TRUE(IsWholeWord(u"cat", 1, 4)) << "the end of the text bounds it";
  EXPECT_FALSE(IsWholeWord(u"scat", 2, 5));
  EXPECT_TRUE(IsWholeWord(u"\u00E9t\u00E9 cat", 5, 8));
  EXPECT_FALSE(IsWholeWord(u"\u00E9t\u00E9 cat", 2, 4)) << "accented letters are word characters";
  EXPECT_FALSE(IsBoundedOnLeft(u"\u00E9cat", 2));
  EXPECT_FALSE(IsBoundedOnRight(u"cat\u0662", 4)) << "Arabic-Indic digit";
  EXPECT_TRUE(IsBoundedOnRight(u"cat\u2019s", 4));

  EXPECT_TRUE(BoundedWholeWord(u"a cat sat", 3, 5));
  EXPECT_FALSE(BoundedAtRight(u"a cats", 3, 5));
  EXPECT_FALSE(BoundedAtLeft(u"scat", 2, 4));
  EXPECT_TRUE(BoundedAtRight(u"cat", 1, 3));
  // Positions outside the text are never read.
  EXPECT_FALSE(BoundedAtLeft(u"cat", 0, 3));
  EXPECT_TRUE(BoundedAtLeft(u"cat", 5, 6));
  EXPECT_FALSE(BoundedAtRight(u"cat", 1, 9));
  EXPECT_TRUE(IsBoundedOnRight(u"cat", 0));
}

TEST(WordBoundaries, WholeWordPositions) {
  const UnicodeString text = u"CATS AND CAT, CATALOGUE CAT";
  EXPECT_EQ(WholeWordPositionOfXinUpcaseText(1, u"CAT", text), 10);
  EXPECT_EQ(WholeWordPositionOfXinUpcaseText(11, u"CAT", text), 25);
  EXPECT_EQ(WholeWordPositionOfXinUpcaseText(26, u"CAT", text), 0);
  EXPECT_EQ(WholeWordPositionOfXinUpcaseText(1, u"cat", text), 0) << "exact comparison";
  EXPECT_EQ(WholeWordPositionOfXinUpcaseText(1, u"", text), 0);
  EXPECT_EQ(WholeWordPositionOfXinUpcaseText(-4, u"CATS", text), 1);
}

TEST(WordBoundaries, NearbyNonSpaceCharacters) {
  const UnicodeString text = u"ab \t\u00A0 cd";
  EXPECT_EQ(NextOrLastNonSpaceCharPos(2, text, false), 7);
  EXPECT_EQ(NextOrLastNonSpaceCharPos(7, text, true), 2);
  EXPECT_EQ(NextOrLastNonSpaceCharPos(50, text, true), 8) << "positions past the end are passed over";
  EXPECT_EQ(NextOrLastNonSpaceCharPos(8, text, false), -1);
  EXPECT_EQ(NextOrLastNonSpaceCharPos(1, text, true), -1);
  EXPECT_EQ(NextOrLastNonSpaceChar(2, text, false), u'c');
  EXPECT_EQ(NextOrLastNonSpaceChar(1, text, true), 0);
  EXPECT_EQ(NextOrLastNonSpaceCharPos(0, u"", false), -1);

  EXPECT_EQ(FirstCharPosAboveSpace(u" \t\r\nx"), 5);
  EXPECT_EQ(FirstCharPosAboveSpace(u"  "), -1);
}

TEST(WordBoundaries, PunctuationNearby) {
  EXPECT_TRUE(NextValidCharIsPunctuation(1, u"  , next"));
  EXPECT_FALSE(NextValidCharIsPunctuation(1, u"  next,"));
  EXPECT_FALSE(NextValidCharIsPunctuation(1, u"  + next")) << "a symbol is not punctuation";
  EXPECT_FALSE(NextValidCharIsPunctuation(1, u"   "));
  EXPECT_TRUE(NextValidCharIsPunctuation(4, u"ab \u3002"));

  EXPECT_TRUE(LastCharIsNotPunctuation(u"costs $"));
  EXPECT_TRUE(LastCharIsNotPunctuation(u"word \u0301 "));
  EXPECT_FALSE(LastCharIsNotPunctuation(u"word.)  "));
  EXPECT_FALSE(LastCharIsNotPunctuation(u"word-"));
  EXPECT_TRUE(LastCharIsNotPunctuation(u"5 + "));
  EXPECT_FALSE(LastCharIsNotPunctuation(u" + "));
  EXPECT_FALSE(LastCharIsNotPunctuation(u""));
  // Letters of caseless scripts decide like other letters.
  EXPECT_TRUE(LastCharIsNotPunctuation(u"\u4E2D\u6587"));
  EXPECT_FALSE(LastCharIsNotPunctuation(u"\u4E2D\u6587\u3002"));

  EXPECT_EQ(FirstCharIsLowerCase(u"  \"word"), u'w');
  EXPECT_EQ(FirstCharIsLowerCase(u"(\u00E9t\u00E9)"), u'\u00E9');
  EXPECT_EQ(FirstCharIsLowerCase(u"Word"), 0);
  EXPECT_EQ(FirstCharIsLowerCase(u"3 words"), 0);
  EXPECT_EQ(FirstCharIsLowerCase(u"$ word"), 0);
  EXPECT_EQ(FirstCharIsLowerCase(u"\u4E2D word"), 0);
  EXPECT_EQ(FirstCharIsLowerCase(u"..."), 0);
}

TEST(WordBoundaries, FirstCharOutsideQuotes) {
  const char* plain = "key = value";
  EXPECT_EQ(FirstCharInBufferNotInQuotes(plain, '='), plain + 4);
  const char* quoted = "\"a=b\" = 'c=d'";
  EXPECT_EQ(FirstCharInBufferNotInQuotes(quoted, '='), quoted + 6);
  const char* escaped = "\"a\\\"=b\" =";  // "a\"=b" =
  EXPECT_EQ(FirstCharInBufferNotInQuotes(escaped, '='), escaped + 8);
  const char* mixed = "'it\"s' =";  // a double quote inside single quotes is text
  EXPECT_EQ(FirstCharInBufferNotInQuotes(mixed, '='), mixed + 7);
  EXPECT_EQ(FirstCharInBufferNotInQuotes("\"open = never closed", '='), nullptr);
  EXPECT_EQ(FirstCharInBufferNotInQuotes("none here", '='), nullptr);
  EXPECT_EQ(FirstCharInBufferNotInQuotes("", '='), nullptr);
  EXPECT_EQ(FirstCharInBufferNotInQuotes(nullptr, '='), nullptr);
  const char* backslash_outside = "a\\'=";  // outside quotes a backslash escapes nothing
  EXPECT_EQ(FirstCharInBufferNotInQuotes(backslash_outside, '='), nullptr);
}

}  // namespace
}  // namespace quill
