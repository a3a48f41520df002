#include "quillrt/analysis/word_boundaries.h"

#include <algorithm>

#include <unicode/uchar.h>

namespace quill {

namespace {

// The category mask of a unit (U_MASK of its UCharCategory).
std::uint32_t CategoryMask(WideChar c) { return U_MASK(u_charType(static_cast<UChar32>(c))); }

constexpr std::uint32_t letter_mask = U_GC_L_MASK;
constexpr std::uint32_t word_mask = U_GC_L_MASK | U_GC_ND_MASK;
constexpr std::uint32_t number_mask = U_GC_ND_MASK | U_GC_NL_MASK | U_GC_NO_MASK;

// The character at 1-based `pos`, or 0 outside the text.
WideChar CharAt(const UnicodeString& text, int pos) {
  if (pos < 1 || pos > static_cast<int>(text.size())) return 0;
  return text[static_cast<std::size_t>(pos - 1)];
}

bool IsWordCharAt(const UnicodeString& text, int pos) {
  if (pos < 1 || pos > static_cast<int>(text.size())) return false;
  return IsLetterOrDigitChar(text[static_cast<std::size_t>(pos - 1)]);
}

bool IsSpaceLike(WideChar c) { return c <= 0x20 || IsWhiteSpaceChar(c); }

}  // namespace

bool IsLetterOrDigitChar(WideChar c) {
  // ASCII first: most text is mostly ASCII.
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
  return (CategoryMask(c) & word_mask) != 0;
}

bool IsUpperCaseChar(WideChar c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z';
  return u_charType(c) == U_UPPERCASE_LETTER;
}

bool IsLowerCaseChar(WideChar c) {
  if (c < 0x80) return c >= u'a' && c <= u'z';
  return u_charType(c) == U_LOWERCASE_LETTER;
}

bool IsPunctuationChar(WideChar c) { return (CategoryMask(c) & U_GC_P_MASK) != 0; }

bool IsWhiteSpaceChar(WideChar c) { return u_isUWhiteSpace(c) != 0; }

std::int8_t CharCategory(WideChar c) { return u_charType(static_cast<UChar32>(c)); }

bool BoundedAtLeft(const UnicodeString& text, int first, int /*last*/) {
  if (first == 1) return true;
  return first > 1 && !IsWordCharAt(text, first - 1);
}

bool BoundedAtRight(const UnicodeString& text, int /*first*/, int last) {
  const int length = static_cast<int>(text.size());
  if (last == length) return true;
  return last < length && !IsWordCharAt(text, last + 1);
}

bool BoundedWholeWord(const UnicodeString& text, int first, int last) {
  return BoundedAtLeft(text, first, last) && BoundedAtRight(text, first, last);
}

bool IsBoundedOnLeft(const UnicodeString& text, int first) { return !(first > 1 && IsWordCharAt(text, first - 1)); }

bool IsBoundedOnRight(const UnicodeString& text, int after) { return !IsWordCharAt(text, after); }

bool IsWholeWord(const UnicodeString& text, int first, int after) {
  return IsBoundedOnLeft(text, first) && IsBoundedOnRight(text, after);
}

int WholeWordPositionOfXinUpcaseText(int start, const UnicodeString& word, const UnicodeString& text) {
  if (word.empty()) return 0;
  std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
  while (from < text.size()) {
    const std::size_t at = text.find(word, from);
    if (at == UnicodeString::npos) return 0;
    const int pos = static_cast<int>(at) + 1;
    if (IsWholeWord(text, pos, pos + static_cast<int>(word.size()))) return pos;
    from = at + 1;
  }
  return 0;
}

int NextOrLastNonSpaceCharPos(int pos, const UnicodeString& text, bool backwards) {
  const int length = static_cast<int>(text.size());
  if (backwards) {
    // Positions beyond the end are passed over.
    for (int p = std::min(pos - 1, length); p >= 1; --p)
      if (!IsSpaceLike(CharAt(text, p))) return p;
  } else {
    for (int p = std::max(pos + 1, 1); p <= length; ++p)
      if (!IsSpaceLike(CharAt(text, p))) return p;
  }
  return -1;
}

WideChar NextOrLastNonSpaceChar(int pos, const UnicodeString& text, bool backwards) {
  return CharAt(text, NextOrLastNonSpaceCharPos(pos, text, backwards));
}

bool NextValidCharIsPunctuation(int pos, const UnicodeString& text) {
  for (int p = std::max(pos, 1); p <= static_cast<int>(text.size()); ++p) {
    const WideChar c = CharAt(text, p);
    if (IsSpaceLike(c)) continue;
    if (IsLetterOrDigitChar(c)) return false;
    return IsPunctuationChar(c);
  }
  return false;
}

bool LastCharIsNotPunctuation(const UnicodeString& text) {
  // Letters of caseless scripts (Lo, Lm) decide as letters: a Chinese or Arabic
  // word at the end is not punctuation.
  constexpr std::uint32_t deciding_true = letter_mask | number_mask | U_GC_SC_MASK;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    const std::uint32_t mask = CategoryMask(*it);
    if (mask & deciding_true) return true;
    if (mask & U_GC_P_MASK) return false;
  }
  return false;
}

int FirstCharPosAboveSpace(const UnicodeString& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] > 0x20) return static_cast<int>(i) + 1;
  return -1;
}

WideChar FirstCharIsLowerCase(const UnicodeString& text) {
  constexpr std::uint32_t deciding = letter_mask | number_mask | U_GC_SC_MASK;
  for (const WideChar c : text) {
    const std::uint32_t mask = CategoryMask(c);
    if (mask & U_GC_LL_MASK) return c;
    if (mask & deciding) return 0;
  }
  return 0;
}

const char* FirstCharInBufferNotInQuotes(const char* buffer, char ch) {
  if (buffer == nullptr) return nullptr;
  char quote = 0;  // the quote of the open stretch, 0 outside
  for (const char* p = buffer; *p != 0; ++p) {
    if (quote != 0) {
      if (*p == quote && p[-1] != '\\') quote = 0;  // p > buffer: the stretch opened before p
    } else if (*p == ch) {
      return p;
    } else if (*p == '"' || *p == '\'') {
      quote = *p;
    }
  }
  return nullptr;
}

}  // namespace quill
