#pragma once
// Conversion between 8-bit code pages and UTF-16, with the calling conventions
// of the system's MultiByteToWideChar / WideCharToMultiByte:
//   - a source count of -1 means "up to and including the terminating NUL";
//   - an output size of 0 asks for the size needed and writes nothing;
//   - the result is the number of units written (or needed), 0 on failure
//     (null source, count 0 or below -1, unknown code page, output too small,
//     an invalid sequence under the *_ERR_INVALID_CHARS flags).
//
// The pages are those of ICU's converters under their Windows numbers: the ANSI
// pages 874, 932, 936, 949, 950, 1250-1258, the OEM pages 437, 720, 737, 775,
// 850, 852, 855, 857, 858, 862, 866, 869, ..., 20127 (US-ASCII), 28591-28605
// (ISO 8859), 65001 (UTF-8), 65000 (UTF-7) and others ICU knows as
// "windows-<n>", "cp<n>" or "ibm-<n>".
//
// Single-byte pages work from a 256-entry table built once per page. Bytes 0x00
// to 0x1F and 0x7F always stand for the control of the same value (some OEM
// tables of ICU would map them to glyphs). A byte the page leaves unassigned
// reads as U+FFFD. The double-byte pages 932, 936, 949 and 950 work from a
// lead-byte table and a 65,536-entry pair table, also built once per page; an
// unassigned pair reads as U+FFFD (one per pair, or one for the lead byte alone
// when the second byte cannot be a trail byte and is then read again), as does
// a lead byte at the very end of the input.
//
// On the way out a character the page lacks becomes the default character ('?'
// unless one is passed) and sets *used_default_char. Unless WC_NO_BEST_FIT_CHARS
// is given, ICU's fallback mappings (a close character of the page) are used
// first, without setting the flag. For UTF-8 and UTF-7 the default character
// and the flag must not be passed (the call fails), and unpaired surrogates
// become U+FFFD.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

inline constexpr std::uint32_t CP_ACP = 0;
inline constexpr std::uint32_t CP_OEMCP = 1;
inline constexpr std::uint32_t CP_MACCP = 2;
inline constexpr std::uint32_t CP_THREAD_ACP = 3;
inline constexpr std::uint32_t CP_UTF7 = 65000;
inline constexpr std::uint32_t CP_UTF8 = 65001;

inline constexpr std::uint32_t MB_PRECOMPOSED = 0x0001;
inline constexpr std::uint32_t MB_ERR_INVALID_CHARS = 0x0008;
inline constexpr std::uint32_t WC_ERR_INVALID_CHARS = 0x0080;
inline constexpr std::uint32_t WC_NO_BEST_FIT_CHARS = 0x0400;

// The system's ANSI code page: 1252 unless set. SetACP refuses (false) a page
// that cannot be converted or is multi-purpose (0 to 3).
QUILLRT_API std::uint32_t GetACP();
QUILLRT_API bool SetACP(std::uint32_t code_page);
// The system's OEM code page: 437 unless set.
QUILLRT_API std::uint32_t GetOEMCP();
QUILLRT_API bool SetOEMCP(std::uint32_t code_page);

// CP_ACP / CP_THREAD_ACP -> GetACP(), CP_OEMCP -> GetOEMCP(), CP_MACCP -> 10000;
// any other value is returned unchanged.
QUILLRT_API std::uint32_t ResolveCodePage(std::uint32_t code_page);
QUILLRT_API bool IsValidCodePage(std::uint32_t code_page);
// True for pages of one byte per character.
QUILLRT_API bool IsSingleByteCodePage(std::uint32_t code_page);
// True when `byte` starts a two-byte character of a double-byte page.
QUILLRT_API bool IsDBCSLeadByteEx(std::uint32_t code_page, std::uint8_t byte);

// The 256 UTF-16 units of a single-byte page (null for other or unknown pages).
QUILLRT_API const char16_t* SingleByteToUnicodeTable(std::uint32_t code_page);

QUILLRT_API int MultiByteToWideChar(std::uint32_t code_page, std::uint32_t flags, const char* source,
                                    int source_count, char16_t* dest, int dest_count);
QUILLRT_API int WideCharToMultiByte(std::uint32_t code_page, std::uint32_t flags, const char16_t* source,
                                    int source_count, char* dest, int dest_count,
                                    const char* default_char = nullptr, bool* used_default_char = nullptr);

// String forms of the two calls (lenient: unmapped input as described above).
QUILLRT_API UnicodeString AnsiToUnicode(std::string_view bytes, std::uint32_t code_page);
QUILLRT_API AnsiString UnicodeToAnsi(std::u16string_view text, std::uint32_t code_page,
                                     bool* used_default_char = nullptr);

namespace detail {

// How the class-array builder reads a page: one table lookup per byte, a
// lead-byte and pair table, hand-decoded UTF-8, or ICU one character at a time.
enum class PageKind { single_byte, double_byte, utf8, other, unknown };
PageKind KindOfCodePage(std::uint32_t resolved_code_page);

// The double-byte tables of a page of kind double_byte.
struct DoubleByteTables {
  bool lead[256];         // bytes that start a two-byte character
  char16_t single[256];   // the characters of single bytes (U+FFFD for lead bytes)
  char16_t pair[65536];   // index lead << 8 | trail; U+FFFD when unassigned
  bool pair_valid[65536];
};
const DoubleByteTables* DoubleByteTablesOf(std::uint32_t resolved_code_page);

// Walks the characters of `count` bytes in a page of kind `other`; calls
// visit(first_byte_index, byte_length, code_point) for each (U+FFFD for bytes
// that do not decode). Returns false when the page cannot be opened.
template <typename Visit>
bool ForEachCharacter(std::uint32_t resolved_code_page, const char* bytes, std::size_t count, Visit&& visit);

// The non-template core of ForEachCharacter.
using CharacterVisitor = void (*)(void* context, std::size_t index, std::size_t length, std::uint32_t code_point);
bool ForEachCharacterImpl(std::uint32_t resolved_code_page, const char* bytes, std::size_t count,
                          CharacterVisitor visit, void* context);

template <typename Visit>
bool ForEachCharacter(std::uint32_t resolved_code_page, const char* bytes, std::size_t count, Visit&& visit) {
  return ForEachCharacterImpl(
      resolved_code_page, bytes, count,
      [](void* context, std::size_t index, std::size_t length, std::uint32_t code_point) {
        (*static_cast<std::remove_reference_t<Visit>*>(context))(index, length, code_point);
      },
      const_cast<void*>(static_cast<const void*>(&visit)));
}

}  // namespace detail

}  // namespace quill
