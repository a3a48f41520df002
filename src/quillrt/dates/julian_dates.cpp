#include "quillrt/dates/julian_dates.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/sysutils.h"

namespace quill {

namespace {

constexpr double kDaysPerYear = 365.25;
constexpr double kDaysPerMonth = 30.4375;
constexpr int kWeeksPerMonth = 4;
// Date-time values hold years 1..9999; a day number beyond these is no date.
constexpr double kLowestDateTimeDay = -693593.0;   // 1 January 0001
constexpr double kHighestDateTimeDay = 2958465.0;  // 31 December 9999

TYearMonthDay Today() {
  int year = 0, month = 0, day = 0;
  DecodeDate(Date(), year, month, day);
  return {year, month, day};
}

bool InShiftedRange(std::int32_t year) {
  return year >= kLowestShiftedYear && year <= kHighestShiftedYear;
}

// 29 February of a real leap year that the shifted calendar counts as common
// becomes 28 February (see the header).
std::int32_t DayTheShiftedCalendarHolds(std::int32_t year, std::int32_t month, std::int32_t day) {
  if (month == 2 && day == 29 && !IsShiftedLeapYear(year) && IsLeapYear(year)) return 28;
  return day;
}

// Shifted day number of a date already known to lie in the shifted years; 0 when
// the calendar rejects it.
double ShiftedDayNumber(std::int32_t year, std::int32_t month, std::int32_t day) {
  TDateTime encoded = 0;
  if (!TryEncodeDate(year + kYearShift, month, DayTheShiftedCalendarHolds(year, month, day), encoded))
    return 0;
  return encoded + kJulianDateOfDateTimeZero;
}

// The calendar date of a date-time value's day; false outside years 1..9999.
bool DecodeDay(double day_number, TYearMonthDay& rec) {
  if (!(day_number >= kLowestDateTimeDay && day_number <= kHighestDateTimeDay)) return false;
  int year = 0, month = 0, day = 0;
  DecodeDate(day_number, year, month, day);
  if (year == 0) return false;
  rec = {year, month, day};
  return true;
}

std::int32_t TruncatedTo(std::int32_t year, std::int32_t unit) { return year / unit * unit; }

int RoundedUp(double value) { return static_cast<int>(std::ceil(value)); }
int RoundedDown(double value) { return static_cast<int>(std::floor(value)); }

// Pattern with its runs of y replaced by rec's year as a literal, so that a
// placeholder date supplies only month, day and time.
UnicodeString WithYearAsLiteral(const UnicodeString& pattern, std::int32_t year) {
  UnicodeString result;
  for (std::size_t i = 0; i < pattern.size();) {
    if (pattern[i] != u'y' && pattern[i] != u'Y') {
      result += pattern[i++];
      continue;
    }
    std::size_t run = 0;
    while (i + run < pattern.size() && (pattern[i + run] == u'y' || pattern[i + run] == u'Y')) ++run;
    const UnicodeString digits = run <= 2 ? Format(u"%.2d", {std::abs(year % 100)})
                                          : Format(u"%.4d", {year});
    result += u'\'' + digits + u'\'';
    i += run;
  }
  return result;
}

// Placeholder date in leap year 2000 carrying rec's month and day; false when they
// do not exist.
bool PlaceholderDate(const TYearMonthDay& rec, TDateTime& placeholder) {
  return TryEncodeDate(2000, rec.month, rec.day, placeholder);
}

// Days between the two dates; 0 when either has no day number (a span measured
// from day number 0 would ask for millions of periods).
double SpanInDays(const TYearMonthDay& first, const TYearMonthDay& last) {
  const double a = YearMonthDayToJulianAddingConst(first);
  const double b = YearMonthDayToJulianAddingConst(last);
  return a == 0 || b == 0 ? 0 : std::fabs(b - a);
}

std::int32_t YearsApart(const TYearMonthDay& first, const TYearMonthDay& last) {
  return std::abs(last.year - first.year);
}

// Unsigned decimal digits, blanks around them allowed; false for anything else.
bool DigitsValue(const UnicodeString& text, std::int32_t& value) {
  const UnicodeString digits = Trim(text);
  if (digits.empty() || digits.size() > 9) return false;
  value = 0;
  for (const char16_t c : digits) {
    if (c < u'0' || c > u'9') return false;
    value = value * 10 + (c - u'0');
  }
  return true;
}

}  // namespace

// ---- records ---------------------------------------------------------------------

void ClearAYearMonthDayRec(TYearMonthDay& rec) { rec = {kUnknownDateYear, 1, 1}; }

TYearMonthDay AClearYearMonthDayRec() { return {kUnknownDateYear, 1, 1}; }

bool IsUnknownDate(const TYearMonthDay& rec) { return rec.year == kUnknownDateYear; }

bool IsShiftedLeapYear(std::int32_t year) {
  const std::int64_t stored = static_cast<std::int64_t>(year) + kYearShift;
  return stored % 4 == 0 && (stored % 100 != 0 || stored % 400 == 0);
}

int ShiftedDaysInMonth(std::int32_t year, std::int32_t month) {
  if (month < 1 || month > 12) return 0;
  if (month == 2) return IsShiftedLeapYear(year) ? 29 : 28;
  return DaysInAMonth(2001, month);
}

// ---- conversions -------------------------------------------------------------------

double YearMonthDayToJulianAddingConst(const TYearMonthDay& rec) {
  if (!InShiftedRange(rec.year)) return 0;
  return ShiftedDayNumber(rec.year, std::clamp(rec.month, 1, 12), std::clamp(rec.day, 1, 31));
}

double YearMonthDayToJulianDateSemConvertir(const TYearMonthDay& rec) {
  TDateTime encoded = 0;
  if (!TryEncodeDate(rec.year, rec.month, rec.day, encoded)) encoded = Date();
  return encoded + kJulianDateOfDateTimeZero;
}

double DateTimeToJulianAddingConst(TDateTime dt) {
  int year = 0, month = 0, day = 0;
  DecodeDate(dt, year, month, day);
  if (year == 0 || !InShiftedRange(year)) return 0;
  return ShiftedDayNumber(year, month, day);
}

bool TryJulianDateToYearMonthDayRemovingConst(double jd, TYearMonthDay& rec) {
  TYearMonthDay decoded;
  if (!DecodeDay(std::floor(jd - kJulianDateOfDateTimeZero), decoded)) return false;
  decoded.year -= kYearShift;
  rec = decoded;
  return true;
}

TYearMonthDay JulianDateToYearMonthDayRemovingConst(double jd) {
  TYearMonthDay rec;
  if (jd == 0 || !TryJulianDateToYearMonthDayRemovingConst(jd, rec)) return Today();
  return rec;
}

TYearMonthDay DateToYearMonthDay(TDateTime dt, bool removing) {
  int year = 0, month = 0, day = 0;
  DecodeDate(dt, year, month, day);
  if (year == 0) return Today();
  return {removing ? year - kYearShift : year, month, day};
}

TYearMonthDay DateToYearMonthDayRemovingConst(TDateTime dt) { return DateToYearMonthDay(dt, true); }

// ---- printing --------------------------------------------------------------------

UnicodeString TimeLineBasisFormatString(TTimeLinePlotbase basis) {
  switch (basis) {
    case tlpb_millennia:
    case tlpb_centuries:
    case tlpb_decades:
    case tlpb_years: return u"yyyy";
    case tlpb_months: return u"yyyy/mmm";
    case tlpb_weeks:
    case tlpb_days: return u"yyyy/mmm/dd";
    case tlpb_hours: return u"yyyy/mmm/dd hh";
    default: return u"yyyy/mmm/dd hh:nn";
  }
}

UnicodeString AbbreviatedTimeLineBasisFormatString(TTimeLinePlotbase basis) {
  switch (basis) {
    case tlpb_millennia:
    case tlpb_centuries:
    case tlpb_decades: return u"yyyy";
    case tlpb_years: return u"yy";
    case tlpb_months: return u"mmm";
    case tlpb_weeks:
    case tlpb_days: return u"d";
    case tlpb_hours: return u"h";
    default: return u"yy/mmm/dd hh:nn";
  }
}

UnicodeString YearMonthDayAsString(const TYearMonthDay& rec, TTimeLinePlotbase basis) {
  TDateTime placeholder = 0;
  if (IsUnknownDate(rec) || !PlaceholderDate(rec, placeholder)) return kUnknownDateLabel;
  // The pattern starts with the placeholder's four-digit year, which gives way to
  // rec's year (negative years included).
  const UnicodeString formatted = FormatDateTime(TimeLineBasisFormatString(basis), placeholder);
  return Trim(Format(u"%5.4d", {rec.year}) + formatted.substr(std::min<std::size_t>(4, formatted.size())));
}

UnicodeString AbbreviatedYearMonthDayAsString(const TYearMonthDay& rec, TTimeLinePlotbase basis) {
  TDateTime placeholder = 0;
  if (IsUnknownDate(rec) || !PlaceholderDate(rec, placeholder)) return kUnknownDateLabel;
  return FormatDateTime(WithYearAsLiteral(AbbreviatedTimeLineBasisFormatString(basis), rec.year),
                        placeholder);
}

UnicodeString JulianToStringRemovingConst(double jd, TTimeLinePlotbase basis, bool abbreviated) {
  TYearMonthDay rec;
  if (!TryJulianDateToYearMonthDayRemovingConst(jd, rec) || IsUnknownDate(rec))
    return kUnknownDateLabel;
  return abbreviated ? AbbreviatedYearMonthDayAsString(rec, basis) : YearMonthDayAsString(rec, basis);
}

// ---- dates typed by users ----------------------------------------------------------

UnicodeString StringFromTYrMmDyHrMn(const TYrMmDyHrMn& rec, const UnicodeString& format) {
  UnicodeString result;
  for (std::size_t i = 0; i < format.size();) {
    const char16_t letter = format[i];
    std::size_t run = 1;
    while (i + run < format.size() && format[i + run] == letter) ++run;
    auto field = [&](std::int32_t value) {
      if (run == 1) result += Format(u"%d", {value});
      else if (run == 2) result += Format(u"%.2d", {value});
    };
    switch (letter) {
      case u'd': field(rec.day); break;
      case u'h': field(rec.hour); break;
      case u'm': field(rec.month); break;
      case u'n': field(rec.minute); break;
      case u'y':
        if (run == 2) result += Format(u"%.2d", {std::abs(rec.year % 100)});
        else if (run == 4) result += Format(u"%.4d", {rec.year});
        break;
      default: result.append(run, letter); break;
    }
    i += run;
  }
  return result;
}

TYrMmDyHrMn DatefromUsersString(const UnicodeString& text, const UnicodeString& format) {
  TYrMmDyHrMn rec;
  if (text.size() != format.size()) return rec;
  for (std::size_t i = 0; i < format.size();) {
    const char16_t letter = format[i];
    std::size_t run = 1;
    while (i + run < format.size() && format[i + run] == letter) ++run;
    std::int32_t value = 0;
    const bool number = DigitsValue(text.substr(i, run), value);
    auto short_field = [&](std::int32_t low, std::int32_t high) {
      return std::clamp(number && run <= 2 ? value : -1, low, high);
    };
    switch (letter) {
      case u'y': {
        std::int32_t year = -1;
        if (number && run == 2) year = value + 2000;
        else if (number && run == 4) year = value;
        rec.year = std::max(year, 0);
        break;
      }
      case u'd': rec.day = short_field(1, 31); break;
      case u'm': rec.month = short_field(1, 12); break;
      case u'h': rec.hour = short_field(0, 23); break;
      case u'n': rec.minute = short_field(0, 59); break;
      default: break;
    }
    i += run;
  }
  return rec;
}

double UserStrDateAndTimeParsed(const UnicodeString& text) {
  const double unknown = YearMonthDayToJulianAddingConst(AClearYearMonthDayRec());
  const UnicodeString typed = Trim(text);
  if (typed.size() <= 3 || typed.find(u'<') != UnicodeString::npos ||
      Pos(CatalogueText("_QYUnknown_date_str"), typed) > 0)
    return unknown;

  TYearMonthDay rec{0, 7, 1};
  if (!TryStrToInt(typed, rec.year)) {
    const std::size_t first = typed.find(u'/');
    const std::size_t second = first == UnicodeString::npos ? first : typed.find(u'/', first + 1);
    if (second == UnicodeString::npos) return unknown;
    if (!TryStrToInt(typed.substr(0, first), rec.year) ||
        !TryStrToInt(typed.substr(first + 1, second - first - 1), rec.month) ||
        !TryStrToInt(typed.substr(second + 1), rec.day))
      return unknown;
  }
  // A day the calendar does not have is no date, not day number 0 (which would read
  // back as today).
  const double parsed = YearMonthDayToJulianAddingConst(rec);
  return parsed == 0 ? unknown : parsed;
}

// ---- timeline periods --------------------------------------------------------------

TYearMonthDay StartOfPeriod(const TYearMonthDay& rec, TTimeLinePlotbase basis) {
  switch (basis) {
    case tlpb_millennia: return {TruncatedTo(rec.year, 1000), 1, 1};
    case tlpb_centuries: return {TruncatedTo(rec.year, 100), 1, 1};
    case tlpb_decades: return {TruncatedTo(rec.year, 10), 1, 1};
    case tlpb_years: return {rec.year, 1, 1};
    case tlpb_months:
    case tlpb_weeks: return {rec.year, rec.month, 1};
    default: return rec;
  }
}

TYearMonthDay EndOfPeriod(const TYearMonthDay& rec, TTimeLinePlotbase basis) {
  switch (basis) {
    case tlpb_millennia: return {TruncatedTo(rec.year, 1000) + 999, 12, 31};
    case tlpb_centuries: return {TruncatedTo(rec.year, 100) + 99, 12, 31};
    case tlpb_decades: return {TruncatedTo(rec.year, 10) + 9, 12, 31};
    case tlpb_years: return {rec.year, 12, 31};
    case tlpb_months:
    case tlpb_weeks: {
      const int days = ShiftedDaysInMonth(rec.year, rec.month);
      if (days == 0) return Today();
      return {rec.year, rec.month, days};
    }
    default: return rec;
  }
}

int PeriodsInDaySpan(double span, TTimeLinePlotbase basis) {
  switch (basis) {
    case tlpb_years: return RoundedUp(span / kDaysPerYear);
    case tlpb_months: return RoundedUp(span / kDaysPerMonth);
    case tlpb_weeks: return kWeeksPerMonth * RoundedUp(span / kDaysPerMonth);
    case tlpb_days: return RoundedUp(span);
    default: return 1;
  }
}

int PeriodNumberInDaySpan(double span, TTimeLinePlotbase basis) {
  switch (basis) {
    case tlpb_years: return RoundedDown(span / kDaysPerYear);
    case tlpb_months: return RoundedDown(span / kDaysPerMonth);
    case tlpb_weeks: return RoundedDown(kWeeksPerMonth * span / kDaysPerMonth);
    case tlpb_days: return RoundedDown(span);
    default: return 0;
  }
}

int PeriodsBetween(const TYearMonthDay& first, const TYearMonthDay& last, TTimeLinePlotbase basis) {
  switch (basis) {
    case tlpb_millennia: return YearsApart(first, last) / 1000 + 1;
    case tlpb_centuries: return YearsApart(first, last) / 100 + 1;
    case tlpb_decades: return YearsApart(first, last) / 10 + 1;
    default: return PeriodsInDaySpan(SpanInDays(first, last), basis);
  }
}

int PeriodNumberFor(const TYearMonthDay& first, const TYearMonthDay& date, TTimeLinePlotbase basis) {
  switch (basis) {
    case tlpb_millennia: return YearsApart(first, date) / 1000;
    case tlpb_centuries: return YearsApart(first, date) / 100;
    case tlpb_decades: return YearsApart(first, date) / 10;
    default: return PeriodNumberInDaySpan(SpanInDays(first, date), basis);
  }
}

}  // namespace quill
