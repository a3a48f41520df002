#include "quillctl/graphics_utilities.h"

#include <QSaveFile>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace quill {

namespace {

QString ToQString(const UnicodeString& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A colour as plain RGB, system colours resolved; "no colour" stays as it is.
TColor PlainRgb(TColor colour) { return colour == kNoColour ? colour : FromQColor(ToQColor(colour)); }

std::int32_t Channel(TColor colour, int shift) { return (static_cast<std::uint32_t>(colour) >> shift) & 0xFF; }

void FillWithPenAndBrush(TDrawingCanvas& canvas, TColor colour, const TRect& rect) {
  canvas.SetPenColour(colour);
  canvas.SetBrushColour(colour);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.FillRect(rect);
}

}  // namespace

void MyDrawGradient(TDrawingCanvas& canvas, TColor from, TColor to, std::int32_t steps, TRect rect, bool horizontal) {
  if (rect.top == rect.bottom) return;
  const std::int32_t top = std::min(rect.top, rect.bottom);
  const std::int32_t bottom = std::max(rect.top, rect.bottom);
  from = PlainRgb(from);
  to = PlainRgb(to);
  if (from == kNoColour || to == kNoColour) {
    FillWithPenAndBrush(canvas, from == kNoColour ? to : from, {rect.left, top, rect.right, bottom});
    return;
  }
  const std::int32_t extent = horizontal ? rect.right - rect.left - 1 : bottom - top - 1;
  steps = std::max(std::min(steps, extent), 1);
  const double band = static_cast<double>(extent) / steps;
  const std::int32_t band_length = static_cast<std::int32_t>(band + 1);
  for (std::int32_t k = 0; k <= steps; ++k) {
    TColor colour = 0;
    for (const int shift : {0, 8, 16}) {
      const std::int32_t start = Channel(from, shift);
      const auto step = std::lround(static_cast<double>(k) * (Channel(to, shift) - start) / steps);
      colour |= static_cast<TColor>((start + step) & 0xFF) << shift;
    }
    const std::int32_t offset = static_cast<std::int32_t>(k * band);
    TRect piece{rect.left, top, rect.right, bottom};
    if (horizontal) {
      piece.left = rect.left + offset;
      piece.right = std::min(piece.left + band_length, rect.right);
    } else {
      piece.top = top + offset;
      piece.bottom = std::min(piece.top + band_length, bottom);
    }
    FillWithPenAndBrush(canvas, colour, piece);
  }
}

std::int32_t MapFontHeight(std::int32_t points) {
  return static_cast<std::int32_t>(-(static_cast<std::int64_t>(points) * 254 / 72));
}

std::int32_t MapFontSize(std::int32_t height) {
  return static_cast<std::int32_t>(static_cast<std::int64_t>(height) * 72 / 254);
}

TRect RectCentredOnPoint(TPoint point, float a, float b) {
  const auto across = static_cast<std::int32_t>(std::lround(1.05 * b));
  const auto down = static_cast<std::int32_t>(std::lround(1.05 * a));
  return {point.x - across, point.y - down, point.x + across, point.y + down};
}

TRect ShrinkRect(const TRect& rect, std::int32_t n) {
  return {rect.left + n, rect.top + n, rect.right - n, rect.bottom - n};
}

bool CopyARegionOfCanvasToABitmap(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                  QImage& bitmap, const TQtCanvas& canvas) {
  QPaintDevice* device = canvas.Device();
  if (device == nullptr) return false;
  const QRect region(x, y, std::max(width, 0), std::max(height, 0));
  switch (device->devType()) {
    case QInternal::Image:
      bitmap = static_cast<QImage*>(device)->copy(region);
      return true;
    case QInternal::Pixmap:
      bitmap = static_cast<QPixmap*>(device)->copy(region).toImage();
      return true;
    case QInternal::Widget:
      bitmap = static_cast<QWidget*>(device)->grab(region).toImage();
      return true;
    default:
      return false;
  }
}

void CopyABitmapToARegionOfCanvas(const TRect& rect, const QImage& bitmap, TQtCanvas& canvas) {
  QPainter& painter = canvas.Painter();
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  const QRect part(0, 0, rect.Width(), rect.Height());
  painter.drawImage(QRect(rect.left, rect.top, rect.Width(), rect.Height()), bitmap, part);
  painter.restore();
}

std::unique_ptr<QPicture> ConvertBitmapToWindowsMetafile(const QImage& bitmap) {
  auto metafile = std::make_unique<QPicture>();
  {
    QPainter painter(metafile.get());
    painter.drawImage(0, 0, bitmap);
  }
  metafile->setBoundingRect(QRect(0, 0, bitmap.width(), bitmap.height()));
  return metafile;
}

std::unique_ptr<QPicture> ConvertBitmapToWindowsMetafile(const QLabel& image) {
  const QPixmap pixmap = image.pixmap();
  if (pixmap.isNull()) return nullptr;
  return ConvertBitmapToWindowsMetafile(pixmap.toImage());
}

bool SaveMetafileAsPng(const QPicture& metafile, const UnicodeString& file_name) {
  const QRect bounds = metafile.boundingRect();
  if (bounds.isEmpty()) return false;
  QImage picture(bounds.size(), QImage::Format_ARGB32);
  picture.fill(Qt::white);
  {
    QPainter painter(&picture);
    painter.drawPicture(-bounds.topLeft(), metafile);
  }
  // Written aside and renamed into place, so that a failed save leaves no
  // half-written file and keeps any older one.
  QSaveFile file(ToQString(file_name));
  return file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
}

bool ConvertBitmapToWindowsMetafileAndSave(const QLabel& image, const UnicodeString& file_name) {
  const std::unique_ptr<QPicture> metafile = ConvertBitmapToWindowsMetafile(image);
  return metafile != nullptr && SaveMetafileAsPng(*metafile, file_name);
}

TPoint CrownPos(std::int32_t i, std::int32_t n, std::int32_t radius, TPoint centre) {
  if (n <= 0) return centre;
  const double angle = i * (360.0 / n) * std::numbers::pi / 180.0;
  const double distance = i % 2 != 0 ? radius * 6.0 / 5.0 : radius;
  return {centre.x + static_cast<std::int32_t>(std::lround(std::sin(angle) * distance)),
          centre.y + static_cast<std::int32_t>(std::lround(std::cos(angle) * distance))};
}

}  // namespace quill
