#pragma once
// The settings file the tools keep their options in: an in-memory INI file stored
// as UTF-16 little-endian with a byte-order mark, Booleans written as "YES" and
// "NO", and a one-step backup beside it.
//
// Reading also accepts a settings file saved in another encoding: a byte-order
// mark decides; without one, bytes that look like UTF-16 (zero bytes in every
// other position) are read as UTF-16 in that byte order, well-formed UTF-8 as
// UTF-8, and anything else in the system's 8-bit code page. UpdateFile always
// writes UTF-16 LE with its mark, through a temporary file renamed over the old
// one, so an interrupted save never leaves a truncated settings file.
#include "quillrt/framework/ini_files.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

inline constexpr char16_t kIniYes[] = u"YES";
inline constexpr char16_t kIniNo[] = u"NO";

class QUILLRT_API TMyMemIniFile : public TMemIniFile {
 public:
  // Loads the file when it exists; a file that exists but cannot be read raises
  // EFOpenError.
  explicit TMyMemIniFile(const UnicodeString& file_name);

  // Only the first character counts, and only the letter opposite to the default
  // is looked for: with default true the value is true when it starts with "Y"
  // (so "yes" and "no" are false), with default false it is true unless it starts
  // with "N" (so "Yes" and "maybe" are true). Letters compare case-sensitively. A
  // missing or empty value gives the default.
  bool ReadBool(const UnicodeString& section, const UnicodeString& ident, bool default_value) const override;
  // Writes "YES" or "NO".
  void WriteBool(const UnicodeString& section, const UnicodeString& ident, bool value) override;

  // The file's name with the extension ".BAK".
  UnicodeString BackupFileName() const;
  // Copies the settings file, as it is on disk, over its backup. True when the
  // copy was made; false without a file name, when the file does not exist, or
  // when the copy failed (an earlier backup then stays as it was).
  bool SaveABackup() const;
};

}  // namespace quill
