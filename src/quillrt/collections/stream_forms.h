#pragma once
// The string and buffer forms every persistent structure is built from.
//
//   counted UTF-16 string   int32 N, then N UTF-16LE units (no terminator);
//                           the empty string is the four bytes 00 00 00 00
//   short 8-bit string      1 byte L, then L bytes
//   counted char buffer     int32 N, then N UTF-16LE units (wide) or N bytes;
//                           a null or empty buffer is N = 0 and nothing after it
//   wide 0-terminated buf   the counted char buffer in wide mode
//   8-bit 0-terminated buf  uint16 N, then N bytes
//
// Damaged input. Every reader checks what it gets and raises rather than
// returning made-up text:
//   - a count whose bytes do not all arrive, or text that ends before the count
//     says, raises EReadError "file read error : <reader>";
//   - a count that is negative or above the reader's limit raises EStreamError
//     with the same message (EReadError derives from EStreamError, so one handler
//     catches both);
//   - a large count is checked against the bytes left in the stream before any
//     memory is allocated for it.
// Writers refuse what their form cannot hold (a short string above 255 bytes, an
// 8-bit buffer above 65535 bytes) with EWriteError before writing anything, so a
// stream never receives a length field that disagrees with the bytes after it.
#include <cstdint>
#include <string_view>

#include "quillrt/collections/pchar_buffers.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Reading limit of ReadAString(Stream), in characters (5000 at load; the tools
// may change it).
extern QUILLRT_API std::int32_t global_string_safety_limit;

// The count most recently read by ReadUnknownLengthPointerMaxSize (0 when the
// count itself did not arrive).
extern QUILLRT_API std::int32_t temp_pointer_chars_allocated;

// The empty string: what an empty buffer reads back as.
extern QUILLRT_API const UnicodeString nowt;

// Limit of ReadUnknownLengthPointer, in characters.
inline constexpr std::int32_t kUnknownLengthPointerLimit = 50000;

// The text of the read-failure exceptions; %s is the reader's name.
inline constexpr std::string_view kFileReadErrorFormat = "file read error : %s";
inline constexpr std::string_view kFileWriteErrorFormat = "file write error : %s";

// "file read error : <function_name>"
QUILLRT_API UnicodeString FileReadErrorMessage(std::string_view function_name);
QUILLRT_API UnicodeString FileWriteErrorMessage(std::string_view function_name);

// ---- counted UTF-16 string --------------------------------------------------

// Writes the counted form; returns true. Stream failures raise.
QUILLRT_API bool WriteAString(TStream& stream, std::u16string_view s);
// Reads the counted form with the limit global_string_safety_limit / `max`.
QUILLRT_API UnicodeString ReadAString(TStream& stream);
QUILLRT_API UnicodeString ReadAString(TStream& stream, std::int32_t max);

// ---- short 8-bit string ------------------------------------------------------

// Returns true; a string longer than 255 bytes raises EWriteError, writing nothing.
QUILLRT_API bool WriteShortString(TStream& stream, std::string_view s);
QUILLRT_API AnsiString ReadShortString(TStream& stream);

// ---- counted character buffer -----------------------------------------------

// Writes N, then the N characters at `p` (UTF-16 units when wide, else bytes).
// A null `p` or a negative N is written as the empty buffer. Returns whether
// every byte was taken by the stream.
QUILLRT_API bool WriteKnownLengthPointer(TStream& stream, const void* p, bool wide, std::int32_t n);
// As above with N = the zero-terminated length of `p` (0 for null).
QUILLRT_API bool WriteUnknownLengthPointer(TStream& stream, const void* p, bool wide);

// Return a new zero-terminated buffer (WideChar* when wide, else char*), never
// null, even for an empty buffer; the caller frees it with DeletePWideChar /
// DeletePAnsichar.
QUILLRT_API void* ReadUnknownLengthPointerMaxSize(TStream& stream, bool wide, std::int32_t max);
QUILLRT_API void* ReadUnknownLengthPointer(TStream& stream, bool wide);

// Typed forms of the same reader for C++ callers.
QUILLRT_API UniquePWideChar ReadUnknownLengthWide(TStream& stream,
                                                  std::int32_t max = kUnknownLengthPointerLimit);
QUILLRT_API UniquePAnsichar ReadUnknownLengthAnsi(TStream& stream,
                                                  std::int32_t max = kUnknownLengthPointerLimit);

// ---- zero-terminated buffers -------------------------------------------------

// int32 N and N UTF-16 units; a null `p` is the empty buffer. Stream failures raise.
QUILLRT_API void WriteWidePchar(TStream& stream, const WideChar* p);
// No limit of its own beyond the bytes the stream still holds. Caller frees the
// result with DeletePWideChar.
QUILLRT_API PWideChar ReadWidePchar(TStream& stream);

// uint16 N and N bytes; returns the number of text bytes written. A buffer of more
// than 65535 bytes raises EWriteError, writing nothing.
QUILLRT_API std::int32_t WriteAnsiPchar(TStream& stream, const char* p);
// Caller frees the result with DeletePAnsichar.
QUILLRT_API PAnsiChar ReadAnsiPchar(TStream& stream);

// A file stream that can write the short 8-bit string form of itself.
class QUILLRT_API TMyFileStream : public TFileStream {
 public:
  using TFileStream::TFileStream;
  ~TMyFileStream() override;

  bool WriteAShortString(std::string_view s) { return WriteShortString(*this, s); }
};

}  // namespace quill
