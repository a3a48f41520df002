#pragma once
// Readers of the settings and file records that older releases wrote, turning
// them into the current layouts (settings_records.h, language_record.h).
//
// A reader is either told the settings file's format version or recognises the
// older form by marker bytes. Records are raw little-endian bytes with nothing
// around them.
//
// Failure. Every reader answers true only when the whole record it chose to
// read arrived. On false the destination is the blank record (all zero: no
// colours, no half-read fields) so that it can never be mistaken for settings
// that were read; the stream stays where the failed read stopped. A record whose
// marker bytes happen to look like the other form is read as that form: the
// stored formats leave no way to tell.
//
// The oldest language record, 632 bytes:
//     0   1 allow_middles_at_right        52   2 dos_codepage
//     1   1 allow_middles_at_left         54  21 spare_currency (length + 20)
//     2   1 is_32_version (0)             75  11 old_allowable_middle_letters
//     3   1 spare                                (length + 10 8-bit characters)
//     4   4 spare2                        86  22 allowable_middle_letters (unused)
//     8   4 lcid                         108 234 spare_st
//    12  35 old_win_font                 342 129 ANSI_lowers
//    47   1 preference                   471 129 ANSI_uppers
//    48   1 custom_language              600  32 nome (length + 31 8-bit characters)
//    49   1 hyphen_breaks_word
//    50   2 win_codepage
//
// The version-5 language record is 1040 bytes like the current one and agrees
// with it up to offset 71 and in `nome` (936); it has no display font, colours
// or sort settings, and holds 8-bit case tables at 72 and 201.
#include <array>
#include <cstddef>
#include <cstdint>

#include "quillrt/framework/streams.h"
#include "quillrt/language/language_record.h"
#include "quillrt/language/settings_records.h"
#include "quillrt/quillrt_export.h"

namespace quill {

struct fixed_lang_details_rec_old {
  bool allow_middles_at_right = false;
  bool allow_middles_at_left = false;
  bool is_32_version = false;
  std::uint8_t spare = 0;
  std::int32_t spare2 = 0;
  std::uint32_t lcid = 0;
  old_fixed_character_format_rec old_win_font;
  Tlang_preference_type preference = lang_nao_instalada;
  bool custom_language = false;
  bool hyphen_breaks_word = false;
  std::uint16_t win_codepage = 0;
  std::uint16_t dos_codepage = 0;
  std::array<std::uint8_t, 21> spare_currency{};
  std::array<std::uint8_t, 11> old_allowable_middle_letters{};  // length byte first
  tenwidechar allowable_middle_letters{};
  std::array<std::uint8_t, 234> spare_st{};
  ANSILower_or_upperStr_type ANSI_lowers;
  ANSILower_or_upperStr_type ANSI_uppers;
  std::array<std::uint8_t, 32> nome{};  // length byte first, in the system's ANSI code page
};

inline constexpr std::size_t fixed_lang_details_rec_old_size = 632;
inline constexpr std::size_t textsett_rec_old_size = 2500;
inline constexpr std::size_t conc_settings_rec_old_read_size = 1368;

// The oldest language record held in 632 bytes at `bytes`.
QUILLRT_API fixed_lang_details_rec_old LangRecOldFromBytes(const std::uint8_t* bytes);

// The legacy font as a display font: charset and size kept, each 8-bit character
// of the name widened to the UTF-16 unit of the same value.
QUILLRT_API fixed_character_format_rec32 New_WinFontFromOldWin_Font(const old_fixed_character_format_rec& old);

// The oldest record in the current layout. Flags, LCID, both fonts, preference
// and code pages are kept; the middle letters are every byte above 0x20 among the
// 11 stored bytes (length byte included, at most 10), widened; the name is
// converted from the system's ANSI code page. Currency and the 8-bit case tables
// are dropped; is_32_version stays false.
QUILLRT_API fixed_lang_details_rec32 LangDetNewFromOld(const fixed_lang_details_rec_old& old);

// The version-5 record held in 1040 bytes at `bytes`, in the current layout:
// bytes 0..2, LCID, preference, code pages, middle letters and name kept; the
// display font made from the legacy font, which itself is not kept.
QUILLRT_API fixed_lang_details_rec32 LangDetNewFromVersion5(const std::uint8_t* bytes);

// A language record of any form. Version 5: the version-5 form; versions 6, 7
// and 18: the current form; any other version: the version-5 form when the
// third byte (is_32_version) is non-zero, else the oldest form. A record read
// whole whose first colour equals its third gets the standard colours.
QUILLRT_API bool Readfixed_lang_details_rec(TStream& stream, fixed_lang_details_rec32& rec, int version);

// Text settings of any form. Version 5: a version-5 language record followed by
// the current record's remaining 1988 bytes; versions 6, 7 and 18: the current
// 3028 bytes; any other version: 2500 bytes are read and taken as the oldest form
// when their third byte is zero or any of the bytes 73, 74, 84, 85 is not, and
// are otherwise read again as version 5. The language part follows the colour
// rule above, and the second standard marker is processed automatically exactly
// when its text is "auto".
QUILLRT_API bool ReadInTextSettings(TStream& stream, textsett_rec32& rec, int version);

// Concordance settings. Versions 5, 6, 7 and 18: 2580 bytes as they are. Any
// other version: the first 1368 bytes are the older form when their byte 1355
// (the older record's own version number) is below 3, and are converted; else
// the 2580 bytes are read again from the start.
QUILLRT_API bool ReadInConcSettRec(TStream& stream, TConcSettingsRec32& rec, int version);

// Mutual-information settings: 180 bytes when the first byte is above 5, else
// the older 32-byte form converted (every minimum -999999 but the MI one, which
// takes the old minimum; at least one text).
QUILLRT_API bool TMutual_info_settings32FromStream(TStream& stream, TMutual_info_settings32& rec);
// The older form of current settings, for older readers.
QUILLRT_API TMutual_info_settings_old TMutual_info_settingsOldFrom32(const TMutual_info_settings32& settings);
// A result of the older form: counts, the six scores and the references kept.
QUILLRT_API TMutualInfo_recFeb2016 TMutual_info_Rec32FromOld(const TMutualInfo_recOld& old);

// A chosen-file record: the current 64 bytes when the first int32 is negative,
// else the older 49-byte form. A record without a textual date gets the shifted
// day number of its file date.
QUILLRT_API bool TChosenFileRecFromStream(TStream& stream, TChosenFile_BaseRec& rec);

// Extra statistics: the current 40 bytes when the int32 at offset 12 (the
// version) is above 1, else the older form, of which 16 bytes are consumed.
QUILLRT_API bool ExtraStatsRecFromStream(TStream& stream, TFileInfoExtraStatsRec& rec);

}  // namespace quill
