#include "quillrt/language/language_record.h"

#include <cstring>
#include <string_view>

#include "quillrt/language/record_bytes.h"

namespace quill {

using namespace record_bytes;

namespace {

// Field offsets of the stored definition.
constexpr std::size_t off_allow_right = 0;
constexpr std::size_t off_allow_left = 1;
constexpr std::size_t off_is_32 = 2;
constexpr std::size_t off_lcid = 4;
constexpr std::size_t off_old_font = 8;
constexpr std::size_t off_preference = 43;
constexpr std::size_t off_custom = 44;
constexpr std::size_t off_hyphen = 45;
constexpr std::size_t off_win_cp = 46;
constexpr std::size_t off_dos_cp = 48;
constexpr std::size_t off_middles = 50;
constexpr std::size_t off_lowers = 72;
constexpr std::size_t off_uppers = 201;
constexpr std::size_t off_new_font = 330;
constexpr std::size_t off_custom_sort = 536;
constexpr std::size_t off_spare_bools = 540;
constexpr std::size_t off_cores = 544;
constexpr std::size_t off_language_number = 560;
constexpr std::size_t off_spare_hits = 564;
constexpr std::size_t off_spare_ints = 568;
constexpr std::size_t off_spare = 580;
constexpr std::size_t off_nome = 936;
constexpr std::size_t ansi_table_size = 129;

static_assert(off_old_font + old_fixed_character_format_rec_size == off_preference);
static_assert(off_lowers + ansi_table_size == off_uppers);
static_assert(off_new_font + fixed_character_format_rec32_size + 2 == off_custom_sort);
static_assert(off_cores + canvas_colour_rec_size == off_language_number);
static_assert(off_spare + 356 == off_nome);
static_assert(off_nome + 2 * 51 + 2 == fixed_lang_details_rec32_size);

void PutAnsiTable(std::uint8_t* bytes, std::size_t offset, const ANSILower_or_upperStr_type& table) {
  bytes[offset] = table.length;
  std::memcpy(bytes + offset + 1, table.chars, sizeof table.chars);
}
ANSILower_or_upperStr_type GetAnsiTable(const std::uint8_t* bytes, std::size_t offset) {
  ANSILower_or_upperStr_type table;
  table.length = bytes[offset];
  std::memcpy(table.chars, bytes + offset + 1, sizeof table.chars);
  return table;
}

}  // namespace

void OldFontRecToBytes(const old_fixed_character_format_rec& rec, std::uint8_t* bytes) {
  bytes[0] = rec.charset_old;
  bytes[1] = rec.fontsize_old;
  std::memcpy(bytes + 2, rec.fontname_old.data(), rec.fontname_old.size());
}

old_fixed_character_format_rec OldFontRecFromBytes(const std::uint8_t* bytes) {
  old_fixed_character_format_rec rec;
  rec.charset_old = bytes[0];
  rec.fontsize_old = bytes[1];
  std::memcpy(rec.fontname_old.data(), bytes + 2, rec.fontname_old.size());
  return rec;
}

void FontRec32ToBytes(const fixed_character_format_rec32& rec, std::uint8_t* bytes) {
  bytes[0] = rec.charset;
  bytes[1] = rec.fontsize;
  PutWide(bytes, 2, rec.fontname);
}

fixed_character_format_rec32 FontRec32FromBytes(const std::uint8_t* bytes) {
  fixed_character_format_rec32 rec;
  rec.charset = bytes[0];
  rec.fontsize = bytes[1];
  GetWide(bytes, 2, rec.fontname);
  return rec;
}

void CanvasColourRecToBytes(const TMyCanvasColourRec& rec, std::uint8_t* bytes) {
  for (std::size_t i = 0; i < rec.colours.size(); ++i) Put<std::int32_t>(bytes, 4 * i, rec.colours[i]);
}

TMyCanvasColourRec CanvasColourRecFromBytes(const std::uint8_t* bytes) {
  TMyCanvasColourRec rec;
  for (std::size_t i = 0; i < rec.colours.size(); ++i) rec.colours[i] = Get<std::int32_t>(bytes, 4 * i);
  return rec;
}

TLangRecBytes LangRecToBytes(const fixed_lang_details_rec32& rec) {
  TLangRecBytes out{};  // padding stays zero
  std::uint8_t* b = out.data();
  PutBool(b, off_allow_right, rec.allow_middles_at_right);
  PutBool(b, off_allow_left, rec.allow_middles_at_left);
  PutBool(b, off_is_32, rec.is_32_version);
  Put<std::uint32_t>(b, off_lcid, rec.lcid);
  OldFontRecToBytes(rec.old_win_font, b + off_old_font);
  b[off_preference] = rec.preference;
  PutBool(b, off_custom, rec.custom_language);
  PutBool(b, off_hyphen, rec.hyphen_breaks_word);
  Put<std::uint16_t>(b, off_win_cp, rec.win_codepage);
  Put<std::uint16_t>(b, off_dos_cp, rec.dos_codepage);
  PutWide(b, off_middles, rec.allowable_middle_letters);
  PutAnsiTable(b, off_lowers, rec.spare_ANSI_lowers);
  PutAnsiTable(b, off_uppers, rec.spare_ANSI_uppers);
  FontRec32ToBytes(rec.new_win_font, b + off_new_font);
  Put<std::int32_t>(b, off_custom_sort, rec.custom_sort_string_number);
  for (std::size_t i = 0; i < rec.spare_Bools.size(); ++i) PutBool(b, off_spare_bools + i, rec.spare_Bools[i]);
  CanvasColourRecToBytes(rec.cores, b + off_cores);
  Put<std::int32_t>(b, off_language_number, rec.language_number);
  Put<std::int32_t>(b, off_spare_hits, rec.spare_hits);
  for (std::size_t i = 0; i < rec.spare_ints.size(); ++i) Put<std::int32_t>(b, off_spare_ints + 4 * i, rec.spare_ints[i]);
  std::memcpy(b + off_spare, rec.spare.data(), rec.spare.size());
  PutWide(b, off_nome, rec.nome);
  return out;
}

fixed_lang_details_rec32 LangRecFromBytes(const TLangRecBytes& bytes) {
  const std::uint8_t* b = bytes.data();
  fixed_lang_details_rec32 rec;
  rec.allow_middles_at_right = GetBool(b, off_allow_right);
  rec.allow_middles_at_left = GetBool(b, off_allow_left);
  rec.is_32_version = GetBool(b, off_is_32);
  rec.lcid = Get<std::uint32_t>(b, off_lcid);
  rec.old_win_font = OldFontRecFromBytes(b + off_old_font);
  rec.preference = static_cast<Tlang_preference_type>(b[off_preference]);
  rec.custom_language = GetBool(b, off_custom);
  rec.hyphen_breaks_word = GetBool(b, off_hyphen);
  rec.win_codepage = Get<std::uint16_t>(b, off_win_cp);
  rec.dos_codepage = Get<std::uint16_t>(b, off_dos_cp);
  GetWide(b, off_middles, rec.allowable_middle_letters);
  rec.spare_ANSI_lowers = GetAnsiTable(b, off_lowers);
  rec.spare_ANSI_uppers = GetAnsiTable(b, off_uppers);
  rec.new_win_font = FontRec32FromBytes(b + off_new_font);
  rec.custom_sort_string_number = Get<std::int32_t>(b, off_custom_sort);
  for (std::size_t i = 0; i < rec.spare_Bools.size(); ++i) rec.spare_Bools[i] = GetBool(b, off_spare_bools + i);
  rec.cores = CanvasColourRecFromBytes(b + off_cores);
  rec.language_number = Get<std::int32_t>(b, off_language_number);
  rec.spare_hits = Get<std::int32_t>(b, off_spare_hits);
  for (std::size_t i = 0; i < rec.spare_ints.size(); ++i) rec.spare_ints[i] = Get<std::int32_t>(b, off_spare_ints + 4 * i);
  std::memcpy(rec.spare.data(), b + off_spare, rec.spare.size());
  GetWide(b, off_nome, rec.nome);
  return rec;
}

void GiveStandardColoursWhenUnset(fixed_lang_details_rec32& rec) {
  if (rec.cores[tct_text] == rec.cores[tct_background]) rec.cores = standard_canvas_colours;
}

void WriteLangRec(TStream& stream, const fixed_lang_details_rec32& rec) {
  const TLangRecBytes bytes = LangRecToBytes(rec);
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

bool ReadLangRec(TStream& stream, fixed_lang_details_rec32& rec) {
  TLangRecBytes bytes{};
  // A stream may hand over fewer bytes per call than asked: keep reading until
  // the record is complete or the stream has nothing more.
  std::int64_t got = 0;
  const auto wanted = static_cast<std::int64_t>(bytes.size());
  while (got < wanted) {
    const std::int64_t n = stream.Read(bytes.data() + got, wanted - got);
    if (n <= 0) break;
    got += n;
  }
  rec = LangRecFromBytes(bytes);
  GiveStandardColoursWhenUnset(rec);
  return got == wanted;
}

bool IsCurrentLangRecVersion(int version) { return version == 6 || version == 7 || version == 18; }

bool ReadCurrentLangRec(TStream& stream, fixed_lang_details_rec32& rec, int version) {
  if (!IsCurrentLangRecVersion(version)) {
    rec = fixed_lang_details_rec32{};
    return false;
  }
  return ReadLangRec(stream, rec);
}

tenwidechar StringToTenWidechar(const UnicodeString& text) {
  tenwidechar chars;
  SetFixedChars(chars, std::u16string_view(text));
  return chars;
}

UnicodeString TenWideCharTostring(const tenwidechar& chars) { return GetFixedChars(chars); }

void SetARecFontname(fixed_character_format_rec32& rec, const UnicodeString& name) {
  SetFixedChars(rec.fontname, std::u16string_view(name));
}

void SetLangRecName(fixed_lang_details_rec32& rec, const UnicodeString& name) {
  SetFixedChars(rec.nome, std::u16string_view(name));
}

UnicodeString LangRecName(const fixed_lang_details_rec32& rec) { return GetFixedChars(rec.nome); }

}  // namespace quill
