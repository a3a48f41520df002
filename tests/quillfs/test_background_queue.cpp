// The worker thread the chunker hashes on: order, waiting, and failures.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "quillfs/background_queue.h"

namespace quill {
namespace {

TEST(BackgroundQueue, RunsJobsInOrderAndWaitsForThem) {
  std::vector<int> ran;
  TBackgroundQueue queue;
  TBackgroundQueue::TTicket last = 0;
  for (int i = 0; i < 200; ++i) last = queue.Post([&ran, i] { ran.push_back(i); });
  queue.WaitFor(last);
  EXPECT_TRUE(queue.Done(last));
  ASSERT_EQ(ran.size(), 200u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);
  queue.WaitForAll();  // nothing left: returns at once
}

TEST(BackgroundQueue, AFailureSkipsTheLaterJobsAndReachesEveryWaiter) {
  bool later_ran = false;
  TBackgroundQueue queue;
  const auto failing = queue.Post([] { throw std::runtime_error("disk on fire"); });
  const auto later = queue.Post([&later_ran] { later_ran = true; });
  EXPECT_THROW(queue.WaitFor(later), std::runtime_error);
  EXPECT_THROW(queue.WaitFor(failing), std::runtime_error);
  EXPECT_THROW(queue.WaitForAll(), std::runtime_error);
  EXPECT_FALSE(later_ran);
}

}  // namespace
}  // namespace quill
