#pragma once
// Helpers that colour search hits and place lines inside the tools' rich-text
// controls. They work on an abstract control, which the controls library
// implements over its rich-text widget. Positions in a control are 0-based
// character offsets into its text.
#include <cstdint>
#include <functional>

#include "quillrt/collections/tuple_lists.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/rendering/colours.h"
#include "quillrt/search/search_word_collections.h"

namespace quill {

class QUILLRT_API TRichTextControl {
 public:
  virtual ~TRichTextControl();
  virtual UnicodeString Text() const = 0;
  virtual void SetMargins(std::int32_t left, std::int32_t right) = 0;
  virtual void Select(std::int32_t start, std::int32_t length) = 0;
  // Character formats of the selection.
  virtual void SetSelectionColour(TColor colour) = 0;
  virtual void SetSelectionStyles(Ttypeface_Set styles) = 0;
  virtual void SetSelectionBackground(TColor colour) = 0;
  virtual std::int32_t FirstVisibleLine() const = 0;
  // Scrolls by `lines` (negative: upwards).
  virtual void ScrollLines(std::int32_t lines) = 0;
  // Puts the caret at position and scrolls it into view.
  virtual void ScrollToPosition(std::int32_t position) = 0;
  // While off, formatting changes are not shown.
  virtual void SetRedraw(bool on) = 0;
};

// A stretch of a control's text.
struct TRichTextSpan {
  std::int32_t start = 0;
  std::int32_t length = 0;
};

QUILLRT_API void SetRicheditMargins(TRichTextControl& edit, std::int32_t left, std::int32_t right);
QUILLRT_API void RichEdit_SetSelBgColor(TRichTextControl& edit, TColor colour);
// Selects span and gives it the text colour, styles and background.
QUILLRT_API void RichEdit_ColourASection(TRichTextControl& edit, const T2ColoursRec& colour, Ttypeface_Set styles,
                                         const TRichTextSpan& span);
// Scrolls so that `line` becomes the first visible line.
QUILLRT_API void CentreLineVerticallyInEdit(TRichTextControl& edit, std::int32_t line);
QUILLRT_API void RichEdit_ScrollToPOsition(TRichTextControl& edit, std::int32_t position);

// How RichEdit_ColourAllTheseWords colours hits: words to avoid get their own look.
struct TRichTextHitLooks {
  T2ColoursRec normal;
  Ttypeface_Set normal_styles;
  T2ColoursRec avoid;
  Ttypeface_Set avoid_styles;
};

// Colours every occurrence of every entry of words in the control's text, with
// redrawing off: bounded as each entry's flags say (letters count as word
// characters), compared in upper case unless the entry is case-sensitive. Each
// hit is recorded in hits as (position, length, entry number). Progress goes to
// `progress` as a percentage after each entry; the yield hook runs once per
// entry and once per hit; clearing `go_on` stops the search. Redrawing comes
// back on and the control scrolls to the first recorded hit, whose position is
// the result (-1 when there is none).
QUILLRT_API std::int32_t RichEdit_ColourAllTheseWords(TRichTextControl& edit, const TSimpleSearchlist& words,
                                                      const TRichTextHitLooks& looks, T3LongintList& hits,
                                                      const std::function<void(std::int32_t percent)>& progress,
                                                      const bool& go_on);

}  // namespace quill
