// UTF-8 <-> UTF-16 at the file boundary, and the byte streams every stored
// structure is written through.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "quillrt/framework/file_names.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "test_support.h"

namespace quill {
namespace {

using quill::testing::ReadAllBytes;
using quill::testing::TempDir;

TEST(Utf, RoundTripsEveryPlane) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z
  const UnicodeString wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, (UnicodeString{u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00, u'z'}));
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf, IllFormedInputIsReplacedNotDropped) {
  // A lone continuation byte, a truncated 3-byte sequence, an encoded surrogate.
  EXPECT_EQ(Utf8ToUtf16("a\x80" "b"), (UnicodeString{u'a', 0xFFFD, u'b'}));
  EXPECT_EQ(Utf8ToUtf16("a\xE2\x82"), (UnicodeString{u'a', 0xFFFD}));
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), (UnicodeString{0xFFFD, 0xFFFD, 0xFFFD}));
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), (UnicodeString{0xFFFD, 0xFFFD}));  // overlong
  // An unpaired surrogate on the way out.
  EXPECT_EQ(Utf16ToUtf8(UnicodeString{u'x', 0xD800}), "x\xEF\xBF\xBD");
}

TEST(Utf, FileNamesKeepTheirBytesWhetherUtf8OrNot) {
  // Latin-1, a truncated sequence, an encoded surrogate and a stray byte among
  // well-formed UTF-8: every name comes back byte for byte.
  for (const std::string name : {"caf\xE9.txt", "a\xE2\x82", "\xED\xA0\x80", "\xC3\xA9t\xE9\xFF",
                                 "/plain/\xF0\x9F\x98\x80"}) {
    EXPECT_EQ(FileNameToBytes(FileNameToUtf16(name)), name);
  }
  // Well-formed UTF-8 reads as it always did; a bad byte is told apart from a
  // real character.
  EXPECT_EQ(FileNameToUtf16("caf\xC3\xA9"), Utf8ToUtf16("caf\xC3\xA9"));
  EXPECT_EQ(FileNameToUtf16("caf\xE9"), (UnicodeString{u'c', u'a', u'f', 0xDCE9}));
  EXPECT_NE(FileNameToUtf16("\xC3\xA9"), FileNameToUtf16("\xE9"));
  // Unpaired surrogates that stand for no byte still leave as U+FFFD.
  EXPECT_EQ(FileNameToBytes(UnicodeString{u'x', 0xD800, u'y', 0xDC10}), "x\xEF\xBF\xBDy\xEF\xBF\xBD");

  // And such a name is opened by its bytes.
  TempDir dir;
  const std::string bytes = dir.path().string() + "/caf\xE9.txt";
  const UnicodeString name = FileNameToUtf16(bytes);
  {
    TFileStream out(name, fmCreate);
    out.WriteLE<std::uint8_t>(7);
  }
  EXPECT_TRUE(std::filesystem::exists(bytes));
  EXPECT_EQ(ReadAllBytes(bytes), std::vector<unsigned char>{7});
}

TEST(MemoryStream, ReadsWritesAndSeeksLikeAFile) {
  TMemoryStream s;
  s.WriteLE<std::int32_t>(-2);
  s.WriteLE<std::uint16_t>(0xABCD);
  s.WriteLE<double>(1.5);
  EXPECT_EQ(s.GetSize(), 14);
  EXPECT_EQ(s.Bytes()[0], 0xFE);
  EXPECT_EQ(s.Bytes()[3], 0xFF);
  EXPECT_EQ(s.Bytes()[4], 0xCD);

  s.SetPosition(0);
  EXPECT_EQ(s.ReadLE<std::int32_t>(), -2);
  EXPECT_EQ(s.ReadLE<std::uint16_t>(), 0xABCD);
  EXPECT_EQ(s.ReadLE<double>(), 1.5);

  // Writing past the end after a seek extends the stream.
  s.Seek(2, TSeekOrigin::soEnd);
  s.WriteLE<std::uint8_t>(7);
  EXPECT_EQ(s.GetSize(), 17);
  EXPECT_EQ(s.Bytes()[14], 0);
}

TEST(MemoryStream, ShortReadsAreReportedOrRaised) {
  TMemoryStream s;
  s.WriteLE<std::uint16_t>(1);
  s.SetPosition(0);
  std::int32_t value = 99;
  EXPECT_FALSE(s.TryReadLE(value));
  EXPECT_EQ(value, 0);

  s.SetPosition(0);
  char buffer[4];
  EXPECT_EQ(s.Read(buffer, 4), 2);
  EXPECT_EQ(s.Read(buffer, 4), 0);
  s.SetPosition(1);
  EXPECT_THROW(s.ReadBuffer(buffer, 2), EReadError);
  EXPECT_THROW(s.ReadLE<std::int64_t>(), EReadError);
}

TEST(FileStream, FailedOpenNamesTheFileAndTheReason) {
  TempDir dir;
  const UnicodeString missing = dir.File("no-such-file.bin");
  try {
    TFileStream f(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("no-such-file.bin"), std::string::npos) << message;
    EXPECT_NE(message.find("No such file"), std::string::npos) << message;
  }
  EXPECT_THROW(TFileStream(dir.File("sub/x.bin"), fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(Utf8ToUtf16(dir.path().string()), fmOpenRead), EFOpenError);
}

TEST(FileStream, ModesCreateTruncateAndAppend) {
  TempDir dir;
  const UnicodeString name = dir.File("f.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteLE<std::uint32_t>(0x04030201);
  }
  {
    TFileStream f(name, fmOpenReadWrite | fmShareDenyNone);
    EXPECT_EQ(f.GetSize(), 4);
    f.Seek(0, TSeekOrigin::soEnd);
    f.WriteLE<std::uint8_t>(5);
  }
  EXPECT_EQ(ReadAllBytes(dir.Path("f.bin")), (std::vector<unsigned char>{1, 2, 3, 4, 5}));
  {
    TFileStream f(name, fmOpenRead);
    char byte;
    EXPECT_EQ(f.Write(&byte, 1), 0);  // read-only handle
    EXPECT_THROW(f.WriteBuffer(&byte, 1), EWriteError);
  }
  { TFileStream f(name, fmCreate); }
  EXPECT_TRUE(ReadAllBytes(dir.Path("f.bin")).empty());
}

TEST(WriteFileAtomically, ReplacesOnlyOnSuccess) {
  TempDir dir;
  const UnicodeString name = dir.File("list.dat");
  quill::testing::WriteText(dir.Path("list.dat"), "old");

  // A writer that fails half way leaves the old file as it was, and no debris.
  EXPECT_THROW(WriteFileAtomically(name,
                                   [](TStream& out) -> bool {
                                     out.WriteLE<std::uint32_t>(1);
                                     throw EWriteError(std::string_view("disk full"));
                                   }),
               EWriteError);
  EXPECT_FALSE(WriteFileAtomically(name, [](TStream& out) {
    out.WriteLE<std::uint32_t>(1);
    return false;
  }));
  EXPECT_EQ(ReadAllBytes(dir.Path("list.dat")), (std::vector<unsigned char>{'o', 'l', 'd'}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  EXPECT_TRUE(WriteFileAtomically(name, [](TStream& out) {
    out.WriteLE<std::uint16_t>(0x0A0B);
    return true;
  }));
  EXPECT_EQ(ReadAllBytes(dir.Path("list.dat")), (std::vector<unsigned char>{0x0B, 0x0A}));
}

TEST(MemoryStream, CopiesToAndFromFiles) {
  TempDir dir;
  TMemoryStream out;
  out.WriteLE<std::uint64_t>(0x1122334455667788ULL);
  out.SaveToFile(dir.File("m.bin"));

  TMemoryStream in;
  in.LoadFromFile(dir.File("m.bin"));
  EXPECT_EQ(in.GetPosition(), 0);
  EXPECT_EQ(in.ReadLE<std::uint64_t>(), 0x1122334455667788ULL);

  TMemoryStream copy;
  EXPECT_EQ(copy.CopyFrom(in, 0), 8);
  EXPECT_EQ(copy.Bytes(), in.Bytes());
}

}  // namespace
}  // namespace quill
