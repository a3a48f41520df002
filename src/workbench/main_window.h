#pragma once
// The workbench's main window: the corpus chooser above the tabs
// Concordance, Word list, N-grams, Keywords, Collocates and Dispersion.
#include <QMainWindow>

class QTabWidget;

namespace quill::workbench {

class ConcordanceTab;
class CollocatesTab;
class CorpusBar;
class DispersionTab;
class FrequencyTab;
class KeywordsTab;

class MainWindow : public QMainWindow {
 public:
  // Opens `corpus` (a folder or file), or the demo corpus when it is empty.
  explicit MainWindow(const QString& corpus = QString(), QWidget* parent = nullptr);
  ~MainWindow() override;

  CorpusBar& Corpus() const { return *corpus_bar_; }
  ConcordanceTab& Concordance() const { return *concordance_; }
  FrequencyTab& WordList() const { return *word_list_; }
  FrequencyTab& NGrams() const { return *n_grams_; }
  KeywordsTab& Keywords() const { return *keywords_; }
  CollocatesTab& Collocates() const { return *collocates_; }
  DispersionTab& Dispersion() const { return *dispersion_; }
  QTabWidget& Tabs() const { return *tabs_; }

 private:
  CorpusBar* corpus_bar_;
  QTabWidget* tabs_;
  ConcordanceTab* concordance_;
  FrequencyTab* word_list_;
  FrequencyTab* n_grams_;
  KeywordsTab* keywords_;
  CollocatesTab* collocates_;
  DispersionTab* dispersion_;
};

}  // namespace quill::workbench
