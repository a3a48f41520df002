#include <gtest/gtest.h>

#include <vector>

#include "quillrt/framework/streams.h"
#include "quillrt/rendering/colours.h"
#include "quillrt/rendering/extra_fonts.h"
#include "quillrt/rendering/style_colours.h"

namespace quill {
namespace {

std::uint32_t U32At(const std::uint8_t* b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(Colours, PresetsAndSearchWordCycle) {
  EXPECT_EQ(BogStandardColours().colours, (std::array<TColor, 4>{0x000000, 0xFFFFFF, 0xFFFFFF, 0x660000}));
  EXPECT_EQ(StyleSearchColours().colours, (std::array<TColor, 4>{0xFFFFFF, 0x000080, 0x000080, 0xFFFFFF}));
  EXPECT_TRUE(BogStandardColoursAndTypeface().default_typeface.IsEmpty());
  EXPECT_EQ(StyleSearchColoursAndTypeface().highlight_typeface, Ttypeface_Set{tf_bold});

  EXPECT_EQ(SearchFoundColoursFromNumber(7), SearchFoundColoursFromNumber(2));
  EXPECT_EQ(SearchFoundColoursFromNumber(2).colours, (std::array<TColor, 4>{0xFFFFFF, 0xFFFFFF, 0x800080, 0x800080}));
  EXPECT_EQ(SearchFoundColoursFromNumber(-3), SearchFoundColoursFromNumber(4));
  EXPECT_EQ(SearchFoundColoursFromNumber(0)[tct_background], 0x006400);
  EXPECT_EQ(SearchFoundColoursAndFontStyleFromNumber(1).colourset, SearchFoundColoursFromNumber(1));
  EXPECT_EQ(SearchFoundColoursAndFontStyleFromNumber(1).default_typeface, Ttypeface_Set{tf_bold});

  EXPECT_EQ(TextColourFromNumber(5), GetABaseTMSTextColour());
  EXPECT_EQ(TextColourFromNumber(-1), GetABaseTMSTextColour());
  EXPECT_EQ(TextColourFromNumber(1), 0xFF0000);
  EXPECT_EQ(TextColourFromNumber(9), 0xD30094);
}

TEST(Colours, TypefaceSetIsOneByteInFontStyleOrder) {
  const Ttypeface_Set all{tf_bold, tf_italics, tf_underline, tf_strikeout};
  EXPECT_EQ(all.AsByte(), 0x0F);
  EXPECT_EQ(Ttypeface_Set{tf_underline}.AsByte(), 0x04);
  EXPECT_EQ(Ttypeface_Set::FromByte(0xF2), Ttypeface_Set{tf_italics});
  EXPECT_EQ((Ttypeface_Set{tf_bold} + Ttypeface_Set{tf_strikeout}).AsByte(), 0x09);
}

TEST(Colours, StyleColoursByOrdinal) {
  EXPECT_EQ(GetTMSBackgroundColour(0), 0xFDEADA);
  EXPECT_EQ(GetTMSBackgroundColour(5), clBtnFace);
  EXPECT_EQ(GetTMSHighlightBackgroundColour(6), 0x7BEEFF);
  EXPECT_EQ(GetTMSHighlightedTextColour(3), 0x000000);
  EXPECT_EQ(GetTMSHighlightedTextColour(12), 0xFFFFFF);
  EXPECT_EQ(GetTMSDarkScrollBackgroundColour(8), 0x4B4B4B);
  EXPECT_EQ(GetTMSDarkScrollBackgroundColour(11), 0xD4D4D4);
  // 13 and above, and ordinals that are no style, share one set.
  EXPECT_EQ(GetTMSHighlightBackgroundColour(13), 0xE0A57D);
  EXPECT_EQ(GetTMSHighlightBackgroundColour(40), 0xE0A57D);
  EXPECT_EQ(GetTMSDarkScrollBackgroundColour(-1), clBtnFace);
  for (TTMSStyle style = 0; style < 15; ++style) EXPECT_EQ(GetTMSTextColour(style), 0);
  const TTMSStyle saved = GlobalTMSStyle;
  GlobalTMSStyle = 7;
  EXPECT_EQ(TextColourFromNumber(10), GetTMSTextColour(7));
  GlobalTMSStyle = saved;
}

TExtraFontRec FullSpan() {
  TExtraFontRec rec;
  rec.switch_on_at_char = 0x01020304;
  rec.switch_off_at_char = -2;
  rec.colour_rec = {{0x112233, 0x445566, 0x778899, 0x0A0B0C}};
  rec.spare_typefaces = {tf_italics};
  rec.Colouring_word_instead_of_tag = true;
  rec.default_ = false;
  rec.applies_to = efc_sort2;
  rec.default_typeface = {tf_bold, tf_underline};
  rec.highlight_typeface = {tf_strikeout};
  rec.spare_determined = true;
  for (std::size_t i = 0; i < rec.spareInts.size(); ++i) rec.spareInts[i] = 100 + static_cast<std::int32_t>(i);
  return rec;
}

TEST(ExtraFontRec, EveryFieldAtItsOffset) {
  const TExtraFontRecBytes b = ExtraFontRecToBytes(FullSpan());
  EXPECT_EQ(U32At(b.data(), 0), 0x01020304u);
  EXPECT_EQ(U32At(b.data(), 4), 0xFFFFFFFEu);
  EXPECT_EQ(U32At(b.data(), 8), 0x112233u);
  EXPECT_EQ(U32At(b.data(), 12), 0x445566u);
  EXPECT_EQ(U32At(b.data(), 16), 0x778899u);
  EXPECT_EQ(U32At(b.data(), 20), 0x0A0B0Cu);
  EXPECT_EQ(b[24], 0x02);
  EXPECT_EQ(b[25] | b[26] | b[27], 0);  // padding
  EXPECT_EQ(b[28], 1);
  EXPECT_EQ(b[29], 0);
  EXPECT_EQ(b[30], efc_sort2);
  EXPECT_EQ(b[31], 0x05);
  EXPECT_EQ(b[32], 0x08);
  EXPECT_EQ(b[33], 1);
  EXPECT_EQ(b[34] | b[35], 0);
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(U32At(b.data(), 36 + 4 * i), 100 + i);
  EXPECT_EQ(ExtraFontRecFromBytes(b.data()), FullSpan());
}

std::vector<std::uint8_t> Saved(TExtraFontList& list) {
  TMemoryStream stream;
  EXPECT_TRUE(list.XSaveToStream(stream, 20));
  return stream.Bytes();
}

TEST(ExtraFontList, WritesVersionThreeAndReadsItBackByteForByte) {
  TExtraFontList list;
  EXPECT_EQ(list.GetEFVersion(), 0);
  list.AddOne(FullSpan());
  TExtraFontRec second;
  second.switch_on_at_char = 7;
  second.switch_off_at_char = 9;
  second.default_ = true;
  list.AddOne(second);

  const std::vector<std::uint8_t> bytes = Saved(list);
  EXPECT_EQ(list.GetEFVersion(), 3);  // raised by saving, and kept
  ASSERT_EQ(bytes.size(), 8u + 2 * 72u);
  EXPECT_EQ(U32At(bytes.data(), 0), 2u);
  EXPECT_EQ(U32At(bytes.data(), 4), 3u);
  const TExtraFontRecBytes first = ExtraFontRecToBytes(FullSpan());
  EXPECT_TRUE(std::equal(first.begin(), first.end(), bytes.begin() + 8));

  TMemoryStream in;
  in.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  in.Seek(0, TSeekOrigin::soBeginning);
  TExtraFontList back;
  ASSERT_TRUE(back.XReadFromStream(in, 25));
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.GetAFontFrec(0), FullSpan());  // version 3 keeps its own typefaces
  EXPECT_EQ(back.GetAFontFrec(1), second);
  EXPECT_TRUE(back.insert_space_between_words);
  EXPECT_EQ(Saved(back), bytes);
}

TEST(ExtraFontList, ReadsTheOlderFormsOfTheStream) {
  // Work base below 20: a count, no version, 28-byte spans.
  TMemoryStream old_form;
  old_form.WriteLE<std::int32_t>(1);
  const TExtraFontRecBytes full = ExtraFontRecToBytes(FullSpan());
  old_form.Write(full.data(), 28);
  old_form.Seek(0, TSeekOrigin::soBeginning);
  TExtraFontList list;
  ASSERT_TRUE(list.XReadFromStream(old_form, 19));
  ASSERT_EQ(list.Count(), 1);
  const TExtraFontRec rec = list.GetAFontFrec(0);
  EXPECT_EQ(rec.switch_on_at_char, 0x01020304);
  EXPECT_EQ(rec.colour_rec, FullSpan().colour_rec);
  EXPECT_EQ(rec.default_typeface, Ttypeface_Set{tf_italics});  // from the older typeface byte
  EXPECT_EQ(rec.highlight_typeface, Ttypeface_Set{tf_italics});
  EXPECT_FALSE(rec.spare_determined);
  EXPECT_EQ(rec.applies_to, efc_tag);
  EXPECT_EQ(list.GetEFVersion(), 0);

  // A negative count under a versioned work base counts by its size; version 2
  // spans are 72 bytes but still take their typefaces from the older byte.
  TMemoryStream v2;
  v2.WriteLE<std::int32_t>(-1);
  v2.WriteLE<std::int32_t>(2);
  v2.Write(full.data(), 72);
  v2.Seek(0, TSeekOrigin::soBeginning);
  ASSERT_TRUE(list.XReadFromStream(v2, 20));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetAFontFrec(0).default_typeface, Ttypeface_Set{tf_italics});
  EXPECT_EQ(list.GetAFontFrec(0).spareInts[8], 108);
}

TEST(ExtraFontList, TruncatedStreamKeepsWholeSpansAndSaysSo) {
  TExtraFontList list;
  list.AddOne(FullSpan());
  list.AddOne(FullSpan());
  std::vector<std::uint8_t> bytes = Saved(list);
  bytes.resize(bytes.size() - 10);
  TMemoryStream in;
  in.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  in.Seek(0, TSeekOrigin::soBeginning);
  TExtraFontList back;
  EXPECT_FALSE(back.XReadFromStream(in, 20));
  EXPECT_EQ(back.Count(), 1);
}

TEST(ExtraFontList, LookupsAndBadIndices) {
  TExtraFontList list;
  const auto span = [](std::int32_t on, std::int32_t off, TExtraFontCategory category) {
    TExtraFontRec rec;
    rec.switch_on_at_char = on;
    rec.switch_off_at_char = off;
    rec.applies_to = category;
    return rec;
  };
  list.AddOne(span(30, 35, efc_tag));
  list.AddOne(span(10, -1, efc_sort1));
  list.AddOne(span(20, 40, efc_context_word));
  EXPECT_FALSE(list.insert_space_between_words);

  EXPECT_EQ(list.IndexOfStart(10), 1);
  EXPECT_EQ(list.IndexOfStartAndEnd(5, 12), 1);   // open-ended
  EXPECT_EQ(list.IndexOfStartAndEnd(20, 36), 0);  // 20..40 ends outside
  EXPECT_EQ(list.IndexOfStartAndEnd(31, 50), -1);

  list.SortOnStartpoints();
  EXPECT_EQ(list.GetAFontFrec(0).switch_on_at_char, 10);
  EXPECT_EQ(list.GetAFontFrec(2).switch_on_at_char, 30);
  EXPECT_EQ(list.IndexOfStart(20), 1);
  EXPECT_EQ(list.IndexOfStart(15), -1);
  list.AddOne(span(5, 6, efc_tag));  // out of order: the early stop must not hide it
  EXPECT_EQ(list.IndexOfStart(5), 3);

  EXPECT_EQ(list.GetAFontFrec(9), TExtraFontRec{});
  list.SetAFontFrec(-1, span(1, 2, efc_tag));
  list.Delete(17);
  EXPECT_EQ(list.Count(), 4);

  TExtraFontRec bold = span(50, 51, efc_tag);
  bold.highlight_typeface = {tf_bold};
  list.AddOne(bold);
  EXPECT_TRUE(list.insert_space_between_words);
  list.Clear();
  EXPECT_FALSE(list.insert_space_between_words);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace quill
