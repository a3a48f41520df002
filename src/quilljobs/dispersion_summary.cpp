#include "quilljobs/dispersion_summary.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace quill::jobs {
namespace {

std::string Measure(const char* name, double value) {
  char text[48];
  if (std::isnan(value)) std::snprintf(text, sizeof text, "%s -", name);
  else std::snprintf(text, sizeof text, "%s %.3f", name, value);
  return text;
}

}  // namespace

std::string DispersionSummary(const DispersionResult& result) {
  const DispersionMeasures& m = result.measures;
  return std::to_string(result.hits) + " hits in " + std::to_string(result.tokens) + " words; range " +
         std::to_string(m.range) + " of " + std::to_string(result.parts.size()) + "; " + Measure("D", m.juilland_d) +
         "; " + Measure("DP", m.dp) + "; " + Measure("DPnorm", m.dp_norm);
}

std::string DispersionPartLabel(const DispersionPart& part) {
  return part.segment ? part.name : std::filesystem::path(part.name).filename().string();
}

}  // namespace quill::jobs
