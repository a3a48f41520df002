#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "drawer_test_support.h"
#include "quillrt/platform/case_mapping.h"

namespace quill {
namespace {

using PaintedRun = testing::Run;
using testing::Runs;
using testing::SeenLeftToRight;
using Layout = std::vector<PaintedRun>;

constexpr std::uint32_t kEnglish = 0x0809;
constexpr std::uint32_t kHebrew = 0x040D;
constexpr std::uint32_t kArabic = 0x0401;

// Metrics of the recording canvas: 8 pixels a character, 4 a space, bold one
// more per character, 16 pixels a line.

TEST(TextDrawer, StartsWithTheDocumentedSettings) {
  TMyTextDrawer drawer;
  EXPECT_EQ(drawer.searchword_padding_character, u' ');
  EXPECT_EQ(drawer.interline_spacing, 2);
  EXPECT_EQ(drawer.search_colours_and_style, StyleSearchColoursAndTypeface());
  EXPECT_EQ(drawer.default_colours_and_typefaces, BogStandardColoursAndTypeface());
  EXPECT_EQ(drawer.Searchlist().ColunaPraProcura, 1);
  EXPECT_EQ(drawer.Alignamento, default_aligned);
  EXPECT_EQ(drawer.BaseDirection, bdLeftToRight);
  EXPECT_EQ(&drawer.ExtraFontListInUse(), drawer.defaultExtraFontList.get());

  TSearchWordItems other;
  drawer.AssignOtherSWList(&other);
  drawer.AddASearchRequest(u"jury");
  drawer.AddASearchRequest(u"court");
  drawer.AddASearchRequest(u"");
  EXPECT_EQ(other.Count(), 2);
  drawer.AssignOtherSWList(nullptr);
  EXPECT_EQ(drawer.Searchlist().Count(), 0);
  drawer.AddSearches(other);
  drawer.AddSearches(other);  // no duplicates
  EXPECT_EQ(drawer.Searchlist().Count(), 2);
  drawer.ClearOneSearch(other.GetSWR(0));
  EXPECT_EQ(drawer.Searchlist().Count(), 1);

  drawer.SetMainFontFaceDeleted(true);
  EXPECT_TRUE(drawer.default_colours_and_typefaces.default_typeface.Contains(tf_strikeout));
  drawer.SetMainFontFaceDeleted(false);
  EXPECT_TRUE(drawer.default_colours_and_typefaces.default_typeface.IsEmpty());
}

TEST(TextDrawer, TextSizesComeFromTheCanvasAndAreZeroWithoutOne) {
  TRecordingCanvas canvas;
  // Fixed metrics: 8 pixels a character, 4 a space, 16 a line.
  EXPECT_EQ(TextSizeOfString(&canvas, u"ab c"), (TSize{28, 16}));
  EXPECT_EQ(TextWidthOfWideString(&canvas, u"jury"), 32);
  EXPECT_EQ(TextSizeOfString(nullptr, u"jury"), TSize{});
  EXPECT_EQ(TextWidthOfWideString(nullptr, u"jury"), 0);
}

TEST(TextDrawer, ShorteningKeepsPathEndsAndSurrogatePairsWhole) {
  const auto units = [](std::u16string_view t) { return static_cast<std::int32_t>(t.size()); };
  EXPECT_EQ(ShortenedWithEllipsis(u"corpus/brown/ca01", 9, TEllipsis::elPath, units), u"cor\u2026/ca01");
  EXPECT_EQ(ShortenedWithEllipsis(u"jury said", 5, TEllipsis::elEnd, units), u"jury\u2026");
  // U+1D11E is two units: it goes whole or stays whole.
  EXPECT_EQ(ShortenedWithEllipsis(u"ab\U0001D11Ecd", 4, TEllipsis::elEnd, units), u"ab\u2026");
  EXPECT_EQ(ShortenedWithEllipsis(u"ab\U0001D11Ecd", 5, TEllipsis::elEnd, units), u"ab\U0001D11E\u2026");
}

TEST(TextDrawer, PlainLeftToRightLineWithASearchHit) {
  TMyTextDrawer drawer;
  drawer.AddASearchRequest(u"jury");
  TRecordingCanvas canvas;
  const std::int32_t height = drawer.DrawAChunkofText(u"The jury said", canvas, {0, 0, 200, 20}, kEnglish);
  EXPECT_EQ(height, 36);  // (16 + 2) x (1 line + 1)
  EXPECT_EQ(Runs(canvas), (Layout{{"The", 0, 0}, {" ", 24, 0}, {"jury", 28, 0}, {" ", 64, 0}, {"said", 68, 0}}));
  const TCanvasCall* hit = testing::CallFor(canvas, u"jury");
  EXPECT_EQ(hit->font_colour, StyleSearchColours()[tct_text]);
  EXPECT_EQ(hit->brush_colour, StyleSearchColours()[tct_background]);
  EXPECT_EQ(hit->font_style, Ttypeface_Set{tf_bold});
  const TCanvasCall* plain = testing::CallFor(canvas, u"said");
  EXPECT_EQ(plain->font_colour, 0x000000);
  EXPECT_EQ(plain->brush_colour, 0xFFFFFF);
  EXPECT_TRUE(plain->font_style.IsEmpty());
  EXPECT_TRUE(plain->clipped);
  EXPECT_EQ(plain->clip, (TRect{0, 0, 200, 20}));
  // The background was filled before the text.
  EXPECT_EQ(canvas.Calls().front().kind, TCanvasCallKind::ccFillRect);
  EXPECT_EQ(drawer.DrawAChunkofText(u"", canvas, {0, 0, 200, 20}, kEnglish), 0);
}

TEST(TextDrawer, SelectedTransparentAndMonochromePainting) {
  TMyTextDrawer drawer;
  drawer.AddASearchRequest(u"jury");
  TRecordingCanvas canvas;
  drawer.DrawAChunkofText(u"The jury", canvas, {0, 0, 200, 20}, kEnglish, default_aligned, true, false, false, false);
  EXPECT_EQ(canvas.Calls().front().brush_colour, 0x660000);  // selected background
  EXPECT_EQ(testing::CallFor(canvas, u"The")->font_colour, 0xFFFFFF);
  EXPECT_EQ(testing::CallFor(canvas, u"jury")->font_colour, StyleSearchColours()[tct_selected_text]);

  canvas.ClearCalls();
  drawer.DrawAChunkofText(u"The jury", canvas, {0, 0, 200, 20}, kEnglish, default_aligned, false, false, false, true);
  EXPECT_EQ(canvas.Calls().front().kind, TCanvasCallKind::ccTextOut);  // no fill
  EXPECT_EQ(testing::CallFor(canvas, u"The")->brush_style, TBrushStyle::bsClear);
  EXPECT_EQ(testing::CallFor(canvas, u"jury")->brush_style, TBrushStyle::bsSolid);  // spans paint opaque

  canvas.ClearCalls();
  drawer.MonoChrome = true;
  drawer.DrawAChunkofText(u"The jury", canvas, {0, 0, 200, 20}, kEnglish, default_aligned, false, false, false, false);
  EXPECT_EQ(testing::CallFor(canvas, u"jury")->font_colour, 0x000000);
  EXPECT_EQ(testing::CallFor(canvas, u"jury")->brush_colour, 0xFFFFFF);

  // A deleted entry keeps the canvas's own colour and style.
  drawer.MonoChrome = false;
  drawer.SetMainFontFaceDeleted(true);
  canvas.SetFontColour(0x123456);
  canvas.ClearCalls();
  drawer.DrawAChunkofText(u"The", canvas, {0, 0, 200, 20}, kEnglish);
  EXPECT_EQ(testing::CallFor(canvas, u"The")->font_colour, 0x123456);
}

TEST(TextDrawer, RefusedFontStyleRaises) {
  TMyTextDrawer drawer;
  drawer.AddASearchRequest(u"jury");
  TRecordingCanvas canvas;
  canvas.refused_styles = {tf_bold};
  EXPECT_THROW(drawer.DrawAChunkofText(u"The jury", canvas, {0, 0, 200, 20}, kEnglish), EFontStyleError);
}

TEST(TextDrawer, WordWrapMovesWholeChunksToTheNextLine) {
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  // Margins of one "M" (8) each side: 84 pixels for text.
  const std::int32_t height = drawer.DrawAChunkofText(u"alpha beta gamma delta", canvas, {0, 0, 100, 100},
                                                      kEnglish, default_aligned, false, false, true, false);
  EXPECT_EQ(Runs(canvas), (Layout{{"alpha", 8, 0}, {" ", 48, 0}, {"beta", 52, 0}, {" ", 84, 0},
                                  {"gamma", 8, 18}, {" ", 48, 18}, {"delta", 52, 18}}));
  EXPECT_EQ(height, 18 * 3);

  // A rectangle lower down wraps just as far.
  canvas.ClearCalls();
  drawer.DrawAChunkofText(u"alpha beta gamma delta", canvas, {0, 300, 100, 400}, kEnglish, default_aligned, false,
                          false, true, false);
  EXPECT_EQ(Runs(canvas).back(), (PaintedRun{"delta", 52, 318}));
}

TEST(TextDrawer, CentredRightAndDecimalAlignment) {
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  drawer.DrawAChunkofText(u"ab cd", canvas, {0, 0, 100, 20}, kEnglish, centre_aligned, false, false, false, false);
  EXPECT_EQ(Runs(canvas), (Layout{{"ab", 32, 0}, {" ", 48, 0}, {"cd", 52, 0}}));

  canvas.ClearCalls();
  drawer.DrawAChunkofText(u"ab cd", canvas, {0, 0, 100, 20}, kEnglish, right_aligned, false, false, false, false);
  EXPECT_EQ(Runs(canvas), (Layout{{"ab", 63, 0}, {" ", 79, 0}, {"cd", 83, 0}}));

  // Numbers of a column end one pixel inside its right edge.
  for (const char16_t* number : {u"12.5", u"3.25", u"100", u"7"}) {
    canvas.ClearCalls();
    drawer.DrawAChunkofText(number, canvas, {0, 0, 100, 20}, kEnglish, decimal_aligned, false, false, false, false);
    ASSERT_EQ(canvas.TextCalls().size(), 1u) << Utf16ToUtf8(number);
    EXPECT_EQ(canvas.TextCalls()[0].rect.right, 99) << Utf16ToUtf8(number);
  }

  // Vertically centred single line.
  canvas.ClearCalls();
  drawer.DrawAChunkofText(u"ab", canvas, {0, 0, 100, 40}, kEnglish, default_aligned, false, true, false, false);
  EXPECT_EQ(Runs(canvas), (Layout{{"ab", 0, 12}}));
}

TEST(TextDrawer, ChunkWiderThanTheRectangleIsShortenedInTheMiddle) {
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  drawer.DrawAChunkofText(u"supercalifragilistic", canvas, {0, 0, 80, 20}, kEnglish);
  const auto calls = canvas.TextCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, TCanvasCallKind::ccDrawText);
  EXPECT_EQ(calls[0].text, u"su\u2026tic");
  EXPECT_LT(calls[0].rect.Width(), 80 - 8);

  // Centred text that cannot fit even its first chunk is shortened and centred.
  canvas.ClearCalls();
  drawer.DrawAChunkofText(u"abcdefghij klm", canvas, {0, 0, 60, 20}, kEnglish, centre_aligned, false, false, false,
                          false);
  ASSERT_FALSE(canvas.TextCalls().empty());
  EXPECT_EQ(canvas.TextCalls()[0].format.align, TDrawTextAlign::dtCentre);
  EXPECT_LT(canvas.TextCalls()[0].rect.Width(), 60 - 8);
}

TEST(TextDrawer, EllipsisOutputALine) {
  TRecordingCanvas canvas;
  EllipsisOutputALine(canvas, u"/home/user/corpus/text.txt", {0, 0, 400, 20}, 100);
  EXPECT_EQ(canvas.TextCalls().back().text, u"/h\u2026/text.txt");
  EXPECT_EQ(canvas.TextCalls().back().draw_rect.right, 100);
  EllipsisOutputALine(canvas, u"C:\\corpus\\a.txt", {0, 0, 400, 20}, 400);
  EXPECT_EQ(canvas.TextCalls().back().format.ellipsis, TEllipsis::elPath);
  EllipsisOutputALine(canvas, u"a long line of words", {0, 0, 400, 20}, 60);
  EXPECT_EQ(canvas.TextCalls().back().text, u"a long \u2026");
  EXPECT_EQ(canvas.TextCalls().back().format.ellipsis, TEllipsis::elEnd);
  const std::size_t before = canvas.Calls().size();
  EllipsisOutputALine(canvas, u"", {0, 0, 400, 20}, 60);
  EXPECT_EQ(canvas.Calls().size(), before);
}

TEST(TextDrawer, RightToLeftLineWithNumbersAndALatinName) {
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  drawer.DrawAChunkofText(u"שלום John Smith 2020 עולם", canvas, {0, 0, 400, 20}, kHebrew);
  // Painted from the right margin leftwards; the Latin phrase and its number
  // read left to right in their own order.
  EXPECT_EQ(Runs(canvas), (Layout{{"שלום", 368, 0}, {" ", 364, 0}, {"2020", 332, 0}, {" ", 328, 0},
                                  {"Smith", 288, 0}, {" ", 284, 0}, {"John", 252, 0}, {" ", 248, 0},
                                  {"עולם", 216, 0}}));
  EXPECT_EQ(SeenLeftToRight(canvas, 0), "םלוע John Smith 2020 םולש");
  for (const TCanvasCall& call : canvas.TextCalls()) {
    EXPECT_TRUE(call.rtl_reading);
    EXPECT_EQ(call.text_align, TTextAlign::taRight);
  }
}

TEST(TextDrawer, ArabicLineWithArabicDigitsWrapsFromTheRight) {
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  // 8-pixel margins; 84 pixels for text on each line.
  drawer.DrawAChunkofText(u"ولد عام ١٩٩٠ في Cairo Egypt", canvas, {0, 0, 100, 60}, kArabic, default_aligned, false,
                          false, true, false);
  EXPECT_EQ(Runs(canvas), (Layout{{"ولد", 68, 0}, {" ", 64, 0}, {"عام", 40, 0}, {" ", 36, 0},
                                  {"١٩٩٠", 60, 18}, {" ", 56, 18}, {"في", 40, 18}, {" ", 36, 18},
                                  {"Egypt", 52, 36}, {" ", 48, 36}, {"Cairo", 8, 36}}));
  EXPECT_EQ(SeenLeftToRight(canvas, 36), "Cairo Egypt");
}

// A concordance line of two search words: "sat" (search word 0) at the centre
// and "dog" (search word 1) in the context.
struct ConcLine {
  UnicodeString text = u"the cat sat on the mat with a dog";
  TExtraFontList spans;
  ConcLine() {
    spans.AddOne(testing::HitSpan(9, 11, 0));
    spans.AddOne(testing::HitSpan(31, 33, 1));
  }
};

TEST(TextDrawerConcordance, CentredLineWithTwoSearchWordsInTheirColours) {
  ConcLine line;
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  const TRect R = drawer.DrawConcText(line.text, 9, 3, canvas, kEnglish, &line.spans, {0, 0, 400, 20}, false, false,
                                      pra_screen);
  EXPECT_EQ(R, (TRect{0, 0, 400, 20}));
  EXPECT_TRUE(drawer.text_fits_within_Rect);
  EXPECT_EQ(drawer.concExtraFontList, nullptr);  // the tool's spans are not kept
  EXPECT_EQ(Runs(canvas), (Layout{{"sat", 200, 0}, {" ", 227, 0}, {"on", 231, 0}, {" ", 247, 0}, {"the", 251, 0},
                                  {" ", 275, 0}, {"mat", 279, 0}, {" ", 303, 0}, {"with", 307, 0}, {" ", 339, 0},
                                  {"a", 343, 0}, {" ", 351, 0}, {"dog", 355, 0},
                                  {"the", 144, 0}, {" ", 168, 0}, {"cat", 172, 0}, {" ", 196, 0}}));
  const TCanvasCall* sat = testing::CallFor(canvas, u"sat");
  const TCanvasCall* dog = testing::CallFor(canvas, u"dog");
  EXPECT_EQ(sat->font_colour, SearchFoundColoursFromNumber(0)[tct_text]);
  EXPECT_EQ(sat->brush_colour, SearchFoundColoursFromNumber(0)[tct_background]);
  EXPECT_EQ(dog->font_colour, SearchFoundColoursFromNumber(1)[tct_text]);
  EXPECT_EQ(dog->brush_colour, SearchFoundColoursFromNumber(1)[tct_background]);
  EXPECT_NE(sat->brush_colour, dog->brush_colour);
  EXPECT_EQ(sat->font_style, Ttypeface_Set{tf_bold});
  EXPECT_TRUE(testing::CallFor(canvas, u"mat")->font_style.IsEmpty());

  // Selected: the hit takes its selected colours; moved right by two "n"s and padded.
  canvas.ClearCalls();
  drawer.HorizontalConcDisplacement = 2;
  drawer.DrawConcText(line.text, 9, 3, canvas, kEnglish, &line.spans, {0, 0, 400, 20}, true, true, pra_screen);
  const TCanvasCall* padded = testing::CallFor(canvas, u" sat ");
  ASSERT_NE(padded, nullptr);
  EXPECT_EQ(padded->rect.left, 216);
  EXPECT_EQ(padded->font_colour, SearchFoundColoursFromNumber(0)[tct_selected_text]);
  EXPECT_EQ(padded->brush_colour, SearchFoundColoursFromNumber(0)[tct_selected_background]);

  // Printing never paints as selected.
  canvas.ClearCalls();
  drawer.DrawConcText(line.text, 9, 3, canvas, kEnglish, &line.spans, {0, 0, 400, 20}, true, false, pra_printer);
  EXPECT_EQ(testing::CallFor(canvas, u"sat")->font_colour, SearchFoundColoursFromNumber(0)[tct_text]);
}

TEST(TextDrawerConcordance, BothSidesWrapInANarrowRectangle) {
  ConcLine line;
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  drawer.DrawConcText(line.text, 9, 3, canvas, kEnglish, &line.spans, {0, 0, 120, 100}, false, false, pra_screen);
  // Centre at (60, 42); space-wide margins. The right side: the centre line,
  // a centred middle line, and a last line at the left margin.
  EXPECT_EQ(Runs(canvas), (Layout{{"sat", 60, 42}, {" ", 87, 42}, {"on", 91, 42}, {" ", 107, 42},
                                  {"the", 8, 60}, {" ", 32, 60}, {"mat", 36, 60}, {" ", 60, 60}, {"with", 64, 60},
                                  {" ", 96, 60}, {"a", 100, 60}, {" ", 108, 60},
                                  {"dog", 4, 78},
                                  {"the", 4, 42}, {" ", 28, 42}, {"cat", 32, 42}, {" ", 56, 42}}));
  EXPECT_TRUE(drawer.text_fits_within_Rect);
}

TEST(TextDrawerConcordance, HitAtTheStartPaintsNothingOnTheLeft) {
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  drawer.DrawConcText(u"Jury said", 1, 4, canvas, kEnglish, nullptr, {0, 0, 400, 20}, false, false, pra_screen);
  for (const TCanvasCall& call : canvas.TextCalls()) EXPECT_GE(call.rect.left, 200);
  EXPECT_EQ(Runs(canvas).front(), (PaintedRun{"Jury", 200, 0}));
}

TEST(TextDrawerConcordance, MeasuringGrowsTheRectangleAtMostNineLinesAndPaintsNothing) {
  UnicodeString many;
  for (int i = 0; i < 60; ++i) many += u"word ";
  const std::int32_t midpoint = 5 * 30 + 1;
  TMyTextDrawer drawer;
  drawer.fjust_measuring = true;
  TRecordingCanvas canvas;
  const TRect R = drawer.DrawConcText(many, midpoint, 4, canvas, kEnglish, nullptr, {0, 0, 40, 16}, false, false,
                                      pra_screen);
  EXPECT_TRUE(canvas.Calls().empty());
  EXPECT_FALSE(drawer.text_fits_within_Rect);
  EXPECT_GT(R.bottom, 16);
  EXPECT_LE(R.bottom, 16 + 9 * 16);
  EXPECT_LT(R.top, 0);
  EXPECT_GE(R.top, -9 * 16);

  // Painting in the same rectangle stops at its edges.
  drawer.fjust_measuring = false;
  drawer.DrawConcText(many, midpoint, 4, canvas, kEnglish, nullptr, {0, 0, 40, 16}, false, false, pra_screen);
  EXPECT_FALSE(drawer.text_fits_within_Rect);
  for (const TCanvasCall& call : canvas.TextCalls()) EXPECT_EQ(call.rect.top, 0);
}

TEST(TextDrawerConcordance, RightToLeftLineRunsFromTheCentreLeftwards) {
  // "He saw John Smith at home", the hit being the verb.
  const UnicodeString text = u"הוא ראה את John Smith בבית";
  TExtraFontList spans;
  spans.AddOne(testing::HitSpan(5, 7, 0));
  TMyTextDrawer drawer;
  TRecordingCanvas canvas;
  drawer.DrawConcText(text, 5, 3, canvas, kHebrew, &spans, {0, 0, 400, 20}, false, false, pra_screen);
  EXPECT_EQ(Runs(canvas), (Layout{{"ראה", 173, 0}, {" ", 169, 0}, {"את", 153, 0}, {" ", 149, 0}, {"Smith", 109, 0},
                                  {" ", 105, 0}, {"John", 73, 0}, {" ", 69, 0}, {"בבית", 37, 0},
                                  {"הוא", 204, 0}, {" ", 200, 0}}));
  // Read from the right: the words before the hit, the hit, then the Latin name
  // in its own order.
  EXPECT_EQ(SeenLeftToRight(canvas, 0), "תיבב John Smith תא האר אוה");
  EXPECT_EQ(testing::CallFor(canvas, u"ראה")->brush_colour, SearchFoundColoursFromNumber(0)[tct_background]);
}

// Concordance lines of "jury" from a news corpus (tags stripped), with "said"
// as a second search word: what a tool builds for every line it shows.
TEST(TextDrawerConcordance, CorpusLinesShowAContiguousWindowAroundTheHit) {
  const std::vector<UnicodeString> lines = {
      u"Only a relative handful of such reports was received '' , the jury said , `` considering the "
      u"widespread interest in the election , the number of voters and the size of this city ''",
      u"The City Purchasing Department , the jury said , `` is lacking in experienced clerical personnel",
      u"The jury said it did find that many of Georgia's registration and election laws `` are outmoded",
  };
  for (const UnicodeString& text : lines) {
    SCOPED_TRACE(Utf16ToUtf8(text));
    TExtraFontList spans;
    const std::array<const char16_t*, 2> words{u"jury", u"said"};
    for (std::int32_t n = 0; n < 2; ++n) {
      TSearchWordItems items;
      items.AddedSearchWords(words[static_cast<std::size_t>(n)]);
      const auto hits = FindBoundedSWPositionsInString(items, text);
      for (std::int32_t h = 0; h < hits->Count(); ++h)
        spans.AddOne(testing::HitSpan(HiInt64(hits->GetAValue(h)), LoInt64(hits->GetAValue(h)) - 1, n));
    }
    const std::int32_t midpoint = static_cast<std::int32_t>(MapCaseString(text, CaseDirection::lower).find(u"jury")) + 1;
    TMyTextDrawer drawer;
    TRecordingCanvas canvas;
    drawer.DrawConcText(text, midpoint, 4, canvas, kEnglish, &spans, {0, 0, 800, 20}, false, false, pra_screen);

    const TCanvasCall* jury = testing::CallFor(canvas, u"jury");
    if (jury == nullptr) jury = testing::CallFor(canvas, u"Jury");
    ASSERT_NE(jury, nullptr);
    EXPECT_EQ(jury->rect.left, 400);
    EXPECT_EQ(jury->brush_colour, SearchFoundColoursFromNumber(0)[tct_background]);
    const TCanvasCall* said = testing::CallFor(canvas, u"said");
    ASSERT_NE(said, nullptr);
    EXPECT_EQ(said->rect.left, 400 + 36 + 4);  // bold "jury", a space
    EXPECT_EQ(said->brush_colour, SearchFoundColoursFromNumber(1)[tct_background]);

    // Runs never overlap, and what is seen is one stretch of the line.
    std::vector<TCanvasCall> calls = canvas.TextCalls();
    std::sort(calls.begin(), calls.end(), [](const auto& a, const auto& b) { return a.rect.left < b.rect.left; });
    for (std::size_t i = 1; i < calls.size(); ++i) EXPECT_GE(calls[i].rect.left, calls[i - 1].rect.right);
    const std::string seen = SeenLeftToRight(canvas, 0);
    EXPECT_NE(Utf16ToUtf8(text).find(seen), std::string::npos) << seen;
    EXPECT_GE(calls.front().rect.left, 4);
    EXPECT_LE(calls.back().rect.right, 796);
  }
}

}  // namespace
}  // namespace quill
