#include <gtest/gtest.h>

#include "quillrt/analysis/readable_strings.h"
#include "quillrt/process/yield.h"

namespace quill {
namespace {

UnicodeString Work(const UnicodeString& readable) { return QYFormattedReadableStringToWorkString(readable); }

TEST(ReadableToWork, TextWithoutCodesIsUnchanged) {
  EXPECT_EQ(Work(u""), u"");
  EXPECT_EQ(Work(u"plain text, {braces} (CHR) and ) }"), u"plain text, {braces} (CHR) and ) }");
  EXPECT_EQ(Work(u"{CHR(65"), u"{CHR(65");  // never closed
}

TEST(ReadableToWork, BracedCodesInAnyCaseAndBase) {
  EXPECT_EQ(Work(u"{CHR(65)}{CHR(66)}"), u"AB");
  EXPECT_EQ(Work(u"a{CHR(9)}b"), u"a\tb");
  EXPECT_EQ(Work(u"{chr(x41)}"), u"A");
  EXPECT_EQ(Work(u"{Chr(41h)}"), u"A");
  EXPECT_EQ(Work(u"{CHR($263A)}"), u"\u263A");
  // Codes keep their low 16 bits.
  EXPECT_EQ(Work(u"{CHR(65601)}"), u"A");
  EXPECT_EQ(Work(u"{CHR(-1)}"), UnicodeString(1, char16_t(0xFFFF)));
}

TEST(ReadableToWork, BracedCodesThatDoNotConvertStayAndTheRestGoesOn) {
  EXPECT_EQ(Work(u"{CHR(zz)}{CHR(66)}"), u"{CHR(zz)}B");
  EXPECT_EQ(Work(u"{CHR()}{CHR(66)}"), u"{CHR()}B");
  // The first "{CHR(" has the second code's ")}" as its end and does not convert;
  // the second code then converts on its own.
  EXPECT_EQ(Work(u"{CHR(1{CHR(66)}"), u"{CHR(1B");
}

TEST(ReadableToWork, HashCodesDecimalAndHexadecimal) {
  EXPECT_EQ(Work(u"#65#66"), u"AB");
  EXPECT_EQ(Work(u"x#9y"), u"x\ty");
  EXPECT_EQ(Work(u"#x41;B"), u"AB");     // the ";" after a hexadecimal code is part of it
  EXPECT_EQ(Work(u"#65;"), u"A;");       // not after a decimal one
  EXPECT_EQ(Work(u"#$41#h42#Xx43"), u"ABC");
  EXPECT_EQ(Work(u"#x1F"), UnicodeString(1, char16_t(0x1F)));
  EXPECT_EQ(Work(u"{CHR(35)}"), u"#");
}

TEST(ReadableToWork, HashPassStopsAtTheFirstCodeThatDoesNotConvert) {
  EXPECT_EQ(Work(u"#a#65"), u"#a#65");
  EXPECT_EQ(Work(u"#65 #a #66"), u"A #a #66");
  EXPECT_EQ(Work(u"#x;#65"), u"#x;#65");
  EXPECT_EQ(Work(u"#99999999999#65"), u"#99999999999#65");
  EXPECT_EQ(Work(u"end #"), u"end #");
  // A "#" that a code produces is not the start of another code.
  EXPECT_EQ(Work(u"#x23;65"), u"#65");
}

TEST(ReadableToWork, UsesTheHexadecimalCharacterSets) {
  const UnicodeString saved_signals = HexSignalStr;
  HexSignalStr = u"Xx";
  EXPECT_EQ(Work(u"#x41"), u"A");
  EXPECT_EQ(Work(u"#$41"), u"#$41");
  HexSignalStr = saved_signals;
}

TEST(ReadableToWork, YieldsWhileConverting) {
  int yields = 0;
  AYieldProcessProc = [&] { ++yields; };
  Work(u"{CHR(65)}{CHR(66)}#67");
  AYieldProcessProc = nullptr;
  EXPECT_GE(yields, 3);
}

TEST(WorkToReadable, WritesCodesBelowTheLimitAndRoundTrips) {
  EXPECT_EQ(QYFormattedWorkStringToReadableString(u"a\tb", 32), u"a{CHR(9)}b");
  EXPECT_EQ(QYFormattedWorkStringToReadableString(u"a\tb", 9), u"a\tb");
  EXPECT_EQ(QYFormattedWorkStringToReadableString(u"AB", 67), u"{CHR(65)}{CHR(66)}");

  UnicodeString every_control;
  for (char16_t c = 0; c < 0x20; ++c) {
    every_control += c;
    every_control += u"x ";
  }
  const UnicodeString readable = QYFormattedWorkStringToReadableString(every_control, 32);
  EXPECT_EQ(readable.find(u'\t'), UnicodeString::npos);
  EXPECT_EQ(Work(readable), every_control);
}

TEST(BracedNumber, PreparesHexadecimalForms) {
  EXPECT_EQ(BracedNumberStrToDigitalformat(u""), u"");
  EXPECT_EQ(BracedNumberStrToDigitalformat(u"12"), u"12");
  EXPECT_EQ(BracedNumberStrToDigitalformat(u"x4a"), u"$4A");
  EXPECT_EQ(BracedNumberStrToDigitalformat(u"4ah"), u"$4A");
  EXPECT_EQ(BracedNumberStrToDigitalformat(u"h"), u"$");
}

TEST(CharacterCodes, HexadecimalAndDecimalListsBothWays) {
  EXPECT_EQ(ToHexNumStr(u"AB"), u"41,42,");
  EXPECT_EQ(ToHexNumStr(u"\n\u263A"), u"0A,263A,");
  EXPECT_EQ(ToHexNumStr(u""), u"");

  UnicodeString bytes;
  for (char16_t c = 0; c < 0x100; ++c) bytes += c;
  EXPECT_EQ(FromHexNumStr(ToHexNumStr(bytes)), bytes);
  EXPECT_EQ(FromHexNumStr(u"41,4"), u"A");       // incomplete last group
  EXPECT_EQ(FromHexNumStr(u"41,zz,42,"), u"AB");  // a group that is not hexadecimal

  EXPECT_EQ(FromNumStr(u"65,66,"), u"AB");
  EXPECT_EQ(FromNumStr(u"65,66"), u"A");  // the last item has no comma
  EXPECT_EQ(FromNumStr(u"65,x,,$42, 67 ,"), u"AC");
  EXPECT_EQ(FromNumStr(u"65601,"), u"A");
}

TEST(Ampersands, SingleOnesAreDoubledAndPairsKept) {
  EXPECT_EQ(DoubleAnyAmpersands(u"a&b"), u"a&&b");
  EXPECT_EQ(DoubleAnyAmpersands(u"a&"), u"a&&");
  EXPECT_EQ(DoubleAnyAmpersands(u"&"), u"&&");
  EXPECT_EQ(DoubleAnyAmpersands(u"a&&"), u"a&&");
  EXPECT_EQ(DoubleAnyAmpersands(u"a&&b"), u"a&&b");
  EXPECT_EQ(DoubleAnyAmpersands(u"no ampersand"), u"no ampersand");
  for (const UnicodeString text : {u"&x&&y&&&z&", u"&&&", u"Tom & Jerry"}) {
    const UnicodeString once = DoubleAnyAmpersands(text);
    EXPECT_EQ(DoubleAnyAmpersands(once), once) << "escaping twice changes nothing more";
  }
}

}  // namespace
}  // namespace quill
