#include "quillfs/file_and_dir_iterator.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <filesystem>
#include <system_error>
#include <thread>

#include "quillrt/collections/stream_forms.h"
#include "quillrt/files/folder_queries.h"
#include "quillrt/files/masks.h"
#include "quillrt/files/zip_paths.h"
#include "quillrt/framework/file_names.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/process/yield.h"
#include "quillrt/vocabulary/tool_names.h"

namespace quill {

EFavouritesError::~EFavouritesError() = default;
EIteratorBusy::~EIteratorBusy() = default;

// Marks an operation that goes through the folders as running for its lifetime.
class TRunningGuard {
 public:
  explicit TRunningGuard(const TFileAndDirIterator& iterator) : iterator_(iterator) { ++iterator_.fRunning; }
  ~TRunningGuard() { --iterator_.fRunning; }
  TRunningGuard(const TRunningGuard&) = delete;
  TRunningGuard& operator=(const TRunningGuard&) = delete;

 private:
  const TFileAndDirIterator& iterator_;
};

namespace {

constexpr char16_t kFavouritesName[] = u"favourite files.txt";

// Listing is bound by the file system's calls: more threads than this gain
// nothing.
constexpr int kMostListingThreads = 4;

// Percent of `done` out of `total` (> 0), rounded to the nearest.
int PercentOf(std::int32_t done, std::int32_t total) {
  return static_cast<int>(std::lround(static_cast<double>(done) * 100.0 / static_cast<double>(total)));
}

// The private temporary folder is made on first use; a favourites file kept
// there needs it to exist.
void EnsureFolderOf(const UnicodeString& file_name) {
  const UnicodeString folder = ExcludeTrailingPathDelimiter(ExtractFilePath(file_name));
  if (folder == ExcludeTrailingPathDelimiter(my_temp_path)) ::mkdir(SystemPath(folder).c_str(), 0700);
}

// What a favourites file holds, read completely before it replaces anything.
struct TFavouritesContents {
  bool read_zips = false;
  bool include_subfolders = false;
  std::int32_t total = 0;
  TMySearchRecSort sort_order = sr_sort_none;
  UnicodeString head_dir, dir_mask, file_mask;
  TStringList dirs;
  TFolderfulArray folders;
};

// The numbering of the folders read must be the numbering of a walk: files
// numbered from 0 without gaps, folders without files marked as such, and the
// stored total their sum. Anything else would hand over wrong files or
// percentages beyond 100.
bool NumberingIsConsistent(const TFavouritesContents& contents) {
  std::int64_t next = 0;
  for (const auto& folder : contents.folders) {
    const int count = folder->ListOfFiles().Count();
    if (count == 0) {
      if (folder->Starts() != kNoFilesStarts || folder->Ends() != kNoFilesEnds) return false;
      continue;
    }
    if (folder->Starts() != next || folder->Ends() != next + count - 1) return false;
    next += count;
  }
  return next == contents.total;
}

void ReadFavouritesBody(TStream& stream, TFavouritesContents& contents) {
  contents.read_zips = stream.ReadLE<std::uint8_t>() != 0;
  contents.include_subfolders = stream.ReadLE<std::uint8_t>() != 0;
  contents.total = stream.ReadLE<std::int32_t>();
  const auto order = stream.ReadLE<std::uint8_t>();
  if (order >= kMySearchRecSortCount) throw EStreamError(u"sort order");
  contents.sort_order = static_cast<TMySearchRecSort>(order);
  contents.head_dir = IncludeTrailingPathDelimiter(ReadAString(stream));
  contents.dir_mask = ReadAString(stream);
  contents.file_mask = ReadAString(stream);
  const std::int32_t folders = stream.ReadLE<std::int32_t>();
  if (folders < 0) throw EStreamError(u"folder count");
  // Entries are made one by one as they are read, so a damaged count ends in a
  // read error rather than a huge allocation.
  for (std::int32_t i = 0; i < folders; ++i) {
    const UnicodeString name = ReadAString(stream);
    contents.dirs.Add(name);
    auto folder = std::make_unique<TFolderful>(name);
    folder->ReadFromStream(stream);
    contents.folders.push_back(std::move(folder));
  }
  if (!NumberingIsConsistent(contents)) throw EStreamError(u"folder numbering");
}

}  // namespace

TFileAndDirIterator::TFileAndDirIterator(TObject* /*AOwner*/)
    : fFavouritesFilename(IncludeTrailingPathDelimiter(my_temp_path) + kFavouritesName),
      fHeadDir(IncludeTrailingPathDelimiter(my_temp_path)) {}

TFileAndDirIterator::~TFileAndDirIterator() {
  // Destructors do not yield: the tool's pump must not run into a dying object.
  fFolders.clear();
}

void TFileAndDirIterator::RefuseWhileRunning(const char* what) const {
  if (fRunning > 0)
    throw EIteratorBusy(std::string("TFileAndDirIterator: ") + what + " while the folders are being gone through");
}

TFolderful* TFileAndDirIterator::Folder(int index) const {
  if (index < 0 || index >= static_cast<int>(fFolders.size())) return nullptr;
  return fFolders[static_cast<std::size_t>(index)].get();
}

std::unique_ptr<TPeruseDir> TFileAndDirIterator::MakeWalker() {
  auto walker = std::make_unique<TPeruseDir>(fFileMask, fDirMask, fZipMask, fExcluded_dirs_mask, fExcludedExts,
                                             fCheckingMACOS_files, fReadZipfiles, fTreatZipsLikeAnyOtherFile,
                                             fAcceptSystemFiles, fAcceptHiddenFiles);
  walker->OnFoundDir = [this](const UnicodeString& name) { AddAFolder(name); };
  walker->OnZipReading = OnZipReading;
  walker->OnZipStartReading = OnZipStartReading;
  walker->OnZipProblem = OnZipProblem;
  walker->OnCheckFileAcceptable = OnCheckFileAcceptable;
  return walker;
}

void TFileAndDirIterator::AddAFolder(const UnicodeString& name) {
  // Every folder carries its trailing delimiter, the head folder like the rest,
  // so that names compare and sort alike.
  const UnicodeString folder = IncludeTrailingPathDelimiter(name);
  fDirs.Add(folder);
  if (OnFoundDir) OnFoundDir(folder);
}

void TFileAndDirIterator::FindFolders() {
  AddAFolder(fHeadDir);
  if (fIncludeSubDirectories) {
    fPeruseDir->ProcessAllSubDirectories(fHeadDir);
    fDirs.Sort();  // case-insensitive, in the user's locale; the head folder, a prefix of all, comes first
  }
  fDircount = fDirs.Count();
  if (OnDoneSubFolders) OnDoneSubFolders(fPeruseDir->SubDirsFound());
  fFolders.clear();
  fFolders.resize(static_cast<std::size_t>(fDircount));
}

// Lists folder i and numbers its files after those of the folders before it.
// A folder that cannot be listed is skipped without a message (the tool's own
// events are outside that: what they raise goes to the caller). A folder
// interrupted by Stop is left empty, so that no folder holds part of its files.
void TFileAndDirIterator::ListFolder(int i) {
  FillFolder(i, fprocessing_files ? fPeruseDir.get() : nullptr);
  FinishFolder(i);
}

// Reads folder i's files into its slot with `walker` (none: left empty).
void TFileAndDirIterator::FillFolder(int i, TPeruseDir* walker) {
  const UnicodeString& name = fDirs[i];
  auto& slot = fFolders[static_cast<std::size_t>(i)];
  try {
    if (!DriveAndFolderExist(name)) return;
    slot = std::make_unique<TFolderful>(name);
    slot->SetStarts(kNoFilesStarts);
    slot->SetEnds(kNoFilesEnds);
    slot->FillList(walker);
  } catch (const std::exception&) {
    slot.reset();
  }
}

// Numbers folder i's files after those before it and tells about it.
void TFileAndDirIterator::FinishFolder(int i) {
  const UnicodeString& name = fDirs[i];
  const auto& slot = fFolders[static_cast<std::size_t>(i)];
  if (!slot) return;
  TFolderful& folder = *slot;
  if (!fprocessing_files) folder.ListOfFiles().Clear();
  const int files = folder.Count();
  if (OnDirExamining) OnDirExamining(name, i + 1, fDircount, files);
  if (files > 0) {
    folder.SetStarts(fTotal);
    fTotal += files;
    folder.SetEnds(fTotal - 1);
    if (SameText(name, fHeadDir)) fHeadDirFiles = files;
    folder.SetCurrentSort(fSortOrder);
  }
  folder.Setdirnum(i);
  if (OnDirProgress) OnDirProgress(i);
}

void TFileAndDirIterator::IterateFindingFiles() {
  RefuseWhileRunning("a new walk");
  fprocessing_files = true;
  fPeruseDir = MakeWalker();
  try {
    Clear();
    const TRunningGuard running(*this);
    fHeadDir = IncludeTrailingPathDelimiter(fHeadDir);
    fHeadDirFiles = 0;
    fHelpersFilesBeyondRecordSize = 0;
    FindFolders();
    fLastListingThreads = ThreadsForListing();
    if (const int threads = fLastListingThreads; threads > 1) {
      ListFoldersAtOnce(threads);
    } else {
      for (int i = 0; i < fDircount && fprocessing_files; ++i) {
        MyYieldProcess();
        if (!fprocessing_files) break;  // Stop during the yield
        ListFolder(i);
      }
    }
  } catch (...) {
    if (OnDoneFileIterating) OnDoneFileIterating(fPeruseDir->ZipsExamined());
    fPeruseDir.reset();
    throw;
  }
  const int zips = fPeruseDir->ZipsExamined();
  fRecordsMeasuredWhole =
      fprocessing_files && fPeruseDir->FilesBeyondRecordSize() == 0 && fHelpersFilesBeyondRecordSize == 0;
  fPeruseDir.reset();
  if (OnDoneFileIterating) OnDoneFileIterating(zips);
}

// The threads a walk lists its folders with: more than one only where nothing
// of the caller's could run on them (no archive read, no acceptance handler,
// no yield hook), and never more than folders.
int TFileAndDirIterator::ThreadsForListing() const {
  if (fListingThreads == 1 || fDircount < 2 || fReadZipfiles || OnCheckFileAcceptable || AYieldProcessProc) return 1;
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return std::min({fListingThreads == 0 ? cores : fListingThreads, fDircount, kMostListingThreads});
}

// Lists every folder, each thread taking the next folder not yet taken with a
// walker of its own (the caller's thread with the walk's own), and then
// numbers the folders and raises their events in order, as a listing one by
// one would. A Stop from those events leaves the folders after it empty.
void TFileAndDirIterator::ListFoldersAtOnce(int threads) {
  std::atomic<int> next{0};
  std::atomic<int> beyond_record_size{0};
  const auto list_taken = [&](TPeruseDir& walker) {
    for (int i = next.fetch_add(1); i < fDircount; i = next.fetch_add(1)) FillFolder(i, &walker);
  };
  {
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(threads - 1));
    std::vector<std::jthread> helpers;
    for (int t = 0; t + 1 < threads; ++t) {
      const auto list_on_helper = [&, t] {
        try {
          std::unique_ptr<TPeruseDir> walker = MakeWalker();
          walker->OnFoundDir = nullptr;
          list_taken(*walker);
          beyond_record_size += walker->FilesBeyondRecordSize();
        } catch (...) {
          failures[static_cast<std::size_t>(t)] = std::current_exception();
          next = fDircount;  // the others stop taking folders
        }
      };
      try {
        helpers.emplace_back(list_on_helper);
      } catch (const std::system_error&) {
        break;  // no more threads to be had: those running list the rest
      }
    }
    try {
      list_taken(*fPeruseDir);
    } catch (...) {
      next = fDircount;
      helpers.clear();  // joins them
      throw;
    }
    helpers.clear();
    for (const std::exception_ptr& failure : failures)
      if (failure) std::rethrow_exception(failure);
  }
  fHelpersFilesBeyondRecordSize = beyond_record_size;
  for (int i = 0; i < fDircount; ++i) {
    if (fprocessing_files) MyYieldProcess();
    if (fprocessing_files)
      FinishFolder(i);
    else
      fFolders[static_cast<std::size_t>(i)].reset();  // stopped before it: as if never listed
  }
}

void TFileAndDirIterator::ProcessAllFilesFound() {
  doing = 0;
  if (fTotal <= 0) return;
  const TRunningGuard running(*this);
  for (int i = 0; i < static_cast<int>(fFolders.size()) && fprocessing_files; ++i) {
    const TFolderful* folder = Folder(i);
    if (folder == nullptr) continue;
    if (OnProcessingAFolder) OnProcessingAFolder(fDirs[i], i + 1, fDircount, folder->Count());
    for (int j = 0; fprocessing_files && j < folder->Count(); ++j) {
      ++doing;
      if (doing >= NorfolkSquare) return;
      if (OnFilesProgress) OnFilesProgress(PercentOf(doing, fTotal));
      if (OnProcessingAFile) OnProcessingAFile(folder->FullName(j), folder->SearchRec(j));
      MyYieldProcess();
    }
  }
}

void TFileAndDirIterator::Stop() {
  fprocessing_files = false;
  ++fStops;
  MyYieldProcess();
  for (const auto& folder : fFolders)
    if (folder) folder->SetProcessing_Files(false);
  if (fPeruseDir) fPeruseDir->SetProcessing_Files(false);
  MyYieldProcess();
}

void TFileAndDirIterator::Clear() {
  RefuseWhileRunning("Clear");
  fDirs.Clear();
  fTotal = 0;
  fRecordsMeasuredWhole = false;
  fDircount = 0;
  fHeadDirFiles = 0;
  // Taken out first: a yield may run code that looks at the folders.
  TFolderfulArray folders = std::move(fFolders);
  fFolders.clear();
  for (auto& folder : folders) {
    if (!folder) continue;
    MyYieldProcess();
    folder.reset();
  }
}

void TFileAndDirIterator::FreeAFolderFul(int index) {
  RefuseWhileRunning("FreeAFolderFul");
  if (index < 0 || index >= static_cast<int>(fFolders.size())) return;
  fFolders[static_cast<std::size_t>(index)].reset();
}

void TFileAndDirIterator::SaveFavouritesTo(TStream& stream) const {
  stream.WriteLE<std::int32_t>(CurrentSignatureOf(current_tool_var));
  stream.WriteLE<std::uint8_t>(fReadZipfiles ? 1 : 0);
  stream.WriteLE<std::uint8_t>(fIncludeSubDirectories ? 1 : 0);
  stream.WriteLE<std::int32_t>(fTotal);
  stream.WriteLE<std::uint8_t>(fSortOrder);
  WriteAString(stream, fHeadDir);
  WriteAString(stream, fDirMask);
  WriteAString(stream, fFileMask);
  stream.WriteLE<std::int32_t>(fDirs.Count());
  for (int i = 0; i < fDirs.Count(); ++i) {
    WriteAString(stream, fDirs[i]);
    if (const TFolderful* folder = Folder(i)) {
      folder->SaveToStream(stream);
      continue;
    }
    // A folder that was never listed: stored empty, numbered as one without files.
    TFolderful empty(fDirs[i]);
    empty.SetStarts(kNoFilesStarts);
    empty.SetEnds(kNoFilesEnds);
    empty.Setdirnum(i);
    empty.SaveToStream(stream);
  }
}

bool TFileAndDirIterator::SaveFavourites() {
  try {
    EnsureFolderOf(fFavouritesFilename);
    // Built in memory and written in one piece: the file stream does not buffer,
    // and a walk's favourites hold several small fields per file.
    TMemoryStream contents;
    SaveFavouritesTo(contents);
    WriteFileAtomically(fFavouritesFilename, [&contents](TStream& stream) {
      stream.WriteBuffer(contents.Memory(), contents.GetSize());
      return true;
    });
  } catch (const std::exception&) {
    throw EFavouritesError(u"Cannot write to: " + fFavouritesFilename);
  }
  return true;
}

bool TFileAndDirIterator::ReadFavourites() {
  Clear();
  try {
    // One sequential read, then the fields from memory.
    TMemoryStream contents;
    {
      TFileStream file(fFavouritesFilename, fmOpenRead | fmShareDenyNone);
      contents.CopyFrom(file, 0);
    }
    contents.SetPosition(0);
    return ReadFavouritesFrom(contents);
  } catch (const std::exception&) {
    throw EFavouritesError(u"Cannot read: " + fFavouritesFilename);
  }
}

bool TFileAndDirIterator::ReadFavouritesFrom(TStream& stream) {
  Clear();
  if (stream.ReadLE<std::int32_t>() != CurrentSignatureOf(current_tool_var)) return false;
  TFavouritesContents contents;
  ReadFavouritesBody(stream, contents);
  fReadZipfiles = contents.read_zips;
  fIncludeSubDirectories = contents.include_subfolders;
  fTotal = contents.total;
  fSortOrder = contents.sort_order;
  fHeadDir = contents.head_dir;
  fDirMask = contents.dir_mask;
  fFileMask = contents.file_mask;
  fDirs.Assign(contents.dirs);
  fFolders = std::move(contents.folders);
  fDircount = fDirs.Count();
  fHeadDirFiles = 0;
  for (const auto& folder : fFolders)
    if (SameText(folder->DirName(), fHeadDir)) fHeadDirFiles = folder->Count();
  return true;
}

void TFileAndDirIterator::BuildDetailedList(TMySimpleSearchRecSort sort1, TMySimpleSearchRecSort sort2) {
  DetailedListOfAllFiles.Clear();
  const TRunningGuard running(*this);
  if (fTotal > 0) {
    for (int i = 0; i < static_cast<int>(fFolders.size()); ++i) {
      MyYieldProcess();
      const TFolderful* folder = Folder(i);
      if (folder == nullptr) continue;
      if (OnBuildingDetailedList) OnBuildingDetailedList(fDirs[i]);
      const UnicodeString folder_name = ExcludeTrailingPathDelimiter(folder->DirName());
      for (int j = 0; j < folder->Count(); ++j) {
        MyYieldProcess();
        TMySimpleSearchRec rec = folder->SimpleSearchRec(j);
        rec.folder_number = i;
        DetailedListOfAllFiles.AddOne(folder_name, rec);
      }
    }
  }
  DetailedListOfAllFiles.DoASort(sort1, sort2, true);
}

UnicodeString TFileAndDirIterator::FoundMatch(const UnicodeString& aShortFilename) const {
  if (fTotal <= 0) return {};
  const TRunningGuard running(*this);
  for (const auto& folder : fFolders) {
    if (!folder) continue;
    for (int j = 0; j < folder->Count(); ++j) {
      MyYieldProcess();
      if (SameText(folder->ShortName(j), aShortFilename)) return folder->FullName(j);
    }
  }
  return {};
}

std::unique_ptr<TStringList> TFileAndDirIterator::FoundMatchesWildcarded(const UnicodeString& aShortFilename) const {
  auto found = std::make_unique<TStringList>();
  if (fTotal <= 0) return found;
  const TRunningGuard running(*this);
  const std::uint32_t stops_before = fStops;
  for (const auto& folder : fFolders) {
    MyYieldProcess();
    if (fStops != stops_before) break;
    if (!folder) continue;
    std::error_code error;
    for (std::filesystem::directory_iterator it(SystemPath(folder->DirName()), error), end; !error && it != end;
         it.increment(error)) {
      if (!it->is_regular_file(error)) continue;
      const UnicodeString name = FileNameToUtf16(it->path().filename().string());
      if (MatchesMask(name, aShortFilename)) found->Add(folder->DirName() + name);
    }
  }
  return found;
}

}  // namespace quill
