// The English texts of the export headings.
// Keys in byte order; the check below refuses a table out of order or with a
// repeated key at compile time.
#include "quillrt/catalogue/english_texts.h"

namespace quill::catalogue {
namespace {

constexpr Entry kEntries[] = {
    Entry{"_QYIncludeHeadersAndHeadings", "Include headers and headings"},
    Entry{"_QYIncludeHeadings", "Include headings"},
    Entry{"_QYN", "N"},
    Entry{"_QYPleaseSpecifyFrequencyOf", "Please specify the frequency of %s."},
};

static_assert(StrictlyAscending(kEntries), "catalogue keys must be unique and in byte order");

}  // namespace

std::span<const Entry> HeadingTexts() { return kEntries; }

}  // namespace quill::catalogue
