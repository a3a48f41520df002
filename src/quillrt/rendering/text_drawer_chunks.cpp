// Cutting a line into word chunks, fitting them into a width and the free
// helpers of the text drawer.
#include <unicode/uchar.h>

#include <algorithm>
#include <cstdlib>

#include "quillrt/platform/case_mapping.h"
#include "quillrt/platform/char_types.h"
#include "quillrt/rendering/text_drawer.h"

namespace quill {

EFontStyleError::~EFontStyleError() = default;

namespace {

constexpr char16_t kZeroWidthJoiner = 0x200D;
constexpr char16_t kZeroWidthNonJoiner = 0x200C;

bool IsSingleSpace(const UnicodeString& w) { return w == u" "; }

bool IsLetterOrDigit(char16_t c) { return (CharType1Table()[c] & (C1_ALPHA | C1_DIGIT)) != 0; }

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Marks and boundary neutrals have no direction of their own: the bidirectional
// algorithm gives them the level of the text around them.
bool TakesDirectionFromContext(char16_t c) {
  const UCharDirection direction = u_charDirection(c);
  return direction == U_DIR_NON_SPACING_MARK || direction == U_BOUNDARY_NEUTRAL;
}

// Where the chunking of one line stands while its characters are visited.
class ChunkScanner {
 public:
  struct Piece {
    std::size_t first = 0;  // 0-based, inclusive
    std::size_t last = 0;
    bool rtl = false;  // the running direction at the chunk's first character
  };

  ChunkScanner(const UnicodeString& text, bool rtl_base, std::uint32_t lcid) : text_(text), running_rtl_(rtl_base) {
    const int count = static_cast<int>(text.size());
    type2_.assign(text.size(), 0);
    GetStringTypeExW(lcid, CT_CTYPE2, text.data(), count, type2_.data());
    if (rtl_base) {
      type3_.assign(text.size(), 0);
      GetStringTypeExW(lcid, CT_CTYPE3, text.data(), count, type3_.data());
    }
    rtl_base_ = rtl_base;
  }

  std::vector<Piece> Scan(std::size_t start) {
    for (std::size_t i = start; i < text_.size(); ++i) Visit(i);
    Close();
    return std::move(pieces_);
  }

 private:
  int ClassOf(std::size_t i) {
    const char16_t c = text_[i];
    if (c == kZeroWidthNonJoiner) return C2_OTHERNEUTRAL;
    int k = type2_[i];
    if (k > C2_OTHERNEUTRAL) k = C2_NOTAPPLICABLE;
    if (k == C2_NOTAPPLICABLE && TakesDirectionFromContext(c)) {
      if (levels_.empty()) levels_ = BidiLevels(text_, rtl_base_);
      k = (levels_[i] & 1) != 0 ? C2_RIGHTTOLEFT : C2_LEFTTORIGHT;
    }
    return k;
  }

  bool TagJustClosed() const { return in_tag_ && tag_closed_; }

  void Close() {
    if (open_) pieces_.push_back(current_);
    open_ = false;
    if (tag_closed_ || !in_tag_) {
      in_tag_ = false;
      tag_closed_ = false;
    }
  }

  void Append(std::size_t i) {
    if (!open_) {
      current_ = {i, i, running_rtl_};
      open_ = true;
    }
    current_.last = i;
  }

  // Sets the running direction; true when it changed.
  bool RunDirection(bool rtl) {
    const bool changed = rtl != running_rtl_;
    running_rtl_ = rtl;
    return changed;
  }

  void Visit(std::size_t i) {
    const char16_t c = text_[i];
    if (c == kZeroWidthJoiner) {  // joins what is either side of it
      Append(i);
      return;
    }
    const int k = ClassOf(i);
    bool close_before = false;
    bool alone = false;
    bool joins = false;
    switch (k) {
      case C2_LEFTTORIGHT:
      case C2_RIGHTTOLEFT: {
        const bool changed = RunDirection(k == C2_RIGHTTOLEFT);
        close_before = changed || TagJustClosed();
        break;
      }
      case C2_EUROPENUMBER:
      case C2_ARABICNUMBER: {
        const bool changed = RunDirection(false);
        if (in_tag_)
          close_before = changed || TagJustClosed();
        else
          had_number_ = true;  // a number stays with what precedes it
        break;
      }
      case C2_EUROPESEPARATOR:
      case C2_EUROPETERMINATOR: {
        const bool changed = RunDirection(false);
        if (prev_class_ != C2_EUROPESEPARATOR) close_before = changed || TagJustClosed();
        break;
      }
      case C2_COMMONSEPARATOR:
      case C2_BLOCKSEPARATOR:
      case C2_SEGMENTSEPARATOR: {
        const bool after_separator = prev_class_ >= C2_COMMONSEPARATOR && prev_class_ <= C2_SEGMENTSEPARATOR;
        const bool tag_slash = k == C2_COMMONSEPARATOR && in_tag_ && prev_char_ == u'<';
        const bool in_number = had_number_ && (c == u',' || c == u'.') && i + 1 < text_.size() &&
                               IsAsciiDigit(text_[i + 1]);
        joins = after_separator || tag_slash || in_number;
        alone = !joins;
        break;
      }
      case C2_OTHERNEUTRAL:
        if (c == u'<' && TagJustClosed()) close_before = true;
        if (prev_class_ == C2_OTHERNEUTRAL)
          joins = true;
        else
          alone = had_number_ || (rtl_base_ && type3_[i] >= 8);
        break;
      default:  // white space, not applicable, unclassified
        joins = prev_class_ == C2_WHITESPACE || prev_class_ == C2_NOTAPPLICABLE;
        alone = !joins;
        break;
    }
    if (prev_alone_ && !joins) close_before = true;
    if (alone) close_before = true;
    if (close_before) Close();
    if (k == C2_OTHERNEUTRAL && c == u'<') {
      in_tag_ = true;
      tag_closed_ = false;
    } else if (k == C2_OTHERNEUTRAL && c == u'>' && in_tag_) {
      tag_closed_ = true;
    }
    Append(i);
    prev_alone_ = alone || (joins && prev_alone_);
    prev_class_ = k;
    prev_char_ = c;
  }

  const UnicodeString& text_;
  std::vector<std::uint16_t> type2_;
  std::vector<std::uint16_t> type3_;
  std::vector<std::uint8_t> levels_;  // resolved on first need
  bool rtl_base_ = false;
  bool running_rtl_ = false;
  int prev_class_ = -1;
  char16_t prev_char_ = 0;
  bool prev_alone_ = false;
  bool in_tag_ = false;
  bool tag_closed_ = false;
  bool had_number_ = false;
  bool open_ = false;
  Piece current_;
  std::vector<Piece> pieces_;
};

}  // namespace

TWordChunkList::TWordChunkList(const TMyCanvasColourRecAndTypeface& e, bool is_concordancing, char16_t APad_character)
    : fdefault(e), searchword_padding_character(APad_character), concordancing(is_concordancing) {}

TWordChunkList::~TWordChunkList() = default;

void TWordChunkList::Clear() {
  TObjectList<TWordChunkHolder>::Clear();
  has_odd_directions = false;
}

TWordChunk TWordChunkList::GetAWordChunk(std::int32_t i) const {
  if (i < 0 || i >= Count()) return {};
  return Get(i)->data;
}

TExtraFontRec TWordChunkList::SpanFor(std::int32_t first_pos, std::int32_t last_pos, bool single_space,
                                      const TExtraFontList* list) const {
  if (!single_space && list != nullptr) {
    const std::int32_t middle = first_pos + (last_pos - first_pos) / 2;
    for (std::int32_t s = 0; s < list->Count(); ++s) {
      const TExtraFontRec span = list->GetAFontFrec(s);
      if (middle >= span.switch_on_at_char && (span.switch_off_at_char < 0 || middle <= span.switch_off_at_char))
        return span;
    }
  }
  TExtraFontRec own;
  own.colour_rec = fdefault.colourset;
  own.default_typeface = fdefault.default_typeface;
  own.highlight_typeface = fdefault.highlight_typeface;
  own.default_ = true;
  return own;
}

std::int32_t TWordChunkList::Measured(const UnicodeString& text, const TExtraFontRec& span,
                                      TDrawingCanvas& canvas) const {
  const Ttypeface_Set saved = canvas.FontStyle();
  TryToSetFontStyle(canvas, LargerTypeFaceToFontStyles(span.default_typeface, span.highlight_typeface));
  const std::int32_t width = canvas.TextExtent(text).cx;
  canvas.SetFontStyle(saved);
  return width;
}

std::int32_t TWordChunkList::LoadFrom(const UnicodeString& the_lot, std::int32_t midpoint,
                                      std::int32_t hit_characters, const TExtraFontList* fExtraFontList,
                                      TDrawingCanvas& aCanvas, std::uint32_t TheLCID, TBiDiMode aBaseDirection,
                                      bool pad_SWord) {
  Clear();
  if (the_lot.empty()) return -1;
  const auto visible = std::find_if(the_lot.begin(), the_lot.end(), [](char16_t c) { return c > u' '; });
  if (visible == the_lot.end()) return -1;
  const std::int32_t first_visible = static_cast<std::int32_t>(visible - the_lot.begin()) + 1;
  const std::int32_t scan_start = std::min(midpoint, first_visible);
  if (scan_start <= 0) return -1;

  BaseDirection = aBaseDirection;
  const bool rtl = aBaseDirection != bdLeftToRight;
  ChunkScanner scanner(the_lot, rtl, TheLCID);
  const auto pieces = scanner.Scan(static_cast<std::size_t>(scan_start - 1));

  std::int32_t hit_chunk = -1;
  std::int32_t hit_end_chunk = -1;
  // Wide arithmetic: a caller's midpoint and length are not trusted to add up.
  const std::int64_t hit_last = std::int64_t{midpoint} + std::max(hit_characters, 1) - 1;
  for (const auto& piece : pieces) {
    TWordChunk chunk;
    chunk.w = the_lot.substr(piece.first, piece.last - piece.first + 1);
    chunk.odd_direction = piece.rtl != rtl;
    has_odd_directions = has_odd_directions || chunk.odd_direction;
    const auto first_pos = static_cast<std::int32_t>(piece.first) + 1;
    const auto last_pos = static_cast<std::int32_t>(piece.last) + 1;
    chunk.colourAndFont = SpanFor(first_pos, last_pos, IsSingleSpace(chunk.w), fExtraFontList);
    const std::int32_t index = Count();
    if (hit_chunk < 0 && midpoint >= first_pos && midpoint <= last_pos) hit_chunk = index;
    if (hit_end_chunk < 0 && hit_last >= first_pos && hit_last <= last_pos) hit_end_chunk = index;
    Add(std::make_unique<TWordChunkHolder>(std::move(chunk)));
  }
  if (concordancing && pad_SWord && hit_chunk >= 0) {
    Get(hit_chunk)->data.w.insert(0, 1, searchword_padding_character);
    Get(hit_end_chunk >= hit_chunk ? hit_end_chunk : hit_chunk)->data.w.push_back(searchword_padding_character);
  }
  for (std::int32_t i = 0; i < Count(); ++i) {
    TWordChunk& chunk = Get(i)->data;
    chunk.pixel_width = Measured(chunk.w, chunk.colourAndFont, aCanvas);
  }
  if (!concordancing || Count() == 0) return -1;
  return hit_chunk >= 0 ? hit_chunk : Count() - 1;
}

TWordsWhichFit TWordChunkList::WhichWordsFit(std::int32_t start_word, std::int32_t Rect_width,
                                             bool trim_end_spaces) const {
  TWordsWhichFit fit;
  fit.first_segment = start_word;
  fit.last_segment = start_word - 1;
  for (std::int32_t i = std::max(start_word, 0); i < Count(); ++i) {
    const TWordChunk& chunk = Get(i)->data;
    if (trim_end_spaces && i == start_word && IsSingleSpace(chunk.w)) continue;
    if (fit.pixels + chunk.pixel_width > Rect_width) break;
    if (chunk.odd_direction) fit.reorder_check_needed = true;
    fit.last_segment = i;
    fit.pixels += chunk.pixel_width;
  }
  if (trim_end_spaces && fit.last_segment > start_word && IsSingleSpace(Get(fit.last_segment)->data.w))
    fit.pixels -= Get(fit.last_segment)->data.pixel_width;
  return fit;
}

std::int32_t TWordChunkList::LineWidth(std::int32_t first, std::int32_t last) const {
  std::int32_t width = 0;
  for (std::int32_t i = std::max(first, 0); i <= last && i < Count(); ++i) width += Get(i)->data.pixel_width;
  return width;
}

void ReorderAnyLTRSinRTLSequences(TWordChunkList& list, std::int32_t first, std::int32_t last) {
  first = std::max(first, 0);
  last = std::min(last, list.Count() - 1);
  std::int32_t run_start = -1;
  for (std::int32_t i = first; i <= last + 1; ++i) {
    if (i <= last && list.Get(i)->data.odd_direction) {
      if (run_start < 0) run_start = i;
      continue;
    }
    if (run_start < 0) continue;
    std::int32_t run_end = i - 1;
    if (run_end - run_start + 1 > 2) {
      if (IsSingleSpace(list.Get(run_end)->data.w)) --run_end;  // the space before what follows stays
      for (std::int32_t a = run_start, b = run_end; a < b; ++a, --b) list.Exchange(a, b);
    }
    run_start = -1;
  }
}

std::int32_t ShiftUpLinePixels(std::int32_t& x, const TWordChunk& chunk, bool bidi) {
  x += bidi ? -chunk.pixel_width : chunk.pixel_width;
  return chunk.pixel_width;
}

std::int32_t HiInt64(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint64_t>(v) >> 32); }

std::int32_t LoInt64(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

std::unique_ptr<TQYInt64List> FindBoundedSWPositionsInString(const TBaseSearchItems& items, const UnicodeString& s) {
  auto pairs = std::make_unique<TQYInt64List>();
  const UnicodeString upper = MapCaseString(s, CaseDirection::upper);
  for (std::int32_t n = 0; n < items.Count(); ++n) {
    const TSearch_word_format_rec word = items.GetSWR(n);
    if (word.search_text.empty()) continue;
    const bool exact = word.flags.Contains(myCaseIsSensitive);
    const UnicodeString& haystack = exact ? s : upper;
    const UnicodeString needle = exact ? word.search_text : MapCaseString(word.search_text, CaseDirection::upper);
    std::size_t from = 0;
    while (true) {
      const std::size_t at = haystack.find(needle, from);
      if (at == UnicodeString::npos) break;
      const std::size_t end = at + needle.size();
      const bool left_ok = !word.flags.Contains(myLeftBounded) || at == 0 || !IsLetterOrDigit(s[at - 1]);
      const bool right_ok = !word.flags.Contains(myRightBounded) || end >= s.size() || !IsLetterOrDigit(s[end]);
      if (!left_ok || !right_ok) {
        from = at + 1;
        continue;
      }
      const auto start_pos = static_cast<std::int64_t>(at) + 1;
      const auto end_pos = static_cast<std::int64_t>(end) + 1;
      pairs->AddOne((start_pos << 32) | end_pos);
      from = end;
    }
  }
  if (pairs->Count() > 1) pairs->SortAscendingDefault();
  return pairs;
}

TPoint ComputedRectDeadCentre(const TRect& rect, std::int32_t height) {
  return {rect.left + rect.Width() / 2, rect.top + (rect.Height() - height) / 2};
}

std::int32_t ComputedTextDisplacement(TDrawingCanvas& canvas, std::int32_t n) { return n * canvas.TextExtent(u"n").cx; }

std::int32_t ComputedTextHeight(TDrawingCanvas& canvas) { return canvas.TextExtent(u"Yy").cy; }

TSize CanvasPixelWidthAndHeight(const UnicodeString& text, TDrawingCanvas& canvas, bool count_spaces) {
  TSize size = canvas.TextExtent(text);
  if (count_spaces) size.cx += static_cast<std::int32_t>(std::count(text.begin(), text.end(), u' '));
  return size;
}

std::uint32_t GetMyTextFlags(bool bidi) { return ETO_CLIPPED | (bidi ? ETO_RTLREADING : 0); }

std::int32_t GetMyDisplayMargins(std::int32_t margin, bool wanted) { return wanted ? margin : 0; }

bool ColourOrTypeFacesDifferent(const TExtraFontRec& a, const TExtraFontRec& b) {
  return a.colour_rec != b.colour_rec || a.default_typeface != b.default_typeface ||
         a.highlight_typeface != b.highlight_typeface;
}

Ttypeface_Set TypeFaceToFontStyles(Ttypeface_Set s) { return s; }

Ttypeface_Set LargerTypeFaceToFontStyles(Ttypeface_Set a, Ttypeface_Set b) { return TypeFaceToFontStyles(a + b); }

Ttypeface_Set LargerOfTwoTypeFaces(Ttypeface_Set a, Ttypeface_Set b) { return a.IsEmpty() ? b : a; }

bool TryToSetFontStyle(TDrawingCanvas& canvas, Ttypeface_Set styles) {
  return canvas.SetFontStyle(TypeFaceToFontStyles(styles));
}

void TransparentPutAString(bool bidi, const TRect& rect, TDrawingCanvas& canvas, TPoint& point,
                           const UnicodeString& text, bool whole_rect) {
  if (text.empty()) return;
  if (whole_rect) {
    canvas.FillRect(rect);
    point = bidi ? TPoint{rect.right - 4, rect.top} : TPoint{rect.left + 4, rect.top};
  }
  const TBrushStyle saved_brush = canvas.BrushStyle();
  const TTextAlign saved_align = canvas.TextAlign();
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.SetTextAlign(TTextAlign::taLeft);
  const std::int32_t width = canvas.TextExtent(text).cx;
  canvas.TextOut(bidi ? point.x - width : point.x, point.y, &rect, text, bidi);
  point.x += bidi ? -width : width;
  canvas.SetTextAlign(saved_align);
  canvas.SetBrushStyle(saved_brush);
}

void EllipsisOutputALine(TDrawingCanvas& dc, const UnicodeString& s, const TRect& rect, std::int32_t width) {
  if (s.empty()) return;
  TRect cut = rect;
  cut.right = rect.left + width;
  const bool path = s.find(u":\\") != UnicodeString::npos || s.find(u"\\\\") != UnicodeString::npos ||
                    s.front() == u'/';
  TDrawTextFormat format;
  format.ellipsis = path ? TEllipsis::elPath : TEllipsis::elEnd;
  dc.DrawText(cut, s, format);
}

}  // namespace quill
