#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>

#include "quillrt/framework/date_time.h"

namespace quill {
namespace {

struct Fields {
  int year, month, day, hour, min, sec, msec;
  bool operator==(const Fields&) const = default;
};

Fields Decode(TDateTime value) {
  Fields f{};
  DecodeDate(value, f.year, f.month, f.day);
  DecodeTime(value, f.hour, f.min, f.sec, f.msec);
  return f;
}

std::ostream& operator<<(std::ostream& out, const Fields& f) {
  return out << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.min << ':'
             << f.sec << '.' << f.msec;
}

TEST(DateTime, KnownDayNumbers) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, DatesRoundTripAcrossLeapYears) {
  // Every day from 1599 to 2401 decodes to a valid date that encodes back to itself,
  // and consecutive days are consecutive dates.
  int prev_year = 0, prev_month = 0, prev_day = 0;
  for (int n = EncodeDate(1599, 1, 1); n <= EncodeDate(2401, 12, 31); ++n) {
    int y, m, d;
    DecodeDate(n, y, m, d);
    ASSERT_EQ(EncodeDate(y, m, d), n) << y << '-' << m << '-' << d;
    if (prev_year != 0) {
      const bool next_day = y == prev_year && m == prev_month && d == prev_day + 1;
      const bool next_month = y == prev_year && m == prev_month + 1 && d == 1 &&
                              prev_day == DaysInAMonth(prev_year, prev_month);
      const bool next_year = y == prev_year + 1 && m == 1 && d == 1 && prev_month == 12 && prev_day == 31;
      ASSERT_TRUE(next_day || next_month || next_year) << y << '-' << m << '-' << d;
    }
    prev_year = y, prev_month = m, prev_day = d;
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2023, 13), 0);
  EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);
  EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1.0);
}

TEST(DateTime, NegativeValuesKeepTheTimeAsTheFractionsSize) {
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  EXPECT_EQ(Decode(-1.25), (Fields{1899, 12, 29, 6, 0, 0, 0}));
  EXPECT_EQ(Decode(-2.75), (Fields{1899, 12, 28, 18, 0, 0, 0}));
  const TDateTime old = EncodeDateTime(1066, 10, 14, 9, 30, 15, 250);
  EXPECT_LT(old, 0);
  EXPECT_EQ(Decode(old), (Fields{1066, 10, 14, 9, 30, 15, 250}));
  EXPECT_EQ(Decode(EncodeDateTime(2024, 2, 29, 23, 59, 59, 999)), (Fields{2024, 2, 29, 23, 59, 59, 999}));
}

TEST(DateTime, TimeRoundsToTheMillisecondAndCarriesIntoTheNextDay) {
  const TDateTime almost_midnight = EncodeDate(2023, 12, 31) + 0.99999999999;
  EXPECT_EQ(Decode(almost_midnight), (Fields{2024, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(Decode(-1.99999999999), (Fields{1899, 12, 30, 0, 0, 0, 0}));
  // The last representable day has no next day: it stays at its last millisecond.
  EXPECT_EQ(Decode(EncodeDate(9999, 12, 31) + 0.999999999), (Fields{9999, 12, 31, 23, 59, 59, 999}));
  int h, m, s, ms;
  DecodeTime(EncodeTime(10, 20, 30, 400), h, m, s, ms);
  EXPECT_EQ((Fields{0, 0, 0, h, m, s, ms}), (Fields{0, 0, 0, 10, 20, 30, 400}));
}

TEST(DateTime, InvalidInputsAreRejected) {
  TDateTime value = 123;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, value));
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1, value));
  EXPECT_FALSE(TryEncodeDate(2024, 4, 31, value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, value));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, value));
  EXPECT_FALSE(TryEncodeTime(0, -1, 0, 0, value));
  EXPECT_EQ(value, 123);
  try {
    EncodeDate(2023, 2, 29);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Invalid argument to date encode");
  }
  try {
    EncodeTime(25, 0, 0, 0);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Invalid argument to time encode");
  }
  EXPECT_THROW(EncodeDateTime(2024, 1, 1, 0, 0, 60, 0), EConvertError);
  // Values outside the valid years decode to zeros instead of garbage.
  EXPECT_EQ(Decode(1e12).year, 0);
  EXPECT_EQ(Decode(std::nan("")).month, 0);
  int y, mo, d, h, mi, s, ms;
  EXPECT_FALSE(TryDecodeDateTime(-1e9, y, mo, d, h, mi, s, ms));
  EXPECT_THROW(DecodeDateTime(INFINITY, y, mo, d, h, mi, s, ms), EConvertError);
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
  EXPECT_EQ(DayOfWeek(0), 7);                        // 30 Dec 1899, a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 5)), 3);   // a Tuesday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3) + 0.9), 1);
  EXPECT_EQ(DayOfWeek(-1.5), 6);                     // 29 Dec 1899, a Friday
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);       // proleptic Gregorian Monday
}

TEST(DateTime, DosDateAndTimeWords) {
  const TDateTime when = EncodeDateTime(2024, 3, 5, 14, 7, 9, 500);
  std::uint16_t date_word = 0, time_word = 0;
  DateTimeToDosDateTime(when, date_word, time_word);
  EXPECT_EQ(date_word, (44 << 9) | (3 << 5) | 5);
  EXPECT_EQ(time_word, (14 << 11) | (7 << 5) | 4);  // odd second and milliseconds dropped
  EXPECT_EQ(DosDateTimeToDateTime(date_word, time_word), EncodeDateTime(2024, 3, 5, 14, 7, 8, 0));
  const int file_date = DateTimeToFileDate(when);
  EXPECT_EQ(static_cast<std::uint32_t>(file_date), (static_cast<std::uint32_t>(date_word) << 16) | time_word);
  EXPECT_EQ(FileDateToDateTime(file_date), EncodeDateTime(2024, 3, 5, 14, 7, 8, 0));
  // Years from 2044 set the top bit: still a round trip.
  const TDateTime late = EncodeDateTime(2107, 12, 31, 23, 59, 58, 0);
  EXPECT_LT(DateTimeToFileDate(late), 0);
  EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(late)), late);
  EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(EncodeDate(1980, 1, 1))), EncodeDate(1980, 1, 1));
}

TEST(DateTime, DosValuesOutOfRangeAreRejectedNotWrapped) {
  int file_date = 77;
  EXPECT_FALSE(TryDateTimeToFileDate(EncodeDate(1979, 12, 31), file_date));
  EXPECT_FALSE(TryDateTimeToFileDate(EncodeDate(2108, 1, 1), file_date));
  EXPECT_EQ(file_date, 77);
  EXPECT_THROW(DateTimeToFileDate(EncodeDate(1970, 1, 1)), EConvertError);
  TDateTime value;
  EXPECT_FALSE(TryDosDateTimeToDateTime((44 << 9) | (0 << 5) | 5, 0, value));   // month 0
  EXPECT_FALSE(TryDosDateTimeToDateTime((44 << 9) | (2 << 5) | 30, 0, value));  // 30 February
  EXPECT_FALSE(TryDosDateTimeToDateTime((44 << 9) | (3 << 5) | 5, 30, value));  // second 60
  EXPECT_FALSE(TryDosDateTimeToDateTime((44 << 9) | (3 << 5) | 5, 24 << 11, value));
  EXPECT_FALSE(TryFileDateToDateTime(0, value));
  EXPECT_THROW(FileDateToDateTime(0), EConvertError);
}

TEST(DateTime, UnixSeconds) {
  EXPECT_EQ(UnixToDateTime(0), 25569.0);
  EXPECT_EQ(UnixToDateTime(86400 + 43200), 25570.5);
  EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2024, 3, 5, 14, 7, 9, 0)), 1709647629);
  EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2024, 3, 5, 14, 7, 9, 600)), 1709647630);
  // Before 1899 the conversion follows the day/fraction layout, both ways.
  const std::int64_t before = -25569LL * 86400 - 86400 + 6 * 3600;  // 29 Dec 1899 06:00 UTC
  EXPECT_EQ(UnixToDateTime(before), -1.25);
  EXPECT_EQ(DateTimeToUnix(-1.25), before);
  for (std::int64_t s : {std::int64_t{-62135596800}, std::int64_t{-1}, std::int64_t{253402300799}}) {
    EXPECT_EQ(DateTimeToUnix(UnixToDateTime(s)), s);
  }
  TDateTime value;
  EXPECT_FALSE(TryUnixToDateTime(253402300800, value));  // year 10000
  EXPECT_FALSE(TryUnixToDateTime(-62135596801, value));  // year 0
  EXPECT_THROW(UnixToDateTime(std::int64_t{1} << 60), EConvertError);
}

TEST(DateTime, FileTimesAreLocal) {
  using namespace std::chrono;
  const std::time_t moment = 1709647629;  // 2024-03-05 14:07:09 UTC
  const auto file_time =
      file_clock::from_sys(sys_seconds(seconds(moment))) + milliseconds(250);
  std::tm local{};
  localtime_r(&moment, &local);
  const TDateTime value = FileTimeToDateTime(file_time);
  EXPECT_EQ(Decode(value), (Fields{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                   local.tm_min, local.tm_sec, 250}));
  EXPECT_EQ(DateTimeToFileTime(value), file_time);
  std::filesystem::file_time_type out;
  EXPECT_FALSE(TryDateTimeToFileTime(EncodeDate(1, 1, 1), out));  // beyond the file clock
  EXPECT_FALSE(TryDateTimeToFileTime(std::nan(""), out));
}

TEST(DateTime, ClockReadingsAreConsistent) {
  const TDateTime date = Date();
  const TDateTime time = Time();
  EXPECT_EQ(date, std::trunc(date));
  EXPECT_GE(time, 0.0);
  EXPECT_LT(time, 1.0);
  EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

}  // namespace
}  // namespace quill
