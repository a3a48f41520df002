// The yield hook and the waiting loops built on it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "quillrt/process/waiting.h"

namespace quill {
namespace {

// Installs a hook for one test and removes it afterwards.
class WaitingTest : public ::testing::Test {
 protected:
  void TearDown() override { AYieldProcessProc = nullptr; }
  int calls = 0;
};

TEST_F(WaitingTest, YieldCallsTheHookOnlyWhenSet) {
  MyYieldProcess();  // no hook: nothing happens
  AYieldProcessProc = [&] { ++calls; };
  MyYieldProcess();
  MyYieldProcess();
  EXPECT_EQ(calls, 2);
}

TEST_F(WaitingTest, NothingToWaitForReturnsAtOnceWithoutYielding) {
  AYieldProcessProc = [&] { ++calls; };
  const bool done = true;
  const bool busy = false;
  EXPECT_FALSE(WaitTillDone(done, 100));
  EXPECT_FALSE(WaitedFor(busy, 100));
  EXPECT_FALSE(EspereFuncao([] { return false; }, 100));
  EXPECT_FALSE(EspereFuncao(TBoolFunct(), 100));  // no condition at all
  EXPECT_EQ(calls, 0);
}

TEST_F(WaitingTest, HookThatSetsTheFlagEndsTheWait) {
  // The flag is changed only through the hook, while the loop holds a reference.
  bool done = false;
  AYieldProcessProc = [&] {
    if (++calls == 6) done = true;
  };
  EXPECT_FALSE(WaitTillDone(done, 100));
  EXPECT_EQ(calls, 8);  // two rounds of four calls: the flag is tested after each round

  bool busy = true;
  calls = 0;
  AYieldProcessProc = [&] {
    if (++calls == 4) busy = false;
  };
  EXPECT_FALSE(WaitedFor(busy, 100));
  EXPECT_EQ(calls, 4);

  int rounds = 0;
  calls = 0;
  AYieldProcessProc = [&] { ++calls; };
  EXPECT_FALSE(EspereFuncao([&] { return ++rounds < 3; }, 100));
  EXPECT_EQ(rounds, 3);  // tested once at the start and after each of two rounds
  EXPECT_EQ(calls, 8);
}

TEST_F(WaitingTest, NegativeTimeOutGivesUpAfterOneRound) {
  AYieldProcessProc = [&] { ++calls; };
  const bool done = false;
  const bool busy = true;
  EXPECT_TRUE(WaitTillDone(done, -1));
  EXPECT_EQ(calls, 4);
  EXPECT_TRUE(WaitedFor(busy, -5));
  EXPECT_EQ(calls, 8);
  EXPECT_TRUE(EspereFuncao([] { return true; }, -1));
  EXPECT_EQ(calls, 12);
}

TEST_F(WaitingTest, TimeOutReportedEvenWhenTheFlagClearsInTheSameRound) {
  bool busy = true;
  AYieldProcessProc = [&] {
    if (++calls == 4) busy = false;
  };
  EXPECT_TRUE(WaitedFor(busy, -1));
}

TEST_F(WaitingTest, ZeroTimeOutWaitsAWholeSecond) {
  // The only slow test: it must run past one whole second before giving up.
  AYieldProcessProc = [&] {
    ++calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  };
  const bool done = false;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(WaitTillDone(done, 0));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(calls % 4, 0);
  EXPECT_GT(calls, 4);
}

}  // namespace
}  // namespace quill
