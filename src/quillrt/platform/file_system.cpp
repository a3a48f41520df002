#include "quillrt/platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "quillrt/framework/file_names.h"
#include "quillrt/framework/streams.h"
#include "quillrt/platform/case_mapping.h"

namespace quill {

namespace {

const char16_t* UpperTable() {
  static const char16_t* const table = CaseMapTable(CaseDirection::upper, false);
  return table;
}

bool IsDelimiter(char16_t c) { return c == u'/' || c == u'\\'; }

// Characters compare equal when their upper-case forms do; with `delimiters_alike`
// '/' and '\' are one character.
bool SameChar(char16_t a, char16_t b, const char16_t* upper, bool delimiters_alike) {
  if (a == b) return true;
  if (delimiters_alike && IsDelimiter(a) && IsDelimiter(b)) return true;
  return upper[a] == upper[b];
}

// Wildcard match of the whole name against the whole mask; with `trailing_dot`
// the name is read as if a '.' followed it. Greedy with one backtracking point
// (the last '*'), so the cost stays at most length(name) x length(mask).
bool WildcardMatch(std::u16string_view name, bool trailing_dot, std::u16string_view mask, bool delimiters_alike) {
  const char16_t* upper = UpperTable();
  const std::size_t n = name.size() + (trailing_dot ? 1 : 0);
  auto at = [&](std::size_t i) { return i < name.size() ? name[i] : u'.'; };
  std::size_t i = 0, m = 0;
  std::size_t star = std::u16string_view::npos, resume = 0;
  while (i < n) {
    if (m < mask.size() && mask[m] == u'*') {
      star = m++;
      resume = i;
    } else if (m < mask.size() && (mask[m] == u'?' || SameChar(at(i), mask[m], upper, delimiters_alike))) {
      ++i;
      ++m;
    } else if (star != std::u16string_view::npos) {
      m = star + 1;
      i = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

UnicodeString NameToUtf16(const char* name) {
  UnicodeString result;
  const std::size_t length = std::strlen(name);
  result.resize(length);
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte >= 0x80) return FileNameToUtf16(std::string_view(name, length));
    result[i] = byte;
  }
  return result;
}

TFileStamp StampOf(const struct timespec& t) { return {static_cast<std::int64_t>(t.tv_sec), static_cast<std::int32_t>(t.tv_nsec)}; }

std::int32_t AttributesOf(const struct stat& info, std::u16string_view name, bool mode_known) {
  std::int32_t attr = 0;
  if (S_ISDIR(info.st_mode))
    attr = faDirectory;
  else if (S_ISREG(info.st_mode))
    attr = faArchive;
  else
    attr = faSysFile;
  if (mode_known && (info.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
  if (!name.empty() && name[0] == u'.') attr |= faHidden;
  return attr;
}

void FillFromStat(const struct stat& info, TFoundEntry& entry) {
  entry.Attr = AttributesOf(info, entry.Name, true);
  entry.Size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
  entry.LastWrite = StampOf(info.st_mtim);
  entry.LastAccess = StampOf(info.st_atim);
}

UnicodeString LastComponent(const UnicodeString& path) {
  std::size_t end = path.size();
  while (end > 1 && path[end - 1] == u'/') --end;
  const std::size_t slash = path.rfind(u'/', end == 0 ? 0 : end - 1);
  return slash == UnicodeString::npos ? path.substr(0, end) : path.substr(slash + 1, end - slash - 1);
}

}  // namespace

// ---- Listings ----------------------------------------------------------------

struct TDirectoryListing::State {
  DIR* dir = nullptr;
  UnicodeString mask;
  TListingDetail detail = TListingDetail::full;
  ~State() {
    if (dir != nullptr) ::closedir(dir);
  }
};

TDirectoryListing::TDirectoryListing(const UnicodeString& pattern, TListingDetail detail)
    : state_(std::make_unique<State>()) {
  const std::size_t slash = pattern.rfind(u'/');
  folder_ = slash == UnicodeString::npos ? UnicodeString() : pattern.substr(0, slash + 1);
  state_->mask = slash == UnicodeString::npos ? pattern : pattern.substr(slash + 1);
  state_->detail = detail;
  if (state_->mask.empty()) return;  // a pattern naming no entries lists nothing
  const std::string folder = folder_.empty() ? std::string(".") : SystemPath(folder_);
  state_->dir = ::opendir(folder.c_str());
}

TDirectoryListing::~TDirectoryListing() = default;

bool TDirectoryListing::Next(TFoundEntry& entry) {
  if (state_->dir == nullptr) return false;
  const int dir_fd = ::dirfd(state_->dir);
  while (const dirent* item = ::readdir(state_->dir)) {
    const char* raw = item->d_name;
    if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0))) continue;
    entry.Name = NameToUtf16(raw);
    if (!ListingMaskMatches(entry.Name, state_->mask)) continue;
    entry.Size = 0;
    entry.LastWrite = {};
    entry.LastAccess = {};

    const unsigned char type = item->d_type;
    if (state_->detail == TListingDetail::kinds_and_names && (type == DT_DIR || type == DT_REG)) {
      entry.Attr = (type == DT_DIR ? faDirectory : faArchive) | (raw[0] == '.' ? faHidden : 0);
      return true;
    }
    bool is_link = type == DT_LNK;
    struct stat info {};
    if (type == DT_UNKNOWN) {
      if (::fstatat(dir_fd, raw, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
      is_link = S_ISLNK(info.st_mode);
    }
    if (type != DT_UNKNOWN || is_link) {
      if (::fstatat(dir_fd, raw, &info, 0) != 0) continue;  // vanished, or a link to nothing
    }
    if (state_->detail == TListingDetail::full) {
      FillFromStat(info, entry);
    } else {
      entry.Attr = AttributesOf(info, entry.Name, false);
    }
    if (is_link) entry.Attr |= faSymLink;
    return true;
  }
  return false;
}

bool ListingMaskMatches(std::u16string_view name, std::u16string_view mask) {
  if (name.empty() || mask.empty()) return false;
  if (mask == u"*" || mask == u"*.*") return true;
  if (WildcardMatch(name, false, mask, false)) return true;
  return name.find(u'.') == std::u16string_view::npos && WildcardMatch(name, true, mask, false);
}

bool PathMatchSpec(std::u16string_view name, std::u16string_view mask) {
  if (mask == u"*.*") return true;
  return WildcardMatch(name, false, mask, true);
}

// ---- Single entries --------------------------------------------------------------

std::int32_t GetFileAttributesW(const UnicodeString& path) {
  TFoundEntry entry;
  return GetFileDetails(path, entry) ? entry.Attr : INVALID_FILE_ATTRIBUTES;
}

bool GetFileDetails(const UnicodeString& path, TFoundEntry& entry) {
  if (path.empty()) return false;
  const std::string native = SystemPath(path);
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0) return false;
  entry.Name = LastComponent(path);
  FillFromStat(info, entry);
  struct stat link {};
  if (::lstat(native.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) entry.Attr |= faSymLink;
  return true;
}

// ---- Times -------------------------------------------------------------------

bool TryFileStampToLocalDosDateTime(const TFileStamp& stamp, TDateTime& value) {
  const std::time_t seconds = static_cast<std::time_t>(stamp.seconds);
  std::tm local {};
  if (::localtime_r(&seconds, &local) == nullptr) return false;
  const int year = local.tm_year + 1900;
  if (year < 1980 || year > 2107) return false;
  // Packed file dates keep even seconds only (a leap second reads as 58).
  const int second = std::min(local.tm_sec, 59) / 2 * 2;
  return TryEncodeDateTime(year, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, second, 0, value);
}

TDateTime FileStampToDateTimeOrEpoch(const TFileStamp& stamp) {
  TDateTime value;
  return TryFileStampToLocalDosDateTime(stamp, value) ? value : static_cast<TDateTime>(UnixDateDelta);
}

bool TryFileStampToDateTime(const TFileStamp& stamp, TDateTime& value) {
  const std::time_t seconds = static_cast<std::time_t>(stamp.seconds);
  std::tm local {};
  if (::localtime_r(&seconds, &local) == nullptr) return false;
  return TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                           std::min(local.tm_sec, 59), stamp.nanoseconds / 1000000, value);
}

bool SetFileLastWriteStamp(const UnicodeString& path, const TFileStamp& stamp) {
  if (path.empty()) return false;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(stamp.seconds);
  times[1].tv_nsec = stamp.nanoseconds;
  return ::utimensat(AT_FDCWD, SystemPath(path).c_str(), times, 0) == 0;
}

bool SetFileLastWriteTime(const UnicodeString& path, TDateTime local_time) {
  int year, month, day, hour, minute, second, msec;
  if (!TryDecodeDateTime(local_time, year, month, day, hour, minute, second, msec)) return false;
  std::tm local {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;  // let the zone rules decide
  errno = 0;
  const std::time_t seconds = std::mktime(&local);
  if (seconds == static_cast<std::time_t>(-1) && errno != 0) return false;
  return SetFileLastWriteStamp(path, {static_cast<std::int64_t>(seconds), msec * 1000000});
}

UnicodeString ProgramFolder() {
  std::string buffer(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) return u"/";
  buffer.resize(static_cast<std::size_t>(length));
  const std::size_t slash = buffer.rfind('/');
  return Utf8ToUtf16(slash == std::string::npos ? std::string("/") : buffer.substr(0, slash + 1));
}

}  // namespace quill
