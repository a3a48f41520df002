#include "quillrt/collections/pchar_buffers.h"

#include <algorithm>

namespace quill {

PWideChar NewPWideChar(std::ptrdiff_t length) {
  const auto units = static_cast<std::size_t>(std::max<std::ptrdiff_t>(length, 0)) + 1;
  return new WideChar[units]();
}

PAnsiChar NewPAnsichar(std::ptrdiff_t length) {
  const auto bytes = static_cast<std::size_t>(std::max<std::ptrdiff_t>(length, 0)) + 1;
  return new char[bytes]();
}

void DeletePWideChar(PWideChar buffer) { delete[] buffer; }

void DeletePAnsichar(PAnsiChar buffer) { delete[] buffer; }

}  // namespace quill
