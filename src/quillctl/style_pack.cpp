#include "quillctl/style_pack.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <array>
#include <cmath>

#include "quillctl/qt_canvas.h"

namespace quill {

namespace {

// In ordinal order; the last name serves every ordinal from 13 on.
constexpr std::array<const char16_t*, kStyleCount> kStyleNames{
    u"Blue",  u"Rose",  u"Olive",    u"Alice blue", u"Cornflower", u"System",     u"Alice yellow",
    u"White", u"Charcoal", u"Paper", u"Paper grey", u"Silver",     u"Light grey", u"Shared",
};

}  // namespace

UnicodeString StyleName(TTMSStyle ordinal) {
  const bool own = ordinal >= 0 && ordinal < kStyleCount;
  return kStyleNames[static_cast<std::size_t>(own ? ordinal : kStyleCount - 1)];
}

TStylePalette StylePalette(TTMSStyle ordinal) {
  TStylePalette palette;
  palette.window = GetTMSBackgroundColour(ordinal);
  palette.text = GetTMSTextColour(ordinal);
  palette.header = GetTMSDarkScrollBackgroundColour(ordinal);
  palette.selection = GetTMSHighlightBackgroundColour(ordinal);
  palette.selection_text = GetTMSHighlightedTextColour(ordinal);
  palette.grid = palette.header;
  return palette;
}

QPalette StyleQPalette(TTMSStyle ordinal) {
  const TStylePalette colours = StylePalette(ordinal);
  QPalette palette;
  for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase})
    palette.setColor(role, ToQColor(colours.window));
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(role, ToQColor(colours.text));
  palette.setColor(QPalette::Button, ToQColor(colours.header));
  palette.setColor(QPalette::Highlight, ToQColor(colours.selection));
  palette.setColor(QPalette::HighlightedText, ToQColor(colours.selection_text));
  palette.setColor(QPalette::Mid, ToQColor(colours.grid));
  return palette;
}

TColor GetContrastingBackgroundColour(TColor colour) {
  constexpr TColor kWhite = 0xFFFFFF;
  constexpr TColor kBlack = 0x000000;
  if (colour <= 0) return kWhite;  // black, or a system colour (negative as a signed value)
  if (colour == kWhite) return kBlack;
  const auto bits = static_cast<std::uint32_t>(colour);
  const double r = bits & 0xFFu;
  const double g = (bits >> 8) & 0xFFu;
  const double b = (bits >> 16) & 0xFFu;
  return 1.0 - (0.299 * r + 0.587 * g + 0.114 * b) / 255.0 >= 0.5 ? kWhite : kBlack;
}

double MonitorScale(std::int32_t pixels_per_inch) {
  return pixels_per_inch > 0 ? pixels_per_inch / 96.0 : 1.0;
}

std::int32_t WidgetPixelsPerInch(const QWidget& widget) {
  return static_cast<std::int32_t>(std::lround(widget.logicalDpiX() * widget.devicePixelRatioF()));
}

namespace {

const char* const kIconSizeProperty = "quillStyledIconSize";
const char* const kIndicatorSizeProperty = "quillStyledIndicatorSize";

// Fusion, except for the sizes a control asks for through the properties above.
class TSizedStyle : public QProxyStyle {
 public:
  TSizedStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    const char* asked = nullptr;
    switch (metric) {
      case PM_SmallIconSize: asked = kIconSizeProperty; break;
      case PM_IndicatorWidth:
      case PM_IndicatorHeight: asked = kIndicatorSizeProperty; break;
      default: break;
    }
    if (asked && widget) {
      const int size = widget->property(asked).toInt();
      if (size > 0) return size;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

void SetStyledSize(QWidget& control, const char* property, std::int32_t pixels) {
  control.setProperty(property, pixels > 0 ? QVariant(pixels) : QVariant());
  // Menus, menu bars and buttons lay themselves out again on a style change.
  QEvent change(QEvent::StyleChange);
  QCoreApplication::sendEvent(&control, &change);
  control.updateGeometry();
  control.update();
}

}  // namespace

void SetStyledIconSize(QWidget& control, std::int32_t pixels) { SetStyledSize(control, kIconSizeProperty, pixels); }

void SetStyledIndicatorSize(QWidget& control, std::int32_t pixels) {
  SetStyledSize(control, kIndicatorSizeProperty, pixels);
}

struct TFormStyler::Private {
  Private(QWidget& f, TTMSStyle s) : form(f), style(s), qt_style(std::make_unique<TSizedStyle>()) {}

  QWidget& form;
  TTMSStyle style;
  // Widgets do not own the style they are given.
  std::unique_ptr<QStyle> qt_style;
};

TFormStyler::TFormStyler(QWidget& form, TTMSStyle style) : d(std::make_unique<Private>(form, style)) {
  ApplyStyle();
}

TFormStyler::~TFormStyler() {
  // The form may outlive the styler: hand it back to the application's style.
  if (d->qt_style) {
    for (QWidget* child : d->form.findChildren<QWidget*>())
      if (child->style() == d->qt_style.get()) child->setStyle(nullptr);
    d->form.setStyle(nullptr);
  }
}

TTMSStyle TFormStyler::Style() const { return d->style; }

void TFormStyler::SetStyle(TTMSStyle style) {
  const bool changed = style != d->style;
  d->style = style;
  ApplyStyle();
  if (changed && OnStyleChange) OnStyleChange(style);
}

void TFormStyler::ApplyStyle() {
  const QPalette palette = StyleQPalette(d->style);
  if (d->qt_style) {
    d->form.setStyle(d->qt_style.get());
    for (QWidget* child : d->form.findChildren<QWidget*>()) child->setStyle(d->qt_style.get());
  }
  d->form.setPalette(palette);
  d->form.setAutoFillBackground(true);
  d->form.update();
}

double TFormStyler::Scale() const { return MonitorScale(WidgetPixelsPerInch(d->form)); }

}  // namespace quill
