// Feeds arbitrary UTF-16 text to the search-word syntax (SplitSWList,
// Parsed_SearchWord, UnParsed_SearchWord, the markers) and to the readable-to-
// work conversion.
//
// The first byte picks the options (splitting at slashes, which tag characters
// the collection ignores); the rest is read as UTF-16 units, little-endian.
// Besides "no crash, no hang, no undefined behaviour", every parsed record must
// keep what the matcher relies on: four case copies as long as the search text,
// the unchanged copy equal to it, and `ambiguous` saying whether the text
// changed or holds a wildcard code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "quillrt/analysis/readable_strings.h"
#include "quillrt/search/search_word_syntax.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

TIgnore_tag_type TagsFor(std::uint8_t choice) {
  TIgnore_tag_type tags{};
  switch (choice % 4) {
    case 0:
      break;
    case 1:
      tags[tag_on][0] = u'<';
      tags[tag_off][0] = u'>';
      break;
    case 2:
      tags[tag_on][0] = u'<';
      tags[tag_off][0] = u'>';
      tags[tag_on][1] = u'[';
      tags[tag_off][1] = u']';
      tags[tag_on][5] = u'{';  // an open character without a close one
      break;
    default:
      // Characters that also mean something else in the syntax.
      tags[tag_on][0] = u'"';
      tags[tag_off][0] = u'/';
      tags[tag_on][2] = 0xE000;
      tags[tag_off][2] = u'\\';
      break;
  }
  return tags;
}

bool HoldsWildcardCode(const UnicodeString& s) {
  for (const WideChar c : s) {
    if (c >= 0x1A && c <= 0x1F) return true;
  }
  return false;
}

void CheckCopies(const TSearch_word_format_rec& rec) {
  Check(rec.copies[unchanged_copy] == rec.search_text);
  for (const UnicodeString& copy : rec.copies) Check(copy.size() == rec.search_text.size());
  if (!rec.search_text.empty()) {
    Check(rec.copies[title_copy][0] == rec.copies[upper_copy][0]);
    Check(rec.copies[title_copy].compare(1, UnicodeString::npos, rec.copies[lower_copy], 1) == 0);
  }
}

void CheckParsed(const TIgnore_tag_type& tags, const UnicodeString& typed) {
  UnicodeString s = typed;
  TSearch_word_format_rec rec;
  Parsed_SearchWord(tags, s, rec);
  Check(rec.typed_in_text == typed);
  CheckCopies(rec);
  Check(rec.ambiguous == (rec.typed_in_text != rec.search_text || HoldsWildcardCode(rec.search_text)));
  Check(rec.search_text.empty() || (rec.search_text.front() != u' ' && rec.search_text.back() != u' '));
  if (rec.contains_a_tag) Check(rec.search_text.find(pattern_tag_open) != UnicodeString::npos);
  Check(rec.has_file_based_context_word == (typed.find(context_word_marker) != UnicodeString::npos));

  UnicodeString raw = typed;
  TSearch_word_format_rec unparsed;
  UnParsed_SearchWord(raw, unparsed);
  CheckCopies(unparsed);
  Check(unparsed.search_text == raw);
  Check(unparsed.ambiguous == (unparsed.search_text != typed));
}

void CheckMarkers(const UnicodeString& typed) {
  if (!typed.empty() && typed.front() == u'~') return;  // the avoid marker is not written back
  UnicodeString s = typed;
  const TMySearchFlags flags = FlagsFromSW(s);
  Check(SWStringPlusFlags(s, flags) == typed);
}

void CheckSplit(const UnicodeString& typed) {
  UnicodeString s = typed;
  const auto alternatives = SplitSWList(s, true);
  // Only the separating slashes are removed.
  UnicodeString joined;
  for (int i = 0; i < alternatives->Count(); ++i) {
    Check(!(*alternatives)[i].empty());
    if (i > 0) joined += u'/';
    joined += (*alternatives)[i];
  }
  Check(joined == typed);
}

void CheckReadable(const UnicodeString& text) {
  const UnicodeString work = QYFormattedReadableStringToWorkString(text);
  Check(work.size() <= text.size());  // a code is always longer than its character
  if (text.find(u'#') == UnicodeString::npos && text.find(u'{') == UnicodeString::npos) {
    Check(QYFormattedReadableStringToWorkString(QYFormattedWorkStringToReadableString(text, 32)) == text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  UnicodeString text;
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    text += static_cast<WideChar>(data[i] | (data[i + 1] << 8));
  }
  const TIgnore_tag_type tags = TagsFor(static_cast<std::uint8_t>(options >> 1));

  CheckReadable(text);
  CheckMarkers(text);
  if (options & 1) {
    CheckSplit(text);
    UnicodeString s = text;
    const auto alternatives = SplitSWList(s, true);
    for (const UnicodeString& alternative : *alternatives) CheckParsed(tags, alternative);
  } else {
    CheckParsed(tags, text);
  }
  return 0;
}
