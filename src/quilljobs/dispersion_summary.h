#pragma once
// A dispersion result in words, as its plot and the workbench show it: the
// measures on one line, and each part's short name.
#include <string>

#include "quilljobs/dispersion_job.h"
#include "quilljobs/quilljobs_export.h"

namespace quill::jobs {

// "46 hits in 89069 words; range 27 of 44; D 0.612; DP 0.401; DPnorm 0.410"
// (a measure that does not exist, as D of one part, shows "-").
QUILLJOBS_API std::string DispersionSummary(const DispersionResult& result);
// A segment's own label, or a file's name without its folders.
QUILLJOBS_API std::string DispersionPartLabel(const DispersionPart& part);

}  // namespace quill::jobs
