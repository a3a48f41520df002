#pragma once
// Small conventions the tools share for text: how typed line breaks, tabs and
// wildcards are held internally, the flag bits of word-type records, and a few
// string clean-ups (quotes, characters, drive paths, title case).
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Internal codes of the wildcards typed in a replacement or search text.
inline constexpr char16_t kEncodedAsterisk = 29;
inline constexpr char16_t kEncodedQuestionMark = 28;
inline constexpr char16_t kEncodedHash = 27;

// What a user typed into the internal form: "*", "?" and "#" become codes 29,
// 28 and 27, except as the first or last character of the text or next to a
// double quote (a quoted wildcard stays literal); then the catalogue's "<Enter>"
// becomes CR LF and its "<Tab>" a TAB.
QUILLRT_API UnicodeString EncodedCRLFTAB(const UnicodeString& text);

// The reverse, for showing: codes 29, 28, 27 as "*", "?", "#", CR LF as
// "<Enter>", TAB as "<Tab>".
QUILLRT_API UnicodeString EncodedCRLFTABToReadableStr(const UnicodeString& text);

// Word-type records: 32 bits, the top four flags, the low 28 the value.
inline constexpr std::uint32_t kTypeRecTextEnd = 0x80000000u;      // ends a text
inline constexpr std::uint32_t kTypeRecParaHeadEnd = 0x40000000u;  // ends a paragraph or heading
inline constexpr std::uint32_t kTypeRecSentEnd = 0x20000000u;      // ends a sentence
inline constexpr std::uint32_t kTypeRecPunctEnd = 0x10000000u;     // is followed by punctuation
inline constexpr std::uint32_t kTypeRecValueMask = 0x0FFFFFFFu;

constexpr bool TypeRecIsTextEnd(std::uint32_t v) { return (v & kTypeRecTextEnd) != 0; }
constexpr bool TypeRecIsParaHeadEnd(std::uint32_t v) { return (v & kTypeRecParaHeadEnd) != 0; }
constexpr bool TypeRecIsSentEnd(std::uint32_t v) { return (v & kTypeRecSentEnd) != 0; }
constexpr bool TypeRecIsPunctEnd(std::uint32_t v) { return (v & kTypeRecPunctEnd) != 0; }
constexpr std::uint32_t TypeRecWithoutTextMarker(std::uint32_t v) { return v & kTypeRecValueMask; }
constexpr bool TypeRecIsUnmarked(std::uint32_t v) { return v < kTypeRecPunctEnd; }

// The text between the double quotes when `text` starts and ends with one (and
// is at least two characters long); otherwise `text` unchanged.
QUILLRT_API UnicodeString CutOutsideQuotes(const UnicodeString& text);

// `text` without any occurrence of `c`.
QUILLRT_API UnicodeString ChrClearedFromString(char16_t c, const UnicodeString& text);

// `text` with `sub` removed until none is left, so that occurrences formed by a
// removal go too ("ab" from "aabb" leaves ""). An empty `sub` removes nothing.
QUILLRT_API UnicodeString SubStrClearedFromString(const UnicodeString& sub, const UnicodeString& text);

// A typed drive path made whole: trimmed; "C:" gets a delimiter appended and
// "C:data" one inserted after the colon. Any other path is only trimmed.
QUILLRT_API UnicodeString CorrectedPathname(const UnicodeString& path);

// Lower case, then the first letter of each run of letters in upper case; a
// letter at the last position stays lower case, and so does the only letter of
// a one-character text ("the cat sat" gives "The Cat Sat", "a b" gives "A b").
QUILLRT_API UnicodeString TitleCasedString(const UnicodeString& text);

}  // namespace quill
