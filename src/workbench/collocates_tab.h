#pragma once
// The Collocates tab: the words met within a span around a node word (or
// several, counted as one node), with how often they are met there (O), what
// chance would give (E), and the association scores; thresholds a collocate
// must reach, and the ranking.
#include "quilljobs/collocates_job.h"
#include "stats_tab.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace quill::workbench {

// Thresholds written "mi=3; t=2": each statistic (dice, mi, mi3, z, ll, t,
// logratio) and the least value it must reach. False for anything else.
bool ParseThresholds(const QString& text, TConcgramMutualChecks& checks);

class CollocatesTab : public StatsTab {
 public:
  explicit CollocatesTab(const CorpusBar& corpus_bar, QWidget* parent = nullptr);

  QLineEdit& NodeBox() const { return *node_; }
  // The job's settings as the controls say; false (and the problem said) for
  // thresholds that cannot be read.
  bool Settings(jobs::CollocatesSettings& settings);

 protected:
  std::optional<Job> MakeJob() override;

 private:
  QWidget* BuildNodeRow();
  QWidget* BuildFilterRow();
  void ShowResult(const jobs::CollocatesResult& result, const std::vector<std::string>& skipped);

  QLineEdit* node_ = nullptr;
  QSpinBox* left_ = nullptr;
  QSpinBox* right_ = nullptr;
  QCheckBox* within_sentence_ = nullptr;
  QComboBox* stat_ = nullptr;
  QSpinBox* min_freq_ = nullptr;
  QSpinBox* min_coll_freq_ = nullptr;
  QLineEdit* thresholds_ = nullptr;
  QCheckBox* all_thresholds_ = nullptr;
  QSpinBox* top_ = nullptr;
};

}  // namespace quill::workbench
