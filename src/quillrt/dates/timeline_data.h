#pragma once
// The data behind one timeline plot, its stream form, and the dates of its periods.
//
// Stream form of TTimeLineDataRec, little-endian:
//
//   offset  size  field
//        0     1  basis (TTimeLinePlotbase)
//        1     8  start_date          double, shifted day number
//        9     8  finish_date         double, shifted day number
//       17     4  wordcount_total     uint32
//       21     4  hits_total          uint32
//       25     4  periods             uint32
//       29     4  max_hits            uint32
//       33     4  max_wordcount       uint32
//       37     4  hitsper1000         float
//       41     4  dispersion_value    float
//       45     1  IsOverallOrLine1Data (0 or 1)
//       46     3  spareb
//       49    60  spare
//      109        (end of the fixed part)
//      109     4  N, the number of hitsandWCounts entries (int32)
//      113   8*N  each entry: hits uint32, wordcount uint32
//                 searchword: int32 count of UTF-16 units, then the units
#include <array>
#include <cstdint>
#include <vector>

#include "quillrt/dates/year_month_day.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

struct THitAndWordCountRec {
  std::uint32_t hits = 0;
  std::uint32_t wordcount = 0;
  friend bool operator==(const THitAndWordCountRec&, const THitAndWordCountRec&) = default;
};

struct TTimeLineDataRec {
  TTimeLinePlotbase basis = tlpb_unknown;
  double start_date = 0;
  double finish_date = 0;
  std::uint32_t wordcount_total = 0;
  std::uint32_t hits_total = 0;
  std::uint32_t periods = 0;
  std::uint32_t max_hits = 0;
  std::uint32_t max_wordcount = 0;
  float hitsper1000 = 0;
  float dispersion_value = 0;
  bool IsOverallOrLine1Data = false;
  std::array<std::uint8_t, 3> spareb{};
  std::array<std::uint8_t, 60> spare{};
  std::vector<THitAndWordCountRec> hitsandWCounts;
  UnicodeString searchword;
  friend bool operator==(const TTimeLineDataRec&, const TTimeLineDataRec&) = default;
};

inline constexpr std::int64_t kTimeLineDataFixedSize = 109;

// Writes the stream form; stream failures raise EWriteError.
QUILLRT_API void WriteTimeLineDataRec(TStream& stream, const TTimeLineDataRec& rec);
// Reads the stream form. A stream that ends early, a grain byte beyond tlpb_spare,
// a Boolean byte other than 0 or 1, or a count that is negative or larger than the
// bytes left gives false and leaves rec as a fresh record.
QUILLRT_API bool ReadTimeLineDataRec(TStream& stream, TTimeLineDataRec& rec);

// The dates of one period of a timeline.
struct TDateTimeDetailsRec {
  TYearMonthDay period_start;
  TYearMonthDay period_mid;
  TYearMonthDay period_end;
  friend bool operator==(const TDateTimeDetailsRec&, const TDateTimeDetailsRec&) = default;
};

// The middle date of `period` (counting from 1) of the timeline, and the start
// and end of the grain's unit around it: at millennia, centuries and decades only
// the years change (the month and day stay the middle date's), at years the
// months, at months and weeks the days. A middle that cannot be converted gives
// TODAY's date as its middle (see JulianDateToYearMonthDayRemovingConst).
QUILLRT_API TDateTimeDetailsRec JulianDateDetails(int period, const TTimeLineDataRec& data);
// The middle date of `period` printed at the timeline's grain; "??" when it
// cannot be converted.
QUILLRT_API UnicodeString JulianDateStrFromTimelineData(int period, const TTimeLineDataRec& data,
                                                        bool abbreviated);

// An MS-DOS file time and date word pair as a date-time value; 0 for words that
// hold no valid date or time.
QUILLRT_API TDateTime LastModTimeAndDateToDateTime(std::uint16_t time, std::uint16_t date);

}  // namespace quill
