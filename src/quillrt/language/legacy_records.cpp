#include "quillrt/language/legacy_records.h"

#include <string_view>
#include <vector>

#include "quillrt/dates/julian_dates.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/language/record_bytes.h"
#include "quillrt/platform/code_pages.h"

namespace quill {

using namespace record_bytes;

namespace {

// The oldest language record.
constexpr std::size_t old_lcid = 8;
constexpr std::size_t old_font = 12;
constexpr std::size_t old_preference = 47;
constexpr std::size_t old_custom = 48;
constexpr std::size_t old_hyphen = 49;
constexpr std::size_t old_win_cp = 50;
constexpr std::size_t old_dos_cp = 52;
constexpr std::size_t old_currency = 54;
constexpr std::size_t old_middles8 = 75;
constexpr std::size_t old_middles16 = 86;
constexpr std::size_t old_spare_st = 108;
constexpr std::size_t old_lowers = 342;
constexpr std::size_t old_uppers = 471;
constexpr std::size_t old_nome = 600;
static_assert(old_nome + 32 == fixed_lang_details_rec_old_size);

// The version-5 record, where it agrees with the current one.
constexpr std::size_t v5_lcid = 4;
constexpr std::size_t v5_font = 8;
constexpr std::size_t v5_preference = 43;
constexpr std::size_t v5_custom = 44;
constexpr std::size_t v5_hyphen = 45;
constexpr std::size_t v5_win_cp = 46;
constexpr std::size_t v5_dos_cp = 48;
constexpr std::size_t v5_middles = 50;
constexpr std::size_t v5_nome = 936;

// The oldest text settings.
constexpr std::size_t tso_tag_treatment = 632;
constexpr std::size_t tso_must_use_Unicode = 633;
constexpr std::size_t tso_using_SGML = 635;
constexpr std::size_t tso_clear_default_markup = 636;
constexpr std::size_t tso_numbers_included = 637;
constexpr std::size_t tso_ignore_tags = 638;
constexpr std::size_t tso_standard_markers = 662;

// The older concordance settings.
constexpr std::size_t cso_own_version = 1355;
constexpr std::size_t cso_colloc_horizons = 1296;
constexpr std::size_t cso_show_raw_numbers = 1322;
constexpr std::size_t cso_merge_sws_for_collocs = 1362;
constexpr std::size_t cso_moved_by = TConcSettingsRec32::off_colloc_horizons - cso_colloc_horizons;
static_assert(cso_show_raw_numbers + cso_moved_by == TConcSettingsRec32::off_show_percents_not_raw_numbers);
static_assert(cso_merge_sws_for_collocs + cso_moved_by == TConcSettingsRec32::off_merge_sws_for_collocs);

// The older chosen-file record.
constexpr std::size_t chosen_file_old_size = 49;
constexpr std::size_t extra_stats_old_size = 16;

// The minimum that lets every value through.
constexpr float no_minimum = -999999.0F;

bool IsCurrentSettingsVersion(int version) { return version == 6 || version == 7 || version == 18; }

// Step back over bytes read to peek at them.
void StepBack(TStream& stream, std::int64_t count) { stream.Seek(-count, TSeekOrigin::soCurrent); }

// Byte `value` widened to the UTF-16 unit of the same number.
WideChar Widened(std::uint8_t value) { return static_cast<WideChar>(value); }

void ApplyLanguageRules(fixed_lang_details_rec32& rec) { GiveStandardColoursWhenUnset(rec); }

void ApplyTextSettingsRules(textsett_rec32& rec) {
  ApplyLanguageRules(rec.language_info);
  text_segment_rec& second = rec.standard_markers[1];
  second.auto_process = GetFixedChars(second.marker) == u"auto";
}

// Whatever the reader chose to read, a failure leaves the blank record.
template <class Record>
bool Finished(bool complete, Record& rec) {
  if (!complete) rec = Record{};
  return complete;
}

textsett_rec32 TextSettFromOldForm(const std::uint8_t* b) {
  textsett_rec32 rec;
  rec.language_info = LangDetNewFromOld(LangRecOldFromBytes(b));
  rec.tag_treatment = static_cast<TWordListTagTreatment>(b[tso_tag_treatment]);
  rec.must_use_Unicode = GetBool(b, tso_must_use_Unicode);
  rec.using_SGML = GetBool(b, tso_using_SGML);
  rec.clear_default_markup = GetBool(b, tso_clear_default_markup);
  rec.numbers_included = GetBool(b, tso_numbers_included);
  GetWide(b, tso_ignore_tags, rec.ignore_tags);
  for (std::size_t i = 0; i < rec.standard_markers.size(); ++i)
    rec.standard_markers[i] = TextSegmentRecFromBytes(b + tso_standard_markers + i * text_segment_rec_size);
  return rec;
}

bool IsOldTextSettings(const std::uint8_t* b) {
  return b[2] == 0 || b[73] != 0 || b[74] != 0 || b[84] != 0 || b[85] != 0;
}

// A version-5 language record, then the current text settings after it.
bool ReadVersion5TextSettings(TStream& stream, textsett_rec32& rec) {
  TTextSettBytes bytes{};
  const bool complete = ReadExactly(stream, bytes.data(), fixed_lang_details_rec32_size) &&
                        ReadExactly(stream, bytes.data() + fixed_lang_details_rec32_size,
                                    textsett_rec32_size - fixed_lang_details_rec32_size);
  if (!complete) return false;
  rec = TextSettRecFromBytes(bytes);
  rec.language_info = LangDetNewFromVersion5(bytes.data());
  return true;
}

TConcSettingsRec32 ConcSettingsFromOldForm(const std::uint8_t* old) {
  TConcSettingsRec32 rec;
  auto& b = rec.bytes;
  // Search words and counts stand where they stood; the older record's language
  // details are dropped, so the fields now in their place stay zero.
  std::copy_n(old, TConcSettingsRec32::off_tag_string_only_on_number, b.begin());
  std::copy(old + cso_colloc_horizons, old + cso_merge_sws_for_collocs + 1,
            b.begin() + TConcSettingsRec32::off_colloc_horizons);
  b[TConcSettingsRec32::off_show_percents_not_raw_numbers] = old[cso_show_raw_numbers] == 0 ? 1 : 0;
  Put<std::int32_t>(b.data(), TConcSettingsRec32::off_characters_for_textonly_display, 60);
  return rec;
}

TMutual_info_settings32 MutualInfoSettingsFromOld(const TMutual_info_settings_old& old) {
  TMutual_info_settings32 rec;
  rec.stop_at = old.stop_at;
  rec.omit_left_right_matches = old.omit_left_right_matches;
  rec.omit_numbers = old.omit_numbers;
  rec.show_pairs_twice = old.show_pairs_twice;
  rec.recompute_total_tokens = old.recompute_total_tokens;
  rec.two_way = old.two_way;
  rec.MI_span = old.span;
  rec.MI_max_percent = old.max_percent;
  rec.minima.fill(no_minimum);
  rec.minima[MI_MI] = old.min_mutual_info;
  rec.MI_min_texts = 1;
  return rec;
}

TChosenFile_BaseRec ChosenFileFromOldForm(const std::uint8_t* b) {
  TChosenFile_BaseRec rec;
  rec.FolderData = Get<std::int32_t>(b, 0);
  rec.Zip_Num = Get<std::int16_t>(b, 4);
  rec.Date = Get<double>(b, 6);
  rec.Size = Get<std::int32_t>(b, 14);
  rec.Words = Get<std::int32_t>(b, 18);
  rec.encrypted = GetBool(b, 22);
  rec.Wanted = static_cast<TChosenFileWanted>(b[23]);
  rec.KindOfFile = TFileContentsSet::FromBits(b[24]);
  return rec;
}

}  // namespace

// --- Language records -----------------------------------------------------------------------

fixed_lang_details_rec_old LangRecOldFromBytes(const std::uint8_t* b) {
  fixed_lang_details_rec_old rec;
  rec.allow_middles_at_right = GetBool(b, 0);
  rec.allow_middles_at_left = GetBool(b, 1);
  rec.is_32_version = GetBool(b, 2);
  rec.spare = b[3];
  rec.spare2 = Get<std::int32_t>(b, 4);
  rec.lcid = Get<std::uint32_t>(b, old_lcid);
  rec.old_win_font = OldFontRecFromBytes(b + old_font);
  rec.preference = static_cast<Tlang_preference_type>(b[old_preference]);
  rec.custom_language = GetBool(b, old_custom);
  rec.hyphen_breaks_word = GetBool(b, old_hyphen);
  rec.win_codepage = Get<std::uint16_t>(b, old_win_cp);
  rec.dos_codepage = Get<std::uint16_t>(b, old_dos_cp);
  GetRaw(b, old_currency, rec.spare_currency);
  GetRaw(b, old_middles8, rec.old_allowable_middle_letters);
  GetWide(b, old_middles16, rec.allowable_middle_letters);
  GetRaw(b, old_spare_st, rec.spare_st);
  for (auto [table, at] : {std::pair{&rec.ANSI_lowers, old_lowers}, std::pair{&rec.ANSI_uppers, old_uppers}}) {
    table->length = b[at];
    std::copy_n(b + at + 1, sizeof table->chars, table->chars);
  }
  GetRaw(b, old_nome, rec.nome);
  return rec;
}

fixed_character_format_rec32 New_WinFontFromOldWin_Font(const old_fixed_character_format_rec& old) {
  fixed_character_format_rec32 font;
  font.charset = old.charset_old;
  font.fontsize = old.fontsize_old;
  const std::size_t length = std::min<std::size_t>(old.fontname_old[0], old.fontname_old.size() - 1);
  for (std::size_t i = 0; i < length; ++i) font.fontname[i] = Widened(old.fontname_old[i + 1]);
  return font;
}

fixed_lang_details_rec32 LangDetNewFromOld(const fixed_lang_details_rec_old& old) {
  fixed_lang_details_rec32 rec;
  rec.allow_middles_at_right = old.allow_middles_at_right;
  rec.allow_middles_at_left = old.allow_middles_at_left;
  rec.lcid = old.lcid;
  rec.old_win_font = old.old_win_font;
  rec.preference = old.preference;
  rec.custom_language = old.custom_language;
  rec.hyphen_breaks_word = old.hyphen_breaks_word;
  rec.win_codepage = old.win_codepage;
  rec.dos_codepage = old.dos_codepage;
  rec.new_win_font = New_WinFontFromOldWin_Font(old.old_win_font);

  // The whole stored string, length byte and stale bytes after the text
  // included, as the older releases read it; control bytes and spaces skipped.
  std::size_t kept = 0;
  for (std::uint8_t byte : old.old_allowable_middle_letters) {
    if (byte > 0x20 && kept + 1 < rec.allowable_middle_letters.size())
      rec.allowable_middle_letters[kept++] = Widened(byte);
  }

  const std::size_t name_length = std::min<std::size_t>(old.nome[0], old.nome.size() - 1);
  const std::string_view name(reinterpret_cast<const char*>(old.nome.data() + 1), name_length);
  SetLangRecName(rec, AnsiToUnicode(name, GetACP()));
  return rec;
}

fixed_lang_details_rec32 LangDetNewFromVersion5(const std::uint8_t* b) {
  fixed_lang_details_rec32 rec;
  rec.allow_middles_at_right = GetBool(b, 0);
  rec.allow_middles_at_left = GetBool(b, 1);
  rec.is_32_version = GetBool(b, 2);
  rec.lcid = Get<std::uint32_t>(b, v5_lcid);
  rec.preference = static_cast<Tlang_preference_type>(b[v5_preference]);
  rec.custom_language = GetBool(b, v5_custom);
  rec.hyphen_breaks_word = GetBool(b, v5_hyphen);
  rec.win_codepage = Get<std::uint16_t>(b, v5_win_cp);
  rec.dos_codepage = Get<std::uint16_t>(b, v5_dos_cp);
  GetWide(b, v5_middles, rec.allowable_middle_letters);
  GetWide(b, v5_nome, rec.nome);
  rec.new_win_font = New_WinFontFromOldWin_Font(OldFontRecFromBytes(b + v5_font));
  return rec;
}

namespace {

bool ReadVersion5LangRec(TStream& stream, fixed_lang_details_rec32& rec) {
  TLangRecBytes bytes{};
  if (!ReadExactly(stream, bytes.data(), bytes.size())) return false;
  rec = LangDetNewFromVersion5(bytes.data());
  return true;
}

bool ReadOldestLangRec(TStream& stream, fixed_lang_details_rec32& rec) {
  std::array<std::uint8_t, fixed_lang_details_rec_old_size> bytes{};
  if (!ReadExactly(stream, bytes.data(), bytes.size())) return false;
  rec = LangDetNewFromOld(LangRecOldFromBytes(bytes.data()));
  return true;
}

bool ReadLangRecOfVersion(TStream& stream, fixed_lang_details_rec32& rec, int version) {
  if (version == 5) return ReadVersion5LangRec(stream, rec);
  if (IsCurrentSettingsVersion(version)) {
    TLangRecBytes bytes{};
    if (!ReadExactly(stream, bytes.data(), bytes.size())) return false;
    rec = LangRecFromBytes(bytes);
    return true;
  }
  std::uint8_t head[3] = {};
  const std::int64_t got = stream.Read(head, sizeof head);
  StepBack(stream, got);
  if (got != sizeof head) return false;
  return head[2] != 0 ? ReadVersion5LangRec(stream, rec) : ReadOldestLangRec(stream, rec);
}

}  // namespace

bool Readfixed_lang_details_rec(TStream& stream, fixed_lang_details_rec32& rec, int version) {
  rec = fixed_lang_details_rec32{};
  if (!Finished(ReadLangRecOfVersion(stream, rec, version), rec)) return false;
  ApplyLanguageRules(rec);
  return true;
}

// --- Text and concordance settings --------------------------------------------------------

bool ReadInTextSettings(TStream& stream, textsett_rec32& rec, int version) {
  rec = textsett_rec32{};
  bool complete = false;
  if (version == 5) {
    complete = ReadVersion5TextSettings(stream, rec);
  } else if (IsCurrentSettingsVersion(version)) {
    TTextSettBytes bytes{};
    complete = ReadExactly(stream, bytes.data(), bytes.size());
    if (complete) rec = TextSettRecFromBytes(bytes);
  } else {
    const std::int64_t start = stream.GetPosition();
    std::vector<std::uint8_t> bytes(textsett_rec_old_size);
    complete = ReadExactly(stream, bytes.data(), bytes.size());
    if (complete && IsOldTextSettings(bytes.data())) {
      rec = TextSettFromOldForm(bytes.data());
    } else if (complete) {
      stream.SetPosition(start);
      complete = ReadVersion5TextSettings(stream, rec);
    }
  }
  if (!Finished(complete, rec)) return false;
  ApplyTextSettingsRules(rec);
  return true;
}

bool ReadInConcSettRec(TStream& stream, TConcSettingsRec32& rec, int version) {
  rec = TConcSettingsRec32{};
  if (version == 5 || IsCurrentSettingsVersion(version))
    return Finished(ReadExactly(stream, rec.bytes.data(), rec.bytes.size()), rec);

  std::vector<std::uint8_t> old(conc_settings_rec_old_read_size);
  if (!ReadExactly(stream, old.data(), old.size())) return false;
  if (old[cso_own_version] < 3) {
    rec = ConcSettingsFromOldForm(old.data());
    return true;
  }
  StepBack(stream, static_cast<std::int64_t>(old.size()));
  return Finished(ReadExactly(stream, rec.bytes.data(), rec.bytes.size()), rec);
}

// --- Mutual information ---------------------------------------------------------------------

bool TMutual_info_settings32FromStream(TStream& stream, TMutual_info_settings32& rec) {
  rec = TMutual_info_settings32{};
  TMutualInfoSettingsOldBytes old{};
  if (!ReadExactly(stream, old.data(), old.size())) return false;
  if (old[0] > 5) {
    StepBack(stream, static_cast<std::int64_t>(old.size()));
    TMutualInfoSettingsBytes bytes{};
    if (!ReadExactly(stream, bytes.data(), bytes.size())) return false;
    rec = MutualInfoSettingsFromBytes(bytes);
    return true;
  }
  rec = MutualInfoSettingsFromOld(MutualInfoSettingsOldFromBytes(old));
  return true;
}

TMutual_info_settings_old TMutual_info_settingsOldFrom32(const TMutual_info_settings32& settings) {
  TMutual_info_settings_old old;
  old.stop_at = settings.stop_at;
  old.omit_left_right_matches = settings.omit_left_right_matches;
  old.omit_numbers = settings.omit_numbers;
  old.show_pairs_twice = settings.show_pairs_twice;
  old.recompute_total_tokens = settings.recompute_total_tokens;
  old.two_way = settings.two_way;
  old.span = settings.MI_span;
  old.min_freq = settings.spare_MI_min_freq;
  old.min_mutual_info = settings.minima[MI_MI];
  old.max_percent = settings.MI_max_percent;
  return old;
}

TMutualInfo_recFeb2016 TMutual_info_Rec32FromOld(const TMutualInfo_recOld& old) {
  TMutualInfo_recFeb2016 rec;
  rec.n_files = old.n_files;
  rec.f1 = old.f1;
  rec.f2 = old.f2;
  rec.joint = old.joint;
  rec.commonest_gap_size = old.commonest_gap_size;
  std::copy(old.scores.begin(), old.scores.end(), rec.scores.begin());
  rec.w1 = old.w1;
  rec.w2 = old.w2;
  rec.p1 = old.p1;
  rec.p2 = old.p2;
  return rec;
}

// --- File records -------------------------------------------------------------------------

bool TChosenFileRecFromStream(TStream& stream, TChosenFile_BaseRec& rec) {
  rec = TChosenFile_BaseRec{};
  std::array<std::uint8_t, chosen_file_old_size> old{};
  if (!ReadExactly(stream, old.data(), old.size())) return false;
  if (Get<std::int32_t>(old.data(), 0) < 0) {
    StepBack(stream, static_cast<std::int64_t>(old.size()));
    TChosenFileRecBytes bytes{};
    if (!ReadExactly(stream, bytes.data(), bytes.size())) return false;
    rec = ChosenFileRecFromBytes(bytes);
  } else {
    rec = ChosenFileFromOldForm(old.data());
  }
  if (rec.TextualDateAndTime == 0) rec.TextualDateAndTime = DateTimeToJulianAddingConst(rec.Date);
  return true;
}

bool ExtraStatsRecFromStream(TStream& stream, TFileInfoExtraStatsRec& rec) {
  rec = TFileInfoExtraStatsRec{};
  std::array<std::uint8_t, extra_stats_old_size> old{};
  if (!ReadExactly(stream, old.data(), old.size())) return false;
  if (Get<std::int32_t>(old.data(), 12) > 1) {
    StepBack(stream, static_cast<std::int64_t>(old.size()));
    TExtraStatsRecBytes bytes{};
    if (!ReadExactly(stream, bytes.data(), bytes.size())) return false;
    rec = ExtraStatsRecFromBytes(bytes);
    return true;
  }
  rec.total_bytes = Get<std::int32_t>(old.data(), 0);
  rec.zips_added = Get<std::int32_t>(old.data(), 4);
  rec.version = Get<std::int32_t>(old.data(), 8);
  return true;
}

}  // namespace quill
