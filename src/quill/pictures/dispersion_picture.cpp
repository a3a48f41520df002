#include "pictures/picture_module.h"

#include "pictures/offscreen_gui.h"
#include "run_outcome.h"
#include "quillctl/dispersion_plot.h"
#include "quillctl/qt_canvas.h"
#include "quilljobs/dispersion_summary.h"

namespace quill::cli {

void SaveDispersionPicture(const std::string& path, const std::string& words, const jobs::DispersionResult& result,
                           int width) {
  TDispersionPlot plot;
  plot.title = Utf8ToUtf16("Dispersion of " + words);
  plot.summary = Utf8ToUtf16(jobs::DispersionSummary(result));
  for (const jobs::DispersionPart& part : result.parts)
    plot.bars.push_back({Utf8ToUtf16(Printable(jobs::DispersionPartLabel(part))), part.hits, part.positions});
  WritePngPicture(path, width, kDispersionPlotMinWidth, kDispersionPlotMaxWidth,
                  DispersionPlotHeight(plot.bars.size()), kDispersionPlotFont,
                  [&](TQtCanvas& canvas) { PaintDispersionPlot(canvas, plot, width); });
}

}  // namespace quill::cli
