#include "quillctl/qt_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QString>
#include <QTextLayout>
#include <QTextOption>

#include "quillrt/platform/system_colours.h"

namespace quill {

namespace {

constexpr std::uint32_t kSystemColourFlag = 0xFF000000u;

QRect ToQRect(const TRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// The platform's numbered system colours, as the application palette shows them.
QColor SystemColour(std::uint32_t index) {
  const QPalette palette = QGuiApplication::instance() != nullptr ? QGuiApplication::palette() : QPalette();
  switch (index) {
    case 5:  // window background
      return palette.color(QPalette::Base);
    case 7:   // menu text
    case 8:   // window text
    case 18:  // button text
      return palette.color(QPalette::WindowText);
    case 13:
      return palette.color(QPalette::Highlight);
    case 14:
      return palette.color(QPalette::HighlightedText);
    case 16:
      return palette.color(QPalette::Dark);
    case 17:
      return palette.color(QPalette::Disabled, QPalette::Text);
    case 20:
      return palette.color(QPalette::Light);
    default:  // button face and the rest of the window chrome
      return palette.color(QPalette::Button);
  }
}

}  // namespace

void InstallDesktopFacts() {
  SetSystemColourProc([](std::int32_t index) {
    return static_cast<std::uint32_t>(FromQColor(SystemColour(static_cast<std::uint32_t>(index))));
  });
  if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
    const QRect area = screen->availableGeometry();
    Work_Area = TRect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
  }
}

QColor ToQColor(TColor colour) {
  const auto bits = static_cast<std::uint32_t>(colour);
  if ((bits & kSystemColourFlag) == kSystemColourFlag) return SystemColour(bits & 0xFFu);
  return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                static_cast<int>((bits >> 16) & 0xFFu));
}

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

UnicodeString FromQString(const QString& text) {
  return UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

TColor FromQColor(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return static_cast<TColor>(static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
                             (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

struct TQtCanvas::Private {
  explicit Private(QPainter& p) : painter(p) {}

  QPainter& painter;
  QFont font{QStringLiteral("DejaVu Sans"), 10};
  Ttypeface_Set font_style;
  TColor font_colour = 0x000000;
  TColor brush_colour = 0xFFFFFF;
  TBrushStyle brush_style = TBrushStyle::bsSolid;
  TColor pen_colour = 0x000000;
  TTextAlign text_align = TTextAlign::taLeft;

  QFontMetrics Metrics() const { return QFontMetrics(font, painter.device()); }

  std::int32_t Width(const QString& text) const { return Metrics().horizontalAdvance(text); }

  // Paints text with its left end at x and its top at y, in the given base
  // direction; the background first unless the brush is clear.
  void PaintRun(std::int32_t x, std::int32_t y, const QString& text, bool rtl) {
    const QFontMetrics metrics = Metrics();
    if (brush_style == TBrushStyle::bsSolid)
      painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), ToQColor(brush_colour));
    QTextLayout layout(text, font, painter.device());
    QTextOption option;
    option.setTextDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
      line.setLineWidth(metrics.horizontalAdvance(text) + 1);
      line.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
    painter.setPen(ToQColor(font_colour));
    layout.draw(&painter, QPointF(x, y));
  }

  // Later painting limited to r as well as to any clip already set.
  void IntersectClip(const QRect& r) {
    painter.setClipRect(r, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }

};

TQtCanvas::TQtCanvas(QPainter& painter) : d(std::make_unique<Private>(painter)) {}

TQtCanvas::~TQtCanvas() = default;

void TQtCanvas::SetFontName(const UnicodeString& name) { d->font.setFamily(ToQString(name)); }
UnicodeString TQtCanvas::FontName() const {
  return FromQString(d->font.family());
}
void TQtCanvas::SetFontSize(std::int32_t points) { d->font.setPointSize(points > 0 ? points : 1); }
std::int32_t TQtCanvas::FontSize() const { return d->font.pointSize(); }

bool TQtCanvas::SetFontStyle(Ttypeface_Set styles) {
  // Qt synthesises any style a family lacks, so every set is taken.
  d->font.setBold(styles.Contains(tf_bold));
  d->font.setItalic(styles.Contains(tf_italics));
  d->font.setUnderline(styles.Contains(tf_underline));
  d->font.setStrikeOut(styles.Contains(tf_strikeout));
  d->font_style = styles;
  return true;
}
Ttypeface_Set TQtCanvas::FontStyle() const { return d->font_style; }
void TQtCanvas::SetFontColour(TColor colour) { d->font_colour = colour; }
TColor TQtCanvas::FontColour() const { return d->font_colour; }
void TQtCanvas::SetBrushColour(TColor colour) { d->brush_colour = colour; }
TColor TQtCanvas::BrushColour() const { return d->brush_colour; }
void TQtCanvas::SetBrushStyle(TBrushStyle style) { d->brush_style = style; }
TBrushStyle TQtCanvas::BrushStyle() const { return d->brush_style; }
void TQtCanvas::SetPenColour(TColor colour) { d->pen_colour = colour; }
TColor TQtCanvas::PenColour() const { return d->pen_colour; }
void TQtCanvas::SetTextAlign(TTextAlign align) { d->text_align = align; }
TTextAlign TQtCanvas::TextAlign() const { return d->text_align; }

TSize TQtCanvas::TextExtent(std::u16string_view text) {
  const QFontMetrics metrics = d->Metrics();
  return {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

void TQtCanvas::TextOut(std::int32_t x, std::int32_t y, const TRect* clip, std::u16string_view text,
                        bool rtl_reading) {
  if (text.empty()) return;
  const QString run = ToQString(text);
  const std::int32_t left = d->text_align == TTextAlign::taRight ? x - d->Width(run) : x;
  d->painter.save();
  if (clip != nullptr) d->IntersectClip(ToQRect(*clip));
  d->PaintRun(left, y, run, rtl_reading);
  d->painter.restore();
}

void TQtCanvas::DrawText(const TRect& rect, std::u16string_view text, const TDrawTextFormat& format) {
  if (text.empty()) return;
  UnicodeString shown(text);
  if (format.ellipsis != TEllipsis::elNone && d->Width(ToQString(shown)) > rect.Width())
    shown = ShortenedWithEllipsis(text, rect.Width(), format.ellipsis,
                                  [this](std::u16string_view t) { return d->Width(ToQString(t)); });
  const QString run = ToQString(shown);
  const std::int32_t width = d->Width(run);
  std::int32_t left = rect.left;
  if (format.align == TDrawTextAlign::dtCentre) left = rect.left + (rect.Width() - width) / 2;
  if (format.align == TDrawTextAlign::dtRight) left = rect.right - width;
  const std::int32_t height = d->Metrics().height();
  const std::int32_t top = format.vcentre ? rect.top + (rect.Height() - height) / 2 : rect.top;
  d->painter.save();
  d->IntersectClip(ToQRect(rect));
  d->PaintRun(left, top, run, format.rtl_reading);
  d->painter.restore();
}

void TQtCanvas::FillRect(const TRect& rect) {
  if (d->brush_style == TBrushStyle::bsClear) return;
  d->painter.fillRect(ToQRect(rect), ToQColor(d->brush_colour));
}

void TQtCanvas::Line(TPoint from, TPoint to) {
  d->painter.setPen(ToQColor(d->pen_colour));
  d->painter.drawLine(from.x, from.y, to.x, to.y);
}

void TQtCanvas::SetClipRect(const TRect* rect) {
  if (rect == nullptr)
    d->painter.setClipping(false);
  else
    d->painter.setClipRect(ToQRect(*rect));
}

QPainter& TQtCanvas::Painter() const { return d->painter; }
QPaintDevice* TQtCanvas::Device() const { return d->painter.device(); }

struct TBitmapCanvas::Private {
  Private(std::int32_t width, std::int32_t height)
      : image(width > 0 ? width : 1, height > 0 ? height : 1, QImage::Format_RGB32) {
    image.fill(Qt::white);
    painter.begin(&image);
    canvas = std::make_unique<TQtCanvas>(painter);
  }

  QImage image;
  QPainter painter;
  std::unique_ptr<TQtCanvas> canvas;
};

TBitmapCanvas::TBitmapCanvas(std::int32_t width, std::int32_t height)
    : d(std::make_unique<Private>(width, height)) {}

TBitmapCanvas::~TBitmapCanvas() { Finish(); }

TQtCanvas& TBitmapCanvas::Canvas() { return *d->canvas; }

void TBitmapCanvas::Finish() {
  if (d->painter.isActive()) d->painter.end();
}

const QImage& TBitmapCanvas::Image() const { return d->image; }

}  // namespace quill
