#pragma once
// String, number and file-name helpers with the framework's semantics: 1-based
// positions, ASCII-only case folding, integers with "$"/"0x" hexadecimal, and
// file names with '/' as the path delimiter.
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

inline constexpr WideChar PathDelim = u'/';

// ---------------------------------------------------------------------------
// Trimming and case (characters up to U+0020 count as blanks; only a-z / A-Z fold)

QUILLRT_API UnicodeString Trim(const UnicodeString& s);
QUILLRT_API UnicodeString TrimLeft(const UnicodeString& s);
QUILLRT_API UnicodeString TrimRight(const UnicodeString& s);
QUILLRT_API UnicodeString UpperCase(const UnicodeString& s);
QUILLRT_API UnicodeString LowerCase(const UnicodeString& s);
// < 0, 0, > 0 as s1 sorts before, with or after s2, ignoring ASCII case.
QUILLRT_API int CompareText(const UnicodeString& s1, const UnicodeString& s2);
QUILLRT_API bool SameText(const UnicodeString& s1, const UnicodeString& s2);

// ---------------------------------------------------------------------------
// Integers

QUILLRT_API UnicodeString IntToStr(std::int64_t value);
QUILLRT_API UnicodeString UIntToStr(std::uint64_t value);
inline UnicodeString IntToStr(int value) { return IntToStr(static_cast<std::int64_t>(value)); }
inline UnicodeString IntToStr(long long value) { return IntToStr(static_cast<std::int64_t>(value)); }
inline UnicodeString IntToStr(unsigned value) { return UIntToStr(value); }
inline UnicodeString IntToStr(unsigned long value) { return UIntToStr(value); }
inline UnicodeString IntToStr(unsigned long long value) { return UIntToStr(value); }

// Upper-case hexadecimal with at least `digits` digits. A negative value shows its
// two's complement in the width of its type (IntToHex(-1, 2) == "FFFFFFFF").
QUILLRT_API UnicodeString UIntToHex(std::uint64_t value, int digits);
template <std::integral T>
UnicodeString IntToHex(T value, int digits = static_cast<int>(sizeof(T) * 2)) {
  return UIntToHex(static_cast<std::make_unsigned_t<T>>(value), digits);
}

// Text to integer: leading spaces, an optional sign, then decimal digits or
// hexadecimal digits after "$", "0x" or "0X"; nothing may follow. A decimal value
// must fit the type. A hexadecimal one may use the type's full unsigned width and is
// taken as two's complement ("$FFFFFFFF" is -1), as stored colour values rely on.
QUILLRT_API bool TryStrToInt(const UnicodeString& s, int& value);
QUILLRT_API bool TryStrToInt64(const UnicodeString& s, std::int64_t& value);
// Raise EConvertError "'<s>' is not a valid integer value".
QUILLRT_API int StrToInt(const UnicodeString& s);
QUILLRT_API std::int64_t StrToInt64(const UnicodeString& s);
QUILLRT_API int StrToIntDef(const UnicodeString& s, int default_value);
QUILLRT_API std::int64_t StrToInt64Def(const UnicodeString& s, std::int64_t default_value);

// ---------------------------------------------------------------------------
// Floats

// Blanks around the number, an optional sign, digits with the settings' decimal
// separator, an optional exponent ("1e5", "2.5E-3"). No thousand separators. Values
// beyond the double range fail; values too small for it become zero.
QUILLRT_API bool TryStrToFloat(const UnicodeString& s, double& value,
                               const TFormatSettings& settings = FormatSettings);
// Raises EConvertError "'<s>' is not a valid floating point value".
QUILLRT_API double StrToFloat(const UnicodeString& s, const TFormatSettings& settings = FormatSettings);
QUILLRT_API double StrToFloatDef(const UnicodeString& s, double default_value,
                                 const TFormatSettings& settings = FormatSettings);
// General format with up to 15 significant digits ("0.1", "1234.5", "1E20").
QUILLRT_API UnicodeString FloatToStr(double value, const TFormatSettings& settings = FormatSettings);

// ---------------------------------------------------------------------------
// Searching and editing

// 1-based position of the first `sub` in `s`; 0 when absent or when `sub` is empty.
QUILLRT_API int Pos(const UnicodeString& sub, const UnicodeString& s);
// `count` characters from 1-based `index`. An index below 1 counts as 1, one past
// the end gives ""; a negative count gives "".
QUILLRT_API UnicodeString Copy(const UnicodeString& s, int index, int count);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
// A set of TReplaceFlag: {rfReplaceAll, rfIgnoreCase}, {} or a single flag.
class TReplaceFlags {
 public:
  TReplaceFlags() = default;
  TReplaceFlags(TReplaceFlag flag) : bits_(flag) {}
  TReplaceFlags(std::initializer_list<TReplaceFlag> flags) {
    for (TReplaceFlag flag : flags) bits_ |= flag;
  }
  bool Contains(TReplaceFlag flag) const { return (bits_ & flag) != 0; }

 private:
  unsigned bits_ = 0;
};

// Replaces the first (or every, with rfReplaceAll) occurrence of `old_pattern`;
// rfIgnoreCase matches ASCII letters in either case. An empty pattern changes nothing.
QUILLRT_API UnicodeString StringReplace(const UnicodeString& s, const UnicodeString& old_pattern,
                                        const UnicodeString& new_pattern, TReplaceFlags flags = {});
// 'it''s' for it's.
QUILLRT_API UnicodeString QuotedStr(const UnicodeString& s);

// ---------------------------------------------------------------------------
// File names

// "dir/sub/" of "dir/sub/name.ext" (with the delimiter); "" without one.
QUILLRT_API UnicodeString ExtractFilePath(const UnicodeString& file_name);
QUILLRT_API UnicodeString ExtractFileName(const UnicodeString& file_name);
// From the last '.' of the name part, dot included (".txt"); "" without one.
QUILLRT_API UnicodeString ExtractFileExt(const UnicodeString& file_name);
// Replaces the extension (or adds `extension` when there is none).
QUILLRT_API UnicodeString ChangeFileExt(const UnicodeString& file_name, const UnicodeString& extension);
QUILLRT_API UnicodeString IncludeTrailingPathDelimiter(const UnicodeString& path);
// Removes one trailing '/', but leaves the root "/" as it is.
QUILLRT_API UnicodeString ExcludeTrailingPathDelimiter(const UnicodeString& path);
// The absolute form of `file_name` against the current folder, with "." and ".."
// resolved lexically (symbolic links are not followed). "" stays "".
QUILLRT_API UnicodeString ExpandFileName(const UnicodeString& file_name);

// ---------------------------------------------------------------------------
// The file system

// True for an existing entry that is not a folder (links followed).
QUILLRT_API bool FileExists(const UnicodeString& file_name);
QUILLRT_API bool DirectoryExists(const UnicodeString& directory);
// Deletes a file (not a folder).
QUILLRT_API bool DeleteFile(const UnicodeString& file_name);
// Renames or moves an entry; refuses to replace an existing `new_name`.
QUILLRT_API bool RenameFile(const UnicodeString& old_name, const UnicodeString& new_name);
// Creates the folder and any missing parents; true when it exists afterwards.
QUILLRT_API bool ForceDirectories(const UnicodeString& directory);
QUILLRT_API UnicodeString GetCurrentDir();

}  // namespace quill
