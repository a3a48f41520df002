#pragma once
// Checksums of raw buffers, used for chunk files and stored lists. Both sum
// little-endian units with wrap-around; the buffer need not be aligned.
#include <cstddef>
#include <cstdint>

#include "quillrt/quillrt_export.h"

namespace quill {

// The sum of `count` 16-bit units, kept to 16 bits; the upper half of the
// result is zero. 0 for a null buffer or a count of zero or below.
QUILLRT_API std::uint32_t My2Checksum(const void* buffer, std::int32_t count);

// The sum of size_in_bytes / 4 32-bit units, kept to 32 bits; the 0 to 3 bytes
// left over are ignored. 0 for a null buffer.
QUILLRT_API std::uint32_t My4Checksum(const void* buffer, std::int32_t size_in_bytes);

}  // namespace quill
