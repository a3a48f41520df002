// The workbench driven as a user drives it, on the offscreen platform: its
// answers are checked against the jobs layer run on the same corpus.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <fstream>
#include <sstream>

#include "concordance_list.h"
#include "concordance_tab.h"
#include "corpus_bar.h"
#include "frequency_tab.h"
#include "main_window.h"
#include "text_view.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"
#include "quilljobs/concordance_job.h"
#include "quilljobs/saved_lists.h"
#include "quillrt/rendering/colours.h"

using namespace quill;
using namespace quill::workbench;

namespace {

constexpr int kJobTimeoutMs = 120000;

jobs::CorpusOptions DemoOptions() {
  jobs::CorpusOptions options;
  options.paths.push_back(DemoCorpusPath().toStdString());
  return options;
}

// The concordance the jobs layer makes of the demo corpus, word/TAG tokens.
jobs::ConcordanceResult JobsConcordance(const std::string& search) {
  jobs::ConcordanceSettings settings;
  settings.searches = {search};
  settings.pos_tags = true;
  const jobs::Corpus corpus(DemoOptions());
  return jobs::ConcordanceJob(settings).Run(corpus);
}

std::vector<std::int64_t> HitNumbers(const std::vector<jobs::ConcordanceLine>& lines) {
  std::vector<std::int64_t> numbers;
  for (const auto& line : lines) numbers.push_back(line.hit_number);
  return numbers;
}

void Search(ConcordanceTab& tab, const QString& words) {
  tab.SearchBox().clear();
  QTest::keyClicks(&tab.SearchBox(), words);
  QTest::keyClick(&tab.SearchBox(), Qt::Key_Return);
}

// Clicks a header section in its middle, with modifier keys.
void ClickSection(THeaderControl& header, int section, Qt::KeyboardModifiers modifiers = {}) {
  const QPoint middle(header.sectionViewportPosition(section) + header.sectionSize(section) / 2, header.height() / 2);
  QTest::mouseClick(header.viewport(), Qt::LeftButton, modifiers, middle);
}

}  // namespace

class WorkbenchTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (DemoCorpusPath().isEmpty()) QSKIP("the demo corpus is not there (scripts/setup fetches it)");
    window_ = std::make_unique<MainWindow>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanupTestCase() { window_.reset(); }

  // Types a search and presses Enter: the lines are those of the jobs layer,
  // the first hit is painted in the first search word's colours at the centre.
  void concordanceMatchesTheJobs() {
    ConcordanceTab& tab = window_->Concordance();
    QVERIFY(window_->Corpus().PosTags());  // the demo corpus opens as word/TAG
    Search(tab, QStringLiteral("jury/juries"));
    QVERIFY(tab.Busy());
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);

    const jobs::ConcordanceResult expected = JobsConcordance("jury/juries");
    // 68 hits in the 500 texts, and one in the package's CONTENTS list (a
    // headline) when that file sits among the texts.
    const bool contents_listed = QFile::exists(DemoCorpusPath() + QStringLiteral("/CONTENTS"));
    QCOMPARE(expected.lines.size(), std::size_t{contents_listed ? 69u : 68u});
    const ConcordanceList& list = tab.List();
    QCOMPARE(list.ItemCount(), static_cast<std::int32_t>(expected.lines.size()));
    QCOMPARE(HitNumbers(list.Lines()), HitNumbers(expected.lines));
    QCOMPARE(ToQString(list.Lines()[0].hit), ToQString(expected.lines[0].hit));
    QVERIFY(tab.TotalsText().contains(QStringLiteral(": %1").arg(expected.lines.size())));

    const QImage grab = list.viewport()->grab().toImage();
    grab.save(QStringLiteral("/tmp/workbench_concordance_list.png"));
    const QColor hit_back = ToQColor(SearchFoundColoursFromNumber(0)[tct_background]);
    const TRect row = list.ItemRect(0);
    int first = -1, last = -1;
    for (int x = 0; x < grab.width(); ++x)
      if (grab.pixelColor(x, (row.top + row.bottom) / 2) == hit_back) {
        if (first < 0) first = x;
        last = x;
      }
    QVERIFY2(first >= 0, "the hit is not painted in its colours");
    // The hit sits under the centre column.
    const QHeaderView& header = *list.HeaderControl();
    const int centre_left = header.sectionViewportPosition(kCentreColumn);
    const int centre_right = centre_left + header.sectionSize(kCentreColumn);
    QVERIFY2(first < centre_right && last > centre_left,
             qPrintable(QStringLiteral("hit at %1..%2, centre %3..%4").arg(first).arg(last).arg(centre_left).arg(centre_right)));
  }

  // A click on R1 sorts on the first word right; Shift+click on L1 adds a
  // second level; a click on N gives the reading order back.
  void headerClicksSort() {
    ConcordanceTab& tab = window_->Concordance();
    ConcordanceList& list = tab.List();
    std::vector<jobs::ConcordanceLine> expected = JobsConcordance("jury/juries").lines;

    ClickSection(*list.HeaderControl(), kCentreColumn + 1);
    jobs::SortConcordance(expected, {jobs::SortKey::R1});
    QCOMPARE(HitNumbers(list.Lines()), HitNumbers(expected));
    for (std::size_t i = 1; i < list.Lines().size(); ++i)
      QVERIFY(jobs::ContextWord(list.Lines()[i - 1], 1) <= jobs::ContextWord(list.Lines()[i], 1));

    ClickSection(*list.HeaderControl(), kCentreColumn - 1, Qt::ShiftModifier);
    QCOMPARE(list.SortKeys(), (std::vector<jobs::SortKey>{jobs::SortKey::R1, jobs::SortKey::L1}));
    jobs::SortConcordance(expected, {jobs::SortKey::R1, jobs::SortKey::L1});
    QCOMPARE(HitNumbers(list.Lines()), HitNumbers(expected));

    ClickSection(*list.HeaderControl(), kFileColumn, Qt::ControlModifier);
    QCOMPARE(list.SortKeys(),
             (std::vector<jobs::SortKey>{jobs::SortKey::R1, jobs::SortKey::L1, jobs::SortKey::Filename}));
    jobs::SortConcordance(expected, {jobs::SortKey::R1, jobs::SortKey::L1, jobs::SortKey::Filename});
    QCOMPARE(HitNumbers(list.Lines()), HitNumbers(expected));

    ClickSection(*list.HeaderControl(), kNumberColumn);
    std::vector<std::int64_t> reading(list.Lines().size());
    for (std::size_t i = 0; i < reading.size(); ++i) reading[i] = static_cast<std::int64_t>(i) + 1;
    QCOMPARE(HitNumbers(list.Lines()), reading);
  }

  // The text behind a line: every hit of its file highlighted, the chosen one
  // holding the line's hit.
  void textViewHighlightsTheHits() {
    ConcordanceTab& tab = window_->Concordance();
    const auto& lines = tab.List().Lines();
    QVERIFY(!lines.empty());
    // Enter on the selected line opens its text.
    tab.List().SetItemIndex(0);
    QTest::keyClick(&tab.List(), Qt::Key_Return);
    auto* view = tab.findChild<TextView*>();
    QVERIFY(view != nullptr);
    const auto in_file =
        std::count_if(lines.begin(), lines.end(), [&](const auto& l) { return l.file_index == lines[0].file_index; });
    QCOMPARE(view->Highlighted(), static_cast<int>(in_file));
    const QList<QTextEdit::ExtraSelection> selections = view->Editor()->extraSelections();
    bool chosen_found = false;
    for (const auto& selection : selections) {
      QCOMPARE(selection.cursor.selectedText().toLower().left(3), QStringLiteral("jur"));  // jury, juries
      if (selection.cursor.selectedText() == ToQString(lines[0].hit)) chosen_found = true;
    }
    QVERIFY(chosen_found);
    QCOMPARE(view->Editor()->textCursor().selectedText(), ToQString(lines[0].hit));  // the line's own hit
    view->grab().save(QStringLiteral("/tmp/workbench_text_view.png"));
    delete view;
  }

  // Saved concordances and TSV hold every line; a file that cannot be written says so.
  void saveAndExport() {
    ConcordanceTab& tab = window_->Concordance();
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("jury.cnc"));
    QVERIFY(tab.SaveTo(saved));
    const jobs::SavedFileDescription description = jobs::DescribeSavedFile(saved.toStdString());
    QVERIFY(description.recognised);
    QCOMPARE(description.kind, lt_concordance_list);

    const QString tsv = dir.filePath(QStringLiteral("jury.tsv"));
    QVERIFY(tab.ExportTsvTo(tsv));
    std::ifstream in(tsv.toStdString());
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
      ++rows;
      QCOMPARE(std::count(line.begin(), line.end(), '\t'), 7L);
    }
    QCOMPARE(rows, tab.List().ItemCount() + 1);

    QVERIFY(!tab.ExportTsvTo(dir.filePath(QStringLiteral("no/such/folder/x.tsv"))));
    QVERIFY(tab.TotalsText().contains(QStringLiteral("Cannot write")));

    // Loaded back, the saved concordance shows the same lines, and a line's
    // text opens from its file named on its own.
    const std::vector<jobs::ConcordanceLine> before = tab.List().Lines();
    QVERIFY(!tab.LoadFrom(tsv));
    QVERIFY(tab.TotalsText().contains(QStringLiteral("jury.tsv")));
    QCOMPARE(tab.List().Lines().size(), before.size());  // a failed load keeps the lines
    QVERIFY(tab.LoadFrom(saved));
    QCOMPARE(HitNumbers(tab.List().Lines()), HitNumbers(before));
    for (std::size_t i = 0; i < before.size(); ++i) {
      QCOMPARE(tab.List().Lines()[i].file, before[i].file);
      QCOMPARE(ToQString(tab.List().Lines()[i].left + tab.List().Lines()[i].hit + tab.List().Lines()[i].right),
               ToQString(before[i].left + before[i].hit + before[i].right));
    }
    const std::size_t last = before.size() - 1;
    auto* view = dynamic_cast<TextView*>(tab.ShowText(static_cast<std::int32_t>(last)));
    QVERIFY(view != nullptr);
    const auto in_file = std::count_if(before.begin(), before.end(), [&](const auto& l) { return l.file == before[last].file; });
    QCOMPARE(view->Highlighted(), static_cast<int>(in_file));
    view->close();

    // A file name holding a tab still gives eight fields.
    std::vector<jobs::ConcordanceLine> odd(1);
    odd[0].file = "a\tb";
    odd[0].file[1] = '\t';
    odd[0].hit = u"x";
    const std::string odd_tsv = ConcordanceTsv(odd);
    QCOMPARE(std::count(odd_tsv.begin(), odd_tsv.end(), '\t'), 14L);
  }

  // A search word with nothing to search for is said in the totals line; no
  // lines, and the window takes the next search.
  void badSearchIsSaid() {
    ConcordanceTab& tab = window_->Concordance();
    Search(tab, QStringLiteral("*"));
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    QCOMPARE(tab.List().ItemCount(), 0);
    QVERIFY2(tab.TotalsText().contains(QStringLiteral("color:#b00000")), qPrintable(tab.TotalsText()));
  }

  // Closing a window while its job runs stops the job and waits for it.
  void closingDuringAJobStopsIt() {
    auto window = std::make_unique<MainWindow>();
    window->show();
    Search(window->Concordance(), QStringLiteral("*a/*e/*i/*o/*u"));
    QTRY_VERIFY_WITH_TIMEOUT(window->Concordance().List().ItemCount() > 0, kJobTimeoutMs);
    QElapsedTimer closing;
    closing.start();
    window.reset();
    QVERIFY(closing.elapsed() < 10000);
  }

  // The hit of a line in word/TAG text spans its words, tags between them
  // included, so that a phrase is highlighted whole.
  void hitSpanCoversEveryWordOfThePhrase() {
    const UnicodeString text = u"The/at grand/jj jury/nn said/vbd";
    jobs::WordRule rule;
    rule.pos_tags = true;
    jobs::ClassifiedText classified;
    jobs::ClassifyText(text, rule, classified);
    std::vector<jobs::WordSpan> words;
    jobs::FindWords(classified, text.size(), words);
    jobs::ConcordanceLine line;
    line.word_number = 2;
    line.hit = u"grand jury";
    const TextSpan span = HitSpanInText(line, words, rule);
    QCOMPARE(ToQString(text.substr(span.start, span.end - span.start)), QStringLiteral("grand/jj jury"));
    line.word_number = 5;  // beyond the text: nothing
    QCOMPARE(HitSpanInText(line, words, rule).end, std::size_t{0});
  }

  // A long job stops on Cancel, says its totals are partial, and the window
  // then runs the next search as usual.
  void cancelKeepsTheWindowAnswering() {
    ConcordanceTab& tab = window_->Concordance();
    // Every word ending in a vowel, "s" or "d": a few hundred thousand lines.
    Search(tab, QStringLiteral("*a/*e/*i/*o/*u/*y/*s/*d"));
    QTRY_VERIFY2_WITH_TIMEOUT(tab.List().ItemCount() > 0, qPrintable(tab.TotalsText()), kJobTimeoutMs);
    QVERIFY(tab.Busy());
    ClickSection(*tab.List().HeaderControl(), kCentreColumn + 1);  // R1, while lines still arrive
    QTest::mouseClick(tab.findChild<QPushButton*>(QStringLiteral("cancelSearch")), Qt::LeftButton);
    QElapsedTimer stopping;
    stopping.start();
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), 10000);
    qInfo("stopped %lld ms after Cancel with %d lines", stopping.elapsed(), tab.List().ItemCount());
    QVERIFY(tab.LastRunCancelled());
    QVERIFY(tab.TotalsText().contains(QStringLiteral("cancelled")));
    // The sort chosen while the lines arrived was applied to them at the end.
    const auto& lines = tab.List().Lines();
    QCOMPARE(tab.List().SortKeys(), std::vector<jobs::SortKey>{jobs::SortKey::R1});
    for (std::size_t i = 1; i < lines.size(); ++i)
      QVERIFY(jobs::ContextWord(lines[i - 1], 1) <= jobs::ContextWord(lines[i], 1));

    Search(tab, QStringLiteral("jury/juries"));
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    QCOMPARE(tab.List().ItemCount(), static_cast<std::int32_t>(JobsConcordance("jury/juries").lines.size()));
    window_->grab().save(QStringLiteral("/tmp/workbench_window.png"));
  }

  // The word list is the jobs layer's, most frequent first, and saves as a
  // saved word list that loads back whole.
  void wordListMatchesTheJobsAndSaves() {
    FrequencyTab& tab = window_->WordList();
    window_->Tabs().setCurrentWidget(&tab);
    tab.StartCounting();
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    jobs::WordListSettings settings;
    settings.pos_tags = true;
    settings.shape.by_freq = true;
    const jobs::Corpus corpus(DemoOptions());
    const std::vector<jobs::FrequencyItem> expected = jobs::WordListJob(settings).Run(corpus).Items();
    QCOMPARE(tab.Items().size(), expected.size());
    QCOMPARE(ToQString(tab.Items()[0].item), ToQString(expected[0].item));
    QCOMPARE(tab.Items()[0].frequency, expected[0].frequency);
    QCOMPARE(tab.List().ItemCount(), static_cast<std::int32_t>(expected.size()));

    // The Word column sorts alphabetically, the Frequency column most frequent first.
    THeaderControl& header = *tab.List().HeaderControl();
    ClickSection(header, 1);
    for (std::size_t i = 1; i < tab.Items().size(); ++i) QVERIFY(tab.Items()[i - 1].item <= tab.Items()[i].item);
    QVERIFY(tab.List().Items()[0].find(tab.Items()[0].item) != UnicodeString::npos);
    ClickSection(header, 2);
    QCOMPARE(ToQString(tab.Items()[0].item), ToQString(expected[0].item));
    for (std::size_t i = 1; i < tab.Items().size(); ++i)
      QVERIFY(tab.Items()[i - 1].frequency >= tab.Items()[i].frequency);

    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("words.lst"));
    QVERIFY(tab.SaveTo(saved));
    const jobs::TSavedWordList loaded = jobs::LoadSavedFrequencyList(saved.toStdString());
    QCOMPARE(loaded.list->Count(), static_cast<int>(expected.size()));
    QCOMPARE(loaded.WordsPerEntry(), 1);
    tab.List().grab().save(QStringLiteral("/tmp/workbench_word_list.png"));
  }

  // N-grams: three words each, none below the minimum frequency.
  void nGramsHoldNWords() {
    FrequencyTab& tab = window_->NGrams();
    tab.StartCounting();
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    QVERIFY(!tab.Items().empty());
    for (const jobs::FrequencyItem& item : tab.Items()) {
      QVERIFY(item.frequency >= 2);
      QCOMPARE(std::count(item.item.begin(), item.item.end(), u' '), 2L);
    }
  }

  // Favourites: the demo corpus kept as a favourites file opens again as the
  // same files; a damaged or missing file is refused and the corpus stays.
  void favouritesKeepAndReopenTheCorpus() {
    CorpusBar bar;
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("brown.fav"));
    QVERIFY2(bar.SaveFavourites(kept), qPrintable(bar.LastProblem()));
    QVERIFY(bar.OpenFavourites(kept));
    QCOMPARE(bar.Favourites(), kept);
    QVERIFY(bar.Options().paths.empty());
    const std::size_t walked = jobs::Corpus(DemoOptions()).Files().size();
    QCOMPARE(jobs::Corpus(bar.Options()).Files().size(), walked);
    // The tabs count the favourites' files.
    {
      FrequencyTab tab(FrequencyKind::word_list, bar);
      tab.StartCounting();
      QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
      QVERIFY2(tab.TotalsText().endsWith(QStringLiteral(" in %1 files").arg(walked)), qPrintable(tab.TotalsText()));
    }
    // Favourites can be kept again from favourites.
    QVERIFY(bar.SaveFavourites(dir.filePath(QStringLiteral("again.fav"))));

    const QString damaged = dir.filePath(QStringLiteral("damaged.fav"));
    {
      std::ofstream file(damaged.toStdString(), std::ios::binary);
      file << "not a walk at all";
    }
    QString heard;
    bar.OnProblem = [&heard](const QString& problem) { heard = problem; };
    for (const QString& bad : {damaged, dir.filePath(QStringLiteral("missing.fav"))}) {
      heard.clear();
      QVERIFY(!bar.OpenFavourites(bad));
      QVERIFY(!heard.isEmpty());
      QCOMPARE(heard, bar.LastProblem());
      QCOMPARE(bar.Favourites(), kept);
      QCOMPARE(jobs::Corpus(bar.Options()).Files().size(), walked);
    }
    QVERIFY(!bar.SaveFavourites(dir.filePath(QStringLiteral("no/such/folder/x.fav"))));

    // Choosing a folder leaves the favourites.
    bar.SetPath(DemoCorpusPath());
    QVERIFY(bar.Favourites().isEmpty());
    QCOMPARE(bar.Options().paths.size(), std::size_t{1});
  }

  // Right-to-left texts read from the right: the words before the hit are
  // painted to its right. (Last: the language a corpus sets stays set.)
  void rightToLeftLinesReadFromTheRight() {
    QTemporaryDir dir;
    {
      std::ofstream text(dir.filePath(QStringLiteral("ar.txt")).toStdString());
      text << "\xd9\x83\xd8\xaa\xd8\xa7\xd8\xa8 \xd9\x82\xd8\xaf\xd9\x8a\xd9\x85 \xd8\xac\xd8\xaf\xd8\xa7 "
              "\xd8\xa8\xd8\xad\xd8\xab\n";  // four words, the last one searched for
    }
    MainWindow window(dir.path());
    window.findChild<QCheckBox*>(QStringLiteral("posTags"))->setChecked(false);
    window.findChild<QLineEdit*>(QStringLiteral("corpusLanguage"))->setText(QStringLiteral("ar-SA"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ConcordanceTab& tab = window.Concordance();
    tab.SearchBox().setText(QString::fromUtf8("\xd8\xa8\xd8\xad\xd8\xab"));  // typed keys are ASCII only
    QTest::keyClick(&tab.SearchBox(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!tab.Busy(), kJobTimeoutMs);
    QCOMPARE(tab.List().ItemCount(), 1);
    QVERIFY(!tab.List().Lines()[0].left.empty());

    const QImage grab = tab.List().viewport()->grab().toImage();
    const TRect row = tab.List().ItemRect(0);
    const QColor hit_back = ToQColor(SearchFoundColoursFromNumber(0)[tct_background]);
    const QHeaderView& header = *tab.List().HeaderControl();
    const int text_left = header.sectionViewportPosition(kFirstContextColumn);
    const int text_right = header.sectionViewportPosition(kLastContextColumn) + header.sectionSize(kLastContextColumn);
    int hit_left = -1, hit_right = -1, ink_left = 0, ink_right = 0;
    for (int x = text_left; x < text_right; ++x)
      if (grab.pixelColor(x, (row.top + row.bottom) / 2) == hit_back) {
        if (hit_left < 0) hit_left = x;
        hit_right = x;
      }
    QVERIFY(hit_left >= 0);
    const QColor paper = grab.pixelColor(text_left + 1, row.top + 1);
    constexpr int kEdge = 3;
    for (int y = row.top; y < row.bottom; ++y)
      for (int x = text_left; x < text_right; ++x) {
        if (x >= hit_left - kEdge && x <= hit_right + kEdge) continue;  // the hit and its blended edges
        if (grab.pixelColor(x, y) != paper) (x < hit_left ? ink_left : ink_right)++;
      }
    // Painted left to right, the three words would all lie left of the hit;
    // a few pixels there are the hit's glyphs reaching past its box.
    QVERIFY2(ink_right > 10 * ink_left, qPrintable(QStringLiteral("ink left %1, right %2").arg(ink_left).arg(ink_right)));
  }

 private:
  std::unique_ptr<MainWindow> window_;
};

int RunStatisticsTabsTests(int argc, char** argv);

// Two test classes in one program: the window's first tabs, then the
// statistics tabs (test_statistics.cpp).
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  WorkbenchTest workbench;
  const int failed = QTest::qExec(&workbench, argc, argv);
  return failed + RunStatisticsTabsTests(argc, argv);
}

#include "test_workbench.moc"
