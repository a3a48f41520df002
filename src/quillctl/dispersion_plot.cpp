#include "quillctl/dispersion_plot.h"

#include <algorithm>

#include "quillctl/qt_canvas.h"
#include "quillrt/rendering/text_drawer.h"

namespace quill {
namespace {

constexpr std::int32_t kMargin = 12;
constexpr std::int32_t kHeaderHeight = 58;
constexpr std::int32_t kRowHeight = 18;
constexpr std::int32_t kBarInset = 3;
constexpr std::int32_t kLabelWidth = 160;
constexpr std::int32_t kCountWidth = 60;
constexpr std::int32_t kBottomMargin = 8;
constexpr std::int32_t kFontPoints = 9;

constexpr TColor kHeaderBackground = 0xF4EEE8;
constexpr TColor kBarBackground = 0xF2F2F2;
constexpr TColor kRule = 0xE0E0E0;
constexpr TColor kDimText = 0x555555;

std::int32_t BarsLeft() { return kMargin + kLabelWidth; }
std::int32_t BarsRight(std::int32_t width) { return width - kMargin - kCountWidth; }

void PaintHeader(TQtCanvas& canvas, const TDispersionPlot& plot, std::int32_t width) {
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(kHeaderBackground);
  canvas.FillRect({0, 0, width, kHeaderHeight});
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.SetFontColour(0x000000);
  canvas.SetFontSize(kFontPoints + 3);
  canvas.SetFontStyle({tf_bold});
  canvas.TextOut(kMargin, 8, nullptr, plot.title, false);
  canvas.SetFontSize(kFontPoints + 1);
  canvas.SetFontStyle({});
  canvas.SetFontColour(kDimText);
  canvas.TextOut(kMargin, 32, nullptr, plot.summary, false);
  canvas.SetPenColour(kRule);
  canvas.Line({0, kHeaderHeight - 1}, {width, kHeaderHeight - 1});
}

void PaintBar(TQtCanvas& canvas, const TDispersionPlotBar& bar, std::size_t index, std::int32_t width) {
  const TRect strip = DispersionPlotBarRect(index, width);
  const std::int32_t top = strip.top - kBarInset;
  canvas.SetFontColour(0x000000);
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  EllipsisOutputALine(canvas, bar.label, {kMargin, top + 2, kMargin + kLabelWidth - 6, top + kRowHeight},
                      kLabelWidth - 6);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(kBarBackground);
  canvas.FillRect(strip);
  canvas.SetPenColour(kDispersionTickColour);
  for (const double position : bar.positions) {
    const std::int32_t x = DispersionPlotTickX(position, width);
    canvas.Line({x, strip.top}, {x, strip.bottom});
  }
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.SetFontColour(kDimText);
  canvas.TextOut(strip.right + 8, top + 2, nullptr, Utf8ToUtf16(std::to_string(bar.hits)), false);
}

}  // namespace

std::int32_t DispersionPlotHeight(std::size_t bar_count) {
  return kHeaderHeight + static_cast<std::int32_t>(bar_count) * kRowHeight + kBottomMargin;
}

TRect DispersionPlotBarRect(std::size_t index, std::int32_t width) {
  const std::int32_t top = kHeaderHeight + static_cast<std::int32_t>(index) * kRowHeight;
  return {BarsLeft(), top + kBarInset, BarsRight(width), top + kRowHeight - kBarInset};
}

std::int32_t DispersionPlotTickX(double position, std::int32_t width) {
  return BarsLeft() + static_cast<std::int32_t>(position * (BarsRight(width) - BarsLeft() - 1));
}

void PaintDispersionPlot(TQtCanvas& canvas, const TDispersionPlot& plot, std::int32_t width) {
  PaintDispersionPlotPart(canvas, plot, width, 0, DispersionPlotHeight(plot.bars.size()));
}

void PaintDispersionPlotPart(TQtCanvas& canvas, const TDispersionPlot& plot, std::int32_t width, std::int32_t top,
                             std::int32_t bottom) {
  if (top < kHeaderHeight) PaintHeader(canvas, plot, width);
  canvas.SetFontSize(kFontPoints);
  const std::size_t first = static_cast<std::size_t>(std::max(top - kHeaderHeight, 0) / kRowHeight);
  const std::size_t end = static_cast<std::size_t>(std::max(bottom - kHeaderHeight + kRowHeight - 1, 0) / kRowHeight);
  for (std::size_t i = first; i < std::min(end, plot.bars.size()); ++i) PaintBar(canvas, plot.bars[i], i, width);
}

}  // namespace quill
