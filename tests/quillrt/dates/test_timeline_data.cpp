#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "quillrt/dates/julian_dates.h"
#include "quillrt/dates/timeline_data.h"
#include "quillrt/framework/format.h"

namespace quill {
namespace {

TTimeLineDataRec SampleRecord() {
  TTimeLineDataRec rec;
  rec.basis = tlpb_months;
  rec.start_date = 4095194.5;
  rec.finish_date = 4095560.5;
  rec.wordcount_total = 0x01020304;
  rec.hits_total = 0x11121314;
  rec.periods = 12;
  rec.max_hits = 0x21222324;
  rec.max_wordcount = 0x31323334;
  rec.hitsper1000 = 1.5f;
  rec.dispersion_value = -0.25f;
  rec.IsOverallOrLine1Data = true;
  rec.spareb = {0xA1, 0xA2, 0xA3};
  rec.spare.fill(0xEE);
  rec.hitsandWCounts = {{7, 700}, {0xFFFFFFFF, 1}};
  rec.searchword = u"h\u00e9";
  return rec;
}

std::vector<unsigned char> Bytes(const TTimeLineDataRec& rec) {
  TMemoryStream stream;
  WriteTimeLineDataRec(stream, rec);
  const auto* data = static_cast<const unsigned char*>(stream.Memory());
  return {data, data + stream.GetSize()};
}

template <class T>
T At(const std::vector<unsigned char>& bytes, std::size_t offset) {
  return TStream::FromLE<T>(bytes.data() + offset);
}

TEST(TimeLineData, EveryOffsetOfTheStreamForm) {
  const auto bytes = Bytes(SampleRecord());
  ASSERT_EQ(bytes.size(), 109u + 4 + 16 + 4 + 4);
  EXPECT_EQ(bytes[0], tlpb_months);
  EXPECT_EQ(At<double>(bytes, 1), 4095194.5);
  EXPECT_EQ(At<double>(bytes, 9), 4095560.5);
  EXPECT_EQ(At<std::uint32_t>(bytes, 17), 0x01020304u);
  EXPECT_EQ(bytes[17], 0x04);  // little-endian
  EXPECT_EQ(At<std::uint32_t>(bytes, 21), 0x11121314u);
  EXPECT_EQ(At<std::uint32_t>(bytes, 25), 12u);
  EXPECT_EQ(At<std::uint32_t>(bytes, 29), 0x21222324u);
  EXPECT_EQ(At<std::uint32_t>(bytes, 33), 0x31323334u);
  EXPECT_EQ(At<float>(bytes, 37), 1.5f);
  EXPECT_EQ(At<float>(bytes, 41), -0.25f);
  EXPECT_EQ(bytes[45], 1);
  EXPECT_EQ(bytes[46], 0xA1);
  EXPECT_EQ(bytes[48], 0xA3);
  for (std::size_t i = 49; i < 109; ++i) ASSERT_EQ(bytes[i], 0xEE) << i;
  EXPECT_EQ(At<std::int32_t>(bytes, 109), 2);
  EXPECT_EQ(At<std::uint32_t>(bytes, 113), 7u);
  EXPECT_EQ(At<std::uint32_t>(bytes, 117), 700u);
  EXPECT_EQ(At<std::uint32_t>(bytes, 121), 0xFFFFFFFFu);
  EXPECT_EQ(At<std::uint32_t>(bytes, 125), 1u);
  EXPECT_EQ(At<std::int32_t>(bytes, 129), 2);
  EXPECT_EQ(At<std::uint16_t>(bytes, 133), u'h');
  EXPECT_EQ(At<std::uint16_t>(bytes, 135), 0xE9);
}

TEST(TimeLineData, ReadsBackWhatWasWritten) {
  TMemoryStream stream;
  WriteTimeLineDataRec(stream, SampleRecord());
  WriteTimeLineDataRec(stream, TTimeLineDataRec{});
  stream.SetPosition(0);
  TTimeLineDataRec first, second;
  ASSERT_TRUE(ReadTimeLineDataRec(stream, first));
  ASSERT_TRUE(ReadTimeLineDataRec(stream, second));
  EXPECT_EQ(first, SampleRecord());
  EXPECT_EQ(second, TTimeLineDataRec{});
  EXPECT_EQ(stream.GetPosition(), stream.GetSize());
}

TEST(TimeLineData, DamagedStreamsGiveFalseAndAFreshRecord) {
  const auto good = Bytes(SampleRecord());
  auto read = [](std::vector<unsigned char> bytes) {
    TMemoryStream stream;
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    TTimeLineDataRec rec = SampleRecord();
    const bool ok = ReadTimeLineDataRec(stream, rec);
    EXPECT_TRUE(ok || rec == TTimeLineDataRec{});
    return ok;
  };
  for (std::size_t length = 0; length < good.size(); ++length)
    EXPECT_FALSE(read({good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)})) << length;
  auto damaged = good;
  damaged[0] = tlpb_spare + 1;
  EXPECT_FALSE(read(damaged));
  damaged = good;
  damaged[45] = 2;
  EXPECT_FALSE(read(damaged));
  damaged = good;
  damaged[112] = 0x80;  // negative count
  EXPECT_FALSE(read(damaged));
  damaged = good;
  damaged[111] = 0x10;  // a million entries the stream does not hold
  EXPECT_FALSE(read(damaged));
  damaged = good;
  damaged[129] = 3;  // search word longer than what follows
  EXPECT_FALSE(read(damaged));
}

TEST(TimeLineData, PeriodDetailsPerGrain) {
  TTimeLineDataRec data;
  data.start_date = YearMonthDayToJulianAddingConst({1999, 1, 1});
  data.finish_date = YearMonthDayToJulianAddingConst({2000, 1, 1});
  data.periods = 12;
  data.basis = tlpb_months;
  // The middle of period 2 of 12 over 1999 is 15.2 days into February.
  auto details = JulianDateDetails(2, data);
  EXPECT_EQ(details.period_mid, (TYearMonthDay{1999, 2, 15}));
  EXPECT_EQ(details.period_start, (TYearMonthDay{1999, 2, 1}));
  EXPECT_EQ(details.period_end, (TYearMonthDay{1999, 2, 28}));

  data.basis = tlpb_years;
  details = JulianDateDetails(2, data);
  EXPECT_EQ(details.period_start, (TYearMonthDay{1999, 1, 15}));
  EXPECT_EQ(details.period_end, (TYearMonthDay{1999, 12, 15}));

  data.basis = tlpb_centuries;
  details = JulianDateDetails(2, data);
  EXPECT_EQ(details.period_start, (TYearMonthDay{1900, 2, 15}));
  EXPECT_EQ(details.period_end, (TYearMonthDay{1999, 2, 15}));

  data.basis = tlpb_days;
  details = JulianDateDetails(2, data);
  EXPECT_EQ(details.period_start, details.period_mid);
  EXPECT_EQ(details.period_end, details.period_mid);

  // No periods counts as one: its middle is the middle of the whole span.
  data.periods = 0;
  data.basis = tlpb_millennia;
  details = JulianDateDetails(1, data);
  EXPECT_EQ(details.period_mid, (TYearMonthDay{1999, 7, 2}));
  EXPECT_EQ(details.period_start.year, 1000);
  EXPECT_EQ(details.period_end.year, 1999);
}

TEST(TimeLineData, PeriodMiddlesBeforeDateTimeZeroStayInTheirDay) {
  // Shifted years before 1900 are negative date-time values; a fraction must not
  // move the middle into the next day.
  TTimeLineDataRec data;
  data.basis = tlpb_days;
  data.start_date = YearMonthDayToJulianAddingConst({-3000, 3, 10});
  data.finish_date = data.start_date + 3;
  data.periods = 3;
  EXPECT_EQ(JulianDateDetails(1, data).period_mid, (TYearMonthDay{-3000, 3, 10}));
  EXPECT_EQ(JulianDateDetails(3, data).period_mid, (TYearMonthDay{-3000, 3, 12}));
}

TEST(TimeLineData, PeriodLabels) {
  const TFormatSettings saved = FormatSettings;
  FormatSettings = TFormatSettings::FromLocale("en_US");
  TTimeLineDataRec data;
  data.basis = tlpb_months;
  data.start_date = YearMonthDayToJulianAddingConst({1999, 1, 1});
  data.finish_date = YearMonthDayToJulianAddingConst({2000, 1, 1});
  data.periods = 12;
  EXPECT_EQ(JulianDateStrFromTimelineData(3, data, false), u"1999/Mar");
  EXPECT_EQ(JulianDateStrFromTimelineData(3, data, true), u"Mar");
  data.start_date = data.finish_date = 0;
  EXPECT_EQ(JulianDateStrFromTimelineData(1, data, false), u"??");
  FormatSettings = saved;
}

TEST(TimeLineData, DosFileDateWords) {
  EXPECT_EQ(LastModTimeAndDateToDateTime(0, 0x2821), EncodeDate(2000, 1, 1));
  EXPECT_EQ(LastModTimeAndDateToDateTime((13 << 11) | (30 << 5) | 5, 0x2821),
            EncodeDateTime(2000, 1, 1, 13, 30, 10, 0));
  EXPECT_EQ(LastModTimeAndDateToDateTime(0, 0), 0);  // month 0: no date
}

}  // namespace
}  // namespace quill
