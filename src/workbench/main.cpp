// quill-workbench [CORPUS]: the desktop window over the jobs. CORPUS is a
// folder or file of texts; without it the demo corpus is opened.
#include <QApplication>
#include <QStringList>

#include "main_window.h"
#include "quillctl/qt_canvas.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quill-workbench"));
  quill::InstallDesktopFacts();
  const QStringList arguments = QApplication::arguments();
  quill::workbench::MainWindow window(arguments.size() > 1 ? arguments.at(1) : QString());
  window.show();
  return QApplication::exec();
}
