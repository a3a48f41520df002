// Byte-order marks, UTF-8 signatures, counting UTF-8 characters and the quick
// well-formedness check.
#include <gtest/gtest.h>

#include <string>

#include "quillrt/process/yield.h"
#include "quillrt/text/unicode_signatures.h"

namespace quill {
namespace {

TEST(ByteOrder, SignaturesAndSwapping) {
  WideChar little[] = {0xFEFF, u'a', 0};
  WideChar swapped[] = {0xFFFE, 0x6100, 0x0062, 0};
  WideChar plain[] = {u'a', 0};
  EXPECT_EQ(UnicodeSigned(little), little);
  EXPECT_EQ(UnicodeSigned(swapped), swapped);
  EXPECT_EQ(UnicodeSigned(plain), nullptr);
  EXPECT_EQ(UnicodeByteReversed(swapped), swapped);
  EXPECT_EQ(UnicodeByteReversed(little), nullptr);
  EXPECT_EQ(UnicodeSigned(static_cast<WideChar*>(nullptr)), nullptr);
  EXPECT_EQ(UnicodeByteReversed(static_cast<WideChar*>(nullptr)), nullptr);

  EXPECT_EQ(StrSwapByteOrder(swapped), swapped);
  EXPECT_EQ(swapped[0], 0xFEFF);
  EXPECT_EQ(swapped[1], u'a');
  EXPECT_EQ(swapped[2], 0x6200);
  EXPECT_EQ(swapped[3], 0);  // stops at the terminating zero
  EXPECT_EQ(StrSwapByteOrder(nullptr), nullptr);
}

TEST(Utf8Signature, AllForms) {
  EXPECT_TRUE(IsUTF8Signature(TThreeBytes{0xEF, 0xBB, 0xBF}));
  EXPECT_FALSE(IsUTF8Signature(TThreeBytes{0xEF, 0xBB, 0xBE}));
  EXPECT_TRUE(IsUTF8SignatureA("\xEF\xBB\xBFtext"));
  EXPECT_FALSE(IsUTF8SignatureA("\xEF"));  // stops at the NUL
  EXPECT_FALSE(IsUTF8SignatureA(nullptr));
  const WideChar read_bytewise[] = {0xEF, 0xBB, 0xBF, u'x', 0};
  EXPECT_TRUE(IsUTF8SignatureW(read_bytewise));
  EXPECT_FALSE(IsUTF8SignatureW(u"\uFEFF"));
  EXPECT_FALSE(IsUTF8SignatureW(nullptr));
  EXPECT_EQ(UTF8SignatureAsUTF8String(), "\xEF\xBB\xBF");
}

TEST(Utf8Length, CountsByLeadBytes) {
  EXPECT_EQ(UTF8LengthInChars(""), 0u);
  EXPECT_EQ(UTF8LengthInChars("abc"), 3u);
  EXPECT_EQ(UTF8LengthInChars("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), 4u);
  // A cut final sequence or a stray continuation byte: the byte length.
  EXPECT_EQ(UTF8LengthInChars("ab\xE2\x82"), 4u);
  EXPECT_EQ(UTF8LengthInChars("ab\xE2"), 3u);
  EXPECT_EQ(UTF8LengthInChars("a\x80" "bc"), 4u);
  EXPECT_EQ(UTF8LengthInChars("a\xFF"), 2u);
  // Five- and six-byte lead bytes are counted as such.
  EXPECT_EQ(UTF8LengthInChars("\xF8\x80\x80\x80\x80" "a"), 2u);
  EXPECT_EQ(UTF8LengthInChars("\xFC\x80\x80\x80\x80\x80"), 1u);
}

TEST(CheckedUtf, StopsAtTheFirstMultiByteSequence) {
  bool all_ascii = false;
  EXPECT_TRUE(CheckedUTF("plain ascii", all_ascii));
  EXPECT_TRUE(all_ascii);
  EXPECT_TRUE(CheckedUTF("", all_ascii));
  EXPECT_TRUE(all_ascii);
  // A legal pair, then an invalid byte that is never reached.
  EXPECT_TRUE(CheckedUTF("a\xC3\xA9\xFF", all_ascii));
  EXPECT_FALSE(all_ascii);
  EXPECT_TRUE(CheckedUTF("\xF0\x9F\x98\x80", all_ascii));
  EXPECT_FALSE(all_ascii);
}

TEST(CheckedUtf, IllegalSequences) {
  bool all_ascii = false;
  EXPECT_FALSE(CheckedUTF("a\x80", all_ascii));            // a lone continuation byte
  EXPECT_FALSE(CheckedUTF("\xC1\xBF", all_ascii));         // overlong lead
  EXPECT_FALSE(CheckedUTF("\xE0\x80\x80", all_ascii));     // overlong three-byte form
  EXPECT_FALSE(CheckedUTF("\xF0\x80\x80\x80", all_ascii)); // overlong four-byte form
  EXPECT_FALSE(CheckedUTF("\xF4\x90\x80\x80", all_ascii)); // beyond U+10FFFF
  EXPECT_FALSE(CheckedUTF("\xF5\x80\x80\x80", all_ascii));
  EXPECT_FALSE(CheckedUTF("\xF8\x88\x80\x80\x80", all_ascii));  // five bytes
  EXPECT_FALSE(CheckedUTF("\xC3" "a", all_ascii));         // missing continuation
  EXPECT_FALSE(CheckedUTF("ab\xE2\x82", all_ascii));       // runs past the end
  EXPECT_TRUE(CheckedUTF("\xE0\xA0\x80", all_ascii));      // the smallest legal three-byte form
}

TEST(CheckedUtf, YieldsOncePerPosition) {
  int calls = 0;
  AYieldProcessProc = [&calls] { ++calls; };
  bool all_ascii = false;
  CheckedUTF("abc\xC3\xA9z", all_ascii);
  AYieldProcessProc = nullptr;
  EXPECT_EQ(calls, 4);  // a, b, c and the pair
}

// Without a hook, runs of ASCII are passed over in blocks: the answers must
// be those of the byte-by-byte walk that runs with one, wherever the first
// non-ASCII byte falls against the blocks.
TEST(CheckedUtf, BlocksOfAsciiGiveTheSameAnswersAsTheHookedWalk) {
  const std::string tails[] = {"\xC3\xA9", "\x80", "\xE2\x82", "\xC3", "", "\xF0\x9F\x98\x80"};
  int calls = 0;
  for (std::size_t ascii = 0; ascii <= 20; ++ascii) {
    for (const std::string& tail : tails) {
      const std::string text = std::string(ascii, 'a') + tail + "bc";
      bool quick_ascii = false, hooked_ascii = false;
      AYieldProcessProc = nullptr;
      const bool quick = CheckedUTF(text, quick_ascii);
      AYieldProcessProc = [&calls] { ++calls; };
      const bool hooked = CheckedUTF(text, hooked_ascii);
      AYieldProcessProc = nullptr;
      EXPECT_EQ(quick, hooked) << text;
      EXPECT_EQ(quick_ascii, hooked_ascii) << text;
    }
  }
  EXPECT_GT(calls, 0);
}

}  // namespace
}  // namespace quill
