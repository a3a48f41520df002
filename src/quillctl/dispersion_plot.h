#pragma once
// A dispersion plot: a header with a title and a summary line, then one bar
// per part of a corpus (a file or an equal segment) with a tick where each
// occurrence of a word falls and the number of occurrences after it, painted
// by the text drawer on a Qt canvas. The numbers come from whoever measured
// the dispersion; this paints them, at a fixed geometry so that the height
// depends on the number of bars only.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "quillctl/quillctl_export.h"
#include "quillrt/framework/strings.h"
#include "quillrt/rendering/canvas.h"

namespace quill {

class TQtCanvas;

struct TDispersionPlotBar {
  UnicodeString label;            // shown left of the bar, cut with an ellipsis to fit
  std::int64_t hits = 0;          // shown right of the bar
  std::vector<double> positions;  // of each hit along the part, from 0 up to below 1
};

struct TDispersionPlot {
  UnicodeString title;    // bold, in the header
  UnicodeString summary;  // the measures, below the title
  std::vector<TDispersionPlotBar> bars;
};

// The narrowest and widest plots that are painted sensibly.
inline constexpr std::int32_t kDispersionPlotMinWidth = 400;
inline constexpr std::int32_t kDispersionPlotMaxWidth = 20000;
// The colour of the ticks (0x00BBGGRR): a dark blue.
inline constexpr TColor kDispersionTickColour = 0x8B3A1F;
// The font the plot is meant for; the caller sets it on the canvas.
inline constexpr const char16_t* kDispersionPlotFont = u"DejaVu Sans";

// The plot's height for `bar_count` bars.
QUILLCTL_API std::int32_t DispersionPlotHeight(std::size_t bar_count);
// Where bar `index` lies in a plot `width` pixels wide (its grey strip; the
// ticks span its height).
QUILLCTL_API TRect DispersionPlotBarRect(std::size_t index, std::int32_t width);
// The x of a tick at `position` (0 up to below 1) in a plot `width` pixels wide.
QUILLCTL_API std::int32_t DispersionPlotTickX(double position, std::int32_t width);

// Paints `plot` `width` pixels wide from the canvas's top left corner, over
// DispersionPlotHeight(plot.bars.size()) pixels.
QUILLCTL_API void PaintDispersionPlot(TQtCanvas& canvas, const TDispersionPlot& plot, std::int32_t width);
// Paints only what lies between the heights `top` and `bottom` (the header
// if it reaches there, and the bars that do): a view shows a few hundred
// pixels of a plot whose thousands of files would make it far too tall to
// paint whole.
QUILLCTL_API void PaintDispersionPlotPart(TQtCanvas& canvas, const TDispersionPlot& plot, std::int32_t width,
                                          std::int32_t top, std::int32_t bottom);

}  // namespace quill
