#pragma once
// The visual styles of the controls: the styles by name, the palette of each
// style, a form styler that keeps a window and its controls in a style through
// QStyle and QPalette, and the monitor scale for a resolution.
//
// A style is its ordinal (quillrt's TTMSStyle, with the process-wide
// GlobalTMSStyle and the colour lookups in quillrt/rendering/style_colours.h):
// ordinals 0 to 12 have colours of their own, 13 and above share one set.
// Colours are 0x00BBGGRR values or system colours (top byte 0xFF).
#include <QPalette>
#include <cstdint>
#include <functional>
#include <memory>

#include "quillctl/quillctl_export.h"
#include "quillrt/framework/strings.h"
#include "quillrt/language/canvas_colour_rec.h"
#include "quillrt/rendering/style_colours.h"

class QWidget;

namespace quill {

// The styles by ordinal, named after their colours.
enum TStyleOrdinal : TTMSStyle {
  tsBlue,
  tsRose,
  tsOlive,
  tsAliceBlue,
  tsCornflower,
  tsSystem,
  tsAliceYellow,
  tsWhite,
  tsCharcoal,
  tsPaper,
  tsPaperGrey,
  tsSilver,
  tsLightGrey,
  tsShared,  // and every ordinal above: one shared set of colours
};

inline constexpr std::int32_t kStyleCount = tsShared + 1;

// The style's name for menus; ordinals above the last (and negative ones)
// share its name, as they share its colours.
QUILLCTL_API UnicodeString StyleName(TTMSStyle ordinal);

// Colours the controls read for one style.
struct TStylePalette {
  TColor window = 0;          // background of forms and lists
  TColor text = 0;            // text on that background
  TColor header = 0;          // header bars (the style's dark scroll background)
  TColor selection = 0;       // background of selected items
  TColor selection_text = 0;  // text of selected items
  TColor grid = 0;            // lines between rows and columns
  friend bool operator==(const TStylePalette&, const TStylePalette&) = default;
};

QUILLCTL_API TStylePalette StylePalette(TTMSStyle ordinal);
// The palette as Qt widgets take it (window, base, text, button, highlight ...).
QUILLCTL_API QPalette StyleQPalette(TTMSStyle ordinal);

// White text for a dark colour, black for a light one: white for black and for
// system colours (values not above 0), otherwise by perceived brightness.
QUILLCTL_API TColor GetContrastingBackgroundColour(TColor colour);

// The scale a resolution asks of sizes designed at 96 pixels per inch.
QUILLCTL_API double MonitorScale(std::int32_t pixels_per_inch);
// The pixels per inch a widget is shown at: its logical resolution times its
// device pixel ratio.
QUILLCTL_API std::int32_t WidgetPixelsPerInch(const QWidget& widget);

// Sizes the form styler's style takes from a control instead of its own
// metrics, for controls that have no setter for them, so that they can follow
// the screen's resolution: the icons of a menu or menu bar, and the indicator
// of a check box. 0 or less gives the style's own size back. Controls outside
// a styled form keep Qt's sizes.
QUILLCTL_API void SetStyledIconSize(QWidget& control, std::int32_t pixels);
QUILLCTL_API void SetStyledIndicatorSize(QWidget& control, std::int32_t pixels);

// Keeps a form and the controls on it in one style: Qt's Fusion style (which
// follows palettes faithfully) with the style's palette. The form must outlive
// the styler.
class QUILLCTL_API TFormStyler {
 public:
  TFormStyler(QWidget& form, TTMSStyle style = GlobalTMSStyle);
  ~TFormStyler();
  TFormStyler(const TFormStyler&) = delete;
  TFormStyler& operator=(const TFormStyler&) = delete;

  TTMSStyle Style() const;
  // Applies the style to the form and its controls and, when it changed,
  // tells OnStyleChange.
  void SetStyle(TTMSStyle style);
  // Applies the current style again (controls added since take it too).
  void ApplyStyle();
  // The form's scale for its screen.
  double Scale() const;

  std::function<void(TTMSStyle style)> OnStyleChange;

 private:
  struct Private;
  std::unique_ptr<Private> d;
};

}  // namespace quill
