#pragma once
// A concordance as a picture for papers and slides: a header with the query
// and the totals, then one row per line with the hit at the centre in its
// search word's colours, painted by the text drawer and saved as PNG.
#include <cstdint>
#include <string>
#include <vector>

#include "quilljobs/concordance_lines.h"

namespace quill::cli {

using jobs::ConcordanceLine;

struct ConcordPictureInfo {
  std::vector<std::string> searches;     // as typed, in -s order
  std::vector<std::int64_t> search_hits;  // hits of each, same order
  std::int64_t total_hits = 0;
  std::int64_t total_words = 0;
  std::size_t files = 0;
  std::uint32_t lcid = 0x0409;  // the corpus language: right-to-left ones mirror the rows
  int width = 1000;             // pixels
};

// Paints the lines and writes the picture to `path` as PNG. Fails with a
// message (and leaves no file) when it cannot be written, or when the
// pictures module cannot be loaded.
void WriteConcordPicture(const std::string& path, const std::vector<ConcordanceLine>& lines,
                         const ConcordPictureInfo& info);

}  // namespace quill::cli
