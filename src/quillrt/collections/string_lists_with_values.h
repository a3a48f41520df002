#pragma once
// String lists in which every line carries a small value that the list owns: a
// frequency, a single, an integer and a single, or a pair of counts. Getters give
// 0 (or a zero record) for an index out of range; setters and Delete then do
// nothing. Sorts are the framework's custom sort with the orders documented on
// each; lines equal on every key compared keep their earlier order.
#include <cstdint>
#include <memory>
#include <variant>

#include "quillrt/collections/basic_types.h"
#include "quillrt/collections/list_entries.h"
#include "quillrt/collections/string_lists_base.h"
#include "quillrt/collections/tuple_lists.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API TStringListWithALongint : public TOwningIndexCheckStringlist<TLongIntHolder> {
 public:
  ~TStringListWithALongint() override;

  int AddOne(const UnicodeString& S, std::int32_t value);
  std::int32_t GetOne(int index) const;
  void SetOne(int index, std::int32_t value);
  // The largest value; 0 for an empty list or when every value is <= 0.
  std::int32_t HighestFrequency() const;
  // Value descending.
  void SortOnFreq();

  // Replaces the whole content with the lines of `text`. With the CR LF line
  // break a line ends at CR, LF or CR LF; otherwise at each line break. A line
  // "word<TAB>number", whose first TAB is not its first character and whose text
  // after that TAB is a whole decimal int32 (optional sign, digits only), is
  // added as word with that number; any other line is added whole with -1.
  void SetTextStr(const UnicodeString& text) override;
};

class QUILLRT_API TStringListWithASingle : public TOwningIndexCheckStringlist<TSingleHolder> {
 public:
  ~TStringListWithASingle() override;

  int AddOne(const UnicodeString& S, float value);
  float GetOne(int index) const;
  void SetOne(int index, float value);
  // Value descending.
  void SortOnFreq();
};

class QUILLRT_API TStringListWithIntAndSingle : public TOwningIndexCheckStringlist<TIntegerAndSingleHolder> {
 public:
  ~TStringListWithIntAndSingle() override;

  int AddOne(const UnicodeString& S, const TIntegerAndSingleRec& rec);
  void GetOne(int index, TIntegerAndSingleRec& rec) const;
  void SetOne(int index, const TIntegerAndSingleRec& rec);
  // ascending: int ascending, ties by s descending; else int descending, s ascending.
  void SortOnInt(bool ascending);
  // ascending: s ascending, ties by int descending; else s descending, int ascending.
  void SortOnSingle(bool ascending);
  // By UTF-16 code units, ties by s, both in the direction asked.
  void SortOnStrings(bool ascending);
};

// The value of a line of TStringListWith2LongintList: a pair of counts (AddOne)
// or a list of pairs (AddOrIncOne); empty only in a line added by other means.
using T2LongintSlot = std::variant<std::monostate, std::unique_ptr<T2LongIntHolder>, std::unique_ptr<T2LongintList>>;

class QUILLRT_API TStringListWith2LongintList : public TIndexCheckStringlistOf<T2LongintSlot> {
 public:
  ~TStringListWith2LongintList() override;

  // Adds S with a pair of counts.
  int AddOne(const UnicodeString& S, const T2_longint_rec& rec);
  // Appends rec to the list of pairs of the line S (IndexOf, so case-insensitive),
  // adding the line with an empty list first when there is none. Returns the
  // line's index, or -1 when the line S holds a pair rather than a list.
  int AddOrIncOne(const UnicodeString& S, const T2_longint_rec& rec);
  // The list of pairs of a line filled by AddOrIncOne, or null.
  T2LongintList* GetPairList(int index) const;

  // These work on lines filled by AddOne; another line reads as (0, 0).
  void GetOne(int index, T2_longint_rec& rec) const;
  void SetOne(int index, const T2_longint_rec& rec);
  // Adds freq to long1 when which is t2_long1, else to long0 (32-bit wrapping).
  void AddToOneFreq(int index, std::int32_t freq, T2LongintSort which);
  void IncOne(int index, T2LongintSort which);
  // The number of lines whose field `which` is greater than 1.
  int Repeateds(T2LongintSort which) const;
  // long0 descending, ties by long1 ascending.
  void SortOnFreq();

  // Frees the line's value and removes the line; nothing for a bad index.
  void Delete(int Index) override;

 private:
  T2LongIntHolder* PairAt(int index) const;
};

// Lines whose object slot holds an int32 frequency (not an object).
class QUILLRT_API TStringListWithFreqPointers : public TIndexCheckStringlist {
 public:
  ~TStringListWithFreqPointers() override;
  // Frequency descending, ties by the lines' code units ascending.
  void SortOnFreq();
};

}  // namespace quill
