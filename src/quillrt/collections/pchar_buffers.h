#pragma once
// Zero-terminated character buffers handed across the library boundary.
//
// The stream readers that return "pointer" buffers allocate them here; the caller
// owns each buffer and gives it back with the matching Delete function (or holds it
// in the RAII wrapper below, which does that on its own).
#include <cstddef>
#include <memory>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

using PAnsiChar = char*;

// A zero-filled buffer of `length` characters plus the terminating zero, so it
// already holds the empty string. A negative length counts as 0.
QUILLRT_API PWideChar NewPWideChar(std::ptrdiff_t length);
QUILLRT_API PAnsiChar NewPAnsichar(std::ptrdiff_t length);

// Release a buffer of the New* functions; null is accepted and ignored.
QUILLRT_API void DeletePWideChar(PWideChar buffer);
QUILLRT_API void DeletePAnsichar(PAnsiChar buffer);

struct PWideCharDeleter {
  void operator()(WideChar* buffer) const { DeletePWideChar(buffer); }
};
struct PAnsicharDeleter {
  void operator()(char* buffer) const { DeletePAnsichar(buffer); }
};

using UniquePWideChar = std::unique_ptr<WideChar[], PWideCharDeleter>;
using UniquePAnsichar = std::unique_ptr<char[], PAnsicharDeleter>;

}  // namespace quill
