#pragma once
// Names that point into zip archives: an archive's path, a backslash and the
// name of a file stored inside it ("/corpus/a.zip\d/e.txt"). A slash after the
// ".zip" is accepted too, so names written with either delimiter work. All
// comparisons ignore case.
//
// Reading a file inside an archive: ContentsOfFileWithinZipFile extracts it and
// decodes its bytes by what they hold (UTF-16 by mark or by statistics, UTF-8,
// or the system's 8-bit page). The archive is opened and closed again within
// the call; a missing archive or entry raises EZipError.
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The folder for temporary copies: the system's temporary folder with a folder
// of this user's own inside it ("/tmp/quill-1000"), set when the library loads.
// It is private to the user (created with owner-only permissions on first use),
// as a per-user temporary folder is on systems that have one, so that no other
// user can plant or read the copies made there.
extern QUILLRT_API UnicodeString my_temp_path;

// `ext` is ".zip".
QUILLRT_API bool IsZipExtension(const UnicodeString& ext);
// The name's extension, from its last dot, is ".zip".
QUILLRT_API bool IsAZipFile(const UnicodeString& name);
// No file `name` exists and it holds ".zip" followed by a delimiter.
QUILLRT_API bool IsWithinAZipFile(const UnicodeString& name);
// `name` up to and including the first ".zip" followed by a backslash (or, when
// there is none, by a slash); empty when there is none.
QUILLRT_API UnicodeString ZipFileFullFileName(const UnicodeString& name);
// What follows that ".zip" and its delimiter; empty when there is none.
QUILLRT_API UnicodeString ZipFileWantedFileNameWithin(const UnicodeString& name);

// The text of entry `index` (1-based) of the archive.
QUILLRT_API UnicodeString ContentsOfFileWithinZipFile(const UnicodeString& zipname, int index);
// The text of the file a full name points to inside an archive.
QUILLRT_API UnicodeString ContentsOfFileWithinZipFile(const UnicodeString& fullname);
// my_temp_path, a delimiter and "tempzip.txt". When 1 <= index <= the number of
// entries, entry `index` is extracted, split into lines at CR, LF or CR LF and
// written there as UTF-16 little-endian with byte-order mark, every line ended
// by CR LF; otherwise nothing is written. The path is returned in both cases.
QUILLRT_API UnicodeString OpenedAZipFileToTempDir(const UnicodeString& zipname, int index);

}  // namespace quill
