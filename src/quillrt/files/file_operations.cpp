#include "quillrt/files/file_operations.h"

#include <unistd.h>

#include <vector>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/files/drives_and_volumes.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/dialogs.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/process/yield.h"

namespace quill {

namespace {

constexpr int kLowestFileDateYear = 1980;
constexpr int kHighestFileDateYear = 2106;

int PathDelimiters(const UnicodeString& path) {
  int count = 0;
  for (WideChar c : path)
    if (c == PathDelim) ++count;
  return count;
}

// The root folder, a top-level folder or a mount point, on a drive that is not
// removable: places where "delete every file" is never what was meant.
bool IsProtectedRoot(const UnicodeString& folder) {
  const UnicodeString path = ExcludeTrailingPathDelimiter(folder);
  const std::vector<TMountEntry> mounts = StorageMounts(ReadMountTable());
  const int holder = MountEntryFor(mounts, path);
  if (holder >= 0 && DriveTypeOf(mounts[static_cast<std::size_t>(holder)]) == DRIVE_REMOVABLE) return false;
  if (path == u"/" || PathDelimiters(path) <= 1) return true;
  return holder >= 0 && mounts[static_cast<std::size_t>(holder)].MountPoint == path;
}

bool IsEligibleFile(const TFoundEntry& entry) {
  return entry.Name[0] != u'.' && (entry.Attr & (faDirectory | faHidden | faSysFile)) == 0;
}

// The subfolders below `folder` (with trailing delimiters), each after those
// inside it.
void AddSubfoldersDeepestFirst(const UnicodeString& folder, std::vector<UnicodeString>& folders) {
  TDirectoryListing listing(folder + u"*", TListingDetail::kinds_and_names);
  TFoundEntry entry;
  while (listing.Next(entry)) {
    MyYieldProcess();
    if (!entry.IsDirectory() || entry.Name[0] == u'.' || (entry.Attr & faSymLink) != 0) continue;
    const UnicodeString sub = folder + entry.Name + PathDelim;
    AddSubfoldersDeepestFirst(sub, folders);
    folders.push_back(sub);
  }
}

// True when the folder holds nothing but folders and names beginning with ".".
bool HoldsNoFiles(const UnicodeString& folder) {
  TDirectoryListing listing(folder + u"*", TListingDetail::kinds_and_names);
  TFoundEntry entry;
  while (listing.Next(entry))
    if (!entry.IsDirectory() && entry.Name[0] != u'.') return false;
  return true;
}

}  // namespace

bool CopyFileReplacing(const UnicodeString& from, const UnicodeString& to) {
  if (!FileExists(from)) return false;
  try {
    TFileStream source(from, fmOpenRead | fmShareDenyNone);
    return WriteFileAtomically(to, [&](TStream& out) {
      out.CopyFrom(source, 0);
      return true;
    });
  } catch (const Exception&) {
    return false;
  }
}

bool CopyAFileWithBackup(const UnicodeString& name) { return CopyFileReplacing(name, ChangeFileExt(name, u".bak")); }

bool CopyDateOfFile(const UnicodeString& from, const UnicodeString& to) {
  TFoundEntry source;
  if (!FileExists(from) || !FileExists(to) || !GetFileDetails(from, source)) return false;
  return SetFileLastWriteStamp(to, source.LastWrite);
}

bool CopyFileRetainingDate(const UnicodeString& from, const UnicodeString& to) {
  return FileExists(from) && CopyFileReplacing(from, to) && CopyDateOfFile(from, to);
}

bool OKToDeleteFile(const UnicodeString& name) {
  if (!FileExists(name)) return true;
  if (ShowMessageBox(CatalogueText("_QYConfirmation"), Format(CatalogueText("_QYDeleteXQ"), {name}), MB_ICONQUESTION,
                     MB_OKCANCEL) != IDOK) {
    return false;
  }
  if (!DeleteFile(name)) RaiseLastOSError(name);
  return true;
}

bool SetFileDate(const UnicodeString& name, const TYearMonthDay& ymd) {
  if (ymd.day < 1 || ymd.day > 31 || ymd.month < 1 || ymd.month > 12) return false;
  if (ymd.year < kLowestFileDateYear || ymd.year > kHighestFileDateYear) return false;
  TDateTime noon;
  if (!TryEncodeDateTime(ymd.year, ymd.month, ymd.day, 12, 0, 0, 0, noon)) return false;
  return SetFileLastWriteTime(name, noon);
}

bool SetFileDate(const UnicodeString& name, int day, int month, int year) {
  return SetFileDate(name, TYearMonthDay{year, month, day});
}

bool SetFileDate(const UnicodeString& name, const UnicodeString& day, const UnicodeString& month,
                 const UnicodeString& year) {
  int d, m, y;
  if (!TryStrToInt(day, d) || !TryStrToInt(month, m) || !TryStrToInt(year, y)) return false;
  return SetFileDate(name, d, m, y);
}

bool SetFileDate(const UnicodeString& name, const UnicodeString& date) {
  if (date.size() != 10) return false;
  return SetFileDate(name, date.substr(0, 2), date.substr(3, 2), date.substr(6, 4));
}

int DeleteAllFilesOn(const UnicodeString& path, const UnicodeString& mask, const UnicodeString& target,
                     bool move_to_target, bool include_subfolders, bool remove_empty_folders) {
  if (path.empty()) return 0;
  const UnicodeString folder = IncludeTrailingPathDelimiter(ExpandFileName(path));
  if (IsProtectedRoot(folder)) {
    ShowMessageBox(u"No Way!", u"Won't delete all files on " + folder, MB_ICONWARNING, MB_OK);
    return 0;
  }
  UnicodeString extension = !mask.empty() && mask[0] == u'.' ? mask.substr(1) : mask;
  const bool sub_path = !extension.empty() && (extension[0] == u'/' || extension[0] == u'\\');
  if (sub_path) extension = StringReplace(extension.substr(1), u"\\", u"/", rfReplaceAll);

  std::vector<UnicodeString> folders{folder};
  if (include_subfolders) AddSubfoldersDeepestFirst(folder, folders);

  std::vector<UnicodeString> files;
  for (const UnicodeString& each : folders) {
    const UnicodeString pattern = sub_path ? each + extension : each + u"*." + extension;
    TDirectoryListing listing(pattern, TListingDetail::kinds_and_names);
    TFoundEntry entry;
    while (listing.Next(entry)) {
      MyYieldProcess();
      if (IsEligibleFile(entry)) files.push_back(listing.Folder() + entry.Name);
    }
  }
  if (files.empty()) return 0;

  UnicodeString kind(1, u'.');
  kind += sub_path ? mask.substr(mask[0] == u'.' ? 1 : 0) : extension;
  const UnicodeString question =
      files.size() == 1
          ? Format(CatalogueText("_QYDeleteThe1XFileInY"), {kind, path})
          : Format(CatalogueText("_QYDeleteAllXFilesInY"), {static_cast<std::int64_t>(files.size()), kind, path});
  if (ShowMessageBox(CatalogueText("_QYSureQ"), CatalogueText("_QYFileAlreadyExists") + u"\r" + question,
                     MB_ICONQUESTION, MB_OKCANCEL) != IDOK)
    return 0;

  int done = 0;
  const UnicodeString destination = IncludeTrailingPathDelimiter(target);
  for (const UnicodeString& file : files) {
    MyYieldProcess();
    if (move_to_target) {
      if (CopyFileReplacing(file, destination + ExtractFileName(file)) && DeleteFile(file)) ++done;
    } else {
      if (!DeleteFile(file)) RaiseLastOSError(file);
      ++done;
    }
  }
  if (remove_empty_folders) {
    for (std::size_t i = 1; i < folders.size(); ++i)
      if (HoldsNoFiles(folders[i])) ::rmdir(SystemPath(folders[i]).c_str());
  }
  return done;
}

int DeleteAllFilesOn(const UnicodeString& path, const UnicodeString& mask) {
  return DeleteAllFilesOn(path, mask, u"", false, true, true);
}

}  // namespace quill
