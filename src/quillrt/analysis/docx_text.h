#pragma once
// Plain text out of word-processor documents in the Office Open XML format (.docx):
// the document part of the archive, one line per paragraph.
//
// The walk is deliberately simple and text-based, not a full XML parser:
// - the document part is the first archive entry whose file name (after the last
//   '/' or '\') is "document.xml" in any case;
// - its bytes up to the first zero byte are read as UTF-8;
// - every <mc:AlternateContent> block is reduced to its <mc:Fallback> branch, so
//   text that a newer feature offers in two forms is read once;
// - every paragraph <w:p ...>...</w:p> gives one line ending in CR LF: the texts
//   of its runs <w:t ...>...</w:t> joined as they stand. A self-closing paragraph
//   <w:p/> gives nothing; a self-closing run <w:t/> contributes nothing.
// Character references (&amp;, &#233; ...) are kept as written; callers that
// want plain characters decode them (see DecodedXmlCharacterReferences).
#include <cstdint>

#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The document part is bigger than the reader is willing to hold in memory.
QUILL_DECLARE_EXCEPTION(EDocumentTooLarge, EInOutError);

// The largest document part read by default: 128 MiB of XML, several thousand
// pages of text. The part is held three times over (bytes, UTF-16, result).
inline constexpr std::int64_t kDefaultDocxPartLimit = std::int64_t{128} * 1024 * 1024;

// The plain text of the document `file_name`. Empty for a missing file, an archive
// without a document part, or an empty part. A file that is not an archive, or a
// part that cannot be extracted, raises EZipError; a part larger than
// `part_limit` bytes raises EDocumentTooLarge (before reading it when the archive
// states its size, else as soon as the extracted bytes pass the limit).
QUILLRT_API UnicodeString DOCXFileText(const UnicodeString& file_name,
                                       std::int64_t part_limit = kDefaultDocxPartLimit);

// The same for an archive already open for reading.
QUILLRT_API UnicodeString DOCXArchiveText(TZipArchive& archive, std::int64_t part_limit = kDefaultDocxPartLimit);

// The conversion of the document part's bytes alone (steps after extraction).
QUILLRT_API UnicodeString DOCXTextFromDocumentXml(std::string_view document_xml);

// Alternate-content blocks reduced to their fallback branch.
QUILLRT_API UnicodeString AlternateContentReducedToFallback(UnicodeString xml);

// `text` with the XML character references decoded: &amp; &lt; &gt; &quot; &apos;
// and numeric ones (&#233; &#xE9;). A reference that is malformed, unknown or
// names no valid character stays as written.
QUILLRT_API UnicodeString DecodedXmlCharacterReferences(std::u16string_view text);

// The text of a .docx file as a corpus reader wants it: DOCXFileText with the
// character references of the runs decoded. Paragraphs stay one per line (CR LF):
// an encoded line end inside a run becomes a blank.
QUILLRT_API UnicodeString DocxCorpusText(const UnicodeString& file_name,
                                         std::int64_t part_limit = kDefaultDocxPartLimit);

}  // namespace quill
