#pragma once
// A dispersion plot: a header with the word and its measures, then one bar
// per file (or part) with a tick where each occurrence falls, painted by the
// text drawer on the controls library's Qt canvas and saved as PNG.
#include <string>

#include "quilljobs/dispersion_job.h"

namespace quill::cli {

// The picture's height for `part_count` bars.
int DispersionPictureHeight(std::size_t part_count);

// Paints the plot of `words` and writes it to `path` as PNG, `width` pixels
// wide. Fails with a message (and leaves no file) when it cannot be written.
void WriteDispersionPicture(const std::string& path, const std::string& words, const jobs::DispersionResult& result,
                            int width);

}  // namespace quill::cli
