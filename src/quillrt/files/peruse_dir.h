#pragma once
// The folder walker: one configured walk over a folder tree. It reports every
// subfolder below a folder, and lists the files of one folder that pass its
// masks and exclusions, optionally looking inside zip archives and listing
// their entries as files.
//
// A walk: create one walker with the masks and options, call
// ProcessAllSubDirectories once for the head folder (each subfolder arrives
// through OnFoundDir), then HandleAllFilesIn once per folder (usually through
// TFolderful::FillList). Counters start at 0 and are never reset. Setting
// Processing_Files to false (from an event handler or the yield hook) stops
// every listing after the entry in hand.
//
// Decisions of this platform:
//  - Hidden means a name beginning with "."; system means an entry that is
//    neither a file nor a folder (a device, pipe or socket). Without
//    AAcceptHiddenFiles / AAcceptSystemFiles such files are left out by that
//    alone. Hidden folders (".git" among them) are never walked, nor are
//    symbolic links to folders (which could lead the walk round in a circle).
//  - A subfolder is walked when its own name matches the dir mask.
//  - The entries of an archive are stored relative to the folder like any other
//    file: their ShortName is the archive's file name, a backslash and the
//    stored name ("texts.zip\d/e.txt"), so that the folder's name followed by a
//    ShortName is always the full name, which the zip path helpers split again.
//    Folder entries of archives are not listed.
//  - An archive that cannot be opened is reported through OnZipProblem (with
//    ZipInHand and ZipProblemReason telling which and why) and skipped; the
//    folder's other files are still listed. Archives whose extension is
//    excluded, and hidden ones without hidden files accepted, are not opened.
//  - Entry numbers are 16 bits wide: entries past the 32767th of an archive are
//    not listed, and OnZipProblem is fired once for the archive.
#include <cstdint>
#include <functional>

#include "quillrt/files/file_records.h"
#include "quillrt/files/masks.h"
#include "quillrt/files/search_rec_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/process/callbacks.h"
#include "quillrt/quillrt_export.h"

namespace quill {

using TProcessingAFileEvent = std::function<void(const UnicodeString& FullFileName, const TMySearchRec& SR)>;
using TCheckFileAcceptableEvent = std::function<bool(const TMySearchRec& SR, bool InAZip)>;
using TFoundDirEvent = std::function<void(const UnicodeString& DirName)>;
using TAllFilesProgressEvent = std::function<void(int percent)>;
using TMyDirProgressEvent = std::function<void(int dirnum)>;
using TZipReadingEvent = std::function<void(int num, int out_of)>;
using TZipDoneReadingEvent = std::function<void(int zips_handled)>;
using TZipStartReadingEvent = std::function<void(const UnicodeString& zipfilename)>;
using TNotifyEvent = std::function<void(TObject* Sender)>;

// The largest entry number a found-file record can hold.
inline constexpr int kMaxZipEntryNumber = 32767;

class QUILLRT_API TPeruseDir : public TObject {
 public:
  // filemask: parts separated by ";" ("*.txt;*.htm"); dirmask: masks of the
  // subfolders to walk; zipmask: masks archive entries must match;
  // excluded_dirs_mask: folders left out at any depth ("old;*/tmp");
  // excluded_exts: extensions left out (".bak;.tmp").
  TPeruseDir(const UnicodeString& filemask, const UnicodeString& dirmask, const UnicodeString& zipmask,
             const UnicodeString& excluded_dirs_mask, const UnicodeString& excluded_exts, bool ACheckingMACOS_files,
             bool zips_too, bool aTreatZipsLikeAnyOtherFile, bool AAcceptSystemFiles, bool AAcceptHiddenFiles);
  ~TPeruseDir() override;

  // Reports every subfolder below `folder` through OnFoundDir, depth first, in
  // the order the folder lists them.
  void ProcessAllSubDirectories(const UnicodeString& folder);
  // Appends the accepted files of `folder` (and the accepted entries of its
  // archives) to `ASearchRecList`, which may be null (the events still fire).
  // True when at least one file on disk was accepted; false, keeping what was
  // appended, when something failed on the way.
  bool HandleAllFilesIn(const UnicodeString& folder, TMySearchRecList* ASearchRecList);
  // Appends the accepted entries of the archive folder + zip_name. An archive
  // that cannot be opened raises EZipError.
  void AddAZip(TMySearchRecList* ASearchRecList, const UnicodeString& folder, const UnicodeString& zip_name);

  // The file's name begins with "._" (the resource forks another system leaves).
  bool IsDot_UnderscoreFile(const UnicodeString& name) const;
  // A mask of the excluded folders matches the whole path.
  bool IsExcludedFolder(const UnicodeString& path) const;
  // The name's extension (from its last dot, dot included) matches an excluded one.
  bool HasExcludedExtension(const UnicodeString& name) const;
  // Puts "*/" before every excluded-folder mask that does not begin with "*/"
  // (or "*\"), so that "old" leaves out a folder called old at any depth.
  void EnsureExcludedFoldersHavePathmarks();

  bool Processing_Files() const { return fProcessing_Files; }
  void SetProcessing_Files(bool processing) { fProcessing_Files = processing; }
  // While OnZipProblem runs: the archive in hand (folder and name) and, when
  // it could not be opened at all, why; empty when only some of its entries
  // were lost.
  const UnicodeString& ZipInHand() const { return fZipInHand; }
  const UnicodeString& ZipProblemReason() const { return fZipProblemReason; }
  const UnicodeString& ZipExtension() const { return fZipExtension; }
  void SetZipExtension(const UnicodeString& extension) { fZipExtension = extension; }
  bool CheckingMACOSFiles() const { return fCheckingMACOS_files; }
  void SetCheckingMACOSFiles(bool checking) { fCheckingMACOS_files = checking; }
  int TotalFilesInZips() const { return ftotal_files_in_zips; }
  int ZipsExamined() const { return fzips_examined; }
  int SubDirsFound() const { return fsubdir_counter; }
  // Files on disk listed so far whose size does not fit a record's 32 bits
  // (4 GB and more): their records hold the low 32 bits only.
  int FilesBeyondRecordSize() const { return ffiles_beyond_record_size; }
  const UnicodeString& FilemaskStr() const { return fFilemaskStr; }
  bool ExamineZips() const { return fExamineZips; }
  bool TreatZipsLikeAnyOtherFile() const { return fTreatZipsLikeAnyOtherFile; }
  bool AcceptSystemFiles() const { return fAcceptSystemFiles; }
  bool AcceptHiddenFiles() const { return fAcceptHiddenFiles; }
  const TMaskList& ZipMasks() const { return fZipMasks; }
  const TMaskList& DirExcludeMasks() const { return fDirExcludeMasks; }
  const TMaskList& ExtExcludeMasks() const { return fExtExcludeMasks; }
  const TMaskList& Dirmasks() const { return fDirmasks; }
  const TMaskList& Filemasks() const { return fFilemasks; }

  TZipStartReadingEvent OnZipStartReading;
  TCheckFileAcceptableEvent OnCheckFileAcceptable;
  TFoundDirEvent OnFoundDir;
  TZipReadingEvent OnZipReading;
  TZipDoneReadingEvent OnDoneZipReading;
  TNotifyEvent OnZipProblem;

 private:
  void WalkSubfolders(const UnicodeString& folder, const UnicodeString& mask);
  bool LeftOutByAttributes(std::int32_t attr) const;
  bool IsZipName(const UnicodeString& name) const;
  void ZipProblem();

  UnicodeString fFilemaskStr;
  UnicodeString fZipExtension = u".zip";
  UnicodeString fZipInHand;
  UnicodeString fZipProblemReason;
  TMaskList fZipMasks;
  TMaskList fDirExcludeMasks;
  TMaskList fExtExcludeMasks;
  TMaskList fDirmasks;
  TMaskList fFilemasks;
  std::int32_t ftotal_files_in_zips = 0;
  std::int32_t fzips_examined = 0;
  std::int32_t fsubdir_counter = 0;
  std::int32_t ffiles_beyond_record_size = 0;
  bool fCheckingMACOS_files = false;
  bool fTreatZipsLikeAnyOtherFile = false;
  bool fAcceptSystemFiles = false;
  bool fAcceptHiddenFiles = false;
  bool fProcessing_Files = true;
  bool fExamineZips = false;
};

}  // namespace quill
