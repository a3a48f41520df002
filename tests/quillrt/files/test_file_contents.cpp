// What files hold: the content-kind table, the quick and thorough tests, and
// the UTF-16 questions.
#include <gtest/gtest.h>

#include <string>

#include "quillrt/files/file_contents.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::TempDir;
using testing::WriteText;

TFileContentsSet Kind(const std::string& bytes, bool thorough) {
  return FileBufferType(bytes.data(), thorough, static_cast<std::int64_t>(bytes.size()));
}

std::string Utf16LE(const UnicodeString& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

TEST(FileContents, KindTable) {
  const TFileContentsSet empty{};
  struct Case {
    std::string bytes;
    TFileContentsSet quick, thorough;
  } cases[] = {
      {std::string("\xFF\xFE" "A\0", 4), {fc_16_bit}, {fc_16_bit}},
      {std::string("\xFE\xFF\0A", 4), {fc_16_bit_reversed}, {fc_16_bit_reversed}},
      {"abc", empty, empty},
      {"\xEF\xBB\xBF" "AB", {fc_8_bit, fc_UTF8}, {fc_UTF8}},
      {"plain ascii, odd", {fc_8_bit}, {fc_8_bit}},
      {"caf\xC3\xA9 ok", {fc_8_bit}, {fc_UTF8}},
      {"caf\xE9 au lait", {fc_8_bit}, {fc_8_bit}},  // Latin-1, not UTF-8
      {"PK\x03\x04\xFF\xFE anything", {fc_Zip}, {fc_Zip}},
      {"\xD0\xCF\x11\xE0 rest", {fc_Storage}, {fc_Storage}},
      {std::string("\xDB\xA5\x2D\0 rest", 9), {fc_early_Word}, {fc_early_Word}},
      {Utf16LE(u"no mark but UTF-16"), {fc_8_bit}, {fc_16_bit}},
      // The UTF-8 test stops at the first zero byte.
      {std::string("ascii\0caf\xC3\xA9", 11), {fc_8_bit}, {fc_8_bit}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(Kind(c.bytes, false), c.quick);
    EXPECT_EQ(Kind(c.bytes, true), c.thorough);
  }
  EXPECT_EQ(FileBufferType(nullptr, true, 10), empty);
  EXPECT_EQ((TFileContentsSet{fc_8_bit, fc_UTF8}).Bits(), 3);
  EXPECT_EQ((TFileContentsSet{fc_16_bit_reversed}).Bits(), 64);
}

TEST(FileContents, ComparisonReadsSetsAsNumbers) {
  EXPECT_EQ(FileContentsComparison({}, {}), 0);
  EXPECT_EQ(FileContentsComparison({fc_8_bit}, {fc_UTF8}), -1);
  EXPECT_EQ(FileContentsComparison({fc_8_bit, fc_UTF8}, {fc_UTF8}), 1);
  EXPECT_EQ(FileContentsComparison({fc_Zip}, {fc_Zip}), 0);
  EXPECT_EQ(FileContentsComparison({}, {fc_8_bit}), -1);
}

TEST(FileContents, FilesQuickAndThorough) {
  TempDir dir;
  WriteText(dir.Path("short"), "abc");
  WriteText(dir.Path("utf8"), "x = \xE2\x82\xAC 5");
  WriteText(dir.Path("wide"), Utf16LE(U("Привет, мир! Как дела?")));
  WriteText(dir.Path("empty"), "");
  EXPECT_TRUE(FileContentsType(dir.File("short"), false).Empty());
  EXPECT_TRUE(FileContentsType(dir.File("short"), true).Empty());
  EXPECT_EQ(FileContentsType(dir.File("utf8"), false), TFileContentsSet{fc_8_bit});
  EXPECT_EQ(FileContentsType(dir.File("utf8"), true), TFileContentsSet{fc_UTF8});
  EXPECT_EQ(FileContentsType(dir.File("wide"), true), TFileContentsSet{fc_16_bit});
  EXPECT_TRUE(FileContentsType(dir.File("missing"), true).Empty());

  EXPECT_TRUE(TextFileInUnicode(dir.File("wide")));
  EXPECT_FALSE(TextFileInUnicode(dir.File("utf8")));
  EXPECT_FALSE(TextFileInUnicode(dir.File("empty")));
  EXPECT_FALSE(TextFileInUnicode(dir.File("missing")));
  EXPECT_TRUE(StringIsInUnicode("\xFE\xFF\0a", 4));
  EXPECT_FALSE(StringIsInUnicode("\xFF\xFE\0", 3));
}

TEST(FileContents, DecodingByWhatTheBytesHold) {
  EXPECT_EQ(DecodedTextBytes(Utf16LE(U("Ωmega text"))), U("Ωmega text"));
  EXPECT_EQ(DecodedTextBytes(std::string("\xFE\xFF\0h\0i", 6)), u"hi");
  EXPECT_EQ(DecodedTextBytes("\xEF\xBB\xBFok"), u"ok");
  EXPECT_EQ(DecodedTextBytes("\xC3\xA9"), U("é"));          // too short to judge, still UTF-8
  EXPECT_EQ(DecodedTextBytes("caf\xE9 au lait"), U("café au lait"));  // code page 1252
}

}  // namespace
}  // namespace quill
