#pragma once
// Helpers on file names.
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The absolute form of `path` with each component spelt as the folder lists it:
// a component that is not there exactly is looked up ignoring case (so a name
// written in another case finds the file's own spelling). From the first
// component not found at all, the rest is kept as given.
QUILLRT_API UnicodeString GetLongPathNameW(const UnicodeString& path);
// The number of path delimiters in `name`.
QUILLRT_API int PathDelimiterCount(const UnicodeString& name);
// `name` up to (not including) its n-th delimiter; empty when it has fewer.
QUILLRT_API UnicodeString NameUpToXPathDelimiters(const UnicodeString& name, int n);
// `name` without any ".".
QUILLRT_API UnicodeString RemoveDotsFromFilename(const UnicodeString& name);
// The file-name part of `name` without the characters \ / : | < > ^ + = ? [ ] " *
// and without control characters.
QUILLRT_API UnicodeString CleanedUpFilename(const UnicodeString& name);
// `name` in double quotes when such a file exists, as a command-line argument.
QUILLRT_API UnicodeString FormattedFNAsParameter(const UnicodeString& name);
// The mask inside a filter caption: the text between the first "(" and the
// first ")" when "(" comes first, otherwise the whole text; trimmed; "*.*" when
// empty. "Text files (*.txt)" gives "*.txt".
QUILLRT_API UnicodeString FileFilterWithinFilterText(const UnicodeString& text);

}  // namespace quill
