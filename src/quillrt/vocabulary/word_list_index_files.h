#pragma once
// A word-list index is a family of files sharing one base name, one file per
// extension below. Their backups add "_bak" to the extension (".markup_bak").
#include <array>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The extensions of an index family, in the order they are backed up and deleted.
inline constexpr std::array<std::u16string_view, 7> kWordListIndexExtensions = {
    u".markup", u".types", u".tokens", u".base_pairs", u".base_index", u".base_index_cg", u".stats"};
inline constexpr std::u16string_view kIndexBackupSuffix = u"_bak";

// The extensions that mark an index file, and those that mark a concgram file,
// each run together as one string.
extern QUILLRT_API const UnicodeString wordlist_index_file_extensions;  // ".types.tokens.stats.markup"
extern QUILLRT_API const UnicodeString concgram_file_extensions;        // ".base_pairs.base_index.base_index_cg"

// The member of the family of `filename` (any member, or the base name) with
// extension `ext`, and its backup.
QUILLRT_API UnicodeString IndexFileWithExt(const UnicodeString& filename, std::u16string_view ext);
QUILLRT_API UnicodeString IndexBackupFileWithExt(const UnicodeString& filename, std::u16string_view ext);

// Copies every member of the family that exists to its backup, replacing an
// older backup. A copy goes to a temporary file first and takes the backup's
// name only when complete, so a failed copy never leaves a half-written backup
// (nor spoils the one before). A member that cannot be copied is passed over.
// Logged when the log is on.
QUILLRT_API void TryToBackupIndexFiles(const UnicodeString& filename);
// Deletes every member of the family that exists; failures are passed over.
// Logged when the log is on.
QUILLRT_API void TryToDeleteIndexFiles(const UnicodeString& filename);

}  // namespace quill
