#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "quillrt/analysis/string_list_helpers.h"
#include "quillrt/analysis/number_formats.h"
#include "quillrt/framework/sysutils.h"
#include "test_support.h"

namespace quill {
namespace {

using Lines = std::vector<UnicodeString>;

std::unique_ptr<TStringList> ListOf(const Lines& lines) {
  auto list = std::make_unique<TStringList>();
  for (const auto& line : lines) list->Add(line);
  return list;
}

TEST(TabLines, PartsAroundTheFirstTab) {
  EXPECT_EQ(AddWithTab(u"", u"b"), u"b");
  EXPECT_EQ(AddWithTab(u"a", u"b"), u"a\tb");
  EXPECT_EQ(PreTabPart(u"a\tb\tc"), u"a");
  EXPECT_EQ(AfterTabPart(u"a\tb\tc"), u"b\tc");
  EXPECT_EQ(PreTabPart(u"no tab"), u"");
  EXPECT_EQ(AfterTabPart(u"no tab"), u"");
  EXPECT_EQ(PreTabPathAndFilenameOf(u"/corpus/a.txt\t12"), u"/corpus/a.txt");
  EXPECT_EQ(PreTabFilenameOf(u"/corpus/a.txt\t12"), u"a.txt");
  EXPECT_EQ(PreTabFilenameOf(u"C:\\corpus\\b.txt\t12"), u"b.txt");
  EXPECT_EQ(AfterTabIntegerOf(u"x\t1,234"), 1234);
  EXPECT_EQ(AfterTabIntegerOf(u"x\t42"), 42);
  EXPECT_EQ(AfterTabIntegerOf(u"x\tnone"), -1);
  EXPECT_EQ(AfterTabIntegerOf(u"x"), -1);
  const auto list = ListOf({u"/a/x.txt\t1", u"/a/y.txt\t2", u"/a/y.txt\t3"});
  EXPECT_EQ(IndexOfPreTabFnameOnly(*list, u"/a/y.txt"), 1);
  EXPECT_EQ(IndexOfPreTabFnameOnly(*list, u"/a/Y.txt"), -1) << "exact comparison";
}

TEST(TabLines, SortsByFileNameOrNumberInEitherDirection) {
  auto list = ListOf({u"/z/b.txt\t10", u"/a/C.txt\t9", u"/m/a.txt\t100"});
  SetSortDescendingAndSort(false, *list, StringListCompareStringsFilenamePreTab);
  EXPECT_EQ(list->ToStringArray(), (Lines{u"/m/a.txt\t100", u"/z/b.txt\t10", u"/a/C.txt\t9"}));
  SetSortDescendingAndSort(false, *list, StringListCompareStringsIntegerAfterTab);
  EXPECT_EQ(list->ToStringArray(), (Lines{u"/a/C.txt\t9", u"/z/b.txt\t10", u"/m/a.txt\t100"}));
  SetSortDescendingAndSort(true, *list, StringListCompareStringsIntegerAfterTab);
  EXPECT_EQ(list->ToStringArray(), (Lines{u"/m/a.txt\t100", u"/z/b.txt\t10", u"/a/C.txt\t9"}));
  SetSortDescendingAndSort(false, *list, StringListCompareStringsIntegerAfterTab);
}

TEST(TabLines, DatesAfterTheTabInTheUsersOrder) {
  TFormatSettings settings;
  settings.ShortDateFormat = u"dd/mm/yyyy";
  TDateTime value = 0;
  ASSERT_TRUE(TryTextToDateTime(u"05/03/2024 14:30", settings, value));
  EXPECT_EQ(value, EncodeDateTime(2024, 3, 5, 14, 30, 0, 0));
  settings.ShortDateFormat = u"M/d/yy";
  ASSERT_TRUE(TryTextToDateTime(u"3/5/24 2:30:15 PM", settings, value));
  EXPECT_EQ(value, EncodeDateTime(2024, 3, 5, 14, 30, 15, 0));
  settings.ShortDateFormat = u"yyyy-MM-dd";
  ASSERT_TRUE(TryTextToDateTime(u"2024-03-05", settings, value));
  EXPECT_EQ(value, EncodeDate(2024, 3, 5));
  EXPECT_FALSE(TryTextToDateTime(u"2024-13-05", settings, value));
  EXPECT_FALSE(TryTextToDateTime(u"12", settings, value));
  EXPECT_FALSE(TryTextToDateTime(u"2024-03-05 25:00", settings, value));

  const TDateTime before = Now();
  EXPECT_GE(AfterTabDateOf(u"x\tnot a date"), before) << "the current moment";
  auto list = ListOf({u"b\t9999-01-01", u"a\t1999-12-31", u"c\t1900-06-15"});
  const UnicodeString saved = UserDefaultFormatSettings.ShortDateFormat;
  UserDefaultFormatSettings.ShortDateFormat = u"yyyy-mm-dd";
  SetSortDescendingAndSort(false, *list, StringListCompareStringsDateAfterTab);
  UserDefaultFormatSettings.ShortDateFormat = saved;
  EXPECT_EQ(list->ToStringArray(), (Lines{u"c\t1900-06-15", u"a\t1999-12-31", u"b\t9999-01-01"}));
}

TEST(StringListFromString, SplitsAtTheSeparatorSkippingALineFeed) {
  EXPECT_EQ(StringListFromString(u"a\r\nb\rc")->ToStringArray(), (Lines{u"a", u"b", u"c"}));
  EXPECT_EQ(StringListFromString(u';', u"a;;b;")->ToStringArray(), (Lines{u"a", u"", u"b"}));
  EXPECT_EQ(StringListFromString(u';', u"")->Count(), 0);
  EXPECT_EQ(StringListFromString(u';', u"a;\n\nb")->ToStringArray(), (Lines{u"a", u"\nb"}));
}

TEST(StringToStringList, FieldsWithQuotes) {
  TStringList list;
  EXPECT_EQ(StringToStringList(u',', u"a,\"b\",c", list), 3);
  EXPECT_EQ(list.ToStringArray(), (Lines{u"a", u"b", u"c"}));
  EXPECT_EQ(StringToStringList(u',', u"a,\"b", list), -2);
  EXPECT_EQ(list.ToStringArray(), (Lines{u"a", u"b"}));
  EXPECT_EQ(StringToStringList(u',', u"\"x,y\",z", list), 2) << "a separator inside quotes is text";
  EXPECT_EQ(list.ToStringArray(), (Lines{u"x,y", u"z"}));
  EXPECT_EQ(StringToStringList(u',', u"a,,b,", list), 4);
  EXPECT_EQ(list.ToStringArray(), (Lines{u"a", u"", u"b", u""}));
  EXPECT_EQ(StringToStringList(u',', u"\"a\"", list), 1);
  EXPECT_EQ(StringToStringList(u',', u"", list), 0);
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringListToString, JoinsAndStopsWithEtc) {
  const auto list = ListOf({u"one", u"", u"two", u"three", u"four"});
  EXPECT_EQ(StringListToString(u", ", *list), u"one, two, three, four");
  EXPECT_EQ(StringListToString(u", ", *list, 2), u"two, three, four");
  EXPECT_EQ(StringListToString(u", ", *list, 0, 8), u"one, two etc.");
  EXPECT_EQ(StringListToString(u", ", *list, 0, 100), u"one, two, three, four");
  EXPECT_EQ(StringListToString(u",", *ListOf({u"abc"}), 0, 3), u"abc") << "no line remains";
  EXPECT_EQ(AddToListWithSeparatorIfNeeded(u"", u"x", u"; "), u"x");
  EXPECT_EQ(AddToListWithSeparatorIfNeeded(u"a", u"x", u"; "), u"a; x");
  EXPECT_EQ(FolderNamesAsText(*ListOf({u"/c/one/", u"/c/two", u"/c/three"}), 1), u"one+two");
  EXPECT_EQ(FolderNamesAsText(*ListOf({u"/c/one/"}), 5), u"one");
  EXPECT_EQ(FromColumnedWidestringListToVerticalTabbed(u"a|b\r\nc|d", u'|')->ToStringArray(),
            (Lines{u"a\vb", u"c\vd"}));
}

TEST(StringlistFromStringWithHexColourWords, ColourMarksColourOneWord) {
  const auto list = StringlistFromStringWithHexColourWords(u"plain <#FF0000>red and <#ff>blue<#>x <#zz>y");
  ASSERT_EQ(list->Count(), 5);
  EXPECT_EQ((*list)[0], u"plain ");
  EXPECT_EQ((*list)[1], u"red");
  EXPECT_EQ(list->GetObject(1).AsInt(), 0xFF0000);
  EXPECT_EQ((*list)[2], u" and ");
  EXPECT_EQ((*list)[3], u"blue<#>x") << "the word runs to the next blank";
  EXPECT_EQ(list->GetObject(3).AsInt(), 0xFF);
  EXPECT_EQ((*list)[4], u" <#zz>y") << "no colour mark without hex digits";
  EXPECT_EQ(list->GetObject(0).AsInt(), 0);
}

TEST(LineConditions, RemoveConvertReverseReduce) {
  auto list = ListOf({u"keep", u"drop me", u"keep too", u"drop"});
  StringListRemoveLinesMeetingCondition(list.get(), [](const UnicodeString& line) { return line.starts_with(u"drop"); });
  EXPECT_EQ(list->ToStringArray(), (Lines{u"keep", u"keep too"}));
  StringListRemoveLinesMeetingCondition(nullptr, [](const UnicodeString&) { return true; });

  const auto converted = StringListRemovingAnyLines(*ListOf({u"a", u"b", u"c"}),
                                                    [](const UnicodeString& line, TLineConversion& result) {
                                                      result.remove = line == u"b";
                                                      result.convert = line == u"c";
                                                      result.converted = u"C!";
                                                    });
  EXPECT_EQ(converted->ToStringArray(), (Lines{u"a", u"C!"}));

  TStringList values;
  for (int i = 0; i < 5; ++i) values.AddObject(IntToStr(i), TObjectRef::FromInt(i * 10));
  ReverseAStringList(values);
  EXPECT_EQ(values.ToStringArray(), (Lines{u"4", u"3", u"2", u"1", u"0"}));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(values.GetObject(i).AsInt(), (4 - i) * 10) << "values travel with their lines";

  std::mt19937 random(7);
  RandomReduceStringlist(values, 2, random);
  ASSERT_EQ(values.Count(), 2);
  EXPECT_GT(values[0], values[1]) << "the lines kept stay in order";
  RandomReduceStringlist(values, -1, random);
  EXPECT_EQ(values.Count(), 0);
}

TEST(TNotifyStringlist, ReportsProgressWhileTakingInText) {
  std::vector<int> heard;
  TNotifyStringlist list([&](std::int32_t count) { heard.push_back(count); });
  UnicodeString text;
  for (int i = 0; i < 600; ++i) text += u"line\r\n";
  text += u"cr\rlf\nlast";
  int changes = 0;
  list.OnChange = [&](TStrings&) { ++changes; };
  list.SetText(text);
  EXPECT_EQ(list.Count(), 603);
  EXPECT_EQ(list[601], u"lf");
  EXPECT_EQ(heard, (std::vector<int>{255, 511, 603}));
  EXPECT_EQ(changes, 1) << "one update bracket";

  list.SetLineBreak(u"||");
  list.SetText(u"a||b\r\nc||");
  EXPECT_EQ(list.ToStringArray(), (Lines{u"a", u"b\r\nc"}));
}

TEST(TArrayOfStringLists, GrowsAndOwnsItsLists) {
  TArrayOfStringLists lists;
  lists.Add().Add(u"x");
  lists.SetCount(3);
  EXPECT_EQ(lists.Count(), 3);
  EXPECT_EQ(lists[0][0], u"x");
  EXPECT_EQ(lists[2].Count(), 0);
  lists.SetCount(1);
  EXPECT_EQ(lists.Count(), 1);
  EXPECT_THROW(lists[1], EListError);
}

TEST(TFilenamesStringlist, KeepsTheFirstExistingFileOfEachLine) {
  testing::TempDir dir;
  testing::WriteText(dir.Path("a.txt"), "x");
  testing::WriteText(dir.Path("b.txt"), "x");
  TFilenamesStringlist list;
  list.Add(u"missing\t" + dir.File("a.txt") + u"\t" + dir.File("b.txt"));
  list.Add(u"nothing\there");
  list.Add(u"3\t" + dir.File("b.txt"));
  list.ReduceToExistingFilenames();
  EXPECT_EQ(list.ToStringArray(), (Lines{dir.File("a.txt"), dir.File("b.txt")}));
  EXPECT_FALSE(TFilenamesStringlist::IsAnExistingFilename(u""));
  EXPECT_EQ(GetTextFromFile(dir.File("a.txt")), u"x\r\n");
  EXPECT_EQ(GetTextFromFile(dir.File("none.txt")), u"");
}

}  // namespace
}  // namespace quill
