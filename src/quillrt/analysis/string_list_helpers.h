#pragma once
// Helpers that shape string lists: tab-separated "name TAB value" lines, splitting
// a text into lines or fields and joining lines back, removing or converting lines
// by a condition, and three list classes (a list that reports progress while it
// takes in a long text, a growable array of lists, a list of file names).
//
// New lists are returned as std::unique_ptr and belong to the caller.
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "quillrt/analysis/word_lists.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// ---- Tab-separated lines ------------------------------------------------------

// a, a tab when a is not empty, then b.
QUILLRT_API UnicodeString AddWithTab(const UnicodeString& a, const UnicodeString& b);
// The text before / after the first tab; empty when there is no tab.
QUILLRT_API UnicodeString PreTabPart(const UnicodeString& line);
QUILLRT_API UnicodeString AfterTabPart(const UnicodeString& line);
// The part before the tab (a path), and its file-name part only.
QUILLRT_API UnicodeString PreTabPathAndFilenameOf(const UnicodeString& line);
QUILLRT_API UnicodeString PreTabFilenameOf(const UnicodeString& line);
// The digits of the part after the tab as an integer; -1 when they make no number.
QUILLRT_API std::int32_t AfterTabIntegerOf(const UnicodeString& line);
// The part after the tab read as a date, optionally followed by a time, in the
// user's date order (day, month and year as the short date pattern orders them;
// hours, minutes, optional seconds, "PM"); the current moment when it does not convert.
QUILLRT_API TDateTime AfterTabDateOf(const UnicodeString& line);
// The same reading of any text; false when it is no date.
QUILLRT_API bool TryTextToDateTime(const UnicodeString& text, const TFormatSettings& settings, TDateTime& value);
// The index of the first line whose part before the tab is exactly `path`; -1.
QUILLRT_API int IndexOfPreTabFnameOnly(const TStrings& lines, const UnicodeString& path);

// Sort comparisons of two lines: by the upper-cased file name before the tab, and by
// the date or the integer after it. All obey the shared descending flag.
QUILLRT_API int StringListCompareStringsFilenamePreTab(TStringList& list, int index1, int index2);
QUILLRT_API int StringListCompareStringsDateAfterTab(TStringList& list, int index1, int index2);
QUILLRT_API int StringListCompareStringsIntegerAfterTab(TStringList& list, int index1, int index2);
// Sets the shared descending flag, then sorts `list` with `comparison`.
QUILLRT_API void SetSortDescendingAndSort(bool descending, TStringList& list,
                                          const TStringList::TStringListSortCompare& comparison);

// ---- Splitting and joining ------------------------------------------------------

// Lines split at each `separator`; a line feed right after a separator is skipped;
// the rest after the last separator, when not empty, is the last line.
QUILLRT_API std::unique_ptr<TStringList> StringListFromString(WideChar separator, const UnicodeString& text);
QUILLRT_API std::unique_ptr<TStringList> StringListFromString(const UnicodeString& text);  // at CR

// Fills `list` (cleared first) with the fields of `text`. A separator ends a field,
// except right after a closing double quote, which has ended it already. Double
// quotes are dropped: an opening one starts quoted text in which a separator is
// an ordinary character, a closing one ends the field. Returns the number of
// fields, negated when a quote was left open; an empty text gives 0.
QUILLRT_API int StringToStringList(WideChar separator, const UnicodeString& text, TStrings& list);

// Lines from index `first` joined with `separator`, empty lines skipped. Once the
// text has reached `max_length` characters while lines remain, a blank and the
// catalogue's "etc." end it.
QUILLRT_API UnicodeString StringListToString(const UnicodeString& separator, const TStrings& list, int first = 0,
                                             int max_length = INT32_MAX);

// The list text, `separator` when that text is not empty, then `item`.
QUILLRT_API UnicodeString AddToListWithSeparatorIfNeeded(const UnicodeString& list, const UnicodeString& item,
                                                         const UnicodeString& separator);

// The last path component of lines 0 to min(Count - 1, last), without a trailing
// delimiter, joined by "+".
QUILLRT_API UnicodeString FolderNamesAsText(const TStrings& list, int last);

// Every `separator` replaced by a vertical tab (U+000B); and the same split at line
// ends into a new list.
QUILLRT_API UnicodeString FromColumnedWidestringToVerticalTabbed(const UnicodeString& text, WideChar separator);
QUILLRT_API std::unique_ptr<TStringList> FromColumnedWidestringListToVerticalTabbed(const UnicodeString& text,
                                                                                    WideChar separator);

// Splits text carrying colour marks "<#hex>": the text before a mark is a plain
// line (attached value 0, left out when empty), the word after it up to the next
// blank is a line with the colour attached. A mark that is not "<#", hex digits
// and ">" is ordinary text.
QUILLRT_API std::unique_ptr<TStringList> StringlistFromStringWithHexColourWords(const UnicodeString& text);

// The whole text of a text file, each line ending in CR LF; empty when it does not exist.
QUILLRT_API UnicodeString GetTextFromFile(const UnicodeString& file_name);

// ---- Removing and converting lines ------------------------------------------------

using TBooleanLineCondition = std::function<bool(const UnicodeString& line)>;

// What a conversion callback decides for one line.
struct TLineConversion {
  UnicodeString converted;  // the line that replaces it, when `convert`
  bool remove = false;      // drop the line
  bool convert = false;     // replace it by `converted`
};
using TRemoveOrConvertALineFunct = std::function<void(const UnicodeString& line, TLineConversion& result)>;

// Deletes every line meeting the condition, from the last to the first. Nothing
// for a missing list.
QUILLRT_API void StringListRemoveLinesMeetingCondition(TStrings* list, const TBooleanLineCondition& condition);
// A new list with each line dropped, converted or copied as `convert` decides.
QUILLRT_API std::unique_ptr<TStringList> StringListRemovingAnyLines(const TStrings& list,
                                                                    const TRemoveOrConvertALineFunct& convert);
// Reverses the order of the lines; each line keeps its attached value.
QUILLRT_API void ReverseAStringList(TStrings& list);
// Deletes randomly chosen lines until at most n remain; the others keep their order.
QUILLRT_API void RandomReduceStringlist(TStrings& list, int n);
QUILLRT_API void RandomReduceStringlist(TStrings& list, int n, std::mt19937& random);

// ---- List classes ------------------------------------------------------------------

// A string list that reports progress while it takes in a whole text: when Text is
// set, the lines are added one at a time inside an update bracket, and
// OnTellContagem hears the number added so far at 255, 511, 767 ... and the final
// number when the bracket closes. With the standard CR LF line break a line ends
// at CR, LF or CR LF; with another line break, at each occurrence of it.
class QUILLRT_API TNotifyStringlist : public TStringList {
 public:
  explicit TNotifyStringlist(TTellCountEvent on_tell_contagem = {});
  ~TNotifyStringlist() override;
  void SetTextStr(const UnicodeString& text) override;

  TTellCountEvent OnTellContagem;
};

// A growable array of string lists, each owned by the array.
class QUILLRT_API TArrayOfStringLists {
 public:
  int Count() const { return static_cast<int>(lists_.size()); }
  // Adds a new, empty list and returns it.
  TStringList& Add();
  // Grows (with empty lists) or shrinks to `count` lists.
  void SetCount(int count);
  TStringList& operator[](int index);
  const TStringList& operator[](int index) const;
  void Clear() { lists_.clear(); }

 private:
  std::vector<std::unique_ptr<TStringList>> lists_;
};

// A list whose lines carry file names among tab-separated fields.
class QUILLRT_API TFilenamesStringlist : public TStringList {
 public:
  // The first field, from the left, that names an existing file; empty when none.
  static UnicodeString FilenameInLine(const UnicodeString& line);
  // The name is not empty and the file exists.
  static bool IsAnExistingFilename(const UnicodeString& name);
  // Each line replaced by its FilenameInLine, or deleted when that is empty.
  void ReduceToExistingFilenames();
};

}  // namespace quill
