#include "quillrt/collections/stream_forms.h"

#include <bit>
#include <cstring>
#include <limits>
#include <string>

namespace quill {

std::int32_t global_string_safety_limit = 5000;
std::int32_t temp_pointer_chars_allocated = 0;
const UnicodeString nowt;

TMyFileStream::~TMyFileStream() = default;

namespace {

UnicodeString FillFormat(std::string_view format, std::string_view name) {
  std::string text(format);
  text.replace(text.find("%s"), 2, name);
  return Utf8ToUtf16(text);
}

[[noreturn]] void RaiseTruncated(std::string_view reader) { throw EReadError(FileReadErrorMessage(reader)); }
[[noreturn]] void RaiseBadCount(std::string_view reader) { throw EStreamError(FileReadErrorMessage(reader)); }
[[noreturn]] void RaiseTooLong(std::string_view writer) { throw EWriteError(FileWriteErrorMessage(writer)); }

// Below this many bytes a count is simply read: the allocation is small and a
// short read is caught afterwards. Above it the count is first checked against
// what the stream still holds, so that a damaged count cannot make us allocate
// gigabytes for a stream of a few bytes.
constexpr std::int64_t kCheckRemainingAbove = 4096;

void CheckRoomFor(TStream& stream, std::int64_t bytes, std::string_view reader) {
  if (bytes <= kCheckRemainingAbove) return;
  const std::int64_t position = stream.GetPosition();
  const std::int64_t size = stream.GetSize();
  if (position >= 0 && size >= 0 && bytes > size - position) RaiseTruncated(reader);
}

template <class T>
T ReadCount(TStream& stream, std::string_view reader) {
  T count{};
  if (!stream.TryReadLE(count)) RaiseTruncated(reader);
  return count;
}

// Reads `units` UTF-16LE code units into `target`.
void ReadUnits(TStream& stream, WideChar* target, std::int64_t units, std::string_view reader) {
  const std::int64_t bytes = units * 2;
  if (stream.Read(target, bytes) != bytes) RaiseTruncated(reader);
  if constexpr (std::endian::native == std::endian::big) {
    for (std::int64_t i = 0; i < units; ++i) target[i] = static_cast<WideChar>((target[i] >> 8) | (target[i] << 8));
  }
}

void ReadBytes(TStream& stream, char* target, std::int64_t count, std::string_view reader) {
  if (stream.Read(target, count) != count) RaiseTruncated(reader);
}

// Writes UTF-16 units little-endian; returns the bytes the stream took.
std::int64_t WriteUnits(TStream& stream, const WideChar* units, std::int64_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    return stream.Write(units, count * 2);
  } else {
    std::u16string swapped(units, static_cast<std::size_t>(count));
    for (auto& u : swapped) u = static_cast<WideChar>((u >> 8) | (u << 8));
    return stream.Write(swapped.data(), count * 2);
  }
}

std::int64_t WideLength(const WideChar* p) {
  if (p == nullptr) return 0;
  return static_cast<std::int64_t>(std::char_traits<WideChar>::length(p));
}

std::int64_t AnsiLength(const char* p) { return p == nullptr ? 0 : static_cast<std::int64_t>(std::strlen(p)); }

constexpr std::int64_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();

}  // namespace

UnicodeString FileReadErrorMessage(std::string_view function_name) {
  return FillFormat(kFileReadErrorFormat, function_name);
}

UnicodeString FileWriteErrorMessage(std::string_view function_name) {
  return FillFormat(kFileWriteErrorFormat, function_name);
}

// ---- counted UTF-16 string --------------------------------------------------

bool WriteAString(TStream& stream, std::u16string_view s) {
  const auto length = static_cast<std::int64_t>(s.size());
  if (length > kMaxInt32) RaiseTooLong("WriteAString");
  stream.WriteLE(static_cast<std::int32_t>(length));
  if (length > 0 && WriteUnits(stream, s.data(), length) != length * 2)
    throw EWriteError(std::string_view("Stream write error"));
  return true;
}

UnicodeString ReadAString(TStream& stream) { return ReadAString(stream, global_string_safety_limit); }

UnicodeString ReadAString(TStream& stream, std::int32_t max) {
  constexpr std::string_view kName = "ReadAString";
  const auto count = ReadCount<std::int32_t>(stream, kName);
  if (count == 0) return {};
  if (count < 0 || count > max) RaiseBadCount(kName);
  CheckRoomFor(stream, std::int64_t{count} * 2, kName);
  UnicodeString result(static_cast<std::size_t>(count), u'\0');
  ReadUnits(stream, result.data(), count, kName);
  return result;
}

// ---- short 8-bit string ------------------------------------------------------

bool WriteShortString(TStream& stream, std::string_view s) {
  if (s.size() > 255) RaiseTooLong("WriteShortString");
  const auto length = static_cast<std::uint8_t>(s.size());
  stream.WriteLE(length);
  stream.WriteBuffer(s.data(), length);
  return true;
}

AnsiString ReadShortString(TStream& stream) {
  constexpr std::string_view kName = "ReadShortString";
  const auto length = ReadCount<std::uint8_t>(stream, kName);
  AnsiString result(length, '\0');
  if (length > 0) ReadBytes(stream, result.data(), length, kName);
  return result;
}

// ---- counted character buffer -----------------------------------------------

bool WriteKnownLengthPointer(TStream& stream, const void* p, bool wide, std::int32_t n) {
  // A negative count or a missing buffer would give a stream that no reader
  // accepts (or a crash); both are written as the empty buffer instead.
  if (n < 0 || p == nullptr) n = 0;
  if (!stream.TryWriteLE(n)) return false;
  if (n == 0) return true;
  if (wide) return WriteUnits(stream, static_cast<const WideChar*>(p), n) == std::int64_t{n} * 2;
  return stream.Write(p, n) == n;
}

bool WriteUnknownLengthPointer(TStream& stream, const void* p, bool wide) {
  const std::int64_t length =
      wide ? WideLength(static_cast<const WideChar*>(p)) : AnsiLength(static_cast<const char*>(p));
  if (length > kMaxInt32) RaiseTooLong("WriteUnknownLengthPointer");
  return WriteKnownLengthPointer(stream, p, wide, static_cast<std::int32_t>(length));
}

namespace {

// The shared reader of the counted buffer; returns the count to read, after
// validating it and recording it in temp_pointer_chars_allocated.
std::int32_t ReadBufferCount(TStream& stream, bool wide, std::int32_t max) {
  constexpr std::string_view kName = "ReadUnknownLengthPointer";
  temp_pointer_chars_allocated = 0;
  const auto count = ReadCount<std::int32_t>(stream, kName);
  temp_pointer_chars_allocated = count;
  if (count < 0 || count > max) RaiseBadCount(kName);
  CheckRoomFor(stream, std::int64_t{count} * (wide ? 2 : 1), kName);
  return count;
}

// `count` characters read into a new zero-terminated buffer of the text layer.
UniquePWideChar ReadWideBuffer(TStream& stream, std::int32_t count, std::string_view reader) {
  UnicodeString text(static_cast<std::size_t>(count), u'\0');
  if (count > 0) ReadUnits(stream, text.data(), count, reader);
  return UniquePWideChar(NewLenPWidechar(text.c_str(), count));
}

UniquePAnsichar ReadAnsiBuffer(TStream& stream, std::int32_t count, std::string_view reader) {
  AnsiString text(static_cast<std::size_t>(count), '\0');
  if (count > 0) ReadBytes(stream, text.data(), count, reader);
  return UniquePAnsichar(NewLenPAnsichar(text.c_str(), count));
}

}  // namespace

UniquePWideChar ReadUnknownLengthWide(TStream& stream, std::int32_t max) {
  const std::int32_t count = ReadBufferCount(stream, true, max);
  return ReadWideBuffer(stream, count, "ReadUnknownLengthPointer");
}

UniquePAnsichar ReadUnknownLengthAnsi(TStream& stream, std::int32_t max) {
  const std::int32_t count = ReadBufferCount(stream, false, max);
  return ReadAnsiBuffer(stream, count, "ReadUnknownLengthPointer");
}

void* ReadUnknownLengthPointerMaxSize(TStream& stream, bool wide, std::int32_t max) {
  if (wide) return ReadUnknownLengthWide(stream, max).release();
  return ReadUnknownLengthAnsi(stream, max).release();
}

void* ReadUnknownLengthPointer(TStream& stream, bool wide) {
  return ReadUnknownLengthPointerMaxSize(stream, wide, kUnknownLengthPointerLimit);
}

// ---- zero-terminated buffers -------------------------------------------------

void WriteWidePchar(TStream& stream, const WideChar* p) {
  const std::int64_t length = WideLength(p);
  if (length > kMaxInt32) RaiseTooLong("WriteWidePchar");
  stream.WriteLE(static_cast<std::int32_t>(length));
  if (length > 0 && WriteUnits(stream, p, length) != length * 2)
    throw EWriteError(std::string_view("Stream write error"));
}

PWideChar ReadWidePchar(TStream& stream) {
  constexpr std::string_view kName = "ReadWidePchar";
  const auto count = ReadCount<std::int32_t>(stream, kName);
  if (count < 0) RaiseBadCount(kName);
  CheckRoomFor(stream, std::int64_t{count} * 2, kName);
  return ReadWideBuffer(stream, count, kName).release();
}

std::int32_t WriteAnsiPchar(TStream& stream, const char* p) {
  const std::int64_t length = AnsiLength(p);
  if (length > 0xFFFF) RaiseTooLong("WriteAnsiPchar");
  stream.WriteLE(static_cast<std::uint16_t>(length));
  if (length == 0) return 0;
  return static_cast<std::int32_t>(stream.Write(p, length));
}

PAnsiChar ReadAnsiPchar(TStream& stream) {
  constexpr std::string_view kName = "ReadAnsiPchar";
  const auto count = ReadCount<std::uint16_t>(stream, kName);
  return ReadAnsiBuffer(stream, count, kName).release();
}

}  // namespace quill
