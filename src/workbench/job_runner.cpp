#include "job_runner.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QPushButton>
#include <QSaveFile>
#include <QString>
#include <QWidget>
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

JobControls AddJobControls(QWidget* row, QBoxLayout* layout, const QString& start_text,
                           const std::function<void()>& on_start, const std::function<void()>& on_cancel) {
  JobControls controls;
  controls.start = new QPushButton(start_text, row);
  QObject::connect(controls.start, &QPushButton::clicked, row, [on_start] { on_start(); });
  layout->addWidget(controls.start);
  controls.cancel = new QPushButton(QObject::tr("Cancel"), row);
  controls.cancel->setEnabled(false);
  QObject::connect(controls.cancel, &QPushButton::clicked, row, [on_cancel] { on_cancel(); });
  layout->addWidget(controls.cancel);
  controls.progress = new QProgressBar(row);
  controls.progress->setRange(0, JobControls::kProgressSteps);
  controls.progress->setValue(0);
  controls.progress->setMaximumWidth(160);
  layout->addWidget(controls.progress);
  return controls;
}

int ProgressSteps(const JobRunner& runner) {
  if (runner.Total() <= 0) return 0;
  return static_cast<int>(runner.Done() * JobControls::kProgressSteps / runner.Total());
}

QString JobErrorText(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return QString::fromStdString(e.what());
  }
}

bool WriteWholeFile(const QString& path, const std::string& bytes, QString& error) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) &&
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
      file.commit())
    return true;
  error = file.errorString();
  return false;
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
