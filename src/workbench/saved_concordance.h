#pragma once
// Loading a saved concordance back into lines the list shows.
#include <string>
#include <vector>

#include "quilljobs/concordance_lines.h"

namespace quill::workbench {

struct LoadedConcordance {
  std::vector<std::string> searches;        // the search words typed when it was made
  std::vector<jobs::ConcordanceLine> lines;  // in the saved order
  std::size_t sources = 0;                  // how many files the lines come from
};

// Reads a saved concordance. Each line's file is its source text's name and
// its file index the source's place in the file, from 1 (sources are not a
// corpus: they name the files whose lines were kept). Raises
// JobError(failed) saying what is wrong with a file that is not one or is damaged.
LoadedConcordance LoadConcordanceFile(const std::string& path);

}  // namespace quill::workbench
