#pragma once
// The abbreviated number list a user types for pages, files or columns:
// items separated by ",", each a decimal number or a range of two numbers joined
// by "-" ("1-3,5,7,8"); blanks and other characters are ignored. Also the
// comma-separated item lists and a helper that keeps an ascending list of
// numbers complete.
#include <cstdint>
#include <memory>
#include <vector>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

using TArrayOfIntegers = std::vector<std::int32_t>;

// A range is written out only when it holds at most this many numbers; a longer
// one ("1-2000000000") is taken as a typing error and gives nothing, rather than
// exhausting memory.
inline constexpr std::int64_t HumanNumberListMaxRange = 1000000;

// The abbreviation of the integer lines of `list`, in list order (lines that are
// not integers are skipped; the list is not sorted first and duplicates stay):
// three or more consecutive numbers become a range, two are written with a
// comma. 1,2,3,5,7,8 gives "1-3,5,7,8"; an empty list gives "".
QUILLRT_API UnicodeString HumanAbbreviatedNumberListString(const TStrings& list);
// The same for the elements of `array`, each plus `offset`.
QUILLRT_API UnicodeString HumanAbbreviatedNumberListString(const TArrayOfIntegers& array, std::int32_t offset);
// A new list with one decimal line per element, each plus `offset`.
QUILLRT_API std::unique_ptr<TStringList> TArrayOfIntegersToStringlist(const TArrayOfIntegers& array,
                                                                      std::int32_t offset);

// The abbreviation written out: "1-3,5" gives "1,2,3,5". A range whose end is
// below its start, or that is longer than HumanNumberListMaxRange, adds nothing;
// a range with no number before its "-" starts at 0. Numbers outside the 32-bit
// range are copied as written when they stand alone.
QUILLRT_API UnicodeString HumanAbbreviatedNumberListStringExpanded(const UnicodeString& text);
// The numbers of an abbreviation, each minus `offset`, into `array` (emptied
// first). A number that does not convert is skipped; a range with no number
// before its "-" starts at 0; ranges follow the rules of the expansion.
QUILLRT_API void HumanAbbreviatedNumberListStringAsIntegers(const UnicodeString& text, std::int32_t offset,
                                                            TArrayOfIntegers& array);
// The n-th number (from 1; below 1 counts as 1; beyond the count, the last) of
// the written-out list of the trimmed text; "" when there is none or it is not
// an integer.
QUILLRT_API UnicodeString ANumberInHumanString(const UnicodeString& text, std::int32_t n);
// For each month m from 1 to 12, the first "01" ... "12" in the text becomes the
// m-th short month name of UserDefaultFormatSettings.
QUILLRT_API UnicodeString HumanAbbreviatedNumberListStringToMonths(const UnicodeString& text);

// Inserts the decimal text of n into an ascending list of numbers, unless it is
// already a line: before the first line whose number exceeds n (when the line
// before it, if any, is below n), else at the end. A line that is not a decimal
// number raises EConvertError.
QUILLRT_API void ForceItemsToInclude(TStrings& list, std::int32_t n);

// The items of a comma-separated text: every item before a "," trimmed (empty
// ones kept); what follows the last "," added as it is when it is not empty.
QUILLRT_API std::unique_ptr<TStringList> CommaSeparatedStrings(const UnicodeString& text);

}  // namespace quill
