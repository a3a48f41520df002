#include "quillrt/analysis/custom_sort_order.h"

#include <algorithm>
#include <vector>

#include "quillrt/analysis/number_lists.h"
#include "quillrt/collections/string_comparisons.h"

namespace quill {
namespace {

bool FreeRun(const std::vector<bool>& taken, std::size_t at, std::size_t length) {
  return std::none_of(taken.begin() + static_cast<std::ptrdiff_t>(at),
                      taken.begin() + static_cast<std::ptrdiff_t>(at + length), [](bool t) { return t; });
}

}  // namespace

std::unique_ptr<TStringListWithALongint> CustomSortPreparedStringlist(const UnicodeString& spec) {
  auto prepared = std::make_unique<TStringListWithALongint>();
  const auto units = CommaSeparatedStrings(spec);
  std::int32_t rank = 0;
  for (const UnicodeString& unit : *units) {
    if (!unit.empty()) prepared->AddOne(unit, rank++);
  }
  prepared->CustomSort([](TStringListOf<std::unique_ptr<TLongIntHolder>>& list, int a, int b) -> int {
    const UnicodeString& first = list[a];
    const UnicodeString& second = list[b];
    if (first.size() != second.size()) return first.size() > second.size() ? -1 : 1;
    return CrudeStringComparison(first, second);
  });
  return prepared;
}

UnicodeString NormalisedLineForCustomSort(const UnicodeString& line, const TStringListWithALongint& prepared) {
  UnicodeString key = line;
  std::vector<bool> taken(line.size(), false);
  for (int u = 0; u < prepared.Count(); ++u) {
    const UnicodeString& unit = prepared[u];
    if (unit.empty()) continue;
    const auto first_free = std::find(taken.begin(), taken.end(), false);
    if (first_free == taken.end()) break;
    const auto code = static_cast<WideChar>(prepared.GetOne(u) + 64);
    std::size_t i = static_cast<std::size_t>(first_free - taken.begin());
    while (i + unit.size() <= line.size()) {
      if (line.compare(i, unit.size(), unit) == 0 && FreeRun(taken, i, unit.size())) {
        for (std::size_t k = i; k < i + unit.size(); ++k) {
          taken[k] = true;
          key[k] = code;
        }
        i += unit.size();
      } else {
        ++i;
      }
    }
  }
  return key;
}

std::unique_ptr<TStringList> CustomLinesSorted(const TStrings& lines, const TStringListWithALongint& prepared) {
  auto sorted = std::make_unique<TStringList>();
  for (int i = 0; i < lines.Count(); ++i) {
    sorted->AddObject(NormalisedLineForCustomSort(lines[i], prepared), TObjectRef::FromInt(i));
  }
  sorted->CustomSort(
      [](TStringList& list, int a, int b) -> int { return CrudeStringComparison(list[a], list[b]); });
  for (int i = 0; i < sorted->Count(); ++i) {
    sorted->Put(i, lines[static_cast<int>(sorted->GetObject(i).AsInt())]);
  }
  return sorted;
}

}  // namespace quill
