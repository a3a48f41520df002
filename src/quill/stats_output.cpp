#include "stats_output.h"

#include <cmath>
#include <cstdio>

namespace quill::cli {

std::string JsonNumber(double value) { return std::isfinite(value) ? TsvNumber(value) : "null"; }

}  // namespace quill::cli
