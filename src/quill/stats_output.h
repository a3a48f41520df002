#pragma once
// Numbers of the statistics commands (keywords, collocates, dispersion) as
// text: twelve significant digits, enough to check a score to 1e-9 of its
// value, and no more to read.
#include <string>

namespace quill::cli {

// "inf", "-inf" and "nan" for the values that are not finite (a word absent
// from the reference has an infinite %DIFF).
std::string TsvNumber(double value);
// JSON has no infinity: null stands for any value that is not finite.
std::string JsonNumber(double value);

}  // namespace quill::cli
