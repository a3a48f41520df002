#pragma once
// Character types of UTF-16 units and 8-bit bytes, in the three families of the
// system's character-type query: CT_CTYPE1 (the ten class bits every search
// rests on), CT_CTYPE2 (bidirectional layout class) and CT_CTYPE3 (text-processing
// details). The answers come from the Unicode character database held by ICU.
//
// CT_CTYPE1 in short:
//   letters of every script           C1_ALPHA (+ C1_UPPER / C1_LOWER by case)
//   combining marks (Mn, Mc, Me)      C1_ALPHA, so that Thai, Devanagari and
//                                     Arabic words hold together
//   decimal digits (Nd)               C1_DIGIT; superscript and subscript digits
//                                     C1_DIGIT | C1_PUNCT
//   space separators (Zs)             C1_SPACE | C1_BLANK
//   TAB                               C1_SPACE | C1_BLANK | C1_CNTRL
//   LF VT FF CR NEL                   C1_SPACE | C1_CNTRL
//   other controls, format chars      C1_CNTRL (the soft hyphen is C1_PUNCT)
//   line/paragraph separators         C1_SPACE
//   punctuation and symbols           C1_PUNCT
//   private-use characters            C1_ALPHA (letters of private scripts)
//   0-9 A-F a-f and full-width forms  + C1_XDIGIT
//   every assigned code point         + C1_DEFINED; unassigned code points are 0
//
// A surrogate pair is classified by its code point, and both of its units get
// the answer. An unpaired surrogate stands for a character that cannot be
// decoded: it is classed like U+FFFD, the replacement character
// (kUnpairedSurrogateType1 = C1_PUNCT | C1_DEFINED).
//
// None of the answers depends on the locale: the LCID arguments are accepted
// for the callers' sake, and one shared 65,536-entry table serves every
// language. Building a class array is then one table lookup per unit, with a
// side path only for surrogates.
#include <cstddef>
#include <cstdint>

#include "quillrt/quillrt_export.h"

namespace quill {

// One class word per character of a buffer.
using TClassWord = std::uint16_t;

// CT_CTYPE1 bits.
inline constexpr TClassWord C1_UPPER = 0x0001;
inline constexpr TClassWord C1_LOWER = 0x0002;
inline constexpr TClassWord C1_DIGIT = 0x0004;
inline constexpr TClassWord C1_SPACE = 0x0008;
inline constexpr TClassWord C1_PUNCT = 0x0010;
inline constexpr TClassWord C1_CNTRL = 0x0020;
inline constexpr TClassWord C1_BLANK = 0x0040;
inline constexpr TClassWord C1_XDIGIT = 0x0080;
inline constexpr TClassWord C1_ALPHA = 0x0100;
inline constexpr TClassWord C1_DEFINED = 0x0200;

// The class of an unpaired surrogate unit: that of U+FFFD.
inline constexpr TClassWord kUnpairedSurrogateType1 = C1_PUNCT | C1_DEFINED;

// Information types of the query.
inline constexpr std::uint32_t CT_CTYPE1 = 0x0001;
inline constexpr std::uint32_t CT_CTYPE2 = 0x0002;
inline constexpr std::uint32_t CT_CTYPE3 = 0x0004;

// CT_CTYPE2: bidirectional layout classes (a value, not bits).
inline constexpr std::uint16_t C2_NOTAPPLICABLE = 0;
inline constexpr std::uint16_t C2_LEFTTORIGHT = 1;
inline constexpr std::uint16_t C2_RIGHTTOLEFT = 2;
inline constexpr std::uint16_t C2_EUROPENUMBER = 3;
inline constexpr std::uint16_t C2_EUROPESEPARATOR = 4;
inline constexpr std::uint16_t C2_EUROPETERMINATOR = 5;
inline constexpr std::uint16_t C2_ARABICNUMBER = 6;
inline constexpr std::uint16_t C2_COMMONSEPARATOR = 7;
inline constexpr std::uint16_t C2_BLOCKSEPARATOR = 8;
inline constexpr std::uint16_t C2_SEGMENTSEPARATOR = 9;
inline constexpr std::uint16_t C2_WHITESPACE = 10;
inline constexpr std::uint16_t C2_OTHERNEUTRAL = 11;

// CT_CTYPE3 bits.
inline constexpr std::uint16_t C3_NONSPACING = 0x0001;
inline constexpr std::uint16_t C3_DIACRITIC = 0x0002;
inline constexpr std::uint16_t C3_VOWELMARK = 0x0004;
inline constexpr std::uint16_t C3_SYMBOL = 0x0008;
inline constexpr std::uint16_t C3_KATAKANA = 0x0010;
inline constexpr std::uint16_t C3_HIRAGANA = 0x0020;
inline constexpr std::uint16_t C3_HALFWIDTH = 0x0040;
inline constexpr std::uint16_t C3_FULLWIDTH = 0x0080;
inline constexpr std::uint16_t C3_IDEOGRAPH = 0x0100;
inline constexpr std::uint16_t C3_KASHIDA = 0x0200;
inline constexpr std::uint16_t C3_LEXICAL = 0x0400;
inline constexpr std::uint16_t C3_HIGHSURROGATE = 0x0800;
inline constexpr std::uint16_t C3_LOWSURROGATE = 0x1000;
inline constexpr std::uint16_t C3_ALPHA = 0x8000;

// The CT_CTYPE1 word of a code point (0 to 0x10FFFF; anything else is 0).
// A lone surrogate code point gets kUnpairedSurrogateType1.
QUILLRT_API TClassWord CodePointType1(std::uint32_t code_point);
QUILLRT_API std::uint16_t CodePointType2(std::uint32_t code_point);
// Without the surrogate bits, which belong to units, not code points.
QUILLRT_API std::uint16_t CodePointType3(std::uint32_t code_point);

// The shared table of 65,536 CT_CTYPE1 words, one per UTF-16 unit (surrogate
// units hold kUnpairedSurrogateType1). Built on first use; never null.
QUILLRT_API const TClassWord* CharType1Table();

// Character types of `count` UTF-16 units; count -1 means up to and including
// the terminating NUL. `info_type` is exactly one of CT_CTYPE1/2/3. Returns
// false, writing nothing, for a null pointer, a count of 0 or below -1, or
// another info type.
QUILLRT_API bool GetStringTypeExW(std::uint32_t locale, std::uint32_t info_type, const char16_t* source,
                                  int count, std::uint16_t* char_types);
QUILLRT_API bool GetStringTypeW(std::uint32_t info_type, const char16_t* source, int count,
                                std::uint16_t* char_types);

// Character types of `count` bytes in the locale's default ANSI code page (the
// system ANSI code page for Unicode-only locales). Every byte gets a word: the
// bytes of a multi-byte character all get that character's type. Same failures
// as GetStringTypeExW.
QUILLRT_API bool GetStringTypeExA(std::uint32_t locale, std::uint32_t info_type, const char* source, int count,
                                  std::uint16_t* char_types);

// The class array of a UTF-16 buffer: classes_out[i] = CT_CTYPE1 of buffer[i],
// surrogate pairs by their code point. `lcid` does not change the answer (see
// above). Nothing is touched for a null pointer or a count of 0.
QUILLRT_API void BuildClassArray(const char16_t* buffer, std::size_t count, std::uint32_t lcid,
                                 TClassWord* classes_out);

// The class array of an 8-bit buffer in `code_page` (0 = the system ANSI page,
// 1 = the OEM page; 65001 = UTF-8). Single-byte pages go through a 256-entry
// table; in multi-byte pages every byte of a character gets the character's
// class, and bytes that do not decode get the class of U+FFFD. An unknown code
// page is read as the system ANSI page.
QUILLRT_API void BuildClassArrayA(const char* buffer, std::size_t count, std::uint32_t code_page,
                                  TClassWord* classes_out);

}  // namespace quill
