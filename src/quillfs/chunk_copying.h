#pragma once
// How the chunker moves data. Internal to quillfs (nothing here is exported).
//
// THashingCopier: the data pass through a small ring of pieces; the copying
// thread reads a piece and writes it while worker threads (one per digest
// stream) hash it, so that a checked copy costs about what the copy costs.
// A piece is handed out again only when every digest it was queued for has
// taken it. When the data come from a file, the workers can instead read them
// from it themselves (HashFileRange) while the copying thread moves them inside
// the kernel: then nothing ties the copy to the hashing, and the workers go on
// while the copying thread waits for the disk. The digests of the chunk files
// are kept in records that the copier hands back, in chunk order, once each is
// finished.
//
// CopyInsideKernel: moves bytes between two files without passing them through
// the program (copy_file_range), for data that nobody needs to look at.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "quillfs/background_queue.h"
#include "quillfs/chunk_manifest.h"
#include "quillrt/framework/streams.h"

namespace quill {

// The digest of one chunk file as it is being copied.
struct TChunkDigest {
  std::int32_t number = 0;             // from 1
  std::vector<unsigned char> head;     // the bytes before the data
  std::array<unsigned char, 4> tail{};  // the stored checksum after them
  TSha256 digest;
  std::string hex;  // set by the worker once finished
  TBackgroundQueue::TTicket finished = 0;
};

class THashingCopier {
 public:
  // The digest streams: the chunk files' own and, when cutting, the source's.
  enum TStreamKind : std::size_t { kChunkStream = 0, kSourceStream = 1 };

  // `streams` is 1 (chunks only) or 2 (chunks and source).
  THashingCopier(std::size_t streams, std::size_t piece_size);
  ~THashingCopier();
  THashingCopier(const THashingCopier&) = delete;
  THashingCopier& operator=(const THashingCopier&) = delete;

  // A chunk begins: its record, with `head` queued for hashing.
  TChunkDigest& BeginChunk(std::int32_t number, std::vector<unsigned char> head);
  // A piece free for new data, of the piece size.
  std::vector<unsigned char>& NextPiece();
  // Queues the first `count` bytes of the piece last handed out for the
  // current chunk's digest and, with two streams, for `source`.
  void HashPiece(std::int64_t count, TSha256* source = nullptr);
  // Queues `count` bytes of the open file `fd` from `offset` for the current
  // chunk's digest and, with two streams, for `source`; the chunk worker reads
  // them itself and hands each piece on to the source's. A file that ends early
  // fails the worker with EReadError(`cut_short`).
  void HashFileRange(int fd, std::int64_t offset, std::int64_t count, TSha256* source,
                     const UnicodeString& cut_short);
  // The chunk ends with its stored checksum; its digest is finished on the worker.
  void EndChunk(const std::array<unsigned char, 4>& checksum_bytes);
  // Hands back, in order, the records whose digests are finished, waiting for
  // all of them when `wait` is set. Rethrows a failure of the workers.
  std::vector<std::unique_ptr<TChunkDigest>> TakeFinished(bool wait);
  // Waits until every queued piece of every stream has been hashed.
  void WaitForAll();

 private:
  struct TPiece {
    std::vector<unsigned char> bytes;
    std::array<TBackgroundQueue::TTicket, 2> hashed_by{};
  };

  std::vector<TPiece> pieces_;
  std::size_t next_piece_ = 0;
  TPiece* current_piece_ = nullptr;
  std::deque<std::unique_ptr<TChunkDigest>> chunks_;  // begun, not yet handed back
  // The ring of HashFileRange, used by the chunk worker only.
  std::vector<TPiece> file_pieces_;
  std::size_t next_file_piece_ = 0;
  // Last: the workers stop before the pieces and records they use go.
  std::vector<std::unique_ptr<TBackgroundQueue>> queues_;
};

// Moves up to `count` bytes from the current position of `in` to that of `out`
// inside the kernel, advancing both. Returns how many moved, which is fewer
// when the streams are not both files, the file systems cannot do it, `in`
// ends early or a transfer fails: the caller copies the rest itself, through
// reads and writes that report what is wrong.
std::int64_t CopyInsideKernel(TStream& in, TStream& out, std::int64_t count);

}  // namespace quill
