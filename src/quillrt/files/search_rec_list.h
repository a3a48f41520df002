#pragma once
// The files of one folder as a sortable list of found-file records, with its
// binary stream form.
//
// Stream form (little-endian): int32 N, then per record: DateTime (double),
// Size (int32), Attr (int32), Number_Within_Zip (int16), 2 bytes of padding
// (written as zeros, ignored when read), ShortName as a counted UTF-16 string.
#include <cstdint>
#include <memory>

#include "quillrt/files/file_records.h"
#include "quillrt/framework/lists.h"
#include "quillrt/framework/streams.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Orders of a record list.
enum TMySearchRecSort : std::uint8_t {
  sr_sort_none,
  sr_sort_by_name,       // ShortName, ASCII letters ignoring case, ascending
  sr_sort_by_date,       // DateTime, newest first
  sr_sort_by_size,       // Size, ascending
  sr_sort_by_attr,       // Attr, ascending
  sr_sort_by_extension,  // the extension of ShortName (from its last dot), as names
};
inline constexpr int kMySearchRecSortCount = 6;

// A list that owns its record holders and knows which order it is in.
// Appending or inserting a record makes the order unknown (sr_sort_none), so
// that Find never searches by halves a list that is no longer in order.
class QUILLRT_API TMySearchRecList : public TObjectList<TMySearchRecHolder> {
 public:
  TMySearchRecList() = default;
  ~TMySearchRecList() override;

  TMySearchRecHolder* Add(std::unique_ptr<TMySearchRecHolder> holder);
  TMySearchRecHolder* Add(const TMySearchRec& rec) { return Add(std::make_unique<TMySearchRecHolder>(rec)); }
  TMySearchRecHolder* Insert(int index, std::unique_ptr<TMySearchRecHolder> holder);

  // Frees every holder; the order becomes sr_sort_none.
  void Clear() override;

  TMySearchRecSort CurrentSort() const { return fSort; }
  // Sorts into the wanted order; nothing happens when the list is in it already.
  void SetSort(TMySearchRecSort wanted);

  // The index of the record with the same Size, DateTime and ShortName (case
  // included), or -1. A sorted list is searched by halves on the order's key;
  // where that key is shared by other records the list is scanned from the start.
  int Find(const TMySearchRec& item) const;
  int IndexOF(const TMySearchRec& item) const { return Find(item); }

  // A copy of record i; a zeroed record for a bad index.
  TMySearchRec GetAMySearchRec(int i) const;

  // Write and read the stream form; both return true. Reading replaces the
  // records and leaves the order unknown; a damaged stream raises EReadError /
  // EStreamError.
  bool SaveToStream(TStream& stream) const;
  bool ReadFromStream(TStream& stream);

  // Three-way comparison of two records by the key of `order` (negative when a
  // goes first).
  static int CompareBy(TMySearchRecSort order, const TMySearchRec& a, const TMySearchRec& b);

 private:
  TMySearchRecSort fSort = sr_sort_none;
};

}  // namespace quill
