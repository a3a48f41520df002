#include "frequency_tab.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "corpus_bar.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"
#include "quilljobs/saved_lists.h"

namespace quill::workbench {
namespace {

constexpr int kProgressEveryMs = 100;
enum : std::int32_t { kRankColumn, kItemColumn, kFrequencyColumn, kColumns };
constexpr std::array<std::int32_t, kColumns> kColumnPercent = {10, 70, 20};

QString Grouped(std::int64_t n) { return QLocale(QLocale::English).toString(static_cast<qlonglong>(n)); }

}  // namespace

// One counting run; the job thread writes `result`, the window reads it after the end.
struct FrequencyTab::Run {
  jobs::CorpusOptions options;
  bool pos_tags = false;
  int n = 1;
  jobs::FrequencyListShape shape;
  jobs::FrequencyResult result;
  std::vector<std::string> skipped;  // written by the job thread, read after its end
};

FrequencyTab::FrequencyTab(FrequencyKind kind, const CorpusBar& corpus_bar, QWidget* parent)
    : QWidget(parent), kind_(kind), corpus_bar_(corpus_bar) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildControlsRow());
  header_ = new THeaderControl(this);
  header_->setFixedHeight(header_->fontMetrics().height() * 3 / 2);
  list_ = new TStyledColumnListbox(this);
  list_->setObjectName(kind_ == FrequencyKind::word_list ? QStringLiteral("wordList") : QStringLiteral("nGramList"));
  list_->SetComponentStyle(GlobalTMSStyle);
  list_->CorrectForScreenResolucao(1.0);
  list_->SetHeaderControl(header_);
  list_->SetColumns(3);
  const std::vector<TStringAndIntegerRec> headers = {{u"N", kColumnPercent[kRankColumn]},
                                                      {kind_ == FrequencyKind::word_list ? u"Word" : u"N-gram",
                                                       kColumnPercent[kItemColumn]},
                                                      {u"Frequency", kColumnPercent[kFrequencyColumn]}};
  list_->DefineHeaders(headers, false);
  list_->viewport()->installEventFilter(this);
  list_->OnSortTheColumn = [this](TOwnerDrawnList&, std::int32_t column, bool) { return SortOnColumn(column); };
  layout->addWidget(header_);
  layout->addWidget(list_, 1);
  totals_ = new QLabel(this);
  layout->addWidget(totals_);

  timer_ = new QTimer(this);
  timer_->setInterval(kProgressEveryMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    progress_->setValue(ProgressSteps(runner_));
  });
}

FrequencyTab::~FrequencyTab() = default;

QWidget* FrequencyTab::BuildControlsRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  if (kind_ == FrequencyKind::n_grams) {
    layout->addWidget(new QLabel(tr("Words in each n-gram:"), row));
    n_ = new QSpinBox(row);
    n_->setRange(1, 100);
    n_->setValue(3);
    layout->addWidget(n_);
  }
  by_frequency_ = new QCheckBox(tr("Most frequent first"), row);
  by_frequency_->setChecked(true);
  layout->addWidget(by_frequency_);
  layout->addWidget(new QLabel(tr("Minimum frequency:"), row));
  min_frequency_ = new QSpinBox(row);
  min_frequency_->setRange(1, 1000000);
  min_frequency_->setValue(kind_ == FrequencyKind::n_grams ? 2 : 1);
  layout->addWidget(min_frequency_);
  layout->addStretch(1);
  const JobControls controls =
      AddJobControls(row, layout, kind_ == FrequencyKind::word_list ? tr("Make word list") : tr("Make n-grams"),
                     [this] { StartCounting(); }, [this] { CancelCounting(); });
  start_ = controls.start;
  start_->setObjectName(QStringLiteral("startCounting"));
  cancel_ = controls.cancel;
  progress_ = controls.progress;
  auto* save = new QPushButton(tr("Save…"), row);
  connect(save, &QPushButton::clicked, this, [this] { SaveWithDialog(); });
  layout->addWidget(save);
  return row;
}

bool FrequencyTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::Resize) SizeColumns();
  return QWidget::eventFilter(watched, event);
}

void FrequencyTab::SizeColumns() {
  const std::int32_t width = list_->viewport()->width();
  std::int32_t used = 0;
  for (std::int32_t c = 0; c < kColumns; ++c) {
    const std::int32_t share = c + 1 < kColumns ? width * kColumnPercent[c] / 100 : width - used;
    header_->SetSectionWidth(c, std::max(share, 0));
    used += share;
  }
}

int FrequencyTab::WordsPerItem() const { return kind_ == FrequencyKind::n_grams ? n_->value() : 1; }

void FrequencyTab::StartCounting() {
  if (Busy()) return;
  auto run = std::make_shared<Run>();
  run->options = corpus_bar_.Options();
  if (!CorpusChosen(run->options)) return ShowProblem(tr("Choose a corpus folder first."));
  run->pos_tags = corpus_bar_.PosTags();
  run->n = WordsPerItem();
  run->shape.by_freq = by_frequency_->isChecked();
  run->shape.min_freq = min_frequency_->value();
  const FrequencyKind kind = kind_;
  Run* raw = run.get();
  const bool started = runner_.Start(
      [raw, kind](const jobs::JobControl& control) {
        jobs::CorpusEvents events;
        events.on_skipped = [raw](const std::string& name, const std::string& reason) {
          raw->skipped.push_back(name + ": " + reason);
        };
        const std::unique_ptr<jobs::Corpus> opened = OpenCorpus(raw->options, events);
        const jobs::Corpus& corpus = *opened;
        if (kind == FrequencyKind::word_list) {
          jobs::WordListSettings settings;
          settings.pos_tags = raw->pos_tags;
          settings.shape = raw->shape;
          raw->result = jobs::WordListJob(settings).Run(corpus, control);
        } else {
          jobs::NGramSettings settings;
          settings.n = raw->n;
          settings.pos_tags = raw->pos_tags;
          settings.shape = raw->shape;
          raw->result = jobs::NGramJob(settings).Run(corpus, control);
        }
      },
      [this, run](std::exception_ptr error) { Finished(run, error); });
  if (!started) return;
  totals_->setText(tr("Counting…"));
  SetBusy(true);
}

void FrequencyTab::CancelCounting() {
  if (Busy()) runner_.Cancel();
}

void FrequencyTab::SetBusy(bool busy) { ShowJobBusy(busy, start_, cancel_, progress_, timer_); }

void FrequencyTab::Finished(const std::shared_ptr<Run>& run, std::exception_ptr error) {
  SetBusy(false);
  if (error) {
    ShowProblem(JobErrorText(error));
    return;
  }
  jobs::FrequencyResult& result = run->result;
  items_ = result.Items();
  saved_form_ = std::move(result.list);
  saved_words_per_item_ = run->n;
  ShowItems();
  progress_->setValue(result.cancelled ? 0 : JobControls::kProgressSteps);
  QString text = tr("%1 different, %2 counted in %3 files")
                     .arg(Grouped(static_cast<std::int64_t>(items_.size())), Grouped(result.tokens),
                          Grouped(result.files_read));
  QStringList lost;
  for (const std::string& input : run->skipped) lost << QString::fromStdString(input);
  if (!lost.isEmpty()) text += tr("; %1 inputs could not be read (hover to see them)").arg(lost.size());
  if (result.cancelled) text += tr(" (cancelled: partial)");
  totals_->setText(text);
  totals_->setToolTip(lost.join(QLatin1Char('\n')));
}

void FrequencyTab::ShowItems() {
  TStringList& lines = list_->Items();
  lines.BeginUpdate();
  lines.Clear();
  std::int64_t rank = 0;
  for (const jobs::FrequencyItem& item : items_)
    lines.Add(Utf8ToUtf16(std::to_string(++rank)) + u'\t' + item.item + u'\t' +
              Utf8ToUtf16(std::to_string(item.frequency)));
  lines.EndUpdate();
}

bool FrequencyTab::SortOnColumn(std::int32_t column) {
  if (Busy() || items_.empty()) return false;
  // Most frequent first, ties alphabetical; or alphabetical. The rank column
  // gives the frequency order back.
  if (column == kItemColumn) {
    std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) { return a.item < b.item; });
  } else {
    std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) {
      return a.frequency != b.frequency ? a.frequency > b.frequency : a.item < b.item;
    });
  }
  ShowItems();
  return true;
}

void FrequencyTab::ShowProblem(const QString& message) {
  totals_->setText(QStringLiteral("<span style=\"color:#b00000\">%1</span>").arg(message.toHtmlEscaped()));
}

QString FrequencyTab::TotalsText() const { return totals_->text(); }

bool FrequencyTab::SaveTo(const QString& path) {
  if (!saved_form_) return false;
  try {
    jobs::SaveFrequencyList(path.toStdString(), *saved_form_, saved_words_per_item_);
    return true;
  } catch (const std::exception& e) {
    ShowProblem(QString::fromStdString(e.what()));
    return false;
  }
}

void FrequencyTab::SaveWithDialog() {
  if (Busy() || !saved_form_) return;
  const QString path = QFileDialog::getSaveFileName(this, tr("Save the list"), QString(), tr("Word lists (*.lst)"));
  if (!path.isEmpty()) SaveTo(path);
}

}  // namespace quill::workbench
