#pragma once
// The colours of the controls' visual styles, looked up by the style's ordinal,
// and the process-wide style the tools paint with. Ordinals 0 to 12 have colours
// of their own; 13 and above share one set.
#include <cstdint>

#include "quillrt/language/canvas_colour_rec.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The ordinal of a visual style of the controls.
using TTMSStyle = std::int32_t;

// A system colour (top byte 0xFF): the face colour of buttons.
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);

// The style the tools and controls paint with; 0 until a tool chooses another.
extern QUILLRT_API TTMSStyle GlobalTMSStyle;

QUILLRT_API TColor GetTMSBackgroundColour(TTMSStyle style);
QUILLRT_API TColor GetTMSHighlightBackgroundColour(TTMSStyle style);
QUILLRT_API TColor GetTMSHighlightedTextColour(TTMSStyle style);
// Black for every style.
QUILLRT_API TColor GetTMSTextColour(TTMSStyle style);
// The dark scroll-background colour that header bars use.
QUILLRT_API TColor GetTMSDarkScrollBackgroundColour(TTMSStyle style);

}  // namespace quill
