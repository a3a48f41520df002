#pragma once
// The dispersion plot of `quill dispersion --png`: the controls library's
// plot (a bar per file or segment, a tick per hit) saved as PNG.
#include <string>

#include "quilljobs/dispersion_job.h"

namespace quill::cli {

// Paints the plot of `words` and writes it to `path` as PNG, `width` pixels
// wide. Fails with a message (and leaves no file) when it cannot be written,
// or when the pictures module cannot be loaded.
void WriteDispersionPicture(const std::string& path, const std::string& words, const jobs::DispersionResult& result,
                            int width);

}  // namespace quill::cli
