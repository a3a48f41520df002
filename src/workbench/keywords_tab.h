#pragma once
// The Keywords tab: the words of the chosen corpus (the target) unusually
// frequent, or rare, against a reference corpus (a folder, read with the
// corpus chooser's masks and options, or a favourites file), with their
// frequencies in both and their keyness scores.
#include <QString>

#include "quilljobs/keywords_job.h"
#include "stats_tab.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace quill::workbench {

class KeywordsTab : public StatsTab {
 public:
  explicit KeywordsTab(const CorpusBar& corpus_bar, QWidget* parent = nullptr);

  // The reference corpus: a folder or file, or the files of a favourites file.
  void SetReference(const QString& path);
  void SetReferenceFavourites(const QString& file);
  jobs::CorpusOptions ReferenceOptions() const;
  // The job's settings as the controls say.
  jobs::KeywordsSettings Settings() const;

 protected:
  std::optional<Job> MakeJob() override;

 private:
  QWidget* BuildReferenceRow();
  QWidget* BuildSettingsRow();
  void ChooseReferenceFolder();
  void ChooseReferenceFavourites();
  void ShowResult(const jobs::KeywordsResult& result, const std::vector<std::string>& skipped);

  QLineEdit* reference_ = nullptr;
  QLabel* favourites_tag_ = nullptr;
  QString reference_favourites_;  // the reference's favourites file; empty for a folder
  QComboBox* stat_ = nullptr;
  QSpinBox* min_freq_ = nullptr;
  QComboBox* p_ = nullptr;
  QCheckBox* bonferroni_ = nullptr;
  QComboBox* direction_ = nullptr;
  QCheckBox* reference_only_ = nullptr;
  QSpinBox* top_ = nullptr;
};

}  // namespace quill::workbench
