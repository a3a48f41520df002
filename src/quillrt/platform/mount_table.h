#pragma once
// The mount table: which file systems are mounted where, what kind of storage
// holds them, their free space and their label and serial number. This is what
// the libraries know of "drives" on a system without drive letters.
//
// A storage mount is the root file system, any file system on a device file
// ("/dev/sda1", or any absolute path; snap images excepted) and any network
// file system. Pseudo file
// systems (proc, sysfs, cgroup, tmpfs ...) are not storage.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

struct TMountEntry {
  UnicodeString Device;      // "/dev/sda1", "server:/export", "//server/share", "tmpfs"
  UnicodeString MountPoint;  // "/", "/media/usb"
  UnicodeString Type;        // "ext4", "vfat", "nfs4", "cifs" ...
};

// The file read by ReadMountTable: "/proc/self/mounts" (tests point it elsewhere).
extern QUILLRT_API UnicodeString global_mount_table_file;

// Lines of the mount table format: device, mount point, type, options ...,
// with blanks inside names written as octal escapes ("\040"). Malformed lines
// are skipped.
QUILLRT_API std::vector<TMountEntry> ParseMountTable(std::string_view text);
// The mount table of global_mount_table_file; empty when it cannot be read.
QUILLRT_API std::vector<TMountEntry> ReadMountTable();

QUILLRT_API bool IsNetworkFileSystem(const UnicodeString& type);
QUILLRT_API bool IsStorageMount(const TMountEntry& entry);

// The storage mounts in table order, the root first, each mount point once (a
// later mount on the same point hides the earlier one).
QUILLRT_API std::vector<TMountEntry> StorageMounts(const std::vector<TMountEntry>& table);

// The index of the entry whose mount point is the longest whole-component prefix
// of the absolute `path`; -1 when none is (or `path` is not absolute).
QUILLRT_API int MountEntryFor(const std::vector<TMountEntry>& mounts, const UnicodeString& path);

// Kinds of drives, with the classic values.
enum TDriveType : std::uint32_t {
  DRIVE_UNKNOWN = 0,
  DRIVE_NO_ROOT_DIR = 1,
  DRIVE_REMOVABLE = 2,
  DRIVE_FIXED = 3,
  DRIVE_REMOTE = 4,
  DRIVE_CDROM = 5,
  DRIVE_RAMDISK = 6,
};

// Whether the block device (its name under /dev, e.g. "sdb1") is removable.
using TRemovableDeviceTest = std::function<bool(const std::string& device_name)>;
// The system's answer: /sys/class/block/<name>/removable, or that of the disk
// holding a partition.
QUILLRT_API bool SysfsDeviceIsRemovable(const std::string& device_name);
// The test DriveTypeOf uses unless given another: SysfsDeviceIsRemovable.
extern QUILLRT_API TRemovableDeviceTest global_removable_device_test;
// The folder of the device links by label and by UUID: "/dev/disk".
extern QUILLRT_API std::string global_disk_folder;

// The kind of a mount: remote for network file systems, CD-ROM for optical disc
// formats, RAM disk for tmpfs/ramfs, removable for devices the system marks
// removable or mounted under /media or /run/media (where removable media are
// mounted), fixed otherwise.
QUILLRT_API TDriveType DriveTypeOf(const TMountEntry& entry,
                                   const TRemovableDeviceTest& removable = global_removable_device_test);

// Bytes available to the caller on the file system holding `path`; false on failure.
QUILLRT_API bool FreeBytesAvailable(const UnicodeString& path, std::uint64_t& bytes);

// A file system's label and serial number.
struct TVolumeIdentity {
  UnicodeString Label;
  std::uint32_t Serial = 0;
};

// The label and serial of the file system at `mount` (its mount entry). The
// label is the device's name in <disk_folder>/by-label; the serial comes from
// its name in <disk_folder>/by-uuid ("1A2B-3C4D" of FAT volumes read as
// 0x1A2B3C4D; the last 8 hex digits of the 16 of NTFS volumes; other UUIDs and
// devices without one give the file system identifier of statvfs, folded to 32
// bits). False when the mount point cannot be examined.
QUILLRT_API bool VolumeIdentityOf(const TMountEntry& mount, TVolumeIdentity& identity,
                                  const std::string& disk_folder = global_disk_folder);
// The serial a UUID of the by-uuid folder stands for; false when it has none
// of the two short forms above.
QUILLRT_API bool SerialFromVolumeUuid(std::string_view uuid, std::uint32_t& serial);

}  // namespace quill
