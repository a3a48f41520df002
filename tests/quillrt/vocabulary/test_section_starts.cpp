#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "quillrt/framework/exceptions.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/vocabulary/section_starts.h"
#include "test_support.h"

namespace quill {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes StreamBytes(const TSectionStartsList& list) {
  TMemoryStream stream;
  EXPECT_TRUE(list.SaveToStream(stream));
  return stream.Bytes();
}

std::unique_ptr<TMemoryStream> StreamOf(const Bytes& bytes) {
  auto stream = std::make_unique<TMemoryStream>();
  stream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream->SetPosition(0);
  return stream;
}

std::unique_ptr<TSectionStartsList> MakeTwoSections() {
  auto list = std::make_unique<TSectionStartsList>();
  list->AddSection(0, u"Intro");
  list->AddSection(0x01020304, u"Ch\u00e9");
  return list;
}

TEST(SectionStartsStream, IsCountThenStartAndCountedNameEach) {
  const Bytes expected = {
      2, 0, 0, 0,                                     // count
      0, 0, 0, 0, 5, 0, 0, 0,                         // start 0, name of 5 units
      'I', 0, 'n', 0, 't', 0, 'r', 0, 'o', 0,         //
      4, 3, 2, 1, 3, 0, 0, 0, 'C', 0, 'h', 0, 0xE9, 0  // start 0x01020304, "Ché"
  };
  EXPECT_EQ(StreamBytes(*MakeTwoSections()), expected);
  EXPECT_EQ(StreamBytes(TSectionStartsList{}), (Bytes{0, 0, 0, 0}));
}

TEST(SectionStartsStream, ReadsBackAndAppends) {
  const auto stream = StreamOf(StreamBytes(*MakeTwoSections()));
  TSectionStartsList list;
  list.AddSection(-5, u"kept");
  ASSERT_TRUE(list.ReadFromStream(*stream));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.GetASection(0).w, u"kept");
  EXPECT_EQ(list.GetASection(2).start_byte_position, 0x01020304);
  EXPECT_EQ(list.GetASection(2).w, u"Ch\u00e9");
  EXPECT_EQ(list.GetASection(3).start_byte_position, -1);
  EXPECT_EQ(list.GetASection(-1).w, u"");
}

TEST(SectionStartsStream, DamagedStreamsLeaveTheListAsItWas) {
  const Bytes good = StreamBytes(*MakeTwoSections());
  const auto refused = [](const Bytes& bytes) {
    const auto stream = StreamOf(bytes);
    TSectionStartsList list;
    list.AddSection(1, u"before");
    const bool read = list.ReadFromStream(*stream);
    EXPECT_EQ(list.Count(), 1);
    return !read;
  };
  EXPECT_TRUE(refused({}));                        // no count
  EXPECT_TRUE(refused({1, 0}));                    // half a count
  EXPECT_TRUE(refused({0xFF, 0xFF, 0xFF, 0xFF}));  // negative count
  EXPECT_TRUE(refused({0xFF, 0xFF, 0xFF, 0x7F}));  // a count far beyond the stream
  EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + 22)));  // second start missing
  EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + 24)));  // second start cut short

  // A name cut short, or longer than the reading limit, raises the stream's error.
  const auto cut = StreamOf(Bytes(good.begin(), good.end() - 1));
  TSectionStartsList list;
  EXPECT_THROW(list.ReadFromStream(*cut), EStreamError);
  EXPECT_EQ(list.Count(), 0);
  const auto huge = StreamOf({1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F});
  EXPECT_THROW(list.ReadFromStream(*huge), EStreamError);
  EXPECT_EQ(list.Count(), 0);
}

TEST(SectionStartsFile, StartsWithTheSavedListHeader) {
  testing::TempDir dir;
  const auto saved_tool = current_tool_var;
  current_tool_var = tool_viewer_aligner;  // version 38
  ASSERT_TRUE(MakeTwoSections()->SaveToFile(dir.File("s.sec")));
  const Bytes bytes = testing::ReadAllBytes(dir.Path("s.sec"));
  ASSERT_EQ(bytes.size(), 57 + StreamBytes(*MakeTwoSections()).size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{38, 0, 0, 0}));    // signature
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 16), Bytes(12, 0));       // infosize, height, width
  EXPECT_EQ(bytes[16], 14);                                                    // signature length
  EXPECT_EQ(std::memcmp(bytes.data() + 17, "Section List32", 14), 0);
  EXPECT_EQ(Bytes(bytes.begin() + 31, bytes.begin() + 57), Bytes(26, 0));      // unused signature bytes
  EXPECT_EQ(Bytes(bytes.begin() + 57, bytes.end()), StreamBytes(*MakeTwoSections()));

  TSectionStartsList read;
  EXPECT_TRUE(read.ReadFromFile(dir.File("s.sec")));
  EXPECT_EQ(read.Count(), 2);
  EXPECT_EQ(read.GetASection(1).w, u"Ch\u00e9");

  // Another tool version, or another list kind, is not read.
  current_tool_var = tool_concordancer;  // version 36
  TSectionStartsList other;
  EXPECT_FALSE(other.ReadFromFile(dir.File("s.sec")));
  EXPECT_EQ(other.Count(), 0);
  current_tool_var = tool_viewer_aligner;
  Bytes renamed = bytes;
  renamed[17] = 'X';
  testing::WriteAllBytes(dir.Path("x.sec"), renamed);
  EXPECT_FALSE(other.ReadFromFile(dir.File("x.sec")));
  testing::WriteAllBytes(dir.Path("short.sec"), Bytes(bytes.begin(), bytes.begin() + 56));
  EXPECT_FALSE(other.ReadFromFile(dir.File("short.sec")));
  EXPECT_THROW(other.ReadFromFile(dir.File("missing.sec")), EFOpenError);
  current_tool_var = saved_tool;
}

TEST(SectionStarts, SortAndFindTheSectionOfAPosition) {
  TSectionStartsList list;
  list.AddSection(300, u"third");
  list.AddSection(0, u"first");
  list.AddSection(100, u"second");
  list.SortByStart();
  EXPECT_EQ(list.GetASection(0).w, u"first");
  EXPECT_EQ(list.GetASection(2).w, u"third");

  const auto at = [&list](int from, std::int64_t position) { return list.SectionFromBytePosition(from, position); };
  EXPECT_EQ(at(0, 0).section, u"first");
  EXPECT_EQ(at(0, 0).section_number, 1);
  EXPECT_EQ(at(0, 99).section, u"first");
  EXPECT_EQ(at(0, 100).section, u"second");
  EXPECT_EQ(at(0, 5000).section_number, 3);
  EXPECT_EQ(at(1, 150).section_number, 2);   // searching on from a known section
  EXPECT_EQ(at(2, 150).section_number, 0);   // the position lies before section 3
  EXPECT_EQ(at(2, 150).section, u"");
  EXPECT_EQ(at(3, 150).section_number, 0);   // past the end
  EXPECT_EQ(at(-4, 150).section_number, 2);  // a negative start counts from the first

  TSectionStartsList starts_late;
  starts_late.AddSection(10, u"late");
  EXPECT_EQ(starts_late.SectionFromBytePosition(0, 5).section_number, 0);
  EXPECT_EQ(TSectionStartsList{}.SectionFromBytePosition(0, 5).section_number, 0);
}

}  // namespace
}  // namespace quill
