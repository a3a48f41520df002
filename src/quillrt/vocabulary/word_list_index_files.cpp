#include "quillrt/vocabulary/word_list_index_files.h"

#include "quillrt/files/file_operations.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/log.h"
#include "quillrt/process/shared_state.h"

namespace quill {

const UnicodeString wordlist_index_file_extensions = u".types.tokens.stats.markup";
const UnicodeString concgram_file_extensions = u".base_pairs.base_index.base_index_cg";

UnicodeString IndexFileWithExt(const UnicodeString& filename, std::u16string_view ext) {
  return ChangeFileExt(filename, UnicodeString(ext));
}

UnicodeString IndexBackupFileWithExt(const UnicodeString& filename, std::u16string_view ext) {
  return IndexFileWithExt(filename, ext) + UnicodeString(kIndexBackupSuffix);
}

void TryToBackupIndexFiles(const UnicodeString& filename) {
  if (keeping_log) AddToLogFile(Format(u"Trying to backup index files for %s", {filename}));
  for (const std::u16string_view ext : kWordListIndexExtensions) {
    const UnicodeString member = IndexFileWithExt(filename, ext);
    if (!FileExists(member)) continue;
    const UnicodeString backup = IndexBackupFileWithExt(filename, ext);
    if (keeping_log) AddToLogFile(Format(u"Trying to copy %s to %s", {member, backup}));
    CopyFileReplacing(member, backup);  // written beside the backup, then renamed over it
  }
}

void TryToDeleteIndexFiles(const UnicodeString& filename) {
  for (const std::u16string_view ext : kWordListIndexExtensions) {
    const UnicodeString member = IndexFileWithExt(filename, ext);
    if (!FileExists(member)) continue;
    if (keeping_log) AddToLogFile(Format(u"Trying to delete %s", {member}));
    DeleteFile(member);
  }
}

}  // namespace quill
