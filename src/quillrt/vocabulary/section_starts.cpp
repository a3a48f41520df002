#include "quillrt/vocabulary/section_starts.h"

#include <algorithm>
#include <vector>

#include "quillrt/collections/stream_forms.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/vocabulary/list_kinds.h"
#include "quillrt/vocabulary/saved_list_header.h"

namespace quill {
namespace {

// A section-starts file opens with the saved-list header of the running tool and
// the section-list kind.
bool WriteSectionListHeader(TStream& stream) {
  TCheckSignature sig{};
  return DiskSignatureISOKForToolAndList(sig, current_tool_var, lt_sections_list, stream, writing);
}

bool ReadSectionListHeader(TStream& stream) {
  TCheckSignature sig{};
  return DiskSignatureISOKForToolAndList(sig, current_tool_var, lt_sections_list, stream, reading);
}

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
