#pragma once
// Words looked up without regard to case: the key a word is counted and
// matched by, and the keys of the words a user names (a node, a word whose
// spread is wanted), each checked to be one word of the corpus's language.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "quilljobs/quilljobs_export.h"
#include "quilljobs/word_rule.h"
#include "quillrt/framework/strings.h"

namespace quill::jobs {

// A word's full case folding ("Straße" and "STRASSE" are one word).
QUILLJOBS_API UnicodeString FoldedWord(std::u16string_view word);
// The same into `key` (replacing what it held), for loops over every token
// that keep one buffer.
QUILLJOBS_API void FoldWordInto(std::u16string_view word, UnicodeString& key);

// The keys of `words` (UTF-8). Raises JobError(bad_request) for a text that
// is not one word under `rule` ("what" names the role: "a node").
QUILLJOBS_API std::unordered_set<UnicodeString> WordKeysOf(const std::vector<std::string>& words,
                                                           const WordRule& rule, const std::string& what);

}  // namespace quill::jobs
