#include "quilljobs/word_keys.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>

#include "quilljobs/job_control.h"

namespace quill::jobs {

void FoldWordInto(std::u16string_view word, UnicodeString& key) {
  key.assign(word);
  const bool ascii = std::all_of(word.begin(), word.end(), [](char16_t c) { return c < 0x80; });
  if (ascii) {
    for (char16_t& c : key)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
    return;
  }
  // Full folding may lengthen a word ("ß" -> "ss"): ask for the length first.
  UErrorCode status = U_ZERO_ERROR;
  const auto length = static_cast<int32_t>(word.size());
  const int32_t needed = u_strFoldCase(nullptr, 0, word.data(), length, U_FOLD_CASE_DEFAULT, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return;
  key.assign(static_cast<std::size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  u_strFoldCase(key.data(), needed, word.data(), length, U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) key.assign(word);
}

UnicodeString FoldedWord(std::u16string_view word) {
  UnicodeString key;
  FoldWordInto(word, key);
  return key;
}

std::unordered_set<UnicodeString> WordKeysOf(const std::vector<std::string>& words, const WordRule& rule,
                                             const std::string& what) {
  std::unordered_set<UnicodeString> keys;
  ClassifiedText classified;
  std::vector<WordSpan> spans;
  for (const std::string& word : words) {
    const UnicodeString text = Utf8ToUtf16(word);
    ClassifyText(text, rule, classified);
    FindWords(classified, text.size(), spans);
    if (spans.size() != 1 || spans[0].start != 0 || spans[0].end != text.size())
      throw JobError(JobError::bad_request, what + " must be one word: " + word);
    keys.insert(FoldedWord(text));
  }
  return keys;
}

}  // namespace quill::jobs
