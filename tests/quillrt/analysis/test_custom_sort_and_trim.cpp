#include <gtest/gtest.h>

#include <vector>

#include "quillrt/analysis/custom_sort_order.h"
#include "quillrt/analysis/string_list_trimming.h"
#include "quillrt/process/yield.h"

namespace quill {
namespace {

std::vector<UnicodeString> Lines(const TStrings& list) { return list.ToStringArray(); }

TEST(CustomSort, PreparedUnitsLongestFirstWithTheirRanks) {
  const auto prepared = CustomSortPreparedStringlist(u"c, ch ,d,,e");
  EXPECT_EQ(Lines(*prepared), (std::vector<UnicodeString>{u"ch", u"c", u"d", u"e"}));
  EXPECT_EQ(prepared->GetOne(0), 1);
  EXPECT_EQ(prepared->GetOne(1), 0);
  EXPECT_EQ(prepared->GetOne(2), 2);
  EXPECT_EQ(prepared->GetOne(3), 3);
}

TEST(CustomSort, KeysReplaceUnitsByTheirRank) {
  const auto prepared = CustomSortPreparedStringlist(u"c,ch,d");
  EXPECT_EQ(NormalisedLineForCustomSort(u"cz", *prepared), u"@z");
  EXPECT_EQ(NormalisedLineForCustomSort(u"ch", *prepared), u"AA");
  EXPECT_EQ(NormalisedLineForCustomSort(u"chch c", *prepared), u"AAAA @");
  EXPECT_EQ(NormalisedLineForCustomSort(u"", *prepared), u"");
  EXPECT_EQ(NormalisedLineForCustomSort(u"xyz", *prepared), u"xyz");
}

TEST(CustomSort, AGroupSortsAsOneLetterAfterItsFirstLetter) {
  const auto prepared = CustomSortPreparedStringlist(u"c,ch,d");
  TStringList lines;
  for (const auto* line : {u"d", u"ch", u"cz", u"c", u"ca"}) lines.Add(line);
  const auto sorted = CustomLinesSorted(lines, *prepared);
  EXPECT_EQ(Lines(*sorted), (std::vector<UnicodeString>{u"c", u"ca", u"cz", u"ch", u"d"}));
  // Each line keeps its index in the input.
  EXPECT_EQ(sorted->GetObject(0).AsInt(), 3);
  EXPECT_EQ(sorted->GetObject(4).AsInt(), 0);
  EXPECT_EQ(Lines(lines), (std::vector<UnicodeString>{u"d", u"ch", u"cz", u"c", u"ca"}));
}

TEST(TrimLines, EmptyLinesRemovedOrRunsShrunkToOne) {
  bool running = false;
  {
    TStringList lines;
    for (const auto* line : {u"  a", u"b", u"", u"", u"   ", u"c  ", u""}) lines.Add(line);
    TrimAStringlist(lines, nullptr, running);
    EXPECT_TRUE(running);
    EXPECT_EQ(Lines(lines), (std::vector<UnicodeString>{u"a ", u"b", u"c "}));
  }
  {
    TStringList lines;
    for (const auto* line : {u"", u"", u"", u"x", u"", u""}) lines.Add(line);
    TrimAStringlist(lines, true, nullptr, running);
    EXPECT_EQ(Lines(lines), (std::vector<UnicodeString>{u"", u"x", u""}));
  }
}

TEST(TrimLines, ReportsProgressAndStopsWhenAsked) {
  TStringList lines;
  for (const auto* line : {u" a", u"b", u"", u" c", u" d"}) lines.Add(line);
  std::vector<int> percents;
  bool running = false;
  TrimAStringlist(lines, false, [&](std::int32_t percent) { percents.push_back(percent); }, running);
  // The third line is deleted, so the fourth is then line 2 of 4.
  EXPECT_EQ(percents, (std::vector<int>{0, 40, 50, 75}));

  TStringList more;
  for (const auto* line : {u" a", u" b", u" c"}) more.Add(line);
  int yields = 0;
  AYieldProcessProc = [&] {
    if (++yields == 2) running = false;
  };
  TrimAStringlist(more, false, nullptr, running);
  AYieldProcessProc = nullptr;
  EXPECT_EQ(Lines(more), (std::vector<UnicodeString>{u"a ", u"b ", u" c"}));
}

}  // namespace
}  // namespace quill
