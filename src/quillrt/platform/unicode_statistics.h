#pragma once
// A statistical test of whether a buffer holds UTF-16 little-endian text, for
// files that carry no byte-order mark.
//
// The buffer is read as 16-bit little-endian units and judged on four counts:
//   1. Illegal units: U+0000, control characters other than tab, line feed,
//      form feed and carriage return (C1 controls included), unpaired
//      surrogates, U+FFFE and U+FFFF. More than one in 200 units: not UTF-16.
//   2. Byte order: more units that read like big-endian ASCII (low byte zero,
//      high byte a printable ASCII byte) than like little-endian ASCII, and at
//      least one unit in ten of them: not (little-endian) UTF-16. (A few such
//      units are ordinary: U+4E00 is the ideograph for "one".)
//   3. Bytes no 8-bit text holds: the bytes 00-08, 0B, 0E-1F and 7F. UTF-16
//      text has them all the time (the zero high byte of every ASCII character,
//      the 04 of Cyrillic, the low bytes of CJK ideographs and of the ideographic
//      comma and full stop), while 8-bit text (ASCII, code pages, UTF-8) has
//      none. Fewer than one unit in 100 holding such a byte: not UTF-16.
//   4. Script ranges: at least 90% of the units must lie in the blocks where
//      text lives (ASCII and Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic,
//      the Indic scripts, Thai, Georgian, Hangul, punctuation and symbols, kana,
//      CJK ideographs, full-width forms, and paired surrogates), and more of
//      them than when the bytes of every unit are swapped.
// A buffer of odd size or of fewer than two bytes is not UTF-16; one that
// begins with the mark U+FEFF is, and one that begins with U+FFFE is not.
#include <cstdint>

#include "quillrt/quillrt_export.h"

namespace quill {

QUILLRT_API bool IsTextUnicode(const void* buffer, std::int64_t size);

}  // namespace quill
