#pragma once
// The number forms the tools show: thousands separators, K/M/G abbreviations,
// fixed decimals and percentages, significance values, byte sizes, ordinals,
// zero padding; number tests; and the catalogue words for true and false.
//
// Unless a settings record is passed, the forms use UserDefaultFormatSettings.
#include <cstdint>

#include "quillrt/framework/format.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The user's locale format settings (separators, month names), read from the
// user's default locale when the library loads.
extern QUILLRT_API TFormatSettings UserDefaultFormatSettings;

// Short form of a large number: divided by 1000 while above 1000, then "K", "M",
// "G" (or "Yikes" beyond) with one decimal and thousands separators; 1500 gives
// "1.5K", 1000 stays "1,000". Single precision, as the tools hold such counts.
QUILLRT_API UnicodeString EasiestNRepresentationOfLargeNumber(float x);

// x with `decimals` decimals (none for 0 or fewer), with thousands separators
// when asked, and "%" after it when `percent`.
QUILLRT_API UnicodeString FormattedWithDecimals(double x, std::int32_t decimals, bool thousands, bool percent);

// A significance value as text: values within a ten-thousandth of themselves of
// 0.05, or else of one of 0.1, 0.01 ... 1e-10, are taken as exactly that value
// (this removes binary noise such as 0.05000001); the result has up to 16
// decimals without trailing zeros ("0.05"; "1." for 1).
QUILLRT_API UnicodeString PValueStr(double p);

// The pattern (for Format with n) of an ordinal: "%dst", "%dnd", "%drd" when n
// ends in 1, 2 or 3 (11, 12 and 13 too), else "%dth".
QUILLRT_API UnicodeString OrdinalFormatOf(std::int32_t n);

// A size with its catalogue unit and no blank: up to 1 MiB in bytes, then Kb up
// to 8 MiB, Mb up to 8 GiB, then Gb (whole units, rounded down):
// 1048576 gives "1048576bytes", 1048577 "1024Kb", 8388609 "8Mb".
QUILLRT_API UnicodeString ValueToByteStr(std::int64_t size);

// n in decimal, padded with "0" to `width` characters (after the sign of a
// negative number); a longer number is not cut.
QUILLRT_API UnicodeString WithLeftZeros(std::int32_t width, std::int64_t n);

// True when the text converts to an integer, or when every character is a
// decimal digit (of any script), "%", "," or "."; true for "".
QUILLRT_API bool IsANumber(const UnicodeString& text);
// The text itself when it converts to an integer; else only its "0" to "9".
QUILLRT_API UnicodeString DigitsOnlyOf(const UnicodeString& text);

// x with thousands separators and two decimals; "*" when it cannot be written.
QUILLRT_API UnicodeString RealToDecStr(double x, const TFormatSettings& settings = UserDefaultFormatSettings);
// n with thousands separators (the settings' ThousandSeparator; 0 for none).
// Exact over the whole range of both widths.
QUILLRT_API UnicodeString IntToDecStr(std::int32_t n, const TFormatSettings& settings = UserDefaultFormatSettings);
QUILLRT_API UnicodeString IntToDecStr(std::int64_t n, const TFormatSettings& settings = UserDefaultFormatSettings);

// The catalogue's words for true and false ("_QYTrue", "_QYFalse").
QUILLRT_API UnicodeString BooleanToStr(bool flag);
// True when the text is the catalogue's word for true, ignoring case.
QUILLRT_API bool StrToBoolean(const UnicodeString& text);

}  // namespace quill
