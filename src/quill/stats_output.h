#pragma once
// Numbers of the statistics commands (keywords, collocates, dispersion) as
// text: twelve significant digits, enough to check a score to 1e-9 of its
// value, and no more to read.
#include <string>

#include "quilljobs/association_stats.h"

namespace quill::cli {

using jobs::TsvNumber;
// JSON has no infinity: null stands for any value that is not finite.
std::string JsonNumber(double value);

}  // namespace quill::cli
