#include "quillrt/platform/char_types.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf16.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>
#include <cstring>
#include <memory>
#include <mutex>

#include "quillrt/platform/code_pages.h"
#include "quillrt/platform/locale_info.h"
#include "quillrt/platform/utf8_decoding.h"

namespace quill {

namespace {

constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

bool IsHexDigit(std::uint32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') ||
         (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF26) || (c >= 0xFF41 && c <= 0xFF46);
}

// Superscript and subscript digits (as in "m²") count as digits as well as
// punctuation, so that they stay inside the word they belong to.
bool IsSuperOrSubscriptDigit(UChar32 c) {
  const int32_t decomposition = u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE);
  return (decomposition == U_DT_SUPER || decomposition == U_DT_SUB) &&
         u_getIntPropertyValue(c, UCHAR_NUMERIC_TYPE) == U_NT_DIGIT;
}

TClassWord CaseBits(UChar32 c, int8_t category) {
  TClassWord bits = 0;
  if (category == U_UPPERCASE_LETTER || category == U_TITLECASE_LETTER || u_isUUppercase(c)) bits |= C1_UPPER;
  if (category == U_LOWERCASE_LETTER || u_isULowercase(c)) bits |= C1_LOWER;
  return bits;
}

TClassWord ComputeType1(UChar32 c) {
  if (c < 0 || c > 0x10FFFF) return 0;
  if (U_IS_SURROGATE(c)) return kUnpairedSurrogateType1;
  const int8_t category = u_charType(c);
  TClassWord type = 0;
  switch (category) {
    case U_UNASSIGNED: return 0;
    case U_UPPERCASE_LETTER:
    case U_LOWERCASE_LETTER:
    case U_TITLECASE_LETTER:
    case U_MODIFIER_LETTER:
    case U_OTHER_LETTER:
    case U_LETTER_NUMBER: type = C1_ALPHA | CaseBits(c, category); break;
    // Combining marks hold the words of Thai, Indic and Arabic text together.
    case U_NON_SPACING_MARK:
    case U_COMBINING_SPACING_MARK:
    case U_ENCLOSING_MARK: type = C1_ALPHA; break;
    case U_DECIMAL_DIGIT_NUMBER: type = C1_DIGIT; break;
    case U_OTHER_NUMBER: type = IsSuperOrSubscriptDigit(c) ? (C1_DIGIT | C1_PUNCT) : C1_PUNCT; break;
    case U_SPACE_SEPARATOR: type = C1_SPACE | C1_BLANK; break;
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR: type = C1_SPACE; break;
    case U_CONTROL_CHAR:
      type = C1_CNTRL;
      if (u_isUWhiteSpace(c)) type |= C1_SPACE;
      if (c == '\t') type |= C1_BLANK;
      break;
    case U_FORMAT_CHAR: type = c == 0x00AD ? C1_PUNCT : C1_CNTRL; break;
    case U_PRIVATE_USE_CHAR: type = C1_ALPHA; break;
    default: type = C1_PUNCT; break;  // punctuation and symbols
  }
  if (IsHexDigit(static_cast<std::uint32_t>(c))) type |= C1_XDIGIT;
  return type | C1_DEFINED;
}

std::uint16_t ComputeType2(UChar32 c) {
  if (U_IS_SURROGATE(c)) c = kReplacementCharacter;
  if (c < 0 || c > 0x10FFFF || u_charType(c) == U_UNASSIGNED) return C2_NOTAPPLICABLE;
  switch (u_charDirection(c)) {
    case U_LEFT_TO_RIGHT: return C2_LEFTTORIGHT;
    case U_RIGHT_TO_LEFT:
    case U_RIGHT_TO_LEFT_ARABIC: return C2_RIGHTTOLEFT;
    case U_EUROPEAN_NUMBER: return C2_EUROPENUMBER;
    case U_EUROPEAN_NUMBER_SEPARATOR: return C2_EUROPESEPARATOR;
    case U_EUROPEAN_NUMBER_TERMINATOR: return C2_EUROPETERMINATOR;
    case U_ARABIC_NUMBER: return C2_ARABICNUMBER;
    case U_COMMON_NUMBER_SEPARATOR: return C2_COMMONSEPARATOR;
    case U_BLOCK_SEPARATOR: return C2_BLOCKSEPARATOR;
    case U_SEGMENT_SEPARATOR: return C2_SEGMENTSEPARATOR;
    case U_WHITE_SPACE_NEUTRAL: return C2_WHITESPACE;
    case U_OTHER_NEUTRAL: return C2_OTHERNEUTRAL;
    default: return C2_NOTAPPLICABLE;  // marks, embeddings, isolates, boundary neutrals
  }
}

// Punctuation that belongs to the word it stands in.
bool IsLexical(UChar32 c) {
  switch (c) {
    case '\'': case '-': case '=': case 0x00AA: case 0x00AD: case 0x00BA:
    case 0x0640: case 0x2010: case 0x2011: case 0x2019:
      return true;
    default:
      return false;
  }
}

std::uint16_t ComputeType3(UChar32 c) {
  if (U_IS_SURROGATE(c)) c = kReplacementCharacter;
  if (c < 0 || c > 0x10FFFF) return 0;
  const int8_t category = u_charType(c);
  if (category == U_UNASSIGNED) return 0;
  std::uint16_t type = 0;
  if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK) type |= C3_NONSPACING;
  if (u_hasBinaryProperty(c, UCHAR_DIACRITIC)) type |= C3_DIACRITIC;
  if (u_getIntPropertyValue(c, UCHAR_INDIC_SYLLABIC_CATEGORY) == U_INSC_VOWEL_DEPENDENT) type |= C3_VOWELMARK;
  if (category == U_MATH_SYMBOL || category == U_CURRENCY_SYMBOL || category == U_MODIFIER_SYMBOL ||
      category == U_OTHER_SYMBOL)
    type |= C3_SYMBOL;
  if (uscript_hasScript(c, USCRIPT_KATAKANA)) type |= C3_KATAKANA;
  if (uscript_hasScript(c, USCRIPT_HIRAGANA)) type |= C3_HIRAGANA;
  switch (u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH)) {
    case U_EA_HALFWIDTH:
    case U_EA_NARROW: type |= C3_HALFWIDTH; break;
    case U_EA_FULLWIDTH:
    case U_EA_WIDE: type |= C3_FULLWIDTH; break;
    default: break;
  }
  if (u_hasBinaryProperty(c, UCHAR_IDEOGRAPHIC)) type |= C3_IDEOGRAPH;
  if (c == 0x0640) type |= C3_KASHIDA;
  if (IsLexical(c)) type |= C3_LEXICAL;
  if (u_isUAlphabetic(c)) type |= C3_ALPHA;
  return type;
}

using PlaneTable = std::array<TClassWord, 65536>;

std::unique_ptr<PlaneTable> BuildPlane(std::uint32_t plane) {
  auto table = std::make_unique<PlaneTable>();
  const UChar32 base = static_cast<UChar32>(plane << 16);
  for (UChar32 low = 0; low < 65536; ++low) (*table)[static_cast<std::size_t>(low)] = ComputeType1(base + low);
  return table;
}

// Plane 0 is the table of units; planes 1 to 16 are built when first met.
const TClassWord* PlaneType1(std::uint32_t plane) {
  static std::array<std::once_flag, 17> once;
  static std::array<std::unique_ptr<PlaneTable>, 17> planes;
  std::call_once(once[plane], [plane] { planes[plane] = BuildPlane(plane); });
  return planes[plane]->data();
}

TClassWord SupplementaryType1(char16_t lead, char16_t trail) {
  const std::uint32_t code_point = U16_GET_SUPPLEMENTARY(lead, trail);
  return PlaneType1(code_point >> 16)[code_point & 0xFFFF];
}

// The rare path of the fill loop: the unit at `index` is a surrogate. Returns
// how many units were classified (2 for a pair).
[[gnu::noinline]] std::size_t ClassifySurrogate(const char16_t* buffer, std::size_t index, std::size_t count,
                                                TClassWord* out) {
  const char16_t unit = buffer[index];
  if (U16_IS_LEAD(unit) && index + 1 < count && U16_IS_TRAIL(buffer[index + 1])) {
    out[index] = out[index + 1] = SupplementaryType1(unit, buffer[index + 1]);
    return 2;
  }
  out[index] = kUnpairedSurrogateType1;
  return 1;
}

// Classifies the unit at `index` (with its partner when it starts a pair);
// returns the number of units done.
inline std::size_t ClassifyUnit(const char16_t* buffer, std::size_t index, std::size_t count,
                                const TClassWord* table, TClassWord* out) {
  const char16_t unit = buffer[index];
  if ((unit & 0xF800) != 0xD800) {
    out[index] = table[unit];
    return 1;
  }
  return ClassifySurrogate(buffer, index, count, out);
}

std::size_t MeasureCount(const char16_t* source, int count) {
  if (count != -1) return static_cast<std::size_t>(count);
  std::size_t length = 0;
  while (source[length] != 0) ++length;
  return length + 1;
}

// The resolved page a byte buffer is read in; unknown pages read as ANSI.
std::uint32_t UsablePage(std::uint32_t code_page) {
  const std::uint32_t resolved = ResolveCodePage(code_page);
  return detail::KindOfCodePage(resolved) == detail::PageKind::unknown ? GetACP() : resolved;
}

// Calls visit(index, length, code_point) for every character of the bytes.
template <typename Visit>
void ForEachByteCharacter(std::uint32_t resolved, const char* buffer, std::size_t count, Visit&& visit) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
  switch (detail::KindOfCodePage(resolved)) {
    case detail::PageKind::single_byte: {
      const char16_t* table = SingleByteToUnicodeTable(resolved);
      for (std::size_t i = 0; i < count; ++i) visit(i, 1, table[bytes[i]]);
      return;
    }
    case detail::PageKind::double_byte: {
      const detail::DoubleByteTables& tables = *detail::DoubleByteTablesOf(resolved);
      std::size_t i = 0;
      while (i < count) {
        const unsigned lead = bytes[i];
        if (!tables.lead[lead]) {
          visit(i, 1, tables.single[lead]);
          ++i;
        } else if (i + 1 >= count) {
          visit(i, 1, kReplacementCharacter);
          ++i;
        } else {
          const unsigned index = lead << 8 | bytes[i + 1];
          const std::size_t length = (tables.pair_valid[index] || bytes[i + 1] >= 0x40) ? 2 : 1;
          visit(i, length, tables.pair[index]);
          i += length;
        }
      }
      return;
    }
    case detail::PageKind::utf8: {
      std::size_t i = 0;
      while (i < count) {
        const detail::Utf8Step step = detail::DecodeUtf8Step(bytes + i, count - i);
        visit(i, step.length, step.valid ? step.code_point : kReplacementCharacter);
        i += step.length;
      }
      return;
    }
    case detail::PageKind::other:
      detail::ForEachCharacter(resolved, buffer, count, visit);
      return;
    case detail::PageKind::unknown:
      return;
  }
}

}  // namespace

const TClassWord* CharType1Table() { return PlaneType1(0); }

TClassWord CodePointType1(std::uint32_t code_point) {
  if (code_point > 0x10FFFF) return 0;
  return PlaneType1(code_point >> 16)[code_point & 0xFFFF];
}

std::uint16_t CodePointType2(std::uint32_t code_point) {
  return code_point > 0x10FFFF ? 0 : ComputeType2(static_cast<UChar32>(code_point));
}

std::uint16_t CodePointType3(std::uint32_t code_point) {
  return code_point > 0x10FFFF ? 0 : ComputeType3(static_cast<UChar32>(code_point));
}

void BuildClassArray(const char16_t* buffer, std::size_t count, std::uint32_t, TClassWord* classes_out) {
  if (buffer == nullptr || classes_out == nullptr || count == 0) return;
  const TClassWord* const table = CharType1Table();
  std::size_t i = 0;
#if defined(__SSE2__)
  // Blocks of eight units free of surrogates (nearly all text) are plain table
  // lookups after one vector test.
  const __m128i surrogate_mask = _mm_set1_epi16(static_cast<short>(0xF800));
  const __m128i surrogate_bits = _mm_set1_epi16(static_cast<short>(0xD800));
  while (i + 8 <= count) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer + i));
    const __m128i hits = _mm_cmpeq_epi16(_mm_and_si128(units, surrogate_mask), surrogate_bits);
    if (_mm_movemask_epi8(hits) == 0) [[likely]] {
      for (std::size_t k = 0; k < 8; ++k) classes_out[i + k] = table[buffer[i + k]];
      i += 8;
      continue;
    }
    const std::size_t block_end = i + 8;
    while (i < block_end) i += ClassifyUnit(buffer, i, count, table, classes_out);
  }
#endif
  while (i < count) i += ClassifyUnit(buffer, i, count, table, classes_out);
}

void BuildClassArrayA(const char* buffer, std::size_t count, std::uint32_t code_page, TClassWord* classes_out) {
  if (buffer == nullptr || classes_out == nullptr || count == 0) return;
  const std::uint32_t resolved = UsablePage(code_page);
  const TClassWord* const table = CharType1Table();
  const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
  const detail::PageKind kind = detail::KindOfCodePage(resolved);
  if (kind == detail::PageKind::single_byte) {
    // 256 words for the page, then one lookup per byte.
    const char16_t* to_unicode = SingleByteToUnicodeTable(resolved);
    TClassWord byte_classes[256];
    for (unsigned b = 0; b < 256; ++b) byte_classes[b] = table[to_unicode[b]];
    for (std::size_t i = 0; i < count; ++i) classes_out[i] = byte_classes[bytes[i]];
    return;
  }
  if (kind == detail::PageKind::utf8) {
    std::size_t i = 0;
    while (i < count) {
      if (bytes[i] < 0x80) {
        classes_out[i] = table[bytes[i]];
        ++i;
        continue;
      }
      const detail::Utf8Step step = detail::DecodeUtf8Step(bytes + i, count - i);
      const TClassWord type = step.valid ? CodePointType1(step.code_point) : table[kReplacementCharacter];
      for (std::size_t k = 0; k < step.length; ++k) classes_out[i + k] = type;
      i += step.length;
    }
    return;
  }
  ForEachByteCharacter(resolved, buffer, count, [&](std::size_t index, std::size_t length, std::uint32_t cp) {
    const TClassWord type = CodePointType1(cp);
    for (std::size_t k = 0; k < length; ++k) classes_out[index + k] = type;
  });
}

bool GetStringTypeW(std::uint32_t info_type, const char16_t* source, int count, std::uint16_t* char_types) {
  if (source == nullptr || char_types == nullptr || count == 0 || count < -1) return false;
  if (info_type != CT_CTYPE1 && info_type != CT_CTYPE2 && info_type != CT_CTYPE3) return false;
  const std::size_t length = MeasureCount(source, count);
  if (info_type == CT_CTYPE1) {
    BuildClassArray(source, length, 0, char_types);
    return true;
  }
  std::size_t i = 0;
  while (i < length) {
    const char16_t unit = source[i];
    const bool pair = U16_IS_LEAD(unit) && i + 1 < length && U16_IS_TRAIL(source[i + 1]);
    const std::uint32_t code_point = pair ? U16_GET_SUPPLEMENTARY(unit, source[i + 1]) : unit;
    if (info_type == CT_CTYPE2) {
      char_types[i] = CodePointType2(code_point);
      if (pair) char_types[i + 1] = char_types[i];
    } else {
      const std::uint16_t type = CodePointType3(code_point);
      if (pair) {
        char_types[i] = type | C3_HIGHSURROGATE;
        char_types[i + 1] = type | C3_LOWSURROGATE;
      } else {
        char_types[i] = type | (U16_IS_LEAD(unit) ? C3_HIGHSURROGATE : 0) | (U16_IS_TRAIL(unit) ? C3_LOWSURROGATE : 0);
      }
    }
    i += pair ? 2 : 1;
  }
  return true;
}

bool GetStringTypeExW(std::uint32_t, std::uint32_t info_type, const char16_t* source, int count,
                      std::uint16_t* char_types) {
  return GetStringTypeW(info_type, source, count, char_types);
}

bool GetStringTypeExA(std::uint32_t locale, std::uint32_t info_type, const char* source, int count,
                      std::uint16_t* char_types) {
  if (source == nullptr || char_types == nullptr || count == 0 || count < -1) return false;
  if (info_type != CT_CTYPE1 && info_type != CT_CTYPE2 && info_type != CT_CTYPE3) return false;
  const std::size_t length = count == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(count);
  const std::uint32_t page = UsablePage(AnsiCodePageOfLCID(locale));
  if (info_type == CT_CTYPE1) {
    BuildClassArrayA(source, length, page, char_types);
    return true;
  }
  ForEachByteCharacter(page, source, length, [&](std::size_t index, std::size_t span, std::uint32_t cp) {
    const std::uint16_t type = info_type == CT_CTYPE2 ? CodePointType2(cp) : CodePointType3(cp);
    for (std::size_t k = 0; k < span; ++k) char_types[index + k] = type;
  });
  return true;
}

}  // namespace quill
