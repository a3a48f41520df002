#include "stats_output.h"

#include <cmath>
#include <cstdio>

namespace quill::cli {

std::string TsvNumber(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.12g", value);
  return text;
}

std::string JsonNumber(double value) { return std::isfinite(value) ? TsvNumber(value) : "null"; }

}  // namespace quill::cli
