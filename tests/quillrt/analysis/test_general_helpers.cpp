#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "quillrt/analysis/general_helpers.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/platform/dialogs.h"
#include "quillrt/platform/file_system.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::TempDir;

// Installs a message-box hook that records the questions and gives `answer`.
class AnswerScope {
 public:
  explicit AnswerScope(TMsgBoxAnswer answer)
      : saved_(SetMessageBoxHook([this, answer](const UnicodeString& caption, const UnicodeString& text,
                                                TMsgBoxIcon, TMsgBoxButtons buttons) {
          captions.push_back(caption);
          questions.push_back(text);
          offered.push_back(buttons);
          return answer;
        })) {}
  ~AnswerScope() { SetMessageBoxHook(saved_); }
  AnswerScope(const AnswerScope&) = delete;
  AnswerScope& operator=(const AnswerScope&) = delete;

  std::vector<UnicodeString> captions, questions;
  std::vector<TMsgBoxButtons> offered;

 private:
  TMessageBoxHook saved_;
};

TEST(OKToOverwrite, AsksOnlyForAnExistingFile) {
  TempDir dir;
  const UnicodeString file = dir.File("out.txt");
  {
    AnswerScope answer(IDNO);
    EXPECT_TRUE(OKToOverwrite(file));
    EXPECT_TRUE(answer.questions.empty());
    testing::WriteText(dir.Path("out.txt"), "data");
    EXPECT_FALSE(OKToOverwrite(file));
    ASSERT_EQ(answer.questions.size(), 1u);
    EXPECT_EQ(answer.questions[0], u"Overwrite " + file + u"?");
    EXPECT_EQ(answer.captions[0], u"Confirmation");
    EXPECT_EQ(answer.offered[0], MB_YESNO);
  }
  AnswerScope yes(IDYES);
  EXPECT_TRUE(OKToOverwrite(file));
}

TEST(OKToOverwrite, TheDefaultHookNeverAllowsIt) {
  TempDir dir;
  testing::WriteText(dir.Path("keep.txt"), "data");
  EXPECT_FALSE(OKToOverwrite(dir.File("keep.txt")));
  EXPECT_FALSE(OKToOverwriteWithBackup(dir.File("keep.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("keep.bak")));
}

TEST(OKToOverwriteWithBackup, CopiesToBakOnYesOnly) {
  TempDir dir;
  const UnicodeString file = dir.File("list.lst");
  testing::WriteText(dir.Path("list.lst"), "new");
  testing::WriteText(dir.Path("list.bak"), "old backup");
  {
    AnswerScope no(IDNO);
    EXPECT_FALSE(OKToOverwriteWithBackup(file));
    EXPECT_EQ(no.questions.at(0), u"Overwrite " + file + u" (with backup)?");
    EXPECT_EQ(testing::ReadAllBytes(dir.Path("list.bak")).size(), 10u);
  }
  AnswerScope yes(IDYES);
  EXPECT_TRUE(OKToOverwriteWithBackup(file));
  const auto backup = testing::ReadAllBytes(dir.Path("list.bak"));
  EXPECT_EQ(std::string(backup.begin(), backup.end()), "new");
}

TEST(ProceedIfLittleDiskSpace, AsksOnlyWhenBelowTheMinimum) {
  TempDir dir;
  AnswerScope ok(IDOK);
  EXPECT_TRUE(ProceedIfLittleDiskSpace(u"", INT64_MAX));
  EXPECT_TRUE(ProceedIfLittleDiskSpace(dir.File("no/such/folder"), INT64_MAX)) << "free space unreadable";
  EXPECT_TRUE(ProceedIfLittleDiskSpace(dir.File(""), 0));
  EXPECT_TRUE(ok.questions.empty());

  std::int64_t free_bytes = 0;
  ASSERT_TRUE(FreeBytesOnVolume(dir.File(""), free_bytes));
  EXPECT_TRUE(ProceedIfLittleDiskSpace(dir.File(""), INT64_MAX));
  ASSERT_EQ(ok.questions.size(), 1u);
  const UnicodeString expected = u"Only " + U(std::to_string(free_bytes / 1048576)) + u"Mb space left on " +
                                 dir.File("") + u" -- Proceed?";
  EXPECT_EQ(ok.questions[0], expected);
  EXPECT_EQ(ok.offered[0], MB_OKCANCEL);
  SetMessageBoxHook({});
  EXPECT_FALSE(ProceedIfLittleDiskSpace(dir.File(""), INT64_MAX)) << "the default hook cancels";
}

TEST(ForcedToBeNewFile, NumbersTakenNamesAndReservesTheResult) {
  TempDir dir;
  SetBatchFileStartNumberTo(-5);
  EXPECT_EQ(GetBatchFileStartNumber(), 0);

  UnicodeString name = dir.File("report");
  EXPECT_TRUE(ForcedToBeNewFile(name));
  EXPECT_EQ(name, dir.File("report.")) << "a free name only gets its '.'";
  EXPECT_TRUE(std::filesystem::exists(dir.Path("report."))) << "reserved by creating it";

  name = dir.File("report.txt");
  testing::WriteText(dir.Path("report.txt"), "x");
  testing::WriteText(dir.Path("report_001.txt"), "x");
  EXPECT_TRUE(ForcedToBeNewFile(name));
  EXPECT_EQ(name, dir.File("report_001_002.txt"));
  EXPECT_EQ(GetBatchFileStartNumber(), 2);

  // A '.' in a folder name is no extension.
  std::filesystem::create_directory(dir.Path("v1.2"));
  testing::WriteText(dir.Path("v1.2/notes"), "x");
  name = dir.File("v1.2/notes");
  EXPECT_TRUE(ForcedToBeNewFile(name));
  EXPECT_EQ(name, dir.File("v1.2/notes.")) << "'notes' and 'notes.' are different files here";

  SetBatchFileStartNumberTo(999);
  testing::WriteText(dir.Path("a.b"), "x");
  name = dir.File("a.b");
  EXPECT_TRUE(ForcedToBeNewFile(name));
  EXPECT_EQ(name, dir.File("a_1000.b"));

  name = dir.File("missing/folder/x.txt");
  EXPECT_FALSE(ForcedToBeNewFile(name));
}

TEST(ForcedToBeNewFile, ConcurrentCallersNeverShareAName) {
  TempDir dir;
  SetBatchFileStartNumberTo(0);
  constexpr int kThreads = 8;
  std::vector<UnicodeString> names(kThreads, dir.File("same.txt"));
  std::vector<std::thread> threads;
  for (auto& name : names) threads.emplace_back([&name] { ForcedToBeNewFile(name); });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(std::set<UnicodeString>(names.begin(), names.end()).size(), static_cast<std::size_t>(kThreads));
}

TEST(GeneralHelpers, SmallAnswers) {
  EXPECT_EQ(AttributesToStr(faReadOnly | faHidden), u"rh");
  EXPECT_EQ(AttributesToStr(faDirectory | faSysFile | faArchive | faReadOnly | faHidden), u"rashd");
  EXPECT_EQ(AttributesToStr(0), u"");
  EXPECT_EQ(Rightstr(u"abc", 2), u"bc");
  EXPECT_EQ(Rightstr(u"abc", 5), u"abc");
  EXPECT_EQ(Rightstr(u"abc", -1), u"");
  EXPECT_TRUE(FileNameHasWildCards(u"*.txt"));
  EXPECT_TRUE(FileNameHasWildCards(u"a?.txt"));
  EXPECT_FALSE(FileNameHasWildCards(u"a.txt"));
  EXPECT_FALSE(ValidDrive('1'));
  EXPECT_TRUE(ValidDriveW(u'c')) << "the root file system is drive C";
  EXPECT_NE(DriveBits & (1u << 2), 0u);
  EXPECT_EQ(UTF8_signature, (TThreeBytes{0xEF, 0xBB, 0xBF}));
}

TEST(GeneralHelpers, FoldersAndSubFolders) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("b/inner"));
  std::filesystem::create_directories(dir.Path("a"));
  testing::WriteText(dir.Path("file.txt"), "x");
  std::filesystem::create_directory_symlink(dir.path(), dir.Path("a/loop"));
  EXPECT_TRUE(sIsADirectory(dir.File("b")));
  EXPECT_FALSE(sIsADirectory(dir.File("file.txt")));
  EXPECT_FALSE(sIsADirectory(dir.File("none")));

  const UnicodeString root = dir.File("");
  EXPECT_EQ(ListOfSubFolders(root, false)->ToStringArray(), std::vector<UnicodeString>{root});
  const auto all = ListOfSubFolders(dir.File("."), true)->ToStringArray();
  ASSERT_EQ(all.size(), 4u) << "the symbolic link is not followed";
  EXPECT_EQ(all[1], dir.File("./a"));
  EXPECT_EQ(all[2], dir.File("./b"));
  EXPECT_EQ(all[3], dir.File("./b/inner"));
}

TEST(GeneralHelpers, TimeHelpers) {
  EXPECT_EQ(TodaysTimeInSeconds(EncodeDateTime(2024, 3, 1, 10, 20, 30, 600)), 10 * 3600 + 20 * 60 + 31);
  EXPECT_EQ(TodaysTimeInSeconds(EncodeDate(2024, 3, 1)), 0);
  EXPECT_EQ(TodayAsLongint(), static_cast<std::int32_t>(Date()));
  const TDateTime ten_seconds_ago = Now() - 10.0 / 86400;
  EXPECT_NEAR(SecondsElapsedSince(ten_seconds_ago), 10, 1);
  EXPECT_NEAR(SecondsElapsedSince(ten_seconds_ago - 2), 10, 1) << "whole days do not count";
  EXPECT_GT(Compilation_DateTime(), EncodeDate(2000, 1, 1));
  EXPECT_EQ(Compilation_Year().size(), 4u);
  EXPECT_FALSE(Compilation_Date().empty());
}

}  // namespace
}  // namespace quill
