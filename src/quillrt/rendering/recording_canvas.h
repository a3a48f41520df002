#pragma once
// A deterministic canvas for tests: fixed metrics per character and a record of
// every painting call with the canvas state it was made in, so that a layout can
// be checked exactly (which runs were painted, where, in which colours and
// styles, and how their characters read on screen).
//
// Metrics: every UTF-16 unit is char_width pixels wide (a space space_width),
// except combining marks, joiners and the second unit of a surrogate pair,
// which are zero wide; bold adds one pixel to every unit that has a width.
// Widths of single characters can be set. Every text is line_height tall.
#include <cstdint>
#include <map>
#include <vector>

#include "quillrt/quillrt_export.h"
#include "quillrt/rendering/canvas.h"

namespace quill {

enum class TCanvasCallKind : std::uint8_t { ccTextOut, ccDrawText, ccFillRect, ccLine };

struct TCanvasCall {
  TCanvasCallKind kind = TCanvasCallKind::ccTextOut;
  // TextOut: the point given; DrawText: where the text starts; Line: its start.
  TPoint at;
  TPoint to;  // Line: its end
  // TextOut and DrawText: the box the text occupies; FillRect: the rectangle.
  TRect rect;
  TRect draw_rect;  // DrawText: the rectangle given
  bool clipped = false;
  TRect clip;
  UnicodeString text;    // as given (DrawText: as shown, after any ellipsis)
  UnicodeString visual;  // the characters from left to right as they are seen
  bool rtl_reading = false;
  TDrawTextFormat format;
  // The state the call was made in.
  UnicodeString font_name;
  std::int32_t font_size = 0;
  Ttypeface_Set font_style;
  TColor font_colour = 0;
  TColor brush_colour = 0;
  TBrushStyle brush_style = TBrushStyle::bsSolid;
  TColor pen_colour = 0;
  TTextAlign text_align = TTextAlign::taLeft;
};

class QUILLRT_API TRecordingCanvas : public TDrawingCanvas {
 public:
  TRecordingCanvas();
  ~TRecordingCanvas() override;

  void SetFontName(const UnicodeString& name) override { font_name_ = name; }
  UnicodeString FontName() const override { return font_name_; }
  void SetFontSize(std::int32_t points) override { font_size_ = points; }
  std::int32_t FontSize() const override { return font_size_; }
  bool SetFontStyle(Ttypeface_Set styles) override;
  Ttypeface_Set FontStyle() const override { return font_style_; }
  void SetFontColour(TColor colour) override { font_colour_ = colour; }
  TColor FontColour() const override { return font_colour_; }
  void SetBrushColour(TColor colour) override { brush_colour_ = colour; }
  TColor BrushColour() const override { return brush_colour_; }
  void SetBrushStyle(TBrushStyle style) override { brush_style_ = style; }
  TBrushStyle BrushStyle() const override { return brush_style_; }
  void SetPenColour(TColor colour) override { pen_colour_ = colour; }
  TColor PenColour() const override { return pen_colour_; }
  void SetTextAlign(TTextAlign align) override { text_align_ = align; }
  TTextAlign TextAlign() const override { return text_align_; }

  TSize TextExtent(std::u16string_view text) override;
  void TextOut(std::int32_t x, std::int32_t y, const TRect* clip, std::u16string_view text,
               bool rtl_reading) override;
  void DrawText(const TRect& rect, std::u16string_view text, const TDrawTextFormat& format) override;
  void FillRect(const TRect& rect) override;
  void Line(TPoint from, TPoint to) override;
  void SetClipRect(const TRect* rect) override;

  // Metrics.
  void SetCharWidth(char16_t c, std::int32_t width) { widths_[c] = width; }
  std::int32_t char_width = 8;
  std::int32_t space_width = 4;
  std::int32_t line_height = 16;
  // Styles the canvas refuses, as a font without them would.
  Ttypeface_Set refused_styles;

  const std::vector<TCanvasCall>& Calls() const { return calls_; }
  // The text-out and draw-text calls only, in order.
  std::vector<TCanvasCall> TextCalls() const;
  void ClearCalls() { calls_.clear(); }

 private:
  std::int32_t UnitWidth(char16_t c, bool bold) const;
  TCanvasCall StateCall(TCanvasCallKind kind) const;

  UnicodeString font_name_;
  std::int32_t font_size_ = 10;
  Ttypeface_Set font_style_;
  TColor font_colour_ = 0x000000;
  TColor brush_colour_ = 0xFFFFFF;
  TBrushStyle brush_style_ = TBrushStyle::bsSolid;
  TColor pen_colour_ = 0x000000;
  TTextAlign text_align_ = TTextAlign::taLeft;
  bool clipped_ = false;
  TRect clip_;
  std::map<char16_t, std::int32_t> widths_;
  std::vector<TCanvasCall> calls_;
};

}  // namespace quill
