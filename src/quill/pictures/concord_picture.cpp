#include "pictures/picture_module.h"

#include "corpus_input.h"
#include "commands.h"
#include "pictures/offscreen_gui.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/style_pack.h"
#include "quillrt/language/language_identity.h"
#include "quillrt/rendering/colours.h"
#include "quillrt/rendering/extra_fonts.h"
#include "quillrt/rendering/text_drawer.h"

namespace quill::cli {
namespace {

// Fixed geometry, so that the picture's size depends on the line count only.
constexpr int kMargin = 12;
constexpr int kHeaderHeight = 58;
constexpr int kRowHeight = 22;
constexpr int kRowTextOffset = 3;
constexpr int kBottomMargin = 8;
constexpr int kFontPoints = 10;
constexpr int kMinimumWidth = 200;
constexpr int kMaximumWidth = 20000;  // beyond any page or screen; keeps the bitmap allocatable
constexpr const char16_t* kFont = u"DejaVu Sans";

constexpr TColor kHeaderBackground = 0xF4EEE8;
constexpr TColor kRule = 0xE0E0E0;
constexpr TColor kDimText = 0x555555;

std::string Grouped(std::int64_t n) {
  std::string digits = std::to_string(n < 0 ? -n : n);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ",");
  return n < 0 ? "-" + digits : digits;
}

std::string Plural(std::int64_t n, const char* one, const char* many) { return Grouped(n) + " " + (n == 1 ? one : many); }

std::string QueryText(const ConcordPictureInfo& info) {
  std::string query;
  for (const std::string& s : info.searches) query += (query.empty() ? "\"" : ", \"") + s + "\"";
  return "Concordance of " + query;
}

std::string TotalsText(const ConcordPictureInfo& info, std::size_t shown) {
  return Plural(info.total_hits, "hit", "hits") + " in " + Plural(static_cast<std::int64_t>(info.files), "file", "files") +
         " of " + Plural(info.total_words, "word", "words") + "; " + Grouped(static_cast<std::int64_t>(shown)) +
         " shown";
}

// One header line at the reading-start margin. The header is English, so it
// reads left to right even above right-to-left lines.
void HeaderLine(TQtCanvas& canvas, const std::string& text, int y, int width, bool rtl) {
  canvas.SetTextAlign(rtl ? TTextAlign::taRight : TTextAlign::taLeft);
  canvas.TextOut(rtl ? width - kMargin : kMargin, y, nullptr, Utf8ToUtf16(text), false);
  canvas.SetTextAlign(TTextAlign::taLeft);
}

// The search words in their hit colours, from the far margin inwards.
void Legend(TQtCanvas& canvas, const ConcordPictureInfo& info, int y, int width, bool rtl) {
  int x = rtl ? kMargin : width - kMargin;
  for (std::size_t n = info.searches.size(); n-- > 0;) {
    const TMyCanvasColourRecAndTypeface look = SearchFoundColoursAndFontStyleFromNumber(static_cast<std::int32_t>(n));
    const UnicodeString label = u' ' + Utf8ToUtf16(info.searches[n]) + u": " +
                                Utf8ToUtf16(Grouped(n < info.search_hits.size() ? info.search_hits[n] : 0)) + u' ';
    canvas.SetFontStyle(look.default_typeface);
    canvas.SetFontColour(look.colourset[tct_text]);
    canvas.SetBrushColour(look.colourset[tct_background]);
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    const std::int32_t label_width = canvas.TextExtent(label).cx;
    if (!rtl) x -= label_width;
    canvas.TextOut(x, y, nullptr, label, false);
    x += rtl ? label_width + 6 : -6;
  }
  canvas.SetFontStyle({});
}

void PaintHeader(TQtCanvas& canvas, const std::vector<ConcordanceLine>& lines, const ConcordPictureInfo& info,
                 int width, bool rtl) {
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(kHeaderBackground);
  canvas.FillRect({0, 0, width, kHeaderHeight});
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.SetFontColour(0x000000);
  canvas.SetFontSize(kFontPoints + 2);
  canvas.SetFontStyle({tf_bold});
  HeaderLine(canvas, QueryText(info), 8, width, rtl);
  canvas.SetFontSize(kFontPoints);
  canvas.SetFontStyle({});
  canvas.SetFontColour(kDimText);
  HeaderLine(canvas, TotalsText(info, lines.size()), 32, width, rtl);
  Legend(canvas, info, 32, width, rtl);
  canvas.SetPenColour(kRule);
  canvas.Line({0, kHeaderHeight - 1}, {width, kHeaderHeight - 1});
}

void PaintRows(TQtCanvas& canvas, const std::vector<ConcordanceLine>& lines, std::uint32_t lcid, int width) {
  canvas.SetFontName(kFont);
  canvas.SetFontSize(kFontPoints);
  canvas.SetFontStyle({});
  int top = kHeaderHeight;
  for (const ConcordanceLine& line : lines) {
    if (!line.hit.empty()) {
      TExtraFontList spans;
      spans.AddOne(jobs::HitSpanOf(line));
      TMyTextDrawer drawer;
      const TRect row{kMargin, top + kRowTextOffset, width - kMargin, top + kRowHeight - kRowTextOffset};
      drawer.DrawConcText(line.left + line.hit + line.right, static_cast<std::int32_t>(line.left.size()) + 1,
                          static_cast<std::int32_t>(line.hit.size()), canvas, lcid, &spans, row, false, false,
                          pra_printer);
    }
    top += kRowHeight;
    canvas.SetPenColour(kRule);
    canvas.Line({kMargin, top - 1}, {width - kMargin, top - 1});
  }
}

// The picture's height for `line_count` rows.
int ConcordPictureHeight(std::size_t line_count) {
  return kHeaderHeight + static_cast<int>(line_count) * kRowHeight + kBottomMargin;
}

}  // namespace

void SaveConcordPicture(const std::string& path, const std::vector<ConcordanceLine>& lines,
                        const ConcordPictureInfo& info) {
  const bool rtl = BiDiModeFromLCID(info.lcid) != bdLeftToRight;
  WritePngPicture(path, info.width, kMinimumWidth, kMaximumWidth, ConcordPictureHeight(lines.size()), kFont,
                  [&](TQtCanvas& canvas) {
                    PaintHeader(canvas, lines, info, info.width, rtl);
                    PaintRows(canvas, lines, info.lcid, info.width);
                  });
}

}  // namespace quill::cli
