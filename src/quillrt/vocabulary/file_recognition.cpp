#include "quillrt/vocabulary/file_recognition.h"

#include <array>
#include <optional>

#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/vocabulary/saved_list_header.h"
#include "quillrt/vocabulary/tool_names.h"

namespace quill {
namespace {

constexpr std::size_t kOldHeaderSize = 41;
// Headers from this version on are the 57-byte form.
constexpr std::int32_t kFirst32BitVersion = 35;
// Tool kinds that save lists with a version of their own: all but tool_none.
constexpr unsigned kSavingToolKinds = tool_none;

// The first `count` bytes of a file longer than `count` bytes, opened for
// reading and shared; nothing when it is missing, too short or unreadable.
template <std::size_t Count>
std::optional<std::array<std::uint8_t, Count>> LeadingBytes(const UnicodeString& file_name) {
  try {
    if (!FileExists(file_name)) return std::nullopt;
    TFileStream stream(file_name, fmOpenRead | fmShareDenyNone);
    if (stream.GetSize() <= static_cast<std::int64_t>(Count)) return std::nullopt;
    std::array<std::uint8_t, Count> bytes{};
    if (stream.Read(bytes.data(), Count) != static_cast<std::int64_t>(Count)) return std::nullopt;
    return bytes;
  } catch (const Exception&) {
    return std::nullopt;
  }
}

std::optional<TCheckSignature> HeaderOf(const UnicodeString& file_name) {
  const auto bytes = LeadingBytes<kCheckSignatureSize>(file_name);
  if (!bytes) return std::nullopt;
  return CheckSignatureFromBytes(*bytes);
}

}  // namespace

AnsiString OldHeaderNameFromBytes(const std::uint8_t* bytes, std::size_t count) {
  if (count == 0) return {};
  const std::size_t length = bytes[0];
  std::size_t from = 1;
  if (from < count && bytes[from] == 0) ++from;
  AnsiString name;
  for (std::size_t i = from; i < count && bytes[i] != 0; ++i) name.push_back(static_cast<char>(bytes[i]));
  if (name.size() > length) name.resize(length);
  return name;
}

bool IsAnOldQuillaryFile(TQYStored_File_rec& rec) {
  rec.ListType = lt_none_in_use;
  const auto bytes = LeadingBytes<kOldHeaderSize>(rec.filename);
  if (!bytes) return false;
  const AnsiString name = OldHeaderNameFromBytes(bytes->data(), bytes->size());
  if (name.empty()) return false;
  for (unsigned k = 0; k < kListKindCount; ++k) {
    if (list_old_header_name[k] == name) {
      rec.ListType = static_cast<list_type>(k);
      return true;
    }
  }
  return false;
}

bool WasAQuillary32BitFile(TQYStored_File_rec& rec) {
  rec.ListType = lt_none_in_use;
  const auto header = HeaderOf(rec.filename);
  if (!header || header->signature < kFirst32BitVersion) return false;
  const std::int32_t running = CurrentSignatureOf(current_tool_var);
  if (header->signature > running) return false;
  rec.ListType = DiskFileType(*header);
  return header->signature < running;
}

tool_type WhichToolsQuillary32BitFile(TQYStored_File_rec& rec) {
  rec.ListType = lt_none_in_use;
  const auto header = HeaderOf(rec.filename);
  if (!header) return tool_none;
  for (unsigned tool = 0; tool < kSavingToolKinds; ++tool) {
    if (CurrentSignature[tool] == header->signature) {
      rec.ListType = DiskFileType(*header);
      return static_cast<tool_type>(tool);
    }
  }
  return tool_none;
}

bool IsAQuillary32BitFileForTool(TQYStored_File_rec& rec, tool_type tool) {
  rec.ListType = lt_none_in_use;
  const auto header = HeaderOf(rec.filename);
  if (!header || tool >= kToolKindCount || header->signature != CurrentSignature[tool]) return false;
  rec.ListType = DiskFileType(*header);
  return true;
}

bool IsAQuillary32BitFile(TQYStored_File_rec& rec) { return IsAQuillary32BitFileForTool(rec, current_tool_var); }

bool IsABatchZipFileForListType(TQYStored_File_rec& rec) {
  rec.ListType = lt_none_in_use;
  rec.Number_within_Zipfile = 0;
  try {
    if (!FileExists(rec.filename)) return false;
    TZipArchive zip;
    zip.SetFileName(rec.filename);
    zip.OpenArchive(TZipOpenMode::read);
    const int entries = zip.EntryCount();
    const UnicodeString comment = TEncoding::Default()->GetString(zip.Comment());
    zip.CloseArchive();
    const UnicodeString prefix = Utf8ToUtf16(kBatchZipCommentPrefix);
    if (entries < 1 || comment.size() <= prefix.size() || !comment.starts_with(prefix)) return false;
    const UnicodeString extension = comment.substr(prefix.size());
    for (unsigned k = 0; k < kListKindCount; ++k) {
      if (DefaultExtFromListType(static_cast<list_type>(k)) == extension) {
        rec.ListType = static_cast<list_type>(k);
        rec.Number_within_Zipfile = entries;
        break;
      }
    }
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace quill
