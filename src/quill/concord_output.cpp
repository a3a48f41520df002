#include "concord_output.h"

#include <algorithm>

#include "run_outcome.h"

namespace quill::cli {
namespace {

// Columns a UTF-16 string takes on a terminal: one per character, so that a
// surrogate pair counts once.
std::size_t Columns(const UnicodeString& s) {
  std::size_t n = 0;
  for (WideChar c : s)
    if (c < 0xDC00 || c > 0xDFFF) ++n;
  return n;
}

// Tabs cannot appear inside a field of a tab-separated line.
std::string TsvField(const UnicodeString& s) {
  std::string out = Utf16ToUtf8(s);
  for (char& c : out)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return out;
}

}  // namespace

bool ParseConcordFormat(const std::string& name, ConcordFormat& format) {
  if (name == "text") format = ConcordFormat::Text;
  else if (name == "tsv") format = ConcordFormat::Tsv;
  else if (name == "json") format = ConcordFormat::Json;
  else return false;
  return true;
}

std::string JsonQuoted(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  out.push_back('"');
  return out;
}

void WriteConcordanceHeader(std::FILE* out, ConcordFormat format) {
  if (format == ConcordFormat::Tsv) std::fputs("file\thit\tword\tsentence\tparagraph\tleft\tcentre\tright\n", out);
}

void WriteConcordanceLine(std::FILE* out, const ConcordanceLine& l, ConcordFormat format) {
  if (format == ConcordFormat::Tsv) {
    std::fprintf(out, "%s\t%lld\t%d\t%d\t%d\t%s\t%s\t%s\n", TsvField(Utf8ToUtf16(l.file)).c_str(),
                 static_cast<long long>(l.hit_number), l.word_number, l.sentence, l.paragraph,
                 TsvField(l.left).c_str(), TsvField(l.hit).c_str(), TsvField(l.right).c_str());
  } else if (format == ConcordFormat::Json) {
    std::fprintf(out,
                 "{\"file\":%s,\"hit\":%lld,\"word\":%d,\"sentence\":%d,\"paragraph\":%d,\"left\":%s,"
                 "\"centre\":%s,\"right\":%s}\n",
                 JsonQuoted(l.file).c_str(), static_cast<long long>(l.hit_number), l.word_number, l.sentence,
                 l.paragraph, JsonQuoted(Utf16ToUtf8(l.left)).c_str(), JsonQuoted(Utf16ToUtf8(l.hit)).c_str(),
                 JsonQuoted(Utf16ToUtf8(l.right)).c_str());
  }
}

void WriteConcordance(std::FILE* out, const std::vector<ConcordanceLine>& lines, ConcordFormat format,
                      bool highlight) {
  if (format != ConcordFormat::Text) {
    WriteConcordanceHeader(out, format);
    for (const ConcordanceLine& l : lines) WriteConcordanceLine(out, l, format);
    return;
  }
  const char* on = highlight ? "\x1b[1;31m" : "";
  const char* off = highlight ? "\x1b[0m" : "";
  std::size_t width = 0;
  for (const ConcordanceLine& l : lines) width = std::max(width, Columns(l.left));
  for (const ConcordanceLine& l : lines) {
    const std::size_t pad = width - Columns(l.left);
    std::fprintf(out, "%s:%d\t%*s%s %s%s%s %s\n", Printable(l.file).c_str(), l.word_number, static_cast<int>(pad),
                 "", Printable(Utf16ToUtf8(l.left)).c_str(), on, Printable(Utf16ToUtf8(l.hit)).c_str(), off,
                 Printable(Utf16ToUtf8(l.right)).c_str());
  }
}

}  // namespace quill::cli
