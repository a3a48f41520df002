#pragma once
// The colouring vocabulary shared by the tools, the styled controls and the text
// drawer: typeface sets, a colour record with its two typeface sets, the preset
// colour sets and the colours given to each numbered search word.
//
// The four-colour record itself (TMyCanvasColourRec) lives in the language layer,
// which stores it inside language definitions.
#include <cstdint>
#include <initializer_list>

#include "quillrt/language/canvas_colour_rec.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Typeface values; value n is bit n of a stored set, in the order of the
// platform's font styles (bold, italic, underline, strike-out).
enum TMy_typeface : std::uint8_t { tf_bold, tf_italics, tf_underline, tf_strikeout };

// A set of TMy_typeface in one byte, as stored in spans and settings.
class Ttypeface_Set {
 public:
  constexpr Ttypeface_Set() = default;
  constexpr Ttypeface_Set(std::initializer_list<TMy_typeface> faces) {
    for (const TMy_typeface face : faces) Include(face);
  }
  // Only the four defined bits are kept, so that a damaged byte cannot carry
  // styles that no font has.
  static constexpr Ttypeface_Set FromByte(std::uint8_t bits) {
    Ttypeface_Set set;
    set.bits_ = static_cast<std::uint8_t>(bits & kAllBits);
    return set;
  }

  constexpr std::uint8_t AsByte() const { return bits_; }
  constexpr bool Contains(TMy_typeface face) const { return (bits_ & Bit(face)) != 0; }
  constexpr void Include(TMy_typeface face) { bits_ = static_cast<std::uint8_t>(bits_ | Bit(face)); }
  constexpr void Exclude(TMy_typeface face) { bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(face)); }
  constexpr bool IsEmpty() const { return bits_ == 0; }
  friend constexpr Ttypeface_Set operator+(Ttypeface_Set a, Ttypeface_Set b) {
    return FromByte(static_cast<std::uint8_t>(a.bits_ | b.bits_));
  }
  friend constexpr bool operator==(Ttypeface_Set, Ttypeface_Set) = default;

 private:
  static constexpr std::uint8_t kAllBits = 0x0F;
  static constexpr std::uint8_t Bit(TMy_typeface face) { return static_cast<std::uint8_t>(1u << face); }
  std::uint8_t bits_ = 0;
};

// Colours with the typeface for normal and for selected (highlighted) painting.
struct TMyCanvasColourRecAndTypeface {
  TMyCanvasColourRec colourset;
  Ttypeface_Set default_typeface;
  Ttypeface_Set highlight_typeface;
  friend bool operator==(const TMyCanvasColourRecAndTypeface&, const TMyCanvasColourRecAndTypeface&) = default;
};

struct T2ColoursRec {
  TColor textcolour = 0;
  TColor textbackground = 0;
  friend bool operator==(const T2ColoursRec&, const T2ColoursRec&) = default;
};

// Black on white, dark blue behind selected text; no typefaces.
QUILLRT_API TMyCanvasColourRec BogStandardColours();
QUILLRT_API TMyCanvasColourRecAndTypeface BogStandardColoursAndTypeface();
// White on dark red, inverted when selected; bold in both typefaces.
QUILLRT_API TMyCanvasColourRec StyleSearchColours();
QUILLRT_API TMyCanvasColourRecAndTypeface StyleSearchColoursAndTypeface();

// The colours of the n-th search word, in a cycle of five; a negative n takes
// the fifth set.
QUILLRT_API TMyCanvasColourRec SearchFoundColoursFromNumber(std::int32_t n);
// The same colours, bold in both typefaces.
QUILLRT_API TMyCanvasColourRecAndTypeface SearchFoundColoursAndFontStyleFromNumber(std::int32_t n);
// A text colour per number, in a cycle of five; 0 (and a negative n) is the base
// text colour of the process-wide control style.
QUILLRT_API TColor TextColourFromNumber(std::int32_t n);
// The text colour of the process-wide control style GlobalTMSStyle
// (style_colours.h): black for every style the controls offer.
QUILLRT_API TColor GetABaseTMSTextColour();

}  // namespace quill
