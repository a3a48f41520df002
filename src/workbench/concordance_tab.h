#pragma once
// The Concordance tab: search words (with a help popup), context and
// exclusion words within a horizon, the job run off the window's thread with
// a progress bar and Cancel, lines streaming into the list, totals per search
// word, sorting by the columns, the text behind a line, saving and TSV export.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "job_runner.h"
#include "quilljobs/concordance_job.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;

namespace quill {
class THeaderControl;
}

namespace quill::workbench {

class ConcordanceList;
class CorpusBar;

// Splits a box's text at ";" into its trimmed, non-empty words.
std::vector<std::string> WordsOfBox(const QString& text);

// The lines as TSV: a header row, then number, file, left, hit, right and the
// word, sentence and paragraph numbers; tabs and line breaks in a field become spaces.
std::string ConcordanceTsv(const std::vector<jobs::ConcordanceLine>& lines);

class ConcordanceTab : public QWidget {
 public:
  ConcordanceTab(const CorpusBar& corpus_bar, QWidget* parent = nullptr);
  ~ConcordanceTab() override;

  // Starts a concordance of what the boxes hold; does nothing while one runs.
  void StartSearch();
  void CancelSearch();
  bool Busy() const { return runner_.Running(); }

  ConcordanceList& List() const { return *list_; }
  QLineEdit& SearchBox() const { return *search_; }
  // The totals line under the list ("jury/juries: 69 ...").
  QString TotalsText() const;
  // Whether the last finished run was cancelled.
  bool LastRunCancelled() const { return last_cancelled_; }

  // Heard when a search has ended (finished, cancelled or failed).
  std::function<void()> OnSearchEnded;

  // Opens the text behind line `index`; the window, or null when it could not be read (said in the totals line).
  QWidget* ShowText(std::int32_t index);
  // Saves the lines as a saved concordance / writes them as TSV; false (said) on failure.
  bool SaveTo(const QString& path);
  // Shows the lines of a saved concordance; false (said) when it cannot be loaded.
  bool LoadFrom(const QString& path);
  bool ExportTsvTo(const QString& path);

 protected:
  // A double click on a line, or Enter, opens its text.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Run;
  QWidget* BuildSearchRow();
  QWidget* BuildOptionsRow();
  QWidget* BuildButtonsRow();
  jobs::ConcordanceSettings SettingsFromBoxes() const;
  void TakeArrivedLines();
  void Finished(const std::shared_ptr<Run>& run, std::exception_ptr error);
  void ShowTotals(const jobs::ConcordanceTotals& totals, const std::vector<std::string>& skipped);
  void ShowProblem(const QString& message);
  void SetBusy(bool busy);
  void ShowSyntaxHelp();
  void SaveWithDialog();
  void OpenWithDialog();
  void ExportWithDialog();

  const CorpusBar& corpus_bar_;
  QLineEdit* search_ = nullptr;
  QLineEdit* context_ = nullptr;
  QLineEdit* exclude_ = nullptr;
  QSpinBox* horizon_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* totals_ = nullptr;
  QLabel* sort_label_ = nullptr;
  THeaderControl* header_ = nullptr;
  ConcordanceList* list_ = nullptr;
  QTimer* timer_ = nullptr;
  std::shared_ptr<Run> current_;  // the run in progress
  std::shared_ptr<Run> shown_;    // the run whose lines are shown (its corpus opens their texts)
  bool last_cancelled_ = false;
  JobRunner runner_{this};  // last: stops and joins the job before the rest goes
};

}  // namespace quill::workbench
