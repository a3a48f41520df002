#include "quillrt/text/char_classes.h"

#include <unicode/uchar.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <optional>
#include <type_traits>

#include "quillrt/platform/case_mapping.h"
#include "quillrt/platform/char_types.h"
#include "quillrt/platform/code_pages.h"
#include "quillrt/platform/locale_info.h"
#include "quillrt/text/buffer_scanning.h"

namespace quill {

namespace {

constexpr WideChar kZeroWidthJoiner = 0x200D;
constexpr WideChar kZeroWidthNonJoiner = 0x200C;
constexpr WideChar kDigitWildcard = 0x001B;
constexpr WideChar kMiddleDot = 0x00B7;
constexpr std::uint32_t kLinguisticLower = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;  // 0x01000100
constexpr std::uint32_t kLinguisticUpper = LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING;  // 0x01000200

void PrepareArray(std::size_t count, TClassArray& classes) {
  classes.resize(count + class_array_extra_words);
  classes[count] = 0;
  classes[count + 1] = 0;
}

UnicodeString MapUpToNul(std::uint32_t locale, std::uint32_t flags, const UnicodeString& s) {
  UnicodeString result = s;
  const std::size_t length = std::min(s.find(u'\0'), s.size());
  if (length == 0) return result;
  if (length > static_cast<std::size_t>(INT32_MAX)) return result;
  const int count = static_cast<int>(length);
  LCMapStringW(locale, flags, s.data(), count, result.data(), count);
  return result;
}

int MapInPlace(std::uint32_t locale, std::uint32_t flags, WideChar* text) {
  if (text == nullptr) return 0;
  std::size_t length = 0;
  while (text[length] != 0) ++length;
  if (length + 1 > static_cast<std::size_t>(INT32_MAX)) return 0;
  return LCMapStringW(locale, flags, text, -1, text, static_cast<int>(length + 1));
}

// The usable length of an 8-bit case table.
std::size_t TableLength(const ANSILower_or_upperStr_type& table) {
  return std::min<std::size_t>(table.length, ansi_case_table_capacity);
}

// Index of `byte` among the first `length` characters of the table.
std::optional<std::size_t> IndexIn(const ANSILower_or_upperStr_type& table, std::size_t length, unsigned char byte) {
  const unsigned char* end = table.chars + length;
  const unsigned char* found = std::find(table.chars, end, byte);
  if (found == end) return std::nullopt;
  return static_cast<std::size_t>(found - table.chars);
}

bool IsLeftAlone(TClassWord c) { return (c & (class_markup | class_segment_marker)) != 0; }

bool IsDigitClass(TClassWord c) { return !IsSegmentMarker(c) && (c & C1_DIGIT) != 0; }

// The class of the first character from `index` in direction `step` that is
// not markup; nothing when a segment marker or either end of the buffer comes
// first.
std::optional<TClassWord> Neighbour(const TClassWord* classes, std::size_t count, std::size_t index, int step) {
  std::ptrdiff_t j = static_cast<std::ptrdiff_t>(index) + step;
  while (j >= 0 && j < static_cast<std::ptrdiff_t>(count)) {
    const TClassWord c = classes[j];
    if (IsSegmentMarker(c)) return std::nullopt;
    if ((c & class_markup) == 0) return c;
    j += step;
  }
  return std::nullopt;
}

// Decides the class of the allowable at `index`; nothing when it stays.
std::optional<TClassWord> MiddleClass(const TClassWord* classes, std::size_t count, std::size_t index,
                                      bool allow_at_right, bool allow_at_left) {
  TClassWord candidate = class_middle_letter;
  if (!allow_at_left) {
    const std::optional<TClassWord> left = Neighbour(classes, count, index, -1);
    if (!left || !IsWordClass(*left)) return std::nullopt;
    candidate = (*left & C1_DIGIT) != 0 ? class_middle_digit : class_middle_letter;
  }
  if (!allow_at_right) {
    const std::optional<TClassWord> right = Neighbour(classes, count, index, +1);
    if (!right || !IsWordClass(*right)) return std::nullopt;
    if ((*right & C1_DIGIT) != 0) candidate = class_middle_digit;
  }
  return candidate;
}

template <typename Unit>
void MarkOccurrences(const Unit* buffer, TClassWord* classes, std::size_t count, Unit wanted, bool allow_at_right,
                     bool allow_at_left) {
  const Unit* const last = buffer + (count - 1);  // the last character is never examined
  const auto find = [last, wanted](const Unit* from) {
    if constexpr (std::is_same_v<Unit, WideChar>)
      return FindWideChar(from, last, wanted);
    else
      return std::find(from, last, wanted);
  };
  for (const Unit* p = find(buffer); p != last; p = find(p + 1)) {
    const auto index = static_cast<std::size_t>(p - buffer);
    if (IsLeftAlone(classes[index])) continue;
    if (const auto value = MiddleClass(classes, count, index, allow_at_right, allow_at_left)) classes[index] = *value;
  }
}

// With a word required on both sides, an allowable next to another (markup
// between them aside) is refused whichever of the two is looked at first:
// neither has a word on that side until the other is marked. So when no
// allowable is itself a word character, every allowable can be marked in one
// pass in text order, with the result of a pass for each in turn.
bool OnePassWillDo(const WideChar* allowables, int length, bool allow_at_right, bool allow_at_left) {
  if (allow_at_right || allow_at_left || length > 4) return false;
  const TClassWord* const table = CharType1Table();
  return std::none_of(allowables, allowables + length, [table](WideChar a) { return IsWordClass(table[a]); });
}

// Marks the allowable at `index` (before the last character) when a word
// character stands on both sides of it, markup aside.
inline void MarkIfBetweenWords(TClassWord* classes, std::size_t count, std::size_t index) {
  if (IsLeftAlone(classes[index])) return;
  const TClassWord left = index > 0 ? classes[index - 1] : TClassWord{0};
  const TClassWord right = classes[index + 1];
  // Mostly the neighbours themselves decide, without looking past markup.
  if (index > 0 && !IsLeftAlone(left) && !IsLeftAlone(right)) {
    if (!IsWordClass(left) || !IsWordClass(right)) return;
    classes[index] = ((left | right) & C1_DIGIT) != 0 ? class_middle_digit : class_middle_letter;
    return;
  }
  if (const auto value = MiddleClass(classes, count, index, false, false)) classes[index] = *value;
}

// The one pass, over 16-bit text: `set` holds the allowables (repeated to
// four). The text is compared eight units at a time, and each allowable found
// is marked in text order, the last character never.
void MarkAllOccurrences(const WideChar* buffer, TClassWord* classes, std::size_t count, const WideChar (&set)[4]) {
  const std::size_t last = count - 1;
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi16(static_cast<short>(set[0]));
  const __m128i second = _mm_set1_epi16(static_cast<short>(set[1]));
  const __m128i third = _mm_set1_epi16(static_cast<short>(set[2]));
  const __m128i fourth = _mm_set1_epi16(static_cast<short>(set[3]));
  for (; i + 8 <= last; i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer + i));
    const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, first), _mm_cmpeq_epi16(units, second)),
                                      _mm_or_si128(_mm_cmpeq_epi16(units, third), _mm_cmpeq_epi16(units, fourth)));
    for (auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(hits, _mm_setzero_si128())));
         found != 0; found &= found - 1)
      MarkIfBetweenWords(classes, count, i + static_cast<std::size_t>(__builtin_ctz(found)));
  }
#endif
  for (; i < last; ++i)
    if (buffer[i] == set[0] || buffer[i] == set[1] || buffer[i] == set[2] || buffer[i] == set[3])
      MarkIfBetweenWords(classes, count, i);
}

// The byte an allowable stands for in an 8-bit buffer.
std::optional<unsigned char> AllowableByte(WideChar allowable) {
  if (allowable < 0x80) return static_cast<unsigned char>(allowable);
  char bytes[4];
  bool used_default = false;
  const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &allowable, 1, bytes, 4, nullptr,
                                          &used_default);
  if (written != 1 || used_default) return std::nullopt;
  return static_cast<unsigned char>(bytes[0]);
}

template <typename Unit>
void MarkNumberSeparators(const Unit* buffer, TClassWord* classes, std::size_t count, bool space_in_numbers,
                          unsigned middle_dot) {
  for (std::size_t i = 0; i + 2 < count; ++i) {
    if (!IsDigitClass(classes[i]) || IsDigitClass(classes[i + 1]) || !IsDigitClass(classes[i + 2])) continue;
    if (IsLeftAlone(classes[i + 1])) continue;
    const auto c = static_cast<unsigned>(buffer[i + 1]);
    if (c == '.' || c == ',' || c == middle_dot || (space_in_numbers && c == ' ')) classes[i + 1] = class_middle_digit;
  }
}

}  // namespace

void FillClassArray(const WideChar* buffer, std::size_t count, std::uint32_t lcid, TClassArray& classes) {
  if (buffer == nullptr) count = 0;
  PrepareArray(count, classes);
  BuildClassArray(buffer, count, lcid, classes.data());
}

void FillClassArrayA(const char* buffer, std::size_t count, std::uint32_t lcid, TClassArray& classes) {
  if (buffer == nullptr) count = 0;
  PrepareArray(count, classes);
  BuildClassArrayA(buffer, count, AnsiCodePageOfLCID(lcid), classes.data());
}

TClassArray MakeClassArray(const WideChar* buffer, std::size_t count, std::uint32_t lcid) {
  TClassArray classes;
  FillClassArray(buffer, count, lcid, classes);
  return classes;
}

TClassArray MakeClassArrayA(const char* buffer, std::size_t count, std::uint32_t lcid) {
  TClassArray classes;
  FillClassArrayA(buffer, count, lcid, classes);
  return classes;
}

bool IsOrdinaryNumberChar(WideChar c) { return c >= u'0' && c <= u'9'; }

bool IsADigitChar(WideChar c) { return u_charType(c) == U_DECIMAL_DIGIT_NUMBER; }

bool IsHashSymbol(WideChar c) { return c == kDigitWildcard; }

bool IsHashOrBrace(WideChar c) { return c == u'#' || c == u'{'; }

UnicodeString Lowercase(std::uint32_t locale, const UnicodeString& s) { return MapUpToNul(locale, kLinguisticLower, s); }

UnicodeString Uppercase(std::uint32_t locale, const UnicodeString& s) { return MapUpToNul(locale, kLinguisticUpper, s); }

UnicodeString Lowercase(const UnicodeString& s) { return MapCaseString(s, CaseDirection::lower); }

UnicodeString Uppercase(const UnicodeString& s) { return MapCaseString(s, CaseDirection::upper); }

int LowercaseIt(std::uint32_t locale, WideChar* text) { return MapInPlace(locale, kLinguisticLower, text); }

int UppercaseIt(std::uint32_t locale, WideChar* text) { return MapInPlace(locale, kLinguisticUpper, text); }

ANSILower_or_upperStr_type MakeANSICaseTable(const AnsiString& letters) {
  ANSILower_or_upperStr_type table;
  const std::size_t length = std::min(letters.size(), ansi_case_table_capacity);
  table.length = static_cast<std::uint8_t>(length);
  std::copy_n(letters.begin(), length, table.chars);
  return table;
}

void CapitaliseABuffer(char* buffer, const ANSILower_or_upperStr_type& lowers, const ANSILower_or_upperStr_type& uppers,
                       int count) {
  if (buffer == nullptr || count <= 0) return;
  const std::size_t common = std::min(TableLength(lowers), TableLength(uppers));
  auto* bytes = reinterpret_cast<unsigned char*>(buffer);
  for (int i = 0; i < count; ++i) {
    const unsigned char b = bytes[i];
    if (b >= 'a' && b <= 'z') {
      bytes[i] = static_cast<unsigned char>(b - 'a' + 'A');
    } else if (b > 'z') {
      if (const auto k = IndexIn(lowers, common, b)) bytes[i] = uppers.chars[*k];
    }
  }
}

void CutLowercaseWords(char* buffer, const ANSILower_or_upperStr_type& lowers, const ANSILower_or_upperStr_type& uppers,
                       int count) {
  if (buffer == nullptr || count <= 0) return;
  const std::size_t common = std::min(TableLength(lowers), TableLength(uppers));
  auto* bytes = reinterpret_cast<unsigned char*>(buffer);
  bool upper_seen = false;  // within the current word
  for (int i = 0; i < count; ++i) {
    const unsigned char b = bytes[i];
    if (b <= 0x20) {
      upper_seen = false;
      continue;
    }
    if (upper_seen) continue;
    if ((b >= 'A' && b <= 'Z') || IndexIn(uppers, common, b)) {
      upper_seen = true;
    } else if ((b >= 'a' && b <= 'z') || (b > 'z' && IndexIn(lowers, common, b))) {
      bytes[i] = ' ';
    }
  }
}

void SetZeroWidthJoinersToDefined(const WideChar* buffer, TClassWord* classes, std::size_t count) {
  if (buffer == nullptr || classes == nullptr) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (buffer[i] == kZeroWidthJoiner) classes[i] = class_zero_width_joiner;
  }
}

void SetZeroWidthNonJoinersToDefinedAlpha(const WideChar* buffer, TClassWord* classes, std::size_t count) {
  if (buffer == nullptr || classes == nullptr) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (buffer[i] == kZeroWidthNonJoiner) classes[i] = class_zero_width_non_joiner;
  }
}

void HandleMiddleChars(const void* buffer, TClassWord* classes, const WideChar* wide_allowables, int allowables_length,
                       std::size_t count, bool in_unicode, bool allow_middles_at_right, bool allow_middles_at_left) {
  if (buffer == nullptr || classes == nullptr || wide_allowables == nullptr) return;
  if (allowables_length <= 0 || count == 0) return;
  if (in_unicode && OnePassWillDo(wide_allowables, allowables_length, allow_middles_at_right, allow_middles_at_left)) {
    WideChar set[4];
    for (int k = 0; k < 4; ++k) set[k] = wide_allowables[std::min(k, allowables_length - 1)];
    MarkAllOccurrences(static_cast<const WideChar*>(buffer), classes, count, set);
    return;
  }
  for (int a = 0; a < allowables_length; ++a) {
    const WideChar allowable = wide_allowables[a];
    if (in_unicode) {
      MarkOccurrences(static_cast<const WideChar*>(buffer), classes, count, allowable, allow_middles_at_right,
                      allow_middles_at_left);
    } else if (const auto byte = AllowableByte(allowable)) {
      MarkOccurrences(static_cast<const unsigned char*>(buffer), classes, count, *byte, allow_middles_at_right,
                      allow_middles_at_left);
    }
  }
}

void HandleMiddleCharsInNumbers(bool in_unicode, bool space_in_numbers, const void* buffer, TClassWord* classes,
                                std::size_t count) {
  if (buffer == nullptr || classes == nullptr) return;
  if (in_unicode) {
    MarkNumberSeparators(static_cast<const WideChar*>(buffer), classes, count, space_in_numbers, kMiddleDot);
  } else {
    MarkNumberSeparators(static_cast<const unsigned char*>(buffer), classes, count, space_in_numbers, 0xB7u);
  }
}

}  // namespace quill
