#pragma once
// File names as the system has them: bytes, which need not be UTF-8. These two
// convert them without loss: well-formed UTF-8 is decoded as usual, and each
// byte of an ill-formed sequence becomes the unpaired surrogate U+DC00 + byte
// (U+DC80 to U+DCFF), which FileNameToBytes turns back into that byte.
// Well-formed UTF-8 never encodes a surrogate, so no name is taken for another.
// (Defined beside the UTF-8 conversions, in strings.cpp.)
#include <string>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

QUILLRT_API UnicodeString FileNameToUtf16(std::string_view bytes);
QUILLRT_API std::string FileNameToBytes(std::u16string_view name);

}  // namespace quill
