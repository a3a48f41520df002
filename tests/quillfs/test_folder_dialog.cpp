#include "quillfs/folder_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

// Installs a hook for one test and puts the previous one back.
class ScopedFolderHook {
 public:
  explicit ScopedFolderHook(TChooseFolderHook hook) : previous_(SetChooseFolderHook(std::move(hook))) {}
  ~ScopedFolderHook() { SetChooseFolderHook(previous_); }
  ScopedFolderHook(const ScopedFolderHook&) = delete;
  ScopedFolderHook& operator=(const ScopedFolderHook&) = delete;

 private:
  TChooseFolderHook previous_;
};

TEST(FolderDialog, WithoutAUserInterfaceTheAnswerIsCancelled) {
  EXPECT_TRUE(ChosenFolder(u"Select Folder", u"Select", u"/tmp").empty());
  // An empty hook puts the default back rather than leaving none.
  const ScopedFolderHook scoped(nullptr);
  EXPECT_TRUE(ChosenFolder(u"t", u"ok", u"/").empty());
}

TEST(FolderDialog, TheButtonAsksWithTheEditsTextAndTakesTheChosenFolder) {
  std::vector<std::string> asked;
  const ScopedFolderHook scoped([&](const UnicodeString& title, const UnicodeString& ok, const UnicodeString& suggested) {
    asked.push_back(Utf16ToUtf8(title) + "|" + Utf16ToUtf8(ok) + "|" + Utf16ToUtf8(suggested));
    return UnicodeString(u"/corpus/new");
  });
  TMyOpenFileDialog dialog;
  dialog.SetText(u"/corpus/old");
  std::vector<std::string> events;
  dialog.OnButtonPressing = [&](TObject* sender) {
    EXPECT_EQ(sender, &dialog);
    events.push_back("pressing");
  };
  dialog.OnFolderChosen = [&](TObject*) { events.push_back("chosen " + Utf16ToUtf8(dialog.Folder())); };
  dialog.ButtonClick();
  EXPECT_EQ(asked, std::vector<std::string>{"Select Folder|Select|/corpus/old"});
  EXPECT_EQ(events, (std::vector<std::string>{"pressing", "chosen /corpus/new"}));
  EXPECT_EQ(dialog.Text(), u"/corpus/new");
}

TEST(FolderDialog, ACancelledPickerChangesNothing) {
  TMyOpenFolderDialog dialog;
  dialog.SetText(u"/corpus/old");
  dialog.SetFolder(u"/corpus/old");
  bool chosen = false;
  dialog.OnFolderChosen = [&](TObject*) { chosen = true; };
  dialog.ButtonClick();  // the default hook cancels
  EXPECT_FALSE(chosen);
  EXPECT_EQ(dialog.Folder(), u"/corpus/old");
  EXPECT_EQ(dialog.Text(), u"/corpus/old");
}

}  // namespace
}  // namespace quill
