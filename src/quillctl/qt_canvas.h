#pragma once
// The drawer's canvas over a QPainter: the text drawer lays a line out and this
// canvas paints each run where the drawer puts it, with Qt's fonts and metrics.
// Inside a run Qt orders the characters by the bidirectional algorithm with the
// run's reading direction as base, so Arabic and Hebrew runs read right to left
// and numbers inside them keep their own order.
//
// Colours are the runtime's 0x00BBGGRR values; system colours (top byte 0xFF)
// come from the application palette.
#include <QColor>
#include <QString>
#include <memory>
#include <string_view>

#include "quillctl/quillctl_export.h"
#include "quillrt/rendering/canvas.h"

class QPainter;
class QPaintDevice;
class QImage;

namespace quill {

// 0x00BBGGRR (or a system colour) to a Qt colour, and back (alpha dropped).
QUILLCTL_API QColor ToQColor(TColor colour);
QUILLCTL_API TColor FromQColor(const QColor& colour);

// Our UTF-16 strings to Qt's and back.
QUILLCTL_API QString ToQString(std::u16string_view text);
QUILLCTL_API UnicodeString FromQString(const QString& text);

// Tells the runtime library what only the toolkit knows about the desktop: the
// system colours (from the application palette) and the work area (the primary
// screen less its panels). Call once the application object exists.
QUILLCTL_API void InstallDesktopFacts();

class QUILLCTL_API TQtCanvas : public TDrawingCanvas {
 public:
  // Paints with `painter`, which must stay active on its device for the
  // canvas's life. Font sizes in points are turned into pixels at the device's
  // resolution.
  explicit TQtCanvas(QPainter& painter);
  ~TQtCanvas() override;
  TQtCanvas(const TQtCanvas&) = delete;
  TQtCanvas& operator=(const TQtCanvas&) = delete;

  void SetFontName(const UnicodeString& name) override;
  UnicodeString FontName() const override;
  void SetFontSize(std::int32_t points) override;
  std::int32_t FontSize() const override;
  bool SetFontStyle(Ttypeface_Set styles) override;
  Ttypeface_Set FontStyle() const override;
  void SetFontColour(TColor colour) override;
  TColor FontColour() const override;
  void SetBrushColour(TColor colour) override;
  TColor BrushColour() const override;
  void SetBrushStyle(TBrushStyle style) override;
  TBrushStyle BrushStyle() const override;
  void SetPenColour(TColor colour) override;
  TColor PenColour() const override;
  void SetTextAlign(TTextAlign align) override;
  TTextAlign TextAlign() const override;

  TSize TextExtent(std::u16string_view text) override;
  void TextOut(std::int32_t x, std::int32_t y, const TRect* clip, std::u16string_view text,
               bool rtl_reading) override;
  void DrawText(const TRect& rect, std::u16string_view text, const TDrawTextFormat& format) override;
  void FillRect(const TRect& rect) override;
  void Line(TPoint from, TPoint to) override;
  void SetClipRect(const TRect* rect) override;

  QPainter& Painter() const;
  // The device painted on: a QImage, a widget, a pixmap ...
  QPaintDevice* Device() const;

 private:
  struct Private;
  std::unique_ptr<Private> d;
};

// A canvas that owns its bitmap: a QImage of the given size, filled with white,
// and a painter on it. Image() is complete once Finish() has ended the painter
// (the destructor ends it too).
class QUILLCTL_API TBitmapCanvas {
 public:
  TBitmapCanvas(std::int32_t width, std::int32_t height);
  ~TBitmapCanvas();
  TBitmapCanvas(const TBitmapCanvas&) = delete;
  TBitmapCanvas& operator=(const TBitmapCanvas&) = delete;

  TQtCanvas& Canvas();
  // Ends painting; the canvas must not be used afterwards.
  void Finish();
  const QImage& Image() const;

 private:
  struct Private;
  std::unique_ptr<Private> d;
};

}  // namespace quill
