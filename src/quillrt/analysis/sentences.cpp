#include "quillrt/analysis/sentences.h"

#include <algorithm>
#include <array>
#include <vector>

#include <unicode/uchar.h>

#include "quillrt/analysis/word_boundaries.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/language/sentence_punctuation.h"
#include "quillrt/platform/char_types.h"
#include "quillrt/text/class_bits.h"

namespace quill {

namespace {

int Length(const UnicodeString& text) { return static_cast<int>(text.size()); }

// 1-based access; callers check the range.
WideChar At(const UnicodeString& text, int pos) { return text[static_cast<std::size_t>(pos - 1)]; }

bool IsTerminatorOfTables(WideChar c) {
  return std::binary_search(basic_sent_terminators.begin(), basic_sent_terminators.end(), c) ||
         std::binary_search(other_sent_terminators.begin(), other_sent_terminators.end(), c);
}

// The general category of a unit, with ASCII from a table: most text is mostly
// ASCII, and this is asked once per character.
std::int8_t Category(WideChar c) {
  static const std::array<std::int8_t, 128> ascii = [] {
    std::array<std::int8_t, 128> table{};
    for (char16_t a = 0; a < 128; ++a) table[a] = u_charType(a);
    return table;
  }();
  return c < 0x80 ? ascii[c] : u_charType(c);
}

// The full stops, question and exclamation marks of text written without
// blanks between sentences (Chinese, Japanese). They never stand inside a
// number or an abbreviation, so the letter that follows them at once does not
// keep the sentence going.
bool IsIdeographicStop(WideChar c) { return c == 0x3002 || c == 0xFF01 || c == 0xFF1F || c == 0xFF61; }

// Punctuation that never ends a sentence, however it is classed: quotes, the
// apostrophe, "#%&*/@\", comma, colon, semicolon, and the inverted and middle
// marks of Latin-1.
bool IsNonEndingMark(WideChar c) {
  switch (c) {
    case 0x0022: case 0x0023: case 0x0025: case 0x0026: case 0x0027:
    case 0x002A: case 0x002C: case 0x002F: case 0x003A: case 0x003B:
    case 0x0040: case 0x005C: case 0x00A1: case 0x00B7: case 0x00BF:
      return true;
    default:
      return false;
  }
}

void AddTrimmed(TStringList& list, const UnicodeString& text, std::size_t from, std::size_t count) {
  UnicodeString piece = Trim(text.substr(from, count));
  if (!piece.empty()) list.Add(piece);
}

// ---- Separator mode ----------------------------------------------------------

void SplitAtSeparator(const UnicodeString& text, const UnicodeString& separator, TStringList& list) {
  // Each piece runs up to the separator; the next starts right after it. The
  // blank that normally follows a separator is trimmed off with the piece, and a
  // character that is not a blank stays with the piece it begins.
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t at = text.find(separator, start);
    if (at == UnicodeString::npos) break;
    AddTrimmed(list, text, start, at - start);
    start = at + separator.size();
  }
  if (start < text.size()) AddTrimmed(list, text, start, text.size() - start);
}

// ---- Character-type mode ------------------------------------------------------

constexpr TClassWord word_types = C1_ALPHA | C1_DIGIT;
constexpr TClassWord space_types = C1_SPACE | C1_CNTRL | C1_BLANK;

// Runs from "<" up to the next ">" (or the end) of at most `max_tag_len`
// characters are tags: each of their characters becomes punctuation and
// nothing else, marked as markup. A longer run keeps its types and the scan
// goes on after the part examined.
void MarkTags(const UnicodeString& text, std::vector<TClassWord>& types, int max_tag_len) {
  const std::size_t n = text.size();
  const std::size_t limit = max_tag_len < 0 ? 0 : static_cast<std::size_t>(max_tag_len);
  std::size_t k = 0;
  while (k < n) {
    if (text[k] != u'<') {
      ++k;
      continue;
    }
    std::size_t j = k;
    while (j < n && text[j] != u'>' && j - k <= limit) ++j;
    if (j - k <= limit) {
      std::fill(types.begin() + static_cast<std::ptrdiff_t>(k), types.begin() + static_cast<std::ptrdiff_t>(j),
                static_cast<TClassWord>(C1_PUNCT | class_markup));
      k = j + 1;  // past the ">"
    } else {
      k = j;
    }
  }
}

// Conditions on the character alone: other punctuation (also by its type), not
// one of the marks that never end a sentence, not inside a tag.
bool MayEndSentence(WideChar c, TClassWord type) {
  if ((type & C1_PUNCT) == 0 || (type & class_markup) != 0) return false;
  // Of ASCII's other punctuation, all but these three never end a sentence.
  if (c < 0x80) return c == u'.' || c == u'!' || c == u'?';
  if (u_charType(c) != U_OTHER_PUNCTUATION) return false;
  if (c > 0x00BF && IsPunctNotEndingSentence(c)) return false;
  return !IsNonEndingMark(c);
}

bool IsOpeningBracket(WideChar c, TClassWord type) {
  if ((type & C1_PUNCT) == 0) return false;
  if (c < 0x80) return c == u'(' || c == u'[' || c == u'{';
  return u_charType(c) == U_START_PUNCTUATION;
}

void SplitByCharTypes(const UnicodeString& text, std::uint32_t lcid, int max_tag_len, TStringList& list) {
  const std::size_t n = text.size();
  // One entry per character, then the terminating position (0) and a letter as
  // a sentinel, so that every look-ahead finds a letter.
  std::vector<TClassWord> types(n + 2, 0);
  if (n == 0 || !GetStringTypeExW(lcid, CT_CTYPE1, text.data(), static_cast<int>(n), types.data())) return;
  types[n + 1] = C1_ALPHA;
  if (text.find(u'<') != UnicodeString::npos) MarkTags(text, types, max_tag_len);

  // The look-ahead's answers for a mark at k are the first entry after k with a
  // letter or digit, and the first space-like entry and the first opening
  // bracket after k, both looked for only up to that letter (reaching it means
  // none). All only move forwards as k does, so they are kept between marks and
  // each entry is looked at a bounded number of times.
  std::size_t next_word = 0;
  std::size_t next_space = 0;
  std::size_t next_opening = 0;
  std::size_t sentence_start = 0;
  for (std::size_t k = 1; k < n; ++k) {
    const WideChar c = text[k];
    if (!MayEndSentence(c, types[k])) continue;
    if (IsTerminatorOfTables(c) && (types[k + 1] & (C1_LOWER | C1_DIGIT)) != 0) continue;
    if (next_word <= k) {
      next_word = k + 1;
      while ((types[next_word] & word_types) == 0) ++next_word;
    }
    if ((types[next_word] & C1_LOWER) != 0) continue;
    if (next_space <= k) {
      next_space = k + 1;
      while (next_space < next_word && (types[next_space] & space_types) == 0) ++next_space;
    }
    if (next_opening <= k) {
      next_opening = k + 1;
      const std::size_t limit = std::min(next_word, n);
      while (next_opening < limit && !IsOpeningBracket(text[next_opening], types[next_opening])) ++next_opening;
    }
    // What is passed over before the letter belongs to this sentence (closing
    // quotes and brackets, tags), up to and including the first space-like
    // character. An opening bracket begins the next sentence: in scripts
    // written without blanks (a Japanese corner bracket right after an
    // ideographic full stop) it would otherwise close the sentence before it.
    const std::size_t last = std::max(k, std::min({next_word - 1, next_space, next_opening - 1}));
    const std::size_t end = std::min(last + 1, n);  // exclusive, inside the text
    if (end > sentence_start) AddTrimmed(list, text, sentence_start, end - sentence_start);
    sentence_start = std::max(sentence_start, last + 1);
  }
  if (sentence_start < n) AddTrimmed(list, text, sentence_start, n - sentence_start);
}

}  // namespace

int EndOfSentence(int start, const UnicodeString& text) {
  const int length = Length(text);
  if (length < start) return -1;
  bool seen_word_char = false;
  for (int p = std::max(start, 1); p <= length; ++p) {
    const WideChar c = At(text, p);
    seen_word_char = seen_word_char || IsLetterOrDigitChar(c);
    if (!seen_word_char) continue;
    if (p == length) return p;
    if (!IsPotentialSentenceTerminator(c)) continue;
    if (IsIdeographicStop(c) || (p > 1 && !IsLetterOrDigitChar(At(text, p + 1)))) return p;
  }
  return -1;
}

int FirstLetterOrDigitPosAfterSentenceEnd(const UnicodeString& text, int pos) {
  const int length = Length(text);
  if (pos > length) return pos;
  pos = std::max(pos, 1);
  while (pos < length && !IsLetterOrDigitChar(At(text, pos))) ++pos;
  return pos;
}

bool FirstCharAfterSentenceEndUpperCase(const UnicodeString& text, int pos) {
  if (pos < 1 || pos >= Length(text)) return true;
  return !IsLowerCaseChar(At(text, pos));
}

int FirstValidStartOfSentence(const UnicodeString& text, int pos) {
  int p = FirstLetterOrDigitPosAfterSentenceEnd(text, pos);
  // Each round moves p forward (the next end lies after p), and a p at the last
  // position passes the test, so the loop ends.
  while (!FirstCharAfterSentenceEndUpperCase(text, p)) {
    const int end = EndOfSentence(p + 1, text);
    if (end < 0) return Length(text);
    p = FirstLetterOrDigitPosAfterSentenceEnd(text, end);
  }
  return p;
}

bool FirstLetterIsCapitalised(const UnicodeString& text) { return !text.empty() && IsUpperCaseChar(text.front()); }

bool NextWordCapitalised(const UnicodeString& text, int pos) {
  const int length = Length(text);
  if (length == 0 || pos > length) return false;
  pos = std::max(pos, 1);
  while (pos < length && !IsLetterOrDigitChar(At(text, pos))) ++pos;
  return IsUpperCaseChar(At(text, pos));
}

std::unique_ptr<TStringList> SentencesExtractedFromParagraph(bool flush_at_end, int min_letters,
                                                             const UnicodeString& text) {
  auto list = std::make_unique<TStringList>();
  const std::size_t n = text.size();
  const std::size_t no_start = n;  // no sentence pending
  std::size_t start = no_start;
  std::size_t tail = 0;  // where the text not yet taken into a sentence begins
  int count = 0;         // letters, marks and digits since the last sentence

  auto emit = [&](std::size_t from, std::size_t last) {
    UnicodeString piece = Trim(text.substr(from, last - from + 1));
    if (static_cast<int>(piece.size()) > min_letters) list->Add(piece);
    count = 0;
    tail = last + 1;
  };

  for (std::size_t p = 0; p < n; ++p) {
    if (p + 1 == n && flush_at_end) {
      // With nothing pending, the text after the last sentence is flushed when
      // it holds a letter, mark or digit; before any sentence, the whole text.
      if (start != no_start)
        emit(start, p);
      else if (tail == 0 || count > 0 || IsLetterOrDigitChar(text[p]))
        emit(tail, p);
      break;
    }
    const WideChar c = text[p];
    switch (Category(c)) {
      case U_LOWERCASE_LETTER:
      case U_MODIFIER_LETTER:
      case U_NON_SPACING_MARK:
      case U_ENCLOSING_MARK:
      case U_COMBINING_SPACING_MARK:
        ++count;
        break;
      case U_UPPERCASE_LETTER:
      case U_TITLECASE_LETTER:
      case U_OTHER_LETTER:
      case U_DECIMAL_DIGIT_NUMBER:
      case U_LETTER_NUMBER:
      case U_OTHER_NUMBER:
        if (start == no_start) start = p;
        ++count;
        break;
      case U_OTHER_PUNCTUATION:
        if (count >= min_letters && start != no_start && IsPotentialSentenceTerminator(c) &&
            (p + 1 == n || Category(text[p + 1]) != U_DECIMAL_DIGIT_NUMBER)) {
          emit(start, p);
          start = no_start;
        }
        break;
      default:
        break;
    }
  }
  return list;
}

std::unique_ptr<TStringList> SentencesFromParagraph(const UnicodeString& text, const UnicodeString& separator,
                                                    std::uint32_t lcid, int max_tag_len) {
  auto list = std::make_unique<TStringList>();
  if (!separator.empty())
    SplitAtSeparator(text, separator, *list);
  else
    SplitByCharTypes(text, lcid, max_tag_len, *list);
  return list;
}

}  // namespace quill
