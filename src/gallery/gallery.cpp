// quillctl-gallery: the controls of the controls library on one stylable form,
// filled with the demo corpus.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <vector>

#include "quillctl/colour_choosers.h"
#include "quillctl/image_lists.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/stylable_form.h"
#include "quillctl/styled_listboxes.h"
#include "quillrt/analysis/number_formats.h"

namespace {

using quill::UnicodeString;

using quill::FromQString;

// The running words of a tagged corpus file ("The/at jury/nn ..."), tags dropped.
QStringList WordsOfTaggedFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  QStringList words;
  for (const QString& token : QString::fromLatin1(file.readAll()).split(blanks, Qt::SkipEmptyParts)) {
    const QString word = token.left(token.lastIndexOf(QLatin1Char('/'))).toLower();
    if (std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); })) words << word;
  }
  return words;
}

struct TCorpusLists {
  std::vector<UnicodeString> word_list;    // rank, word, frequency, percentage
  std::vector<UnicodeString> concordance;  // number, left, hit, right, file
  std::vector<UnicodeString> files;        // the files read, as paths
};

TCorpusLists ReadCorpus(const QString& folder, const QString& node, int max_files) {
  TCorpusLists lists;
  const QDir dir(folder);
  std::map<QString, int> counts;
  long long tokens = 0;
  static const QRegularExpression corpus_file(QStringLiteral("^c[a-r]\\d\\d$"));
  for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
    if (!corpus_file.match(name).hasMatch() || static_cast<int>(lists.files.size()) >= max_files) continue;
    const QString path = dir.filePath(name);
    lists.files.push_back(FromQString(QDir::cleanPath(path)));
    const QStringList words = WordsOfTaggedFile(path);
    tokens += words.size();
    for (qsizetype i = 0; i < words.size(); ++i) {
      ++counts[words[i]];
      if (words[i] != node) continue;
      const QStringList left = words.mid(std::max<qsizetype>(i - 8, 0), std::min<qsizetype>(i, 8));
      const QStringList right = words.mid(i + 1, 8);
      lists.concordance.push_back(FromQString(QStringLiteral("%1\t%2\t%3\t%4\t%5")
                                                  .arg(lists.concordance.size() + 1)
                                                  .arg(left.join(QLatin1Char(' ')), words[i],
                                                       right.join(QLatin1Char(' ')), name)));
    }
  }
  std::vector<std::pair<QString, int>> by_frequency(counts.begin(), counts.end());
  std::stable_sort(by_frequency.begin(), by_frequency.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  for (std::size_t i = 0; i < by_frequency.size(); ++i)
    lists.word_list.push_back(FromQString(QStringLiteral("%1\t%2\t%3\t%4")
                                              .arg(i + 1)
                                              .arg(by_frequency[i].first)
                                              .arg(by_frequency[i].second)
                                              .arg(100.0 * by_frequency[i].second / std::max(tokens, 1LL), 0, 'f', 3)));
  return lists;
}

// The k-th TAB piece of a line.
std::u16string_view Piece(std::u16string_view line, int k) {
  for (; k > 0; --k) {
    const std::size_t tab = line.find(u'\t');
    if (tab == std::u16string_view::npos) return {};
    line.remove_prefix(tab + 1);
  }
  return line.substr(0, std::min(line.find(u'\t'), line.size()));
}

// Sorts a column list box on a column: numbers by value, other text by characters.
bool SortOnColumn(quill::TStyledColumnListbox& list, int column, bool ascending) {
  std::vector<UnicodeString> lines = list.Items().ToStringArray();
  const auto less = [column](const UnicodeString& a, const UnicodeString& b) {
    const UnicodeString pa(Piece(a, column)), pb(Piece(b, column));
    if (quill::IsANumber(pa) && quill::IsANumber(pb))
      return QString::fromUtf16(pa.data(), pa.size()).toDouble() < QString::fromUtf16(pb.data(), pb.size()).toDouble();
    return pa < pb;
  };
  std::stable_sort(lines.begin(), lines.end(), less);
  if (!ascending) std::reverse(lines.begin(), lines.end());
  list.Items().BeginUpdate();
  list.Items().Clear();
  list.Items().AddStrings(std::move(lines));
  list.Items().EndUpdate();
  return true;
}

// A header bar above a column list box, with captions and sorting.
quill::TStyledColumnListbox* AddColumnList(QWidget& owner, QVBoxLayout& layout,
                                           std::initializer_list<quill::TStringAndIntegerRec> headings,
                                           const std::vector<UnicodeString>& lines) {
  auto* header = new quill::THeaderControl(&owner);  // Qt parents own the controls
  auto* list = new quill::TStyledColumnListbox(&owner);
  layout.setSpacing(0);
  layout.addWidget(header);
  layout.addWidget(list, 1);
  list->SetHeaderControl(header);
  // The widths in percent are taken once the layout has given the list its width.
  QTimer::singleShot(0, list, [list, captions = std::vector<quill::TStringAndIntegerRec>(headings)] {
    list->DefineHeaders(captions, false);
    list->verticalScrollBar()->setValue(0);
  });
  list->Items().BeginUpdate();
  list->Items().AddStrings(lines);
  list->Items().EndUpdate();
  list->OnSortTheColumn = [list](quill::TOwnerDrawnList&, std::int32_t column, bool ascending) {
    return SortOnColumn(*list, column, ascending);
  };
  return list;
}

QGroupBox* Group(const QString& title, QLayout* layout) {
  auto* box = new QGroupBox(title);
  box->setLayout(layout);
  return box;
}

void BuildGallery(quill::TTMSStylableForm& form, const TCorpusLists& corpus) {
  auto* grid = new QGridLayout(&form);

  auto* words_layout = new QVBoxLayout;
  auto* word_list = AddColumnList(form, *words_layout, {{u"N", 14}, {u"Word", 40}, {u"Freq.", 24}, {u"%", 22}},
                                  corpus.word_list);
  word_list->SetItemIndex(3);
  grid->addWidget(Group(QStringLiteral("Word list (click a header to sort)"), words_layout), 0, 0);

  auto* conc_layout = new QVBoxLayout;
  auto* concordance = AddColumnList(
      form, *conc_layout, {{u"N", 7}, {u"Left", 38}, {u"Hit", 9}, {u"Right", 38}, {u"File", 8}}, corpus.concordance);
  concordance->SetItemIndex(1);
  grid->addWidget(Group(QStringLiteral("Concordance of \"time\""), conc_layout), 1, 0, 1, 2);

  auto* colour_layout = new QVBoxLayout;
  auto* colours = new quill::TColourSharingListbox(&form);
  colours->SetShowText({quill::ts_index, quill::ts_hex, quill::ts_description});
  colours->SetDefaultColour(quill::NameToWebColour(u"Crimson"));  // the combo's colour, marked by a dot
  colours->SetItemHeight(18);
  colours->SetASelected(quill::NameToWebColour(u"CornflowerBlue"));
  colour_layout->addWidget(colours, 1);
  auto* combo_row = new QHBoxLayout;
  combo_row->addSpacing(80);
  auto* combo = new quill::TColourSharingCombo(&form);
  combo->SetASelected(quill::NameToWebColour(u"Crimson"));
  combo_row->addWidget(combo, 1);
  colour_layout->addLayout(combo_row);
  auto* paths = new quill::TStyledListboxOwnerDrawnFixed(&form);
  paths->Items().AddStrings(std::vector<UnicodeString>(corpus.files.begin(),
                                                       corpus.files.begin() + std::min<std::size_t>(corpus.files.size(), 40)));
  paths->SetItemIndex(0);
  colour_layout->addWidget(new QLabel(QStringLiteral("Corpus files (paths shortened in the middle)")));
  colour_layout->addWidget(paths);
  grid->addWidget(Group(QStringLiteral("Shared colours"), colour_layout), 0, 1);

  auto* icons = new QGridLayout;
  for (quill::TImageDimensions d = 0; d <= 5; ++d) {
    const quill::TImageList& list = quill::ImageListOfDimension(d);
    for (std::int32_t i = 0; i < list.Count(); ++i) {
      auto* label = new QLabel;
      label->setPixmap(QPixmap::fromImage(list.Image(i)));
      icons->addWidget(label, d, i, Qt::AlignCenter);
    }
  }
  grid->addWidget(Group(QStringLiteral("Icons at six sizes"), icons), 2, 0, 1, 2);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  grid->setRowStretch(0, 3);
  grid->setRowStretch(1, 2);

  form.AddAFormStyler();
  // The combo's label can only be placed once the layout has put the combo.
  QTimer::singleShot(0, combo, [combo] {
    combo->SetLabelPosition(quill::lpLeftCenter);
    combo->SetLabelCaption(u"Hit colour");
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quillctl-gallery"));
  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addOption({QStringLiteral("corpus"), QStringLiteral("Folder of the tagged demo corpus."),
                    QStringLiteral("dir"), QStringLiteral(QUILL_DEMO_CORPUS)});
  parser.addOption({QStringLiteral("style"), QStringLiteral("Style ordinal (0 and up)."), QStringLiteral("n"),
                    QStringLiteral("0")});
  parser.addOption({QStringLiteral("screenshot"), QStringLiteral("Paint into this PNG file and exit."),
                    QStringLiteral("file")});
  parser.process(app);

  quill::GlobalTMSStyle = parser.value(QStringLiteral("style")).toInt();
  const TCorpusLists corpus = ReadCorpus(parser.value(QStringLiteral("corpus")), QStringLiteral("time"), 120);
  if (corpus.word_list.empty()) {
    qWarning("no corpus files (c[a-r]NN) found in %s", qPrintable(parser.value(QStringLiteral("corpus"))));
    return 1;
  }
  quill::TTMSStylableForm form;
  form.setWindowTitle(QStringLiteral("Quill controls"));
  form.resize(1200, 800);
  BuildGallery(form, corpus);
  form.show();

  const QString shot = parser.value(QStringLiteral("screenshot"));
  if (shot.isEmpty()) return QApplication::exec();
  QTimer::singleShot(300, &form, [&form, shot] {
    const bool saved = form.grab().save(shot, "PNG");
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
