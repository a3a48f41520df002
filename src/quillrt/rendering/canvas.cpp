#include "quillrt/rendering/canvas.h"

#include <unicode/ubidi.h>

#include <memory>

namespace quill {

namespace {

struct BidiCloser {
  void operator()(UBiDi* bidi) const { ubidi_close(bidi); }
};
using BidiPtr = std::unique_ptr<UBiDi, BidiCloser>;

// A paragraph set up for `text`, or null when ICU refuses it.
BidiPtr OpenParagraph(std::u16string_view text, bool rtl_base) {
  UErrorCode status = U_ZERO_ERROR;
  BidiPtr bidi(ubidi_openSized(static_cast<int32_t>(text.size()), 0, &status));
  if (U_FAILURE(status)) return nullptr;
  ubidi_setPara(bidi.get(), reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                rtl_base ? UBIDI_RTL : UBIDI_LTR, nullptr, &status);
  if (U_FAILURE(status)) return nullptr;
  return bidi;
}

}  // namespace

TDrawingCanvas::~TDrawingCanvas() = default;

UnicodeString VisualOrder(std::u16string_view text, bool rtl_reading) {
  if (text.empty()) return {};
  const BidiPtr bidi = OpenParagraph(text, rtl_reading);
  if (bidi == nullptr) return UnicodeString(text);
  UnicodeString out(text.size(), u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = ubidi_writeReordered(bidi.get(), reinterpret_cast<UChar*>(out.data()),
                                              static_cast<int32_t>(out.size()), UBIDI_KEEP_BASE_COMBINING | UBIDI_DO_MIRRORING, &status);
  if (U_FAILURE(status)) return UnicodeString(text);
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::vector<std::uint8_t> BidiLevels(std::u16string_view text, bool rtl_base) {
  std::vector<std::uint8_t> levels(text.size(), rtl_base ? 1 : 0);
  if (text.empty()) return levels;
  const BidiPtr bidi = OpenParagraph(text, rtl_base);
  if (bidi == nullptr) return levels;
  UErrorCode status = U_ZERO_ERROR;
  const UBiDiLevel* resolved = ubidi_getLevels(bidi.get(), &status);
  if (U_FAILURE(status) || resolved == nullptr) return levels;
  for (std::size_t i = 0; i < levels.size(); ++i) levels[i] = resolved[i];
  return levels;
}

UnicodeString ShortenedWithEllipsis(std::u16string_view text, std::int32_t width, TEllipsis ellipsis,
                                    const std::function<std::int32_t(std::u16string_view)>& width_of) {
  constexpr char16_t kEllipsis = u'\u2026';
  const auto is_path_separator = [](char16_t c) { return c == u'/' || c == u'\\'; };
  UnicodeString head(text);
  UnicodeString tail;
  if (ellipsis == TEllipsis::elPath) {
    // The last component of a path stays; what goes is taken before it.
    std::size_t cut = head.size();
    while (cut > 0 && !is_path_separator(head[cut - 1])) --cut;
    if (cut > 0) {
      tail = head.substr(cut - 1);
      head.resize(cut - 1);
    }
  }
  const auto pop_character = [&head] {
    const bool low = head.back() >= 0xDC00 && head.back() <= 0xDFFF;
    head.pop_back();
    if (low && !head.empty() && head.back() >= 0xD800 && head.back() <= 0xDBFF) head.pop_back();
  };
  while (!head.empty() && width_of(head + kEllipsis + tail) > width) pop_character();
  return head + kEllipsis + tail;
}

TRect Work_Area{0, 0, 1024, 768};

TSize TextSizeOfString(TDrawingCanvas* canvas, std::u16string_view text) {
  return canvas != nullptr ? canvas->TextExtent(text) : TSize{};
}

std::int32_t TextWidthOfWideString(TDrawingCanvas* canvas, std::u16string_view text) {
  return TextSizeOfString(canvas, text).cx;
}

}  // namespace quill
