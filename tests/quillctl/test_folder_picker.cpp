// The Qt folder picker: it fits the file tools' folder hook, shows what it is
// given and answers what the user did. A timer plays the user, so nothing
// waits for a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <type_traits>

#include "quillctl/folder_picker.h"
#include "quillfs/folder_dialog.h"  // the hook's type only; nothing of quillfs is linked

namespace quill {
namespace {

static_assert(std::is_convertible_v<decltype(&ChooseFolderWithQt), TChooseFolderHook>,
              "the Qt picker must install as the folder hook as it is");

// Waits for the picker to open, lets `act` check and close it, and counts
// the pickers seen.
class PickerUser {
 public:
  explicit PickerUser(std::function<void(QFileDialog&)> act) : act_(std::move(act)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      timer_.stop();
      ++seen_;
      act_(*dialog);
    });
    timer_.start(10);
  }
  int Seen() const { return seen_; }

 private:
  std::function<void(QFileDialog&)> act_;
  QTimer timer_;
  int seen_ = 0;
};

UnicodeString FromQ(const QString& text) {
  return UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

TEST(FolderPicker, ShowsTitleLabelAndStartFolderAndAnswersEmptyWhenCancelled) {
  QTemporaryDir start;
  ASSERT_TRUE(start.isValid());
  PickerUser user([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Select Folder"));
    EXPECT_EQ(dialog.labelText(QFileDialog::Accept), QString("Select"));
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(start.path()).canonicalPath());
    EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
    dialog.reject();
  });
  const TChooseFolderHook hook = &ChooseFolderWithQt;
  EXPECT_TRUE(hook(u"Select Folder", u"Select", FromQ(start.path())).empty());
  EXPECT_EQ(user.Seen(), 1);
}

TEST(FolderPicker, AnswersTheFolderTheUserAccepts) {
  QTemporaryDir start;
  ASSERT_TRUE(start.isValid());
  ASSERT_TRUE(QDir(start.path()).mkdir(QString::fromUtf8("t\u00E9xts")));
  const QString inner = start.path() + QString::fromUtf8("/t\u00E9xts");
  PickerUser user([&](QFileDialog& dialog) {
    dialog.setDirectory(inner);
    static_cast<QDialog&>(dialog).accept();  // as the OK button does
  });
  const UnicodeString chosen = ChooseFolderWithQt(u"Choose", u"", FromQ(start.path()));
  EXPECT_EQ(user.Seen(), 1);
  const QString chosen_path = QString::fromUtf16(chosen.data(), static_cast<qsizetype>(chosen.size()));
  EXPECT_EQ(QDir(chosen_path).canonicalPath(), QDir(inner).canonicalPath());
}

}  // namespace
}  // namespace quill
