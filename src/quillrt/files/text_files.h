#pragma once
// Text files whose encoding is uncertain: reading them, writing text as UTF-16,
// converting 8-bit files to UTF-16, and inserting text into a file.
//
// Every write that replaces a file goes through a temporary file beside it that
// is renamed over the original only when complete: a failure (a full disk, an
// unwritable folder) leaves the original corpus file as it was.
#include <cstdint>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// A string list that reads files whose 8-bit text may really be UTF-8. Text
// without byte-order mark read through an 8-bit (or multi-byte) code page is
// checked: when its bytes count a different number of UTF-8 characters than
// the decoded text has characters, and they are well-formed UTF-8, they are
// decoded as UTF-8 instead. Well-formedness is required so that 8-bit text with
// accented letters (which the count alone can take for UTF-8) keeps its
// letters. Lines end at CR, LF or CR LF with the default line break; files are
// opened with sharing allowed.
class QUILLRT_API TPossiblyDodgyTextStringlist : public TStringList {
 public:
  void LoadFromStream(TStream& stream, const TEncoding* encoding = nullptr) override;
  void LoadFromFile(const UnicodeString& file_name, const TEncoding* encoding = nullptr) override;
};

// The whole text of the file, each line followed by CR LF; empty when the file
// does not exist. A file that exists but cannot be read raises.
QUILLRT_API UnicodeString TextFileContents(const UnicodeString& name);
// For non-empty text, writes the file (replacing it) as FF FE and the text's
// UTF-16 units. Returns whether the text was non-empty.
QUILLRT_API bool SavedTextAsStream(const UnicodeString& text, const UnicodeString& name);
// Rewrites an existing file that is not UTF-16 as UTF-16 little-endian with
// byte-order mark. Its bytes are read as UTF-8 when they carry the UTF-8
// signature or are well-formed UTF-8 holding non-ASCII characters, otherwise in
// the ANSI code page of `locale`; characters are composed (NFC). Returns
// whether the file exists.
QUILLRT_API bool ConvertATextFileAnsiToUTF16(const UnicodeString& name, std::uint32_t locale);
// Inserts `text` so that it begins at the 1-based character `position` of the
// file's text (a position past the end appends). The file is read by its
// byte-order mark, as 8-bit text in the system's code page without one. With
// `backup` the file is first copied to its ".bak" name. The A form takes 8-bit
// text in the system's code page and writes the file back in the encoding it
// was read with; the W form writes UTF-16 little-endian with byte-order mark.
// False when writing fails; a failure to read raises.
QUILLRT_API bool InsertIntoFileA(const UnicodeString& name, const AnsiString& text, bool backup, int position);
QUILLRT_API bool InsertIntoFileW(const UnicodeString& name, const UnicodeString& text, bool backup, int position);

}  // namespace quill
