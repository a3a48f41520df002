#include "quilljobs/saved_list_files.h"

#include "quillrt/collections/stream_forms.h"
#include "quillrt/framework/exceptions.h"

namespace quill::jobs {
namespace {

void WriteHeader(TStream& stream, tool_type tool, list_type lt, std::int32_t infosize) {
  TCheckSignature sig;
  sig.infosize = infosize;
  if (!DiskSignatureISOKForToolAndList(sig, tool, lt, stream, writing))
    throw EWriteError(u"the list's header could not be written");
}

void ReadHeader(TStream& stream, tool_type tool, list_type lt, TCheckSignature& header) {
  if (!DiskSignatureISOKForToolAndList(header, tool, lt, stream, reading))
    throw EReadError(u"the header is not that of a " + ListTypeName(lt) + u" of this version");
}

void ExpectEnd(TStream& stream) {
  if (stream.GetPosition() != stream.GetSize()) throw EReadError(u"unexpected bytes after the list");
}

void WriteLines(TStream& stream, const std::vector<UnicodeString>& lines) {
  TMyStreamableStringlist list;
  for (const UnicodeString& line : lines) list.Add(line);
  list.SaveToStream(stream, nullptr);
}

std::vector<UnicodeString> ReadLines(TStream& stream) {
  TMyStreamableStringlist list;
  list.LoadFromStream(stream, nullptr);
  return std::vector<UnicodeString>(list.begin(), list.end());
}

}  // namespace

void WriteSavedWordList(TStream& stream, const TStringList& list, int words_per_entry) {
  WriteHeader(stream, tool_word_lister, lt_word_list, words_per_entry);
  TMySaveStringList saved(true);
  for (int i = 0; i < list.Count(); ++i) saved.AddObject(list[i], list.GetObject(i));
  saved.SaveToStream(stream);
}

TSavedWordList ReadSavedWordList(TStream& stream) {
  TSavedWordList saved;
  ReadHeader(stream, tool_word_lister, lt_word_list, saved.header);
  const auto declared = stream.ReadLE<std::int32_t>();
  if (declared < 0) throw EReadError(u"a negative number of lines");
  stream.Seek(-4, TSeekOrigin::soCurrent);
  saved.list->LoadFromStream(stream);
  ExpectEnd(stream);
  return saved;
}

void WriteSavedConcordance(TStream& stream, const TSavedConcordance& concordance) {
  for (const TSavedConcordanceLine& line : concordance.lines)
    if (line.source < 0 || static_cast<std::size_t>(line.source) >= concordance.sources.size())
      throw EWriteError(u"a concordance line names no source text");
  WriteHeader(stream, tool_concordancer, lt_concordance_list, 0);
  WriteLines(stream, concordance.search_words);
  WriteLines(stream, concordance.sources);
  stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(concordance.lines.size()));
  for (const TSavedConcordanceLine& line : concordance.lines) {
    stream.WriteLE<std::int32_t>(line.source);
    stream.WriteLE<std::int32_t>(line.word_number);
    stream.WriteLE<std::int32_t>(line.sentence);
    stream.WriteLE<std::int32_t>(line.paragraph);
    stream.WriteLE<std::int32_t>(line.search_word);
    stream.WriteLE<std::int64_t>(line.hit_number);
    WriteAString(stream, line.left);
    WriteAString(stream, line.hit);
    WriteAString(stream, line.right);
  }
}

TSavedConcordance ReadSavedConcordance(TStream& stream) {
  TSavedConcordance saved;
  ReadHeader(stream, tool_concordancer, lt_concordance_list, saved.header);
  saved.search_words = ReadLines(stream);
  saved.sources = ReadLines(stream);
  const auto count = stream.ReadLE<std::int32_t>();
  if (count < 0) throw EReadError(u"a negative number of lines");
  // No room is made for the lines in advance: the count is not trusted.
  for (std::int32_t i = 0; i < count; ++i) {
    TSavedConcordanceLine line;
    line.source = stream.ReadLE<std::int32_t>();
    if (line.source < 0 || static_cast<std::size_t>(line.source) >= saved.sources.size())
      throw EReadError(u"a concordance line names no source text");
    line.word_number = stream.ReadLE<std::int32_t>();
    line.sentence = stream.ReadLE<std::int32_t>();
    line.paragraph = stream.ReadLE<std::int32_t>();
    line.search_word = stream.ReadLE<std::int32_t>();
    line.hit_number = stream.ReadLE<std::int64_t>();
    line.left = ReadAString(stream);
    line.hit = ReadAString(stream);
    line.right = ReadAString(stream);
    saved.lines.push_back(std::move(line));
  }
  ExpectEnd(stream);
  return saved;
}

}  // namespace quill::jobs
