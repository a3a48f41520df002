// The statistics tabs (Keywords, Collocates, Dispersion) driven on the
// offscreen platform: what each shows is what its job gives run directly.
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <set>

#include "collocates_tab.h"
#include "corpus_bar.h"
#include "dispersion_tab.h"
#include "keywords_tab.h"
#include "main_window.h"
#include "quillctl/dispersion_plot.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"
#include "score_table.h"

using namespace quill;
using namespace quill::workbench;

namespace {

constexpr int kJobTimeoutMs = 120000;

// Copies the demo corpus's files whose names start with `prefix` into `folder`.
void CopyDemoFiles(const QString& prefix, const QString& folder) {
  std::filesystem::create_directories(folder.toStdString());
  for (const auto& entry : std::filesystem::directory_iterator(DemoCorpusPath().toStdString()))
    if (entry.path().filename().string().starts_with(prefix.toStdString()))
      std::filesystem::copy_file(entry.path(), std::filesystem::path(folder.toStdString()) / entry.path().filename());
}

jobs::CorpusOptions FolderOptions(const QString& folder) {
  jobs::CorpusOptions options;
  options.paths.push_back(folder.toStdString());
  return options;
}

QStringList TsvLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void ClickSection(THeaderControl& header, int section) {
  const QPoint middle(header.sectionViewportPosition(section) + header.sectionSize(section) / 2, header.height() / 2);
  QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, middle);
}

}  // namespace

class StatisticsTabsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (DemoCorpusPath().isEmpty()) QSKIP("the demo corpus is not there (scripts/setup fetches it)");
    // Two small corpora: press reportage (ca*) against editorials (cb*).
    target_ = dir_.filePath(QStringLiteral("reportage"));
    reference_ = dir_.filePath(QStringLiteral("editorials"));
    CopyDemoFiles(QStringLiteral("ca"), target_);
    CopyDemoFiles(QStringLiteral("cb"), reference_);
    window_ = std::make_unique<MainWindow>(target_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanupTestCase() { window_.reset(); }

  // Keywords: the table holds the job's keywords in its order, sorts on a
  // click, exports as TSV, and takes its reference from favourites as well.
  void keywordsMatchTheJob() {
    KeywordsTab& tab = window_->Keywords();
    window_->Tabs().setCurrentWidget(&tab);
    tab.Start();
    QVERIFY(tab.TotalsText().contains(QStringLiteral("reference")));  // none chosen yet
    QVERIFY(!tab.Busy());

    tab.SetReference(reference_);
    tab.Start();
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    const jobs::Corpus target(FolderOptions(target_)), reference(FolderOptions(reference_));
    const jobs::KeywordsResult expected = jobs::KeywordsJob(tab.Settings()).Run(target, reference);
    const std::vector<ScoreRow>& rows = tab.Table().Rows();
    QVERIFY(!expected.keywords.empty());
    QCOMPARE(rows.size(), expected.keywords.size());
    QCOMPARE(tab.Table().List().ItemCount(), static_cast<std::int32_t>(rows.size()));
    const jobs::Keyword& first = expected.keywords.front();
    QCOMPARE(ToQString(rows[0][1].text), ToQString(first.word));
    QCOMPARE(rows[0][2].number, static_cast<double>(first.target_freq));
    QCOMPARE(rows[0][3].number, static_cast<double>(first.ref_freq));
    QCOMPARE(rows[0][4].number, first.scores.log_likelihood);
    QCOMPARE(ToQString(rows.back()[1].text), ToQString(expected.keywords.back().word));

    // Word sorts alphabetically; N gives the job's order back.
    ClickSection(tab.Table().Header(), 1);
    for (std::size_t i = 1; i < rows.size(); ++i) QVERIFY(rows[i - 1][1].text <= rows[i][1].text);
    ClickSection(tab.Table().Header(), 4);
    for (std::size_t i = 1; i < rows.size(); ++i) QVERIFY(rows[i - 1][4].number >= rows[i][4].number);
    ClickSection(tab.Table().Header(), 0);
    QCOMPARE(ToQString(rows[0][1].text), ToQString(first.word));

    QTemporaryDir out;
    const QString tsv = out.filePath(QStringLiteral("keywords.tsv"));
    QVERIFY(tab.ExportTsvTo(tsv));
    const QStringList lines = TsvLines(tsv);
    QCOMPARE(lines.size(), static_cast<int>(rows.size()) + 1);
    QCOMPARE(lines[0], QStringLiteral("N\tword\ttarget_freq\tref_freq\tll\tchi2\tdiff\tlogratio\tbic\tsign"));
    QVERIFY(lines[1].startsWith(QStringLiteral("1\t") + ToQString(first.word) + QLatin1Char('\t')));
    QVERIFY(!tab.ExportTsvTo(out.filePath(QStringLiteral("no/such/folder/k.tsv"))));
    tab.grab().save(QStringLiteral("/tmp/workbench_keywords.png"));

    // The same reference kept as favourites gives the same keywords.
    const QString favourites = out.filePath(QStringLiteral("editorials.fav"));
    reference.SaveFavourites(favourites.toStdString());
    tab.SetReferenceFavourites(favourites);
    tab.Start();
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    QCOMPARE(tab.Table().Rows().size(), expected.keywords.size());
    tab.SetReference(reference_);
  }

  // Collocates: the table holds the job's collocates with O/E; thresholds
  // that cannot be read are said and nothing starts.
  void collocatesMatchTheJob() {
    CollocatesTab& tab = window_->Collocates();
    window_->Tabs().setCurrentWidget(&tab);
    tab.NodeBox().setText(QStringLiteral("jury"));
    auto& thresholds = *tab.findChild<QLineEdit*>(QStringLiteral("thresholds"));
    thresholds.setText(QStringLiteral("mi>3"));
    tab.Start();
    QVERIFY(!tab.Busy());
    QVERIFY(tab.TotalsText().contains(QStringLiteral("NAME=VALUE")));

    thresholds.setText(QStringLiteral("mi=1; t=1"));
    QTest::keyClick(&tab.NodeBox(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    jobs::CollocatesSettings settings;
    QVERIFY(tab.Settings(settings));
    QVERIFY(settings.thresholds.proc_settings[MI_MI].do_it && settings.thresholds.proc_settings[MI_T_Score].do_it);
    QCOMPARE(settings.thresholds.proc_settings[MI_MI].threshold, 1.0f);
    const jobs::CollocatesResult expected = jobs::CollocatesJob(settings).Run(jobs::Corpus(FolderOptions(target_)));
    const std::vector<ScoreRow>& rows = tab.Table().Rows();
    QVERIFY(!expected.collocates.empty());
    QCOMPARE(rows.size(), expected.collocates.size());
    const jobs::Collocate& first = expected.collocates.front();
    QCOMPARE(ToQString(rows[0][1].text), ToQString(first.word));
    QCOMPARE(rows[0][2].number, static_cast<double>(first.observed));
    QCOMPARE(rows[0][6].number, first.scores.expected);
    QCOMPARE(rows[0][7].number, static_cast<double>(first.observed) / first.scores.expected);
    QCOMPARE(rows[0][12].number, first.scores.log_likelihood);
    QVERIFY(tab.TotalsText().contains(QString::number(expected.node_freq)));

    QTemporaryDir out;
    const QString tsv = out.filePath(QStringLiteral("collocates.tsv"));
    QVERIFY(tab.ExportTsvTo(tsv));
    const QStringList lines = TsvLines(tsv);
    QCOMPARE(lines.size(), static_cast<int>(rows.size()) + 1);
    QVERIFY(lines[0].startsWith(QStringLiteral("N\tword\tO\tleft\tright\tfreq\tE\tO/E\tmi\t")));
    tab.grab().save(QStringLiteral("/tmp/workbench_collocates.png"));
  }

  // Dispersion: a row per word group with the job's measures, and the plot
  // of the chosen row with a tick where each hit falls.
  void dispersionMatchesTheJob() {
    QCOMPARE(WordGroupsOfBox(QStringLiteral(" jury / juries ;; court;")),
             (std::vector<std::vector<std::string>>{{"jury", "juries"}, {"court"}}));
    DispersionTab& tab = window_->Dispersion();
    window_->Tabs().setCurrentWidget(&tab);
    tab.Start();
    QVERIFY(!tab.Busy());  // no words yet
    tab.WordsBox().setText(QStringLiteral("jury/juries; court"));
    tab.SetSegments(10);
    QTest::keyClick(&tab.WordsBox(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);

    const jobs::Corpus corpus(FolderOptions(target_));
    jobs::DispersionSettings settings;
    settings.words = {"jury", "juries"};
    settings.parts = 10;
    settings.pos_tags = true;
    const jobs::DispersionResult jury = jobs::DispersionJob(settings).Run(corpus);
    settings.words = {"court"};
    const jobs::DispersionResult court = jobs::DispersionJob(settings).Run(corpus);
    const std::vector<ScoreRow>& rows = tab.Table().Rows();
    QCOMPARE(rows.size(), std::size_t{2});
    QCOMPARE(ToQString(rows[0][1].text), QStringLiteral("jury/juries"));
    QCOMPARE(rows[0][2].number, static_cast<double>(jury.hits));
    QCOMPARE(rows[0][3].number, static_cast<double>(jury.measures.range));
    QCOMPARE(rows[0][4].number, 10.0);
    QCOMPARE(rows[0][5].number, jury.measures.juilland_d);
    QCOMPARE(rows[0][6].number, jury.measures.dp);
    QCOMPARE(rows[0][7].number, jury.measures.dp_norm);
    QCOMPARE(rows[1][2].number, static_cast<double>(court.hits));
    QCOMPARE(rows[1][6].number, court.measures.dp);

    // The plot of the first row: a bar per segment, a tick at each hit.
    const auto tick_shown = [&tab](const jobs::DispersionResult& result) {
      const QImage image = tab.Plot().Grab();
      if (image.height() != DispersionPlotHeight(result.parts.size())) return false;
      const QColor tick = ToQColor(kDispersionTickColour);
      for (std::size_t i = 0; i < result.parts.size(); ++i)
        for (const double position : result.parts[i].positions) {
          const TRect bar = DispersionPlotBarRect(i, image.width());
          if (image.pixelColor(DispersionPlotTickX(position, image.width()), (bar.top + bar.bottom) / 2) != tick)
            return false;
        }
      return true;
    };
    QVERIFY(!tab.Plot().Empty());
    QVERIFY(tick_shown(jury));
    // Along the first bar the tick colour is where the hits are, and nowhere else.
    const QImage plot = tab.Plot().Grab();
    const TRect bar = DispersionPlotBarRect(0, plot.width());
    std::set<int> ticks;
    for (const double position : jury.parts[0].positions) ticks.insert(DispersionPlotTickX(position, plot.width()));
    for (int x = bar.left; x < bar.right; ++x)
      QCOMPARE(plot.pixelColor(x, (bar.top + bar.bottom) / 2) == ToQColor(kDispersionTickColour), ticks.count(x) == 1);
    tab.grab().save(QStringLiteral("/tmp/workbench_dispersion.png"));
    // Choosing the other row plots its word; sorting keeps each row's plot.
    tab.Table().List().SetItemIndex(1);
    QVERIFY(tick_shown(court));
    tab.Table().SortOn(2);  // most hits first
    tab.Table().List().SetItemIndex(0);
    QVERIFY(tick_shown(jury.hits >= court.hits ? jury : court));
  }

  // Cancel stops a statistics job at once: the tab says the result is
  // partial and takes the next job.
  void cancelStopsAStatisticsJob() {
    MainWindow window(DemoCorpusPath());
    KeywordsTab& tab = window.Keywords();
    tab.SetReference(DemoCorpusPath());
    tab.Start();
    QVERIFY(tab.Busy());
    tab.Cancel();
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    QVERIFY2(tab.TotalsText().contains(QStringLiteral("cancelled")), qPrintable(tab.TotalsText()));
    tab.SetReference(reference_);
    tab.Start();
    QVERIFY(tab.Busy());
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    QVERIFY(!tab.TotalsText().contains(QStringLiteral("cancelled")));
  }

 private:
  QTemporaryDir dir_;
  QString target_;
  QString reference_;
  std::unique_ptr<MainWindow> window_;
};

int RunStatisticsTabsTests(int argc, char** argv) {
  StatisticsTabsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_statistics.moc"
