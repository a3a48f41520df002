// TFormatSettings: the invariant record, records filled from ICU locale data, and
// the user's settings read when the library loads.
#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <string_view>

#include "quillrt/framework/format.h"

namespace quill {
namespace {

UnicodeString FromIcu(const icu::UnicodeString& text) {
  return UnicodeString(text.getBuffer(), static_cast<size_t>(text.length()));
}

bool IsBlank(char16_t c) { return c == u' ' || c == 0x00A0 || c == 0x202F || c == u'\t'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
// Invisible direction marks that some locales put around separators.
bool IsDirectionMark(char16_t c) { return c == 0x200E || c == 0x200F || c == 0x061C; }

// ---------------------------------------------------------------------------
// ICU date patterns to the framework's pattern letters

// The first separator character of an ICU pattern: not a letter, not blank, not a
// direction mark, not quoted, not a comma. 0 when there is none.
WideChar FirstSeparator(std::u16string_view icu) {
  bool quoted = false;
  for (char16_t c : icu) {
    if (c == u'\'') {
      quoted = !quoted;
    } else if (!quoted && !IsLetter(c) && !IsBlank(c) && !IsDirectionMark(c) && c != u',') {
      return c;
    }
  }
  return 0;
}

class PatternConverter {
 public:
  // `separator` (when not 0) becomes `placeholder` ('/' or ':') so that the
  // settings' separator applies; `four_digit_year` widens "yy" to "yyyy".
  PatternConverter(WideChar separator, char16_t placeholder, bool four_digit_year)
      : separator_(separator), placeholder_(placeholder), four_digit_year_(four_digit_year) {}

  UnicodeString Convert(std::u16string_view icu) {
    out_.clear();
    for (size_t i = 0; i < icu.size();) {
      const char16_t c = icu[i];
      if (c == u'\'') {
        i = QuotedLiteral(icu, i);
        continue;
      }
      if (!IsLetter(c)) {
        Literal(c, false);
        ++i;
        continue;
      }
      size_t count = 1;
      while (i + count < icu.size() && icu[i + count] == c) ++count;
      Field(c, count);
      i += count;
    }
    FlushQuoted();
    // Fields we have no letter for (eras, time zones) may leave blanks at the ends.
    const size_t first = out_.find_first_not_of(u' ');
    if (first == UnicodeString::npos) return {};
    const size_t last = out_.find_last_not_of(u' ');
    return out_.substr(first, last - first + 1);
  }

 private:
  size_t QuotedLiteral(std::u16string_view icu, size_t i) {
    if (i + 1 < icu.size() && icu[i + 1] == u'\'') {  // '' is a quote character
      Literal(u'\'', true);
      return i + 2;
    }
    for (++i; i < icu.size(); ++i) {
      if (icu[i] == u'\'') {
        if (i + 1 < icu.size() && icu[i + 1] == u'\'') {
          Literal(u'\'', true);
          ++i;
          continue;
        }
        return i + 1;
      }
      Literal(icu[i], true);
    }
    return i;
  }

  void Literal(char16_t c, bool quoted) {
    if (c == 0x00A0 || c == 0x202F) c = u' ';
    if (!quoted && separator_ != 0 && c == separator_) {
      Emit(UnicodeString(1, placeholder_));
      return;
    }
    // Characters that mean something in our patterns must be quoted.
    const bool special = IsLetter(c) || c == u'/' || c == u':' || c == u'"' || c == u'\'';
    if (special) {
      quoted_.push_back(c);
    } else {
      FlushQuoted();
      out_.push_back(c);
    }
  }

  void FlushQuoted() {
    if (quoted_.empty()) return;
    const char16_t quote = quoted_.find(u'"') == UnicodeString::npos ? u'"' : u'\'';
    out_.push_back(quote);
    out_ += quoted_;
    out_.push_back(quote);
    quoted_.clear();
  }

  void Emit(const UnicodeString& field) {
    FlushQuoted();
    out_ += field;
  }

  void Field(char16_t letter, size_t count) {
    switch (letter) {
      case u'y': case u'Y': case u'u': case u'r': case u'U':
        Emit(count == 2 && !four_digit_year_ ? u"yy" : u"yyyy");
        break;
      case u'M': case u'L':
        Emit(count == 1 ? u"m" : count == 2 ? u"mm" : count == 4 ? u"mmmm" : u"mmm");
        break;
      case u'd':
        Emit(count == 1 ? u"d" : u"dd");
        break;
      case u'e': case u'c':
        if (count < 3) break;  // a numeric weekday: we have no letter for it
        [[fallthrough]];
      case u'E':
        Emit(count == 4 ? u"dddd" : u"ddd");
        break;
      case u'h': case u'H': case u'K': case u'k':
        Emit(count == 1 ? u"h" : u"hh");
        break;
      case u'm':
        Emit(count == 1 ? u"n" : u"nn");
        break;
      case u's':
        Emit(count == 1 ? u"s" : u"ss");
        break;
      case u'S':
        Emit(u"zzz");
        break;
      case u'a': case u'b': case u'B':
        Emit(u"AMPM");
        break;
      default:
        break;  // era, time zone, quarter, week ...: left out
    }
  }

  WideChar separator_;
  char16_t placeholder_;
  bool four_digit_year_;
  UnicodeString out_;
  UnicodeString quoted_;
};

UnicodeString IcuPattern(const icu::DateFormat* format) {
  const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(format);
  if (simple == nullptr) return {};
  icu::UnicodeString pattern;
  simple->toPattern(pattern);
  return FromIcu(pattern);
}

UnicodeString DatePattern(icu::DateFormat::EStyle style, const icu::Locale& locale) {
  const std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateInstance(style, locale));
  return IcuPattern(format.get());
}

UnicodeString TimePattern(icu::DateFormat::EStyle style, const icu::Locale& locale) {
  const std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createTimeInstance(style, locale));
  return IcuPattern(format.get());
}

// ---------------------------------------------------------------------------
// Currency layout

// An ICU number pattern reduced to the shapes of the currency layouts: '$' for
// the symbol, '1' for the number, '-', '(', ')' and single blanks.
UnicodeString CurrencyShape(std::u16string_view pattern) {
  UnicodeString shape;
  bool in_number = false;
  bool quoted = false;
  for (char16_t c : pattern) {
    if (c == u'\'') {
      quoted = !quoted;
      continue;
    }
    if (quoted) continue;
    const bool number_char = (c >= u'0' && c <= u'9') || c == u'#' || c == u'.' || c == u',' || c == u'@';
    if (number_char) {
      if (!in_number) shape.push_back(u'1');
      in_number = true;
      continue;
    }
    in_number = false;
    if (c == 0x00A4) {
      if (shape.empty() || shape.back() != u'$') shape.push_back(u'$');
    } else if (c == u'-' || c == u'(' || c == u')') {
      shape.push_back(c);
    } else if (IsBlank(c)) {
      if (!shape.empty() && shape.back() != u' ') shape.push_back(u' ');
    }
    // Anything else (direction marks and the like) is left out.
  }
  while (!shape.empty() && shape.back() == u' ') shape.pop_back();
  return shape;
}

int FindShape(const char16_t* const* shapes, int count, const UnicodeString& shape) {
  for (int i = 0; i < count; ++i)
    if (shape == shapes[i]) return i;
  return -1;
}

void FillCurrency(TFormatSettings& settings, const icu::Locale& locale) {
  static constexpr const char16_t* kPositive[] = {u"$1", u"1$", u"$ 1", u"1 $"};
  static constexpr const char16_t* kNegative[] = {
      u"($1)", u"-$1",  u"$-1",  u"$1-",  u"(1$)", u"-1$",  u"1-$",   u"1$-",
      u"-1 $", u"-$ 1", u"1 $-", u"$ 1-", u"$ -1", u"1- $", u"($ 1)", u"(1 $)"};
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createCurrencyInstance(locale, status));
  const auto* decimal = dynamic_cast<const icu::DecimalFormat*>(format.get());
  if (U_FAILURE(status) || decimal == nullptr) return;
  settings.CurrencyDecimals = static_cast<std::uint8_t>(std::clamp(decimal->getMaximumFractionDigits(), 0, 18));
  icu::UnicodeString icu_pattern;
  decimal->toPattern(icu_pattern);
  const UnicodeString pattern = FromIcu(icu_pattern);
  const size_t split = pattern.find(u';');
  const UnicodeString positive = CurrencyShape(std::u16string_view(pattern).substr(0, split));
  const int positive_index = FindShape(kPositive, 4, positive);
  settings.CurrencyFormat = static_cast<std::uint8_t>(std::max(positive_index, 0));
  const UnicodeString negative = split == UnicodeString::npos
                                     ? u"-" + UnicodeString(kPositive[settings.CurrencyFormat])
                                     : CurrencyShape(std::u16string_view(pattern).substr(split + 1));
  const int negative_index = FindShape(kNegative, 16, negative);
  settings.NegCurrFormat = static_cast<std::uint8_t>(negative_index >= 0 ? negative_index : 1);
}

// ---------------------------------------------------------------------------

void FillNumbers(TFormatSettings& settings, const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) return;
  const auto first = [&](icu::DecimalFormatSymbols::ENumberFormatSymbol which, WideChar fallback) {
    const icu::UnicodeString& text = symbols.getConstSymbol(which);
    return text.isEmpty() ? fallback : static_cast<WideChar>(text.charAt(0));
  };
  settings.DecimalSeparator = first(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol, u'.');
  settings.ThousandSeparator = first(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol, u',');
  settings.ListSeparator = settings.DecimalSeparator == u',' ? u';' : u',';
  settings.CurrencyString = FromIcu(symbols.getConstSymbol(icu::DecimalFormatSymbols::kCurrencySymbol));
}

void FillNames(TFormatSettings& settings, const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::DateFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) return;
  using Symbols = icu::DateFormatSymbols;
  int32_t count = 0;
  const auto copy_months = [&](std::array<UnicodeString, 12>& into, Symbols::DtWidthType width) {
    const icu::UnicodeString* names = symbols.getMonths(count, Symbols::FORMAT, width);
    for (int32_t i = 0; i < count && i < 12; ++i) into[static_cast<size_t>(i)] = FromIcu(names[i]);
  };
  copy_months(settings.ShortMonthNames, Symbols::ABBREVIATED);
  copy_months(settings.LongMonthNames, Symbols::WIDE);
  // ICU's weekday arrays start at index 1 with Sunday.
  const auto copy_days = [&](std::array<UnicodeString, 7>& into, Symbols::DtWidthType width) {
    const icu::UnicodeString* names = symbols.getWeekdays(count, Symbols::FORMAT, width);
    for (int32_t i = 1; i < count && i <= 7; ++i) into[static_cast<size_t>(i - 1)] = FromIcu(names[i]);
  };
  copy_days(settings.ShortDayNames, Symbols::ABBREVIATED);
  copy_days(settings.LongDayNames, Symbols::WIDE);
  const icu::UnicodeString* am_pm = symbols.getAmPmStrings(count);
  if (count >= 2) {
    settings.TimeAMString = FromIcu(am_pm[0]);
    settings.TimePMString = FromIcu(am_pm[1]);
  }
}

void FillDatePatterns(TFormatSettings& settings, const icu::Locale& locale) {
  const UnicodeString short_date = DatePattern(icu::DateFormat::kShort, locale);
  const UnicodeString long_date = DatePattern(icu::DateFormat::kFull, locale);
  const UnicodeString short_time = TimePattern(icu::DateFormat::kShort, locale);
  const UnicodeString long_time = TimePattern(icu::DateFormat::kMedium, locale);
  if (!short_date.empty()) {
    if (const WideChar sep = FirstSeparator(short_date)) settings.DateSeparator = sep;
    // Short dates keep the full year, as the framework's own short formats do.
    settings.ShortDateFormat = PatternConverter(settings.DateSeparator, u'/', true).Convert(short_date);
  }
  if (!long_date.empty()) settings.LongDateFormat = PatternConverter(0, 0, false).Convert(long_date);
  if (!short_time.empty()) {
    if (const WideChar sep = FirstSeparator(short_time)) settings.TimeSeparator = sep;
    settings.ShortTimeFormat = PatternConverter(settings.TimeSeparator, u':', false).Convert(short_time);
  }
  if (!long_time.empty())
    settings.LongTimeFormat = PatternConverter(settings.TimeSeparator, u':', false).Convert(long_time);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Whether ICU has data for the language of `locale`.
bool HasLocaleData(const icu::Locale& locale) {
  int32_t count = 0;
  const icu::Locale* available = icu::Locale::getAvailableLocales(count);
  const std::string_view language = locale.getLanguage();
  for (int32_t i = 0; i < count; ++i)
    if (language == available[i].getLanguage()) return true;
  return false;
}

TFormatSettings UserFormatSettings() { return TFormatSettings::FromLocale(icu::Locale::getDefault().getName()); }

}  // namespace

TFormatSettings TFormatSettings::Invariant() {
  TFormatSettings s;
  s.CurrencyString = u"\u00A4";
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 0;
  s.ThousandSeparator = u',';
  s.DecimalSeparator = u'.';
  s.CurrencyDecimals = 2;
  s.DateSeparator = u'/';
  s.TimeSeparator = u':';
  s.ListSeparator = u',';
  s.ShortDateFormat = u"MM/dd/yyyy";
  s.LongDateFormat = u"dddd, dd MMMM yyyy";
  s.TimeAMString = u"AM";
  s.TimePMString = u"PM";
  s.ShortTimeFormat = u"HH:mm";
  s.LongTimeFormat = u"HH:mm:ss";
  s.ShortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                       u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  s.LongMonthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                      u"July",    u"August",   u"September", u"October", u"November", u"December"};
  s.ShortDayNames = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  s.LongDayNames = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  s.TwoDigitYearCenturyWindow = 50;
  return s;
}

TFormatSettings TFormatSettings::FromLocale(const std::string& icu_locale_name) {
  // POSIX names carry a character set ("de_DE.UTF-8"), which is not part of a locale.
  std::string id = icu_locale_name;
  if (const size_t dot = id.find('.'); dot != std::string::npos) {
    const size_t at = id.find('@', dot);
    id.erase(dot, at == std::string::npos ? std::string::npos : at - dot);
  }
  const std::string lower = Lower(id);
  if (lower.empty() || lower == "c" || lower == "posix" || lower.starts_with("en_us_posix"))
    return Invariant();
  const icu::Locale locale(id.c_str());
  if (locale.isBogus() || !HasLocaleData(locale)) return Invariant();

  TFormatSettings settings = Invariant();
  FillNumbers(settings, locale);
  FillCurrency(settings, locale);
  FillNames(settings, locale);
  FillDatePatterns(settings, locale);
  return settings;
}

// Filled before the other static objects of the library, so that their
// initialisers may already format with it.
__attribute__((init_priority(1000))) TFormatSettings FormatSettings = UserFormatSettings();

}  // namespace quill
