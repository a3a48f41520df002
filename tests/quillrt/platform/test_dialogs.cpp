// The message-box hook and its unattended default.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillrt/platform/dialogs.h"

namespace quill {
namespace {

struct Shown {
  UnicodeString caption, text;
  TMsgBoxIcon icon;
  TMsgBoxButtons buttons;
};

TEST(MessageBox, DefaultAnswersTheHarmlessChoice) {
  EXPECT_EQ(NonDestructiveAnswer(MB_OK), IDOK);
  EXPECT_EQ(NonDestructiveAnswer(MB_YESNO), IDNO);
  EXPECT_EQ(NonDestructiveAnswer(MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(NonDestructiveAnswer(MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(NonDestructiveAnswer(MB_RETRYCANCEL), IDCANCEL);
  EXPECT_EQ(NonDestructiveAnswer(MB_CANCELTRYCONTINUE), IDCANCEL);
  EXPECT_EQ(NonDestructiveAnswer(MB_ABORTRETRYIGNORE), IDABORT);
}

TEST(MessageBox, DefaultHookWritesTheQuestionToStderr) {
  ::testing::internal::CaptureStderr();
  const TMsgBoxAnswer answer = ShowMessageBox(u"Delete", u"Delete caf\u00e9.txt?", MB_ICONQUESTION, MB_YESNO);
  const std::string written = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer, IDNO);
  EXPECT_NE(written.find("Delete\n"), std::string::npos);
  EXPECT_NE(written.find("Delete caf\xc3\xa9.txt?"), std::string::npos);  // UTF-8
}

TEST(MessageBox, HookReplacementAndRestore) {
  std::vector<Shown> shown;
  TMessageBoxHook previous = SetMessageBoxHook([&](const UnicodeString& caption, const UnicodeString& text,
                                                   TMsgBoxIcon icon, TMsgBoxButtons buttons) {
    shown.push_back({caption, text, icon, buttons});
    return IDYES;
  });
  ASSERT_TRUE(previous);
  EXPECT_EQ(ShowMessageBox(u"c", u"t", MB_ICONWARNING, MB_YESNOCANCEL), IDYES);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, u"c");
  EXPECT_EQ(shown[0].text, u"t");
  EXPECT_EQ(shown[0].icon, MB_ICONWARNING);
  EXPECT_EQ(shown[0].buttons, MB_YESNOCANCEL);

  // The hook handed back is the recording one; an empty hook means the default.
  TMessageBoxHook recording = SetMessageBoxHook(nullptr);
  ASSERT_TRUE(recording);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ShowMessageBox(u"", u"Overwrite?", MB_ICONQUESTION, MB_YESNO), IDNO);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(shown.size(), 1u);
  SetMessageBoxHook(previous);
}

TEST(MessageBox, HookMayReplaceItselfWhileShowing) {
  int calls = 0;
  TMessageBoxHook previous;
  previous = SetMessageBoxHook([&](const UnicodeString&, const UnicodeString&, TMsgBoxIcon, TMsgBoxButtons) {
    ++calls;
    SetMessageBoxHook(previous);  // destroys the running hook's stored copy
    return IDOK;
  });
  EXPECT_EQ(ShowMessageBox(u"", u"once", MB_ICONNONE, MB_OK), IDOK);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace quill
