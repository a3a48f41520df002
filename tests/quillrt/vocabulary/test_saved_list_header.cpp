// The 57-byte saved-list header: every offset, the checks both ways, and the
// kind it names.
#include <gtest/gtest.h>

#include <vector>

#include "quillrt/framework/streams.h"
#include "quillrt/vocabulary/saved_list_header.h"
#include "quillrt/vocabulary/tool_names.h"

namespace quill {
namespace {

// A stream that takes or gives at most `limit` bytes in all, then nothing.
class ShortStream : public TMemoryStream {
 public:
  explicit ShortStream(std::int64_t limit) : limit_(limit) {}
  std::int64_t Read(void* buffer, std::int64_t count) override {
    const std::int64_t n = TMemoryStream::Read(buffer, std::min(count, limit_));
    limit_ -= n;
    return n;
  }
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    const std::int64_t n = TMemoryStream::Write(buffer, std::min(count, limit_));
    limit_ -= n;
    return n;
  }

 private:
  std::int64_t limit_;
};

TEST(SavedListHeader, EveryFieldAtItsOffset) {
  TCheckSignature sig;
  sig.signature = 0x01020304;
  sig.infosize = -2;
  sig.save_height = 0x0A0B0C0D;
  sig.save_width = 0x11223344;
  sig.type_of_data = "Word List32";
  const TCheckSignatureBytes bytes = CheckSignatureToBytes(sig);
  ASSERT_EQ(bytes.size(), 57u);
  const std::vector<std::uint8_t> numbers(bytes.begin(), bytes.begin() + 16);
  EXPECT_EQ(numbers, (std::vector<std::uint8_t>{0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0x0D, 0x0C, 0x0B,
                                                0x0A, 0x44, 0x33, 0x22, 0x11}));
  EXPECT_EQ(bytes[16], 11);  // length byte
  EXPECT_EQ(std::string(bytes.begin() + 17, bytes.begin() + 28), "Word List32");
  for (std::size_t i = 28; i < 57; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(CheckSignatureFromBytes(bytes), sig);
}

TEST(SavedListHeader, TypeFieldHoldsFortyCharacters) {
  TCheckSignature sig;
  sig.type_of_data = std::string(45, 'x');
  const TCheckSignatureBytes bytes = CheckSignatureToBytes(sig);
  EXPECT_EQ(bytes[16], 40);
  EXPECT_EQ(bytes[56], 'x');
  EXPECT_EQ(CheckSignatureFromBytes(bytes).type_of_data, std::string(40, 'x'));

  // A length byte past the field is read as the whole field; bytes past the
  // length are not part of the text.
  TCheckSignatureBytes raw{};
  raw[16] = 200;
  for (std::size_t i = 17; i < 57; ++i) raw[i] = 'a';
  EXPECT_EQ(CheckSignatureFromBytes(raw).type_of_data, std::string(40, 'a'));
  raw[16] = 3;
  EXPECT_EQ(CheckSignatureFromBytes(raw).type_of_data, "aaa");
}

TEST(SavedListHeader, WritingStampsToolAndKindAndKeepsTheRest) {
  TMemoryStream stream;
  TCheckSignature sig;
  sig.signature = 999;
  sig.save_height = 480;
  sig.save_width = 640;
  sig.type_of_data = "overwritten";
  ASSERT_TRUE(DiskSignatureISOKForToolAndList(sig, tool_concordancer, lt_concordance_list, stream, writing));
  EXPECT_EQ(sig.signature, 36);
  EXPECT_EQ(sig.type_of_data, "Concordance32");
  ASSERT_EQ(stream.GetSize(), 57);
  const auto& bytes = stream.Bytes();
  EXPECT_EQ(bytes[0], 36);
  EXPECT_EQ(bytes[8], 480 & 0xFF);
  EXPECT_EQ(bytes[9], 480 >> 8);
  EXPECT_EQ(bytes[12], 640 & 0xFF);
  EXPECT_EQ(bytes[16], 13);

  stream.SetPosition(0);
  TCheckSignature read;
  EXPECT_TRUE(DiskSignatureISOKForToolAndList(read, tool_concordancer, lt_concordance_list, stream, reading));
  EXPECT_EQ(read, sig);
}

TEST(SavedListHeader, ReadingWantsExactVersionAndSignature) {
  TMemoryStream stream;
  TCheckSignature sig;
  ASSERT_TRUE(DiskSignatureISOKForToolAndList(sig, tool_word_lister, lt_word_list, stream, writing));
  const auto read_as = [&](tool_type tool, list_type lt) {
    stream.SetPosition(0);
    TCheckSignature read;
    return DiskSignatureISOKForToolAndList(read, tool, lt, stream, reading);
  };
  EXPECT_TRUE(read_as(tool_word_lister, lt_word_list));
  EXPECT_TRUE(read_as(tool_keyness, lt_word_list));         // the keywords tool writes 37 too
  EXPECT_FALSE(read_as(tool_concordancer, lt_word_list));   // 36
  EXPECT_FALSE(read_as(tool_word_lister, lt_KWs_as_word_list));
  EXPECT_FALSE(read_as(static_cast<tool_type>(40), lt_word_list));
  EXPECT_FALSE(read_as(tool_word_lister, static_cast<list_type>(43)));
}

TEST(SavedListHeader, ShortTransfersAreFalse) {
  TCheckSignature sig;
  ShortStream short_write(56);
  EXPECT_FALSE(DiskSignatureISOKForToolAndList(sig, tool_word_lister, lt_word_list, short_write, writing));

  TMemoryStream full;
  ASSERT_TRUE(DiskSignatureISOKForToolAndList(sig, tool_word_lister, lt_word_list, full, writing));
  TMemoryStream cut;
  cut.Write(full.Memory(), 56);
  cut.SetPosition(0);
  TCheckSignature read;
  EXPECT_FALSE(DiskSignatureISOKForToolAndList(read, tool_word_lister, lt_word_list, cut, reading));

  // A stream that gives its bytes a few at a time still gives a whole header.
  ShortStream trickle(1000);
  trickle.Write(full.Memory(), 57);
  trickle.SetPosition(0);
  EXPECT_TRUE(DiskSignatureISOKForToolAndList(read, tool_word_lister, lt_word_list, trickle, reading));
}

TEST(SavedListHeader, DiskFileTypeNamesTheKind) {
  TCheckSignature sig;
  sig.type_of_data = "Word List32";
  EXPECT_EQ(DiskFileType(sig), lt_word_list);
  sig.type_of_data = " Text List32";
  EXPECT_EQ(DiskFileType(sig), lt_aligner_plaintext_list);
  sig.type_of_data = "Text List32";
  EXPECT_EQ(DiskFileType(sig), lt_none_in_use);
  sig.type_of_data = "KeyWords Database (v. 2)32";
  EXPECT_EQ(DiskFileType(sig), lt_KW_database_list);
  sig.type_of_data = "lt_bol7";
  EXPECT_EQ(DiskFileType(sig), lt_bol7);
  sig.type_of_data = "lt_bol8";  // the sort kind is no saved list
  EXPECT_EQ(DiskFileType(sig), lt_none_in_use);
  sig.type_of_data = "word list32";
  EXPECT_EQ(DiskFileType(sig), lt_none_in_use);
  for (unsigned k = 0; k < 42; ++k) {
    if (k == lt_none_in_use) continue;
    sig.type_of_data = std::string(list_signature32[k]);
    EXPECT_EQ(DiskFileType(sig), k) << k;
  }
}

}  // namespace
}  // namespace quill
