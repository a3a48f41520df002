#pragma once
// A user-defined sort order for lines, for languages whose alphabet is not the
// collation's: the user lists the units of the alphabet in order, separated by
// commas, where a unit may be a group of letters that sorts as one ("c,ch,d").
//
// Each line gets a key in which every character covered by a unit is replaced
// by a code for the unit's rank; lines are then ordered by their keys' code
// units.
#include <memory>

#include "quillrt/collections/string_lists_with_values.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The units of a sort specification, each with its rank (0 for the first
// non-empty unit, then 1, 2 ...) as its value, ordered longest first (ties by
// code units), so that a group is matched before its first letter.
QUILLRT_API std::unique_ptr<TStringListWithALongint> CustomSortPreparedStringlist(const UnicodeString& spec);

// The sort key of a line: for each unit in prepared order, every occurrence of
// it among the characters no earlier unit has taken has each of its characters
// replaced by the character rank + 64 (rank 0 gives "@", rank 1 "A" ...).
// Characters no unit covers keep their own code.
QUILLRT_API UnicodeString NormalisedLineForCustomSort(const UnicodeString& line,
                                                      const TStringListWithALongint& prepared);

// A new list of the lines in the order of their keys (equal keys keep their
// order); each line's object holds its index in `lines`.
QUILLRT_API std::unique_ptr<TStringList> CustomLinesSorted(const TStrings& lines,
                                                           const TStringListWithALongint& prepared);

}  // namespace quill
