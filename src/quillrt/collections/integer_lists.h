#pragma once
// Sortable lists of single numbers and of small number records.
//
// When `sorted` is true a list may be binary searched and its ordered insertion
// keeps the order. Appending (AddOne of the append-only lists, InsertOne) and
// setters clear `sorted` when the new value breaks that order, so a later Find
// never searches an order that no longer holds; appending in order keeps it.
//
// Getters return a fixed empty value for an index that fails IndexAssignedOK and
// setters then do nothing; nothing here raises for a bad index except InsertOne,
// which places an entry and raises EListError when `where` is outside 0..Count().
#include <cstdint>

#include "quillrt/collections/basic_types.h"
#include "quillrt/collections/list_entries.h"
#include "quillrt/collections/useful_base_list.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// int32 values in signed order, with ordered insertion.
class QUILLRT_API TQYLongintList : public TUsefulBaseListSorts {
 public:
  TQYLongintList();
  ~TQYLongintList() override;

  // Ordered insertion when sorted (a new value goes before an equal one), else
  // append. Returns the index the value took.
  int AddOne(std::int32_t value);
  void InsertOne(int where, std::int32_t value);
  // Binary search; sets nearest.
  int Find(std::int32_t value);
  // Find when sorted, else a linear scan for the first equal value.
  int IndexOf(std::int32_t item);
  // Finds the value and removes its entry (slot included) from the list.
  void FindAndFree(std::int32_t value);
  // -1 for an invalid index.
  std::int32_t GetAValue(int index) const;
  int ComparedValues(int a, int b) const override;
  void SortAscendingDefault();
};

// uint32 values in unsigned order; AddOne always appends.
class QUILLRT_API TCardinalList : public TUsefulBaseListSorts {
 public:
  TCardinalList();
  ~TCardinalList() override;

  int AddOne(std::uint32_t value);
  void InsertOne(int where, std::uint32_t value);
  // Binary search (does not set nearest).
  int Find(std::uint32_t value);
  int IndexOf(std::uint32_t item);
  // 0 for an invalid index.
  std::uint32_t GetAValue(int index) const;
  int ComparedValues(int a, int b) const override;
  void SortAscendingDefault();
};

// int64 values in signed order, with ordered insertion.
class QUILLRT_API TQYInt64List : public TUsefulBaseListSorts {
 public:
  TQYInt64List();
  ~TQYInt64List() override;

  int AddOne(std::int64_t value);
  // Binary search; sets nearest.
  int FindInSorted(std::int64_t value);
  int IndexOf(std::int64_t item);
  // -1 for an invalid index.
  std::int64_t GetAValue(int index) const;
  int ComparedValues(int a, int b) const override;
  void SortAscendingDefault();
};

// (int, single) pairs, searched and sorted on the single; AddOne appends.
class QUILLRT_API TIntegerAndSingleList : public TUsefulBaseListSorts {
 public:
  TIntegerAndSingleList();
  ~TIntegerAndSingleList() override;

  int AddOne(const TIntegerAndSingleRec& aData);
  // Binary search on the single field (does not set nearest).
  int Find(float value);
  // Zeros for an invalid index.
  void GetOne(int index, TIntegerAndSingleRec& out) const;
  void SortAscendingDefault();

 protected:
  int ComparedForSearch(int a, int b) const override;
};

// (value, frequency) pairs, searched on the value.
class QUILLRT_API TCardinalAndFreqList : public TUsefulBaseListSorts {
 public:
  TCardinalAndFreqList();
  ~TCardinalAndFreqList() override;

  int AddOne(const TCardinalAndFreq& rec);
  // An entry with rec.c already present has its frequency raised by one (not by
  // rec.f); otherwise rec is inserted in order when sorted, else appended.
  // Returns the entry's index.
  int AddOneOrIncFreq(const TCardinalAndFreq& rec);
  // Binary search on c; sets nearest.
  int Find(std::uint32_t c);
  // Find when sorted, else a linear scan.
  int IndexOf(std::uint32_t c);
  // Zeros for an invalid index.
  void GetACardAndFreq(int index, TCardinalAndFreq& out) const;
  void SetACardAndFreq(int index, const TCardinalAndFreq& rec);
  // Ascending c (unsigned); sets sorted.
  void SortOnCardinals();
  // On f (signed), descending when asked. The list is then no longer in the
  // order of c, so sorted is cleared: AddOneOrIncFreq and IndexOf scan linearly
  // instead of binary searching the wrong order.
  void SortOnFrequencies(bool descending);

 protected:
  int ComparedForSearch(int a, int b) const override;
};

}  // namespace quill
