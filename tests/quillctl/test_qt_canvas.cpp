#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QScreen>
#include <QPainter>
#include <algorithm>
#include <string>
#include <vector>

#include "quillctl/qt_canvas.h"
#include "quillrt/platform/system_colours.h"
#include "quillrt/rendering/canvas.h"
#include "quillrt/rendering/recording_canvas.h"
#include "quillrt/rendering/text_drawer.h"

namespace quill {
namespace {

constexpr std::uint32_t kEnglish = 0x0809;
constexpr std::uint32_t kHebrew = 0x040D;

struct PaintedRun {
  std::string text;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  friend bool operator==(const PaintedRun&, const PaintedRun&) = default;
};

std::ostream& operator<<(std::ostream& os, const PaintedRun& run) {
  return os << "{\"" << run.text << "\", " << run.left << ", " << run.top << ", " << run.width << "}";
}

// A Qt canvas that also notes where every run went.
class SpyCanvas : public TQtCanvas {
 public:
  using TQtCanvas::TQtCanvas;
  void TextOut(std::int32_t x, std::int32_t y, const TRect* clip, std::u16string_view text, bool rtl) override {
    const std::int32_t width = TextExtent(text).cx;
    runs.push_back({Utf16ToUtf8(UnicodeString(text)), TextAlign() == TTextAlign::taRight ? x - width : x, y, width});
    TQtCanvas::TextOut(x, y, clip, text, rtl);
  }
  std::vector<PaintedRun> runs;
};

std::vector<PaintedRun> RecordedRuns(const TRecordingCanvas& canvas) {
  std::vector<PaintedRun> runs;
  for (const TCanvasCall& call : canvas.TextCalls())
    runs.push_back({Utf16ToUtf8(call.text), call.rect.left, call.rect.top, call.rect.Width()});
  return runs;
}

// A span colouring characters first..last (1-based) in search word n's colours,
// in the plain typeface so that both canvases measure it alike.
TExtraFontRec PlainHitSpan(std::int32_t first, std::int32_t last, std::int32_t n) {
  TExtraFontRec span;
  span.switch_on_at_char = first;
  span.switch_off_at_char = last;
  span.colour_rec = SearchFoundColoursFromNumber(n);
  span.applies_to = efc_centre_word;
  return span;
}

bool IsColour(const QImage& image, int x, int y, TColor colour) {
  return image.pixelColor(x, y).rgb() == ToQColor(colour).rgb();
}

// Pixels of `colour` inside box.
int CountColour(const QImage& image, const QRect& box, TColor colour) {
  int count = 0;
  const QRect inside = box.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) count += IsColour(image, x, y, colour) ? 1 : 0;
  return count;
}

TEST(QtCanvas, DesktopFactsReachTheRuntimeLibrary) {
  InstallDesktopFacts();
  const QPalette palette = QGuiApplication::palette();
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), static_cast<std::uint32_t>(FromQColor(palette.color(QPalette::Highlight))));
  // A system colour painted on a Qt canvas and resolved by the runtime agree.
  EXPECT_EQ(ToQColor(static_cast<TColor>(0xFF000000u | COLOR_WINDOW)).rgb(),
            ToQColor(static_cast<TColor>(GetSysColor(COLOR_WINDOW))).rgb());
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(Work_Area.Width(), area.width());
  EXPECT_EQ(Work_Area.Height(), area.height());
  SetSystemColourProc({});
}

TEST(QtCanvas, ColoursConvertBothWays) {
  EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(0x123456), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(FromQColor(QColor(0x56, 0x34, 0x12)), 0x123456);
  // A system colour comes from the palette rather than from its bits.
  EXPECT_EQ(ToQColor(static_cast<TColor>(0xFF00000Du)), QGuiApplication::palette().color(QPalette::Highlight));
}

TEST(QtCanvas, MetricsFollowFontSizeAndStyle) {
  TBitmapCanvas bitmap(200, 50);
  TQtCanvas& canvas = bitmap.Canvas();
  canvas.SetFontName(u"DejaVu Sans");
  canvas.SetFontSize(10);
  const TSize plain = canvas.TextExtent(u"Jury");
  EXPECT_GT(plain.cx, 0);
  EXPECT_GT(plain.cy, 10);
  EXPECT_TRUE(canvas.SetFontStyle({tf_bold}));
  EXPECT_GT(canvas.TextExtent(u"Jury").cx, plain.cx);
  canvas.SetFontStyle({});
  canvas.SetFontSize(20);
  EXPECT_GT(canvas.TextExtent(u"Jury").cx, plain.cx * 3 / 2);
  EXPECT_EQ(canvas.TextExtent(u"").cx, 0);
}

TEST(QtCanvas, TextOutPaintsItsBackgroundInsideTheClipOnly) {
  TBitmapCanvas bitmap(200, 40);
  TQtCanvas& canvas = bitmap.Canvas();
  canvas.SetBrushColour(0x0000FF);  // red
  canvas.SetFontColour(0xFFFFFF);
  const TSize size = canvas.TextExtent(u"WWWW");
  const TRect clip{10, 0, 10 + size.cx / 2, 40};
  canvas.TextOut(10, 5, &clip, u"WWWW", false);
  // Right-aligned: the point is the run's right end.
  canvas.SetTextAlign(TTextAlign::taRight);
  canvas.SetBrushColour(0xFF0000);  // blue
  canvas.TextOut(190, 5, nullptr, u"WWWW", false);
  bitmap.Finish();
  const QImage& image = bitmap.Image();
  EXPECT_TRUE(IsColour(image, 11, 6, 0x0000FF));
  EXPECT_TRUE(IsColour(image, 10 + size.cx - 2, 6, 0xFFFFFF)) << "cut off by the clip";
  EXPECT_GT(CountColour(image, QRect(190 - size.cx, 5, size.cx, size.cy), 0xFF0000), 0);
  EXPECT_EQ(CountColour(image, QRect(191, 0, 9, 40), 0xFF0000), 0);
}

TEST(QtCanvas, ClearBrushFillsNothingAndClipRectLimitsFills) {
  TBitmapCanvas bitmap(100, 100);
  TQtCanvas& canvas = bitmap.Canvas();
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.SetBrushColour(0x000000);
  canvas.FillRect({0, 0, 100, 100});
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  const TRect clip{0, 0, 50, 50};
  canvas.SetClipRect(&clip);
  canvas.FillRect({0, 0, 100, 100});
  canvas.SetClipRect(nullptr);
  canvas.SetBrushColour(0x00FF00);
  canvas.FillRect({90, 90, 100, 100});
  bitmap.Finish();
  const QImage& image = bitmap.Image();
  EXPECT_TRUE(IsColour(image, 49, 49, 0x000000));
  EXPECT_TRUE(IsColour(image, 50, 50, 0xFFFFFF));
  EXPECT_TRUE(IsColour(image, 95, 95, 0x00FF00));
  EXPECT_TRUE(IsColour(image, 89, 89, 0xFFFFFF));  // right and bottom are exclusive
}

TEST(QtCanvas, DrawTextShortensWithAnEllipsisToFit) {
  TBitmapCanvas bitmap(300, 40);
  TQtCanvas& canvas = bitmap.Canvas();
  canvas.SetBrushColour(0x0000FF);
  const UnicodeString path = u"/home/corpus/very/long/folder/name/texts/a01.txt";
  const TRect rect{0, 0, canvas.TextExtent(path).cx / 2, 20};
  canvas.DrawText(rect, path, {TDrawTextAlign::dtLeft, TEllipsis::elPath, false, false});
  bitmap.Finish();
  // The run never passes its rectangle.
  EXPECT_EQ(CountColour(bitmap.Image(), QRect(rect.right, 0, 300 - rect.right, 40), 0x0000FF), 0);
  EXPECT_GT(CountColour(bitmap.Image(), QRect(0, 0, rect.right, 20), 0x0000FF), 0);
}

// With a font of one advance for every character, the recording canvas can be
// given Qt's metrics: the drawer must then lay the line out identically on both.
// At 15 points (20 pixels) the advance of DejaVu Sans Mono is within 0.05 pixels
// of a whole number, so that words measure exactly n advances.
TEST(QtCanvasLayout, SameLayoutAsTheRecordingCanvasWithEqualMetrics) {
  const UnicodeString text = u"the cat sat on the mat with a dog";
  TExtraFontList spans;
  spans.AddOne(PlainHitSpan(9, 11, 0));
  spans.AddOne(PlainHitSpan(31, 33, 1));

  TBitmapCanvas bitmap(500, 90);
  SpyCanvas qt(bitmap.Canvas().Painter());
  qt.SetFontName(u"DejaVu Sans Mono");
  qt.SetFontSize(15);
  TRecordingCanvas recording;
  recording.char_width = recording.space_width = qt.TextExtent(u"n").cx;
  recording.line_height = qt.TextExtent(u"n").cy;
  ASSERT_EQ(qt.TextExtent(u"with").cx, 4 * recording.char_width) << "the font is not monospaced";
  ASSERT_EQ(qt.TextExtent(u" ").cx, recording.char_width);

  for (const TRect R : {TRect{0, 0, 500, 30}, TRect{0, 0, 200, 90}}) {
    TMyTextDrawer on_qt;
    TMyTextDrawer on_record;
    on_qt.DrawConcText(text, 9, 3, qt, kEnglish, &spans, R, false, false, pra_screen);
    on_record.DrawConcText(text, 9, 3, recording, kEnglish, &spans, R, false, false, pra_screen);
    EXPECT_EQ(qt.runs, RecordedRuns(recording)) << "rectangle width " << R.Width();
    qt.runs.clear();
    recording.ClearCalls();
  }
}

// In a proportional font the runs still abut: each starts where the one before
// it in the line ends (leftwards for right-to-left text), and the hit starts at
// the centre.
TEST(QtCanvasLayout, RunsAbutAroundTheCentreInBothDirections) {
  struct Case {
    UnicodeString text;
    std::int32_t midpoint, length;
    std::uint32_t lcid;
    bool rtl;
  };
  const std::vector<Case> cases = {
      {u"The grand jury said it did find that", 11, 4, kEnglish, false},
      {u"הוא ראה את John Smith בבית", 5, 3, kHebrew, true},
  };
  for (const Case& c : cases) {
    TBitmapCanvas bitmap(600, 40);
    SpyCanvas canvas(bitmap.Canvas().Painter());
    TExtraFontList spans;
    spans.AddOne(PlainHitSpan(c.midpoint, c.midpoint + c.length - 1, 0));
    TMyTextDrawer drawer;
    drawer.DrawConcText(c.text, c.midpoint, c.length, canvas, c.lcid, &spans, {0, 0, 600, 40}, false, false,
                        pra_screen);
    ASSERT_FALSE(canvas.runs.empty());
    std::vector<PaintedRun> line = canvas.runs;
    std::sort(line.begin(), line.end(), [](const PaintedRun& a, const PaintedRun& b) { return a.left < b.left; });
    for (std::size_t i = 1; i < line.size(); ++i)
      EXPECT_EQ(line[i].left, line[i - 1].left + line[i - 1].width) << line[i].text;
    const PaintedRun& hit = canvas.runs.front();
    if (c.rtl)
      EXPECT_EQ(hit.left + hit.width, 300);
    else
      EXPECT_EQ(hit.left, 300);
  }
}

TEST(QtCanvasLayout, HitColourFillsTheHitBoxAndNothingElse) {
  const UnicodeString text = u"Only a relative handful of such reports was received, the jury said, considering";
  const std::int32_t midpoint = static_cast<std::int32_t>(text.find(u"jury")) + 1;
  TExtraFontList spans;
  spans.AddOne(PlainHitSpan(midpoint, midpoint + 3, 0));
  TBitmapCanvas bitmap(700, 30);
  SpyCanvas canvas(bitmap.Canvas().Painter());
  TMyTextDrawer drawer;
  drawer.DrawConcText(text, midpoint, 4, canvas, kEnglish, &spans, {0, 0, 700, 30}, false, false, pra_screen);
  bitmap.Finish();
  const PaintedRun& hit = canvas.runs.front();
  ASSERT_EQ(hit.text, "jury");
  const TColor hit_background = SearchFoundColoursFromNumber(0)[tct_background];
  const QRect box(hit.left, hit.top, hit.width, canvas.TextExtent(u"jury").cy);
  const int in_box = CountColour(bitmap.Image(), box, hit_background);
  EXPECT_GT(in_box, box.width() * box.height() / 3);
  EXPECT_EQ(CountColour(bitmap.Image(), bitmap.Image().rect(), hit_background), in_box);
}

}  // namespace
}  // namespace quill
