#pragma once
// Appending text to a file of UTF-16 little-endian code units.
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Appends the code units of `text` (no terminator, no line break) to the file.
// A file that does not exist is created starting with the byte-order mark FF FE;
// an existing one is written from its last whole code unit, so a stray odd byte
// at its end is overwritten rather than shifting every later character. An empty
// file name does nothing. A failure to open, create or write raises EInOutError.
QUILLRT_API void AddToFileOfChar(const UnicodeString& file_name, const UnicodeString& text);

}  // namespace quill
