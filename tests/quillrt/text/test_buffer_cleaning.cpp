// In-place cleaning over counted buffers. Each buffer is allocated to exactly
// its count, so a terminator written past the end would be caught.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "quillrt/text/buffer_cleaning.h"

namespace quill {
namespace {

// The text left in an exact-size copy of `s` after `op`, cut to the length op returns.
template <class Unit>
std::basic_string<Unit> Cleaned(const std::basic_string<Unit>& s,
                                const std::function<std::int32_t(Unit*, std::int32_t)>& op) {
  auto block = std::make_unique<Unit[]>(s.size());
  std::copy(s.begin(), s.end(), block.get());
  const std::int32_t length = op(block.get(), static_cast<std::int32_t>(s.size()));
  return std::basic_string<Unit>(block.get(), block.get() + length);
}

// The whole exact-size copy after `op`, for operations that keep the length.
template <class Unit>
std::basic_string<Unit> InPlace(const std::basic_string<Unit>& s, const std::function<void(Unit*, std::int32_t)>& op) {
  return Cleaned<Unit>(s, [&](Unit* b, std::int32_t n) {
    op(b, n);
    return n;
  });
}

using W = std::u16string;
using A = std::string;

TEST(BufferCleaning, ReplacingBySpace) {
  EXPECT_EQ(InPlace<WideChar>(u"xa\tb\x01y", ReplaceControlCharsBySpaceW), u"xa b y");
  EXPECT_EQ(InPlace<char>(A("a\0b\x1F\x7F\xE9", 6), ReplaceControlCharsBySpaceA), "a b \x7F\xE9");
  EXPECT_EQ(InPlace<char>("a\tb\t", ReplaceTabsBySpace), "a b ");
  EXPECT_EQ(InPlace<char>("a;b;", [](char* b, std::int32_t n) { ReplaceCharacterBySpace(b, ';', n); }), "a b ");
  EXPECT_EQ(InPlace<WideChar>(u"a\u00E9b", [](WideChar* b, std::int32_t n) { ReplaceCharacterBySpaceW(b, 0xE9, n); }),
            u"a b");
  EXPECT_EQ(InPlace<WideChar>(u"abab", [](WideChar* b, std::int32_t n) { ReplaceChar1ByChar2W(b, u'a', u'x', n); }),
            u"xbxb");
  // Only part of the buffer when the count says so.
  EXPECT_EQ(InPlace<WideChar>(u"\t\t", [](WideChar* b, std::int32_t) { ReplaceControlCharsBySpaceW(b, 1); }),
            u" \t");
}

TEST(BufferCleaning, CarriageReturns) {
  EXPECT_EQ(InPlace<WideChar>(u"a\r\nb\nc\rd\r", ReplaceCarriageReturnsBySpaceW), u"a  b\nc d ");
  EXPECT_EQ(InPlace<char>("a\r\nb\nc\rd\r", ReplaceCarriageReturnsBySpaceA), "a  b\nc d ");
  // The LF after a CR is left alone when it lies outside the count.
  EXPECT_EQ(InPlace<char>("a\r\n", [](char* b, std::int32_t) { ReplaceCarriageReturnsBySpaceA(b, 2); }), "a \n");
}

TEST(BufferCleaning, RemovingCharacters) {
  EXPECT_EQ(Cleaned<char>("a-b--c-", [](char* b, std::int32_t n) { return RemoveCharA(b, '-', n); }), "abc");
  EXPECT_EQ(Cleaned<WideChar>(u"-", [](WideChar* b, std::int32_t n) { return RemoveCharW(b, u'-', n); }), u"");
  // Nothing removed: the text keeps its length and nothing is written after it.
  EXPECT_EQ(Cleaned<WideChar>(u"abc", [](WideChar* b, std::int32_t n) { return RemoveCharW(b, u'-', n); }), u"abc");
  // When the text got shorter, a NUL follows the new end.
  EXPECT_EQ(InPlace<char>("ab-c", [](char* b, std::int32_t n) { RemoveCharA(b, '-', n); }), A("abc\0", 4));

  EXPECT_EQ(Cleaned<char>("a\nb\r\nc\n", LengthConvertedToUnix), "ab\rc");
}

TEST(BufferCleaning, DoubleLineBreaks) {
  EXPECT_EQ(Cleaned<WideChar>(u"\r\n\r\n\r\nx", CutDoubleCRLFsW), u"\r\nx");
  EXPECT_EQ(Cleaned<WideChar>(u"a\r\nb\r\n\r\n", CutDoubleCRLFsW), u"a\r\nb\r\n");
  EXPECT_EQ(Cleaned<WideChar>(u"a\r\r\n\n\r\nb", CutDoubleCRLFsW), u"a\r\r\n\n\r\nb");  // not pairs in a row
  EXPECT_EQ(InPlace<WideChar>(u"\r\n\r\nx", [](WideChar* b, std::int32_t n) { CutDoubleCRLFsW(b, n); }),
            W(u"\r\nx\0x", 5));
}

TEST(BufferCleaning, RedundantSpaces) {
  EXPECT_EQ(Cleaned<WideChar>(u"a  b", RemoveRedundantSpaceW), u"a b");
  // The character after a run is kept, also when it is the last one.
  EXPECT_EQ(Cleaned<WideChar>(u"   a    b", RemoveRedundantSpaceW), u" a b");
  EXPECT_EQ(Cleaned<WideChar>(u"ab  ", RemoveRedundantSpaceW), u"ab ");
  EXPECT_EQ(Cleaned<WideChar>(u"a b", RemoveRedundantSpaceW), u"a b");
  EXPECT_EQ(InPlace<WideChar>(u"a  b", [](WideChar* b, std::int32_t n) { RemoveRedundantSpaceW(b, n); }),
            W(u"a b\0", 4));
}

TEST(BufferCleaning, SpansBetweenDelimiters) {
  const auto clear = [](char* b, std::int32_t n) { return ClearBetweenChars(b, '<', '>', n); };
  EXPECT_EQ(Cleaned<char>("a<b>c<d", clear), "acd");
  EXPECT_EQ(Cleaned<char>("<x><y>", clear), "");
  EXPECT_EQ(Cleaned<char>("a>b", clear), "a>b");

  const auto blank = [](std::int32_t span) {
    return [span](char* b, std::int32_t n) { return CleanBetweenChars(b, '<', '>', n, span, false); };
  };
  const auto remove = [](std::int32_t span) {
    return [span](char* b, std::int32_t n) { return CleanBetweenChars(b, '<', '>', n, span, true); };
  };
  EXPECT_EQ(Cleaned<char>("a<bc>d", blank(4)), "a    d");
  EXPECT_EQ(Cleaned<char>("a<bc>d", remove(4)), "ad");
  // The close character lies one beyond reach: the open character goes alone.
  EXPECT_EQ(Cleaned<char>("a<bc>d", remove(3)), "abc>d");
  EXPECT_EQ(Cleaned<char>("a<bc>d", blank(3)), "abc>d");
  EXPECT_EQ(Cleaned<char>("<>x", remove(1)), ">x");
}

TEST(BufferCleaning, Filling) {
  EXPECT_EQ(InPlace<WideChar>(u"abcd", [](WideChar* b, std::int32_t) { BlankOutSomeBytesW(b, 3); }), u"   d");
  EXPECT_EQ(InPlace<char>("abcd", [](char* b, std::int32_t) { BlankOutSomeBytesA(b, -2); }), "abcd");
  EXPECT_EQ(InPlace<WideChar>(u"abcd", [](WideChar* b, std::int32_t) { ZeroSomeBytesW(b, 2); }), W(u"\0\0cd", 4));
  // A size in bytes: an odd byte is not a unit.
  EXPECT_EQ(InPlace<WideChar>(u"abcd", [](WideChar* b, std::int32_t) { FillWChar(b, 5, u'z'); }), u"zzcd");
}

TEST(BufferCleaning, SwappingTwoStrings) {
  const auto swap = [](std::int32_t first, std::int32_t second) {
    return [=](WideChar* b, std::int32_t) { Swap2Strings(b, first, second); };
  };
  EXPECT_EQ(InPlace<WideChar>(u"abcXY", swap(3, 2)), u"XYabc");
  EXPECT_EQ(InPlace<WideChar>(u"abcdXY", swap(4, 2)), u"XYabcd");  // two cycles
  EXPECT_EQ(InPlace<WideChar>(u"abcdefXYZ", swap(6, 3)), u"XYZabcdef");
  EXPECT_EQ(InPlace<WideChar>(u"aXYZW", swap(1, 4)), u"XYZWa");
  EXPECT_EQ(InPlace<WideChar>(u"abc", swap(3, 0)), u"abc");
  EXPECT_EQ(InPlace<WideChar>(W(u"\0bc", 3), swap(1, 2)), W(u"\0bc", 3));
  // Every split of a longer text.
  const W text = u"0123456789abcdefghijklmnopqrstuvwxyz";
  for (std::int32_t first = 1; first < static_cast<std::int32_t>(text.size()); ++first) {
    const std::int32_t second = static_cast<std::int32_t>(text.size()) - first;
    EXPECT_EQ(InPlace<WideChar>(text, swap(first, second)), text.substr(first) + text.substr(0, first));
  }
}

TEST(BufferCleaning, ExpandingTabs) {
  EXPECT_EQ(ExpandTabbedWideString(u"a\tb\t", 3), u"a   b   ");
  EXPECT_EQ(ExpandTabbedWideString(u"a\tb", 0), u"ab");
  EXPECT_EQ(ExpandTabbedWideString(u"", 4), u"");
}

TEST(BufferCleaning, SearchAndReplaceInPlace) {
  const auto replace = [](const WideChar* find, std::int32_t find_length, const WideChar* by) {
    return [=](WideChar* b, std::int32_t n) { return SearchAndReplaceFastW(b, find, by, n, find_length); };
  };
  EXPECT_EQ(Cleaned<WideChar>(u"a--b--", replace(u"--", 2, u"-")), u"a-b-");
  EXPECT_EQ(Cleaned<WideChar>(u"abab", replace(u"ab", 2, u"xy")), u"xyxy");
  EXPECT_EQ(Cleaned<WideChar>(u"aaa", replace(u"aa", 2, u"b")), u"ba");  // left to right, no overlap
  EXPECT_EQ(Cleaned<WideChar>(u"x<br>y", replace(u"<br>", 4, nullptr)), u"xy");
  EXPECT_EQ(Cleaned<WideChar>(u"abc", replace(u"cd", 2, u"")), u"abc");  // would run past the count
  // Only the first find_length units of find are sought.
  EXPECT_EQ(Cleaned<WideChar>(u"abxab", replace(u"abc", 2, u"Z")), u"ZxZ");
  // A longer replacement cannot fit: nothing changes.
  WideChar text[] = {u'a', u'b'};
  EXPECT_EQ(SearchAndReplaceFastW(text, u"a", u"xyz", 2, 1), -1);
  EXPECT_EQ(W(text, 2), u"ab");
}

}  // namespace
}  // namespace quill
