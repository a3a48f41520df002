#pragma once
// Locale format settings, Format with its argument records, and the formatting of
// floating-point numbers and date-time values.
//
// Float formatting works on the decimal form of a double: its shortest exact
// digits, with binary noise beyond 15 significant digits removed (so 0.285 is
// 0.285, not 0.28499999999999998), then rounded half away from zero.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "quillrt/framework/date_time.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// How numbers, money and dates are written. Name arrays are 0-based: month 1 is
// index 0, and day names start with Sunday.
//
// CurrencyFormat places the symbol ($) around the number (1): 0 "$1", 1 "1$",
// 2 "$ 1", 3 "1 $". NegCurrFormat does the same for negative amounts:
//   0 ($1)   1 -$1    2 $-1    3 $1-    4 (1$)    5 -1$     6 1-$    7 1$-
//   8 -1 $   9 -$ 1  10 1 $-  11 $ 1-  12 $ -1   13 1- $   14 ($ 1) 15 (1 $)
struct QUILLRT_API TFormatSettings {
  UnicodeString CurrencyString;
  std::uint8_t CurrencyFormat = 0;
  std::uint8_t NegCurrFormat = 0;
  WideChar ThousandSeparator = u',';  // 0: no grouping
  WideChar DecimalSeparator = u'.';
  std::uint8_t CurrencyDecimals = 2;
  WideChar DateSeparator = u'/';  // what "/" writes in a date pattern
  WideChar TimeSeparator = u':';  // what ":" writes in a date pattern
  WideChar ListSeparator = u',';
  UnicodeString ShortDateFormat;
  UnicodeString LongDateFormat;
  UnicodeString TimeAMString;
  UnicodeString TimePMString;
  UnicodeString ShortTimeFormat;
  UnicodeString LongTimeFormat;
  std::array<UnicodeString, 12> ShortMonthNames;
  std::array<UnicodeString, 12> LongMonthNames;
  std::array<UnicodeString, 7> ShortDayNames;
  std::array<UnicodeString, 7> LongDayNames;
  std::uint16_t TwoDigitYearCenturyWindow = 50;

  bool operator==(const TFormatSettings&) const = default;

  // English names, '.' decimal, ',' thousands, "MM/dd/yyyy", "HH:mm:ss".
  static TFormatSettings Invariant();
  // Settings of an ICU locale ("de_DE", "fr-CA", "en_US.UTF-8"). "C", "POSIX" and
  // locales ICU has no data for give Invariant().
  static TFormatSettings FromLocale(const std::string& icu_locale_name);
};

// The user's settings, read from the ICU default locale (LANG / LC_ALL) when the
// library loads.
extern QUILLRT_API TFormatSettings FormatSettings;

// One argument of Format. It refers to string arguments without copying them, so
// it is meant to live only inside an argument list.
class TVarRec {
 public:
  enum TVarType { vtInteger, vtCardinal, vtInt64, vtUInt64, vtExtended, vtUnicodeString, vtPointer };

  TVarRec(int value) : type_(vtInteger), int_(value) {}
  TVarRec(unsigned value) : type_(vtCardinal), uint_(value) {}
  TVarRec(long value) : type_(sizeof(long) == 8 ? vtInt64 : vtInteger), int_(value) {}
  TVarRec(unsigned long value) : type_(sizeof(long) == 8 ? vtUInt64 : vtCardinal), uint_(value) {}
  TVarRec(long long value) : type_(vtInt64), int_(value) {}
  TVarRec(unsigned long long value) : type_(vtUInt64), uint_(value) {}
  TVarRec(double value) : type_(vtExtended), float_(value) {}
  TVarRec(char16_t value) : type_(vtUnicodeString), owned_(1, value), owns_(true) {}
  TVarRec(const char16_t* value) : type_(vtUnicodeString), view_(value ? value : u"") {}
  TVarRec(std::u16string_view value) : type_(vtUnicodeString), view_(value) {}
  TVarRec(const UnicodeString& value) : type_(vtUnicodeString), view_(value) {}
  TVarRec(UnicodeString&& value) : type_(vtUnicodeString), owned_(std::move(value)), owns_(true) {}
  TVarRec(const char* utf8) : type_(vtUnicodeString), owned_(Utf8ToUtf16(utf8 ? utf8 : "")), owns_(true) {}
  TVarRec(const std::string& utf8) : type_(vtUnicodeString), owned_(Utf8ToUtf16(utf8)), owns_(true) {}
  TVarRec(const void* pointer) : type_(vtPointer), pointer_(pointer) {}
  TVarRec(std::nullptr_t) : type_(vtPointer) {}

  TVarType VType() const { return type_; }
  bool IsInteger() const { return type_ <= vtUInt64; }
  bool IsSigned() const { return type_ == vtInteger || type_ == vtInt64; }
  std::int64_t AsInt64() const { return int_; }
  std::uint64_t AsUInt64() const { return uint_; }
  double AsDouble() const { return float_; }
  std::u16string_view AsString() const { return owns_ ? std::u16string_view(owned_) : view_; }
  const void* AsPointer() const { return pointer_; }

 private:
  TVarType type_;
  union {
    std::int64_t int_;
    std::uint64_t uint_;
    double float_;
    const void* pointer_ = nullptr;
  };
  std::u16string_view view_;
  UnicodeString owned_;
  bool owns_ = false;
};

// Format(u"%5.4d|%-6s|%.0n", {-300, u"ab", 1234567.0}) == u"-0300|ab    |1,234,567".
//
// Specifiers: "%" [index ":"] ["-"] [width] ["." precision] type, where index,
// width and precision may be "*" (taken from the next integer argument), and type
// is one of d u x e f g n m p s (any case); "%%" writes "%". An index makes the
// following specifiers continue from that argument. Integers: precision is the
// minimum number of digits (the sign comes in front of them); %u and %x show
// negative values in two's complement of the argument's width; %x is upper case.
// Floats (integers are accepted too): %e "-d.ddddE+ddd" with precision significant
// digits (15); %f fixed with precision decimals (2); %g general with precision
// significant digits (15); %n as %f with thousand separators; %m as money with the
// settings' currency rules and CurrencyDecimals. %s takes strings; precision cuts
// them. A wrong argument type, a missing argument or a malformed specifier raises
// EConvertError "Format '<fmt>' invalid or incompatible with argument".
QUILLRT_API UnicodeString Format(const UnicodeString& fmt, std::initializer_list<TVarRec> args);
QUILLRT_API UnicodeString Format(const TFormatSettings& settings, const UnicodeString& fmt,
                                 std::initializer_list<TVarRec> args);
QUILLRT_API UnicodeString Format(const TFormatSettings& settings, const UnicodeString& fmt,
                                 std::span<const TVarRec> args);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// The float conversions behind Format and FloatToStr. `precision` is the number of
// significant digits (1..18); `digits` is the minimum number of exponent digits
// (ffGeneral, ffExponent: 0..4) or the number of decimals (ffFixed, ffNumber,
// ffCurrency: 0..18). The fixed formats fall back to ffGeneral when the integer part
// has more than `precision` digits. NaN and infinities give "NAN", "INF", "-INF".
// ffGeneral switches to scientific ("1.5E20", "1E-5") when the integer part needs
// more than `precision` digits or the value is below 1E-4.
QUILLRT_API UnicodeString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                                      const TFormatSettings& settings = FormatSettings);

// Picture formatting: '0' digit or zero, '#' digit or nothing, '.' decimal point
// (written when a fraction digit is shown, or always when no placeholder follows
// it: "0." gives "3." for 2.5), ',' anywhere switches thousand separators on, "E+00" / "e-0" scientific (at least
// as many exponent digits as zeros; '+' always shows the sign), '...' and "..."
// literals, other characters copied; up to three ';' sections for positive,
// negative (written without a minus) and zero (chosen after rounding) values. An
// empty pattern gives the general format.
QUILLRT_API UnicodeString FormatFloat(const UnicodeString& pattern, double value,
                                      const TFormatSettings& settings = FormatSettings);

// Date-time patterns (letters in any case): yy yyyy, m mm mmm mmmm (month, or
// minutes right after h/hh), d dd ddd dddd, ddddd (short date), dddddd (long date),
// h hh (12-hour when an am/pm specifier follows), n nn, s ss, z zzz, t (short
// time), tt (long time), c (short date, then long time unless it is midnight),
// am/pm a/p (written in the pattern's case), ampm (TimeAMString/TimePMString),
// "/" date separator, ":" time separator, '...' and "..." literals. An empty
// pattern means "c".
QUILLRT_API UnicodeString FormatDateTime(const UnicodeString& pattern, TDateTime value,
                                         const TFormatSettings& settings = FormatSettings);
QUILLRT_API UnicodeString DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings);
QUILLRT_API UnicodeString DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings);
QUILLRT_API UnicodeString TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings);

}  // namespace quill
