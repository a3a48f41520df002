#include "quillrt/text/buffer_checksums.h"

namespace quill {

namespace {

// Reads one little-endian unit at any alignment.
template <class T>
T LoadLE(const unsigned char* p) {
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(static_cast<T>(p[i]) << (8 * i));
  return value;
}

}  // namespace

std::uint32_t My2Checksum(const void* buffer, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return 0;
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  std::uint16_t sum = 0;
  for (std::int32_t i = 0; i < count; ++i) sum = static_cast<std::uint16_t>(sum + LoadLE<std::uint16_t>(bytes + 2 * i));
  return sum;
}

std::uint32_t My4Checksum(const void* buffer, std::int32_t size_in_bytes) {
  if (buffer == nullptr || size_in_bytes < 4) return 0;
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  const std::int32_t units = size_in_bytes / 4;
  std::uint32_t sum = 0;
  for (std::int32_t i = 0; i < units; ++i) sum += LoadLE<std::uint32_t>(bytes + 4 * static_cast<std::size_t>(i));
  return sum;
}

}  // namespace quill
