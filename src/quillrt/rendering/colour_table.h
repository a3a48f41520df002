#pragma once
// The named colours every colour chooser of the tools offers, in one
// process-wide table so that all choosers show the same colours in the same
// order, with lookups between names and values, a colour mix and the sorts a
// user may apply to a table.
//
// Colours are 0x00BBGGRR values (system colours have the top byte 0xFF).
#include <cstdint>
#include <span>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/language/canvas_colour_rec.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Stands for "no colour" wherever a colour may be absent.
inline constexpr TColor kNoColour = 0x1FFFFFFF;

struct TNamedColour {
  TColor colour = 0;
  UnicodeString name;
  friend bool operator==(const TNamedColour&, const TNamedColour&) = default;
};

using TColorArray = std::vector<TNamedColour>;

// The web colours by name, alphabetically; several names may share a value
// (Aqua and Cyan, the Gray and Grey spellings).
QUILLRT_API std::span<const TNamedColour> WebNamedColors();

// The shared table: each web colour value once, under its first name, then six
// colours of the controls' styles. Built when the library is loaded.
extern QUILLRT_API TColorArray MyColourArray;
QUILLRT_API TColorArray BuildMyColourArray();

// The name of the first entry with `colour`; empty when none has it.
QUILLRT_API UnicodeString NameOfAMyColourArrayColour(TColor colour, const TColorArray& table);
// The colour of the first entry named `name` (exact match); kNoColour when none is.
QUILLRT_API TColor ColourOfAMyColourArrayName(const UnicodeString& name, const TColorArray& table);
// The web colour's name, or "Black" for a colour that is not a web colour.
QUILLRT_API UnicodeString WebColourToName(TColor colour);
// The web colour of that name (ignoring case); 0 (black) when unknown.
QUILLRT_API TColor NameToWebColour(const UnicodeString& name);
// Per channel (weight * a + (255 - weight) * b) div 256: toward a as weight grows.
QUILLRT_API TColor MixColors(TColor a, TColor b, std::uint8_t weight);

// How a colour table may be sorted.
enum TColorArraySortType : std::uint8_t {
  cs_by_name,        // alphabetically, ignoring case
  cs_by_value,       // by the 0x00BBGGRR value
  cs_by_hue,         // round the colour wheel from red; greys first, dark to light
  cs_by_brightness,  // perceived brightness, dark first
};

// Sorts stably, so that equal keys keep their order.
QUILLRT_API void SortColorArray(TColorArray& table, TColorArraySortType method);

}  // namespace quill
