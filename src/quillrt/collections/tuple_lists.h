#pragma once
// Lists of 2-, 3- and 4-tuples of int32, with sorts on one, two or three fields.
//
// Every sort is ascending and signed, and sets `sorted`; entries equal on every
// field compared keep their earlier order. A key outside its enumeration makes a
// sort do nothing. AddOne appends whatever `sorted` says: these lists are never
// binary searched, so `sorted` only records that a sort was made.
//
// TripleSort, when keys repeat:
//   4-tuples: first = second uses DoubleSort(first, third) (one key when third is
//             the same too), except (long2, long2, long0), which sorts on long2
//             alone; first != second with third equal to one of them is
//             DoubleSort(first, second).
//   3-tuples: first = second does nothing; otherwise as the 4-tuples.
#include <array>
#include <cstdint>
#include <initializer_list>

#include "quillrt/collections/basic_types.h"
#include "quillrt/collections/list_entries.h"
#include "quillrt/collections/useful_base_list.h"
#include "quillrt/quillrt_export.h"

namespace quill {

enum T2LongintSort : std::uint8_t { t2_long0, t2_long1 };
enum T3LongintSort : std::uint8_t { t3_long0, t3_long1, t3_long2 };
enum T4LongintSort : std::uint8_t { t4_long0, t4_long1, t4_long2, t4_long3 };
// The fields of TTriple_integer_rec.
enum TWhichOf3 : std::uint8_t { on_intg1, on_intg2, on_intg3 };

// What the three tuple lists share: Rec has KeyCount int32 fields named by Key.
template <class Rec, class Holder, class Key, int KeyCount>
class TLongintTupleList : public TUsefulBaseListSorts {
 public:
  TLongintTupleList() : TUsefulBaseListSorts(EntriesClassOf<Holder>()) {}

  int AddOne(const Rec& rec) { return Add(std::make_unique<Holder>(rec)); }

  // Adds freq to field `which` (32-bit wrapping); IncOne adds 1.
  void AddToOneFreq(int index, std::int32_t freq, Key which) {
    auto* entry = this->template EntryAs<Holder>(index);
    if (entry == nullptr || !ValidKey(which)) return;
    std::int32_t& field = Field(entry->data, which);
    field = static_cast<std::int32_t>(static_cast<std::uint32_t>(field) + static_cast<std::uint32_t>(freq));
  }
  void IncOne(int index, Key which) { AddToOneFreq(index, 1, which); }

  // First index whose field `which` equals value (linear, yielding), or -1.
  int LongIndexOf(std::int32_t value, Key which) const {
    if (!ValidKey(which)) return -1;
    for (int i = 0; i < Count(); ++i) {
      MyYieldProcess();
      const auto* entry = this->template EntryAs<Holder>(i);
      if (entry && FieldOf(entry->data, which) == value) return i;
    }
    return -1;
  }

  void SortDefault(Key which) { SortOnKeys({which}); }
  void DoubleSort(Key first, Key second) {
    if (first == second)
      SortDefault(first);
    else
      SortOnKeys({first, second});
  }

 protected:
  static bool ValidKey(Key key) { return static_cast<int>(key) >= 0 && static_cast<int>(key) < KeyCount; }

  static std::int32_t Rec::*Member(Key key) {
    if constexpr (KeyCount == 2) {
      static constexpr std::array<std::int32_t Rec::*, 2> members{&Rec::long0, &Rec::long1};
      return members[key];
    } else if constexpr (KeyCount == 3) {
      static constexpr std::array<std::int32_t Rec::*, 3> members{&Rec::long0, &Rec::long1, &Rec::long2};
      return members[key];
    } else {
      static constexpr std::array<std::int32_t Rec::*, 4> members{&Rec::long0, &Rec::long1, &Rec::long2, &Rec::long3};
      return members[key];
    }
  }
  static std::int32_t& Field(Rec& rec, Key key) { return rec.*Member(key); }
  static std::int32_t FieldOf(const Rec& rec, Key key) { return rec.*Member(key); }

  // Sorts on the keys in turn; does nothing when one of them is invalid.
  void SortOnKeys(std::initializer_list<Key> keys) {
    for (Key key : keys)
      if (!ValidKey(key)) return;
    std::array<std::int32_t Rec::*, 3> members{};
    int used = 0;
    for (Key key : keys) members[static_cast<std::size_t>(used++)] = Member(key);
    SortEntries([&](const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
      const Rec& ra = static_cast<const Holder*>(a)->data;
      const Rec& rb = static_cast<const Holder*>(b)->data;
      for (int k = 0; k < used; ++k) {
        const auto m = members[static_cast<std::size_t>(k)];
        if (ra.*m != rb.*m) return ra.*m < rb.*m ? -1 : 1;
      }
      return 0;
    });
    sorted = true;
  }

  // Three keys with the repeat rules both lists share when first != second.
  void SortOnThreeDistinctFirst(Key first, Key second, Key third) {
    if (third == first || third == second)
      DoubleSort(first, second);
    else
      SortOnKeys({first, second, third});
  }

  void GetRec(int index, Rec& out) const {
    const auto* entry = this->template EntryAs<Holder>(index);
    if (entry) {
      out = entry->data;
      return;
    }
    out = Rec{};
    for (int k = 0; k < KeyCount; ++k) out.*Member(static_cast<Key>(k)) = -1;
  }
  void SetRec(int index, const Rec& rec) {
    if (auto* entry = this->template EntryAs<Holder>(index)) entry->data = rec;
  }
};

class QUILLRT_API T2LongintList : public TLongintTupleList<T2_longint_rec, T2LongIntHolder, T2LongintSort, 2> {
 public:
  T2LongintList();
  ~T2LongintList() override;
  // (-1, -1) for an invalid index.
  void GetADouble(int index, T2_longint_rec& out) const { GetRec(index, out); }
  void SetADouble(int index, const T2_longint_rec& rec) { SetRec(index, rec); }
  // Sum of the field over all entries, 32-bit wrapping.
  std::int32_t TotalOf(T2LongintSort which) const;
};

class QUILLRT_API T3LongintList : public TLongintTupleList<T3_longint_rec, T3LongIntHolder, T3LongintSort, 3> {
 public:
  T3LongintList();
  ~T3LongintList() override;
  // (-1, -1, -1) for an invalid index.
  void GetATriple(int index, T3_longint_rec& out) const { GetRec(index, out); }
  void SetATriple(int index, const T3_longint_rec& rec) { SetRec(index, rec); }
  void TripleSort(T3LongintSort first, T3LongintSort second, T3LongintSort third);
};

class QUILLRT_API T4LongintList : public TLongintTupleList<T4_longint_rec, T4LongIntHolder, T4LongintSort, 4> {
 public:
  T4LongintList();
  ~T4LongintList() override;
  // All four fields -1 for an invalid index.
  void GetAQuad(int index, T4_longint_rec& out) const { GetRec(index, out); }
  void SetAQuad(int index, const T4_longint_rec& rec) { SetRec(index, rec); }
  void TripleSort(T4LongintSort first, T4LongintSort second, T4LongintSort third);
};

}  // namespace quill
