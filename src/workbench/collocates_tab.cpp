#include "collocates_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>

#include "concordance_tab.h"
#include "corpus_bar.h"
#include "quillctl/styled_listboxes.h"

namespace quill::workbench {
namespace {

constexpr int kMaxSpan = 50;

std::vector<ScoreColumn> CollocateColumns() {
  return {{u"N", "N", 4, 0, true},    {u"Word", "word", 12, -1}, {u"O", "O", 6, 0},
          {u"Left", "left", 5, 0},    {u"Right", "right", 5, 0}, {u"Freq", "freq", 6, 0},
          {u"E", "E", 6, 2},          {u"O/E", "O/E", 6, 2},     {u"MI", "mi", 6, 3},
          {u"MI3", "mi3", 6, 3},      {u"T", "t", 6, 3},         {u"Z", "z", 6, 3},
          {u"LL", "ll", 7, 2},        {u"Dice", "dice", 6, 4},   {u"logDice", "logdice", 7, 3},
          {u"Log ratio", "logratio", 6, 3}};
}

ScoreRow CollocateRow(std::size_t rank, const jobs::Collocate& c) {
  const jobs::CollocationScores& s = c.scores;
  const double observed = static_cast<double>(c.observed);
  return {NumberCell(static_cast<double>(rank)),
          TextCell(c.word),
          NumberCell(observed),
          NumberCell(static_cast<double>(c.left)),
          NumberCell(static_cast<double>(c.right)),
          NumberCell(static_cast<double>(c.frequency)),
          NumberCell(s.expected),
          NumberCell(s.expected > 0 ? observed / s.expected : std::nan("")),
          NumberCell(s.mi),
          NumberCell(s.mi3),
          NumberCell(s.t_score),
          NumberCell(s.z_score),
          NumberCell(s.log_likelihood),
          NumberCell(s.dice),
          NumberCell(s.log_dice),
          NumberCell(s.log_ratio)};
}

// The one collocates run; the job's thread writes `result` and `skipped`,
// the window reads them after its end.
struct CollocatesRun {
  jobs::CorpusOptions corpus;
  jobs::CollocatesSettings settings;
  jobs::CollocatesResult result;
  std::vector<std::string> skipped;
};

QSpinBox* SpanBox(int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(0, kMaxSpan);
  box->setValue(value);
  return box;
}

}  // namespace

bool ParseThresholds(const QString& text, TConcgramMutualChecks& checks) {
  static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
  for (const QString& piece : text.split(separators, Qt::SkipEmptyParts)) {
    const qsizetype equals = piece.indexOf(QLatin1Char('='));
    if (equals <= 0) return false;
    TMutualInfoStats stat{};
    bool number = false;
    const float value = piece.mid(equals + 1).toFloat(&number);
    if (!number || !jobs::ParseRelationshipStat(piece.left(equals).toLower().toStdString(), stat)) return false;
    checks.proc_settings[stat] = {true, value};
  }
  return true;
}

CollocatesTab::CollocatesTab(const CorpusBar& corpus_bar, QWidget* parent)
    : StatsTab(corpus_bar, CollocateColumns(), tr("Find collocates"), parent) {
  AddSettingsRow(BuildNodeRow());
  AddSettingsRow(BuildFilterRow());
  Table().List().setObjectName(QStringLiteral("collocateList"));
}

QWidget* CollocatesTab::BuildNodeRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("Node:"), row));
  node_ = new QLineEdit(row);
  node_->setObjectName(QStringLiteral("nodeWords"));
  node_->setPlaceholderText(tr("a word, or words separated by ';' that count as one node"));
  connect(node_, &QLineEdit::returnPressed, this, [this] { Start(); });
  layout->addWidget(node_, 1);
  layout->addWidget(new QLabel(tr("Span: left"), row));
  left_ = SpanBox(5, row);
  layout->addWidget(left_);
  layout->addWidget(new QLabel(tr("right"), row));
  right_ = SpanBox(5, row);
  layout->addWidget(right_);
  within_sentence_ = new QCheckBox(tr("Within sentences"), row);
  within_sentence_->setToolTip(tr("Spans stop at the ends of sentences"));
  layout->addWidget(within_sentence_);
  layout->addWidget(new QLabel(tr("Ranked by:"), row));
  stat_ = new QComboBox(row);
  const std::pair<const char*, jobs::CollocationStat> stats[] = {
      {"Log-likelihood", jobs::CollocationStat::log_likelihood},
      {"MI", jobs::CollocationStat::mi},
      {"MI3", jobs::CollocationStat::mi3},
      {"T score", jobs::CollocationStat::t_score},
      {"Z score", jobs::CollocationStat::z_score},
      {"Dice", jobs::CollocationStat::dice},
      {"logDice", jobs::CollocationStat::log_dice},
      {"Log ratio", jobs::CollocationStat::log_ratio},
      {"Frequency (O)", jobs::CollocationStat::frequency}};
  for (const auto& [name, stat] : stats) stat_->addItem(tr(name), static_cast<int>(stat));
  layout->addWidget(stat_);
  return row;
}

QWidget* CollocatesTab::BuildFilterRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("Minimum frequency:"), row));
  min_freq_ = new QSpinBox(row);
  min_freq_->setRange(1, 1000000);
  min_freq_->setValue(3);
  min_freq_->setToolTip(tr("Least frequency of a collocate in the corpus"));
  layout->addWidget(min_freq_);
  layout->addWidget(new QLabel(tr("co-occurrences:"), row));
  min_coll_freq_ = new QSpinBox(row);
  min_coll_freq_->setRange(1, 1000000);
  min_coll_freq_->setValue(2);
  min_coll_freq_->setToolTip(tr("Least number of times a collocate is met near the node"));
  layout->addWidget(min_coll_freq_);
  layout->addWidget(new QLabel(tr("Thresholds:"), row));
  thresholds_ = new QLineEdit(row);
  thresholds_->setObjectName(QStringLiteral("thresholds"));
  thresholds_->setPlaceholderText(tr("e.g. mi=3; t=2"));
  thresholds_->setToolTip(tr("Least values of dice, mi, mi3, z, ll, t or logratio, as NAME=VALUE separated by ';'"));
  layout->addWidget(thresholds_, 1);
  all_thresholds_ = new QCheckBox(tr("All must pass"), row);
  all_thresholds_->setToolTip(tr("Every threshold must be reached (otherwise one is enough)"));
  layout->addWidget(all_thresholds_);
  layout->addWidget(new QLabel(tr("Top:"), row));
  top_ = new QSpinBox(row);
  top_->setRange(0, 1000000);
  top_->setSpecialValueText(tr("all"));
  layout->addWidget(top_);
  return row;
}

bool CollocatesTab::Settings(jobs::CollocatesSettings& settings) {
  settings.nodes = WordsOfBox(node_->text());
  settings.left = left_->value();
  settings.right = right_->value();
  settings.within_sentence = within_sentence_->isChecked();
  settings.pos_tags = Corpus().PosTags();
  settings.min_freq = min_freq_->value();
  settings.min_coll_freq = min_coll_freq_->value();
  settings.sort = static_cast<jobs::CollocationStat>(stat_->currentData().toInt());
  settings.top = top_->value();
  settings.thresholds = {};
  if (!ParseThresholds(thresholds_->text(), settings.thresholds)) {
    ShowProblem(tr("Thresholds are NAME=VALUE separated by ';', NAME one of dice, mi, mi3, z, ll, t, logratio: %1")
                    .arg(thresholds_->text()));
    return false;
  }
  settings.thresholds.test_all_procedures = all_thresholds_->isChecked();
  settings.thresholds.test_all_words = true;  // otherwise the first statistic that passes ends the test
  return true;
}

std::optional<StatsTab::Job> CollocatesTab::MakeJob() {
  auto run = std::make_shared<CollocatesRun>();
  run->corpus = Corpus().Options();
  if (!CorpusChosen(run->corpus)) {
    ShowProblem(tr("Choose a corpus folder first."));
    return std::nullopt;
  }
  if (!Settings(run->settings)) return std::nullopt;
  CollocatesRun* raw = run.get();
  Job job;
  job.work = [raw](const jobs::JobControl& control) {
    const jobs::CollocatesJob collocates(raw->settings);  // bad settings are said before any reading
    const std::unique_ptr<jobs::Corpus> corpus = OpenCorpusNoting(raw->corpus, raw->skipped);
    raw->result = collocates.Run(*corpus, control);
  };
  job.show = [this, run] { ShowResult(run->result, run->skipped); };
  return job;
}

void CollocatesTab::ShowResult(const jobs::CollocatesResult& result, const std::vector<std::string>& skipped) {
  std::vector<ScoreRow> rows;
  rows.reserve(result.collocates.size());
  for (const jobs::Collocate& collocate : result.collocates) rows.push_back(CollocateRow(rows.size() + 1, collocate));
  Table().SetRows(std::move(rows));
  ShowTotals(tr("%1 collocates; the node met %2 times in %3 words of %4 files")
                 .arg(Grouped(static_cast<std::int64_t>(result.collocates.size())), Grouped(result.node_freq),
                      Grouped(result.tokens), Grouped(result.files_read)),
             skipped, result.cancelled);
}

}  // namespace quill::workbench
