// The text drawer: search words, colours, plain text and concordance lines.
#include "quillrt/rendering/text_drawer.h"

#include <algorithm>
#include <vector>

namespace quill {

namespace {

constexpr char16_t kEllipsis = u'\u2026';

// Restores the drawer's borrowed span list however painting ends.
class BorrowedSpans {
 public:
  BorrowedSpans(TExtraFontList*& slot, TExtraFontList* borrowed) : slot_(slot) { slot_ = borrowed; }
  ~BorrowedSpans() { slot_ = nullptr; }
  BorrowedSpans(const BorrowedSpans&) = delete;
  BorrowedSpans& operator=(const BorrowedSpans&) = delete;

 private:
  TExtraFontList*& slot_;
};

// text cut in its middle, three characters at a time, until it (with the
// ellipsis at the cut) is narrower than `width` or has fewer than 4 characters.
TShrinkRec ShrunkInTheMiddle(const UnicodeString& text, std::int32_t width, TDrawingCanvas& canvas) {
  TShrinkRec shrink;
  UnicodeString rest = text;
  std::size_t cut = rest.size() / 2;
  const auto shown = [&] { return rest.substr(0, cut) + kEllipsis + rest.substr(cut); };
  while (rest.size() >= 4 && canvas.TextExtent(shown()).cx >= width) {
    cut = (rest.size() - 3) / 2;  // the three characters around the middle go
    rest.erase(cut, 3);
  }
  shrink.shrink_str = shown();
  shrink.mid = static_cast<std::int32_t>(cut);
  return shrink;
}

}  // namespace

// The lines of one side of a concordance line: ranges of chunks in reading order.
struct TMyTextDrawer::ConcSide {
  struct Line {
    std::int32_t first = 0;
    std::int32_t last = -1;
  };
  std::vector<Line> lines;
};

TMyTextDrawer::TMyTextDrawer()
    : search_colours_and_style(StyleSearchColoursAndTypeface()),
      default_colours_and_typefaces(BogStandardColoursAndTypeface()),
      fSearchlist(std::make_unique<TSearchWordItems>()),
      defaultExtraFontList(std::make_unique<TExtraFontList>()) {
  fSearchlist->ColunaPraProcura = 1;
}

TMyTextDrawer::~TMyTextDrawer() = default;

// ---- search words -----------------------------------------------------------

TSearchWordItems& TMyTextDrawer::Searchlist() const {
  return using_otherSWList && otherswlist != nullptr ? *otherswlist : *fSearchlist;
}

void TMyTextDrawer::AddASearchRequest(const UnicodeString& astring) {
  if (!astring.empty()) Searchlist().AddedSearchWords(astring);
}

std::int32_t TMyTextDrawer::AddASearch(const TSearch_word_format_rec& aRec) { return Searchlist().AddOneSW(aRec); }

void TMyTextDrawer::AddSearches(const TBaseSearchItems& aList) {
  for (std::int32_t i = 0; i < aList.Count(); ++i) {
    const TSearch_word_format_rec rec = aList.GetSWR(i);
    if (Searchlist().IndexOf(rec) < 0) Searchlist().AddOneSW(rec);
  }
}

void TMyTextDrawer::SetASearch(std::int32_t idx, const TSearch_word_format_rec& aRec) {
  if (idx >= 0 && idx < Searchlist().Count()) Searchlist().PutSWR(idx, aRec);
}

std::int32_t TMyTextDrawer::IndexOfASearch(const TSearch_word_format_rec& aRec) const {
  return Searchlist().IndexOf(aRec);
}

void TMyTextDrawer::ClearOneSearch(const TSearch_word_format_rec& last_search) {
  const std::int32_t index = Searchlist().IndexOf(last_search);
  if (index >= 0) Searchlist().ClearOne(index);
}

void TMyTextDrawer::ClearAllSearches() { Searchlist().Clear(); }

std::int32_t TMyTextDrawer::GetSearchHits() const { return static_cast<std::int32_t>(Searchlist().TotalHits()); }

bool TMyTextDrawer::LineContainsAnySearchWords(const UnicodeString& s) const {
  return FindBoundedSWPositionsInString(Searchlist(), s)->Count() > 0;
}

void TMyTextDrawer::AssignOtherSWList(TSearchWordItems* anOtherSWList) {
  otherswlist = anOtherSWList;
  using_otherSWList = anOtherSWList != nullptr;
}

// ---- colours ------------------------------------------------------------------

void TMyTextDrawer::SetMainColoursTo(const TMyCanvasColourRec& aColour) {
  default_colours_and_typefaces.colourset = aColour;
}

void TMyTextDrawer::SetColoursToMonochrome() { default_colours_and_typefaces.colourset = BogStandardColours(); }

void TMyTextDrawer::SetBaseTypefaces(bool highlight, Ttypeface_Set typefaces) {
  (highlight ? default_colours_and_typefaces.highlight_typeface : default_colours_and_typefaces.default_typeface) =
      typefaces;
}

void TMyTextDrawer::IncludeOrExcludeInDefaultTypeface(TMy_typeface t, bool including) {
  Ttypeface_Set& faces = default_colours_and_typefaces.default_typeface;
  including ? faces.Include(t) : faces.Exclude(t);
}

void TMyTextDrawer::SetMainFontFaceDeleted(bool Value) {
  DeletedEntry = Value;
  IncludeOrExcludeInDefaultTypeface(tf_strikeout, Value);
}

TExtraFontRec TMyTextDrawer::DefaultExtraFontRec() const {
  TExtraFontRec rec;
  rec.colour_rec = default_colours_and_typefaces.colourset;
  rec.default_typeface = default_colours_and_typefaces.default_typeface;
  rec.highlight_typeface = default_colours_and_typefaces.highlight_typeface;
  return rec;
}

TExtraFontList& TMyTextDrawer::ExtraFontListInUse() const {
  return concExtraFontList != nullptr ? *concExtraFontList : *defaultExtraFontList;
}

void TMyTextDrawer::SetupHighlightOutputColours(TDrawingCanvas& canvas, bool highlighted, const TRect& rect,
                                                TQYoutput output) {
  const bool printing = output == pra_printer || output == pra_print_preview;
  if (!printing) MonoChrome = false;
  Selecionado = printing ? false : highlighted;
  if (Transparent_Background) return;
  const TMyCanvasColourRec colours = MonoChrome ? BogStandardColours() : default_colours_and_typefaces.colourset;
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(colours[Selecionado ? tct_selected_background : tct_background]);
  canvas.FillRect(rect);
}

void TMyTextDrawer::SetFontStyle(TDrawingCanvas& canvas, Ttypeface_Set styles) const {
  if (!TryToSetFontStyle(canvas, styles)) throw EFontStyleError(UnicodeString(u"error setting font style"));
}

void TMyTextDrawer::SetColoursAndTypeForWord(const TWordChunk& chunk, TDrawingCanvas& canvas) const {
  const TExtraFontRec& span = chunk.colourAndFont;
  TMyCanvasColourRecAndTypeface look = default_colours_and_typefaces;
  bool transparent = Transparent_Background;
  if (!span.default_) {  // a span's own colours always paint opaque
    look = {span.colour_rec, span.default_typeface, span.highlight_typeface};
    transparent = false;
  }
  if (MonoChrome) look.colourset = BogStandardColours();
  const TMyCanvasColourRec& c = look.colourset;
  if (Selecionado) {
    canvas.SetBrushColour(c[tct_selected_background]);
    canvas.SetBrushStyle(transparent ? TBrushStyle::bsClear : TBrushStyle::bsSolid);
  } else if (transparent) {
    canvas.SetBrushStyle(TBrushStyle::bsClear);
  } else {
    canvas.SetBrushColour(c[tct_background]);
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
  }
  if (DeletedEntry) return;  // keeps the canvas's font colour and style
  canvas.SetFontColour(c[Selecionado ? tct_selected_text : tct_text]);
  SetFontStyle(canvas, Selecionado ? look.highlight_typeface : look.default_typeface);
}

// ---- placing ------------------------------------------------------------------

std::int32_t TMyTextDrawer::GetPlaceXNearMargin(const TRect& aRect) const {
  return RightToLeft() ? aRect.right - edge_margin : aRect.left + edge_margin;
}

std::int32_t TMyTextDrawer::GetPlaceXForLineWidth(const TRect& aRect, std::int32_t line_pixels,
                                                  TQYAlignment aligned) const {
  const std::int32_t gap = (aRect.Width() - line_pixels) / 2;
  if (!RightToLeft()) {
    if (aligned == centre_aligned) return aRect.left + gap;
    if (aligned == right_aligned) return aRect.right - edge_margin - line_pixels;
    return GetPlaceXNearMargin(aRect);
  }
  if (aligned == centre_aligned) return aRect.right - gap;
  // A right-to-left line at the far (left) margin: its reading start is its right end.
  if (aligned == default_aligned) return aRect.left + edge_margin + line_pixels;
  return GetPlaceXNearMargin(aRect);
}

TPoint TMyTextDrawer::DefaultRectPlace(const TRect& aRect, bool Bidi) const {
  return Bidi ? TPoint{aRect.right, aRect.top} : TPoint{aRect.left, aRect.top};
}

TNextWordFitting TMyTextDrawer::NextWordFitsOK(std::int32_t x, std::int32_t next, const TRect& rect,
                                               const TWordChunkList& list) const {
  if (next >= list.Count()) return nw_done_all;
  const std::int32_t width = list.Get(next)->data.pixel_width;
  const bool crosses = RightToLeft() ? x - width < rect.left + edge_margin : x + width > rect.right - edge_margin;
  return crosses ? nw_wont_fit : nw_fits_OK;
}

TWordsWhichFit TMyTextDrawer::ComputedFitSpan(TWordChunkList& list, std::int32_t first_chunk,
                                              const TRect& aRect) const {
  if (!list.has_odd_directions && Alignamento == default_aligned) {
    TWordsWhichFit all;
    all.first_segment = first_chunk;
    all.last_segment = list.Count() - 1;
    all.pixels = list.LineWidth(first_chunk, all.last_segment);
    return all;
  }
  TWordsWhichFit fit =
      list.WhichWordsFit(first_chunk, aRect.Width() - 2 * edge_margin, Alignamento != default_aligned);
  if (fit.reorder_check_needed) ReorderAnyLTRSinRTLSequences(list, fit.first_segment, fit.last_segment);
  return fit;
}

// ---- painting plain text --------------------------------------------------------

void TMyTextDrawer::PaintChunk(const TWordChunk& chunk, std::int32_t& x, std::int32_t y, TDrawingCanvas& canvas,
                               const TRect& clip) const {
  SetColoursAndTypeForWord(chunk, canvas);
  if (!fjust_measuring) canvas.TextOut(x, y, &clip, chunk.w, RightToLeft());
  ShiftUpLinePixels(x, chunk, RightToLeft());
}

void TMyTextDrawer::PaintShrunkChunk(const TWordChunk& chunk, std::int32_t& x, std::int32_t y,
                                     TDrawingCanvas& canvas, const TRect& rect) const {
  SetColoursAndTypeForWord(chunk, canvas);
  const bool rtl = RightToLeft();
  TShrinkRec shrink = ShrunkInTheMiddle(chunk.w, rect.Width() - canvas.TextExtent(u"M").cx, canvas);
  const std::int32_t width = canvas.TextExtent(shrink.shrink_str).cx;
  TDrawTextFormat format;
  format.rtl_reading = rtl;
  if (Alignamento == centre_aligned) {
    format.align = TDrawTextAlign::dtCentre;
    shrink.R = {rect.left, y, rect.right, y + line_height};
  } else {
    format.align = rtl ? TDrawTextAlign::dtRight : TDrawTextAlign::dtLeft;
    shrink.R = rtl ? TRect{rect.left, y, x, y + line_height} : TRect{x, y, rect.right, y + line_height};
  }
  if (!fjust_measuring) canvas.DrawText(shrink.R, shrink.shrink_str, format);
  x += rtl ? -width : width;
}

TNextWordFitPlusLastWordnumber TMyTextDrawer::PaintOneLine(TWordChunkList& list, std::int32_t first_chunk,
                                                           std::int32_t line_number, TDrawingCanvas& aCanvas,
                                                           const TRect& aRect) {
  TNextWordFitPlusLastWordnumber result;
  result.last_wordnumber_painted = first_chunk - 1;
  if (line_number > 0 && first_chunk < list.Count() && list.Get(first_chunk)->data.w == u" ") ++first_chunk;
  if (first_chunk >= list.Count()) {
    result.nextword_fit = nw_done_all;
    return result;
  }
  const TWordsWhichFit span = ComputedFitSpan(list, first_chunk, aRect);
  // Nothing fits: the first chunk alone is shown, shortened.
  const bool shrink_all = span.last_segment < span.first_segment || span.pixels == 0;
  const std::int32_t last = shrink_all ? first_chunk : span.last_segment;
  const bool rtl = RightToLeft();
  std::int32_t x = GetPlaceXNearMargin(aRect);
  if (Alignamento == centre_aligned) {
    const std::int32_t gap = (aRect.Width() - span.pixels) / 2;
    x = rtl ? aRect.right - gap : aRect.left + gap;
  } else if (Alignamento == right_aligned || Alignamento == decimal_aligned) {
    x = rtl ? aRect.left + 1 + span.pixels : aRect.right - 1 - span.pixels;
  }
  std::int32_t y = aRect.top + (line_height + interline_spacing) * line_number;
  if (VCentred && !Word_wrapped) y = aRect.top + (aRect.Height() - line_height) / 2;

  for (std::int32_t i = span.first_segment; i <= last; ++i) {
    const TWordChunk& chunk = list.Get(i)->data;
    if (i == span.first_segment && shrink_all) {
      PaintShrunkChunk(chunk, x, y, aCanvas, aRect);
    } else if (Alignamento == default_aligned && chunk.pixel_width > aRect.Width()) {
      PaintShrunkChunk(chunk, x, y, aCanvas, aRect);
    } else {
      PaintChunk(chunk, x, y, aCanvas, aRect);
    }
    result.last_wordnumber_painted = i;
    const std::int32_t next = i + 1;
    if (next >= list.Count()) {
      result.nextword_fit = nw_done_all;
      break;
    }
    if (next > last) {
      result.nextword_fit = nw_wont_fit;
      break;
    }
    result.nextword_fit = NextWordFitsOK(x, next, aRect, list);
    if (result.nextword_fit != nw_fits_OK) break;
  }
  return result;
}

void TMyTextDrawer::FillSpansFromSearchHits(const UnicodeString& text) {
  TExtraFontList& spans = ExtraFontListInUse();
  spans.Clear();
  const auto hits = FindBoundedSWPositionsInString(Searchlist(), text);
  for (std::int32_t i = 0; i < hits->Count(); ++i) {
    const std::int64_t pair = hits->GetAValue(i);
    TExtraFontRec span;
    span.switch_on_at_char = HiInt64(pair);
    span.switch_off_at_char = LoInt64(pair) - 1;  // the hit's last character
    span.colour_rec = search_colours_and_style.colourset;
    span.default_typeface = search_colours_and_style.default_typeface;
    span.highlight_typeface = search_colours_and_style.highlight_typeface;
    span.applies_to = efc_centre_word;
    spans.AddOne(span);
  }
}

std::int32_t TMyTextDrawer::DrawAChunkofText(const UnicodeString& aChunk, TDrawingCanvas& aCanvas,
                                             const TRect& aRect, std::uint32_t anLCID) {
  return DrawAChunkofText(aChunk, aCanvas, aRect, anLCID, Alignamento, Selecionado, VCentred, Word_wrapped,
                          Transparent_Background);
}

std::int32_t TMyTextDrawer::DrawAChunkofText(const UnicodeString& aChunk, TDrawingCanvas& aCanvas,
                                             const TRect& aRect, std::uint32_t anLCID, TQYAlignment aAligned,
                                             bool Aselected, bool aVCentred, bool aWord_wrapped,
                                             bool aTransparentBackground) {
  if (aChunk.empty()) return 0;
  BaseDirection = BiDiModeFromLCID(anLCID);
  aCanvas.SetTextAlign(RightToLeft() ? TTextAlign::taRight : TTextAlign::taLeft);
  Alignamento = aAligned;
  Selecionado = Aselected;
  VCentred = aVCentred;
  Word_wrapped = aWord_wrapped;
  Transparent_Background = aTransparentBackground;

  FillSpansFromSearchHits(aChunk);
  TWordChunkList list(default_colours_and_typefaces, false, u' ');
  list.LoadFrom(aChunk, static_cast<std::int32_t>(aChunk.size()), 0, &ExtraFontListInUse(), aCanvas, anLCID,
                BaseDirection, false);

  if (!fjust_measuring && !Transparent_Background) {
    const TMyCanvasColourRec& c = default_colours_and_typefaces.colourset;
    aCanvas.SetBrushStyle(TBrushStyle::bsSolid);
    aCanvas.SetBrushColour(c[Selecionado ? tct_selected_background : tct_background]);
    aCanvas.FillRect(aRect);
  }
  edge_margin = Word_wrapped && Alignamento != right_aligned ? aCanvas.TextExtent(u"M").cx : 0;
  line_height = aCanvas.TextExtent(u"yTTG").cy;
  const std::int32_t line_step = line_height + interline_spacing;

  std::int32_t lines = 0;
  std::int32_t next = 0;
  while (true) {
    const TNextWordFitPlusLastWordnumber painted = PaintOneLine(list, next, lines, aCanvas, aRect);
    ++lines;
    if (!Word_wrapped || painted.nextword_fit == nw_done_all) break;
    next = painted.last_wordnumber_painted + 1;
    // Measured from the rectangle's top, so that a row lower down wraps as far.
    if (line_step * lines >= aRect.Height()) break;
  }
  return line_step * (lines + 1);
}

void TMyTextDrawer::ParseAndPaintOneLine(const UnicodeString& line, TDrawingCanvas& aCanvas, const TRect& aRect,
                                         TQYAlignment anAlignment, bool Aselected, bool aVCentred,
                                         std::uint32_t anLCID) {
  DrawAChunkofText(line, aCanvas, aRect, anLCID, anAlignment, Aselected, aVCentred, false, Transparent_Background);
}

// ---- concordance lines ------------------------------------------------------------

void TMyTextDrawer::ConcPaintOneLineByWordNumbers(TWordChunkList& list, std::int32_t first, std::int32_t last,
                                                  std::int32_t reading_start_x, std::int32_t y,
                                                  TDrawingCanvas& aCanvas, const TRect& clip) {
  const bool rtl = RightToLeft();
  std::int32_t x = reading_start_x;
  for (std::int32_t i = std::max(first, 0); i <= last && i < list.Count(); ++i) {
    const TWordChunk& chunk = list.Get(i)->data;
    SetColoursAndTypeForWord(chunk, aCanvas);
    aCanvas.TextOut(rtl ? x - chunk.pixel_width : x, y, &clip, chunk.w, rtl);
    ShiftUpLinePixels(x, chunk, rtl);
  }
}

void TMyTextDrawer::PaintAColouredConcLine(TWordChunkList& list, std::int32_t first, std::int32_t last,
                                           TQYAlignment aligned, std::int32_t first_line_x, std::int32_t y,
                                           TDrawingCanvas& aCanvas, const TRect& R) {
  const std::int32_t x =
      aligned == conc_aligned ? first_line_x : GetPlaceXForLineWidth(R, list.LineWidth(first, last), aligned);
  ConcPaintOneLineByWordNumbers(list, first, last, x, y, aCanvas, R);
}

TMyTextDrawer::ConcSide TMyTextDrawer::PlaceConcSide(const TWordChunkList& list, std::int32_t from, bool forward,
                                                     std::int32_t centre_x, std::int32_t centre_y,
                                                     std::int32_t text_height, TRect& R) {
  ConcSide side;
  // The forward side runs towards the end of the line: right in left-to-right
  // text, left in right-to-left text.
  const bool goes_right = forward != RightToLeft();
  const std::int32_t first_capacity =
      goes_right ? R.right - edge_margin - centre_x : centre_x - (R.left + edge_margin);
  const std::int32_t full_capacity = R.Width() - 2 * edge_margin;
  const std::int32_t step = forward ? 1 : -1;
  const std::int32_t line_step = text_height + interline_spacing;

  // Lines are kept in reading order whichever way they are filled.
  const auto push = [&](std::int32_t a, std::int32_t b) {
    side.lines.push_back({std::min(a, b), std::max(a, b)});
  };
  std::int32_t line_start = from;
  std::int32_t width = 0;
  std::int32_t added = 0;
  std::int32_t i = from;
  for (; i >= 0 && i < list.Count(); i += step) {
    const std::int32_t w = list.Get(i)->data.pixel_width;
    const std::int32_t capacity = side.lines.empty() ? first_capacity : full_capacity;
    if (i != line_start && width + w > capacity) {
      push(line_start, i - step);
      const std::int32_t offset = static_cast<std::int32_t>(side.lines.size()) * line_step;
      const bool passes = forward ? centre_y + offset + text_height > R.bottom : centre_y - offset < R.top;
      if (passes) {
        text_fits_within_Rect = false;
        if (!fjust_measuring || added > 8) return side;
        if (forward)
          R.bottom += text_height;
        else
          R.top -= text_height;
      }
      ++added;
      line_start = i;
      width = 0;
    }
    width += w;
  }
  if (i != line_start) push(line_start, i - step);
  return side;
}

void TMyTextDrawer::PaintConcSide(TWordChunkList& list, const ConcSide& side, bool forward, std::int32_t centre_x,
                                  std::int32_t centre_y, std::int32_t text_height, TDrawingCanvas& canvas,
                                  const TRect& R) {
  const bool rtl = RightToLeft();
  const std::int32_t line_step = text_height + interline_spacing;
  const auto count = static_cast<std::int32_t>(side.lines.size());
  // Each side's last wrapped line leans towards the line it continues.
  const TQYAlignment last_alignment = forward != rtl ? default_aligned : right_aligned;
  for (std::int32_t n = 0; n < count; ++n) {
    const ConcSide::Line& line = side.lines[static_cast<std::size_t>(n)];
    ReorderAnyLTRSinRTLSequences(list, line.first, line.last);
    const std::int32_t y = forward ? centre_y + n * line_step : centre_y - n * line_step;
    if (n == 0) {
      // The forward side starts at the centre; the backward side ends there.
      const std::int32_t width = list.LineWidth(line.first, line.last);
      const std::int32_t x = forward ? centre_x : (rtl ? centre_x + width : centre_x - width);
      PaintAColouredConcLine(list, line.first, line.last, conc_aligned, x, y, canvas, R);
    } else {
      const TQYAlignment aligned = n == count - 1 ? last_alignment : centre_aligned;
      PaintAColouredConcLine(list, line.first, line.last, aligned, 0, y, canvas, R);
    }
  }
}

TRect TMyTextDrawer::DrawConcText(const UnicodeString& all_lines, std::int32_t midpoint, std::int32_t hit_characters,
                                  TDrawingCanvas& aCanvas, std::uint32_t anLCID, TExtraFontList* AConcExtraFontList,
                                  TRect R, bool Ahighlighted, bool APaddingSW, TQYoutput Outputting) {
  if (all_lines.empty()) return R;
  BaseDirection = BiDiModeFromLCID(anLCID);
  Alignamento = centre_aligned;
  const BorrowedSpans borrowed(concExtraFontList, AConcExtraFontList);
  text_fits_within_Rect = true;
  if (!fjust_measuring) SetupHighlightOutputColours(aCanvas, Ahighlighted, R, Outputting);

  const std::int32_t height = ComputedTextHeight(aCanvas);
  edge_margin = aCanvas.TextExtent(u" ").cx;
  const bool short_rect = R.Height() < 2 * height;
  const std::int32_t centre_y = short_rect ? R.top : R.top + (R.Height() - height) / 2;
  const std::int32_t centre_x =
      R.left + R.Width() / 2 + ComputedTextDisplacement(aCanvas, HorizontalConcDisplacement);

  TWordChunkList list(default_colours_and_typefaces, true, searchword_padding_character);
  const std::int32_t k = list.LoadFrom(all_lines, midpoint, hit_characters, concExtraFontList, aCanvas, anLCID,
                                       BaseDirection, APaddingSW);
  if (k < 0) return R;
  aCanvas.SetTextAlign(TTextAlign::taLeft);

  const ConcSide after = PlaceConcSide(list, k, true, centre_x, centre_y, height, R);
  const ConcSide before = PlaceConcSide(list, k - 1, false, centre_x, centre_y, height, R);
  if (!fjust_measuring) {
    PaintConcSide(list, after, true, centre_x, centre_y, height, aCanvas, R);
    PaintConcSide(list, before, false, centre_x, centre_y, height, aCanvas, R);
  }
  return R;
}

}  // namespace quill
