#include "quillrt/platform/mount_table.h"

#include <dirent.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "quillrt/framework/streams.h"

namespace quill {

UnicodeString global_mount_table_file = u"/proc/self/mounts";
TRemovableDeviceTest global_removable_device_test = SysfsDeviceIsRemovable;
std::string global_disk_folder = "/dev/disk";

namespace {

// Undoes the octal escapes the kernel writes for blanks and backslashes.
std::string Unescaped(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  const auto digit = [&](std::size_t k) { return field[k] >= '0' && field[k] <= '7'; };
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && digit(i + 1) && digit(i + 2) && digit(i + 3)) {
      out.push_back(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
      i += 3;
      continue;
    }
    out.push_back(field[i]);
  }
  return out;
}

bool IsOneOf(const UnicodeString& value, std::initializer_list<std::u16string_view> choices) {
  for (auto choice : choices)
    if (value == choice) return true;
  return false;
}

bool StartsWith(const UnicodeString& s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && std::u16string_view(s).substr(0, prefix.size()) == prefix;
}

// `path` is `folder` or lies below it (whole components).
bool IsAtOrBelow(const UnicodeString& path, const UnicodeString& folder) {
  if (folder == u"/") return !path.empty() && path[0] == u'/';
  if (!StartsWith(path, folder)) return false;
  return path.size() == folder.size() || path[folder.size()] == u'/';
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string RealPathOf(const std::string& path) {
  std::error_code error;
  const auto real = std::filesystem::canonical(path, error);
  return error ? path : real.string();
}

// The name under which udev lists a label: "\x20" and kin stand for bytes.
std::string UdevUnescaped(const std::string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
        std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
      out.push_back(static_cast<char>(std::strtoul(name.substr(i + 2, 2).c_str(), nullptr, 16)));
      i += 3;
    } else {
      out.push_back(name[i]);
    }
  }
  return out;
}

// The entry of `folder` whose link resolves to `device`; empty when none does.
std::string LinkNameFor(const std::string& folder, const std::string& device) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return {};
  std::string found;
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    if (RealPathOf(folder + "/" + name) == device) {
      found = name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

bool ParseHex(std::string_view digits, std::uint32_t& value) {
  if (digits.empty() || digits.size() > 8) return false;
  value = 0;
  for (char c : digits) {
    int nibble;
    if (c >= '0' && c <= '9') nibble = c - '0';
    else if (c >= 'a' && c <= 'f') nibble = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') nibble = c - 'A' + 10;
    else return false;
    value = (value << 4) | static_cast<std::uint32_t>(nibble);
  }
  return true;
}

}  // namespace

std::vector<TMountEntry> ParseMountTable(std::string_view text) {
  std::vector<TMountEntry> table;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, mount_point, type;
    if (!(fields >> device >> mount_point >> type)) continue;
    if (device[0] == '#') continue;
    table.push_back({Utf8ToUtf16(Unescaped(device)), Utf8ToUtf16(Unescaped(mount_point)), Utf8ToUtf16(Unescaped(type))});
  }
  return table;
}

std::vector<TMountEntry> ReadMountTable() { return ParseMountTable(ReadWholeFile(SystemPath(global_mount_table_file))); }

bool IsNetworkFileSystem(const UnicodeString& type) {
  return IsOneOf(type, {u"nfs", u"nfs4", u"cifs", u"smb3", u"smbfs", u"ncpfs", u"afs", u"coda", u"sshfs",
                        u"fuse.sshfs", u"davfs", u"fuse.davfs2", u"glusterfs", u"fuse.glusterfs", u"ceph",
                        u"fuse.ceph", u"lustre"});
}

bool IsStorageMount(const TMountEntry& entry) {
  if (entry.MountPoint == u"/") return true;
  if (IsNetworkFileSystem(entry.Type)) return true;
  return StartsWith(entry.Device, u"/") && entry.Type != u"squashfs";
}

std::vector<TMountEntry> StorageMounts(const std::vector<TMountEntry>& table) {
  std::vector<TMountEntry> mounts;
  for (const TMountEntry& entry : table) {
    if (!IsStorageMount(entry)) continue;
    bool replaced = false;
    for (TMountEntry& known : mounts) {
      if (known.MountPoint == entry.MountPoint) {
        known = entry;
        replaced = true;
      }
    }
    if (!replaced) mounts.push_back(entry);
  }
  for (std::size_t i = 1; i < mounts.size(); ++i) {
    if (mounts[i].MountPoint == u"/") {
      std::rotate(mounts.begin(), mounts.begin() + static_cast<std::ptrdiff_t>(i),
                  mounts.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      break;
    }
  }
  return mounts;
}

int MountEntryFor(const std::vector<TMountEntry>& mounts, const UnicodeString& path) {
  int best = -1;
  std::size_t best_length = 0;
  for (std::size_t i = 0; i < mounts.size(); ++i) {
    const UnicodeString& point = mounts[i].MountPoint;
    if (!IsAtOrBelow(path, point)) continue;
    if (best < 0 || point.size() > best_length) {
      best = static_cast<int>(i);
      best_length = point.size();
    }
  }
  return best;
}

bool SysfsDeviceIsRemovable(const std::string& device_name) {
  if (device_name.empty() || device_name.find('/') != std::string::npos) return false;
  const std::string base = "/sys/class/block/" + device_name;
  std::string flag = ReadWholeFile(base + "/removable");
  if (flag.empty()) {
    // A partition: the flag belongs to the disk folder above it.
    flag = ReadWholeFile(RealPathOf(base) + "/../removable");
  }
  return !flag.empty() && flag[0] == '1';
}

TDriveType DriveTypeOf(const TMountEntry& entry, const TRemovableDeviceTest& removable) {
  if (IsNetworkFileSystem(entry.Type)) return DRIVE_REMOTE;
  if (IsOneOf(entry.Type, {u"iso9660", u"udf"})) return DRIVE_CDROM;
  if (IsOneOf(entry.Type, {u"tmpfs", u"ramfs"})) return DRIVE_RAMDISK;
  if (StartsWith(entry.Device, u"/")) {
    const std::string device = RealPathOf(SystemPath(entry.Device));
    const std::size_t slash = device.rfind('/');
    if (removable && removable(device.substr(slash + 1))) return DRIVE_REMOVABLE;
  }
  if (IsAtOrBelow(entry.MountPoint, u"/media") || IsAtOrBelow(entry.MountPoint, u"/run/media")) {
    if (entry.MountPoint != u"/media" && entry.MountPoint != u"/run/media") return DRIVE_REMOVABLE;
  }
  return DRIVE_FIXED;
}

bool FreeBytesAvailable(const UnicodeString& path, std::uint64_t& bytes) {
  struct statvfs info {};
  if (path.empty() || ::statvfs(SystemPath(path).c_str(), &info) != 0) return false;
  bytes = static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
  return true;
}

bool SerialFromVolumeUuid(std::string_view uuid, std::uint32_t& serial) {
  std::uint32_t high, low;
  if (uuid.size() == 9 && uuid[4] == '-' && ParseHex(uuid.substr(0, 4), high) && ParseHex(uuid.substr(5, 4), low)) {
    serial = (high << 16) | low;
    return true;
  }
  if (uuid.size() == 16 && ParseHex(uuid.substr(0, 8), high) && ParseHex(uuid.substr(8, 8), low)) {
    serial = low;
    return true;
  }
  return false;
}

bool VolumeIdentityOf(const TMountEntry& mount, TVolumeIdentity& identity, const std::string& disk_folder) {
  identity = {};
  struct statvfs info {};
  if (::statvfs(SystemPath(mount.MountPoint).c_str(), &info) != 0) return false;
  const auto fsid = static_cast<std::uint64_t>(info.f_fsid);
  identity.Serial = static_cast<std::uint32_t>(fsid ^ (fsid >> 32));
  if (!StartsWith(mount.Device, u"/")) return true;  // no device file to look up
  const std::string device = RealPathOf(SystemPath(mount.Device));
  const std::string label = LinkNameFor(disk_folder + "/by-label", device);
  if (!label.empty()) identity.Label = Utf8ToUtf16(UdevUnescaped(label));
  std::uint32_t serial;
  if (SerialFromVolumeUuid(LinkNameFor(disk_folder + "/by-uuid", device), serial)) identity.Serial = serial;
  return true;
}

}  // namespace quill
