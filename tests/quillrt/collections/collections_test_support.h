#pragma once
// Small helpers of the collections tests: byte vectors in and out of memory
// streams, and a stream that accepts only so many bytes.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "quillrt/framework/streams.h"

namespace quill::testing {

using Bytes = std::vector<unsigned char>;

inline const Bytes& BytesOf(const TMemoryStream& stream) { return stream.Bytes(); }

// A memory stream holding `bytes`, positioned at the start.
inline void Fill(TMemoryStream& stream, const Bytes& bytes) {
  stream.Clear();
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

inline Bytes Int32LE(std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  return {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8), static_cast<unsigned char>(u >> 16),
          static_cast<unsigned char>(u >> 24)};
}

// A memory stream that takes at most `capacity` bytes in all, then short-writes.
class LimitedStream : public TMemoryStream {
 public:
  explicit LimitedStream(std::int64_t capacity) : capacity_(capacity) {}
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    const std::int64_t room = capacity_ - GetPosition();
    if (room <= 0) return 0;
    return TMemoryStream::Write(buffer, count < room ? count : room);
  }

 private:
  std::int64_t capacity_;
};

}  // namespace quill::testing
