#pragma once
// Calendar dates as shifted day numbers, dates typed by users, and the periods of
// a timeline.
//
// The shifted day number. Texts are dated from antiquity onwards but date-time
// values hold only years 1..9999, so a year y is stored as the Gregorian date in
// year y + 4500 (kYearShift), expressed as an astronomical Julian date (days since
// noon of 1 January 4713 BC; a date-time value plus 2415018.5). Years -4499..5499
// fit. Stored timelines hold these numbers, so the encoding never changes.
//
// The shifted calendar. Because 4500 is not a multiple of 400, the century years
// swap leap status: 1900 (6400) has a 29 February and 2000 (6500) does not. Every
// function here counts month lengths in this shifted calendar, so that day numbers,
// period ends and month lengths agree with each other.
//
// A real date the shifted calendar lacks: 29 February of a year divisible by 400
// (2000, 1600, 0, -400 ...). It is stored as 28 February of that year, so the
// date keeps its year, month and week on a timeline and never turns into "no
// date" or today. Only 30 February, month 13 and the like are rejected.
//
// The unknown date, year -4001 month 1 day 1, marks "no date". It has an ordinary
// day number, converts back to itself and prints as "??".
//
// Today's date as a fall-back. Some conversions give today's date for a value
// they cannot convert; timeline and list code relies on always getting a date
// back. Each such function says so below; the Try forms report the failure
// instead. Nothing here raises.
#include <cstdint>

#include "quillrt/dates/year_month_day.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

inline constexpr std::int32_t kYearShift = 4500;
inline constexpr std::int32_t kLowestShiftedYear = 1 - kYearShift;      // -4499
inline constexpr std::int32_t kHighestShiftedYear = 9999 - kYearShift;  // 5499
inline constexpr std::int32_t kUnknownDateYear = -4001;
// Astronomical Julian date of date-time value 0 (30 December 1899, midnight).
inline constexpr double kJulianDateOfDateTimeZero = 2415018.5;
// What the printing functions show for the unknown date or a failure.
inline constexpr char16_t kUnknownDateLabel[] = u"??";

// ---- records -----------------------------------------------------------------

// Sets the unknown date.
QUILLRT_API void ClearAYearMonthDayRec(TYearMonthDay& rec);
QUILLRT_API TYearMonthDay AClearYearMonthDayRec();
QUILLRT_API bool IsUnknownDate(const TYearMonthDay& rec);

// Leap years and month lengths of the shifted calendar (see above); 0 days for a
// month outside 1..12.
QUILLRT_API bool IsShiftedLeapYear(std::int32_t year);
QUILLRT_API int ShiftedDaysInMonth(std::int32_t year, std::int32_t month);

// ---- conversions ---------------------------------------------------------------

// The shifted day number of rec. Month is clamped to 1..12 and day to 1..31
// first; 29 February of a year the shifted calendar lacks gives 28 February.
// 0 for a date that still does not exist (30 February) or a year outside
// -4499..5499. Note that 0 converts back to today's date (below): test for it.
QUILLRT_API double YearMonthDayToJulianAddingConst(const TYearMonthDay& rec);
// The astronomical Julian date of rec without any shift. A date that does not
// exist (or a year outside 1..9999) gives TODAY's Julian date.
QUILLRT_API double YearMonthDayToJulianDateSemConvertir(const TYearMonthDay& rec);
// The shifted day number of the calendar date of dt (its time of day dropped).
// 0 when dt does not decode or its year + 4500 is beyond 9999.
QUILLRT_API double DateTimeToJulianAddingConst(TDateTime dt);

// The calendar date of a shifted day number, shift removed. Days run from
// midnight to midnight, so a fraction (the middle of a period) counts in the day
// it falls in. False for a number outside the shifted years.
QUILLRT_API bool TryJulianDateToYearMonthDayRemovingConst(double jd, TYearMonthDay& rec);
// As the Try form, but 0 and a number that cannot be converted give TODAY's date.
QUILLRT_API TYearMonthDay JulianDateToYearMonthDayRemovingConst(double jd);
// The calendar date of dt, with 4500 subtracted from the year when `removing`.
// A value that cannot be decoded gives TODAY's date (never shifted).
QUILLRT_API TYearMonthDay DateToYearMonthDay(TDateTime dt, bool removing);
QUILLRT_API TYearMonthDay DateToYearMonthDayRemovingConst(TDateTime dt);

// ---- printing ------------------------------------------------------------------

// The date pattern of a grain, e.g. "yyyy/mmm" for months.
QUILLRT_API UnicodeString TimeLineBasisFormatString(TTimeLinePlotbase basis);
// The pattern of the short labels along a timeline ("mmm" for months). Weeks show
// the day of the month their date falls on ("d"), as a bare week letter would say
// nothing.
QUILLRT_API UnicodeString AbbreviatedTimeLineBasisFormatString(TTimeLinePlotbase basis);
// rec at the grain's full pattern, month names from the default format settings:
// 1999-03-07 at months gives "1999/Mar", year -300 at years "-0300". "??" for the
// unknown date or a month or day that does not exist.
QUILLRT_API UnicodeString YearMonthDayAsString(const TYearMonthDay& rec, TTimeLinePlotbase basis);
// rec at the grain's short pattern ("Mar" for months, "99" for 1999 at years);
// "??" as above.
QUILLRT_API UnicodeString AbbreviatedYearMonthDayAsString(const TYearMonthDay& rec,
                                                          TTimeLinePlotbase basis);
// The date of a shifted day number at a grain; "??" for the unknown date or a
// number that cannot be converted (0 included).
QUILLRT_API UnicodeString JulianToStringRemovingConst(double jd, TTimeLinePlotbase basis,
                                                      bool abbreviated);

// ---- dates typed by users --------------------------------------------------------

// Fills a picture such as "yyyy/mm/dd hh:nn": a run of one d, h, m or n gives the
// plain number, a run of two at least two digits, longer runs nothing; "yyyy" gives
// the year in at least four digits and "yy" its last two digits; other runs of y
// give nothing. Only lower-case letters are fields; other characters are copied.
QUILLRT_API UnicodeString StringFromTYrMmDyHrMn(const TYrMmDyHrMn& rec, const UnicodeString& format);
// Reads text against a picture of the same length, position by position: "yy" is
// a year after 2000 ("98" is 2098), "yyyy" the year; d, m, h, n take one or two
// digits. A field that is missing or not a number is clamped into range (day and
// month 1, hour and minute 0, year 0). A text whose length differs from the
// picture gives all zeros.
QUILLRT_API TYrMmDyHrMn DatefromUsersString(const UnicodeString& text, const UnicodeString& format);
// The shifted day number of a date typed as a year ("1850" is 1 July 1850, the
// middle of the year) or as year/month/day. Anything else (3 characters or fewer,
// text holding "<" or the "<no date found>" label, a part that is not a number, a
// day that does not exist) gives the unknown date's number.
QUILLRT_API double UserStrDateAndTimeParsed(const UnicodeString& text);

// ---- timeline periods ------------------------------------------------------------

// The first day of the period rec falls in. Years are divided with truncation
// toward zero (-1234 at millennia starts at -1000). Days and finer grains give rec.
QUILLRT_API TYearMonthDay StartOfPeriod(const TYearMonthDay& rec, TTimeLinePlotbase basis);
// The last day of the period rec falls in. At months and weeks, a month outside
// 1..12 gives TODAY's date.
QUILLRT_API TYearMonthDay EndOfPeriod(const TYearMonthDay& rec, TTimeLinePlotbase basis);
// The periods a timeline from first to last needs (order does not matter). Months
// count 30.4375 days and weeks are quarters of a month. At the grains measured in
// days, a date without a day number (30 February) counts as no span at all.
QUILLRT_API int PeriodsBetween(const TYearMonthDay& first, const TYearMonthDay& last,
                               TTimeLinePlotbase basis);
// The zero-based period `date` falls in on a timeline starting at `first`.
QUILLRT_API int PeriodNumberFor(const TYearMonthDay& first, const TYearMonthDay& date,
                                TTimeLinePlotbase basis);
// The same two rules for a span given in days, for the grains measured in days
// (years, months, weeks, days); other grains give 1 and 0.
QUILLRT_API int PeriodsInDaySpan(double span, TTimeLinePlotbase basis);
QUILLRT_API int PeriodNumberInDaySpan(double span, TTimeLinePlotbase basis);

}  // namespace quill
