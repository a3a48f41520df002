#pragma once
// TFileChunker: cuts one large file into numbered chunk files of a fixed size,
// so that it can travel in pieces, and rebuilds it from such a set.
//
// Making a set (MakeChunkFiles) writes "chunk 1 of n.tmp" ... into DirCreating,
// asking for a new disk through the message hook when the folder's file system
// is short of space. Restoring (RestoreAllChunks) starts from chunk 1, named in
// Sourcename, and rebuilds the file in DirRestoring under its stored name.
// The format is described in chunk_format.h.
//
// A restore never leaves a damaged file behind: the data goes to a temporary
// file beside the target, which takes the target's name only when every chunk
// was there, in order, of the right length, with its checksum agreeing (and,
// when the set has a manifest, every chunk's and the whole file's SHA-256). A
// chunk that fails is named in LastProblem. With DeleteAfterRestore the chunks
// are deleted only after the whole restore succeeded.
//
// Questions go through the message-box hook (platform/dialogs.h): "Change Disk"
// (OK / Cancel; Cancel ends the operation), "No room" (OK deletes the files of
// the target folder through DeleteAllFilesOn, which asks again), and the
// overwrite questions (Yes / No). The default hook answers Cancel / No, so an
// unattended run never deletes or overwrites anything.
#include <cstdint>
#include <functional>
#include <memory>

#include "quillfs/chunk_format.h"
#include "quillfs/chunk_manifest.h"
#include "quillfs/quillfs_export.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/process/callbacks.h"

namespace quill {

class THashingCopier;

// A chunk set that cannot be made: "Copy failure" when fewer chunks were
// written than the set needs, a chunk size with no room for data, a source name
// the header cannot hold, "Zip operation failed".
class QUILLFS_API EChunkError : public EInOutError {
 public:
  using EInOutError::EInOutError;
  ~EChunkError() override;
};

// After each chunk written or restored: its file name, its number from 1 and the
// number of chunks in the set.
using TOnChunkFileMadeEvent = std::function<void(const UnicodeString& filename, std::int32_t number, std::int32_t out_of)>;
using TOnRestoreFileEvent = std::function<void(const UnicodeString& filename, std::int32_t number, std::int32_t out_of)>;
// Before each chunk, when WaitForNewDisk is set: the number (from 1) of the
// chunk about to be written or read.
using TOnNewDiskNeededEvent = std::function<void(std::int32_t num_done)>;

class QUILLFS_API TFileChunker : public TObject {
 public:
  // The folders start as the current folder; the owner is not used.
  explicit TFileChunker(TObject* AOwner = nullptr);
  ~TFileChunker() override;
  TFileChunker(const TFileChunker&) = delete;
  TFileChunker& operator=(const TFileChunker&) = delete;

  // Cuts Sourcename into chunk files in DirCreating. Returns the number of chunks
  // written; 0 when the source does not exist. Raises EChunkError "Copy failure"
  // when the set could not be completed (a stop, a refused disk or overwrite;
  // the chunks already written stay), and EChunkError for a ChunkSize that leaves
  // no room for data. File errors pass through. Each chunk file appears whole or
  // not at all. With WriteManifest, the manifest is written beside chunk 1.
  std::int32_t MakeChunkFiles();

  // Rebuilds the file of the set whose chunk 1 is Sourcename. True when the file
  // was restored and checked whole; false, with LastProblem saying why, when
  // chunk 1 is missing or not the first chunk of a set, a chunk is missing,
  // damaged, cut short, out of order or from another set, an overwrite was
  // refused or the operation was stopped. The target is then untouched.
  bool RestoreAllChunks();

  // Ends the running operation after the chunk in hand.
  void Stop();

  // --- settings -------------------------------------------------------------
  std::int32_t ChunkSize() const { return fChunksize; }
  void SetChunkSize(std::int32_t size) { fChunksize = size; }
  bool DeleteAfterRestore() const { return fDeleteChunksAfterwards; }
  void SetDeleteAfterRestore(bool value) { fDeleteChunksAfterwards = value; }
  bool WaitForNewDisk() const { return fWaitForNewDisk; }
  void SetWaitForNewDisk(bool value) { fWaitForNewDisk = value; }
  // Compress the source into a zip archive in memory and cut the archive (whose
  // bytes a restore gives back unchanged). The archive is held in memory whole.
  bool ZipToo() const { return fZiptoo; }
  void SetZipToo(bool value) { fZiptoo = value; }
  std::uint16_t PackLevel() const { return fPackLevel; }
  void SetPackLevel(std::uint16_t level) { fPackLevel = level; }
  const UnicodeString& DirCreating() const { return fDirCreating; }
  void SetDirCreating(const UnicodeString& folder) { fDirCreating = folder; }
  const UnicodeString& DirRestoring() const { return fDirRestoring; }
  void SetDirRestoring(const UnicodeString& folder) { fDirRestoring = folder; }
  const UnicodeString& DirWorking() const { return fDirWorking; }
  void SetDirWorking(const UnicodeString& folder) { fDirWorking = folder; }
  const UnicodeString& Sourcename() const { return fSourcename; }
  void SetSourcename(const UnicodeString& name) { fSourcename = name; }
  // Write the SHA-256 manifest beside a new set (off by default).
  bool WriteManifest() const { return fWriteManifest; }
  void SetWriteManifest(bool value) { fWriteManifest = value; }
  // The full name to restore to instead of DirRestoring + the stored file name
  // (empty: the stored name).
  const UnicodeString& RestoreAs() const { return fRestoreAs; }
  void SetRestoreAs(const UnicodeString& name) { fRestoreAs = name; }

  // --- state ----------------------------------------------------------------
  // After MakeChunkFiles: empty. After RestoreAllChunks: the chunks looked at.
  const TStringList& ChunkerFilenames() const { return *fChunks; }
  const UnicodeString& FirstFileInSet() const { return fFirstFileInSet; }
  const UnicodeString& RestoredName() const { return fRestoredName; }
  bool Processing() const { return processing; }
  // Why the last operation failed or was refused ("" after a success).
  const UnicodeString& LastProblem() const { return fLastProblem; }
  // The last restore was checked against a manifest (a strong check of every
  // byte); false when the set has none.
  bool ManifestVerified() const { return fManifestVerified; }
  // The set's figures after an operation: chunks, attributes and time of the
  // source, and the checksum of the chunk last read.
  std::int32_t OutOf() const { return fOut_of; }
  std::int32_t SourceAttributes() const { return fAttributos; }
  TDateTime SourceDate() const { return fDataArquivo; }
  std::uint32_t LastChecksum() const { return ftest_CheckSum; }

  TOnChunkFileMadeEvent OnChunkMade;
  TOnRestoreFileEvent OnRestoreOne;
  TOnNewDiskNeededEvent OnNewDiskNeeded;

 private:
  class TSourceData;
  struct TRestorePlan;

  void StripFolderDelimiters();
  TChunkSetHeader HeaderForSource(std::int64_t source_size);
  std::unique_ptr<TSourceData> OpenSource();
  void WriteChunk(TSourceData& source, const TChunkSetHeader& header, std::int32_t number,
                  const UnicodeString& name, TChunkManifest& manifest);
  bool fGetNewDisk(std::int32_t disk_number, std::int64_t bytes_needed, bool check_space, const UnicodeString& path);
  bool Refuse(const UnicodeString& why);
  bool PlanRestore(TRestorePlan& plan);
  bool RestoreInto(TStream& target, TRestorePlan& plan);
  bool RestoreOneChunk(TStream& target, TRestorePlan& plan, std::int32_t number);
  bool RefuseAgainstManifest(std::int32_t number, const UnicodeString& name);
  bool CheckChunkDigests(TRestorePlan& plan, bool wait);
  static void TakeChunkDigests(THashingCopier& copier, TChunkManifest& manifest, bool wait);
  void FinishRestoredFile(const TRestorePlan& plan);

  std::uint32_t ftest_CheckSum = 0;
  std::int32_t fAttributos = 0;
  std::int32_t fthis_filenum = 0;
  std::int32_t fOut_of = 0;
  std::int32_t fChunksize = kDefaultChunkSize;
  TDateTime fDataArquivo = 0;
  bool fDeleteChunksAfterwards = false;
  bool fWaitForNewDisk = false;
  bool fZiptoo = false;
  std::unique_ptr<TStringList> fChunks;
  UnicodeString fFirstFileInSet;
  UnicodeString fRestoredName;
  UnicodeString fDirCreating;
  UnicodeString fDirRestoring;
  UnicodeString fDirWorking;
  UnicodeString fSourcename;
  std::uint16_t fPackLevel = kDefaultPackLevel;
  bool processing = false;
  bool fWriteManifest = false;
  bool fManifestVerified = false;
  UnicodeString fRestoreAs;
  UnicodeString fLastProblem;
};

}  // namespace quill
