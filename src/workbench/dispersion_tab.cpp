#include "dispersion_tab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QSpinBox>
#include <QSplitter>
#include <algorithm>
#include <optional>

#include "corpus_bar.h"
#include "quillctl/dispersion_plot.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"
#include "quilljobs/dispersion_summary.h"

namespace quill::workbench {
namespace {

constexpr int kRankColumn = 0;  // a row's rank names its word group

std::vector<ScoreColumn> DispersionColumns() {
  return {{u"N", "N", 5, 0, true},     {u"Word", "word", 25, -1}, {u"Hits", "hits", 12, 0},
          {u"Range", "range", 11, 0},  {u"Parts", "parts", 11, 0}, {u"Juilland's D", "D", 12, 3},
          {u"DP", "DP", 12, 3},        {u"DPnorm", "DPnorm", 12, 3}};
}

ScoreRow DispersionRow(std::size_t rank, const QString& words, const jobs::DispersionResult& result) {
  const jobs::DispersionMeasures& m = result.measures;
  return {NumberCell(static_cast<double>(rank)),
          TextCell(FromQString(words)),
          NumberCell(static_cast<double>(result.hits)),
          NumberCell(static_cast<double>(m.range)),
          NumberCell(static_cast<double>(result.parts.size())),
          NumberCell(m.juilland_d),
          NumberCell(m.dp),
          NumberCell(m.dp_norm)};
}

QString GroupText(const std::vector<std::string>& group) {
  QStringList words;
  for (const std::string& word : group) words << QString::fromStdString(word);
  return words.join(QLatin1Char('/'));
}

// The one dispersion run: a job per word group over the same corpus. The
// job's thread writes `results` and `skipped`; the window reads them after its end.
struct DispersionRun {
  jobs::CorpusOptions corpus;
  std::vector<jobs::DispersionSettings> groups;
  std::vector<jobs::DispersionResult> results;
  std::vector<std::string> skipped;
};

void RunEachGroup(DispersionRun& run, const jobs::JobControl& control) {
  std::vector<jobs::DispersionJob> jobs_of_groups;  // bad words are said before any reading
  for (const jobs::DispersionSettings& settings : run.groups) jobs_of_groups.emplace_back(settings);
  const std::unique_ptr<jobs::Corpus> corpus = OpenCorpusNoting(run.corpus, run.skipped);
  const auto count = static_cast<std::int64_t>(jobs_of_groups.size());
  for (std::int64_t k = 0; k < count; ++k) {
    // Each group reads the whole corpus: progress counts all the readings.
    jobs::JobControl part_control;
    part_control.cancel = control.cancel;
    part_control.on_progress = [&control, k, count](std::int64_t done, std::int64_t total) {
      if (control.on_progress) control.on_progress(k * total + done, count * total);
    };
    run.results.push_back(jobs_of_groups[static_cast<std::size_t>(k)].Run(*corpus, part_control));
    if (run.results.back().cancelled) break;
  }
}

}  // namespace

std::vector<std::vector<std::string>> WordGroupsOfBox(const QString& text) {
  std::vector<std::vector<std::string>> groups;
  for (const QString& piece : text.split(QLatin1Char(';'))) {
    std::vector<std::string> group;
    for (const QString& word : piece.split(QLatin1Char('/')))
      if (!word.trimmed().isEmpty()) group.push_back(word.trimmed().toStdString());
    if (!group.empty()) groups.push_back(std::move(group));
  }
  return groups;
}

// The plot's own widget: its height is the plot's, its width the view's.
class DispersionPlotView::Paper : public QWidget {
 public:
  explicit Paper(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

  void SetPlot(std::optional<TDispersionPlot> plot) {
    plot_ = std::move(plot);
    setFixedHeight(plot_ ? DispersionPlotHeight(plot_->bars.size()) : 0);
    update();
  }
  bool Empty() const { return !plot_; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (!plot_) return;
    TQtCanvas canvas(painter);
    canvas.SetFontName(kDispersionPlotFont);
    PaintDispersionPlotPart(canvas, *plot_, width(), event->rect().top(), event->rect().bottom() + 1);
  }

 private:
  std::optional<TDispersionPlot> plot_;
};

DispersionPlotView::DispersionPlotView(QWidget* parent) : QScrollArea(parent) {
  paper_ = new Paper(this);
  paper_->setMinimumWidth(kDispersionPlotMinWidth);
  setWidget(paper_);
  setWidgetResizable(true);
  setMinimumHeight(120);
}

void DispersionPlotView::Show(const QString& words, const jobs::DispersionResult& result) {
  TDispersionPlot plot;
  plot.title = FromQString(tr("Dispersion of %1").arg(words));
  plot.summary = Utf8ToUtf16(jobs::DispersionSummary(result));
  for (const jobs::DispersionPart& part : result.parts)
    plot.bars.push_back({Utf8ToUtf16(jobs::DispersionPartLabel(part)), part.hits, part.positions});
  paper_->SetPlot(std::move(plot));
}

void DispersionPlotView::Clear() { paper_->SetPlot(std::nullopt); }

bool DispersionPlotView::Empty() const { return paper_->Empty(); }

QImage DispersionPlotView::Grab() const { return paper_->grab().toImage(); }

DispersionTab::DispersionTab(const CorpusBar& corpus_bar, QWidget* parent)
    : StatsTab(corpus_bar, DispersionColumns(), tr("Measure dispersion"), parent) {
  AddSettingsRow(BuildSettingsRow());
  Table().List().setObjectName(QStringLiteral("dispersionList"));
  Table().OnRowChosen = [this](int row) { ShowPlotOf(row); };
  plot_ = new DispersionPlotView(&Body());
  Body().addWidget(plot_);
  // A few rows of words, the rest for the plot's bars.
  Body().setStretchFactor(0, 1);
  Body().setStretchFactor(1, 3);
  Body().setSizes({100, 300});
}

QWidget* DispersionTab::BuildSettingsRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("Words:"), row));
  words_ = new QLineEdit(row);
  words_->setObjectName(QStringLiteral("dispersionWords"));
  words_->setPlaceholderText(tr("words separated by ';', a row each; jury/juries counts both as one"));
  connect(words_, &QLineEdit::returnPressed, this, [this] { Start(); });
  layout->addWidget(words_, 1);
  layout->addWidget(new QLabel(tr("Parts:"), row));
  segments_ = new QSpinBox(row);
  segments_->setRange(0, 1000000);
  segments_->setSpecialValueText(tr("one per file"));
  segments_->setSuffix(tr(" equal segments"));
  segments_->setToolTip(tr("Measure over the files, or over so many equal segments of the corpus's words"));
  layout->addWidget(segments_);
  return row;
}

void DispersionTab::SetSegments(int segments) { segments_->setValue(segments); }

void DispersionTab::ShowPlotOf(int row) {
  const std::vector<ScoreRow>& rows = Table().Rows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  const auto group = static_cast<std::size_t>(rows[static_cast<std::size_t>(row)][kRankColumn].number) - 1;
  if (group < results_.size()) plot_->Show(shown_words_[group], results_[group]);
}

std::optional<StatsTab::Job> DispersionTab::MakeJob() {
  auto run = std::make_shared<DispersionRun>();
  run->corpus = Corpus().Options();
  if (!CorpusChosen(run->corpus)) {
    ShowProblem(tr("Choose a corpus folder first."));
    return std::nullopt;
  }
  for (std::vector<std::string>& words : WordGroupsOfBox(words_->text())) {
    jobs::DispersionSettings settings;
    settings.words = std::move(words);
    settings.parts = segments_->value();
    settings.pos_tags = Corpus().PosTags();
    run->groups.push_back(std::move(settings));
  }
  if (run->groups.empty()) {
    ShowProblem(tr("Type the words whose dispersion to measure."));
    return std::nullopt;
  }
  DispersionRun* raw = run.get();
  Job job;
  job.work = [raw](const jobs::JobControl& control) { RunEachGroup(*raw, control); };
  job.show = [this, run] {
    results_ = std::move(run->results);
    shown_words_.clear();
    std::vector<ScoreRow> rows;
    for (std::size_t k = 0; k < results_.size(); ++k) {
      shown_words_.push_back(GroupText(run->groups[k].words));
      rows.push_back(DispersionRow(k + 1, shown_words_.back(), results_[k]));
    }
    Table().SetRows(std::move(rows));
    plot_->Clear();
    Table().List().SetItemIndex(0);  // selected, and so plotted
    const bool cancelled = !results_.empty() && results_.back().cancelled;
    const std::int64_t tokens = results_.empty() ? 0 : results_.front().tokens;
    const std::int64_t files = results_.empty() ? 0 : results_.front().files_read;
    ShowTotals(tr("Measured over %1 words of %2 files").arg(Grouped(tokens), Grouped(files)), run->skipped, cancelled);
  };
  return job;
}

}  // namespace quill::workbench
