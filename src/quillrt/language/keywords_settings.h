#pragma once
// Settings of the keywords tool in their current layout and in the layouts of
// releases 4 and 5, with their byte forms and the conversions into the current
// one. Little-endian, field by field; booleans stored as 0 or 1.
//
// Current form, 2664 bytes:
//     0 1040 settings_language              1573  6 spare_display
//  1040    4 min_LL_P_value (single)        1579  1 exclude_negatives
//  1044    2 min_freq (int16)               1580  1 handle_amount
//  1048    4 max_wanted                     1581  1 plot_computed
//  1052    8 source_text_running_words      1582  1 links_computed
//  1060   24 links_max_min (6 x int32)      1584  4 spare_max_kw_links
//  1084  446 source_wordlists (223 units)   1588  4 multiple_source_texts,
//  1530    1 plot_keyness_uses_BIC_score           full_lemma_processing,
//  1531    9 spare_Bools                           wordlist_has_lemmas, spare_Bool4
//  1540   32 spare_ints (8 x int32)         1592  4 version_number
//  1572    1 spare_keyness_proc             1596  4 percent_little_wds_found_in_rc
//  1600 12 min_texts_percent, log_ratio_threshold, BIC_score_threshold (singles)
//  1612  8 reserved   1620 522 source_text_filename   2142 522 ref_corpus_wordlist_filename
//
// Release 5, 2256 bytes: the oldest language record (632) at 0; min_LL_P_value
// 632; min_freq 636; max_wanted 640; source_text_running_words 644; two unused
// 256-byte 8-bit strings 652 and 908; keyness_proc 1164; spare_display 1165;
// exclude_negatives 1171; handle_amount 1172; plot_computed 1173;
// links_computed 1174; max_kw_links 1176; multiple_source_texts 1180;
// full_lemma_processing 1181; two spare booleans 1182, 1183; version_number
// 1184; percent_little_wds_found_in_rc 1188; reserved 1192; source_text_filename
// 1212 and ref_corpus_wordlist_filename 1734 (261 UTF-16 units each).
//
// Release 4, 1212 bytes: as release 5 up to 1188, except min_x2 (single) at 632,
// both_ways at 1172 and the two file names at 652 and 908 as 8-bit strings
// (length byte, up to 255 characters in the system's ANSI code page); reserved
// from 1188.
#include <array>
#include <cstddef>
#include <cstdint>

#include "quillrt/collections/basic_types.h"
#include "quillrt/language/legacy_records.h"
#include "quillrt/language/language_record.h"
#include "quillrt/quillrt_export.h"

namespace quill {

enum keyness_procedure_type : std::uint8_t { chi_square_proc, log_likelihood_proc, log_ratio_proc, percent_diff_proc };
enum TKWHandlingAmount : std::uint8_t { KW_each_word_in_little, KW_each_word_in_both };

// Limits on the links between keywords.
struct TLinksMaxMinRec {
  std::int32_t min_cluster_freq = 0;
  std::int32_t min_linked_KW_types = 0;
  std::int32_t max_links = 0;
  std::int32_t min_strength = 0;
  std::int32_t min_span = 0;
  std::int32_t max_span = 0;
  friend bool operator==(const TLinksMaxMinRec&, const TLinksMaxMinRec&) = default;
};

struct QY_prominex_settings_type32 {
  fixed_lang_details_rec32 settings_language;
  float min_LL_P_value = 0;
  std::int16_t min_freq = 0;
  std::int32_t max_wanted = 0;
  std::array<std::int32_t, 2> source_text_running_words{};
  TLinksMaxMinRec links_max_min;
  twohundred22widechar source_wordlists{};
  bool plot_keyness_uses_BIC_score = false;
  std::array<bool, 9> spare_Bools{};
  std::array<std::int32_t, 8> spare_ints{};
  keyness_procedure_type spare_keyness_proc = chi_square_proc;
  std::array<bool, 6> spare_display{};
  bool exclude_negatives = false;
  TKWHandlingAmount handle_amount = KW_each_word_in_little;
  bool plot_computed = false;
  bool links_computed = false;
  std::int32_t spare_max_kw_links = 0;
  bool multiple_source_texts = false;
  bool full_lemma_processing = false;
  bool wordlist_has_lemmas = false;
  bool spare_Bool4 = false;
  std::int32_t version_number = 0;
  std::int32_t percent_little_wds_found_in_rc = 0;
  float min_texts_percent = 0;
  float log_ratio_threshold = 0;
  float BIC_score_threshold = 0;
  std::array<std::uint8_t, 8> reserved{};
  maxpathwidechar source_text_filename{};
  maxpathwidechar ref_corpus_wordlist_filename{};
};

// The release-5 form.
struct QY_prominex_settings_type_old {
  fixed_lang_details_rec_old language;
  float min_LL_P_value = 0;
  std::int16_t min_freq = 0;
  std::int32_t max_wanted = 0;
  std::array<std::int32_t, 2> source_text_running_words{};
  keyness_procedure_type keyness_proc = chi_square_proc;
  std::array<bool, 6> spare_display{};
  bool exclude_negatives = false;
  TKWHandlingAmount handle_amount = KW_each_word_in_little;
  bool plot_computed = false;
  bool links_computed = false;
  std::int32_t max_kw_links = 0;
  bool multiple_source_texts = false;
  bool full_lemma_processing = false;
  std::int32_t version_number = 0;
  std::int32_t percent_little_wds_found_in_rc = 0;
  maxpathwidechar source_text_filename{};
  maxpathwidechar ref_corpus_wordlist_filename{};
};

// The release-4 form.
struct QY4_prominex_settings_type {
  fixed_lang_details_rec_old language;
  float min_x2 = 0;
  std::int16_t min_freq = 0;
  std::int32_t max_wanted = 0;
  std::array<std::int32_t, 2> source_text_running_words{};
  std::array<std::uint8_t, 256> source_text_filename{};          // length byte first
  std::array<std::uint8_t, 256> ref_corpus_wordlist_filename{};  // length byte first
  keyness_procedure_type keyness_proc = chi_square_proc;
  std::array<bool, 6> spare_display{};
  bool exclude_negatives = false;
  bool both_ways = false;
  bool plot_computed = false;
  bool links_computed = false;
  std::int32_t max_kw_links = 0;
  bool multiple_source_texts = false;
  bool full_lemma_processing = false;
  std::int32_t version_number = 0;
};

inline constexpr std::size_t prominex_settings32_size = 2664;
inline constexpr std::size_t prominex_settings_v5_size = 2256;
inline constexpr std::size_t prominex_settings_v4_size = 1212;
using TProminexSettingsBytes = std::array<std::uint8_t, prominex_settings32_size>;

QUILLRT_API TProminexSettingsBytes ProminexSettingsToBytes(const QY_prominex_settings_type32& rec);
QUILLRT_API QY_prominex_settings_type32 ProminexSettingsFromBytes(const TProminexSettingsBytes& bytes);
// The older forms held in 2256 and 1212 bytes at `bytes`.
QUILLRT_API QY_prominex_settings_type_old ProminexSettingsV5FromBytes(const std::uint8_t* bytes);
QUILLRT_API QY4_prominex_settings_type ProminexSettingsV4FromBytes(const std::uint8_t* bytes);

// Release-5 settings in the current form: the language converted, the values
// and file names kept, the link limits made the tool's defaults (cluster
// frequency 3, one linked type, strength 3, span 1 to 5) with the stored
// maximum of links. The keyness procedure and display switches are dropped.
QUILLRT_API QY_prominex_settings_type32 QY_prominex_settings_type32FromV5OLd(const QY_prominex_settings_type_old& old);
// Release-4 settings in the current form: min_x2 becomes the minimum p value,
// only the maximum of links is kept among the link limits, and the file names
// are converted from the system's ANSI code page.
QUILLRT_API QY_prominex_settings_type32 QY_prominex_settings_type32FromV4(const QY4_prominex_settings_type& old);

}  // namespace quill
