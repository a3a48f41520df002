#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "quillrt/collections/string_comparisons.h"
#include "quillrt/collections/string_lists_with_values.h"
#include "quillrt/platform/compare_string.h"

namespace quill {
namespace {

std::vector<UnicodeString> Lines(const TStrings& list) { return list.ToStringArray(); }

TEST(StringListWithALongint, SetTextStrSplitsWordAndNumberAtTheFirstTab) {
  TStringListWithALongint list;
  list.AddOne(u"old", 1);
  list.SetTextStr(u"cat\t12\r\ndog\r\n\t5");
  ASSERT_EQ(Lines(list), (std::vector<UnicodeString>{u"cat", u"dog", u"\t5"}));
  EXPECT_EQ(list.GetOne(0), 12);
  EXPECT_EQ(list.GetOne(1), -1);
  EXPECT_EQ(list.GetOne(2), -1);

  // CR, LF and CR LF each end a line once; a final break adds no empty line;
  // only a whole int32 after the tab counts.
  list.SetTextStr(u"a\t-7\rb\t12x\nc\t\r\nd\t2147483648\re\t+3\r\n");
  ASSERT_EQ(Lines(list), (std::vector<UnicodeString>{u"a", u"b\t12x", u"c\t", u"d\t2147483648", u"e"}));
  EXPECT_EQ(list.GetOne(0), -7);
  EXPECT_EQ(list.GetOne(1), -1);
  EXPECT_EQ(list.GetOne(4), 3);

  // Another line break splits only at itself.
  list.SetLineBreak(u"|");
  list.SetTextStr(u"x\t1|y\r\nz\t2");
  ASSERT_EQ(Lines(list), (std::vector<UnicodeString>{u"x", u"y\r\nz"}));
  EXPECT_EQ(list.GetOne(1), 2);
}

TEST(StringListWithALongint, ValuesFrequenciesAndBadIndexes) {
  TStringListWithALongint list;
  EXPECT_EQ(list.HighestFrequency(), 0);
  list.AddOne(u"neg", -4);
  EXPECT_EQ(list.HighestFrequency(), 0);
  for (auto [s, v] : std::vector<std::pair<UnicodeString, int>>{{u"c", 3}, {u"a", 9}, {u"d", 1}, {u"b", 9}})
    list.AddOne(s, v);
  EXPECT_EQ(list.HighestFrequency(), 9);
  EXPECT_EQ(list.GetOne(99), 0);
  EXPECT_EQ(list.GetOne(-1), 0);
  list.SetOne(99, 5);
  list.Delete(99);
  EXPECT_EQ(list.Count(), 5);

  list.SortOnFreq();
  std::vector<int> values;
  for (int i = 0; i < list.Count(); ++i) values.push_back(list.GetOne(i));
  EXPECT_EQ(values, (std::vector<int>{9, 9, 3, 1, -4}));
  EXPECT_EQ(list[2], u"c");

  list.SetOne(0, 100);
  EXPECT_EQ(list.HighestFrequency(), 100);
  list.ReverseTheSort();
  EXPECT_EQ(list[0], u"neg");
  EXPECT_EQ(list.GetOne(0), -4);
  EXPECT_EQ(list.GetOne(4), 100);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 4);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringListWithASingle, SortsDescendingAndGivesZeroForBadIndexes) {
  TStringListWithASingle list;
  list.AddOne(u"low", 0.5f);
  list.AddOne(u"high", 2.25f);
  list.AddOne(u"mid", 1.0f);
  list.SortOnFreq();
  EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"high", u"mid", u"low"}));
  EXPECT_EQ(list.GetOne(0), 2.25f);
  EXPECT_EQ(list.GetOne(3), 0.0f);
  list.SetOne(2, 9.0f);
  EXPECT_EQ(list.GetOne(2), 9.0f);
}

TEST(StringListWithIntAndSingle, EverySortOrderWithItsTieBreak) {
  TStringListWithIntAndSingle list;
  // Name, int, single: pairs tie on int (p, q), on single (r, s) and on string (t).
  list.AddOne(u"p", {2, 1.0f});
  list.AddOne(u"q", {2, 3.0f});
  list.AddOne(u"r", {1, 5.0f});
  list.AddOne(u"s", {3, 5.0f});
  list.AddOne(u"t", {0, 9.0f});
  list.AddOne(u"t", {0, 8.0f});

  const auto order = [&] {
    std::vector<UnicodeString> names;
    for (int i = 0; i < list.Count(); ++i) {
      TIntegerAndSingleRec rec;
      list.GetOne(i, rec);
      names.push_back(list[i] + (rec.s == 9.0f ? u"9" : rec.s == 8.0f ? u"8" : u""));
    }
    return names;
  };
  using V = std::vector<UnicodeString>;
  list.SortOnInt(true);
  EXPECT_EQ(order(), (V{u"t9", u"t8", u"r", u"q", u"p", u"s"}));
  list.SortOnInt(false);
  EXPECT_EQ(order(), (V{u"s", u"p", u"q", u"r", u"t8", u"t9"}));
  list.SortOnSingle(true);
  EXPECT_EQ(order(), (V{u"p", u"q", u"s", u"r", u"t8", u"t9"}));
  list.SortOnSingle(false);
  EXPECT_EQ(order(), (V{u"t9", u"t8", u"r", u"s", u"q", u"p"}));
  list.SortOnStrings(true);
  EXPECT_EQ(order(), (V{u"p", u"q", u"r", u"s", u"t8", u"t9"}));
  list.SortOnStrings(false);
  EXPECT_EQ(order(), (V{u"t9", u"t8", u"s", u"r", u"q", u"p"}));

  TIntegerAndSingleRec rec{5, 5.0f};
  list.GetOne(6, rec);
  EXPECT_EQ(rec, (TIntegerAndSingleRec{0, 0.0f}));
  list.SetOne(0, {7, 7.0f});
  list.GetOne(0, rec);
  EXPECT_EQ(rec, (TIntegerAndSingleRec{7, 7.0f}));
}

TEST(StringListWith2LongintList, SortOnFreqAndCounts) {
  TStringListWith2LongintList list;
  list.AddOne(u"a", {3, 9});
  list.AddOne(u"b", {5, 1});
  list.AddOne(u"c", {3, 2});
  list.SortOnFreq();
  EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"b", u"c", u"a"}));

  list.IncOne(1, t2_long0);         // c: (4, 2)
  list.AddToOneFreq(2, 5, t2_long1);  // a: (3, 14)
  list.AddToOneFreq(9, 5, t2_long1);
  T2_longint_rec rec;
  list.GetOne(1, rec);
  EXPECT_EQ(rec, (T2_longint_rec{4, 2}));
  list.GetOne(2, rec);
  EXPECT_EQ(rec, (T2_longint_rec{3, 14}));
  list.GetOne(3, rec);
  EXPECT_EQ(rec, (T2_longint_rec{0, 0}));  // zeros, unlike the tuple list's (-1, -1)
  EXPECT_EQ(list.Repeateds(t2_long0), 3);
  EXPECT_EQ(list.Repeateds(t2_long1), 2);

  list.SetOne(0, {1, 1});
  EXPECT_EQ(list.Repeateds(t2_long0), 2);
  list.Delete(7);
  list.Delete(0);
  EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"c", u"a"}));
}

TEST(StringListWith2LongintList, AddOrIncOneKeepsOneListOfPairsPerString) {
  TStringListWith2LongintList list;
  EXPECT_EQ(list.AddOrIncOne(u"Cat", {1, 10}), 0);
  EXPECT_EQ(list.AddOrIncOne(u"dog", {2, 20}), 1);
  EXPECT_EQ(list.AddOrIncOne(u"cat", {3, 30}), 0);  // the list's IndexOf ignores case
  ASSERT_EQ(list.Count(), 2);
  T2LongintList* pairs = list.GetPairList(0);
  ASSERT_NE(pairs, nullptr);
  ASSERT_EQ(pairs->Count(), 2);
  T2_longint_rec rec;
  pairs->GetADouble(1, rec);
  EXPECT_EQ(rec, (T2_longint_rec{3, 30}));
  EXPECT_EQ(list.GetPairList(5), nullptr);

  // A line holding a pair is not turned into a list.
  list.AddOne(u"pair", {1, 1});
  EXPECT_EQ(list.AddOrIncOne(u"pair", {2, 2}), -1);
  EXPECT_EQ(list.GetPairList(2), nullptr);
}

TEST(StringListWithFreqPointers, FrequencyDescendingThenCodeUnits) {
  TStringListWithFreqPointers list;
  for (auto [s, f] : std::vector<std::pair<UnicodeString, int>>{{u"b", 5}, {u"a", 5}, {u"c", 7}, {u"B", 5}, {u"z", -2}})
    list.AddObject(s, TObjectRef::FromInt(f));
  list.SortOnFreq();
  EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"c", u"B", u"a", u"b", u"z"}));
  EXPECT_EQ(list.GetObject(0).AsInt(), 7);
  EXPECT_TRUE(list.IndexAssignedOK(4));
  EXPECT_FALSE(list.IndexAssignedOK(5));
  EXPECT_FALSE(list.IndexAssignedOK(-1));
}

struct DefaultSortReset {
  ~DefaultSortReset() { my_default_sort = 0; }
};

TEST(StringComparisons, OrdinalAndLocaleAwareForms) {
  EXPECT_EQ(CrudeStringComparison(u"B", u"a"), -1);
  EXPECT_EQ(CrudeStringComparison(u"a", u"a"), 0);
  EXPECT_EQ(CrudeStringComparison(u"\uFFFF", u"a"), 1);  // code units compare unsigned
  EXPECT_EQ(CrudeStringComparison(u"ab", u"a"), 1);

  EXPECT_EQ(ComparePWidechar(0x0409, u"b", u"C"), -1);
  EXPECT_EQ(ComparePWidechar(0x0409, u"x", u"x"), 0);
  EXPECT_EQ(ComparePWidechar(0x7FFF0, u"a", u"b"), -2);
  EXPECT_EQ(ComparePWidechar(0x0409, nullptr, u"b"), -2);
  EXPECT_EQ(ComparePAnsichar(0x0409, "b", "a"), 1);
  EXPECT_EQ(ComparePAnsichar(0x7FFF0, "a", "b"), -2);

  DefaultSortReset reset;
  EXPECT_NE(ComparePWidechar(0x0409, u"a", u"A"), 0);
  my_default_sort = NORM_IGNORECASE;
  EXPECT_EQ(ComparePWidechar(0x0409, u"a", u"A"), 0);
  EXPECT_EQ(ComparePAnsichar(0x0409, "a", "A"), 0);
  EXPECT_EQ(LCIDStringComparison(u"a", u"A", 0x0409), 0);

  // The string form sees past a NUL inside a string.
  const UnicodeString with_nul(u"a\0b", 3), other(u"a\0c", 3);
  EXPECT_EQ(LCIDStringComparison(with_nul, other, 0x0409), -1);
}

}  // namespace
}  // namespace quill
