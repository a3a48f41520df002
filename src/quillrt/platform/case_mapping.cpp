#include "quillrt/platform/case_mapping.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

namespace quill {

namespace {

constexpr std::uint32_t kTurkish = 0x1F;
constexpr std::uint32_t kAzeri = 0x2C;
constexpr char16_t kDotlessSmallI = 0x0131;
constexpr char16_t kDottedCapitalI = 0x0130;

UChar32 MapCodePoint(UChar32 c, CaseDirection direction) {
  return direction == CaseDirection::lower ? u_tolower(c) : u_toupper(c);
}

using CaseTable = std::array<char16_t, 65536>;

std::unique_ptr<CaseTable> BuildTable(CaseDirection direction, bool turkic) {
  auto table = std::make_unique<CaseTable>();
  for (UChar32 c = 0; c < 65536; ++c) {
    const UChar32 mapped = U16_IS_SURROGATE(c) ? c : MapCodePoint(c, direction);
    // Keep the length: a unit whose mapping leaves the BMP stays as it is.
    (*table)[static_cast<std::size_t>(c)] = static_cast<char16_t>(mapped > 0xFFFF ? c : mapped);
  }
  if (turkic) {
    if (direction == CaseDirection::lower) {
      (*table)[u'I'] = kDotlessSmallI;
      (*table)[kDottedCapitalI] = u'i';
    } else {
      (*table)[u'i'] = kDottedCapitalI;
      (*table)[kDotlessSmallI] = u'I';
    }
  }
  return table;
}

bool Overlap(const char16_t* a, const char16_t* b, std::size_t count) {
  return a != b && a < b + count && b < a + count;
}

}  // namespace

bool UsesTurkicCasing(std::uint32_t lcid) {
  const std::uint32_t primary = lcid & 0x3FF;
  return primary == kTurkish || primary == kAzeri;
}

const char16_t* CaseMapTable(CaseDirection direction, bool turkic) {
  static std::array<std::once_flag, 4> once;
  static std::array<std::unique_ptr<CaseTable>, 4> tables;
  const std::size_t index = (direction == CaseDirection::upper ? 2 : 0) + (turkic ? 1 : 0);
  std::call_once(once[index], [&] { tables[index] = BuildTable(direction, turkic); });
  return tables[index]->data();
}

void MapCase(const char16_t* source, std::size_t count, char16_t* dest, CaseDirection direction, bool turkic) {
  if (source == nullptr || dest == nullptr || count == 0) return;
  std::vector<char16_t> copy;
  if (Overlap(source, dest, count)) {
    copy.assign(source, source + count);
    source = copy.data();
  }
  const char16_t* const table = CaseMapTable(direction, turkic);
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t unit = source[i];
    if (U16_IS_LEAD(unit) && i + 1 < count && U16_IS_TRAIL(source[i + 1])) {
      const UChar32 mapped = MapCodePoint(U16_GET_SUPPLEMENTARY(unit, source[i + 1]), direction);
      if (mapped > 0xFFFF) {
        dest[i] = U16_LEAD(mapped);
        dest[i + 1] = U16_TRAIL(mapped);
      } else {
        dest[i] = unit;
        dest[i + 1] = source[i + 1];
      }
      ++i;
      continue;
    }
    dest[i] = table[unit];
  }
}

UnicodeString MapCaseString(std::u16string_view text, CaseDirection direction, bool turkic) {
  UnicodeString result(text.size(), u'\0');
  MapCase(text.data(), text.size(), result.data(), direction, turkic);
  return result;
}

int LCMapStringW(std::uint32_t lcid, std::uint32_t flags, const char16_t* source, int source_count,
                 char16_t* dest, int dest_count) {
  if (source == nullptr || source_count == 0 || source_count < -1 || dest_count < 0) return 0;
  const std::uint32_t case_flags = flags & (LCMAP_LOWERCASE | LCMAP_UPPERCASE);
  if (case_flags != LCMAP_LOWERCASE && case_flags != LCMAP_UPPERCASE) return 0;
  if ((flags & ~(LCMAP_LOWERCASE | LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING)) != 0) return 0;
  std::size_t count = static_cast<std::size_t>(source_count);
  if (source_count == -1) {
    count = 0;
    while (source[count] != 0) ++count;
    ++count;
  }
  if (count > static_cast<std::size_t>(INT32_MAX)) return 0;
  const int needed = static_cast<int>(count);
  if (dest_count == 0) return needed;
  if (dest == nullptr || dest_count < needed) return 0;
  const bool turkic = (flags & LCMAP_LINGUISTIC_CASING) != 0 && UsesTurkicCasing(lcid);
  MapCase(source, count, dest, case_flags == LCMAP_UPPERCASE ? CaseDirection::upper : CaseDirection::lower, turkic);
  return needed;
}

}  // namespace quill
