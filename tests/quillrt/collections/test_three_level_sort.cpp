#include "quillrt/collections/three_level_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "quillrt/process/yield.h"

namespace quill {
namespace {

struct Row {
  std::array<int, 3> key;
  int id;
};

// A list of rows sorted on key[sortvar], as a tool's derived list would be.
template <class Base>
class RowListOf : public Base {
 public:
  explicit RowListOf(const std::vector<Row>& rows) : rows_(rows) {
    for (Row& r : rows_) this->Add(&r);
  }
  void SetBase(void* p, std::int32_t sortvar) override {
    ++set_base_calls;
    base_ = static_cast<Row*>(p)->key[static_cast<std::size_t>(sortvar)];
    var_ = sortvar;
  }
  TCompareFunctOfObject Compare() {
    return [this](const void* item) {
      const int v = static_cast<const Row*>(item)->key[static_cast<std::size_t>(var_)];
      return v < base_ ? -1 : (v > base_ ? 1 : 0);
    };
  }
  std::vector<std::array<int, 3>> Keys() const {
    std::vector<std::array<int, 3>> keys;
    for (int i = 0; i < this->Count(); ++i) keys.push_back(static_cast<const Row*>(this->Get(i))->key);
    return keys;
  }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (int i = 0; i < this->Count(); ++i) ids.push_back(static_cast<const Row*>(this->Get(i))->id);
    return ids;
  }
  int set_base_calls = 0;

 private:
  std::vector<Row> rows_;
  int base_ = 0;
  std::int32_t var_ = 0;
};
using RowList = RowListOf<T3SortYieldingList>;
using QuietRowList = RowListOf<T3SortNonYieldingList>;

std::vector<Row> RandomRows(int n, int spread, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> d(0, spread - 1);
  std::vector<Row> rows;
  for (int i = 0; i < n; ++i) rows.push_back({{d(rng), d(rng), d(rng)}, i});
  return rows;
}

// The expected keys: a lexicographic sort on the given keys and directions.
std::vector<std::array<int, 3>> Expected(std::vector<Row> rows, std::vector<int> vars, std::array<bool, 3> asc) {
  std::sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
    for (std::size_t level = 0; level < vars.size(); ++level) {
      const int x = a.key[static_cast<std::size_t>(vars[level])], y = b.key[static_cast<std::size_t>(vars[level])];
      if (x != y) return asc[level] ? x < y : x > y;
    }
    return false;
  });
  std::vector<std::array<int, 3>> keys;
  for (const Row& r : rows) keys.push_back(r.key);
  return keys;
}

// Two key lists agree on the keys that were sorted; the others may differ on ties.
void ExpectSameOn(const std::vector<std::array<int, 3>>& got, const std::vector<std::array<int, 3>>& want,
                  const std::vector<int>& vars) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i)
    for (int v : vars) ASSERT_EQ(got[i][static_cast<std::size_t>(v)], want[i][static_cast<std::size_t>(v)]) << i;
}

TEST(ThreeLevelSort, CreatedDescendingAndDirectionsPersist) {
  RowList list(RandomRows(50, 10, 1));
  EXPECT_FALSE(list.BusySorting);
  EXPECT_FALSE(list.sorted);
  for (auto level : {sort_first_sort, sort_second_sort, sort_third_sort}) EXPECT_FALSE(list.GetSortAscending(level));
  list.DoASingleSort(list.Compare(), 0);
  EXPECT_TRUE(list.sorted);
  ExpectSameOn(list.Keys(), Expected(RandomRows(50, 10, 1), {0}, {false, false, false}), {0});

  EXPECT_TRUE(list.ToggledMainSortAscending());
  EXPECT_FALSE(list.ToggledMainSortAscending());
  list.SetSortToAscend(sort_third_sort, true);
  EXPECT_TRUE(list.GetSortAscending(sort_third_sort));
  EXPECT_EQ(list.AscendingSwapped(5), 5);  // first level descending
  list.SetAscending(true, false, false);
  EXPECT_EQ(list.AscendingSwapped(5), -5);
  EXPECT_EQ(list.AscendingSwapped(INT32_MIN), INT32_MIN);
}

TEST(ThreeLevelSort, EverySingleDoubleAndTrebleOrderMatchesALexicographicSort) {
  const auto rows = RandomRows(2000, 6, 7);  // many ties on every key
  for (int mask = 0; mask < 8; ++mask) {
    const std::array<bool, 3> asc = {(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0};
    RowList single(rows), twice(rows), thrice(rows);
    for (RowList* l : {&single, &twice, &thrice}) l->SetAscending(asc[0], asc[1], asc[2]);
    single.DoASingleSort(single.Compare(), 2);
    twice.DoADoubleSort(twice.Compare(), 1, 0);
    thrice.DoATrebleSort(thrice.Compare(), 2, 0, 1);
    ExpectSameOn(single.Keys(), Expected(rows, {2}, asc), {2});
    ExpectSameOn(twice.Keys(), Expected(rows, {1, 0}, asc), {1, 0});
    EXPECT_EQ(thrice.Keys(), Expected(rows, {2, 0, 1}, asc)) << "directions " << mask;
  }
}

TEST(ThreeLevelSort, ThirdKeyNeverCrossesAFirstKeyBoundary) {
  // Adjacent rows of different first keys share the second key: the third key
  // must only reorder rows equal on the first two.
  RowList list({{{2, 1, 9}, 0}, {{1, 1, 2}, 1}, {{1, 1, 5}, 2}, {{2, 1, 1}, 3}});
  list.SetAscending(true, true, true);
  list.DoATrebleSort(list.Compare(), 0, 1, 2);
  EXPECT_EQ(list.Ids(), (std::vector<int>{1, 2, 3, 0}));
}

TEST(ThreeLevelSort, RepeatedKeysCollapseToFewerLevels) {
  const auto rows = RandomRows(500, 5, 3);
  RowList same12(rows), same23(rows), same_all(rows);
  for (RowList* l : {&same12, &same23, &same_all}) l->SetAscending(true, false, true);
  same12.DoATrebleSort(same12.Compare(), 1, 1, 2);  // the second level repeats the first
  same23.DoATrebleSort(same23.Compare(), 0, 2, 2);
  same_all.DoADoubleSort(same_all.Compare(), 0, 0);
  // With first = second, the runs of key 1 are sorted by key 2 at the third level's direction.
  ExpectSameOn(same12.Keys(), Expected(rows, {1, 2}, {true, true, true}), {1, 2});
  ExpectSameOn(same23.Keys(), Expected(rows, {0, 2}, {true, false, true}), {0, 2});
  ExpectSameOn(same_all.Keys(), Expected(rows, {0}, {true, true, true}), {0});
}

TEST(ThreeLevelSort, RangesAreClampedAndAnEmptyRangeDoesNothing) {
  RowList list(RandomRows(40, 100, 9));
  const auto before = list.Ids();
  std::int32_t start = 5, finish = 5;
  EXPECT_FALSE(list.CheckStartAndFinish(start, finish));
  list.DoATrebleSort(list.Compare(), 0, 1, 2, 5, 5);
  EXPECT_EQ(list.Ids(), before);
  EXPECT_EQ(list.set_base_calls, 0);

  start = -3;
  finish = 400;
  EXPECT_TRUE(list.CheckStartAndFinish(start, finish));
  EXPECT_EQ(start, 0);
  EXPECT_EQ(finish, 39);

  list.SetAscending(true, true, true);
  list.DoASingleSort(list.Compare(), 0, 10, 19);
  const auto ids = list.Ids();
  EXPECT_TRUE(std::equal(ids.begin(), ids.begin() + 10, before.begin()));
  EXPECT_TRUE(std::equal(ids.begin() + 20, ids.end(), before.begin() + 20));
  const auto keys = list.Keys();
  EXPECT_TRUE(std::is_sorted(keys.begin() + 10, keys.begin() + 20,
                             [](const auto& a, const auto& b) { return a[0] < b[0]; }));

  RowList empty({});
  empty.DoATrebleSort(empty.Compare(), 0, 1, 2);
  EXPECT_FALSE(empty.sorted);
}

struct HookReset {
  ~HookReset() { AYieldProcessProc = nullptr; }
};

TEST(ThreeLevelSort, ASortStartedFromTheYieldHookDoesNothing) {
  HookReset reset;
  RowList list(RandomRows(300, 20, 4));
  list.SetAscending(true, true, true);
  int hook_calls = 0, nested_set_base_calls = 0;
  bool busy_seen = false;
  AYieldProcessProc = [&] {
    ++hook_calls;
    busy_seen = busy_seen || list.BusySorting;
    const int before = list.set_base_calls;
    const auto ids = list.Ids();
    list.DoASingleSort(list.Compare(), 2);
    list.DoADoubleSort(list.Compare(), 2, 1);
    list.DoATrebleSort(list.Compare(), 2, 1, 0);
    nested_set_base_calls += list.set_base_calls - before;
    EXPECT_EQ(list.Ids(), ids);
  };
  list.DoATrebleSort(list.Compare(), 0, 1, 2);
  EXPECT_GT(hook_calls, 0);
  EXPECT_TRUE(busy_seen);
  EXPECT_EQ(nested_set_base_calls, 0);
  EXPECT_FALSE(list.BusySorting);
  EXPECT_EQ(list.Keys(), Expected(RandomRows(300, 20, 4), {0, 1, 2}, {true, true, true}));
}

TEST(ThreeLevelSort, NonYieldingListEmptiesTheHookAndPutsItBack) {
  HookReset reset;
  int hook_calls = 0;
  AYieldProcessProc = [&] { ++hook_calls; };
  QuietRowList list(RandomRows(300, 20, 5));
  list.DoATrebleSort(list.Compare(), 0, 1, 2);
  EXPECT_EQ(hook_calls, 0);
  ASSERT_TRUE(AYieldProcessProc);
  MyYieldProcess();
  EXPECT_EQ(hook_calls, 1);
  EXPECT_EQ(list.Keys(), Expected(RandomRows(300, 20, 5), {0, 1, 2}, {false, false, false}));

  // A Compare that raises leaves the list idle and the hook in place.
  TCompareFunctOfObject raising = [](const void*) -> std::int32_t { throw std::runtime_error("bad key"); };
  EXPECT_THROW(list.DoASingleSort(raising, 0), std::runtime_error);
  EXPECT_FALSE(list.BusySorting);
  EXPECT_TRUE(AYieldProcessProc);
}

TEST(ThreeLevelSort, AHookThatShrinksTheListStopsTheSortSafely) {
  HookReset reset;
  RowList list(RandomRows(1000, 50, 6));
  int calls = 0;
  AYieldProcessProc = [&] {
    if (++calls == 3)
      while (list.Count() > 10) list.Delete(list.Count() - 1);
  };
  list.DoATrebleSort(list.Compare(), 0, 1, 2);
  EXPECT_EQ(list.Count(), 10);
  EXPECT_FALSE(list.BusySorting);
  // The list sorts normally afterwards.
  AYieldProcessProc = nullptr;
  list.DoASingleSort(list.Compare(), 0);
  const auto keys = list.Keys();
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a[0] > b[0]; }));
}

TEST(ThreeLevelSort, AnInconsistentCompareStaysInsideTheRange) {
  RowList list(RandomRows(500, 500, 8));
  std::mt19937 rng(1);
  TCompareFunctOfObject noise = [&](const void*) { return static_cast<std::int32_t>(rng() % 3) - 1; };
  list.DoATrebleSort(noise, 0, 1, 2);
  // A Compare that never says "equal", not even for the base itself, ends too.
  TCompareFunctOfObject always_before = [](const void*) { return -1; };
  list.SetAscending(true, false, true);
  list.DoATrebleSort(always_before, 0, 1, 2);
  auto ids = list.Ids();
  std::sort(ids.begin(), ids.end());
  for (int i = 0; i < 500; ++i) ASSERT_EQ(ids[static_cast<std::size_t>(i)], i);
}

}  // namespace
}  // namespace quill
