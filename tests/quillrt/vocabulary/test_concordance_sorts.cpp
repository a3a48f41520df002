#include <gtest/gtest.h>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/vocabulary/concordance_sorts.h"

namespace quill {
namespace {

TEST(ConcordanceSpans, AreNamedByTheirDistanceFromTheCentre) {
  EXPECT_EQ(ConcordanceSpanStr(span_L50), u"L50");
  EXPECT_EQ(ConcordanceSpanStr(45), u"L5");
  EXPECT_EQ(ConcordanceSpanStr(span_L01), u"L1");
  EXPECT_EQ(ConcordanceSpanStr(50), u"Centre");
  EXPECT_EQ(ConcordanceSpanStr(span_R01), u"R1");
  EXPECT_EQ(ConcordanceSpanStr(55), u"R5");
  EXPECT_EQ(ConcordanceSpanStr(100), u"R50");
  EXPECT_EQ(ConcordanceSpanStr(101), u"Centre");  // span_R51 has no name of its own
  EXPECT_EQ(ConcordanceSpanStr(255), u"Centre");
  static_assert(span_Centre == 50 && span_L05 == 45 && span_R05 == 55 && kConcordanceSpanCount == 102);
  EXPECT_TRUE(InFixedSortSpanRange(span_L05));
  EXPECT_TRUE(InFixedSortSpanRange(span_R05));
  EXPECT_FALSE(InFixedSortSpanRange(span_L06));
  EXPECT_FALSE(InFixedSortSpanRange(span_R06));
}

TEST(ConcordanceSpans, SortKeysLookAtTheirPositions) {
  EXPECT_EQ(SortSpanFromSort(cs_left5), span_L05);
  EXPECT_EQ(SortSpanFromSort(cs_left1), span_L01);
  EXPECT_EQ(SortSpanFromSort(cs_centre), span_Centre);
  EXPECT_EQ(SortSpanFromSort(cs_right5), span_R05);
}

TEST(ConcordanceSpans, CollocateHorizonsPackIntoTwoBytes) {
  EXPECT_EQ(CollocSpan(5, 5), (55 << 8) | 45);
  EXPECT_EQ(CollocSpan(0, 0), (50 << 8) | 50);
  EXPECT_EQ(CollocSpan(50, 51), (101 << 8) | 0);
  // Beyond the stored range each byte wraps, as in the stored form.
  EXPECT_EQ(CollocSpan(51, 250), (44 << 8) | 255);
}

TEST(ConcordanceSorts, HaveTheirNamesAndDefault) {
  EXPECT_EQ(sort_str_arr[cs_left5], u"L5");
  EXPECT_EQ(sort_str_arr[cs_centre], u"Centre");
  EXPECT_EQ(sort_str_arr[cs_right3], u"R3");
  EXPECT_EQ(sort_str_arr[cs_context_word_position], u"Context word");
  EXPECT_EQ(sort_str_arr[cs_set], u"Set order");
  EXPECT_EQ(sort_str_arr[cs_textdate], u"Date");
  EXPECT_EQ(sort_str_arr[cs_file_percent], u"File %");
  EXPECT_EQ(sort_str_arr[cs_section_position], u"Section position");
  EXPECT_EQ(sort_str_arr[cs_word_rarity], u"Contextual frequency");
  EXPECT_EQ(sort_str_arr[cs_whole_line], u"Whole concordance line");
  EXPECT_EQ(sort_str_arr[cs_byte_position], u"position in file");
  for (const auto& name : sort_str_arr) EXPECT_FALSE(name.empty());

  SetCatalogueText("_QYWordNumber", u"Wortnummer");
  FillSortNames();
  EXPECT_EQ(sort_str_arr[cs_word_number], u"Wortnummer");
  ResetCatalogue();
  FillSortNames();
  EXPECT_EQ(sort_str_arr[cs_word_number], u"Word number");

  TConcordanceSortLevels levels{cs_filename, cs_set, cs_textdate};
  SetConcSortToDefault(levels);
  EXPECT_EQ(levels, (TConcordanceSortLevels{cs_left1, cs_right1, cs_right1}));

  EXPECT_EQ(Type_Mode_Str(typing_in), u"Type-in");
  EXPECT_EQ(Type_Mode_Str(setting_categories), u"Set");
  EXPECT_EQ(Type_Mode_Str(editing_data), u"Edit");
}

}  // namespace
}  // namespace quill
