// Arbitrary bytes as the start of chunk 1 of a chunk set, as a chunk-set
// manifest and as a chunk file's name. Checks that whatever the readers accept
// writes back to the same bytes, that an accepted header leaves chunk 1 room for
// data and counts at least one chunk, and that an accepted name is rebuilt by
// the name maker.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quillfs/chunk_format.h"
#include "quillfs/chunk_manifest.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckHeader(const std::uint8_t* data, std::size_t size) {
  quill::TMemoryStream in;
  in.WriteBuffer(data, static_cast<std::int64_t>(size));
  in.SetPosition(0);
  quill::TChunkSetHeader header;
  quill::UnicodeString problem;
  if (!quill::ReadChunkSetHeader(in, header, problem)) {
    Require(!problem.empty());
    return;
  }
  Require(header.ChunkCount >= 1);
  Require(quill::ChunkDataCapacity(header.ChunkSize, header.FirstChunkOverhead(), 1) >= 1);
  const std::int64_t consumed = in.GetPosition();
  Require(consumed == quill::ChunkHeaderLayout(static_cast<std::int64_t>(header.SourceName.size())).chunk_number);
  quill::TMemoryStream out;
  quill::WriteChunkSetHeader(out, header);
  Require(out.GetSize() == consumed);
  Require(std::string_view(reinterpret_cast<const char*>(out.Memory()), static_cast<std::size_t>(consumed)) ==
          std::string_view(reinterpret_cast<const char*>(data), static_cast<std::size_t>(consumed)));
  // The figures a restore derives from the header stay in range.
  std::int32_t count = 0;
  if (quill::ChunkCountFor(0, header.ChunkSize, header.FirstChunkOverhead(), count)) Require(count == 1);
}

void CheckManifest(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quill::TChunkManifest manifest;
  quill::UnicodeString problem;
  if (!quill::ParseChunkManifest(text, manifest, problem)) return;
  Require(!manifest.Chunks.empty());
  quill::TChunkManifest again;
  Require(quill::ParseChunkManifest(quill::ChunkManifestText(manifest), again, problem));
  Require(again == manifest);
}

void CheckName(const std::uint8_t* data, std::size_t size) {
  const quill::UnicodeString name = quill::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  std::int32_t number = 0, out_of = 0;
  if (!quill::ParseChunkFileName(name, number, out_of)) return;
  Require(number >= 1 && out_of >= 1);
  Require(quill::ChunkFileName(u"/f", number, out_of) == u"/f/" + quill::ExtractFileName(name));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    CheckHeader(data, size);
  } catch (const quill::Exception&) {
    std::abort();  // damaged input is answered with false, never an exception
  }
  CheckManifest(data, size);
  CheckName(data, size);
  return 0;
}
