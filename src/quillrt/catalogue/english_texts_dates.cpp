// The English text of the date routines.
// Keys in byte order; the check below refuses a table out of order or with a
// repeated key at compile time.
#include "quillrt/catalogue/english_texts.h"

namespace quill::catalogue {
namespace {

constexpr Entry kEntries[] = {
    Entry{"_QYUnknown_date_str", "<no date found>"},
};

static_assert(StrictlyAscending(kEntries), "catalogue keys must be unique and in byte order");

}  // namespace

std::span<const Entry> DateTexts() { return kEntries; }

}  // namespace quill::catalogue
