#pragma once
// The language definition: one fixed 1040-byte record per language, stored in
// settings files exactly as laid out below, and the helpers that write strings
// into its fixed character arrays.
//
// Stored layout (little-endian; every byte, padding included, is part of the
// format; padding and unused tails are written as zeros):
//
//   0    1  allow_middles_at_right      536   4  custom_sort_string_number
//   1    1  allow_middles_at_left       540   4  spare_Bools
//   2    1  is_32_version               544  16  cores (four colours)
//   3    1  (padding)                   560   4  language_number
//   4    4  lcid                        564   4  spare_hits
//   8   35  old_win_font                568  12  spare_ints
//   43   1  preference                  580 356  spare
//   44   1  custom_language             936 102  nome (51 UTF-16 units)
//   45   1  hyphen_breaks_word         1038   2  (padding)
//   46   2  win_codepage
//   48   2  dos_codepage
//   50  22  allowable_middle_letters (11 UTF-16 units)
//   72 129  spare_ANSI_lowers
//   201 129 spare_ANSI_uppers
//   330 204 new_win_font
//   534  2  (padding)
//
// Booleans are stored as 0 or 1; any non-zero byte reads as true.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "quillrt/collections/basic_types.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/language/canvas_colour_rec.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/text/char_classes.h"

namespace quill {

// How strongly the user prefers a language (one byte when stored).
enum Tlang_preference_type : std::uint8_t {
  lang_nao_instalada = 0,  // the language's locale is not installed here
  lang_instalada = 1,      // installed
  lang_rank_2 = 2,         // a second choice
  lang_a_preferida = 3,    // the preferred language
};

// The legacy font, 35 bytes: charset, size in points, and the name as one length
// byte followed by up to 32 8-bit characters.
struct old_fixed_character_format_rec {
  std::uint8_t charset_old = 0;
  std::uint8_t fontsize_old = 0;
  std::array<std::uint8_t, 33> fontname_old{};
  friend bool operator==(const old_fixed_character_format_rec&, const old_fixed_character_format_rec&) = default;
};

// The display font, 204 bytes: charset, size in points, and the name in 101
// UTF-16 units (up to 100 characters, then zeros).
struct fixed_character_format_rec32 {
  std::uint8_t charset = 0;
  std::uint8_t fontsize = 0;
  hundredwidechar fontname{};
  friend bool operator==(const fixed_character_format_rec32&, const fixed_character_format_rec32&) = default;
};

// Equal tables: same length byte and the same 128 bytes (unused ones included).
inline bool operator==(const ANSILower_or_upperStr_type& a, const ANSILower_or_upperStr_type& b) {
  return a.length == b.length && std::equal(std::begin(a.chars), std::end(a.chars), std::begin(b.chars));
}

struct fixed_lang_details_rec32 {
  bool allow_middles_at_right = false;  // middle letters also count at a word's right edge
  bool allow_middles_at_left = false;   // ... and at its left edge
  bool is_32_version = false;           // set in every record of the 1040-byte family
  std::uint32_t lcid = 0;
  old_fixed_character_format_rec old_win_font;  // kept for readers of the older forms
  Tlang_preference_type preference = lang_nao_instalada;
  bool custom_language = false;     // made by the user, not one of the system's locales
  bool hyphen_breaks_word = false;  // a hyphen splits a word in two
  std::uint16_t win_codepage = 0;   // ANSI code page
  std::uint16_t dos_codepage = 0;   // OEM code page
  // Characters that may stand inside a word although they are not letters.
  tenwidechar allowable_middle_letters{};
  ANSILower_or_upperStr_type spare_ANSI_lowers;  // unused in this form
  ANSILower_or_upperStr_type spare_ANSI_uppers;  // unused in this form
  fixed_character_format_rec32 new_win_font;
  std::int32_t custom_sort_string_number = 0;
  std::array<bool, 4> spare_Bools{};
  TMyCanvasColourRec cores;
  std::int32_t language_number = 0;  // its number in the tools' language list
  std::int32_t spare_hits = 0;
  std::array<std::int32_t, 3> spare_ints{};
  std::array<std::uint8_t, 356> spare{};
  fiftywidechar nome{};  // display name, up to 50 characters

  friend bool operator==(const fixed_lang_details_rec32&, const fixed_lang_details_rec32&) = default;
};

inline constexpr std::size_t fixed_lang_details_rec32_size = 1040;
inline constexpr std::size_t old_fixed_character_format_rec_size = 35;
inline constexpr std::size_t fixed_character_format_rec32_size = 204;
inline constexpr std::size_t canvas_colour_rec_size = 16;

using TLangRecBytes = std::array<std::uint8_t, fixed_lang_details_rec32_size>;

// --- Byte forms ---------------------------------------------------------------

// The stored bytes of a definition and the definition held in such bytes.
QUILLRT_API TLangRecBytes LangRecToBytes(const fixed_lang_details_rec32& rec);
QUILLRT_API fixed_lang_details_rec32 LangRecFromBytes(const TLangRecBytes& bytes);

// The component records at `bytes` (35, 204 and 16 bytes), for readers of records
// that embed them.
QUILLRT_API void OldFontRecToBytes(const old_fixed_character_format_rec& rec, std::uint8_t* bytes);
QUILLRT_API old_fixed_character_format_rec OldFontRecFromBytes(const std::uint8_t* bytes);
QUILLRT_API void FontRec32ToBytes(const fixed_character_format_rec32& rec, std::uint8_t* bytes);
QUILLRT_API fixed_character_format_rec32 FontRec32FromBytes(const std::uint8_t* bytes);
QUILLRT_API void CanvasColourRecToBytes(const TMyCanvasColourRec& rec, std::uint8_t* bytes);
QUILLRT_API TMyCanvasColourRec CanvasColourRecFromBytes(const std::uint8_t* bytes);

// --- Stream form ----------------------------------------------------------------

// A definition whose first colour equals its third (an all-zero record does) was
// never given colours: it gets the standard set. Every reader applies this.
QUILLRT_API void GiveStandardColoursWhenUnset(fixed_lang_details_rec32& rec);

// Writes the 1040 bytes with nothing in front. Raises EWriteError when the stream
// takes fewer.
QUILLRT_API void WriteLangRec(TStream& stream, const fixed_lang_details_rec32& rec);

// Reads 1040 bytes straight into `rec`: true when all of them arrived. After a
// short read `rec` holds zeros where bytes were missing. The colour rule above
// is applied either way.
QUILLRT_API bool ReadLangRec(TStream& stream, fixed_lang_details_rec32& rec);

// Settings files of format versions 6, 7 and 18 hold the definition in the
// current form; older versions hold older forms, which the legacy-record
// readers convert.
QUILLRT_API bool IsCurrentLangRecVersion(int version);

// ReadLangRec for a stream of the current versions. For any other version it
// reads nothing, leaves `rec` all zero and answers false.
QUILLRT_API bool ReadCurrentLangRec(TStream& stream, fixed_lang_details_rec32& rec, int version);

// --- Fixed character arrays -------------------------------------------------------

// The array zero-filled, then at most the first 10 characters of `text`.
QUILLRT_API tenwidechar StringToTenWidechar(const UnicodeString& text);
// The units up to the first zero (all 11 when there is none).
QUILLRT_API UnicodeString TenWideCharTostring(const tenwidechar& chars);
// Clears the 101 units of the font name and copies at most the first 100
// characters of `name`; charset and size stay as they are.
QUILLRT_API void SetARecFontname(fixed_character_format_rec32& rec, const UnicodeString& name);
// The display name: cleared first, at most 50 characters kept.
QUILLRT_API void SetLangRecName(fixed_lang_details_rec32& rec, const UnicodeString& name);
QUILLRT_API UnicodeString LangRecName(const fixed_lang_details_rec32& rec);

}  // namespace quill
