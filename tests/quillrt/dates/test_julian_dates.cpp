#include <gtest/gtest.h>

#include <cmath>

#include "quillrt/dates/julian_dates.h"
#include "quillrt/framework/format.h"

namespace quill {
namespace {

TYearMonthDay TodaysDate() {
  int y = 0, m = 0, d = 0;
  DecodeDate(Date(), y, m, d);
  return {y, m, d};
}

// Month names and separators of en_US, whatever the machine's locale is.
class EnglishDates : public ::testing::Test {
 protected:
  void SetUp() override { FormatSettings = TFormatSettings::FromLocale("en_US"); }
  void TearDown() override { FormatSettings = saved_; }

 private:
  TFormatSettings saved_ = FormatSettings;
};

TEST(JulianDates, UnknownDateRoundTripsAndPrintsAsQuestionMarks) {
  TYearMonthDay rec{2020, 5, 5};
  ClearAYearMonthDayRec(rec);
  EXPECT_EQ(rec, (TYearMonthDay{-4001, 1, 1}));
  EXPECT_EQ(AClearYearMonthDayRec(), rec);
  const double jd = YearMonthDayToJulianAddingConst(rec);
  EXPECT_NE(jd, 0);
  EXPECT_EQ(JulianDateToYearMonthDayRemovingConst(jd), rec);
  for (bool abbreviated : {false, true})
    for (auto basis : {tlpb_years, tlpb_days, tlpb_custom})
      EXPECT_EQ(JulianToStringRemovingConst(jd, basis, abbreviated), u"??");
  EXPECT_EQ(YearMonthDayAsString(rec, tlpb_years), u"??");
}

TEST(JulianDates, ClampingAndNonExistentDates) {
  // (-300, 0, 40) becomes 31 January -300, stored as 31 January 4200.
  EXPECT_EQ(YearMonthDayToJulianAddingConst({-300, 0, 40}), 3255108.5);
  EXPECT_EQ(YearMonthDayToJulianAddingConst({-300, 13, 0}), YearMonthDayToJulianAddingConst({-300, 12, 1}));
  EXPECT_EQ(YearMonthDayToJulianAddingConst({1850, 2, 30}), 0);
  EXPECT_EQ(YearMonthDayToJulianAddingConst({1850, 4, 31}), 0);
  EXPECT_EQ(YearMonthDayToJulianAddingConst({kLowestShiftedYear - 1, 12, 31}), 0);
  EXPECT_EQ(YearMonthDayToJulianAddingConst({kHighestShiftedYear + 1, 1, 1}), 0);
  EXPECT_NE(YearMonthDayToJulianAddingConst({kHighestShiftedYear, 12, 31}), 0);
}

TEST(JulianDates, TwentyNinthFebruaryOfSwappedCenturies) {
  // 1900 is a leap year of the shifted calendar, so its 29 February has a number of
  // its own between 28 February and 1 March.
  const double feb28_1900 = YearMonthDayToJulianAddingConst({1900, 2, 28});
  EXPECT_EQ(YearMonthDayToJulianAddingConst({1900, 2, 29}), feb28_1900 + 1);
  EXPECT_EQ(YearMonthDayToJulianAddingConst({1900, 3, 1}), feb28_1900 + 2);
  // The real 29 February 2000 (and 1600, 0, -400) is kept in February as the 28th,
  // never 0 (which would read back as today).
  for (int year : {2000, 1600, 0, -400, -4400}) {
    const double feb28 = YearMonthDayToJulianAddingConst({year, 2, 28});
    EXPECT_NE(feb28, 0);
    EXPECT_EQ(YearMonthDayToJulianAddingConst({year, 2, 29}), feb28) << year;
    EXPECT_EQ(YearMonthDayToJulianAddingConst({year, 3, 1}), feb28 + 1) << year;
  }
  EXPECT_EQ(DateTimeToJulianAddingConst(EncodeDateTime(2000, 2, 29, 13, 0, 0, 0)),
            YearMonthDayToJulianAddingConst({2000, 2, 28}));
  EXPECT_EQ(UserStrDateAndTimeParsed(u"2000/2/29"), YearMonthDayToJulianAddingConst({2000, 2, 28}));
  // A year that is not a leap year in either calendar still has no 29 February.
  EXPECT_EQ(YearMonthDayToJulianAddingConst({1999, 2, 29}), 0);
  EXPECT_EQ(ShiftedDaysInMonth(2000, 2), 28);
  EXPECT_EQ(ShiftedDaysInMonth(1900, 2), 29);
  EXPECT_EQ(ShiftedDaysInMonth(2004, 2), 29);
  EXPECT_EQ(ShiftedDaysInMonth(2004, 13), 0);
}

TEST(JulianDates, FallBacksToToday) {
  // These fall back to today's date by design; the Try form reports the failure.
  EXPECT_EQ(JulianDateToYearMonthDayRemovingConst(0), TodaysDate());
  EXPECT_EQ(JulianDateToYearMonthDayRemovingConst(1e12), TodaysDate());
  TYearMonthDay untouched{1, 2, 3};
  EXPECT_FALSE(TryJulianDateToYearMonthDayRemovingConst(0, untouched));
  EXPECT_FALSE(TryJulianDateToYearMonthDayRemovingConst(std::nan(""), untouched));
  EXPECT_EQ(untouched, (TYearMonthDay{1, 2, 3}));
  EXPECT_EQ(DateToYearMonthDay(-1e9, true), TodaysDate());
  EXPECT_EQ(YearMonthDayToJulianDateSemConvertir({1999, 2, 30}), Date() + kJulianDateOfDateTimeZero);
  EXPECT_EQ(YearMonthDayToJulianDateSemConvertir({1899, 12, 30}), kJulianDateOfDateTimeZero);
  EXPECT_EQ(DateTimeToJulianAddingConst(EncodeDate(5500, 1, 1)), 0);
  EXPECT_EQ(DateTimeToJulianAddingConst(1e12), 0);
}

TEST(JulianDates, DateToYearMonthDayDropsTheTimeAndOptionallyTheShift) {
  const TDateTime dt = EncodeDateTime(6350, 6, 15, 23, 59, 0, 0);
  EXPECT_EQ(DateToYearMonthDay(dt, false), (TYearMonthDay{6350, 6, 15}));
  EXPECT_EQ(DateToYearMonthDay(dt, true), (TYearMonthDay{1850, 6, 15}));
  EXPECT_EQ(DateToYearMonthDayRemovingConst(dt), (TYearMonthDay{1850, 6, 15}));
}

TEST_F(EnglishDates, FullLabelsPerGrain) {
  const TYearMonthDay date{1999, 3, 7};
  EXPECT_EQ(YearMonthDayAsString(date, tlpb_millennia), u"1999");
  EXPECT_EQ(YearMonthDayAsString(date, tlpb_years), u"1999");
  EXPECT_EQ(YearMonthDayAsString(date, tlpb_months), u"1999/Mar");
  EXPECT_EQ(YearMonthDayAsString(date, tlpb_weeks), u"1999/Mar/07");
  EXPECT_EQ(YearMonthDayAsString(date, tlpb_hours), u"1999/Mar/07 00");
  EXPECT_EQ(YearMonthDayAsString(date, tlpb_custom), u"1999/Mar/07 00:00");
  EXPECT_EQ(YearMonthDayAsString({-300, 3, 7}, tlpb_years), u"-0300");
  EXPECT_EQ(YearMonthDayAsString({12, 3, 7}, tlpb_years), u"0012");
  // 29 February prints in any year; dates that exist nowhere do not.
  EXPECT_EQ(YearMonthDayAsString({1999, 2, 29}, tlpb_days), u"1999/Feb/29");
  EXPECT_EQ(YearMonthDayAsString({1999, 2, 30}, tlpb_days), u"??");
  EXPECT_EQ(YearMonthDayAsString({1999, 0, 1}, tlpb_years), u"??");
}

TEST_F(EnglishDates, AbbreviatedLabelsPerGrain) {
  const TYearMonthDay date{1999, 3, 7};
  EXPECT_EQ(AbbreviatedYearMonthDayAsString(date, tlpb_centuries), u"1999");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString(date, tlpb_years), u"99");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString({2005, 3, 7}, tlpb_years), u"05");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString({-300, 3, 7}, tlpb_decades), u"-0300");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString(date, tlpb_months), u"Mar");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString(date, tlpb_weeks), u"7");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString(date, tlpb_days), u"7");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString(date, tlpb_hours), u"0");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString(date, tlpb_spare), u"99/Mar/07 00:00");
  EXPECT_EQ(AbbreviatedYearMonthDayAsString({1999, 4, 31}, tlpb_days), u"??");
}

TEST_F(EnglishDates, LabelsFromDayNumbers) {
  const double jd = YearMonthDayToJulianAddingConst({-2500, 11, 20});
  EXPECT_EQ(JulianToStringRemovingConst(jd, tlpb_days, false), u"-2500/Nov/20");
  EXPECT_EQ(JulianToStringRemovingConst(jd, tlpb_months, true), u"Nov");
  EXPECT_EQ(JulianToStringRemovingConst(0, tlpb_days, false), u"??");
  EXPECT_EQ(JulianToStringRemovingConst(-1e300, tlpb_days, false), u"??");
  EXPECT_EQ(TimeLineBasisFormatString(tlpb_weeks), u"yyyy/mmm/dd");
  EXPECT_EQ(TimeLineBasisFormatString(tlpb_unknown), u"yyyy/mmm/dd hh:nn");
}

TEST(UserDates, PrintingAPicture) {
  const TYrMmDyHrMn rec{2098, 11, 5, 7, 3};
  EXPECT_EQ(StringFromTYrMmDyHrMn(rec, u"yyyy/mm/dd hh:nn"), u"2098/11/05 07:03");
  EXPECT_EQ(StringFromTYrMmDyHrMn(rec, u"d.m.yy h-n"), u"5.11.98 7-3");
  // Runs too long for a field print nothing; capitals are not fields.
  EXPECT_EQ(StringFromTYrMmDyHrMn(rec, u"ddd|yyy|yyyyy|D|Y"), u"|||D|Y");
  EXPECT_EQ(StringFromTYrMmDyHrMn({12, 1, 1, 0, 0}, u"yyyy"), u"0012");
}

TEST(UserDates, ReadingAPicture) {
  EXPECT_EQ(DatefromUsersString(u"05/11/98", u"dd/mm/yy"), (TYrMmDyHrMn{2098, 11, 5, 0, 0}));
  EXPECT_EQ(DatefromUsersString(u"5/11/98", u"dd/mm/yy"), TYrMmDyHrMn{});
  EXPECT_EQ(DatefromUsersString(u"1999/12/31 23:59", u"yyyy/mm/dd hh:nn"),
            (TYrMmDyHrMn{1999, 12, 31, 23, 59}));
  // Missing or impossible fields are clamped: day and month 1, year, hour, minute 0.
  EXPECT_EQ(DatefromUsersString(u"xxxx/ab/99 77:-1", u"yyyy/mm/dd hh:nn"), (TYrMmDyHrMn{0, 1, 31, 23, 0}));
  EXPECT_EQ(DatefromUsersString(u"1999", u"yyy?"), (TYrMmDyHrMn{0, 0, 0, 0, 0}));
  // What the picture prints reads back.
  const TYrMmDyHrMn rec{2042, 2, 9, 18, 30};
  const UnicodeString picture = u"dd.mm.yy hh:nn";
  EXPECT_EQ(DatefromUsersString(StringFromTYrMmDyHrMn(rec, picture), picture), rec);
}

TEST(UserDates, ParsingTypedDates) {
  const double unknown = YearMonthDayToJulianAddingConst(AClearYearMonthDayRec());
  EXPECT_EQ(UserStrDateAndTimeParsed(u" 1850 "), YearMonthDayToJulianAddingConst({1850, 7, 1}));
  EXPECT_EQ(UserStrDateAndTimeParsed(u"-300/1/31"), YearMonthDayToJulianAddingConst({-300, 1, 31}));
  EXPECT_EQ(UserStrDateAndTimeParsed(u"1850/14/40"), YearMonthDayToJulianAddingConst({1850, 12, 31}));
  // A day that does not exist is no date rather than 0 (which reads back as today).
  EXPECT_EQ(UserStrDateAndTimeParsed(u"1850/2/30"), unknown);
  EXPECT_EQ(UserStrDateAndTimeParsed(u"9000"), unknown);
  for (const char16_t* text : {u"<1850>", u"<no date found>", u"185", u"", u"1850/2", u"1850/x/3",
                               u"1850/2/3/4", u"1850-02-03"})
    EXPECT_EQ(UserStrDateAndTimeParsed(text), unknown) << Utf16ToUtf8(text);
}

TEST(TimelinePeriods, StartAndEnd) {
  EXPECT_EQ(StartOfPeriod({-1234, 5, 6}, tlpb_millennia), (TYearMonthDay{-1000, 1, 1}));
  EXPECT_EQ(StartOfPeriod({1999, 5, 6}, tlpb_centuries), (TYearMonthDay{1900, 1, 1}));
  EXPECT_EQ(StartOfPeriod({1999, 5, 6}, tlpb_decades), (TYearMonthDay{1990, 1, 1}));
  EXPECT_EQ(StartOfPeriod({1999, 5, 6}, tlpb_years), (TYearMonthDay{1999, 1, 1}));
  EXPECT_EQ(StartOfPeriod({1999, 5, 6}, tlpb_weeks), (TYearMonthDay{1999, 5, 1}));
  EXPECT_EQ(StartOfPeriod({1999, 5, 6}, tlpb_days), (TYearMonthDay{1999, 5, 6}));
  EXPECT_EQ(EndOfPeriod({1999, 2, 10}, tlpb_months), (TYearMonthDay{1999, 2, 28}));
  EXPECT_EQ(EndOfPeriod({1900, 2, 10}, tlpb_months), (TYearMonthDay{1900, 2, 29}));
  EXPECT_EQ(EndOfPeriod({2000, 2, 10}, tlpb_weeks), (TYearMonthDay{2000, 2, 28}));
  EXPECT_EQ(EndOfPeriod({-1234, 5, 6}, tlpb_millennia), (TYearMonthDay{-1, 12, 31}));
  EXPECT_EQ(EndOfPeriod({1999, 5, 6}, tlpb_centuries), (TYearMonthDay{1999, 12, 31}));
  EXPECT_EQ(EndOfPeriod({1991, 5, 6}, tlpb_decades), (TYearMonthDay{1999, 12, 31}));
  EXPECT_EQ(EndOfPeriod({1999, 5, 6}, tlpb_hours), (TYearMonthDay{1999, 5, 6}));
  EXPECT_EQ(EndOfPeriod({1999, 13, 6}, tlpb_months), TodaysDate());
}

TEST(TimelinePeriods, CountsAndNumbers) {
  const TYearMonthDay first{1999, 1, 1};
  EXPECT_EQ(PeriodsBetween(first, {1999, 1, 11}, tlpb_weeks), 4);
  EXPECT_EQ(PeriodsBetween(first, {1999, 1, 11}, tlpb_days), 10);
  EXPECT_EQ(PeriodsBetween({1999, 1, 11}, first, tlpb_days), 10);
  EXPECT_EQ(PeriodsInDaySpan(10.5, tlpb_days), 11);
  EXPECT_EQ(PeriodsBetween(first, {2001, 1, 1}, tlpb_years), 2);  // 731 days / 365.25 rounds up
  EXPECT_EQ(PeriodsBetween(first, first, tlpb_months), 0);
  EXPECT_EQ(PeriodsBetween({-1234, 1, 1}, {1999, 1, 1}, tlpb_millennia), 4);
  EXPECT_EQ(PeriodsBetween({1901, 1, 1}, {1999, 1, 1}, tlpb_centuries), 1);
  EXPECT_EQ(PeriodsBetween({1901, 1, 1}, {1999, 1, 1}, tlpb_decades), 10);
  EXPECT_EQ(PeriodsBetween(first, {2500, 1, 1}, tlpb_custom), 1);
  EXPECT_EQ(PeriodsBetween(first, {1999, 2, 30}, tlpb_days), 0);  // not millions

  EXPECT_EQ(PeriodNumberFor(first, {1999, 2, 15}, tlpb_months), 1);  // 45 days
  EXPECT_EQ(PeriodNumberFor(first, {1999, 2, 15}, tlpb_weeks), 5);
  EXPECT_EQ(PeriodNumberFor(first, {1999, 2, 15}, tlpb_days), 45);
  EXPECT_EQ(PeriodNumberFor(first, {2000, 1, 1}, tlpb_years), 0);  // 365 days < 365.25
  EXPECT_EQ(PeriodNumberFor(first, {2000, 1, 2}, tlpb_years), 1);
  EXPECT_EQ(PeriodNumberFor({1999, 1, 1}, {-1, 1, 1}, tlpb_centuries), 20);
  EXPECT_EQ(PeriodNumberFor(first, {2000, 1, 2}, tlpb_hours), 0);
  EXPECT_EQ(PeriodNumberInDaySpan(30.4, tlpb_weeks), 3);
  EXPECT_EQ(PeriodNumberFor({1999, 2, 30}, first, tlpb_days), 0);
}

}  // namespace
}  // namespace quill
