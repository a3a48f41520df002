#pragma once
// Copying with backup and date, setting file dates, confirmed deletion, and
// deleting (or moving away) all files of a folder tree after asking.
//
// Copies are written to a temporary file beside the target and renamed over it
// when complete, so a failed copy never leaves a half-written target (nor
// spoils an existing backup).
#include <cstdint>

#include "quillrt/dates/year_month_day.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Copies `from` over `to` (replacing it); true when done.
QUILLRT_API bool CopyFileReplacing(const UnicodeString& from, const UnicodeString& to);
// Copies the file to its own name with the extension ".bak", replacing an
// existing backup; true when done.
QUILLRT_API bool CopyAFileWithBackup(const UnicodeString& name);
// When both files exist, gives `to` the last-write time of `from`; true when set.
QUILLRT_API bool CopyDateOfFile(const UnicodeString& from, const UnicodeString& to);
// When `from` exists, copies it over `to` and then copies its date; true when
// both succeeded.
QUILLRT_API bool CopyFileRetainingDate(const UnicodeString& from, const UnicodeString& to);

// Asks "Delete <name>?" (caption "Confirmation", OK / Cancel) when the file
// exists: OK deletes it and gives true (a failure to delete raises EOSError),
// Cancel gives false. A file that does not exist gives true.
QUILLRT_API bool OKToDeleteFile(const UnicodeString& name);

// Sets the last-write time to 12:00 noon of the date. The date must be real,
// with 1 <= day <= 31, 1 <= month <= 12 and 1980 <= year <= 2106. False for
// another date or when the time cannot be set.
QUILLRT_API bool SetFileDate(const UnicodeString& name, const TYearMonthDay& ymd);
QUILLRT_API bool SetFileDate(const UnicodeString& name, int day, int month, int year);
// Day, month and year as decimal texts; false when one is not a number.
QUILLRT_API bool SetFileDate(const UnicodeString& name, const UnicodeString& day, const UnicodeString& month,
                             const UnicodeString& year);
// Exactly 10 characters DD?MM?YYYY (day from characters 1-2, month from 4-5,
// year from the last four); false for another length.
QUILLRT_API bool SetFileDate(const UnicodeString& name, const UnicodeString& date);

// Deletes (or, with move_to_target, moves to `target`) the files of `path`
// whose extension matches `mask` (".txt", "txt", "*" ...), with include_subfolders
// those of every subfolder too, and returns how many went.
//  - The root of a drive that is not removable (the root folder, a top-level
//    folder such as /home, any mount point) is refused: a warning "Won't delete
//    all files on <path>" and 0.
//  - A mask beginning with a delimiter after its dot ("/sub/*.txt") names a
//    sub-path of each folder.
//  - Folders and files whose names begin with ".", hidden and system files are
//    left alone, and symbolic links to folders are not followed.
//  - When there are files, the question "Sure?" (OK / Cancel) is asked first;
//    Cancel gives 0.
//  - A file that cannot be deleted raises EOSError (files already deleted stay
//    deleted). With remove_empty_folders, the folders emptied below `path` are
//    removed afterwards.
QUILLRT_API int DeleteAllFilesOn(const UnicodeString& path, const UnicodeString& mask, const UnicodeString& target,
                                 bool move_to_target, bool include_subfolders, bool remove_empty_folders);
// Deleting, subfolders included, emptied folders removed.
QUILLRT_API int DeleteAllFilesOn(const UnicodeString& path, const UnicodeString& mask);

}  // namespace quill
