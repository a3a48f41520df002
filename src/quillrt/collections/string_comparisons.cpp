#include "quillrt/collections/string_comparisons.h"

#include "quillrt/collections/comparisons.h"
#include "quillrt/platform/compare_string.h"

namespace quill {

std::uint32_t my_default_sort = 0;

std::int32_t CrudeStringComparison(const UnicodeString& a, const UnicodeString& b) {
  const int c = a.compare(b);  // char16_t compares unsigned
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// CompareString* answer 1, 2 or 3, or 0 on failure: less 2 gives -1, 0, 1 or -2.
std::int32_t ComparePWidechar(std::uint32_t locale, const WideChar* a, const WideChar* b) {
  return CompareStringW(locale, my_default_sort, a, -1, b, -1) - 2;
}

std::int32_t ComparePAnsichar(std::uint32_t locale, const char* a, const char* b) {
  return CompareStringA(locale, my_default_sort, a, -1, b, -1) - 2;
}

std::int32_t LCIDStringComparison(const UnicodeString& a, const UnicodeString& b, std::uint32_t locale) {
  // With the lengths, so that a NUL inside a string does not end the comparison.
  return CompareStringW(locale, my_default_sort, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) -
         2;
}

int StringListCompareDescFreq(TStringList& List, int Index1, int Index2) {
  const auto freq1 = static_cast<std::int32_t>(List.GetObject(Index1).AsInt());
  const auto freq2 = static_cast<std::int32_t>(List.GetObject(Index2).AsInt());
  const int by_freq = CompareLongints(freq2, freq1);
  return by_freq != 0 ? by_freq : Compare2Strings(List[Index1], List[Index2]);
}

}  // namespace quill
