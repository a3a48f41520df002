#pragma once
// The kinds of list the tools save: display names, the signature written into
// a saved list's header, the names that earlier releases wrote there, default
// extensions, the owning tool and when the controller shows progress; the
// recognition of a list kind or tool from a file extension; the other small
// enumerations that go with saving.
//
// The value of a list kind is stored as one byte, so the order is fixed.
#include <array>
#include <cstdint>
#include <string_view>

#include "quillrt/framework/format.h"
#include "quillrt/framework/strings.h"
#include "quillrt/process/tool_kinds.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/vocabulary/enum_sets.h"

namespace quill {

enum list_type : std::uint8_t {
  lt_word_list,
  lt_keyword_list,
  lt_KW_database_list,
  lt_detailed_consistency_relations_list,
  lt_detailed_consistency_list,
  lt_collocate_list,
  lt_KWs_as_word_list,
  lt_KWDB_as_word_list,
  lt_associates_as_word_list,
  lt_clumps_as_word_list,
  lt_concordance_list,
  lt_KW_plot_list,
  lt_concordance_plot_list,
  lt_concordance_cluster_list,
  lt_concordance_pattern_list,
  lt_associate_list,
  lt_clump_list,
  lt_filename_list,
  lt_link_list,
  lt_statistics_list,
  lt_timeline_list,
  lt_aligner_list,
  lt_aligner_plaintext_list,
  lt_wordlist_index_list,
  lt_kw_cluster_list,
  lt_none_in_use,
  lt_notes,
  lt_source_text,
  lt_relationship_list,
  lt_viewer_list,
  lt_concgram_list,
  lt_markup_list,
  lt_sections_list,
  lt_chargram_list,
  spare10,
  lt_boll,
  lt_boll2,
  lt_boll3,
  ly_boll4,
  lt_boll5,
  lt_bol6,
  lt_bol7,
  lt_sorting,
};

inline constexpr unsigned kListKindCount = lt_sorting + 1;  // 43 kinds

using list_type_set = TEnumSet<list_type, kListKindCount>;

// What a list holds, as far as saving and opening it goes.
enum file_data_type : std::uint8_t { quilry_only_data, graphic_data, text_data };

enum TSave_as_format : std::uint8_t { as_txt, as_xml, as_Excel_spreadsheet, as_RTF, as_default_for_list };

enum TWriteOrRead : std::uint8_t { writing, reading };

// The grids a tool shows; each shows one kind of list (ListTypeFromGridAlternatives).
enum grid_alternatives : std::uint8_t {
  grid_concordance,
  grid_clusters,
  grid_conc_plot,
  grid_patterns,
  grid_collocates,
  grid_detailed_consist,
  grid_alph_order,
  grid_freq_order,
  grid_detailed_consist_relations,
  grid_statistics,
  grid_filenames,
  grid_timeline,
  grid_keywords,
  grid_KWDbase,
  grid_kwdb_associates,
  grid_kw_Clumps,
  grid_kw_plot,
  grid_kw_plot_links,
  grid_viewer_text,
  grid_viewer_aligned,
  grid_relations,
  grid_chargrams,
  grid_kw_Clusters,
  grid_concgram,
  grid_breakdowns,
  grid_spare1,
  grid_spare2,
  grid_spare3,
  grid_spare4,
  grid_none,
};

// ---- the tables, indexed by list kind --------------------------------------

// Display names, filled from the message catalogue when the library loads (an
// empty entry for the kinds without one). RefreshListTypeNames fills them again,
// for a tool that has put a translated catalogue in place.
extern QUILLRT_API std::array<UnicodeString, kListKindCount> list_type_as_string;
QUILLRT_API void RefreshListTypeNames();

// The signature in a saved list's header (8-bit, at most 40 characters).
extern QUILLRT_API const std::array<std::string_view, kListKindCount> list_signature32;
// The header names that earlier releases wrote; empty where there was none.
extern QUILLRT_API const std::array<std::string_view, kListKindCount> list_old_header_name;
// From how many entries the controller shows progress for a kind
// (2147483647: never).
extern QUILLRT_API const std::array<std::int32_t, kListKindCount> progress_show_in_Shell_thresholds;

// Lists whose entries can be joined under lemmas, and lists the tools can save.
extern QUILLRT_API const list_type_set LemmatisableListTypes;
extern QUILLRT_API const list_type_set SaveableListTypes;

// The signature entry of `lt`; empty for a value outside the enumeration.
QUILLRT_API std::string_view ListSignature32Of(list_type lt);
// The display name entry of `lt`; empty outside the enumeration.
QUILLRT_API UnicodeString ListTypeName(list_type lt);

// ---- extensions -------------------------------------------------------------

// The default extension with its dot; empty for kinds that have none.
QUILLRT_API UnicodeString DefaultExtFromListType(list_type lt);
QUILLRT_API UnicodeString DotlessDefaultExtFromListType(list_type lt);
// Removes one leading "." from a string of at least two characters.
QUILLRT_API UnicodeString CorrectedDefaultExt(const UnicodeString& ext);
// ".lst", ".cnc", ".kws", ".cgr", ".base_pairs", ".vwr", ".txt" (minimal pairs
// and file utilities) for the tools that save lists; ".dat" for the others.
QUILLRT_API UnicodeString DefaultExtFromToolType(tool_type tool);
QUILLRT_API UnicodeString DefaultExtFromSaveASFormat(TSave_as_format format, list_type lt);
// The extensions offered when opening saved lists, joined by ";".
QUILLRT_API UnicodeString QYFileExtensions();

// The list kind an extension (with its dot, any case) stands for; spare10 when
// none. Rules in order, the first that matches wins:
//   ".dcl" 4, ".srt" 22, ".mut" 28, ".lst" 0;
//   part of ".types.tokens.stats.markup" 23;
//   part of ".base_pairs.base_index.base_index_cg" 30;
//   ".cnc" 10, ".cgr" 33, ".kws" 1, ".kdb" 2, ".vwr" 29, ".txt" 22, ".ali" 21.
// "Part of" is a substring test, so ".s" reads as an index file; an empty
// extension is part of nothing.
QUILLRT_API list_type ListTypeFromFileExt(const UnicodeString& ext);
// The tool that opens files with this extension; tool_none when no tool does.
QUILLRT_API tool_type ToolTypeFromFileExt(const UnicodeString& ext);

// ---- kinds ------------------------------------------------------------------

// The tool that owns a kind; the notes and spare10 belong to whichever tool is
// running (current_tool_var). tool_none outside the enumeration.
QUILLRT_API tool_type ToolTypeFromListType(list_type lt);
QUILLRT_API file_data_type ListTypeToFileDataType(list_type lt);
// Word lists made from other lists (and the index list); with the word list itself.
QUILLRT_API bool IsLikeWordList(list_type lt);
QUILLRT_API bool IsOrIsLikeWordList(list_type lt);
// The header signature without its trailing "32" ("Word List" for a word list).
QUILLRT_API UnicodeString ListSignature(list_type lt);
QUILLRT_API list_type ListTypeFromGridAlternatives(grid_alternatives grid);

// ---- dates in saved settings ----------------------------------------------------

// The format settings for turning the tools' stored date-time texts into
// values: the system's settings with "/" between the parts of "dd/mm/yyyy" and
// ":" between those of "hh:nn:ss". Prepared when the library loads.
extern QUILLRT_API TFormatSettings Global_StringToDateTimeFormat;

}  // namespace quill
