#pragma once
// The corpus chooser at the top of the window: a folder (picked with the
// folder dialog or typed), the file masks, whether subfolders and the files
// inside zip archives are read, whether tokens are word/TAG, and the texts'
// language (right-to-left languages are painted from the right). A walk can
// be kept as a favourites file and opened again as the corpus, so that a
// large folder tree is not walked each time.
#include <QWidget>
#include <functional>
#include <memory>

#include "quilljobs/corpus.h"

class QCheckBox;
class QLabel;
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

  // The favourites file the corpus is read from; empty when it is a folder.
  QString Favourites() const { return favourites_; }
  // Keeps the current corpus's walk as a favourites file. False, with the
  // reason in LastProblem() and told through OnProblem, when the corpus is not
  // one folder (or one favourites file) or the file cannot be written.
  bool SaveFavourites(const QString& file);
  // Makes the files of a favourites file the corpus. A file that is missing,
  // damaged or written by another tool is refused (false, with the reason)
  // and the corpus stays as it was.
  bool OpenFavourites(const QString& file);
  QString LastProblem() const { return last_problem_; }

  // Heard when the user picks another folder or favourites file.
  std::function<void()> OnCorpusChanged;
  // Heard with what went wrong when favourites cannot be saved or opened.
  std::function<void(const QString& problem)> OnProblem;

 private:
  void ChooseFolder();
  void SaveFavouritesWithDialog();
  void OpenFavouritesWithDialog();
  void LeaveFavourites();
  bool Refuse(const QString& problem);

  QLineEdit* path_;
  QLineEdit* mask_;
  QCheckBox* subfolders_;
  QCheckBox* zips_;
  QCheckBox* pos_tags_;
  QLineEdit* language_;
  QLabel* favourites_tag_;
  QString favourites_;  // the corpus's favourites file; empty for a folder
  QString last_problem_;
};

// Whether the options name a corpus: a folder or file, or a favourites file.
inline bool CorpusChosen(const jobs::CorpusOptions& options) {
  return !options.paths.empty() || !options.favourites.empty();
}

// The filter of the favourites file dialogs.
QString FavouritesFilter();

// The demo corpus the workbench opens with (empty when it was not fetched).
QString DemoCorpusPath();

// Opens a corpus for a job on any thread. The language a corpus applies is a
// process-wide setting, so tabs whose jobs start together open their corpora
// one at a time.
std::unique_ptr<jobs::Corpus> OpenCorpus(const jobs::CorpusOptions& options, const jobs::CorpusEvents& events);

}  // namespace quill::workbench
