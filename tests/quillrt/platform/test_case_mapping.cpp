// Case mapping: simple 1:1 mapping that keeps lengths, Turkic dotted and
// dotless i under linguistic casing, and the system call's conventions.
#include <gtest/gtest.h>

#include <string>

#include "quillrt/platform/case_mapping.h"

namespace quill {
namespace {

constexpr std::uint32_t kTurkish = 0x041F;
constexpr std::uint32_t kAzeriLatin = 0x042C;
constexpr std::uint32_t kEnglish = 0x0409;

std::u16string Map(std::uint32_t lcid, std::uint32_t flags, const std::u16string& text) {
  std::u16string out(text.size(), u'#');
  const int written = LCMapStringW(lcid, flags, text.data(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size()));
  EXPECT_EQ(written, static_cast<int>(text.size()));
  return out;
}

TEST(CaseMapping, TurkicIUnderLinguisticCasing) {
  const std::uint32_t lower = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
  const std::uint32_t upper = LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING;
  EXPECT_EQ(Map(kTurkish, lower, u"IİiıDİYARBAKIR"), u"ıiiıdiyarbakır");
  EXPECT_EQ(Map(kTurkish, upper, u"IİiıIstanbul"), u"IİİIISTANBUL");
  EXPECT_EQ(Map(kAzeriLatin, upper, u"i"), u"İ");
  // Without linguistic casing, or in another language, the ordinary rules.
  EXPECT_EQ(Map(kTurkish, LCMAP_UPPERCASE, u"i"), u"I");
  EXPECT_EQ(Map(kTurkish, LCMAP_LOWERCASE, u"I"), u"i");
  EXPECT_EQ(Map(kEnglish, lower, u"Iİ"), u"ii");
  EXPECT_EQ(Map(kEnglish, upper, u"iı"), u"II");
  EXPECT_TRUE(UsesTurkicCasing(0x081F));
  EXPECT_FALSE(UsesTurkicCasing(0x0407));
}

TEST(CaseMapping, KeepsLengthPerUnit) {
  // ß uppercases to "SS" in full mapping; here it stays, as ŉ does.
  EXPECT_EQ(MapCaseString(u"straße ŉ", CaseDirection::upper), u"STRAßE ŉ");
  EXPECT_EQ(MapCaseString(u"ΣΑΣ Привет Ǆ", CaseDirection::lower), u"σασ привет ǆ");
  EXPECT_EQ(MapCaseString(u"ǆemal", CaseDirection::upper), u"ǄEMAL");
  // Surrogate pairs map as pairs (Deseret), and lone surrogates stay.
  EXPECT_EQ(MapCaseString(u"\U00010428x", CaseDirection::upper), u"\U00010400X");
  EXPECT_EQ(MapCaseString(u"\U00010400", CaseDirection::lower), u"\U00010428");
  const std::u16string lone = {0xDC00, u'a', 0xD801};
  EXPECT_EQ(MapCaseString(lone, CaseDirection::upper), (std::u16string{0xDC00, u'A', 0xD801}));
  EXPECT_EQ(CaseMapTable(CaseDirection::lower, false)[u'A'], u'a');
  EXPECT_EQ(CaseMapTable(CaseDirection::upper, true)[u'i'], u'\u0130');
}

TEST(CaseMapping, SystemCallConventions) {
  // -1 includes the NUL; 0 output asks for the size; in place works.
  std::u16string text = u"Abc";
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_UPPERCASE, text.c_str(), -1, nullptr, 0), 4);
  char16_t buffer[4] = {u'#', u'#', u'#', u'#'};
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_UPPERCASE, text.c_str(), -1, buffer, 4), 4);
  EXPECT_EQ(std::u16string(buffer), u"ABC");
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_LOWERCASE, text.data(), 3, text.data(), 3), 3);
  EXPECT_EQ(text, u"abc");
  // Overlapping source and destination are read before they are written.
  char16_t shifted[5] = {u'A', u'B', u'C', u'D', 0};
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_LOWERCASE, shifted, 4, shifted + 1, 4), 4);
  EXPECT_EQ(std::u16string(shifted, 5), u"Aabcd");

  char16_t out[2] = {u'#', u'#'};
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_UPPERCASE, u"abc", 3, out, 2), 0);                     // too small
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_UPPERCASE | LCMAP_LOWERCASE, u"a", 1, out, 2), 0);   // both
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_LINGUISTIC_CASING, u"a", 1, out, 2), 0);             // neither
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_UPPERCASE | 0x400, u"a", 1, out, 2), 0);             // other flag
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_UPPERCASE, nullptr, 1, out, 2), 0);
  EXPECT_EQ(LCMapStringW(kEnglish, LCMAP_UPPERCASE, u"a", 0, out, 2), 0);
  EXPECT_EQ(out[0], u'#');
}

}  // namespace
}  // namespace quill
