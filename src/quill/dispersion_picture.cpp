#include "dispersion_picture.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "corpus_input.h"
#include "offscreen_gui.h"
#include "run_outcome.h"
#include "quillctl/qt_canvas.h"
#include "quillrt/rendering/text_drawer.h"

namespace quill::cli {
namespace {

// Fixed geometry, so that the picture's size depends on the bar count only.
constexpr int kMargin = 12;
constexpr int kHeaderHeight = 58;
constexpr int kRowHeight = 18;
constexpr int kBarInset = 3;
constexpr int kLabelWidth = 160;
constexpr int kCountWidth = 60;
constexpr int kBottomMargin = 8;
constexpr int kFontPoints = 9;
constexpr int kMinimumWidth = 400;
constexpr int kMaximumWidth = 20000;
constexpr const char16_t* kFont = u"DejaVu Sans";

constexpr TColor kHeaderBackground = 0xF4EEE8;
constexpr TColor kBarBackground = 0xF2F2F2;
constexpr TColor kTick = 0x8B3A1F;  // a dark blue
constexpr TColor kRule = 0xE0E0E0;
constexpr TColor kDimText = 0x555555;

std::string Measure(const char* name, double value) {
  char text[48];
  if (std::isnan(value)) std::snprintf(text, sizeof text, "%s -", name);
  else std::snprintf(text, sizeof text, "%s %.3f", name, value);
  return text;
}

std::string SummaryText(const jobs::DispersionResult& result) {
  const jobs::DispersionMeasures& m = result.measures;
  return std::to_string(result.hits) + " hits in " + std::to_string(result.tokens) + " words; range " +
         std::to_string(m.range) + " of " + std::to_string(result.parts.size()) + "; " + Measure("D", m.juilland_d) +
         "; " + Measure("DP", m.dp) + "; " + Measure("DPnorm", m.dp_norm);
}

void PaintHeader(TQtCanvas& canvas, const std::string& words, const jobs::DispersionResult& result, int width) {
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(kHeaderBackground);
  canvas.FillRect({0, 0, width, kHeaderHeight});
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.SetFontColour(0x000000);
  canvas.SetFontSize(kFontPoints + 3);
  canvas.SetFontStyle({tf_bold});
  canvas.TextOut(kMargin, 8, nullptr, Utf8ToUtf16("Dispersion of " + words), false);
  canvas.SetFontSize(kFontPoints + 1);
  canvas.SetFontStyle({});
  canvas.SetFontColour(kDimText);
  canvas.TextOut(kMargin, 32, nullptr, Utf8ToUtf16(SummaryText(result)), false);
  canvas.SetPenColour(kRule);
  canvas.Line({0, kHeaderHeight - 1}, {width, kHeaderHeight - 1});
}

// A row: the part's name (a path loses its middle to an ellipsis), the bar
// with a tick per hit, and the number of hits.
void PaintRow(TQtCanvas& canvas, const jobs::DispersionPart& part, int top, int width) {
  const std::string label = part.segment ? part.name : std::filesystem::path(part.name).filename().string();
  canvas.SetFontColour(0x000000);
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  EllipsisOutputALine(canvas, Utf8ToUtf16(Printable(label)), {kMargin, top + 2, kMargin + kLabelWidth - 6, top + kRowHeight},
                      kLabelWidth - 6);
  const int left = kMargin + kLabelWidth, right = width - kMargin - kCountWidth;
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(kBarBackground);
  canvas.FillRect({left, top + kBarInset, right, top + kRowHeight - kBarInset});
  canvas.SetPenColour(kTick);
  for (const double position : part.positions) {
    const int x = left + static_cast<int>(position * (right - left - 1));
    canvas.Line({x, top + kBarInset}, {x, top + kRowHeight - kBarInset});
  }
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.SetFontColour(kDimText);
  canvas.TextOut(right + 8, top + 2, nullptr, Utf8ToUtf16(std::to_string(part.hits)), false);
}

}  // namespace

int DispersionPictureHeight(std::size_t part_count) {
  return kHeaderHeight + static_cast<int>(part_count) * kRowHeight + kBottomMargin;
}

void WriteDispersionPicture(const std::string& path, const std::string& words, const jobs::DispersionResult& result,
                            int width) {
  WritePngPicture(path, width, kMinimumWidth, kMaximumWidth, DispersionPictureHeight(result.parts.size()), kFont,
                  [&](TQtCanvas& canvas) {
                    PaintHeader(canvas, words, result, width);
                    canvas.SetFontSize(kFontPoints);
                    int top = kHeaderHeight;
                    for (const jobs::DispersionPart& part : result.parts) {
                      PaintRow(canvas, part, top, width);
                      top += kRowHeight;
                    }
                  });
}

}  // namespace quill::cli
