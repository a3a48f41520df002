#include "quillrt/vocabulary/text_conventions.h"

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/case_mapping.h"
#include "quillrt/platform/char_types.h"

namespace quill {
namespace {

constexpr char16_t kDoubleQuote = u'"';
constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';
constexpr char16_t kTAB = u'\t';

char16_t WildcardCode(char16_t c) {
  switch (c) {
    case u'*': return kEncodedAsterisk;
    case u'?': return kEncodedQuestionMark;
    case u'#': return kEncodedHash;
    default: return 0;
  }
}

// A wildcard at either end of the text, or touching a double quote, is meant
// literally.
bool WildcardStaysLiteral(const UnicodeString& text, std::size_t i) {
  if (i == 0 || i + 1 == text.size()) return true;
  return text[i - 1] == kDoubleQuote || text[i + 1] == kDoubleQuote;
}

UnicodeString ReplacedAll(const UnicodeString& text, const UnicodeString& from, const UnicodeString& to) {
  if (from.empty()) return text;
  return StringReplace(text, from, to, rfReplaceAll);
}

bool IsLetter(char16_t c) { return (CharType1Table()[c] & C1_ALPHA) != 0; }

}  // namespace

UnicodeString EncodedCRLFTAB(const UnicodeString& text) {
  UnicodeString encoded = text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t code = WildcardCode(text[i]);
    if (code != 0 && !WildcardStaysLiteral(text, i)) encoded[i] = code;
  }
  encoded = ReplacedAll(encoded, CatalogueText("_QYEnter"), UnicodeString{kCR, kLF});
  return ReplacedAll(encoded, CatalogueText("_QYTab"), UnicodeString(1, kTAB));
}

UnicodeString EncodedCRLFTABToReadableStr(const UnicodeString& text) {
  UnicodeString readable;
  readable.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case kEncodedAsterisk: readable += u'*'; break;
      case kEncodedQuestionMark: readable += u'?'; break;
      case kEncodedHash: readable += u'#'; break;
      default: readable += c;
    }
  }
  readable = ReplacedAll(readable, UnicodeString{kCR, kLF}, CatalogueText("_QYEnter"));
  return ReplacedAll(readable, UnicodeString(1, kTAB), CatalogueText("_QYTab"));
}

UnicodeString CutOutsideQuotes(const UnicodeString& text) {
  if (text.size() >= 2 && text.front() == kDoubleQuote && text.back() == kDoubleQuote)
    return text.substr(1, text.size() - 2);
  return text;
}

UnicodeString ChrClearedFromString(char16_t c, const UnicodeString& text) {
  UnicodeString result;
  result.reserve(text.size());
  for (char16_t each : text)
    if (each != c) result += each;
  return result;
}

UnicodeString SubStrClearedFromString(const UnicodeString& sub, const UnicodeString& text) {
  if (sub.empty()) return text;
  UnicodeString result = text;
  // Each pass removes every occurrence; a removal can join the neighbours into a
  // new occurrence, so repeat until a pass finds none. Each pass shortens the
  // text, so this ends.
  for (auto at = result.find(sub); at != UnicodeString::npos; at = result.find(sub))
    result = StringReplace(result, sub, u"", rfReplaceAll);
  return result;
}

UnicodeString CorrectedPathname(const UnicodeString& path) {
  UnicodeString result = Trim(path);
  if (result.size() < 2 || result[1] != u':') return result;
  if (result.size() == 2) return result + PathDelim;
  if (result[2] != u'\\' && result[2] != u'/') result.insert(2, 1, PathDelim);
  return result;
}

UnicodeString TitleCasedString(const UnicodeString& text) {
  UnicodeString result = MapCaseString(text, CaseDirection::lower);
  const char16_t* upper = CaseMapTable(CaseDirection::upper, false);
  bool in_letters = false;
  for (std::size_t i = 0; i < result.size(); ++i) {
    const bool letter = IsLetter(result[i]);
    if (letter && !in_letters && i + 1 < result.size()) result[i] = upper[result[i]];
    in_letters = letter;
  }
  return result;
}

}  // namespace quill
