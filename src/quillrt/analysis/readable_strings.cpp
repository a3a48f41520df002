#include "quillrt/analysis/readable_strings.h"

#include <cstddef>
#include <string_view>

#include "quillrt/framework/sysutils.h"
#include "quillrt/process/yield.h"

namespace quill {

UnicodeString HexCharactersStr = u"0123456789ABCDEFabcdef";
UnicodeString HexSignalStr = u"Xx$Hh";
UnicodeString CRLF = u"\r\n";

namespace {

constexpr std::u16string_view kBraceOpen = u"{CHR(";
constexpr std::u16string_view kBraceClose = u")}";

WideChar AsciiUpper(WideChar c) { return c >= u'a' && c <= u'z' ? static_cast<WideChar>(c - 0x20) : c; }

// "{CHR(" at `at`, the letters in any case.
bool BraceOpensAt(const UnicodeString& text, std::size_t at) {
  if (text.size() - at < kBraceOpen.size()) return false;
  for (std::size_t k = 0; k < kBraceOpen.size(); ++k) {
    if (AsciiUpper(text[at + k]) != kBraceOpen[k]) return false;
  }
  return true;
}

bool IsPlainDigit(WideChar c) { return c >= u'0' && c <= u'9'; }

bool InSet(const UnicodeString& set, WideChar c) { return set.find(c) != UnicodeString::npos; }

WideChar LowUnit(int value) { return static_cast<WideChar>(static_cast<unsigned>(value) & 0xFFFFu); }

// Pass 1: {CHR(n)} codes.
UnicodeString ConvertBracedCodes(const UnicodeString& text) {
  UnicodeString out;
  out.reserve(text.size());
  std::size_t close = 0;  // the first ")}" at or after the current code's inside
  bool looked = false;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u'{' || !BraceOpensAt(text, i)) {
      out += text[i++];
      continue;
    }
    MyYieldProcess();
    const std::size_t inner = i + kBraceOpen.size();
    // Codes only move forwards: the ")}" found for one serves the next ones
    // until a code starts past it.
    if (!looked || (close != UnicodeString::npos && close < inner)) {
      close = text.find(kBraceClose, inner);
      looked = true;
    }
    if (close == UnicodeString::npos) break;
    int value = 0;
    if (close > inner && TryStrToInt(BracedNumberStrToDigitalformat(text.substr(inner, close - inner)), value)) {
      out += LowUnit(value);
      i = close + kBraceClose.size();
    } else {
      out += text[i++];
    }
  }
  out.append(text, i, UnicodeString::npos);
  return out;
}

// The extent of the "#" code at `hash` and its number; false when it has none.
bool ReadHashCode(const UnicodeString& text, std::size_t hash, std::size_t& end, int& value) {
  std::size_t i = hash + 1;
  if (i < text.size() && InSet(HexSignalStr, text[i])) {
    while (i < text.size() && InSet(HexSignalStr, text[i])) ++i;
    const std::size_t digits = i;
    while (i < text.size() && InSet(HexCharactersStr, text[i])) ++i;
    if (i == digits || !TryStrToInt(u"$" + text.substr(digits, i - digits), value)) return false;
    if (i < text.size() && text[i] == u';') ++i;
  } else {
    const std::size_t digits = i;
    while (i < text.size() && IsPlainDigit(text[i])) ++i;
    if (i == digits || !TryStrToInt(text.substr(digits, i - digits), value)) return false;
  }
  end = i;
  return true;
}

// Pass 2: "#" codes, up to the first one that does not convert.
UnicodeString ConvertHashCodes(const UnicodeString& text) {
  UnicodeString out;
  out.reserve(text.size());
  std::size_t i = 0;
  for (;;) {
    const std::size_t hash = text.find(u'#', i);
    if (hash == UnicodeString::npos) break;
    MyYieldProcess();
    std::size_t end = 0;
    int value = 0;
    if (!ReadHashCode(text, hash, end, value)) break;
    out.append(text, i, hash - i);
    out += LowUnit(value);
    i = end;
  }
  out.append(text, i, UnicodeString::npos);
  return out;
}

bool IsHexDigit(WideChar c) {
  return IsPlainDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

int HexValue(WideChar c) {
  if (IsPlainDigit(c)) return c - u'0';
  return (AsciiUpper(c) - u'A') + 10;
}

}  // namespace

UnicodeString QYFormattedReadableStringToWorkString(const UnicodeString& text) {
  return ConvertHashCodes(ConvertBracedCodes(text));
}

UnicodeString QYFormattedWorkStringToReadableString(const UnicodeString& text, std::int32_t limit) {
  UnicodeString out;
  out.reserve(text.size());
  for (const WideChar c : text) {
    if (static_cast<std::int32_t>(c) < limit) {
      out += kBraceOpen;
      out += IntToStr(static_cast<int>(c));
      out += kBraceClose;
    } else {
      out += c;
    }
  }
  return out;
}

UnicodeString BracedNumberStrToDigitalformat(const UnicodeString& text) {
  UnicodeString s = UpperCase(text);
  if (s.empty()) return s;
  if (s.front() == u'X') s.front() = u'$';
  if (s.back() == u'H') {
    s.pop_back();
    s.insert(s.begin(), u'$');
  }
  return s;
}

UnicodeString ToHexNumStr(const UnicodeString& text) {
  UnicodeString out;
  out.reserve(text.size() * 3);
  for (const WideChar c : text) {
    out += IntToHex(static_cast<std::uint16_t>(c), 2);
    out += u',';
  }
  return out;
}

UnicodeString FromHexNumStr(const UnicodeString& text) {
  UnicodeString out;
  for (std::size_t i = 0; i + 3 <= text.size(); i += 3) {
    if (IsHexDigit(text[i]) && IsHexDigit(text[i + 1])) {
      out += static_cast<WideChar>(HexValue(text[i]) * 16 + HexValue(text[i + 1]));
    }
  }
  return out;
}

UnicodeString FromNumStr(const UnicodeString& text) {
  UnicodeString out;
  std::size_t start = 0;
  for (std::size_t comma = text.find(u','); comma != UnicodeString::npos; comma = text.find(u',', start)) {
    const UnicodeString item = Trim(text.substr(start, comma - start));
    int value = 0;
    const bool decimal = !item.empty() && item.find_first_not_of(u"0123456789") == UnicodeString::npos;
    if (decimal && TryStrToInt(item, value)) out += LowUnit(value);
    start = comma + 1;
  }
  return out;
}

UnicodeString DoubleAnyAmpersands(const UnicodeString& text) {
  UnicodeString out;
  out.reserve(text.size() + 4);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] != u'&') continue;
    if (i + 1 < text.size() && text[i + 1] == u'&') {
      out += text[++i];  // an escaped pair stays as it is
    } else {
      out += u'&';
    }
  }
  return out;
}

}  // namespace quill
