#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "quillrt/collections/stream_forms.h"
#include "quillrt/collections/string_lists_streamable.h"
#include "quillrt/process/yield.h"
#include "test_support.h"

namespace quill {
namespace {

using Bytes = std::vector<unsigned char>;

// A memory stream holding `bytes`, positioned at its start.
class ByteStream : public TMemoryStream {
 public:
  explicit ByteStream(const std::vector<unsigned char>& bytes) {
    Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    SetPosition(0);
  }
};

std::vector<UnicodeString> Lines(const TStrings& list) { return list.ToStringArray(); }

TEST(StreamableStringlist, WritesMinusTheCountThenCountedStrings) {
  TMyStreamableStringlist list;
  list.Add(u"a");
  list.Add(u"bc");
  TMemoryStream stream;
  ASSERT_TRUE(list.SaveToStream(stream));
  EXPECT_EQ(stream.Bytes(), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x61, 0x00, 0x02, 0x00, 0x00,
                                   0x00, 0x62, 0x00, 0x63, 0x00}));

  TMyStreamableStringlist back;
  back.Add(u"stale");
  stream.SetPosition(0);
  ASSERT_TRUE(back.ReadFromStream(stream));
  EXPECT_EQ(Lines(back), (std::vector<UnicodeString>{u"a", u"bc"}));

  TMyStreamableStringlist empty;
  TMemoryStream none;
  ASSERT_TRUE(empty.SaveToStream(none));
  EXPECT_EQ(none.Bytes(), (Bytes{0, 0, 0, 0}));
  none.SetPosition(0);
  EXPECT_TRUE(back.ReadFromStream(none));
  EXPECT_EQ(back.Count(), 0);
}

TEST(StreamableStringlist, ReadsTheOlderShortStringFormInTheSystemCodePage) {
  TMyStreamableStringlist list;
  ByteStream older({0x02, 0x00, 0x00, 0x00, 0x01, 0x61, 0x00});
  ASSERT_TRUE(list.ReadFromStream(older));
  EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"a", u""}));

  ByteStream accented({0x01, 0x00, 0x00, 0x00, 0x04, 'c', 'a', 'f', 0xE9});  // 0xE9 is é in 1252
  ASSERT_TRUE(list.ReadFromStream(accented));
  EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"café"}));
}

TEST(StreamableStringlist, DamagedStreamsGiveFalseAndKeepWhatWasRead) {
  TMyStreamableStringlist list;
  ByteStream short_count({0xFF, 0xFF});
  EXPECT_FALSE(list.ReadFromStream(short_count));
  EXPECT_EQ(list.Count(), 0);

  // Three lines announced, one present.
  ByteStream truncated({0xFD, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x61, 0x00, 0x05, 0x00, 0x00, 0x00, 0x62});
  EXPECT_FALSE(list.ReadFromStream(truncated));
  EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"a"}));

  // The most negative count, whose magnitude an int32 cannot hold, and nothing after it.
  ByteStream most_negative({0x00, 0x00, 0x00, 0x80});
  EXPECT_FALSE(list.ReadFromStream(most_negative));
  EXPECT_EQ(list.Count(), 0);

  // A line longer than the safety limit.
  TMemoryStream too_long;
  too_long.WriteLE<std::int32_t>(-1);
  too_long.WriteLE<std::int32_t>(global_string_safety_limit + 1);
  too_long.SetSize(too_long.GetSize() + 2 * (global_string_safety_limit + 1));
  too_long.SetPosition(0);
  EXPECT_FALSE(list.ReadFromStream(too_long));

  // The framework's entry point raises instead.
  ByteStream damaged({0xFD, 0xFF});
  EXPECT_THROW(list.LoadFromStream(damaged, nullptr), EReadError);
}

TEST(StreamableStringlist, YieldsOncePerLineAndGoesThroughFiles) {
  int yields = 0;
  AYieldProcessProc = [&] { ++yields; };
  TMyStreamableStringlist list;
  for (const char16_t* s : {u"one", u"two", u"three"}) list.Add(s);
  TMemoryStream stream;
  ASSERT_TRUE(list.SaveToStream(stream));
  EXPECT_EQ(yields, 3);
  stream.SetPosition(0);
  ASSERT_TRUE(list.ReadFromStream(stream));
  EXPECT_EQ(yields, 6);
  AYieldProcessProc = nullptr;

  testing::TempDir dir;
  list.SaveToFile(dir.File("lines.bin"));
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("lines.bin"))[0], 0xFD);  // -3
  TMyStreamableStringlist back;
  back.LoadFromFile(dir.File("lines.bin"));
  EXPECT_EQ(Lines(back), Lines(list));
}

TEST(SaveStringList, WritesTheObjectSlotBeforeEachLine) {
  TMySaveStringList list(true);
  list.AddObject(u"x", TObjectRef::FromInt(7));
  TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes(),
            (Bytes{0x01, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x78, 0x00}));

  // Loading appends to what the list holds.
  TMySaveStringList back(true);
  back.AddObject(u"first", TObjectRef::FromInt(-1));
  stream.SetPosition(0);
  back.LoadFromStream(stream);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back[1], u"x");
  EXPECT_EQ(back.GetObject(1).AsInt(), 7);
  EXPECT_EQ(back.GetObject(0).AsInt(), -1);

  TMySaveStringList plain(false);
  plain.AddObject(u"y", TObjectRef::FromInt(9));
  TMemoryStream without;
  plain.SaveToStream(without);
  EXPECT_EQ(without.Bytes(), (Bytes{0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x79, 0x00}));
}

TEST(SaveStringList, DamagedStreamsRaiseAndKeepEarlierLines) {
  TMySaveStringList list(true);
  // Two lines announced; the second's string runs past the end.
  ByteStream truncated({0x02, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x61, 0x00,
                             0x06, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x62});
  EXPECT_THROW(list.LoadFromStream(truncated), EReadError);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetObject(0).AsInt(), 5);

  TMySaveStringList limited(false);
  TMemoryStream too_long;
  too_long.WriteLE<std::int32_t>(1);
  too_long.WriteLE<std::int32_t>(global_string_safety_limit + 1);
  too_long.SetSize(too_long.GetSize() + 2 * (global_string_safety_limit + 1));
  too_long.SetPosition(0);
  EXPECT_THROW(limited.LoadFromStream(too_long), EStreamError);
  EXPECT_EQ(limited.Count(), 0);
  EXPECT_EQ(limited.UpdateCount(), 0);  // the update bracket closes on the way out
}

}  // namespace
}  // namespace quill
