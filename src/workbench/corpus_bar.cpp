#include "corpus_bar.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <mutex>

#include "quillctl/qt_canvas.h"
#include "quillfs/folder_dialog.h"

namespace quill::workbench {

QString FavouritesFilter() { return QObject::tr("Favourites (*.fav);;All files (*)"); }

QString DemoCorpusPath() {
  const QString path = QStringLiteral(QUILL_DEMO_CORPUS);
  return QFileInfo(path).isDir() ? QDir::cleanPath(path) : QString();
}

std::unique_ptr<jobs::Corpus> OpenCorpus(const jobs::CorpusOptions& options, const jobs::CorpusEvents& events) {
  static std::mutex opening;
  const std::lock_guard lock(opening);
  return std::make_unique<jobs::Corpus>(options, events);
}

CorpusBar::CorpusBar(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("Corpus:"), this));
  path_ = new QLineEdit(this);
  path_->setObjectName(QStringLiteral("corpusPath"));
  path_->setPlaceholderText(tr("a folder of texts"));
  layout->addWidget(path_, 3);
  auto* choose = new QPushButton(tr("Choose…"), this);
  choose->setObjectName(QStringLiteral("chooseCorpus"));
  connect(choose, &QPushButton::clicked, this, [this] { ChooseFolder(); });
  layout->addWidget(choose);
  favourites_tag_ = new QLabel(tr("<i>favourites</i>"), this);
  favourites_tag_->setObjectName(QStringLiteral("favouritesTag"));
  favourites_tag_->setToolTip(tr("The corpus is the files of a favourites file, read without walking the disk"));
  favourites_tag_->hide();
  layout->addWidget(favourites_tag_);
  auto* open_favourites = new QPushButton(tr("Favourites…"), this);
  open_favourites->setObjectName(QStringLiteral("openFavourites"));
  open_favourites->setToolTip(tr("Open a favourites file as the corpus"));
  connect(open_favourites, &QPushButton::clicked, this, [this] { OpenFavouritesWithDialog(); });
  layout->addWidget(open_favourites);
  auto* save_favourites = new QPushButton(tr("Keep as favourites…"), this);
  save_favourites->setObjectName(QStringLiteral("saveFavourites"));
  save_favourites->setToolTip(tr("Save the files of this corpus as a favourites file, to open again without walking"));
  connect(save_favourites, &QPushButton::clicked, this, [this] { SaveFavouritesWithDialog(); });
  layout->addWidget(save_favourites);
  layout->addWidget(new QLabel(tr("Masks:"), this));
  mask_ = new QLineEdit(QStringLiteral("*"), this);
  mask_->setObjectName(QStringLiteral("corpusMask"));
  mask_->setToolTip(tr("File masks separated by ';', e.g. *.txt;*.xml"));
  mask_->setMaximumWidth(140);
  layout->addWidget(mask_, 1);
  subfolders_ = new QCheckBox(tr("Subfolders"), this);
  subfolders_->setChecked(true);
  layout->addWidget(subfolders_);
  zips_ = new QCheckBox(tr("Zips"), this);
  zips_->setToolTip(tr("Read the texts inside zip archives too"));
  layout->addWidget(zips_);
  pos_tags_ = new QCheckBox(tr("word/TAG tokens"), this);
  pos_tags_->setObjectName(QStringLiteral("posTags"));
  pos_tags_->setToolTip(tr("Tokens carry part-of-speech tags (as in the Brown corpus): the tags are markup"));
  layout->addWidget(pos_tags_);
  layout->addWidget(new QLabel(tr("Language:"), this));
  language_ = new QLineEdit(this);
  language_->setObjectName(QStringLiteral("corpusLanguage"));
  language_->setPlaceholderText(tr("English"));
  language_->setToolTip(tr("The texts' language: a locale name (ar-SA, de-DE) or a language number; empty: English"));
  language_->setMaximumWidth(90);
  layout->addWidget(language_);
  connect(path_, &QLineEdit::editingFinished, this, [this] {
    if (!favourites_.isEmpty() && Path() == QDir::toNativeSeparators(favourites_)) return;  // not edited
    LeaveFavourites();
    if (OnCorpusChanged) OnCorpusChanged();
  });

  const QString demo = DemoCorpusPath();
  if (!demo.isEmpty()) {
    path_->setText(demo);
    pos_tags_->setChecked(true);  // the demo corpus is tagged word/TAG
  }
}

QString CorpusBar::Path() const { return path_->text().trimmed(); }

void CorpusBar::SetPath(const QString& path) {
  LeaveFavourites();
  path_->setText(path);
  if (OnCorpusChanged) OnCorpusChanged();
}

void CorpusBar::ChooseFolder() {
  // Through the file tools' folder hook, which main() points at quillctl's
  // Qt picker: the same question every tool of the workbench asks.
  const UnicodeString folder =
      ChosenFolder(FromQString(tr("Choose the corpus folder")), FromQString(tr("Choose")), FromQString(Path()));
  if (!folder.empty()) SetPath(QDir::toNativeSeparators(ToQString(folder)));
}

void CorpusBar::LeaveFavourites() {
  favourites_.clear();
  favourites_tag_->hide();
}

bool CorpusBar::Refuse(const QString& problem) {
  last_problem_ = problem;
  if (OnProblem) OnProblem(problem);
  return false;
}

bool CorpusBar::SaveFavourites(const QString& file) {
  const jobs::CorpusOptions options = Options();
  if (!CorpusChosen(options)) return Refuse(tr("Choose a corpus folder first."));
  try {
    OpenCorpus(options, {})->SaveFavourites(file.toStdString());
  } catch (const std::exception& e) {
    return Refuse(tr("The favourites were not saved: %1").arg(QString::fromStdString(e.what())));
  }
  last_problem_.clear();
  return true;
}

bool CorpusBar::OpenFavourites(const QString& file) {
  // Read once here, so that a damaged file is refused before it replaces the
  // corpus rather than failing every job started afterwards.
  jobs::CorpusOptions options = Options();
  options.paths.clear();
  options.favourites = file.toStdString();
  try {
    OpenCorpus(options, {});
  } catch (const std::exception& e) {
    return Refuse(tr("The favourites file %1 cannot be opened: %2").arg(file, QString::fromStdString(e.what())));
  }
  last_problem_.clear();
  favourites_ = file;
  path_->setText(QDir::toNativeSeparators(file));
  favourites_tag_->show();
  if (OnCorpusChanged) OnCorpusChanged();
  return true;
}

void CorpusBar::SaveFavouritesWithDialog() {
  const QString file = QFileDialog::getSaveFileName(this, tr("Keep the corpus as favourites"), QString(),
                                                    FavouritesFilter());
  if (!file.isEmpty()) SaveFavourites(file);
}

void CorpusBar::OpenFavouritesWithDialog() {
  const QString file = QFileDialog::getOpenFileName(this, tr("Open favourites"), QString(), FavouritesFilter());
  if (!file.isEmpty()) OpenFavourites(file);
}

jobs::CorpusOptions CorpusBar::Options() const {
  jobs::CorpusOptions options;
  if (!favourites_.isEmpty()) options.favourites = favourites_.toStdString();
  else if (!Path().isEmpty()) options.paths.push_back(Path().toStdString());
  const QString mask = mask_->text().trimmed();
  options.mask = mask.isEmpty() ? std::string("*") : mask.toStdString();
  options.subfolders = subfolders_->isChecked();
  options.zips = zips_->isChecked();
  options.lang = language_->text().trimmed().toStdString();
  return options;
}

bool CorpusBar::PosTags() const { return pos_tags_->isChecked(); }

}  // namespace quill::workbench
