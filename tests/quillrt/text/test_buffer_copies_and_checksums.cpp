// Checksums, NUL-terminated copies, the fixed search-word buffer and the
// numeric character notation.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "quillrt/process/yield.h"
#include "quillrt/text/buffer_checksums.h"
#include "quillrt/text/buffer_copies.h"

namespace quill {
namespace {

TEST(BufferChecksums, SumsWrapAndIgnoreLeftoverBytes) {
  const unsigned char bytes[] = {0x01, 0x00, 0xFF, 0xFF, 0x02, 0x00, 0x10, 0x20, 0x30};
  // 0x0001 + 0xFFFF + 0x0002 wraps to 0x0002 in 16 bits.
  EXPECT_EQ(My2Checksum(bytes, 3), 0x0002u);
  EXPECT_EQ(My2Checksum(bytes, 0), 0u);
  EXPECT_EQ(My2Checksum(nullptr, 3), 0u);
  // Seven bytes: only the first four count.
  EXPECT_EQ(My4Checksum(bytes, 7), 0xFFFF0001u);
  EXPECT_EQ(My4Checksum(bytes, 8), 0xFFFF0001u + 0x20100002u);
  EXPECT_EQ(My4Checksum(bytes, 3), 0u);
  // Any alignment.
  EXPECT_EQ(My2Checksum(bytes + 1, 1), 0xFF00u);
  const unsigned char high[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00};
  EXPECT_EQ(My4Checksum(high, 8), 1u);
}

TEST(BufferCopies, CopiesAreTerminatedAndExact) {
  const char source[] = {'a', 'b', 'c'};  // no terminator: only count characters are read
  std::unique_ptr<char[], void (*)(char*)> copy(NewLenPAnsichar(source, 2), DeletePAnsichar);
  EXPECT_STREQ(copy.get(), "ab");
  std::unique_ptr<char[], void (*)(char*)> none(NewLenPAnsichar(source, -1), DeletePAnsichar);
  EXPECT_STREQ(none.get(), "");
  EXPECT_EQ(NewLenPAnsichar(nullptr, 3), nullptr);

  const char16_t wide[] = {u'x', 0, u'y'};
  std::unique_ptr<WideChar[], void (*)(WideChar*)> inner_nul(NewLenPWidechar(wide, 3), DeletePWideChar);
  EXPECT_EQ(std::u16string(inner_nul.get(), 4), std::u16string(u"x\0y\0", 4));

  // StrNewLen stops at the NUL or at max, whichever comes first, and reads no further.
  std::unique_ptr<char[], void (*)(char*)> bounded(StrNewLen(source, 3), DeletePAnsichar);
  EXPECT_STREQ(bounded.get(), "abc");
  std::unique_ptr<WideChar[], void (*)(WideChar*)> to_nul(StrNewWLen(u"hello", 40), DeletePWideChar);
  EXPECT_EQ(std::u16string(to_nul.get()), u"hello");
  std::unique_ptr<WideChar[], void (*)(WideChar*)> to_max(StrNewWLen(u"hello", 2), DeletePWideChar);
  EXPECT_EQ(std::u16string(to_max.get()), u"he");

  std::unique_ptr<WideChar[], void (*)(WideChar*)> whole(NewPWideChar(u"whole"), DeletePWideChar);
  EXPECT_EQ(std::u16string(whole.get()), u"whole");
  std::unique_ptr<char[], void (*)(char*)> whole_a(NewPAnsichar("whole"), DeletePAnsichar);
  EXPECT_STREQ(whole_a.get(), "whole");
  EXPECT_EQ(NewPWideChar(nullptr), nullptr);
  DeletePWideChar(nullptr);
}

TEST(BufferCopies, SearchWordBuffer) {
  Search_word_type32 buffer;
  buffer.fill(u'#');
  StringToSearch_word_type32(u"word", buffer);
  EXPECT_EQ(Search_word_type32ToString(buffer), u"word");
  EXPECT_EQ(buffer[4], 0);
  EXPECT_EQ(buffer[80], 0);

  const std::u16string long_text(100, u'x');
  StringToSearch_word_type32(long_text, buffer);
  EXPECT_EQ(Search_word_type32ToString(buffer), long_text.substr(0, 80));
  EXPECT_EQ(buffer[80], 0);

  // Read back without a NUL in the first 80 characters: stops at 80.
  buffer.fill(u'y');
  EXPECT_EQ(Search_word_type32ToString(buffer).size(), 80u);
}

TEST(CharacterNotation, ChrAndHashForms) {
  UnicodeString s = u"x{chr(65)}#66";
  EXPECT_EQ(MyFormatValidNumberStr(s), 66);
  EXPECT_EQ(s, u"xAB");

  s = u"{CHR(zz)}";
  EXPECT_EQ(MyFormatValidNumberStr(s), -1);
  EXPECT_EQ(s, u"{CHR(zz)}");

  // A bad notation does not stop the later ones; codes keep 16 bits.
  s = u"{Chr(1}{chr(65601)} #x #9#";
  EXPECT_EQ(MyFormatValidNumberStr(s), 9);
  EXPECT_EQ(s, u"{Chr(1}A #x \t#");

  // A notation that produces "#" feeds the second pass.
  s = u"{chr(35)}67";
  EXPECT_EQ(MyFormatValidNumberStr(s), 67);
  EXPECT_EQ(s, u"C");

  // Beyond 32 bits: left alone.
  s = u"#99999999999";
  EXPECT_EQ(MyFormatValidNumberStr(s), -1);
  EXPECT_EQ(s, u"#99999999999");
}

TEST(CharacterNotation, YieldsOncePerOccurrence) {
  int yields = 0;
  AYieldProcessProc = [&yields] { ++yields; };
  UnicodeString s = u"a#1 {chr(66)} # b";
  MyFormatValidNumberStr(s);
  AYieldProcessProc = nullptr;
  EXPECT_EQ(yields, 3);  // one {chr(, two #
  EXPECT_EQ(s, u"a\x01 B # b");
}

}  // namespace
}  // namespace quill
