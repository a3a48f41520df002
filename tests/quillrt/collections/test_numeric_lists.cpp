#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "collections_test_support.h"
#include "quillrt/collections/integer_lists.h"
#include "quillrt/collections/record_lists.h"
#include "quillrt/collections/tuple_lists.h"

namespace quill {
namespace {

using testing::Bytes;
using testing::BytesOf;
using testing::Concat;
using testing::Fill;
using testing::Int32LE;

template <class List>
auto ValuesOf(const List& list) {
  std::vector<decltype(list.GetAValue(0))> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.GetAValue(i));
  return out;
}

std::vector<T4_longint_rec> QuadsOf(const T4LongintList& list) {
  std::vector<T4_longint_rec> out(static_cast<std::size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) list.GetAQuad(i, out[static_cast<std::size_t>(i)]);
  return out;
}

std::vector<T3_longint_rec> TriplesOf(const T3LongintList& list) {
  std::vector<T3_longint_rec> out(static_cast<std::size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) list.GetATriple(i, out[static_cast<std::size_t>(i)]);
  return out;
}

// Saves `list`, reads it into a fresh list of the same class and returns it.
template <class List>
std::unique_ptr<List> Reloaded(List& list) {
  TMemoryStream stream;
  EXPECT_TRUE(list.SaveToStream(stream));
  stream.SetPosition(0);
  auto copy = std::make_unique<List>();
  EXPECT_TRUE(copy->ReadFromStream(stream));
  EXPECT_EQ(stream.GetPosition(), stream.GetSize());
  return copy;
}

// ---- ordered lists -----------------------------------------------------------

TEST(QYLongintList, AppendThenOrderedInsertion) {
  TQYLongintList list;
  for (int v : {5, 3, 9}) list.AddOne(v);
  EXPECT_EQ(ValuesOf(list), (std::vector<std::int32_t>{5, 3, 9}));
  list.SortAscendingDefault();
  EXPECT_TRUE(list.sorted);
  EXPECT_EQ(list.AddOne(4), 1);
  EXPECT_EQ(ValuesOf(list), (std::vector<std::int32_t>{3, 4, 5, 9}));
  // The new 5 goes before the old one: at the old one's index.
  const auto* old_five = list.Items(2);
  EXPECT_EQ(list.AddOne(5), 2);
  EXPECT_EQ(list.Items(3), old_five);
  EXPECT_EQ(list.AddOne(-1), 0);
  EXPECT_EQ(list.AddOne(100), 6);
  EXPECT_EQ(ValuesOf(list), (std::vector<std::int32_t>{-1, 3, 4, 5, 5, 9, 100}));
  EXPECT_TRUE(list.sorted);
}

TEST(QYLongintList, BinarySearchAndNearest) {
  TQYLongintList list;
  list.sorted = true;
  EXPECT_EQ(list.Find(7), -1);
  EXPECT_EQ(list.nearest, -1);
  EXPECT_EQ(list.AddOne(7), 0);  // empty and sorted: appended

  EXPECT_EQ(list.Find(7), 0);
  EXPECT_EQ(list.Find(8), -1);
  EXPECT_EQ(list.nearest, 0);

  for (int v : {1, 3, 5, 9, 11, 13}) list.AddOne(v);  // 1 3 5 7 9 11 13
  EXPECT_EQ(list.Find(13), 6);
  EXPECT_EQ(list.Find(-1), -1);
  EXPECT_EQ(list.nearest, 0);
  EXPECT_EQ(list.Find(14), -1);
  EXPECT_EQ(list.nearest, 6);
  EXPECT_EQ(list.Find(6), -1);
  EXPECT_TRUE(list.nearest == 2 || list.nearest == 3);  // a neighbour of the gap

  // Signed order: -1 before 1.
  TQYLongintList signs;
  for (int v : {1, -1}) signs.AddOne(v);
  signs.SortAscendingDefault();
  EXPECT_EQ(ValuesOf(signs), (std::vector<std::int32_t>{-1, 1}));
}

TEST(QYLongintList, GettersFreeingAndSearchOverFreedSlots) {
  TQYLongintList list;
  for (int v : {10, 20, 30, 40, 50}) list.AddOne(v);
  list.SortAscendingDefault();
  EXPECT_EQ(list.GetAValue(-1), -1);  // both bounds are checked
  EXPECT_EQ(list.GetAValue(5), -1);

  list.FindAndFree(30);  // removes the entry and its slot
  EXPECT_EQ(ValuesOf(list), (std::vector<std::int32_t>{10, 20, 40, 50}));
  list.FindAndFree(31);
  EXPECT_EQ(list.Count(), 4);

  // Binary search steps over slots emptied by FreeOne.
  list.FreeOne(1);
  list.FreeOne(2);
  EXPECT_EQ(list.GetAValue(1), -1);
  EXPECT_EQ(list.Find(50), 3);
  EXPECT_EQ(list.Find(10), 0);
  EXPECT_EQ(list.Find(40), -1);
  const int at = list.AddOne(45);
  EXPECT_EQ(list.GetAValue(at), 45);
  list.Pack();
  EXPECT_EQ(ValuesOf(list), (std::vector<std::int32_t>{10, 45, 50}));
  EXPECT_TRUE(list.sorted);
}

TEST(QYLongintList, OutOfOrderPlacementClearsSorted) {
  TQYLongintList list;
  for (int v : {1, 5}) list.AddOne(v);
  list.SortAscendingDefault();
  list.InsertOne(1, 3);  // in order
  EXPECT_TRUE(list.sorted);
  list.InsertOne(0, 9);  // out of order
  EXPECT_FALSE(list.sorted);
  EXPECT_EQ(list.IndexOf(5), 3);  // linear now
  EXPECT_THROW(list.InsertOne(9, 1), EListError);
}

TEST(CardinalList, UnsignedOrderAndAppending) {
  TCardinalList list;
  for (std::uint32_t v : {4000000000u, 1u}) list.AddOne(v);
  list.SortAscendingDefault();
  EXPECT_EQ(ValuesOf(list), (std::vector<std::uint32_t>{1u, 4000000000u}));
  EXPECT_EQ(list.Find(4000000000u), 1);
  EXPECT_EQ(list.GetAValue(2), 0u);

  list.nearest = 42;
  EXPECT_EQ(list.Find(7), -1);
  EXPECT_EQ(list.nearest, 42);  // this search does not track nearest

  // Appending keeps sorted while in order; an out-of-order value clears it so
  // IndexOf does not binary-search an order that no longer holds.
  list.AddOne(4000000001u);
  EXPECT_TRUE(list.sorted);
  list.AddOne(2);
  EXPECT_FALSE(list.sorted);
  EXPECT_EQ(list.IndexOf(2), 3);
}

TEST(QYInt64List, OrderedInsertionAndSearch) {
  TQYInt64List list;
  list.SortAscendingDefault();
  for (std::int64_t v : {std::int64_t{5000000000}, std::int64_t{-5000000000}, std::int64_t{0}}) list.AddOne(v);
  EXPECT_EQ(ValuesOf(list), (std::vector<std::int64_t>{-5000000000LL, 0, 5000000000LL}));
  EXPECT_EQ(list.FindInSorted(0), 1);
  EXPECT_EQ(list.FindInSorted(1), -1);
  EXPECT_EQ(list.GetAValue(3), -1);
  EXPECT_EQ(list.IndexOf(5000000000LL), 2);
  list.AddOne(0);
  list.RemoveDuplicates();
  EXPECT_EQ(list.Count(), 3);
}

TEST(IntegerAndSingleList, SearchOnTheSingle) {
  TIntegerAndSingleList list;
  for (float s : {2.5f, -1.0f, 7.0f}) list.AddOne({static_cast<std::int32_t>(s * 2), s});
  list.SortAscendingDefault();
  EXPECT_EQ(list.Find(2.5f), 1);
  EXPECT_EQ(list.Find(3.0f), -1);
  TIntegerAndSingleRec rec{9, 9.0f};
  list.GetOne(2, rec);
  EXPECT_EQ(rec, (TIntegerAndSingleRec{14, 7.0f}));
  list.GetOne(3, rec);
  EXPECT_EQ(rec, TIntegerAndSingleRec{});
  // NaN has a place of its own at the end instead of confusing the order.
  list.AddOne({0, std::numeric_limits<float>::quiet_NaN()});
  EXPECT_TRUE(list.sorted);
  list.AddOne({0, 0.0f});
  EXPECT_FALSE(list.sorted);
  list.SortAscendingDefault();
  EXPECT_EQ(list.Find(7.0f), 3);
}

TEST(CardinalAndFreqList, AddOneOrIncFreq) {
  TCardinalAndFreqList unsorted;
  unsorted.AddOneOrIncFreq({7, 10});
  unsorted.AddOneOrIncFreq({7, 10});
  ASSERT_EQ(unsorted.Count(), 1);
  TCardinalAndFreq rec;
  unsorted.GetACardAndFreq(0, rec);
  EXPECT_EQ(rec, (TCardinalAndFreq{7, 11}));  // raised by one, not by 10

  TCardinalAndFreqList list;
  list.SortOnCardinals();
  for (std::uint32_t c : {30u, 10u, 20u, 10u, 30u, 30u}) list.AddOneOrIncFreq({c, 1});
  std::vector<TCardinalAndFreq> all(3);
  for (int i = 0; i < 3; ++i) list.GetACardAndFreq(i, all[static_cast<std::size_t>(i)]);
  EXPECT_EQ(all, (std::vector<TCardinalAndFreq>{{10, 2}, {20, 1}, {30, 3}}));
  EXPECT_EQ(list.Find(25), -1);
  EXPECT_TRUE(list.nearest == 1 || list.nearest == 2);

  // Sorting on frequencies gives up the order of c: adding still merges.
  list.SortOnFrequencies(true);
  list.GetACardAndFreq(0, rec);
  EXPECT_EQ(rec, (TCardinalAndFreq{30, 3}));
  EXPECT_FALSE(list.sorted);
  list.AddOneOrIncFreq({10, 1});
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOf(10), 1);
  list.GetACardAndFreq(1, rec);
  EXPECT_EQ(rec, (TCardinalAndFreq{10, 3}));

  list.GetACardAndFreq(9, rec);
  EXPECT_EQ(rec, TCardinalAndFreq{});
  list.SetACardAndFreq(9, {1, 1});  // nothing
  EXPECT_EQ(list.Count(), 3);

  // The frequency counter wraps instead of overflowing.
  TCardinalAndFreqList top;
  top.AddOne({1, std::numeric_limits<std::int32_t>::max()});
  top.AddOneOrIncFreq({1, 0});
  top.GetACardAndFreq(0, rec);
  EXPECT_EQ(rec.f, std::numeric_limits<std::int32_t>::min());
}

// ---- tuple lists ---------------------------------------------------------------

TEST(TupleLists, FourTupleSortsAndDegenerateKeys) {
  auto fill = [](T4LongintList& list) {
    list.Clear();
    for (const T4_longint_rec& r : std::vector<T4_longint_rec>{{3, 1, 5, 0}, {1, 2, 5, 0}, {2, 1, 4, 0}, {0, 2, 4, 1}})
      list.AddOne(r);
  };
  T4LongintList list;
  fill(list);
  list.TripleSort(t4_long1, t4_long1, t4_long0);  // long1 then long0
  EXPECT_EQ(QuadsOf(list), (std::vector<T4_longint_rec>{{2, 1, 4, 0}, {3, 1, 5, 0}, {0, 2, 4, 1}, {1, 2, 5, 0}}));
  EXPECT_TRUE(list.sorted);

  fill(list);
  list.TripleSort(t4_long2, t4_long2, t4_long0);  // long2 alone: ties keep their order
  EXPECT_EQ(QuadsOf(list), (std::vector<T4_longint_rec>{{2, 1, 4, 0}, {0, 2, 4, 1}, {3, 1, 5, 0}, {1, 2, 5, 0}}));

  fill(list);
  list.TripleSort(t4_long2, t4_long1, t4_long0);  // three keys
  EXPECT_EQ(QuadsOf(list), (std::vector<T4_longint_rec>{{2, 1, 4, 0}, {0, 2, 4, 1}, {3, 1, 5, 0}, {1, 2, 5, 0}}));

  fill(list);
  list.TripleSort(t4_long3, t4_long1, t4_long3);  // third repeats: long3 then long1
  EXPECT_EQ(QuadsOf(list), (std::vector<T4_longint_rec>{{3, 1, 5, 0}, {2, 1, 4, 0}, {1, 2, 5, 0}, {0, 2, 4, 1}}));

  fill(list);
  list.DoubleSort(t4_long2, t4_long0);
  EXPECT_EQ(QuadsOf(list), (std::vector<T4_longint_rec>{{0, 2, 4, 1}, {2, 1, 4, 0}, {1, 2, 5, 0}, {3, 1, 5, 0}}));

  // Keys outside the enumeration: nothing happens.
  fill(list);
  list.TripleSort(static_cast<T4LongintSort>(7), t4_long0, t4_long1);
  list.SortDefault(static_cast<T4LongintSort>(4));
  EXPECT_EQ(QuadsOf(list)[0], (T4_longint_rec{3, 1, 5, 0}));
  EXPECT_FALSE(list.sorted);
}

TEST(TupleLists, ThreeTupleTripleSortWithEqualFirstKeysDoesNothing) {
  T3LongintList list;
  for (const T3_longint_rec& r : std::vector<T3_longint_rec>{{2, 1, 0}, {1, 2, 0}, {1, 1, 1}}) list.AddOne(r);
  list.TripleSort(t3_long0, t3_long0, t3_long1);
  EXPECT_EQ(TriplesOf(list), (std::vector<T3_longint_rec>{{2, 1, 0}, {1, 2, 0}, {1, 1, 1}}));
  EXPECT_FALSE(list.sorted);
  list.TripleSort(t3_long0, t3_long1, t3_long2);
  EXPECT_EQ(TriplesOf(list), (std::vector<T3_longint_rec>{{1, 1, 1}, {1, 2, 0}, {2, 1, 0}}));
  list.TripleSort(t3_long2, t3_long1, t3_long2);  // = DoubleSort(long2, long1)
  EXPECT_EQ(TriplesOf(list), (std::vector<T3_longint_rec>{{2, 1, 0}, {1, 2, 0}, {1, 1, 1}}));
}

TEST(TupleLists, FieldOperationsAndInvalidIndexes) {
  T2LongintList pairs;
  pairs.AddOne({1, std::numeric_limits<std::int32_t>::max()});
  pairs.AddOne({2, 1});
  T2_longint_rec out{7, 7};
  pairs.GetADouble(99, out);
  EXPECT_EQ(out, (T2_longint_rec{-1, -1}));
  pairs.GetADouble(-1, out);
  EXPECT_EQ(out, (T2_longint_rec{-1, -1}));
  EXPECT_EQ(pairs.TotalOf(t2_long0), 3);
  EXPECT_EQ(pairs.TotalOf(t2_long1), std::numeric_limits<std::int32_t>::min());  // wraps

  pairs.AddToOneFreq(1, 10, t2_long0);
  pairs.IncOne(1, t2_long0);
  pairs.IncOne(5, t2_long0);  // nothing
  EXPECT_EQ(pairs.LongIndexOf(13, t2_long0), 1);
  EXPECT_EQ(pairs.LongIndexOf(13, t2_long1), -1);
  pairs.SetADouble(0, {20, 0});
  pairs.SortDefault(t2_long0);
  pairs.GetADouble(0, out);
  EXPECT_EQ(out, (T2_longint_rec{13, 1}));
  pairs.DoubleSort(t2_long1, t2_long1);  // one key
  pairs.GetADouble(0, out);
  EXPECT_EQ(out, (T2_longint_rec{20, 0}));

  T3LongintList triples;
  T3_longint_rec t{};
  triples.GetATriple(0, t);
  EXPECT_EQ(t, (T3_longint_rec{-1, -1, -1}));
  T4LongintList quads;
  T4_longint_rec q{};
  quads.GetAQuad(0, q);
  EXPECT_EQ(q, (T4_longint_rec{-1, -1, -1, -1}));
}

// ---- record lists --------------------------------------------------------------

TEST(WordFreqAndSourceNumList, CursorFrequenciesAndClear) {
  TWordFreqAndSourceNumList list;
  EXPECT_EQ(list.HighestFrequency(), 0);
  list.AddOne({u"a", -4, 1});
  EXPECT_EQ(list.HighestFrequency(), 0);
  list.AddOne({u"b", 9, 2});
  list.AddOne({u"c", 3, 1});
  EXPECT_EQ(list.HighestFrequency(), 9);

  EXPECT_EQ(list.GetNext().w, u"a");
  EXPECT_EQ(list.GetNext().w, u"b");
  EXPECT_EQ(list.GetNext().w, u"c");
  EXPECT_EQ(list.GetNext(), TWordFreqAndSourceNum{});  // past the end ...
  EXPECT_EQ(list.this_, 4);                            // ... and still advancing
  EXPECT_EQ(list.GetOne(-1), TWordFreqAndSourceNum{});

  list.SortOnFreqs();
  EXPECT_EQ(list.GetOne(0).w, u"b");
  EXPECT_EQ(list.GetOne(2).w, u"a");
  EXPECT_TRUE(list.sorted);
  list.Clear();
  EXPECT_EQ(list.this_, 0);
  EXPECT_FALSE(list.sorted);
}

TEST(RecordLists, GettersAndSetters) {
  TIntegerAnd3CardinalsList i3;
  i3.AddOne({5, {1, 2, 3}});
  i3.AddOne({-1, {4, 5, 6}});  // -1 is the largest frequency taken unsigned
  i3.AddOne({2, {7, 8, 9}});
  i3.SortAscendingDefault();
  TIntegerAnd3CardinalsRec rec{};
  i3.GetAValue(2, rec);
  EXPECT_EQ(rec.freq, -1);
  i3.SetAFreq(0, 11);
  i3.GetAValue(0, rec);
  EXPECT_EQ(rec, (TIntegerAnd3CardinalsRec{11, {7, 8, 9}}));
  i3.GetAValue(3, rec);  // untouched
  EXPECT_EQ(rec.freq, 11);

  TStringColumnAndColourList colours;
  colours.AddOne({1, 0xFF, u"x"});
  colours.SetAString(0, u"y");
  colours.SetAColumn(0, 4);
  colours.SetABackgroundColour(0, 0xAA);
  EXPECT_EQ(colours.GetAStringColumnAndColour(0), (TStringColumnAndColourRec{4, 0xAA, u"y"}));
  EXPECT_EQ(colours.GetAString(1), u"");
  EXPECT_EQ(colours.GetAColumn(1), -1);
  EXPECT_EQ(colours.GetABackgroundColour(-1), -1);
  EXPECT_EQ(colours.GetAStringColumnAndColour(1), TStringColumnAndColourRec{});
  colours.SetAStringColumnAndColour(1, {9, 9, u"z"});  // nothing
  EXPECT_EQ(colours.Count(), 1);

  T2StringsAnd2IntegersList strings;
  strings.AddOne({1, 2, u"p", u"q"});
  EXPECT_EQ(strings.GetTwoStringsAndInt(0).s2, u"q");
  EXPECT_EQ(strings.GetTwoStringsAndInt(1), T2StringsAnd2IntegersRec{});

  int a = 0, b = 0;
  TDoublePointerList pointers;
  pointers.AddOne({&a, &b});
  T2_Pointer p{&b, &b};
  pointers.GetADoublePointer(1, p);  // untouched
  EXPECT_EQ(p.p1, &b);
  pointers.GetADoublePointer(0, p);
  EXPECT_EQ(p.p1, &a);
  pointers.SetADoublePointer(0, {nullptr, &a});
  pointers.GetADoublePointer(0, p);
  EXPECT_EQ(p.p2, &a);
}

TEST(SmallintList, CountlessStream) {
  TSmallintList list;
  for (std::int16_t v : {1, -2, 300}) list.AddOne(v);
  TMemoryStream stream;
  ASSERT_TRUE(list.SaveToStream(stream));
  EXPECT_EQ(BytesOf(stream), (Bytes{1, 0, 0xFE, 0xFF, 0x2C, 0x01}));  // no count

  stream.SetPosition(0);
  TSmallintList back;
  EXPECT_TRUE(back.ReadFromStream(3, stream));
  EXPECT_EQ(ValuesOf(back), (std::vector<std::int16_t>{1, -2, 300}));

  // The count is taken as a signed 16-bit number.
  Fill(stream, Bytes(2 * 4464, 0));
  TSmallintList wrapped;
  EXPECT_TRUE(wrapped.ReadFromStream(70000, stream));
  EXPECT_EQ(wrapped.Count(), 4464);
  TSmallintList negative;
  EXPECT_TRUE(negative.ReadFromStream(40000, stream));
  EXPECT_EQ(negative.Count(), 0);

  // A stream that ends early: false, the whole values read stay.
  Fill(stream, {5, 0, 6});
  TSmallintList cut;
  EXPECT_FALSE(cut.ReadFromStream(2, stream));
  EXPECT_EQ(ValuesOf(cut), (std::vector<std::int16_t>{5}));

  testing::LimitedStream tiny(3);
  EXPECT_FALSE(list.SaveToStream(tiny));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.GetAValue(0), 0);
}

// ---- round trips of every list class --------------------------------------------

TEST(ListRoundTrips, NumberLists) {
  TQYLongintList longs;
  for (int v : {3, -8, 3, 0}) longs.AddOne(v);
  EXPECT_EQ(ValuesOf(*Reloaded(longs)), ValuesOf(longs));
  longs.SortAscendingDefault();
  auto sorted_longs = Reloaded(longs);
  EXPECT_TRUE(sorted_longs->sorted);
  EXPECT_EQ(ValuesOf(*sorted_longs), (std::vector<std::int32_t>{-8, 0, 3, 3}));

  TCardinalList cards;
  for (std::uint32_t v : {9u, 0xFFFFFFFFu}) cards.AddOne(v);
  EXPECT_EQ(ValuesOf(*Reloaded(cards)), ValuesOf(cards));

  TQYInt64List int64s;
  for (std::int64_t v : {std::numeric_limits<std::int64_t>::min(), std::int64_t{7}}) int64s.AddOne(v);
  EXPECT_EQ(ValuesOf(*Reloaded(int64s)), ValuesOf(int64s));

  TIntegerAndSingleList singles;
  singles.AddOne({1, 0.25f});
  singles.AddOne({-1, -3e38f});
  auto singles_back = Reloaded(singles);
  TIntegerAndSingleRec a, b;
  for (int i = 0; i < 2; ++i) {
    singles.GetOne(i, a);
    singles_back->GetOne(i, b);
    EXPECT_EQ(a, b);
  }

  TCardinalAndFreqList freqs;
  freqs.AddOne({5, 6});
  freqs.AddOne({1, 2});
  auto freqs_back = Reloaded(freqs);
  TCardinalAndFreq fa, fb;
  for (int i = 0; i < 2; ++i) {
    freqs.GetACardAndFreq(i, fa);
    freqs_back->GetACardAndFreq(i, fb);
    EXPECT_EQ(fa, fb);
  }
  EXPECT_EQ(freqs_back->Count(), 2);
}

TEST(ListRoundTrips, TupleAndRecordLists) {
  T2LongintList pairs;
  pairs.AddOne({1, 2});
  pairs.AddOne({-3, 4});
  auto pairs_back = Reloaded(pairs);
  T2_longint_rec pa, pb;
  for (int i = 0; i < 2; ++i) {
    pairs.GetADouble(i, pa);
    pairs_back->GetADouble(i, pb);
    EXPECT_EQ(pa, pb);
  }
  T3LongintList triples;
  triples.AddOne({1, 2, 3});
  triples.AddOne({4, 5, 6});
  triples.SortDefault(t3_long2);
  auto triples_back = Reloaded(triples);
  EXPECT_EQ(TriplesOf(*triples_back), TriplesOf(triples));
  EXPECT_TRUE(triples_back->sorted);
  T4LongintList quads;
  quads.AddOne({1, 2, 3, 4});
  quads.AddOne({-1, -2, -3, -4});
  EXPECT_EQ(QuadsOf(*Reloaded(quads)), QuadsOf(quads));

  TWordFreqAndSourceNumList words;
  words.AddOne({u"alpha", 3, 1});
  words.AddOne({u"", 0, 2});
  auto words_back = Reloaded(words);
  ASSERT_EQ(words_back->Count(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(words_back->GetOne(i), words.GetOne(i));

  TIntegerAnd3CardinalsList i3;
  i3.AddOne({1, {2, 3, 4}});
  i3.AddOne({5, {6, 7, 8}});
  auto i3_back = Reloaded(i3);
  TIntegerAnd3CardinalsRec ra{}, rb{};
  for (int i = 0; i < 2; ++i) {
    i3.GetAValue(i, ra);
    i3_back->GetAValue(i, rb);
    EXPECT_EQ(ra, rb);
  }

  TStringColumnAndColourList colours;
  colours.AddOne({1, 2, u"one"});
  colours.AddOne({3, 4, u"two"});
  auto colours_back = Reloaded(colours);
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(colours_back->GetAStringColumnAndColour(i), colours.GetAStringColumnAndColour(i));

  T2StringsAnd2IntegersList strings;
  strings.AddOne({1, 2, u"a", u"b"});
  strings.AddOne({3, 4, u"", u"d"});
  auto strings_back = Reloaded(strings);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(strings_back->GetTwoStringsAndInt(i), strings.GetTwoStringsAndInt(i));

  // Pointer pairs are addresses of this process: only their number is kept.
  int x = 0;
  TDoublePointerList pointers;
  pointers.AddOne({&x, &x});
  pointers.AddOne({&x, nullptr});
  TMemoryStream stream;
  ASSERT_TRUE(pointers.SaveToStream(stream));
  EXPECT_EQ(BytesOf(stream), Int32LE(2));
  stream.SetPosition(0);
  TDoublePointerList pointers_back;
  EXPECT_TRUE(pointers_back.ReadFromStream(stream));
  EXPECT_EQ(pointers_back.Count(), 2);
  T2_Pointer p{&x, &x};
  pointers_back.GetADoublePointer(1, p);
  EXPECT_EQ(p, T2_Pointer{});
}

}  // namespace
}  // namespace quill
