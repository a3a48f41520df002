// Scanning and substring search over counted buffers. Buffers are allocated to
// exactly their count, without a terminator, so a read past it is caught.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "quillrt/text/buffer_scanning.h"

namespace quill {
namespace {

const WideChar* const no_wide = nullptr;
const char* const no_bytes = nullptr;

template <class Unit>
std::unique_ptr<Unit[]> Exact(const std::basic_string<Unit>& s) {
  auto block = std::make_unique<Unit[]>(s.size());
  std::copy(s.begin(), s.end(), block.get());
  return block;
}

TEST(BufferScanning, CharacterScansStayInsideTheCount) {
  const auto wide = Exact(std::u16string(u"abc\0d", 5));
  EXPECT_EQ(FastStrScanW(wide.get(), u'd', 5), wide.get() + 4);  // past an inner NUL
  EXPECT_EQ(FastStrScanW(wide.get(), u'd', 4), nullptr);
  EXPECT_EQ(FastStrScanW(wide.get(), u'a', 0), nullptr);
  EXPECT_EQ(FastStrScanW(no_wide, u'a', 3), nullptr);

  const auto bytes = Exact(std::string("xy\xE9z"));
  EXPECT_EQ(FastStrScan(bytes.get(), '\xE9', 4), bytes.get() + 2);
  EXPECT_EQ(FastStrScan(bytes.get(), 'q', 4), nullptr);
  EXPECT_EQ(FastStrScan(bytes.get(), 'x', -1), nullptr);
  EXPECT_EQ(FastStrScan(no_bytes, 'x', 3), nullptr);

  // StrLScanW stays where it is when there is nothing to scan.
  EXPECT_EQ(StrLScanW(wide.get(), u'a', 0), wide.get());
  EXPECT_EQ(StrLScanW(no_wide, u'a', 5), nullptr);
  EXPECT_EQ(StrLScanW(wide.get(), u'c', 5), wide.get() + 2);
  EXPECT_EQ(StrLScanW(wide.get(), u'q', 5), nullptr);
}

TEST(BufferScanning, PatternSearchFindsAPatternEndingAtTheLastCountedCharacter) {
  const auto wide = Exact(std::u16string(u"abcabd"));
  EXPECT_EQ(FastStrPosW(wide.get(), u"abd", 6), wide.get() + 3);
  EXPECT_EQ(FastStrPosW(wide.get(), u"abd", 5), nullptr);  // would end beyond the count
  EXPECT_EQ(FastStrPosW(wide.get(), u"d", 6), wide.get() + 5);
  EXPECT_EQ(FastStrPosW(wide.get(), u"bca", 6), wide.get() + 1);
  EXPECT_EQ(FastStrPosW(wide.get(), u"", 6), nullptr);
  EXPECT_EQ(FastStrPosW(wide.get(), u"abcabda", 6), nullptr);
  EXPECT_EQ(FastStrPosW(wide.get(), nullptr, 6), nullptr);
  EXPECT_EQ(FastStrPosW(no_wide, u"a", 6), nullptr);

  const auto bytes = Exact(std::string("aab"));
  EXPECT_EQ(FastStrPos(bytes.get(), "ab", 3), bytes.get() + 1);  // resumes after a partial match
  EXPECT_EQ(FastStrPos(bytes.get(), "aab", 3), bytes.get());
  EXPECT_EQ(FastStrPos(bytes.get(), "b", 2), nullptr);
}

TEST(BufferScanning, TwoCaseSearch) {
  const auto wide = Exact(std::u16string(u"xx CaT"));
  EXPECT_EQ(FastStrIPosW(wide.get(), u"cat", u"CAT", 6), wide.get() + 3);
  EXPECT_EQ(FastStrIPosW(wide.get(), u"cat", u"CAT", 5), nullptr);
  EXPECT_EQ(FastStrIPosW(wide.get(), u"t", u"T", 6), wide.get() + 5);
  // Patterns of different lengths never match, even where one of them occurs.
  EXPECT_EQ(FastStrIPosW(wide.get(), u"cat", u"CA", 6), nullptr);
  EXPECT_EQ(FastStrIPosW(wide.get(), nullptr, u"CAT", 6), nullptr);

  const auto bytes = Exact(std::string("a \xE9T\xC9"));
  EXPECT_EQ(FastStrIPos(bytes.get(), "\xE9t\xE9", "\xC9T\xC9", 5), bytes.get() + 2);
  EXPECT_EQ(FastStrIPos(bytes.get(), "\xE9t", "\xC9", 5), nullptr);
}

TEST(BufferScanning, IndexScans) {
  EXPECT_EQ(StrScanIndex(u"abcabc", u'b', 1), 2);
  EXPECT_EQ(StrScanIndex(u"abcabc", u'b', 3), 5);
  EXPECT_EQ(StrScanIndex(u"abcabc", u'c', 6), 6);
  EXPECT_EQ(StrScanIndex(u"abcabc", u'c', 7), 0);
  EXPECT_EQ(StrScanIndex(u"abcabc", u'x', 1), 0);
  EXPECT_EQ(StrScanIndex(u"", u'x', 1), 0);
  EXPECT_EQ(StrScanIndex(u"abc", u'a', 0), 1);

  const std::int32_t values[] = {5, -3, 7, -3};
  EXPECT_EQ(ScanForInt(-3, values, 4), 2);
  EXPECT_EQ(ScanForInt(7, values, 2), 0);
  EXPECT_EQ(ScanForInt(8, values, 4), 0);
  EXPECT_EQ(ScanForInt(5, nullptr, 4), 0);
}

TEST(BufferScanning, ContentComparison) {
  EXPECT_EQ(HowFarEqualContentsA("abcd", "abXd", 4), 1);
  EXPECT_EQ(HowFarEqualContentsA("abcd", "abcd", 4), 0);
  EXPECT_EQ(HowFarEqualContentsA("abcd", "abcX", 4), 0);  // only the last pair differs
  EXPECT_EQ(HowFarEqualContentsA("abcd", "Xbcd", 4), 3);
  EXPECT_EQ(HowFarEqualContentsW(u"abcd", u"aXcd", 4), 2);
  EXPECT_EQ(HowFarEqualContentsW(nullptr, u"abcd", 4), 0);

  EXPECT_TRUE(EqualContentsA("abcX", "abcY", 3));
  EXPECT_FALSE(EqualContentsA("abcX", "abcY", 4));
  EXPECT_TRUE(EqualContentsW(u"ab", u"cd", 0));
  EXPECT_TRUE(EqualContentsW(u"a\0b", u"a\0b", 3));
  EXPECT_FALSE(EqualContentsW(u"a\0b", u"a\0c", 3));
  EXPECT_FALSE(EqualContentsW(nullptr, u"ab", 2));
}

}  // namespace
}  // namespace quill

namespace quill {
namespace {

// The eight-at-a-time scan must agree with a plain one wherever the unit
// lies: in the first or last lane of a block, in the tail, or nowhere; the
// buffer is exact, so a read past its end is caught by the sanitizers.
TEST(FindWideChar, AgreesWithAPlainScanAtEveryPlace) {
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t at = 0; at <= length; ++at) {
      std::u16string text(length, u'x');
      if (at < length) text[at] = u'\u2019';
      if (at + 3 < length) text[at + 3] = u'\u2019';  // a later one is not the answer
      const auto block = Exact(text);
      const WideChar* begin = block.get();
      const WideChar* end = begin + length;
      EXPECT_EQ(FindWideChar(begin, end, u'\u2019'), std::find(begin, end, u'\u2019'))
          << "length " << length << " at " << at;
    }
  }
  // The high byte of a unit alone never matches.
  const auto mixed = Exact(std::u16string(u"\u2018\u1920\u0020\u2019"));
  EXPECT_EQ(FindWideChar(mixed.get(), mixed.get() + 4, u'\u2019'), mixed.get() + 3);
}

}  // namespace
}  // namespace quill
