#include "quillrt/analysis/general_helpers.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <string>

#include "quillrt/analysis/number_formats.h"
#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/files/drives_and_volumes.h"
#include "quillrt/files/file_operations.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/dialogs.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/process/yield.h"

namespace quill {

std::uint32_t DriveBits = 0;

namespace {

std::atomic<std::int32_t> batch_counter{0};

constexpr double kSecondsPerDay = 86400.0;
constexpr std::int64_t kMebibyte = 1048576;

bool AskYesNo(const UnicodeString& question) {
  return ShowMessageBox(CatalogueText("_QYConfirmation"), question, MB_ICONQUESTION, MB_YESNO) == IDYES;
}

// Where the file-name part of a path starts.
std::size_t FileNameStart(const UnicodeString& path) {
  const std::size_t slash = path.find_last_of(u"/\\");
  return slash == UnicodeString::npos ? 0 : slash + 1;
}

// The position of the extension's "." in the file-name part, or npos.
std::size_t ExtensionDot(const UnicodeString& path) {
  const std::size_t dot = path.rfind(u'.');
  return dot == UnicodeString::npos || dot < FileNameStart(path) ? UnicodeString::npos : dot;
}

UnicodeString ThreeDigitsAtLeast(std::int32_t n) {
  UnicodeString digits = Utf8ToUtf16(std::to_string(n));
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), u'0');
  return digits;
}

enum class TReserveResult { reserved, taken, failed };

TReserveResult ReserveName(const UnicodeString& file_name) {
  const int fd = ::open(SystemPath(file_name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    ::close(fd);
    return TReserveResult::reserved;
  }
  return errno == EEXIST ? TReserveResult::taken : TReserveResult::failed;
}

// The fractional part of a day count, in seconds, rounded.
std::int32_t DayFractionInSeconds(double days) {
  double whole = 0;
  const double fraction = std::modf(days, &whole);
  return static_cast<std::int32_t>(std::lround(fraction * kSecondsPerDay));
}

void AddSubFolders(const std::filesystem::path& folder, TStringList& list) {
  std::error_code error;
  std::vector<std::filesystem::path> children;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code kind_error;
    if (it->is_directory(kind_error) && !it->is_symlink(kind_error)) children.push_back(it->path());
  }
  std::sort(children.begin(), children.end());
  for (const auto& child : children) {
    MyYieldProcess();
    list.Add(Utf8ToUtf16(child.string()));
    AddSubFolders(child, list);
  }
}

}  // namespace

bool OKToOverwrite(const UnicodeString& file_name) {
  if (!FileExists(file_name)) return true;
  return AskYesNo(Format(CatalogueText("_QYOverwriteXQ"), {file_name}));
}

bool OKToOverwriteWithBackup(const UnicodeString& file_name) {
  if (!FileExists(file_name)) return true;
  if (!AskYesNo(Format(CatalogueText("_QYOverwriteXWithBackupQ"), {file_name}))) return false;
  CopyFileReplacing(file_name, ChangeFileExt(file_name, u".bak"));
  return true;
}

bool FreeBytesOnVolume(const UnicodeString& path, std::int64_t& free_bytes) {
  struct statvfs info {};
  if (::statvfs(SystemPath(path).c_str(), &info) != 0) return false;
  const auto unit = static_cast<std::int64_t>(info.f_frsize != 0 ? info.f_frsize : info.f_bsize);
  free_bytes = std::max(static_cast<std::int64_t>(info.f_bavail), static_cast<std::int64_t>(info.f_bfree)) * unit;
  return true;
}

bool ProceedIfLittleDiskSpace(const UnicodeString& path, std::int64_t minimum_bytes) {
  std::int64_t free_bytes = 0;
  if (path.empty() || !FreeBytesOnVolume(path, free_bytes) || free_bytes >= minimum_bytes) return true;
  const UnicodeString question =
      Format(CatalogueText("_QYOnlyMbSpaceOnDriveDProceed"), {static_cast<long long>(free_bytes / kMebibyte), path});
  return ShowMessageBox(CatalogueText("_QYConfirmation"), question, MB_ICONQUESTION, MB_OKCANCEL) == IDOK;
}

bool ForcedToBeNewFile(UnicodeString& file_name) {
  if (ExtensionDot(file_name) == UnicodeString::npos) file_name += u'.';
  const UnicodeString extension = file_name.substr(ExtensionDot(file_name));
  for (;;) {
    switch (ReserveName(file_name)) {
      case TReserveResult::reserved: return true;
      case TReserveResult::failed: return false;
      case TReserveResult::taken: break;
    }
    MyYieldProcess();
    file_name.erase(ExtensionDot(file_name));
    file_name += u'_' + ThreeDigitsAtLeast(++batch_counter) + extension;
  }
}

void SetBatchFileStartNumberTo(std::int32_t n) { batch_counter = n < 0 ? 0 : n; }

std::int32_t GetBatchFileStartNumber() { return batch_counter; }

bool FileNameHasWildCards(const UnicodeString& name) { return name.find_first_of(u"*?") != UnicodeString::npos; }

bool ValidDriveW(WideChar letter) {
  if (letter >= u'a' && letter <= u'z') letter = static_cast<WideChar>(letter - u'a' + u'A');
  if (letter < u'A' || letter > u'Z') return false;
  std::uint32_t bits = 0;
  for (const TLogicalDrive& drive : LogicalDrives()) bits |= std::uint32_t{1} << (drive.Letter - u'A');
  DriveBits = bits;
  if ((bits & (std::uint32_t{1} << (letter - u'A'))) == 0) return false;
  struct statvfs info {};
  return ::statvfs(SystemPath(DriveRoot(letter)).c_str(), &info) == 0;
}

bool ValidDrive(char letter) { return ValidDriveW(static_cast<unsigned char>(letter)); }

bool Fixed_Drive(const UnicodeString& root) {
  const UnicodeString wanted = IncludeTrailingPathDelimiter(root);
  for (const TLogicalDrive& drive : LogicalDrives())
    if (drive.Root == wanted) return drive.Type == DRIVE_FIXED;
  return false;
}

bool sIsADirectory(const UnicodeString& name) {
  const std::int32_t attributes = GetFileAttributesW(name);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & faDirectory) != 0;
}

std::unique_ptr<TStringList> ListOfSubFolders(const UnicodeString& folder, bool recursive) {
  auto list = std::make_unique<TStringList>();
  list->Add(folder);
  if (recursive) AddSubFolders(std::filesystem::path(SystemPath(folder)), *list);
  return list;
}

UnicodeString AttributesToStr(std::int32_t attributes) {
  UnicodeString letters;
  if ((attributes & faReadOnly) != 0) letters += u'r';
  if ((attributes & faArchive) != 0) letters += u'a';
  if ((attributes & faSysFile) != 0) letters += u's';
  if ((attributes & faHidden) != 0) letters += u'h';
  if ((attributes & faDirectory) != 0) letters += u'd';
  return letters;
}

UnicodeString GetLastErrorString() {
  UnicodeString text = SysErrorMessage(errno);
  if (text.size() > 255) text.resize(255);
  return text;
}

TDateTime Compilation_DateTime() {
  TFoundEntry entry;
  TDateTime value = 0;
  if (!GetFileDetails(u"/proc/self/exe", entry) || !TryFileStampToDateTime(entry.LastWrite, value)) return 0;
  return value;
}

UnicodeString Compilation_Date() { return DateToStr(Compilation_DateTime(), UserDefaultFormatSettings); }

UnicodeString Compilation_Year() { return FormatDateTime(u"yyyy", Compilation_DateTime()); }

std::int32_t TodayAsLongint() { return static_cast<std::int32_t>(std::trunc(Date())); }

std::int32_t SecondsElapsedSince(TDateTime moment) { return DayFractionInSeconds(Now() - moment); }

std::int32_t TodaysTimeInSeconds(TDateTime moment) { return DayFractionInSeconds(moment); }

UnicodeString Rightstr(const UnicodeString& text, int n) {
  if (n <= 0) return {};
  const auto count = static_cast<std::size_t>(n);
  return count >= text.size() ? text : text.substr(text.size() - count);
}

}  // namespace quill
