#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "quillrt/framework/sysutils.h"
#include "test_support.h"

namespace quill {
namespace {

const TFormatSettings kInv = TFormatSettings::Invariant();

TEST(SysUtils, TrimRemovesControlCharactersAndSpacesOnly) {
  EXPECT_EQ(Trim(u" \t\r\n ab c\x01 "), u"ab c");
  EXPECT_EQ(TrimLeft(u"  ab  "), u"ab  ");
  EXPECT_EQ(TrimRight(u"  ab  "), u"  ab");
  EXPECT_EQ(Trim(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");  // no-break space is not a blank
  EXPECT_EQ(Trim(u"   "), u"");
}

TEST(SysUtils, CaseFoldsAsciiOnly) {
  EXPECT_EQ(UpperCase(u"abz éß"), u"ABZ éß");
  EXPECT_EQ(LowerCase(u"ABZ ÉI"), u"abz Éi");
  EXPECT_TRUE(SameText(u"Hello", u"hELLO"));
  EXPECT_FALSE(SameText(u"é", u"É"));
  EXPECT_FALSE(SameText(u"abc", u"abcd"));
  EXPECT_EQ(CompareText(u"abc", u"ABC"), 0);
  EXPECT_LT(CompareText(u"abc", u"ABD"), 0);
  EXPECT_GT(CompareText(u"b", u"A"), 0);
  EXPECT_LT(CompareText(u"ab", u"ABC"), 0);
  // '_' sits between the upper and lower case letters: compare folded to upper.
  EXPECT_GT(CompareText(u"_", u"a"), 0);
}

TEST(SysUtils, IntegersToText) {
  EXPECT_EQ(IntToStr(0), u"0");
  EXPECT_EQ(IntToStr(std::numeric_limits<int>::min()), u"-2147483648");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::uint64_t>::max()), u"18446744073709551615");
  EXPECT_EQ(IntToHex(255, 4), u"00FF");
  EXPECT_EQ(IntToHex(0xABCDEF, 2), u"ABCDEF");
  EXPECT_EQ(IntToHex(-1, 2), u"FFFFFFFF");
  EXPECT_EQ(IntToHex(std::int64_t{-1}, 0), u"FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(std::int16_t{-2}), u"FFFE");
}

TEST(SysUtils, TextToIntegerAcceptedForms) {
  const std::pair<const char16_t*, int> cases[] = {
      {u"123", 123},         {u"  42", 42},           {u"+7", 7},         {u"-0", 0},
      {u"007", 7},           {u"-2147483648", -2147483648}, {u"2147483647", 2147483647},
      {u"$FF", 255},         {u"$ff", 255},           {u"0x1f", 31},      {u"0X10", 16},
      {u"-$10", -16},        {u"$FFFFFFFF", -1},      {u"$80000000", std::numeric_limits<int>::min()},
      {u"$000000001", 1}};
  for (const auto& [text, expected] : cases) {
    int value = 0;
    EXPECT_TRUE(TryStrToInt(text, value)) << Utf16ToUtf8(text);
    EXPECT_EQ(value, expected) << Utf16ToUtf8(text);
  }
  EXPECT_EQ(StrToInt64(u"9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(StrToInt64(u"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(StrToInt64(u"$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64(u"4294967296"), 4294967296);
  EXPECT_EQ(StrToInt64(u"$FFFFFFFF"), 4294967295);  // a 64-bit target has room for it
}

TEST(SysUtils, TextToIntegerRejectedForms) {
  const char16_t* bad[] = {u"",   u" ",   u"42 ", u"\t5",        u"1a",        u"2147483648",
                           u"-2147483649", u"$", u"0x", u"$100000000", u"- 5", u"+-5", u"1.0", u"１"};
  for (const char16_t* text : bad) {
    int value = 99;
    EXPECT_FALSE(TryStrToInt(text, value)) << Utf16ToUtf8(text);
    EXPECT_EQ(value, 99);
  }
  std::int64_t wide = 0;
  EXPECT_FALSE(TryStrToInt64(u"9223372036854775808", wide));
  EXPECT_FALSE(TryStrToInt64(u"99999999999999999999999", wide));
  EXPECT_FALSE(TryStrToInt64(u"$10000000000000000", wide));
  EXPECT_EQ(StrToIntDef(u"x", -5), -5);
  EXPECT_EQ(StrToIntDef(u"12", -5), 12);
  EXPECT_EQ(StrToInt64Def(u"", 3), 3);
  try {
    StrToInt(u"12 apples");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'12 apples' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64(u"0x"), EConvertError);
}

TEST(SysUtils, TextToFloat) {
  EXPECT_EQ(StrToFloat(u" 2.5 ", kInv), 2.5);
  EXPECT_EQ(StrToFloat(u"-1e3", kInv), -1000.0);
  EXPECT_EQ(StrToFloat(u"+.5", kInv), 0.5);
  EXPECT_EQ(StrToFloat(u"5.", kInv), 5.0);
  EXPECT_EQ(StrToFloat(u"2.5E-3", kInv), 0.0025);
  EXPECT_EQ(StrToFloat(u"1e-400", kInv), 0.0);  // underflow is zero
  TFormatSettings comma = kInv;
  comma.DecimalSeparator = u',';
  EXPECT_EQ(StrToFloat(u"1,5", comma), 1.5);
  double value = 7;
  const char16_t* bad[] = {u"", u".", u"e5", u"1e", u"1e+", u"1.5.2", u"1,000", u"abc", u"1e400", u"inf", u"0x10"};
  for (const char16_t* text : bad) EXPECT_FALSE(TryStrToFloat(text, value, kInv)) << Utf16ToUtf8(text);
  EXPECT_FALSE(TryStrToFloat(u"1.5", value, comma));
  EXPECT_EQ(value, 7);
  EXPECT_EQ(StrToFloatDef(u"?", 1.25, kInv), 1.25);
  try {
    StrToFloat(u"1..2", kInv);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'1..2' is not a valid floating point value");
  }
}

TEST(SysUtils, FloatToText) {
  EXPECT_EQ(FloatToStr(0.1, kInv), u"0.1");
  EXPECT_EQ(FloatToStr(1234.5, kInv), u"1234.5");
  EXPECT_EQ(FloatToStr(-0.5, kInv), u"-0.5");
  EXPECT_EQ(FloatToStr(1.0 / 3, kInv), u"0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3, kInv), u"0.666666666666667");
  EXPECT_EQ(FloatToStr(1e20, kInv), u"1E20");
  EXPECT_EQ(FloatToStr(-1.5e-7, kInv), u"-1.5E-7");
  EXPECT_EQ(FloatToStr(0.0001, kInv), u"0.0001");
  EXPECT_EQ(FloatToStr(999999999999999.0, kInv), u"999999999999999");
  EXPECT_EQ(FloatToStr(123456789012345678.0, kInv), u"1.23456789012346E17");
  EXPECT_EQ(FloatToStr(0.0, kInv), u"0");
  TFormatSettings comma = kInv;
  comma.DecimalSeparator = u',';
  EXPECT_EQ(FloatToStr(2.25, comma), u"2,25");
  // What FloatToStr writes, StrToFloat reads back.
  for (double v : {0.1, 1e-10, 12345.678, -9.87654321e12}) EXPECT_EQ(StrToFloat(FloatToStr(v, comma), comma), v);
}

TEST(SysUtils, PosCopyReplaceQuote) {
  EXPECT_EQ(Pos(u"lo", u"hello lo"), 4);
  EXPECT_EQ(Pos(u"x", u"hello"), 0);
  EXPECT_EQ(Pos(u"", u"hello"), 0);
  EXPECT_EQ(Copy(u"abcdef", 2, 3), u"bcd");
  EXPECT_EQ(Copy(u"abcdef", 0, 3), u"abc");
  EXPECT_EQ(Copy(u"abcdef", -5, 2), u"ab");
  EXPECT_EQ(Copy(u"abcdef", 5, 100), u"ef");
  EXPECT_EQ(Copy(u"abcdef", 7, 1), u"");
  EXPECT_EQ(Copy(u"abcdef", 2, -1), u"");
  EXPECT_EQ(Copy(u"abcdef", 2, std::numeric_limits<int>::max()), u"bcdef");

  EXPECT_EQ(StringReplace(u"a-b-c", u"-", u"+"), u"a+b-c");
  EXPECT_EQ(StringReplace(u"a-b-c", u"-", u"--", rfReplaceAll), u"a--b--c");
  EXPECT_EQ(StringReplace(u"Cat cat CAT", u"cat", u"dog", {rfReplaceAll, rfIgnoreCase}), u"dog dog dog");
  EXPECT_EQ(StringReplace(u"Cat cat", u"cat", u"dog", rfIgnoreCase), u"dog cat");
  EXPECT_EQ(StringReplace(u"Cat cat", u"cat", u"dog", rfReplaceAll), u"Cat dog");
  EXPECT_EQ(StringReplace(u"Éé", u"é", u"e", {rfReplaceAll, rfIgnoreCase}), u"Ée");
  EXPECT_EQ(StringReplace(u"aaa", u"aa", u"b", rfReplaceAll), u"ba");
  EXPECT_EQ(StringReplace(u"abc", u"", u"x", rfReplaceAll), u"abc");

  EXPECT_EQ(QuotedStr(u"it's"), u"'it''s'");
  EXPECT_EQ(QuotedStr(u""), u"''");
}

TEST(SysUtils, FileNameParts) {
  EXPECT_EQ(ExtractFilePath(u"/data/corpus/a.txt"), u"/data/corpus/");
  EXPECT_EQ(ExtractFilePath(u"a.txt"), u"");
  EXPECT_EQ(ExtractFileName(u"/data/corpus/a.txt"), u"a.txt");
  EXPECT_EQ(ExtractFileName(u"/data/corpus/"), u"");
  EXPECT_EQ(ExtractFileExt(u"/data/corpus/a.b.txt"), u".txt");
  EXPECT_EQ(ExtractFileExt(u"/data/v1.2/readme"), u"");
  EXPECT_EQ(ExtractFileExt(u"name."), u".");
  EXPECT_EQ(ChangeFileExt(u"/d/a.txt", u".lst"), u"/d/a.lst");
  EXPECT_EQ(ChangeFileExt(u"/d.x/a", u".lst"), u"/d.x/a.lst");
  EXPECT_EQ(ChangeFileExt(u"a.txt", u""), u"a");
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"/d"), u"/d/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"/d/"), u"/d/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(u""), u"");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/d/"), u"/d");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/d"), u"/d");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/"), u"/");  // the root stays the root
  EXPECT_EQ(ExpandFileName(u"/a/./b/../c"), u"/a/c");
  EXPECT_EQ(ExpandFileName(u"x/../y.txt"), IncludeTrailingPathDelimiter(GetCurrentDir()) + u"y.txt");
  EXPECT_EQ(ExpandFileName(u""), u"");
}

TEST(SysUtils, FileSystemHelpers) {
  testing::TempDir dir;
  const UnicodeString folder = dir.File("sub");
  const UnicodeString nested = dir.File("sub/deeper/deepest");
  const UnicodeString file = dir.File("ünïcode.txt");
  testing::WriteText(dir.Path("ünïcode.txt"), "x");

  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(FileExists(Utf8ToUtf16(dir.path().string())));  // a folder is not a file
  EXPECT_TRUE(DirectoryExists(Utf8ToUtf16(dir.path().string())));
  EXPECT_FALSE(FileExists(u""));

  EXPECT_TRUE(ForceDirectories(nested));
  EXPECT_TRUE(DirectoryExists(nested));
  EXPECT_TRUE(ForceDirectories(nested));  // already there
  EXPECT_FALSE(ForceDirectories(u""));
  EXPECT_FALSE(ForceDirectories(file + u"/below"));  // under a file
  EXPECT_FALSE(DeleteFile(folder));                   // folders are not deleted

  const UnicodeString moved = dir.File("sub/moved.txt");
  EXPECT_TRUE(RenameFile(file, moved));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(FileExists(moved));
  testing::WriteText(dir.Path("other.txt"), "keep me");
  EXPECT_FALSE(RenameFile(dir.File("other.txt"), moved));  // never replaces
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("sub/moved.txt")).size(), 1u);
  EXPECT_FALSE(RenameFile(dir.File("missing"), dir.File("x")));

  EXPECT_TRUE(DeleteFile(moved));
  EXPECT_FALSE(DeleteFile(moved));
  EXPECT_FALSE(GetCurrentDir().empty());
}

}  // namespace
}  // namespace quill
