#include "quillrt/files/peruse_dir.h"

#include <limits>

#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/process/yield.h"

namespace quill {

namespace {

// folder + delimiter + name, without doubling a delimiter the folder ends in.
UnicodeString Joined(const UnicodeString& folder, const UnicodeString& name) {
  if (!folder.empty() && folder.back() == PathDelim) return folder + name;
  return folder + PathDelim + name;
}

bool StartsWithPathmark(const UnicodeString& mask) {
  return mask.size() >= 2 && mask[0] == u'*' && (mask[1] == u'/' || mask[1] == u'\\');
}

bool NamesAFolder(const UnicodeString& stored) {
  return !stored.empty() && (stored.back() == u'/' || stored.back() == u'\\');
}

}  // namespace

TPeruseDir::TPeruseDir(const UnicodeString& filemask, const UnicodeString& dirmask, const UnicodeString& zipmask,
                       const UnicodeString& excluded_dirs_mask, const UnicodeString& excluded_exts,
                       bool ACheckingMACOS_files, bool zips_too, bool aTreatZipsLikeAnyOtherFile,
                       bool AAcceptSystemFiles, bool AAcceptHiddenFiles)
    : fFilemaskStr(filemask),
      fCheckingMACOS_files(ACheckingMACOS_files),
      fTreatZipsLikeAnyOtherFile(aTreatZipsLikeAnyOtherFile),
      fAcceptSystemFiles(AAcceptSystemFiles),
      fAcceptHiddenFiles(AAcceptHiddenFiles),
      fExamineZips(zips_too) {
  BuildAMask(fExtExcludeMasks, excluded_exts);
  BuildAMask(fDirExcludeMasks, excluded_dirs_mask);
  BuildAMask(fFilemasks, filemask);
  BuildAMask(fDirmasks, dirmask);
  BuildAMask(fZipMasks, zipmask);
  EnsureExcludedFoldersHavePathmarks();
}

TPeruseDir::~TPeruseDir() = default;

void TPeruseDir::EnsureExcludedFoldersHavePathmarks() {
  for (UnicodeString& mask : fDirExcludeMasks)
    if (!mask.empty() && !StartsWithPathmark(mask)) mask = u"*/" + mask;
}

bool TPeruseDir::IsDot_UnderscoreFile(const UnicodeString& name) const {
  const UnicodeString file = ExtractFileName(name);
  return file.size() >= 2 && file[0] == u'.' && file[1] == u'_';
}

bool TPeruseDir::IsExcludedFolder(const UnicodeString& path) const {
  return WhereInAMask(path, fDirExcludeMasks) >= 0;
}

bool TPeruseDir::HasExcludedExtension(const UnicodeString& name) const {
  if (fExtExcludeMasks.empty()) return false;
  return WhereInAMask(ExtractFileExt(name), fExtExcludeMasks) >= 0;
}

bool TPeruseDir::LeftOutByAttributes(std::int32_t attr) const {
  if (!fAcceptSystemFiles && (attr & faSysFile) != 0) return true;
  return !fAcceptHiddenFiles && (attr & faHidden) != 0;
}

bool TPeruseDir::IsZipName(const UnicodeString& name) const {
  return name.size() >= 5 && LowerCase(name.substr(name.size() - 4)) == fZipExtension;
}

void TPeruseDir::ZipProblem() {
  if (OnZipProblem) OnZipProblem(this);
}

// ---- Subfolders -------------------------------------------------------------

void TPeruseDir::ProcessAllSubDirectories(const UnicodeString& folder) {
  for (const UnicodeString& mask : fDirmasks) {
    if (!fProcessing_Files) return;
    if (!mask.empty()) WalkSubfolders(folder, mask);
  }
}

void TPeruseDir::WalkSubfolders(const UnicodeString& folder, const UnicodeString& mask) {
  MyYieldProcess();
  TDirectoryListing listing(Joined(folder, mask), TListingDetail::kinds_and_names);
  TFoundEntry entry;
  while (fProcessing_Files && listing.Next(entry)) {
    MyYieldProcess();
    const bool taken = entry.IsDirectory() && entry.Name[0] != u'.' && (entry.Attr & (faHidden | faSymLink)) == 0 &&
                       fProcessing_Files && MatchesMask(entry.Name, mask);
    if (!taken) continue;
    const UnicodeString full = Joined(folder, entry.Name);
    if (IsExcludedFolder(full)) continue;
    ++fsubdir_counter;
    if (OnFoundDir) OnFoundDir(full);
    MyYieldProcess();
    if (fProcessing_Files) WalkSubfolders(full, mask);
  }
}

// ---- Files of one folder ---------------------------------------------------------

bool TPeruseDir::HandleAllFilesIn(const UnicodeString& folder, TMySearchRecList* ASearchRecList) {
  if (!fProcessing_Files) return false;
  bool result = false;
  const UnicodeString dir = IncludeTrailingPathDelimiter(folder);
  try {
    if (fExamineZips) {
      const std::size_t dot = fFilemaskStr.find(u'.');
      const UnicodeString name_part = dot == UnicodeString::npos ? UnicodeString(u"*") : fFilemaskStr.substr(0, dot);
      TDirectoryListing zips(dir + name_part + fZipExtension, TListingDetail::kinds_and_names);
      TFoundEntry entry;
      while (fProcessing_Files && zips.Next(entry)) {
        // An archive is left out for what would leave out a file: its extension
        // excluded, or hidden without hidden files asked for.
        if (entry.IsDirectory() || HasExcludedExtension(entry.Name) || LeftOutByAttributes(entry.Attr)) continue;
        try {
          AddAZip(ASearchRecList, dir, entry.Name);
        } catch (const std::exception& e) {
          // An unreadable archive costs only its own entries; the handler can
          // ask which archive it was and why.
          fZipProblemReason = Utf8ToUtf16(e.what());
          ZipProblem();
        }
        MyYieldProcess();
      }
    }
    std::size_t start = 0;
    while (fProcessing_Files && start <= fFilemaskStr.size()) {
      std::size_t end = fFilemaskStr.find(u';', start);
      if (end == UnicodeString::npos) end = fFilemaskStr.size();
      const UnicodeString part = fFilemaskStr.substr(start, end - start);
      start = end + 1;
      if (part.empty()) continue;
      TDirectoryListing listing(dir + part, TListingDetail::full);
      TFoundEntry entry;
      while (fProcessing_Files && listing.Next(entry)) {
        if (entry.IsDirectory()) {
          MyYieldProcess();
          continue;
        }
        if (LeftOutByAttributes(entry.Attr)) continue;
        if (fCheckingMACOS_files && IsDot_UnderscoreFile(entry.Name)) continue;
        if (HasExcludedExtension(entry.Name) || (!fTreatZipsLikeAnyOtherFile && IsZipName(entry.Name))) {
          MyYieldProcess();
          continue;
        }
        TMySearchRec rec;
        rec.Size = static_cast<std::int32_t>(static_cast<std::uint32_t>(entry.Size));
        rec.Attr = entry.Attr & ~faSymLink;
        rec.ShortName = entry.Name;
        rec.Number_Within_Zip = 0;
        rec.DateTime = FileStampToDateTimeOrEpoch(entry.LastWrite);
        if (OnCheckFileAcceptable && !OnCheckFileAcceptable(rec, false)) continue;
        result = true;
        if (entry.Size > std::numeric_limits<std::uint32_t>::max()) ++ffiles_beyond_record_size;
        if (ASearchRecList != nullptr) ASearchRecList->Add(rec);
        MyYieldProcess();
      }
    }
  } catch (const std::exception&) {
    return false;
  }
  return result;
}

void TPeruseDir::AddAZip(TMySearchRecList* ASearchRecList, const UnicodeString& folder, const UnicodeString& zip_name) {
  const UnicodeString archive_path = Joined(folder, zip_name);
  fZipInHand = archive_path;
  fZipProblemReason.clear();
  TZipArchive zip;
  zip.SetFileName(archive_path);
  zip.OnProcessFileFailure = [this](TZipArchive&, const UnicodeString&, TZipOperation, const UnicodeString&,
                                    TZipFailureAction&) { ZipProblem(); };
  zip.OpenArchive();
  if (OnZipStartReading) OnZipStartReading(archive_path);
  ++fzips_examined;
  const int count = zip.EntryCount();
  for (int i = 0; i < count && fProcessing_Files; ++i) {
    MyYieldProcess();
    if (OnZipReading) OnZipReading(i, count);
    if (i >= kMaxZipEntryNumber) {
      ZipProblem();
      break;
    }
    const TZipEntryInfo info = zip.EntryInfo(i);
    const UnicodeString& name = info.StoredName;
    if (name.empty() || NamesAFolder(name) || WhereInAMask(name, fZipMasks) < 0 || HasExcludedExtension(name)) continue;
    ++ftotal_files_in_zips;
    TMySearchRec rec;
    rec.ShortName = zip_name + u"\\" + name;
    rec.DateTime = info.DateTime;
    rec.Size = static_cast<std::int32_t>(static_cast<std::uint64_t>(info.Size));
    rec.Attr = info.Attr;
    rec.Number_Within_Zip = static_cast<std::int16_t>(i + 1);
    if ((!OnCheckFileAcceptable || OnCheckFileAcceptable(rec, true)) && ASearchRecList != nullptr)
      ASearchRecList->Add(rec);
  }
  if (OnDoneZipReading) OnDoneZipReading(fzips_examined);
  zip.CloseArchive();
}

}  // namespace quill
