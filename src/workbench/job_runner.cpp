#include "job_runner.h"

#include <QAbstractButton>
#include <QMetaObject>
#include <QProgressBar>
#include <QTimer>

namespace quill::workbench {

JobRunner::JobRunner(QObject* owner) : owner_(owner) {}

JobRunner::~JobRunner() {
  cancel_.store(true);
  Join();
}

void JobRunner::Join() {
  if (thread_.joinable()) thread_.join();
}

bool JobRunner::Start(Work work, Finished finished) {
  if (running_) return false;
  Join();  // the last job's thread has ended but may not have been joined
  cancel_.store(false);
  done_.store(0);
  total_.store(0);
  running_ = true;
  thread_ = std::thread([this, work = std::move(work), finished = std::move(finished)] {
    jobs::JobControl control;
    control.cancel = &cancel_;
    control.on_progress = [this](std::int64_t done, std::int64_t total) {
      total_.store(total);
      done_.store(done);
    };
    std::exception_ptr error;
    try {
      work(control);
    } catch (...) {
      error = std::current_exception();
    }
    // Queued to the owner's thread; should the owner be on its way out, the
    // runner's destructor joins this thread and Qt drops the queued call.
    QMetaObject::invokeMethod(
        owner_,
        [this, finished, error] {
          Join();
          running_ = false;
          finished(error);
        },
        Qt::QueuedConnection);
  });
  return true;
}

void ShowJobBusy(bool busy, QAbstractButton* start, QAbstractButton* cancel, QProgressBar* progress, QTimer* timer) {
  start->setEnabled(!busy);
  cancel->setEnabled(busy);
  progress->setValue(0);
  if (busy)
    timer->start();
  else
    timer->stop();
}

}  // namespace quill::workbench
