// FormatDateTime and the date-time to text conversions built on it.
#include <string>
#include <string_view>

#include "quillrt/framework/format.h"

namespace quill {
namespace {

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool StartsWithNoCase(std::u16string_view text, size_t at, std::u16string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (AsciiUpper(text[at + i]) != prefix[i]) return false;
  return true;
}

// True when an am/pm specifier (am/pm, a/p, ampm) follows position `from`
// outside quotes: the hours before it are then on the 12-hour clock.
bool HasAmPmAfter(std::u16string_view pattern, size_t from) {
  for (size_t i = from; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'\'' || c == u'"') {
      const size_t end = pattern.find(c, i + 1);
      if (end == std::u16string_view::npos) return false;
      i = end;
    } else if ((c == u'a' || c == u'A') &&
               (StartsWithNoCase(pattern, i, u"AM/PM") || StartsWithNoCase(pattern, i, u"A/P") ||
                StartsWithNoCase(pattern, i, u"AMPM"))) {
      return true;
    }
  }
  return false;
}

class DateTimeWriter {
 public:
  DateTimeWriter(TDateTime value, const TFormatSettings& settings) : settings_(settings) {
    DecodeDate(value, year_, month_, day_);
    DecodeTime(value, hour_, min_, sec_, msec_);
    day_of_week_ = DayOfWeek(value);
  }

  UnicodeString Run(std::u16string_view pattern) {
    Append(pattern.empty() ? std::u16string_view(u"c") : pattern, 0);
    return std::move(out_);
  }

 private:
  // Nested patterns (a short date inside "c", ...) go no deeper than this, so a
  // settings record whose date format names itself cannot recurse for ever.
  static constexpr int kMaxDepth = 2;

  void Number(int value, int min_digits) {
    const std::string text = std::to_string(value);
    for (int i = static_cast<int>(text.size()); i < min_digits; ++i) out_.push_back(u'0');
    for (char c : text) out_.push_back(static_cast<char16_t>(c));
  }

  template <size_t N>
  void Name(const std::array<UnicodeString, N>& names, int one_based) {
    if (one_based >= 1 && one_based <= static_cast<int>(N)) out_ += names[static_cast<size_t>(one_based - 1)];
  }

  void Nested(const UnicodeString& pattern, int depth) {
    if (depth < kMaxDepth) Append(pattern, depth + 1);
  }

  void Append(std::u16string_view pattern, int depth) {
    char16_t last_token = u' ';
    size_t i = 0;
    while (i < pattern.size()) {
      const char16_t c = pattern[i];
      char16_t token = AsciiUpper(c);
      if (IsAsciiLetter(c)) {
        if (token == u'M' && last_token == u'H') token = u'N';
        last_token = token;
      }
      // Length of the run of the same letter (in either case).
      size_t count = 1;
      while (i + count < pattern.size() && AsciiUpper(pattern[i + count]) == AsciiUpper(c)) ++count;
      switch (token) {
        case u'Y':
          if (count <= 2) {
            Number(year_ % 100, 2);
          } else {
            Number(year_, 4);
          }
          break;
        case u'M':
          if (count <= 2) {
            Number(month_, static_cast<int>(count));
          } else {
            Name(count == 3 ? settings_.ShortMonthNames : settings_.LongMonthNames, month_);
          }
          break;
        case u'D':
          if (count <= 2) {
            Number(day_, static_cast<int>(count));
          } else if (count <= 4) {
            Name(count == 3 ? settings_.ShortDayNames : settings_.LongDayNames, day_of_week_);
          } else {
            Nested(count == 5 ? settings_.ShortDateFormat : settings_.LongDateFormat, depth);
          }
          break;
        case u'H': {
          int hour = hour_;
          if (HasAmPmAfter(pattern, i + count)) {
            hour %= 12;
            if (hour == 0) hour = 12;
          }
          Number(hour, count >= 2 ? 2 : 1);
          break;
        }
        case u'N':
          Number(min_, count >= 2 ? 2 : 1);
          break;
        case u'S':
          Number(sec_, count >= 2 ? 2 : 1);
          break;
        case u'Z':
          Number(msec_, count >= 3 ? 3 : 1);
          break;
        case u'T':
          Nested(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, depth);
          break;
        case u'C':
          Nested(settings_.ShortDateFormat, depth);
          if (hour_ != 0 || min_ != 0 || sec_ != 0 || msec_ != 0) {
            out_.push_back(u' ');
            Nested(settings_.LongTimeFormat, depth);
          }
          break;
        case u'A':
          count = AmPm(pattern, i);
          break;
        case u'/':
          if (settings_.DateSeparator != 0) out_.push_back(settings_.DateSeparator);
          count = 1;
          break;
        case u':':
          if (settings_.TimeSeparator != 0) out_.push_back(settings_.TimeSeparator);
          count = 1;
          break;
        case u'\'':
        case u'"': {
          size_t end = pattern.find(c, i + 1);
          if (end == std::u16string_view::npos) end = pattern.size();
          out_.append(pattern.substr(i + 1, end - i - 1));
          count = end - i + (end < pattern.size() ? 1 : 0);
          break;
        }
        default:
          // Any other character, letters included, is written as it stands.
          out_.append(pattern.substr(i, count));
          break;
      }
      i += count;
    }
  }

  // Writes an am/pm specifier at `at`; returns how many characters it used.
  size_t AmPm(std::u16string_view pattern, size_t at) {
    const bool pm = hour_ >= 12;
    if (StartsWithNoCase(pattern, at, u"AM/PM")) {
      out_.append(pattern.substr(at + (pm ? 3 : 0), 2));
      return 5;
    }
    if (StartsWithNoCase(pattern, at, u"A/P")) {
      out_.push_back(pattern[at + (pm ? 2 : 0)]);
      return 3;
    }
    if (StartsWithNoCase(pattern, at, u"AMPM")) {
      out_ += pm ? settings_.TimePMString : settings_.TimeAMString;
      return 4;
    }
    out_.push_back(pattern[at]);
    return 1;
  }

  const TFormatSettings& settings_;
  int year_ = 0, month_ = 0, day_ = 0, day_of_week_ = 0;
  int hour_ = 0, min_ = 0, sec_ = 0, msec_ = 0;
  UnicodeString out_;
};

}  // namespace

UnicodeString FormatDateTime(const UnicodeString& pattern, TDateTime value,
                             const TFormatSettings& settings) {
  return DateTimeWriter(value, settings).Run(pattern);
}

UnicodeString DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(u"c", value, settings);
}

UnicodeString DateToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(u"ddddd", value, settings);
}

UnicodeString TimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(u"tt", value, settings);
}

}  // namespace quill
