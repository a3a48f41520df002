#pragma once
// Text encodings at the file boundary: UTF-8, UTF-16 in either byte order and the
// 8-bit (and East Asian multi-byte) Windows code pages, the last through ICU.
//
// Encodings are shared, immutable objects that live as long as the program: the
// static accessors hand out pointers that stay valid and never need freeing.
// Bytes travel as std::string / std::string_view (raw bytes, not text).
//
// Decoding never drops input silently: ill-formed UTF-8, an odd trailing byte of
// UTF-16 and bytes a code page leaves undefined become U+FFFD. Encoding into a code
// page uses ICU's best-fit mappings where its Windows tables have them and writes
// '?' for any other character the page cannot hold; the GetBytes overload with a
// counter reports how many characters were replaced so.
#include <cstddef>
#include <string>
#include <string_view>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API TEncoding {
 public:
  TEncoding(const TEncoding&) = delete;
  TEncoding& operator=(const TEncoding&) = delete;
  virtual ~TEncoding();

  virtual UnicodeString GetString(std::string_view bytes) const = 0;
  std::string GetBytes(std::u16string_view text) const;
  // As above; `replaced` receives the number of characters that the encoding
  // could not represent and that were written as a substitute.
  std::string GetBytes(std::u16string_view text, std::size_t& replaced) const;
  // The byte-order mark written before the text in files; empty for code pages.
  virtual std::string_view GetPreamble() const = 0;
  // The Windows code page number: 65001, 1200, 1201, or the page's own number.
  virtual int CodePage() const = 0;
  // A readable name: "UTF-8", "UTF-16LE", "UTF-16BE", "windows-1252" ...
  virtual std::string EncodingName() const = 0;
  // True when every character takes one byte.
  virtual bool IsSingleByte() const = 0;

  static const TEncoding* UTF8();
  static const TEncoding* Unicode();           // UTF-16 little-endian
  static const TEncoding* BigEndianUnicode();  // UTF-16 big-endian
  // The encoding of a Windows code page: 8-bit pages (1250-1258, 874, 437, 850,
  // 28591-28605, 20127, 20866 ...), the East Asian multi-byte pages (932, 936, 949,
  // 950, 54936 ...), and 65001/1200/1201 for the Unicode encodings above; 0 means
  // the system's 8-bit page. Raises EConvertError for a page ICU does not know.
  static const TEncoding* GetEncoding(int code_page);
  static const TEncoding* ANSI(int code_page) { return GetEncoding(code_page); }
  // The system's 8-bit code page (see SystemAnsiCodePage).
  static const TEncoding* Default();
  // The encoding announced by a byte-order mark at the start of `bytes` (UTF-8,
  // UTF-16LE or UTF-16BE) with the mark's length, or nullptr and 0.
  static const TEncoding* DetectFromPreamble(std::string_view bytes, std::size_t& preamble_length);

 protected:
  TEncoding() = default;
  virtual std::string Encode(std::u16string_view text, std::size_t* replaced) const = 0;
};

// The system's 8-bit code page: 1252 unless configured otherwise.
QUILLRT_API int SystemAnsiCodePage();
// Sets the system's 8-bit code page; raises EConvertError (and changes nothing)
// for a page that is unknown or not an 8-bit/multi-byte page.
QUILLRT_API void SetSystemAnsiCodePage(int code_page);

}  // namespace quill
