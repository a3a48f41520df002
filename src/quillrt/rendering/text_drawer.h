#pragma once
// The text drawer: cuts a line into word chunks that each carry a direction and
// a colour-and-typeface, measures them on a canvas, decides which chunks fit on
// each visual line, reverses runs that read against the base direction so that
// they read in their own order when painted chunk by chunk, and paints them with
// the colours of search hits, tags and collocates.
//
// Plain text is painted from its reading start (the left margin for
// left-to-right text, the right margin for right-to-left text) with optional
// word wrapping. A concordance line is laid out around a fixed centre: the hit
// and the words after it run from the centre towards the end of the line (to the
// right in left-to-right text, to the left in right-to-left text), the words
// before it run back from the centre, and both sides wrap onto further lines
// when the rectangle is too narrow.
//
// Positions in a line's text (a hit's midpoint, spans) are 1-based.
#include <cstdint>
#include <memory>

#include "quillrt/analysis/number_formats.h"  // IsANumber, which the drawer's callers use with it
#include "quillrt/collections/integer_lists.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/lists.h"
#include "quillrt/language/language_identity.h"
#include "quillrt/process/callbacks.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/rendering/canvas.h"
#include "quillrt/rendering/extra_fonts.h"
#include "quillrt/search/search_word_collections.h"

namespace quill {

// Raised when a canvas refuses the font style a chunk is painted in.
QUILL_DECLARE_EXCEPTION(EFontStyleError, Exception);

struct TWordChunk {
  UnicodeString w;
  std::int32_t pixel_width = 0;
  bool odd_direction = false;  // runs against the base direction
  TExtraFontRec colourAndFont;
};

class QUILLRT_API TWordChunkHolder {
 public:
  explicit TWordChunkHolder(TWordChunk chunk) : data(std::move(chunk)) {}
  TWordChunk data;
};

struct TWordsWhichFit {
  std::int32_t first_segment = 0;
  std::int32_t last_segment = -1;
  std::int32_t pixels = 0;
  bool reorder_check_needed = false;
};

enum TNextWordFitting : std::uint8_t { nw_untested, nw_fits_OK, nw_wont_fit, nw_done_all, nw_found_span };

struct TNextWordFitPlusLastWordnumber {
  TNextWordFitting nextword_fit = nw_untested;
  std::int32_t last_wordnumber_painted = -1;
};

// A chunk shortened in its middle to fit a width.
struct TShrinkRec {
  UnicodeString shrink_str;
  std::int32_t mid = 0;  // where the cut (and the ellipsis) is, 0-based
  TRect R;
};

enum TQYAlignment : std::uint8_t {
  centre_aligned,
  default_aligned,
  right_aligned,
  decimal_aligned,
  plotting_aligned,
  spare_aligned,
  conc_aligned,
  spare2_aligned,
};

enum TQYoutput : std::uint8_t { pra_screen, pra_screen_test, pra_clipboard, pra_printer, pra_print_preview };

// The chunks of one line, owned by the list.
class QUILLRT_API TWordChunkList : public TObjectList<TWordChunkHolder> {
 public:
  TWordChunkList(const TMyCanvasColourRecAndTypeface& e, bool is_concordancing, char16_t APad_character);
  ~TWordChunkList() override;

  // Splits the_lot into chunks, gives each its span and measures it on aCanvas.
  // Returns the index of the chunk holding the hit at midpoint in a concordance
  // list, the last chunk's index when none holds it, and -1 when nothing was made
  // (also for every list that is not a concordance list).
  std::int32_t LoadFrom(const UnicodeString& the_lot, std::int32_t midpoint, std::int32_t hit_characters,
                        const TExtraFontList* fExtraFontList, TDrawingCanvas& aCanvas, std::uint32_t TheLCID,
                        TBiDiMode aBaseDirection, bool pad_SWord);
  // The chunks from start_word that fit Rect_width. With trim_end_spaces a
  // single-space chunk at start_word is skipped and a trailing one not counted.
  TWordsWhichFit WhichWordsFit(std::int32_t start_word, std::int32_t Rect_width, bool trim_end_spaces) const;
  // The summed widths of chunks first..last.
  std::int32_t LineWidth(std::int32_t first, std::int32_t last) const;
  // A copy of chunk i, or an empty chunk for an index outside the list.
  TWordChunk GetAWordChunk(std::int32_t i) const;
  void Clear() override;

  TMyCanvasColourRecAndTypeface fdefault;
  char16_t searchword_padding_character = u' ';
  bool concordancing = false;
  TBiDiMode BaseDirection = bdLeftToRight;
  bool has_odd_directions = false;

 private:
  TExtraFontRec SpanFor(std::int32_t first_pos, std::int32_t last_pos, bool single_space,
                        const TExtraFontList* list) const;
  std::int32_t Measured(const UnicodeString& text, const TExtraFontRec& span, TDrawingCanvas& canvas) const;
};

// Reverses, within chunks first..last, every run of more than two consecutive
// odd-direction chunks (a single-space chunk ending the run stays in place).
QUILLRT_API void ReorderAnyLTRSinRTLSequences(TWordChunkList& list, std::int32_t first, std::int32_t last);
// Moves x past the chunk (leftwards for right-to-left painting); returns its width.
QUILLRT_API std::int32_t ShiftUpLinePixels(std::int32_t& x, const TWordChunk& chunk, bool bidi);

// Every hit of every search word of items in s, as (start << 32 | end): start
// 1-based, end the position after the hit; sorted when there are several.
QUILLRT_API std::unique_ptr<TQYInt64List> FindBoundedSWPositionsInString(const TBaseSearchItems& items,
                                                                        const UnicodeString& s);
QUILLRT_API std::int32_t HiInt64(std::int64_t v);
QUILLRT_API std::int32_t LoInt64(std::int64_t v);

// Paints text with a clear brush at point and moves point past it (leftwards for
// right-to-left text). With whole_rect the rectangle is filled first and the
// text drawn 4 pixels in from its reading start.
QUILLRT_API void TransparentPutAString(bool bidi, const TRect& rect, TDrawingCanvas& canvas, TPoint& point,
                                       const UnicodeString& text, bool whole_rect);
// Draws s into rect cut to width: a path (holding ":\", "\\" or starting with
// "/") loses its middle, anything else its end, to an ellipsis.
QUILLRT_API void EllipsisOutputALine(TDrawingCanvas& dc, const UnicodeString& s, const TRect& rect,
                                     std::int32_t width);
QUILLRT_API TPoint ComputedRectDeadCentre(const TRect& rect, std::int32_t height);
// n widths of "n".
QUILLRT_API std::int32_t ComputedTextDisplacement(TDrawingCanvas& canvas, std::int32_t n);
QUILLRT_API std::int32_t ComputedTextHeight(TDrawingCanvas& canvas);
// The text's size; with count_spaces one more pixel of width per space.
QUILLRT_API TSize CanvasPixelWidthAndHeight(const UnicodeString& text, TDrawingCanvas& canvas,
                                            bool count_spaces = false);

// The text-out flags: always clipped, right-to-left reading for right-to-left text.
inline constexpr std::uint32_t ETO_CLIPPED = 0x0004;
inline constexpr std::uint32_t ETO_RTLREADING = 0x0080;
QUILLRT_API std::uint32_t GetMyTextFlags(bool bidi);
QUILLRT_API std::int32_t GetMyDisplayMargins(std::int32_t margin, bool wanted);

QUILLRT_API bool ColourOrTypeFacesDifferent(const TExtraFontRec& a, const TExtraFontRec& b);
// Typefaces map bit for bit onto font styles.
QUILLRT_API Ttypeface_Set TypeFaceToFontStyles(Ttypeface_Set s);
QUILLRT_API Ttypeface_Set LargerTypeFaceToFontStyles(Ttypeface_Set a, Ttypeface_Set b);
// a, unless a is empty.
QUILLRT_API Ttypeface_Set LargerOfTwoTypeFaces(Ttypeface_Set a, Ttypeface_Set b);
QUILLRT_API bool TryToSetFontStyle(TDrawingCanvas& canvas, Ttypeface_Set styles);

class QUILLRT_API TMyTextDrawer : public TObject {
 public:
  TMyTextDrawer();
  ~TMyTextDrawer() override;
  TMyTextDrawer(const TMyTextDrawer&) = delete;
  TMyTextDrawer& operator=(const TMyTextDrawer&) = delete;

  // Search words whose hits are coloured.
  void AddASearchRequest(const UnicodeString& astring);
  std::int32_t AddASearch(const TSearch_word_format_rec& aRec);
  void AddSearches(const TBaseSearchItems& aList);
  void SetASearch(std::int32_t idx, const TSearch_word_format_rec& aRec);
  std::int32_t IndexOfASearch(const TSearch_word_format_rec& aRec) const;
  void ClearOneSearch(const TSearch_word_format_rec& last_search);
  void ClearAllSearches();
  std::int32_t GetSearchHits() const;
  bool LineContainsAnySearchWords(const UnicodeString& s) const;
  // Uses anOtherSWList (not owned) instead of the own list; null returns to it.
  void AssignOtherSWList(TSearchWordItems* anOtherSWList);
  TSearchWordItems& Searchlist() const;

  // Colours.
  void SetMainColoursTo(const TMyCanvasColourRec& aColour);
  void SetColoursToMonochrome();
  void SetBaseTypefaces(bool highlight, Ttypeface_Set typefaces);
  void IncludeOrExcludeInDefaultTypeface(TMy_typeface t, bool including);
  void SetMainFontFaceDeleted(bool Value);
  void SetExtraFontList(TExtraFontList* Value) { concExtraFontList = Value; }
  TExtraFontRec DefaultExtraFontRec() const;
  TExtraFontList& ExtraFontListInUse() const;

  // Lays out a concordance line around the centre of R with the hit at midpoint
  // (1-based) of hit_characters characters. Returns R, grown when measuring
  // found it too small.
  TRect DrawConcText(const UnicodeString& all_lines, std::int32_t midpoint, std::int32_t hit_characters,
                     TDrawingCanvas& aCanvas, std::uint32_t anLCID, TExtraFontList* AConcExtraFontList, TRect R,
                     bool Ahighlighted, bool APaddingSW, TQYoutput Outputting);
  // Paints plain text with the drawer's display settings; returns the height used.
  std::int32_t DrawAChunkofText(const UnicodeString& aChunk, TDrawingCanvas& aCanvas, const TRect& aRect,
                                std::uint32_t anLCID);
  std::int32_t DrawAChunkofText(const UnicodeString& aChunk, TDrawingCanvas& aCanvas, const TRect& aRect,
                                std::uint32_t anLCID, TQYAlignment aAligned, bool Aselected, bool aVCentred,
                                bool aWord_wrapped, bool aTransparentBackground);
  // One line of plain text, neither wrapped nor searched for hits.
  void ParseAndPaintOneLine(const UnicodeString& line, TDrawingCanvas& aCanvas, const TRect& aRect,
                            TQYAlignment anAlignment, bool Aselected, bool aVCentred, std::uint32_t anLCID);

  // Steps, public so that the controls can compose their own painting.
  TNextWordFitPlusLastWordnumber PaintOneLine(TWordChunkList& list, std::int32_t first_chunk,
                                              std::int32_t line_number, TDrawingCanvas& aCanvas,
                                              const TRect& aRect);
  TWordsWhichFit ComputedFitSpan(TWordChunkList& list, std::int32_t first_chunk, const TRect& aRect) const;
  TNextWordFitting NextWordFitsOK(std::int32_t x, std::int32_t next, const TRect& rect,
                                  const TWordChunkList& list) const;
  // Paints chunks first..last in reading order from reading_start_x.
  void ConcPaintOneLineByWordNumbers(TWordChunkList& list, std::int32_t first, std::int32_t last,
                                     std::int32_t reading_start_x, std::int32_t y, TDrawingCanvas& aCanvas,
                                     const TRect& clip);
  void PaintAColouredConcLine(TWordChunkList& list, std::int32_t first, std::int32_t last, TQYAlignment aligned,
                              std::int32_t first_line_x, std::int32_t y, TDrawingCanvas& aCanvas, const TRect& R);
  // The reading start of a line of line_pixels: its left end for left-to-right
  // text, its right end for right-to-left text.
  std::int32_t GetPlaceXForLineWidth(const TRect& aRect, std::int32_t line_pixels, TQYAlignment aligned) const;
  std::int32_t GetPlaceXNearMargin(const TRect& aRect) const;
  TPoint DefaultRectPlace(const TRect& aRect, bool Bidi) const;
  void SetupHighlightOutputColours(TDrawingCanvas& canvas, bool highlighted, const TRect& rect, TQYoutput output);
  void SetColoursAndTypeForWord(const TWordChunk& chunk, TDrawingCanvas& canvas) const;
  void SetFontStyle(TDrawingCanvas& canvas, Ttypeface_Set styles) const;
  bool RightToLeft() const { return BaseDirection != bdLeftToRight; }

  char16_t searchword_padding_character = u' ';
  bool fjust_measuring = false;  // lay out and measure, paint nothing
  std::int32_t line_height = 0;
  std::int32_t interline_spacing = 2;
  TMyCanvasColourRecAndTypeface search_colours_and_style;
  TMyCanvasColourRecAndTypeface default_colours_and_typefaces;
  TSearchWordItems* otherswlist = nullptr;  // not owned
  std::unique_ptr<TSearchWordItems> fSearchlist;
  std::unique_ptr<TExtraFontList> defaultExtraFontList;
  TExtraFontList* concExtraFontList = nullptr;  // not owned
  TBiDiMode BaseDirection = bdLeftToRight;
  bool DeletedEntry = false;
  bool text_fits_within_Rect = false;
  bool MonoChrome = false;
  std::int32_t HorizontalConcDisplacement = 0;  // shift of the centre, in widths of "n"
  std::int32_t edge_margin = 0;
  TQYAlignment Alignamento = default_aligned;
  bool Selecionado = false;  // paint as selected
  bool VCentred = false;
  bool Word_wrapped = false;
  bool Transparent_Background = false;
  bool using_otherSWList = false;

 private:
  struct ConcSide;
  void PaintChunk(const TWordChunk& chunk, std::int32_t& x, std::int32_t y, TDrawingCanvas& canvas,
                  const TRect& clip) const;
  void PaintShrunkChunk(const TWordChunk& chunk, std::int32_t& x, std::int32_t y, TDrawingCanvas& canvas,
                        const TRect& rect) const;
  void FillSpansFromSearchHits(const UnicodeString& text);
  // Places chunks from `from` onwards (forward) or backwards into lines, growing R
  // while measuring.
  ConcSide PlaceConcSide(const TWordChunkList& list, std::int32_t from, bool forward, std::int32_t centre_x,
                         std::int32_t centre_y, std::int32_t text_height, TRect& R);
  void PaintConcSide(TWordChunkList& list, const ConcSide& side, bool forward, std::int32_t centre_x,
                     std::int32_t centre_y, std::int32_t text_height, TDrawingCanvas& canvas, const TRect& R);
};

}  // namespace quill
