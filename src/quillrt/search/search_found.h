#pragma once
// Hit records kept by a tool: a holder for one record and a list of them that
// sorts on the hit's position in its buffer while yielding to the user
// interface.
#include <cstdint>
#include <memory>

#include "quillrt/collections/three_level_sort.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/search/search_engine.h"

namespace quill {

class QUILLRT_API TSearchFoundHolder {
 public:
  explicit TSearchFoundHolder(const TSearchFound_Rec& data) : fData(data) {}
  const TSearchFound_Rec& Data() const { return fData; }
  void SetData(const TSearchFound_Rec& data) { fData = data; }
  // The hit's byte offset in its buffer: where it starts less the buffer's start.
  std::int64_t ByteOffset() const;

  TSearchFound_Rec fData;
};

// Owns its holders (Clear, Delete and destruction free them). The sort key is
// the hit's byte offset in its buffer.
class QUILLRT_API TSearchFoundList : public T3SortYieldingList {
 public:
  TSearchFoundList();
  ~TSearchFoundList() override;
  TSearchFoundList(const TSearchFoundList&) = delete;
  TSearchFoundList& operator=(const TSearchFoundList&) = delete;

  // Appends a holder with a copy of `rec`; returns its index.
  std::int32_t AddOne(const TSearchFound_Rec& rec);
  // The holder at `index`, or null for an index out of range.
  TSearchFoundHolder* GetHolder(std::int32_t index) const;
  // A copy of record `index`, or an empty record for an index out of range.
  TSearchFound_Rec GetOne(std::int32_t index) const;
  // Frees holder `index` and removes it; nothing for an index out of range.
  void Delete(std::int32_t index);
  void Clear() override;

  // Orders the hits by their byte offset (ascending unless told otherwise).
  void SortOnPosition(bool ascending = true);

  void SetBase(void* p, std::int32_t sortvar) override;

 private:
  std::int32_t CompareWithBase(const void* item) const;
  std::int64_t base_offset_ = 0;
};

}  // namespace quill
