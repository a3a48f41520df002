#include "quillrt/vocabulary/concordance_sorts.h"

#include <string_view>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/sysutils.h"

namespace quill {
namespace {

// The catalogue keys of the sort names, in the order of concordance_sort_type.
constexpr std::array<std::string_view, kConcordanceSortCount> kSortNameKeys = {
    "_QYL5", "_QYL4", "_QYL3", "_QYL2", "_QYL1", "_QYCentre", "_QYR1", "_QYR2", "_QYR3", "_QYR4", "_QYR5",
    "_QYContextWord", "_QYSetOrder", "_QYFilename", "_QYDate", "_QYTagOrder", "_QYTagDistance",
    "_QYFilePercent", "_QYWordNumber", "_QYSentenceNumber", "_QYSentencePosition", "_QYParagraphNumber",
    "_QYParagraphPosition", "_QYHeadingNumber", "_QYHeadingPosition", "_QYSectionNumber",
    "_QYSectionPosition", "_QYContextualFrequency", "_QYHighlightedCollocate", "_QYWholeConcLine",
    "_QYBytePosition",
};

std::array<UnicodeString, kConcordanceSortCount> SortNamesFromCatalogue() {
  std::array<UnicodeString, kConcordanceSortCount> names;
  for (int i = 0; i < kConcordanceSortCount; ++i) names[i] = CatalogueText(kSortNameKeys[i]);
  return names;
}

}  // namespace

std::array<UnicodeString, kConcordanceSortCount> sort_str_arr = SortNamesFromCatalogue();

void FillSortNames() { sort_str_arr = SortNamesFromCatalogue(); }

UnicodeString ConcordanceSpanStr(int span) {
  if (span < span_Centre) return CatalogueText("_QYL") + IntToStr(span_Centre - span);
  if (span > span_Centre && span <= 100) return CatalogueText("_QYR") + IntToStr(span - span_Centre);
  return CatalogueText("_QYCentre");
}

TConcordance_span_type SortSpanFromSort(concordance_sort_type sort) {
  return static_cast<TConcordance_span_type>(static_cast<int>(sort) + static_cast<int>(span_L05));
}

std::uint16_t CollocSpan(std::uint16_t left, std::uint16_t right) {
  const auto low = static_cast<std::uint8_t>(span_Centre - left);
  const auto high = static_cast<std::uint8_t>(span_Centre + right);
  return static_cast<std::uint16_t>(high << 8 | low);
}

void SetConcSortToDefault(TConcordanceSortLevels& levels) { levels = {cs_left1, cs_right1, cs_right1}; }

UnicodeString Type_Mode_Str(TKeyPressMode mode) {
  switch (mode) {
    case typing_in: return CatalogueText("_QYTypeIn");
    case setting_categories: return CatalogueText("_QYSet");
    case editing_data: return CatalogueText("_QYEdit");
  }
  return {};
}

}  // namespace quill
