// The diagnostic log: tags, byte-order mark, failures, pending lines, unload.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "quillrt/process/log.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/process/yield.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::ReadAllBytes;
using testing::TempDir;

std::vector<unsigned char> Utf16LE(const UnicodeString& text, bool with_bom = false) {
  std::vector<unsigned char> bytes;
  if (with_bom) bytes = {0xFF, 0xFE};
  for (const WideChar unit : text) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  return bytes;
}

// The file's text after its byte-order mark (empty when it has none).
UnicodeString TextAfterBom(const std::filesystem::path& file) {
  const std::vector<unsigned char> bytes = ReadAllBytes(file);
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return {};
  UnicodeString text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<WideChar>(bytes[i] | (bytes[i + 1] << 8)));
  return text;
}

// Every test starts with logging on, the controller running and the process log
// pointing into a fresh folder, and puts the shared state back afterwards.
class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    keeping_log = true;
    current_tool_var = tool_controller;
    SetLogFilename(dir.File("quill.log"));
  }
  void TearDown() override {
    ProcessLog().Close();
    keeping_log = false;
    current_tool_var = tool_controller;
    AYieldProcessProc = nullptr;
  }
  std::filesystem::path LogPath() const { return dir.Path("quill.log"); }

  TempDir dir;
};

TEST_F(LogTest, NothingIsWrittenWhileOffOrWithoutAName) {
  keeping_log = false;
  AddToLogFile(u"off", true);
  StartNewLogSection();
  EXPECT_FALSE(std::filesystem::exists(LogPath()));

  keeping_log = true;
  SetLogFilename(u"");
  AddToLogFile(u"no name", true);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_TRUE(keeping_log);  // not a failure
}

TEST_F(LogTest, FirstEntryCreatesTheFileWithItsByteOrderMark) {
  EXPECT_EQ(GetLogFilename(), dir.File("quill.log"));
  AddToLogFile(u"caf\u00e9", true);
  AddToLogFile(u"second", true);
  EXPECT_EQ(ReadAllBytes(LogPath()), Utf16LE(u"(QY7): caf\u00e9\r\n(QY7): second\r\n", true));
}

TEST_F(LogTest, ExistingFileIsAppendedToWhateverItHolds) {
  testing::WriteText(LogPath(), "abc");  // no mark, odd length
  AddToLogFile(u"x", false);
  std::vector<unsigned char> expected = {'a', 'b', 'c'};
  const std::vector<unsigned char> entry = Utf16LE(u"(QY7): x");
  expected.insert(expected.end(), entry.begin(), entry.end());
  EXPECT_EQ(ReadAllBytes(LogPath()), expected);
}

TEST_F(LogTest, EntryWithoutLineEndIsContinuedByTheNext) {
  AddToLogFile(u"a", false);
  AddToLogFile(u"b", true);
  AddToLogFile(u"", true);  // the tag is always written
  EXPECT_EQ(TextAfterBom(LogPath()), u"(QY7): a(QY7): b\r\n(QY7): \r\n");
}

TEST_F(LogTest, TagFollowsTheRunningToolAtTheMomentOfWriting) {
  current_tool_var = tool_concordancer;
  AddToLogFile(u"hit", true);
  current_tool_var = tool_none;
  AddToLogFile(u"odd", true);
  current_tool_var = tool_lexpool;
  AddToLogFile(u"pool", true);
  EXPECT_EQ(TextAfterBom(LogPath()), u"(C): hit\r\n(\?\?)odd\r\n(WDB): pool\r\n");

  // Every kind without a tag of its own, and a value beyond the enumeration.
  for (const tool_type kind : {tool_any_main, tool_reserved_8, tool_spare_10, tool_spare_12,
                               tool_version_checker, tool_none, static_cast<tool_type>(200)})
    EXPECT_EQ(LogToolTag(kind), u"(\?\?)") << int(kind);
  EXPECT_EQ(LogToolTag(tool_char_ngrams), u"(CHRG): ");
  EXPECT_EQ(LogToolTag(tool_api), u"(API): ");
}

TEST_F(LogTest, NewSectionAndClear) {
  ClearLogFile();  // no file yet: nothing happens, no section
  EXPECT_FALSE(std::filesystem::exists(LogPath()));

  AddToLogFile(u"old entry", true);
  ClearLogFile();
  const UnicodeString text = TextAfterBom(LogPath());
  const UnicodeString stars = u"(QY7): **********\r\n(QY7): LOG STARTED at ";
  ASSERT_EQ(text.substr(0, stars.size()), stars);
  EXPECT_EQ(text.find(u"old entry"), UnicodeString::npos);
  EXPECT_GT(text.size(), stars.size() + 2);  // a date and time follow
  EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), u'\n'), 2);
}

TEST_F(LogTest, FailedWriteTurnsLoggingOffForGood) {
  // Root may write to read-only files: make the target unusable another way.
  std::filesystem::create_directory(dir.Path("a_folder"));
  SetLogFilename(dir.File("a_folder"));
  AddToLogFile(u"into a folder", true);
  EXPECT_FALSE(keeping_log);

  // A good name afterwards does not bring logging back by itself.
  SetLogFilename(dir.File("quill.log"));
  AddToLogFile(u"later", true);
  EXPECT_FALSE(std::filesystem::exists(LogPath()));

  // A path below a regular file cannot be created either.
  keeping_log = true;
  testing::WriteText(dir.Path("plain"), "x");
  SetLogFilename(dir.File("plain/quill.log"));
  AddToLogFile(u"below a file", true);
  EXPECT_FALSE(keeping_log);

  // Clearing a log that cannot be cleared reports nothing either.
  keeping_log = true;
  SetLogFilename(dir.File("a_folder"));
  ClearLogFile();
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path("a_folder")));
}

// A log whose first write re-enters it, as a second caller would while the file
// is open.
class ReenteringLog : public TLogFile {
 public:
  std::vector<UnicodeString> reentrant_texts;
  std::size_t pending_seen = 0;

 protected:
  bool AppendToFile(const UnicodeString& file_name, const UnicodeString& text) override {
    for (const UnicodeString& t : std::exchange(reentrant_texts, {})) Add(t, true);
    pending_seen = PendingCount();
    return TLogFile::AppendToFile(file_name, text);
  }
};

TEST_F(LogTest, LinesArrivingDuringAWriteAreWrittenOnceAheadOfTheNextEntry) {
  ReenteringLog log;
  log.SetFileName(dir.File("quill.log"));
  log.reentrant_texts = {u"queued 1", u"queued 2"};
  log.Add(u"first", true);
  EXPECT_EQ(log.pending_seen, 2u);
  EXPECT_EQ(log.PendingCount(), 2u);
  EXPECT_FALSE(log.WriteInProgress());
  EXPECT_EQ(TextAfterBom(LogPath()), u"(QY7): first\r\n");

  current_tool_var = tool_keyness;  // the tag is the one of the writing moment
  log.Add(u"second", true);
  EXPECT_EQ(log.PendingCount(), 0u);
  log.FlushPending();  // nothing left: nothing written twice
  EXPECT_EQ(TextAfterBom(LogPath()),
            u"(QY7): first\r\n(K): queued 1\r\n(K): queued 2\r\n(K): second\r\n");
}

TEST_F(LogTest, FinaliseWritesTheFarewellAfterPendingLinesAndCloses) {
  ReenteringLog log;
  log.SetFileName(dir.File("quill.log"));
  log.reentrant_texts = {u"late"};
  log.Add(u"first", true);
  log.Finalise(u"quit myKpSmall");
  EXPECT_EQ(TextAfterBom(LogPath()), u"(QY7): first\r\n(QY7): late\r\n(QY7): quit myKpSmall\r\n");
  EXPECT_EQ(log.FileName(), u"");
  EXPECT_EQ(log.PendingCount(), 0u);
}

TEST_F(LogTest, UnloadStepsOfTheProcessServices) {
  int yields = 0;
  AYieldProcessProc = [&] { ++yields; };
  AddToLogFile(u"working", true);
  FinaliseProcessServices();
  EXPECT_FALSE(AYieldProcessProc);
  EXPECT_EQ(GetLogFilename(), u"");
  EXPECT_EQ(TextAfterBom(LogPath()), u"(QY7): working\r\n(QY7): quit myKpSmall\r\n");
  FinaliseProcessServices();  // a second run finds no name and writes nothing
  EXPECT_EQ(TextAfterBom(LogPath()), u"(QY7): working\r\n(QY7): quit myKpSmall\r\n");

  // With logging off, unloading writes nothing at all.
  keeping_log = false;
  SetLogFilename(dir.File("other.log"));
  FinaliseProcessServices();
  EXPECT_FALSE(std::filesystem::exists(dir.Path("other.log")));
  EXPECT_EQ(yields, 0);
}

TEST_F(LogTest, ProgramEndRunsTheUnloadSteps) {
  // In a child process that ends normally, the static finaliser writes the
  // farewell after the pending work, with every object it needs still alive.
  const UnicodeString name = dir.File("child.log");
  EXPECT_EXIT(
      {
        SetLogFilename(name);
        keeping_log = true;
        AddToLogFile(u"child", true);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(TextAfterBom(dir.Path("child.log")), u"(QY7): child\r\n(QY7): quit myKpSmall\r\n");
}

TEST_F(LogTest, ConcurrentWritersLoseNoLine) {
  // Not the intended use, but a second thread must not corrupt the log: every
  // line reaches the file exactly once, whole.
  constexpr int kPerThread = 150;
  auto writer = [](char16_t who) {
    for (int i = 0; i < kPerThread; ++i) AddToLogFile(UnicodeString(1, who) + u"-line", true);
  };
  std::thread a(writer, u'a');
  std::thread b(writer, u'b');
  a.join();
  b.join();
  ProcessLog().FlushPending();
  const UnicodeString text = TextAfterBom(LogPath());
  EXPECT_EQ(std::count(text.begin(), text.end(), u'\n'), 2 * kPerThread);
  std::size_t whole = 0;
  for (std::size_t at = text.find(u"(QY7): "); at != UnicodeString::npos; at = text.find(u"(QY7): ", at + 1)) {
    const UnicodeString line = text.substr(at + 7, 8);
    whole += line == u"a-line\r\n" || line == u"b-line\r\n";
  }
  EXPECT_EQ(whole, 2u * kPerThread);
  EXPECT_TRUE(keeping_log);
}

}  // namespace
}  // namespace quill
