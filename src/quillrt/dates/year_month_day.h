#pragma once
// Calendar dates as plain numbers, and the grains a timeline is divided into.
#include <cstdint>
#include <vector>

namespace quill {

// A calendar date as three numbers, as the date functions pass it around. Years
// use astronomical numbering (year 0 exists, -300 is 301 BC).
struct TYearMonthDay {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  friend bool operator==(const TYearMonthDay&, const TYearMonthDay&) = default;
};

using TYearMonthDayArray = std::vector<TYearMonthDay>;

// A date with hour and minute, as read from and printed for users.
struct TYrMmDyHrMn {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  friend bool operator==(const TYrMmDyHrMn&, const TYrMmDyHrMn&) = default;
};

// The grain of a timeline. Stored as one byte in timeline data; keep the order.
enum TTimeLinePlotbase : std::uint8_t {
  tlpb_unknown,
  tlpb_millennia,
  tlpb_centuries,
  tlpb_decades,
  tlpb_years,
  tlpb_months,
  tlpb_weeks,
  tlpb_days,
  tlpb_hours,
  tlpb_datafield,
  tlpb_custom,
  tlpb_spare
};

}  // namespace quill
