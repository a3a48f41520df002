// Format, FloatToStrF and FormatFloat. Every float conversion goes through one
// decimal form (Decimal below), so rounding is the same everywhere.
#include "quillrt/framework/format.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "quillrt/framework/exceptions.h"

namespace quill {
namespace {

// ---------------------------------------------------------------------------
// Decimal form of a number

// value = 0.d1d2d3... x 10^exponent, digits without leading or trailing zeros;
// no digits means zero.
struct Decimal {
  bool negative = false;
  int exponent = 0;
  std::string digits;

  bool IsZero() const { return digits.empty(); }
  // The i-th significant digit, '0' past the end or before the start.
  char Digit(int i) const {
    return i >= 0 && i < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(i)] : '0';
  }
};

void StripTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
}

// Keeps at most `count` significant digits, rounding half away from zero.
void RoundSignificant(Decimal& d, int count) {
  if (count < 0) {
    d.digits.clear();
    d.exponent = 0;
    return;
  }
  if (static_cast<int>(d.digits.size()) <= count) return;
  const bool up = d.digits[static_cast<size_t>(count)] >= '5';
  d.digits.resize(static_cast<size_t>(count));
  if (up) {
    while (!d.digits.empty() && d.digits.back() == '9') d.digits.pop_back();
    if (d.digits.empty()) {
      d.digits = "1";
      ++d.exponent;
    } else {
      ++d.digits.back();
    }
  }
  StripTrailingZeros(d);
}

// Keeps at most `decimals` digits after the decimal point.
void RoundDecimals(Decimal& d, int decimals) {
  if (d.IsZero()) return;
  RoundSignificant(d, d.exponent + decimals);
}

Decimal FromUnsigned(std::uint64_t magnitude, bool negative) {
  Decimal d;
  if (magnitude == 0) return d;
  d.negative = negative;
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude).ptr;
  d.digits.assign(buffer, end);
  d.exponent = static_cast<int>(d.digits.size());
  while (d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// The shortest digits that read back as `value`. Digits past the 15th are binary
// noise of the conversion, except where they belong to the integer part.
Decimal FromDouble(double value) {
  Decimal d;
  if (value == 0.0) return d;
  d.negative = std::signbit(value);
  char buffer[64];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific)
          .ptr;
  const char* p = buffer;
  for (; p != end && *p != 'e'; ++p)
    if (*p != '.') d.digits.push_back(*p);
  int exponent10 = 0;
  if (p != end) std::from_chars(p + 1 + (p[1] == '+'), end, exponent10);
  d.exponent = exponent10 + 1;
  StripTrailingZeros(d);
  RoundSignificant(d, std::max(15, d.exponent));
  return d;
}

// ---------------------------------------------------------------------------
// FloatToStrF

void AppendDigits(UnicodeString& out, const Decimal& d, int from, int to) {
  for (int i = from; i < to; ++i) out.push_back(static_cast<char16_t>(d.Digit(i)));
}

void AppendExponent(UnicodeString& out, int exponent, int min_digits, bool always_sign) {
  if (exponent < 0) {
    out.push_back(u'-');
  } else if (always_sign) {
    out.push_back(u'+');
  }
  const auto text = std::to_string(std::abs(exponent));
  for (int i = static_cast<int>(text.size()); i < min_digits; ++i) out.push_back(u'0');
  for (char c : text) out.push_back(static_cast<char16_t>(c));
}

UnicodeString GeneralText(Decimal d, int precision, int exponent_digits, WideChar decimal_sep) {
  RoundSignificant(d, precision);
  if (d.IsZero()) return u"0";
  UnicodeString out;
  if (d.negative) out.push_back(u'-');
  const int count = static_cast<int>(d.digits.size());
  if (d.exponent > precision || d.exponent < -3) {
    AppendDigits(out, d, 0, 1);
    if (count > 1) {
      out.push_back(decimal_sep);
      AppendDigits(out, d, 1, count);
    }
    out.push_back(u'E');
    AppendExponent(out, d.exponent - 1, exponent_digits, false);
    return out;
  }
  if (d.exponent <= 0) {
    out.push_back(u'0');
  } else {
    AppendDigits(out, d, 0, d.exponent);
  }
  if (count > d.exponent) {
    out.push_back(decimal_sep);
    AppendDigits(out, d, d.exponent, count);
  }
  return out;
}

UnicodeString ExponentText(Decimal d, int precision, int exponent_digits, WideChar decimal_sep) {
  RoundSignificant(d, precision);
  UnicodeString out;
  if (d.negative && !d.IsZero()) out.push_back(u'-');
  AppendDigits(out, d, 0, 1);
  if (precision > 1) {
    out.push_back(decimal_sep);
    AppendDigits(out, d, 1, precision);
  }
  out.push_back(u'E');
  AppendExponent(out, d.IsZero() ? 0 : d.exponent - 1, exponent_digits, true);
  return out;
}

// The unsigned fixed-point text of an already rounded value.
UnicodeString MagnitudeText(const Decimal& d, int decimals, WideChar thousand_sep,
                            WideChar decimal_sep) {
  UnicodeString out;
  if (d.exponent <= 0) {
    out.push_back(u'0');
  } else {
    for (int i = 0; i < d.exponent; ++i) {
      const int place = d.exponent - i;  // places left of the decimal point
      out.push_back(static_cast<char16_t>(d.Digit(i)));
      if (thousand_sep != 0 && place > 1 && (place - 1) % 3 == 0) out.push_back(thousand_sep);
    }
  }
  if (decimals > 0) {
    out.push_back(decimal_sep);
    AppendDigits(out, d, d.exponent, d.exponent + decimals);
  }
  return out;
}

UnicodeString CurrencyText(const UnicodeString& amount, bool negative,
                           const TFormatSettings& settings) {
  static constexpr const char16_t* kPositive[] = {u"$1", u"1$", u"$ 1", u"1 $"};
  static constexpr const char16_t* kNegative[] = {
      u"($1)", u"-$1",  u"$-1",  u"$1-",  u"(1$)", u"-1$",  u"1-$",   u"1$-",
      u"-1 $", u"-$ 1", u"1 $-", u"$ 1-", u"$ -1", u"1- $", u"($ 1)", u"(1 $)"};
  const char16_t* layout = negative ? kNegative[settings.NegCurrFormat < 16 ? settings.NegCurrFormat : 0]
                                    : kPositive[settings.CurrencyFormat < 4 ? settings.CurrencyFormat : 0];
  UnicodeString out;
  for (const char16_t* p = layout; *p; ++p) {
    if (*p == u'$') {
      out += settings.CurrencyString;
    } else if (*p == u'1') {
      out += amount;
    } else {
      out.push_back(*p);
    }
  }
  return out;
}

UnicodeString DecimalToText(Decimal d, TFloatFormat format, int precision, int digits,
                            const TFormatSettings& settings) {
  precision = std::clamp(precision, 1, 18);
  switch (format) {
    case ffGeneral:
      return GeneralText(std::move(d), precision, std::clamp(digits, 0, 4), settings.DecimalSeparator);
    case ffExponent:
      return ExponentText(std::move(d), precision, std::clamp(digits, 0, 4), settings.DecimalSeparator);
    case ffFixed:
    case ffNumber:
    case ffCurrency:
      break;
  }
  digits = std::clamp(digits, 0, 18);
  RoundDecimals(d, digits);
  RoundSignificant(d, precision);
  if (d.exponent > precision) return GeneralText(std::move(d), precision, 0, settings.DecimalSeparator);
  const WideChar grouping = format == ffFixed ? WideChar(0) : settings.ThousandSeparator;
  UnicodeString amount = MagnitudeText(d, digits, grouping, settings.DecimalSeparator);
  const bool negative = d.negative && !d.IsZero();
  if (format == ffCurrency) return CurrencyText(amount, negative, settings);
  return negative ? u"-" + amount : amount;
}

UnicodeString SpecialText(double value) {
  if (std::isnan(value)) return u"NAN";
  return value < 0 ? u"-INF" : u"INF";
}

// ---------------------------------------------------------------------------
// Format

class FormatError {};

// Parses and applies one Format string; any fault throws FormatError, which the
// caller turns into the framework's message.
class Formatter {
 public:
  Formatter(const TFormatSettings& settings, const UnicodeString& fmt, std::span<const TVarRec> args)
      : settings_(settings), fmt_(fmt), args_(args) {}

  UnicodeString Run() {
    while (pos_ < fmt_.size()) {
      const char16_t c = fmt_[pos_++];
      if (c != u'%') {
        out_.push_back(c);
        continue;
      }
      if (pos_ >= fmt_.size()) throw FormatError();
      if (fmt_[pos_] == u'%') {
        out_.push_back(u'%');
        ++pos_;
        continue;
      }
      Specifier();
    }
    return std::move(out_);
  }

 private:
  static constexpr int kNone = -1;
  static constexpr int kLargest = 999999;  // larger widths are taken as malformed

  void Specifier() {
    int number = ReadNumber();
    if (number != kNone && Peek() == u':') {
      ++pos_;
      next_arg_ = static_cast<size_t>(number);
      number = ReadNumber();
    }
    bool left = false;
    if (number == kNone && Peek() == u'-') {
      left = true;
      ++pos_;
      number = ReadNumber();
    }
    const int width = number;
    int precision = kNone;
    if (Peek() == u'.') {
      ++pos_;
      precision = ReadNumber();
      if (precision == kNone) precision = 0;
    }
    if (pos_ >= fmt_.size()) throw FormatError();
    const char16_t type = fmt_[pos_++];
    UnicodeString text = Convert(type, precision);
    const auto length = static_cast<int>(text.size());
    if (width > length) {
      const UnicodeString pad(static_cast<size_t>(width - length), u' ');
      text = left ? text + pad : pad + text;
    }
    out_ += text;
  }

  char16_t Peek() const { return pos_ < fmt_.size() ? fmt_[pos_] : u'\0'; }

  // A decimal number or "*" (the next argument, an integer); kNone when absent.
  // A negative "*" value counts as absent.
  int ReadNumber() {
    if (Peek() == u'*') {
      ++pos_;
      const TVarRec& arg = NextArg();
      if (!arg.IsInteger()) throw FormatError();
      const bool negative = arg.IsSigned() && arg.AsInt64() < 0;
      if (negative) return kNone;
      if (arg.AsUInt64() > kLargest) throw FormatError();
      return static_cast<int>(arg.AsUInt64());
    }
    if (Peek() < u'0' || Peek() > u'9') return kNone;
    int value = 0;
    while (Peek() >= u'0' && Peek() <= u'9') {
      value = value * 10 + (fmt_[pos_++] - u'0');
      if (value > kLargest) throw FormatError();
    }
    return value;
  }

  const TVarRec& NextArg() {
    if (next_arg_ >= args_.size()) throw FormatError();
    return args_[next_arg_++];
  }

  UnicodeString Convert(char16_t type, int precision) {
    switch (type) {
      case u'd': case u'D': return IntegerText(NextArg(), precision, false);
      case u'u': case u'U': return IntegerText(NextArg(), precision, true);
      case u'x': case u'X': return HexText(NextArg(), precision);
      case u'e': case u'E': return FloatText(NextArg(), ffExponent, precision, 15);
      case u'f': case u'F': return FloatText(NextArg(), ffFixed, precision, 2);
      case u'g': case u'G': return FloatText(NextArg(), ffGeneral, precision, 15);
      case u'n': case u'N': return FloatText(NextArg(), ffNumber, precision, 2);
      case u'm': case u'M': return FloatText(NextArg(), ffCurrency, precision, settings_.CurrencyDecimals);
      case u's': case u'S': return StringText(NextArg(), precision);
      case u'p': case u'P': return PointerText(NextArg());
      default: throw FormatError();
    }
  }

  // Magnitude of an integer argument, reinterpreted as unsigned of its own width
  // when `as_unsigned`.
  static std::uint64_t Magnitude(const TVarRec& arg, bool as_unsigned, bool& negative) {
    negative = false;
    const std::int64_t value = arg.AsInt64();
    switch (arg.VType()) {
      case TVarRec::vtInteger:
        if (as_unsigned) return static_cast<std::uint32_t>(value);
        break;
      case TVarRec::vtInt64:
        if (as_unsigned) return static_cast<std::uint64_t>(value);
        break;
      default:
        return arg.AsUInt64();
    }
    negative = value < 0;
    return negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  }

  static UnicodeString Digits(std::uint64_t value, int base, int min_digits) {
    char buffer[72];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
    UnicodeString out;
    for (int i = static_cast<int>(end - buffer); i < min_digits; ++i) out.push_back(u'0');
    for (const char* p = buffer; p != end; ++p)
      out.push_back(static_cast<char16_t>(*p >= 'a' ? *p - 'a' + 'A' : *p));
    return out;
  }

  static UnicodeString IntegerText(const TVarRec& arg, int precision, bool as_unsigned) {
    if (!arg.IsInteger()) throw FormatError();
    bool negative;
    const std::uint64_t magnitude = Magnitude(arg, as_unsigned, negative);
    UnicodeString digits = Digits(magnitude, 10, precision);
    return negative ? u"-" + digits : digits;
  }

  static UnicodeString HexText(const TVarRec& arg, int precision) {
    if (!arg.IsInteger()) throw FormatError();
    bool negative;
    return Digits(Magnitude(arg, true, negative), 16, precision);
  }

  UnicodeString FloatText(const TVarRec& arg, TFloatFormat format, int precision, int fallback) {
    if (precision == kNone) precision = fallback;
    Decimal d;
    if (arg.VType() == TVarRec::vtExtended) {
      if (!std::isfinite(arg.AsDouble())) return SpecialText(arg.AsDouble());
      d = FromDouble(arg.AsDouble());
    } else if (arg.IsInteger()) {
      bool negative;
      const std::uint64_t magnitude = Magnitude(arg, false, negative);
      d = FromUnsigned(magnitude, negative);
    } else {
      throw FormatError();
    }
    switch (format) {
      case ffExponent: return DecimalToText(std::move(d), ffExponent, precision, 3, settings_);
      case ffGeneral: return DecimalToText(std::move(d), ffGeneral, precision, 0, settings_);
      default: return DecimalToText(std::move(d), format, 18, precision, settings_);
    }
  }

  static UnicodeString StringText(const TVarRec& arg, int precision) {
    if (arg.VType() != TVarRec::vtUnicodeString) throw FormatError();
    std::u16string_view text = arg.AsString();
    if (precision != kNone && static_cast<size_t>(precision) < text.size()) {
      size_t cut = static_cast<size_t>(precision);
      // Never leave half of a surrogate pair behind.
      if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
      text = text.substr(0, cut);
    }
    return UnicodeString(text);
  }

  static UnicodeString PointerText(const TVarRec& arg) {
    if (arg.VType() != TVarRec::vtPointer) throw FormatError();
    return Digits(reinterpret_cast<std::uintptr_t>(arg.AsPointer()), 16, sizeof(void*) * 2);
  }

  const TFormatSettings& settings_;
  const UnicodeString& fmt_;
  std::span<const TVarRec> args_;
  size_t pos_ = 0;
  size_t next_arg_ = 0;
  UnicodeString out_;
};

// ---------------------------------------------------------------------------
// FormatFloat

// The sections of a picture, split at ';' outside quotes.
std::vector<std::u16string_view> SplitSections(std::u16string_view pattern) {
  std::vector<std::u16string_view> sections;
  size_t start = 0;
  char16_t quote = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

bool IsExponentAt(std::u16string_view s, size_t i) {
  return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

// What a picture section asks for.
struct Picture {
  int digit_count = 0;                    // '0' and '#' placeholders (not exponent zeros)
  int decimal_index = -1;                 // placeholders before the decimal point
  int first_zero = INT_MAX;               // index of the first '0' placeholder
  int last_zero = 0;                      // one past the index of the last '0'
  bool thousands = false;
  bool scientific = false;

  explicit Picture(std::u16string_view section) {
    for (size_t i = 0; i < section.size(); ++i) {
      const char16_t c = section[i];
      switch (c) {
        case u'#':
          ++digit_count;
          break;
        case u'0':
          first_zero = std::min(first_zero, digit_count);
          last_zero = ++digit_count;
          break;
        case u'.':
          if (decimal_index < 0) decimal_index = digit_count;
          break;
        case u',':
          thousands = true;
          break;
        case u'\'':
        case u'"':
          i = std::min(section.find(c, i + 1), section.size());
          break;
        case u'E':
        case u'e':
          if (IsExponentAt(section, i)) {
            scientific = true;
            for (i += 2; i < section.size() && section[i] == u'0'; ++i) {
            }
            --i;
          }
          break;
        default:
          break;
      }
    }
    if (decimal_index < 0) decimal_index = digit_count;
  }

  int IntegerPlaces() const { return decimal_index; }
  int FractionPlaces() const { return digit_count - decimal_index; }
};

// Writes `value` (already rounded for `picture`) through one section.
class PictureWriter {
 public:
  PictureWriter(std::u16string_view section, const Picture& picture, const Decimal& value,
                const TFormatSettings& settings)
      : section_(section), picture_(picture), value_(value), settings_(settings) {
    const int integer_places = picture_.IntegerPlaces();
    if (picture_.scientific) {
      shown_exponent_ = value_.IsZero() ? 0 : value_.exponent - integer_places;
      integer_digits_ = integer_places;
      // Digits of the mantissa start at the first placeholder.
      first_digit_index_ = 0;
    } else {
      integer_digits_ = std::max(value_.exponent, 0);
      first_digit_index_ = integer_digits_ - integer_places;  // < 0: leading placeholders
    }
    const int significant_fraction =
        std::max(0, static_cast<int>(value_.digits.size()) - (value_.exponent - shown_exponent_));
    any_fraction_ = picture_.last_zero > integer_places || significant_fraction > 0;
  }

  UnicodeString Write() {
    const int fraction_places = picture_.FractionPlaces();
    bool exponent_done = false;
    for (size_t i = 0; i < section_.size(); ++i) {
      const char16_t c = section_[i];
      switch (c) {
        case u'#':
        case u'0':
          Placeholder(c == u'0');
          break;
        case u'.':
          if (!decimal_done_) {
            LeadingDigits();
            decimal_done_ = true;
            if (any_fraction_ || fraction_places == 0) out_.push_back(settings_.DecimalSeparator);
          }
          break;
        case u',':
          break;
        case u'\'':
        case u'"': {
          const size_t end = std::min(section_.find(c, i + 1), section_.size());
          out_.append(section_.substr(i + 1, end - i - 1));
          i = end;
          break;
        }
        case u'E':
        case u'e':
          if (IsExponentAt(section_, i) && !exponent_done) {
            exponent_done = true;
            const bool always_sign = section_[i + 1] == u'+';
            int zeros = 0;
            for (i += 2; i < section_.size() && section_[i] == u'0'; ++i) ++zeros;
            --i;
            out_.push_back(c);
            AppendExponent(out_, shown_exponent_, std::min(zeros, 4), always_sign);
          } else {
            out_.push_back(c);
          }
          break;
        default:
          out_.push_back(c);
          break;
      }
    }
    return std::move(out_);
  }

 private:
  // Index into value_.digits of the digit shown at integer place `place` (1 = units).
  int IntegerDigitIndex(int place) const {
    return picture_.scientific ? picture_.IntegerPlaces() - place : integer_digits_ - place;
  }

  void PutIntegerDigit(int place, char digit) {
    out_.push_back(static_cast<char16_t>(digit));
    printed_integer_ = true;
    if (picture_.thousands && !picture_.scientific && settings_.ThousandSeparator != 0 &&
        place > 1 && (place - 1) % 3 == 0)
      out_.push_back(settings_.ThousandSeparator);
  }

  // Integer digits of the value that have no placeholder of their own go in front
  // of the first one (or of the decimal point).
  void LeadingDigits() {
    if (leading_done_) return;
    leading_done_ = true;
    for (int k = 0; k < first_digit_index_; ++k) {
      const int place = integer_digits_ - k;
      PutIntegerDigit(place, value_.Digit(k));
    }
  }

  void Placeholder(bool zero) {
    const int index = placeholder_++;
    const int integer_places = picture_.IntegerPlaces();
    if (index < integer_places) {
      LeadingDigits();
      const int place = integer_places - index;
      const bool forced = zero || index >= picture_.first_zero;
      if (picture_.scientific) {
        const bool last = place == 1;
        if (!value_.IsZero() || forced || (last && !printed_integer_))
          PutIntegerDigit(place, value_.Digit(IntegerDigitIndex(place)));
      } else if (place <= integer_digits_ || forced) {
        PutIntegerDigit(place, value_.Digit(IntegerDigitIndex(place)));
      }
      return;
    }
    // A fraction place. (Placeholders after the decimal point with no '.' cannot
    // happen: without one every placeholder is an integer place.)
    LeadingDigits();
    const int fraction_place = index - integer_places + 1;
    const int digit_index =
        (picture_.scientific ? integer_places : value_.exponent) + fraction_place - 1;
    const bool significant = digit_index < static_cast<int>(value_.digits.size());
    if (zero || index < picture_.last_zero || significant)
      out_.push_back(static_cast<char16_t>(value_.Digit(digit_index)));
  }

  std::u16string_view section_;
  const Picture& picture_;
  const Decimal& value_;
  const TFormatSettings& settings_;
  UnicodeString out_;
  int shown_exponent_ = 0;
  int integer_digits_ = 0;
  int first_digit_index_ = 0;
  int placeholder_ = 0;
  bool any_fraction_ = false;
  bool leading_done_ = false;
  bool decimal_done_ = false;
  bool printed_integer_ = false;
};

// Rounds `value` the way `picture` shows it.
Decimal RoundFor(const Picture& picture, Decimal value) {
  if (picture.scientific) {
    RoundSignificant(value, std::max(picture.digit_count, 1));
  } else {
    RoundDecimals(value, picture.FractionPlaces());
  }
  return value;
}

}  // namespace

// ---------------------------------------------------------------------------

UnicodeString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                          const TFormatSettings& settings) {
  if (!std::isfinite(value)) return SpecialText(value);
  return DecimalToText(FromDouble(value), format, precision, digits, settings);
}

UnicodeString Format(const TFormatSettings& settings, const UnicodeString& fmt,
                     std::span<const TVarRec> args) {
  try {
    return Formatter(settings, fmt, args).Run();
  } catch (const FormatError&) {
    throw EConvertError(u"Format '" + fmt + u"' invalid or incompatible with argument");
  }
}

UnicodeString Format(const TFormatSettings& settings, const UnicodeString& fmt,
                     std::initializer_list<TVarRec> args) {
  return Format(settings, fmt, std::span<const TVarRec>(args.begin(), args.size()));
}

UnicodeString Format(const UnicodeString& fmt, std::initializer_list<TVarRec> args) {
  return Format(FormatSettings, fmt, args);
}

UnicodeString FormatFloat(const UnicodeString& pattern, double value,
                          const TFormatSettings& settings) {
  if (!std::isfinite(value)) return SpecialText(value);
  if (pattern.empty()) return FloatToStrF(value, ffGeneral, 15, 0, settings);
  const auto sections = SplitSections(pattern);
  const Decimal exact = FromDouble(value);

  size_t chosen = exact.negative && sections.size() >= 2 && !sections[1].empty() ? 1 : 0;
  Picture picture(sections[chosen]);
  Decimal shown = RoundFor(picture, exact);
  if (!picture.scientific && shown.exponent > 18) return FloatToStrF(value, ffGeneral, 15, 0, settings);
  if (shown.IsZero()) {
    // A value that rounds to zero takes the zero section, or else the first one,
    // and is never shown as negative.
    chosen = sections.size() >= 3 && !sections[2].empty() ? 2 : 0;
    picture = Picture(sections[chosen]);
    shown = Decimal{};
  }
  // The negative section carries its own marks; the others get a leading minus.
  const bool minus = shown.negative && !shown.IsZero() && chosen == 0;
  shown.negative = false;
  UnicodeString text = PictureWriter(sections[chosen], picture, shown, settings).Write();
  return minus ? u"-" + text : text;
}

}  // namespace quill
