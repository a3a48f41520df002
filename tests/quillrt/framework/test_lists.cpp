// The framework's pointer list and owning object list.
#include <gtest/gtest.h>

#include "quillrt/framework/lists.h"

namespace quill {
namespace {

struct Counted {
  explicit Counted(int v, int* live) : value(v), live_count(live) { ++*live_count; }
  ~Counted() { --*live_count; }
  int value;
  int* live_count;
};

std::vector<int> Values(const TObjectList<Counted>& list) {
  std::vector<int> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i] ? list[i]->value : -1);
  return out;
}

TEST(PointerList, OrderOperationsAndBadIndexes) {
  int a = 1, b = 2, c = 3, d = 4;
  TList list;
  list.Add(&a);
  list.Add(&b);
  list.Add(&c);
  list.Insert(0, &d);  // d a b c
  list.Move(0, 3);     // a b c d
  EXPECT_EQ(list[0], &a);
  EXPECT_EQ(list[3], &d);
  list.Move(3, 1);  // a d b c
  EXPECT_EQ(list[1], &d);
  list.Exchange(0, 3);  // c d b a
  EXPECT_EQ(list.IndexOf(&a), 3);
  EXPECT_EQ(list.Remove(&d), 1);
  EXPECT_EQ(list.IndexOf(&d), -1);
  list.Put(1, nullptr);
  list.Pack();
  EXPECT_EQ(list.Count(), 2);

  EXPECT_THROW(list.Get(2), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.Insert(3, &a), EListError);
  try {
    list.Get(7);
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (7)");
  }
}

TEST(ObjectList, OwnsItsObjects) {
  int live = 0;
  {
    TObjectList<Counted> list;
    for (int v : {5, 3, 9, 1}) list.Add(std::make_unique<Counted>(v, &live));
    EXPECT_EQ(live, 4);

    list.Sort([](const Counted* x, const Counted* y) { return x->value - y->value; });
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 5, 9}));

    list.Delete(0);
    EXPECT_EQ(live, 3);
    list.FreeAt(1);  // slot stays, empty, until packed
    EXPECT_EQ(live, 2);
    EXPECT_EQ(Values(list), (std::vector<int>{3, -1, 9}));
    list.Pack();
    EXPECT_EQ(Values(list), (std::vector<int>{3, 9}));

    auto taken = list.Extract(0);
    EXPECT_EQ(taken->value, 3);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(live, 2);
  }
  EXPECT_EQ(live, 0);
}

TEST(ObjectList, SortIsStable) {
  int live = 0;
  TObjectList<Counted> list;
  for (int v : {21, 11, 22, 12, 23}) list.Add(std::make_unique<Counted>(v, &live));
  list.Sort([](const Counted* x, const Counted* y) { return x->value / 10 - y->value / 10; });
  EXPECT_EQ(Values(list), (std::vector<int>{11, 12, 21, 22, 23}));
}

}  // namespace
}  // namespace quill
