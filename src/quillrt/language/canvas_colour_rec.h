#pragma once
// The four-colour record shared by language definitions, the text drawer and the
// styled controls: text, selected text, background and selected background.
//
// Colours are platform colour values 0x00BBGGRR; a value whose top byte is 0xFF
// names a system colour by its low byte, which is why the type is signed.
#include <array>
#include <cstdint>

namespace quill {

using TColor = std::int32_t;

enum TMyCanvasColourTypes : std::uint8_t {
  tct_text,
  tct_selected_text,
  tct_background,
  tct_selected_background,
};

// 16 bytes when stored: the four colours in the order above, little-endian.
struct TMyCanvasColourRec {
  std::array<TColor, 4> colours{};

  TColor& operator[](TMyCanvasColourTypes which) { return colours[which]; }
  TColor operator[](TMyCanvasColourTypes which) const { return colours[which]; }
  friend bool operator==(const TMyCanvasColourRec&, const TMyCanvasColourRec&) = default;
};

// The standard set: black text, white selected text, white background, dark blue
// selected background.
inline constexpr TMyCanvasColourRec standard_canvas_colours{{0x000000, 0xFFFFFF, 0xFFFFFF, 0x660000}};

}  // namespace quill
