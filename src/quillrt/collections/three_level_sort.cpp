#include "quillrt/collections/three_level_sort.h"

#include <utility>

#include "quillrt/process/yield.h"

namespace quill {

namespace {

Tsort_num NextLevel(Tsort_num level) {
  return level == sort_first_sort ? sort_second_sort : sort_third_sort;
}

}  // namespace

// Marks the list busy for the length of one public sort, also when a Compare or
// SetBase of the derived class raises.
class T3SortYieldingList::BusyScope {
 public:
  explicit BusyScope(T3SortYieldingList& list) : list_(list) {
    list_.BusySorting = true;
    list_.abandoned_ = false;
  }
  ~BusyScope() { list_.BusySorting = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  T3SortYieldingList& list_;
};

T3SortYieldingList::T3SortYieldingList() = default;
T3SortYieldingList::~T3SortYieldingList() = default;

void T3SortYieldingList::SetAscending(bool first_sort, bool second_sort, bool third_sort) {
  fAscending = {first_sort, second_sort, third_sort};
}

void T3SortYieldingList::SetSortToAscend(Tsort_num srt, bool Value) {
  if (srt <= sort_third_sort) fAscending[srt] = Value;
}

bool T3SortYieldingList::ToggledMainSortAscending() {
  fAscending[sort_first_sort] = !fAscending[sort_first_sort];
  return fAscending[sort_first_sort];
}

std::int32_t T3SortYieldingList::AscendingSwapped(std::int32_t comparison) const {
  // Written as 0 - x in unsigned arithmetic so that INT32_MIN does not overflow.
  if (!fAscending[current_sort_rec.current_sort_doing]) return comparison;
  return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(comparison));
}

bool T3SortYieldingList::CheckStartAndFinish(std::int32_t& start, std::int32_t& finish) const {
  if (start < 0) start = 0;
  if (finish > Count() - 1) finish = Count() - 1;
  return start < finish;
}

void T3SortYieldingList::SetBase(void*, std::int32_t) {}

std::int32_t T3SortYieldingList::Probe(const TCompareFunctOfObject& Compare, std::int32_t index) {
  comparison_itemnum = index;
  return Compare(items_[static_cast<std::size_t>(index)]);
}

std::int32_t T3SortYieldingList::ChooseBase(std::int32_t sortvar, std::int32_t start, std::int32_t finish,
                                           const TCompareFunctOfObject& Compare) {
  const std::int32_t mid =
      static_cast<std::int32_t>((static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(finish)) >> 1);
  if (finish - start < kMedianOfThreeFrom) return mid;
  // The median of the first, middle and last items: the same in either direction.
  SetBase(items_[static_cast<std::size_t>(mid)], sortvar);
  const std::int32_t first = Probe(Compare, start);
  const std::int32_t last = Probe(Compare, finish);
  if (first == 0 || last == 0 || (first < 0) != (last < 0)) return mid;
  SetBase(items_[static_cast<std::size_t>(start)], sortvar);
  const bool last_after_first = Probe(Compare, finish) > 0;
  // Both ends on the same side of the middle item: the median is the end nearer it.
  if (first < 0) return last_after_first ? finish : start;
  return last_after_first ? start : finish;
}

void T3SortYieldingList::InsertionSort(std::int32_t sortvar, std::int32_t start, std::int32_t finish, bool ascending,
                                       const TCompareFunctOfObject& Compare) {
  for (std::int32_t i = start + 1; i <= finish; ++i) {
    void* item = items_[static_cast<std::size_t>(i)];
    base_itemnum = i;
    SetBase(item, sortvar);
    std::int32_t j = i;
    while (j > start) {
      const std::int32_t c = Probe(Compare, j - 1);
      if (!(ascending ? c > 0 : c < 0)) break;
      items_[static_cast<std::size_t>(j)] = items_[static_cast<std::size_t>(j - 1)];
      --j;
    }
    items_[static_cast<std::size_t>(j)] = item;
  }
}

void T3SortYieldingList::TempQuickSort(std::int32_t sortvar, std::int32_t start, std::int32_t finish,
                                       const TCompareFunctOfObject& Compare) {
  const bool ascending = fAscending[current_sort_rec.current_sort_doing];
  // Whether a comparison says "stands before the base" in this level's direction.
  const auto before = [ascending](std::int32_t c) { return ascending ? c < 0 : c > 0; };
  const auto after = [ascending](std::int32_t c) { return ascending ? c > 0 : c < 0; };
  while (start < finish) {
    MyYieldProcess();
    if (abandoned_ || finish >= Count()) {
      abandoned_ = true;
      return;
    }
    if (finish - start < kInsertionSortBelow) {
      InsertionSort(sortvar, start, finish, ascending, Compare);
      return;
    }
    base_itemnum = ChooseBase(sortvar, start, finish, Compare);
    SetBase(items_[static_cast<std::size_t>(base_itemnum)], sortvar);
    // One pass splits the range three ways: items before the base, items equal to
    // it (which need no further sorting at this level: runs of equal keys are
    // common in word lists) and items after it.
    std::int32_t lt = start;
    std::int32_t i = start;
    std::int32_t gt = finish;
    while (i <= gt) {
      const std::int32_t c = Probe(Compare, i);
      if (before(c)) {
        std::swap(items_[static_cast<std::size_t>(lt++)], items_[static_cast<std::size_t>(i++)]);
      } else if (after(c)) {
        std::swap(items_[static_cast<std::size_t>(i)], items_[static_cast<std::size_t>(gt--)]);
      } else {
        ++i;
      }
    }
    // The base is equal to itself, so the middle part is never empty unless the
    // Compare is not a consistent order; stop there rather than loop.
    if (lt > gt) return;
    // Recurse into the smaller part and loop on the larger, so the depth stays
    // logarithmic; the parts are independent, so the outcome is the same.
    if (lt - start < finish - gt) {
      TempQuickSort(sortvar, start, lt - 1, Compare);
      start = gt + 1;
    } else {
      TempQuickSort(sortvar, gt + 1, finish, Compare);
      finish = lt - 1;
    }
  }
}

void T3SortYieldingList::DoAPrivateSort(const TCompareFunctOfObject& Compare, std::int32_t sortvar,
                                        std::int32_t start, std::int32_t finish) {
  sorted = true;
  current_sort_rec.current_sort_var = sortvar;
  TempQuickSort(sortvar, start, finish, Compare);
}

void T3SortYieldingList::SortRuns(std::int32_t previous, std::int32_t next, const std::int32_t* then_var,
                                  std::int32_t start, std::int32_t finish, const TCompareFunctOfObject& Compare) {
  if (previous == next) return;
  const Tsort_num level = current_sort_rec.current_sort_doing;
  current_sort_rec.current_sort_var = previous;
  std::int32_t c = start;
  while (!abandoned_ && c < finish) {
    if (finish >= Count()) {
      abandoned_ = true;
      return;
    }
    base_itemnum = c;
    SetBase(items_[static_cast<std::size_t>(c)], previous);
    std::int32_t i = c;
    while (i + 1 <= finish && Probe(Compare, i + 1) == 0) ++i;
    if (i > c) {
      current_sort_rec.current_sort_doing = NextLevel(level);
      current_sort_rec.current_sort_var = next;
      DoAPrivateSort(Compare, next, c, i);
      if (then_var != nullptr) SortRuns(next, *then_var, nullptr, c, i, Compare);
      current_sort_rec.current_sort_doing = level;
      current_sort_rec.current_sort_var = previous;
    }
    c = i + 1;
  }
}

void T3SortYieldingList::DoNextSort(std::int32_t previous, std::int32_t next, std::int32_t start,
                                    std::int32_t finish, const TCompareFunctOfObject& Compare) {
  SortRuns(previous, next, nullptr, start, finish, Compare);
}

void T3SortYieldingList::DoASingleSort(const TCompareFunctOfObject& Compare, std::int32_t sortvar,
                                       std::int32_t start, std::int32_t finish) {
  if (BusySorting) return;
  BusyScope busy(*this);
  if (!CheckStartAndFinish(start, finish)) return;
  current_sort_rec.current_sort_doing = sort_first_sort;
  DoAPrivateSort(Compare, sortvar, start, finish);
}

void T3SortYieldingList::DoASingleSort(const TCompareFunctOfObject& Compare, std::int32_t sortvar) {
  DoASingleSort(Compare, sortvar, 0, Count() - 1);
}

void T3SortYieldingList::DoADoubleSort(const TCompareFunctOfObject& Compare, std::int32_t SortVarFirst,
                                       std::int32_t SortVarSecond, std::int32_t start, std::int32_t finish) {
  if (BusySorting) return;
  BusyScope busy(*this);
  if (!CheckStartAndFinish(start, finish)) return;
  current_sort_rec.current_sort_doing = sort_first_sort;
  DoAPrivateSort(Compare, SortVarFirst, start, finish);
  SortRuns(SortVarFirst, SortVarSecond, nullptr, start, finish, Compare);
}

void T3SortYieldingList::DoADoubleSort(const TCompareFunctOfObject& Compare, std::int32_t SortVarFirst,
                                       std::int32_t SortVarSecond) {
  DoADoubleSort(Compare, SortVarFirst, SortVarSecond, 0, Count() - 1);
}

void T3SortYieldingList::DoATrebleSort(const TCompareFunctOfObject& Compare, std::int32_t SortVarFirst,
                                       std::int32_t SortVarSecond, std::int32_t SortVarThird, std::int32_t start,
                                       std::int32_t finish) {
  if (BusySorting) return;
  BusyScope busy(*this);
  if (!CheckStartAndFinish(start, finish)) return;
  current_sort_rec.current_sort_doing = sort_first_sort;
  DoAPrivateSort(Compare, SortVarFirst, start, finish);
  if (SortVarFirst != SortVarSecond) {
    SortRuns(SortVarFirst, SortVarSecond, &SortVarThird, start, finish, Compare);
  } else {
    // The second key repeats the first: its runs are the first key's runs.
    current_sort_rec.current_sort_doing = sort_second_sort;
    SortRuns(SortVarSecond, SortVarThird, nullptr, start, finish, Compare);
  }
}

void T3SortYieldingList::DoATrebleSort(const TCompareFunctOfObject& Compare, std::int32_t SortVarFirst,
                                       std::int32_t SortVarSecond, std::int32_t SortVarThird) {
  DoATrebleSort(Compare, SortVarFirst, SortVarSecond, SortVarThird, 0, Count() - 1);
}

// ---- T3SortNonYieldingList --------------------------------------------------

T3SortNonYieldingList::~T3SortNonYieldingList() = default;

void T3SortNonYieldingList::DoAPrivateSort(const TCompareFunctOfObject& Compare, std::int32_t sortvar,
                                           std::int32_t start, std::int32_t finish) {
  // Swap the hook out for the pass and back in afterwards, also on an exception.
  struct HookSwap {
    TYieldProcessProc saved = std::exchange(AYieldProcessProc, TYieldProcessProc{});
    ~HookSwap() { AYieldProcessProc = std::move(saved); }
  } swap;
  T3SortYieldingList::DoAPrivateSort(Compare, sortvar, start, finish);
}

}  // namespace quill
