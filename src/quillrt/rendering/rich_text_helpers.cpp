#include "quillrt/rendering/rich_text_helpers.h"

#include "quillrt/platform/case_mapping.h"
#include "quillrt/platform/char_types.h"
#include "quillrt/process/yield.h"

namespace quill {

namespace {

bool IsLetter(char16_t c) { return (CharType1Table()[c] & C1_ALPHA) != 0; }

// The 0-based offsets of the bounded occurrences of word in text.
template <class OnHit>
void ForEachOccurrence(const UnicodeString& text, const UnicodeString& upper_text, const TSimpleSearch_rec& word,
                       const OnHit& on_hit) {
  if (word.seek.empty()) return;
  const bool exact = word.flags.Contains(myCaseIsSensitive);
  const UnicodeString& haystack = exact ? text : upper_text;
  const UnicodeString needle = exact ? word.seek : MapCaseString(word.seek, CaseDirection::upper);
  std::size_t from = 0;
  while (true) {
    const std::size_t at = haystack.find(needle, from);
    if (at == UnicodeString::npos) return;
    const std::size_t end = at + needle.size();
    const bool left_ok = !word.flags.Contains(myLeftBounded) || at == 0 || !IsLetter(text[at - 1]);
    const bool right_ok = !word.flags.Contains(myRightBounded) || end >= text.size() || !IsLetter(text[end]);
    if (left_ok && right_ok) {
      if (!on_hit(static_cast<std::int32_t>(at), static_cast<std::int32_t>(needle.size()))) return;
      from = end;
    } else {
      from = at + 1;
    }
  }
}

}  // namespace

TRichTextControl::~TRichTextControl() = default;

void SetRicheditMargins(TRichTextControl& edit, std::int32_t left, std::int32_t right) { edit.SetMargins(left, right); }

void RichEdit_SetSelBgColor(TRichTextControl& edit, TColor colour) { edit.SetSelectionBackground(colour); }

void RichEdit_ColourASection(TRichTextControl& edit, const T2ColoursRec& colour, Ttypeface_Set styles,
                             const TRichTextSpan& span) {
  edit.Select(span.start, span.length);
  edit.SetSelectionColour(colour.textcolour);
  edit.SetSelectionStyles(styles);
  edit.SetSelectionBackground(colour.textbackground);
}

void CentreLineVerticallyInEdit(TRichTextControl& edit, std::int32_t line) {
  edit.ScrollLines(line - edit.FirstVisibleLine());
}

void RichEdit_ScrollToPOsition(TRichTextControl& edit, std::int32_t position) { edit.ScrollToPosition(position); }

std::int32_t RichEdit_ColourAllTheseWords(TRichTextControl& edit, const TSimpleSearchlist& words,
                                          const TRichTextHitLooks& looks, T3LongintList& hits,
                                          const std::function<void(std::int32_t percent)>& progress,
                                          const bool& go_on) {
  const UnicodeString text = edit.Text();
  const UnicodeString upper_text = MapCaseString(text, CaseDirection::upper);
  edit.SetRedraw(false);
  for (std::int32_t n = 0; n < words.Count() && go_on; ++n) {
    const TSimpleSearch_rec word = words.GetAValue(n);
    const bool avoid = word.flags.Contains(mySW_To_Avoid);
    ForEachOccurrence(text, upper_text, word, [&](std::int32_t at, std::int32_t length) {
      RichEdit_ColourASection(edit, avoid ? looks.avoid : looks.normal, avoid ? looks.avoid_styles : looks.normal_styles,
                              {at, length});
      hits.AddOne({at, length, n});
      MyYieldProcess();
      return go_on;
    });
    if (progress) progress(static_cast<std::int32_t>((std::int64_t{n} + 1) * 100 / words.Count()));
    MyYieldProcess();
  }
  edit.SetRedraw(true);
  if (hits.Count() == 0) return -1;
  T3_longint_rec first_hit;
  hits.GetATriple(0, first_hit);
  const std::int32_t first = first_hit.long0;
  edit.ScrollToPosition(first);
  return first;
}

}  // namespace quill
