#include "quillrt/rendering/colour_table.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "quillrt/framework/locale_text.h"

namespace quill {

namespace {

struct TWebColourSource {
  std::uint32_t rgb;  // as web colours are written: 0xRRGGBB
  const char16_t* name;
};

constexpr std::array<TWebColourSource, 148> kWebColours{{
    {0xF0F8FF, u"AliceBlue"}, {0xFAEBD7, u"AntiqueWhite"}, {0x00FFFF, u"Aqua"},
    {0x7FFFD4, u"Aquamarine"}, {0xF0FFFF, u"Azure"}, {0xF5F5DC, u"Beige"},
    {0xFFE4C4, u"Bisque"}, {0x000000, u"Black"}, {0xFFEBCD, u"BlanchedAlmond"},
    {0x0000FF, u"Blue"}, {0x8A2BE2, u"BlueViolet"}, {0xA52A2A, u"Brown"},
    {0xDEB887, u"BurlyWood"}, {0x5F9EA0, u"CadetBlue"}, {0x7FFF00, u"Chartreuse"},
    {0xD2691E, u"Chocolate"}, {0xFF7F50, u"Coral"}, {0x6495ED, u"CornflowerBlue"},
    {0xFFF8DC, u"Cornsilk"}, {0xDC143C, u"Crimson"}, {0x00FFFF, u"Cyan"},
    {0x00008B, u"DarkBlue"}, {0x008B8B, u"DarkCyan"}, {0xB8860B, u"DarkGoldenrod"},
    {0xA9A9A9, u"DarkGray"}, {0x006400, u"DarkGreen"}, {0xA9A9A9, u"DarkGrey"},
    {0xBDB76B, u"DarkKhaki"}, {0x8B008B, u"DarkMagenta"}, {0x556B2F, u"DarkOliveGreen"},
    {0xFF8C00, u"DarkOrange"}, {0x9932CC, u"DarkOrchid"}, {0x8B0000, u"DarkRed"},
    {0xE9967A, u"DarkSalmon"}, {0x8FBC8F, u"DarkSeaGreen"}, {0x483D8B, u"DarkSlateBlue"},
    {0x2F4F4F, u"DarkSlateGray"}, {0x2F4F4F, u"DarkSlateGrey"}, {0x00CED1, u"DarkTurquoise"},
    {0x9400D3, u"DarkViolet"}, {0xFF1493, u"DeepPink"}, {0x00BFFF, u"DeepSkyBlue"},
    {0x696969, u"DimGray"}, {0x696969, u"DimGrey"}, {0x1E90FF, u"DodgerBlue"},
    {0xB22222, u"FireBrick"}, {0xFFFAF0, u"FloralWhite"}, {0x228B22, u"ForestGreen"},
    {0xFF00FF, u"Fuchsia"}, {0xDCDCDC, u"Gainsboro"}, {0xF8F8FF, u"GhostWhite"},
    {0xFFD700, u"Gold"}, {0xDAA520, u"Goldenrod"}, {0x808080, u"Gray"},
    {0x008000, u"Green"}, {0xADFF2F, u"GreenYellow"}, {0x808080, u"Grey"},
    {0xF0FFF0, u"Honeydew"}, {0xFF69B4, u"HotPink"}, {0xCD5C5C, u"IndianRed"},
    {0x4B0082, u"Indigo"}, {0xFFFFF0, u"Ivory"}, {0xF0E68C, u"Khaki"},
    {0xE6E6FA, u"Lavender"}, {0xFFF0F5, u"LavenderBlush"}, {0x7CFC00, u"LawnGreen"},
    {0xFFFACD, u"LemonChiffon"}, {0xADD8E6, u"LightBlue"}, {0xF08080, u"LightCoral"},
    {0xE0FFFF, u"LightCyan"}, {0xFAFAD2, u"LightGoldenrodYellow"}, {0xD3D3D3, u"LightGray"},
    {0x90EE90, u"LightGreen"}, {0xD3D3D3, u"LightGrey"}, {0xFFB6C1, u"LightPink"},
    {0xFFA07A, u"LightSalmon"}, {0x20B2AA, u"LightSeaGreen"}, {0x87CEFA, u"LightSkyBlue"},
    {0x778899, u"LightSlateGray"}, {0x778899, u"LightSlateGrey"}, {0xB0C4DE, u"LightSteelBlue"},
    {0xFFFFE0, u"LightYellow"}, {0x00FF00, u"Lime"}, {0x32CD32, u"LimeGreen"},
    {0xFAF0E6, u"Linen"}, {0xFF00FF, u"Magenta"}, {0x800000, u"Maroon"},
    {0x66CDAA, u"MediumAquamarine"}, {0x0000CD, u"MediumBlue"}, {0xBA55D3, u"MediumOrchid"},
    {0x9370DB, u"MediumPurple"}, {0x3CB371, u"MediumSeaGreen"}, {0x7B68EE, u"MediumSlateBlue"},
    {0x00FA9A, u"MediumSpringGreen"}, {0x48D1CC, u"MediumTurquoise"}, {0xC71585, u"MediumVioletRed"},
    {0x191970, u"MidnightBlue"}, {0xF5FFFA, u"MintCream"}, {0xFFE4E1, u"MistyRose"},
    {0xFFE4B5, u"Moccasin"}, {0xFFDEAD, u"NavajoWhite"}, {0x000080, u"Navy"},
    {0xFDF5E6, u"OldLace"}, {0x808000, u"Olive"}, {0x6B8E23, u"OliveDrab"},
    {0xFFA500, u"Orange"}, {0xFF4500, u"OrangeRed"}, {0xDA70D6, u"Orchid"},
    {0xEEE8AA, u"PaleGoldenrod"}, {0x98FB98, u"PaleGreen"}, {0xAFEEEE, u"PaleTurquoise"},
    {0xDB7093, u"PaleVioletRed"}, {0xFFEFD5, u"PapayaWhip"}, {0xFFDAB9, u"PeachPuff"},
    {0xCD853F, u"Peru"}, {0xFFC0CB, u"Pink"}, {0xDDA0DD, u"Plum"},
    {0xB0E0E6, u"PowderBlue"}, {0x800080, u"Purple"}, {0x663399, u"RebeccaPurple"},
    {0xFF0000, u"Red"}, {0xBC8F8F, u"RosyBrown"}, {0x4169E1, u"RoyalBlue"},
    {0x8B4513, u"SaddleBrown"}, {0xFA8072, u"Salmon"}, {0xF4A460, u"SandyBrown"},
    {0x2E8B57, u"SeaGreen"}, {0xFFF5EE, u"Seashell"}, {0xA0522D, u"Sienna"},
    {0xC0C0C0, u"Silver"}, {0x87CEEB, u"SkyBlue"}, {0x6A5ACD, u"SlateBlue"},
    {0x708090, u"SlateGray"}, {0x708090, u"SlateGrey"}, {0xFFFAFA, u"Snow"},
    {0x00FF7F, u"SpringGreen"}, {0x4682B4, u"SteelBlue"}, {0xD2B48C, u"Tan"},
    {0x008080, u"Teal"}, {0xD8BFD8, u"Thistle"}, {0xFF6347, u"Tomato"},
    {0x40E0D0, u"Turquoise"}, {0xEE82EE, u"Violet"}, {0xF5DEB3, u"Wheat"},
    {0xFFFFFF, u"White"}, {0xF5F5F5, u"WhiteSmoke"}, {0xFFFF00, u"Yellow"},
    {0x9ACD32, u"YellowGreen"},
}};

constexpr TColor FromRgb(std::uint32_t rgb) {
  return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

std::uint8_t Red(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
std::uint8_t Green(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
std::uint8_t Blue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

double Brightness(TColor c) { return 0.299 * Red(c) + 0.587 * Green(c) + 0.114 * Blue(c); }

// Hue in degrees from red; greys (no saturation) answer -1 so they come first.
double Hue(TColor c) {
  const double r = Red(c), g = Green(c), b = Blue(c);
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double span = max - min;
  if (span == 0) return -1;
  double hue = 0;
  if (max == r) hue = std::fmod((g - b) / span, 6.0);
  else if (max == g) hue = (b - r) / span + 2;
  else hue = (r - g) / span + 4;
  hue *= 60;
  return hue < 0 ? hue + 360 : hue;
}

// The colours of the controls' styles, offered after the web colours.
const std::array<TNamedColour, 6>& StyleColours() {
  static const std::array<TNamedColour, 6> colours{{
      {0xE4F0F2, u"VLightOlive_TMS"},
      {0x7BEEFF, u"Yellow_TMS"},
      {0x8CC0B1, u"LightOlive"},
      {0xFDEADA, u"LightBlue_TMS"},
      {0xFADAC4, u"BlueX_TMS"},
      {0xFDF0D7, u"LightSkyBlue_TMS"},
  }};
  return colours;
}

}  // namespace

std::span<const TNamedColour> WebNamedColors() {
  static const std::vector<TNamedColour> colours = [] {
    std::vector<TNamedColour> built;
    built.reserve(kWebColours.size());
    for (const TWebColourSource& source : kWebColours) built.push_back({FromRgb(source.rgb), source.name});
    return built;
  }();
  return colours;
}

TColorArray BuildMyColourArray() {
  TColorArray table;
  for (const TNamedColour& web : WebNamedColors()) {
    const bool known = std::any_of(table.begin(), table.end(),
                                   [&](const TNamedColour& entry) { return entry.colour == web.colour; });
    if (!known) table.push_back(web);
  }
  table.insert(table.end(), StyleColours().begin(), StyleColours().end());
  return table;
}

TColorArray MyColourArray = BuildMyColourArray();

UnicodeString NameOfAMyColourArrayColour(TColor colour, const TColorArray& table) {
  const auto found = std::find_if(table.begin(), table.end(),
                                  [&](const TNamedColour& entry) { return entry.colour == colour; });
  return found == table.end() ? UnicodeString{} : found->name;
}

TColor ColourOfAMyColourArrayName(const UnicodeString& name, const TColorArray& table) {
  const auto found =
      std::find_if(table.begin(), table.end(), [&](const TNamedColour& entry) { return entry.name == name; });
  return found == table.end() ? kNoColour : found->colour;
}

UnicodeString WebColourToName(TColor colour) {
  for (const TNamedColour& web : WebNamedColors())
    if (web.colour == colour) return web.name;
  return u"Black";
}

TColor NameToWebColour(const UnicodeString& name) {
  for (const TNamedColour& web : WebNamedColors())
    if (AnsiSameText(web.name, name)) return web.colour;
  return 0;
}

TColor MixColors(TColor a, TColor b, std::uint8_t weight) {
  const auto mix = [weight](std::uint8_t x, std::uint8_t y) {
    return static_cast<std::uint32_t>((weight * x + (255 - weight) * y) / 256);
  };
  return static_cast<TColor>(mix(Red(a), Red(b)) | (mix(Green(a), Green(b)) << 8) |
                             (mix(Blue(a), Blue(b)) << 16));
}

void SortColorArray(TColorArray& table, TColorArraySortType method) {
  const auto by = [&table](auto key) {
    std::stable_sort(table.begin(), table.end(),
                     [&key](const TNamedColour& a, const TNamedColour& b) { return key(a) < key(b); });
  };
  switch (method) {
    case cs_by_name:
      std::stable_sort(table.begin(), table.end(), [](const TNamedColour& a, const TNamedColour& b) {
        return AnsiCompareText(a.name, b.name) < 0;
      });
      break;
    case cs_by_value:
      by([](const TNamedColour& e) { return static_cast<std::uint32_t>(e.colour); });
      break;
    case cs_by_hue:
      by([](const TNamedColour& e) { return std::pair{Hue(e.colour), Brightness(e.colour)}; });
      break;
    case cs_by_brightness:
      by([](const TNamedColour& e) { return Brightness(e.colour); });
      break;
  }
}

}  // namespace quill
