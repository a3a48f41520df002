// Feeds arbitrary bytes to the timeline data reader and to the date functions.
//
// A record that reads must write back to exactly the bytes it was read from (the
// stream form has no slack). The first 8 bytes, read as a day number, go through
// the date conversions: a number that converts must convert back to a number of
// the same day, and the labels must never be empty.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "quillrt/dates/julian_dates.h"
#include "quillrt/dates/timeline_data.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckRecordRoundTrip(const std::uint8_t* data, std::size_t size) {
  TMemoryStream in;
  if (size > 0) in.WriteBuffer(data, static_cast<std::int64_t>(size));
  in.SetPosition(0);
  TTimeLineDataRec rec;
  if (!ReadTimeLineDataRec(in, rec)) {
    Check(rec == TTimeLineDataRec{});
    return;
  }
  TMemoryStream out;
  WriteTimeLineDataRec(out, rec);
  Check(out.GetSize() == in.GetPosition());
  Check(std::memcmp(out.Memory(), data, static_cast<std::size_t>(out.GetSize())) == 0);
}

void CheckDayNumber(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return;
  double jd = 0;
  std::memcpy(&jd, data, sizeof jd);
  TYearMonthDay date;
  if (TryJulianDateToYearMonthDayRemovingConst(jd, date)) {
    const double back = YearMonthDayToJulianAddingConst(date);
    Check(back != 0 && back <= jd && jd < back + 1);
  }
  const auto basis = static_cast<TTimeLinePlotbase>(size % (tlpb_spare + 1));
  Check(!JulianToStringRemovingConst(jd, basis, size % 2 == 0).empty());
  TTimeLineDataRec timeline;
  timeline.basis = basis;
  timeline.start_date = jd;
  timeline.finish_date = jd + (size > 9 ? data[8] * 30.0 : 1.0);
  timeline.periods = size > 10 ? data[9] : 0;
  (void)JulianDateDetails(1 + static_cast<int>(size % 7), timeline);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckRecordRoundTrip(data, size);
  CheckDayNumber(data, size);
  return 0;
}
