// The chunk-file header field by field, the numbering and names of a set, and
// the header reader's answers to damaged input.
#include <gtest/gtest.h>

#include "quillfs/chunk_format.h"
#include "quillrt/framework/streams.h"

#include <vector>

namespace quill {
namespace {

TChunkSetHeader SampleHeader() {
  TChunkSetHeader header;
  header.SourceName = "C:\\corpus\\a.txt";  // 15 bytes
  header.ZipToo = true;
  header.PackLevel = 0x0102;
  header.ChunkSize = 0x11223344;
  header.Attributes = 0x21;
  header.LastWrite = 45000.5;
  header.ChunkCount = 0x0A0B0C0D;
  return header;
}

TEST(ChunkHeader, EveryFieldSitsAtItsOffsetLittleEndian) {
  TMemoryStream stream;
  WriteChunkSetHeader(stream, SampleHeader());
  const auto& b = stream.Bytes();
  ASSERT_EQ(b.size(), 1u + 15 + 1 + 2 + 4 + 4 + 8 + 4);
  EXPECT_EQ(b[0], 15);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 16), "C:\\corpus\\a.txt");
  EXPECT_EQ(b[16], 1);                     // ZipToo
  EXPECT_EQ(b[17], 0x02);                  // PackLevel, low byte first
  EXPECT_EQ(b[18], 0x01);
  EXPECT_EQ(b[19], 0x44);                  // ChunkSize
  EXPECT_EQ(b[22], 0x11);
  EXPECT_EQ(b[23], 0x21);                  // attributes
  EXPECT_EQ(b[26], 0x00);
  EXPECT_EQ(TStream::FromLE<double>(&b[27]), 45000.5);  // date-time
  EXPECT_EQ(b[35], 0x0D);                  // chunk count
  EXPECT_EQ(b[38], 0x0A);

  const TChunkHeaderLayout layout = ChunkHeaderLayout(15);
  EXPECT_EQ(layout.zip_too, 16);
  EXPECT_EQ(layout.pack_level, 17);
  EXPECT_EQ(layout.chunk_size, 19);
  EXPECT_EQ(layout.attributes, 23);
  EXPECT_EQ(layout.last_write, 27);
  EXPECT_EQ(layout.chunk_count, 35);
  EXPECT_EQ(layout.chunk_number, 39);
  // Chunk 1's overhead: the header, the chunk number and the checksum.
  EXPECT_EQ(layout.data + 4, SampleHeader().FirstChunkOverhead());
}

TEST(ChunkHeader, ReadsBackWhatWasWritten) {
  TMemoryStream stream;
  WriteChunkSetHeader(stream, SampleHeader());
  stream.SetPosition(0);
  TChunkSetHeader read;
  UnicodeString problem;
  ASSERT_TRUE(ReadChunkSetHeader(stream, read, problem)) << Utf16ToUtf8(problem);
  EXPECT_EQ(read, SampleHeader());
}

TEST(ChunkHeader, RefusesNamesTheLengthByteCannotHold) {
  TMemoryStream stream;
  TChunkSetHeader header = SampleHeader();
  header.SourceName.clear();
  EXPECT_THROW(WriteChunkSetHeader(stream, header), EInOutError);
  header.SourceName.assign(256, 'x');
  EXPECT_THROW(WriteChunkSetHeader(stream, header), EInOutError);
  header.SourceName.assign(255, 'x');
  header.ChunkSize = 1000;
  EXPECT_NO_THROW(WriteChunkSetHeader(stream, header));
}

bool ReadsAsHeader(const std::vector<unsigned char>& bytes, UnicodeString& problem) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  TChunkSetHeader header;
  return ReadChunkSetHeader(stream, header, problem);
}

TEST(ChunkHeader, RefusesEveryShortOrImplausibleHeader) {
  TMemoryStream stream;
  TChunkSetHeader good = SampleHeader();
  good.ChunkSize = 1000;
  good.ChunkCount = 3;
  WriteChunkSetHeader(stream, good);
  const std::vector<unsigned char> whole = stream.Bytes();
  UnicodeString problem;
  ASSERT_TRUE(ReadsAsHeader(whole, problem));
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    EXPECT_FALSE(ReadsAsHeader({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)}, problem)) << cut;
    EXPECT_FALSE(problem.empty());
  }
  const TChunkHeaderLayout layout = ChunkHeaderLayout(15);
  auto damaged = [&](std::int64_t offset, std::int32_t value, std::size_t width) {
    std::vector<unsigned char> bytes = whole;
    for (std::size_t i = 0; i < width; ++i) bytes[static_cast<std::size_t>(offset) + i] = static_cast<unsigned char>(value >> (8 * i));
    return ReadsAsHeader(bytes, problem);
  };
  EXPECT_FALSE(damaged(layout.zip_too, 2, 1));
  EXPECT_FALSE(damaged(layout.chunk_count, 0, 4));
  EXPECT_FALSE(damaged(layout.chunk_count, -5, 4));
  EXPECT_FALSE(damaged(layout.chunk_size, 15 + 32, 4));  // no room for data
  EXPECT_TRUE(damaged(layout.chunk_size, 15 + 33, 4));   // one byte of room
  EXPECT_FALSE(damaged(0, 0, 1));                         // no name
}

TEST(ChunkCount, FollowsTheCapacitiesOfFirstAndLaterChunks) {
  const std::int64_t overhead = 10 + 32;
  std::int32_t count = 0;
  ASSERT_TRUE(ChunkCountFor(0, 100, overhead, count));
  EXPECT_EQ(count, 1);  // an empty source still has a chunk
  ASSERT_TRUE(ChunkCountFor(58, 100, overhead, count));
  EXPECT_EQ(count, 1);  // exactly chunk 1's capacity
  ASSERT_TRUE(ChunkCountFor(59, 100, overhead, count));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(ChunkFileSize(59, 100, overhead, 2, 2), 9);  // one byte and the overhead
  ASSERT_TRUE(ChunkCountFor(58 + 92, 100, overhead, count));
  EXPECT_EQ(count, 2);
  ASSERT_TRUE(ChunkCountFor(58 + 92 + 1, 100, overhead, count));
  EXPECT_EQ(count, 3);
  // A last piece between ChunkSize - 8 and ChunkSize bytes still fits the count.
  ASSERT_TRUE(ChunkCountFor(58 + 92 + 95, 100, overhead, count));
  EXPECT_EQ(count, 4);
  EXPECT_LE(ChunkFileSize(58 + 92 + 95, 100, overhead, 4, 4), 100);
  EXPECT_EQ(ChunkFileSize(58 + 92 + 95, 100, overhead, 3, 4), 100);

  EXPECT_FALSE(ChunkCountFor(0, 42, overhead, count));   // chunk 1 has no room for data
  EXPECT_FALSE(ChunkCountFor(10, -1, overhead, count));
  EXPECT_FALSE(ChunkCountFor(std::int64_t{1} << 40, 43, overhead, count));  // too many to number
}

TEST(ChunkChecksum, IsTheWordSumOfTheLastBlockOfThePiece) {
  std::vector<unsigned char> piece(kChunkCopyBlock * 2 + 7);
  for (std::size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<unsigned char>(i * 7 + 3);
  // The last block: 7 bytes, one whole word.
  EXPECT_EQ(LastBlockChecksum(piece.data(), static_cast<std::int64_t>(piece.size())),
            TStream::FromLE<std::uint32_t>(&piece[kChunkCopyBlock * 2]));
  // Exactly two blocks: the second whole block.
  std::uint32_t sum = 0;
  for (std::size_t at = kChunkCopyBlock; at < 2u * kChunkCopyBlock; at += 4) sum += TStream::FromLE<std::uint32_t>(&piece[at]);
  EXPECT_EQ(LastBlockChecksum(piece.data(), 2 * kChunkCopyBlock), sum);
  EXPECT_EQ(LastBlockChecksum(piece.data(), 0), 0u);
  EXPECT_EQ(LastBlockChecksum(piece.data(), 3), 0u);  // no whole word
  EXPECT_EQ(kChunkCopyPiece % kChunkCopyBlock, 0);
}

TEST(ChunkNames, AreNumberedFromOneAndReadBack) {
  EXPECT_EQ(ChunkFileName(u"/media/usb", 2, 13), u"/media/usb/chunk 2 of 13.tmp");
  EXPECT_EQ(ChunkFileName(u"/media/usb/", 1, 1), u"/media/usb/chunk 1 of 1.tmp");
  std::int32_t number = 0, out_of = 0;
  ASSERT_TRUE(ParseChunkFileName(u"/x/chunk 12 of 345.tmp", number, out_of));
  EXPECT_EQ(number, 12);
  EXPECT_EQ(out_of, 345);
  for (const char16_t* bad : {u"chunk 01 of 3.tmp", u"chunk 1 of 3.tmp.sha256", u"chunk 1 of .tmp", u"chunk -1 of 3.tmp",
                              u"Chunk 1 of 3.tmp", u"chunk 1 of 99999999999.tmp"}) {
    EXPECT_FALSE(ParseChunkFileName(bad, number, out_of)) << Utf16ToUtf8(bad);
  }
}

TEST(ChunkNames, TheRestoredNameIsTheLastPartOfTheStoredPath) {
  EXPECT_EQ(StoredSourceFileName("C:\\corpus\\big.txt"), u"big.txt");
  EXPECT_EQ(StoredSourceFileName("/home/me/big.txt"), u"big.txt");
  EXPECT_EQ(StoredSourceFileName("big.txt"), u"big.txt");
  EXPECT_EQ(StoredSourceFileName("\xC4pfel.txt"), u"\u00C4pfel.txt");  // the 8-bit code page
  EXPECT_EQ(StoredSourceFileName("C:\\corpus\\"), u"");
  EXPECT_EQ(StoredSourceFileName("..\\.."), u"");
  EXPECT_EQ(StoredSourceFileName(std::string("a\0b", 3)), u"");
}

}  // namespace
}  // namespace quill
