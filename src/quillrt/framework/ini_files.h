#pragma once
// An INI file held in memory: sections of name=value lines, read whole when the
// object is made and written whole by UpdateFile.
//
// Reading. Each line is trimmed; empty lines and comments (";" first) are dropped,
// "[name]" opens a section (a section that appears twice is merged into the first),
// and lines before the first section are dropped. In "name=value" the name is
// trimmed and so is the value after the first "=" (blanks around a value do not
// survive a save and reload); a line without "=" is kept as it is
// (ReadSectionValues gives it back, lookups never match it). Section and value
// names compare without regard to ASCII case, and blanks around them do not count.
//
// Writing. UpdateFile writes every section as "[name]", its lines, and an empty
// line, in the file's encoding with its byte-order mark, through a temporary file
// that replaces the old one only when complete: a failed or interrupted save leaves
// the previous file whole. Nothing is written unless UpdateFile is called.
//
// A name that is empty or holds "=", "[" first or a line break, and a value that
// holds a line break, cannot come back as written: the writers raise EConvertError
// for them rather than spoil the file's structure.
#include <memory>
#include <vector>

#include "quillrt/framework/encoding.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API TMemIniFile {
 public:
  // Loads `file_name` when it exists. A byte-order mark decides the encoding;
  // without one `encoding` is used (null: the system's 8-bit code page). A file
  // that exists but cannot be read raises EFOpenError.
  explicit TMemIniFile(const UnicodeString& file_name, const TEncoding* encoding = nullptr);
  TMemIniFile(const TMemIniFile&) = delete;
  TMemIniFile& operator=(const TMemIniFile&) = delete;
  virtual ~TMemIniFile();

  const UnicodeString& FileName() const { return file_name_; }
  // The encoding UpdateFile writes in.
  const TEncoding* Encoding() const { return encoding_; }
  void SetEncoding(const TEncoding* encoding) { encoding_ = encoding; }

  bool SectionExists(const UnicodeString& section) const;
  bool ValueExists(const UnicodeString& section, const UnicodeString& ident) const;

  // The value of ident, or `default_value` when the section or ident is missing.
  virtual UnicodeString ReadString(const UnicodeString& section, const UnicodeString& ident,
                                   const UnicodeString& default_value) const;
  // Sets the value, adding the section and the line when missing (an empty value
  // is stored as such).
  virtual void WriteString(const UnicodeString& section, const UnicodeString& ident,
                           const UnicodeString& value);
  // Decimal or "$"/"0x" hexadecimal; a value that is not a number gives the default.
  int ReadInteger(const UnicodeString& section, const UnicodeString& ident, int default_value) const;
  void WriteInteger(const UnicodeString& section, const UnicodeString& ident, int value);
  // "0" is false, any other number true; a value that is not a number gives the
  // default. Written as "1" / "0".
  virtual bool ReadBool(const UnicodeString& section, const UnicodeString& ident, bool default_value) const;
  virtual void WriteBool(const UnicodeString& section, const UnicodeString& ident, bool value);
  // Numbers in the invariant form ("1.5"), so files read the same in every locale.
  double ReadFloat(const UnicodeString& section, const UnicodeString& ident, double default_value) const;
  void WriteFloat(const UnicodeString& section, const UnicodeString& ident, double value);

  // The names of a section's values, the sections' names, and a section's lines
  // ("name=value"); each replaces the contents of `strings`.
  void ReadSection(const UnicodeString& section, TStrings& strings) const;
  void ReadSections(TStrings& strings) const;
  void ReadSectionValues(const UnicodeString& section, TStrings& strings) const;
  void EraseSection(const UnicodeString& section);
  void DeleteKey(const UnicodeString& section, const UnicodeString& ident);
  void Clear();

  // The whole file as lines, and the sections taken from lines (as when reading).
  void GetStrings(TStrings& lines) const;
  void SetStrings(const TStrings& lines);

  // Writes everything to FileName (see above); does nothing without a file name.
  // Raises when the file cannot be written.
  void UpdateFile();
  // Changes the file name; with `reload`, the contents are read from the new file
  // (emptied when it does not exist).
  void Rename(const UnicodeString& file_name, bool reload);

 protected:
  struct DeferLoading {};
  // For derived classes that read the file themselves (SetStrings).
  TMemIniFile(const UnicodeString& file_name, const TEncoding* encoding, DeferLoading);

 private:
  struct Line {
    UnicodeString name;  // the whole line when it has no "="
    UnicodeString value;
    bool is_pair = true;
  };
  struct Section {
    UnicodeString name;
    std::vector<Line> lines;
  };

  void LoadValues();
  const Section* FindSection(const UnicodeString& name) const;
  Section* FindSection(const UnicodeString& name);
  Section& AddSection(const UnicodeString& name);
  static const Line* FindLine(const Section& section, const UnicodeString& ident);

  UnicodeString file_name_;
  const TEncoding* encoding_;
  std::vector<Section> sections_;
};

}  // namespace quill
