// Tool names and program files, the running tool, list-kind tables, extensions
// both ways and the small mappings between kinds.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/vocabulary/list_kinds.h"
#include "quillrt/vocabulary/tool_names.h"
#include "quillrt/vocabulary/word_list_index_files.h"

namespace quill {
namespace {

// Restores the running tool after a test that changes it.
class RunningToolGuard {
 public:
  RunningToolGuard() : saved_(current_tool_var) {}
  ~RunningToolGuard() { current_tool_var = saved_; }

 private:
  tool_type saved_;
};

TEST(ToolNames, NamedToolsHaveProgramFilesAndTheOthersNone) {
  EXPECT_EQ(Tool_Name(tool_controller), u"Quillary");
  EXPECT_EQ(Tool_Name(tool_api), u"QY7 General API DLL");
  EXPECT_EQ(Tool_Name(tool_version_checker), u"Quillary version check");
  EXPECT_TRUE(Tool_Name(tool_concgrams).starts_with(u"QY"));
  for (const tool_type nameless : {tool_any_main, tool_reserved_8, tool_spare_10, tool_spare_12, tool_lexpool, tool_none}) {
    EXPECT_EQ(Tool_Name(nameless), u"") << int(nameless);
    EXPECT_EQ(GetShortToolFilename(nameless), u"") << int(nameless);
  }
  // The main tools' names are one word each.
  for (const tool_type main : {tool_word_lister, tool_concordancer, tool_keyness, tool_char_ngrams, tool_concgrams}) {
    EXPECT_FALSE(Tool_Name(main).empty());
    EXPECT_EQ(Tool_Name(main).find(u' '), UnicodeString::npos);
  }
  EXPECT_EQ(GetShortToolFilename(tool_text_converter), u"Text_Converter7.exe");
  EXPECT_EQ(GetShortToolFilename(tool_api), u"QY7_General_API_DLL7.dll");
  EXPECT_EQ(GetShortToolFilename(tool_controller), u"Quillary7.exe");
  const UnicodeString full = GetFullToolFilename(tool_file_viewer);
  EXPECT_TRUE(full.ends_with(u"/File_Viewer7.exe"));
  EXPECT_EQ(full.front(), u'/');
  EXPECT_EQ(Tool_Name(static_cast<tool_type>(200)), u"");
}

TEST(ToolNames, VersionsCaptionAndConversions) {
  const std::array<std::int32_t, 22> expected = {37, 36, 37, 36, 37, 36, 37, 37, 36, 36, 36,
                                                 38, 36, 36, 37, 36, 36, 36, 36, 36, 36, 789};
  EXPECT_EQ(CurrentSignature, expected);
  EXPECT_EQ(CurrentSignatureOf(static_cast<tool_type>(22)), 0);
  EXPECT_EQ(QuillaryControllerCaption(), u"Quillary Tools 7.0");
  EXPECT_EQ(CurrentQYMajorVersion100Str(), u"7.0.0.100");
  EXPECT_TRUE(QuillaryHelpURL().ends_with(u"/HTML/"));
  EXPECT_FLOAT_EQ(CardinalToSingle(4000000000u), 4e9f);
  EXPECT_FLOAT_EQ(IntToSingle(-3), -3.0f);
}

TEST(ToolNames, SetCurrentToolMatchesTheProgramNameIgnoringCase) {
  RunningToolGuard guard;
  EXPECT_EQ(current_tool_var, tool_controller);  // as loaded
  SetCurrentTool(u"/opt/quillary/" + UpperCase(GetShortToolFilename(tool_concordancer)));
  EXPECT_EQ(current_tool_var, tool_concordancer);
  SetCurrentTool(u"aligner7.EXE");
  EXPECT_EQ(current_tool_var, tool_viewer_aligner);
  SetCurrentTool(u"/usr/bin/something_else");
  EXPECT_EQ(current_tool_var, tool_none);
  SetCurrentTool(u"");
  EXPECT_EQ(current_tool_var, tool_none);
  // The test program is none of the tools.
  current_tool_var = tool_keyness;
  SetCurrentTool();
  EXPECT_EQ(current_tool_var, tool_none);
}

TEST(ListKinds, TablesKeepTheirStoredTexts) {
  EXPECT_EQ(list_signature32[lt_word_list], "Word List32");
  EXPECT_EQ(list_signature32[lt_concordance_list], "Concordance32");
  EXPECT_EQ(list_signature32[lt_aligner_plaintext_list], " Text List32");
  EXPECT_EQ(list_old_header_name[lt_aligner_plaintext_list], " Text List");
  EXPECT_EQ(list_signature32[lt_concgram_list], "QYConcGram List32");
  EXPECT_EQ(list_signature32[lt_none_in_use], "");
  EXPECT_EQ(list_signature32[ly_boll4], "ly_boll4");
  EXPECT_EQ(list_signature32[lt_sorting], "lt_bol8");
  EXPECT_EQ(list_old_header_name[lt_detailed_consistency_relations_list], "Simple Consistency List");
  EXPECT_EQ(list_old_header_name[lt_timeline_list], "Ratio Stats List");
  EXPECT_EQ(list_old_header_name[lt_kw_cluster_list], "");
  EXPECT_EQ(progress_show_in_Shell_thresholds[lt_word_list], 80000);
  EXPECT_EQ(progress_show_in_Shell_thresholds[lt_clumps_as_word_list], 1000);
  EXPECT_EQ(progress_show_in_Shell_thresholds[lt_notes], 2147483647);
  EXPECT_EQ(progress_show_in_Shell_thresholds[lt_chargram_list], 80000);
}

TEST(ListKinds, DisplayNamesComeFromTheCatalogue) {
  EXPECT_EQ(list_type_as_string[lt_word_list], u"Word list");
  EXPECT_EQ(list_type_as_string[lt_KW_database_list], u"Keywords Database");
  EXPECT_EQ(list_type_as_string[lt_concordance_list], u"Concordance list");
  EXPECT_EQ(list_type_as_string[lt_source_text], u"source text");
  EXPECT_EQ(list_type_as_string[lt_concgram_list], u"QYConcgram List");
  EXPECT_EQ(list_type_as_string[lt_sorting], u"Sort");
  EXPECT_EQ(list_type_as_string[lt_none_in_use], u"");
  EXPECT_EQ(list_type_as_string[spare10], u"");
  // Every kind with a signature but no dash has a name of its own.
  for (unsigned k = 0; k <= lt_chargram_list; ++k) {
    if (k == lt_none_in_use) continue;
    EXPECT_FALSE(list_type_as_string[k].empty()) << k;
  }

  SetCatalogueText("_QYWordList", u"Wortliste");
  RefreshListTypeNames();
  EXPECT_EQ(ListTypeName(lt_word_list), u"Wortliste");
  ResetCatalogue();
  RefreshListTypeNames();
  EXPECT_EQ(ListTypeName(lt_word_list), u"Word list");
  EXPECT_EQ(ListTypeName(static_cast<list_type>(43)), u"");
}

TEST(ListKinds, Sets) {
  const std::vector<int> lemmatisable = {0, 1, 4, 5, 11, 12, 13, 15, 16, 23, 24, 33};
  const std::vector<int> saveable = {0, 1, 2, 4, 10, 19, 21, 22, 23, 28, 29, 30, 33};
  for (int k = 0; k < 64; ++k) {
    const auto lt = static_cast<list_type>(k);
    EXPECT_EQ(LemmatisableListTypes.Contains(lt), std::count(lemmatisable.begin(), lemmatisable.end(), k) == 1) << k;
    EXPECT_EQ(SaveableListTypes.Contains(lt), std::count(saveable.begin(), saveable.end(), k) == 1) << k;
  }
}

TEST(ListKinds, ExtensionsOfKindsToolsAndFormats) {
  EXPECT_EQ(DefaultExtFromListType(lt_detailed_consistency_list), u".lst");
  EXPECT_EQ(DefaultExtFromListType(lt_wordlist_index_list), u".tokens");
  EXPECT_EQ(DefaultExtFromListType(lt_notes), u"");
  EXPECT_EQ(DotlessDefaultExtFromListType(lt_concordance_list), u"cnc");
  EXPECT_EQ(DotlessDefaultExtFromListType(lt_markup_list), u"");
  EXPECT_EQ(CorrectedDefaultExt(u"."), u".");
  EXPECT_EQ(CorrectedDefaultExt(u".lst"), u"lst");
  EXPECT_EQ(CorrectedDefaultExt(u"..x"), u".x");
  EXPECT_EQ(CorrectedDefaultExt(u"lst"), u"lst");

  const std::vector<std::pair<tool_type, std::u16string_view>> by_tool = {
      {tool_word_lister, u".lst"}, {tool_concordancer, u".cnc"}, {tool_keyness, u".kws"},
      {tool_char_ngrams, u".cgr"}, {tool_concgrams, u".base_pairs"}, {tool_viewer_aligner, u".vwr"},
      {tool_minimal_pairs, u".txt"}, {tool_file_utilities, u".txt"}, {tool_controller, u".dat"},
      {tool_none, u".dat"}};
  for (const auto& [tool, ext] : by_tool) EXPECT_EQ(DefaultExtFromToolType(tool), ext) << int(tool);

  EXPECT_EQ(DefaultExtFromSaveASFormat(as_txt, lt_word_list), u".txt");
  EXPECT_EQ(DefaultExtFromSaveASFormat(as_xml, lt_word_list), u".xml");
  EXPECT_EQ(DefaultExtFromSaveASFormat(as_Excel_spreadsheet, lt_word_list), u".xls");
  EXPECT_EQ(DefaultExtFromSaveASFormat(as_RTF, lt_word_list), u".rtf");
  EXPECT_EQ(DefaultExtFromSaveASFormat(as_default_for_list, lt_keyword_list), u".kws");

  EXPECT_EQ(QYFileExtensions(), u".lst;.kws;.kdb;.cnc;.ali;.tokens;.mut;.vwr;.base_pairs;.cgr;.types;.base_index_cg");
}

TEST(ListKinds, ListTypeFromFileExtFirstMatchWins) {
  const std::vector<std::pair<std::u16string_view, list_type>> cases = {
      {u".dcl", lt_detailed_consistency_list}, {u".DCL", lt_detailed_consistency_list},
      {u".srt", lt_aligner_plaintext_list},    {u".mut", lt_relationship_list},
      {u".lst", lt_word_list},                 {u".STATS", lt_wordlist_index_list},
      {u".types", lt_wordlist_index_list},     {u".markup", lt_wordlist_index_list},
      {u".s", lt_wordlist_index_list},         // a part of the index run
      {u".base_index", lt_concgram_list},      {u".base_index_cg", lt_concgram_list},
      {u"_pairs", lt_concgram_list},           {u".cnc", lt_concordance_list},
      {u".cgr", lt_chargram_list},             {u".kws", lt_keyword_list},
      {u".kdb", lt_KW_database_list},          {u".vwr", lt_viewer_list},
      {u".txt", lt_aligner_plaintext_list},    {u".ali", lt_aligner_list},
      {u"", spare10},                          {u".col", spare10},
      {u".zip", spare10}};
  for (const auto& [ext, lt] : cases) EXPECT_EQ(ListTypeFromFileExt(UnicodeString(ext)), lt) << Utf16ToUtf8(ext);
}

TEST(ListKinds, ToolTypeFromFileExt) {
  const std::vector<std::pair<std::u16string_view, tool_type>> cases = {
      {u".CNC", tool_concordancer},  {u".base_pairs", tool_concgrams}, {u".base_index_cg", tool_concgrams},
      {u".base_index", tool_none},   {u".kws", tool_keyness},          {u".kdb", tool_keyness},
      {u".lst", tool_word_lister},   {u".tokens", tool_word_lister},   {u".types", tool_word_lister},
      {u".dcl", tool_word_lister},   {u".mut", tool_word_lister},      {u".ali", tool_viewer_aligner},
      {u".txt", tool_viewer_aligner}, {u".vwr", tool_viewer_aligner},  {u".cgr", tool_char_ngrams},
      {u".stats", tool_none},        {u"", tool_none},                 {u".docx", tool_none}};
  for (const auto& [ext, tool] : cases) EXPECT_EQ(ToolTypeFromFileExt(UnicodeString(ext)), tool) << Utf16ToUtf8(ext);
}

TEST(ListKinds, OwnersDataKindsAndLikenesses) {
  RunningToolGuard guard;
  EXPECT_EQ(ToolTypeFromListType(lt_concordance_list), tool_concordancer);
  EXPECT_EQ(ToolTypeFromListType(lt_aligner_list), tool_viewer_aligner);
  EXPECT_EQ(ToolTypeFromListType(lt_concgram_list), tool_concgrams);
  EXPECT_EQ(ToolTypeFromListType(lt_chargram_list), tool_char_ngrams);
  EXPECT_EQ(ToolTypeFromListType(lt_filename_list), tool_controller);
  EXPECT_EQ(ToolTypeFromListType(lt_relationship_list), tool_word_lister);
  current_tool_var = tool_keyness;
  EXPECT_EQ(ToolTypeFromListType(lt_notes), tool_keyness);
  EXPECT_EQ(ToolTypeFromListType(spare10), tool_keyness);
  EXPECT_EQ(ToolTypeFromListType(lt_sorting), tool_controller);
  EXPECT_EQ(ToolTypeFromListType(static_cast<list_type>(99)), tool_none);

  for (unsigned k = 0; k < kListKindCount; ++k) {
    const auto lt = static_cast<list_type>(k);
    file_data_type expected = quilry_only_data;
    if (k == 11 || k == 12) expected = graphic_data;
    if (k == 17 || k == 22 || k == 26 || k == 27) expected = text_data;
    EXPECT_EQ(ListTypeToFileDataType(lt), expected) << k;
    const bool like = k == 6 || k == 7 || k == 8 || k == 9 || k == 23;
    EXPECT_EQ(IsLikeWordList(lt), like) << k;
    EXPECT_EQ(IsOrIsLikeWordList(lt), like || k == 0) << k;
  }
  EXPECT_EQ(ListSignature(lt_word_list), u"Word List");
  EXPECT_EQ(ListSignature(lt_notes), u"Notes");
  EXPECT_EQ(ListSignature(lt_aligner_plaintext_list), u" Text List");
  EXPECT_EQ(ListSignature(lt_none_in_use), u"");
}

TEST(ListKinds, GridsShowTheirKinds) {
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_concordance), lt_concordance_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_clusters), lt_concordance_cluster_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_conc_plot), lt_concordance_plot_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_patterns), lt_concordance_pattern_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_collocates), lt_collocate_list);
  for (const auto grid : {grid_detailed_consist, grid_alph_order, grid_freq_order, grid_detailed_consist_relations})
    EXPECT_EQ(ListTypeFromGridAlternatives(grid), lt_word_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_statistics), lt_statistics_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_filenames), lt_filename_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_timeline), lt_timeline_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_keywords), lt_keyword_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_KWDbase), lt_KW_database_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_kwdb_associates), lt_associate_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_kw_Clumps), lt_clump_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_kw_plot), lt_KW_plot_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_kw_plot_links), lt_link_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_viewer_text), lt_viewer_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_viewer_aligned), lt_aligner_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_relations), lt_relationship_list);
  EXPECT_EQ(ListTypeFromGridAlternatives(grid_chargrams), lt_chargram_list);
  for (const auto grid : {grid_kw_Clusters, grid_concgram, grid_breakdowns, grid_spare1, grid_spare4, grid_none})
    EXPECT_EQ(ListTypeFromGridAlternatives(grid), lt_none_in_use);
  EXPECT_EQ(grid_none, 29);  // 30 values
}

TEST(ListKinds, DateTimeFormatForStoredTexts) {
  EXPECT_EQ(Global_StringToDateTimeFormat.DateSeparator, u'/');
  EXPECT_EQ(Global_StringToDateTimeFormat.TimeSeparator, u':');
  EXPECT_EQ(Global_StringToDateTimeFormat.ShortDateFormat, u"dd/mm/yyyy");
  EXPECT_EQ(Global_StringToDateTimeFormat.LongTimeFormat, u"hh:nn:ss");
  // The rest is the system's.
  EXPECT_EQ(Global_StringToDateTimeFormat.DecimalSeparator, FormatSettings.DecimalSeparator);
  EXPECT_EQ(Global_StringToDateTimeFormat.LongMonthNames, FormatSettings.LongMonthNames);
}

TEST(IndexFiles, ExtensionRuns) {
  EXPECT_EQ(wordlist_index_file_extensions, u".types.tokens.stats.markup");
  EXPECT_EQ(concgram_file_extensions, u".base_pairs.base_index.base_index_cg");
}

}  // namespace
}  // namespace quill
