#pragma once
// What the statistics tabs (Keywords, Collocates, Dispersion) share: their
// settings above a row of Start, Cancel, a progress bar and TSV export, the
// score table below, and a totals line. The job runs off the window's thread
// on the tab's JobRunner; a tab says how to make its job and how to show what
// it found.
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "job_runner.h"
#include "quilljobs/corpus.h"
#include "score_table.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTimer;
class QVBoxLayout;

namespace quill::workbench {

class CorpusBar;

// Opens a corpus on the job's thread, noting each input that cannot be read
// as "name: reason" in `skipped` (read by the window once the job has ended).
std::unique_ptr<jobs::Corpus> OpenCorpusNoting(const jobs::CorpusOptions& options, std::vector<std::string>& skipped);

class StatsTab : public QWidget {
 public:
  ~StatsTab() override;

  void Start();
  void Cancel();
  bool Busy() const { return runner_.Running(); }
  ScoreTable& Table() const { return *table_; }
  QString TotalsText() const;
  // Writes the rows as TSV; false (said in the totals line) on failure.
  bool ExportTsvTo(const QString& path);

 protected:
  // A tab's job: the work for the job's thread, and what shows its result on
  // the window's thread once the work has ended without an error.
  struct Job {
    JobRunner::Work work;
    std::function<void()> show;
  };

  StatsTab(const CorpusBar& corpus_bar, std::vector<ScoreColumn> columns, const QString& start_text,
           QWidget* parent);
  // The tab's job from its settings; none (the problem said) when they cannot make one.
  virtual std::optional<Job> MakeJob() = 0;

  // Adds a row of settings above the buttons.
  void AddSettingsRow(QWidget* row);
  // The table's splitter, for a tab that shows more beside the table.
  QSplitter& Body() const { return *body_; }
  const CorpusBar& Corpus() const { return corpus_bar_; }
  void ShowProblem(const QString& message);
  // The totals line: `text`, then the inputs that could not be read, then
  // whether the job was cancelled.
  void ShowTotals(QString text, const std::vector<std::string>& skipped, bool cancelled);

 private:
  QWidget* BuildButtonsRow(const QString& start_text);
  void Ended(const std::function<void()>& show, std::exception_ptr error);
  void SetBusy(bool busy);
  void ExportWithDialog();

  const CorpusBar& corpus_bar_;
  QVBoxLayout* layout_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QSplitter* body_ = nullptr;
  ScoreTable* table_ = nullptr;
  QLabel* totals_ = nullptr;
  QTimer* timer_ = nullptr;
  int settings_rows_ = 0;
  JobRunner runner_{this};  // last: stops and joins the job before the rest goes
};

// Whole numbers grouped by thousands, as the totals lines show them.
QString Grouped(std::int64_t n);

}  // namespace quill::workbench
