// Feeds arbitrary bytes to the readers of section-starts lists: the stream form
// (TSectionStartsList::ReadFromStream) and the file form with its 57-byte header
// (ReadFromFile).
//
// Besides "no crash, no leak, no undefined behaviour": a refused read leaves the
// list untouched; a successful read saves to bytes that read back into a fresh
// list and save again to the very same bytes, and after sorting, the section
// found for each start is one that begins there.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/vocabulary/section_starts.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

std::vector<unsigned char> Saved(const TSectionStartsList& list) {
  TMemoryStream stream;
  Check(list.SaveToStream(stream));
  return stream.Bytes();
}

void CheckReadList(TSectionStartsList& list) {
  const auto bytes = Saved(list);
  TMemoryStream again;
  again.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  again.SetPosition(0);
  TSectionStartsList copy;
  Check(copy.ReadFromStream(again));
  Check(copy.Count() == list.Count());
  Check(Saved(copy) == bytes);

  list.SortByStart();
  for (int i = 0; i < list.Count(); ++i) {
    const TSectionTagRec section = list.GetASection(i);
    const TSectionStartInfo found = list.SectionFromBytePosition(0, section.start_byte_position);
    Check(found.section_number >= 1 && found.section_number <= list.Count());
    Check(list.GetASection(found.section_number - 1).start_byte_position == section.start_byte_position);
  }
}

void FuzzStream(const std::uint8_t* data, std::size_t size) {
  TMemoryStream stream;
  if (size > 0) stream.WriteBuffer(data, static_cast<std::int64_t>(size));
  stream.SetPosition(0);
  TSectionStartsList list;
  list.AddSection(7, u"already there");
  bool read = false;
  try {
    read = list.ReadFromStream(stream);
  } catch (const Exception&) {
    // A name beyond the reading limit or cut short: the documented answer.
  }
  if (!read) {
    Check(list.Count() == 1 && list.GetASection(0).start_byte_position == 7);
    return;
  }
  CheckReadList(list);
}

void FuzzFile(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/fuzz_section_starts_" + std::to_string(getpid()) + ".sec";
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  } else {
    return;
  }
  TSectionStartsList list;
  try {
    if (list.ReadFromFile(Utf8ToUtf16(path))) CheckReadList(list);
  } catch (const Exception&) {
  }
  std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzStream(data, size);
  if (size >= static_cast<std::size_t>(kSectionFileHeaderSize)) FuzzFile(data, size);
  return 0;
}
