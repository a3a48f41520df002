#include "quillfs/background_queue.h"

#include <utility>

namespace quill {

TBackgroundQueue::TBackgroundQueue() : worker_([this] { Work(); }) {}

TBackgroundQueue::~TBackgroundQueue() {
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
    jobs_.clear();
  }
  job_posted_.notify_one();
  worker_.join();
}

TBackgroundQueue::TTicket TBackgroundQueue::Post(std::function<void()> job) {
  TTicket ticket = 0;
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
    ticket = ++posted_;
  }
  job_posted_.notify_one();
  return ticket;
}

bool TBackgroundQueue::Done(TTicket ticket) const {
  const std::lock_guard lock(mutex_);
  return done_ >= ticket;
}

void TBackgroundQueue::WaitFor(TTicket ticket) {
  std::unique_lock lock(mutex_);
  job_done_.wait(lock, [&] { return done_ >= ticket || failure_; });
  if (failure_) std::rethrow_exception(failure_);
}

void TBackgroundQueue::WaitForAll() {
  TTicket last = 0;
  {
    const std::lock_guard lock(mutex_);
    last = posted_;
  }
  WaitFor(last);
}

void TBackgroundQueue::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    job_posted_.wait(lock, [&] { return closing_ || !jobs_.empty(); });
    if (closing_) return;
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    if (!failure_) {
      lock.unlock();
      std::exception_ptr thrown;
      try {
        job();
      } catch (...) {
        thrown = std::current_exception();
      }
      lock.lock();
      if (thrown) failure_ = thrown;
    }
    ++done_;
    job_done_.notify_all();
  }
}

}  // namespace quill
