#pragma once
// Placeholders in stored file names. A settings file that names files below the
// user's folder, or on the drive the program runs from, stores "$userdir" or
// "$user_drive" in their place, so that the names still hold when the folder or
// the drive moves (a program carried on a memory stick mounted elsewhere).
//
// Drives are mount points (see drives_and_volumes.h): the drive of
// "/media/usb/corpus/a.txt" is "/media/usb", that of a path on the root file
// system is "". Paths are compared exactly, case included, as the file system
// does; a relative name is on no drive and is never changed.
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

extern QUILLRT_API const UnicodeString user_dir_const;    // "$userdir"
extern QUILLRT_API const UnicodeString user_drive_const;  // "$user_drive"
extern QUILLRT_API const UnicodeString same_file_const;   // "$SAME_FILE"

// With to_placeholder, for a name on the drive of `userdir`: a name below
// `userdir` (not the folder itself) becomes "$userdir" followed by the rest of
// the name from the delimiter that ends `userdir` (/prog/data/a.txt with userdir
// /prog/ gives $userdir/data/a.txt); any other name on that drive becomes
// "$user_drive" followed by the name without its drive, with a '/' between
// them. Names on other drives are returned unchanged. `userdir` is taken with a
// trailing delimiter whether or not it has one.
// Without to_placeholder: ConvertedFilenameFromUserDirFName.
QUILLRT_API UnicodeString ConvertedUserFolderInFilename(const UnicodeString& userdir, const UnicodeString& name,
                                                        bool to_placeholder);
// Resolves the placeholders: "$userdir" and the delimiter after it become
// `userdir` with its trailing delimiter; otherwise "$user_drive" becomes the
// drive of `userdir`, with a '/' before the rest when it has none; a name
// without placeholder is returned unchanged.
QUILLRT_API UnicodeString ConvertedFilenameFromUserDirFName(const UnicodeString& userdir, const UnicodeString& name);
// With to_placeholder, a name on the running program's drive has that drive
// replaced by "$user_drive"; without, a name beginning with "$user_drive" gets
// the program's drive in its place.
QUILLRT_API UnicodeString ConvertedFilenameIfUserDrive(const UnicodeString& name, bool to_placeholder);
// ConvertedUserFolderInFilename with the running program's folder as `userdir`.
QUILLRT_API UnicodeString ConvertedAppFolderInFilename(const UnicodeString& name, bool to_placeholder);
// Applies ConvertedAppFolderInFilename to every line and replaces those that change.
QUILLRT_API void CheckUserDirConstFolder(TStrings& list, bool to_placeholder);

}  // namespace quill
