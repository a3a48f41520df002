// Text encodings at the file boundary.
#include <gtest/gtest.h>

#include "quillrt/framework/encoding.h"
#include "quillrt/framework/exceptions.h"

namespace quill {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

TEST(Encoding, UnicodeEncodingsRoundTripAndAnnounceThemselves) {
  const UnicodeString text = U("Été, 𝄞 and ß");
  for (const TEncoding* encoding : {TEncoding::UTF8(), TEncoding::Unicode(), TEncoding::BigEndianUnicode()}) {
    SCOPED_TRACE(encoding->EncodingName());
    EXPECT_EQ(encoding->GetString(encoding->GetBytes(text)), text);
    std::size_t length = 99;
    const std::string marked = std::string(encoding->GetPreamble()) + encoding->GetBytes(text);
    EXPECT_EQ(TEncoding::DetectFromPreamble(marked, length), encoding);
    EXPECT_EQ(length, encoding->GetPreamble().size());
  }
  EXPECT_EQ(TEncoding::UTF8()->GetPreamble(), Bytes({0xEF, 0xBB, 0xBF}));
  EXPECT_EQ(TEncoding::Unicode()->GetPreamble(), Bytes({0xFF, 0xFE}));
  EXPECT_EQ(TEncoding::BigEndianUnicode()->GetPreamble(), Bytes({0xFE, 0xFF}));
  EXPECT_EQ(TEncoding::Unicode()->GetBytes(u"A\u00E9"), Bytes({0x41, 0x00, 0xE9, 0x00}));
  EXPECT_EQ(TEncoding::BigEndianUnicode()->GetBytes(u"A\u00E9"), Bytes({0x00, 0x41, 0x00, 0xE9}));
  EXPECT_EQ(TEncoding::UTF8()->CodePage(), 65001);
  EXPECT_EQ(TEncoding::Unicode()->CodePage(), 1200);
  EXPECT_EQ(TEncoding::BigEndianUnicode()->CodePage(), 1201);

  std::size_t length = 99;
  EXPECT_EQ(TEncoding::DetectFromPreamble("plain", length), nullptr);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(TEncoding::DetectFromPreamble(Bytes({0xEF, 0xBB}), length), nullptr);  // a cut-off mark
}

TEST(Encoding, DamagedInputBecomesReplacementCharacters) {
  EXPECT_EQ(TEncoding::Unicode()->GetString(Bytes({0x41, 0x00, 0x42})), u"A\uFFFD");  // odd last byte kept
  EXPECT_EQ(TEncoding::BigEndianUnicode()->GetString(Bytes({0x00, 0x41, 0x00})), u"A\uFFFD");
  EXPECT_EQ(TEncoding::UTF8()->GetString(Bytes({0x61, 0xC3, 0x62})), u"a\uFFFDb");
  // UTF-16 keeps an unpaired surrogate; UTF-8 cannot, and says so.
  const UnicodeString lone(1, char16_t(0xD800));
  EXPECT_EQ(TEncoding::Unicode()->GetString(TEncoding::Unicode()->GetBytes(lone)), lone);
  std::size_t replaced = 0;
  EXPECT_EQ(TEncoding::UTF8()->GetBytes(u"a" + lone + u"b", replaced), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(replaced, 1u);
}

TEST(Encoding, Windows1252DecodesEveryByteAndEncodesItBack) {
  const TEncoding* cp1252 = TEncoding::ANSI(1252);
  EXPECT_EQ(cp1252->CodePage(), 1252);
  EXPECT_TRUE(cp1252->IsSingleByte());
  EXPECT_TRUE(cp1252->GetPreamble().empty());
  EXPECT_EQ(cp1252->GetString(Bytes({0xE9, 0x80, 0x9F, 0x41})), u"\u00E9\u20AC\u0178A");
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const UnicodeString decoded = cp1252->GetString(all);
  ASSERT_EQ(decoded.size(), 256u);
  EXPECT_EQ(decoded.find(u'\uFFFD'), UnicodeString::npos);
  EXPECT_EQ(cp1252->GetBytes(decoded), all);
}

TEST(Encoding, OtherCodePagesRoundTripTheBytesTheyDefine) {
  for (const int code_page : {1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258, 874, 437, 28592}) {
    SCOPED_TRACE(code_page);
    const TEncoding* encoding = TEncoding::ANSI(code_page);
    for (int b = 0; b < 256; ++b) {
      const std::string byte(1, static_cast<char>(b));
      const UnicodeString decoded = encoding->GetString(byte);
      ASSERT_EQ(decoded.size(), 1u);
      if (decoded[0] != u'\uFFFD') {
        EXPECT_EQ(encoding->GetBytes(decoded), byte) << "byte " << b;
      }
    }
  }
  // Greek 0xD2 is undefined in 1253: it becomes U+FFFD rather than vanishing.
  EXPECT_EQ(TEncoding::ANSI(1253)->GetString("\xD2"), u"\uFFFD");
  EXPECT_EQ(TEncoding::ANSI(1251)->GetString("\xC0\xE0"), U("Аа"));
}

TEST(Encoding, CharactersAPageCannotHoldAreCountedAndSubstituted) {
  std::size_t replaced = 0;
  const std::string bytes = TEncoding::ANSI(1252)->GetBytes(U("é€ 中"), replaced);
  EXPECT_EQ(bytes, "\xE9\x80 ?");
  EXPECT_EQ(replaced, 1u);
}

TEST(Encoding, MultiByteCodePages) {
  const TEncoding* shift_jis = TEncoding::ANSI(932);
  EXPECT_FALSE(shift_jis->IsSingleByte());
  const UnicodeString text = U("日本語 text");
  const std::string bytes = shift_jis->GetBytes(text);
  EXPECT_EQ(bytes.substr(0, 2), "\x93\xFA");
  EXPECT_EQ(shift_jis->GetString(bytes), text);
  // A lead byte with nothing after it is damaged input, not silently dropped.
  EXPECT_EQ(shift_jis->GetString("a\x93"), u"a\uFFFD");
}

TEST(Encoding, SystemCodePageDefaultsTo1252AndCanBeConfigured) {
  EXPECT_EQ(SystemAnsiCodePage(), 1252);
  EXPECT_EQ(TEncoding::Default(), TEncoding::ANSI(1252));
  EXPECT_EQ(TEncoding::GetEncoding(0), TEncoding::Default());
  SetSystemAnsiCodePage(1251);
  EXPECT_EQ(TEncoding::Default()->CodePage(), 1251);
  EXPECT_EQ(TEncoding::Default()->GetString("\xC0"), U("А"));
  EXPECT_THROW(SetSystemAnsiCodePage(12345), EConvertError);
  EXPECT_THROW(SetSystemAnsiCodePage(1200), EConvertError);
  EXPECT_EQ(SystemAnsiCodePage(), 1251);  // refused pages change nothing
  SetSystemAnsiCodePage(1252);
  EXPECT_EQ(TEncoding::ANSI(65001), TEncoding::UTF8());
  EXPECT_THROW(TEncoding::ANSI(-5), EConvertError);
}

}  // namespace
}  // namespace quill
