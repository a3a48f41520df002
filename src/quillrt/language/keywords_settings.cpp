#include "quillrt/language/keywords_settings.h"

#include <string_view>

#include "quillrt/language/record_bytes.h"
#include "quillrt/platform/code_pages.h"

namespace quill {

using namespace record_bytes;

namespace {

// Current form.
constexpr std::size_t k_min_LL = 1040;
constexpr std::size_t k_min_freq = 1044;
constexpr std::size_t k_max_wanted = 1048;
constexpr std::size_t k_running_words = 1052;
constexpr std::size_t k_links = 1060;
constexpr std::size_t k_source_wordlists = 1084;
constexpr std::size_t k_plot_BIC = 1530;
constexpr std::size_t k_spare_bools = 1531;
constexpr std::size_t k_spare_ints = 1540;
constexpr std::size_t k_keyness_proc = 1572;
constexpr std::size_t k_spare_display = 1573;
constexpr std::size_t k_exclude_negatives = 1579;
constexpr std::size_t k_handle_amount = 1580;
constexpr std::size_t k_plot_computed = 1581;
constexpr std::size_t k_links_computed = 1582;
constexpr std::size_t k_spare_max_links = 1584;
constexpr std::size_t k_multiple_sources = 1588;
constexpr std::size_t k_full_lemma = 1589;
constexpr std::size_t k_has_lemmas = 1590;
constexpr std::size_t k_spare_bool4 = 1591;
constexpr std::size_t k_version = 1592;
constexpr std::size_t k_percent_little = 1596;
constexpr std::size_t k_min_texts_percent = 1600;
constexpr std::size_t k_log_ratio = 1604;
constexpr std::size_t k_BIC = 1608;
constexpr std::size_t k_reserved = 1612;
constexpr std::size_t k_source_text = 1620;
constexpr std::size_t k_ref_corpus = 2142;
static_assert(k_source_wordlists + 2 * 223 == k_plot_BIC);
static_assert(k_ref_corpus + 2 * 261 == prominex_settings32_size);

// Releases 4 and 5.
constexpr std::size_t o_min = 632;  // min_LL_P_value, or min_x2 in release 4
constexpr std::size_t o_min_freq = 636;
constexpr std::size_t o_max_wanted = 640;
constexpr std::size_t o_running_words = 644;
constexpr std::size_t o_name8_source = 652;
constexpr std::size_t o_name8_ref = 908;
constexpr std::size_t o_keyness_proc = 1164;
constexpr std::size_t o_spare_display = 1165;
constexpr std::size_t o_exclude_negatives = 1171;
constexpr std::size_t o_handle_amount = 1172;  // both_ways in release 4
constexpr std::size_t o_plot_computed = 1173;
constexpr std::size_t o_links_computed = 1174;
constexpr std::size_t o_max_links = 1176;
constexpr std::size_t o_multiple_sources = 1180;
constexpr std::size_t o_full_lemma = 1181;
constexpr std::size_t o_version = 1184;
constexpr std::size_t o_percent_little = 1188;
constexpr std::size_t o_source_text = 1212;
constexpr std::size_t o_ref_corpus = 1734;
static_assert(o_ref_corpus + 2 * 261 == prominex_settings_v5_size);

template <std::size_t N>
void PutBools(std::uint8_t* b, std::size_t at, const std::array<bool, N>& values) {
  for (std::size_t i = 0; i < N; ++i) PutBool(b, at + i, values[i]);
}
template <std::size_t N>
void GetBools(const std::uint8_t* b, std::size_t at, std::array<bool, N>& values) {
  for (std::size_t i = 0; i < N; ++i) values[i] = GetBool(b, at + i);
}

// An 8-bit string of release 4 (length byte, then up to 255 characters) in a
// UTF-16 field, through the system's ANSI code page.
void AnsiNameToField(const std::array<std::uint8_t, 256>& name, maxpathwidechar& field) {
  const std::string_view text(reinterpret_cast<const char*>(name.data() + 1), name[0]);
  const UnicodeString wide = AnsiToUnicode(text, GetACP());
  SetFixedChars(field, std::u16string_view(wide));
}

// The fields that releases 4 and 5 share in the same places.
template <class Old>
void GetSharedOldFields(const std::uint8_t* b, Old& rec) {
  rec.language = LangRecOldFromBytes(b);
  rec.min_freq = Get<std::int16_t>(b, o_min_freq);
  rec.max_wanted = Get<std::int32_t>(b, o_max_wanted);
  rec.source_text_running_words = {Get<std::int32_t>(b, o_running_words), Get<std::int32_t>(b, o_running_words + 4)};
  rec.keyness_proc = static_cast<keyness_procedure_type>(b[o_keyness_proc]);
  GetBools(b, o_spare_display, rec.spare_display);
  rec.exclude_negatives = GetBool(b, o_exclude_negatives);
  rec.plot_computed = GetBool(b, o_plot_computed);
  rec.links_computed = GetBool(b, o_links_computed);
  rec.max_kw_links = Get<std::int32_t>(b, o_max_links);
  rec.multiple_source_texts = GetBool(b, o_multiple_sources);
  rec.full_lemma_processing = GetBool(b, o_full_lemma);
  rec.version_number = Get<std::int32_t>(b, o_version);
}

template <class Old>
void CopySharedOldValues(const Old& old, QY_prominex_settings_type32& rec) {
  rec.settings_language = LangDetNewFromOld(old.language);
  rec.min_freq = old.min_freq;
  rec.max_wanted = old.max_wanted;
  rec.source_text_running_words = old.source_text_running_words;
  rec.exclude_negatives = old.exclude_negatives;
  rec.plot_computed = old.plot_computed;
  rec.links_computed = old.links_computed;
  rec.multiple_source_texts = old.multiple_source_texts;
  rec.full_lemma_processing = old.full_lemma_processing;
  rec.version_number = old.version_number;
}

}  // namespace

TProminexSettingsBytes ProminexSettingsToBytes(const QY_prominex_settings_type32& rec) {
  TProminexSettingsBytes bytes{};
  std::uint8_t* b = bytes.data();
  const TLangRecBytes language = LangRecToBytes(rec.settings_language);
  std::copy(language.begin(), language.end(), b);
  Put<float>(b, k_min_LL, rec.min_LL_P_value);
  Put<std::int16_t>(b, k_min_freq, rec.min_freq);
  Put<std::int32_t>(b, k_max_wanted, rec.max_wanted);
  Put<std::int32_t>(b, k_running_words, rec.source_text_running_words[0]);
  Put<std::int32_t>(b, k_running_words + 4, rec.source_text_running_words[1]);
  const TLinksMaxMinRec& links = rec.links_max_min;
  const std::int32_t link_values[] = {links.min_cluster_freq, links.min_linked_KW_types, links.max_links,
                                      links.min_strength,     links.min_span,            links.max_span};
  for (std::size_t i = 0; i < std::size(link_values); ++i) Put<std::int32_t>(b, k_links + 4 * i, link_values[i]);
  PutWide(b, k_source_wordlists, rec.source_wordlists);
  PutBool(b, k_plot_BIC, rec.plot_keyness_uses_BIC_score);
  PutBools(b, k_spare_bools, rec.spare_Bools);
  for (std::size_t i = 0; i < rec.spare_ints.size(); ++i) Put<std::int32_t>(b, k_spare_ints + 4 * i, rec.spare_ints[i]);
  b[k_keyness_proc] = rec.spare_keyness_proc;
  PutBools(b, k_spare_display, rec.spare_display);
  PutBool(b, k_exclude_negatives, rec.exclude_negatives);
  b[k_handle_amount] = rec.handle_amount;
  PutBool(b, k_plot_computed, rec.plot_computed);
  PutBool(b, k_links_computed, rec.links_computed);
  Put<std::int32_t>(b, k_spare_max_links, rec.spare_max_kw_links);
  PutBool(b, k_multiple_sources, rec.multiple_source_texts);
  PutBool(b, k_full_lemma, rec.full_lemma_processing);
  PutBool(b, k_has_lemmas, rec.wordlist_has_lemmas);
  PutBool(b, k_spare_bool4, rec.spare_Bool4);
  Put<std::int32_t>(b, k_version, rec.version_number);
  Put<std::int32_t>(b, k_percent_little, rec.percent_little_wds_found_in_rc);
  Put<float>(b, k_min_texts_percent, rec.min_texts_percent);
  Put<float>(b, k_log_ratio, rec.log_ratio_threshold);
  Put<float>(b, k_BIC, rec.BIC_score_threshold);
  PutRaw(b, k_reserved, rec.reserved);
  PutWide(b, k_source_text, rec.source_text_filename);
  PutWide(b, k_ref_corpus, rec.ref_corpus_wordlist_filename);
  return bytes;
}

QY_prominex_settings_type32 ProminexSettingsFromBytes(const TProminexSettingsBytes& bytes) {
  QY_prominex_settings_type32 rec;
  const std::uint8_t* b = bytes.data();
  TLangRecBytes language{};
  std::copy_n(b, language.size(), language.begin());
  rec.settings_language = LangRecFromBytes(language);
  rec.min_LL_P_value = Get<float>(b, k_min_LL);
  rec.min_freq = Get<std::int16_t>(b, k_min_freq);
  rec.max_wanted = Get<std::int32_t>(b, k_max_wanted);
  rec.source_text_running_words = {Get<std::int32_t>(b, k_running_words), Get<std::int32_t>(b, k_running_words + 4)};
  TLinksMaxMinRec& links = rec.links_max_min;
  for (auto [field, i] : {std::pair{&links.min_cluster_freq, 0}, std::pair{&links.min_linked_KW_types, 1},
                          std::pair{&links.max_links, 2}, std::pair{&links.min_strength, 3},
                          std::pair{&links.min_span, 4}, std::pair{&links.max_span, 5}})
    *field = Get<std::int32_t>(b, k_links + 4 * static_cast<std::size_t>(i));
  GetWide(b, k_source_wordlists, rec.source_wordlists);
  rec.plot_keyness_uses_BIC_score = GetBool(b, k_plot_BIC);
  GetBools(b, k_spare_bools, rec.spare_Bools);
  for (std::size_t i = 0; i < rec.spare_ints.size(); ++i) rec.spare_ints[i] = Get<std::int32_t>(b, k_spare_ints + 4 * i);
  rec.spare_keyness_proc = static_cast<keyness_procedure_type>(b[k_keyness_proc]);
  GetBools(b, k_spare_display, rec.spare_display);
  rec.exclude_negatives = GetBool(b, k_exclude_negatives);
  rec.handle_amount = static_cast<TKWHandlingAmount>(b[k_handle_amount]);
  rec.plot_computed = GetBool(b, k_plot_computed);
  rec.links_computed = GetBool(b, k_links_computed);
  rec.spare_max_kw_links = Get<std::int32_t>(b, k_spare_max_links);
  rec.multiple_source_texts = GetBool(b, k_multiple_sources);
  rec.full_lemma_processing = GetBool(b, k_full_lemma);
  rec.wordlist_has_lemmas = GetBool(b, k_has_lemmas);
  rec.spare_Bool4 = GetBool(b, k_spare_bool4);
  rec.version_number = Get<std::int32_t>(b, k_version);
  rec.percent_little_wds_found_in_rc = Get<std::int32_t>(b, k_percent_little);
  rec.min_texts_percent = Get<float>(b, k_min_texts_percent);
  rec.log_ratio_threshold = Get<float>(b, k_log_ratio);
  rec.BIC_score_threshold = Get<float>(b, k_BIC);
  GetRaw(b, k_reserved, rec.reserved);
  GetWide(b, k_source_text, rec.source_text_filename);
  GetWide(b, k_ref_corpus, rec.ref_corpus_wordlist_filename);
  return rec;
}

QY_prominex_settings_type_old ProminexSettingsV5FromBytes(const std::uint8_t* b) {
  QY_prominex_settings_type_old rec;
  GetSharedOldFields(b, rec);
  rec.min_LL_P_value = Get<float>(b, o_min);
  rec.handle_amount = static_cast<TKWHandlingAmount>(b[o_handle_amount]);
  rec.percent_little_wds_found_in_rc = Get<std::int32_t>(b, o_percent_little);
  GetWide(b, o_source_text, rec.source_text_filename);
  GetWide(b, o_ref_corpus, rec.ref_corpus_wordlist_filename);
  return rec;
}

QY4_prominex_settings_type ProminexSettingsV4FromBytes(const std::uint8_t* b) {
  QY4_prominex_settings_type rec;
  GetSharedOldFields(b, rec);
  rec.min_x2 = Get<float>(b, o_min);
  rec.both_ways = GetBool(b, o_handle_amount);
  GetRaw(b, o_name8_source, rec.source_text_filename);
  GetRaw(b, o_name8_ref, rec.ref_corpus_wordlist_filename);
  return rec;
}

QY_prominex_settings_type32 QY_prominex_settings_type32FromV5OLd(const QY_prominex_settings_type_old& old) {
  QY_prominex_settings_type32 rec;
  CopySharedOldValues(old, rec);
  rec.min_LL_P_value = old.min_LL_P_value;
  rec.handle_amount = old.handle_amount;
  rec.percent_little_wds_found_in_rc = old.percent_little_wds_found_in_rc;
  // Rewritten rather than copied, so that nothing stale follows the names.
  SetFixedChars(rec.source_text_filename, std::u16string_view(GetFixedChars(old.source_text_filename)));
  SetFixedChars(rec.ref_corpus_wordlist_filename, std::u16string_view(GetFixedChars(old.ref_corpus_wordlist_filename)));
  rec.links_max_min = {3, 1, old.max_kw_links, 3, 1, 5};
  return rec;
}

QY_prominex_settings_type32 QY_prominex_settings_type32FromV4(const QY4_prominex_settings_type& old) {
  QY_prominex_settings_type32 rec;
  CopySharedOldValues(old, rec);
  rec.min_LL_P_value = old.min_x2;
  rec.links_max_min.max_links = old.max_kw_links;
  AnsiNameToField(old.source_text_filename, rec.source_text_filename);
  AnsiNameToField(old.ref_corpus_wordlist_filename, rec.ref_corpus_wordlist_filename);
  return rec;
}

}  // namespace quill
