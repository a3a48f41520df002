// Word-processor document text from arbitrary bytes, two ways at once:
// - the bytes as a whole archive: the document part is looked for and converted;
//   EZipError (damaged archive) and EDocumentTooLarge are documented answers;
// - the bytes as the document part itself: converted directly, and again after
//   being packed into a fresh archive, which must give the same text.
// Checked besides crashes and undefined behaviour: a non-empty text ends with a
// line end and has no more lines than the part has paragraph openings, and
// decoding character references never lengthens the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quillrt/analysis/docx_text.h"
#include "quillrt/files/zip_archive.h"

namespace {

using namespace quill;

constexpr std::int64_t kPartLimit = 1 << 20;

void Check(bool condition) {
  if (!condition) std::abort();
}

std::size_t Occurrences(std::u16string_view text, std::u16string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::u16string_view::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

void BytesAsArchive(std::string_view bytes) {
  TZipArchive zip;
  zip.OnProcessFileFailure = [](TZipArchive&, const UnicodeString&, TZipOperation, const UnicodeString&,
                                TZipFailureAction& action) { action = zfaSkip; };
  try {
    zip.OpenFromBytes(bytes);
    (void)DOCXArchiveText(zip, kPartLimit);
  } catch (const EZipError&) {
  } catch (const EDocumentTooLarge&) {
  }
}

void BytesAsDocumentPart(std::string_view bytes) {
  const UnicodeString text = DOCXTextFromDocumentXml(bytes);
  if (!text.empty()) Check(text.size() >= 2 && text.substr(text.size() - 2) == u"\r\n");
  const std::string_view before_zero = bytes.substr(0, bytes.find('\0'));
  Check(Occurrences(text, u"\r\n") <= Occurrences(Utf8ToUtf16(before_zero), u"<w:p"));
  Check(DecodedXmlCharacterReferences(text).size() <= text.size());

  TZipArchive packer;
  packer.CreateInMemory();
  packer.AddFromBytes(u"word/document.xml", bytes);
  packer.CloseArchive();
  TZipArchive reader;
  reader.OpenFromBytes(packer.InMemoryBytes());
  Check(DOCXArchiveText(reader, kPartLimit) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  BytesAsArchive(bytes);
  if (size <= static_cast<std::size_t>(kPartLimit)) BytesAsDocumentPart(bytes);
  return 0;
}
