#include "quillrt/language/settings_records.h"

#include "quillrt/language/record_bytes.h"

namespace quill {

using namespace record_bytes;

namespace {

// Text settings.
constexpr std::size_t ts_tag_treatment = 1040;
constexpr std::size_t ts_must_use_Unicode = 1041;
constexpr std::size_t ts_precomposed = 1042;
constexpr std::size_t ts_si_numbers = 1043;
constexpr std::size_t ts_spare5 = 1044;
constexpr std::size_t ts_using_SGML = 1045;
constexpr std::size_t ts_clear_default_markup = 1046;
constexpr std::size_t ts_numbers_included = 1047;
constexpr std::size_t ts_ignore_tags = 1048;
constexpr std::size_t ts_standard_markers = 1072;
constexpr std::size_t ts_max_texts = 2704;
constexpr std::size_t ts_reserved = 2708;
static_assert(ts_standard_markers + 8 * text_segment_rec_size == ts_max_texts);
static_assert(ts_reserved + 320 == textsett_rec32_size);

constexpr std::size_t seg_spare = 200;
constexpr std::size_t seg_auto_process = 201;
constexpr std::size_t seg_has_wildcards = 202;

// Mutual-information settings.
constexpr std::size_t mi_spare_stop = 0;
constexpr std::size_t mi_stop_at = 1;
constexpr std::size_t mi_omit_left_right = 2;
constexpr std::size_t mi_omit_numbers = 3;
constexpr std::size_t mi_show_pairs_twice = 4;
constexpr std::size_t mi_recompute = 5;
constexpr std::size_t mi_two_way = 6;
constexpr std::size_t mi_stop_list_option = 7;
constexpr std::size_t mi_use_OR = 8;
constexpr std::size_t mi_reserved1 = 9;
constexpr std::size_t mi_span = 16;
constexpr std::size_t mi_spare_min_freq = 20;
constexpr std::size_t mi_max_percent = 24;
constexpr std::size_t mi_minima = 28;
constexpr std::size_t mi_spare_minima = 56;
constexpr std::size_t mi_min_texts = 96;
constexpr std::size_t mi_reserved2 = 100;
static_assert(mi_minima + 4 * mutual_info_stats_count == mi_spare_minima);
static_assert(mi_reserved2 + 80 == mutual_info_settings32_size);

constexpr std::size_t mio_spare7 = 7;
constexpr std::size_t mio_spare8 = 8;
constexpr std::size_t mio_span = 12;
constexpr std::size_t mio_min_freq = 16;
constexpr std::size_t mio_min_mutual_info = 20;
constexpr std::size_t mio_max_percent = 24;
constexpr std::size_t mio_to_left = 28;
constexpr std::size_t mio_to_right = 30;

// Chosen-file record.
constexpr std::size_t cf_folder = 0;
constexpr std::size_t cf_zip = 4;
constexpr std::size_t cf_date = 8;
constexpr std::size_t cf_size = 16;
constexpr std::size_t cf_words = 24;
constexpr std::size_t cf_encrypted = 28;
constexpr std::size_t cf_spare_B = 29;
constexpr std::size_t cf_wanted_at = 32;
constexpr std::size_t cf_kind = 33;
constexpr std::size_t cf_version = 36;
constexpr std::size_t cf_textual_date = 40;
constexpr std::size_t cf_hits = 48;
constexpr std::size_t cf_reserved = 52;
static_assert(cf_reserved + 8 + 4 == chosen_file_rec_stored_size);

// Extra statistics.
constexpr std::size_t es_total_bytes = 0;
constexpr std::size_t es_zips_added = 8;
constexpr std::size_t es_version = 12;
constexpr std::size_t es_reserved = 16;

// The five flags shared by both forms of the mutual-information settings.
template <class Settings>
void PutSharedMIFlags(std::uint8_t* b, const Settings& rec) {
  b[mi_spare_stop] = rec.spare_stop;
  b[mi_stop_at] = rec.stop_at;
  PutBool(b, mi_omit_left_right, rec.omit_left_right_matches);
  PutBool(b, mi_omit_numbers, rec.omit_numbers);
  PutBool(b, mi_show_pairs_twice, rec.show_pairs_twice);
  PutBool(b, mi_recompute, rec.recompute_total_tokens);
  PutBool(b, mi_two_way, rec.two_way);
}
template <class Settings>
void GetSharedMIFlags(const std::uint8_t* b, Settings& rec) {
  rec.spare_stop = static_cast<Tcollocates_stop_at_type>(b[mi_spare_stop]);
  rec.stop_at = static_cast<Tcollocates_stop_at_type>(b[mi_stop_at]);
  rec.omit_left_right_matches = GetBool(b, mi_omit_left_right);
  rec.omit_numbers = GetBool(b, mi_omit_numbers);
  rec.show_pairs_twice = GetBool(b, mi_show_pairs_twice);
  rec.recompute_total_tokens = GetBool(b, mi_recompute);
  rec.two_way = GetBool(b, mi_two_way);
}

}  // namespace

// --- Text settings ------------------------------------------------------------------------

void TextSegmentRecToBytes(const text_segment_rec& rec, std::uint8_t* bytes) {
  PutWide(bytes, 0, rec.marker);
  PutBool(bytes, seg_spare, rec.spare);
  PutBool(bytes, seg_auto_process, rec.auto_process);
  PutBool(bytes, seg_has_wildcards, rec.has_wildcards);
  bytes[203] = 0;
}

text_segment_rec TextSegmentRecFromBytes(const std::uint8_t* bytes) {
  text_segment_rec rec;
  GetWide(bytes, 0, rec.marker);
  rec.spare = GetBool(bytes, seg_spare);
  rec.auto_process = GetBool(bytes, seg_auto_process);
  rec.has_wildcards = GetBool(bytes, seg_has_wildcards);
  return rec;
}

TTextSettBytes TextSettRecToBytes(const textsett_rec32& rec) {
  TTextSettBytes bytes{};
  std::uint8_t* b = bytes.data();
  const TLangRecBytes language = LangRecToBytes(rec.language_info);
  std::copy(language.begin(), language.end(), b);
  b[ts_tag_treatment] = rec.tag_treatment;
  PutBool(b, ts_must_use_Unicode, rec.must_use_Unicode);
  PutBool(b, ts_precomposed, rec.RequirePrecomposedCharacters);
  PutBool(b, ts_si_numbers, rec.handle_International_System_of_Units_numbers);
  PutBool(b, ts_spare5, rec.spare5);
  PutBool(b, ts_using_SGML, rec.using_SGML);
  PutBool(b, ts_clear_default_markup, rec.clear_default_markup);
  PutBool(b, ts_numbers_included, rec.numbers_included);
  PutWide(b, ts_ignore_tags, rec.ignore_tags);
  for (std::size_t i = 0; i < rec.standard_markers.size(); ++i)
    TextSegmentRecToBytes(rec.standard_markers[i], b + ts_standard_markers + i * text_segment_rec_size);
  Put<std::int32_t>(b, ts_max_texts, rec.max_texts);
  PutRaw(b, ts_reserved, rec.reserved);
  return bytes;
}

textsett_rec32 TextSettRecFromBytes(const TTextSettBytes& bytes) {
  textsett_rec32 rec;
  const std::uint8_t* b = bytes.data();
  TLangRecBytes language{};
  std::copy_n(b, language.size(), language.begin());
  rec.language_info = LangRecFromBytes(language);
  rec.tag_treatment = static_cast<TWordListTagTreatment>(b[ts_tag_treatment]);
  rec.must_use_Unicode = GetBool(b, ts_must_use_Unicode);
  rec.RequirePrecomposedCharacters = GetBool(b, ts_precomposed);
  rec.handle_International_System_of_Units_numbers = GetBool(b, ts_si_numbers);
  rec.spare5 = GetBool(b, ts_spare5);
  rec.using_SGML = GetBool(b, ts_using_SGML);
  rec.clear_default_markup = GetBool(b, ts_clear_default_markup);
  rec.numbers_included = GetBool(b, ts_numbers_included);
  GetWide(b, ts_ignore_tags, rec.ignore_tags);
  for (std::size_t i = 0; i < rec.standard_markers.size(); ++i)
    rec.standard_markers[i] = TextSegmentRecFromBytes(b + ts_standard_markers + i * text_segment_rec_size);
  rec.max_texts = Get<std::int32_t>(b, ts_max_texts);
  GetRaw(b, ts_reserved, rec.reserved);
  return rec;
}

// --- Mutual-information settings ----------------------------------------------------------

TMutualInfoSettingsBytes MutualInfoSettingsToBytes(const TMutual_info_settings32& rec) {
  TMutualInfoSettingsBytes bytes{};
  std::uint8_t* b = bytes.data();
  PutSharedMIFlags(b, rec);
  b[mi_stop_list_option] = rec.MIStopListOption;
  PutBool(b, mi_use_OR, rec.use_OR_for_minima);
  PutRaw(b, mi_reserved1, rec.reserved1);
  Put<std::int32_t>(b, mi_span, rec.MI_span);
  Put<std::int32_t>(b, mi_spare_min_freq, rec.spare_MI_min_freq);
  Put<float>(b, mi_max_percent, rec.MI_max_percent);
  for (std::size_t i = 0; i < rec.minima.size(); ++i) Put<float>(b, mi_minima + 4 * i, rec.minima[i]);
  PutRaw(b, mi_spare_minima, rec.spare_minima);
  Put<std::int32_t>(b, mi_min_texts, rec.MI_min_texts);
  PutRaw(b, mi_reserved2, rec.reserved2);
  return bytes;
}

TMutual_info_settings32 MutualInfoSettingsFromBytes(const TMutualInfoSettingsBytes& bytes) {
  TMutual_info_settings32 rec;
  const std::uint8_t* b = bytes.data();
  GetSharedMIFlags(b, rec);
  rec.MIStopListOption = static_cast<TMIStopListOption>(b[mi_stop_list_option]);
  rec.use_OR_for_minima = GetBool(b, mi_use_OR);
  GetRaw(b, mi_reserved1, rec.reserved1);
  rec.MI_span = Get<std::int32_t>(b, mi_span);
  rec.spare_MI_min_freq = Get<std::int32_t>(b, mi_spare_min_freq);
  rec.MI_max_percent = Get<float>(b, mi_max_percent);
  for (std::size_t i = 0; i < rec.minima.size(); ++i) rec.minima[i] = Get<float>(b, mi_minima + 4 * i);
  GetRaw(b, mi_spare_minima, rec.spare_minima);
  rec.MI_min_texts = Get<std::int32_t>(b, mi_min_texts);
  GetRaw(b, mi_reserved2, rec.reserved2);
  return rec;
}

TMutualInfoSettingsOldBytes MutualInfoSettingsOldToBytes(const TMutual_info_settings_old& rec) {
  TMutualInfoSettingsOldBytes bytes{};
  std::uint8_t* b = bytes.data();
  PutSharedMIFlags(b, rec);
  PutBool(b, mio_spare7, rec.spare7);
  PutBool(b, mio_spare8, rec.spare8);
  Put<std::int32_t>(b, mio_span, rec.span);
  Put<std::int32_t>(b, mio_min_freq, rec.min_freq);
  Put<float>(b, mio_min_mutual_info, rec.min_mutual_info);
  Put<float>(b, mio_max_percent, rec.max_percent);
  Put<std::int16_t>(b, mio_to_left, rec.to_left);
  Put<std::int16_t>(b, mio_to_right, rec.to_right);
  return bytes;
}

TMutual_info_settings_old MutualInfoSettingsOldFromBytes(const TMutualInfoSettingsOldBytes& bytes) {
  TMutual_info_settings_old rec;
  const std::uint8_t* b = bytes.data();
  GetSharedMIFlags(b, rec);
  rec.spare7 = GetBool(b, mio_spare7);
  rec.spare8 = GetBool(b, mio_spare8);
  rec.span = Get<std::int32_t>(b, mio_span);
  rec.min_freq = Get<std::int32_t>(b, mio_min_freq);
  rec.min_mutual_info = Get<float>(b, mio_min_mutual_info);
  rec.max_percent = Get<float>(b, mio_max_percent);
  rec.to_left = Get<std::int16_t>(b, mio_to_left);
  rec.to_right = Get<std::int16_t>(b, mio_to_right);
  return rec;
}

// --- File records -------------------------------------------------------------------------

TChosenFileRecBytes ChosenFileRecToBytes(const TChosenFile_BaseRec& rec) {
  TChosenFileRecBytes bytes{};
  std::uint8_t* b = bytes.data();
  // Negative, so that readers tell this form from the older one.
  Put<std::int32_t>(b, cf_folder, static_cast<std::int32_t>(-(std::int64_t{rec.FolderData} + 1)));
  Put<std::int32_t>(b, cf_zip, rec.Zip_Num);
  Put<double>(b, cf_date, rec.Date);
  Put<std::int64_t>(b, cf_size, rec.Size);
  Put<std::int32_t>(b, cf_words, rec.Words);
  PutBool(b, cf_encrypted, rec.encrypted);
  PutBool(b, cf_spare_B, rec.spare_B);
  b[cf_wanted_at] = rec.Wanted;
  b[cf_kind] = rec.KindOfFile.Bits();
  Put<std::int32_t>(b, cf_version, rec.version);
  Put<double>(b, cf_textual_date, rec.TextualDateAndTime);
  Put<std::int32_t>(b, cf_hits, rec.hits);
  PutRaw(b, cf_reserved, rec.reserved);
  return bytes;
}

TChosenFile_BaseRec ChosenFileRecFromBytes(const TChosenFileRecBytes& bytes) {
  TChosenFile_BaseRec rec;
  const std::uint8_t* b = bytes.data();
  const auto stored = Get<std::int32_t>(b, cf_folder);
  rec.FolderData = stored < 0 ? -(stored + 1) : stored;
  rec.Zip_Num = Get<std::int32_t>(b, cf_zip);
  rec.Date = Get<double>(b, cf_date);
  rec.Size = Get<std::int64_t>(b, cf_size);
  rec.Words = Get<std::int32_t>(b, cf_words);
  rec.encrypted = GetBool(b, cf_encrypted);
  rec.spare_B = GetBool(b, cf_spare_B);
  rec.Wanted = static_cast<TChosenFileWanted>(b[cf_wanted_at]);
  rec.KindOfFile = TFileContentsSet::FromBits(b[cf_kind]);
  rec.version = Get<std::int32_t>(b, cf_version);
  rec.TextualDateAndTime = Get<double>(b, cf_textual_date);
  rec.hits = Get<std::int32_t>(b, cf_hits);
  GetRaw(b, cf_reserved, rec.reserved);
  return rec;
}

TExtraStatsRecBytes ExtraStatsRecToBytes(const TFileInfoExtraStatsRec& rec) {
  TExtraStatsRecBytes bytes{};
  std::uint8_t* b = bytes.data();
  Put<std::int64_t>(b, es_total_bytes, rec.total_bytes);
  Put<std::int32_t>(b, es_zips_added, rec.zips_added);
  Put<std::int32_t>(b, es_version, rec.version);
  PutRaw(b, es_reserved, rec.reserved);
  return bytes;
}

TFileInfoExtraStatsRec ExtraStatsRecFromBytes(const TExtraStatsRecBytes& bytes) {
  TFileInfoExtraStatsRec rec;
  const std::uint8_t* b = bytes.data();
  rec.total_bytes = Get<std::int64_t>(b, es_total_bytes);
  rec.zips_added = Get<std::int32_t>(b, es_zips_added);
  rec.version = Get<std::int32_t>(b, es_version);
  GetRaw(b, es_reserved, rec.reserved);
  return rec;
}

}  // namespace quill
