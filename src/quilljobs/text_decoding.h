#pragma once
// What a corpus file's bytes hold and their text: UTF-16 of either byte order
// (with or without a byte-order mark), UTF-8 (even with a few bad sequences,
// which become U+FFFD), plain ASCII, 8-bit text in the code page of --lang, or
// binary content that is no text at all. Shared by every command that reads
// texts and by `files` and `detect`, which name what they find.
#include <cstddef>
#include <string>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quilljobs/quilljobs_export.h"

namespace quill::jobs {

struct TextKind {
  enum Encoding { utf16, utf16_big_endian, utf8, ascii, eight_bit, binary };
  Encoding encoding = ascii;
  std::size_t mark = 0;          // bytes of byte-order mark to skip
  std::size_t invalid_utf8 = 0;  // UTF-8: the bytes that belong to no well-formed sequence
};

// Judges `bytes`. UTF-16 shows itself in its first bytes (a byte-order mark,
// the statistics of its units, the zero bytes of Latin text), so only a sample
// is tested for it. Otherwise a NUL byte, or more control characters than
// text holds (beyond tab, line ends, form feed and escape), in the sample make
// the content binary, as grep and file(1) judge it. Text with well-formed
// multi-byte sequences and at most as many bytes that fit none is UTF-8; text
// of 7-bit bytes only is ASCII; the rest is 8-bit.
QUILLJOBS_API TextKind KindOfText(std::string_view bytes);

// The text of `bytes` of the kind given (binary content is decoded as 8-bit).
QUILLJOBS_API UnicodeString DecodeText(std::string_view bytes, const TextKind& kind);

// "UTF-16LE", "UTF-16BE", "UTF-8", "UTF-8 (N invalid bytes)", "ASCII", "8-bit"
// or "binary".
QUILLJOBS_API std::string TextKindName(const TextKind& kind);

// The length of the well-formed UTF-8 sequence at `at` (1 to 4), 0 when the
// bytes there are not one (overlong, a surrogate, beyond U+10FFFF, cut short).
QUILLJOBS_API std::size_t Utf8SequenceLength(std::string_view s, std::size_t at);

// The multi-byte sequences of 8-bit or UTF-8 bytes, well-formed and not, as
// the judging of a text counts them; a large text can be counted a stretch
// at a time.
struct QUILLJOBS_API Utf8Tally {
  std::size_t well_formed = 0, invalid = 0;
  // Counts the sequences that start in [from, to) of `bytes` (the last may
  // run past `to`) and returns where counting goes on.
  std::size_t Count(std::string_view bytes, std::size_t from, std::size_t to);
  // Text without a byte-order mark, by its counts: ASCII, UTF-8 (a damaged
  // byte here and there allowed) or 8-bit.
  TextKind Verdict() const;
};

// Widens bytes one for one into 16-bit units at `out` (room for
// bytes.size()), sixteen at a time; false when a byte above 0x7F was among
// them, the units then not being the text.
QUILLJOBS_API bool WidenedAscii(std::string_view bytes, char16_t* out);
// The same in one pass with the judging, for the text KindOfText calls plain
// ASCII (printable bytes, tabs and line ends only): false, the units then not
// being the text, for anything else.
QUILLJOBS_API bool WidenedPlainAscii(std::string_view bytes, char16_t* out);

}  // namespace quill::jobs
