#pragma once
// Zip archives: reading the entries of an archive on disk or in memory, and
// writing archives with files added at a chosen compression level. Over libzip,
// which stays out of this header.
//
// Typical use: set FileName (or take bytes / a new in-memory archive), open,
// ask EntryCount and EntryInfo(i), extract entries by number or by stored name
// into a stream, read the archive comment, and close. Entries are numbered from
// 0 here; callers that count from 1 add one.
//
// Failures. Opening a missing file, a file that is not an archive, asking for an
// entry that does not exist, or failing to write the archive raise EZipError.
// What goes wrong with one entry (it cannot be read, is encrypted, is damaged, a
// file to add cannot be read) goes first to OnProcessFileFailure with an action
// the handler may change: zfaAbort raises EZipError, zfaSkip gives the entry up
// quietly. The default action depends on the operation and is what the event
// receives: extracting aborts (the caller asked for that entry), reading an
// entry's details and adding a file skip (the entry is left out, the add counts
// nothing).
//
// Extracting to a folder never writes outside it: the stored name is taken with
// '/' and '\' alike, a drive prefix ("C:"), empty, "." and ".." components are
// dropped, and the folders on the way are created and entered without following
// symbolic links.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "quillrt/framework/date_time.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

QUILL_DECLARE_EXCEPTION(EZipError, EInOutError);

// What happens to an entry whose handling failed.
enum TZipFailureAction : std::uint8_t { zfaSkip, zfaAbort };

// What was being done when an entry failed.
enum class TZipOperation : std::uint8_t { read_details, extract, add };

class TZipArchive;
// Sender, the entry's stored name (or the file being added), the operation, the
// reason, and the action to take.
using TZipFileFailureEvent = std::function<void(TZipArchive& sender, const UnicodeString& entry_name,
                                                TZipOperation operation, const UnicodeString& reason,
                                                TZipFailureAction& action)>;

// What an archive tells about one entry.
struct TZipEntryInfo {
  UnicodeString StoredName;  // as stored: a path with '/' (or '\') separators
  TDateTime DateTime = 0;    // local time of the entry's time stamp
  std::int64_t Size = 0;     // uncompressed bytes
  std::int64_t CompressedSize = 0;
  std::int32_t Attr = 0;     // attribute bits: read-only 1, hidden 2, system 4, directory 16, archive 32
  bool Encrypted = false;
};

// How an archive file is opened.
enum class TZipOpenMode : std::uint8_t {
  read,    // an existing archive, for reading
  create,  // a new, empty archive (an existing file is replaced when closed)
  update,  // an existing archive to add to, or a new one when there is none
};

class QUILLRT_API TZipArchive {
 public:
  TZipArchive();
  ~TZipArchive();  // closes without writing anything still pending
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  const UnicodeString& FileName() const { return file_name_; }
  // The archive file; only while closed.
  void SetFileName(const UnicodeString& file_name);

  // Opens FileName.
  void OpenArchive(TZipOpenMode mode = TZipOpenMode::read);
  // Opens a copy of `bytes` as an archive, for reading.
  void OpenFromBytes(std::string_view bytes);
  void OpenFromStream(TStream& stream);  // the whole stream
  // Starts a new, empty archive held in memory; its bytes are there after closing.
  void CreateInMemory();
  bool Active() const;

  // Number of entries (0 while closed).
  int EntryCount() const;
  // Details of entry `index` (0-based). A bad index raises; an entry whose
  // details cannot be read goes to the failure event (skipped: empty details).
  TZipEntryInfo EntryInfo(int index);
  UnicodeString EntryName(int index);
  // The index of the entry stored under `name` ('/' and '\' alike; exact case
  // first, then ignoring case), or -1.
  int FindEntry(const UnicodeString& name) const;

  // Appends the entry's bytes to `target` at its position. True when done;
  // false when the failure event chose to skip (the stream is then as it was).
  bool ExtractToStream(int index, TStream& target);
  // By stored name; a name not in the archive raises EZipError.
  bool ExtractToStream(const UnicodeString& name, TStream& target);
  // The entry's bytes.
  std::string ExtractToBytes(int index);
  // Writes the entry below `folder` (see above) and returns the file written;
  // empty when the entry was skipped or names nothing but folders.
  UnicodeString ExtractToFolder(int index, const UnicodeString& folder);

  // The archive comment, as stored (8-bit).
  AnsiString Comment() const;
  // Sets the comment to be written (a writable archive only); at most 65535 bytes.
  void SetComment(const AnsiString& comment);

  // Compression of added files: 0 stores them, 1 (fastest) to 9 (smallest) deflate.
  std::uint16_t PackLevel() const { return pack_level_; }
  void SetPackLevel(std::uint16_t level) { pack_level_ = level > 9 ? 9 : level; }

  // Adds the file at `path` under `stored_name` (its file name when empty),
  // replacing an entry of that name. Returns the number of files added: 1, or 0
  // when the file could not be read and the failure event skipped it. The data
  // is read when the archive is closed.
  int AddFile(const UnicodeString& path, const UnicodeString& stored_name = {});
  // Adds `bytes` as an entry; returns 1.
  int AddFromBytes(const UnicodeString& stored_name, std::string_view bytes, TDateTime local_time = 0);
  // Files added since opening.
  int FilesAdded() const { return files_added_; }

  // Writes what was changed (raising EZipError when that fails) and closes.
  // Nothing happens while closed.
  void CloseArchive();
  // The bytes of the in-memory archive, after CloseArchive.
  const std::string& InMemoryBytes() const { return memory_bytes_; }

  TZipFileFailureEvent OnProcessFileFailure;

 private:
  struct Handle;
  // Calls the failure event; raises when the action is to abort.
  TZipFailureAction Failure(const UnicodeString& name, TZipOperation operation, const UnicodeString& reason,
                            TZipFailureAction action);
  void CheckIndex(int index) const;
  void RequireOpen() const;
  void RequireWritable() const;

  std::unique_ptr<Handle> handle_;
  UnicodeString file_name_;
  std::uint16_t pack_level_ = 6;
  int files_added_ = 0;
  std::string memory_bytes_;
};

}  // namespace quill
