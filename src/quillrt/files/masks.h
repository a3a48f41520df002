#pragma once
// File-name masks: a list of wildcard patterns built from one string such as
// "*.txt;*.htm", and the tests of names against them.
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// An ordered list of wildcard patterns.
using TMaskList = std::vector<UnicodeString>;

// Empties `masks` and fills it from `text`: blanks and control characters are
// trimmed from both ends, each CR LF counts as ";", and the text is cut at every
// ";". Parts are kept as they stand (not trimmed), empty ones included, except
// that an empty remainder after the last ";" adds nothing. So "a;;b" gives "a",
// "" and "b", and "*.txt;" gives "*.txt".
QUILLRT_API void BuildAMask(TMaskList& masks, const UnicodeString& text);

// Whether the whole `name` matches the whole `mask`: false for an empty name;
// otherwise case-insensitive, '*' any run of characters (path delimiters
// included), '?' exactly one, '/' and '\' alike, and "*.*" matching every name.
QUILLRT_API bool MatchesMask(const UnicodeString& name, const UnicodeString& mask);

// The index of the first non-empty mask that `name` matches, or -1.
QUILLRT_API int WhereInAMask(const UnicodeString& name, const TMaskList& masks);

}  // namespace quill
