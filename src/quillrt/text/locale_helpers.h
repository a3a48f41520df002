#pragma once
// Small helpers over the locale information and paths: a locale's code page and
// measurement system, and the normalised form of a path.
#include <cstddef>
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The locale's default ANSI code page, read as text and converted to a number;
// the system ANSI code page when the text is missing or not a number. A
// language written only in Unicode answers 0, which the conversions read as
// the system ANSI page.
QUILLRT_API std::uint32_t CodePageFromLocale(std::uint32_t locale);
QUILLRT_API std::uint32_t LCIDToCodePage(std::uint32_t locale);

// True for the metric system: false only when the locale's measurement system
// reads "1" (U.S. measures).
QUILLRT_API bool UserDefaultMeasurements(std::uint32_t locale);

// Paths of three characters or fewer come back unchanged. Longer ones are made
// absolute (from the current folder) and normalised ("." and ".." resolved,
// repeated delimiters merged, symbolic links left alone), without a trailing
// delimiter.
QUILLRT_API UnicodeString NormalisedPath(const UnicodeString& path);

// The capacity of the buffer NormalisedPathW fills: 260 characters and a NUL.
inline constexpr std::size_t normalised_path_buffer_size = 261;
// NormalisedPath into a caller's buffer of 261 units: the buffer is zero-filled
// first and at most 260 characters are copied. Nothing happens for null.
QUILLRT_API void NormalisedPathW(const UnicodeString& path, WideChar* buffer);

}  // namespace quill
