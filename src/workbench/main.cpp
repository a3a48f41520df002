// quill-workbench [--search WORDS] [--screenshot FILE.png] [CORPUS]: the
// desktop window over the jobs. CORPUS is a folder or file of texts; without
// it the demo corpus is opened. --search starts a concordance at once;
// --screenshot saves a picture of the window once that search (if any) has
// ended, then quits.
#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include "concordance_tab.h"
#include "main_window.h"
#include "quillctl/folder_picker.h"
#include "quillctl/qt_canvas.h"
#include "quillfs/folder_dialog.h"

namespace {

using quill::workbench::MainWindow;

// Saves the window as PNG and ends the program; exit status 1 when the file cannot be written.
void SaveScreenshotAndQuit(MainWindow& window, const QString& path) {
  const bool saved = window.grab().save(path, "PNG");
  if (!saved) std::fprintf(stderr, "quill-workbench: cannot write %s\n", qPrintable(path));
  QApplication::exit(saved ? 0 : 1);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quill-workbench"));
  // Folders are chosen through the file tools' hook; this window answers it with Qt's picker.
  quill::SetChooseFolderHook(&quill::ChooseFolderWithQt);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Quill workbench: concordances, word lists and n-grams of a corpus"));
  parser.addHelpOption();
  const QCommandLineOption search({QStringLiteral("s"), QStringLiteral("search")},
                                  QStringLiteral("Start a concordance of these search words."), QStringLiteral("words"));
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Save a picture of the window (after the search) and quit."),
                                      QStringLiteral("file.png"));
  parser.addOption(search);
  parser.addOption(screenshot);
  parser.addPositionalArgument(QStringLiteral("corpus"), QStringLiteral("Folder or file of texts (default: the demo corpus)."));
  parser.process(app);
  quill::InstallDesktopFacts();

  const QStringList corpus = parser.positionalArguments();
  MainWindow window(corpus.isEmpty() ? QString() : corpus.first());
  window.show();

  const QString picture = parser.value(screenshot);
  quill::workbench::ConcordanceTab& tab = window.Concordance();
  if (!picture.isEmpty()) {
    // Shown and painted first; after the search when there is one.
    tab.OnSearchEnded = [&window, picture] {
      QTimer::singleShot(200, &window, [&window, picture] { SaveScreenshotAndQuit(window, picture); });
    };
  }
  if (parser.isSet(search)) {
    tab.SearchBox().setText(parser.value(search));
    QTimer::singleShot(0, &tab, [&tab, &window, picture] {
      tab.StartSearch();
      // A search that could not start (nothing to search for) ends nothing.
      if (!tab.Busy() && !picture.isEmpty()) SaveScreenshotAndQuit(window, picture);
    });
  } else if (!picture.isEmpty()) {
    QTimer::singleShot(500, &window, [&window, picture] { SaveScreenshotAndQuit(window, picture); });
  }
  return QApplication::exec();
}
