#include "keywords_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "corpus_bar.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"
#include "quillfs/folder_dialog.h"

namespace quill::workbench {
namespace {

std::vector<ScoreColumn> KeywordColumns() {
  return {{u"N", "N", 5, 0, true},
          {u"Word", "word", 19, -1},
          {u"Target freq", "target_freq", 10, 0},
          {u"Ref freq", "ref_freq", 10, 0},
          {u"LL", "ll", 10, 2},
          {u"Chi²", "chi2", 10, 2},
          {u"%DIFF", "diff", 10, 1},
          {u"Log ratio", "logratio", 9, 3},
          {u"BIC", "bic", 10, 2},
          {u"Key", "sign", 7, -1}};
}

ScoreRow KeywordRow(std::size_t rank, const jobs::Keyword& k) {
  return {NumberCell(static_cast<double>(rank)),
          TextCell(k.word),
          NumberCell(static_cast<double>(k.target_freq)),
          NumberCell(static_cast<double>(k.ref_freq)),
          NumberCell(k.scores.log_likelihood),
          NumberCell(k.scores.chi_square),
          NumberCell(k.scores.percent_diff),
          NumberCell(k.scores.log_ratio),
          NumberCell(k.scores.bic),
          TextCell(k.scores.positive ? u"+" : u"-")};
}

// The one keywords run: what was asked and what the job found. The job's
// thread writes `result` and `skipped`; the window reads them after its end.
struct KeywordsRun {
  jobs::CorpusOptions target;
  jobs::CorpusOptions reference;
  jobs::KeywordsSettings settings;
  jobs::KeywordsResult result;
  std::vector<std::string> skipped;
};

}  // namespace

KeywordsTab::KeywordsTab(const CorpusBar& corpus_bar, QWidget* parent)
    : StatsTab(corpus_bar, KeywordColumns(), tr("Find keywords"), parent) {
  AddSettingsRow(BuildReferenceRow());
  AddSettingsRow(BuildSettingsRow());
  Table().List().setObjectName(QStringLiteral("keywordList"));
}

QWidget* KeywordsTab::BuildReferenceRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("Reference corpus:"), row));
  reference_ = new QLineEdit(row);
  reference_->setObjectName(QStringLiteral("referencePath"));
  reference_->setPlaceholderText(tr("a folder of texts to compare the corpus with (read with the same masks and options)"));
  connect(reference_, &QLineEdit::textEdited, this, [this] {
    reference_favourites_.clear();
    favourites_tag_->hide();
  });
  layout->addWidget(reference_, 1);
  favourites_tag_ = new QLabel(tr("<i>favourites</i>"), row);
  favourites_tag_->hide();
  layout->addWidget(favourites_tag_);
  auto* choose = new QPushButton(tr("Choose…"), row);
  connect(choose, &QPushButton::clicked, this, [this] { ChooseReferenceFolder(); });
  layout->addWidget(choose);
  auto* favourites = new QPushButton(tr("Favourites…"), row);
  favourites->setToolTip(tr("Use the files of a favourites file as the reference corpus"));
  connect(favourites, &QPushButton::clicked, this, [this] { ChooseReferenceFavourites(); });
  layout->addWidget(favourites);
  return row;
}

QWidget* KeywordsTab::BuildSettingsRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(tr("Ranked by:"), row));
  stat_ = new QComboBox(row);
  stat_->addItem(tr("Log-likelihood"), static_cast<int>(jobs::KeynessStat::log_likelihood));
  stat_->addItem(tr("Chi-square"), static_cast<int>(jobs::KeynessStat::chi_square));
  stat_->addItem(tr("%DIFF"), static_cast<int>(jobs::KeynessStat::percent_diff));
  stat_->addItem(tr("Log ratio"), static_cast<int>(jobs::KeynessStat::log_ratio));
  stat_->addItem(tr("BIC"), static_cast<int>(jobs::KeynessStat::bic));
  layout->addWidget(stat_);
  layout->addWidget(new QLabel(tr("Minimum frequency:"), row));
  min_freq_ = new QSpinBox(row);
  min_freq_->setRange(1, 1000000);
  min_freq_->setValue(3);
  min_freq_->setToolTip(tr("Least frequency in the corpus where the word is over-represented"));
  layout->addWidget(min_freq_);
  layout->addWidget(new QLabel(tr("p:"), row));
  p_ = new QComboBox(row);
  p_->addItem(tr("no test"), 0.0);
  for (const double p : {0.05, 0.01, 0.001, 0.0001}) p_->addItem(QString::number(p), p);
  p_->setCurrentIndex(2);
  p_->setToolTip(tr("Keep only the words whose log-likelihood (or chi-square) is significant at p"));
  layout->addWidget(p_);
  bonferroni_ = new QCheckBox(tr("Bonferroni"), row);
  bonferroni_->setToolTip(tr("Divide p by the number of words tested"));
  layout->addWidget(bonferroni_);
  layout->addWidget(new QLabel(tr("Keys:"), row));
  direction_ = new QComboBox(row);
  direction_->addItem(tr("positive and negative"), static_cast<int>(jobs::KeywordDirection::both));
  direction_->addItem(tr("positive"), static_cast<int>(jobs::KeywordDirection::positive));
  direction_->addItem(tr("negative"), static_cast<int>(jobs::KeywordDirection::negative));
  layout->addWidget(direction_);
  reference_only_ = new QCheckBox(tr("Reference-only words"), row);
  reference_only_->setToolTip(tr("Also list the words met only in the reference, as negative keywords"));
  layout->addWidget(reference_only_);
  layout->addWidget(new QLabel(tr("Top:"), row));
  top_ = new QSpinBox(row);
  top_->setRange(0, 1000000);
  top_->setSpecialValueText(tr("all"));
  top_->setToolTip(tr("Keep the first so many of each direction"));
  layout->addWidget(top_);
  layout->addStretch(1);
  return row;
}

void KeywordsTab::SetReference(const QString& path) {
  reference_favourites_.clear();
  favourites_tag_->hide();
  reference_->setText(path);
}

void KeywordsTab::SetReferenceFavourites(const QString& file) {
  reference_favourites_ = file;
  reference_->setText(QDir::toNativeSeparators(file));
  favourites_tag_->show();
}

void KeywordsTab::ChooseReferenceFolder() {
  const UnicodeString folder = ChosenFolder(FromQString(tr("Choose the reference corpus folder")),
                                            FromQString(tr("Choose")), FromQString(reference_->text()));
  if (!folder.empty()) SetReference(QDir::toNativeSeparators(ToQString(folder)));
}

void KeywordsTab::ChooseReferenceFavourites() {
  const QString file = QFileDialog::getOpenFileName(this, tr("The reference corpus's favourites"), QString(),
                                                    FavouritesFilter());
  if (!file.isEmpty()) SetReferenceFavourites(file);
}

jobs::CorpusOptions KeywordsTab::ReferenceOptions() const {
  // The target's masks, subfolders, zips and language serve the reference too.
  jobs::CorpusOptions options = Corpus().Options();
  options.paths.clear();
  options.favourites.clear();
  const QString path = reference_->text().trimmed();
  if (!reference_favourites_.isEmpty()) options.favourites = reference_favourites_.toStdString();
  else if (!path.isEmpty()) options.paths.push_back(path.toStdString());
  return options;
}

jobs::KeywordsSettings KeywordsTab::Settings() const {
  jobs::KeywordsSettings settings;
  settings.pos_tags = Corpus().PosTags();
  settings.stat = static_cast<jobs::KeynessStat>(stat_->currentData().toInt());
  settings.min_freq = min_freq_->value();
  settings.p = p_->currentData().toDouble();
  settings.bonferroni = bonferroni_->isChecked();
  settings.direction = static_cast<jobs::KeywordDirection>(direction_->currentData().toInt());
  settings.reference_only_words = reference_only_->isChecked();
  settings.top = top_->value();
  return settings;
}

std::optional<StatsTab::Job> KeywordsTab::MakeJob() {
  auto run = std::make_shared<KeywordsRun>();
  run->target = Corpus().Options();
  run->reference = ReferenceOptions();
  run->settings = Settings();
  if (!CorpusChosen(run->target)) {
    ShowProblem(tr("Choose a corpus folder first."));
    return std::nullopt;
  }
  if (!CorpusChosen(run->reference)) {
    ShowProblem(tr("Choose a reference corpus to compare the corpus with."));
    return std::nullopt;
  }
  KeywordsRun* raw = run.get();
  Job job;
  job.work = [raw](const jobs::JobControl& control) {
    const jobs::KeywordsJob keywords(raw->settings);  // bad settings are said before any reading
    const std::unique_ptr<jobs::Corpus> target = OpenCorpusNoting(raw->target, raw->skipped);
    const std::unique_ptr<jobs::Corpus> reference = OpenCorpusNoting(raw->reference, raw->skipped);
    raw->result = keywords.Run(*target, *reference, control);
  };
  job.show = [this, run] { ShowResult(run->result, run->skipped); };
  return job;
}

void KeywordsTab::ShowResult(const jobs::KeywordsResult& result, const std::vector<std::string>& skipped) {
  std::vector<ScoreRow> rows;
  rows.reserve(result.keywords.size());
  for (const jobs::Keyword& keyword : result.keywords) rows.push_back(KeywordRow(rows.size() + 1, keyword));
  Table().SetRows(std::move(rows));
  QString text = tr("%1 keywords of %2 words tested; target %3 words in %4 files, reference %5 words in %6 files")
                     .arg(Grouped(static_cast<std::int64_t>(result.keywords.size())), Grouped(result.words_tested),
                          Grouped(result.target_tokens), Grouped(result.target_files), Grouped(result.ref_tokens),
                          Grouped(result.ref_files));
  if (result.critical_value > 0) text += tr("; critical value %1").arg(result.critical_value, 0, 'f', 2);
  ShowTotals(text, skipped, result.cancelled);
}

}  // namespace quill::workbench
