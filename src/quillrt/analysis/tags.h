#pragma once
// Markup tags in plain text: switching a tag on and off, numbering it, reading
// the value of a simple element, and dropping or converting markup.
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// "<b>" -> "</b>"; a bare "b" -> "/b"; "" stays "".
QUILLRT_API UnicodeString TagSwitchedOff(const UnicodeString& tag);
// The first "</" becomes "<": "</b>" -> "<b>".
QUILLRT_API UnicodeString TagSwitchedOn(const UnicodeString& tag);
// "<s>" with 12 -> <s "12">; a tag not ending in ">" is returned unchanged.
QUILLRT_API UnicodeString TagOnNumbered(const UnicodeString& tag, int number);

// The text between the first "<name>" and the first "</name>" of `text`
// (case-sensitive). found is false, and the result empty, unless the opening
// tag occurs and comes before the first closing one.
QUILLRT_API UnicodeString SimpleTagValue(const UnicodeString& tag_name, const UnicodeString& text, bool& found);
// The same, trimmed of blanks.
QUILLRT_API UnicodeString TrimmedSimpleTagValue(const UnicodeString& tag_name, const UnicodeString& text,
                                                bool& found);

// What lies between the first `start_marker` and the first `end_marker` that
// follows it; empty when either is missing.
QUILLRT_API UnicodeString ExtractMarkupDataFromText(const UnicodeString& text, const UnicodeString& start_marker,
                                                    const UnicodeString& end_marker);

// `text` without its markup: everything from an `open_char` through the next
// `close_char` after it is left out when the close lies at most `max_len` positions
// after the open (an open with no close counts the distance to just past the
// end, and then drops the rest). A farther close leaves the `open_char` as
// ordinary text. A `max_len` below 1 returns the text unchanged.
QUILLRT_API UnicodeString WithoutMarkup(const UnicodeString& text, WideChar open_char, WideChar close_char,
                                        int max_len);

// Every "</p>", then "</div>", then "</head>", in any letter case, becomes CR LF:
// paragraph ends in markup become line ends.
QUILLRT_API UnicodeString ParaDivHeadingEndToCRLF(const UnicodeString& text);

}  // namespace quill
