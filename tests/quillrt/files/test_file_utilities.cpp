// Text files of uncertain encoding, placeholders in stored names, copying,
// dates and confirmed deletion.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "quillrt/files/file_name_placeholders.h"
#include "quillrt/files/file_operations.h"
#include "quillrt/files/text_files.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/dialogs.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/platform/mount_table.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::ReadAllBytes;
using testing::TempDir;
using testing::WriteText;

std::string FileBytes(const std::filesystem::path& path) {
  const auto bytes = ReadAllBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

std::string Utf16LEWithMark(const UnicodeString& text) {
  std::string bytes("\xFF\xFE");
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

// Answers every message box with `answer` and remembers what was asked.
class MessageBoxes {
 public:
  explicit MessageBoxes(TMsgBoxAnswer answer) {
    previous_ = SetMessageBoxHook([this, answer](const UnicodeString& caption, const UnicodeString& text, TMsgBoxIcon,
                                                 TMsgBoxButtons) {
      captions.push_back(caption);
      texts.push_back(text);
      return answer;
    });
  }
  ~MessageBoxes() { SetMessageBoxHook(previous_); }
  std::vector<UnicodeString> captions, texts;

 private:
  TMessageBoxHook previous_;
};

TEST(TextFiles, DodgyListReadsUtf8ButKeepsEightBitLetters) {
  TempDir dir;
  WriteText(dir.Path("utf8.txt"), "caf\xC3\xA9\r\nna\xC3\xAFve\rend\n");
  WriteText(dir.Path("latin.txt"), "caf\xE9 au lait\ncr\xE8me");
  TPossiblyDodgyTextStringlist list;
  list.LoadFromFile(dir.File("utf8.txt"));
  EXPECT_EQ(list.ToStringArray(), (std::vector<UnicodeString>{U("café"), U("naïve"), u"end"}));
  EXPECT_EQ(list.Encoding(), TEncoding::UTF8());
  list.LoadFromFile(dir.File("latin.txt"));
  EXPECT_EQ(list.ToStringArray(), (std::vector<UnicodeString>{U("café au lait"), U("crème")}));

  EXPECT_EQ(TextFileContents(dir.File("utf8.txt")), U("café\r\nnaïve\r\nend\r\n"));
  EXPECT_EQ(TextFileContents(dir.File("missing.txt")), u"");
}

TEST(TextFiles, SavingAndConvertingToUtf16) {
  TempDir dir;
  EXPECT_FALSE(SavedTextAsStream(u"", dir.File("none.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("none.txt")));
  EXPECT_TRUE(SavedTextAsStream(U("Ωx"), dir.File("saved.txt")));
  EXPECT_EQ(FileBytes(dir.Path("saved.txt")), Utf16LEWithMark(U("Ωx")));

  WriteText(dir.Path("russian.txt"), "\xCF\xF0\xE8\xE2\xE5\xF2");  // code page 1251
  EXPECT_TRUE(ConvertATextFileAnsiToUTF16(dir.File("russian.txt"), 0x0419));
  EXPECT_EQ(FileBytes(dir.Path("russian.txt")), Utf16LEWithMark(U("Привет")));
  // A file that is UTF-16 already stays as it is.
  EXPECT_TRUE(ConvertATextFileAnsiToUTF16(dir.File("russian.txt"), 0x0409));
  EXPECT_EQ(FileBytes(dir.Path("russian.txt")), Utf16LEWithMark(U("Привет")));

  WriteText(dir.Path("signed.txt"), "\xEF\xBB\xBF" "caf\xC3\xA9");
  EXPECT_TRUE(ConvertATextFileAnsiToUTF16(dir.File("signed.txt"), 0x0409));
  EXPECT_EQ(FileBytes(dir.Path("signed.txt")), Utf16LEWithMark(U("café")));
  // Decomposed text is composed: e + combining acute becomes é.
  WriteText(dir.Path("decomposed.txt"), "cafe\xCC\x81");
  EXPECT_TRUE(ConvertATextFileAnsiToUTF16(dir.File("decomposed.txt"), 0x0409));
  EXPECT_EQ(FileBytes(dir.Path("decomposed.txt")), Utf16LEWithMark(U("café")));
  EXPECT_FALSE(ConvertATextFileAnsiToUTF16(dir.File("missing.txt"), 0x0409));
}

TEST(TextFiles, InsertingKeepsOrChangesTheEncoding) {
  TempDir dir;
  WriteText(dir.Path("a.txt"), "hello world");
  EXPECT_TRUE(InsertIntoFileW(dir.File("a.txt"), u"big ", true, 7));
  EXPECT_EQ(FileBytes(dir.Path("a.txt")), Utf16LEWithMark(u"hello big world"));
  EXPECT_EQ(FileBytes(dir.Path("a.bak")), "hello world");

  WriteText(dir.Path("b.txt"), "\xEF\xBB\xBF" "caf\xC3\xA9");
  EXPECT_TRUE(InsertIntoFileA(dir.File("b.txt"), "!", false, 100));  // past the end: appended
  EXPECT_EQ(FileBytes(dir.Path("b.txt")), "\xEF\xBB\xBF" "caf\xC3\xA9!");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("b.bak")));

  WriteText(dir.Path("c.txt"), "r\xE9sum\xE9");
  EXPECT_TRUE(InsertIntoFileA(dir.File("c.txt"), "\xAB", false, 1));  // code page 1252 both ways
  EXPECT_EQ(FileBytes(dir.Path("c.txt")), "\xABr\xE9sum\xE9");
  EXPECT_THROW(InsertIntoFileW(dir.File("missing.txt"), u"x", false, 1), EFOpenError);
}

class Placeholders : public ::testing::Test {
 protected:
  void SetUp() override {
    stick_ = Utf8ToUtf16((dir_.path() / "stick").string());
    moved_ = Utf8ToUtf16((dir_.path() / "moved").string());
    WriteText(dir_.Path("mounts"), "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + Utf16ToUtf8(stick_) + " vfat rw 0 0\n" +
                                       "/dev/sdc1 " + Utf16ToUtf8(moved_) + " vfat rw 0 0\n");
    saved_ = global_mount_table_file;
    global_mount_table_file = dir_.File("mounts");
  }
  void TearDown() override { global_mount_table_file = saved_; }

  TempDir dir_;
  UnicodeString stick_, moved_, saved_;
};

TEST_F(Placeholders, WrittenAndReadBack) {
  const UnicodeString userdir = stick_ + u"/prog/";
  const UnicodeString inside = stick_ + u"/prog/data/a.txt";
  const UnicodeString stored = ConvertedUserFolderInFilename(userdir, inside, true);
  EXPECT_EQ(stored, u"$userdir/data/a.txt");
  EXPECT_EQ(ConvertedUserFolderInFilename(userdir, stored, false), inside);
  EXPECT_EQ(ConvertedFilenameFromUserDirFName(moved_ + u"/prog", stored), moved_ + u"/prog/data/a.txt");

  const UnicodeString same_drive = stick_ + u"/other/b.txt";
  EXPECT_EQ(ConvertedUserFolderInFilename(userdir, same_drive, true), u"$user_drive/other/b.txt");
  EXPECT_EQ(ConvertedFilenameFromUserDirFName(moved_ + u"/prog/", u"$user_drive/other/b.txt"), moved_ + u"/other/b.txt");
  EXPECT_EQ(ConvertedFilenameFromUserDirFName(userdir, u"$user_driveother/b.txt"), stick_ + u"/other/b.txt");
  // The folder itself, and a folder that merely begins like it, are not "below" it.
  EXPECT_EQ(ConvertedUserFolderInFilename(userdir, userdir, true), u"$user_drive/prog/");
  EXPECT_EQ(ConvertedUserFolderInFilename(stick_ + u"/prog", stick_ + u"/program/x.txt", true),
            u"$user_drive/program/x.txt");
  // Other drives, relative names and names without placeholder are left alone.
  EXPECT_EQ(ConvertedUserFolderInFilename(userdir, u"/home/someone/c.txt", true), u"/home/someone/c.txt");
  EXPECT_EQ(ConvertedUserFolderInFilename(userdir, u"data/c.txt", true), u"data/c.txt");
  EXPECT_EQ(ConvertedFilenameFromUserDirFName(userdir, u"/plain/name.txt"), u"/plain/name.txt");
  EXPECT_EQ(ConvertedFilenameFromUserDirFName(userdir, u"$userdir"), userdir);
  // On the root file system the drive is empty: the whole path follows the placeholder.
  EXPECT_EQ(ConvertedUserFolderInFilename(u"/opt/prog/", u"/srv/corpus/a.txt", true), u"$user_drive/srv/corpus/a.txt");
  EXPECT_EQ(ConvertedFilenameFromUserDirFName(u"/opt/prog/", u"$user_drive/srv/corpus/a.txt"), u"/srv/corpus/a.txt");
}

TEST_F(Placeholders, ProgramFolderAndDrive) {
  // The test program runs from the root file system here.
  const UnicodeString program = ProgramFolder();
  EXPECT_EQ(ConvertedAppFolderInFilename(program + u"settings/a.ini", true), u"$userdir/settings/a.ini");
  EXPECT_EQ(ConvertedAppFolderInFilename(u"$userdir/settings/a.ini", false), program + u"settings/a.ini");
  EXPECT_EQ(ConvertedFilenameIfUserDrive(u"/srv/a.txt", true), u"$user_drive/srv/a.txt");
  EXPECT_EQ(ConvertedFilenameIfUserDrive(u"$user_drive/srv/a.txt", false), u"/srv/a.txt");
  EXPECT_EQ(ConvertedFilenameIfUserDrive(stick_ + u"/a.txt", true), stick_ + u"/a.txt");

  TStringList lines;
  lines.Add(program + u"x.txt");
  lines.Add(u"relative.txt");
  CheckUserDirConstFolder(lines, true);
  EXPECT_EQ(lines.ToStringArray(), (std::vector<UnicodeString>{u"$userdir/x.txt", u"relative.txt"}));
  CheckUserDirConstFolder(lines, false);
  EXPECT_EQ(lines[0], program + u"x.txt");
}

TEST(FileOperations, CopiesBackupsAndDates) {
  TempDir dir;
  WriteText(dir.Path("a.txt"), "first");
  WriteText(dir.Path("a.bak"), "old backup");
  EXPECT_TRUE(CopyAFileWithBackup(dir.File("a.txt")));
  EXPECT_EQ(FileBytes(dir.Path("a.bak")), "first");
  EXPECT_FALSE(CopyAFileWithBackup(dir.File("missing.txt")));

  ASSERT_TRUE(SetFileDate(dir.File("a.txt"), 2, 3, 2004));
  WriteText(dir.Path("b.txt"), "other");
  EXPECT_TRUE(CopyDateOfFile(dir.File("a.txt"), dir.File("b.txt")));
  EXPECT_FALSE(CopyDateOfFile(dir.File("a.txt"), dir.File("none.txt")));
  TFoundEntry a, b;
  ASSERT_TRUE(GetFileDetails(dir.File("a.txt"), a));
  ASSERT_TRUE(GetFileDetails(dir.File("b.txt"), b));
  EXPECT_EQ(a.LastWrite.seconds, b.LastWrite.seconds);

  EXPECT_TRUE(CopyFileRetainingDate(dir.File("a.txt"), dir.File("c.txt")));
  TFoundEntry c;
  ASSERT_TRUE(GetFileDetails(dir.File("c.txt"), c));
  EXPECT_EQ(c.LastWrite.seconds, a.LastWrite.seconds);
  EXPECT_EQ(FileBytes(dir.Path("c.txt")), "first");
  EXPECT_FALSE(CopyFileRetainingDate(dir.File("none.txt"), dir.File("d.txt")));
  EXPECT_FALSE(CopyFileReplacing(dir.File("a.txt"), dir.File("no/such/folder/a.txt")));
}

TEST(FileOperations, SetFileDateLimits) {
  TempDir dir;
  WriteText(dir.Path("f.txt"), "x");
  const UnicodeString file = dir.File("f.txt");
  auto written = [&] {
    TFoundEntry entry;
    TDateTime value = 0;
    if (GetFileDetails(file, entry)) TryFileStampToDateTime(entry.LastWrite, value);
    return value;
  };
  EXPECT_TRUE(SetFileDate(file, u"31/12/2106"));
  EXPECT_DOUBLE_EQ(written(), EncodeDateTime(2106, 12, 31, 12, 0, 0, 0));
  EXPECT_FALSE(SetFileDate(file, u"31/12/2107"));
  EXPECT_FALSE(SetFileDate(file, u"01.01.1979"));
  EXPECT_FALSE(SetFileDate(file, u"1/1/2000"));
  EXPECT_FALSE(SetFileDate(file, u"30/02/2000"));
  EXPECT_TRUE(SetFileDate(file, u"01-01-1980"));
  EXPECT_DOUBLE_EQ(written(), EncodeDateTime(1980, 1, 1, 12, 0, 0, 0));
  EXPECT_TRUE(SetFileDate(file, u"29", u"2", u"2024"));
  EXPECT_FALSE(SetFileDate(file, u"29", u"Feb", u"2024"));
  EXPECT_TRUE(SetFileDate(file, TYearMonthDay{2000, 6, 15}));
  EXPECT_DOUBLE_EQ(written(), EncodeDateTime(2000, 6, 15, 12, 0, 0, 0));
  EXPECT_FALSE(SetFileDate(file, 32, 1, 2000));
  EXPECT_FALSE(SetFileDate(dir.File("missing.txt"), 1, 1, 2000));
}

TEST(FileOperations, ConfirmedDeletion) {
  TempDir dir;
  WriteText(dir.Path("a.txt"), "x");
  {
    MessageBoxes boxes(IDCANCEL);
    EXPECT_FALSE(OKToDeleteFile(dir.File("a.txt")));
    ASSERT_EQ(boxes.captions.size(), 1u);
    EXPECT_EQ(boxes.captions[0], u"Confirmation");
    EXPECT_EQ(boxes.texts[0], u"Delete " + dir.File("a.txt") + u"?");
    EXPECT_TRUE(std::filesystem::exists(dir.Path("a.txt")));
  }
  MessageBoxes boxes(IDOK);
  EXPECT_TRUE(OKToDeleteFile(dir.File("a.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("a.txt")));
  EXPECT_TRUE(OKToDeleteFile(dir.File("a.txt")));  // nothing to delete, nothing asked
  EXPECT_EQ(boxes.captions.size(), 1u);
}

class DeleteAll : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* sub : {"sub/deeper", "keep", ".git"}) std::filesystem::create_directories(dir_.path() / "c" / sub);
    for (const char* file : {"a.txt", "b.TXT", "c.doc", ".hidden.txt", "sub/d.txt", "sub/deeper/e.txt", "keep/f.txt",
                             "keep/g.doc", ".git/h.txt"})
      WriteText(dir_.path() / "c" / file, "x");
    path_ = Utf8ToUtf16((dir_.path() / "c").string());
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(dir_.path() / "c" / name); }

  TempDir dir_;
  UnicodeString path_;
};

TEST_F(DeleteAll, AsksThenDeletesAndRemovesEmptiedFolders) {
  {
    MessageBoxes boxes(IDCANCEL);
    EXPECT_EQ(DeleteAllFilesOn(path_, u".txt"), 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.captions[0], u"Sure?");
    EXPECT_EQ(boxes.texts[0], u"File(s) already found there.\rDelete all 5 .txt files in " + path_ + u"?");
    EXPECT_TRUE(Exists("a.txt"));
  }
  MessageBoxes boxes(IDOK);
  EXPECT_EQ(DeleteAllFilesOn(path_, u".txt"), 5);
  for (const char* gone : {"a.txt", "b.TXT", "sub/d.txt", "sub/deeper/e.txt", "keep/f.txt", "sub"}) EXPECT_FALSE(Exists(gone)) << gone;
  for (const char* kept : {"c.doc", ".hidden.txt", "keep/g.doc", ".git/h.txt"}) EXPECT_TRUE(Exists(kept)) << kept;

  EXPECT_EQ(DeleteAllFilesOn(path_, u"doc", u"", false, false, false), 1);
  EXPECT_EQ(boxes.texts.back(), u"File(s) already found there.\rDelete the one .doc file in " + path_ + u"?");
  EXPECT_TRUE(Exists("keep/g.doc"));
  EXPECT_EQ(DeleteAllFilesOn(path_, u".none"), 0);  // nothing found, nothing asked
  EXPECT_EQ(boxes.texts.size(), 2u);
}

TEST_F(DeleteAll, MovesToATargetAndTakesSubPathMasks) {
  MessageBoxes boxes(IDOK);
  const std::filesystem::path target = dir_.path() / "moved";
  std::filesystem::create_directory(target);
  EXPECT_EQ(DeleteAllFilesOn(path_, u".\\sub\\*.txt", Utf8ToUtf16(target.string()), true, false, false), 1);
  EXPECT_TRUE(std::filesystem::exists(target / "d.txt"));
  EXPECT_FALSE(Exists("sub/d.txt"));
  EXPECT_TRUE(Exists("a.txt"));
}

TEST_F(DeleteAll, RefusesTheRootsOfFixedDrives) {
  MessageBoxes boxes(IDOK);
  EXPECT_EQ(DeleteAllFilesOn(u"/", u".txt"), 0);
  ASSERT_EQ(boxes.captions.size(), 1u);
  EXPECT_EQ(boxes.captions[0], u"No Way!");
  EXPECT_EQ(boxes.texts[0], u"Won't delete all files on /");
  EXPECT_EQ(DeleteAllFilesOn(u"/tmp", u".txt"), 0);
  EXPECT_EQ(boxes.texts[1], u"Won't delete all files on /tmp/");

  // A mount point: refused when fixed, asked about when removable.
  const UnicodeString saved_table = global_mount_table_file;
  const TRemovableDeviceTest saved_test = global_removable_device_test;
  WriteText(dir_.Path("mounts"), "/dev/sda1 / ext4 rw 0 0\n/dev/sdz9 " + Utf16ToUtf8(path_) + " vfat rw 0 0\n");
  global_mount_table_file = dir_.File("mounts");
  global_removable_device_test = [](const std::string&) { return false; };
  EXPECT_EQ(DeleteAllFilesOn(path_, u".txt"), 0);
  EXPECT_EQ(boxes.texts[2], u"Won't delete all files on " + path_ + u"/");
  global_removable_device_test = [](const std::string& device) { return device == "sdz9"; };
  EXPECT_EQ(DeleteAllFilesOn(path_, u".txt"), 5);
  EXPECT_EQ(boxes.captions[3], u"Sure?");
  global_mount_table_file = saved_table;
  global_removable_device_test = saved_test;
}

}  // namespace
}  // namespace quill
