#pragma once
// Drawing helpers for plots and pictures: a stepped colour gradient, font-size
// conversions, rectangles round points, copies between canvases and bitmaps,
// bitmaps turned into metafiles, and points set round a centre. They keep no
// state and work on the caller's thread.
//
// A bitmap is a QImage; a metafile is a QPicture (Qt's record of painting
// commands), which is saved as a PNG picture of its size.
#include <QImage>
#include <QPicture>
#include <cstdint>
#include <memory>

#include "quillctl/qt_canvas.h"
#include "quillctl/quillctl_export.h"
#include "quillrt/framework/strings.h"
#include "quillrt/rendering/canvas.h"
#include "quillrt/rendering/colour_table.h"  // kNoColour, the value that stands for "no colour"

class QLabel;

namespace quill {

// Fills rect with steps + 1 bands stepping from `from` to `to`, left to right
// when horizontal, else top to bottom. With one colour missing the rectangle
// takes the other (the from colour when both are missing).
QUILLCTL_API void MyDrawGradient(TDrawingCanvas& canvas, TColor from, TColor to, std::int32_t steps, TRect rect,
                                 bool horizontal);

// Points to a character height in 0.1-millimetre units, negative as character
// heights are given (72 points are -254), and back (254 units are 72 points).
QUILLCTL_API std::int32_t MapFontHeight(std::int32_t points);
QUILLCTL_API std::int32_t MapFontSize(std::int32_t height);

// The rectangle 1.05 x b either side of the point across and 1.05 x a up and down.
QUILLCTL_API TRect RectCentredOnPoint(TPoint point, float a, float b);
QUILLCTL_API TRect ShrinkRect(const TRect& rect, std::int32_t n);

// Resizes bitmap to width x height and copies that region of the canvas, from
// (x, y), into it. False when the canvas paints on a device whose pixels cannot
// be read (a printer, a picture); the bitmap is then left as it was.
QUILLCTL_API bool CopyARegionOfCanvasToABitmap(std::int32_t x, std::int32_t y, std::int32_t width,
                                               std::int32_t height, QImage& bitmap, const TQtCanvas& canvas);
// Copies the bitmap, from its top-left corner, onto the canvas at rect's
// top-left with rect's width and height, replacing what was there.
QUILLCTL_API void CopyABitmapToARegionOfCanvas(const TRect& rect, const QImage& bitmap, TQtCanvas& canvas);

// A metafile of the bitmap's size holding the bitmap drawn at (0, 0).
QUILLCTL_API std::unique_ptr<QPicture> ConvertBitmapToWindowsMetafile(const QImage& bitmap);
// The same for the picture an image label shows; null when it shows none.
QUILLCTL_API std::unique_ptr<QPicture> ConvertBitmapToWindowsMetafile(const QLabel& image);
// Saves the label's picture through a metafile as a PNG file. False when the
// label shows no picture or the file cannot be written (no file is left behind).
QUILLCTL_API bool ConvertBitmapToWindowsMetafileAndSave(const QLabel& image, const UnicodeString& file_name);
// Plays a metafile onto a white bitmap of its size and saves it as PNG.
QUILLCTL_API bool SaveMetafileAsPng(const QPicture& metafile, const UnicodeString& file_name);

// Point i of n set round centre: at i x 360 / n degrees (0 straight down the
// y axis, 90 along x), radius away, a fifth further for odd i. The centre itself
// when n is not positive.
QUILLCTL_API TPoint CrownPos(std::int32_t i, std::int32_t n, std::int32_t radius, TPoint centre);

}  // namespace quill
