#include "quillrt/rendering/recording_canvas.h"

#include <unicode/uchar.h>

namespace quill {

namespace {

bool IsZeroWidth(char16_t c) {
  if (c == 0x200C || c == 0x200D || (c >= 0xDC00 && c <= 0xDFFF)) return true;
  const std::int8_t type = u_charType(c);
  return type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK;
}

}  // namespace

TRecordingCanvas::TRecordingCanvas() : font_name_(u"Fixed") {}

TRecordingCanvas::~TRecordingCanvas() = default;

bool TRecordingCanvas::SetFontStyle(Ttypeface_Set styles) {
  if ((styles.AsByte() & refused_styles.AsByte()) != 0) return false;
  font_style_ = styles;
  return true;
}

std::int32_t TRecordingCanvas::UnitWidth(char16_t c, bool bold) const {
  if (const auto it = widths_.find(c); it != widths_.end()) return it->second + (bold && it->second > 0 ? 1 : 0);
  if (IsZeroWidth(c)) return 0;
  return (c == u' ' ? space_width : char_width) + (bold ? 1 : 0);
}

TSize TRecordingCanvas::TextExtent(std::u16string_view text) {
  const bool bold = font_style_.Contains(tf_bold);
  std::int32_t width = 0;
  for (const char16_t c : text) width += UnitWidth(c, bold);
  return {width, line_height};
}

TCanvasCall TRecordingCanvas::StateCall(TCanvasCallKind kind) const {
  TCanvasCall call;
  call.kind = kind;
  call.clipped = clipped_;
  call.clip = clip_;
  call.font_name = font_name_;
  call.font_size = font_size_;
  call.font_style = font_style_;
  call.font_colour = font_colour_;
  call.brush_colour = brush_colour_;
  call.brush_style = brush_style_;
  call.pen_colour = pen_colour_;
  call.text_align = text_align_;
  return call;
}

void TRecordingCanvas::TextOut(std::int32_t x, std::int32_t y, const TRect* clip, std::u16string_view text,
                               bool rtl_reading) {
  TCanvasCall call = StateCall(TCanvasCallKind::ccTextOut);
  const std::int32_t width = TextExtent(text).cx;
  const std::int32_t left = text_align_ == TTextAlign::taRight ? x - width : x;
  call.at = {x, y};
  call.rect = {left, y, left + width, y + line_height};
  if (clip != nullptr) {
    call.clipped = true;
    call.clip = *clip;
  }
  call.text = UnicodeString(text);
  call.visual = VisualOrder(text, rtl_reading);
  call.rtl_reading = rtl_reading;
  calls_.push_back(std::move(call));
}


void TRecordingCanvas::DrawText(const TRect& rect, std::u16string_view text, const TDrawTextFormat& format) {
  TCanvasCall call = StateCall(TCanvasCallKind::ccDrawText);
  UnicodeString shown(text);
  if (format.ellipsis != TEllipsis::elNone && TextExtent(shown).cx > rect.Width())
    shown = ShortenedWithEllipsis(text, rect.Width(), format.ellipsis,
                                  [this](std::u16string_view t) { return TextExtent(t).cx; });
  const std::int32_t width = TextExtent(shown).cx;
  std::int32_t left = rect.left;
  if (format.align == TDrawTextAlign::dtCentre) left = rect.left + (rect.Width() - width) / 2;
  if (format.align == TDrawTextAlign::dtRight) left = rect.right - width;
  const std::int32_t top = format.vcentre ? rect.top + (rect.Height() - line_height) / 2 : rect.top;
  call.at = {left, top};
  call.rect = {left, top, left + width, top + line_height};
  call.draw_rect = rect;
  call.text = shown;
  call.visual = VisualOrder(shown, format.rtl_reading);
  call.rtl_reading = format.rtl_reading;
  call.format = format;
  calls_.push_back(std::move(call));
}

void TRecordingCanvas::FillRect(const TRect& rect) {
  if (brush_style_ == TBrushStyle::bsClear) return;
  TCanvasCall call = StateCall(TCanvasCallKind::ccFillRect);
  call.rect = rect;
  calls_.push_back(std::move(call));
}

void TRecordingCanvas::Line(TPoint from, TPoint to) {
  TCanvasCall call = StateCall(TCanvasCallKind::ccLine);
  call.at = from;
  call.to = to;
  calls_.push_back(std::move(call));
}

void TRecordingCanvas::SetClipRect(const TRect* rect) {
  clipped_ = rect != nullptr;
  clip_ = rect != nullptr ? *rect : TRect{};
}

std::vector<TCanvasCall> TRecordingCanvas::TextCalls() const {
  std::vector<TCanvasCall> out;
  for (const TCanvasCall& call : calls_)
    if (call.kind == TCanvasCallKind::ccTextOut || call.kind == TCanvasCallKind::ccDrawText) out.push_back(call);
  return out;
}

}  // namespace quill
