#pragma once
// Drives and volumes on a system without drive letters.
//
// The mapping. A drive is a storage mount of the mount table (the root file
// system, file systems on block devices, network file systems; see
// platform/mount_table.h). The drives take the letters C to Z in mount-table
// order, the root file system first, so C is always "/"; mounts beyond the
// 24th have no letter. A and B are never used. Where a drive is named in an
// answer, its root is given: the mount point with a trailing '/' (so "/" and
// "/media/usb/"), which the caller can use as a folder. The drive of a path is
// the mount point holding it, written without trailing '/' so that drive + rest
// gives the path back: "" for the root file system, "/media/usb" for a stick.
// Drive types: network file systems are remote; devices the system marks
// removable, or mounts under /media or /run/media, are removable; optical disc
// formats are CD-ROMs; the rest are fixed. The volume label and serial number
// come from the device links by label and by UUID (see VolumeIdentityOf).
#include <cstdint>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/platform/mount_table.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// A volume's label and serial number.
struct TNameAndSerialNumber {
  WideChar nome[262] = {};  // zero-terminated
  std::uint32_t number = 0;
};

struct TLogicalDrive {
  WideChar Letter = 0;  // 'C' to 'Z'
  UnicodeString Root;   // mount point with trailing '/'
  TDriveType Type = DRIVE_UNKNOWN;
  TMountEntry Mount;
};

// The drives present, in letter order.
QUILLRT_API std::vector<TLogicalDrive> LogicalDrives();
// The root of the drive with this letter (either case); empty when there is none.
QUILLRT_API UnicodeString DriveRoot(WideChar letter);

// The drive of an absolute path (see above); false for a relative path.
QUILLRT_API bool PathDrive(const UnicodeString& path, UnicodeString& drive);

QUILLRT_API int NumberOfDrives();
QUILLRT_API int NumberOfNetworkDrives();
// The roots of the remote drives, joined by ",".
QUILLRT_API UnicodeString AllNetworkDrives();
// The root of the fixed drive with the most bytes free (the first in letter
// order on a tie); empty when there is none.
QUILLRT_API UnicodeString DriveWithMostFreeSpace();

// Label and serial of the volume holding `root`; a zeroed record on failure.
QUILLRT_API void DiskVolumeNameAndSerialNo(const UnicodeString& root, TNameAndSerialNumber& rec);
QUILLRT_API std::uint32_t VolumeSerialNumber(const UnicodeString& root);
// The serial as two groups of four upper-case hex digits, high half first: "1A2B-3C4D".
QUILLRT_API UnicodeString VolumeSerialNumberStr(const UnicodeString& root);
QUILLRT_API UnicodeString FormattedVolumeSerial(std::uint32_t serial);
// "[LABEL]": the upper-case label of the drive with this letter ("[]" without one).
QUILLRT_API UnicodeString VolumeID(WideChar letter);
// The upper-case remote name a network drive is mounted from ("//SERVER/SHARE",
// "HOST:/EXPORT"); VolumeID(letter) for other drives.
QUILLRT_API UnicodeString NetworkVolume(WideChar letter);

}  // namespace quill
