#pragma once
// Small services every tool needs besides text: asking before a file is
// overwritten, warning about low disk space, finding a file name not yet taken,
// drive and folder tests, time helpers and a few constants.
//
// Questions go through the message-box hook (platform/dialogs.h). Its default
// answers the choice that destroys nothing, so without a user an existing file is
// never overwritten and a run short of disk space does not proceed.
#include <array>
#include <cstdint>
#include <memory>

#include "quillrt/framework/date_time.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

using TThreeBytes = std::array<std::uint8_t, 3>;

// The UTF-8 byte-order mark.
inline constexpr TThreeBytes UTF8_signature = {0xEF, 0xBB, 0xBF};
inline constexpr float inch_to_mm100 = 2540.0f;
inline constexpr float inch_to_mm = 25.4f;
inline constexpr float inch_to_cm = 2.54f;
inline constexpr float mm_to_inch = 0.03937008f;  // 1 / 25.4

// The drive-letter mask of the last drive test: bit 0 for A, bit 2 for C ...
extern QUILLRT_API std::uint32_t DriveBits;

// True when `file_name` does not exist; otherwise asks "Overwrite %s?" (Yes/No)
// and answers whether Yes was chosen.
QUILLRT_API bool OKToOverwrite(const UnicodeString& file_name);
// The same with "Overwrite %s (with backup)?"; on Yes the file is first copied to
// the same name with the extension ".bak", replacing an older backup. A backup
// that fails is not reported: the user chose to overwrite.
QUILLRT_API bool OKToOverwriteWithBackup(const UnicodeString& file_name);

// The free bytes on the volume holding `path`: the larger of what the caller may
// use and what is free in all; false when that cannot be read.
QUILLRT_API bool FreeBytesOnVolume(const UnicodeString& path, std::int64_t& free_bytes);
// True for an empty path, when the free space cannot be read, or when at least
// `minimum_bytes` are free; otherwise asks "Only %dMb space left on %s -- Proceed?"
// (OK/Cancel) and answers whether OK was chosen.
QUILLRT_API bool ProceedIfLittleDiskSpace(const UnicodeString& path, std::int64_t minimum_bytes);

// Makes `file_name` the name of a file nobody else has: while the name is taken,
// "_" and the batch counter (increased first, three digits at least) go before the
// extension, so "report.txt" becomes "report_001.txt", then "report_001_002.txt".
// A name without an extension first gets a ".". The file is created, empty, with
// O_EXCL, so that two processes asking at once never receive the same name; the
// caller then writes it. False (with `file_name` the last name tried) when a file
// cannot be created there for another reason than its existing.
QUILLRT_API bool ForcedToBeNewFile(UnicodeString& file_name);
// The batch counter numbering those names: set to max(n, 0), and read.
QUILLRT_API void SetBatchFileStartNumberTo(std::int32_t n);
QUILLRT_API std::int32_t GetBatchFileStartNumber();

QUILLRT_API bool FileNameHasWildCards(const UnicodeString& name);

// Whether the drive letter (either case) names a drive whose size can be read.
// Refreshes DriveBits. False for a character that is not a letter.
QUILLRT_API bool ValidDrive(char letter);
QUILLRT_API bool ValidDriveW(WideChar letter);
// Whether the drive whose root is `root` ("/", "/media/usb/") is a fixed one.
QUILLRT_API bool Fixed_Drive(const UnicodeString& root);
// Whether `name` can be examined and is a folder.
QUILLRT_API bool sIsADirectory(const UnicodeString& name);
// A new list beginning with `folder`, followed when `recursive` by every folder
// below it, each folder's sub-folders in name order right after it (depth first).
// Symbolic links to folders are not followed, so a link loop ends.
QUILLRT_API std::unique_ptr<TStringList> ListOfSubFolders(const UnicodeString& folder, bool recursive);
// "r", "a", "s", "h", "d" in that order for the attribute bits that are set.
QUILLRT_API UnicodeString AttributesToStr(std::int32_t attributes);
// The system's text for the calling thread's last error (errno), at most 255 characters.
QUILLRT_API UnicodeString GetLastErrorString();

// The last-write time of the running program's file; as a date string with the
// user's settings; and its year ("yyyy").
QUILLRT_API TDateTime Compilation_DateTime();
QUILLRT_API UnicodeString Compilation_Date();
QUILLRT_API UnicodeString Compilation_Year();

// Today's day number (whole days of the date-time value).
QUILLRT_API std::int32_t TodayAsLongint();
// The time from `moment` to now beyond whole days, in seconds, rounded: a measure
// that starts from 0 again after every whole day.
QUILLRT_API std::int32_t SecondsElapsedSince(TDateTime moment);
// The time-of-day part of `moment` in seconds, rounded.
QUILLRT_API std::int32_t TodaysTimeInSeconds(TDateTime moment);

// The last n characters (the whole text when shorter, empty for n <= 0).
QUILLRT_API UnicodeString Rightstr(const UnicodeString& text, int n);

}  // namespace quill
