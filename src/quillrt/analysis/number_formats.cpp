#include "quillrt/analysis/number_formats.h"

#include <array>
#include <cmath>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/locale_text.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/text/char_classes.h"

namespace quill {

// The framework reads the user's settings into FormatSettings before any
// ordinary static object is made (it has an early initialisation priority), so
// the copy is taken from there.
TFormatSettings UserDefaultFormatSettings = FormatSettings;

namespace {

// Digits of |n| grouped by threes with `separator` (none when it is 0).
UnicodeString GroupedDigits(std::uint64_t magnitude, bool negative, WideChar separator) {
  const UnicodeString digits = UIntToStr(magnitude);
  UnicodeString out;
  out.reserve(digits.size() + digits.size() / 3 + 1);
  if (negative) out += u'-';
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (separator != 0 && i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

std::uint64_t Magnitude(std::int64_t n) {
  return n < 0 ? ~static_cast<std::uint64_t>(n) + 1 : static_cast<std::uint64_t>(n);
}

// Binary noise removed from a significance value (see PValueStr).
double SnappedPValue(double p) {
  const double tolerance = std::fabs(p) / 10000;
  if (std::fabs(p - 0.05) < tolerance) return 0.05;
  static constexpr std::array<double, 10> kRoundValues = {1e-1, 1e-2, 1e-3, 1e-4, 1e-5,
                                                          1e-6, 1e-7, 1e-8, 1e-9, 1e-10};
  for (const double value : kRoundValues) {
    if (std::fabs(p - value) < tolerance) return value;
  }
  return p;
}

}  // namespace

UnicodeString EasiestNRepresentationOfLargeNumber(float x) {
  static constexpr std::array<const char16_t*, 4> kPatterns = {u"%0.n", u"%.1nK", u"%.1nM", u"%.1nG"};
  std::size_t divisions = 0;
  while (x > 1000) {
    x /= 1000;
    ++divisions;
  }
  const UnicodeString pattern = divisions < kPatterns.size() ? UnicodeString(kPatterns[divisions]) : u"%.1nYikes";
  return Format(UserDefaultFormatSettings, pattern, {static_cast<double>(x)});
}

UnicodeString FormattedWithDecimals(double x, std::int32_t decimals, bool thousands, bool percent) {
  UnicodeString pattern = thousands ? u"###0," : u"###0";
  // A picture ending in "." writes the decimal point with no digits after it.
  if (decimals > 0) {
    pattern += u'.';
    pattern.append(static_cast<std::size_t>(decimals), u'0');
  }
  UnicodeString result = FormatFloat(pattern, x, UserDefaultFormatSettings);
  if (percent) result += u'%';
  return result;
}

UnicodeString PValueStr(double p) {
  UnicodeString text = FloatToStrF(SnappedPValue(p), ffFixed, 17, 16, UserDefaultFormatSettings);
  // Only a fixed form loses its trailing zeros: an exponent or NAN/INF stays whole.
  const bool fixed = text.find(UserDefaultFormatSettings.DecimalSeparator) != UnicodeString::npos &&
                     text.find(u'E') == UnicodeString::npos;
  if (fixed) {
    while (!text.empty() && text.back() == u'0') text.pop_back();
  }
  return text;
}

UnicodeString OrdinalFormatOf(std::int32_t n) {
  switch (n % 10) {
    case 1: return u"%dst";
    case 2: return u"%dnd";
    case 3: return u"%drd";
    default: return u"%dth";
  }
}

UnicodeString ValueToByteStr(std::int64_t size) {
  constexpr std::int64_t kKilo = 1024;
  constexpr std::int64_t kMega = kKilo * 1024;
  constexpr std::int64_t kGiga = kMega * 1024;
  if (size > 8 * kGiga) return IntToStr(size / kGiga) + CatalogueText("_QYGigabyte");
  if (size > 8 * kMega) return IntToStr(size / kMega) + CatalogueText("_QYMegabyte");
  if (size <= kMega) return IntToStr(size) + CatalogueText("_QYByte");
  return IntToStr(size / kKilo) + CatalogueText("_QYKilobyte");
}

UnicodeString WithLeftZeros(std::int32_t width, std::int64_t n) {
  UnicodeString digits = UIntToStr(Magnitude(n));
  const std::size_t wanted = width > 0 ? static_cast<std::size_t>(width) - (n < 0 ? 1 : 0) : 0;
  if (digits.size() < wanted) digits.insert(0, wanted - digits.size(), u'0');
  return n < 0 ? u"-" + digits : digits;
}

bool IsANumber(const UnicodeString& text) {
  int value = 0;
  if (TryStrToInt(text, value)) return true;
  for (const WideChar c : text) {
    if (!IsADigitChar(c) && c != u'%' && c != u',' && c != u'.') return false;
  }
  return true;
}

UnicodeString DigitsOnlyOf(const UnicodeString& text) {
  int value = 0;
  if (TryStrToInt(text, value)) return text;
  UnicodeString digits;
  for (const WideChar c : text) {
    if (c >= u'0' && c <= u'9') digits += c;
  }
  return digits;
}

UnicodeString RealToDecStr(double x, const TFormatSettings& settings) {
  try {
    return FormatFloat(u"####,.00", x, settings);
  } catch (const Exception&) {
    return u"*";
  }
}

UnicodeString IntToDecStr(std::int32_t n, const TFormatSettings& settings) {
  return IntToDecStr(static_cast<std::int64_t>(n), settings);
}

UnicodeString IntToDecStr(std::int64_t n, const TFormatSettings& settings) {
  return GroupedDigits(Magnitude(n), n < 0, settings.ThousandSeparator);
}

UnicodeString BooleanToStr(bool flag) { return CatalogueText(flag ? "_QYTrue" : "_QYFalse"); }

bool StrToBoolean(const UnicodeString& text) { return AnsiSameText(text, CatalogueText("_QYTrue")); }

}  // namespace quill
