#pragma once
// Field-by-field access to stored records held as bytes: little-endian numbers,
// booleans (any non-zero byte is true, written as 1), UTF-16 arrays and raw runs.
// For the record readers of this folder; not part of the library's interface.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"

namespace quill::record_bytes {

template <class T>
void Put(std::uint8_t* bytes, std::size_t offset, T value) {
  TStream::ToLE(value, bytes + offset);
}
template <class T>
T Get(const std::uint8_t* bytes, std::size_t offset) {
  return TStream::FromLE<T>(bytes + offset);
}
inline void PutBool(std::uint8_t* bytes, std::size_t offset, bool value) { bytes[offset] = value ? 1 : 0; }
inline bool GetBool(const std::uint8_t* bytes, std::size_t offset) { return bytes[offset] != 0; }

template <std::size_t N>
void PutWide(std::uint8_t* bytes, std::size_t offset, const std::array<WideChar, N>& chars) {
  for (std::size_t i = 0; i < N; ++i) Put<std::uint16_t>(bytes, offset + 2 * i, chars[i]);
}
template <std::size_t N>
void GetWide(const std::uint8_t* bytes, std::size_t offset, std::array<WideChar, N>& chars) {
  for (std::size_t i = 0; i < N; ++i) chars[i] = static_cast<WideChar>(Get<std::uint16_t>(bytes, offset + 2 * i));
}

template <std::size_t N>
void PutRaw(std::uint8_t* bytes, std::size_t offset, const std::array<std::uint8_t, N>& raw) {
  std::memcpy(bytes + offset, raw.data(), N);
}
template <std::size_t N>
void GetRaw(const std::uint8_t* bytes, std::size_t offset, std::array<std::uint8_t, N>& raw) {
  std::memcpy(raw.data(), bytes + offset, N);
}

// Reads exactly `count` bytes; false when fewer arrived.
inline bool ReadExactly(TStream& stream, std::uint8_t* buffer, std::size_t count) {
  return stream.Read(buffer, static_cast<std::int64_t>(count)) == static_cast<std::int64_t>(count);
}

}  // namespace quill::record_bytes
