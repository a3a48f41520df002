#include "main_window.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "collocates_tab.h"
#include "concordance_tab.h"
#include "corpus_bar.h"
#include "dispersion_tab.h"
#include "frequency_tab.h"
#include "keywords_tab.h"

namespace quill::workbench {

MainWindow::MainWindow(const QString& corpus, QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(tr("Quill workbench"));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  corpus_bar_ = new CorpusBar(central);
  if (!corpus.isEmpty()) corpus_bar_->SetPath(corpus);
  layout->addWidget(corpus_bar_);
  tabs_ = new QTabWidget(central);
  concordance_ = new ConcordanceTab(*corpus_bar_, tabs_);
  word_list_ = new FrequencyTab(FrequencyKind::word_list, *corpus_bar_, tabs_);
  n_grams_ = new FrequencyTab(FrequencyKind::n_grams, *corpus_bar_, tabs_);
  tabs_->addTab(concordance_, tr("Concordance"));
  tabs_->addTab(word_list_, tr("Word list"));
  tabs_->addTab(n_grams_, tr("N-grams"));
  keywords_ = new KeywordsTab(*corpus_bar_, tabs_);
  tabs_->addTab(keywords_, tr("Keywords"));
  collocates_ = new CollocatesTab(*corpus_bar_, tabs_);
  tabs_->addTab(collocates_, tr("Collocates"));
  dispersion_ = new DispersionTab(*corpus_bar_, tabs_);
  tabs_->addTab(dispersion_, tr("Dispersion"));
  layout->addWidget(tabs_, 1);
  setCentralWidget(central);
  const auto show_corpus = [this] {
    if (!corpus_bar_->Favourites().isEmpty())
      statusBar()->showMessage(tr("Corpus: the favourites %1").arg(corpus_bar_->Path()));
    else
      statusBar()->showMessage(corpus_bar_->Path().isEmpty() ? tr("No corpus chosen: choose a folder of texts")
                                                             : tr("Corpus: %1").arg(corpus_bar_->Path()));
  };
  corpus_bar_->OnCorpusChanged = show_corpus;
  // In the status line rather than a modal box, like the tabs' own problems.
  corpus_bar_->OnProblem = [this](const QString& problem) { statusBar()->showMessage(problem); };
  show_corpus();
  resize(1200, 760);
  concordance_->SearchBox().setFocus();
}

MainWindow::~MainWindow() = default;

}  // namespace quill::workbench
