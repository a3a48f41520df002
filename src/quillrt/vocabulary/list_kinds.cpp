#include "quillrt/vocabulary/list_kinds.h"

#include <algorithm>
#include <vector>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/shared_state.h"

namespace quill {
namespace {

constexpr std::int32_t kNever = 2147483647;
// The notes and spare10 belong to the running tool; marked so in the table.
constexpr std::uint8_t kRunningTool = 0xFF;

// One row per list kind: the catalogue key of its display name, header
// signature, the older header name, default extension, owning tool and
// progress threshold.
struct ListKindRow {
  std::string_view name_key;
  std::string_view signature;
  std::string_view old_name;
  std::u16string_view extension;
  std::uint8_t tool;
  std::int32_t threshold;
};

// clang-format off
constexpr std::array<ListKindRow, kListKindCount> kRows = {{
    {"_QYWordList", "Word List32", "Word Lister", u".lst", tool_word_lister, 80000},
    {"_QYKeyWordList", "Key Word List32", "Key Word List", u".kws", tool_keyness, 10000},
    {"_QYKeyWordDatabase", "KeyWords Database32", "KeyWords Database (v. 2)", u".kdb", tool_keyness, 2000},
    {"_QYDetailedConsistencyRelationsList", "Detailed Consistency Relations List32", "Simple Consistency List", u".lst", tool_word_lister, 10000},
    {"_QYDetailedConsistencyList", "Detailed Consistency List32", "Detailed Consistency List", u".lst", tool_word_lister, 10000},
    {"_QYCollocateList", "Collocate List32", "Collocate List", u".col", tool_concordancer, 10000},
    {"_QYKeyWordsAsWordlist", "KeyWords as WordList32", "KeyWords as WordList", u".lst", tool_word_lister, 80000},
    {"_QYKeyWordDatabaseAsWordlist", "KWDBase as WordList32", "KWDBase as WordList", u".lst", tool_word_lister, 80000},
    {"_QYAssociatesAsWordList", "Associates as WordList32", "Associates as WordList", u".lst", tool_word_lister, 80000},
    {"_QYClumpsAsWordList", "Clumps as WordList32", "Clumps as WordList", u".lst", tool_word_lister, 1000},
    {"_QYConcordanceList", "Concordance32", "Concordancer", u".cnc", tool_concordancer, 2000},
    {"_QYKeyWordsPlotList", "KeyWords Plot32", "KeyWords Plot", u".kpl", tool_keyness, 8000},
    {"_QYConcordancePlotList", "Concordance Plot32", "Concordance Plot", u".cpl", tool_concordancer, 8000},
    {"_QYConcordanceClusterList", "Concordance Cluster List32", "Concordance Cluster List", u".ccl", tool_concordancer, 8000},
    {"_QYConcordancePatternList", "Concordance Pattern List32", "Concordance Pattern List", u".cpt", tool_concordancer, 8000},
    {"_QYAssociateList", "Associate List32", "Associate List", u".ass", tool_keyness, 8000},
    {"_QYClumpList", "Clump List32", "Clump List", u".clp", tool_keyness, 8000},
    {"_QYFilenameList", "Filename List32", "Filename List", u".fil", tool_controller, 8000},
    {"_QYLinkList", "Link List32", "Link List", u".klk", tool_keyness, 8000},
    {"_QYStatisticsList", "Statistics List32", "Statistics List", u".lst", tool_word_lister, 8000},
    {"_QYTimeLineList", "Timeline List32", "Ratio Stats List", u".tml", tool_concordancer, 2000},
    {"_QYAlignerList", "Aligner List32", "Aligner List", u".ali", tool_viewer_aligner, 2000},
    // The leading space of this signature and of its older name is stored.
    {"_QYTextList", " Text List32", " Text List", u".txt", tool_viewer_aligner, 2000},
    {"_QYWordListIndexList", "Wordlist Index List32", "Wordlist Index List", u".tokens", tool_word_lister, 80000},
    {"_QYKeyWordsClusterList", "KeyWords ClusterList32", "", u"", tool_keyness, 2000},
    {"", "", "", u"", tool_controller, kNever},                                  // lt_none_in_use
    {"_QYNotes", "Notes", "", u"", kRunningTool, kNever},
    {"_QYSourceText", "source text", "", u"", tool_controller, kNever},
    {"_QYMutualINformationList", "Mutual Information List32", "", u".mut", tool_word_lister, 1000},
    {"_QYViewerList", "Viewer List32", "", u".vwr", tool_viewer_aligner, 2000},
    {"_QYConcgramList", "QYConcGram List32", "", u".base_pairs", tool_concgrams, 2000},
    {"_QYMarkupList", "Markup List32", "", u"", tool_controller, kNever},
    {"_QYSectionList", "Section List32", "", u"", tool_controller, kNever},
    {"_QYChargramList", "CharGram List32", "", u".cgr", tool_char_ngrams, 80000},
    {"", "spare10", "", u"", kRunningTool, kNever},
    {"", "lt_boll", "", u"", tool_controller, kNever},
    {"", "lt_boll2", "", u"", tool_controller, kNever},
    {"", "lt_boll3", "", u"", tool_controller, kNever},
    {"", "ly_boll4", "", u"", tool_controller, kNever},
    {"", "lt_boll5", "", u"", tool_controller, kNever},
    {"", "lt_bol6", "", u"", tool_controller, kNever},
    {"", "lt_bol7", "", u"", tool_controller, kNever},
    {"_QYSort", "lt_bol8", "", u"", tool_controller, kNever},
}};
// clang-format on

template <class T, class Pick>
constexpr std::array<T, kListKindCount> Column(Pick pick) {
  std::array<T, kListKindCount> column{};
  for (unsigned i = 0; i < kListKindCount; ++i) column[i] = pick(kRows[i]);
  return column;
}

constexpr bool SignaturesFitTheHeader() {
  for (const ListKindRow& row : kRows)
    if (row.signature.size() > 40) return false;
  return true;
}
static_assert(SignaturesFitTheHeader(), "a header holds at most 40 signature characters");

bool Valid(list_type lt) { return lt < kListKindCount; }

std::array<UnicodeString, kListKindCount> NamesFromCatalogue() {
  std::array<UnicodeString, kListKindCount> names;
  for (unsigned i = 0; i < kListKindCount; ++i)
    if (!kRows[i].name_key.empty()) names[i] = CatalogueText(kRows[i].name_key);
  return names;
}

TFormatSettings StringToDateTimeFormat() {
  TFormatSettings settings = FormatSettings;
  settings.DateSeparator = u'/';
  settings.ShortDateFormat = u"dd/mm/yyyy";
  settings.LongTimeFormat = u"hh:nn:ss";
  settings.TimeSeparator = u':';
  return settings;
}

// The extensions of the index and concgram families, as one string each, in
// which ListTypeFromFileExt looks for a part.
constexpr std::u16string_view kIndexExtensionsRun = u".types.tokens.stats.markup";
constexpr std::u16string_view kConcgramExtensionsRun = u".base_pairs.base_index.base_index_cg";

}  // namespace

std::array<UnicodeString, kListKindCount> list_type_as_string = NamesFromCatalogue();

void RefreshListTypeNames() { list_type_as_string = NamesFromCatalogue(); }

const std::array<std::string_view, kListKindCount> list_signature32 =
    Column<std::string_view>([](const ListKindRow& row) { return row.signature; });
const std::array<std::string_view, kListKindCount> list_old_header_name =
    Column<std::string_view>([](const ListKindRow& row) { return row.old_name; });
const std::array<std::int32_t, kListKindCount> progress_show_in_Shell_thresholds =
    Column<std::int32_t>([](const ListKindRow& row) { return row.threshold; });

const list_type_set LemmatisableListTypes = {
    lt_word_list,         lt_keyword_list,     lt_detailed_consistency_list, lt_collocate_list,
    lt_KW_plot_list,      lt_concordance_plot_list, lt_concordance_cluster_list, lt_associate_list,
    lt_clump_list,        lt_wordlist_index_list,   lt_kw_cluster_list,          lt_chargram_list};
const list_type_set SaveableListTypes = {
    lt_word_list,           lt_keyword_list,          lt_KW_database_list,   lt_detailed_consistency_list,
    lt_concordance_list,    lt_statistics_list,       lt_aligner_list,       lt_aligner_plaintext_list,
    lt_wordlist_index_list, lt_relationship_list,     lt_viewer_list,        lt_concgram_list,
    lt_chargram_list};

TFormatSettings Global_StringToDateTimeFormat = StringToDateTimeFormat();

std::string_view ListSignature32Of(list_type lt) { return Valid(lt) ? list_signature32[lt] : std::string_view{}; }

UnicodeString ListTypeName(list_type lt) { return Valid(lt) ? list_type_as_string[lt] : UnicodeString{}; }

UnicodeString DefaultExtFromListType(list_type lt) {
  return Valid(lt) ? UnicodeString(kRows[lt].extension) : UnicodeString{};
}

UnicodeString DotlessDefaultExtFromListType(list_type lt) {
  UnicodeString ext = DefaultExtFromListType(lt);
  if (!ext.empty() && ext.front() == u'.') ext.erase(0, 1);
  return ext;
}

UnicodeString CorrectedDefaultExt(const UnicodeString& ext) {
  if (ext.size() >= 2 && ext.front() == u'.') return ext.substr(1);
  return ext;
}

UnicodeString DefaultExtFromToolType(tool_type tool) {
  switch (tool) {
    case tool_word_lister: return u".lst";
    case tool_concordancer: return u".cnc";
    case tool_keyness: return u".kws";
    case tool_char_ngrams: return u".cgr";
    case tool_concgrams: return u".base_pairs";
    case tool_viewer_aligner: return u".vwr";
    case tool_minimal_pairs:
    case tool_file_utilities: return u".txt";
    default: return u".dat";
  }
}

UnicodeString DefaultExtFromSaveASFormat(TSave_as_format format, list_type lt) {
  switch (format) {
    case as_txt: return u".txt";
    case as_xml: return u".xml";
    case as_Excel_spreadsheet: return u".xls";
    case as_RTF: return u".rtf";
    case as_default_for_list: break;
  }
  return DefaultExtFromListType(lt);
}

UnicodeString QYFileExtensions() {
  // Kinds whose lists are opened from inside another list, or not at all.
  constexpr list_type_set kNotOffered = {
      lt_collocate_list, lt_KW_plot_list, lt_concordance_plot_list, lt_concordance_cluster_list,
      lt_concordance_pattern_list, lt_associate_list, lt_clump_list, lt_filename_list,
      lt_link_list, lt_timeline_list, lt_aligner_plaintext_list, lt_kw_cluster_list};
  std::vector<UnicodeString> offered;
  for (unsigned i = 0; i < kListKindCount; ++i) {
    const auto lt = static_cast<list_type>(i);
    const UnicodeString ext = DefaultExtFromListType(lt);
    if (kNotOffered.Contains(lt) || ext.empty()) continue;
    if (std::find(offered.begin(), offered.end(), ext) == offered.end()) offered.push_back(ext);
  }
  offered.push_back(u".types");
  offered.push_back(u".base_index_cg");
  UnicodeString joined;
  for (const UnicodeString& ext : offered) joined += (joined.empty() ? u"" : u";") + ext;
  return joined;
}

list_type ListTypeFromFileExt(const UnicodeString& ext) {
  const UnicodeString lower = LowerCase(ext);
  if (lower == u".dcl") return lt_detailed_consistency_list;
  if (lower == u".srt") return lt_aligner_plaintext_list;
  if (lower == u".mut") return lt_relationship_list;
  if (lower == u".lst") return lt_word_list;
  if (!lower.empty() && kIndexExtensionsRun.find(lower) != std::u16string_view::npos) return lt_wordlist_index_list;
  if (!lower.empty() && kConcgramExtensionsRun.find(lower) != std::u16string_view::npos) return lt_concgram_list;
  if (lower == u".cnc") return lt_concordance_list;
  if (lower == u".cgr") return lt_chargram_list;
  if (lower == u".kws") return lt_keyword_list;
  if (lower == u".kdb") return lt_KW_database_list;
  if (lower == u".vwr") return lt_viewer_list;
  if (lower == u".txt") return lt_aligner_plaintext_list;
  if (lower == u".ali") return lt_aligner_list;
  return spare10;
}

tool_type ToolTypeFromFileExt(const UnicodeString& ext) {
  const UnicodeString lower = LowerCase(ext);
  if (lower == u".cnc") return tool_concordancer;
  if (lower == u".base_pairs" || lower == u".base_index_cg") return tool_concgrams;
  if (lower == u".kws" || lower == u".kdb") return tool_keyness;
  if (lower == u".lst" || lower == u".tokens" || lower == u".types" || lower == u".dcl" || lower == u".mut")
    return tool_word_lister;
  if (lower == u".ali" || lower == u".txt" || lower == u".vwr") return tool_viewer_aligner;
  if (lower == u".cgr") return tool_char_ngrams;
  return tool_none;
}

tool_type ToolTypeFromListType(list_type lt) {
  if (!Valid(lt)) return tool_none;
  const std::uint8_t tool = kRows[lt].tool;
  return tool == kRunningTool ? current_tool_var : static_cast<tool_type>(tool);
}

file_data_type ListTypeToFileDataType(list_type lt) {
  switch (lt) {
    case lt_KW_plot_list:
    case lt_concordance_plot_list: return graphic_data;
    case lt_filename_list:
    case lt_aligner_plaintext_list:
    case lt_notes:
    case lt_source_text: return text_data;
    default: return quilry_only_data;
  }
}

bool IsLikeWordList(list_type lt) {
  constexpr list_type_set kLikeWordLists = {lt_KWs_as_word_list, lt_KWDB_as_word_list, lt_associates_as_word_list,
                                            lt_clumps_as_word_list, lt_wordlist_index_list};
  return kLikeWordLists.Contains(lt);
}

bool IsOrIsLikeWordList(list_type lt) { return lt == lt_word_list || IsLikeWordList(lt); }

UnicodeString ListSignature(list_type lt) {
  std::string_view signature = ListSignature32Of(lt);
  if (signature.ends_with("32")) signature.remove_suffix(2);
  return UnicodeString(signature.begin(), signature.end());
}

list_type ListTypeFromGridAlternatives(grid_alternatives grid) {
  switch (grid) {
    case grid_concordance: return lt_concordance_list;
    case grid_clusters: return lt_concordance_cluster_list;
    case grid_conc_plot: return lt_concordance_plot_list;
    case grid_patterns: return lt_concordance_pattern_list;
    case grid_collocates: return lt_collocate_list;
    case grid_detailed_consist:
    case grid_alph_order:
    case grid_freq_order:
    case grid_detailed_consist_relations: return lt_word_list;
    case grid_statistics: return lt_statistics_list;
    case grid_filenames: return lt_filename_list;
    case grid_timeline: return lt_timeline_list;
    case grid_keywords: return lt_keyword_list;
    case grid_KWDbase: return lt_KW_database_list;
    case grid_kwdb_associates: return lt_associate_list;
    case grid_kw_Clumps: return lt_clump_list;
    case grid_kw_plot: return lt_KW_plot_list;
    case grid_kw_plot_links: return lt_link_list;
    case grid_viewer_text: return lt_viewer_list;
    case grid_viewer_aligned: return lt_aligner_list;
    case grid_relations: return lt_relationship_list;
    case grid_chargrams: return lt_chargram_list;
    default: return lt_none_in_use;
  }
}

}  // namespace quill
