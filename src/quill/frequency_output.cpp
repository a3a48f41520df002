#include "frequency_output.h"

#include <cstdio>

#include "commands.h"
#include "corpus_input.h"
#include "quilljobs/saved_lists.h"

namespace quill::cli {

OutputFormat ParseOutputFormat(const std::string& name) {
  if (name == "tsv") return OutputFormat::tsv;
  if (name == "json") return OutputFormat::json;
  Fail("unknown output format: " + name + " (tsv or json)", kExitUsage);
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

void WriteFrequencyList(const TStringList& list, OutputFormat format,
                        const std::vector<std::pair<std::string, std::int64_t>>& summary,
                        const std::string& items_name, const std::string& item_key) {
  std::string out;
  out.reserve(static_cast<std::size_t>(list.Count()) * 24 + 256);
  const auto flush = [&out] {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
  };
  if (format == OutputFormat::json) {
    out += "{";
    for (const auto& [name, value] : summary) out += JsonString(name) + ": " + std::to_string(value) + ", ";
    out += JsonString(items_name) + ": [";
  }
  for (int i = 0; i < list.Count(); ++i) {
    const std::string item = Utf16ToUtf8(list[i]);
    const std::string freq = std::to_string(list.GetObject(i).AsInt());
    if (format == OutputFormat::tsv) {
      out += item;
      out += '\t';
      out += freq;
      out += '\n';
    } else {
      out += i == 0 ? "\n  {" : ",\n  {";
      out += JsonString(item_key) + ": " + JsonString(item) + ", \"freq\": " + freq + "}";
    }
    if (out.size() > (1u << 20)) flush();
  }
  if (format == OutputFormat::json) out += list.Count() > 0 ? "\n]}\n" : "]}\n";
  flush();
  std::fflush(stdout);
}

void PrintSavedFrequencyList(const std::string& path, OutputFormat format) {
  const jobs::TSavedWordList loaded = jobs::LoadSavedFrequencyList(path);
  const int words = loaded.WordsPerEntry();
  const bool ngrams = words > 1;
  WriteFrequencyList(*loaded.list, format,
                     {{ngrams ? "n" : "words_per_entry", words}, {"lines", loaded.list->Count()}},
                     ngrams ? "items" : "words", ngrams ? "ngram" : "word");
}

}  // namespace quill::cli
