#pragma once
// Lists of small records: words with frequencies and sources, frequencies with
// three values, coloured column strings, string pairs with integers, pointer
// pairs, and the count-less list of 16-bit values.
//
// Getters return a fixed empty value (or leave `out` untouched, where said) for
// an index that fails IndexAssignedOK; setters then do nothing.
#include <cstdint>

#include "quillrt/collections/basic_types.h"
#include "quillrt/collections/list_entries.h"
#include "quillrt/collections/useful_base_list.h"
#include "quillrt/framework/lists.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// (word, frequency, source number) records, read in order through a cursor.
class QUILLRT_API TWordFreqAndSourceNumList : public TUsefulBaseListSorts {
 public:
  TWordFreqAndSourceNumList();
  ~TWordFreqAndSourceNumList() override;

  int AddOne(const TWordFreqAndSourceNum& rec);
  // The record, or an empty one (empty word, zeros) for an invalid index.
  TWordFreqAndSourceNum GetOne(int index) const;
  // The record at the cursor (an empty one past the end); the cursor then
  // advances by one either way.
  TWordFreqAndSourceNum GetNext();
  // The largest frequency; 0 for an empty list or when none is above 0.
  std::int32_t HighestFrequency() const;
  // Descending frequency; sets sorted.
  void SortOnFreqs();
  // Also puts the cursor back to 0.
  void Clear() override;

  // The read cursor of GetNext (0 at creation and after Clear).
  std::int32_t this_ = 0;
};

// (freq, three uint32) records; not sortable by flag.
class QUILLRT_API TIntegerAnd3CardinalsList : public TUsefulBaseList {
 public:
  TIntegerAnd3CardinalsList();
  ~TIntegerAnd3CardinalsList() override;

  int AddOne(const TIntegerAnd3CardinalsRec& aData);
  // Leaves `out` untouched for an invalid index.
  void GetAValue(int index, TIntegerAnd3CardinalsRec& out) const;
  void SetAFreq(int index, std::int32_t value);
  // Ascending freq, compared as unsigned.
  void SortAscendingDefault();
};

class QUILLRT_API TStringColumnAndColourList : public TUsefulBaseList {
 public:
  TStringColumnAndColourList();
  ~TStringColumnAndColourList() override;

  int AddOne(const TStringColumnAndColourRec& rec);
  UnicodeString GetAString(int index) const;        // empty when invalid
  std::int32_t GetAColumn(int index) const;         // -1 when invalid
  std::int32_t GetABackgroundColour(int index) const;  // -1 when invalid
  TStringColumnAndColourRec GetAStringColumnAndColour(int index) const;  // zero record when invalid
  void SetAString(int index, const UnicodeString& s);
  void SetAColumn(int index, std::int32_t column);
  void SetABackgroundColour(int index, std::int32_t colour);
  void SetAStringColumnAndColour(int index, const TStringColumnAndColourRec& rec);
};

class QUILLRT_API T2StringsAnd2IntegersList : public TUsefulBaseList {
 public:
  T2StringsAnd2IntegersList();
  ~T2StringsAnd2IntegersList() override;

  int AddOne(const T2StringsAnd2IntegersRec& rec);
  // Zero record when invalid.
  T2StringsAnd2IntegersRec GetTwoStringsAndInt(int index) const;
};

// Pairs of pointers the list does not own. Saved lists keep only the count: a
// list read back holds that many null pairs.
class QUILLRT_API TDoublePointerList : public TUsefulBaseList {
 public:
  TDoublePointerList();
  ~TDoublePointerList() override;

  int AddOne(const T2_Pointer& pointers);
  // Leaves `out` untouched for an invalid index.
  void GetADoublePointer(int index, T2_Pointer& out) const;
  void SetADoublePointer(int index, const T2_Pointer& pointers);
};

// int16 values on a plain owning list. Its stream carries no count: the values
// follow one another, two bytes each, and the reader is told how many to read.
class QUILLRT_API TSmallintList : public TObjectList<TSmallIntHolder> {
 public:
  TSmallintList();
  ~TSmallintList() override;

  int AddOne(std::int16_t value);
  // 0 for an invalid index or an emptied slot.
  std::int16_t GetAValue(int index) const;

  // Reads n values and appends them. n is taken as a signed 16-bit number (its
  // low 16 bits), so 70000 reads 4464 values and 40000 reads none. A stream that
  // ends early gives false; the values read whole before it stay in the list.
  bool ReadFromStream(std::int32_t n, TStream& stream);
  // Writes every value (an emptied slot as 0, so the stream keeps one value per
  // slot); false when the stream fails.
  bool SaveToStream(TStream& stream) const;
  void Clear() override;
};

}  // namespace quill
