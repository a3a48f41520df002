#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "quillrt/analysis/number_formats.h"
#include "quillrt/catalogue/message_catalogue.h"

namespace quill {
namespace {

// The number forms read the user's settings: the tests fix them.
class NumberFormats : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = UserDefaultFormatSettings;
    UserDefaultFormatSettings = TFormatSettings::Invariant();
  }
  void TearDown() override {
    UserDefaultFormatSettings = saved_;
    ResetCatalogue();
  }

 private:
  TFormatSettings saved_;
};

TEST_F(NumberFormats, ByteSizesChangeUnitAtTheirThresholds) {
  EXPECT_EQ(ValueToByteStr(0), u"0bytes");
  EXPECT_EQ(ValueToByteStr(1048576), u"1048576bytes");
  EXPECT_EQ(ValueToByteStr(1048577), u"1024Kb");
  EXPECT_EQ(ValueToByteStr(8388608), u"8192Kb");
  EXPECT_EQ(ValueToByteStr(8388609), u"8Mb");
  EXPECT_EQ(ValueToByteStr(8589934592), u"8192Mb");
  EXPECT_EQ(ValueToByteStr(8589934593), u"8Gb");
  EXPECT_EQ(ValueToByteStr(std::numeric_limits<std::int64_t>::max()), u"8589934591Gb");
  SetCatalogueText("_QYKilobyte", u" KiB");
  EXPECT_EQ(ValueToByteStr(2000000), u"1953 KiB");
}

TEST_F(NumberFormats, OrdinalPatterns) {
  EXPECT_EQ(OrdinalFormatOf(1), u"%dst");
  EXPECT_EQ(OrdinalFormatOf(22), u"%dnd");
  EXPECT_EQ(OrdinalFormatOf(103), u"%drd");
  EXPECT_EQ(OrdinalFormatOf(4), u"%dth");
  EXPECT_EQ(OrdinalFormatOf(0), u"%dth");
  EXPECT_EQ(OrdinalFormatOf(11), u"%dst");  // by the last digit only
  EXPECT_EQ(Format(OrdinalFormatOf(42), {42}), u"42nd");
}

TEST_F(NumberFormats, PValuesLoseBinaryNoiseAndTrailingZeros) {
  EXPECT_EQ(PValueStr(0.05000001), u"0.05");
  EXPECT_EQ(PValueStr(0.0499999999), u"0.05");
  EXPECT_EQ(PValueStr(0.010000000001), u"0.01");
  EXPECT_EQ(PValueStr(0.0123), u"0.0123");
  EXPECT_EQ(PValueStr(1), u"1.");
  // Small values keep their own magnitude.
  EXPECT_EQ(PValueStr(0.00000001), u"0.00000001");
  EXPECT_EQ(PValueStr(0.00003), u"0.00003");
  UserDefaultFormatSettings.DecimalSeparator = u',';
  EXPECT_EQ(PValueStr(0.25), u"0,25");
}

TEST_F(NumberFormats, LargeNumbersAbbreviated) {
  EXPECT_EQ(EasiestNRepresentationOfLargeNumber(999), u"999");
  EXPECT_EQ(EasiestNRepresentationOfLargeNumber(1000), u"1,000");
  EXPECT_EQ(EasiestNRepresentationOfLargeNumber(1500), u"1.5K");
  EXPECT_EQ(EasiestNRepresentationOfLargeNumber(2500000), u"2.5M");
  EXPECT_EQ(EasiestNRepresentationOfLargeNumber(3e9f), u"3.0G");
  EXPECT_EQ(EasiestNRepresentationOfLargeNumber(5e12f), u"5.0Yikes");
  EXPECT_EQ(EasiestNRepresentationOfLargeNumber(-5000), u"-5,000");
}

TEST_F(NumberFormats, FixedDecimalsThousandsAndPercent) {
  EXPECT_EQ(FormattedWithDecimals(1234.5, 2, true, false), u"1,234.50");
  EXPECT_EQ(FormattedWithDecimals(1234.5, 2, false, false), u"1234.50");
  EXPECT_EQ(FormattedWithDecimals(1234.5, 0, false, true), u"1235%");
  EXPECT_EQ(FormattedWithDecimals(1234567, 0, true, false), u"1,234,567");
  EXPECT_EQ(FormattedWithDecimals(0.25, 1, false, true), u"0.3%");
  EXPECT_EQ(FormattedWithDecimals(-2.5, -3, false, false), u"-3");
}

TEST_F(NumberFormats, ThousandsSeparatedForms) {
  EXPECT_EQ(RealToDecStr(1234567.891), u"1,234,567.89");
  EXPECT_EQ(IntToDecStr(std::int32_t{1234567}), u"1,234,567");
  EXPECT_EQ(IntToDecStr(std::int32_t{-1234}), u"-1,234");
  EXPECT_EQ(IntToDecStr(std::int32_t{999}), u"999");
  EXPECT_EQ(IntToDecStr(std::numeric_limits<std::int64_t>::min()), u"-9,223,372,036,854,775,808");
  EXPECT_EQ(IntToDecStr(std::int64_t{9007199254740993}), u"9,007,199,254,740,993");  // exact past 2^53

  TFormatSettings german = TFormatSettings::Invariant();
  german.ThousandSeparator = u'.';
  german.DecimalSeparator = u',';
  EXPECT_EQ(IntToDecStr(std::int32_t{1234567}, german), u"1.234.567");
  EXPECT_EQ(RealToDecStr(1234.5, german), u"1.234,50");
  german.ThousandSeparator = 0;
  EXPECT_EQ(IntToDecStr(std::int32_t{1234567}, german), u"1234567");
}

TEST_F(NumberFormats, ZeroPadding) {
  EXPECT_EQ(WithLeftZeros(4, 7), u"0007");
  EXPECT_EQ(WithLeftZeros(2, 123), u"123");
  EXPECT_EQ(WithLeftZeros(0, 5), u"5");
  EXPECT_EQ(WithLeftZeros(4, -5), u"-005");
}

TEST_F(NumberFormats, NumberTests) {
  EXPECT_TRUE(IsANumber(u""));
  EXPECT_TRUE(IsANumber(u"123"));
  EXPECT_TRUE(IsANumber(u"-5"));
  EXPECT_TRUE(IsANumber(u"1,234.5"));
  EXPECT_TRUE(IsANumber(u"50%"));
  EXPECT_TRUE(IsANumber(u"\u0661\u0662\u0663"));  // Arabic-Indic digits
  EXPECT_FALSE(IsANumber(u"12a"));
  EXPECT_FALSE(IsANumber(u"1 2"));
  EXPECT_FALSE(IsANumber(u"--5"));

  EXPECT_EQ(DigitsOnlyOf(u"-12"), u"-12");
  EXPECT_EQ(DigitsOnlyOf(u"12a3"), u"123");
  EXPECT_EQ(DigitsOnlyOf(u"1,234.5"), u"12345");
  EXPECT_EQ(DigitsOnlyOf(u"none"), u"");
}

TEST_F(NumberFormats, BooleansComeFromTheCatalogue) {
  EXPECT_EQ(BooleanToStr(true), u"true");
  EXPECT_EQ(BooleanToStr(false), u"false");
  EXPECT_TRUE(StrToBoolean(u"TRUE"));
  EXPECT_FALSE(StrToBoolean(u"false"));
  EXPECT_FALSE(StrToBoolean(u"yes"));
  SetCatalogueText("_QYTrue", u"wahr");
  EXPECT_EQ(BooleanToStr(true), u"wahr");
  EXPECT_TRUE(StrToBoolean(u"WAHR"));
  EXPECT_FALSE(StrToBoolean(u"true"));
}

}  // namespace
}  // namespace quill
