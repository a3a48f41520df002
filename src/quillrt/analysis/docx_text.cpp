#include "quillrt/analysis/docx_text.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/yield.h"

namespace quill {

EDocumentTooLarge::~EDocumentTooLarge() = default;

namespace {

using View = std::u16string_view;
constexpr auto npos = View::npos;

// A memory stream that refuses to grow beyond `limit` bytes, so that a damaged or
// hostile archive cannot make the reader swallow gigabytes whatever size it claims.
class TLimitedMemoryStream : public TMemoryStream {
 public:
  TLimitedMemoryStream(std::int64_t limit, UnicodeString what) : limit_(limit), what_(std::move(what)) {}
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    if (count > 0 && GetPosition() + count > limit_) ThrowTooLarge(what_, limit_);
    return TMemoryStream::Write(buffer, count);
  }
  [[noreturn]] static void ThrowTooLarge(const UnicodeString& what, std::int64_t limit) {
    throw EDocumentTooLarge(u"The document part " + what + u" is larger than " +
                            Utf8ToUtf16(std::to_string(limit)) + u" bytes");
  }

 private:
  std::int64_t limit_;
  UnicodeString what_;
};

// The file name of an archive entry: after the last '/' or '\'.
View StoredFileName(View stored) {
  const std::size_t slash = stored.find_last_of(u"/\\");
  return slash == npos ? stored : stored.substr(slash + 1);
}

bool IsDocumentPart(View stored) { return SameText(UnicodeString(StoredFileName(stored)), u"document.xml"); }

// Whether `tag` starts at `at` and is followed by a blank, a '>' or the end, so
// that "<w:p" does not match "<w:pPr" and "<w:t" does not match "<w:tab/>".
bool TagStartsAt(View text, std::size_t at, View tag) {
  if (text.compare(at, tag.size(), tag) != 0) return false;
  const std::size_t next = at + tag.size();
  return next >= text.size() || text[next] == u' ' || text[next] == u'>';
}

std::size_t FindTag(View text, View tag, std::size_t from) {
  for (std::size_t at = text.find(tag, from); at != npos; at = text.find(tag, at + 1))
    if (TagStartsAt(text, at, tag)) return at;
  return npos;
}

// The runs' texts of one paragraph's inner XML, joined.
void AppendRunTexts(View paragraph, UnicodeString& out) {
  static constexpr View kRun = u"<w:t";
  static constexpr View kRunEnd = u"</w:t>";
  std::size_t pos = 0;
  while ((pos = FindTag(paragraph, kRun, pos)) != npos) {
    const std::size_t tag_end = paragraph.find(u'>', pos);
    if (tag_end == npos) return;
    // <w:t/> holds no text; reading on to the next </w:t> would take another run's.
    if (paragraph[tag_end - 1] == u'/') {
      pos = tag_end + 1;
      continue;
    }
    const std::size_t close = paragraph.find(kRunEnd, tag_end + 1);
    if (close == npos) {
      out.append(paragraph.substr(tag_end + 1));
      return;
    }
    out.append(paragraph.substr(tag_end + 1, close - tag_end - 1));
    pos = close + kRunEnd.size();
  }
}

UnicodeString ParagraphLines(View xml) {
  static constexpr View kParagraph = u"<w:p";
  static constexpr View kParagraphEnd = u"</w:p>";
  UnicodeString out;
  std::size_t pos = 0;
  while ((pos = FindTag(xml, kParagraph, pos)) != npos) {
    const std::size_t tag_end = xml.find(u'>', pos);
    if (tag_end == npos) break;
    if (xml[tag_end - 1] == u'/') {  // <w:p/>: an empty paragraph gives no line
      pos = tag_end + 1;
      continue;
    }
    const std::size_t close = xml.find(kParagraphEnd, tag_end + 1);
    const std::size_t inner_end = close == npos ? xml.size() : close;
    AppendRunTexts(xml.substr(tag_end + 1, inner_end - tag_end - 1), out);
    out += u"\r\n";
    if (close == npos) break;
    pos = close + kParagraphEnd.size();
  }
  return out;
}

}  // namespace

UnicodeString AlternateContentReducedToFallback(UnicodeString xml) {
  static constexpr View kBlock = u"<mc:AlternateContent>";
  static constexpr View kBlockEnd = u"</mc:AlternateContent>";
  static constexpr View kFallback = u"<mc:Fallback>";
  static constexpr View kFallbackEnd = u"</mc:Fallback>";
  // The text already settled goes to `out`; xml[work...] is still to be searched.
  // Replacing a block by its fallback moves the fallback up against the block's
  // closing tag instead of moving the rest of the text down, so that a document
  // with many blocks costs time in proportion to its size.
  UnicodeString out;
  out.reserve(xml.size());
  std::size_t work = 0;
  for (;;) {
    const View text(xml);
    const std::size_t block = text.find(kBlock, work);
    const std::size_t block_end = block == npos ? npos : text.find(kBlockEnd, block + kBlock.size());
    if (block_end == npos) break;  // no later block can be closed either
    const View inside = text.substr(0, block_end);
    const std::size_t fallback = inside.find(kFallback, block + kBlock.size());
    const std::size_t fallback_end = fallback == npos ? npos : inside.find(kFallbackEnd, fallback + kFallback.size());
    if (fallback_end == npos) {  // kept as it is; searching goes on after it
      out.append(text.substr(work, block_end + kBlockEnd.size() - work));
      work = block_end + kBlockEnd.size();
      continue;
    }
    // The fallback branch takes the block's place, and searching resumes at its
    // start. The block ends at the first closing tag met: nesting is not counted.
    out.append(text.substr(work, block - work));
    std::copy_backward(xml.begin() + static_cast<std::ptrdiff_t>(fallback),
                       xml.begin() + static_cast<std::ptrdiff_t>(fallback_end),
                       xml.begin() + static_cast<std::ptrdiff_t>(block_end));
    work = block_end - (fallback_end - fallback);
  }
  out.append(View(xml).substr(work));
  return out;
}

UnicodeString DOCXTextFromDocumentXml(std::string_view document_xml) {
  const std::size_t zero = document_xml.find('\0');
  if (zero != std::string_view::npos) document_xml = document_xml.substr(0, zero);
  return ParagraphLines(AlternateContentReducedToFallback(Utf8ToUtf16(document_xml)));
}

UnicodeString DOCXArchiveText(TZipArchive& archive, std::int64_t part_limit) {
  const int count = archive.EntryCount();
  for (int i = 0; i < count; ++i) {
    MyYieldProcess();
    const TZipEntryInfo info = archive.EntryInfo(i);
    if (!IsDocumentPart(info.StoredName)) continue;
    if (info.Size > part_limit) TLimitedMemoryStream::ThrowTooLarge(info.StoredName, part_limit);
    TLimitedMemoryStream part(part_limit, info.StoredName);
    archive.ExtractToStream(i, part);
    if (part.GetSize() == 0) return {};
    const auto* bytes = reinterpret_cast<const char*>(part.Memory());
    return DOCXTextFromDocumentXml(std::string_view(bytes, static_cast<std::size_t>(part.GetSize())));
  }
  return {};
}

UnicodeString DOCXFileText(const UnicodeString& file_name, std::int64_t part_limit) {
  if (!FileExists(file_name)) return {};
  TZipArchive archive;
  archive.SetFileName(file_name);
  archive.OpenArchive(TZipOpenMode::read);
  UnicodeString text = DOCXArchiveText(archive, part_limit);
  archive.CloseArchive();
  return text;
}

namespace {

// The character a reference body ("amp", "#233", "#xE9") stands for; 0 for none.
char32_t ReferencedCharacter(View body) {
  if (body == u"amp") return U'&';
  if (body == u"lt") return U'<';
  if (body == u"gt") return U'>';
  if (body == u"quot") return U'"';
  if (body == u"apos") return U'\'';
  if (body.size() < 2 || body[0] != u'#') return 0;
  const bool hex = body[1] == u'x' || body[1] == u'X';
  const View digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return 0;
  char32_t value = 0;
  for (const char16_t c : digits) {
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (hex && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (hex && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit < 0) return 0;
    value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
  }
  const bool valid = value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
  return valid ? value : 0;
}

void AppendCodePoint(char32_t c, UnicodeString& out) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

}  // namespace

UnicodeString DecodedXmlCharacterReferences(std::u16string_view text) {
  UnicodeString out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t amp = text.find(u'&', pos);
    if (amp == npos) break;
    out.append(text.substr(pos, amp - pos));
    const std::size_t semicolon = text.find(u';', amp + 1);
    // References are short; a far semicolon belongs to something else.
    const char32_t c = semicolon != npos && semicolon - amp <= 12
                           ? ReferencedCharacter(text.substr(amp + 1, semicolon - amp - 1))
                           : 0;
    if (c == 0) {
      out += u'&';
      pos = amp + 1;
    } else {
      AppendCodePoint(c, out);
      pos = semicolon + 1;
    }
  }
  out.append(text.substr(pos));
  return out;
}

UnicodeString DocxCorpusText(const UnicodeString& file_name, std::int64_t part_limit) {
  const UnicodeString text = DOCXFileText(file_name, part_limit);
  // Line by line, so that an encoded line end (&#13; &#10;) inside a run becomes a
  // blank and cannot split a paragraph: the lines stay the document's paragraphs.
  UnicodeString result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t end = text.find(u"\r\n"); end != npos; end = text.find(u"\r\n", start)) {
    UnicodeString line = DecodedXmlCharacterReferences(View(text).substr(start, end - start));
    std::replace_if(line.begin(), line.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
    result += line;
    result += u"\r\n";
    start = end + 2;
  }
  return result;
}

}  // namespace quill
