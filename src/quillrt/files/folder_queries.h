#pragma once
// Questions about files and folders, and listings of the files of a folder.
// Tests answer false, -1 or 0 on failure; no system error escapes from them.
#include <cstdint>
#include <memory>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Whether a file "chk.tmp" can be created (afresh) in the folder; the file is
// removed again at once.
QUILLRT_API bool IsDirectoryWriteable(const UnicodeString& folder);
// The read-only bit of the first entry matching `name` (which may hold
// wildcards); false when there is none. ReadOnlyFolderW answers only for a
// folder entry.
QUILLRT_API bool ReadOnlyFileW(const UnicodeString& name);
QUILLRT_API bool ReadOnlyFolderW(const UnicodeString& name);
// Bytes of the file; -1 when it does not exist (or is a folder).
QUILLRT_API std::int64_t FileSize(const UnicodeString& name);
// The sum modulo 2^32 of the file's complete little-endian 32-bit words (1 to
// 3 trailing bytes do not count); 0 when it does not exist or cannot be read.
QUILLRT_API std::uint32_t CheckSumOfAFile(const UnicodeString& name);
QUILLRT_API bool DriveAndFolderExist(const UnicodeString& folder);
QUILLRT_API bool DriveAndFileExist(const UnicodeString& name);
// True unless the folder holds an entry (file or folder) whose name does not
// begin with ".".
QUILLRT_API bool FolderIsEmpty(const UnicodeString& folder);
// False only when the folder exists, is empty (as FolderIsEmpty) and could not
// be removed; an empty folder is removed.
QUILLRT_API bool RemovedEmptyFolder(const UnicodeString& folder);

// A new list of the full names of the folder's files, leaving out names that
// begin with ".", folders, hidden and system files.
QUILLRT_API std::unique_ptr<TStringList> ListOfAllFilesIn(const UnicodeString& folder);
// A new list of the full names of the files matching `name` with its extension
// replaced by `ext` (which may hold wildcards: ".*"), with the same exclusions;
// `name` itself only with include_self.
QUILLRT_API std::unique_ptr<TStringList> ListOfAllFilesMatchingExt(const UnicodeString& name, const UnicodeString& ext,
                                                                   bool include_self);
// Sorts full file names by file name (ASCII letters ignoring case), ties by the
// whole name; or by last-access time. Ascending gives A to Z and oldest first,
// descending Z to A and newest first. A sorted list is made unsorted first.
QUILLRT_API void SortListOfFiles(TStringList& list, bool by_access_time, bool ascending);

// The folder part of `name` after the first characters that make up `base`
// with a trailing delimiter; empty when that leaves a single character.
QUILLRT_API UnicodeString NewSubFolderFrom(const UnicodeString& name, const UnicodeString& base);
// Both names given, and their folder parts are the same folder once made
// absolute with symbolic links resolved.
QUILLRT_API bool FolderProposedIsOriginalFolder(const UnicodeString& a, const UnicodeString& b);

}  // namespace quill
