#include "quillctl/folder_picker.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace quill {

namespace {

QString ToQString(const UnicodeString& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

UnicodeString FromQString(const QString& text) {
  return UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

}  // namespace

UnicodeString ChooseFolderWithQt(const UnicodeString& title, const UnicodeString& ok_label,
                                 const UnicodeString& suggested) {
  // A widget made without a QApplication aborts the program.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return {};
  // An instance rather than QFileDialog::getExistingDirectory, which cannot
  // label the OK button.
  QFileDialog dialog(QApplication::activeWindow(), ToQString(title), ToQString(suggested));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (!ok_label.empty()) dialog.setLabelText(QFileDialog::Accept, ToQString(ok_label));
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  return FromQString(QDir::toNativeSeparators(chosen.first()));
}

}  // namespace quill
