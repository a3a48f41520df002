#include "quillfs/file_chunker.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "quillfs/chunk_copying.h"
#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/files/drives_and_volumes.h"
#include "quillrt/files/file_operations.h"
#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/code_pages.h"
#include "quillrt/platform/dialogs.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/platform/mount_table.h"
#include "quillrt/process/yield.h"

namespace quill {

EChunkError::~EChunkError() = default;

namespace {

// The component's own texts (the message catalogue has no keys for them).
constexpr char16_t kChangeDiskCaption[] = u"Change Disk";
constexpr char16_t kInsertDisk[] = u"Insert disk ";
constexpr char16_t kIn[] = u" in ";
constexpr char16_t kNoRoomCaption[] = u"No room";
constexpr char16_t kPressOKToDelete[] = u"Press OK to delete all files on ";
constexpr char16_t kOrFormat[] = u"or format it yourself before proceeding";
constexpr char16_t kCopyFailure[] = u"Copy failure";
constexpr char16_t kZipFailed[] = u"Zip operation failed";

// Rounds of "No room" (delete, still short) before giving up, so that a hook that
// always answers OK cannot keep the operation asking for ever.
constexpr int kMaxNoRoomRounds = 10;

// Keeps `flag` set while an operation runs and clears it however it ends.
class TProcessingScope {
 public:
  explicit TProcessingScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TProcessingScope() { flag_ = false; }
  TProcessingScope(const TProcessingScope&) = delete;
  TProcessingScope& operator=(const TProcessingScope&) = delete;

 private:
  bool& flag_;
};

// The drive a path lies on, as the disk questions name it: its mount point.
UnicodeString DriveOf(const UnicodeString& path) {
  UnicodeString drive;
  if (!PathDrive(ExpandFileName(path), drive)) return path;
  return drive.empty() ? UnicodeString(u"/") : drive;
}

// Free bytes on the file system of `folder`; the largest value when it cannot be
// told (the write itself will then say what is wrong).
std::uint64_t FreeSpaceOf(const UnicodeString& folder) {
  std::uint64_t bytes = 0;
  if (!FreeBytesAvailable(folder.empty() ? UnicodeString(u".") : folder, bytes)) return UINT64_MAX;
  return bytes;
}

bool AskYesNo(const UnicodeString& question) {
  return ShowMessageBox(u"Confirmation", question, MB_ICONQUESTION, MB_YESNO) == IDYES;
}

// The source's path as chunk 1 stores it: the full path when it fits the one-byte
// length, else the file name alone (which is all a restore uses).
AnsiString StoredNameFor(const UnicodeString& source) {
  AnsiString stored = UnicodeToAnsi(source, CP_ACP);
  if (stored.size() > static_cast<std::size_t>(kMaxStoredNameLength)) stored = UnicodeToAnsi(ExtractFileName(source), CP_ACP);
  if (stored.empty() || stored.size() > static_cast<std::size_t>(kMaxStoredNameLength)) {
    throw EChunkError(u"The file name of \"" + source + u"\" is longer than a chunk set can store (255 bytes)");
  }
  return stored;
}

// A read-only source comes back read-only; the other attribute bits describe
// what the file system decides by itself (kind, name).
bool ApplyStoredAttributes(const UnicodeString& name, std::int32_t attributes) {
  if ((attributes & faReadOnly) == 0) return true;
  struct stat info {};
  const std::string path = SystemPath(name);
  if (::stat(path.c_str(), &info) != 0) return false;
  return ::chmod(path.c_str(), info.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Large files are synced before they take their name. Handing the written data
// to the disk every few megabytes, without waiting, lets the disk work while the
// copy goes on, so that the final sync has little left to do.
class TEarlyWriteBack {
 public:
  // How much is written between two hand-overs to the disk.
  static constexpr std::int64_t kStep = 8LL << 20;

  explicit TEarlyWriteBack(TStream& out) {
    if (const auto* file = dynamic_cast<const TFileStream*>(&out)) fd_ = file->Handle();
  }
  void Written(std::int64_t count) {
    pending_ += count;
    if (fd_ < 0 || pending_ < kStep) return;
    ::sync_file_range(fd_, start_, pending_, SYNC_FILE_RANGE_WRITE);
    start_ += pending_;
    pending_ = 0;
  }

 private:
  int fd_ = -1;
  std::int64_t start_ = 0;
  std::int64_t pending_ = 0;
};

// Copies `count` bytes of a chunk's data from `in` to `out` and returns the
// checksum of their last block, the only part of them that has to be looked at:
// the bytes before that block move inside the kernel where the files allow it,
// the rest through `buffer` (a whole number of blocks long) in pieces that end
// on block boundaries, so that the last piece holds the whole last block.
// Raises EReadError with `cut_short` when `in` ends early.
std::uint32_t CopyDataUnseen(TStream& in, TStream& out, std::int64_t count, std::vector<unsigned char>& buffer,
                             TEarlyWriteBack& write_back, const UnicodeString& cut_short) {
  if (count == 0) return 0;
  const std::int64_t last_block = (count - 1) / kChunkCopyBlock * kChunkCopyBlock;
  // In steps of the write-back, so that the disk writes while the copy goes on.
  std::int64_t done = 0;
  while (done < last_block) {
    const std::int64_t step = std::min(last_block - done, TEarlyWriteBack::kStep);
    const std::int64_t moved = CopyInsideKernel(in, out, step);
    done += moved;
    write_back.Written(moved);
    if (moved < step) break;
  }
  const auto piece_size = static_cast<std::int64_t>(buffer.size());
  std::uint32_t checksum = 0;
  while (done < count) {
    const std::int64_t piece = std::min(count - done, piece_size - done % kChunkCopyBlock);
    if (in.Read(buffer.data(), piece) != piece) throw EReadError(cut_short);
    if (done + piece == count) checksum = LastBlockChecksum(buffer.data() + (last_block - done), count - last_block);
    out.WriteBuffer(buffer.data(), piece);
    write_back.Written(piece);
    done += piece;
  }
  return checksum;
}

// Copies `count` bytes of a chunk's data from `in` to `out` through the
// copier's pieces, each queued for the chunk's digest (and for `source`'s when
// given) once written, and returns the checksum of the last block. The pieces
// are whole blocks, so the last one holds the whole last block.
std::uint32_t CopyDataHashed(TStream& in, TStream& out, std::int64_t count, THashingCopier& copier,
                             TEarlyWriteBack& write_back, TSha256* source, const UnicodeString& cut_short) {
  std::uint32_t checksum = 0;
  for (std::int64_t left = count; left > 0;) {
    std::vector<unsigned char>& piece = copier.NextPiece();
    const std::int64_t piece_bytes = std::min<std::int64_t>(left, static_cast<std::int64_t>(piece.size()));
    if (in.Read(piece.data(), piece_bytes) != piece_bytes) throw EReadError(cut_short);
    if (piece_bytes == left) checksum = LastBlockChecksum(piece.data(), piece_bytes);
    out.WriteBuffer(piece.data(), piece_bytes);
    write_back.Written(piece_bytes);
    copier.HashPiece(piece_bytes, source);
    left -= piece_bytes;
  }
  return checksum;
}

// The bytes of a chunk's stored checksum.
std::array<unsigned char, 4> ChecksumBytes(std::uint32_t checksum) {
  std::array<unsigned char, 4> bytes{};
  TStream::ToLE(checksum, bytes.data());
  return bytes;
}

}  // namespace

// The bytes being cut: the source file itself or, with ZipToo, an archive of it
// held in memory.
class TFileChunker::TSourceData {
 public:
  explicit TSourceData(std::unique_ptr<TStream> stream) : stream_(std::move(stream)), size_(stream_->GetSize()) {}
  TStream& Stream() { return *stream_; }
  std::int64_t Size() const { return size_; }
  TSha256& Digest() { return digest_; }
  // Hashing the source and the chunks for a manifest; without a copier the
  // data are not hashed at all.
  void StartHashing() { copier_ = std::make_unique<THashingCopier>(2, kChunkCopyPiece); }
  THashingCopier* Copier() { return copier_.get(); }
  // The source's file descriptor, or -1 when it is not a file.
  int FileHandle() const {
    const auto* file = dynamic_cast<const TFileStream*>(stream_.get());
    return file == nullptr ? -1 : file->Handle();
  }
  // The buffer of a copy that is not hashed.
  std::vector<unsigned char>& Buffer() {
    if (buffer_.empty()) buffer_.resize(kChunkCopyPiece);
    return buffer_;
  }

 private:
  std::unique_ptr<TStream> stream_;
  std::int64_t size_;
  TSha256 digest_;
  std::vector<unsigned char> buffer_;
  std::unique_ptr<THashingCopier> copier_;  // after the digest its workers feed
};

// What a restore works from, settled before any data moves.
struct TFileChunker::TRestorePlan {
  TChunkSetHeader header;
  UnicodeString folder;  // of chunk 1, with the other chunks
  UnicodeString target;
  bool has_manifest = false;
  TChunkManifest manifest;
  std::int64_t restored_size = 0;
  std::vector<unsigned char> buffer;
  TEarlyWriteBack* write_back = nullptr;
  // Hashes the chunks against the manifest beside the copy (with a manifest only).
  std::unique_ptr<THashingCopier> copier;
};

TFileChunker::TFileChunker(TObject* /*AOwner*/) : fChunks(std::make_unique<TStringList>()) {
  const UnicodeString current = GetCurrentDir();
  fDirCreating = current;
  fDirRestoring = current;
  fDirWorking = current;
}

TFileChunker::~TFileChunker() = default;

void TFileChunker::Stop() {
  processing = false;
  MyYieldProcess();
}

void TFileChunker::StripFolderDelimiters() {
  fDirCreating = ExcludeTrailingPathDelimiter(fDirCreating);
  fDirRestoring = ExcludeTrailingPathDelimiter(fDirRestoring);
  fDirWorking = ExcludeTrailingPathDelimiter(fDirWorking);
}

bool TFileChunker::Refuse(const UnicodeString& why) {
  if (fLastProblem.empty()) fLastProblem = why;
  processing = false;
  return false;
}

// ---- making a set ---------------------------------------------------------

std::unique_ptr<TFileChunker::TSourceData> TFileChunker::OpenSource() {
  if (!fZiptoo) return std::make_unique<TSourceData>(std::make_unique<TFileStream>(fSourcename, fmOpenRead | fmShareDenyNone));
  auto archive_bytes = std::make_unique<TMemoryStream>();
  try {
    TZipArchive zipper;
    zipper.CreateInMemory();
    zipper.SetPackLevel(fPackLevel);
    if (zipper.AddFile(fSourcename) < 1) throw EChunkError(kZipFailed);
    zipper.CloseArchive();
    const std::string& bytes = zipper.InMemoryBytes();
    archive_bytes->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    archive_bytes->SetPosition(0);
  } catch (const EZipError&) {
    throw EChunkError(kZipFailed);
  }
  return std::make_unique<TSourceData>(std::move(archive_bytes));
}

TChunkSetHeader TFileChunker::HeaderForSource(std::int64_t source_size) {
  TChunkSetHeader header;
  header.SourceName = StoredNameFor(fSourcename);
  header.ZipToo = fZiptoo;
  header.PackLevel = fPackLevel;
  header.ChunkSize = fChunksize;
  header.Attributes = fAttributos;
  header.LastWrite = fDataArquivo;
  if (!ChunkCountFor(source_size, fChunksize, header.FirstChunkOverhead(), header.ChunkCount)) {
    if (ChunkDataCapacity(fChunksize, header.FirstChunkOverhead(), 1) <= 0) {
      throw EChunkError(u"A chunk size of " + IntToStr(fChunksize) + u" bytes leaves no room for data (chunk 1 of \"" +
                        ExtractFileName(fSourcename) + u"\" needs more than " + IntToStr(header.FirstChunkOverhead()) +
                        u")");
    }
    throw EChunkError(u"A chunk size of " + IntToStr(fChunksize) + u" bytes would need more chunks than a set can number");
  }
  return header;
}

void TFileChunker::WriteChunk(TSourceData& source, const TChunkSetHeader& header, std::int32_t number,
                              const UnicodeString& name, TChunkManifest& manifest) {
  const std::int64_t file_size =
      ChunkFileSize(source.Size(), header.ChunkSize, header.FirstChunkOverhead(), number, header.ChunkCount);
  const std::int64_t data_size = file_size - (number == 1 ? header.FirstChunkOverhead() : kLaterChunkOverhead);
  TMemoryStream prefix;
  if (number == 1) WriteChunkSetHeader(prefix, header);
  prefix.WriteLE<std::int32_t>(number - 1);
  const UnicodeString cut_short = u"\"" + fSourcename + u"\" became shorter while it was being cut into chunks";
  // Written beside its final name and renamed when complete: a chunk file is
  // there whole or not at all.
  WriteFileAtomically(name, [&](TStream& out) {
    TEarlyWriteBack write_back(out);
    out.WriteBuffer(prefix.Memory(), prefix.GetSize());
    THashingCopier* copier = source.Copier();
    std::uint32_t checksum = 0;
    if (copier == nullptr) {
      checksum = CopyDataUnseen(source.Stream(), out, data_size, source.Buffer(), write_back, cut_short);
    } else if (source.FileHandle() >= 0) {
      // The workers read the slice from the source for both digests while it
      // moves inside the kernel; they never wait for this thread's disk syncs.
      // Had the source changed meanwhile, the chunk would not match its
      // digest, and a restore refuses it.
      copier->BeginChunk(number, prefix.Bytes());
      copier->HashFileRange(source.FileHandle(), source.Stream().GetPosition(), data_size, &source.Digest(), cut_short);
      checksum = CopyDataUnseen(source.Stream(), out, data_size, source.Buffer(), write_back, cut_short);
    } else {
      copier->BeginChunk(number, prefix.Bytes());
      checksum = CopyDataHashed(source.Stream(), out, data_size, *copier, write_back, &source.Digest(), cut_short);
    }
    const std::array<unsigned char, 4> checksum_bytes = ChecksumBytes(checksum);
    out.WriteBuffer(checksum_bytes.data(), 4);
    if (copier != nullptr) copier->EndChunk(checksum_bytes);
    return true;
  });
  // The digest is filled in when the worker has finished it.
  manifest.Chunks.push_back({ExtractFileName(name), file_size, {}});
  if (source.Copier() != nullptr) TakeChunkDigests(*source.Copier(), manifest, false);
}

std::int32_t TFileChunker::MakeChunkFiles() {
  TProcessingScope scope(processing);
  fLastProblem.clear();
  StripFolderDelimiters();
  if (!FileExists(fSourcename)) return 0;

  TFoundEntry details;
  if (GetFileDetails(fSourcename, details)) {
    fAttributos = details.Attr;
    if (!TryFileStampToDateTime(details.LastWrite, fDataArquivo)) fDataArquivo = 0;
  }
  std::unique_ptr<TSourceData> source = OpenSource();
  if (fWriteManifest) source->StartHashing();
  const TChunkSetHeader header = HeaderForSource(source->Size());
  fOut_of = header.ChunkCount;
  fChunks->Clear();

  TChunkManifest manifest;
  std::int32_t written = 0;
  std::int64_t space_needed = ChunkFileSize(source->Size(), header.ChunkSize, header.FirstChunkOverhead(), 1, fOut_of);
  for (fthis_filenum = 1; fthis_filenum <= fOut_of; ++fthis_filenum) {
    if (fWaitForNewDisk && OnNewDiskNeeded) {
      OnNewDiskNeeded(fthis_filenum);
    } else if (FreeSpaceOf(fDirCreating) < static_cast<std::uint64_t>(space_needed)) {
      if (!fGetNewDisk(fthis_filenum, space_needed, true, fDirCreating)) {
        Refuse(u"There is not enough room for chunk " + IntToStr(fthis_filenum) + u" in \"" + fDirCreating + u"\"");
      }
    }
    const UnicodeString name = ChunkFileName(fDirCreating, fthis_filenum, fOut_of);
    fChunks->Add(name);
    if (fthis_filenum == 1) fFirstFileInSet = name;
    if (!processing) break;
    if (FileExists(name) && !AskYesNo(Format(CatalogueText("_QYOverwriteXQ"), {name}))) {
      Refuse(u"\"" + name + u"\" is there already and was not overwritten");
      break;
    }
    // A manifest of an earlier set by this name no longer describes the set.
    if (fthis_filenum == 1) DeleteFile(ChunkManifestFileName(name));
    WriteChunk(*source, header, fthis_filenum, name, manifest);
    ++written;
    MyYieldProcess();
    if (fthis_filenum < fOut_of) {
      space_needed = ChunkFileSize(source->Size(), header.ChunkSize, header.FirstChunkOverhead(), fthis_filenum + 1, fOut_of);
    }
    if (OnChunkMade) OnChunkMade(name, fthis_filenum, fOut_of);
  }
  fChunks->Clear();
  if (written != fOut_of) {
    if (fLastProblem.empty()) fLastProblem = u"The operation was stopped";
    throw EChunkError(kCopyFailure);
  }
  if (fWriteManifest) {
    TakeChunkDigests(*source->Copier(), manifest, true);
    manifest.Source = {ExtractFileName(fSourcename), source->Size(), source->Digest().HexDigest()};
    SaveChunkManifest(ChunkManifestFileName(fFirstFileInSet), manifest);
  }
  return written;
}

void TFileChunker::TakeChunkDigests(THashingCopier& copier, TChunkManifest& manifest, bool wait) {
  for (const auto& chunk : copier.TakeFinished(wait)) {
    manifest.Chunks[static_cast<std::size_t>(chunk->number - 1)].Sha256 = chunk->hex;
  }
}

bool TFileChunker::fGetNewDisk(std::int32_t disk_number, std::int64_t bytes_needed, bool check_space,
                               const UnicodeString& path) {
  const UnicodeString drive = DriveOf(path);
  const UnicodeString folder = FileExists(path) ? ExtractFilePath(path) : path;
  for (int round = 0; round < kMaxNoRoomRounds; ++round) {
    if (!FileExists(path) &&
        ShowMessageBox(kChangeDiskCaption, kInsertDisk + IntToStr(disk_number) + kIn + drive, MB_ICONWARNING,
                       MB_OKCANCEL) != IDOK) {
      return false;
    }
    if (!check_space) return true;
    if (FreeSpaceOf(folder) >= static_cast<std::uint64_t>(bytes_needed)) return true;
    if (ShowMessageBox(kNoRoomCaption, kPressOKToDelete + drive + u"\r" + kOrFormat, MB_ICONWARNING, MB_OKCANCEL) !=
        IDOK) {
      return false;
    }
    DeleteAllFilesOn(folder, u"*.*");
    if (FreeSpaceOf(folder) >= static_cast<std::uint64_t>(bytes_needed)) return true;
  }
  return false;
}

// ---- restoring --------------------------------------------------------------

bool TFileChunker::PlanRestore(TRestorePlan& plan) {
  const UnicodeString& first = fSourcename;
  if (!FileExists(first)) return Refuse(u"Chunk 1 \"" + first + u"\" is not there");
  UnicodeString problem;
  {
    TFileStream in(first, fmOpenRead | fmShareDenyWrite);
    const std::int64_t size = in.GetSize();
    std::int32_t number = -1;
    if (!ReadChunkSetHeader(in, plan.header, problem) || !in.TryReadLE(number)) {
      return Refuse(u"\"" + first + u"\" is not the first chunk of a set: " +
                    (problem.empty() ? UnicodeString(u"it is cut short") : problem));
    }
    if (number != 0) {
      return Refuse(u"\"" + first + u"\" is chunk " + IntToStr(static_cast<std::int64_t>(number) + 1) +
                    u" of a set, not chunk 1");
    }
    const std::int64_t overhead = plan.header.FirstChunkOverhead();
    if (size < overhead || size > plan.header.ChunkSize || (plan.header.ChunkCount > 1 && size != plan.header.ChunkSize)) {
      return Refuse(u"\"" + first + u"\" is " + IntToStr(size) + u" bytes long, which a chunk 1 of " +
                    IntToStr(plan.header.ChunkCount) + u" chunks of " + IntToStr(plan.header.ChunkSize) +
                    u" bytes cannot be: it is cut short or damaged");
    }
  }
  fAttributos = plan.header.Attributes;
  fDataArquivo = plan.header.LastWrite;
  fOut_of = plan.header.ChunkCount;
  // A damaged count shows against chunk 1's own name.
  std::int32_t named_number = 0, named_count = 0;
  if (ParseChunkFileName(first, named_number, named_count) && (named_number != 1 || named_count != fOut_of)) {
    return Refuse(u"\"" + first + u"\" says it is chunk 1 of " + IntToStr(fOut_of) + u": its name or its header is wrong");
  }
  plan.folder = ExcludeTrailingPathDelimiter(ExtractFilePath(first));
  if (plan.folder.empty()) plan.folder = u".";
  if (!fRestoreAs.empty()) {
    plan.target = fRestoreAs;
  } else {
    const UnicodeString stored = StoredSourceFileName(plan.header.SourceName);
    if (stored.empty()) return Refuse(u"\"" + first + u"\" stores no usable file name");
    plan.target = fDirRestoring + u"/" + stored;
  }
  fRestoredName = plan.target;

  // A set claiming more data than the target's file system can take is refused
  // before anything is asked or written (this also bounds a damaged count).
  const std::int64_t at_least = static_cast<std::int64_t>(fOut_of - 1) *
                                ChunkDataCapacity(plan.header.ChunkSize, plan.header.FirstChunkOverhead(), 2);
  const UnicodeString target_folder = ExtractFilePath(plan.target);
  if (FreeSpaceOf(target_folder.empty() ? UnicodeString(u".") : target_folder) < static_cast<std::uint64_t>(at_least)) {
    return Refuse(u"The set of \"" + first + u"\" claims " + IntToStr(fOut_of) + u" chunks, at least " +
                  IntToStr(at_least) + u" bytes, more than there is room for");
  }

  const UnicodeString manifest_name = ChunkManifestFileName(first);
  plan.has_manifest = FileExists(manifest_name);
  if (plan.has_manifest) {
    if (!LoadChunkManifest(manifest_name, plan.manifest, problem)) return Refuse(u"\"" + manifest_name + u"\": " + problem);
    if (plan.manifest.Chunks.size() != static_cast<std::size_t>(fOut_of)) {
      return Refuse(u"\"" + manifest_name + u"\" lists " + IntToStr(plan.manifest.Chunks.size()) +
                    u" chunks but chunk 1 says " + IntToStr(fOut_of));
    }
  }
  return true;
}

bool TFileChunker::RestoreOneChunk(TStream& target, TRestorePlan& plan, std::int32_t number) {
  const TChunkSetHeader& header = plan.header;
  const UnicodeString name = ChunkFileName(plan.folder, number, fOut_of);
  fChunks->Add(name);
  if (fWaitForNewDisk && OnNewDiskNeeded) {
    OnNewDiskNeeded(number);
  } else if (!FileExists(name) && !fGetNewDisk(number, 0, false, name)) {
    return Refuse(u"Chunk " + IntToStr(number) + u" \"" + name + u"\" is missing");
  }
  MyYieldProcess();
  if (!processing) return Refuse(u"The restore was stopped before chunk " + IntToStr(number));
  if (!FileExists(name)) return Refuse(u"Chunk " + IntToStr(number) + u" \"" + name + u"\" is missing");

  TFileStream in(name, fmOpenRead | fmShareDenyWrite);
  const std::int64_t size = in.GetSize();
  const std::int64_t overhead = number == 1 ? header.FirstChunkOverhead() : kLaterChunkOverhead;
  const bool last = number == fOut_of;
  if (size < overhead || size > header.ChunkSize || (!last && size != header.ChunkSize)) {
    return Refuse(u"Chunk " + IntToStr(number) + u" \"" + name + u"\" has " + IntToStr(size) + u" bytes instead of " +
                  (last ? u"at most " + IntToStr(header.ChunkSize) : IntToStr(header.ChunkSize)) +
                  u": it is cut short or damaged");
  }
  // The bytes before the data: chunk 1's header (read again, as it is now) and
  // the chunk number.
  std::vector<unsigned char> prefix(static_cast<std::size_t>(overhead - 4));
  in.ReadBuffer(prefix.data(), static_cast<std::int64_t>(prefix.size()));
  if (number == 1) {
    // Compared as bytes: the header read first writes back to exactly its bytes.
    TMemoryStream expected;
    WriteChunkSetHeader(expected, header);
    if (expected.GetSize() != static_cast<std::int64_t>(prefix.size()) - 4 ||
        !std::equal(expected.Bytes().begin(), expected.Bytes().end(), prefix.begin())) {
      return Refuse(u"Chunk 1 \"" + name + u"\" changed while the set was being restored");
    }
  }
  const auto chunk_number = TStream::FromLE<std::int32_t>(prefix.data() + prefix.size() - 4);
  if (chunk_number != number - 1) {
    return Refuse(u"\"" + name + u"\" holds chunk " + IntToStr(static_cast<std::int64_t>(chunk_number) + 1) +
                  u", not chunk " + IntToStr(number) + u": it is out of order or from another set");
  }
  const std::int64_t data_size = size - overhead;
  std::uint32_t checksum = 0;
  const UnicodeString cut_short = u"Chunk " + IntToStr(number) + u" \"" + name + u"\" became shorter while it was read";
  if (plan.copier) {
    plan.copier->BeginChunk(number, std::move(prefix));
    checksum = CopyDataHashed(in, target, data_size, *plan.copier, *plan.write_back, nullptr, cut_short);
  } else {
    checksum = CopyDataUnseen(in, target, data_size, plan.buffer, *plan.write_back, cut_short);
  }
  plan.restored_size += data_size;
  std::array<unsigned char, 4> stored_bytes{};
  in.ReadBuffer(stored_bytes.data(), 4);
  ftest_CheckSum = TStream::FromLE<std::uint32_t>(stored_bytes.data());
  if (ftest_CheckSum != checksum) {
    return Refuse(u"Chunk " + IntToStr(number) + u" \"" + name + u"\" is damaged: its checksum does not agree");
  }
  if (plan.copier) {
    plan.copier->EndChunk(stored_bytes);
    if (plan.manifest.Chunks[static_cast<std::size_t>(number - 1)].Size != size) return RefuseAgainstManifest(number, name);
    // The digests of earlier chunks are compared as the worker finishes them.
    if (!CheckChunkDigests(plan, false)) return false;
  }
  if (OnRestoreOne) OnRestoreOne(name, number, fOut_of);
  return true;
}

bool TFileChunker::RefuseAgainstManifest(std::int32_t number, const UnicodeString& name) {
  return Refuse(u"Chunk " + IntToStr(number) + u" \"" + name +
                u"\" does not match the set's manifest: it is damaged or from another set");
}

bool TFileChunker::CheckChunkDigests(TRestorePlan& plan, bool wait) {
  for (const auto& chunk : plan.copier->TakeFinished(wait)) {
    const std::size_t index = static_cast<std::size_t>(chunk->number - 1);
    if (chunk->hex != plan.manifest.Chunks[index].Sha256) {
      return RefuseAgainstManifest(chunk->number, ChunkFileName(plan.folder, chunk->number, fOut_of));
    }
  }
  return true;
}

bool TFileChunker::RestoreInto(TStream& target, TRestorePlan& plan) {
  if (plan.has_manifest) {
    plan.copier = std::make_unique<THashingCopier>(1, kChunkCopyPiece);
  } else {
    plan.buffer.resize(kChunkCopyPiece);
  }
  for (fthis_filenum = 1; fthis_filenum <= fOut_of; ++fthis_filenum) {
    if (!processing) return Refuse(u"The restore was stopped before chunk " + IntToStr(fthis_filenum));
    if (!RestoreOneChunk(target, plan, fthis_filenum)) return false;
  }
  if (plan.copier && !CheckChunkDigests(plan, true)) return false;
  // Every chunk file agreed with its SHA-256, so the data are those cut from the
  // source; hashing them again as a whole would prove nothing more.
  if (plan.has_manifest && plan.restored_size != plan.manifest.Source.Size) {
    return Refuse(u"The restored data have " + IntToStr(plan.restored_size) + u" bytes, the source had " +
                  IntToStr(plan.manifest.Source.Size));
  }
  // Only now is the old file worth keeping a backup of.
  if (FileExists(plan.target) && !CopyAFileWithBackup(plan.target)) {
    return Refuse(u"\"" + plan.target + u"\" could not be backed up before being replaced");
  }
  return true;
}

void TFileChunker::FinishRestoredFile(const TRestorePlan& plan) {
  // A time from a damaged or foreign header may be no number at all.
  if (ApplyStoredAttributes(plan.target, plan.header.Attributes) && std::isfinite(plan.header.LastWrite)) {
    SetFileLastWriteTime(plan.target, plan.header.LastWrite);
  }
  if (!fDeleteChunksAfterwards) return;
  for (const UnicodeString& chunk : *fChunks) DeleteFile(chunk);
  if (plan.has_manifest) DeleteFile(ChunkManifestFileName(fSourcename));
}

bool TFileChunker::RestoreAllChunks() {
  TProcessingScope scope(processing);
  fLastProblem.clear();
  fManifestVerified = false;
  StripFolderDelimiters();
  fChunks->Clear();
  TRestorePlan plan;
  if (!PlanRestore(plan)) return false;
  if (FileExists(plan.target) && !AskYesNo(Format(CatalogueText("_QYOverwriteXWithBackupQ"), {plan.target}))) {
    return Refuse(u"\"" + plan.target + u"\" is there already and was not overwritten");
  }
  const bool restored = WriteFileAtomically(plan.target, [&](TStream& out) {
    TEarlyWriteBack write_back(out);
    plan.write_back = &write_back;
    return RestoreInto(out, plan);
  });
  if (!restored) return false;
  fManifestVerified = plan.has_manifest;
  FinishRestoredFile(plan);
  return true;
}

}  // namespace quill
