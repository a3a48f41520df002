#include "quillrt/vocabulary/section_starts.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "quillrt/collections/stream_forms.h"
#include "quillrt/process/shared_state.h"

namespace quill {
namespace {

// ---- Saved-list header ---------------------------------------------------------
// Stand-in for the saved-list header of the tool and list vocabulary
// (TCheckSignature, CurrentSignature, DiskSignatureISOKForToolAndList), which is
// being written beside this file at the same time: when it is merged, these two
// functions become calls of DiskSignatureISOKForToolAndList(sig, current_tool_var,
// lt_sections_list, stream, writing / reading) and the table below goes.
// The layout is the same: int32 version, int32 infosize, int32 save_height,
// int32 save_width, then a length byte and 40 bytes of the list kind's signature.

constexpr std::array<std::int32_t, tool_none + 1> kToolVersions = {
    37, 36, 37, 36, 37, 36, 37, 37, 36, 36, 36, 38, 36, 36, 37, 36, 36, 36, 36, 36, 36, 789};
constexpr std::string_view kSectionListSignature = "Section List32";
constexpr std::size_t kSignatureFieldSize = 40;

std::int32_t RunningToolVersion() {
  const auto tool = static_cast<std::size_t>(current_tool_var);
  return tool < kToolVersions.size() ? kToolVersions[tool] : kToolVersions[tool_none];
}

bool WriteSectionListHeader(TStream& stream) {
  std::array<unsigned char, kSectionFileHeaderSize> header{};
  TStream::ToLE(RunningToolVersion(), header.data());  // infosize, height, width stay 0
  header[16] = static_cast<unsigned char>(kSectionListSignature.size());
  std::copy(kSectionListSignature.begin(), kSectionListSignature.end(), header.begin() + 17);
  return stream.Write(header.data(), kSectionFileHeaderSize) == kSectionFileHeaderSize;
}

bool ReadSectionListHeader(TStream& stream) {
  std::array<unsigned char, kSectionFileHeaderSize> header{};
  if (stream.Read(header.data(), kSectionFileHeaderSize) != kSectionFileHeaderSize) return false;
  if (TStream::FromLE<std::int32_t>(header.data()) != RunningToolVersion()) return false;
  const std::size_t length = std::min<std::size_t>(header[16], kSignatureFieldSize);
  const std::string_view signature(reinterpret_cast<const char*>(header.data() + 17), length);
  return header[16] <= kSignatureFieldSize && signature == kSectionListSignature;
}

// ---------------------------------------------------------------------------------

}  // namespace

int SortSectionTags(const TSectionStartHolder* a, const TSectionStartHolder* b) {
  const std::int32_t x = a->data.start_byte_position;
  const std::int32_t y = b->data.start_byte_position;
  return x < y ? -1 : (x > y ? 1 : 0);
}

TSectionStartsList::~TSectionStartsList() = default;

TSectionStartHolder* TSectionStartsList::AddSection(std::int32_t start_byte_position, const UnicodeString& name) {
  auto holder = std::make_unique<TSectionStartHolder>();
  holder->data = {start_byte_position, name};
  return Add(std::move(holder));
}

TSectionTagRec TSectionStartsList::GetASection(int index) const {
  if (index < 0 || index >= Count() || Get(index) == nullptr) return {-1, {}};
  return Get(index)->data;
}

void TSectionStartsList::SortByStart() { Sort(SortSectionTags); }

bool TSectionStartsList::ReadFromStream(TStream& stream) {
  std::int32_t count = 0;
  if (!stream.TryReadLE(count) || count < 0) return false;
  // Read everything first: a damaged stream must not leave half a list behind.
  // Nothing is reserved from the count, which may be damaged too; every section
  // needs bytes of the stream, so a false count ends at the stream's end.
  std::vector<std::unique_ptr<TSectionStartHolder>> read;
  for (std::int32_t i = 0; i < count; ++i) {
    auto holder = std::make_unique<TSectionStartHolder>();
    if (!stream.TryReadLE(holder->data.start_byte_position)) return false;
    holder->data.w = ReadAString(stream);
    read.push_back(std::move(holder));
  }
  for (auto& holder : read) Add(std::move(holder));
  return true;
}

bool TSectionStartsList::SaveToStream(TStream& stream) const {
  if (!stream.TryWriteLE(static_cast<std::int32_t>(Count()))) return false;
  for (int i = 0; i < Count(); ++i) {
    const TSectionTagRec section = GetASection(i);
    if (!stream.TryWriteLE(section.start_byte_position)) return false;
    if (!WriteAString(stream, section.w)) return false;
  }
  return true;
}

bool TSectionStartsList::ReadFromFile(const UnicodeString& file_name) {
  TFileStream file(file_name, fmOpenRead | fmShareDenyNone);
  return ReadSectionListHeader(file) && ReadFromStream(file);
}

bool TSectionStartsList::SaveToFile(const UnicodeString& file_name) const {
  return WriteFileAtomically(file_name,
                             [this](TStream& file) { return WriteSectionListHeader(file) && SaveToStream(file); });
}

TSectionStartInfo TSectionStartsList::SectionFromBytePosition(int count_from, std::int64_t byte_position) const {
  const int from = std::max(count_from, 0);
  // The first section past the position; the one before it contains it.
  int low = from;
  int high = Count();
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (GetASection(mid).start_byte_position <= byte_position) low = mid + 1;
    else high = mid;
  }
  if (low == from) return {};
  const int index = low - 1;
  return {GetASection(index).w, index + 1};
}

}  // namespace quill
