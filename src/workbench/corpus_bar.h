#pragma once
// The corpus chooser at the top of the window: a folder (picked with the
// folder dialog or typed), the file masks, whether subfolders and the files
// inside zip archives are read, whether tokens are word/TAG, and the texts'
// language (right-to-left languages are painted from the right).
#include <QWidget>
#include <functional>
#include <memory>

#include "quilljobs/corpus.h"

class QCheckBox;
class QLineEdit;

namespace quill::workbench {

class CorpusBar : public QWidget {
 public:
  explicit CorpusBar(QWidget* parent = nullptr);

  // The folder (or file) shown; the demo corpus until another is chosen.
  QString Path() const;
  void SetPath(const QString& path);
  // The corpus as the jobs take it. Empty paths when nothing is chosen.
  jobs::CorpusOptions Options() const;
  // Tokens are word/TAG: the tags are markup, neither searched nor counted.
  bool PosTags() const;

  // Heard when the user picks another folder.
  std::function<void()> OnCorpusChanged;

 private:
  void ChooseFolder();

  QLineEdit* path_;
  QLineEdit* mask_;
  QCheckBox* subfolders_;
  QCheckBox* zips_;
  QCheckBox* pos_tags_;
  QLineEdit* language_;
};

// The demo corpus the workbench opens with (empty when it was not fetched).
QString DemoCorpusPath();

// Opens a corpus for a job on any thread. The language a corpus applies is a
// process-wide setting, so tabs whose jobs start together open their corpora
// one at a time.
std::unique_ptr<jobs::Corpus> OpenCorpus(const jobs::CorpusOptions& options, const jobs::CorpusEvents& events);

}  // namespace quill::workbench
