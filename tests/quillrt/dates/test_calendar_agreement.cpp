// The shifted day numbers against two independent calendars: values Python's
// datetime computed (calendar_samples.inc, made by make_calendar_samples.py) and a
// day-by-day walk over the whole range with its own month table.
#include <gtest/gtest.h>

#include <cstdint>

#include "quillrt/dates/julian_dates.h"

namespace quill {
namespace {

struct Sample {
  std::int32_t year, month, day;
  std::int64_t whole_day_number;
};

constexpr Sample kSamples[] = {
#include "quillrt/dates/calendar_samples.inc"
};

// Proleptic Gregorian leap rule, written out as the calendar reform stated it.
bool GregorianLeap(std::int64_t year) {
  if (year % 400 == 0) return true;
  if (year % 100 == 0) return false;
  return year % 4 == 0;
}

int MonthLength(std::int64_t gregorian_year, int month) {
  constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kLengths[month - 1] + (month == 2 && GregorianLeap(gregorian_year) ? 1 : 0);
}

// Days from 1 January of year 0 (proleptic Gregorian) to 1 January of `year`,
// counted with floor division so years before 0 work too.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
std::int64_t DaysBeforeYear(std::int64_t year) {
  const std::int64_t y = year - 1;
  return 365 * year + FloorDiv(y, 4) - FloorDiv(y, 100) + FloorDiv(y, 400) + 1;
}

TEST(CalendarAgreement, PythonSamplesBothWays) {
  ASSERT_GT(std::size(kSamples), 9000u);
  int checked = 0;
  for (const Sample& s : kSamples) {
    const TYearMonthDay date{s.year, s.month, s.day};
    const double expected = static_cast<double>(s.whole_day_number) + 0.5;
    ASSERT_EQ(YearMonthDayToJulianAddingConst(date), expected) << s.year << '-' << s.month << '-' << s.day;
    TYearMonthDay back;
    ASSERT_TRUE(TryJulianDateToYearMonthDayRemovingConst(expected, back));
    ASSERT_EQ(back, date);
    // Any time of that day (the middle of a period) is still that day.
    ASSERT_TRUE(TryJulianDateToYearMonthDayRemovingConst(expected + 0.999, back));
    ASSERT_EQ(back, date);
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(std::size(kSamples)));
}

TEST(CalendarAgreement, SamplesFromDateTimeValues) {
  // Real date-time values exist from year 1; the shift is added on conversion.
  for (const Sample& s : kSamples) {
    if (s.year < 1) continue;
    TDateTime evening = 0;  // 29 February 1900 and kin are no real dates
    if (!TryEncodeDateTime(s.year, s.month, s.day, 18, 0, 0, 0, evening)) continue;
    ASSERT_EQ(DateTimeToJulianAddingConst(evening), static_cast<double>(s.whole_day_number) + 0.5)
        << s.year << '-' << s.month << '-' << s.day;
    ASSERT_EQ(DateToYearMonthDayRemovingConst(EncodeDate(s.year + kYearShift, s.month, s.day)),
              (TYearMonthDay{s.year, s.month, s.day}));
  }
}

TEST(CalendarAgreement, EveryDayOfTheRangeIsConsecutive) {
  const double first = YearMonthDayToJulianAddingConst({kLowestShiftedYear, 1, 1});
  ASSERT_EQ(first, 1721425.5);  // 1 January 0001 at midnight
  double expected = first;
  for (std::int32_t year = kLowestShiftedYear; year <= kHighestShiftedYear; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const int length = MonthLength(year + 4500, month);
      ASSERT_EQ(ShiftedDaysInMonth(year, month), length) << year << '-' << month;
      for (int day = 1; day <= length; ++day, expected += 1) {
        const TYearMonthDay date{year, month, day};
        ASSERT_EQ(YearMonthDayToJulianAddingConst(date), expected) << year << '-' << month << '-' << day;
        TYearMonthDay back;
        ASSERT_TRUE(TryJulianDateToYearMonthDayRemovingConst(expected, back));
        ASSERT_EQ(back, date);
      }
    }
  }
  EXPECT_EQ(expected - 1, YearMonthDayToJulianAddingConst({kHighestShiftedYear, 12, 31}));
}

TEST(CalendarAgreement, YearLengthsFollowTheRealCalendarExceptSwappedCenturies) {
  // Compare with the proleptic Gregorian year lengths of the real years. Only the
  // century years swap: those divisible by 400 lose their 29 February, those
  // leaving 300 gain one.
  int swapped = 0;
  for (std::int32_t year = kLowestShiftedYear; year < kHighestShiftedYear; ++year) {
    const double shifted = YearMonthDayToJulianAddingConst({year + 1, 1, 1}) -
                           YearMonthDayToJulianAddingConst({year, 1, 1});
    const auto real = static_cast<double>(DaysBeforeYear(year + 1) - DaysBeforeYear(year));
    const std::int32_t in_cycle = ((year % 400) + 400) % 400;
    if (in_cycle == 0) {
      ASSERT_EQ(real, 366) << year;
      ASSERT_EQ(shifted, 365) << year;
      ++swapped;
    } else if (in_cycle == 300) {
      ASSERT_EQ(real, 365) << year;
      ASSERT_EQ(shifted, 366) << year;
      ++swapped;
    } else {
      ASSERT_EQ(shifted, real) << year;
    }
  }
  EXPECT_EQ(swapped, 49);
}

TEST(CalendarAgreement, JulianGregorianEdgeIsProlepticGregorian) {
  // No days vanish in October 1582: the calendar is Gregorian throughout.
  const double fourth = YearMonthDayToJulianAddingConst({1582, 10, 4});
  EXPECT_EQ(YearMonthDayToJulianAddingConst({1582, 10, 15}) - fourth, 11);
  for (int day = 5; day <= 14; ++day)
    EXPECT_EQ(YearMonthDayToJulianAddingConst({1582, 10, day}), fourth + day - 4);
}

}  // namespace
}  // namespace quill
