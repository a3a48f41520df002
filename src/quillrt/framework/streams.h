#pragma once
// Byte streams: the abstract stream, a memory stream and a file stream with the
// framework's open modes, plus little-endian helpers for fixed-width fields.
//
// Read/Write move at most `count` bytes and return how many moved; ReadBuffer and
// WriteBuffer raise EReadError / EWriteError on a short transfer.
#include <bit>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class QUILLRT_API TStream {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream();

  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // Moves the position; returns the new position from the start.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t GetPosition() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  virtual std::int64_t GetSize();
  virtual void SetSize(std::int64_t new_size) = 0;

  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
  // Copies `count` bytes from `source` at its position (all of it from its start
  // when count is 0); returns the bytes copied.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);

  // Little-endian fixed-width values. TryRead* report whether every byte arrived
  // (the value is zero otherwise); Read* raise EReadError; Write* raise EWriteError.
  template <class T>
    requires(std::integral<T> || std::floating_point<T>)
  bool TryReadLE(T& value) {
    unsigned char bytes[sizeof(T)] = {};
    const bool complete = Read(bytes, sizeof(T)) == static_cast<std::int64_t>(sizeof(T));
    value = complete ? FromLE<T>(bytes) : T{};
    return complete;
  }
  template <class T>
    requires(std::integral<T> || std::floating_point<T>)
  T ReadLE() {
    unsigned char bytes[sizeof(T)];
    ReadBuffer(bytes, sizeof(T));
    return FromLE<T>(bytes);
  }
  template <class T>
    requires(std::integral<T> || std::floating_point<T>)
  bool TryWriteLE(T value) {
    unsigned char bytes[sizeof(T)];
    ToLE(value, bytes);
    return Write(bytes, sizeof(T)) == static_cast<std::int64_t>(sizeof(T));
  }
  template <class T>
    requires(std::integral<T> || std::floating_point<T>)
  void WriteLE(T value) {
    unsigned char bytes[sizeof(T)];
    ToLE(value, bytes);
    WriteBuffer(bytes, sizeof(T));
  }

  // Byte order helpers, usable on their own for fixed records in memory.
  template <class T>
  static T FromLE(const unsigned char* bytes) {
    using U = std::conditional_t<sizeof(T) == 1, std::uint8_t,
              std::conditional_t<sizeof(T) == 2, std::uint16_t,
              std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
    U raw = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) raw |= static_cast<U>(static_cast<U>(bytes[i]) << (8 * i));
    return std::bit_cast<T>(raw);
  }
  template <class T>
  static void ToLE(T value, unsigned char* bytes) {
    using U = std::conditional_t<sizeof(T) == 1, std::uint8_t,
              std::conditional_t<sizeof(T) == 2, std::uint16_t,
              std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
    const U raw = std::bit_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<unsigned char>(raw >> (8 * i));
  }
};

// A stream over a growable block of memory that it owns.
class QUILLRT_API TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  ~TMemoryStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t GetSize() override { return static_cast<std::int64_t>(data_.size()); }
  void SetSize(std::int64_t new_size) override;

  void Clear();
  unsigned char* Memory() { return data_.data(); }
  const unsigned char* Memory() const { return data_.data(); }
  const std::vector<unsigned char>& Bytes() const { return data_; }

  // Replaces the contents with the whole stream/file; the position goes to 0.
  void LoadFromStream(TStream& source);
  void LoadFromFile(const UnicodeString& file_name);
  // Writes the whole contents (not just from the position).
  void SaveToStream(TStream& target) const;
  void SaveToFile(const UnicodeString& file_name) const;

 private:
  std::vector<unsigned char> data_;
  std::int64_t position_ = 0;
};

// File open modes: one access mode, optionally or-ed with one share mode. fmCreate
// creates or truncates the file and opens it for reading and writing.
enum : std::uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

// A stream over a file. A failed open raises EFOpenError (EFCreateError for
// fmCreate) naming the file and the system's reason. Share modes are accepted and
// have no effect: POSIX files are not locked against other openers.
class QUILLRT_API TFileStream : public TStream {
 public:
  TFileStream(const UnicodeString& file_name, std::uint16_t mode);
  ~TFileStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t new_size) override;

  const UnicodeString& FileName() const { return file_name_; }
  int Handle() const { return fd_; }
  // Forces written data to the disk; raises EWriteError on failure.
  void Flush();

 private:
  UnicodeString file_name_;
  int fd_ = -1;
};

// Writes a whole file so that nothing half-written is ever left at `file_name`:
// `writer` fills a temporary file beside it, which replaces the target only when
// the writer returns true without raising. Returns the writer's answer; on any
// failure the temporary file is removed and an existing target is untouched.
// Exceptions of the writer continue to the caller after the clean-up.
QUILLRT_API bool WriteFileAtomically(const UnicodeString& file_name,
                                     const std::function<bool(TStream&)>& writer);

// File-system paths: UTF-16 names become the byte paths of the system calls (file_names.h).
QUILLRT_API std::string SystemPath(const UnicodeString& file_name);

}  // namespace quill
