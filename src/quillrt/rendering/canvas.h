#pragma once
// The canvas the text drawer paints on: a font (typeface name, size, styles,
// colour), a brush (colour, solid or clear), a pen, text extents, text out at a
// point with clipping and a right-to-left reading flag, text drawn into a
// rectangle with an ellipsis, rectangle fills, lines and a clip rectangle.
//
// The drawer decides where every run goes; a canvas only paints one run where it
// is told. A run painted with the right-to-left reading flag is shown in the
// reading order of right-to-left text (digits and Latin letters inside it keep
// their own order), as the bidirectional algorithm gives.
//
// quillrt ships TRecordingCanvas (recording_canvas.h), a deterministic canvas for
// tests; the controls library implements the same interface over its painter.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/rendering/colours.h"

namespace quill {

struct TPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and bottom are exclusive, as in the platform's rectangles.
struct TRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

// Where a text-out point lies on the run: its left end or its right end.
enum class TTextAlign : std::uint8_t { taLeft, taRight };

// How DrawText places and shortens text inside its rectangle.
enum class TDrawTextAlign : std::uint8_t { dtLeft, dtCentre, dtRight };
enum class TEllipsis : std::uint8_t {
  elNone,
  elEnd,   // cut the end and show "…" there
  elPath,  // keep the last component of a path, cut before it and show "…"
};

struct TDrawTextFormat {
  TDrawTextAlign align = TDrawTextAlign::dtLeft;
  TEllipsis ellipsis = TEllipsis::elNone;
  bool rtl_reading = false;
  bool vcentre = false;  // centre the single line vertically
};

class QUILLRT_API TDrawingCanvas {
 public:
  virtual ~TDrawingCanvas();

  virtual void SetFontName(const UnicodeString& name) = 0;
  virtual UnicodeString FontName() const = 0;
  virtual void SetFontSize(std::int32_t points) = 0;
  virtual std::int32_t FontSize() const = 0;
  // False when the font cannot take these styles; the styles then stay as they were.
  virtual bool SetFontStyle(Ttypeface_Set styles) = 0;
  virtual Ttypeface_Set FontStyle() const = 0;
  virtual void SetFontColour(TColor colour) = 0;
  virtual TColor FontColour() const = 0;

  virtual void SetBrushColour(TColor colour) = 0;
  virtual TColor BrushColour() const = 0;
  // Clear: text is painted without its background and fills paint nothing.
  virtual void SetBrushStyle(TBrushStyle style) = 0;
  virtual TBrushStyle BrushStyle() const = 0;
  virtual void SetPenColour(TColor colour) = 0;
  virtual TColor PenColour() const = 0;
  virtual void SetTextAlign(TTextAlign align) = 0;
  virtual TTextAlign TextAlign() const = 0;

  // The size of text in the current font.
  virtual TSize TextExtent(std::u16string_view text) = 0;

  // Paints one run with its point at (x, y), top of the line; nothing outside
  // clip when clip is given. The background is the brush's unless it is clear.
  virtual void TextOut(std::int32_t x, std::int32_t y, const TRect* clip, std::u16string_view text,
                       bool rtl_reading) = 0;
  // Paints text inside rect, shortened with an ellipsis when the format asks
  // and it does not fit.
  virtual void DrawText(const TRect& rect, std::u16string_view text, const TDrawTextFormat& format) = 0;
  // Fills rect with the brush (nothing when the brush is clear).
  virtual void FillRect(const TRect& rect) = 0;
  virtual void Line(TPoint from, TPoint to) = 0;
  // Later painting stays inside rect; null removes the clip.
  virtual void SetClipRect(const TRect* rect) = 0;
};

// The characters of a run in the order they appear from left to right when read
// as left-to-right (rtl_reading false) or right-to-left text, by the Unicode
// bidirectional algorithm, brackets mirrored as they are shown. Surrogate pairs
// and combining marks stay with their characters.
QUILLRT_API UnicodeString VisualOrder(std::u16string_view text, bool rtl_reading);

// The embedding level of every UTF-16 unit of a paragraph (odd: right to left),
// resolved by the bidirectional algorithm with the given base direction.
QUILLRT_API std::vector<std::uint8_t> BidiLevels(std::u16string_view text, bool rtl_base);

// `text` shortened with "…" until `width_of` it is at most `width`: the end is
// cut (elEnd), or what stands before a path's last component (elPath, which
// keeps that component). Surrogate pairs are cut whole. Both canvases shorten
// their draw-text this way, each measuring with its own metrics.
QUILLRT_API UnicodeString ShortenedWithEllipsis(std::u16string_view text, std::int32_t width, TEllipsis ellipsis,
                                               const std::function<std::int32_t(std::u16string_view)>& width_of);

// The extent of `text` in the canvas's current font; a zero size without a
// canvas (the platform call's answer when it fails).
QUILLRT_API TSize TextSizeOfString(TDrawingCanvas* canvas, std::u16string_view text);
QUILLRT_API std::int32_t TextWidthOfWideString(TDrawingCanvas* canvas, std::u16string_view text);

// The desktop's work area (the screen less its task bars), in pixels. The
// library has no desktop of its own: it starts as a 1024 x 768 screen, and a
// toolkit that knows the real screen (the Qt controls library) fills it in.
extern QUILLRT_API TRect Work_Area;

}  // namespace quill
