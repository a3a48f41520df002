#pragma once
// Telling what a file on disk is: a list saved by an earlier release (an older
// header name at its start), a list of this or an earlier version saved by one
// of the tools (the 57-byte header), or a batch of lists zipped together (the
// archive comment).
//
// Every function here first sets rec.ListType to lt_none_in_use, and never
// raises: a missing, short or unreadable file, or a zip that cannot be opened,
// gives false (or tool_none) and leaves ListType at lt_none_in_use.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/process/tool_kinds.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/vocabulary/list_kinds.h"

namespace quill {

// A file to be opened.
struct TQYStored_File_rec {
  UnicodeString filename;
  bool OldModified = false;
  std::int32_t Number_within_Zipfile = 0;
  list_type ListType = lt_none_in_use;
};

struct TQYTestFileReadRec {
  UnicodeString filename;
  list_type ListType = lt_none_in_use;
};

// The comment that marks a zip archive as a batch of saved lists: this prefix,
// then the default extension of the lists inside (".lst" ...).
inline constexpr std::string_view kBatchZipCommentPrefix = "Quilry Batch file ";

// Files of earlier releases start with 41 bytes: a length L, then the older
// header name (from byte 1, or from byte 2 when byte 1 is zero) up to its zero,
// of which L characters count. A file longer than 41 bytes whose name is the
// older name of a kind gets that kind; true then.
QUILLRT_API bool IsAnOldQuillaryFile(TQYStored_File_rec& rec);
// The older header name in the first 41 bytes of a file, as described above.
QUILLRT_API AnsiString OldHeaderNameFromBytes(const std::uint8_t* bytes, std::size_t count);

// The files below must be longer than the 57-byte header.
//
// True for a file of an earlier version: a version from 35 up to, but not
// including, the running tool's. A file of the running tool's own version sets
// ListType too but gives false.
QUILLRT_API bool WasAQuillary32BitFile(TQYStored_File_rec& rec);
// The lowest tool kind (0 to 20) whose version the header carries; tool_none
// when none does. Sets ListType when one does.
QUILLRT_API tool_type WhichToolsQuillary32BitFile(TQYStored_File_rec& rec);
// Whether the header carries `tool`'s current version; sets ListType then.
QUILLRT_API bool IsAQuillary32BitFileForTool(TQYStored_File_rec& rec, tool_type tool);
// The same for the running tool (current_tool_var).
QUILLRT_API bool IsAQuillary32BitFile(TQYStored_File_rec& rec);

// Whether rec.filename is a zip archive with at least one entry whose comment
// marks a batch file. When the rest of the comment is the default extension of
// a list kind, ListType becomes that kind and Number_within_Zipfile the number
// of entries; Number_within_Zipfile is 0 otherwise.
QUILLRT_API bool IsABatchZipFileForListType(TQYStored_File_rec& rec);

}  // namespace quill
