// Character types: the class bits of every script against the Unicode
// character database, surrogates, the three query families and the class-array
// builders of UTF-16 and 8-bit buffers.
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <string>
#include <vector>

#include "quillrt/platform/char_types.h"
#include "quillrt/platform/code_pages.h"

namespace quill {
namespace {

std::vector<TClassWord> Classes(const std::u16string& text) {
  std::vector<TClassWord> out(text.size(), 0xEEEE);
  BuildClassArray(text.data(), text.size(), 0x0409, out.data());
  return out;
}

std::vector<TClassWord> ClassesA(const std::string& bytes, std::uint32_t code_page) {
  std::vector<TClassWord> out(bytes.size(), 0xEEEE);
  BuildClassArrayA(bytes.data(), bytes.size(), code_page, out.data());
  return out;
}

constexpr TClassWord kUpperLetter = C1_ALPHA | C1_UPPER | C1_DEFINED;
constexpr TClassWord kLowerLetter = C1_ALPHA | C1_LOWER | C1_DEFINED;
constexpr TClassWord kLetter = C1_ALPHA | C1_DEFINED;

TEST(CharTypes, Type1OfTypicalCharacters) {
  const TClassWord* table = CharType1Table();
  EXPECT_EQ(table[u'A'], kUpperLetter | C1_XDIGIT);
  EXPECT_EQ(table[u'G'], kUpperLetter);
  EXPECT_EQ(table[u'f'], kLowerLetter | C1_XDIGIT);
  EXPECT_EQ(table[u'5'], C1_DIGIT | C1_XDIGIT | C1_DEFINED);
  EXPECT_EQ(table[u' '], C1_SPACE | C1_BLANK | C1_DEFINED);
  EXPECT_EQ(table[u'\t'], C1_SPACE | C1_BLANK | C1_CNTRL | C1_DEFINED);
  EXPECT_EQ(table[u'\n'], C1_SPACE | C1_CNTRL | C1_DEFINED);
  EXPECT_EQ(table[u'\r'], C1_SPACE | C1_CNTRL | C1_DEFINED);
  EXPECT_EQ(table[0x0001], C1_CNTRL | C1_DEFINED);
  EXPECT_EQ(table[u'.'], C1_PUNCT | C1_DEFINED);
  EXPECT_EQ(table[u'$'], C1_PUNCT | C1_DEFINED);
  EXPECT_EQ(table[0x00A0], C1_SPACE | C1_BLANK | C1_DEFINED);   // no-break space
  EXPECT_EQ(table[0x3000], C1_SPACE | C1_BLANK | C1_DEFINED);   // ideographic space
  EXPECT_EQ(table[0x0E01], kLetter);                            // Thai ko kai
  EXPECT_EQ(table[0x0E31], kLetter);                            // Thai vowel mark (Mn)
  EXPECT_EQ(table[0x093E], kLetter);                            // Devanagari vowel sign aa (Mc)
  EXPECT_EQ(table[0x064E], kLetter);                            // Arabic fatha (Mn)
  EXPECT_EQ(table[0x0661], C1_DIGIT | C1_DEFINED);              // Arabic-Indic one
  EXPECT_EQ(table[0xFF21], kUpperLetter | C1_XDIGIT);           // full-width A
  EXPECT_EQ(table[0xFF19], C1_DIGIT | C1_XDIGIT | C1_DEFINED);  // full-width 9
  EXPECT_EQ(table[0x00B2], C1_DIGIT | C1_PUNCT | C1_DEFINED);   // superscript two
  EXPECT_EQ(table[0x00BD], C1_PUNCT | C1_DEFINED);              // one half
  EXPECT_EQ(table[0x0378], 0);                                  // unassigned
  EXPECT_EQ(table[0xE000], kLetter);                            // private use
  EXPECT_EQ(table[0xD800], kUnpairedSurrogateType1);
  EXPECT_EQ(table[0xDFFF], kUnpairedSurrogateType1);
  EXPECT_EQ(table[0x200D] & (C1_ALPHA | C1_DIGIT), 0);          // joiner is no word character
}

// Over the whole BMP the class bits agree with the Unicode properties that
// define them: letters and marks alphabetic, Nd digits, Zs blanks,
// punctuation and symbols punctuation, and nothing for unassigned code points.
TEST(CharTypes, AgreesWithUnicodePropertiesOverTheWholeBmp) {
  const TClassWord* table = CharType1Table();
  int mismatches = 0;
  for (UChar32 c = 0; c < 0x10000; ++c) {
    if (U_IS_SURROGATE(c)) continue;
    const TClassWord type = table[c];
    const int8_t category = u_charType(c);
    const bool letter_or_mark = (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
    const bool expect_alpha = letter_or_mark || category == U_LETTER_NUMBER || category == U_PRIVATE_USE_CHAR;
    bool ok = ((type & C1_ALPHA) != 0) == expect_alpha;
    if (category == U_DECIMAL_DIGIT_NUMBER) ok = ok && (type & C1_DIGIT) != 0 && (type & C1_ALPHA) == 0;
    if ((type & C1_DIGIT) != 0) ok = ok && (category == U_DECIMAL_DIGIT_NUMBER || category == U_OTHER_NUMBER);
    if (category == U_SPACE_SEPARATOR) ok = ok && (type & (C1_SPACE | C1_BLANK)) == (C1_SPACE | C1_BLANK);
    if ((U_GET_GC_MASK(c) & (U_GC_P_MASK | U_GC_S_MASK)) != 0)
      ok = ok && (type & C1_PUNCT) != 0 && (type & (C1_ALPHA | C1_DIGIT)) == 0;
    if (category == U_UPPERCASE_LETTER) ok = ok && (type & C1_UPPER) != 0;
    if (category == U_LOWERCASE_LETTER) ok = ok && (type & C1_LOWER) != 0;
    if (category == U_CONTROL_CHAR) ok = ok && (type & C1_CNTRL) != 0;
    ok = ok && ((type & C1_DEFINED) != 0) == (category != U_UNASSIGNED);
    if (category == U_UNASSIGNED) ok = ok && type == 0;
    if (!ok && ++mismatches <= 10) ADD_FAILURE() << std::hex << "U+" << c << " class " << type;
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(CharTypes, SurrogatePairsTakeTheirCodePointsClass) {
  // U+1D400 MATHEMATICAL BOLD CAPITAL A, U+1F600 an emoji, U+20000 a CJK ideograph.
  const std::u16string text = u"\U0001D400\U0001F600\U00020000";
  const auto classes = Classes(text);
  ASSERT_EQ(classes.size(), 6u);
  EXPECT_EQ(classes[0], kUpperLetter);
  EXPECT_EQ(classes[1], kUpperLetter);
  EXPECT_EQ(classes[2], C1_PUNCT | C1_DEFINED);
  EXPECT_EQ(classes[3], C1_PUNCT | C1_DEFINED);
  EXPECT_EQ(classes[4], kLetter);
  EXPECT_EQ(classes[5], kLetter);
  EXPECT_EQ(CodePointType1(0x1D400), kUpperLetter);
  EXPECT_EQ(CodePointType1(0x110000), 0);
}

// The fill loop works in blocks; a pair or a lone surrogate at any offset, across
// block edges and in the tail, must come out as unit-by-unit classification says.
TEST(CharTypes, SurrogatesAtEveryOffset) {
  for (std::size_t length : {7u, 8u, 9u, 16u, 17u, 24u}) {
    for (std::size_t at = 0; at + 1 < length; ++at) {
      std::u16string text(length, u'x');
      text[at] = 0xD835;  // with 0xDC00: U+1D400, an upper-case letter
      text[at + 1] = 0xDC00;
      const auto classes = Classes(text);
      for (std::size_t i = 0; i < length; ++i) {
        const TClassWord expected = (i == at || i == at + 1) ? kUpperLetter : kLowerLetter;
        ASSERT_EQ(classes[i], expected) << "length " << length << " pair at " << at << " index " << i;
      }
      text[at + 1] = u'y';  // now a lone lead surrogate
      EXPECT_EQ(Classes(text)[at], kUnpairedSurrogateType1);
      EXPECT_EQ(Classes(text)[at + 1], kLowerLetter);
    }
  }
}

TEST(CharTypes, UnpairedSurrogatesAreClassedLikeTheReplacementCharacter) {
  const std::u16string text = {u'a', 0xD83D, u'b', 0xDE00, 0xDE00, 0xD83D};
  const auto classes = Classes(text);
  EXPECT_EQ(classes[0], kLowerLetter | C1_XDIGIT);
  EXPECT_EQ(classes[1], kUnpairedSurrogateType1);
  EXPECT_EQ(classes[3], kUnpairedSurrogateType1);
  EXPECT_EQ(classes[4], kUnpairedSurrogateType1);
  // A lead surrogate at the very end has no partner to read past the count.
  EXPECT_EQ(classes[5], kUnpairedSurrogateType1);
  EXPECT_EQ(kUnpairedSurrogateType1, CharType1Table()[0xFFFD]);
  // A pair cut by the count is two unpaired units.
  const std::u16string pair = u"\U0001F600";
  TClassWord cut[2] = {0xEEEE, 0xEEEE};
  BuildClassArray(pair.data(), 1, 0, cut);
  EXPECT_EQ(cut[0], kUnpairedSurrogateType1);
  EXPECT_EQ(cut[1], 0xEEEE);
}

TEST(CharTypes, BuildersLeaveMemoryAloneForEmptyInput) {
  TClassWord out[2] = {0xEEEE, 0xEEEE};
  BuildClassArray(nullptr, 2, 0, out);
  BuildClassArray(u"ab", 0, 0, out);
  BuildClassArrayA(nullptr, 2, 1252, out);
  BuildClassArrayA("ab", 0, 1252, out);
  BuildClassArray(u"ab", 2, 0, nullptr);
  EXPECT_EQ(out[0], 0xEEEE);
  EXPECT_EQ(out[1], 0xEEEE);
}

TEST(CharTypes, QueryFamiliesAndFailures) {
  const std::u16string text = u"a\u05D0 1\u0661";
  std::vector<std::uint16_t> out(text.size());
  ASSERT_TRUE(GetStringTypeExW(0x0409, CT_CTYPE2, text.data(), static_cast<int>(text.size()), out.data()));
  EXPECT_EQ(out, (std::vector<std::uint16_t>{C2_LEFTTORIGHT, C2_RIGHTTOLEFT, C2_WHITESPACE, C2_EUROPENUMBER,
                                             C2_ARABICNUMBER}));

  const std::u16string kana = u"\u30A2\u3042\uFF71\u4E00\u0301\u0640\U0001F600";
  std::vector<std::uint16_t> t3(kana.size());
  ASSERT_TRUE(GetStringTypeW(CT_CTYPE3, kana.data(), static_cast<int>(kana.size()), t3.data()));
  EXPECT_EQ(t3[0] & (C3_KATAKANA | C3_FULLWIDTH | C3_ALPHA), C3_KATAKANA | C3_FULLWIDTH | C3_ALPHA);
  EXPECT_EQ(t3[1] & (C3_HIRAGANA | C3_KATAKANA), C3_HIRAGANA);
  EXPECT_EQ(t3[2] & (C3_KATAKANA | C3_HALFWIDTH), C3_KATAKANA | C3_HALFWIDTH);
  EXPECT_NE(t3[3] & C3_IDEOGRAPH, 0);
  EXPECT_EQ(t3[4] & (C3_NONSPACING | C3_DIACRITIC), C3_NONSPACING | C3_DIACRITIC);
  EXPECT_NE(t3[5] & C3_KASHIDA, 0);
  EXPECT_EQ(t3[6] & (C3_HIGHSURROGATE | C3_LOWSURROGATE | C3_SYMBOL), C3_HIGHSURROGATE | C3_SYMBOL);
  EXPECT_EQ(t3[7] & (C3_HIGHSURROGATE | C3_LOWSURROGATE | C3_SYMBOL), C3_LOWSURROGATE | C3_SYMBOL);

  // -1 counts the terminating NUL too.
  std::uint16_t with_nul[3] = {0xEEEE, 0xEEEE, 0xEEEE};
  ASSERT_TRUE(GetStringTypeExW(0, CT_CTYPE1, u"ab", -1, with_nul));
  EXPECT_EQ(with_nul[2], C1_CNTRL | C1_DEFINED);

  std::uint16_t untouched = 0xEEEE;
  EXPECT_FALSE(GetStringTypeExW(0, CT_CTYPE1, u"a", 0, &untouched));
  EXPECT_FALSE(GetStringTypeExW(0, CT_CTYPE1, u"a", -2, &untouched));
  EXPECT_FALSE(GetStringTypeExW(0, CT_CTYPE1 | CT_CTYPE2, u"a", 1, &untouched));
  EXPECT_FALSE(GetStringTypeExW(0, CT_CTYPE1, nullptr, 1, &untouched));
  EXPECT_FALSE(GetStringTypeExA(0x0409, CT_CTYPE1, "a", 0, &untouched));
  EXPECT_EQ(untouched, 0xEEEE);
}

TEST(CharTypes, EightBitBuffersAreClassifiedThroughTheirCodePage) {
  // 1252: 0xC0 is À, 0x80 the euro sign, 0xAA the feminine ordinal.
  const auto western = ClassesA("a\xC0\x80 9", 1252);
  EXPECT_EQ(western[1], kUpperLetter);
  EXPECT_EQ(western[2], C1_PUNCT | C1_DEFINED);
  EXPECT_EQ(western[3], C1_SPACE | C1_BLANK | C1_DEFINED);
  // The same byte is a Cyrillic letter in 1251 and a box-drawing piece in 437.
  EXPECT_EQ(ClassesA("\xC0", 1251)[0], kUpperLetter);
  EXPECT_EQ(ClassesA("\xC0", 437)[0], C1_PUNCT | C1_DEFINED);
  // Every byte of a multi-byte character gets the character's class.
  const auto utf8 = ClassesA("x\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF", 65001);
  EXPECT_EQ(utf8, (std::vector<TClassWord>{kLowerLetter, kLowerLetter, kLowerLetter, C1_PUNCT | C1_DEFINED,
                                           C1_PUNCT | C1_DEFINED, C1_PUNCT | C1_DEFINED, C1_PUNCT | C1_DEFINED,
                                           C1_PUNCT | C1_DEFINED, C1_PUNCT | C1_DEFINED, C1_PUNCT | C1_DEFINED,
                                           kUnpairedSurrogateType1}));
  // Shift-JIS: katakana A (0x83 0x41) is two bytes, half-width katakana one.
  const auto japanese = ClassesA("\x83\x41\xB1" "A", 932);
  EXPECT_EQ(japanese, (std::vector<TClassWord>{kLetter, kLetter, kLetter, kUpperLetter | C1_XDIGIT}));
  // A lead byte at the end decodes to nothing.
  EXPECT_EQ(ClassesA("a\x83", 932)[1], kUnpairedSurrogateType1);
  // GB18030 goes through ICU one character at a time.
  const auto gb = ClassesA("\xD6\xD0" "1", 54936);
  EXPECT_EQ(gb, (std::vector<TClassWord>{kLetter, kLetter, C1_DIGIT | C1_XDIGIT | C1_DEFINED}));
}

TEST(CharTypes, EightBitQueryUsesTheLocalesCodePage) {
  std::uint16_t russian[1] = {};
  ASSERT_TRUE(GetStringTypeExA(0x0419, CT_CTYPE1, "\xE0", 1, russian));  // 1251: а
  EXPECT_EQ(russian[0], kLowerLetter);
  std::uint16_t greek[1] = {};
  ASSERT_TRUE(GetStringTypeExA(0x0408, CT_CTYPE1, "\xC1", 1, greek));  // 1253: Α
  EXPECT_EQ(greek[0], kUpperLetter);
  std::uint16_t hebrew[1] = {};
  ASSERT_TRUE(GetStringTypeExA(0x040D, CT_CTYPE2, "\xE0", 1, hebrew));  // 1255: א
  EXPECT_EQ(hebrew[0], C2_RIGHTTOLEFT);
}

}  // namespace
}  // namespace quill
