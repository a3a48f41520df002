#pragma once
// The readable form of strings that hold invisible or unusual characters, and
// character codes written as text.
//
// A user types a tab as {CHR(9)} or #9, a separator code as #x1F; or {chr(x41)}
// or {CHR(41h)} for hexadecimal. QYFormattedReadableStringToWorkString turns such
// codes into the characters; QYFormattedWorkStringToReadableString writes the
// control characters of a working string back as {CHR(n)}.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The characters accepted as hexadecimal digits: "0123456789ABCDEFabcdef".
extern QUILLRT_API UnicodeString HexCharactersStr;
// The characters that, right after a "#", announce a hexadecimal number: "Xx$Hh".
extern QUILLRT_API UnicodeString HexSignalStr;
// CR LF.
extern QUILLRT_API UnicodeString CRLF;

// The working form of what a user typed, in two passes (the yield hook is
// called once per code handled):
//  1. {CHR(n)}, "CHR" in any case: n goes through BracedNumberStrToDigitalformat
//     and, when it is an integer, the whole code becomes the one UTF-16 unit of
//     its low 16 bits. A code that does not convert (an empty one too) is left
//     as it is and the search goes on after its "{". The pass ends at a "{CHR("
//     with no ")}" after it.
//  2. "#" codes: "#" then one or more characters of HexSignalStr, then a run of
//     HexCharactersStr read as hexadecimal, with an optional ";" after it that
//     belongs to the code; or "#" then a run of decimal digits. Each becomes the
//     UTF-16 unit of its number's low 16 bits. At the first "#" whose code is
//     empty or does not convert, the pass stops and the rest of the text stays
//     as it is. A character a code produces is not read again as part of
//     another code.
// Codes above 0xFFFF keep their low 16 bits.
QUILLRT_API UnicodeString QYFormattedReadableStringToWorkString(const UnicodeString& text);

// Every character whose code is below `limit` written as "{CHR(" + its decimal
// code + ")}"; the others copied. Readable-to-work turns the result back.
QUILLRT_API UnicodeString QYFormattedWorkStringToReadableString(const UnicodeString& text, std::int32_t limit);

// The inside of a braced code, made ready for the integer conversion (which reads
// a leading "$" as hexadecimal): upper-cased; a leading "X" becomes "$"; a
// trailing "H" is dropped and "$" put in front. "x41" and "41h" give "$41".
QUILLRT_API UnicodeString BracedNumberStrToDigitalformat(const UnicodeString& text);

// Every UTF-16 unit as at least two upper-case hexadecimal digits and ",":
// "AB" gives "41,42,".
QUILLRT_API UnicodeString ToHexNumStr(const UnicodeString& text);
// Groups of three characters, the first two hexadecimal digits: each group gives
// one unit. A group whose digits are not hexadecimal, and an incomplete last
// group, give nothing. Reverses ToHexNumStr for codes below 0x100.
QUILLRT_API UnicodeString FromHexNumStr(const UnicodeString& text);
// Every item that is a decimal number (blanks around it allowed) and is followed
// by "," becomes the unit of its low 16 bits; other items, and a last item
// without ",", are dropped: "65,66," gives "AB".
QUILLRT_API UnicodeString FromNumStr(const UnicodeString& text);

// Ampersands escaped for a menu caption: a single "&" becomes "&&"; a pair "&&"
// is taken as escaped already and stays. "a&b" gives "a&&b", "a&&b" stays, so
// escaping twice changes nothing more.
QUILLRT_API UnicodeString DoubleAnyAmpersands(const UnicodeString& text);

}  // namespace quill
