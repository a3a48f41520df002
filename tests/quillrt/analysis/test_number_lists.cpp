#include <gtest/gtest.h>

#include <random>
#include <set>

#include "quillrt/analysis/number_formats.h"
#include "quillrt/analysis/number_lists.h"
#include "quillrt/framework/sysutils.h"

namespace quill {
namespace {

UnicodeString Abbreviated(std::initializer_list<const char16_t*> lines) {
  TStringList list;
  for (const char16_t* line : lines) list.Add(line);
  return HumanAbbreviatedNumberListString(list);
}

std::vector<UnicodeString> Lines(const TStrings& list) { return list.ToStringArray(); }

TEST(NumberListAbbreviation, RangesOfThreeOrMoreAndCommasOtherwise) {
  EXPECT_EQ(Abbreviated({u"1", u"2", u"3", u"5", u"7", u"8"}), u"1-3,5,7,8");
  EXPECT_EQ(Abbreviated({u"4", u"5"}), u"4,5");
  EXPECT_EQ(Abbreviated({u"4", u"5", u"6"}), u"4-6");
  EXPECT_EQ(Abbreviated({}), u"");
  EXPECT_EQ(Abbreviated({u"9"}), u"9");
  EXPECT_EQ(Abbreviated({u"1", u"2", u"3", u"4", u"9", u"10", u"11"}), u"1-4,9-11");
  // Not sorted first; duplicates stay.
  EXPECT_EQ(Abbreviated({u"3", u"1", u"2", u"2"}), u"3,1,2,2");
}

TEST(NumberListAbbreviation, LinesThatAreNotNumbersAreSkipped) {
  EXPECT_EQ(Abbreviated({u"x", u"1", u"", u"2", u"3", u"page"}), u"1-3");
  EXPECT_EQ(Abbreviated({u"1", u"2", u"x"}), u"1,2");
  EXPECT_EQ(Abbreviated({u"a", u"b"}), u"");
}

TEST(NumberListAbbreviation, IntegerArraysWithAnOffset) {
  EXPECT_EQ(HumanAbbreviatedNumberListString(TArrayOfIntegers{0, 1, 2, 4}, 1), u"1-3,5");
  const auto list = TArrayOfIntegersToStringlist({5, -1}, 10);
  EXPECT_EQ(Lines(*list), (std::vector<UnicodeString>{u"15", u"9"}));
}

TEST(NumberListExpansion, WritesRangesOut) {
  EXPECT_EQ(HumanAbbreviatedNumberListStringExpanded(u"1-3,5"), u"1,2,3,5");
  EXPECT_EQ(HumanAbbreviatedNumberListStringExpanded(u"7-5"), u"");
  EXPECT_EQ(HumanAbbreviatedNumberListStringExpanded(u"5-"), u"");
  EXPECT_EQ(HumanAbbreviatedNumberListStringExpanded(u"pages 1, 3 - 4"), u"1,3,4");
  EXPECT_EQ(HumanAbbreviatedNumberListStringExpanded(u"-2"), u"0,1,2");
  EXPECT_EQ(HumanAbbreviatedNumberListStringExpanded(u""), u"");
}

TEST(NumberListExpansion, AHugeRangeGivesNothingInsteadOfExhaustingMemory) {
  EXPECT_EQ(HumanAbbreviatedNumberListStringExpanded(u"1,3-2000000000,5"), u"1,,5");
  TArrayOfIntegers numbers;
  HumanAbbreviatedNumberListStringAsIntegers(u"0-2147483647", 0, numbers);
  EXPECT_TRUE(numbers.empty());
  HumanAbbreviatedNumberListStringAsIntegers(u"1-1000000", 0, numbers);
  EXPECT_EQ(numbers.size(), 1000000u);
}

TEST(NumberListExpansion, AsIntegersWithAnOffset) {
  TArrayOfIntegers numbers{42};
  HumanAbbreviatedNumberListStringAsIntegers(u"1-3,5", 1, numbers);
  EXPECT_EQ(numbers, (TArrayOfIntegers{0, 1, 2, 4}));
  HumanAbbreviatedNumberListStringAsIntegers(u"99999999999,2,-1", 0, numbers);
  EXPECT_EQ(numbers, (TArrayOfIntegers{2, 0, 1}));
  HumanAbbreviatedNumberListStringAsIntegers(u"", 0, numbers);
  EXPECT_TRUE(numbers.empty());
}

TEST(NumberListExpansion, AbbreviationAndExpansionAreInverse) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::set<int> picked;
    const int count = static_cast<int>(random() % 25);
    for (int k = 0; k < count; ++k) picked.insert(static_cast<int>(random() % 40));
    TArrayOfIntegers numbers(picked.begin(), picked.end());
    const UnicodeString abbreviation = HumanAbbreviatedNumberListString(numbers, 0);
    TArrayOfIntegers back;
    HumanAbbreviatedNumberListStringAsIntegers(abbreviation, 0, back);
    EXPECT_EQ(back, numbers) << Utf16ToUtf8(abbreviation);
  }
}

TEST(NumberListExpansion, NthNumber) {
  EXPECT_EQ(ANumberInHumanString(u" 1-3,5 ", 2), u"2");
  EXPECT_EQ(ANumberInHumanString(u"1-3,5", 4), u"5");
  EXPECT_EQ(ANumberInHumanString(u"1-3,5", 0), u"1");
  EXPECT_EQ(ANumberInHumanString(u"1-3,5", 99), u"5");
  EXPECT_EQ(ANumberInHumanString(u"", 1), u"");
  EXPECT_EQ(ANumberInHumanString(u"4,", 2), u"");
}

TEST(NumberListExpansion, MonthNames) {
  const TFormatSettings saved = UserDefaultFormatSettings;
  UserDefaultFormatSettings = TFormatSettings::Invariant();
  EXPECT_EQ(HumanAbbreviatedNumberListStringToMonths(u"01-03,12"), u"Jan-Mar,Dec");
  EXPECT_EQ(HumanAbbreviatedNumberListStringToMonths(u"02,02"), u"Feb,02");  // the first only
  EXPECT_EQ(HumanAbbreviatedNumberListStringToMonths(u"1,13"), u"1,13");
  UserDefaultFormatSettings = saved;
}

TEST(ForceItems, InsertsIntoAnAscendingList) {
  TStringList list;
  list.SetCommaText(u"1,3,7");
  ForceItemsToInclude(list, 5);
  EXPECT_EQ(list.CommaText(), u"1,3,5,7");
  ForceItemsToInclude(list, 3);
  EXPECT_EQ(list.CommaText(), u"1,3,5,7");
  ForceItemsToInclude(list, 0);
  EXPECT_EQ(list.CommaText(), u"0,1,3,5,7");
  ForceItemsToInclude(list, 9);
  EXPECT_EQ(list.CommaText(), u"0,1,3,5,7,9");

  TStringList empty;
  ForceItemsToInclude(empty, 4);
  EXPECT_EQ(empty.CommaText(), u"4");

  TStringList words;
  words.SetCommaText(u"one,two");
  EXPECT_THROW(ForceItemsToInclude(words, 4), EConvertError);
}

TEST(CommaSeparated, ItemsTrimmedExceptTheLast) {
  EXPECT_EQ(Lines(*CommaSeparatedStrings(u"a,b")), (std::vector<UnicodeString>{u"a", u"b"}));
  EXPECT_EQ(Lines(*CommaSeparatedStrings(u" a , b")), (std::vector<UnicodeString>{u"a", u" b"}));
  EXPECT_EQ(Lines(*CommaSeparatedStrings(u"a,,b,")), (std::vector<UnicodeString>{u"a", u"", u"b"}));
  EXPECT_EQ(Lines(*CommaSeparatedStrings(u",")), (std::vector<UnicodeString>{u""}));
  EXPECT_TRUE(CommaSeparatedStrings(u"")->IsEmpty());
  EXPECT_EQ(Lines(*CommaSeparatedStrings(u"single")), (std::vector<UnicodeString>{u"single"}));
}

}  // namespace
}  // namespace quill
