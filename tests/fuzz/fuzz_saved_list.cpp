// Feeds arbitrary bytes to the readers of the saved lists that the quill tool
// writes (word lists, n-gram lists and concordances). The first byte chooses
// whether a valid header is put in front, so that the bodies are reached
// without the fuzzer first having to find the header.
//
// Checks besides "no crash": a list that reads writes again, that writing
// reads back to the same list, and writing that reads and writes to the very
// same bytes. Exceptions derived from quill::Exception are the readers'
// documented answer to damaged input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "quilljobs/saved_list_files.h"
#include "quillrt/framework/streams.h"
#include "quillrt/vocabulary/saved_list_header.h"

namespace {

using namespace quill;
using namespace quill::jobs;

void Check(bool condition) {
  if (!condition) std::abort();
}

void Load(TMemoryStream& stream, tool_type tool, list_type lt, const std::uint8_t* data, std::size_t size) {
  stream.Clear();
  if (tool != tool_none) {
    TCheckSignature sig;
    sig.infosize = size > 0 ? data[0] >> 4 : 0;
    DiskSignatureISOKForToolAndList(sig, tool, lt, stream, writing);
  }
  if (size > 0) stream.WriteBuffer(data, static_cast<std::int64_t>(size));
  stream.SetPosition(0);
}

std::vector<unsigned char> Bytes(const TMemoryStream& stream) { return stream.Bytes(); }

void FuzzWordList(const std::uint8_t* data, std::size_t size, bool with_header) {
  TMemoryStream stream;
  Load(stream, with_header ? tool_word_lister : tool_none, lt_word_list, data, size);
  TSavedWordList read;
  try {
    read = ReadSavedWordList(stream);
  } catch (const Exception&) {
    return;
  }
  TMemoryStream once;
  WriteSavedWordList(once, *read.list, read.WordsPerEntry());
  once.SetPosition(0);
  const TSavedWordList again = ReadSavedWordList(once);
  Check(again.WordsPerEntry() == read.WordsPerEntry());
  Check(again.list->Count() == read.list->Count());
  for (int i = 0; i < read.list->Count(); ++i) {
    Check((*again.list)[i] == (*read.list)[i]);
    Check(again.list->GetObject(i) == read.list->GetObject(i));
  }
  TMemoryStream twice;
  WriteSavedWordList(twice, *again.list, again.WordsPerEntry());
  Check(Bytes(once) == Bytes(twice));
}

void FuzzConcordance(const std::uint8_t* data, std::size_t size, bool with_header) {
  TMemoryStream stream;
  Load(stream, with_header ? tool_concordancer : tool_none, lt_concordance_list, data, size);
  TSavedConcordance read;
  try {
    read = ReadSavedConcordance(stream);
  } catch (const Exception&) {
    return;
  }
  TMemoryStream once;
  WriteSavedConcordance(once, read);
  once.SetPosition(0);
  const TSavedConcordance again = ReadSavedConcordance(once);
  Check(again.search_words == read.search_words);
  Check(again.sources == read.sources);
  Check(again.lines == read.lines);
  TMemoryStream twice;
  WriteSavedConcordance(twice, again);
  Check(Bytes(once) == Bytes(twice));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const bool with_header = size > 0 && (data[0] & 1) != 0;
  const std::uint8_t* body = size > 0 ? data + 1 : data;
  const std::size_t body_size = size > 0 ? size - 1 : 0;
  FuzzWordList(body, body_size, with_header);
  FuzzConcordance(body, body_size, with_header);
  return 0;
}
