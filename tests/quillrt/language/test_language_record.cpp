#include <gtest/gtest.h>

#include <cstring>

#include "quillrt/language/language_record.h"

namespace quill {
namespace {

std::uint32_t U32At(const TLangRecBytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16At(const TLangRecBytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// A definition in which every field holds a value of its own.
fixed_lang_details_rec32 FullRecord() {
  fixed_lang_details_rec32 rec;
  rec.allow_middles_at_right = true;
  rec.allow_middles_at_left = false;
  rec.is_32_version = true;
  rec.lcid = 0x12340809;
  rec.old_win_font.charset_old = 0xA1;
  rec.old_win_font.fontsize_old = 12;
  rec.old_win_font.fontname_old[0] = 5;
  std::memcpy(&rec.old_win_font.fontname_old[1], "Arial", 5);
  rec.old_win_font.fontname_old[32] = 0x7E;
  rec.preference = lang_a_preferida;
  rec.custom_language = true;
  rec.hyphen_breaks_word = true;
  rec.win_codepage = 1252;
  rec.dos_codepage = 850;
  rec.allowable_middle_letters = StringToTenWidechar(u"'-\u2019");
  rec.spare_ANSI_lowers.length = 3;
  rec.spare_ANSI_lowers.chars[0] = 0xE0;
  rec.spare_ANSI_lowers.chars[127] = 0xFF;
  rec.spare_ANSI_uppers.length = 128;
  rec.spare_ANSI_uppers.chars[0] = 0xC0;
  rec.spare_ANSI_uppers.chars[127] = 0xDE;
  rec.new_win_font.charset = 0xB2;
  rec.new_win_font.fontsize = 14;
  SetARecFontname(rec.new_win_font, u"Noto Sans \u0627");
  rec.new_win_font.fontname[100] = 0x4142;  // a damaged terminator still round-trips
  rec.custom_sort_string_number = -2;
  rec.spare_Bools = {true, false, true, true};
  rec.cores.colours = {0x000001, 0x00FFFFFE, 0x00808080, static_cast<TColor>(0xFF00000F)};
  rec.language_number = 77;
  rec.spare_hits = -1;
  rec.spare_ints = {1, -2, 0x7FFFFFFF};
  for (std::size_t i = 0; i < rec.spare.size(); ++i) rec.spare[i] = static_cast<std::uint8_t>(i * 7 + 1);
  SetLangRecName(rec, u"English (UK) \u00E9");
  return rec;
}

TEST(LanguageRecord, EveryFieldSitsAtItsOffset) {
  const TLangRecBytes b = LangRecToBytes(FullRecord());
  ASSERT_EQ(b.size(), 1040u);

  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[1], 0);
  EXPECT_EQ(b[2], 1);
  EXPECT_EQ(b[3], 0) << "padding";
  EXPECT_EQ(U32At(b, 4), 0x12340809u);
  // old_win_font: charset, size, length-prefixed name (35 bytes).
  EXPECT_EQ(b[8], 0xA1);
  EXPECT_EQ(b[9], 12);
  EXPECT_EQ(b[10], 5);
  EXPECT_EQ(std::memcmp(&b[11], "Arial", 5), 0);
  EXPECT_EQ(b[42], 0x7E);
  EXPECT_EQ(b[43], 3);  // lang_a_preferida
  EXPECT_EQ(b[44], 1);
  EXPECT_EQ(b[45], 1);
  EXPECT_EQ(U16At(b, 46), 1252);
  EXPECT_EQ(U16At(b, 48), 850);
  // allowable_middle_letters: 11 UTF-16 units.
  EXPECT_EQ(U16At(b, 50), u'\'');
  EXPECT_EQ(U16At(b, 52), u'-');
  EXPECT_EQ(U16At(b, 54), 0x2019);
  for (std::size_t at = 56; at < 72; at += 2) EXPECT_EQ(U16At(b, at), 0) << at;
  // The two 129-byte 8-bit alphabets.
  EXPECT_EQ(b[72], 3);
  EXPECT_EQ(b[73], 0xE0);
  EXPECT_EQ(b[200], 0xFF);
  EXPECT_EQ(b[201], 128);
  EXPECT_EQ(b[202], 0xC0);
  EXPECT_EQ(b[329], 0xDE);
  // new_win_font: charset, size, 101 UTF-16 units.
  EXPECT_EQ(b[330], 0xB2);
  EXPECT_EQ(b[331], 14);
  EXPECT_EQ(U16At(b, 332), u'N');
  EXPECT_EQ(U16At(b, 332 + 2 * 10), 0x0627);
  EXPECT_EQ(U16At(b, 332 + 2 * 11), 0);
  EXPECT_EQ(U16At(b, 532), 0x4142);
  EXPECT_EQ(b[534], 0) << "padding";
  EXPECT_EQ(b[535], 0) << "padding";
  EXPECT_EQ(U32At(b, 536), 0xFFFFFFFEu);
  EXPECT_EQ(b[540], 1);
  EXPECT_EQ(b[541], 0);
  EXPECT_EQ(b[542], 1);
  EXPECT_EQ(b[543], 1);
  // cores: four colours.
  EXPECT_EQ(U32At(b, 544), 0x000001u);
  EXPECT_EQ(U32At(b, 548), 0x00FFFFFEu);
  EXPECT_EQ(U32At(b, 552), 0x00808080u);
  EXPECT_EQ(U32At(b, 556), 0xFF00000Fu);
  EXPECT_EQ(U32At(b, 560), 77u);
  EXPECT_EQ(U32At(b, 564), 0xFFFFFFFFu);
  EXPECT_EQ(U32At(b, 568), 1u);
  EXPECT_EQ(U32At(b, 572), 0xFFFFFFFEu);
  EXPECT_EQ(U32At(b, 576), 0x7FFFFFFFu);
  EXPECT_EQ(b[580], 1);
  EXPECT_EQ(b[935], static_cast<std::uint8_t>(355 * 7 + 1));
  // nome: 51 UTF-16 units, then 2 bytes of padding.
  EXPECT_EQ(U16At(b, 936), u'E');
  EXPECT_EQ(U16At(b, 936 + 2 * 13), 0x00E9);
  EXPECT_EQ(U16At(b, 936 + 2 * 14), 0);
  EXPECT_EQ(b[1038], 0) << "padding";
  EXPECT_EQ(b[1039], 0) << "padding";
}

TEST(LanguageRecord, AnEmptyRecordIsAllZeroBytes) {
  const TLangRecBytes b = LangRecToBytes(fixed_lang_details_rec32{});
  for (std::size_t i = 0; i < b.size(); ++i) ASSERT_EQ(b[i], 0) << i;
}

TEST(LanguageRecord, RoundTripsThroughBytesAndStreams) {
  const fixed_lang_details_rec32 rec = FullRecord();
  EXPECT_EQ(LangRecFromBytes(LangRecToBytes(rec)), rec);

  TMemoryStream stream;
  WriteLangRec(stream, rec);
  WriteLangRec(stream, rec);
  EXPECT_EQ(stream.GetSize(), 2 * 1040) << "no length or tag in front";
  stream.SetPosition(0);
  fixed_lang_details_rec32 first;
  fixed_lang_details_rec32 second;
  EXPECT_TRUE(ReadLangRec(stream, first));
  EXPECT_TRUE(ReadCurrentLangRec(stream, second, 18));
  EXPECT_EQ(first, rec);
  EXPECT_EQ(second, rec);
  EXPECT_EQ(stream.GetPosition(), 2 * 1040);
}

TEST(LanguageRecord, NonZeroBooleanBytesReadAsTrue) {
  TLangRecBytes b{};
  b[0] = 2;
  b[45] = 0xFF;
  const fixed_lang_details_rec32 rec = LangRecFromBytes(b);
  EXPECT_TRUE(rec.allow_middles_at_right);
  EXPECT_TRUE(rec.hyphen_breaks_word);
  EXPECT_FALSE(rec.allow_middles_at_left);
}

TEST(LanguageRecord, UnsetColoursBecomeTheStandardSetOnReading) {
  const TMyCanvasColourRec standard{{0x000000, 0xFFFFFF, 0xFFFFFF, 0x660000}};
  fixed_lang_details_rec32 rec = FullRecord();

  rec.cores.colours = {0, 0, 0, 0};
  TMemoryStream zero_colours;
  WriteLangRec(zero_colours, rec);
  zero_colours.SetPosition(0);
  fixed_lang_details_rec32 read;
  ASSERT_TRUE(ReadLangRec(zero_colours, read));
  EXPECT_EQ(read.cores, standard);

  // First equal to third, others different: still never given colours.
  rec.cores.colours = {0x123456, 0x1, 0x123456, 0x2};
  TMemoryStream same_ends;
  WriteLangRec(same_ends, rec);
  same_ends.SetPosition(0);
  ASSERT_TRUE(ReadLangRec(same_ends, read));
  EXPECT_EQ(read.cores, standard);

  // Text and background differ: the user's colours stay.
  rec.cores.colours = {0x123456, 0x1, 0x654321, 0x2};
  TMemoryStream own;
  WriteLangRec(own, rec);
  own.SetPosition(0);
  ASSERT_TRUE(ReadLangRec(own, read));
  EXPECT_EQ(read.cores, rec.cores);
}

TEST(LanguageRecord, ShortOrOlderStreamsAreRefused) {
  const TLangRecBytes full = LangRecToBytes(FullRecord());
  TMemoryStream truncated;
  truncated.WriteBuffer(full.data(), 500);  // ends before the colours
  truncated.SetPosition(0);
  fixed_lang_details_rec32 rec;
  EXPECT_FALSE(ReadLangRec(truncated, rec));
  EXPECT_EQ(rec.lcid, 0x12340809u) << "the complete part is kept";
  EXPECT_EQ(rec.nome[0], 0) << "the missing part is zero";
  EXPECT_EQ(rec.cores.colours[3], 0x660000) << "colour rule applied after a short read";

  // Versions that hold an older form are left to the legacy reader.
  TMemoryStream current;
  WriteLangRec(current, FullRecord());
  for (int version : {6, 7, 18}) {
    current.SetPosition(0);
    EXPECT_TRUE(ReadCurrentLangRec(current, rec, version)) << version;
  }
  for (int version : {0, 4, 5, 8, 17, 19}) {
    current.SetPosition(0);
    EXPECT_FALSE(ReadCurrentLangRec(current, rec, version)) << version;
    EXPECT_EQ(current.GetPosition(), 0) << version;
    EXPECT_EQ(rec, fixed_lang_details_rec32{});
  }
}

TEST(LanguageRecord, FixedArraysAreClearedAndCut) {
  fixed_lang_details_rec32 rec;
  const UnicodeString sixty(60, u'x');
  SetLangRecName(rec, sixty);
  EXPECT_EQ(LangRecName(rec), UnicodeString(50, u'x'));
  EXPECT_EQ(rec.nome[49], u'x');
  EXPECT_EQ(rec.nome[50], 0);

  // A shorter name leaves nothing of the longer one behind its terminator.
  SetLangRecName(rec, u"Deutsch");
  EXPECT_EQ(LangRecName(rec), u"Deutsch");
  for (std::size_t i = 7; i < rec.nome.size(); ++i) EXPECT_EQ(rec.nome[i], 0) << i;

  const tenwidechar ten = StringToTenWidechar(u"abcdefghijklmno");
  EXPECT_EQ(TenWideCharTostring(ten), u"abcdefghij");
  EXPECT_EQ(ten[10], 0);
  tenwidechar unterminated;
  unterminated.fill(u'z');
  EXPECT_EQ(TenWideCharTostring(unterminated), UnicodeString(11, u'z'));

  fixed_character_format_rec32 font;
  font.charset = 178;
  font.fontsize = 11;
  SetARecFontname(font, UnicodeString(120, u'F'));
  EXPECT_EQ(GetFixedChars(font.fontname), UnicodeString(100, u'F'));
  EXPECT_EQ(font.fontname[100], 0);
  SetARecFontname(font, u"Tahoma");
  EXPECT_EQ(GetFixedChars(font.fontname), u"Tahoma");
  EXPECT_EQ(font.fontname[6], 0);
  EXPECT_EQ(font.fontname[99], 0);
  EXPECT_EQ(font.charset, 178) << "charset and size stay";
  EXPECT_EQ(font.fontsize, 11);
}

}  // namespace
}  // namespace quill
