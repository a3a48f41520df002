#include "quillrt/framework/date_time.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "quillrt/framework/exceptions.h"

namespace quill {
namespace {

constexpr char kDateEncodeError[] = "Invalid argument to date encode";
constexpr char kTimeEncodeError[] = "Invalid argument to time encode";
constexpr char kOutOfRangeError[] = "Date-time value out of range";

// Day numbers of 0001-01-01 and 9999-12-31.
constexpr std::int64_t kMinDay = -693593;
constexpr std::int64_t kMaxDay = 2958465;

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (valid for any year).
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Civil {
  int year, month, day;
};

constexpr Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

static_assert(DaysFromCivil(1899, 12, 30) == -UnixDateDelta);
static_assert(DaysFromCivil(1, 1, 1) + UnixDateDelta == kMinDay);
static_assert(DaysFromCivil(9999, 12, 31) + UnixDateDelta == kMaxDay);

// A date-time value split into its day number and the millisecond of that day.
struct DayAndTime {
  std::int64_t day;
  int msec;
};

// Splits `value` the framework's way (integer part = day, |fraction| = time),
// rounding the time to the millisecond. A time that rounds up to a whole day moves
// to midnight of the next day; on the last valid day it stays at 23:59:59.999.
bool Split(TDateTime value, DayAndTime& out) {
  if (!std::isfinite(value)) return false;
  const double whole = std::trunc(value);
  if (whole < static_cast<double>(kMinDay) || whole > static_cast<double>(kMaxDay)) return false;
  out.day = static_cast<std::int64_t>(whole);
  const double fraction = std::fabs(value - whole);  // exact
  auto msec = static_cast<std::int64_t>(std::floor(fraction * MSecsPerDay + 0.5));
  if (msec >= MSecsPerDay) {
    if (out.day == kMaxDay) {
      msec = MSecsPerDay - 1;
    } else {
      ++out.day;
      msec = 0;
    }
  }
  out.msec = static_cast<int>(msec);
  return true;
}

TDateTime Compose(std::int64_t day, int msec) {
  const double time = static_cast<double>(msec) / MSecsPerDay;
  const auto date = static_cast<double>(day);
  return day < 0 ? date - time : date + time;
}

bool ValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInAMonth(year, month);
}

bool ValidTime(int hour, int min, int sec, int msec) {
  return hour >= 0 && hour < HoursPerDay && min >= 0 && min < 60 && sec >= 0 && sec < 60 &&
         msec >= 0 && msec < 1000;
}

int TimeToMsec(int hour, int min, int sec, int msec) {
  return ((hour * 60 + min) * 60 + sec) * 1000 + msec;
}

void MsecToTime(int total, int& hour, int& min, int& sec, int& msec) {
  msec = total % 1000;
  total /= 1000;
  sec = total % 60;
  total /= 60;
  min = total % 60;
  hour = total / 60;
}

// Local broken-down time of a moment given as seconds since the Unix epoch.
bool LocalFromUnix(std::int64_t seconds, int msec, TDateTime& value) {
  const auto t = static_cast<std::time_t>(seconds);
  std::tm fields{};
  if (localtime_r(&t, &fields) == nullptr) return false;
  return TryEncodeDateTime(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                           fields.tm_hour, fields.tm_min, fields.tm_sec, msec, value);
}

// Seconds since the Unix epoch of a local date-time value, plus its milliseconds.
bool UnixFromLocal(TDateTime value, std::int64_t& seconds, int& msec) {
  int year, month, day, hour, min, sec;
  if (!TryDecodeDateTime(value, year, month, day, hour, min, sec, msec)) return false;
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = min;
  fields.tm_sec = sec;
  fields.tm_isdst = -1;
  // mktime fills in the weekday only on success; -1 alone is also a valid moment.
  fields.tm_wday = -1;
  const std::time_t t = std::mktime(&fields);
  if (t == static_cast<std::time_t>(-1) && fields.tm_wday == -1) return false;
  seconds = static_cast<std::int64_t>(t);
  return true;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (!ValidDate(year, month, day)) return false;
  date = static_cast<double>(DaysFromCivil(year, month, day) + UnixDateDelta);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime date;
  if (!TryEncodeDate(year, month, day, date)) throw EConvertError(kDateEncodeError);
  return date;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
  int hour, min, sec, msec;
  if (!TryDecodeDateTime(date, year, month, day, hour, min, sec, msec)) year = month = day = 0;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (!ValidTime(hour, min, sec, msec)) return false;
  time = static_cast<double>(TimeToMsec(hour, min, sec, msec)) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime time;
  if (!TryEncodeTime(hour, min, sec, msec, time)) throw EConvertError(kTimeEncodeError);
  return time;
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec) {
  DayAndTime parts{};
  if (Split(time, parts)) {
    MsecToTime(parts.msec, hour, min, sec, msec);
    return;
  }
  // Beyond the valid days only the fraction means anything.
  const double fraction = std::isfinite(time) ? std::fabs(time - std::trunc(time)) : 0.0;
  const auto total = static_cast<int>(
      std::min<double>(std::floor(fraction * MSecsPerDay + 0.5), MSecsPerDay - 1));
  MsecToTime(total, hour, min, sec, msec);
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec,
                       TDateTime& value) {
  if (!ValidDate(year, month, day) || !ValidTime(hour, min, sec, msec)) return false;
  value = Compose(DaysFromCivil(year, month, day) + UnixDateDelta,
                  TimeToMsec(hour, min, sec, msec));
  return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
  if (!ValidDate(year, month, day)) throw EConvertError(kDateEncodeError);
  if (!ValidTime(hour, min, sec, msec)) throw EConvertError(kTimeEncodeError);
  TDateTime value;
  TryEncodeDateTime(year, month, day, hour, min, sec, msec, value);
  return value;
}

bool TryDecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min,
                       int& sec, int& msec) {
  DayAndTime parts{};
  if (!Split(value, parts)) return false;
  const Civil civil = CivilFromDays(parts.day - UnixDateDelta);
  year = civil.year;
  month = civil.month;
  day = civil.day;
  MsecToTime(parts.msec, hour, min, sec, msec);
  return true;
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min,
                    int& sec, int& msec) {
  if (!TryDecodeDateTime(value, year, month, day, hour, min, sec, msec))
    throw EConvertError(kOutOfRangeError);
}

int DayOfWeek(TDateTime date) {
  DayAndTime parts{};
  if (!Split(date, parts)) return 0;
  // Day 0 (30 December 1899) was a Saturday.
  return static_cast<int>(((parts.day + 6) % 7 + 7) % 7) + 1;
}

TDateTime Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto seconds = floor<std::chrono::seconds>(now);
  const auto msec = static_cast<int>(duration_cast<milliseconds>(now - seconds).count());
  TDateTime value = 0;
  LocalFromUnix(seconds.time_since_epoch().count(), msec, value);
  return value;
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  const TDateTime now = Now();
  return std::fabs(now - std::trunc(now));
}

bool TryDosDateTimeToDateTime(std::uint16_t date_word, std::uint16_t time_word, TDateTime& value) {
  return TryEncodeDateTime(1980 + (date_word >> 9), (date_word >> 5) & 15, date_word & 31,
                           time_word >> 11, (time_word >> 5) & 63, (time_word & 31) * 2, 0, value);
}

TDateTime DosDateTimeToDateTime(std::uint16_t date_word, std::uint16_t time_word) {
  TDateTime value;
  if (!TryDosDateTimeToDateTime(date_word, time_word, value))
    throw EConvertError("Invalid MS-DOS date or time");
  return value;
}

bool TryDateTimeToDosDateTime(TDateTime value, std::uint16_t& date_word, std::uint16_t& time_word) {
  int year, month, day, hour, min, sec, msec;
  if (!TryDecodeDateTime(value, year, month, day, hour, min, sec, msec)) return false;
  if (year < 1980 || year > 2107) return false;
  date_word = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  time_word = static_cast<std::uint16_t>((hour << 11) | (min << 5) | (sec / 2));
  return true;
}

void DateTimeToDosDateTime(TDateTime value, std::uint16_t& date_word, std::uint16_t& time_word) {
  if (!TryDateTimeToDosDateTime(value, date_word, time_word))
    throw EConvertError("Date-time value out of the MS-DOS range 1980..2107");
}

bool TryFileDateToDateTime(int file_date, TDateTime& value) {
  const auto packed = static_cast<std::uint32_t>(file_date);
  return TryDosDateTimeToDateTime(static_cast<std::uint16_t>(packed >> 16),
                                  static_cast<std::uint16_t>(packed & 0xFFFF), value);
}

TDateTime FileDateToDateTime(int file_date) {
  TDateTime value;
  if (!TryFileDateToDateTime(file_date, value)) throw EConvertError("Invalid MS-DOS date or time");
  return value;
}

bool TryDateTimeToFileDate(TDateTime value, int& file_date) {
  std::uint16_t date_word, time_word;
  if (!TryDateTimeToDosDateTime(value, date_word, time_word)) return false;
  file_date = static_cast<int>((static_cast<std::uint32_t>(date_word) << 16) | time_word);
  return true;
}

int DateTimeToFileDate(TDateTime value) {
  int file_date;
  if (!TryDateTimeToFileDate(value, file_date))
    throw EConvertError("Date-time value out of the MS-DOS range 1980..2107");
  return file_date;
}

bool TryUnixToDateTime(std::int64_t seconds, TDateTime& value) {
  const std::int64_t day = FloorDiv(seconds, SecsPerDay) + UnixDateDelta;
  if (day < kMinDay || day > kMaxDay) return false;
  const std::int64_t second_of_day = seconds - FloorDiv(seconds, SecsPerDay) * SecsPerDay;
  value = Compose(day, static_cast<int>(second_of_day * 1000));
  return true;
}

TDateTime UnixToDateTime(std::int64_t seconds) {
  TDateTime value;
  if (!TryUnixToDateTime(seconds, value)) throw EConvertError("Unix time out of range");
  return value;
}

bool TryDateTimeToUnix(TDateTime value, std::int64_t& seconds) {
  DayAndTime parts{};
  if (!Split(value, parts)) return false;
  const std::int64_t msec =
      (parts.day - UnixDateDelta) * static_cast<std::int64_t>(MSecsPerDay) + parts.msec;
  seconds = FloorDiv(msec + 500, 1000);
  return true;
}

std::int64_t DateTimeToUnix(TDateTime value) {
  std::int64_t seconds;
  if (!TryDateTimeToUnix(value, seconds)) throw EConvertError(kOutOfRangeError);
  return seconds;
}

bool TryFileTimeToDateTime(std::filesystem::file_time_type file_time, TDateTime& value) {
  using namespace std::chrono;
  const auto system = file_clock::to_sys(file_time);
  const auto seconds = floor<std::chrono::seconds>(system);
  const auto msec = static_cast<int>(duration_cast<milliseconds>(system - seconds).count());
  return LocalFromUnix(seconds.time_since_epoch().count(), msec, value);
}

TDateTime FileTimeToDateTime(std::filesystem::file_time_type file_time) {
  TDateTime value;
  if (!TryFileTimeToDateTime(file_time, value)) throw EConvertError(kOutOfRangeError);
  return value;
}

bool TryDateTimeToFileTime(TDateTime value, std::filesystem::file_time_type& file_time) {
  using namespace std::chrono;
  std::int64_t unix_seconds;
  int msec;
  if (!UnixFromLocal(value, unix_seconds, msec)) return false;
  // Convert at a coarse resolution first: the file clock's own (nanosecond) range
  // spans only a few centuries.
  const auto coarse = file_clock::from_sys(sys_seconds(std::chrono::seconds(unix_seconds)));
  const auto lowest = floor<std::chrono::seconds>(std::filesystem::file_time_type::min());
  const auto highest = floor<std::chrono::seconds>(std::filesystem::file_time_type::max());
  if (coarse <= lowest || coarse >= highest) return false;
  file_time = time_point_cast<std::filesystem::file_time_type::duration>(coarse) +
              milliseconds(msec);
  return true;
}

std::filesystem::file_time_type DateTimeToFileTime(TDateTime value) {
  std::filesystem::file_time_type file_time;
  if (!TryDateTimeToFileTime(value, file_time)) throw EConvertError(kOutOfRangeError);
  return file_time;
}

}  // namespace quill
