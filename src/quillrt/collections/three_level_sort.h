#pragma once
// A pointer list that sorts itself on up to three keys while yielding to the
// user interface.
//
// The list does not know its items: a derived class records the key of the base
// item in SetBase (by value, since items move during a pass) and supplies a
// Compare that orders one item against that base on the key last recorded:
// negative when the item comes before the base in ascending order, zero when
// equal, positive after. Each level has its own direction (all descending after
// construction).
//
// A sort is one unstable quicksort on the first key, then a quicksort of every
// run of items equal on the first key by the second key, then of every run equal
// on the first two keys by the third. The quicksort splits each range three ways
// around its base (before, equal, after), so runs of equal keys cost one pass,
// and finishes short ranges by insertion. Each partition pass calls the yield
// hook once; a sort requested while one is running (from the hook) does nothing.
// T3SortNonYieldingList empties the hook while it sorts instead.
#include <array>
#include <cstdint>

#include "quillrt/framework/lists.h"
#include "quillrt/process/callbacks.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The three levels of a sort.
enum Tsort_num : std::uint8_t { sort_first_sort, sort_second_sort, sort_third_sort };

// One direction per level: true for ascending.
using TAscendingSort = std::array<bool, 3>;

// The level being sorted and its key number.
struct TCurrentSortRec {
  Tsort_num current_sort_doing = sort_first_sort;
  std::int32_t current_sort_var = 0;
};

class QUILLRT_API T3SortYieldingList : public TPointerList<void> {
 public:
  T3SortYieldingList();
  ~T3SortYieldingList() override;

  void SetAscending(bool first_sort, bool second_sort, bool third_sort);
  void SetSortToAscend(Tsort_num srt, bool Value);
  bool GetSortAscending(Tsort_num srt) const { return fAscending[srt]; }
  // Inverts the first level's direction; true when it is now ascending.
  bool ToggledMainSortAscending();
  // -comparison when the level being sorted is ascending, comparison otherwise.
  std::int32_t AscendingSwapped(std::int32_t comparison) const;
  // Clamps start to >= 0 and finish to <= Count()-1; true when start < finish.
  bool CheckStartAndFinish(std::int32_t& start, std::int32_t& finish) const;

  // Sorts start..finish on one key (at the first level) with the partition passes
  // of the quicksort; the building block of the public sorts.
  virtual void DoAPrivateSort(const TCompareFunctOfObject& Compare, std::int32_t sortvar, std::int32_t start,
                              std::int32_t finish);
  // Records the key `sortvar` of item p as the base of the following comparisons.
  // Does nothing here: derived classes override it.
  virtual void SetBase(void* p, std::int32_t sortvar);

  virtual void DoASingleSort(const TCompareFunctOfObject& Compare, std::int32_t sortvar, std::int32_t start,
                             std::int32_t finish);
  virtual void DoASingleSort(const TCompareFunctOfObject& Compare, std::int32_t sortvar);
  virtual void DoADoubleSort(const TCompareFunctOfObject& Compare, std::int32_t SortVarFirst,
                             std::int32_t SortVarSecond, std::int32_t start, std::int32_t finish);
  virtual void DoADoubleSort(const TCompareFunctOfObject& Compare, std::int32_t SortVarFirst,
                             std::int32_t SortVarSecond);
  virtual void DoATrebleSort(const TCompareFunctOfObject& Compare, std::int32_t SortVarFirst,
                             std::int32_t SortVarSecond, std::int32_t SortVarThird, std::int32_t start,
                             std::int32_t finish);
  virtual void DoATrebleSort(const TCompareFunctOfObject& Compare, std::int32_t SortVarFirst,
                             std::int32_t SortVarSecond, std::int32_t SortVarThird);

  bool BusySorting = false;          // a sort is running
  TCurrentSortRec current_sort_rec;  // the level being sorted and its key
  bool sorted = false;               // set by the first partition pass, never cleared here
  std::int32_t comparison_itemnum = 0;  // index of the item being compared with the base
  std::int32_t base_itemnum = 0;        // index of the item chosen as base

 protected:
  // Sorts, by the key `next`, every run of adjacent items in start..finish that
  // are equal by the key `previous`, at the level after the current one.
  void DoNextSort(std::int32_t previous, std::int32_t next, std::int32_t start, std::int32_t finish,
                  const TCompareFunctOfObject& Compare);
  void TempQuickSort(std::int32_t sortvar, std::int32_t start, std::int32_t finish,
                     const TCompareFunctOfObject& Compare);

  TAscendingSort fAscending{};

 private:
  class BusyScope;
  // DoNextSort; when `then_var` is given, each run sorted by `next` has its own
  // runs equal by `next` sorted by *then_var, so that the third key never moves
  // items across a boundary of the first.
  void SortRuns(std::int32_t previous, std::int32_t next, const std::int32_t* then_var, std::int32_t start,
                std::int32_t finish, const TCompareFunctOfObject& Compare);
  std::int32_t Probe(const TCompareFunctOfObject& Compare, std::int32_t index);
  // The base of a partition pass: the middle item, or for longer ranges the
  // median of the first, middle and last items (fewer comparisons on the whole).
  std::int32_t ChooseBase(std::int32_t sortvar, std::int32_t start, std::int32_t finish,
                          const TCompareFunctOfObject& Compare);
  // Short ranges are sorted by insertion: each item in turn is the base.
  void InsertionSort(std::int32_t sortvar, std::int32_t start, std::int32_t finish, bool ascending,
                     const TCompareFunctOfObject& Compare);

  static constexpr std::int32_t kInsertionSortBelow = 12;  // finish - start below this
  static constexpr std::int32_t kMedianOfThreeFrom = 40;

  // Set when the yield hook shrank the list under a running sort: the sort stops
  // rather than read past the end.
  bool abandoned_ = false;
};

// The same sorts with the yield hook emptied while they run, for callers that
// must not re-enter the message loop.
class QUILLRT_API T3SortNonYieldingList : public T3SortYieldingList {
 public:
  ~T3SortNonYieldingList() override;
  void DoAPrivateSort(const TCompareFunctOfObject& Compare, std::int32_t sortvar, std::int32_t start,
                      std::int32_t finish) override;
};

}  // namespace quill
