#include "stats_tab.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>

#include "corpus_bar.h"

namespace quill::workbench {
namespace {

constexpr int kProgressEveryMs = 100;

}  // namespace

QString Grouped(std::int64_t n) { return QLocale(QLocale::English).toString(static_cast<qlonglong>(n)); }

std::unique_ptr<jobs::Corpus> OpenCorpusNoting(const jobs::CorpusOptions& options, std::vector<std::string>& skipped) {
  jobs::CorpusEvents events;
  events.on_skipped = [&skipped](const std::string& name, const std::string& reason) {
    skipped.push_back(name + ": " + reason);
  };
  return OpenCorpus(options, events);
}

StatsTab::StatsTab(const CorpusBar& corpus_bar, std::vector<ScoreColumn> columns, const QString& start_text,
                   QWidget* parent)
    : QWidget(parent), corpus_bar_(corpus_bar) {
  layout_ = new QVBoxLayout(this);
  layout_->addWidget(BuildButtonsRow(start_text));
  body_ = new QSplitter(Qt::Vertical, this);
  table_ = new ScoreTable(std::move(columns), body_);
  body_->addWidget(table_);
  layout_->addWidget(body_, 1);
  totals_ = new QLabel(this);
  totals_->setObjectName(QStringLiteral("totals"));
  layout_->addWidget(totals_);
  timer_ = new QTimer(this);
  timer_->setInterval(kProgressEveryMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    progress_->setValue(ProgressSteps(runner_));
  });
}

StatsTab::~StatsTab() = default;

void StatsTab::AddSettingsRow(QWidget* row) { layout_->insertWidget(settings_rows_++, row); }

QWidget* StatsTab::BuildButtonsRow(const QString& start_text) {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  const JobControls controls = AddJobControls(row, layout, start_text, [this] { Start(); }, [this] { Cancel(); });
  start_ = controls.start;
  start_->setObjectName(QStringLiteral("start"));
  cancel_ = controls.cancel;
  progress_ = controls.progress;
  layout->addStretch(1);
  auto* tsv = new QPushButton(tr("Export TSV…"), row);
  tsv->setObjectName(QStringLiteral("exportTsv"));
  connect(tsv, &QPushButton::clicked, this, [this] { ExportWithDialog(); });
  layout->addWidget(tsv);
  return row;
}

void StatsTab::Start() {
  if (Busy()) return;
  std::optional<Job> job = MakeJob();
  if (!job) return;
  const bool started = runner_.Start(std::move(job->work), [this, show = std::move(job->show)](std::exception_ptr error) {
    Ended(show, error);
  });
  if (!started) return;
  totals_->setText(tr("Working…"));
  totals_->setToolTip(QString());
  SetBusy(true);
}

void StatsTab::Cancel() {
  if (Busy()) runner_.Cancel();
}

void StatsTab::SetBusy(bool busy) { ShowJobBusy(busy, start_, cancel_, progress_, timer_); }

void StatsTab::Ended(const std::function<void()>& show, std::exception_ptr error) {
  SetBusy(false);
  if (error) {
    ShowProblem(JobErrorText(error));
    return;
  }
  progress_->setValue(JobControls::kProgressSteps);
  show();
}

void StatsTab::ShowProblem(const QString& message) {
  totals_->setText(QStringLiteral("<span style=\"color:#b00000\">%1</span>").arg(message.toHtmlEscaped()));
}

void StatsTab::ShowTotals(QString text, const std::vector<std::string>& skipped, bool cancelled) {
  QStringList lost;
  for (const std::string& input : skipped) lost << QString::fromStdString(input);
  if (!lost.isEmpty()) text += tr("; %1 inputs could not be read (hover to see them)").arg(lost.size());
  if (cancelled) {
    text += tr(" (cancelled: partial)");
    progress_->setValue(0);
  }
  totals_->setText(text);
  totals_->setToolTip(lost.join(QLatin1Char('\n')));
}

QString StatsTab::TotalsText() const { return totals_->text(); }

bool StatsTab::ExportTsvTo(const QString& path) {
  QString error;
  if (WriteWholeFile(path, table_->Tsv(), error)) return true;
  ShowProblem(tr("Cannot write %1: %2").arg(path, error));
  return false;
}

void StatsTab::ExportWithDialog() {
  if (Busy() || table_->Rows().empty()) return;
  const QString path = QFileDialog::getSaveFileName(this, tr("Export the table as TSV"), QString(),
                                                    tr("Tab-separated (*.tsv)"));
  if (!path.isEmpty()) ExportTsvTo(path);
}

}  // namespace quill::workbench
