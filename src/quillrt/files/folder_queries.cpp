#include "quillrt/files/folder_queries.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/process/yield.h"

namespace quill {

namespace {

bool FirstMatch(const UnicodeString& name, TFoundEntry& entry) {
  TDirectoryListing listing(ExcludeTrailingPathDelimiter(name));
  return listing.Next(entry);
}

bool IsListableFile(const TFoundEntry& entry) {
  return entry.Name[0] != u'.' && (entry.Attr & (faDirectory | faHidden | faSysFile)) == 0;
}

UnicodeString CanonicalFolder(const UnicodeString& name) {
  std::error_code error;
  const auto path = std::filesystem::weakly_canonical(std::filesystem::path(SystemPath(ExpandFileName(name))), error);
  return error ? ExpandFileName(name) : Utf8ToUtf16(path.string());
}

}  // namespace

bool IsDirectoryWriteable(const UnicodeString& folder) {
  const std::string probe = SystemPath(IncludeTrailingPathDelimiter(folder) + u"chk.tmp");
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

bool ReadOnlyFileW(const UnicodeString& name) {
  TFoundEntry entry;
  return FirstMatch(name, entry) && (entry.Attr & faReadOnly) != 0;
}

bool ReadOnlyFolderW(const UnicodeString& name) {
  TFoundEntry entry;
  return FirstMatch(name, entry) && entry.IsDirectory() && (entry.Attr & faReadOnly) != 0;
}

std::int64_t FileSize(const UnicodeString& name) {
  TFoundEntry entry;
  if (!GetFileDetails(name, entry) || entry.IsDirectory()) return -1;
  return static_cast<std::int64_t>(entry.Size);
}

std::uint32_t CheckSumOfAFile(const UnicodeString& name) {
  if (!FileExists(name)) return 0;
  try {
    TFileStream stream(name, fmOpenRead | fmShareDenyNone);
    std::vector<unsigned char> block(64 * 1024);
    std::uint32_t sum = 0;
    std::size_t held = 0;  // bytes of an incomplete word carried to the next block
    for (;;) {
      const std::int64_t n = stream.Read(block.data() + held, static_cast<std::int64_t>(block.size() - held));
      if (n <= 0) break;
      const std::size_t available = held + static_cast<std::size_t>(n);
      const std::size_t whole = available / 4 * 4;
      for (std::size_t i = 0; i < whole; i += 4) sum += TStream::FromLE<std::uint32_t>(block.data() + i);
      held = available - whole;
      for (std::size_t i = 0; i < held; ++i) block[i] = block[whole + i];
    }
    return sum;
  } catch (const Exception&) {
    return 0;
  }
}

bool DriveAndFolderExist(const UnicodeString& folder) {
  const std::int32_t attr = GetFileAttributesW(folder);
  return attr != INVALID_FILE_ATTRIBUTES && (attr & faDirectory) != 0;
}

bool DriveAndFileExist(const UnicodeString& name) {
  const std::int32_t attr = GetFileAttributesW(name);
  return attr != INVALID_FILE_ATTRIBUTES && (attr & faDirectory) == 0 && FileExists(name);
}

bool FolderIsEmpty(const UnicodeString& folder) {
  TDirectoryListing listing(IncludeTrailingPathDelimiter(folder) + u"*.*", TListingDetail::kinds_and_names);
  TFoundEntry entry;
  while (listing.Next(entry))
    if (entry.Name[0] != u'.') return false;
  return true;
}

bool RemovedEmptyFolder(const UnicodeString& folder) {
  if (!DirectoryExists(folder) || !FolderIsEmpty(folder)) return true;
  return ::rmdir(SystemPath(folder).c_str()) == 0;
}

std::unique_ptr<TStringList> ListOfAllFilesIn(const UnicodeString& folder) {
  auto list = std::make_unique<TStringList>();
  TDirectoryListing listing(IncludeTrailingPathDelimiter(folder) + u"*.*", TListingDetail::kinds_and_names);
  TFoundEntry entry;
  while (listing.Next(entry)) {
    if (!IsListableFile(entry)) continue;
    list->Add(listing.Folder() + entry.Name);
    MyYieldProcess();
  }
  return list;
}

std::unique_ptr<TStringList> ListOfAllFilesMatchingExt(const UnicodeString& name, const UnicodeString& ext,
                                                       bool include_self) {
  auto list = std::make_unique<TStringList>();
  TDirectoryListing listing(ChangeFileExt(name, ext), TListingDetail::kinds_and_names);
  TFoundEntry entry;
  while (listing.Next(entry)) {
    if (!IsListableFile(entry)) continue;
    const UnicodeString full = listing.Folder() + entry.Name;
    if (full == name && !include_self) continue;
    list->Add(full);
    MyYieldProcess();
  }
  return list;
}

void SortListOfFiles(TStringList& list, bool by_access_time, bool ascending) {
  if (list.Sorted()) list.SetSorted(false);
  const int count = list.Count();
  std::vector<UnicodeString> names(static_cast<std::size_t>(count));
  std::vector<std::int64_t> accessed(static_cast<std::size_t>(count), 0);
  for (int i = 0; i < count; ++i) {
    names[static_cast<std::size_t>(i)] = list[i];
    if (by_access_time) {
      TFoundEntry entry;
      if (GetFileDetails(list[i], entry))
        accessed[static_cast<std::size_t>(i)] = entry.LastAccess.seconds * 1000000000 + entry.LastAccess.nanoseconds;
    }
  }
  const int direction = ascending ? 1 : -1;
  list.CustomSort([&](TStringList&, int a, int b) {
    const auto i = static_cast<std::size_t>(a), j = static_cast<std::size_t>(b);
    int order;
    if (by_access_time) {
      order = accessed[i] < accessed[j] ? -1 : accessed[i] > accessed[j] ? 1 : 0;
    } else {
      order = CompareText(ExtractFileName(names[i]), ExtractFileName(names[j]));
      if (order == 0) order = CompareText(names[i], names[j]);
    }
    return order * direction;
  });
}

UnicodeString NewSubFolderFrom(const UnicodeString& name, const UnicodeString& base) {
  const UnicodeString folder = ExtractFilePath(name);
  const std::size_t skip = IncludeTrailingPathDelimiter(base).size();
  const UnicodeString rest = skip < folder.size() ? folder.substr(skip) : UnicodeString();
  return rest.size() == 1 ? UnicodeString() : rest;
}

bool FolderProposedIsOriginalFolder(const UnicodeString& a, const UnicodeString& b) {
  if (a.empty() || b.empty()) return false;
  return CanonicalFolder(ExtractFilePath(ExpandFileName(a))) == CanonicalFolder(ExtractFilePath(ExpandFileName(b)));
}

}  // namespace quill
