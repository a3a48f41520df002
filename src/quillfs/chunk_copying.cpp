#include "quillfs/chunk_copying.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <utility>

#include "quillrt/framework/exceptions.h"

namespace quill {

namespace {

// Pieces in flight: enough that the copying thread seldom waits for a worker
// that is a piece behind, few enough to stay in the processor's cache.
constexpr std::size_t kPiecesInFlight = 8;

// What the chunk worker reads of a file at a time, and how many such pieces go
// round between it and the source's worker: small enough to stay in the
// processor's cache between the read and the two hashings.
constexpr std::size_t kFileReadPiece = 256 * 1024;
constexpr std::size_t kFilePiecesInFlight = 4;

// Reads `count` bytes of `fd` at `offset` into `into`, all of them.
void ReadFileRange(int fd, std::int64_t offset, std::size_t count, unsigned char* into, const UnicodeString& cut_short) {
  while (count > 0) {
    const ssize_t n = ::pread(fd, into, count, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      throw EReadError(cut_short + u": " + SysErrorMessage(error));
    }
    if (n == 0) throw EReadError(cut_short);
    into += n;
    offset += n;
    count -= static_cast<std::size_t>(n);
  }
}

}  // namespace

THashingCopier::THashingCopier(std::size_t streams, std::size_t piece_size) : pieces_(kPiecesInFlight) {
  for (TPiece& piece : pieces_) piece.bytes.resize(piece_size);
  for (std::size_t i = 0; i < std::clamp<std::size_t>(streams, 1, 2); ++i) {
    queues_.push_back(std::make_unique<TBackgroundQueue>());
  }
}

THashingCopier::~THashingCopier() {
  // The chunk worker may be waiting for the source's worker: it stops first.
  for (auto& queue : queues_) queue.reset();
}

TChunkDigest& THashingCopier::BeginChunk(std::int32_t number, std::vector<unsigned char> head) {
  auto record = std::make_unique<TChunkDigest>();
  record->number = number;
  record->head = std::move(head);
  TChunkDigest& chunk = *record;
  chunks_.push_back(std::move(record));
  queues_[kChunkStream]->Post([&chunk] { chunk.digest.Add(chunk.head.data(), chunk.head.size()); });
  return chunk;
}

std::vector<unsigned char>& THashingCopier::NextPiece() {
  TPiece& piece = pieces_[next_piece_];
  next_piece_ = (next_piece_ + 1) % pieces_.size();
  for (std::size_t stream = 0; stream < queues_.size(); ++stream) queues_[stream]->WaitFor(piece.hashed_by[stream]);
  current_piece_ = &piece;
  return piece.bytes;
}

void THashingCopier::HashPiece(std::int64_t count, TSha256* source) {
  const unsigned char* data = current_piece_->bytes.data();
  const auto size = static_cast<std::size_t>(count);
  TChunkDigest& chunk = *chunks_.back();
  current_piece_->hashed_by[kChunkStream] =
      queues_[kChunkStream]->Post([&chunk, data, size] { chunk.digest.Add(data, size); });
  if (source != nullptr && queues_.size() > kSourceStream) {
    current_piece_->hashed_by[kSourceStream] =
        queues_[kSourceStream]->Post([source, data, size] { source->Add(data, size); });
  }
}

void THashingCopier::HashFileRange(int fd, std::int64_t offset, std::int64_t count, TSha256* source,
                                   const UnicodeString& cut_short) {
  // Made before the first job that uses them is queued, never while one runs.
  if (file_pieces_.empty()) {
    file_pieces_.resize(kFilePiecesInFlight);
    for (TPiece& piece : file_pieces_) piece.bytes.resize(kFileReadPiece);
  }
  TChunkDigest& chunk = *chunks_.back();
  TBackgroundQueue* source_queue = source != nullptr && queues_.size() > kSourceStream ? queues_[kSourceStream].get() : nullptr;
  // The chunk worker reads each piece once and hashes it; the source's worker
  // hashes the same piece after it, and the piece is read into again only when
  // that is done.
  queues_[kChunkStream]->Post([this, fd, offset, count, &chunk, source, source_queue, cut_short] {
    for (std::int64_t done = 0; done < count;) {
      TPiece& piece = file_pieces_[next_file_piece_];
      next_file_piece_ = (next_file_piece_ + 1) % file_pieces_.size();
      if (source_queue != nullptr) source_queue->WaitFor(piece.hashed_by[kSourceStream]);
      const auto size = static_cast<std::size_t>(std::min<std::int64_t>(count - done, kFileReadPiece));
      ReadFileRange(fd, offset + done, size, piece.bytes.data(), cut_short);
      chunk.digest.Add(piece.bytes.data(), size);
      if (source_queue != nullptr) {
        const unsigned char* data = piece.bytes.data();
        piece.hashed_by[kSourceStream] = source_queue->Post([source, data, size] { source->Add(data, size); });
      }
      done += static_cast<std::int64_t>(size);
    }
  });
}

void THashingCopier::EndChunk(const std::array<unsigned char, 4>& checksum_bytes) {
  TChunkDigest& chunk = *chunks_.back();
  chunk.tail = checksum_bytes;
  chunk.finished = queues_[kChunkStream]->Post([&chunk] {
    chunk.digest.Add(chunk.tail.data(), chunk.tail.size());
    chunk.hex = chunk.digest.HexDigest();
  });
}

std::vector<std::unique_ptr<TChunkDigest>> THashingCopier::TakeFinished(bool wait) {
  if (wait) WaitForAll();
  std::vector<std::unique_ptr<TChunkDigest>> finished;
  TBackgroundQueue& queue = *queues_[kChunkStream];
  while (!chunks_.empty() && chunks_.front()->finished != 0) {
    // WaitFor returns at once for a finished record and rethrows a failure.
    if (!queue.Done(chunks_.front()->finished)) break;
    queue.WaitFor(chunks_.front()->finished);
    finished.push_back(std::move(chunks_.front()));
    chunks_.pop_front();
  }
  return finished;
}

void THashingCopier::WaitForAll() {
  for (const auto& queue : queues_) queue->WaitForAll();
}

std::int64_t CopyInsideKernel(TStream& in, TStream& out, std::int64_t count) {
  const auto* from = dynamic_cast<const TFileStream*>(&in);
  const auto* to = dynamic_cast<const TFileStream*>(&out);
  if (from == nullptr || to == nullptr) return 0;
  // One call moves at most this much; larger counts take several calls.
  constexpr std::int64_t kMostPerCall = 1LL << 30;
  std::int64_t moved = 0;
  while (moved < count) {
    const auto asked = static_cast<std::size_t>(std::min(count - moved, kMostPerCall));
    const ssize_t n = ::copy_file_range(from->Handle(), nullptr, to->Handle(), nullptr, asked, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    moved += n;
  }
  return moved;
}

}  // namespace quill
