#include "quillrt/files/drives_and_volumes.h"

#include <algorithm>

#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/case_mapping.h"
#include "quillrt/platform/file_system.h"

namespace quill {

namespace {

constexpr int kMaxDrives = 'Z' - 'C' + 1;

UnicodeString RootOf(const UnicodeString& mount_point) { return IncludeTrailingPathDelimiter(mount_point); }

// The storage mount holding `path` (made absolute), or false.
bool MountHolding(const UnicodeString& path, TMountEntry& mount) {
  if (path.empty() || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return false;
  const std::vector<TMountEntry> mounts = StorageMounts(ReadMountTable());
  const int index = MountEntryFor(mounts, ExpandFileName(path));
  if (index < 0) return false;
  mount = mounts[static_cast<std::size_t>(index)];
  return true;
}

bool DriveByLetter(WideChar letter, TLogicalDrive& drive) {
  const auto upper = static_cast<WideChar>(letter >= u'a' && letter <= u'z' ? letter - 32 : letter);
  for (const TLogicalDrive& candidate : LogicalDrives()) {
    if (candidate.Letter == upper) {
      drive = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<TLogicalDrive> LogicalDrives() {
  std::vector<TLogicalDrive> drives;
  for (const TMountEntry& mount : StorageMounts(ReadMountTable())) {
    if (static_cast<int>(drives.size()) == kMaxDrives) break;
    TLogicalDrive drive;
    drive.Letter = static_cast<WideChar>(u'C' + drives.size());
    drive.Root = RootOf(mount.MountPoint);
    drive.Type = DriveTypeOf(mount);
    drive.Mount = mount;
    drives.push_back(drive);
  }
  return drives;
}

UnicodeString DriveRoot(WideChar letter) {
  TLogicalDrive drive;
  return DriveByLetter(letter, drive) ? drive.Root : UnicodeString();
}

bool PathDrive(const UnicodeString& path, UnicodeString& drive) {
  drive.clear();
  if (path.empty() || path[0] != u'/') return false;
  const std::vector<TMountEntry> mounts = StorageMounts(ReadMountTable());
  const int index = MountEntryFor(mounts, path);
  if (index >= 0) {
    const UnicodeString& point = mounts[static_cast<std::size_t>(index)].MountPoint;
    if (point != u"/") drive = point;
  }
  return true;
}

int NumberOfDrives() { return static_cast<int>(LogicalDrives().size()); }

int NumberOfNetworkDrives() {
  const auto drives = LogicalDrives();
  return static_cast<int>(std::count_if(drives.begin(), drives.end(), [](const TLogicalDrive& d) { return d.Type == DRIVE_REMOTE; }));
}

UnicodeString AllNetworkDrives() {
  UnicodeString result;
  for (const TLogicalDrive& drive : LogicalDrives()) {
    if (drive.Type != DRIVE_REMOTE) continue;
    if (!result.empty()) result += u',';
    result += drive.Root;
  }
  return result;
}

UnicodeString DriveWithMostFreeSpace() {
  UnicodeString best;
  std::uint64_t most = 0;
  for (const TLogicalDrive& drive : LogicalDrives()) {
    std::uint64_t free_bytes = 0;
    if (drive.Type != DRIVE_FIXED || !FreeBytesAvailable(drive.Root, free_bytes)) continue;
    if (best.empty() || free_bytes > most) {
      best = drive.Root;
      most = free_bytes;
    }
  }
  return best;
}

void DiskVolumeNameAndSerialNo(const UnicodeString& root, TNameAndSerialNumber& rec) {
  rec = {};
  TMountEntry mount;
  TVolumeIdentity identity;
  if (!MountHolding(root, mount) || !VolumeIdentityOf(mount, identity)) return;
  const std::size_t length = std::min<std::size_t>(identity.Label.size(), std::size(rec.nome) - 1);
  std::copy_n(identity.Label.begin(), length, rec.nome);
  rec.number = identity.Serial;
}

std::uint32_t VolumeSerialNumber(const UnicodeString& root) {
  TNameAndSerialNumber rec;
  DiskVolumeNameAndSerialNo(root, rec);
  return rec.number;
}

UnicodeString FormattedVolumeSerial(std::uint32_t serial) {
  return IntToHex(static_cast<std::uint16_t>(serial >> 16), 4) + u"-" + IntToHex(static_cast<std::uint16_t>(serial), 4);
}

UnicodeString VolumeSerialNumberStr(const UnicodeString& root) { return FormattedVolumeSerial(VolumeSerialNumber(root)); }

UnicodeString VolumeID(WideChar letter) {
  TLogicalDrive drive;
  TVolumeIdentity identity;
  if (!DriveByLetter(letter, drive) || !VolumeIdentityOf(drive.Mount, identity)) return u"[]";
  UnicodeString id(1, u'[');
  id += MapCaseString(identity.Label, CaseDirection::upper);
  id += u']';
  return id;
}

UnicodeString NetworkVolume(WideChar letter) {
  TLogicalDrive drive;
  if (DriveByLetter(letter, drive) && drive.Type == DRIVE_REMOTE) return MapCaseString(drive.Mount.Device, CaseDirection::upper);
  return VolumeID(letter);
}

}  // namespace quill
