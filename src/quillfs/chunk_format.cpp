#include "quillfs/chunk_format.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/code_pages.h"
#include "quillrt/text/buffer_checksums.h"

namespace quill {

TChunkHeaderLayout ChunkHeaderLayout(std::int64_t name_length) {
  TChunkHeaderLayout layout;
  layout.zip_too = layout.name + name_length;
  layout.pack_level = layout.zip_too + 1;
  layout.chunk_size = layout.pack_level + 2;
  layout.attributes = layout.chunk_size + 4;
  layout.last_write = layout.attributes + 4;
  layout.chunk_count = layout.last_write + 8;
  layout.chunk_number = layout.chunk_count + 4;
  layout.data = layout.chunk_number + 4;
  return layout;
}

void WriteChunkSetHeader(TStream& stream, const TChunkSetHeader& header) {
  const std::size_t length = header.SourceName.size();
  if (length == 0 || length > static_cast<std::size_t>(kMaxStoredNameLength)) {
    throw EInOutError(u"A chunk set stores a source name of 1 to 255 bytes; \"" +
                      AnsiToUnicode(header.SourceName, CP_ACP) + u"\" has " + IntToStr(length));
  }
  stream.WriteLE<std::uint8_t>(static_cast<std::uint8_t>(length));
  stream.WriteBuffer(header.SourceName.data(), static_cast<std::int64_t>(length));
  stream.WriteLE<std::uint8_t>(header.ZipToo ? 1 : 0);
  stream.WriteLE<std::uint16_t>(header.PackLevel);
  stream.WriteLE<std::int32_t>(header.ChunkSize);
  stream.WriteLE<std::int32_t>(header.Attributes);
  stream.WriteLE<double>(header.LastWrite);
  stream.WriteLE<std::int32_t>(header.ChunkCount);
}

bool ReadChunkSetHeader(TStream& stream, TChunkSetHeader& header, UnicodeString& problem) {
  header = TChunkSetHeader{};
  problem.clear();
  const auto fail = [&problem](const char16_t* why) {
    problem = why;
    return false;
  };
  std::uint8_t length = 0;
  if (!stream.TryReadLE(length)) return fail(u"it is too short for a chunk-set header");
  if (length == 0) return fail(u"its header stores no source name");
  header.SourceName.resize(length);
  if (stream.Read(header.SourceName.data(), length) != length) return fail(u"its header is cut short");
  std::uint8_t zip_too = 0;
  if (!stream.TryReadLE(zip_too) || !stream.TryReadLE(header.PackLevel) || !stream.TryReadLE(header.ChunkSize) ||
      !stream.TryReadLE(header.Attributes) || !stream.TryReadLE(header.LastWrite) ||
      !stream.TryReadLE(header.ChunkCount)) {
    return fail(u"its header is cut short");
  }
  if (zip_too > 1) return fail(u"its header is damaged (compression flag)");
  header.ZipToo = zip_too == 1;
  if (header.ChunkCount < 1) return fail(u"its header gives no chunks");
  if (header.ChunkSize <= header.FirstChunkOverhead()) return fail(u"its header gives a chunk size with no room for data");
  return true;
}

std::int64_t ChunkDataCapacity(std::int32_t chunk_size, std::int64_t first_chunk_overhead, std::int32_t number) {
  return static_cast<std::int64_t>(chunk_size) - (number == 1 ? first_chunk_overhead : kLaterChunkOverhead);
}

std::uint32_t LastBlockChecksum(const unsigned char* piece, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t last_block = (count - 1) / kChunkCopyBlock * kChunkCopyBlock;
  return My4Checksum(piece + last_block, static_cast<std::int32_t>(count - last_block));
}

bool ChunkCountFor(std::int64_t source_size, std::int32_t chunk_size, std::int64_t first_chunk_overhead,
                   std::int32_t& count) {
  count = 0;
  const std::int64_t first = ChunkDataCapacity(chunk_size, first_chunk_overhead, 1);
  if (first <= 0 || source_size < 0) return false;  // chunk 1 could never carry data
  if (source_size <= first) {
    count = 1;
    return true;
  }
  const std::int64_t later = ChunkDataCapacity(chunk_size, first_chunk_overhead, 2);  // > first > 0
  const std::int64_t more = (source_size - first + later - 1) / later;
  if (more > std::numeric_limits<std::int32_t>::max() - 1) return false;
  count = static_cast<std::int32_t>(more + 1);
  return true;
}

std::int64_t ChunkFileSize(std::int64_t source_size, std::int32_t chunk_size, std::int64_t first_chunk_overhead,
                           std::int32_t number, std::int32_t count) {
  if (number < count) return chunk_size;
  // The last chunk: its overhead and whatever the chunks before it left over.
  std::int64_t before = 0;
  if (count > 1) {
    before = ChunkDataCapacity(chunk_size, first_chunk_overhead, 1) +
             static_cast<std::int64_t>(count - 2) * ChunkDataCapacity(chunk_size, first_chunk_overhead, 2);
  }
  const std::int64_t overhead = count == 1 ? first_chunk_overhead : kLaterChunkOverhead;
  return overhead + (source_size - before);
}

UnicodeString ChunkFileName(const UnicodeString& folder, std::int32_t number, std::int32_t out_of) {
  return IncludeTrailingPathDelimiter(folder) + u"chunk " + IntToStr(number) + u" of " + IntToStr(out_of) + u".tmp";
}

namespace {

// Reads a positive decimal number without sign or leading zero at `at`.
bool ReadCount(const std::string& text, std::size_t& at, std::int32_t& value) {
  if (at >= text.size() || text[at] < '1' || text[at] > '9') return false;
  const char* begin = text.data() + at;
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  if (error != std::errc()) return false;
  at += static_cast<std::size_t>(end - begin);
  return true;
}

bool Expect(const std::string& text, std::size_t& at, std::string_view literal) {
  if (text.compare(at, literal.size(), literal) != 0) return false;
  at += literal.size();
  return true;
}

}  // namespace

bool ParseChunkFileName(const UnicodeString& file_name, std::int32_t& number, std::int32_t& out_of) {
  const std::string name = Utf16ToUtf8(ExtractFileName(file_name));
  std::size_t at = 0;
  return Expect(name, at, "chunk ") && ReadCount(name, at, number) && Expect(name, at, " of ") &&
         ReadCount(name, at, out_of) && Expect(name, at, ".tmp") && at == name.size();
}

UnicodeString StoredSourceFileName(const AnsiString& stored_name) {
  const std::size_t cut = stored_name.find_last_of("\\/");
  const AnsiString part = cut == AnsiString::npos ? stored_name : stored_name.substr(cut + 1);
  // A name the file system cannot take whole (empty, a folder reference, an
  // embedded NUL that would cut it short) gives nothing to restore into.
  if (part.empty() || part == "." || part == ".." || part.find('\0') != AnsiString::npos) return {};
  return AnsiToUnicode(part, CP_ACP);
}

}  // namespace quill
