#pragma once
// Ownership of the zero-terminated buffers that the "pointer" stream readers
// return. The buffers are made by the text layer's copy functions
// (NewLenPWidechar / NewLenPAnsichar) and released with DeletePWideChar /
// DeletePAnsichar; the RAII wrappers below do that release on their own.
#include <memory>

#include "quillrt/framework/strings.h"
#include "quillrt/text/buffer_copies.h"

namespace quill {

using PAnsiChar = char*;

struct PWideCharDeleter {
  void operator()(WideChar* buffer) const { DeletePWideChar(buffer); }
};
struct PAnsicharDeleter {
  void operator()(char* buffer) const { DeletePAnsichar(buffer); }
};

using UniquePWideChar = std::unique_ptr<WideChar[], PWideCharDeleter>;
using UniquePAnsichar = std::unique_ptr<char[], PAnsicharDeleter>;

}  // namespace quill
