#pragma once
// Where words begin and end inside a string, and the single-character tests the
// sentence and tag functions share.
//
// Characters are classified one UTF-16 unit at a time by Unicode general
// category: a word character is a letter (L*) or a decimal digit (Nd); upper
// and lower case are Lu and Ll; punctuation is P*. A unit of a surrogate pair
// is none of these. Positions are 1-based; a position outside the string
// names no character, and no function reads outside its text.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// --- Single characters ----------------------------------------------------------

QUILLRT_API bool IsLetterOrDigitChar(WideChar c);
QUILLRT_API bool IsUpperCaseChar(WideChar c);
QUILLRT_API bool IsLowerCaseChar(WideChar c);
QUILLRT_API bool IsPunctuationChar(WideChar c);
// Unicode white space (blanks of every width, line and paragraph separators,
// TAB, LF, VT, FF, CR, NEL).
QUILLRT_API bool IsWhiteSpaceChar(WideChar c);
// The general category of a unit (ICU's UCharCategory value).
QUILLRT_API std::int8_t CharCategory(WideChar c);

// --- Word edges --------------------------------------------------------------------

// true when `first` is 1, or the character before `first` is not a word character.
QUILLRT_API bool BoundedAtLeft(const UnicodeString& text, int first, int last);
// true when `last` is the length, or the character after `last` is not a word
// character.
QUILLRT_API bool BoundedAtRight(const UnicodeString& text, int first, int last);
QUILLRT_API bool BoundedWholeWord(const UnicodeString& text, int first, int last);

// false only when `first` > 1 and the character before it is a word character.
QUILLRT_API bool IsBoundedOnLeft(const UnicodeString& text, int first);
// false only when `after` (the position just after the word) holds a word
// character.
QUILLRT_API bool IsBoundedOnRight(const UnicodeString& text, int after);
QUILLRT_API bool IsWholeWord(const UnicodeString& text, int first, int after);

// The first position at or after `start` where `word` stands as a whole word in
// `text` (exact comparison: both are expected in upper case already); 0 when
// there is none or `word` is empty.
QUILLRT_API int WholeWordPositionOfXinUpcaseText(int start, const UnicodeString& word, const UnicodeString& text);

// --- Nearby characters ------------------------------------------------------------

// The nearest position below (backwards) or above (forwards) `pos` whose
// character is above U+0020 and not white space; -1 when there is none.
QUILLRT_API int NextOrLastNonSpaceCharPos(int pos, const UnicodeString& text, bool backwards);
// The character at that position, or 0.
QUILLRT_API WideChar NextOrLastNonSpaceChar(int pos, const UnicodeString& text, bool backwards);

// From `pos` on, past blanks and white space: whether the first character that
// is not a word character is punctuation. false when a word character or the
// end comes first.
QUILLRT_API bool NextValidCharIsPunctuation(int pos, const UnicodeString& text);

// Looking back from the end, past spaces, marks and symbols: true when a
// letter, a number or a currency symbol comes first, false when punctuation
// does or nothing decides.
QUILLRT_API bool LastCharIsNotPunctuation(const UnicodeString& text);

// Position of the first character above U+0020, or -1.
QUILLRT_API int FirstCharPosAboveSpace(const UnicodeString& text);

// Looking from the start, past spaces, marks, punctuation and symbols other
// than currency: the character itself when the first deciding character is a
// lower-case letter; 0 when it is another letter, a number or a currency
// symbol, or when nothing decides.
QUILLRT_API WideChar FirstCharIsLowerCase(const UnicodeString& text);

// In the zero-terminated 8-bit `buffer`, the first `ch` that stands outside
// double- and single-quoted stretches. Inside a stretch, a quote preceded by a
// backslash does not close it. nullptr when there is none, when `ch` only
// occurs inside a stretch left open, or for a null buffer.
QUILLRT_API const char* FirstCharInBufferNotInQuotes(const char* buffer, char ch);

}  // namespace quill
