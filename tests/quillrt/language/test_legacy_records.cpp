#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "quillrt/framework/date_time.h"
#include "quillrt/language/keywords_settings.h"
#include "quillrt/language/legacy_records.h"
#include "quillrt/platform/code_pages.h"

namespace quill {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Stored records built by hand, offset by offset, independently of the code.
void Put8(Bytes& b, std::size_t at, std::uint8_t v) { b.at(at) = v; }
void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b.at(at) = static_cast<std::uint8_t>(v);
  b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}
template <class T>
void PutRawLE(Bytes& b, std::size_t at, T value) {
  std::uint8_t raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));  // the test machine is little-endian
  for (std::size_t i = 0; i < sizeof(T); ++i) b.at(at + i) = raw[i];
}
void PutText8(Bytes& b, std::size_t at, const std::string& text) {  // length byte, then the bytes
  b.at(at) = static_cast<std::uint8_t>(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) b.at(at + 1 + i) = static_cast<std::uint8_t>(text[i]);
}
void PutText16(Bytes& b, std::size_t at, const std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) Put16(b, at + 2 * i, text[i]);
}
void Fill(Bytes& b, std::size_t from, std::size_t to, std::uint8_t v) {
  for (std::size_t i = from; i < to; ++i) b.at(i) = v;
}

// A stream holding `bytes` followed by a marker byte, to see where reading stopped.
struct Source {
  explicit Source(const Bytes& bytes) {
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
  }
  TMemoryStream stream;
};

// All but the last `drop` bytes.
Bytes Cut(const Bytes& bytes, std::size_t drop) { return Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(drop)); }

template <std::size_t N>
Bytes AsVector(const std::array<std::uint8_t, N>& a) {
  return Bytes(a.begin(), a.end());
}

// The oldest language record: 8-bit font name and middle letters, with junk in
// every field the conversion drops.
Bytes OldestLanguageRecord() {
  Bytes b(632, 0);
  Put8(b, 0, 1);
  Put8(b, 1, 0);
  Put8(b, 3, 0x77);             // spare
  Put32(b, 4, 0xDEADBEEF);      // spare2
  Put32(b, 8, 0x040C);          // French
  Put8(b, 12, 0xEE);            // charset
  Put8(b, 13, 11);              // size
  PutText8(b, 14, "Tim\xE9s");  // font name
  Put8(b, 47, lang_rank_2);
  Put8(b, 48, 1);
  Put8(b, 49, 1);
  Put16(b, 50, 1252);
  Put16(b, 52, 850);
  PutText8(b, 54, "EUR junk");
  PutText8(b, 75, "'-");
  Put8(b, 79, 'x');  // a stale byte after the letters: the older releases took it too
  PutText16(b, 86, u"QQ");
  Fill(b, 108, 342, 0x55);
  PutText8(b, 342, "abc");
  PutText8(b, 471, "ABC");
  PutText8(b, 600, "Fran\xE7" "ais \xE9");
  return b;
}

// What the oldest record above becomes, in the current layout, built by hand.
Bytes ExpectedFromOldest(char16_t name_e_acute) {
  Bytes b(1040, 0);
  Put8(b, 0, 1);
  Put32(b, 4, 0x040C);
  Put8(b, 8, 0xEE);
  Put8(b, 9, 11);
  PutText8(b, 10, "Tim\xE9s");
  Put8(b, 43, lang_rank_2);
  Put8(b, 44, 1);
  Put8(b, 45, 1);
  Put16(b, 46, 1252);
  Put16(b, 48, 850);
  PutText16(b, 50, u"'-x");
  Put8(b, 330, 0xEE);
  Put8(b, 331, 11);
  PutText16(b, 332, u"Tim\u00E9s");
  Put32(b, 544, 0x000000);  // the standard colours
  Put32(b, 548, 0xFFFFFF);
  Put32(b, 552, 0xFFFFFF);
  Put32(b, 556, 0x660000);
  PutText16(b, 936, std::u16string(u"Fran\u00E7ais ") + name_e_acute);
  return b;
}

// A version-5 record: the current layout up to 71, 8-bit case tables and junk after.
Bytes Version5LanguageRecord() {
  Bytes b(1040, 0);
  Put8(b, 1, 1);
  Put8(b, 2, 1);
  Put32(b, 4, 0x0809);
  Put8(b, 8, 0);
  Put8(b, 9, 9);
  PutText8(b, 10, "Courier");
  Put8(b, 43, lang_a_preferida);
  Put8(b, 45, 1);
  Put16(b, 46, 1250);
  Put16(b, 48, 852);
  PutText16(b, 50, u"'\u2019");
  // Case tables, dropped. Bytes 73, 74, 84 and 85 stay zero: text settings
  // whose language part has anything there are taken for the oldest form.
  Put8(b, 72, 0x7F);
  Fill(b, 86, 200, 0x61);
  PutText8(b, 201, "ABC");
  Fill(b, 332, 936, 0x5A);
  PutText16(b, 936, u"English (UK)");
  return b;
}

Bytes ExpectedFromVersion5() {
  Bytes b(1040, 0);
  Put8(b, 1, 1);
  Put8(b, 2, 1);
  Put32(b, 4, 0x0809);
  Put8(b, 43, lang_a_preferida);
  Put8(b, 45, 1);
  Put16(b, 46, 1250);
  Put16(b, 48, 852);
  PutText16(b, 50, u"'\u2019");
  Put8(b, 331, 9);
  PutText16(b, 332, u"Courier");
  Put32(b, 548, 0xFFFFFF);
  Put32(b, 552, 0xFFFFFF);
  Put32(b, 556, 0x660000);
  PutText16(b, 936, u"English (UK)");
  return b;
}

TEST(LegacyLanguageRecords, OldestFormConvertsByteForByte) {
  Source source(OldestLanguageRecord());
  fixed_lang_details_rec32 rec;
  ASSERT_TRUE(Readfixed_lang_details_rec(source.stream, rec, 4));
  EXPECT_EQ(source.stream.GetPosition(), 632);
  EXPECT_EQ(AsVector(LangRecToBytes(rec)), ExpectedFromOldest(u'\u00E9'));
}

TEST(LegacyLanguageRecords, OnlyTheNameGoesThroughTheSystemCodePage) {
  ASSERT_TRUE(SetACP(1251));  // 0xE9 is a Cyrillic letter there
  const fixed_lang_details_rec32 rec = LangDetNewFromOld(LangRecOldFromBytes(OldestLanguageRecord().data()));
  SetACP(1252);
  Bytes expected = ExpectedFromOldest(u'\u0439');
  Fill(expected, 544, 560, 0);  // the conversion alone sets no colours
  // 0xE7 also differs in 1251.
  PutText16(expected, 936, u"Fran\u0437ais \u0439");
  EXPECT_EQ(AsVector(LangRecToBytes(rec)), expected);
}

TEST(LegacyLanguageRecords, Version5FormByVersionAndByMarker) {
  for (int version : {5, 0, 17}) {
    SCOPED_TRACE(version);
    Source source(Version5LanguageRecord());
    fixed_lang_details_rec32 rec;
    ASSERT_TRUE(Readfixed_lang_details_rec(source.stream, rec, version));
    EXPECT_EQ(source.stream.GetPosition(), 1040);
    EXPECT_EQ(AsVector(LangRecToBytes(rec)), ExpectedFromVersion5());
  }
}

TEST(LegacyLanguageRecords, CurrentFormGetsStandardColoursWhenUnset) {
  Bytes stored = ExpectedFromVersion5();
  Fill(stored, 544, 560, 0);
  Source source(stored);
  fixed_lang_details_rec32 rec;
  ASSERT_TRUE(Readfixed_lang_details_rec(source.stream, rec, 6));
  EXPECT_EQ(rec.cores, standard_canvas_colours);
  EXPECT_EQ(AsVector(LangRecToBytes(rec)), ExpectedFromVersion5());
}

TEST(LegacyLanguageRecords, ShortStreamsLeaveTheBlankRecord) {
  const struct {
    Bytes bytes;
    int version;
  } cases[] = {{Cut(OldestLanguageRecord(), 1), 3},
               {Cut(Version5LanguageRecord(), 1), 5},
               {Cut(Version5LanguageRecord(), 1), 0},
               {Bytes(1039, 0x11), 7},
               {Bytes(2, 1), 0},
               {Bytes(), 18}};
  for (const auto& c : cases) {
    Source source(c.bytes);
    fixed_lang_details_rec32 rec;
    rec.lcid = 99;
    EXPECT_FALSE(Readfixed_lang_details_rec(source.stream, rec, c.version));
    EXPECT_EQ(rec, fixed_lang_details_rec32{});
  }
}

// --- Text settings ----------------------------------------------------------------------

void PutMarker(Bytes& b, std::size_t at, const std::u16string& text, bool spare, bool auto_process, bool wild) {
  PutText16(b, at, text);
  Put8(b, at + 200, spare);
  Put8(b, at + 201, auto_process);
  Put8(b, at + 202, wild);
}

TEST(LegacyTextSettings, CurrentFormEveryOffset) {
  textsett_rec32 rec;
  rec.language_info.lcid = 0x0416;
  rec.tag_treatment = wltt_list_tags_only;
  rec.must_use_Unicode = true;
  rec.handle_International_System_of_Units_numbers = true;
  rec.using_SGML = true;
  rec.numbers_included = true;
  SetFixedChars(rec.ignore_tags, std::u16string_view(u"<*>"));
  SetFixedChars(rec.standard_markers[0].marker, std::u16string_view(u"<head>"));
  rec.standard_markers[0].has_wildcards = true;
  SetFixedChars(rec.standard_markers[7].marker, std::u16string_view(u"</s>"));
  rec.standard_markers[7].spare = true;
  rec.max_texts = -7;
  rec.reserved[319] = 0x42;

  Bytes expected(3028, 0);
  const auto language = LangRecToBytes(rec.language_info);
  std::copy(language.begin(), language.end(), expected.begin());
  Put8(expected, 1040, wltt_list_tags_only);
  Put8(expected, 1041, 1);
  Put8(expected, 1043, 1);
  Put8(expected, 1045, 1);
  Put8(expected, 1047, 1);
  PutText16(expected, 1048, u"<*>");
  PutMarker(expected, 1072, u"<head>", false, false, true);
  PutMarker(expected, 1072 + 7 * 204, u"</s>", true, false, false);
  Put32(expected, 2704, static_cast<std::uint32_t>(-7));
  Put8(expected, 3027, 0x42);
  EXPECT_EQ(AsVector(TextSettRecToBytes(rec)), expected);

  Source source(expected);
  textsett_rec32 back;
  ASSERT_TRUE(ReadInTextSettings(source.stream, back, 18));
  GiveStandardColoursWhenUnset(rec.language_info);
  EXPECT_EQ(back, rec);
}

Bytes OldTextSettings() {
  Bytes b(2500, 0);
  const Bytes language = OldestLanguageRecord();
  std::copy(language.begin(), language.end(), b.begin());
  Put8(b, 632, wltt_tags_as_prefix);
  Put8(b, 633, 1);
  Put8(b, 634, 1);  // spare3: dropped
  Put8(b, 635, 1);
  Put8(b, 636, 0);
  Put8(b, 637, 1);
  PutText16(b, 638, u"<[^>]*>");
  PutMarker(b, 662, u"<p>", true, true, false);
  PutMarker(b, 662 + 204, u"auto", false, false, true);
  Fill(b, 2294, 2500, 0x33);
  return b;
}

TEST(LegacyTextSettings, OldestFormConverts) {
  Source source(OldTextSettings());
  textsett_rec32 rec;
  ASSERT_TRUE(ReadInTextSettings(source.stream, rec, 4));
  EXPECT_EQ(source.stream.GetPosition(), 2500);

  Bytes expected(3028, 0);
  const Bytes language = ExpectedFromOldest(u'\u00E9');
  std::copy(language.begin(), language.end(), expected.begin());
  Put8(expected, 1040, wltt_tags_as_prefix);
  Put8(expected, 1041, 1);
  Put8(expected, 1045, 1);
  Put8(expected, 1047, 1);
  PutText16(expected, 1048, u"<[^>]*>");
  PutMarker(expected, 1072, u"<p>", true, true, false);
  PutMarker(expected, 1072 + 204, u"auto", false, true, true);  // "auto" is processed automatically
  EXPECT_EQ(AsVector(TextSettRecToBytes(rec)), expected);
}

Bytes Version5TextSettings() {
  Bytes b(3028, 0);
  const Bytes language = Version5LanguageRecord();
  std::copy(language.begin(), language.end(), b.begin());
  Put8(b, 1040, wltt_tags_as_prefix);
  Put8(b, 1042, 1);
  PutMarker(b, 1072 + 204, u"Auto", false, true, false);  // not "auto": switched off
  Put32(b, 2704, 12);
  return b;
}

TEST(LegacyTextSettings, Version5FormByVersionAndByMarker) {
  Bytes expected(3028, 0);
  const Bytes language = ExpectedFromVersion5();
  std::copy(language.begin(), language.end(), expected.begin());
  Put8(expected, 1040, wltt_tags_as_prefix);
  Put8(expected, 1042, 1);
  PutMarker(expected, 1072 + 204, u"Auto", false, false, false);
  Put32(expected, 2704, 12);
  for (int version : {5, 2}) {
    SCOPED_TRACE(version);
    Source source(Version5TextSettings());
    textsett_rec32 rec;
    ASSERT_TRUE(ReadInTextSettings(source.stream, rec, version));
    EXPECT_EQ(source.stream.GetPosition(), 3028);
    EXPECT_EQ(AsVector(TextSettRecToBytes(rec)), expected);
  }
}

TEST(LegacyTextSettings, AnyMarkerByteMakesItTheOldestForm) {
  for (std::size_t marker : {73U, 74U, 84U, 85U}) {
    Bytes stored = Version5TextSettings();
    stored[marker] = 1;
    Source source(stored);
    textsett_rec32 rec;
    ASSERT_TRUE(ReadInTextSettings(source.stream, rec, 0));
    EXPECT_EQ(source.stream.GetPosition(), 2500) << marker;
  }
}

TEST(LegacyTextSettings, ShortStreamsLeaveTheBlankRecord) {
  const struct {
    Bytes bytes;
    int version;
  } cases[] = {{Cut(OldTextSettings(), 1), 1},
               {Cut(Version5TextSettings(), 1), 0},
               {Cut(Version5TextSettings(), 3028 - 1040), 5},
               {Bytes(3027, 0x01), 6}};
  for (const auto& c : cases) {
    Source source(c.bytes);
    textsett_rec32 rec;
    rec.max_texts = 5;
    EXPECT_FALSE(ReadInTextSettings(source.stream, rec, c.version));
    EXPECT_EQ(rec, textsett_rec32{});
  }
}

// --- Concordance settings ---------------------------------------------------------------

Bytes OldConcSettings(std::uint8_t own_version) {
  Bytes b(1368, 0);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(1 + i % 251);
  Put8(b, 1322, 0);  // show_raw_numbers false
  Put8(b, 1355, own_version);
  return b;
}

TEST(LegacyConcordanceSettings, OlderFormConverts) {
  const Bytes old = OldConcSettings(2);
  Source source(old);
  TConcSettingsRec32 rec;
  ASSERT_TRUE(ReadInConcSettRec(source.stream, rec, 4));
  EXPECT_EQ(source.stream.GetPosition(), 1368);

  Bytes expected(2580, 0);
  std::copy(old.begin(), old.begin() + 664, expected.begin());  // search words and counts
  std::copy(old.begin() + 1296, old.begin() + 1363, expected.begin() + 1704);
  Put8(expected, 1730, 1);  // percentages: the negation of show_raw_numbers
  Put32(expected, 1772, 60);
  EXPECT_EQ(AsVector(rec.bytes), expected);
}

TEST(LegacyConcordanceSettings, CurrentFormByVersionAndByMarker) {
  Bytes stored(2580, 0);
  for (std::size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<std::uint8_t>(i * 7);
  stored[1355] = 3;
  for (int version : {6, 0}) {
    Source source(stored);
    TConcSettingsRec32 rec;
    ASSERT_TRUE(ReadInConcSettRec(source.stream, rec, version));
    EXPECT_EQ(AsVector(rec.bytes), stored);
  }
  Source short_source(Cut(stored, 1));
  TConcSettingsRec32 rec;
  EXPECT_FALSE(ReadInConcSettRec(short_source.stream, rec, 0));
  EXPECT_EQ(rec, TConcSettingsRec32{});
  Source too_short(Bytes(1367, 0));
  EXPECT_FALSE(ReadInConcSettRec(too_short.stream, rec, 0));
}

// --- Mutual information -------------------------------------------------------------------

Bytes OldMutualInfoSettings() {
  Bytes b(32, 0);
  Put8(b, 1, coll_stop_sentence);
  Put8(b, 2, 1);
  Put8(b, 6, 1);
  Put8(b, 7, 1);
  Put32(b, 12, 5);
  Put32(b, 16, 3);
  PutRawLE<float>(b, 20, 3.0F);
  PutRawLE<float>(b, 24, 12.5F);
  Put16(b, 28, 4);
  return b;
}

TEST(LegacyMutualInfo, OldSettingsConvert) {
  Source source(OldMutualInfoSettings());
  TMutual_info_settings32 rec;
  ASSERT_TRUE(TMutual_info_settings32FromStream(source.stream, rec));
  EXPECT_EQ(source.stream.GetPosition(), 32);

  Bytes expected(180, 0);
  Put8(expected, 1, coll_stop_sentence);
  Put8(expected, 2, 1);
  Put8(expected, 6, 1);
  Put32(expected, 16, 5);
  PutRawLE<float>(expected, 24, 12.5F);
  for (int i = 0; i < 7; ++i) PutRawLE<float>(expected, 28 + 4 * i, i == MI_MI ? 3.0F : -999999.0F);
  Put32(expected, 96, 1);
  EXPECT_EQ(AsVector(MutualInfoSettingsToBytes(rec)), expected);
}

TEST(LegacyMutualInfo, CurrentSettingsWhenTheFirstByteIsAboveFive) {
  Bytes stored(180, 0);
  for (std::size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<std::uint8_t>(i + 6);
  Source source(stored);
  TMutual_info_settings32 rec;
  ASSERT_TRUE(TMutual_info_settings32FromStream(source.stream, rec));
  EXPECT_EQ(source.stream.GetPosition(), 180);
  // Booleans come back as 0/1; every other byte as stored.
  Bytes expected = stored;
  for (std::size_t at : {2, 3, 4, 5, 6, 8}) expected[at] = 1;
  EXPECT_EQ(AsVector(MutualInfoSettingsToBytes(rec)), expected);

  Source short_source(Cut(stored, 1));
  EXPECT_FALSE(TMutual_info_settings32FromStream(short_source.stream, rec));
  EXPECT_EQ(AsVector(MutualInfoSettingsToBytes(rec)), Bytes(180, 0));
}

TEST(LegacyMutualInfo, OldFormWrittenFromCurrent) {
  TMutual_info_settings32 current;
  current.spare_stop = coll_stop_text;
  current.stop_at = coll_stop_heading;
  current.omit_numbers = true;
  current.two_way = true;
  current.MIStopListOption = mis_filter_both_words;
  current.MI_span = 4;
  current.spare_MI_min_freq = 9;
  current.MI_max_percent = 7.5F;
  current.minima[MI_MI] = 2.5F;
  current.minima[MI_Z] = 1.0F;
  current.MI_min_texts = 3;

  Bytes expected(32, 0);
  Put8(expected, 1, coll_stop_heading);
  Put8(expected, 3, 1);
  Put8(expected, 6, 1);
  Put32(expected, 12, 4);
  Put32(expected, 16, 9);
  PutRawLE<float>(expected, 20, 2.5F);
  PutRawLE<float>(expected, 24, 7.5F);
  EXPECT_EQ(AsVector(MutualInfoSettingsOldToBytes(TMutual_info_settingsOldFrom32(current))), expected);
}

TEST(LegacyMutualInfo, OldResultKeepsCountsScoresAndReferences) {
  int first = 0;
  int second = 0;
  TMutualInfo_recOld old;
  old.n_files = 1;
  old.f1 = 2;
  old.f2 = 3;
  old.joint = 4;
  old.commonest_gap_size = 5;
  old.spareMI = 9;
  old.scores = {1, 2, 3, 4, 5, 6};
  old.w1 = 7;
  old.w2 = 8;
  old.p1 = &first;
  old.p2 = &second;
  const TMutualInfo_recFeb2016 rec = TMutual_info_Rec32FromOld(old);
  EXPECT_EQ(rec.n_files + rec.f1 + rec.f2 + rec.joint + rec.commonest_gap_size, 15);
  EXPECT_EQ(rec.scores, (std::array<float, 7>{1, 2, 3, 4, 5, 6, 0}));
  EXPECT_EQ(rec.w1, 7U);
  EXPECT_EQ(rec.w2, 8U);
  EXPECT_EQ(rec.p1, &first);
  EXPECT_EQ(rec.p2, &second);
}

// --- File records ---------------------------------------------------------------------------

double ShiftedDayNumber(int year, int month, int day) { return EncodeDate(year + 4500, month, day) + 2415018.5; }

TEST(LegacyFileRecords, CurrentChosenFileEveryOffset) {
  TChosenFile_BaseRec rec;
  rec.FolderData = 0;
  rec.Zip_Num = 3;
  rec.Date = EncodeDate(2001, 5, 6);
  rec.Size = 0x123456789LL;
  rec.Words = 77;
  rec.encrypted = true;
  rec.Wanted = cf_unwanted;
  rec.KindOfFile = TFileContentsSet{fc_UTF8, fc_Zip};
  rec.version = 4;
  rec.TextualDateAndTime = 12345.5;
  rec.hits = 8;

  Bytes expected(64, 0);
  Put32(expected, 0, 0xFFFFFFFF);  // folder 0 is stored as -1
  Put32(expected, 4, 3);
  PutRawLE<double>(expected, 8, rec.Date);
  PutRawLE<std::int64_t>(expected, 16, 0x123456789LL);
  Put32(expected, 24, 77);
  Put8(expected, 28, 1);
  Put8(expected, 32, cf_unwanted);
  Put8(expected, 33, 2 | 32);
  Put32(expected, 36, 4);
  PutRawLE<double>(expected, 40, 12345.5);
  Put32(expected, 48, 8);
  EXPECT_EQ(AsVector(ChosenFileRecToBytes(rec)), expected);

  Source source(expected);
  TChosenFile_BaseRec back;
  ASSERT_TRUE(TChosenFileRecFromStream(source.stream, back));
  EXPECT_EQ(source.stream.GetPosition(), 64);
  EXPECT_EQ(back.FolderData, 0);
  EXPECT_EQ(AsVector(ChosenFileRecToBytes(back)), expected);
}

TEST(LegacyFileRecords, OldChosenFileConvertsAndGetsItsDayNumber) {
  Bytes old(49 + 3, 0xAB);  // three bytes of the next record after it
  Put32(old, 0, 12);
  Put16(old, 4, static_cast<std::uint16_t>(-2));
  PutRawLE<double>(old, 6, EncodeDate(1999, 3, 7) + 0.25);
  Put32(old, 14, static_cast<std::uint32_t>(-5));
  Put32(old, 18, 1000);
  Put8(old, 22, 1);
  Put8(old, 23, cf_wanted);
  Put8(old, 24, 4);
  Source source(old);
  TChosenFile_BaseRec rec;
  ASSERT_TRUE(TChosenFileRecFromStream(source.stream, rec));
  EXPECT_EQ(source.stream.GetPosition(), 49);
  EXPECT_EQ(rec.FolderData, 12);
  EXPECT_EQ(rec.Zip_Num, -2);
  EXPECT_EQ(rec.Date, EncodeDate(1999, 3, 7) + 0.25);
  EXPECT_EQ(rec.Size, -5);
  EXPECT_EQ(rec.Words, 1000);
  EXPECT_TRUE(rec.encrypted);
  EXPECT_EQ(rec.Wanted, cf_wanted);
  EXPECT_EQ(rec.KindOfFile, TFileContentsSet{fc_16_bit});
  EXPECT_EQ(rec.version, 0);
  EXPECT_EQ(rec.TextualDateAndTime, ShiftedDayNumber(1999, 3, 7));
}

TEST(LegacyFileRecords, ShortChosenFileLeavesTheBlankRecord) {
  TChosenFile_BaseRec written;
  written.FolderData = 5;
  written.Words = 9;
  const auto bytes = ChosenFileRecToBytes(written);
  for (std::size_t length : {63U, 48U, 3U}) {
    Source source(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)));
    TChosenFile_BaseRec rec;
    rec.ShortFileName = u"stale";
    EXPECT_FALSE(TChosenFileRecFromStream(source.stream, rec)) << length;
    EXPECT_EQ(AsVector(ChosenFileRecToBytes(rec)), AsVector(ChosenFileRecToBytes(TChosenFile_BaseRec{})));
    EXPECT_TRUE(rec.ShortFileName.empty());
  }
}

TEST(LegacyFileRecords, ExtraStatisticsBothForms) {
  Bytes old(16 + 4, 0);
  Put32(old, 0, static_cast<std::uint32_t>(-3));
  Put32(old, 4, 2);
  Put32(old, 8, 1);
  Put32(old, 12, 1);
  Source old_source(old);
  TFileInfoExtraStatsRec rec;
  ASSERT_TRUE(ExtraStatsRecFromStream(old_source.stream, rec));
  EXPECT_EQ(old_source.stream.GetPosition(), 16);
  EXPECT_EQ(rec.total_bytes, -3);
  EXPECT_EQ(rec.zips_added, 2);
  EXPECT_EQ(rec.version, 1);

  Bytes current(40, 0);
  PutRawLE<std::int64_t>(current, 0, 0x100000000LL);
  Put32(current, 8, 6);
  Put32(current, 12, 2);
  Put8(current, 39, 0x9C);
  Source current_source(current);
  ASSERT_TRUE(ExtraStatsRecFromStream(current_source.stream, rec));
  EXPECT_EQ(current_source.stream.GetPosition(), 40);
  EXPECT_EQ(AsVector(ExtraStatsRecToBytes(rec)), current);

  Source short_source(Cut(current, 1));
  EXPECT_FALSE(ExtraStatsRecFromStream(short_source.stream, rec));
  EXPECT_EQ(AsVector(ExtraStatsRecToBytes(rec)), Bytes(40, 0));
}

// --- Keywords-tool settings --------------------------------------------------------------

// The fields releases 4 and 5 share, with junk in what the conversions drop.
Bytes OlderKeywordsSettings(std::size_t size) {
  Bytes b(size, 0);
  const Bytes language = OldestLanguageRecord();
  std::copy(language.begin(), language.end(), b.begin());
  Put16(b, 636, 4);
  Put32(b, 640, 500);
  Put32(b, 644, 100000);
  Put32(b, 648, 2000000);
  Put8(b, 1164, log_ratio_proc);
  Fill(b, 1165, 1171, 1);
  Put8(b, 1171, 1);
  Put8(b, 1172, 1);
  Put8(b, 1174, 1);
  Put32(b, 1176, 12);
  Put8(b, 1181, 1);
  Put8(b, 1182, 1);
  Put32(b, 1184, 5);
  return b;
}

// What every conversion makes of those fields.
Bytes ExpectedKeywordsSettings() {
  Bytes b(2664, 0);
  Bytes language = ExpectedFromOldest(u'\u00E9');
  Fill(language, 544, 560, 0);  // the conversion sets no colours
  std::copy(language.begin(), language.end(), b.begin());
  Put16(b, 1044, 4);
  Put32(b, 1048, 500);
  Put32(b, 1052, 100000);
  Put32(b, 1056, 2000000);
  Put8(b, 1579, 1);
  Put8(b, 1582, 1);
  Put8(b, 1589, 1);
  Put32(b, 1592, 5);
  return b;
}

TEST(LegacyKeywordsSettings, Release5FormConverts) {
  Bytes old = OlderKeywordsSettings(2256);
  PutRawLE<float>(old, 632, 0.001F);
  PutText8(old, 652, "unused");
  Put32(old, 1188, 40);
  Fill(old, 1192, 1212, 0x44);
  PutText16(old, 1212, u"C:\\texts\\source.txt");
  PutText16(old, 1734, u"ref.lst");
  Put16(old, 1734 + 2 * 260, 'Z');  // a stale unit after the name: not carried over

  Bytes expected = ExpectedKeywordsSettings();
  PutRawLE<float>(expected, 1040, 0.001F);
  const std::uint32_t links[] = {3, 1, 12, 3, 1, 5};
  for (std::size_t i = 0; i < 6; ++i) Put32(expected, 1060 + 4 * i, links[i]);
  Put8(expected, 1580, KW_each_word_in_both);
  Put32(expected, 1596, 40);
  PutText16(expected, 1620, u"C:\\texts\\source.txt");
  PutText16(expected, 2142, u"ref.lst");

  const auto rec = QY_prominex_settings_type32FromV5OLd(ProminexSettingsV5FromBytes(old.data()));
  EXPECT_EQ(AsVector(ProminexSettingsToBytes(rec)), expected);
}

TEST(LegacyKeywordsSettings, Release4FormConvertsWithAnsiNames) {
  Bytes old = OlderKeywordsSettings(1212);
  PutRawLE<float>(old, 632, 6.63F);  // min_x2
  PutText8(old, 652, "caf\xE9.txt");
  PutText8(old, 908, std::string(255, 'r'));

  Bytes expected = ExpectedKeywordsSettings();
  PutRawLE<float>(expected, 1040, 6.63F);
  Put32(expected, 1060 + 8, 12);  // max_links alone
  PutText16(expected, 1620, u"caf\u00E9.txt");
  PutText16(expected, 2142, std::u16string(255, u'r'));

  const auto rec = QY_prominex_settings_type32FromV4(ProminexSettingsV4FromBytes(old.data()));
  EXPECT_EQ(AsVector(ProminexSettingsToBytes(rec)), expected);
}

TEST(LegacyKeywordsSettings, CurrentFormEveryOffsetRoundTrips) {
  Bytes stored(2664, 0);
  for (std::size_t i = 1040; i < stored.size(); ++i) stored[i] = static_cast<std::uint8_t>(i * 13 + 7);
  for (std::size_t at : {1530, 1531, 1532, 1533, 1534, 1535, 1536, 1537, 1538, 1539, 1573, 1574, 1575, 1576, 1577,
                         1578, 1579, 1581, 1582, 1588, 1589, 1590, 1591})
    stored[at] = 1;  // booleans
  stored[1046] = stored[1047] = stored[1583] = 0;  // padding
  TProminexSettingsBytes bytes{};
  std::copy(stored.begin(), stored.end(), bytes.begin());
  const QY_prominex_settings_type32 rec = ProminexSettingsFromBytes(bytes);
  EXPECT_EQ(rec.min_freq, static_cast<std::int16_t>(stored[1044] | stored[1045] << 8));
  EXPECT_EQ(rec.links_max_min.max_span, static_cast<std::int32_t>(stored[1080] | stored[1081] << 8 |
                                                                   stored[1082] << 16 | stored[1083] << 24));
  EXPECT_EQ(rec.source_text_filename[0], static_cast<char16_t>(stored[1620] | stored[1621] << 8));
  EXPECT_EQ(AsVector(ProminexSettingsToBytes(rec)), stored);
}

}  // namespace
}  // namespace quill
