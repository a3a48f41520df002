#pragma once
// The Dispersion tab: how evenly each word searched for is spread over the
// corpus's files (or equal segments of it): a row per word with its hits,
// range, Juilland's D, DP and DPnorm, and below the table the dispersion plot
// of the chosen row, a bar per file or segment with a tick per hit.
#include <QImage>
#include <QScrollArea>
#include <string>
#include <vector>

#include "quilljobs/dispersion_job.h"
#include "stats_tab.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace quill::workbench {

// The words of the box: groups separated by ';', the words of a group by '/'
// ("jury/juries; court"); the words of a group count together.
std::vector<std::vector<std::string>> WordGroupsOfBox(const QString& text);

// The plot of one result, as wide as the view and as tall as its bars need;
// only the part scrolled into view is painted.
class DispersionPlotView : public QScrollArea {
 public:
  explicit DispersionPlotView(QWidget* parent = nullptr);
  void Show(const QString& words, const jobs::DispersionResult& result);
  void Clear();
  bool Empty() const;
  // The whole plot as painted on the screen (for looking at it in tests).
  QImage Grab() const;

 private:
  class Paper;
  Paper* paper_;
};

class DispersionTab : public StatsTab {
 public:
  explicit DispersionTab(const CorpusBar& corpus_bar, QWidget* parent = nullptr);

  QLineEdit& WordsBox() const { return *words_; }
  // 0: a part per file; N: N equal segments of the corpus.
  void SetSegments(int segments);
  const std::vector<jobs::DispersionResult>& Results() const { return results_; }
  DispersionPlotView& Plot() const { return *plot_; }
  // Shows the plot of row `row` of the table.
  void ShowPlotOf(int row);

 protected:
  std::optional<Job> MakeJob() override;

 private:
  QWidget* BuildSettingsRow();

  QLineEdit* words_ = nullptr;
  QSpinBox* segments_ = nullptr;
  DispersionPlotView* plot_ = nullptr;
  // A result and its words per word group; a row's rank names its group.
  std::vector<jobs::DispersionResult> results_;
  std::vector<QString> shown_words_;
};

}  // namespace quill::workbench
