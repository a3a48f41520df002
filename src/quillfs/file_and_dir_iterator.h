#pragma once
// TFileAndDirIterator: how a tool chooses and walks its corpus.
//
// A walk (IterateFindingFiles) takes HeadDir, finds every folder below it (with
// IncludeSubFolders), sorts them with the head folder first, and lists each
// folder's files through the folder walker (quillrt files/peruse_dir.h) into one
// TFolderful per folder. The files of the whole walk are numbered from 0 across
// the folders: each TFolderful's Starts and Ends hold the numbers of its first
// and last file (2147483647 and -1 for a folder without files), so the folder of
// the k-th file is found without scanning. ProcessAllFilesFound then hands the
// files over one by one through OnProcessingAFile.
//
// The result of a walk can be saved as a favourites file and read back without
// walking the disk again:
//
//   int32   signature: CurrentSignature of the running tool (current_tool_var)
//   uint8   ReadZipfiles          uint8  IncludeSubFolders
//   int32   total number of files uint8  SortOrder (ordinal)
//   string  HeadDir, DirMask, FileMask  (counted UTF-16 strings)
//   int32   N, the number of folders
//   N times: string (the folder's name), then the folder in TFolderful's stream form
//
// Numbers are little-endian. The zip mask, the exclusions and the attribute
// options are not stored. A folder that vanished before it was listed is stored
// as its name followed by an empty TFolderful, so reading gives back the same
// folders and numbering.
//
// Everything runs on the caller's thread, with one exception: with
// ListingThreads above 1, a walk that reads no archive, has no
// OnCheckFileAcceptable handler and finds no yield hook installed lists its
// folders on several threads at once (nothing of the caller's runs there), and
// then raises the folders' events in order on the caller's thread. The walk and
// the hand-over yield (MyYieldProcess) after every folder and file; Stop may be
// called from what runs during a yield or from any event. What would free the folders in use
// (Clear, a new walk, reading favourites, FreeAFolderFul) raises
// EIteratorBusy while a walk, hand-over, detailed list or search runs.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "quillfs/quillfs_export.h"
#include "quillrt/files/file_records.h"
#include "quillrt/files/folder_efficient_file_list.h"
#include "quillrt/files/folderful.h"
#include "quillrt/files/peruse_dir.h"
#include "quillrt/files/search_rec_list.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"

namespace quill {

// A folder with its 1-based number, the number of folders, and its number of files.
using TProcessingAFolderEvent =
    std::function<void(const UnicodeString& DirName, int n, int out_of, int valid_files_within)>;
using TOnDoneSubFoldersEvent = std::function<void(int folders)>;
using TOnDoneFileIteratingEvent = std::function<void(int zips_examined)>;

using TFolderfulArray = std::vector<std::unique_ptr<TFolderful>>;

// A folder name with the record of one file found in it.
struct TDirAndSearchRec {
  UnicodeString Dir;
  TMySearchRec SR;
};

// File attribute kinds, for the tools' own filters.
enum filehandletype : std::uint8_t { anyf, readonlyf, hiddenf, systemf, archivef };

// A set of filehandletype values as a bit mask.
class filehandleset {
 public:
  constexpr filehandleset() = default;
  constexpr filehandleset(std::initializer_list<filehandletype> members) {
    for (const filehandletype member : members) Include(member);
  }
  constexpr bool Contains(filehandletype value) const { return (bits_ >> value & 1u) != 0; }
  constexpr void Include(filehandletype value) { bits_ = static_cast<std::uint8_t>(bits_ | 1u << value); }
  constexpr void Exclude(filehandletype value) { bits_ = static_cast<std::uint8_t>(bits_ & ~(1u << value)); }
  constexpr bool Empty() const { return bits_ == 0; }

 private:
  std::uint8_t bits_ = 0;
};

// A favourites file that cannot be read ("Cannot read: <name>") or written
// ("Cannot write to: <name>").
class QUILLFS_API EFavouritesError : public EInOutError {
 public:
  using EInOutError::EInOutError;
  ~EFavouritesError() override;
};

// Clear, a walk, reading favourites or FreeAFolderFul asked for from inside a
// running walk, hand-over, detailed list or search.
class QUILLFS_API EIteratorBusy : public Exception {
 public:
  using Exception::Exception;
  ~EIteratorBusy() override;
};

// Starts of a folder without files, and its Ends.
inline constexpr std::int32_t kNoFilesStarts = 2147483647;
inline constexpr std::int32_t kNoFilesEnds = -1;

class QUILLFS_API TFileAndDirIterator : public TObject {
 public:
  // HeadDir starts as the user's temporary folder and Favourites as the file
  // "favourite files.txt" in it; the owner is not used.
  explicit TFileAndDirIterator(TObject* AOwner = nullptr);
  ~TFileAndDirIterator() override;
  TFileAndDirIterator(const TFileAndDirIterator&) = delete;
  TFileAndDirIterator& operator=(const TFileAndDirIterator&) = delete;

  // Walks the disk from HeadDir and fills the folders; sets ProcessingFiles.
  void IterateFindingFiles();
  // Hands every file of the last walk (or of favourites read) to OnProcessingAFile,
  // while ProcessingFiles is set (the tool sets it, or a walk has left it set).
  // At most NorfolkSquare - 1 files are handed over.
  void ProcessAllFilesFound();
  // Ends a running walk or hand-over after the file in hand.
  void Stop();
  // Forgets the folders and files of the last walk.
  void Clear();

  // Writes the favourites file (atomically); true. Raises EFavouritesError.
  bool SaveFavourites();
  // Replaces the result by the favourites file's. False, with the result
  // cleared, when the file was written by another tool; a missing or damaged
  // file raises EFavouritesError and leaves the result cleared.
  bool ReadFavourites();
  // The same forms on a stream. Stream failures and damaged contents raise
  // EStreamError (or a kind of it); the result is then left cleared.
  void SaveFavouritesTo(TStream& stream) const;
  bool ReadFavouritesFrom(TStream& stream);

  // Fills DetailedListOfAllFiles with every file of the walk, each under its
  // folder (numbered as in the list's own folders), and sorts it by sort1,
  // then sort2.
  void BuildDetailedList(TMySimpleSearchRecSort sort1, TMySimpleSearchRecSort sort2);
  // The full name of the first file, in walk order, whose short name equals
  // aShortFilename ignoring ASCII case; empty when there is none.
  UnicodeString FoundMatch(const UnicodeString& aShortFilename) const;
  // The full names of the files on disk matching the wildcard pattern in each
  // folder of the walk (looking at the disk again, not at the lists), in the
  // order the system lists them. Stop ends the search.
  std::unique_ptr<TStringList> FoundMatchesWildcarded(const UnicodeString& aShortFilename) const;
  // Frees the folder at `index`; nothing when out of range or already empty.
  void FreeAFolderFul(int index);

  // The walk's result.
  int DirCount() const { return fDircount; }
  int Total() const { return fTotal; }
  int HeadDirFiles() const { return fHeadDirFiles; }
  // True after a walk of the disk in which every file listed had a size its
  // record holds whole (under 4 GB): the records' sizes and attributes are
  // then as measured by the walk. False before a walk, after reading
  // favourites (stored records) or when a larger file was listed.
  bool RecordsMeasuredWhole() const { return fRecordsMeasuredWhole; }
  const TStringList& Dirs() const { return fDirs; }
  // The folder at `index`; null when out of range or empty.
  TFolderful* Folder(int index) const;
  const TFolderfulArray& Folders() const { return fFolders; }

  // Settings.
  bool ProcessingFiles() const { return fprocessing_files; }
  void SetProcessingFiles(bool value) { fprocessing_files = value; }
  bool ReadZipfiles() const { return fReadZipfiles; }
  void SetReadZipfiles(bool value) { fReadZipfiles = value; }
  bool TreatZipsLikeAnyOtherFile() const { return fTreatZipsLikeAnyOtherFile; }
  void SetTreatZipsLikeAnyOtherFile(bool value) { fTreatZipsLikeAnyOtherFile = value; }
  bool IncludeSubFolders() const { return fIncludeSubDirectories; }
  void SetIncludeSubFolders(bool value) { fIncludeSubDirectories = value; }
  bool AcceptSystemFiles() const { return fAcceptSystemFiles; }
  void SetAcceptSystemFiles(bool value) { fAcceptSystemFiles = value; }
  bool AcceptHiddenFiles() const { return fAcceptHiddenFiles; }
  void SetAcceptHiddenFiles(bool value) { fAcceptHiddenFiles = value; }
  bool ExcludingMACOS_files() const { return fCheckingMACOS_files; }
  void SetExcludingMACOS_files(bool value) { fCheckingMACOS_files = value; }
  // Threads listing folders at once during a walk (see above): 1, the
  // default, lists them one by one; 0 asks for one per core.
  int ListingThreads() const { return fListingThreads; }
  void SetListingThreads(int value) { fListingThreads = value < 0 ? 1 : value; }
  // The threads the last walk listed its folders with.
  int LastListingThreads() const { return fLastListingThreads; }
  TMySearchRecSort SortOrder() const { return fSortOrder; }
  void SetSortOrder(TMySearchRecSort value) { fSortOrder = value; }
  const UnicodeString& Favourites() const { return fFavouritesFilename; }
  void SetFavourites(const UnicodeString& value) { fFavouritesFilename = value; }
  const UnicodeString& ExcludedFoldersMask() const { return fExcluded_dirs_mask; }
  void SetExcludedFoldersMask(const UnicodeString& value) { fExcluded_dirs_mask = value; }
  const UnicodeString& ExcludedExtensions() const { return fExcludedExts; }
  void SetExcludedExtensions(const UnicodeString& value) { fExcludedExts = value; }
  const UnicodeString& HeadDir() const { return fHeadDir; }
  void SetHeadDir(const UnicodeString& value) { fHeadDir = value; }
  const UnicodeString& ZipMask() const { return fZipMask; }
  void SetZipMask(const UnicodeString& value) { fZipMask = value; }
  const UnicodeString& DirMask() const { return fDirMask; }
  void SetDirMask(const UnicodeString& value) { fDirMask = value; }
  const UnicodeString& FileMask() const { return fFileMask; }
  void SetFileMask(const UnicodeString& value) { fFileMask = value; }

  // Events.
  TProcessingAFileEvent OnProcessingAFile;        // one file handed to the tool
  TProcessingAFolderEvent OnProcessingAFolder;    // a folder is about to be handed over
  TFoundDirEvent OnBuildingDetailedList;          // a folder is being added to the detailed list
  TFoundDirEvent OnFoundDir;                      // a folder was found
  TAllFilesProgressEvent OnFilesProgress;         // percent of the files handed over
  TMyDirProgressEvent OnDirProgress;              // folder i (from 0) was listed
  TCheckFileAcceptableEvent OnCheckFileAcceptable;  // passed to the walker
  TNotifyEvent OnZipProblem;                      // passed to the walker
  TZipReadingEvent OnZipReading;                  // passed to the walker
  TZipStartReadingEvent OnZipStartReading;        // passed to the walker
  TOnDoneSubFoldersEvent OnDoneSubFolders;        // the folder search ended
  TOnDoneFileIteratingEvent OnDoneFileIterating;  // the walk ended
  TProcessingAFolderEvent OnDirExamining;         // a folder has been listed

  std::int32_t doing = 0;                    // files handed over so far
  std::int32_t NorfolkSquare = 2147483647;   // the hand-over ends when `doing` reaches it
  TFolderEfficientFileStringlist DetailedListOfAllFiles;

 private:
  void RefuseWhileRunning(const char* what) const;
  std::unique_ptr<TPeruseDir> MakeWalker();
  void AddAFolder(const UnicodeString& name);
  void FindFolders();
  void ListFolder(int i);
  void FillFolder(int i, TPeruseDir* walker);
  void FinishFolder(int i);
  int ThreadsForListing() const;
  void ListFoldersAtOnce(int threads);

  bool fprocessing_files = false;
  bool fReadZipfiles = true;
  bool fTreatZipsLikeAnyOtherFile = false;
  bool fIncludeSubDirectories = false;
  bool fAcceptSystemFiles = false;
  bool fAcceptHiddenFiles = false;
  bool fCheckingMACOS_files = false;
  int fListingThreads = 1;
  int fHelpersFilesBeyondRecordSize = 0;  // counted by the walk's other listing threads
  int fLastListingThreads = 0;
  TFolderfulArray fFolders;
  TStringList fDirs;
  std::unique_ptr<TPeruseDir> fPeruseDir;  // alive only during a walk
  std::uint32_t fStops = 0;                // Stop calls so far, so searches can notice one
  mutable int fRunning = 0;                // walks, hand-overs and searches in progress
  friend class TRunningGuard;
  std::int32_t fHeadDirFiles = 0;
  std::int32_t fDircount = 0;
  std::int32_t fTotal = 0;
  bool fRecordsMeasuredWhole = false;
  TMySearchRecSort fSortOrder = sr_sort_by_name;
  UnicodeString fFavouritesFilename;
  UnicodeString fExcluded_dirs_mask;
  UnicodeString fExcludedExts;
  UnicodeString fHeadDir;
  UnicodeString fZipMask = u"*.*";
  UnicodeString fDirMask = u"*.*";
  UnicodeString fFileMask = u"*.*";
};

}  // namespace quill
