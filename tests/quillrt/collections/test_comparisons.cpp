#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "quillrt/collections/comparisons.h"
#include "quillrt/collections/integer_lists.h"
#include "quillrt/collections/list_entries.h"

namespace quill {
namespace {

TEST(Comparisons, SignednessAndDirection) {
  EXPECT_EQ(CompareLongints(-1, 1), -1);
  EXPECT_EQ(CompareCardinals(0xFFFFFFFFu, 1u), 1);
  EXPECT_EQ(CompareInt64s(std::numeric_limits<std::int64_t>::min(), 0), -1);
  EXPECT_EQ(Compare16BitWords(0xFFFF, 1), 1);
  EXPECT_EQ(CompareChars(u'\xE9', u'z'), 1);
  EXPECT_EQ(CompareBytes(0x80, 0x7F), 1);
  EXPECT_EQ(CompareBytes(5, 5), 0);

  // Dates order later first.
  EXPECT_EQ(CompareDates(45000.5, 45000.25), -1);
  EXPECT_EQ(CompareDates(1.0, 2.0), 1);
  EXPECT_EQ(CompareJulianDates(3.0, 3.0), 0);

  EXPECT_EQ(Compare2Strings(u"B", u"a"), -1);  // code units, no case folding
  EXPECT_EQ(Compare2Strings(u"ab", u"a"), 1);
  EXPECT_EQ(Compare2Strings(u"", u""), 0);

  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(CompareSingles(nan, 1e30f), 1);
  EXPECT_EQ(CompareSingles(-1e30f, nan), -1);
  EXPECT_EQ(CompareSingles(nan, nan), 0);
  EXPECT_EQ(CompareSingles(-0.0f, 0.0f), 0);
}

TEST(Comparisons, RecordFields) {
  const Tdouble_cardinal_rec d1{1, 0xFFFFFFFF}, d2{2, 0};
  EXPECT_EQ(Compare2CardinalsCard1(d1, d2), -1);
  EXPECT_EQ(Compare2CardinalsCard2(d1, d2), 1);

  const TIntegerAnd3CardinalsRec a{-1, {1, 2, 3}}, b{1, {1, 3, 2}};
  EXPECT_EQ(CompareIntAnd3CardinalsFreq(a, b), 1);  // -1 read as unsigned
  EXPECT_EQ(CompareIntAnd3CardinalsCard1(a, b), 0);
  EXPECT_EQ(CompareIntAnd3CardinalsCard2(a, b), -1);
  EXPECT_EQ(CompareIntAnd3CardinalsCard3(a, b), 1);

  const TIntegerAnd2CardinalsRec c{-1, {5, 6}}, e{1, {6, 5}};
  EXPECT_EQ(CompareIntAnd2CardinalsFreq(c, e), -1);  // signed here
  EXPECT_EQ(CompareIntAnd2CardinalsCard1(c, e), -1);
  EXPECT_EQ(CompareIntAnd2CardinalsCard2(c, e), 1);
}

TEST(Comparisons, EntryComparatorsCheckTheHolderClass) {
  const TLongIntHolder minus(-5), plus(5);
  EXPECT_EQ(SortLongints(&minus, &plus), -1);
  const TCardinalHolder big(0xFFFFFFFFu), small(1);
  EXPECT_EQ(SortCardinals(&big, &small), 1);
  EXPECT_THROW(SortLongints(&minus, &big), EInvalidCast);
  EXPECT_THROW(SortInt64s(&minus, nullptr), EInvalidCast);

  TQYLongintList list;
  for (int v : {3, 1, 2}) list.AddOne(v);
  list.Sort(SortLongints);
  EXPECT_EQ(list.GetAValue(0), 1);
  EXPECT_TRUE(list.sorted);
  EXPECT_THROW(list.Sort(SortCardinals), EInvalidCast);
  EXPECT_EQ(list.GetAValue(2), 3);  // the failed sort left everything in place
}

TEST(Comparisons, Exchanges) {
  TSmall_and_long_rec s1{1, 100}, s2{2, 200};
  ExchangeTwoSmallAndLongRecs(s1, s2);
  EXPECT_EQ(s1, (TSmall_and_long_rec{2, 200}));
  EXPECT_EQ(s2, (TSmall_and_long_rec{1, 100}));
  int x = 0;
  TPointerAnd2CardinalsRec p1{&x, 1, 2}, p2{nullptr, 3, 4};
  ExchangeTwoPointerAnd2CardinalsRecs(p1, p2);
  EXPECT_EQ(p2.p, &x);
  EXPECT_EQ(p1.Item2, 4u);
}

TEST(ByteDivisions, BoundariesAndLookup) {
  const auto quarters = ComputedByteDivisions(1000, 4);
  EXPECT_EQ(quarters, (std::vector<std::int64_t>{250, 500, 750, 1000}));
  EXPECT_EQ(CorrectDivision(0, quarters), 0);
  EXPECT_EQ(CorrectDivision(249, quarters), 0);
  EXPECT_EQ(CorrectDivision(250, quarters), 1);
  EXPECT_EQ(CorrectDivision(999, quarters), 3);
  EXPECT_EQ(CorrectDivision(1000, quarters), -1);
  EXPECT_EQ(CorrectDivision(5, {}), -1);

  // Halves round to even, as the step is applied in single precision.
  EXPECT_EQ(ComputedByteDivisions(5, 2), (std::vector<std::int64_t>{2, 5}));
  EXPECT_EQ(ComputedByteDivisions(7, 2), (std::vector<std::int64_t>{4, 7}));
  // Beyond 2^24 the single-precision step makes the last boundary approximate.
  const auto big = ComputedByteDivisions((1LL << 24) + 1, 1);
  EXPECT_EQ(big, (std::vector<std::int64_t>{1LL << 24}));
  EXPECT_TRUE(ComputedByteDivisions(100, 0).empty());
  EXPECT_TRUE(ComputedByteDivisions(100, -3).empty());
  // Extreme totals saturate rather than overflow.
  EXPECT_EQ(ComputedByteDivisions(std::numeric_limits<std::int64_t>::max(), 1)[0],
            std::numeric_limits<std::int64_t>::max());
}

}  // namespace
}  // namespace quill
