#pragma once
// The chunk-file format: what a set of chunk files looks like on disk.
//
// A file is cut into chunks named "chunk <k> of <n>.tmp" (k counted from 1).
// Every chunk file is exactly ChunkSize bytes long except the last, which is
// usually shorter. Numbers are little-endian:
//
//   chunk 1 only   1  L, the length of the stored source name (1..255)
//                  L  the source's path in the system's 8-bit code page
//                  1  ZipToo (0 or 1)
//                  2  PackLevel
//                  4  ChunkSize of the set
//                  4  attribute bits of the source
//                  8  last-write time of the source (date-time double)
//                  4  number of chunks in the set
//   every chunk    4  chunk number counted from 0
//                  P  the next P bytes of the source
//                  4  checksum
//
// So chunk 1 carries L + 32 bytes that are not data, every other chunk 8.
// The checksum is the 32-bit word sum (see text/buffer_checksums.h) of the last
// block of 61440 bytes (or fewer) of the chunk's data, 0 for a chunk without
// data: it guards the end of a chunk only. A strong check of whole chunks is
// the job of the manifest (chunk_manifest.h).
#include <cstdint>

#include "quillfs/quillfs_export.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"

namespace quill {

inline constexpr std::int32_t kDefaultChunkSize = 1400000;
inline constexpr std::uint16_t kDefaultPackLevel = 9;
// Data is copied, and the checksum taken, in blocks of this size.
inline constexpr std::int32_t kChunkCopyBlock = 0xF000;
// Data moves in pieces of whole blocks, so that the last block of a chunk always
// lies within the last piece.
inline constexpr std::int32_t kChunkCopyPiece = 16 * kChunkCopyBlock;
// Bytes of chunk 1 that are not data, besides the stored name.
inline constexpr std::int32_t kFirstChunkFixedOverhead = 32;
// Bytes of every other chunk that are not data.
inline constexpr std::int32_t kLaterChunkOverhead = 8;
// The longest stored source name the one-byte length allows.
inline constexpr std::int32_t kMaxStoredNameLength = 255;

// The header at the start of chunk 1 (the chunk number that follows is not part
// of it).
struct TChunkSetHeader {
  AnsiString SourceName;  // 8-bit, 1 to 255 bytes
  bool ZipToo = false;
  std::uint16_t PackLevel = kDefaultPackLevel;
  std::int32_t ChunkSize = 0;
  std::int32_t Attributes = 0;
  TDateTime LastWrite = 0;
  std::int32_t ChunkCount = 0;

  // Bytes of chunk 1 that are not data: L + 32.
  std::int64_t FirstChunkOverhead() const {
    return static_cast<std::int64_t>(SourceName.size()) + kFirstChunkFixedOverhead;
  }
  friend bool operator==(const TChunkSetHeader&, const TChunkSetHeader&) = default;
};

// Offsets of the header's fields from the start of chunk 1, for a name of
// `name_length` bytes.
struct TChunkHeaderLayout {
  std::int64_t name = 1;
  std::int64_t zip_too;
  std::int64_t pack_level;
  std::int64_t chunk_size;
  std::int64_t attributes;
  std::int64_t last_write;
  std::int64_t chunk_count;
  std::int64_t chunk_number;  // the first field every chunk has
  std::int64_t data;
};
QUILLFS_API TChunkHeaderLayout ChunkHeaderLayout(std::int64_t name_length);

// Writes the header field by field. Raises EInOutError for a name that is empty
// or longer than 255 bytes (the length has one byte) and EWriteError when the
// stream takes fewer bytes.
QUILLFS_API void WriteChunkSetHeader(TStream& stream, const TChunkSetHeader& header);

// Reads a header and checks that it describes a set that can exist: a name of
// at least one byte, ZipToo 0 or 1, a chunk size with room for at least one
// byte of data in chunk 1, at least one chunk. False, with `problem` saying
// what is wrong (in English), for a short or implausible header; never raises
// for damaged input (only the stream's own failures pass through).
QUILLFS_API bool ReadChunkSetHeader(TStream& stream, TChunkSetHeader& header, UnicodeString& problem);

// The data a chunk can carry: ChunkSize minus its overhead.
QUILLFS_API std::int64_t ChunkDataCapacity(std::int32_t chunk_size, std::int64_t first_chunk_overhead,
                                           std::int32_t number);

// The checksum a chunk stores, given the last piece of its data (`count` bytes
// starting at a whole number of blocks from the start of the data): the word sum
// of the piece's last block. 0 for no data.
QUILLFS_API std::uint32_t LastBlockChecksum(const unsigned char* piece, std::int64_t count);

// The number of chunks a source of `source_size` bytes needs: the smallest n
// whose data capacities add up to the size, at least 1. False when the chunk
// size leaves chunk 1 no room for data, or when the count would not fit the
// format's 32-bit field.
QUILLFS_API bool ChunkCountFor(std::int64_t source_size, std::int32_t chunk_size,
                               std::int64_t first_chunk_overhead, std::int32_t& count);

// The size of the chunk file `number` (from 1) of a set cutting `source_size`
// bytes: ChunkSize for all but the last.
QUILLFS_API std::int64_t ChunkFileSize(std::int64_t source_size, std::int32_t chunk_size,
                                       std::int64_t first_chunk_overhead, std::int32_t number,
                                       std::int32_t count);

// "<folder>/chunk <number> of <out_of>.tmp"; a trailing delimiter of `folder`
// is not doubled.
QUILLFS_API UnicodeString ChunkFileName(const UnicodeString& folder, std::int32_t number, std::int32_t out_of);

// Reads number and count back from a chunk file's name (folder ignored); false
// when the name is not of that form.
QUILLFS_API bool ParseChunkFileName(const UnicodeString& file_name, std::int32_t& number, std::int32_t& out_of);

// The file-name part of a stored source path, which may have been written with
// either delimiter; empty when there is none or it is "." or "..".
QUILLFS_API UnicodeString StoredSourceFileName(const AnsiString& stored_name);

}  // namespace quill
