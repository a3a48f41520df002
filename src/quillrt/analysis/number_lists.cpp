#include "quillrt/analysis/number_lists.h"

#include <cstddef>
#include <functional>

#include "quillrt/analysis/number_formats.h"
#include "quillrt/framework/sysutils.h"

namespace quill {
namespace {

bool IsPlainDigit(WideChar c) { return c >= u'0' && c <= u'9'; }

bool EndsWith(const UnicodeString& s, WideChar c) { return !s.empty() && s.back() == c; }

// The walk shared by the expansion and the integer form: digits collect into
// the current number; "," hands it over; "-" takes it as the start of a range
// whose end is the run of digits after the "-" (and any blanks); anything else
// is ignored.
// At the end the current number is handed over.
struct NumberListWalk {
  std::function<void(const UnicodeString& number, bool before_comma)> number;
  std::function<void(const UnicodeString& from, const UnicodeString& to)> range;

  void Run(const UnicodeString& text) const {
    UnicodeString current;
    std::size_t i = 0;
    while (i < text.size()) {
      const WideChar c = text[i++];
      if (IsPlainDigit(c)) {
        current += c;
      } else if (c == u',') {
        number(current, true);
        current.clear();
      } else if (c == u'-') {
        while (i < text.size() && text[i] == u' ') ++i;  // "3 - 4" is the range 3-4
        const std::size_t to_start = i;
        while (i < text.size() && IsPlainDigit(text[i])) ++i;
        range(current, text.substr(to_start, i - to_start));
        current.clear();
      }
    }
    number(current, false);
  }
};

// The bounds of a range, or false when it adds nothing. A missing or
// unreadable start counts as 0.
bool RangeBounds(const UnicodeString& from_text, const UnicodeString& to_text, std::int32_t& from, std::int32_t& to) {
  if (!TryStrToInt(from_text, from)) from = 0;
  if (!TryStrToInt(to_text, to)) return false;
  return to >= from && std::int64_t{to} - from < HumanNumberListMaxRange;
}

std::int32_t Wrapped(std::int64_t value) { return static_cast<std::int32_t>(value); }

void CloseRange(UnicodeString& result, std::int64_t previous, std::int64_t range_start) {
  if (previous - range_start == 1) result.back() = u',';
  result += IntToStr(previous);
}

}  // namespace

UnicodeString HumanAbbreviatedNumberListString(const TStrings& list) {
  UnicodeString result;
  bool have_previous = false;
  std::int64_t previous = 0;
  std::int64_t range_start = 0;
  for (const UnicodeString& line : list) {
    int value = 0;
    if (!TryStrToInt(line, value)) continue;
    if (have_previous && value == previous + 1) {
      if (!EndsWith(result, u'-')) {
        range_start = previous;
        result += u'-';
      }
    } else if (EndsWith(result, u'-')) {
      CloseRange(result, previous, range_start);
      result += u',';
      result += IntToStr(value);
    } else {
      if (!result.empty() && IsPlainDigit(result.back())) result += u',';
      result += IntToStr(value);
    }
    previous = value;
    have_previous = true;
  }
  // A range still open at the end (its last number may be followed by lines
  // that are not numbers) is closed here.
  if (EndsWith(result, u'-')) CloseRange(result, previous, range_start);
  return result;
}

UnicodeString HumanAbbreviatedNumberListString(const TArrayOfIntegers& array, std::int32_t offset) {
  return HumanAbbreviatedNumberListString(*TArrayOfIntegersToStringlist(array, offset));
}

std::unique_ptr<TStringList> TArrayOfIntegersToStringlist(const TArrayOfIntegers& array, std::int32_t offset) {
  auto list = std::make_unique<TStringList>();
  std::vector<UnicodeString> lines;
  lines.reserve(array.size());
  for (const std::int32_t value : array) lines.push_back(IntToStr(Wrapped(std::int64_t{value} + offset)));
  list->AddStrings(std::move(lines));
  return list;
}

UnicodeString HumanAbbreviatedNumberListStringExpanded(const UnicodeString& text) {
  UnicodeString result;
  NumberListWalk walk;
  walk.number = [&](const UnicodeString& number, bool before_comma) {
    result += number;
    if (before_comma) result += u',';
  };
  walk.range = [&](const UnicodeString& from_text, const UnicodeString& to_text) {
    std::int32_t from = 0;
    std::int32_t to = 0;
    if (!RangeBounds(from_text, to_text, from, to)) return;
    for (std::int64_t v = from; v <= to; ++v) {
      if (!result.empty() && IsPlainDigit(result.back())) result += u',';
      result += IntToStr(v);
    }
  };
  walk.Run(text);
  return result;
}

void HumanAbbreviatedNumberListStringAsIntegers(const UnicodeString& text, std::int32_t offset,
                                                TArrayOfIntegers& array) {
  array.clear();
  NumberListWalk walk;
  walk.number = [&](const UnicodeString& number, bool) {
    int value = 0;
    if (TryStrToInt(number, value)) array.push_back(Wrapped(std::int64_t{value} - offset));
  };
  walk.range = [&](const UnicodeString& from_text, const UnicodeString& to_text) {
    std::int32_t from = 0;
    std::int32_t to = 0;
    if (!RangeBounds(from_text, to_text, from, to)) return;
    for (std::int64_t v = from; v <= to; ++v) array.push_back(Wrapped(v - offset));
  };
  walk.Run(text);
}

UnicodeString ANumberInHumanString(const UnicodeString& text, std::int32_t n) {
  const UnicodeString expanded = HumanAbbreviatedNumberListStringExpanded(Trim(text));
  if (expanded.empty()) return {};
  std::vector<UnicodeString> items;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = expanded.find(u',', start);
    items.push_back(expanded.substr(start, comma == UnicodeString::npos ? UnicodeString::npos : comma - start));
    if (comma == UnicodeString::npos) break;
    start = comma + 1;
  }
  const std::size_t index = n < 1 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), items.size()) - 1;
  int value = 0;
  return TryStrToInt(items[index], value) ? items[index] : UnicodeString();
}

UnicodeString HumanAbbreviatedNumberListStringToMonths(const UnicodeString& text) {
  UnicodeString result = text;
  for (int month = 1; month <= 12; ++month) {
    const UnicodeString code = WithLeftZeros(2, month);
    const std::size_t at = result.find(code);
    if (at != UnicodeString::npos) {
      result.replace(at, code.size(), UserDefaultFormatSettings.ShortMonthNames[static_cast<std::size_t>(month - 1)]);
    }
  }
  return result;
}

void ForceItemsToInclude(TStrings& list, std::int32_t n) {
  const UnicodeString item = IntToStr(n);
  if (list.IndexOf(item) >= 0) return;
  for (int i = 0; i < list.Count(); ++i) {
    // The first line has nothing before it: a larger first number means n goes first.
    if (StrToInt(list[i]) > n && (i == 0 || StrToInt(list[i - 1]) < n)) {
      list.Insert(i, item);
      return;
    }
  }
  list.Add(item);
}

std::unique_ptr<TStringList> CommaSeparatedStrings(const UnicodeString& text) {
  auto list = std::make_unique<TStringList>();
  std::size_t start = 0;
  for (std::size_t comma = text.find(u','); comma != UnicodeString::npos; comma = text.find(u',', start)) {
    list->Add(Trim(text.substr(start, comma - start)));
    start = comma + 1;
  }
  if (start < text.size()) list->Add(text.substr(start));
  return list;
}

}  // namespace quill
