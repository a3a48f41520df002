#pragma once
// The Word list and N-grams tabs: the counting job run off the window's
// thread with a progress bar and Cancel, the items with their frequencies in
// a styled column list (click a column to sort on it), and saving the list.
#include <QWidget>
#include <memory>
#include <vector>

#include "job_runner.h"
#include "quilljobs/frequency_jobs.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;

namespace quill {
class THeaderControl;
class TStyledColumnListbox;
}  // namespace quill

namespace quill::workbench {

class CorpusBar;

enum class FrequencyKind { word_list, n_grams };

class FrequencyTab : public QWidget {
 public:
  FrequencyTab(FrequencyKind kind, const CorpusBar& corpus_bar, QWidget* parent = nullptr);
  ~FrequencyTab() override;

  void StartCounting();
  void CancelCounting();
  bool Busy() const { return runner_.Running(); }

  TStyledColumnListbox& List() const { return *list_; }
  const std::vector<jobs::FrequencyItem>& Items() const { return items_; }
  QString TotalsText() const;
  // Saves the list as a saved word list; false (said) on failure.
  bool SaveTo(const QString& path);

 protected:
  // The columns take their shares of the list's width whenever it changes size.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Run;
  QWidget* BuildControlsRow();
  void Finished(const std::shared_ptr<Run>& run, std::exception_ptr error);
  void ShowItems();
  bool SortOnColumn(std::int32_t column);
  void ShowProblem(const QString& message);
  void SetBusy(bool busy);
  void SaveWithDialog();
  int WordsPerItem() const;
  void SizeColumns();

  const FrequencyKind kind_;
  const CorpusBar& corpus_bar_;
  QSpinBox* n_ = nullptr;  // n-grams only
  QCheckBox* by_frequency_ = nullptr;
  QSpinBox* min_frequency_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  THeaderControl* header_ = nullptr;
  TStyledColumnListbox* list_ = nullptr;
  QLabel* totals_ = nullptr;
  QTimer* timer_ = nullptr;
  std::vector<jobs::FrequencyItem> items_;
  std::unique_ptr<TStringList> saved_form_;  // the list as the job made it, for saving
  int saved_words_per_item_ = 1;
  JobRunner runner_{this};  // last: stops and joins the job before the rest goes
};

}  // namespace quill::workbench
