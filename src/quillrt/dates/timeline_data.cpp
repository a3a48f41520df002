#include "quillrt/dates/timeline_data.h"

#include <algorithm>

#include "quillrt/dates/julian_dates.h"

namespace quill {

namespace {

std::int64_t BytesLeft(TStream& stream) { return stream.GetSize() - stream.GetPosition(); }

bool ReadFixedPart(TStream& stream, TTimeLineDataRec& rec) {
  std::uint8_t basis = 0;
  std::uint8_t overall = 0;
  bool complete = stream.TryReadLE(basis) && stream.TryReadLE(rec.start_date) &&
                  stream.TryReadLE(rec.finish_date) && stream.TryReadLE(rec.wordcount_total) &&
                  stream.TryReadLE(rec.hits_total) && stream.TryReadLE(rec.periods) &&
                  stream.TryReadLE(rec.max_hits) && stream.TryReadLE(rec.max_wordcount) &&
                  stream.TryReadLE(rec.hitsper1000) && stream.TryReadLE(rec.dispersion_value) &&
                  stream.TryReadLE(overall);
  for (auto& byte : rec.spareb) complete = complete && stream.TryReadLE(byte);
  for (auto& byte : rec.spare) complete = complete && stream.TryReadLE(byte);
  if (!complete || basis > tlpb_spare || overall > 1) return false;
  rec.basis = static_cast<TTimeLinePlotbase>(basis);
  rec.IsOverallOrLine1Data = overall == 1;
  return true;
}

bool ReadCounts(TStream& stream, TTimeLineDataRec& rec) {
  std::int32_t count = 0;
  if (!stream.TryReadLE(count) || count < 0 || count > BytesLeft(stream) / 8) return false;
  rec.hitsandWCounts.resize(static_cast<std::size_t>(count));
  for (auto& entry : rec.hitsandWCounts)
    if (!stream.TryReadLE(entry.hits) || !stream.TryReadLE(entry.wordcount)) return false;
  return true;
}

bool ReadSearchWord(TStream& stream, TTimeLineDataRec& rec) {
  std::int32_t count = 0;
  if (!stream.TryReadLE(count) || count < 0 || count > BytesLeft(stream) / 2) return false;
  rec.searchword.resize(static_cast<std::size_t>(count));
  for (auto& unit : rec.searchword)
    if (!stream.TryReadLE(unit)) return false;
  return true;
}

// start_date + (2 * period - 1) * step / 2, step being one period's length.
double MiddleOfPeriod(int period, const TTimeLineDataRec& data) {
  const double periods = std::max<std::uint32_t>(data.periods, 1);
  const double step = (data.finish_date - data.start_date) / periods;
  return data.start_date + (2.0 * period - 1.0) * step / 2.0;
}

}  // namespace

void WriteTimeLineDataRec(TStream& stream, const TTimeLineDataRec& rec) {
  stream.WriteLE(static_cast<std::uint8_t>(rec.basis));
  stream.WriteLE(rec.start_date);
  stream.WriteLE(rec.finish_date);
  stream.WriteLE(rec.wordcount_total);
  stream.WriteLE(rec.hits_total);
  stream.WriteLE(rec.periods);
  stream.WriteLE(rec.max_hits);
  stream.WriteLE(rec.max_wordcount);
  stream.WriteLE(rec.hitsper1000);
  stream.WriteLE(rec.dispersion_value);
  stream.WriteLE(static_cast<std::uint8_t>(rec.IsOverallOrLine1Data ? 1 : 0));
  stream.WriteBuffer(rec.spareb.data(), static_cast<std::int64_t>(rec.spareb.size()));
  stream.WriteBuffer(rec.spare.data(), static_cast<std::int64_t>(rec.spare.size()));
  stream.WriteLE(static_cast<std::int32_t>(rec.hitsandWCounts.size()));
  for (const auto& entry : rec.hitsandWCounts) {
    stream.WriteLE(entry.hits);
    stream.WriteLE(entry.wordcount);
  }
  stream.WriteLE(static_cast<std::int32_t>(rec.searchword.size()));
  for (const char16_t unit : rec.searchword) stream.WriteLE(unit);
}

bool ReadTimeLineDataRec(TStream& stream, TTimeLineDataRec& rec) {
  TTimeLineDataRec read;
  if (!ReadFixedPart(stream, read) || !ReadCounts(stream, read) || !ReadSearchWord(stream, read)) {
    rec = TTimeLineDataRec{};
    return false;
  }
  rec = std::move(read);
  return true;
}

TDateTimeDetailsRec JulianDateDetails(int period, const TTimeLineDataRec& data) {
  TDateTimeDetailsRec details;
  details.period_mid = JulianDateToYearMonthDayRemovingConst(MiddleOfPeriod(period, data));
  details.period_start = details.period_mid;
  details.period_end = details.period_mid;
  auto years_in_units_of = [&](std::int32_t unit) {
    details.period_start.year = details.period_mid.year / unit * unit;
    details.period_end.year = details.period_start.year + unit - 1;
  };
  switch (data.basis) {
    case tlpb_millennia: years_in_units_of(1000); break;
    case tlpb_centuries: years_in_units_of(100); break;
    case tlpb_decades: years_in_units_of(10); break;
    case tlpb_years:
      details.period_start.month = 1;
      details.period_end.month = 12;
      break;
    case tlpb_months:
    case tlpb_weeks:
      details.period_start.day = 1;
      details.period_end.day = ShiftedDaysInMonth(details.period_mid.year, details.period_mid.month);
      break;
    default: break;
  }
  return details;
}

UnicodeString JulianDateStrFromTimelineData(int period, const TTimeLineDataRec& data, bool abbreviated) {
  return JulianToStringRemovingConst(MiddleOfPeriod(period, data), data.basis, abbreviated);
}

TDateTime LastModTimeAndDateToDateTime(std::uint16_t time, std::uint16_t date) {
  TDateTime value = 0;
  return TryDosDateTimeToDateTime(date, time, value) ? value : 0;
}

}  // namespace quill
