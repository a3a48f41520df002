// Code-page conversion: round trips through single- and double-byte pages,
// the size query and failure conventions, unmapped characters and bytes.
#include <gtest/gtest.h>

#include <string>

#include "quillrt/platform/code_pages.h"

namespace quill {
namespace {

std::u16string Decode(std::uint32_t code_page, const std::string& bytes, std::uint32_t flags = 0) {
  const int needed = MultiByteToWideChar(code_page, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(needed), u'\0');
  if (needed > 0) {
    const int written = MultiByteToWideChar(code_page, flags, bytes.data(), static_cast<int>(bytes.size()),
                                            out.data(), needed);
    EXPECT_EQ(written, needed);
  }
  return out;
}

std::string Encode(std::uint32_t code_page, const std::u16string& text, bool* used_default = nullptr,
                   std::uint32_t flags = 0) {
  const int needed = WideCharToMultiByte(code_page, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, used_default);
  std::string out(static_cast<std::size_t>(needed), '\0');
  if (needed > 0) {
    const int written = WideCharToMultiByte(code_page, flags, text.data(), static_cast<int>(text.size()),
                                            out.data(), needed, nullptr, used_default);
    EXPECT_EQ(written, needed);
  }
  return out;
}

TEST(CodePages, SingleBytePagesRoundTrip) {
  EXPECT_EQ(Decode(1252, "caf\xE9 \x80\x96"), u"café €–");
  EXPECT_EQ(Encode(1252, u"café €–"), "caf\xE9 \x80\x96");
  EXPECT_EQ(Decode(1251, "\xCF\xF0\xE8\xE2\xE5\xF2"), u"Привет");
  EXPECT_EQ(Encode(1251, u"Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(Decode(437, "\x82\xC9\xE1"), u"é╔ß");
  EXPECT_EQ(Encode(437, u"é╔ß"), "\x82\xC9\xE1");
  // Every byte of these pages comes back as itself.
  for (std::uint32_t page : {1250u, 1251u, 1252u, 1253u, 437u, 850u, 866u}) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    bool used_default = false;
    const std::u16string text = Decode(page, all);
    std::string back = Encode(page, text, &used_default);
    for (int b = 0; b < 256; ++b) {
      if (text[static_cast<std::size_t>(b)] == 0xFFFD) back[static_cast<std::size_t>(b)] = static_cast<char>(b);
    }
    EXPECT_EQ(back, all) << page;
  }
}

TEST(CodePages, ControlBytesOfOemPagesAreControls) {
  // ICU's table for 437 shows some control bytes as glyphs; text files mean controls.
  EXPECT_EQ(Decode(437, "\x1A\x1C\x7F\x0A"), u"\x1A\x1C\x7F\n");
  EXPECT_EQ(Encode(437, u"\x1A\x1C\x7F"), "\x1A\x1C\x7F");
}

TEST(CodePages, DoubleBytePageRoundTrip) {
  const std::string shift_jis = "\x93\xFA\x96\x7B\x8C\xEA" "abc\xB1";  // 日本語abcｱ
  EXPECT_EQ(Decode(932, shift_jis), u"日本語abcｱ");
  EXPECT_EQ(Encode(932, u"日本語abcｱ"), shift_jis);
  EXPECT_TRUE(IsDBCSLeadByteEx(932, 0x93));
  EXPECT_FALSE(IsDBCSLeadByteEx(932, 'a'));
  EXPECT_FALSE(IsDBCSLeadByteEx(1252, 0x93));
  EXPECT_EQ(Decode(936, "\xD6\xD0\xCE\xC4"), u"中文");
  EXPECT_EQ(Decode(949, "\xC7\xD1"), u"한");
  EXPECT_EQ(Decode(950, "\xA4\xA4"), u"中");
}

TEST(CodePages, BadDoubleByteInput) {
  // A lead byte at the end, and a lead byte before a byte that cannot follow it
  // (read again on its own).
  EXPECT_EQ(Decode(932, "a\x93"), u"a\uFFFD");
  EXPECT_EQ(Decode(932, "\x93" "1"), u"\uFFFD" u"1");
  EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "a\x93", 2, nullptr, 0), 0);
}

TEST(CodePages, UnmappedCharactersUseTheDefaultCharacter) {
  bool used_default = false;
  EXPECT_EQ(Encode(1252, u"a\u4E00b", &used_default), "a?b");
  EXPECT_TRUE(used_default);
  used_default = true;
  EXPECT_EQ(Encode(1252, u"abc", &used_default), "abc");
  EXPECT_FALSE(used_default);
  // A surrogate pair is one character, so one default character.
  EXPECT_EQ(Encode(1251, u"x\U0001F600y", &used_default), "x?y");
  EXPECT_TRUE(used_default);
  // A caller's default character.
  const std::u16string text = u"\u4E00";
  char out[4] = {};
  EXPECT_EQ(WideCharToMultiByte(1252, 0, text.data(), 1, out, 4, "*", &used_default), 1);
  EXPECT_EQ(out[0], '*');
  // Strict conversion fails instead.
  EXPECT_EQ(WideCharToMultiByte(1252, WC_ERR_INVALID_CHARS, text.data(), 1, out, 4, nullptr, nullptr), 0);
  // Best fit: a close character of the page, without the flag; refused on request.
  used_default = true;
  const std::string best = Encode(1252, u"\uFF21", &used_default);  // full-width A
  EXPECT_EQ(best, "A");
  EXPECT_FALSE(used_default);
  EXPECT_EQ(Encode(1252, u"\uFF21", &used_default, WC_NO_BEST_FIT_CHARS), "?");
  EXPECT_TRUE(used_default);
}

TEST(CodePages, UnassignedBytes) {
  // 1253 leaves 0xD2 unassigned.
  EXPECT_EQ(Decode(1253, "\xD2"), u"\uFFFD");
  EXPECT_EQ(MultiByteToWideChar(1253, MB_ERR_INVALID_CHARS, "\xD2", 1, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(1253, MB_ERR_INVALID_CHARS, "\xC1", 1, nullptr, 0), 1);
}

TEST(CodePages, Utf8) {
  EXPECT_EQ(Decode(CP_UTF8, "a\xC3\xA9\xF0\x9F\x98\x80"), u"aé\U0001F600");
  EXPECT_EQ(Encode(CP_UTF8, u"aé\U0001F600"), "a\xC3\xA9\xF0\x9F\x98\x80");
  // Overlong form, surrogate, truncated sequence: one U+FFFD per bad part.
  EXPECT_EQ(Decode(CP_UTF8, "\xC0\xAF" "x\xED\xA0\x80" "y\xE2\x82"), u"\uFFFD\uFFFDx\uFFFD\uFFFD\uFFFDy\uFFFD");
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xE2\x82", 2, nullptr, 0), 0);
  // Unpaired surrogates become U+FFFD, or fail under the strict flag.
  const std::u16string lone = {u'a', 0xD800};
  EXPECT_EQ(Encode(CP_UTF8, lone), "a\xEF\xBF\xBD");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone.data(), 2, nullptr, 0), 0);
  // UTF-8 has no default character to report.
  bool used_default = false;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, nullptr, 0, nullptr, &used_default), 0);
}

TEST(CodePages, CountsAndFailures) {
  char16_t out[8] = {};
  // -1 converts the terminating NUL too.
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "ab", -1, out, 8), 3);
  EXPECT_EQ(out[2], 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "ab", -1, nullptr, 0), 3);
  // Output too small, null source, zero or negative counts, unknown pages.
  out[0] = u'#';
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, out, 2), 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, nullptr, 3, out, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 0, out, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -2, out, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, out, -1), 0);
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "abc", 3, out, 8), 0);
  EXPECT_EQ(out[0], u'#');
  char bytes[2] = {'#', '#'};
  EXPECT_EQ(WideCharToMultiByte(1252, 0, u"abc", 3, bytes, 2), 0);
  EXPECT_EQ(WideCharToMultiByte(1252, 0, u"ab", -1, nullptr, 0), 3);
  EXPECT_EQ(bytes[0], '#');
  EXPECT_FALSE(IsValidCodePage(12345));
  EXPECT_TRUE(IsValidCodePage(28591));
  EXPECT_TRUE(IsValidCodePage(20127));
}

TEST(CodePages, SystemPagesAndStringForms) {
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(GetOEMCP(), 437u);
  EXPECT_EQ(AnsiToUnicode("\xE9", CP_ACP), u"é");
  EXPECT_EQ(AnsiToUnicode("\x82", CP_OEMCP), u"é");
  ASSERT_TRUE(SetACP(1251));
  EXPECT_EQ(AnsiToUnicode("\xE9", CP_ACP), u"й");
  EXPECT_FALSE(SetACP(12345));
  EXPECT_FALSE(SetACP(CP_OEMCP));
  EXPECT_EQ(GetACP(), 1251u);
  ASSERT_TRUE(SetACP(1252));
  bool used_default = false;
  EXPECT_EQ(UnicodeToAnsi(u"x\u4E00", 1252, &used_default), "x?");
  EXPECT_TRUE(used_default);
  EXPECT_TRUE(IsSingleByteCodePage(1252));
  EXPECT_FALSE(IsSingleByteCodePage(932));
  EXPECT_NE(SingleByteToUnicodeTable(866), nullptr);
  EXPECT_EQ(SingleByteToUnicodeTable(866)[0x80], u'А');
  EXPECT_EQ(SingleByteToUnicodeTable(65001), nullptr);
}

}  // namespace
}  // namespace quill
