#pragma once
// Case mapping with the system's LCMapStringW conventions, one unit for one
// unit: simple (1:1) Unicode case mapping per code point, so that a mapped
// string always has the length of its source (the three case copies of a
// search word must line up unit for unit). A surrogate pair is mapped as a
// pair when its code point's mapping is a pair too; otherwise it stays.
//
// The locale matters only for the Turkic languages (Turkish, primary language
// 0x1F, and Azeri, 0x2C) and only when linguistic casing is asked for: then
// I <-> dotless ı and dotted İ <-> i. Any other LCID, known or not, gets the
// locale-independent mapping.
//
// Each of the four mappings (lower/upper, Turkic or not) is a 65,536-entry
// table built on first use.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

inline constexpr std::uint32_t LCMAP_LOWERCASE = 0x00000100;
inline constexpr std::uint32_t LCMAP_UPPERCASE = 0x00000200;
inline constexpr std::uint32_t LCMAP_LINGUISTIC_CASING = 0x01000000;

enum class CaseDirection { lower, upper };

// True when the LCID's primary language is Turkish or Azeri.
QUILLRT_API bool UsesTurkicCasing(std::uint32_t lcid);

// The 65,536-entry table of one mapping (surrogate units map to themselves).
QUILLRT_API const char16_t* CaseMapTable(CaseDirection direction, bool turkic);

// Maps `count` units from `source` to `dest` (which may be `source` itself).
// Nothing happens for a null pointer or a count of 0.
QUILLRT_API void MapCase(const char16_t* source, std::size_t count, char16_t* dest, CaseDirection direction,
                         bool turkic);

// A mapped copy of `text`.
QUILLRT_API UnicodeString MapCaseString(std::u16string_view text, CaseDirection direction, bool turkic = false);

// The system call: `flags` holds exactly one of LCMAP_LOWERCASE and
// LCMAP_UPPERCASE, optionally with LCMAP_LINGUISTIC_CASING. A source count of
// -1 means "up to and including the terminating NUL". The result is the number
// of units written; a `dest_count` of 0 asks for that number and writes
// nothing; 0 on failure (null source, count 0 or below -1, other flags, output
// too small). `dest` may be `source` (mapping in place).
QUILLRT_API int LCMapStringW(std::uint32_t lcid, std::uint32_t flags, const char16_t* source, int source_count,
                             char16_t* dest, int dest_count);

}  // namespace quill
