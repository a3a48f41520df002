#include "quillctl/style_pack.h"

#include <QList>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>

#include "quillctl/qt_canvas.h"

namespace quill {

TTMSStyle GlobalTMSStyle = tsBlue;

namespace {

struct StyleEntry {
  const char16_t* name;
  TColor background;
  TColor highlight_background;
  TColor highlight_text;
  TColor header;
};

// In ordinal order; the last row serves every ordinal from 13 on.
constexpr std::array<StyleEntry, kStyleCount> kStyles{{
    {u"Blue", 0xFDEADA, 0xFADAC4, 0xFFFFFF, 0xDEC4B0},
    {u"Rose", 0xCBC0FF, 0xCBC0FF, 0xFFFFFF, 0xCBC0FF},
    {u"Olive", 0xCFF0EA, 0x8CC0B1, 0xFFFFFF, 0x81BFAE},
    {u"Alice blue", 0xFFF8F0, 0xFFF8F0, 0x000000, 0xFBEDD3},
    {u"Cornflower", 0xFCEBDC, 0xFFF8F8, 0x000000, 0xED9564},
    {u"System", kSystemButtonFace, 0xFADAC4, 0xFFFFFF, 0xC0C0C0},
    {u"Alice yellow", 0xFFF8F0, 0x7BEEFF, 0x000000, 0xF6E8DC},
    {u"White", 0xFFFFFF, 0x7BEEFF, 0x000000, 0xEEEAE6},
    {u"Charcoal", 0xBFBFBF, 0x7BEEFF, 0x000000, 0x4B4B4B},
    {u"Paper", 0xFFFFFF, 0x7BEEFF, 0x000000, 0xD4D4D4},
    {u"Paper grey", 0xFFFFFF, 0x7BEEFF, 0x000000, 0xD4D4D4},
    {u"Silver", 0xFFFFFF, 0xA9A9A9, 0xFFFFFF, 0xD4D4D4},
    {u"Light grey", 0xD3D3D3, 0xA9A9A9, 0xFFFFFF, 0xD4D4D4},
    {u"Shared", 0xFDEADA, 0xE0A57D, 0xFFFFFF, kSystemButtonFace},
}};

const StyleEntry& EntryFor(std::int32_t ordinal) {
  return kStyles[static_cast<std::size_t>(std::clamp(ordinal, 0, kStyleCount - 1))];
}

}  // namespace

UnicodeString StyleName(std::int32_t ordinal) { return EntryFor(ordinal).name; }

TStylePalette StylePalette(std::int32_t ordinal) {
  const StyleEntry& entry = EntryFor(ordinal);
  TStylePalette palette;
  palette.window = entry.background;
  palette.text = 0x000000;  // black in every style
  palette.header = entry.header;
  palette.selection = entry.highlight_background;
  palette.selection_text = entry.highlight_text;
  palette.grid = entry.header;
  return palette;
}

QPalette StyleQPalette(std::int32_t ordinal) {
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

struct TFormStyler::Private {
  Private(QWidget& f, std::int32_t s) : form(f), style(s), qt_style(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  QWidget& form;
  std::int32_t style;
  // Widgets do not own the style they are given.
  std::unique_ptr<QStyle> qt_style;
};

TFormStyler::TFormStyler(QWidget& form, std::int32_t style) : d(std::make_unique<Private>(form, style)) {
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

std::int32_t TFormStyler::Style() const { return d->style; }

void TFormStyler::SetStyle(std::int32_t style) {
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
