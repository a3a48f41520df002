#include "quillrt/framework/sysutils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <system_error>

#include "quillrt/framework/exceptions.h"

namespace quill {
namespace {

bool IsBlank(WideChar c) { return c <= u' '; }
WideChar UpperAscii(WideChar c) { return c >= u'a' && c <= u'z' ? static_cast<WideChar>(c - 32) : c; }
WideChar LowerAscii(WideChar c) { return c >= u'A' && c <= u'Z' ? static_cast<WideChar>(c + 32) : c; }

UnicodeString ToAscii(std::string_view text) { return UnicodeString(text.begin(), text.end()); }

int DigitValue(WideChar c, int base) {
  int value = 36;
  if (c >= u'0' && c <= u'9') {
    value = c - u'0';
  } else if (c >= u'a' && c <= u'z') {
    value = c - u'a' + 10;
  } else if (c >= u'A' && c <= u'Z') {
    value = c - u'A' + 10;
  }
  return value < base ? value : -1;
}

// Parses an integer whose type has `bits` bits (32 or 64). See TryStrToInt.
bool ParseInteger(const UnicodeString& s, int bits, std::int64_t& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  int base = 10;
  if (i < s.size() && s[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == s.size()) return false;
  std::uint64_t magnitude = 0;
  const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
  for (; i < s.size(); ++i) {
    const int digit = DigitValue(s[i], base);
    if (digit < 0) return false;
    if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base))
      return false;
    magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  const std::uint64_t mask = bits == 64 ? limit : (std::uint64_t{1} << bits) - 1;
  if (base == 16) {
    // The full unsigned width, read as two's complement.
    if (magnitude > mask) return false;
    std::uint64_t pattern = (negative ? 0 - magnitude : magnitude) & mask;
    if (bits < 64 && (pattern >> (bits - 1)) != 0) pattern |= ~mask;  // sign-extend
    value = static_cast<std::int64_t>(pattern);
    return true;
  }
  const std::uint64_t largest = mask >> 1;  // the type's maximum
  if (magnitude > largest + (negative ? 1 : 0)) return false;
  value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

[[noreturn]] void RaiseInvalidInteger(const UnicodeString& s) {
  throw EConvertError(u"'" + s + u"' is not a valid integer value");
}

size_t FindAsciiNoCase(const UnicodeString& s, const UnicodeString& sub, size_t from) {
  if (sub.size() > s.size()) return UnicodeString::npos;
  for (size_t i = from; i + sub.size() <= s.size(); ++i) {
    size_t k = 0;
    while (k < sub.size() && UpperAscii(s[i + k]) == UpperAscii(sub[k])) ++k;
    if (k == sub.size()) return i;
  }
  return UnicodeString::npos;
}

std::string Native(const UnicodeString& name) { return Utf16ToUtf8(name); }

bool StatOf(const UnicodeString& name, struct stat& info) {
  return !name.empty() && ::stat(Native(name).c_str(), &info) == 0;
}

// Position of the extension's dot in `name`, or npos.
size_t ExtensionDot(const UnicodeString& name) {
  const size_t p = name.find_last_of(u"./");
  return p != UnicodeString::npos && name[p] == u'.' ? p : UnicodeString::npos;
}

}  // namespace

// ---------------------------------------------------------------------------

UnicodeString Trim(const UnicodeString& s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && IsBlank(s[first])) ++first;
  while (last > first && IsBlank(s[last - 1])) --last;
  return s.substr(first, last - first);
}

UnicodeString TrimLeft(const UnicodeString& s) {
  size_t first = 0;
  while (first < s.size() && IsBlank(s[first])) ++first;
  return s.substr(first);
}

UnicodeString TrimRight(const UnicodeString& s) {
  size_t last = s.size();
  while (last > 0 && IsBlank(s[last - 1])) --last;
  return s.substr(0, last);
}

UnicodeString UpperCase(const UnicodeString& s) {
  UnicodeString out(s);
  for (WideChar& c : out) c = UpperAscii(c);
  return out;
}

UnicodeString LowerCase(const UnicodeString& s) {
  UnicodeString out(s);
  for (WideChar& c : out) c = LowerAscii(c);
  return out;
}

int CompareText(const UnicodeString& s1, const UnicodeString& s2) {
  const size_t common = std::min(s1.size(), s2.size());
  for (size_t i = 0; i < common; ++i) {
    const int difference = static_cast<int>(UpperAscii(s1[i])) - static_cast<int>(UpperAscii(s2[i]));
    if (difference != 0) return difference;
  }
  return s1.size() < s2.size() ? -1 : s1.size() > s2.size() ? 1 : 0;
}

bool SameText(const UnicodeString& s1, const UnicodeString& s2) {
  return s1.size() == s2.size() && CompareText(s1, s2) == 0;
}

// ---------------------------------------------------------------------------

UnicodeString IntToStr(std::int64_t value) { return ToAscii(std::to_string(value)); }
UnicodeString UIntToStr(std::uint64_t value) { return ToAscii(std::to_string(value)); }

UnicodeString UIntToHex(std::uint64_t value, int digits) {
  char buffer[20];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, 16).ptr;
  UnicodeString out;
  for (int i = static_cast<int>(end - buffer); i < digits; ++i) out.push_back(u'0');
  for (const char* p = buffer; p != end; ++p) out.push_back(UpperAscii(static_cast<WideChar>(*p)));
  return out;
}

bool TryStrToInt(const UnicodeString& s, int& value) {
  std::int64_t wide;
  if (!ParseInteger(s, 32, wide)) return false;
  value = static_cast<int>(wide);
  return true;
}

bool TryStrToInt64(const UnicodeString& s, std::int64_t& value) { return ParseInteger(s, 64, value); }

int StrToInt(const UnicodeString& s) {
  int value;
  if (!TryStrToInt(s, value)) RaiseInvalidInteger(s);
  return value;
}

std::int64_t StrToInt64(const UnicodeString& s) {
  std::int64_t value;
  if (!TryStrToInt64(s, value)) RaiseInvalidInteger(s);
  return value;
}

int StrToIntDef(const UnicodeString& s, int default_value) {
  int value;
  return TryStrToInt(s, value) ? value : default_value;
}

std::int64_t StrToInt64Def(const UnicodeString& s, std::int64_t default_value) {
  std::int64_t value;
  return TryStrToInt64(s, value) ? value : default_value;
}

// ---------------------------------------------------------------------------

bool TryStrToFloat(const UnicodeString& s, double& value, const TFormatSettings& settings) {
  const UnicodeString text = Trim(s);
  // Rewrite the number in the form from_chars reads, checking its shape on the way.
  std::string ascii;
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (negative) ascii.push_back('-');
  int mantissa_digits = 0;
  int integer_digits = 0;
  int first_nonzero = -1;  // index among the mantissa digits
  bool seen_point = false;
  for (; i < text.size(); ++i) {
    const WideChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      if (first_nonzero < 0 && c != u'0') first_nonzero = mantissa_digits;
      ++mantissa_digits;
      if (!seen_point) ++integer_digits;
      ascii.push_back(static_cast<char>(c));
    } else if (c == settings.DecimalSeparator && !seen_point) {
      seen_point = true;
      ascii.push_back('.');
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) return false;
  long long exponent = 0;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    ascii.push_back('e');
    ++i;
    bool exponent_negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) exponent_negative = text[i++] == u'-';
    if (exponent_negative) ascii.push_back('-');
    const size_t digits_start = i;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
      ascii.push_back(static_cast<char>(text[i]));
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - u'0');
    }
    if (i == digits_start) return false;
    if (exponent_negative) exponent = -exponent;
  }
  if (i != text.size()) return false;

  double parsed = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large fails; too small is zero.
    const long long magnitude = exponent + integer_digits - first_nonzero - 1;
    if (first_nonzero >= 0 && magnitude > 0) return false;
    parsed = negative ? -0.0 : 0.0;
  } else if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) {
    return false;
  }
  value = parsed;
  return true;
}

double StrToFloat(const UnicodeString& s, const TFormatSettings& settings) {
  double value;
  if (!TryStrToFloat(s, value, settings))
    throw EConvertError(u"'" + s + u"' is not a valid floating point value");
  return value;
}

double StrToFloatDef(const UnicodeString& s, double default_value, const TFormatSettings& settings) {
  double value;
  return TryStrToFloat(s, value, settings) ? value : default_value;
}

UnicodeString FloatToStr(double value, const TFormatSettings& settings) {
  return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

// ---------------------------------------------------------------------------

int Pos(const UnicodeString& sub, const UnicodeString& s) {
  if (sub.empty()) return 0;
  const size_t p = s.find(sub);
  return p == UnicodeString::npos ? 0 : static_cast<int>(p) + 1;
}

UnicodeString Copy(const UnicodeString& s, int index, int count) {
  const auto length = static_cast<std::int64_t>(s.size());
  const std::int64_t start = index < 1 ? 0 : static_cast<std::int64_t>(index) - 1;
  if (start >= length || count <= 0) return {};
  const std::int64_t taken = std::min<std::int64_t>(count, length - start);
  return s.substr(static_cast<size_t>(start), static_cast<size_t>(taken));
}

UnicodeString StringReplace(const UnicodeString& s, const UnicodeString& old_pattern,
                            const UnicodeString& new_pattern, TReplaceFlags flags) {
  if (old_pattern.empty()) return s;
  const bool ignore_case = flags.Contains(rfIgnoreCase);
  const auto find = [&](size_t from) {
    return ignore_case ? FindAsciiNoCase(s, old_pattern, from) : s.find(old_pattern, from);
  };
  UnicodeString out;
  size_t from = 0;
  for (size_t hit = find(0); hit != UnicodeString::npos; hit = find(from)) {
    out.append(s, from, hit - from);
    out += new_pattern;
    from = hit + old_pattern.size();
    if (!flags.Contains(rfReplaceAll)) break;
  }
  out.append(s, from, UnicodeString::npos);
  return out;
}

UnicodeString QuotedStr(const UnicodeString& s) {
  UnicodeString out(u"'");
  for (WideChar c : s) {
    out.push_back(c);
    if (c == u'\'') out.push_back(c);
  }
  out.push_back(u'\'');
  return out;
}

// ---------------------------------------------------------------------------

UnicodeString ExtractFilePath(const UnicodeString& file_name) {
  const size_t p = file_name.rfind(PathDelim);
  return p == UnicodeString::npos ? UnicodeString() : file_name.substr(0, p + 1);
}

UnicodeString ExtractFileName(const UnicodeString& file_name) {
  const size_t p = file_name.rfind(PathDelim);
  return p == UnicodeString::npos ? file_name : file_name.substr(p + 1);
}

UnicodeString ExtractFileExt(const UnicodeString& file_name) {
  const size_t dot = ExtensionDot(file_name);
  return dot == UnicodeString::npos ? UnicodeString() : file_name.substr(dot);
}

UnicodeString ChangeFileExt(const UnicodeString& file_name, const UnicodeString& extension) {
  const size_t dot = ExtensionDot(file_name);
  return (dot == UnicodeString::npos ? file_name : file_name.substr(0, dot)) + extension;
}

UnicodeString IncludeTrailingPathDelimiter(const UnicodeString& path) {
  // An empty path stays empty: making it "/" would turn "the current folder" into
  // the root.
  if (path.empty() || path.back() == PathDelim) return path;
  return path + PathDelim;
}

UnicodeString ExcludeTrailingPathDelimiter(const UnicodeString& path) {
  if (path.size() > 1 && path.back() == PathDelim) return path.substr(0, path.size() - 1);
  return path;
}

UnicodeString ExpandFileName(const UnicodeString& file_name) {
  if (file_name.empty()) return {};
  std::filesystem::path path(Native(file_name));
  if (path.is_relative()) {
    std::error_code error;
    const auto current = std::filesystem::current_path(error);
    if (error) return file_name;
    path = current / path;
  }
  return Utf8ToUtf16(path.lexically_normal().string());
}

// ---------------------------------------------------------------------------

bool FileExists(const UnicodeString& file_name) {
  struct stat info {};
  return StatOf(file_name, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const UnicodeString& directory) {
  struct stat info {};
  return StatOf(directory, info) && S_ISDIR(info.st_mode);
}

bool DeleteFile(const UnicodeString& file_name) {
  return !file_name.empty() && ::unlink(Native(file_name).c_str()) == 0;
}

bool RenameFile(const UnicodeString& old_name, const UnicodeString& new_name) {
  if (old_name.empty() || new_name.empty()) return false;
  const std::string from = Native(old_name);
  const std::string to = Native(new_name);
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the atomic no-replace rename: check, then rename.
  struct stat info {};
  if (::lstat(to.c_str(), &info) == 0) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool ForceDirectories(const UnicodeString& directory) {
  if (directory.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(Native(directory)), error);
  return DirectoryExists(directory);
}

UnicodeString GetCurrentDir() {
  std::error_code error;
  const auto current = std::filesystem::current_path(error);
  return error ? UnicodeString() : Utf8ToUtf16(current.string());
}

}  // namespace quill
