#pragma once
// The current layouts of the settings and file records that the legacy readers
// (legacy_records.h) convert into, with their stored byte forms. Every record is
// little-endian, written field by field; padding and reserved bytes are part of
// the format. Booleans are stored as 0 or 1 and any non-zero byte reads as true.
#include <array>
#include <cstddef>
#include <cstdint>

#include "quillrt/collections/basic_types.h"
#include "quillrt/collections/integer_lists.h"
#include "quillrt/files/file_contents.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/framework/strings.h"
#include "quillrt/language/language_record.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// --- Text settings (3028 bytes) -----------------------------------------------------
//
//    0 1040  language_info                1046  1  clear_default_markup
// 1040    1  tag_treatment                1047  1  numbers_included
// 1041    1  must_use_Unicode             1048 24  ignore_tags (12 UTF-16 units)
// 1042    1  RequirePrecomposedCharacters 1072 1632 standard_markers (8 x 204)
// 1043    1  handle_International_..._numbers  2704 4  max_texts
// 1044    1  spare5                       2708 320 reserved
// 1045    1  using_SGML
//
// A standard marker (204 bytes): marker (100 UTF-16 units) at 0, then the
// booleans spare 200, auto_process 201, has_wildcards 202, one byte of padding.

enum TWordListTagTreatment : std::uint8_t { wltt_none, wltt_tags_as_prefix, wltt_list_tags_only };

using TIgnore_tag_type = std::array<WideChar, 12>;

struct text_segment_rec {
  ninety_ninewidechar marker{};  // the marker text, zero-terminated
  bool spare = false;
  bool auto_process = false;  // the tools process this segment kind by themselves
  bool has_wildcards = false;
  friend bool operator==(const text_segment_rec&, const text_segment_rec&) = default;
};

struct textsett_rec32 {
  fixed_lang_details_rec32 language_info;
  TWordListTagTreatment tag_treatment = wltt_none;
  bool must_use_Unicode = false;
  bool RequirePrecomposedCharacters = false;
  bool handle_International_System_of_Units_numbers = false;
  bool spare5 = false;
  bool using_SGML = false;
  bool clear_default_markup = false;
  bool numbers_included = false;
  TIgnore_tag_type ignore_tags{};
  std::array<text_segment_rec, 8> standard_markers{};
  std::int32_t max_texts = 0;
  std::array<std::uint8_t, 320> reserved{};
  friend bool operator==(const textsett_rec32&, const textsett_rec32&) = default;
};

inline constexpr std::size_t textsett_rec32_size = 3028;
inline constexpr std::size_t text_segment_rec_size = 204;
using TTextSettBytes = std::array<std::uint8_t, textsett_rec32_size>;

QUILLRT_API TTextSettBytes TextSettRecToBytes(const textsett_rec32& rec);
QUILLRT_API textsett_rec32 TextSettRecFromBytes(const TTextSettBytes& bytes);
// One standard marker at `bytes` (204 bytes), for records that embed them.
QUILLRT_API void TextSegmentRecToBytes(const text_segment_rec& rec, std::uint8_t* bytes);
QUILLRT_API text_segment_rec TextSegmentRecFromBytes(const std::uint8_t* bytes);

// --- Concordance settings (2580 bytes) ------------------------------------------------
//
// The record's fields (sort, display, cluster and hide options) belong to the
// concordance tool, so this layer holds it as its stored bytes and names only the
// fields that the conversion from the older form touches.

struct TConcSettingsRec32 {
  static constexpr std::size_t size = 2580;
  // Search words of 81 UTF-16 units each.
  static constexpr std::size_t off_concordance_word = 0;
  static constexpr std::size_t off_exclusion_word = 162;
  static constexpr std::size_t off_tag_context_word = 324;
  static constexpr std::size_t off_concordance_context_word = 486;
  // entries_wanted_per_sw, entries, original_entries, run_words_processed.
  static constexpr std::size_t off_counts = 648;
  static constexpr std::size_t off_tag_string_only_on_number = 664;  // up to 1703: zero after conversion
  static constexpr std::size_t off_colloc_horizons = 1704;
  static constexpr std::size_t off_show_percents_not_raw_numbers = 1730;
  static constexpr std::size_t off_merge_sws_for_collocs = 1770;
  static constexpr std::size_t off_characters_for_textonly_display = 1772;  // int32

  std::array<std::uint8_t, size> bytes{};
  friend bool operator==(const TConcSettingsRec32&, const TConcSettingsRec32&) = default;
};

// --- Mutual-information settings (180 bytes) and their older 32-byte form -------------
//
//   0 1 spare_stop   1 1 stop_at   2..6 omit_left_right_matches, omit_numbers,
//   show_pairs_twice, recompute_total_tokens, two_way   7 1 MIStopListOption
//   8 1 use_OR_for_minima   9..15 reserved   16 4 MI_span   20 4 spare_MI_min_freq
//  24 4 MI_max_percent (single)   28 28 minima (7 singles)   56 40 spare_minima
//  96 4 MI_min_texts   100 80 reserved
//
// Old form: bytes 0..6 as above, spare7 7, spare8 8, 9..11 padding, span 12,
// min_freq 16, min_mutual_info 20 (single), max_percent 24 (single), to_left 28
// and to_right 30 (int16).

enum Tcollocates_stop_at_type : std::uint8_t {
  coll_stop_none,
  coll_stop_punctuation,
  coll_stop_sentence,
  coll_stop_paragraph,
  coll_stop_heading,
  coll_stop_section,
  coll_stop_text,
};

enum TMIStopListOption : std::uint8_t { MIS_none, mis_filter_word1, mis_filter_word2, mis_filter_both_words };

// The relationship statistics, in the order of the arrays indexed by them.
enum TMutualInfoStats : std::uint8_t { MI_Dice, MI_MI, MI_MI3, MI_Z, MI_log_likelihood, MI_T_Score, MI_Log_Ratio };
inline constexpr std::size_t mutual_info_stats_count = 7;

struct TMutual_info_settings32 {
  Tcollocates_stop_at_type spare_stop = coll_stop_none;
  Tcollocates_stop_at_type stop_at = coll_stop_none;
  bool omit_left_right_matches = false;
  bool omit_numbers = false;
  bool show_pairs_twice = false;
  bool recompute_total_tokens = false;
  bool two_way = false;
  TMIStopListOption MIStopListOption = MIS_none;
  bool use_OR_for_minima = false;
  std::array<std::uint8_t, 7> reserved1{};
  std::int32_t MI_span = 0;
  std::int32_t spare_MI_min_freq = 0;
  float MI_max_percent = 0;
  std::array<float, mutual_info_stats_count> minima{};  // indexed by TMutualInfoStats
  std::array<std::uint8_t, 40> spare_minima{};
  std::int32_t MI_min_texts = 0;
  std::array<std::uint8_t, 80> reserved2{};
};

struct TMutual_info_settings_old {
  Tcollocates_stop_at_type spare_stop = coll_stop_none;
  Tcollocates_stop_at_type stop_at = coll_stop_none;
  bool omit_left_right_matches = false;
  bool omit_numbers = false;
  bool show_pairs_twice = false;
  bool recompute_total_tokens = false;
  bool two_way = false;
  bool spare7 = false;
  bool spare8 = false;
  std::int32_t span = 0;
  std::int32_t min_freq = 0;
  float min_mutual_info = 0;
  float max_percent = 0;
  std::int16_t to_left = 0;
  std::int16_t to_right = 0;
};

inline constexpr std::size_t mutual_info_settings32_size = 180;
inline constexpr std::size_t mutual_info_settings_old_size = 32;
using TMutualInfoSettingsBytes = std::array<std::uint8_t, mutual_info_settings32_size>;
using TMutualInfoSettingsOldBytes = std::array<std::uint8_t, mutual_info_settings_old_size>;

QUILLRT_API TMutualInfoSettingsBytes MutualInfoSettingsToBytes(const TMutual_info_settings32& rec);
QUILLRT_API TMutual_info_settings32 MutualInfoSettingsFromBytes(const TMutualInfoSettingsBytes& bytes);
QUILLRT_API TMutualInfoSettingsOldBytes MutualInfoSettingsOldToBytes(const TMutual_info_settings_old& rec);
QUILLRT_API TMutual_info_settings_old MutualInfoSettingsOldFromBytes(const TMutualInfoSettingsOldBytes& bytes);

// --- Mutual-information results (in memory: they carry pointers) ----------------------

struct TMutualInfo_recFeb2016 {
  std::int32_t n_files = 0;
  std::int32_t f1 = 0;
  std::int32_t f2 = 0;
  std::int32_t joint = 0;
  std::int32_t commonest_gap_size = 0;
  std::array<float, mutual_info_stats_count> scores{};  // indexed by TMutualInfoStats
  std::array<std::uint8_t, 36> reserved{};
  std::uint32_t w1 = 0;
  std::uint32_t w2 = 0;
  void* p1 = nullptr;
  void* p2 = nullptr;
};

struct TMutualInfo_recOld {
  std::int32_t n_files = 0;
  std::int32_t f1 = 0;
  std::int32_t f2 = 0;
  std::int32_t joint = 0;
  std::int32_t commonest_gap_size = 0;
  float spareMI = 0;
  float spareZ = 0;
  float spareLL = 0;
  std::array<float, 6> scores{};  // the first six statistics
  std::uint32_t w1 = 0;
  std::uint32_t w2 = 0;
  void* p1 = nullptr;
  void* p2 = nullptr;
};

// --- File records -----------------------------------------------------------------------
//
// A chosen file, 64 bytes when stored (the in-memory record also carries the
// hit positions and the short name, which are never stored):
//   0 4 FolderData, stored as -(n + 1) for folder n   4 4 Zip_Num   8 8 Date
//  16 8 Size   24 4 Words   28 1 encrypted   29 1 spare_B   30..31 padding
//  32 1 Wanted   33 1 KindOfFile   34..35 padding   36 4 version
//  40 8 TextualDateAndTime (shifted day number)   48 4 hits   52 8 reserved
//  60 4 jump_to (a pointer when written; written as zero, ignored when read)
//
// Extra statistics of a file list, 40 bytes: total_bytes 0 (int64), zips_added 8,
// version 12, reserved 16..39.

enum TChosenFileWanted : std::uint8_t { cf_unsure, cf_wanted, cf_unwanted };

struct TChosenFile_BaseRec {
  std::int32_t FolderData = 0;  // the file's folder number
  std::int32_t Zip_Num = 0;
  TDateTime Date = 0;
  std::int64_t Size = 0;
  std::int32_t Words = 0;
  bool encrypted = false;
  bool spare_B = false;
  TChosenFileWanted Wanted = cf_unsure;
  TFileContentsSet KindOfFile;
  std::int32_t version = 0;
  double TextualDateAndTime = 0;  // the text's own date as a shifted day number; 0 for none
  std::int32_t hits = 0;
  std::array<std::uint8_t, 8> reserved{};
  TQYLongintList* jump_to = nullptr;  // the tool's hit positions; not owned, not stored
  UnicodeString ShortFileName;        // not stored
};

struct TFileInfoExtraStatsRec {
  std::int64_t total_bytes = 0;
  std::int32_t zips_added = 0;
  std::int32_t version = 0;
  std::array<std::uint8_t, 24> reserved{};
};

inline constexpr std::size_t chosen_file_rec_stored_size = 64;
inline constexpr std::size_t extra_stats_rec_size = 40;
using TChosenFileRecBytes = std::array<std::uint8_t, chosen_file_rec_stored_size>;
using TExtraStatsRecBytes = std::array<std::uint8_t, extra_stats_rec_size>;

QUILLRT_API TChosenFileRecBytes ChosenFileRecToBytes(const TChosenFile_BaseRec& rec);
// The stored fields; FolderData decoded from its stored -(n + 1). jump_to and
// ShortFileName stay empty.
QUILLRT_API TChosenFile_BaseRec ChosenFileRecFromBytes(const TChosenFileRecBytes& bytes);
QUILLRT_API TExtraStatsRecBytes ExtraStatsRecToBytes(const TFileInfoExtraStatsRec& rec);
QUILLRT_API TFileInfoExtraStatsRec ExtraStatsRecFromBytes(const TExtraStatsRecBytes& bytes);

}  // namespace quill
