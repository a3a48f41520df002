#pragma once
// Files and folders as the libraries see them: attribute bits, time stamps and
// listings of a folder through a wildcard pattern, over POSIX.
//
// Attributes. Each entry carries the classic attribute bits, worked out from its
// kind, mode and name:
//   faDirectory   a folder
//   faArchive     a regular file
//   faSysFile     anything else (devices, pipes, sockets): never text to read
//   faHidden      a name beginning with "."
//   faReadOnly    the owner has no write permission
//   faSymLink     the entry is a symbolic link (the other bits describe its target)
//
// Listings. A pattern is a folder, a '/' and a mask ("/corpus/*.txt"). The mask
// is matched against the entry names with the rules of a folder listing:
// case-insensitive, '*' any run of characters, '?' one character, and a name
// without a '.' also matches as if it ended in "." (so "*.*" lists every entry
// and "*." the names without extension). "." and ".." are never listed, nor are
// symbolic links whose target is missing. A folder that cannot be read lists
// nothing. The listing is read entry by entry, and the folder is closed when the
// listing object dies.
#include <cstdint>
#include <memory>
#include <string_view>

#include "quillrt/framework/date_time.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

inline constexpr std::int32_t faReadOnly = 0x01;
inline constexpr std::int32_t faHidden = 0x02;
inline constexpr std::int32_t faSysFile = 0x04;
inline constexpr std::int32_t faVolumeID = 0x08;
inline constexpr std::int32_t faDirectory = 0x10;
inline constexpr std::int32_t faArchive = 0x20;
inline constexpr std::int32_t faNormal = 0x80;
inline constexpr std::int32_t faSymLink = 0x400;
// What GetFileAttributesW answers for an entry that cannot be examined.
inline constexpr std::int32_t INVALID_FILE_ATTRIBUTES = -1;

// A time stamp of the file system: seconds and nanoseconds since 1970-01-01 UTC.
struct TFileStamp {
  std::int64_t seconds = 0;
  std::int32_t nanoseconds = 0;
};

// One entry of a listing.
struct TFoundEntry {
  UnicodeString Name;  // without folder
  std::int32_t Attr = 0;
  std::uint64_t Size = 0;  // 0 for folders
  TFileStamp LastWrite;
  TFileStamp LastAccess;
  bool IsDirectory() const { return (Attr & faDirectory) != 0; }
};

// How much a listing finds out about each entry.
enum class TListingDetail {
  full,            // attributes, size and times (one status call per entry)
  kinds_and_names  // attributes only; the status call is skipped where the folder's
                   // own record tells the kind (size and times stay zero)
};

// Reads the entries of a folder that match a mask, one at a time.
class QUILLRT_API TDirectoryListing {
 public:
  explicit TDirectoryListing(const UnicodeString& pattern, TListingDetail detail = TListingDetail::full);
  ~TDirectoryListing();
  TDirectoryListing(const TDirectoryListing&) = delete;
  TDirectoryListing& operator=(const TDirectoryListing&) = delete;

  // The next matching entry; false when there are no more.
  bool Next(TFoundEntry& entry);
  // The pattern's folder, with its trailing '/' ("" for a pattern without one).
  const UnicodeString& Folder() const { return folder_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  UnicodeString folder_;
};

// The mask rule of folder listings, as described above.
QUILLRT_API bool ListingMaskMatches(std::u16string_view name, std::u16string_view mask);

// Whole-name wildcard match, case-insensitive: '*' any run of characters
// (delimiters included), '?' exactly one. The two path delimiters '/' and '\'
// match each other, so masks written either way apply to paths of either kind.
// The mask "*.*" matches every name.
QUILLRT_API bool PathMatchSpec(std::u16string_view name, std::u16string_view mask);

// The attribute bits of an entry (links followed), or INVALID_FILE_ATTRIBUTES.
QUILLRT_API std::int32_t GetFileAttributesW(const UnicodeString& path);
// Attributes, size and times of one entry (links followed); false when it cannot
// be examined.
QUILLRT_API bool GetFileDetails(const UnicodeString& path, TFoundEntry& entry);

// A file-system time stamp in local time, at the two-second resolution of the
// packed file dates (years 1980 to 2107); false outside that range.
QUILLRT_API bool TryFileStampToLocalDosDateTime(const TFileStamp& stamp, TDateTime& value);
// The same, or 1 January 1970 00:00 when the stamp has no packed form.
QUILLRT_API TDateTime FileStampToDateTimeOrEpoch(const TFileStamp& stamp);
// A file-system time stamp in local time, to the millisecond; false when out of range.
QUILLRT_API bool TryFileStampToDateTime(const TFileStamp& stamp, TDateTime& value);

// Sets the last-write time (links followed) from a local date-time; the last
// access time is left alone. False on failure.
QUILLRT_API bool SetFileLastWriteTime(const UnicodeString& path, TDateTime local_time);
QUILLRT_API bool SetFileLastWriteStamp(const UnicodeString& path, const TFileStamp& stamp);

// The folder of the running program, with a trailing '/'.
QUILLRT_API UnicodeString ProgramFolder();

}  // namespace quill
