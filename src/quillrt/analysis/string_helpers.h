#pragma once
// Small helpers that shape single strings: blanks, quotes, brackets, line ends,
// file-name-safe text, case, positions of sub-strings and words, replacements and
// 8-bit conversions.
//
// Positions are 1-based, as in the rest of the text functions: the first
// character is at 1, and "not found" is 0 unless a function says -1.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "quillrt/collections/integer_lists.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// ---- Blanks and characters --------------------------------------------------------

// A single "&" removed, "&&" made "&".
QUILLRT_API UnicodeString StrippedOfSingleAmpersands(const UnicodeString& text);
// Every run of blanks made one blank.
QUILLRT_API UnicodeString StrippedDoubleSpaces(const UnicodeString& text);
QUILLRT_API UnicodeString StrippedOfChar(const UnicodeString& text, WideChar ch);
QUILLRT_API UnicodeString StrippedOfChars(const UnicodeString& text, std::u16string_view set);
// Unicode white space removed at both ends.
QUILLRT_API UnicodeString WideTrimSpaceOnly(const UnicodeString& text);
// Blanks removed after every CR LF; the text's last character always stays.
QUILLRT_API UnicodeString StrippedSpacesAtLineStarts(const UnicodeString& text);
// The characters in reverse order (a surrogate pair stays one character).
QUILLRT_API UnicodeString BackwardsStr(const UnicodeString& text);
// A blank after every character.
QUILLRT_API UnicodeString InterspersedWithSpaces(const UnicodeString& text);
// Every space removed after which, blanks skipped, punctuation comes next.
QUILLRT_API UnicodeString StrippedSpacesBeforePunctuation(const UnicodeString& text);
// Whether any character is a letter or a digit.
QUILLRT_API bool ContainsAlphanumCharacter(const UnicodeString& text);
// The UTF-16 unit of a code below 0x10000, else "?".
QUILLRT_API WideChar WideCharFromCardinal(std::uint32_t code);
QUILLRT_API UnicodeString WideStringFromCardinal(std::uint32_t code);

// ---- Quotes, brackets and pieces ----------------------------------------------------

// The trimmed text in double quotes; the trimmed text without any double quote.
QUILLRT_API UnicodeString DoubleQuotesAdded(const UnicodeString& text);
QUILLRT_API UnicodeString DoubleQuotesRemoved(const UnicodeString& text);
// "(" in front unless there, ")" at the end unless there.
QUILLRT_API UnicodeString Bracketed(const UnicodeString& text);
// Begins with "<" and ends with ">"; the two removed where present.
QUILLRT_API bool IsAngleBracketed(const UnicodeString& text);
QUILLRT_API UnicodeString UNAngle_Bracketed(const UnicodeString& text);
// The text without its first character when that is `ch`.
QUILLRT_API UnicodeString RemovedInitialChar(const UnicodeString& text, WideChar ch);
// The text when not longer than n; else its first n characters, with "…" when `ellipsis`.
QUILLRT_API UnicodeString FirstXCharactersOfString(const UnicodeString& text, int n, bool ellipsis);
// The text after the first "="; empty when there is none.
QUILLRT_API UnicodeString ValueString(const UnicodeString& text);

struct TTwoStringHalves {
  UnicodeString before;
  UnicodeString after;
};
// Before and after the first `mark`; the whole text and an empty second half when
// it is missing.
QUILLRT_API TTwoStringHalves StringHalvesSplitAtMark(WideChar mark, const UnicodeString& text);
// The digits "0" to "9" right after the first "[" as an integer (0 when none follow
// or there is no "[").
QUILLRT_API std::int32_t IntegerInsideSquareBrackets(const UnicodeString& text);
// The first position from `start` (at least 1) holding "0" to "9"; -1.
QUILLRT_API int PositionOfNumberInString(const UnicodeString& text, int start);

// ---- File names --------------------------------------------------------------------

// With `before_extension`, `insertion` goes just before the file name's extension
// (its last "." and what follows); otherwise, or without an extension, at the end.
QUILLRT_API UnicodeString FilenameWithInsertion(const UnicodeString& file_name, const UnicodeString& insertion,
                                                bool before_extension);
// The characters that may not stand in a file name replaced: ">" by ")", "<" by
// "(", and \ / : * ? " | and control characters by "_".
QUILLRT_API UnicodeString AcceptableFilename(const UnicodeString& text);

// ---- Case ------------------------------------------------------------------------

// Lower-cased; then the first character upper-cased, or with `every_word` also
// every character after one below "0" or a word separator (: ; < = > ? @ [ \ ] ^ _
// ` { | } ~, inverted marks, guillemets and curly quotes).
QUILLRT_API UnicodeString TitleCase(const UnicodeString& text, bool every_word);
// Composed to precomposed characters (canonical composition).
QUILLRT_API UnicodeString EnsurePrecomposed(const UnicodeString& text);
// Position of the first occurrence ignoring case; 0 when none. The second form
// expects `upper_sub` upper-cased already.
QUILLRT_API int CaseInsensitivePos(const UnicodeString& sub, const UnicodeString& text);
QUILLRT_API int CaseInsensitiveUpperedPos(const UnicodeString& upper_sub, const UnicodeString& text);
// 0 upper case, 1 title case, 2 lower case, anything else unchanged.
QUILLRT_API UnicodeString OutputConvertedStr(int kind, const UnicodeString& text);
// Lower- or upper-cases a zero-terminated buffer in place with linguistic casing
// for the locale `lcid` (Turkic dotted and dotless i where it applies). The 8-bit
// forms work through the system's 8-bit code page; a character whose other case
// that page cannot hold stays as it is.
QUILLRT_API void WinLowerCased(std::uint32_t lcid, char16_t* buffer);
QUILLRT_API void Capitalise(std::uint32_t lcid, char16_t* buffer);
QUILLRT_API void WinLowerCased(std::uint32_t lcid, char* buffer);
QUILLRT_API void Capitalise(std::uint32_t lcid, char* buffer);
// The catalogue words "Yes" or "No".
QUILLRT_API UnicodeString YesorNo(bool flag);

// ---- Positions -----------------------------------------------------------------------

// The smaller of two positions where both are found (above 0), else the one found;
// 0 when neither.
QUILLRT_API int NearerOfTwo(int a, int b);
// The nearer of the positions of s1 and s2 in `text` from `start` on.
QUILLRT_API int PosExNearer(const UnicodeString& text, const UnicodeString& s1, const UnicodeString& s2,
                            int start = 1);

// Zero-terminated forms: a pointer to the nearer occurrence of s1 or s2 in `text`;
// null when neither occurs (or for a null text).
QUILLRT_API const char* StrPosNearerA(const char* text, const char* s1, const char* s2);
QUILLRT_API const char16_t* StrPosNearerW(const char16_t* text, const char16_t* s1, const char16_t* s2);

// Flags of the word searches.
inline constexpr std::uint32_t kWordBoundedAtLeft = 1u << 4;
inline constexpr std::uint32_t kWordBoundedAtRight = 1u << 5;
// Every position of `word` in `text` (exact comparison; with the flags, only
// occurrences with a word edge at the left and/or right). Empty for empty input.
QUILLRT_API std::unique_ptr<TQYLongintList> PositionsWordFoundIn(const UnicodeString& word, const UnicodeString& text,
                                                                 std::uint32_t flags);
// The first such position; -1 for none or for empty input.
QUILLRT_API int PosWordFoundIn(const UnicodeString& word, const UnicodeString& text, std::uint32_t flags);

// ---- Line ends -------------------------------------------------------------------------

// Every lone LF and every lone CR made CR LF; `added` counts the inserted characters.
QUILLRT_API UnicodeString UnixStringToWindowsStringW(const UnicodeString& text, int& added);
// 8-bit: an LF not after a CR gets a CR before it; a CR followed by another
// character than LF gets an LF after it (a CR at the very end stays alone).
QUILLRT_API AnsiString UnixStringToWindowsString(int& added, const AnsiString& text);

// ---- Replacing -------------------------------------------------------------------------

QUILLRT_API void Replace1With2In(WideChar old_char, WideChar new_char, UnicodeString& text);
QUILLRT_API void Replace1With2In(char old_char, char new_char, AnsiString& text);
// Every a replaced by c, then every b by d.
QUILLRT_API void Replace2With4In(WideChar a, WideChar b, WideChar c, WideChar d, UnicodeString& text);
QUILLRT_API UnicodeString ReplaceAnyOfTheseWithChar(std::u16string_view set, const UnicodeString& text, WideChar ch);
// Flags of AnsiStringReplace.
inline constexpr std::uint32_t kReplaceAll = 1u << 0;
inline constexpr std::uint32_t kReplaceIgnoreCase = 1u << 1;
// 8-bit replacement, left to right without overlap: every occurrence with
// kReplaceAll, else the first; kReplaceIgnoreCase compares ASCII letters without
// case (the text copied keeps its case). Unchanged when `text` or `old_text` is empty.
QUILLRT_API AnsiString AnsiStringReplace(const AnsiString& text, const AnsiString& old_text,
                                         const AnsiString& new_text, std::uint32_t flags);

// ---- 8-bit text --------------------------------------------------------------------------

// UTF-16 text to 8-bit characters of the code page (0: the system's 8-bit code
// page), at most as many bytes as the text has characters.
QUILLRT_API AnsiString ConvertedFromWideString(std::uint32_t code_page, const UnicodeString& text);
QUILLRT_API AnsiString ConvertedFromWideString(const UnicodeString& text);
// 8-bit characters of the code page (0: the system's) to UTF-16.
QUILLRT_API UnicodeString ConvertedToWideString(std::uint32_t code_page, std::string_view bytes);
QUILLRT_API UnicodeString ConvertedToWideString(std::string_view bytes);
// Appends each line, in the system's 8-bit code page and followed by CR LF, to the
// end of an existing file (an empty line gives the line end alone). A missing
// file raises EFOpenError.
QUILLRT_API void AnsiAppendToTextFile(const UnicodeString& file_name, const TStrings& lines);

// The text copied, zero-filled after it, into a buffer of 256 units of which at
// most 255 are used, for callers that need a short zero-terminated copy. 8-bit
// text is first converted from the system's 8-bit code page; UTF-16 text is taken
// as it is. `lcid` is accepted for the callers' sake and not used. Each thread has one buffer
// per form, which the next call of either function of that form reuses.
QUILLRT_API const char16_t* GetCopyOfAnsiEncodedAsUnicode(const AnsiString& text, std::uint32_t lcid);
QUILLRT_API const char16_t* GetCopyOfWideSTringEncodedASUnicode(const UnicodeString& text, std::uint32_t lcid);
// The same with a buffer of 256 bytes; UTF-16 text is converted to the 8-bit page.
QUILLRT_API const char* GetCopyOfAnsiEncodedAsAnsi(const AnsiString& text, std::uint32_t lcid);
QUILLRT_API const char* GetCopyOfWideSTringEncodedAsAnsi(const UnicodeString& text, std::uint32_t lcid);

// The 32-bit word checksum of a buffer (see My4Checksum).
QUILLRT_API std::uint32_t CheckSumOfABufferful(const void* buffer, std::int32_t length);

}  // namespace quill
