#pragma once
// The manifest of a chunk set: a small text file beside chunk 1 giving the size
// and SHA-256 of the source and of every chunk file. The chunk format itself
// only checks the last block of each chunk; the manifest lets a restore prove
// that every byte came back, and that no chunk of another set slipped in.
//
// The file is "<chunk 1's name>.sha256", UTF-8, one record per line:
//
//   quill chunk manifest 1
//   source <size> <sha256> <file name>
//   chunk <size> <sha256> <file name>        (one line per chunk, in order)
//
// Sizes are decimal, digests 64 lower-case hex digits, names without folder.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quillfs/quillfs_export.h"
#include "quillrt/framework/strings.h"

namespace quill {

// SHA-256 over data given piece by piece (OpenSSL's libcrypto underneath).
class QUILLFS_API TSha256 {
 public:
  TSha256();
  ~TSha256();
  TSha256(const TSha256&) = delete;
  TSha256& operator=(const TSha256&) = delete;

  void Add(const void* data, std::size_t count);
  // The digest of everything added, as 64 lower-case hex digits. Ends the
  // computation; adding afterwards starts a new one.
  std::string HexDigest();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

struct TManifestEntry {
  UnicodeString Name;  // without folder
  std::int64_t Size = 0;
  std::string Sha256;  // 64 lower-case hex digits
  friend bool operator==(const TManifestEntry&, const TManifestEntry&) = default;
};

struct TChunkManifest {
  TManifestEntry Source;
  std::vector<TManifestEntry> Chunks;
  friend bool operator==(const TChunkManifest&, const TChunkManifest&) = default;
};

// "<first_chunk_name>.sha256".
QUILLFS_API UnicodeString ChunkManifestFileName(const UnicodeString& first_chunk_name);

// The manifest as text, and read back. Reading checks every line and refuses
// (false, `problem` in English) a manifest that is malformed, lists no chunks
// or is larger than any real set's manifest could be.
QUILLFS_API std::string ChunkManifestText(const TChunkManifest& manifest);
QUILLFS_API bool ParseChunkManifest(std::string_view text, TChunkManifest& manifest, UnicodeString& problem);

// Writes the manifest so that a failure leaves no half-written file.
QUILLFS_API void SaveChunkManifest(const UnicodeString& file_name, const TChunkManifest& manifest);
// Reads one; false with `problem` when it cannot be read or is malformed.
QUILLFS_API bool LoadChunkManifest(const UnicodeString& file_name, TChunkManifest& manifest, UnicodeString& problem);

}  // namespace quill
