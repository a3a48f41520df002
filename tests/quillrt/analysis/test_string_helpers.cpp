#include <gtest/gtest.h>

#include "quillrt/analysis/string_helpers.h"
#include "quillrt/framework/string_list.h"
#include "test_support.h"

namespace quill {
namespace {

TEST(StringHelpers, BlanksAndCharacters) {
  EXPECT_EQ(StrippedOfSingleAmpersands(u"a&&b&c"), u"a&bc");
  EXPECT_EQ(StrippedOfSingleAmpersands(u"&"), u"");
  EXPECT_EQ(StrippedDoubleSpaces(u"  a   b c  "), u" a b c ");
  EXPECT_EQ(StrippedOfChar(u"a-b-c", u'-'), u"abc");
  EXPECT_EQ(StrippedOfChars(u"a-b_c!", u"-_"), u"abc!");
  EXPECT_EQ(WideTrimSpaceOnly(u"\u3000\t a b\u00A0\r\n"), u"a b");
  EXPECT_EQ(StrippedSpacesAtLineStarts(u"a\r\n   b\r\n  "), u"a\r\nb\r\n ") << "the last character stays";
  EXPECT_EQ(StrippedSpacesAtLineStarts(u"a\n  b"), u"a\n  b") << "only after CR LF";
  EXPECT_EQ(BackwardsStr(u"ab\U0001F600c"), u"c\U0001F600ba");
  EXPECT_EQ(InterspersedWithSpaces(u"abc"), u"a b c ");
  EXPECT_EQ(StrippedSpacesBeforePunctuation(u"Hello , world  ! ok"), u"Hello, world! ok");
  EXPECT_TRUE(ContainsAlphanumCharacter(u"-- 7 --"));
  EXPECT_TRUE(ContainsAlphanumCharacter(u"\u00E9"));
  EXPECT_FALSE(ContainsAlphanumCharacter(u"-- ! --"));
  EXPECT_EQ(WideStringFromCardinal(0x263A), u"\u263A");
  EXPECT_EQ(WideCharFromCardinal(0x1F600), u'?');
}

TEST(StringHelpers, QuotesBracketsAndPieces) {
  EXPECT_EQ(DoubleQuotesAdded(u"  a b "), u"\"a b\"");
  EXPECT_EQ(DoubleQuotesRemoved(u" \"a \"b\" "), u"a b");
  EXPECT_EQ(Bracketed(u"x"), u"(x)");
  EXPECT_EQ(Bracketed(u"(x)"), u"(x)");
  EXPECT_EQ(Bracketed(u"(x"), u"(x)");
  EXPECT_EQ(Bracketed(u""), u"()");
  EXPECT_EQ(Bracketed(u"("), u"()");
  EXPECT_TRUE(IsAngleBracketed(u"<p>"));
  EXPECT_FALSE(IsAngleBracketed(u"<p"));
  EXPECT_FALSE(IsAngleBracketed(u">"));
  EXPECT_EQ(UNAngle_Bracketed(u"<p>"), u"p");
  EXPECT_EQ(UNAngle_Bracketed(u"p>"), u"p");
  EXPECT_EQ(UNAngle_Bracketed(u"<>"), u"");
  EXPECT_EQ(RemovedInitialChar(u"#12", u'#'), u"12");
  EXPECT_EQ(RemovedInitialChar(u"12", u'#'), u"12");
  EXPECT_EQ(FirstXCharactersOfString(u"abcde", 5, true), u"abcde");
  EXPECT_EQ(FirstXCharactersOfString(u"abcdef", 5, true), u"abcde\u2026");
  EXPECT_EQ(FirstXCharactersOfString(u"abcdef", 5, false), u"abcde");
  EXPECT_EQ(ValueString(u"name=a=b"), u"a=b");
  EXPECT_EQ(ValueString(u"name"), u"");
  const TTwoStringHalves halves = StringHalvesSplitAtMark(u':', u"key:va:lue");
  EXPECT_EQ(halves.before, u"key");
  EXPECT_EQ(halves.after, u"va:lue");
  EXPECT_EQ(StringHalvesSplitAtMark(u':', u"none").before, u"none");
  EXPECT_EQ(StringHalvesSplitAtMark(u':', u"none").after, u"");
  EXPECT_EQ(IntegerInsideSquareBrackets(u"file [12] of [3]"), 12);
  EXPECT_EQ(IntegerInsideSquareBrackets(u"no brackets"), 0);
  EXPECT_EQ(IntegerInsideSquareBrackets(u"[99999999999]"), INT32_MAX);
  EXPECT_EQ(PositionOfNumberInString(u"ab1c2", 1), 3);
  EXPECT_EQ(PositionOfNumberInString(u"ab1c2", 4), 5);
  EXPECT_EQ(PositionOfNumberInString(u"ab1c2", -3), 3);
  EXPECT_EQ(PositionOfNumberInString(u"abc", 1), -1);
}

TEST(StringHelpers, FileNames) {
  EXPECT_EQ(FilenameWithInsertion(u"/c/list.txt", u"_2", true), u"/c/list_2.txt");
  EXPECT_EQ(FilenameWithInsertion(u"/c/list.txt", u"_2", false), u"/c/list.txt_2");
  EXPECT_EQ(FilenameWithInsertion(u"/c.d/list", u"_2", true), u"/c.d/list_2") << "a dot in a folder is no extension";
  EXPECT_EQ(AcceptableFilename(u"a<b>c:d/e\\f*g?h\"i|j\tk"), u"a(b)c_d_e_f_g_h_i_j_k");
}

TEST(StringHelpers, Case) {
  EXPECT_EQ(TitleCase(u"tHE cat-and o'neil", false), u"The cat-and o'neil");
  EXPECT_EQ(TitleCase(u"tHE cat-and o'neil [x]y", true), u"The Cat-And O'Neil [X]Y");
  EXPECT_EQ(TitleCase(u"", true), u"");
  EXPECT_EQ(EnsurePrecomposed(u"e\u0301te\u0301"), u"\u00E9t\u00E9");
  EXPECT_EQ(CaseInsensitivePos(u"CAT", u"the cat sat"), 5);
  EXPECT_EQ(CaseInsensitivePos(u"dog", u"the cat sat"), 0);
  EXPECT_EQ(CaseInsensitiveUpperedPos(u"SAT", u"the cat sat"), 9);
  EXPECT_EQ(OutputConvertedStr(0, u"ab Cd"), u"AB CD");
  EXPECT_EQ(OutputConvertedStr(2, u"ab Cd"), u"ab cd");
  EXPECT_EQ(OutputConvertedStr(3, u"ab Cd"), u"ab Cd");
  char16_t wide[] = u"istanbul \u00E9t\u00E9";
  Capitalise(0x041F, wide);  // Turkish
  EXPECT_EQ(UnicodeString(wide), u"\u0130STANBUL \u00C9T\u00C9");
  WinLowerCased(0x041F, wide);
  EXPECT_EQ(UnicodeString(wide), u"istanbul \u00E9t\u00E9");
  char narrow[] = "Caf\xE9 x";
  Capitalise(0x0409, narrow);
  EXPECT_EQ(std::string(narrow), "CAF\xC9 X");
  WinLowerCased(0x0409, narrow);
  EXPECT_EQ(std::string(narrow), "caf\xE9 x");
  EXPECT_EQ(YesorNo(true), u"Yes");
  EXPECT_EQ(YesorNo(false), u"No");
}

TEST(StringHelpers, Positions) {
  EXPECT_EQ(NearerOfTwo(5, 3), 3);
  EXPECT_EQ(NearerOfTwo(0, 3), 3);
  EXPECT_EQ(NearerOfTwo(5, 0), 5);
  EXPECT_EQ(NearerOfTwo(0, 0), 0);
  EXPECT_EQ(PosExNearer(u"a.b,c.d", u",", u".", 1), 2);
  EXPECT_EQ(PosExNearer(u"a.b,c.d", u",", u".", 3), 4);
  EXPECT_EQ(PosExNearer(u"abc", u",", u".", 1), 0);

  const char16_t* wide = u"a.b,c";
  EXPECT_EQ(StrPosNearerW(wide, u",", u"."), wide + 1);
  EXPECT_EQ(StrPosNearerW(wide, u";", u","), wide + 3);
  EXPECT_EQ(StrPosNearerW(wide, u";", u""), nullptr);
  const char* narrow = "a.b,c";
  EXPECT_EQ(StrPosNearerA(narrow, ",", "."), narrow + 1);
  EXPECT_EQ(StrPosNearerA(nullptr, ",", "."), nullptr);

  const UnicodeString text = u"cat catalog scat cat";
  const auto all = PositionsWordFoundIn(u"cat", text, 0);
  ASSERT_EQ(all->Count(), 4);
  EXPECT_EQ(all->GetAValue(2), 14);
  const auto left = PositionsWordFoundIn(u"cat", text, kWordBoundedAtLeft);
  EXPECT_EQ(left->Count(), 3);
  const auto whole = PositionsWordFoundIn(u"cat", text, kWordBoundedAtLeft | kWordBoundedAtRight);
  ASSERT_EQ(whole->Count(), 2);
  EXPECT_EQ(whole->GetAValue(1), 18);
  EXPECT_EQ(PosWordFoundIn(u"cat", u"scatter", kWordBoundedAtLeft), -1);
  EXPECT_EQ(PosWordFoundIn(u"", text, 0), -1);
  EXPECT_EQ(PosWordFoundIn(u"cat", u"", 0), -1);
}

TEST(StringHelpers, LineEnds) {
  int added = 0;
  EXPECT_EQ(UnixStringToWindowsStringW(u"a\nb\rc\r\nd\n\r", added), u"a\r\nb\r\nc\r\nd\r\n\r\n");
  EXPECT_EQ(added, 4);
  EXPECT_EQ(UnixStringToWindowsString(added, "a\nb\rc\r\nd\r"), "a\r\nb\r\nc\r\nd\r");
  EXPECT_EQ(added, 2) << "a CR at the very end stays alone";
  EXPECT_EQ(UnixStringToWindowsString(added, "\n"), "\r\n");
  EXPECT_EQ(added, 1);
}

TEST(StringHelpers, Replacing) {
  UnicodeString text = u"a_b_c-d";
  Replace1With2In(u'_', u' ', text);
  EXPECT_EQ(text, u"a b c-d");
  Replace2With4In(u' ', u'-', u'+', u'=', text);
  EXPECT_EQ(text, u"a+b+c=d");
  AnsiString bytes = "x.y.z";
  Replace1With2In('.', '/', bytes);
  EXPECT_EQ(bytes, "x/y/z");
  EXPECT_EQ(ReplaceAnyOfTheseWithChar(u",;", u"a,b;c", u'|'), u"a|b|c");
  EXPECT_EQ(AnsiStringReplace("aXa xa", "xa", "-", kReplaceAll), "aXa -");
  EXPECT_EQ(AnsiStringReplace("aXa xa", "xa", "-", kReplaceAll | kReplaceIgnoreCase), "a- -");
  EXPECT_EQ(AnsiStringReplace("aXa xa", "xa", "-", kReplaceIgnoreCase), "a- xa") << "the first only";
  EXPECT_EQ(AnsiStringReplace("aaa", "aa", "b", kReplaceAll), "ba") << "no overlap";
  EXPECT_EQ(AnsiStringReplace("abc", "", "x", kReplaceAll), "abc");
  EXPECT_EQ(AnsiStringReplace("", "a", "x", kReplaceAll), "");
  EXPECT_EQ(AnsiStringReplace("a", "a", "aa", kReplaceAll), "aa") << "replacements are not searched again";
}

TEST(StringHelpers, EightBitText) {
  EXPECT_EQ(ConvertedFromWideString(1252, u"caf\u00E9 \u20AC"), "caf\xE9 \x80");
  EXPECT_EQ(ConvertedToWideString(1252, "caf\xE9 \x80"), u"caf\u00E9 \u20AC");
  EXPECT_EQ(ConvertedFromWideString(1252, u"\u65E5").size(), 1u) << "never more bytes than characters";

  testing::TempDir dir;
  TStringList lines;
  lines.Add(u"one");
  lines.Add(u"");
  lines.Add(u"two");
  EXPECT_THROW(AnsiAppendToTextFile(dir.File("missing.txt"), lines), EFOpenError);
  testing::WriteText(dir.Path("log.txt"), "start\r\n");
  AnsiAppendToTextFile(dir.File("log.txt"), lines);
  const auto bytes = testing::ReadAllBytes(dir.Path("log.txt"));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "start\r\none\r\n\r\ntwo\r\n");

  EXPECT_EQ(UnicodeString(GetCopyOfAnsiEncodedAsUnicode("caf\xE9", 0x0409)), u"caf\u00E9");
  const UnicodeString long_text(300, u'x');
  const char16_t* copy = GetCopyOfWideSTringEncodedASUnicode(long_text, 0);
  EXPECT_EQ(UnicodeString(copy), long_text.substr(0, 255)) << "at most 255 characters, zero-terminated";
  GetCopyOfWideSTringEncodedASUnicode(u"ab", 0);
  EXPECT_EQ(copy[2], 0) << "zero-filled before each copy";
  EXPECT_EQ(std::string(GetCopyOfWideSTringEncodedAsAnsi(u"caf\u00E9", 0)), "caf\xE9");
  EXPECT_EQ(std::string(GetCopyOfAnsiEncodedAsAnsi(std::string(400, 'y'), 0)).size(), 255u);

  const unsigned char buffer[] = {1, 0, 0, 0, 2, 0, 0, 0, 9};
  EXPECT_EQ(CheckSumOfABufferful(buffer, sizeof buffer), 3u);
}

}  // namespace
}  // namespace quill
