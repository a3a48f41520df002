#pragma once
// The forms of the saved lists that quill writes (see saved_lists.md): the
// workbench's 57-byte header, then the body. Stream in, stream out, nothing of
// the command line, so that the readers can be fuzzed on their own.
//
// Readers raise EReadError (or EStreamError, its base) when the header is not
// the expected tool's and kind's, when the body is damaged or cut short, and
// when bytes follow the body.
#include <cstdint>
#include <memory>
#include <vector>

#include "quillrt/collections/string_lists_streamable.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/vocabulary/saved_list_header.h"
#include "quilljobs/quilljobs_export.h"

namespace quill::jobs {

// A word list or n-gram list: lines with their frequencies.
struct TSavedWordList {
  TCheckSignature header;  // infosize: words per entry
  std::unique_ptr<TMySaveStringList> list = std::make_unique<TMySaveStringList>(true);

  int WordsPerEntry() const { return header.infosize; }
};

// Writes the header of the word-list tool for a word list, then `list` (the
// frequency in each line's object slot, as int32).
QUILLJOBS_API void WriteSavedWordList(TStream& stream, const TStringList& list, int words_per_entry);
QUILLJOBS_API TSavedWordList ReadSavedWordList(TStream& stream);

struct TSavedConcordanceLine {
  std::int32_t source = 0;  // 0-based place in the source texts
  std::int32_t word_number = 0;
  std::int32_t sentence = 0;
  std::int32_t paragraph = 0;
  std::int32_t search_word = 0;
  std::int64_t hit_number = 0;
  UnicodeString left, hit, right;

  bool operator==(const TSavedConcordanceLine&) const = default;
};

struct TSavedConcordance {
  TCheckSignature header;
  std::vector<UnicodeString> search_words;
  std::vector<UnicodeString> sources;
  std::vector<TSavedConcordanceLine> lines;
};

// Writes the header of the concordance tool for a concordance, then the body.
// A line whose source is not one of `sources` raises EWriteError first.
QUILLJOBS_API void WriteSavedConcordance(TStream& stream, const TSavedConcordance& concordance);
QUILLJOBS_API TSavedConcordance ReadSavedConcordance(TStream& stream);

}  // namespace quill::jobs
