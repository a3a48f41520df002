#include <gtest/gtest.h>

#include <string>

#include "collections_test_support.h"
#include "quillrt/collections/stream_forms.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::Bytes;
using testing::BytesOf;
using testing::Concat;
using testing::Fill;
using testing::Int32LE;

// Restores the global reading limit whatever a test does to it.
class StreamForms : public ::testing::Test {
 protected:
  void TearDown() override { global_string_safety_limit = 5000; }
  TMemoryStream stream;
};

template <class Error>
void ExpectReadError(const std::function<void()>& read, const char* message) {
  try {
    read();
    ADD_FAILURE() << "no exception, expected " << message;
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST_F(StreamForms, CountedStringLayoutAndRoundTrip) {
  WriteAString(stream, u"");
  WriteAString(stream, u"AB");
  const UnicodeString astral = u"x\U0001F600y";  // a surrogate pair survives unchanged
  WriteAString(stream, astral);
  EXPECT_EQ(BytesOf(stream), Concat({Int32LE(0), Int32LE(2), {0x41, 0, 0x42, 0}, Int32LE(4),
                                     {'x', 0, 0x3D, 0xD8, 0x00, 0xDE, 'y', 0}}));

  stream.SetPosition(0);
  global_string_safety_limit = -1;  // the empty string never consults the limit
  EXPECT_EQ(ReadAString(stream), u"");
  global_string_safety_limit = 5000;
  EXPECT_EQ(ReadAString(stream), u"AB");
  EXPECT_EQ(ReadAString(stream), astral);
  EXPECT_EQ(stream.GetPosition(), stream.GetSize());
}

TEST_F(StreamForms, CountedStringLimit) {
  global_string_safety_limit = 3;
  WriteAString(stream, u"abcd");
  stream.SetPosition(0);
  ExpectReadError<EStreamError>([&] { ReadAString(stream); }, "file read error : ReadAString");

  global_string_safety_limit = 4;
  stream.SetPosition(0);
  EXPECT_EQ(ReadAString(stream), u"abcd");

  stream.SetPosition(0);
  EXPECT_THROW(ReadAString(stream, 3), EStreamError);
  stream.SetPosition(0);
  EXPECT_EQ(ReadAString(stream, 4), u"abcd");
}

TEST_F(StreamForms, CountedStringDamage) {
  // Negative count.
  Fill(stream, Int32LE(-1));
  ExpectReadError<EStreamError>([&] { ReadAString(stream); }, "file read error : ReadAString");
  // The stream ends inside the count, or before it.
  Fill(stream, {2, 0});
  ExpectReadError<EReadError>([&] { ReadAString(stream); }, "file read error : ReadAString");
  Fill(stream, {});
  EXPECT_THROW(ReadAString(stream), EReadError);
  // The stream ends inside the text.
  Fill(stream, Concat({Int32LE(3), {'a', 0, 'b', 0, 'c'}}));
  ExpectReadError<EReadError>([&] { ReadAString(stream); }, "file read error : ReadAString");
  // A huge count on a tiny stream is refused before anything is allocated.
  Fill(stream, Concat({Int32LE(0x7FFFFFFF), {'a', 0}}));
  EXPECT_THROW(ReadAString(stream, 0x7FFFFFFF), EReadError);
}

TEST_F(StreamForms, ShortString) {
  EXPECT_TRUE(WriteShortString(stream, "abc"));
  EXPECT_TRUE(WriteShortString(stream, ""));
  const std::string longest(255, 'z');
  EXPECT_TRUE(WriteShortString(stream, longest));
  EXPECT_EQ(Bytes(BytesOf(stream).begin(), BytesOf(stream).begin() + 5), (Bytes{3, 'a', 'b', 'c', 0}));
  EXPECT_EQ(BytesOf(stream)[5], 255);

  // More than the length byte can say is refused, and nothing is written: the
  // old form wrote length mod 256 and silently dropped the rest.
  const auto size_before = stream.GetSize();
  ExpectReadError<EWriteError>([&] { WriteShortString(stream, std::string(300, 'q')); },
                               "file write error : WriteShortString");
  EXPECT_EQ(stream.GetSize(), size_before);

  stream.SetPosition(0);
  EXPECT_EQ(ReadShortString(stream), "abc");
  EXPECT_EQ(ReadShortString(stream), "");
  EXPECT_EQ(ReadShortString(stream), longest);
  ExpectReadError<EReadError>([&] { ReadShortString(stream); }, "file read error : ReadShortString");

  Fill(stream, {5, 'a', 'b'});
  EXPECT_THROW(ReadShortString(stream), EReadError);
}

TEST_F(StreamForms, MyFileStreamWritesShortStrings) {
  testing::TempDir dir;
  {
    TMyFileStream file(dir.File("short.bin"), fmCreate);
    EXPECT_TRUE(file.WriteAShortString("hi"));
    EXPECT_THROW(file.WriteAShortString(std::string(256, 'x')), EWriteError);
  }
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("short.bin")), (Bytes{2, 'h', 'i'}));
}

TEST_F(StreamForms, AnsiPcharLayoutLimitsAndRoundTrip) {
  EXPECT_EQ(WriteAnsiPchar(stream, "abc"), 3);
  EXPECT_EQ(BytesOf(stream), (Bytes{3, 0, 'a', 'b', 'c'}));
  EXPECT_EQ(WriteAnsiPchar(stream, nullptr), 0);
  const std::string longest(65535, 'm');
  EXPECT_EQ(WriteAnsiPchar(stream, longest.c_str()), 65535);

  // 65536 bytes would wrap the two-byte count to 0 while all bytes followed it.
  const auto size_before = stream.GetSize();
  const std::string too_long(65536, 'w');
  EXPECT_THROW(WriteAnsiPchar(stream, too_long.c_str()), EWriteError);
  EXPECT_EQ(stream.GetSize(), size_before);

  stream.SetPosition(0);
  UniquePAnsichar abc(ReadAnsiPchar(stream));
  EXPECT_EQ(std::string(abc.get(), 4), std::string("abc\0", 4));
  UniquePAnsichar empty(ReadAnsiPchar(stream));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty[0], '\0');
  UniquePAnsichar big(ReadAnsiPchar(stream));
  EXPECT_EQ(std::string(big.get()), longest);

  Fill(stream, {4, 0, 'a', 'b'});
  ExpectReadError<EReadError>([&] { DeletePAnsichar(ReadAnsiPchar(stream)); }, "file read error : ReadAnsiPchar");
  Fill(stream, {4});
  EXPECT_THROW(DeletePAnsichar(ReadAnsiPchar(stream)), EReadError);
}

TEST_F(StreamForms, WidePcharSharesTheCountedBufferBytes) {
  WriteWidePchar(stream, u"hey");
  WriteWidePchar(stream, nullptr);
  TMemoryStream counted;
  EXPECT_TRUE(WriteUnknownLengthPointer(counted, u"hey", true));
  EXPECT_TRUE(WriteUnknownLengthPointer(counted, nullptr, true));
  EXPECT_EQ(BytesOf(stream), BytesOf(counted));
  EXPECT_EQ(BytesOf(stream), Concat({Int32LE(3), {'h', 0, 'e', 0, 'y', 0}, Int32LE(0)}));

  stream.SetPosition(0);
  UniquePWideChar hey(ReadWidePchar(stream));
  EXPECT_EQ(UnicodeString(hey.get()), u"hey");
  UniquePWideChar none(ReadWidePchar(stream));
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none[0], u'\0');

  Fill(stream, Int32LE(-5));
  ExpectReadError<EStreamError>([&] { DeletePWideChar(ReadWidePchar(stream)); }, "file read error : ReadWidePchar");
  Fill(stream, Concat({Int32LE(0x40000000), {'a', 0}}));
  EXPECT_THROW(DeletePWideChar(ReadWidePchar(stream)), EReadError);
}

TEST_F(StreamForms, CountedBufferWriters) {
  // Known length: only the first N characters; 8-bit mode writes bytes.
  EXPECT_TRUE(WriteKnownLengthPointer(stream, u"abc", true, 2));
  EXPECT_TRUE(WriteKnownLengthPointer(stream, "xyz", false, 3));
  // A negative count or a null buffer is the empty buffer, never a count that
  // no reader would accept.
  EXPECT_TRUE(WriteKnownLengthPointer(stream, u"abc", true, -7));
  EXPECT_TRUE(WriteKnownLengthPointer(stream, nullptr, false, 12));
  EXPECT_EQ(BytesOf(stream),
            Concat({Int32LE(2), {'a', 0, 'b', 0}, Int32LE(3), {'x', 'y', 'z'}, Int32LE(0), Int32LE(0)}));

  // Short writes are reported, for the count as well as for the characters.
  testing::LimitedStream tiny(2);
  EXPECT_FALSE(WriteKnownLengthPointer(tiny, "abc", false, 3));
  testing::LimitedStream six(6);
  EXPECT_FALSE(WriteKnownLengthPointer(six, "abc", false, 3));
  testing::LimitedStream three(3);
  EXPECT_FALSE(WriteKnownLengthPointer(three, nullptr, false, 0));
}

TEST_F(StreamForms, CountedBufferReaders) {
  WriteUnknownLengthPointer(stream, nullptr, true);
  WriteUnknownLengthPointer(stream, "", false);
  WriteUnknownLengthPointer(stream, u"wide", true);
  WriteUnknownLengthPointer(stream, "narrow", false);
  EXPECT_EQ(Bytes(BytesOf(stream).begin(), BytesOf(stream).begin() + 8), Bytes(8, 0));

  stream.SetPosition(0);
  // An empty buffer reads back as a new empty buffer, never as null.
  void* empty_wide = ReadUnknownLengthPointer(stream, true);
  ASSERT_NE(empty_wide, nullptr);
  EXPECT_EQ(static_cast<WideChar*>(empty_wide)[0], u'\0');
  DeletePWideChar(static_cast<WideChar*>(empty_wide));
  UniquePAnsichar empty_narrow(ReadUnknownLengthAnsi(stream));
  ASSERT_NE(empty_narrow, nullptr);
  EXPECT_EQ(empty_narrow[0], '\0');
  EXPECT_EQ(temp_pointer_chars_allocated, 0);

  UniquePWideChar wide(ReadUnknownLengthWide(stream));
  EXPECT_EQ(UnicodeString(wide.get()), u"wide");
  EXPECT_EQ(temp_pointer_chars_allocated, 4);
  UniquePAnsichar narrow(static_cast<char*>(ReadUnknownLengthPointerMaxSize(stream, false, 6)));
  EXPECT_EQ(std::string(narrow.get()), "narrow");
  EXPECT_EQ(temp_pointer_chars_allocated, 6);
}

TEST_F(StreamForms, CountedBufferDamage) {
  const char* kMessage = "file read error : ReadUnknownLengthPointer";
  // Above the given limit, and above the 50000 of the unlimited-looking reader.
  WriteUnknownLengthPointer(stream, "narrow", false);
  stream.SetPosition(0);
  ExpectReadError<EStreamError>([&] { ReadUnknownLengthAnsi(stream, 5); }, kMessage);
  EXPECT_EQ(temp_pointer_chars_allocated, 6);

  Fill(stream, Int32LE(50001));
  ExpectReadError<EStreamError>([&] { ReadUnknownLengthPointer(stream, false); }, kMessage);
  Fill(stream, Int32LE(-1));
  ExpectReadError<EStreamError>([&] { ReadUnknownLengthWide(stream); }, kMessage);
  // Truncated count and truncated text.
  Fill(stream, {1, 0, 0});
  ExpectReadError<EReadError>([&] { ReadUnknownLengthWide(stream); }, kMessage);
  EXPECT_EQ(temp_pointer_chars_allocated, 0);
  Fill(stream, Concat({Int32LE(3), {'a', 0, 'b'}}));
  ExpectReadError<EReadError>([&] { ReadUnknownLengthWide(stream); }, kMessage);
  Fill(stream, Concat({Int32LE(0x7FFFFFFF), {'a'}}));
  EXPECT_THROW(ReadUnknownLengthAnsi(stream, 0x7FFFFFFF), EReadError);
}

}  // namespace
}  // namespace quill
