#pragma once
// Strict UTF-8 decoding, one character at a time, shared by the code-page
// conversions and the class-array builder of 8-bit buffers (internal).
#include <cstddef>
#include <cstdint>
#include <string>

namespace quill::detail {

struct Utf8Step {
  bool valid;
  std::uint32_t code_point;  // meaningful when valid
  std::size_t length;        // bytes taken: the character, or the maximal ill-formed part (>= 1)
};

// Decodes the character at `bytes` (count >= 1). Overlong forms, surrogates,
// values above U+10FFFF and truncated sequences are ill-formed; each ill-formed
// part is as long as the longest prefix of a well-formed sequence it holds, so
// that a decoder writing one U+FFFD per part follows the usual practice.
inline Utf8Step DecodeUtf8Step(const unsigned char* bytes, std::size_t count) {
  const unsigned lead = bytes[0];
  if (lead < 0x80) return {true, lead, 1};
  std::size_t needed = 0;
  unsigned low = 0x80, high = 0xBF;  // the range of the second byte
  std::uint32_t code_point = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    needed = 1;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    needed = 2;
    code_point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    needed = 3;
    code_point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {false, 0, 1};
  }
  std::size_t taken = 1;
  for (std::size_t k = 0; k < needed; ++k) {
    if (taken >= count) return {false, 0, taken};
    const unsigned byte = bytes[taken];
    if (byte < low || byte > high) return {false, 0, taken};
    code_point = code_point << 6 | (byte & 0x3F);
    ++taken;
    low = 0x80;
    high = 0xBF;
  }
  return {true, code_point, taken};
}

inline void AppendUtf8(std::uint32_t code_point, std::string& out) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | code_point >> 6));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | code_point >> 12));
    out.push_back(static_cast<char>(0x80 | (code_point >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | code_point >> 18));
    out.push_back(static_cast<char>(0x80 | (code_point >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

}  // namespace quill::detail
