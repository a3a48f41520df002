#pragma once
// Work items done on several threads and taken back in their own order: what
// lets a job use every core and still give the output of one thread, byte for
// byte. Each worker has a number (0 .. threads-1) so that it can keep state of
// its own (an engine, a table); the results are handed to `take` on the
// calling thread, item 0 first, as soon as each one and all before it are
// done. The calling thread also hears progress, so that a front-end's
// progress handler is never called from a worker.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "quilljobs/job_control.h"

namespace quill::jobs {

// The threads a job uses for `asked`: 0 means one per core; never more than
// there are items.
inline int WorkerCount(int asked, std::size_t items) {
  int threads = asked > 0 ? asked : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return static_cast<int>(std::clamp<std::size_t>(items, 1, static_cast<std::size_t>(threads)));
}

// Bytes of the corpus done, added to by every worker. Progress is told at
// once when all work is on the calling thread, else by its ticks.
class SharedProgress {
 public:
  SharedProgress(const JobControl& control, std::int64_t total, bool on_calling_thread)
      : control_(control), total_(total), on_calling_thread_(on_calling_thread) {}
  void Add(std::int64_t bytes) {
    const std::int64_t done = done_.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    if (on_calling_thread_) control_.Progress(done, total_);
  }
  void Tell() const { control_.Progress(done_.load(std::memory_order_relaxed), total_); }

 private:
  const JobControl& control_;
  const std::int64_t total_;
  const bool on_calling_thread_;
  std::atomic<std::int64_t> done_{0};
};

template <class Result>
struct OrderedWork {
  std::size_t items = 0;
  int threads = 1;
  // Does item `index` on worker `worker`.
  std::function<Result(std::size_t index, int worker)> work;
  // Takes the results in item order; false stops the work (no further items
  // are started, and the results of those under way are dropped).
  std::function<bool(Result&& result)> take;
  // Asked between items and while waiting: true stops as `take` does.
  std::function<bool()> stopped;
  // Called on the calling thread every so often while workers work (one
  // thread alone can tell its progress itself).
  std::function<void()> tick;
};

namespace detail {

template <class Result>
class OrderedRun {
 public:
  explicit OrderedRun(const OrderedWork<Result>& work)
      : work_(work), ahead_(static_cast<std::size_t>(work.threads) * 4) {}

  void Run() {
    std::vector<std::jthread> workers;
    for (int w = 0; w < work_.threads; ++w) workers.emplace_back([this, w] { Work(w); });
    try {
      TakeInOrder();
    } catch (...) {
      // What `take` raises stops the workers before they are joined.
      StopWorkers();
      throw;
    }
    StopWorkers();
    workers.clear();  // joins
    if (error_) std::rethrow_exception(error_);
  }

 private:
  bool Stopped() const { return work_.stopped && work_.stopped(); }

  void StopWorkers() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    more_room_.notify_all();
  }

  // Each worker takes the next item not yet started, unless it would run too
  // far ahead of the results taken (results wait in memory until then).
  void Work(int worker) {
    for (;;) {
      std::size_t index = 0;
      {
        std::unique_lock lock(mutex_);
        more_room_.wait(lock, [&] { return stop_ || next_ >= work_.items || next_ < taken_ + ahead_; });
        if (stop_ || next_ >= work_.items) return;
        index = next_++;
      }
      try {
        if (Stopped()) throw Stop{};
        Result result = work_.work(index, worker);
        const std::lock_guard lock(mutex_);
        done_.emplace(index, std::move(result));
      } catch (const Stop&) {
        const std::lock_guard lock(mutex_);
        stop_ = true;
      } catch (...) {
        const std::lock_guard lock(mutex_);
        if (!error_) error_ = std::current_exception();
        stop_ = true;
      }
      result_ready_.notify_one();
      more_room_.notify_all();
    }
  }

  void TakeInOrder() {
    using namespace std::chrono_literals;
    std::unique_lock lock(mutex_);
    while (taken_ < work_.items) {
      if (Stopped()) {
        stop_ = true;
        return;
      }
      result_ready_.wait_for(lock, 100ms, [&] { return stop_ || done_.contains(taken_); });
      if (work_.tick) {
        lock.unlock();
        work_.tick();
        lock.lock();
      }
      if (stop_ && !done_.contains(taken_)) return;
      auto found = done_.find(taken_);
      if (found == done_.end()) {
        if (Stopped()) {
          stop_ = true;
          return;
        }
        continue;
      }
      Result result = std::move(found->second);
      done_.erase(found);
      ++taken_;
      lock.unlock();
      more_room_.notify_all();
      const bool go_on = work_.take(std::move(result));
      lock.lock();
      if (!go_on) {
        stop_ = true;
        return;
      }
    }
  }

  struct Stop {};

  const OrderedWork<Result>& work_;
  const std::size_t ahead_;
  std::mutex mutex_;
  std::condition_variable result_ready_, more_room_;
  std::map<std::size_t, Result> done_;
  std::size_t next_ = 0, taken_ = 0;
  bool stop_ = false;
  std::exception_ptr error_;
};

}  // namespace detail

// Runs the work: on the calling thread alone for one thread (no thread is
// started, no tick), else on `threads` workers. What a worker raises stops the work
// and is raised again here.
template <class Result>
void RunInOrder(const OrderedWork<Result>& work) {
  if (work.threads <= 1) {
    for (std::size_t i = 0; i < work.items; ++i) {
      if (work.stopped && work.stopped()) return;
      Result result = work.work(i, 0);
      if (!work.take(std::move(result))) return;
    }
    return;
  }
  detail::OrderedRun<Result>(work).Run();
}

}  // namespace quill::jobs
