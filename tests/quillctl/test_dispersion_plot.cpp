#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "quillctl/dispersion_plot.h"
#include "quillctl/qt_canvas.h"

namespace quill {
namespace {

constexpr std::int32_t kWidth = 600;

TDispersionPlot ThreeBars() {
  TDispersionPlot plot;
  plot.title = u"Dispersion of \"jury\"";
  plot.summary = u"4 hits in 100 words";
  plot.bars = {{u"a.txt", 2, {0.0, 0.5}}, {u"b.txt", 0, {}}, {u"segment 3 of 3", 2, {0.25, 0.999}}};
  return plot;
}

QImage PaintedWhole(const TDispersionPlot& plot) {
  TBitmapCanvas bitmap(kWidth, DispersionPlotHeight(plot.bars.size()));
  bitmap.Canvas().SetFontName(kDispersionPlotFont);
  PaintDispersionPlot(bitmap.Canvas(), plot, kWidth);
  bitmap.Finish();
  return bitmap.Image();
}

// Ticks sit on their bars at their positions, and nowhere else on them.
TEST(DispersionPlot, TicksFallWhereTheHitsAre) {
  const TDispersionPlot plot = ThreeBars();
  const QImage image = PaintedWhole(plot);
  ASSERT_EQ(image.height(), DispersionPlotHeight(3));
  const QColor tick = ToQColor(kDispersionTickColour);
  for (std::size_t i = 0; i < plot.bars.size(); ++i) {
    const TRect bar = DispersionPlotBarRect(i, kWidth);
    int ticks = 0;
    for (int x = bar.left; x < bar.right; ++x) ticks += image.pixelColor(x, (bar.top + bar.bottom) / 2) == tick;
    EXPECT_EQ(ticks, static_cast<int>(plot.bars[i].positions.size())) << "bar " << i;
    for (const double position : plot.bars[i].positions) {
      const std::int32_t x = DispersionPlotTickX(position, kWidth);
      EXPECT_GE(x, bar.left);
      EXPECT_LT(x, bar.right);
      EXPECT_EQ(image.pixelColor(x, bar.top), tick);
    }
  }
}

// A plot painted in horizontal slices, as a scrolled view paints it, is the
// plot painted whole: every bar that meets a slice is painted in it.
TEST(DispersionPlot, SlicesAddUpToTheWhole) {
  const TDispersionPlot plot = ThreeBars();
  const QImage whole = PaintedWhole(plot);
  QImage sliced(whole.size(), whole.format());
  for (const int cut : {10, 61, 80, 97}) {
    sliced.fill(Qt::white);
    for (const auto& [top, bottom] : {std::pair{0, cut}, std::pair{cut, whole.height()}}) {
      QPainter painter(&sliced);
      painter.setClipRect(0, top, kWidth, bottom - top);
      TQtCanvas canvas(painter);
      canvas.SetFontName(kDispersionPlotFont);
      PaintDispersionPlotPart(canvas, plot, kWidth, top, bottom);
    }
    EXPECT_EQ(sliced, whole) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace quill
