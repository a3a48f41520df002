#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "collections_test_support.h"
#include "quillrt/collections/integer_lists.h"
#include "quillrt/collections/record_lists.h"
#include "quillrt/collections/tuple_lists.h"
#include "quillrt/collections/useful_base_list.h"
#include "quillrt/process/yield.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::Bytes;
using testing::BytesOf;
using testing::Concat;
using testing::Fill;
using testing::Int32LE;

// A one-byte entry that can be told to fail its write.
class ByteEntry : public TUsefulBaseListObject {
 public:
  ByteEntry() = default;
  explicit ByteEntry(unsigned char v) : value(v) {}
  bool ReadFromStream(TStream& stream) override { return stream.Read(&value, 1) == 1; }
  bool SaveToStream(TStream& stream) const override { return !fail_save && stream.Write(&value, 1) == 1; }
  unsigned char value = 0;
  bool fail_save = false;
};

class OtherEntry : public TUsefulBaseListObject {};

class ByteList : public TUsefulBaseListSorts {
 public:
  ByteList() : TUsefulBaseListSorts(EntriesClassOf<ByteEntry>()) {}
  int AddOne(unsigned char v) { return Add(std::make_unique<ByteEntry>(v)); }
  unsigned char At(int i) const { return static_cast<const ByteEntry*>(Items(i))->value; }
  std::vector<int> Values() const {
    std::vector<int> out;
    for (int i = 0; i < Count(); ++i) out.push_back(IndexAssignedOK(i) ? At(i) : -1);
    return out;
  }
};

std::vector<std::int32_t> Values(const TQYLongintList& list) {
  std::vector<std::int32_t> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.GetAValue(i));
  return out;
}

TEST(UsefulBaseList, SortsFormatWithThreeEntriesAndAppendingRead) {
  ByteList list;
  list.AddOne(7);
  list.AddOne(8);
  list.AddOne(9);
  list.sorted = true;
  TMemoryStream stream;
  EXPECT_TRUE(list.SaveToStream(stream));
  EXPECT_EQ(BytesOf(stream), (Bytes{3, 0, 0, 0, 1, 7, 8, 9}));

  // Reading appends. The byte list has no order of its own, so the stored flag
  // holds when the list it joins was sorted too.
  ByteList target;
  target.AddOne(1);
  target.AddOne(2);
  target.sorted = true;
  stream.SetPosition(0);
  EXPECT_TRUE(target.ReadFromStream(stream));
  EXPECT_EQ(target.Values(), (std::vector<int>{1, 2, 7, 8, 9}));
  EXPECT_TRUE(target.sorted);
  EXPECT_EQ(target.AnInstance, target.Items(4));

  ByteList unsorted_target;
  unsorted_target.AddOne(1);
  stream.SetPosition(0);
  EXPECT_TRUE(unsorted_target.ReadFromStream(stream));
  EXPECT_FALSE(unsorted_target.sorted);
}

TEST(UsefulBaseList, SortedFlagIsCheckedAgainstTheOrderRead) {
  TQYLongintList sorted_list;
  for (int v : {1, 2, 5}) sorted_list.AddOne(v);
  sorted_list.SortAscendingDefault();
  TMemoryStream stream;
  ASSERT_TRUE(sorted_list.SaveToStream(stream));
  EXPECT_EQ(BytesOf(stream), Concat({Int32LE(3), {1}, Int32LE(1), Int32LE(2), Int32LE(5)}));

  // Joining in order keeps sorted; out of order clears it.
  TQYLongintList low;
  low.AddOne(0);
  low.SortAscendingDefault();
  stream.SetPosition(0);
  EXPECT_TRUE(low.ReadFromStream(stream));
  EXPECT_TRUE(low.sorted);
  TQYLongintList high;
  high.AddOne(4);
  high.SortAscendingDefault();
  stream.SetPosition(0);
  EXPECT_TRUE(high.ReadFromStream(stream));
  EXPECT_FALSE(high.sorted);
  EXPECT_EQ(high.IndexOf(1), 1);  // found by the linear scan, not a failed binary search

  // A stream that claims sorted for entries out of order is not believed.
  Fill(stream, Concat({Int32LE(2), {1}, Int32LE(9), Int32LE(3)}));
  TQYLongintList claimed;
  EXPECT_TRUE(claimed.ReadFromStream(stream));
  EXPECT_FALSE(claimed.sorted);
  EXPECT_EQ(claimed.IndexOf(3), 1);
}

TEST(UsefulBaseList, DamagedSortsStreams) {
  TMemoryStream stream;
  auto fresh = [] {
    auto list = std::make_unique<ByteList>();
    list->AddOne(42);
    return list;
  };
  const std::vector<Bytes> unchanged_cases = {
      {},                                      // nothing at all
      {3, 0},                                  // ends inside the count
      Int32LE(3),                              // the sorted byte is missing
      Concat({Int32LE(1), {2}, {5}}),          // a sorted byte that is neither 0 nor 1
      Concat({Int32LE(-1), {0}}),              // negative count
      Concat({Int32LE(0x7FFFFFFF), {0}, {5}}), // count beyond the safety limit
  };
  for (const auto& bytes : unchanged_cases) {
    auto list = fresh();
    Fill(stream, bytes);
    EXPECT_FALSE(list->ReadFromStream(stream)) << bytes.size();
    EXPECT_EQ(list->Values(), (std::vector<int>{42}));
    EXPECT_FALSE(list->sorted);
  }

  // Ends inside the second of three entries (T3 entries are 12 bytes): the
  // entry read whole stays, nothing is made up for the rest.
  T3LongintList tuples;
  tuples.AddOne({1, 2, 3});
  tuples.AddOne({4, 5, 6});
  tuples.AddOne({7, 8, 9});
  stream.Clear();
  ASSERT_TRUE(tuples.SaveToStream(stream));
  Bytes cut = BytesOf(stream);
  cut.resize(5 + 12 + 6);
  Fill(stream, cut);
  T3LongintList partial;
  EXPECT_FALSE(partial.ReadFromStream(stream));
  ASSERT_EQ(partial.Count(), 1);
  T3_longint_rec first;
  partial.GetATriple(0, first);
  EXPECT_EQ(first, (T3_longint_rec{1, 2, 3}));
  EXPECT_EQ(partial.AnInstance, partial.Items(0));

  // The limit is adjustable; a count it refuses creates nothing.
  const auto saved_limit = global_list_count_safety_limit;
  global_list_count_safety_limit = 2;
  Fill(stream, Concat({Int32LE(3), {0}, {1, 2, 3}}));
  ByteList limited;
  EXPECT_FALSE(limited.ReadFromStream(stream));
  EXPECT_EQ(limited.Count(), 0);
  global_list_count_safety_limit = saved_limit;
}

TEST(UsefulBaseList, PlainFormatAndDamage) {
  TIntegerAnd3CardinalsList list;
  list.AddOne({-2, {1, 2, 0xFFFFFFFF}});
  TMemoryStream stream;
  ASSERT_TRUE(list.SaveToStream(stream));
  EXPECT_EQ(BytesOf(stream), Concat({Int32LE(1), Int32LE(-2), Int32LE(1), Int32LE(2), Int32LE(-1)}));

  Fill(stream, {1, 0, 0});
  EXPECT_FALSE(list.ReadFromStream(stream));
  Fill(stream, Int32LE(-3));
  EXPECT_FALSE(list.ReadFromStream(stream));
  EXPECT_EQ(list.Count(), 1);
  Fill(stream, Int32LE(0));
  EXPECT_TRUE(list.ReadFromStream(stream));
  EXPECT_EQ(list.Count(), 1);

  // An entry whose string count is damaged raises through the list; the entry
  // read whole before it is kept, the damaged one is not.
  Fill(stream, Concat({Int32LE(2), Int32LE(1), Int32LE(2), Int32LE(1), {'a', 0}, Int32LE(0),  //
                       Int32LE(3), Int32LE(4), Int32LE(-9)}));
  T2StringsAnd2IntegersList strings;
  EXPECT_THROW(strings.ReadFromStream(stream), EStreamError);
  ASSERT_EQ(strings.Count(), 1);
  EXPECT_EQ(strings.GetTwoStringsAndInt(0), (T2StringsAnd2IntegersRec{1, 2, u"a", u""}));
}

TEST(UsefulBaseList, EntriesOfAnotherClassAreRefused) {
  ByteList list;
  EXPECT_THROW(list.Add(std::make_unique<OtherEntry>()), EInvalidCast);
  EXPECT_THROW(list.Insert(0, std::make_unique<OtherEntry>()), EInvalidCast);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.Insert(1, std::make_unique<ByteEntry>()), EListError);
  EXPECT_THROW(list.Items(0), EListError);
}

TEST(UsefulBaseList, FreedSlotsAreEmptyUntilPackedAndAreNotSaved) {
  ByteList list;
  for (unsigned char v : {1, 2, 3}) list.AddOne(v);
  list.FreeOne(1);
  list.FreeOne(7);  // out of range: nothing
  EXPECT_EQ(list.Count(), 3);
  EXPECT_FALSE(list.IndexAssignedOK(1));
  EXPECT_FALSE(list.IndexAssignedOK(-1));
  EXPECT_FALSE(list.IndexAssignedOK(3));
  EXPECT_TRUE(list.IndexAssignedOK(2));

  TMemoryStream stream;
  ASSERT_TRUE(list.SaveToStream(stream));
  EXPECT_EQ(BytesOf(stream), (Bytes{2, 0, 0, 0, 0, 1, 3}));
  EXPECT_FALSE(list.SaveTheInstances(stream, 4));  // more entries than the list has

  list.Pack();
  EXPECT_EQ(list.Values(), (std::vector<int>{1, 3}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.AnInstance, nullptr);
}

TEST(UsefulBaseList, RemoveDuplicatesAndReverse) {
  TQYLongintList numbers;
  for (int v : {1, 1, 1, 2, 3, 3}) numbers.AddOne(v);
  numbers.RemoveDuplicates();
  EXPECT_EQ(Values(numbers), (std::vector<std::int32_t>{1, 2, 3}));

  ByteList bytes;  // no comparison of its own: every pair differs
  for (unsigned char v : {4, 4, 4}) bytes.AddOne(v);
  bytes.RemoveDuplicates();
  EXPECT_EQ(bytes.Count(), 3);

  ByteList none;
  none.ReverseTheSort();
  EXPECT_EQ(none.Count(), 0);
  ByteList one;
  one.AddOne(5);
  one.ReverseTheSort();
  EXPECT_EQ(one.Values(), (std::vector<int>{5}));
  ByteList three;
  for (unsigned char v : {1, 2, 3}) three.AddOne(v);
  three.sorted = true;
  three.ReverseTheSort();
  EXPECT_EQ(three.Values(), (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(three.sorted);
}

TEST(UsefulBaseList, SortKeepsEntriesWhenTheComparisonRaises) {
  ByteList list;
  for (unsigned char v : {3, 1, 2}) list.AddOne(v);
  list.FreeOne(1);
  EXPECT_THROW(list.Sort([](const TUsefulBaseListObject*, const TUsefulBaseListObject*) -> int {
    throw EInvalidCast(std::string_view("no"));
  }),
               EInvalidCast);
  EXPECT_EQ(list.Values(), (std::vector<int>{3, -1, 2}));
  EXPECT_FALSE(list.sorted);

  // Empty slots go to the end; the comparison never sees them.
  list.Sort([](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
    return static_cast<const ByteEntry*>(a)->value - static_cast<const ByteEntry*>(b)->value;
  });
  EXPECT_EQ(list.Values(), (std::vector<int>{2, 3, -1}));
  EXPECT_TRUE(list.sorted);
}

TEST(UsefulBaseList, PersistenceLoopsYieldOncePerEntry) {
  ByteList list;
  for (unsigned char v : {1, 2, 3, 4}) list.AddOne(v);
  int calls = 0;
  AYieldProcessProc = [&] { ++calls; };
  TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(calls, 4);
  stream.SetPosition(0);
  ByteList copy;
  copy.ReadFromStream(stream);
  EXPECT_EQ(calls, 8);
  AYieldProcessProc = nullptr;
}

TEST(UsefulBaseList, Files) {
  testing::TempDir dir;
  const UnicodeString name = dir.File("list.bin");
  ByteList list;
  for (unsigned char v : {5, 6}) list.AddOne(v);
  ASSERT_TRUE(list.SaveToFile(name));
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("list.bin")), (Bytes{2, 0, 0, 0, 0, 5, 6}));

  ByteList loaded;
  ASSERT_TRUE(loaded.LoadFromFile(name));
  EXPECT_EQ(loaded.Values(), (std::vector<int>{5, 6}));

  // A save that fails part-way leaves the earlier file as it was.
  static_cast<ByteEntry*>(list.Items(1))->fail_save = true;
  list.AddOne(7);
  EXPECT_FALSE(list.SaveToFile(name));
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("list.bin")), (Bytes{2, 0, 0, 0, 0, 5, 6}));

  EXPECT_THROW(loaded.LoadFromFile(dir.File("missing.bin")), EFOpenError);
}

}  // namespace
}  // namespace quill
