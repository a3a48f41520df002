#pragma once
// The kinds of tool in the workbench. The value is stored as one byte in saved
// files and settings, so the order is fixed: nothing is ever inserted or moved.
#include <cstdint>

namespace quill {

enum tool_type : std::uint8_t {
  tool_word_lister,
  tool_concordancer,
  tool_keyness,
  tool_char_ngrams,
  tool_controller,
  tool_any_main,
  tool_text_converter,
  tool_concgrams,
  tool_reserved_8,
  tool_language_chooser,
  tool_spare_10,
  tool_viewer_aligner,
  tool_spare_12,
  tool_char_profiler,
  tool_minimal_pairs,
  tool_file_utilities,
  tool_api,
  tool_file_viewer,
  tool_corpus_checker,
  tool_version_checker,
  tool_lexpool,
  tool_none,
};

}  // namespace quill
