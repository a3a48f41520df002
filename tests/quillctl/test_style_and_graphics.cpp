#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

#include "quillctl/graphics_utilities.h"
#include "quillctl/style_pack.h"
#include "quillrt/rendering/recording_canvas.h"

namespace quill {
namespace {

TEST(StylePack, StylesHaveNamesAndTheirOwnColoursUpTo12) {
  EXPECT_EQ(StyleName(tsBlue), u"Blue");
  EXPECT_EQ(StyleName(200), StyleName(tsShared));
  EXPECT_EQ(StyleName(-1), StyleName(tsShared));
  EXPECT_EQ(StylePalette(0), (TStylePalette{0xFDEADA, 0, 0xDEC4B0, 0xFADAC4, 0xFFFFFF, 0xDEC4B0}));
  EXPECT_EQ(StylePalette(8).header, 0x4B4B4B);
  EXPECT_EQ(StylePalette(5).window, clBtnFace);
  EXPECT_EQ(StylePalette(12).selection, 0xA9A9A9);
  EXPECT_EQ(StylePalette(13), StylePalette(40));
  EXPECT_EQ(StylePalette(13).selection, 0xE0A57D);
  for (std::int32_t s = 0; s < 20; ++s) EXPECT_EQ(StylePalette(s).text, 0) << s;
}

TEST(StylePack, QtPaletteCarriesTheStyleColours) {
  const QPalette palette = StyleQPalette(tsOlive);
  EXPECT_EQ(palette.color(QPalette::Window), ToQColor(0xCFF0EA));
  EXPECT_EQ(palette.color(QPalette::Highlight), ToQColor(0x8CC0B1));
  EXPECT_EQ(palette.color(QPalette::HighlightedText), QColor(Qt::white));
  EXPECT_EQ(palette.color(QPalette::Text), QColor(Qt::black));
}

TEST(StylePack, ContrastingColourFollowsBrightness) {
  EXPECT_EQ(GetContrastingBackgroundColour(0), 0xFFFFFF);
  EXPECT_EQ(GetContrastingBackgroundColour(clBtnFace), 0xFFFFFF);
  EXPECT_EQ(GetContrastingBackgroundColour(0xFFFFFF), 0);
  EXPECT_EQ(GetContrastingBackgroundColour(0x4B4B4B), 0xFFFFFF);
  EXPECT_EQ(GetContrastingBackgroundColour(0xDEC4B0), 0);
}

TEST(StylePack, MonitorScaleIsRelativeTo96PixelsPerInch) {
  EXPECT_DOUBLE_EQ(MonitorScale(96), 1.0);
  EXPECT_DOUBLE_EQ(MonitorScale(144), 1.5);
  EXPECT_DOUBLE_EQ(MonitorScale(0), 1.0);
}

TEST(StylePack, FormStylerStylesTheFormAndItsControlsAndReportsChanges) {
  QWidget form;
  auto* layout = new QVBoxLayout(&form);  // owned by the form, as Qt parents own children
  auto* list = new QListWidget;
  layout->addWidget(list);
  TFormStyler styler(form, tsBlue);
  std::vector<TTMSStyle> changes;
  styler.OnStyleChange = [&](TTMSStyle style) { changes.push_back(style); };
  EXPECT_EQ(list->palette().color(QPalette::Base), ToQColor(0xFDEADA));
  EXPECT_EQ(list->style(), form.style());

  styler.SetStyle(tsCharcoal);
  styler.SetStyle(tsCharcoal);  // no change, no notice
  EXPECT_EQ(changes, std::vector<TTMSStyle>{tsCharcoal});
  EXPECT_EQ(list->palette().color(QPalette::Base), ToQColor(0xBFBFBF));
  EXPECT_EQ(form.palette().color(QPalette::Button), ToQColor(0x4B4B4B));
  EXPECT_GT(styler.Scale(), 0.0);
}

TEST(GraphicsHelpers, GradientBandsStepFromOneColourToTheOther) {
  TRecordingCanvas canvas;
  MyDrawGradient(canvas, 0x000000, 0x0000FF, 4, {0, 0, 9, 10}, true);
  const auto& fills = canvas.Calls();
  ASSERT_EQ(fills.size(), 5u);  // steps + 1 bands
  // extent 8, band width 2: bands at 0, 2, 4, 6, 8, each 3 long, cut at the right.
  const std::array<TRect, 5> bands{{{0, 0, 3, 10}, {2, 0, 5, 10}, {4, 0, 7, 10}, {6, 0, 9, 10}, {8, 0, 9, 10}}};
  const std::array<TColor, 5> reds{0x00, 0x40, 0x80, 0xBF, 0xFF};  // round(k x 255 / 4)
  for (std::size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(fills[k].rect, bands[k]) << k;
    EXPECT_EQ(fills[k].brush_colour, reds[k]) << k;
    EXPECT_EQ(fills[k].pen_colour, reds[k]) << k;
  }
}

TEST(GraphicsHelpers, GradientEdgeCases) {
  TRecordingCanvas canvas;
  MyDrawGradient(canvas, 0, 0xFFFFFF, 4, {0, 5, 10, 5}, true);
  MyDrawGradient(canvas, 0, 0xFFFFFF, 4, {0, 5, 10, 5}, false);
  EXPECT_TRUE(canvas.Calls().empty()) << "zero height draws nothing";

  MyDrawGradient(canvas, kNoColour, 0x00FF00, 4, {0, 10, 20, 0}, false);
  ASSERT_EQ(canvas.Calls().size(), 1u);
  EXPECT_EQ(canvas.Calls()[0].rect, (TRect{0, 0, 20, 10}));  // top and bottom put in order
  EXPECT_EQ(canvas.Calls()[0].brush_colour, 0x00FF00);

  canvas.ClearCalls();
  MyDrawGradient(canvas, 0x000000, 0xFFFFFF, 0, {0, 0, 10, 10}, false);
  ASSERT_EQ(canvas.Calls().size(), 2u);  // steps 0 become 1: two bands
  EXPECT_EQ(canvas.Calls()[0].brush_colour, 0x000000);
  EXPECT_EQ(canvas.Calls()[1].brush_colour, 0xFFFFFF);

  canvas.ClearCalls();
  MyDrawGradient(canvas, 0x000000, 0xFFFFFF, 100, {0, 0, 4, 10}, true);
  EXPECT_EQ(canvas.Calls().size(), 4u);  // steps cut to the extent, 3
}

TEST(GraphicsHelpers, FontSizesRectanglesAndCrownPositions) {
  EXPECT_EQ(MapFontHeight(72), -254);
  EXPECT_EQ(MapFontHeight(10), -35);
  EXPECT_EQ(MapFontSize(254), 72);
  EXPECT_EQ(MapFontSize(-35), -9);
  EXPECT_EQ(RectCentredOnPoint({100, 50}, 10.0f, 20.0f), (TRect{79, 39, 121, 61}));
  EXPECT_EQ(ShrinkRect({0, 0, 10, 20}, 2), (TRect{2, 2, 8, 18}));
  EXPECT_EQ(CrownPos(1, 4, 10, {0, 0}), (TPoint{12, 0}));
  EXPECT_EQ(CrownPos(2, 4, 10, {5, 5}), (TPoint{5, -5}));
  EXPECT_EQ(CrownPos(0, 4, 10, {5, 5}), (TPoint{5, 15}));
  EXPECT_EQ(CrownPos(1, 0, 10, {5, 5}), (TPoint{5, 5}));
}

TEST(GraphicsHelpers, CopiesBetweenCanvasAndBitmapArePlainPixelCopies) {
  TBitmapCanvas source(40, 40);
  source.Canvas().SetBrushColour(0x0000FF);
  source.Canvas().FillRect({10, 10, 20, 20});
  QImage bitmap(1, 1, QImage::Format_RGB32);
  ASSERT_TRUE(CopyARegionOfCanvasToABitmap(5, 5, 20, 10, bitmap, source.Canvas()));
  EXPECT_EQ(bitmap.size(), QSize(20, 10));
  EXPECT_EQ(bitmap.pixelColor(4, 4), QColor(Qt::white));
  EXPECT_EQ(bitmap.pixelColor(5, 5), QColor(Qt::red));

  TBitmapCanvas target(50, 50);
  target.Canvas().SetBrushColour(0x00FF00);
  target.Canvas().FillRect({0, 0, 50, 50});
  CopyABitmapToARegionOfCanvas({30, 30, 40, 36}, bitmap, target.Canvas());
  target.Finish();
  const QImage& out = target.Image();
  EXPECT_EQ(out.pixelColor(30, 30), QColor(Qt::white));  // bitmap (0, 0)
  EXPECT_EQ(out.pixelColor(35, 35), QColor(Qt::red));    // bitmap (5, 5)
  EXPECT_EQ(out.pixelColor(40, 30), QColor(Qt::green));  // outside the rectangle
  EXPECT_EQ(out.pixelColor(35, 36), QColor(Qt::green));
}

TEST(GraphicsHelpers, MetafileOfABitmapSavesAsPng) {
  QImage bitmap(30, 20, QImage::Format_RGB32);
  bitmap.fill(Qt::blue);
  bitmap.setPixelColor(29, 19, Qt::red);
  const std::unique_ptr<QPicture> metafile = ConvertBitmapToWindowsMetafile(bitmap);
  EXPECT_EQ(metafile->boundingRect(), QRect(0, 0, 30, 20));

  QTemporaryDir dir;
  QLabel label;
  const UnicodeString empty_name = (dir.path() + "/none.png").toStdU16String();
  EXPECT_FALSE(ConvertBitmapToWindowsMetafileAndSave(label, empty_name)) << "a label without a picture";
  EXPECT_FALSE(QFile::exists(dir.path() + "/none.png"));

  label.setPixmap(QPixmap::fromImage(bitmap));
  const QString name = dir.path() + "/picture.png";
  ASSERT_TRUE(ConvertBitmapToWindowsMetafileAndSave(label, name.toStdU16String()));
  const QImage read(name, "PNG");
  EXPECT_EQ(read.size(), QSize(30, 20));
  EXPECT_EQ(read.pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(read.pixelColor(29, 19), QColor(Qt::red));
  EXPECT_FALSE(ConvertBitmapToWindowsMetafileAndSave(label, (dir.path() + "/no/such/dir.png").toStdU16String()));
}

}  // namespace
}  // namespace quill
