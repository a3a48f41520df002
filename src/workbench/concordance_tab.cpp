#include "concordance_tab.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <mutex>

#include "concordance_list.h"
#include "corpus_bar.h"
#include "saved_concordance.h"
#include "text_view.h"
#include "quillctl/qt_canvas.h"
#include "quilljobs/saved_lists.h"
#include "quillrt/rendering/colours.h"

namespace quill::workbench {
namespace {

constexpr int kTakeLinesEveryMs = 100;

// What the help button shows: how search words are written.
const char* const kSearchWordSyntax = R"(<b>Search words</b> (several: separate them with ;)<br>
<table cellspacing="4">
<tr><td><tt>jury/juries</tt></td><td>alternatives, separated by /</td></tr>
<tr><td><tt>jur*&nbsp; *ing</tt></td><td>a star at an end: any rest (or start) of the word</td></tr>
<tr><td><tt>hous*s</tt></td><td>a star inside: any characters up to what follows it</td></tr>
<tr><td><tt>colo?r&nbsp; ^&nbsp; #</tt></td><td>? any one character, ^ any one letter, # a run of digits</td></tr>
<tr><td><tt>the * of</tt></td><td>a lone * between spaces: any one word</td></tr>
<tr><td><tt>in the</tt></td><td>words in a row; markup between them is skipped</td></tr>
<tr><td><tt>==May==</tt></td><td>case-sensitive (otherwise case is ignored)</td></tr>
<tr><td><tt>"*"&nbsp; "/"</tt></td><td>a quoted wildcard stands for itself</td></tr>
</table>
A word is a run of letters and digits; ' and - between two letters join them.<br>
<b>Context words</b> keep only hits with one of them within the horizon;
<b>exclusion words</b> drop hits with one of them at or within it.<br>
Click a column (L5..R5) to sort on that word; Shift+click sets the second
level, Ctrl+click the third. Double-click a line (or press Enter) to open its text.)";

QString Grouped(std::int64_t n) { return QLocale(QLocale::English).toString(static_cast<qlonglong>(n)); }

// A search word in its hit colours, for the totals line.
QString ColouredWord(const std::string& word, std::int32_t number) {
  const TMyCanvasColourRec colours = SearchFoundColoursFromNumber(number);
  return QStringLiteral("<span style=\"color:%1; background:%2; font-weight:bold\">&nbsp;%3&nbsp;</span>")
      .arg(ToQColor(colours[tct_text]).name(), ToQColor(colours[tct_background]).name(),
           QString::fromStdString(word).toHtmlEscaped());
}

std::string JoinedWords(const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& word : words) joined += (joined.empty() ? "" : "; ") + word;
  return joined;
}

std::string TsvField(std::string field) {
  for (char& c : field)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return field;
}

}  // namespace

std::vector<std::string> WordsOfBox(const QString& text) {
  std::vector<std::string> words;
  for (const QString& piece : text.split(QLatin1Char(';'))) {
    const QString word = piece.trimmed();
    if (!word.isEmpty()) words.push_back(word.toStdString());
  }
  return words;
}

std::string ConcordanceTsv(const std::vector<jobs::ConcordanceLine>& lines) {
  std::string tsv = "N\tFile\tLeft\tHit\tRight\tWord\tSentence\tParagraph\n";
  std::size_t n = 0;
  for (const jobs::ConcordanceLine& line : lines) {
    tsv += std::to_string(++n) + '\t' + TsvField(line.file) + '\t' + TsvField(Utf16ToUtf8(line.left)) + '\t' +
           TsvField(Utf16ToUtf8(line.hit)) + '\t' + TsvField(Utf16ToUtf8(line.right)) + '\t' +
           std::to_string(line.word_number) + '\t' + std::to_string(line.sentence) + '\t' +
           std::to_string(line.paragraph) + '\n';
  }
  return tsv;
}

// One concordance run: what was asked, and what the job hands over. The job
// thread fills `arrived` and `skipped` under the mutex; `corpus` and `totals`
// are read by the window only after the job has ended.
struct ConcordanceTab::Run {
  jobs::ConcordanceSettings settings;
  jobs::CorpusOptions options;
  std::unique_ptr<jobs::Corpus> corpus;
  jobs::ConcordanceTotals totals;
  std::mutex mutex;
  std::vector<jobs::ConcordanceLine> arrived;
  std::vector<std::string> skipped;
  // The language searched in, known once the corpus is open, so that lines
  // of right-to-left texts read from the right while they arrive.
  std::atomic<std::uint32_t> lcid{0};
};

ConcordanceTab::ConcordanceTab(const CorpusBar& corpus_bar, QWidget* parent)
    : QWidget(parent), corpus_bar_(corpus_bar) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildSearchRow());
  layout->addWidget(BuildOptionsRow());
  header_ = new THeaderControl(this);
  header_->setObjectName(QStringLiteral("concordanceHeader"));
  header_->setFixedHeight(header_->fontMetrics().height() * 3 / 2);
  list_ = new ConcordanceList(this);
  list_->SetComponentStyle(GlobalTMSStyle);
  list_->CorrectForScreenResolucao(1.0);
  list_->SetUpHeader(header_);
  list_->CanSortNow = [this] { return !Busy(); };
  list_->OnSortChanged = [this] {
    QStringList names;
    for (jobs::SortKey key : list_->SortKeys()) names << QString::fromLatin1(SortKeyName(key));
    sort_label_->setText(tr("Sorted by %1").arg(names.join(QStringLiteral(", then "))));
  };
  layout->addWidget(header_);
  layout->addWidget(list_, 1);
  list_->viewport()->installEventFilter(this);
  list_->installEventFilter(this);
  totals_ = new QLabel(this);
  totals_->setObjectName(QStringLiteral("concordanceTotals"));
  totals_->setTextFormat(Qt::RichText);
  totals_->setWordWrap(true);
  layout->addWidget(totals_);
  layout->addWidget(BuildButtonsRow());

  timer_ = new QTimer(this);
  timer_->setInterval(kTakeLinesEveryMs);
  connect(timer_, &QTimer::timeout, this, [this] { TakeArrivedLines(); });
}

ConcordanceTab::~ConcordanceTab() = default;

QWidget* ConcordanceTab::BuildSearchRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("Search:"), row));
  search_ = new QLineEdit(row);
  search_->setObjectName(QStringLiteral("searchBox"));
  search_->setPlaceholderText(tr("search words, e.g. jury/juries  (several: separate with ;)"));
  connect(search_, &QLineEdit::returnPressed, this, [this] { StartSearch(); });
  layout->addWidget(search_, 1);
  auto* help = new QToolButton(row);
  help->setText(QStringLiteral("?"));
  help->setObjectName(QStringLiteral("syntaxHelp"));
  help->setToolTip(tr("How search words are written"));
  connect(help, &QToolButton::clicked, this, [this] { ShowSyntaxHelp(); });
  layout->addWidget(help);
  const JobControls controls =
      AddJobControls(row, layout, tr("Search"), [this] { StartSearch(); }, [this] { CancelSearch(); });
  start_ = controls.start;
  start_->setObjectName(QStringLiteral("startSearch"));
  cancel_ = controls.cancel;
  cancel_->setObjectName(QStringLiteral("cancelSearch"));
  progress_ = controls.progress;
  progress_->setObjectName(QStringLiteral("searchProgress"));
  return row;
}

QWidget* ConcordanceTab::BuildOptionsRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("Context words:"), row));
  context_ = new QLineEdit(row);
  context_->setObjectName(QStringLiteral("contextBox"));
  context_->setToolTip(tr("Keep only hits with one of these within the horizon (separate with ;)"));
  layout->addWidget(context_, 1);
  layout->addWidget(new QLabel(tr("Exclusion words:"), row));
  exclude_ = new QLineEdit(row);
  exclude_->setObjectName(QStringLiteral("exclusionBox"));
  exclude_->setToolTip(tr("Drop hits with one of these at or within the horizon (separate with ;)"));
  layout->addWidget(exclude_, 1);
  layout->addWidget(new QLabel(tr("Horizon:"), row));
  horizon_ = new QSpinBox(row);
  horizon_->setObjectName(QStringLiteral("horizon"));
  horizon_->setRange(0, 100);
  horizon_->setValue(5);
  horizon_->setSuffix(tr(" words"));
  layout->addWidget(horizon_);
  return row;
}

QWidget* ConcordanceTab::BuildButtonsRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  sort_label_ = new QLabel(tr("In reading order"), row);
  sort_label_->setObjectName(QStringLiteral("sortLabel"));
  layout->addWidget(sort_label_, 1);
  auto* show = new QPushButton(tr("Show text"), row);
  show->setObjectName(QStringLiteral("showText"));
  connect(show, &QPushButton::clicked, this, [this] { ShowText(list_->ItemIndex()); });
  layout->addWidget(show);
  auto* open = new QPushButton(tr("Open…"), row);
  open->setObjectName(QStringLiteral("openConcordance"));
  connect(open, &QPushButton::clicked, this, [this] { OpenWithDialog(); });
  layout->addWidget(open);
  auto* save = new QPushButton(tr("Save…"), row);
  save->setObjectName(QStringLiteral("saveConcordance"));
  connect(save, &QPushButton::clicked, this, [this] { SaveWithDialog(); });
  layout->addWidget(save);
  auto* tsv = new QPushButton(tr("Export TSV…"), row);
  tsv->setObjectName(QStringLiteral("exportTsv"));
  connect(tsv, &QPushButton::clicked, this, [this] { ExportWithDialog(); });
  layout->addWidget(tsv);
  return row;
}

jobs::ConcordanceSettings ConcordanceTab::SettingsFromBoxes() const {
  jobs::ConcordanceSettings settings;
  settings.searches = WordsOfBox(search_->text());
  settings.context = WordsOfBox(context_->text());
  settings.exclude = WordsOfBox(exclude_->text());
  settings.horizon = horizon_->value();
  settings.pos_tags = corpus_bar_.PosTags();
  return settings;  // no sort keys: lines stream in reading order and the list sorts them
}

void ConcordanceTab::StartSearch() {
  if (Busy()) return;
  auto run = std::make_shared<Run>();
  run->settings = SettingsFromBoxes();
  run->options = corpus_bar_.Options();
  if (run->settings.searches.empty()) return ShowProblem(tr("Type a search word first."));
  if (!CorpusChosen(run->options)) return ShowProblem(tr("Choose a corpus folder first."));

  list_->Clear();
  shown_ = run;
  current_ = run;
  Run* raw = run.get();
  const bool started = runner_.Start(
      [raw](const jobs::JobControl& control) {
        jobs::CorpusEvents events;
        events.on_skipped = [raw](const std::string& name, const std::string& reason) {
          const std::lock_guard lock(raw->mutex);
          raw->skipped.push_back(name + ": " + reason);
        };
        const jobs::ConcordanceJob job(raw->settings);
        raw->corpus = OpenCorpus(raw->options, events);
        raw->lcid.store(raw->corpus->Rule(raw->settings.pos_tags).lcid);
        const jobs::ConcordanceResult result =
            job.Run(*raw->corpus, control, [raw](const jobs::ConcordanceLine& line) {
              const std::lock_guard lock(raw->mutex);
              raw->arrived.push_back(line);
              return true;
            });
        raw->totals = result.totals;
      },
      [this, run](std::exception_ptr error) { Finished(run, error); });
  if (!started) return;
  totals_->setText(tr("Searching…"));
  SetBusy(true);
}

void ConcordanceTab::CancelSearch() {
  if (Busy()) runner_.Cancel();
}

void ConcordanceTab::SetBusy(bool busy) { ShowJobBusy(busy, start_, cancel_, progress_, timer_); }

void ConcordanceTab::TakeArrivedLines() {
  if (!current_) return;
  std::vector<jobs::ConcordanceLine> lines;
  {
    const std::lock_guard lock(current_->mutex);
    lines.swap(current_->arrived);
  }
  if (const std::uint32_t lcid = current_->lcid.load(); lcid != 0 && lcid != list_->Language()) list_->SetLanguage(lcid);
  list_->Append(lines);
  progress_->setValue(ProgressSteps(runner_));
}

void ConcordanceTab::Finished(const std::shared_ptr<Run>& run, std::exception_ptr error) {
  TakeArrivedLines();
  current_.reset();
  SetBusy(false);
  if (error) {
    ShowProblem(JobErrorText(error));
  } else {
    last_cancelled_ = run->totals.cancelled;
    progress_->setValue(run->totals.cancelled ? 0 : JobControls::kProgressSteps);
    list_->SetLanguage(run->totals.lcid);
    if (!list_->SortKeys().empty()) list_->ApplySort();
    ShowTotals(run->totals, run->skipped);
  }
  if (OnSearchEnded) OnSearchEnded();
}

void ConcordanceTab::ShowTotals(const jobs::ConcordanceTotals& totals, const std::vector<std::string>& skipped) {
  QStringList parts;
  const std::vector<std::string>& searches = shown_->settings.searches;
  for (std::size_t g = 0; g < searches.size() && g < totals.search_hits.size(); ++g)
    parts << ColouredWord(searches[g], static_cast<std::int32_t>(g)) + QStringLiteral(": ") +
                 Grouped(totals.search_hits[g]);
  QString text = parts.join(QStringLiteral(" &nbsp; ")) +
                 tr(" &nbsp; — %1 hits in %2 files of %3 words").arg(Grouped(totals.hits), Grouped(totals.files_read),
                                                                     Grouped(totals.words));
  QStringList lost;
  for (const std::string& input : skipped) lost << QString::fromStdString(input);
  if (!lost.isEmpty()) text += tr("; %1 inputs could not be read (hover to see them)").arg(lost.size());
  totals_->setToolTip(lost.join(QLatin1Char('\n')));
  if (totals.cancelled) text += tr(" <b>(cancelled: partial)</b>");
  totals_->setText(text);
}

void ConcordanceTab::ShowProblem(const QString& message) {
  totals_->setText(QStringLiteral("<span style=\"color:#b00000\">%1</span>").arg(message.toHtmlEscaped()));
}

bool ConcordanceTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    ShowText(list_->ItemAtPoint(static_cast<QMouseEvent*>(event)->position().toPoint()));
    return true;
  }
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ShowText(list_->ItemIndex());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

QString ConcordanceTab::TotalsText() const { return totals_->text(); }

void ConcordanceTab::ShowSyntaxHelp() {
  auto* box = new QMessageBox(QMessageBox::Information, tr("Search words"), QString::fromUtf8(kSearchWordSyntax),
                              QMessageBox::Close, this);
  box->setObjectName(QStringLiteral("syntaxHelpBox"));
  box->setTextFormat(Qt::RichText);
  box->setModal(false);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
}

QWidget* ConcordanceTab::ShowText(std::int32_t index) {
  if (Busy() || !shown_ || index < 0 || index >= list_->ItemCount()) return nullptr;
  const jobs::ConcordanceLine& line = list_->Lines()[static_cast<std::size_t>(index)];
  try {
    // Lines of a search: their file in its corpus (indices count from 1).
    // Lines loaded from a file: their file named on its own.
    std::unique_ptr<jobs::Corpus> own;
    const jobs::Corpus* corpus = shown_->corpus.get();
    if (!corpus) {
      jobs::CorpusOptions options = corpus_bar_.Options();
      options.paths = {line.file};
      own = OpenCorpus(options, {});
      corpus = own.get();
    }
    const auto& files = corpus->Files();
    const std::size_t file = own ? 1 : static_cast<std::size_t>(std::max(line.file_index, 0));
    if (file < 1 || file > files.size())
      throw jobs::JobError(jobs::JobError::failed, "cannot find " + line.file);
    auto* view = new TextView(*corpus, files[file - 1], shown_->settings.pos_tags, list_->Lines(),
                              static_cast<std::size_t>(index), this);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->show();
    return view;
  } catch (const std::exception& e) {
    ShowProblem(QString::fromStdString(e.what()));
    return nullptr;
  }
}

bool ConcordanceTab::SaveTo(const QString& path) {
  if (!shown_) return false;
  try {
    jobs::SaveConcordance(path.toStdString(), list_->Lines(), shown_->settings.searches);
    return true;
  } catch (const std::exception& e) {
    ShowProblem(QString::fromStdString(e.what()));
    return false;
  }
}

bool ConcordanceTab::LoadFrom(const QString& path) {
  if (Busy()) return false;
  try {
    LoadedConcordance loaded = LoadConcordanceFile(path.toStdString());
    auto run = std::make_shared<Run>();
    run->settings.searches = loaded.searches;
    run->settings.pos_tags = corpus_bar_.PosTags();
    list_->Clear();
    list_->Append(loaded.lines);
    if (!list_->SortKeys().empty()) list_->ApplySort();
    shown_ = run;
    search_->setText(QString::fromStdString(JoinedWords(loaded.searches)));
    QStringList parts;
    for (std::size_t g = 0; g < loaded.searches.size(); ++g) {
      const auto hits = std::count_if(loaded.lines.begin(), loaded.lines.end(),
                                      [g](const auto& line) { return line.search_word == static_cast<std::int32_t>(g); });
      parts << ColouredWord(loaded.searches[g], static_cast<std::int32_t>(g)) + QStringLiteral(": ") + Grouped(hits);
    }
    totals_->setToolTip(QString());
    totals_->setText(parts.join(QStringLiteral(" &nbsp; ")) +
                     tr(" &nbsp; — %1 lines from %2 files, loaded from %3")
                         .arg(Grouped(static_cast<std::int64_t>(loaded.lines.size())),
                              Grouped(static_cast<std::int64_t>(loaded.sources)), path.toHtmlEscaped()));
    return true;
  } catch (const std::exception& e) {
    ShowProblem(QString::fromStdString(e.what()));
    return false;
  }
}

void ConcordanceTab::OpenWithDialog() {
  if (Busy()) return;
  const QString path =
      QFileDialog::getOpenFileName(this, tr("Open a saved concordance"), QString(), tr("Concordances (*.cnc);;All files (*)"));
  if (!path.isEmpty()) LoadFrom(path);
}

bool ConcordanceTab::ExportTsvTo(const QString& path) {
  QString error;
  if (WriteWholeFile(path, ConcordanceTsv(list_->Lines()), error)) return true;
  ShowProblem(tr("Cannot write %1: %2").arg(path, error));
  return false;
}

void ConcordanceTab::SaveWithDialog() {
  if (Busy() || list_->ItemCount() == 0) return;
  const QString path =
      QFileDialog::getSaveFileName(this, tr("Save the concordance"), QString(), tr("Concordances (*.cnc)"));
  if (!path.isEmpty()) SaveTo(path);
}

void ConcordanceTab::ExportWithDialog() {
  if (Busy() || list_->ItemCount() == 0) return;
  const QString path =
      QFileDialog::getSaveFileName(this, tr("Export the lines as TSV"), QString(), tr("Tab-separated (*.tsv)"));
  if (!path.isEmpty()) ExportTsvTo(path);
}

}  // namespace quill::workbench
