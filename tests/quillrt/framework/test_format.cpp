#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "quillrt/framework/format.h"

namespace quill {
namespace {

const TFormatSettings kInv = TFormatSettings::Invariant();

// A settings record in the continental European style.
TFormatSettings Continental() {
  TFormatSettings s = TFormatSettings::Invariant();
  s.DecimalSeparator = u',';
  s.ThousandSeparator = u'.';
  s.CurrencyString = u"€";
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  s.DateSeparator = u'.';
  s.TimeSeparator = u'.';
  return s;
}

UnicodeString F(const UnicodeString& fmt, std::initializer_list<TVarRec> args) { return Format(kInv, fmt, args); }

TEST(Format, IntegersTakePrecisionAsMinimumDigitsBeforeTheSign) {
  EXPECT_EQ(F(u"%5.4d", {-300}), u"-0300");
  EXPECT_EQ(F(u"%7.4d", {-300}), u"  -0300");
  EXPECT_EQ(F(u"%.4d|%3d|%-4d|", {42, 42, 42}), u"0042| 42|42  |");
  EXPECT_EQ(F(u"%d", {std::numeric_limits<std::int64_t>::min()}), u"-9223372036854775808");
  EXPECT_EQ(F(u"%d", {std::numeric_limits<std::uint64_t>::max()}), u"18446744073709551615");
  EXPECT_EQ(F(u"%D", {7}), u"7");
}

TEST(Format, UnsignedAndHexUseTheArgumentsOwnWidth) {
  EXPECT_EQ(F(u"%u", {-1}), u"4294967295");
  EXPECT_EQ(F(u"%u", {std::int64_t{-1}}), u"18446744073709551615");
  EXPECT_EQ(F(u"%x|%x|%.4x", {255, -1, 10}), u"FF|FFFFFFFF|000A");
  EXPECT_EQ(F(u"%x", {std::int64_t{-2}}), u"FFFFFFFFFFFFFFFE");
  EXPECT_EQ(F(u"%p", {reinterpret_cast<const void*>(0xBEEF)}), u"000000000000BEEF");
}

TEST(Format, StringsIndexesWidthsAndStars) {
  EXPECT_EQ(F(u"%-6s|%6s|", {u"ab", "cd"}), u"ab    |    cd|");
  EXPECT_EQ(F(u"%.2s|%.0s|", {u"xyz", u"xyz"}), u"xy||");
  EXPECT_EQ(F(u"%1:s %0:s", {u"world", u"hello"}), u"hello world");
  // An index moves the argument pointer for the specifiers after it.
  EXPECT_EQ(F(u"%d %d %0:d %d", {10, 20}), u"10 20 10 20");
  EXPECT_EQ(F(u"[%*d][%-*d][%.*d]", {5, 3, 4, 7, 3, 9}), u"[    3][7   ][009]");
  EXPECT_EQ(F(u"100%% %s", {UnicodeString(u"sure")}), u"100% sure");
  EXPECT_EQ(F(u"%s%s", {u'x', std::string("é")}), u"xé");
  // A cut never splits a surrogate pair.
  EXPECT_EQ(F(u"%.2s", {u"a\U0001F600"}), u"a");
  EXPECT_EQ(F(u"no args", {}), u"no args");
}

TEST(Format, FloatSpecifiers) {
  EXPECT_EQ(F(u"%e", {1000.0}), u"1.00000000000000E+003");
  EXPECT_EQ(F(u"%.3e|%e", {-0.00012345, 0.0}), u"-1.23E-004|0.00000000000000E+000");
  EXPECT_EQ(F(u"%f|%.0f|%.2f|%.1f", {1234.5, 2.5, 0.285, -0.04}), u"1234.50|3|0.29|0.0");
  EXPECT_EQ(F(u"%g|%g|%g|%g|%g|%.3g", {0.1, 1e20, 123.456, 1e-5, 0.0001, 1234.5}),
            u"0.1|1E20|123.456|1E-5|0.0001|1.23E3");
  EXPECT_EQ(F(u"%g", {0.1 + 0.2}), u"0.3");
  EXPECT_EQ(F(u"%n|%.0n|%n", {1234567.891, 1234567, -0.5}), u"1,234,567.89|1,234,567|-0.50");
  EXPECT_EQ(F(u"%10.1f|%-8.2n|", {-3.14159, 1234.5}), u"      -3.1|1,234.50|");
  EXPECT_EQ(F(u"%f %e %g", {std::nan(""), INFINITY, -INFINITY}), u"NAN INF -INF");
  // Integers print exactly even where a double would lose digits.
  EXPECT_EQ(F(u"%.0n", {std::int64_t{9007199254740993}}), u"9,007,199,254,740,993");
}

TEST(Format, CurrencyFollowsTheSettings) {
  const TFormatSettings eu = Continental();
  EXPECT_EQ(Format(eu, u"%m|%m|%.0m", {1234.5, -1234.5, 2.5}), u"1.234,50 €|-1.234,50 €|3 €");
  EXPECT_EQ(Format(eu, u"%.1f|%n", {2.25, 1e6}), u"2,3|1.000.000,00");
  TFormatSettings us = kInv;
  us.CurrencyString = u"$";
  const std::pair<int, const char16_t*> negative[] = {{0, u"($1.50)"}, {3, u"$1.50-"},  {4, u"(1.50$)"},
                                                      {9, u"-$ 1.50"}, {12, u"$ -1.50"}, {15, u"(1.50 $)"}};
  for (const auto& [layout, expected] : negative) {
    us.NegCurrFormat = static_cast<std::uint8_t>(layout);
    EXPECT_EQ(Format(us, u"%m", {-1.5}), expected) << layout;
  }
  us.CurrencyFormat = 2;
  us.CurrencyDecimals = 0;
  EXPECT_EQ(Format(us, u"%m", {1234.5}), u"$ 1,235");
}

TEST(Format, MismatchesAndMalformedSpecifiersRaise) {
  const char16_t* bad[] = {u"%d", u"%s", u"%f", u"%p", u"%d %d", u"%q", u"tail %", u"%2:d", u"%*d", u"%9999999d"};
  EXPECT_THROW(F(bad[0], {1.5}), EConvertError);
  EXPECT_THROW(F(bad[1], {5}), EConvertError);
  EXPECT_THROW(F(bad[2], {u"x"}), EConvertError);
  EXPECT_THROW(F(bad[3], {5}), EConvertError);
  EXPECT_THROW(F(bad[4], {5}), EConvertError);
  EXPECT_THROW(F(bad[5], {5}), EConvertError);
  EXPECT_THROW(F(bad[6], {}), EConvertError);
  EXPECT_THROW(F(bad[7], {1, 2}), EConvertError);
  EXPECT_THROW(F(bad[8], {u"3", 4}), EConvertError);
  EXPECT_THROW(F(bad[9], {1}), EConvertError);
  try {
    F(u"%d items", {u"three"});
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Format '%d items' invalid or incompatible with argument");
  }
}

TEST(FloatToStrF, FixedFormatsFallBackToGeneralForHugeValues) {
  EXPECT_EQ(FloatToStrF(1234.567, ffFixed, 15, 1, kInv), u"1234.6");
  EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2, kInv), u"1E20");
  EXPECT_EQ(FloatToStrF(123456.0, ffExponent, 3, 0, kInv), u"1.23E+5");
  EXPECT_EQ(FloatToStrF(123456.0, ffGeneral, 4, 2, kInv), u"1.235E05");
}

TEST(FormatFloat, Placeholders) {
  EXPECT_EQ(FormatFloat(u"0.", 2.5, kInv), u"3.");
  EXPECT_EQ(FormatFloat(u"0.00", 0.005, kInv), u"0.01");
  EXPECT_EQ(FormatFloat(u"0.00", 1.005, kInv), u"1.01");
  EXPECT_EQ(FormatFloat(u"0", 0.5, kInv), u"1");
  EXPECT_EQ(FormatFloat(u"0", -0.5, kInv), u"-1");
  EXPECT_EQ(FormatFloat(u"0000", 5, kInv), u"0005");
  EXPECT_EQ(FormatFloat(u"#.##", 0.5, kInv), u".5");
  EXPECT_EQ(FormatFloat(u"#.##", 0, kInv), u"");
  EXPECT_EQ(FormatFloat(u"#.##", 1234, kInv), u"1234");
  EXPECT_EQ(FormatFloat(u"0.##", 2, kInv), u"2");
  EXPECT_EQ(FormatFloat(u"0.#0", 1.5, kInv), u"1.50");
  EXPECT_EQ(FormatFloat(u".00", 12.5, kInv), u"12.50");
  EXPECT_EQ(FormatFloat(u"00-00", 1234, kInv), u"12-34");
  EXPECT_EQ(FormatFloat(u"0.00", -0.001, kInv), u"0.00");  // no "-0.00"
  EXPECT_EQ(FormatFloat(u"", 1.5, kInv), u"1.5");
  EXPECT_EQ(FormatFloat(u"0.0", 1e25, kInv), u"1E25");
}

TEST(FormatFloat, ThousandSeparatorsLiteralsAndSections) {
  EXPECT_EQ(FormatFloat(u"###0,.00", 1234.5, kInv), u"1,234.50");
  EXPECT_EQ(FormatFloat(u"#,##0", -1234567, kInv), u"-1,234,567");
  EXPECT_EQ(FormatFloat(u"0,000", 5, kInv), u"0,005");
  EXPECT_EQ(FormatFloat(u"#,##0.00", 1e15, kInv), u"1,000,000,000,000,000.00");
  EXPECT_EQ(FormatFloat(u"'$'#,##0.00", 1234.5, kInv), u"$1,234.50");
  EXPECT_EQ(FormatFloat(u"#,##0.00 \"kg\"", -2.5, kInv), u"-2.50 kg");
  EXPECT_EQ(FormatFloat(u"#,##0.00;(#,##0.00)", -1234, kInv), u"(1,234.00)");
  EXPECT_EQ(FormatFloat(u"#,##0.00;;Zero", 0, kInv), u"Zero");
  EXPECT_EQ(FormatFloat(u"#,##0.00;;Zero", 0.001, kInv), u"Zero");  // zero after rounding
  EXPECT_EQ(FormatFloat(u"#,##0.00;;Zero", -5, kInv), u"-5.00");    // empty section: first one
  EXPECT_EQ(FormatFloat(u"0;(0)", -0.2, kInv), u"0");
  EXPECT_EQ(FormatFloat(u"#,##0.00", 1234.5, Continental()), u"1.234,50");
}

TEST(FormatFloat, Scientific) {
  EXPECT_EQ(FormatFloat(u"0.000E+00", 1234, kInv), u"1.234E+03");
  EXPECT_EQ(FormatFloat(u"0.000E+00", 0.5, kInv), u"5.000E-01");
  EXPECT_EQ(FormatFloat(u"0.000E+00", -1234, kInv), u"-1.234E+03");
  EXPECT_EQ(FormatFloat(u"#.###E-0", 1234, kInv), u"1.234E3");
  EXPECT_EQ(FormatFloat(u"#.###E-0", 0.5, kInv), u"5E-1");
  EXPECT_EQ(FormatFloat(u"#.###E-0", 0, kInv), u"0E0");
  EXPECT_EQ(FormatFloat(u"00.00e+00", 1234, kInv), u"12.34e+02");
  EXPECT_EQ(FormatFloat(u"0.0E+0", 99.96, kInv), u"1.0E+2");
}

class FormatDateTimeTest : public ::testing::Test {
 protected:
  // Tuesday 5 March 2024, 14:07:09.045.
  const TDateTime afternoon = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
  UnicodeString Fmt(const UnicodeString& pattern, TDateTime value, const TFormatSettings& s = kInv) {
    return FormatDateTime(pattern, value, s);
  }
};

TEST_F(FormatDateTimeTest, NumbersAndNames) {
  EXPECT_EQ(Fmt(u"yyyy-mm-dd hh:nn:ss.zzz", afternoon), u"2024-03-05 14:07:09.045");
  EXPECT_EQ(Fmt(u"yy/m/d h:n:s z", afternoon), u"24/3/5 14:7:9 45");
  EXPECT_EQ(Fmt(u"YYYY MMM DDD", afternoon), u"2024 Mar Tue");
  EXPECT_EQ(Fmt(u"dddd d mmmm", afternoon), u"Tuesday 5 March");
  EXPECT_EQ(Fmt(u"yyyy", EncodeDate(987, 1, 1)), u"0987");
  EXPECT_EQ(Fmt(u"dd/mm/yyyy hh:nn", afternoon, Continental()), u"05.03.2024 14.07");
}

TEST_F(FormatDateTimeTest, MAfterHourMeansMinutes) {
  EXPECT_EQ(Fmt(u"hh:mm", afternoon), u"14:07");
  EXPECT_EQ(Fmt(u"h:m", afternoon), u"14:7");
  EXPECT_EQ(Fmt(u"hh 'h' mm", afternoon), u"14 h 07");  // quoted text does not break the link
  EXPECT_EQ(Fmt(u"mm hh", afternoon), u"03 14");
  EXPECT_EQ(Fmt(u"hh:nn mm", afternoon), u"14:07 03");  // only the m right after h
}

TEST_F(FormatDateTimeTest, TwelveHourClock) {
  EXPECT_EQ(Fmt(u"h:nn am/pm", afternoon), u"2:07 pm");
  EXPECT_EQ(Fmt(u"h:nn AM/PM", afternoon), u"2:07 PM");
  EXPECT_EQ(Fmt(u"hA/P", afternoon), u"2P");
  EXPECT_EQ(Fmt(u"hh ampm", EncodeTime(0, 30, 0, 0)), u"12 AM");
  EXPECT_EQ(Fmt(u"h ampm", EncodeTime(12, 0, 0, 0)), u"12 PM");
  EXPECT_EQ(Fmt(u"h 'am/pm'", afternoon), u"14 am/pm");  // quoted: no 12-hour clock
  EXPECT_EQ(Fmt(u"hh", afternoon), u"14");
}

TEST_F(FormatDateTimeTest, CompositesLiteralsAndConversions) {
  EXPECT_EQ(Fmt(u"c", afternoon), u"03/05/2024 14:07:09");
  EXPECT_EQ(Fmt(u"c", EncodeDate(2024, 3, 5)), u"03/05/2024");
  EXPECT_EQ(Fmt(u"", EncodeDate(2024, 3, 5)), u"03/05/2024");
  EXPECT_EQ(Fmt(u"ddddd", afternoon), u"03/05/2024");
  EXPECT_EQ(Fmt(u"dddddd", afternoon), u"Tuesday, 05 March 2024");
  EXPECT_EQ(Fmt(u"t|tt", afternoon), u"14:07|14:07:09");
  EXPECT_EQ(Fmt(u"'day' d \"of\" mmmm, x", afternoon), u"day 5 of March, x");
  EXPECT_EQ(DateTimeToStr(afternoon, kInv), u"03/05/2024 14:07:09");
  EXPECT_EQ(DateToStr(afternoon, kInv), u"03/05/2024");
  EXPECT_EQ(TimeToStr(afternoon, kInv), u"14:07:09");
  // Before 1899: the day is the integer part, the time the fraction's size.
  EXPECT_EQ(Fmt(u"yyyy-mm-dd hh:nn", -1.25), u"1899-12-29 06:00");
  // A settings record whose short date refers to itself stops nesting.
  TFormatSettings looping = kInv;
  looping.ShortDateFormat = u"ddddd";
  EXPECT_EQ(Fmt(u"[ddddd]", afternoon, looping), u"[]");
}

TEST(FormatSettingsTest, InvariantRecord) {
  EXPECT_EQ(kInv.DecimalSeparator, u'.');
  EXPECT_EQ(kInv.ThousandSeparator, u',');
  EXPECT_EQ(kInv.ShortDateFormat, u"MM/dd/yyyy");
  EXPECT_EQ(kInv.LongMonthNames[0], u"January");
  EXPECT_EQ(kInv.ShortDayNames[0], u"Sun");
  EXPECT_EQ(kInv.LongDayNames[6], u"Saturday");
  EXPECT_EQ(TFormatSettings::FromLocale("C"), kInv);
  EXPECT_EQ(TFormatSettings::FromLocale("POSIX"), kInv);
  EXPECT_EQ(TFormatSettings::FromLocale("C.UTF-8"), kInv);
  EXPECT_EQ(TFormatSettings::FromLocale("xx_YY"), kInv);
}

TEST(FormatSettingsTest, LocalesFromIcu) {
  const TFormatSettings de = TFormatSettings::FromLocale("de_DE.UTF-8");
  EXPECT_EQ(de.DecimalSeparator, u',');
  EXPECT_EQ(de.ThousandSeparator, u'.');
  EXPECT_EQ(de.ListSeparator, u';');
  EXPECT_EQ(de.CurrencyString, u"€");
  EXPECT_EQ(de.CurrencyFormat, 3);
  EXPECT_EQ(de.NegCurrFormat, 8);
  EXPECT_EQ(de.DateSeparator, u'.');
  EXPECT_EQ(de.LongMonthNames[2], u"März");
  EXPECT_EQ(de.LongDayNames[0], u"Sonntag");
  const TDateTime when = EncodeDateTime(2024, 3, 5, 14, 7, 9, 0);
  EXPECT_EQ(DateTimeToStr(when, de), u"05.03.2024 14:07:09");
  EXPECT_EQ(Format(de, u"%m", {-1234.5}), u"-1.234,50 €");

  const TFormatSettings us = TFormatSettings::FromLocale("en-US");
  EXPECT_EQ(us.CurrencyString, u"$");
  EXPECT_EQ(us.NegCurrFormat, 1);
  EXPECT_EQ(DateTimeToStr(when, us), u"3/5/2024 2:07:09 PM");

  const TFormatSettings nl = TFormatSettings::FromLocale("nl_NL");
  EXPECT_EQ(Format(nl, u"%m", {-1234.5}), u"€ -1.234,50");
  EXPECT_EQ(DateToStr(when, nl), u"05-03-2024");
}

TEST(FormatSettingsTest, GlobalComesFromTheDefaultLocale) {
  EXPECT_EQ(FormatSettings, TFormatSettings::FromLocale(icu::Locale::getDefault().getName()));
  EXPECT_EQ(Format(u"%n", {1234.5}), Format(FormatSettings, u"%n", {1234.5}));
}

}  // namespace
}  // namespace quill
