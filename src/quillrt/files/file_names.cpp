#include "quillrt/files/file_names.h"

#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"

namespace quill {

namespace {

// The entry of `folder` named `name`, exactly or else ignoring case; empty when
// there is none.
UnicodeString ListedSpelling(const UnicodeString& folder, const UnicodeString& name) {
  if (GetFileAttributesW(folder + name) != INVALID_FILE_ATTRIBUTES) return name;
  TDirectoryListing listing(folder + u"*", TListingDetail::kinds_and_names);
  TFoundEntry entry;
  while (listing.Next(entry))
    if (SameText(entry.Name, name)) return entry.Name;
  return {};
}

}  // namespace

UnicodeString GetLongPathNameW(const UnicodeString& path) {
  const UnicodeString full = ExpandFileName(path);
  if (full.empty() || full[0] != PathDelim) return full;
  UnicodeString result(1, PathDelim);
  std::size_t start = 1;
  while (start < full.size()) {
    std::size_t end = full.find(PathDelim, start);
    if (end == UnicodeString::npos) end = full.size();
    const UnicodeString spelt = ListedSpelling(result, full.substr(start, end - start));
    if (spelt.empty()) return result + full.substr(start);
    result += spelt;
    if (end < full.size()) result += PathDelim;
    start = end + 1;
  }
  return result;
}

int PathDelimiterCount(const UnicodeString& name) {
  int count = 0;
  for (WideChar c : name)
    if (c == PathDelim) ++count;
  return count;
}

UnicodeString NameUpToXPathDelimiters(const UnicodeString& name, int n) {
  if (n < 1) return {};
  int seen = 0;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (name[i] == PathDelim && ++seen == n) return name.substr(0, i);
  return {};
}

UnicodeString RemoveDotsFromFilename(const UnicodeString& name) {
  UnicodeString result;
  for (WideChar c : name)
    if (c != u'.') result += c;
  return result;
}

UnicodeString CleanedUpFilename(const UnicodeString& name) {
  static constexpr std::u16string_view kRefused = u"\\/:|<>^+=?[]\"*";
  UnicodeString result;
  for (WideChar c : ExtractFileName(name))
    if (c >= 32 && kRefused.find(c) == std::u16string_view::npos) result += c;
  return result;
}

UnicodeString FormattedFNAsParameter(const UnicodeString& name) {
  return FileExists(name) ? u"\"" + name + u"\"" : name;
}

UnicodeString FileFilterWithinFilterText(const UnicodeString& text) {
  const std::size_t open = text.find(u'(');
  const std::size_t close = text.find(u')');
  UnicodeString inside = text;
  if (open != UnicodeString::npos && (close == UnicodeString::npos || open < close))
    inside = close == UnicodeString::npos ? text.substr(open + 1) : text.substr(open + 1, close - open - 1);
  inside = Trim(inside);
  return inside.empty() ? UnicodeString(u"*.*") : inside;
}

}  // namespace quill
