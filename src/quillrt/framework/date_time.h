#pragma once
// Date-time values: a double counting days since 30 December 1899, the fraction
// being the time of day.
//
// Negative values keep the framework's layout: the integer part is the day and the
// fraction's absolute value is the time of that day, so -1.25 is 29 December 1899
// at 06:00 (not 18:00). Every conversion here goes through that split, so values
// before 1899 decode and encode consistently. Years run from 1 to 9999.
//
// Failures: Try* forms return false; the others raise EConvertError. Nothing is
// ever wrapped into range.
#include <chrono>
#include <cstdint>
#include <filesystem>

#include "quillrt/framework/exceptions.h"
#include "quillrt/quillrt_export.h"

namespace quill {

using TDateTime = double;

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerDay = HoursPerDay * 60;
inline constexpr int SecsPerDay = MinsPerDay * 60;
inline constexpr int MSecsPerDay = SecsPerDay * 1000;
// Day number of 1 January 1970, the Unix epoch.
inline constexpr int UnixDateDelta = 25569;

QUILLRT_API bool IsLeapYear(int year);
// Days of `month` (1..12) in `year`; 0 for a month outside 1..12.
QUILLRT_API int DaysInAMonth(int year, int month);

QUILLRT_API bool TryEncodeDate(int year, int month, int day, TDateTime& date);
QUILLRT_API TDateTime EncodeDate(int year, int month, int day);
// Gives 0/0/0 for a value outside 1 January 0001 .. 31 December 9999 (or NaN).
QUILLRT_API void DecodeDate(TDateTime date, int& year, int& month, int& day);

QUILLRT_API bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
QUILLRT_API TDateTime EncodeTime(int hour, int min, int sec, int msec);
// The time of day rounded to the millisecond. A fraction that rounds up to a whole
// day gives 00:00:00.000 (DecodeDate then reports the following day).
QUILLRT_API void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);

QUILLRT_API bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec,
                                   int msec, TDateTime& value);
QUILLRT_API TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec,
                                     int msec);
// Date and time together; false for a value outside the valid years.
QUILLRT_API bool TryDecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour,
                                   int& min, int& sec, int& msec);
QUILLRT_API void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour,
                                int& min, int& sec, int& msec);

// 1 = Sunday ... 7 = Saturday.
QUILLRT_API int DayOfWeek(TDateTime date);

// The local clock: date and time, date only, time only.
QUILLRT_API TDateTime Now();
QUILLRT_API TDateTime Date();
QUILLRT_API TDateTime Time();

// MS-DOS packed date and time: the date word is (year-1980)<<9 | month<<5 | day,
// the time word hour<<11 | minute<<5 | second/2. A file date holds the date word in
// its high 16 bits and the time word in the low 16 bits. Years 1980..2107 only;
// odd seconds and milliseconds are dropped.
QUILLRT_API bool TryDosDateTimeToDateTime(std::uint16_t date_word, std::uint16_t time_word,
                                          TDateTime& value);
QUILLRT_API TDateTime DosDateTimeToDateTime(std::uint16_t date_word, std::uint16_t time_word);
QUILLRT_API bool TryDateTimeToDosDateTime(TDateTime value, std::uint16_t& date_word,
                                          std::uint16_t& time_word);
QUILLRT_API void DateTimeToDosDateTime(TDateTime value, std::uint16_t& date_word,
                                       std::uint16_t& time_word);
QUILLRT_API bool TryFileDateToDateTime(int file_date, TDateTime& value);
QUILLRT_API TDateTime FileDateToDateTime(int file_date);
QUILLRT_API bool TryDateTimeToFileDate(TDateTime value, int& file_date);
QUILLRT_API int DateTimeToFileDate(TDateTime value);

// Seconds since 1970-01-01 00:00 UTC, taken as they are (no time-zone shift).
// DateTimeToUnix rounds to the nearest second.
QUILLRT_API bool TryUnixToDateTime(std::int64_t seconds, TDateTime& value);
QUILLRT_API TDateTime UnixToDateTime(std::int64_t seconds);
QUILLRT_API bool TryDateTimeToUnix(TDateTime value, std::int64_t& seconds);
QUILLRT_API std::int64_t DateTimeToUnix(TDateTime value);

// File-system time stamps in local time, to the millisecond.
QUILLRT_API bool TryFileTimeToDateTime(std::filesystem::file_time_type file_time,
                                       TDateTime& value);
QUILLRT_API TDateTime FileTimeToDateTime(std::filesystem::file_time_type file_time);
QUILLRT_API bool TryDateTimeToFileTime(TDateTime value, std::filesystem::file_time_type& file_time);
QUILLRT_API std::filesystem::file_time_type DateTimeToFileTime(TDateTime value);

}  // namespace quill
