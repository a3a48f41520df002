// Explaining shell result codes, finding library functions, the user's initials.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "quillrt/platform/dialogs.h"
#include "quillrt/process/external_programs.h"
#include "quillrt/process/user_identity.h"

namespace quill {
namespace {

class CheckExecTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageBoxHook([this](const UnicodeString& caption, const UnicodeString& text, TMsgBoxIcon,
                                         TMsgBoxButtons buttons) {
      captions.push_back(caption);
      texts.push_back(text);
      EXPECT_EQ(buttons, MB_OK);
      return IDOK;
    });
  }
  void TearDown() override { SetMessageBoxHook(previous_); }

  std::vector<UnicodeString> captions, texts;

 private:
  TMessageBoxHook previous_;
};

TEST_F(CheckExecTest, SuccessCodesShowNothing) {
  EXPECT_EQ(CheckExec(33, u"a.txt"), 33u);
  EXPECT_EQ(CheckExec(32, u"a.txt"), 32u);
  EXPECT_EQ(CheckExec(0xFFFFFFFFu, u"a.txt"), 0xFFFFFFFFu);
  EXPECT_TRUE(texts.empty());
}

TEST_F(CheckExecTest, FailureMessagesByCode) {
  const UnicodeString name = u"/corpus/notes.xyz";
  struct Case {
    unsigned code;
    UnicodeString text;
  };
  const std::vector<Case> cases = {
      {0, u"Not enough memory to run " + name},
      {8, u"Not enough memory to run " + name},
      {2, u"Can't access " + name},
      {3, u"Can't access " + name},
      {5, u"Can't access " + name},
      {16, name + u" already running"},
      {26, u"Sharing problem: " + name},
      {27, u"Can't handle files ending \".xyz\""},
      {31, u"Can't handle files ending \".xyz\""},
      {1, u"Can't communicate with " + name},
      {30, u"Can't communicate with " + name},
  };
  for (const Case& c : cases) {
    texts.clear();
    captions.clear();
    EXPECT_EQ(CheckExec(c.code, name), c.code);
    ASSERT_EQ(texts.size(), 1u) << c.code;
    EXPECT_EQ(texts[0], c.text) << c.code;
    EXPECT_EQ(captions[0], u"");
  }
}

TEST_F(CheckExecTest, ExtensionIsTakenFromTheLastNameOnly) {
  EXPECT_EQ(ExecErrorMessage(31, u"/data.v2/README"), u"Can't handle files ending \"\"");
  EXPECT_EQ(ExecErrorMessage(31, u"C:\\docs.old\\file"), u"Can't handle files ending \"\"");
  EXPECT_EQ(ExecErrorMessage(27, u"archive.tar.gz"), u"Can't handle files ending \".gz\"");
}

TEST(LibraryFunction, FoundMissingAndClosed) {
  Tlibrary_rec rec = FindLibraryFunction(u"libm.so.6", u"cos");
  ASSERT_NE(rec.Hinst, 0u);
  ASSERT_NE(rec.FPointer, nullptr);
  EXPECT_DOUBLE_EQ(reinterpret_cast<double (*)(double)>(rec.FPointer)(0.0), 1.0);
  EXPECT_TRUE(CloseLibraryFunction(rec));
  EXPECT_EQ(rec.Hinst, 0u);
  EXPECT_EQ(rec.FPointer, nullptr);
  EXPECT_FALSE(CloseLibraryFunction(rec));  // nothing left to release

  // The library loads but lacks the function: the caller still owns the library.
  rec = FindLibraryFunction(u"libm.so.6", u"no_such_function_here");
  EXPECT_NE(rec.Hinst, 0u);
  EXPECT_EQ(rec.FPointer, nullptr);
  EXPECT_TRUE(CloseLibraryFunction(rec));

  rec = FindLibraryFunction(u"libquill-no-such-library.so", u"cos");
  EXPECT_EQ(rec.Hinst, 0u);
  EXPECT_EQ(rec.FPointer, nullptr);
  EXPECT_FALSE(CloseLibraryFunction(rec));
}

TEST(UserIdentity, InitialsAreTheFirstTwoCapitals) {
  EXPECT_EQ(UpperCaseInitials(u"maryJaneSmith"), u"JS");
  EXPECT_EQ(UpperCaseInitials(u"abc"), u"");
  EXPECT_EQ(UpperCaseInitials(u"Xy"), u"X");
  EXPECT_EQ(UpperCaseInitials(u"AnnaBellaCarla"), u"AB");
  EXPECT_EQ(UpperCaseInitials(u"\u00c9milie\u0141ukasz"), u"\u00c9\u0141");  // beyond ASCII
  EXPECT_EQ(UpperCaseInitials(u"x\U00010400y"), u"\U00010400");  // a pair is taken whole
  EXPECT_EQ(UpperCaseInitials(u""), u"");
}

TEST(UserIdentity, CurrentUserAndInitialsAgree) {
  const UnicodeString user = Registry_Current_User();
  EXPECT_FALSE(user.empty());
  EXPECT_EQ(user.find(u'\0'), UnicodeString::npos);  // cut before the terminating null
  EXPECT_EQ(Registry_Current_User_Initials(), UpperCaseInitials(user));
}

}  // namespace
}  // namespace quill
