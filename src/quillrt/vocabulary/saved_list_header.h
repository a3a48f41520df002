#pragma once
// The 57-byte header at the start of every saved list file:
//
//   offset size field
//     0     4   signature     int32: the saving tool's version (CurrentSignature)
//     4     4   infosize      int32, the saving tool's own (0 when unused)
//     8     4   save_height   int32, the saving tool's own
//    12     4   save_width    int32, the saving tool's own
//    16    41   type_of_data  1 length byte + 40 8-bit characters: the list
//                             kind's header signature (list_signature32)
//
// All numbers little-endian. Characters past the length are written as zeros
// and ignored when reading; a length byte above 40 is read as 40.
#include <array>
#include <cstdint>

#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/process/tool_kinds.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/vocabulary/list_kinds.h"

namespace quill {

inline constexpr std::size_t kCheckSignatureSize = 57;
inline constexpr std::size_t kCheckSignatureTypeChars = 40;

struct TCheckSignature {
  std::int32_t signature = 0;
  std::int32_t infosize = 0;
  std::int32_t save_height = 0;
  std::int32_t save_width = 0;
  AnsiString type_of_data;  // at most 40 characters are stored

  bool operator==(const TCheckSignature&) const = default;
};

using TCheckSignatureBytes = std::array<std::uint8_t, kCheckSignatureSize>;

// The header as stored; type_of_data is cut to 40 characters.
QUILLRT_API TCheckSignatureBytes CheckSignatureToBytes(const TCheckSignature& sig);
QUILLRT_API TCheckSignature CheckSignatureFromBytes(const TCheckSignatureBytes& bytes);

// Reads the 57 bytes at the stream's position. False, with `sig` made from the
// bytes that did arrive (zeros for the rest), when fewer arrived or the stream
// failed.
QUILLRT_API bool ReadCheckSignature(TStream& stream, TCheckSignature& sig);
// Writes the 57 bytes; false when the stream took fewer or failed.
QUILLRT_API bool WriteCheckSignature(TStream& stream, const TCheckSignature& sig);

// writing: sets sig.signature to the tool's CurrentSignature and
// sig.type_of_data to lt's header signature, then writes the header (the other
// fields as the caller left them); true when all 57 bytes were written.
// reading: reads the header into sig; true when all 57 bytes arrived and both
// the version and the signature are exactly those of tool and lt.
QUILLRT_API bool DiskSignatureISOKForToolAndList(TCheckSignature& sig, tool_type tool, list_type lt, TStream& stream,
                                                 TWriteOrRead mode);

// The first list kind (0 to 41) whose header signature is sig.type_of_data; a
// keyword database for the signature "KeyWords Database (v. 2)32" that earlier
// releases wrote; otherwise lt_none_in_use.
QUILLRT_API list_type DiskFileType(const TCheckSignature& sig);

}  // namespace quill
