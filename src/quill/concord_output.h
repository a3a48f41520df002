#pragma once
// Writing concordance lines: aligned text (the hit highlighted on a
// terminal), tab-separated values with a header, or JSON one object a line.
#include <cstdio>
#include <string>
#include <vector>

#include "quilljobs/concordance_lines.h"

namespace quill::cli {

using jobs::ConcordanceLine;

enum class ConcordFormat { Text, Tsv, Json };

// "text", "tsv" or "json"; false for anything else.
bool ParseConcordFormat(const std::string& name, ConcordFormat& format);

// Writes the lines to `out`. In text form the left contexts are right-aligned
// to the longest of them so that the hits line up, and control characters of
// the corpus (terminal escapes among them) are shown as \xHH escapes.
void WriteConcordance(std::FILE* out, const std::vector<ConcordanceLine>& lines, ConcordFormat format,
                      bool highlight);

// The same one line at a time, for TSV and JSON (whose lines stand alone):
// the header first (TSV only), then each line as it comes.
void WriteConcordanceHeader(std::FILE* out, ConcordFormat format);
void WriteConcordanceLine(std::FILE* out, const ConcordanceLine& line, ConcordFormat format);

// A string as a JSON string literal, quotes included.
std::string JsonQuoted(const std::string& s);

}  // namespace quill::cli
