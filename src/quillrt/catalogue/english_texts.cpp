// The built-in English texts. The table grows as more of the library reads its
// texts from here; a key must be added in byte order (the check below refuses a
// table out of order or with a repeated key at compile time).
#include "quillrt/catalogue/english_texts.h"

#include <array>

namespace quill::catalogue {
namespace {

constexpr std::array kEntries = {
    Entry{"_QYByte", "bytes"},
    Entry{"_QYCenturies", "centuries"},
    Entry{"_QYCustom", "custom"},
    Entry{"_QYDays", "days"},
    Entry{"_QYDecades", "decades"},
    Entry{"_QYEnter", "<Enter>"},
    Entry{"_QYEtc", "etc."},
    Entry{"_QYFalse", "false"},
    Entry{"_QYFileReadError", "file read error : %s"},
    Entry{"_QYGigabyte", "Gb"},
    Entry{"_QYHours", "hours"},
    Entry{"_QYKilobyte", "Kb"},
    Entry{"_QYMax", "Max"},
    Entry{"_QYMean", "Mean"},
    Entry{"_QYMegabyte", "Mb"},
    Entry{"_QYMillennia", "millennia"},
    Entry{"_QYMin", "Min"},
    Entry{"_QYMonths", "months"},
    Entry{"_QYNo", "No"},
    Entry{"_QYOverwriteXQ", "Overwrite %s?"},
    Entry{"_QYOverwriteXWithBackupQ", "Overwrite %s (with backup)?"},
    Entry{"_QYSd", "Sd."},
    Entry{"_QYSpare", "spare"},
    Entry{"_QYTab", "<Tab>"},
    Entry{"_QYTerabyte", "Tb"},
    Entry{"_QYTotal", "Total"},
    Entry{"_QYTrue", "true"},
    Entry{"_QYUnknown", "unknown"},
    Entry{"_QYUnknown_date_str", "<no date found>"},
    Entry{"_QYWeeks", "weeks"},
    Entry{"_QYYears", "years"},
    Entry{"_QYYes", "Yes"},
};

constexpr bool StrictlyAscending() {
  for (std::size_t i = 1; i < kEntries.size(); ++i) {
    if (!(kEntries[i - 1].key < kEntries[i].key)) return false;
  }
  return true;
}
static_assert(StrictlyAscending(), "catalogue keys must be unique and in byte order");

}  // namespace

std::span<const Entry> EnglishTexts() { return kEntries; }

}  // namespace quill::catalogue
