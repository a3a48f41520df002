#pragma once
// TBackgroundQueue: one worker thread that runs the jobs handed to it strictly
// in the order they came. The chunker hashes on it while its own thread reads
// and writes, so that the two cores share the work of a copy that is checked.
//
// Each job gets a ticket; WaitFor(ticket) returns once that job and every job
// before it has run. A job that throws ends the queue's useful life: the jobs
// after it are skipped and every later WaitFor rethrows the failure. Destroying
// the queue lets the running job finish, drops the rest and joins the thread,
// so whatever the jobs refer to must outlive the queue.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "quillfs/quillfs_export.h"

namespace quill {

class QUILLFS_API TBackgroundQueue {
 public:
  using TTicket = std::uint64_t;

  TBackgroundQueue();
  ~TBackgroundQueue();
  TBackgroundQueue(const TBackgroundQueue&) = delete;
  TBackgroundQueue& operator=(const TBackgroundQueue&) = delete;

  // Queues `job`; its ticket is greater than that of every job before it.
  TTicket Post(std::function<void()> job);
  // True when the job of `ticket` has run (or was skipped after a failure).
  bool Done(TTicket ticket) const;
  // Waits for the job of `ticket` and those before it; rethrows a failure.
  void WaitFor(TTicket ticket);
  // Waits for every job posted so far; rethrows a failure.
  void WaitForAll();

 private:
  void Work();

  mutable std::mutex mutex_;
  std::condition_variable job_posted_;
  std::condition_variable job_done_;
  std::deque<std::function<void()>> jobs_;
  TTicket posted_ = 0;
  TTicket done_ = 0;
  std::exception_ptr failure_;
  bool closing_ = false;
  std::thread worker_;  // last: it starts once everything above exists
};

}  // namespace quill
