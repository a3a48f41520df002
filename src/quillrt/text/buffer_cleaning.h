#pragma once
// In-place cleaning, filling and rearranging of raw character buffers.
//
// Each operation works over exactly `count` units of the buffer (bytes for the
// 8-bit forms, 16-bit units for the "W" forms) in one pass and allocates nothing
// (ExpandTabbedWideString, which returns a new string, apart). A null buffer or
// a count of zero or below does nothing.
//
// The operations that close the text up return its new length. Where they write
// a terminating NUL after the new end they do so only when the text got shorter,
// so the NUL always lands inside the counted buffer.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Every unit below 0x20 becomes a space.
QUILLRT_API void ReplaceControlCharsBySpaceA(char* buffer, std::int32_t count);
QUILLRT_API void ReplaceControlCharsBySpaceW(WideChar* buffer, std::int32_t count);

// Every occurrence of `c` becomes a space.
QUILLRT_API void ReplaceCharacterBySpace(char* buffer, char c, std::int32_t count);
QUILLRT_API void ReplaceCharacterBySpaceW(WideChar* buffer, WideChar c, std::int32_t count);

// Every tab becomes a space.
QUILLRT_API void ReplaceTabsBySpace(char* buffer, std::int32_t count);

// Every CR becomes a space, and so does an LF directly after it; a lone LF stays.
QUILLRT_API void ReplaceCarriageReturnsBySpaceA(char* buffer, std::int32_t count);
QUILLRT_API void ReplaceCarriageReturnsBySpaceW(WideChar* buffer, std::int32_t count);

// Every `old_char` becomes `new_char`.
QUILLRT_API void ReplaceChar1ByChar2W(WideChar* buffer, WideChar old_char, WideChar new_char, std::int32_t count);

// Removes every `c` and closes the rest up; returns the new length.
QUILLRT_API std::int32_t RemoveCharA(char* buffer, char c, std::int32_t count);
QUILLRT_API std::int32_t RemoveCharW(WideChar* buffer, WideChar c, std::int32_t count);

// Reduces every run of two or more consecutive CR LF pairs to one CR LF and
// closes the rest up; returns the new length.
QUILLRT_API std::int32_t CutDoubleCRLFsW(WideChar* buffer, std::int32_t count);

// Removes every LF byte and closes the rest up; returns the new length. No
// terminator is written.
QUILLRT_API std::int32_t LengthConvertedToUnix(char* buffer, std::int32_t count);

// Reduces every run of two or more spaces to one space and closes the rest up;
// returns the new length. The character after a run is always kept.
QUILLRT_API std::int32_t RemoveRedundantSpaceW(WideChar* buffer, std::int32_t count);

// Removes each span from an `open` character to the next `close` character,
// both included. An `open` with no `close` after it is removed alone and the
// scan goes on after it. Returns the new length.
QUILLRT_API std::int32_t ClearBetweenChars(char* buffer, char open, char close, std::int32_t count);

// Like ClearBetweenChars, but the close character is sought only within
// `max_span` characters from the open one (the open character counts). A found
// span is removed when `remove` is true, else replaced by as many spaces so that
// the text keeps its length. An open character without a close character within
// reach is removed alone, in both modes. Returns the new length.
QUILLRT_API std::int32_t CleanBetweenChars(char* buffer, char open, char close, std::int32_t count,
                                           std::int32_t max_span, bool remove);

// The first `count` units become spaces.
QUILLRT_API void BlankOutSomeBytesA(char* buffer, std::int32_t count);
QUILLRT_API void BlankOutSomeBytesW(WideChar* buffer, std::int32_t count);

// The first `count` units become 0.
QUILLRT_API void ZeroSomeBytesW(WideChar* buffer, std::int32_t count);

// The first size_in_bytes / 2 units take the character `c`.
QUILLRT_API void FillWChar(WideChar* buffer, std::int32_t size_in_bytes, WideChar c);

// A buffer holding a string A of first_length characters followed by a string B
// of second_length characters becomes B followed by A, in place (a rotation
// done by following its cycles). Nothing happens when the buffer starts with a
// NUL or either length is negative.
QUILLRT_API void Swap2Strings(WideChar* buffer, std::int32_t first_length, std::int32_t second_length);

// A copy of `s` in which every tab is replaced by `n` spaces (none for n <= 0).
QUILLRT_API UnicodeString ExpandTabbedWideString(const UnicodeString& s, std::int32_t n);

// Replaces, left to right, every non-overlapping occurrence of the first
// `find_length` units of `find` among the first `count` units of the buffer by
// the NUL-terminated `replacement`, in place. The replacement may not be longer
// than the searched text, since the buffer cannot grow: then nothing is changed
// and the result is -1. Otherwise the text after each replacement is closed up,
// a NUL is written after the new end when the text got shorter, and the result
// is the new length. Replaced text is not searched again.
QUILLRT_API std::int32_t SearchAndReplaceFastW(WideChar* buffer, const WideChar* find, const WideChar* replacement,
                                               std::int32_t count, std::int32_t find_length);

}  // namespace quill
