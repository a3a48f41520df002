#include "quillrt/rendering/style_colours.h"

#include <algorithm>
#include <array>

#include "quillrt/rendering/colours.h"

namespace quill {

TTMSStyle GlobalTMSStyle = 0;

namespace {

struct StyleColours {
  TColor background;
  TColor highlight_background;
  TColor highlighted_text;
  TColor dark_scroll_background;
};

// Ordinals 0 to 12, then the set shared by every later ordinal.
constexpr std::array<StyleColours, 14> kStyles{{
    {0xFDEADA, 0xFADAC4, 0xFFFFFF, 0xDEC4B0},
    {0xCBC0FF, 0xCBC0FF, 0xFFFFFF, 0xCBC0FF},
    {0xCFF0EA, 0x8CC0B1, 0xFFFFFF, 0x81BFAE},
    {0xFFF8F0, 0xFFF8F0, 0x000000, 0xFBEDD3},
    {0xFCEBDC, 0xFFF8F8, 0x000000, 0xED9564},
    {clBtnFace, 0xFADAC4, 0xFFFFFF, 0xC0C0C0},
    {0xFFF8F0, 0x7BEEFF, 0x000000, 0xF6E8DC},
    {0xFFFFFF, 0x7BEEFF, 0x000000, 0xEEEAE6},
    {0xBFBFBF, 0x7BEEFF, 0x000000, 0x4B4B4B},
    {0xFFFFFF, 0x7BEEFF, 0x000000, 0xD4D4D4},
    {0xFFFFFF, 0x7BEEFF, 0x000000, 0xD4D4D4},
    {0xFFFFFF, 0xA9A9A9, 0xFFFFFF, 0xD4D4D4},
    {0xD3D3D3, 0xA9A9A9, 0xFFFFFF, 0xD4D4D4},
    {0xFDEADA, 0xE0A57D, 0xFFFFFF, clBtnFace},
}};

const StyleColours& ColoursOf(TTMSStyle style) {
  const std::size_t last = kStyles.size() - 1;
  // A negative ordinal is no style of the pack: it gets the shared set too.
  const std::size_t index = style < 0 ? last : std::min(static_cast<std::size_t>(style), last);
  return kStyles[index];
}

}  // namespace

TColor GetTMSBackgroundColour(TTMSStyle style) { return ColoursOf(style).background; }

TColor GetTMSHighlightBackgroundColour(TTMSStyle style) { return ColoursOf(style).highlight_background; }

TColor GetTMSHighlightedTextColour(TTMSStyle style) { return ColoursOf(style).highlighted_text; }

TColor GetTMSTextColour(TTMSStyle) { return 0x000000; }

TColor GetTMSDarkScrollBackgroundColour(TTMSStyle style) { return ColoursOf(style).dark_scroll_background; }

TColor GetABaseTMSTextColour() { return GetTMSTextColour(GlobalTMSStyle); }

}  // namespace quill
