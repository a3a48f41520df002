#pragma once
// Runs one job at a time on a thread of its own, so that the window keeps
// answering: the job sees a cancel flag and reports progress into atomics the
// window reads on its own timer; its end (or its error) is handed back on the
// thread of the window that owns the runner.
#include <QObject>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <thread>

#include "quilljobs/job_control.h"

class QAbstractButton;
class QBoxLayout;
class QProgressBar;
class QPushButton;
class QString;
class QTimer;
class QWidget;

namespace quill::workbench {

class JobRunner {
 public:
  using Work = std::function<void(const jobs::JobControl& control)>;
  // Hears the end of the work on the owner's thread: no error, or what the work threw.
  using Finished = std::function<void(std::exception_ptr error)>;

  // Ends are delivered to `owner`'s thread. The runner must be a member of
  // the owner (or otherwise die before it): its destructor joins the job's
  // thread, and the owner's end then drops any end still queued.
  explicit JobRunner(QObject* owner);
  // Asks a running job to stop and waits for it.
  ~JobRunner();
  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // Starts `work`; false (and nothing started) while another job runs.
  bool Start(Work work, Finished finished);
  void Cancel() { cancel_.store(true); }
  bool Running() const { return running_; }
  bool CancelAsked() const { return cancel_.load(); }
  // Bytes done out of the total, as last reported (0/0 before any report).
  std::int64_t Done() const { return done_.load(); }
  std::int64_t Total() const { return total_.load(); }

 private:
  void Join();

  QObject* owner_;
  std::thread thread_;
  std::atomic<bool> cancel_{false};
  std::atomic<std::int64_t> done_{0};
  std::atomic<std::int64_t> total_{0};
  bool running_ = false;  // touched on the owner's thread only
};

// The controls of a tab's job: its Start and Cancel buttons and its progress
// bar, which counts kProgressSteps for the whole job.
struct JobControls {
  static constexpr int kProgressSteps = 1000;
  QPushButton* start = nullptr;
  QPushButton* cancel = nullptr;
  QProgressBar* progress = nullptr;
};

// Adds a job's controls to `layout` (children of `row`): pressing Start calls
// `on_start`, pressing Cancel `on_cancel`; Cancel starts disabled.
JobControls AddJobControls(QWidget* row, QBoxLayout* layout, const QString& start_text,
                           const std::function<void()>& on_start, const std::function<void()>& on_cancel);

// The progress bar's value for the runner's last report.
int ProgressSteps(const JobRunner& runner);

// The controls of a tab's job while it runs or rests: Start and Cancel
// enabled in turn, the progress bar emptied, and the timer that reads the
// runner's progress running while the job does.
void ShowJobBusy(bool busy, QAbstractButton* start, QAbstractButton* cancel, QProgressBar* progress, QTimer* timer);

// What a job raised (a std::exception), as the window shows it.
QString JobErrorText(std::exception_ptr error);

// Writes `bytes` as the whole of the file at `path`, aside and renamed into
// place, so that a failure leaves no half-written file (and any older one as
// it was); false with the reason in `error`.
bool WriteWholeFile(const QString& path, const std::string& bytes, QString& error);

}  // namespace quill::workbench
