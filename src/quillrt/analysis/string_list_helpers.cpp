#include "quillrt/analysis/string_list_helpers.h"

#include <algorithm>
#include <array>
#include <atomic>

#include "quillrt/analysis/number_formats.h"
#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/files/text_files.h"
#include "quillrt/framework/sysutils.h"

namespace quill {

namespace {

constexpr WideChar kTab = u'\t';
constexpr UnicodeString::size_type npos = UnicodeString::npos;

// The descending flag shared by the tab-line comparisons.
std::atomic<bool> sort_descending{false};

int Ordered(int comparison) { return sort_descending ? -comparison : comparison; }

template <class T>
int ThreeWay(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The file-name part of a path, '/' and '\' alike.
UnicodeString LastPathComponent(const UnicodeString& path) {
  const std::size_t slash = path.find_last_of(u"/\\");
  return slash == npos ? path : path.substr(slash + 1);
}

bool IsHexDigit(WideChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

}  // namespace

// ---- Tab-separated lines ------------------------------------------------------

UnicodeString AddWithTab(const UnicodeString& a, const UnicodeString& b) {
  return a.empty() ? b : a + kTab + b;
}

UnicodeString PreTabPart(const UnicodeString& line) {
  const std::size_t tab = line.find(kTab);
  return tab == npos ? UnicodeString() : line.substr(0, tab);
}

UnicodeString AfterTabPart(const UnicodeString& line) {
  const std::size_t tab = line.find(kTab);
  return tab == npos ? UnicodeString() : line.substr(tab + 1);
}

UnicodeString PreTabPathAndFilenameOf(const UnicodeString& line) { return PreTabPart(line); }

UnicodeString PreTabFilenameOf(const UnicodeString& line) { return LastPathComponent(PreTabPart(line)); }

std::int32_t AfterTabIntegerOf(const UnicodeString& line) {
  int value = 0;
  return TryStrToInt(DigitsOnlyOf(AfterTabPart(line)), value) ? value : -1;
}

bool TryTextToDateTime(const UnicodeString& text, const TFormatSettings& settings, TDateTime& value) {
  std::vector<int> numbers;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < u'0' || text[i] > u'9') {
      ++i;
      continue;
    }
    int n = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
      if (n > 99999) return false;
      n = n * 10 + (text[i] - u'0');
    }
    numbers.push_back(n);
  }
  if (numbers.size() < 3 || numbers.size() > 6) return false;
  // The order of day, month and year in the short date pattern; day-month-year
  // when the pattern does not say.
  const UnicodeString pattern = UpperCase(settings.ShortDateFormat);
  const auto where = [&](WideChar c, std::size_t fallback) {
    const std::size_t at = pattern.find(c);
    return at == npos ? fallback : at;
  };
  std::array<std::pair<std::size_t, int>, 3> order = {
      std::pair{where(u'D', 0), 0}, std::pair{where(u'M', 1), 1}, std::pair{where(u'Y', 2), 2}};
  std::sort(order.begin(), order.end());
  std::array<int, 3> dmy{};
  for (std::size_t k = 0; k < 3; ++k) dmy[static_cast<std::size_t>(order[k].second)] = numbers[k];
  int year = dmy[2];
  if (year < 100) year += year < 50 ? 2000 : 1900;
  TDateTime date = 0;
  if (!TryEncodeDate(year, dmy[1], dmy[0], date)) return false;
  int hour = numbers.size() > 3 ? numbers[3] : 0;
  const int minute = numbers.size() > 4 ? numbers[4] : 0;
  const int second = numbers.size() > 5 ? numbers[5] : 0;
  const UnicodeString upper = UpperCase(text);
  if (upper.find(u"PM") != npos && hour < 12) hour += 12;
  if (upper.find(u"AM") != npos && hour == 12) hour = 0;
  TDateTime time = 0;
  if (!TryEncodeTime(hour, minute, second, 0, time)) return false;
  value = date >= 0 ? date + time : date - time;
  return true;
}

TDateTime AfterTabDateOf(const UnicodeString& line) {
  TDateTime value = 0;
  return TryTextToDateTime(AfterTabPart(line), UserDefaultFormatSettings, value) ? value : Now();
}

int StringListCompareStringsDateAfterTab(TStringList& list, int index1, int index2) {
  return Ordered(ThreeWay(AfterTabDateOf(list[index1]), AfterTabDateOf(list[index2])));
}

int IndexOfPreTabFnameOnly(const TStrings& lines, const UnicodeString& path) {
  for (int i = 0; i < lines.Count(); ++i)
    if (PreTabPart(lines[i]) == path) return i;
  return -1;
}

int StringListCompareStringsFilenamePreTab(TStringList& list, int index1, int index2) {
  return Ordered(ThreeWay(UpperCase(PreTabFilenameOf(list[index1])), UpperCase(PreTabFilenameOf(list[index2]))));
}

int StringListCompareStringsIntegerAfterTab(TStringList& list, int index1, int index2) {
  return Ordered(ThreeWay(AfterTabIntegerOf(list[index1]), AfterTabIntegerOf(list[index2])));
}

void SetSortDescendingAndSort(bool descending, TStringList& list,
                              const TStringList::TStringListSortCompare& comparison) {
  sort_descending = descending;
  list.CustomSort(comparison);
}

// ---- Splitting and joining ------------------------------------------------------

std::unique_ptr<TStringList> StringListFromString(WideChar separator, const UnicodeString& text) {
  auto list = std::make_unique<TStringList>();
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != npos; at = text.find(separator, start)) {
    list->Add(text.substr(start, at - start));
    start = at + 1;
    if (start < text.size() && text[start] == u'\n') ++start;
  }
  if (start < text.size()) list->Add(text.substr(start));
  return list;
}

std::unique_ptr<TStringList> StringListFromString(const UnicodeString& text) {
  return StringListFromString(u'\r', text);
}

int StringToStringList(WideChar separator, const UnicodeString& text, TStrings& list) {
  list.Clear();
  if (text.empty()) return 0;
  UnicodeString field;
  bool quoted = false;
  bool field_pending = true;  // a field has begun that no separator or quote has ended
  bool after_closing_quote = false;
  for (const WideChar c : text) {
    const bool was_after_closing_quote = std::exchange(after_closing_quote, false);
    if (quoted) {
      if (c == u'"') {
        quoted = false;
        list.Add(std::exchange(field, UnicodeString()));
        field_pending = false;
        after_closing_quote = true;
      } else {
        field += c;
      }
    } else if (c == u'"') {
      quoted = true;
      field_pending = true;
    } else if (c == separator) {
      if (!was_after_closing_quote) list.Add(std::exchange(field, UnicodeString()));
      field_pending = true;
    } else {
      field += c;
      field_pending = true;
    }
  }
  if (field_pending) list.Add(field);
  return quoted ? -list.Count() : list.Count();
}

UnicodeString StringListToString(const UnicodeString& separator, const TStrings& list, int first, int max_length) {
  UnicodeString text;
  for (int i = std::max(first, 0); i < list.Count(); ++i) {
    if (static_cast<std::int64_t>(text.size()) >= max_length) {
      text += u' ' + CatalogueText("_QYEtc");
      break;
    }
    if (list[i].empty()) continue;
    if (!text.empty()) text += separator;
    text += list[i];
  }
  return text;
}

UnicodeString AddToListWithSeparatorIfNeeded(const UnicodeString& list, const UnicodeString& item,
                                             const UnicodeString& separator) {
  return list.empty() ? item : list + separator + item;
}

UnicodeString FolderNamesAsText(const TStrings& list, int last) {
  UnicodeString text;
  for (int i = 0; i < list.Count() && i <= last; ++i) {
    if (i > 0) text += u'+';
    UnicodeString folder = list[i];
    while (!folder.empty() && (folder.back() == u'/' || folder.back() == u'\\')) folder.pop_back();
    text += LastPathComponent(folder);
  }
  return text;
}

UnicodeString FromColumnedWidestringToVerticalTabbed(const UnicodeString& text, WideChar separator) {
  UnicodeString result = text;
  std::replace(result.begin(), result.end(), separator, u'\v');
  return result;
}

std::unique_ptr<TStringList> FromColumnedWidestringListToVerticalTabbed(const UnicodeString& text,
                                                                        WideChar separator) {
  auto list = std::make_unique<TStringList>();
  list->SetText(FromColumnedWidestringToVerticalTabbed(text, separator));
  return list;
}

std::unique_ptr<TStringList> StringlistFromStringWithHexColourWords(const UnicodeString& text) {
  auto list = std::make_unique<TStringList>();
  UnicodeString plain;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t mark = text.find(u"<#", pos);
    std::size_t digits_end = mark == npos ? npos : mark + 2;
    while (digits_end < text.size() && IsHexDigit(text[digits_end])) ++digits_end;
    const std::size_t digit_count = mark == npos ? 0 : digits_end - mark - 2;
    if (mark == npos || digits_end >= text.size() || text[digits_end] != u'>' || digit_count == 0 ||
        digit_count > 8) {
      // Not a colour mark: the text up to here, "<#" included, stays plain.
      const std::size_t upto = mark == npos ? text.size() : mark + 2;
      plain.append(text, pos, upto - pos);
      pos = upto;
      continue;
    }
    plain.append(text, pos, mark - pos);
    if (!plain.empty()) list->Add(std::exchange(plain, UnicodeString()));
    const std::size_t word_start = digits_end + 1;
    std::size_t word_end = text.find(u' ', word_start);
    if (word_end == npos) word_end = text.size();
    const auto colour = static_cast<std::intptr_t>(
        std::stoul(Utf16ToUtf8(text.substr(mark + 2, digit_count)), nullptr, 16));
    list->AddObject(text.substr(word_start, word_end - word_start), TObjectRef::FromInt(colour));
    pos = word_end;
  }
  if (!plain.empty()) list->Add(plain);
  return list;
}

UnicodeString GetTextFromFile(const UnicodeString& file_name) { return TextFileContents(file_name); }

// ---- Removing and converting lines ------------------------------------------------

void StringListRemoveLinesMeetingCondition(TStrings* list, const TBooleanLineCondition& condition) {
  if (list == nullptr) return;
  for (int i = list->Count() - 1; i >= 0; --i)
    if (condition((*list)[i])) list->Delete(i);
}

std::unique_ptr<TStringList> StringListRemovingAnyLines(const TStrings& list,
                                                        const TRemoveOrConvertALineFunct& convert) {
  auto result = std::make_unique<TStringList>();
  for (const UnicodeString& line : list) {
    TLineConversion decision;
    convert(line, decision);
    if (decision.remove) continue;
    result->Add(decision.convert ? decision.converted : line);
  }
  return result;
}

void ReverseAStringList(TStrings& list) {
  const int count = list.Count();
  if (count < 2) return;
  list.BeginUpdate();
  for (int i = 0, j = count - 1; i < j; ++i, --j) list.Exchange(i, j);
  list.EndUpdate();
}

void RandomReduceStringlist(TStrings& list, int n, std::mt19937& random) {
  const int keep = std::max(n, 0);
  list.BeginUpdate();
  while (list.Count() > keep) {
    std::uniform_int_distribution<int> pick(0, list.Count() - 1);
    list.Delete(pick(random));
  }
  list.EndUpdate();
}

void RandomReduceStringlist(TStrings& list, int n) {
  std::mt19937 random{std::random_device{}()};
  RandomReduceStringlist(list, n, random);
}

// ---- List classes ------------------------------------------------------------------

TNotifyStringlist::TNotifyStringlist(TTellCountEvent on_tell_contagem)
    : OnTellContagem(std::move(on_tell_contagem)) {}

TNotifyStringlist::~TNotifyStringlist() = default;

void TNotifyStringlist::SetTextStr(const UnicodeString& text) {
  const UnicodeString& line_break = LineBreak();
  const bool standard = line_break.empty() || line_break == u"\r\n";
  BeginUpdate();
  Clear();
  const std::size_t n = text.size();
  std::size_t start = 0;
  while (start < n) {
    std::size_t end = 0;
    std::size_t next = 0;
    if (standard) {
      end = text.find_first_of(u"\r\n", start);
      if (end == npos) end = n;
      next = end + (end + 1 < n && text[end] == u'\r' && text[end + 1] == u'\n' ? 2 : 1);
    } else {
      end = text.find(line_break, start);
      if (end == npos) end = n;
      next = end + line_break.size();
    }
    Add(text.substr(start, end - start));
    if (OnTellContagem && (Count() & 0xFF) == 0xFF) OnTellContagem(Count());
    start = next;
  }
  EndUpdate();
  if (OnTellContagem) OnTellContagem(Count());
}

TStringList& TArrayOfStringLists::Add() { return *lists_.emplace_back(std::make_unique<TStringList>()); }

void TArrayOfStringLists::SetCount(int count) {
  const auto wanted = static_cast<std::size_t>(std::max(count, 0));
  while (lists_.size() < wanted) Add();
  lists_.resize(wanted);
}

TStringList& TArrayOfStringLists::operator[](int index) {
  if (index < 0 || index >= Count()) throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
  return *lists_[static_cast<std::size_t>(index)];
}

const TStringList& TArrayOfStringLists::operator[](int index) const {
  return const_cast<TArrayOfStringLists&>(*this)[index];
}

bool TFilenamesStringlist::IsAnExistingFilename(const UnicodeString& name) {
  return !name.empty() && FileExists(name);
}

UnicodeString TFilenamesStringlist::FilenameInLine(const UnicodeString& line) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find(kTab, start);
    const UnicodeString field = line.substr(start, tab == npos ? npos : tab - start);
    if (IsAnExistingFilename(field)) return field;
    if (tab == npos) return {};
    start = tab + 1;
  }
}

void TFilenamesStringlist::ReduceToExistingFilenames() {
  BeginUpdate();
  for (int i = Count() - 1; i >= 0; --i) {
    const UnicodeString name = FilenameInLine((*this)[i]);
    if (name.empty())
      Delete(i);
    else
      Put(i, name);
  }
  EndUpdate();
}

}  // namespace quill
