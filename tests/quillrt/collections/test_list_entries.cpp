#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "collections_test_support.h"
#include "quillrt/collections/list_entries.h"
#include "quillrt/collections/stream_forms.h"

namespace quill {
namespace {

using testing::Bytes;
using testing::BytesOf;
using testing::Concat;
using testing::Fill;
using testing::Int32LE;

// Writes `entry`, checks the exact bytes, reads them into a blank entry of the
// same class; then checks that every shorter prefix fails to read and leaves
// the blank entry as it was.
template <class Holder>
Holder RoundTrip(const Holder& entry, const Bytes& expected) {
  TMemoryStream stream;
  EXPECT_TRUE(entry.SaveToStream(stream));
  EXPECT_EQ(BytesOf(stream), expected);
  for (std::size_t cut = 0; cut < expected.size(); ++cut) {
    Fill(stream, Bytes(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(cut)));
    Holder partial;
    bool ok = true;
    try {
      ok = partial.ReadFromStream(stream);
    } catch (const EStreamError&) {
      ok = false;
    }
    EXPECT_FALSE(ok) << "prefix of " << cut << " bytes";
    EXPECT_TRUE(partial.data == Holder().data) << "prefix of " << cut << " bytes changed the entry";
  }
  Fill(stream, expected);
  Holder back;
  EXPECT_TRUE(back.ReadFromStream(stream));
  EXPECT_EQ(stream.GetPosition(), stream.GetSize());
  return back;
}

TEST(ListEntries, SingleValueHolders) {
  EXPECT_EQ(RoundTrip(TLongIntHolder(-2), {0xFE, 0xFF, 0xFF, 0xFF}).data, -2);
  EXPECT_EQ(RoundTrip(TCardinalHolder(4000000000u), {0x00, 0x28, 0x6B, 0xEE}).data, 4000000000u);
  EXPECT_EQ(RoundTrip(TSingleHolder(1.5f), {0x00, 0x00, 0xC0, 0x3F}).data, 1.5f);
  EXPECT_EQ(RoundTrip(TInt64Holder(0x0102030405060708LL), {8, 7, 6, 5, 4, 3, 2, 1}).data, 0x0102030405060708LL);
}

TEST(ListEntries, FixedRecordHolders) {
  // Every field at its offset: int at 0, single at 4.
  const auto is = RoundTrip(TIntegerAndSingleHolder({7, -2.0f}), {7, 0, 0, 0, 0x00, 0x00, 0x00, 0xC0}).data;
  EXPECT_EQ(is, (TIntegerAndSingleRec{7, -2.0f}));
  // c at 0, f at 4.
  EXPECT_EQ(RoundTrip(TCardinalAndFreqHolder({0x11223344u, -1}), {0x44, 0x33, 0x22, 0x11, 0xFF, 0xFF, 0xFF, 0xFF}).data,
            (TCardinalAndFreq{0x11223344u, -1}));
  // freq at 0, card1 at 4, card2 at 8, card3 at 12.
  const TIntegerAnd3CardinalsRec i3{-3, {1, 0x0200, 0x030000}};
  EXPECT_EQ(RoundTrip(TIntegerAnd3CardinalsHolder(i3),
                      Concat({Int32LE(-3), Int32LE(1), Int32LE(0x0200), Int32LE(0x030000)}))
                .data,
            i3);
  EXPECT_EQ(RoundTrip(T2LongIntHolder({1, -1}), Concat({Int32LE(1), Int32LE(-1)})).data, (T2_longint_rec{1, -1}));
  EXPECT_EQ(RoundTrip(T3LongIntHolder({1, 2, 3}), Concat({Int32LE(1), Int32LE(2), Int32LE(3)})).data,
            (T3_longint_rec{1, 2, 3}));
  EXPECT_EQ(RoundTrip(T4LongIntHolder({4, 3, 2, 1}), Concat({Int32LE(4), Int32LE(3), Int32LE(2), Int32LE(1)})).data,
            (T4_longint_rec{4, 3, 2, 1}));
}

TEST(ListEntries, StringHolders) {
  const TStringColumnAndColourRec coloured{2, 0x00FF00, u"hi"};
  EXPECT_EQ(RoundTrip(TStringColumnAndColourHolder(coloured),
                      Concat({Int32LE(2), Int32LE(0x00FF00), Int32LE(2), {'h', 0, 'i', 0}}))
                .data,
            coloured);
  EXPECT_EQ(TStringColumnAndColourHolder::CreateBlank()->data, TStringColumnAndColourRec{});

  const T2StringsAnd2IntegersRec two{5, 6, u"a", u""};
  EXPECT_EQ(RoundTrip(T2StringsAnd2IntegersHolder(two),
                      Concat({Int32LE(5), Int32LE(6), Int32LE(1), {'a', 0}, Int32LE(0)}))
                .data,
            two);

  const TWordFreqAndSourceNum word{u"ox", 12, 3};
  EXPECT_EQ(RoundTrip(TWordFreqAndSourceNumHolder(word), Concat({Int32LE(2), {'o', 0, 'x', 0}, Int32LE(12), Int32LE(3)}))
                .data,
            word);
}

TEST(ListEntries, StringOverTheLimit) {
  TMemoryStream stream;
  Fill(stream, Concat({Int32LE(1), Int32LE(2), Int32LE(global_string_safety_limit + 1)}));
  // Reported as a failed read ...
  TStringColumnAndColourHolder coloured;
  EXPECT_FALSE(coloured.ReadFromStream(stream));
  Fill(stream, Concat({Int32LE(global_string_safety_limit + 1)}));
  TWordFreqAndSourceNumHolder word;
  EXPECT_FALSE(word.ReadFromStream(stream));
  // ... or raised, as this holder always has.
  Fill(stream, Concat({Int32LE(1), Int32LE(2), Int32LE(-1)}));
  T2StringsAnd2IntegersHolder two;
  EXPECT_THROW(two.ReadFromStream(stream), EStreamError);
  EXPECT_EQ(two.data, T2StringsAnd2IntegersRec{});
}

TEST(ListEntries, ShortWritesAreReported) {
  testing::LimitedStream three(3);
  EXPECT_FALSE(TLongIntHolder(1).SaveToStream(three));
  testing::LimitedStream seven(7);
  EXPECT_FALSE(T2LongIntHolder({1, 2}).SaveToStream(seven));
  testing::LimitedStream four(4);
  EXPECT_FALSE(TStringColumnAndColourHolder({1, 2, u"x"}).SaveToStream(four));

  // The pointer pair and the base entry move no bytes at all.
  TMemoryStream stream;
  int x = 0;
  EXPECT_TRUE(TDoublePointerHolder({&x, &x}).SaveToStream(stream));
  EXPECT_TRUE(TUsefulBaseListObject().SaveToStream(stream));
  EXPECT_EQ(stream.GetSize(), 0);
}

TEST(BasicTypes, FixedCharArrays) {
  tenwidechar ten;
  ten.fill(u'#');
  SetFixedChars<WideChar>(ten, u"abc");
  EXPECT_EQ(GetFixedChars(ten), u"abc");
  for (std::size_t i = 3; i < ten.size(); ++i) EXPECT_EQ(ten[i], u'\0');  // no stale tail

  SetFixedChars<WideChar>(ten, u"0123456789ABC");  // capacity less one is kept
  EXPECT_EQ(GetFixedChars(ten), u"0123456789");
  EXPECT_EQ(ten[10], u'\0');

  eightychar narrow;
  narrow.fill('x');  // no terminator anywhere: read up to the end, not beyond
  EXPECT_EQ(GetFixedChars(narrow).size(), 81u);
  static_assert(sizeof(maxpathwidechar) == 261 * 2 && sizeof(ninety_ninewidechar) == 100 * 2);
}

}  // namespace
}  // namespace quill
