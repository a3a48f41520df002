#include "quillrt/rendering/colours.h"

#include <array>

namespace quill {

namespace {

// The search-word cycle: text, selected text, background, selected background.
constexpr std::array<TMyCanvasColourRec, 5> kSearchFoundCycle{{
    {{0xFFFFFF, 0x006400, 0x006400, 0xFFFFFF}},
    {{0xF0FBFF, 0x8B0000, 0x8B0000, 0xF0FBFF}},
    {{0xFFFFFF, 0xFFFFFF, 0x800080, 0x800080}},
    {{0xF0FBFF, 0x000080, 0x000080, 0xF0FBFF}},
    {{0xFFFFFF, 0x800000, 0x800000, 0xFFFFFF}},
}};

constexpr std::array<TColor, 5> kTextColourCycle{0 /* the style's base colour */, 0xFF0000, 0x006400, 0x8B0000,
                                                 0xD30094};

constexpr Ttypeface_Set kBold{tf_bold};

}  // namespace

TMyCanvasColourRec BogStandardColours() { return standard_canvas_colours; }

TMyCanvasColourRecAndTypeface BogStandardColoursAndTypeface() { return {BogStandardColours(), {}, {}}; }

TMyCanvasColourRec StyleSearchColours() { return {{0xFFFFFF, 0x000080, 0x000080, 0xFFFFFF}}; }

TMyCanvasColourRecAndTypeface StyleSearchColoursAndTypeface() { return {StyleSearchColours(), kBold, kBold}; }

TMyCanvasColourRec SearchFoundColoursFromNumber(std::int32_t n) {
  const std::int32_t slot = n < 0 ? 4 : n % 5;
  return kSearchFoundCycle[static_cast<std::size_t>(slot)];
}

TMyCanvasColourRecAndTypeface SearchFoundColoursAndFontStyleFromNumber(std::int32_t n) {
  return {SearchFoundColoursFromNumber(n), kBold, kBold};
}

TColor TextColourFromNumber(std::int32_t n) {
  const std::int32_t slot = n < 0 ? 0 : n % 5;
  return slot == 0 ? GetABaseTMSTextColour() : kTextColourCycle[static_cast<std::size_t>(slot)];
}

}  // namespace quill
