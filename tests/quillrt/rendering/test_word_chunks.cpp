#include <gtest/gtest.h>

#include "drawer_test_support.h"

namespace quill {
namespace {

using testing::ChunkTexts;
using Texts = std::vector<std::string>;

constexpr std::uint32_t kEnglish = 0x0809;
constexpr std::uint32_t kHebrew = 0x040D;
constexpr std::uint32_t kArabic = 0x0401;

struct Chunked {
  TRecordingCanvas canvas;
  TWordChunkList list{BogStandardColoursAndTypeface(), false, u' '};
  std::int32_t Load(const UnicodeString& text, std::uint32_t lcid, const TExtraFontList* spans = nullptr) {
    return list.LoadFrom(text, static_cast<std::int32_t>(text.size()), 0, spans, canvas, lcid,
                         BiDiModeFromLCID(lcid), false);
  }
  std::vector<bool> Odd() const {
    std::vector<bool> odd;
    for (int i = 0; i < list.Count(); ++i) odd.push_back(list.Get(i)->data.odd_direction);
    return odd;
  }
};

TEST(WordChunks, SplitsWordsSpacesPunctuationNumbersAndTags) {
  Chunked c;
  c.Load(u"  The jury said, \"it was 12,5% or 3.25\".", kEnglish);
  // Leading spaces are not scanned; a comma after a number outside a tag and
  // before a digit stays in the number; separators stand alone.
  EXPECT_EQ(ChunkTexts(c.list), (Texts{"The", " ", "jury", " ", "said", ",", " ", "\"it", " ", "was", " ", "12,5%",
                                       " ", "or", " ", "3.25", "\"", "."}));
  EXPECT_FALSE(c.list.has_odd_directions);
  EXPECT_EQ(c.list.Get(0)->data.pixel_width, 24);
  EXPECT_EQ(c.list.Get(1)->data.pixel_width, 4);

  c.Load(u"<b>Fulton</b>  County", kEnglish);
  // A tag closes before the word that follows it; runs of white space are one chunk.
  EXPECT_EQ(ChunkTexts(c.list), (Texts{"<b>", "Fulton</b>", "  ", "County"}));

  c.Load(u"a\u200Db", kEnglish);  // the joiner keeps its neighbours together
  EXPECT_EQ(ChunkTexts(c.list), (Texts{"a\u200Db"}));
  EXPECT_EQ(c.Load(u"", kEnglish), -1);
  EXPECT_EQ(c.list.Count(), 0);
  c.Load(u"    ", kEnglish);
  EXPECT_EQ(c.list.Count(), 0);
}

TEST(WordChunks, DirectionsInRightToLeftText) {
  Chunked c;
  c.Load(u"שלום John Smith 2020 עולם", kHebrew);
  EXPECT_EQ(ChunkTexts(c.list), (Texts{"שלום", " ", "John", " ", "Smith", " ", "2020", " ", "עולם"}));
  EXPECT_EQ(c.Odd(), (std::vector<bool>{false, false, true, true, true, true, true, true, false}));
  EXPECT_TRUE(c.list.has_odd_directions);

  // Vowel marks have no direction of their own: they stay in their word.
  c.Load(u"مُحَمَّد رسول", kArabic);
  EXPECT_EQ(ChunkTexts(c.list), (Texts{"مُحَمَّد", " ", "رسول"}));
  EXPECT_EQ(c.list.Get(0)->data.pixel_width, 32);  // marks take no width
  EXPECT_FALSE(c.list.has_odd_directions);

  // A Hebrew word in English text runs against the base direction, and so does
  // the space after it, until a letter sets the direction back.
  c.Load(u"the word שלום means peace", kEnglish);
  EXPECT_EQ(c.Odd(), (std::vector<bool>{false, false, false, false, true, true, false, false, false}));
}

TEST(WordChunks, SpansHitsAndPadding) {
  TExtraFontList spans;
  spans.AddOne(testing::HitSpan(5, 7, 0));    // "cat"
  spans.AddOne(testing::HitSpan(13, -1, 1));  // open-ended, from "on"
  TRecordingCanvas canvas;
  TWordChunkList list(BogStandardColoursAndTypeface(), true, u'|');
  const UnicodeString line = u"the cat sat on it";
  EXPECT_EQ(list.LoadFrom(line, 5, 3, &spans, canvas, kEnglish, bdLeftToRight, true), 2);
  EXPECT_EQ(ChunkTexts(list), (Texts{"the", " ", "|cat|", " ", "sat", " ", "on", " ", "it"}));
  EXPECT_FALSE(list.Get(2)->data.colourAndFont.default_);
  EXPECT_EQ(list.Get(2)->data.colourAndFont.colour_rec, SearchFoundColoursFromNumber(0));
  EXPECT_EQ(list.Get(2)->data.pixel_width, 5 * 9);  // measured bold, with its padding
  EXPECT_TRUE(list.Get(4)->data.colourAndFont.default_);
  EXPECT_TRUE(list.Get(7)->data.colourAndFont.default_);  // a single space never takes a span
  EXPECT_EQ(list.Get(8)->data.colourAndFont.colour_rec, SearchFoundColoursFromNumber(1));
  EXPECT_EQ(canvas.FontStyle(), Ttypeface_Set{});  // the canvas's style is restored

  // A hit beyond the text falls back to the last chunk.
  EXPECT_EQ(list.LoadFrom(line, 40, 2, &spans, canvas, kEnglish, bdLeftToRight, false), 8);
  EXPECT_EQ(list.GetAWordChunk(99).w, u"");
}

TEST(WordChunks, WhichWordsFit) {
  Chunked c;
  c.Load(u"ab cd ef ", kEnglish);  // 16 4 16 4 16 4
  TWordsWhichFit fit = c.list.WhichWordsFit(0, 10, false);
  EXPECT_EQ(fit.last_segment, -1);
  EXPECT_EQ(fit.pixels, 0);
  fit = c.list.WhichWordsFit(0, 40, false);
  EXPECT_EQ(fit.last_segment, 3);
  EXPECT_EQ(fit.pixels, 40);
  fit = c.list.WhichWordsFit(0, 40, true);  // the trailing space is not counted
  EXPECT_EQ(fit.last_segment, 3);
  EXPECT_EQ(fit.pixels, 36);
  fit = c.list.WhichWordsFit(1, 36, true);  // the leading space is passed over
  EXPECT_EQ(fit.first_segment, 1);
  EXPECT_EQ(fit.last_segment, 4);
  EXPECT_EQ(fit.pixels, 36);
  EXPECT_FALSE(fit.reorder_check_needed);
  EXPECT_EQ(c.list.LineWidth(0, 2), 36);
}

TEST(WordChunks, ReordersLeftToRightPhrasesOfMoreThanTwoChunks) {
  Chunked c;
  c.Load(u"שלום John Smith 2020 עולם", kHebrew);
  ReorderAnyLTRSinRTLSequences(c.list, 0, c.list.Count() - 1);
  EXPECT_EQ(ChunkTexts(c.list), (Texts{"שלום", " ", "2020", " ", "Smith", " ", "John", " ", "עולם"}));

  c.Load(u"שלום 2020 עולם", kHebrew);  // "2020" and its space: two chunks stay
  ReorderAnyLTRSinRTLSequences(c.list, 0, c.list.Count() - 1);
  EXPECT_EQ(ChunkTexts(c.list), (Texts{"שלום", " ", "2020", " ", "עולם"}));
}

TEST(WordChunks, BoundedSearchHitsInAPlainString) {
  TSearchWordItems items;
  items.AddedSearchWords(u"cat");
  items.AddedSearchWords(u"*ing");
  const auto pairs = FindBoundedSWPositionsInString(items, u"Cat concatenate cat. sing");
  // "concatenate" is no hit of a bounded word; "*ing" is bounded on the right only.
  ASSERT_EQ(pairs->Count(), 3);
  EXPECT_EQ(HiInt64(pairs->GetAValue(0)), 1);
  EXPECT_EQ(LoInt64(pairs->GetAValue(0)), 4);
  EXPECT_EQ(HiInt64(pairs->GetAValue(1)), 17);
  EXPECT_EQ(LoInt64(pairs->GetAValue(1)), 20);
  EXPECT_EQ(HiInt64(pairs->GetAValue(2)), 23);
  EXPECT_EQ(LoInt64(pairs->GetAValue(2)), 26);

  TMyTextDrawer drawer;
  drawer.AddASearchRequest(u"jury");
  EXPECT_TRUE(drawer.LineContainsAnySearchWords(u"The JURY said"));
  EXPECT_FALSE(drawer.LineContainsAnySearchWords(u"the injury"));
}

TEST(WordChunks, NumbersAndSmallHelpers) {
  EXPECT_TRUE(IsANumber(u"12,5%"));
  EXPECT_FALSE(IsANumber(u"12a"));
  EXPECT_TRUE(IsANumber(u""));
  EXPECT_TRUE(IsANumber(u"-42"));
  EXPECT_TRUE(IsANumber(u"١٢٣"));
  EXPECT_EQ(GetMyTextFlags(true), ETO_CLIPPED | ETO_RTLREADING);
  EXPECT_EQ(GetMyTextFlags(false), ETO_CLIPPED);
  EXPECT_EQ(GetMyDisplayMargins(5, false), 0);
  EXPECT_EQ(LargerOfTwoTypeFaces({}, {tf_italics}), Ttypeface_Set{tf_italics});
  EXPECT_EQ(LargerTypeFaceToFontStyles({tf_bold}, {tf_italics}), (Ttypeface_Set{tf_bold, tf_italics}));
  TExtraFontRec a;
  TExtraFontRec b = a;
  b.switch_on_at_char = 9;  // positions do not make spans look different
  EXPECT_FALSE(ColourOrTypeFacesDifferent(a, b));
  b.highlight_typeface = {tf_bold};
  EXPECT_TRUE(ColourOrTypeFacesDifferent(a, b));
  EXPECT_EQ(HiInt64(-1), -1);
  EXPECT_EQ(LoInt64((std::int64_t{7} << 32) | 0xFFFFFFFF), -1);

  TRecordingCanvas canvas;
  EXPECT_EQ(CanvasPixelWidthAndHeight(u"a b", canvas, true), (TSize{21, 16}));
  EXPECT_EQ(ComputedTextDisplacement(canvas, 3), 24);
  EXPECT_EQ(ComputedRectDeadCentre({10, 10, 110, 50}, 16), (TPoint{60, 22}));
}

TEST(WordChunks, TransparentPutAStringMovesThePointAlong) {
  TRecordingCanvas canvas;
  canvas.SetBrushColour(0x00FF00);
  TPoint point{100, 5};
  TransparentPutAString(false, {0, 0, 300, 20}, canvas, point, u"abc", false);
  EXPECT_EQ(point, (TPoint{124, 5}));
  TransparentPutAString(true, {0, 0, 300, 20}, canvas, point, u"אב", false);
  EXPECT_EQ(point, (TPoint{108, 5}));
  ASSERT_EQ(canvas.Calls().size(), 2u);
  EXPECT_EQ(canvas.Calls()[0].brush_style, TBrushStyle::bsClear);
  EXPECT_EQ(canvas.Calls()[1].rect.left, 108);
  EXPECT_TRUE(canvas.Calls()[1].rtl_reading);
  EXPECT_EQ(canvas.BrushStyle(), TBrushStyle::bsSolid);  // restored

  canvas.ClearCalls();
  TransparentPutAString(true, {0, 0, 300, 20}, canvas, point, u"ab", true);
  ASSERT_EQ(canvas.Calls().size(), 2u);
  EXPECT_EQ(canvas.Calls()[0].kind, TCanvasCallKind::ccFillRect);
  EXPECT_EQ(canvas.Calls()[1].rect.right, 296);  // 4 pixels in from the reading start
  EXPECT_EQ(point, (TPoint{280, 0}));
}

TEST(WordChunks, VisualOrderOfARun) {
  EXPECT_EQ(VisualOrder(u"abc", false), u"abc");
  EXPECT_EQ(VisualOrder(u"שלום", true), u"םולש");
  EXPECT_EQ(VisualOrder(u"עד 2020 (כן)", true), u"(ןכ) 2020 דע");
  const auto levels = BidiLevels(u"ab שלום", false);
  EXPECT_EQ(levels.front(), 0);
  EXPECT_EQ(levels.back(), 1);
}

}  // namespace
}  // namespace quill
