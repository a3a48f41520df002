// Folder tests and listings, name helpers, and drives and volumes answered
// from a mount table.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "quillrt/files/drives_and_volumes.h"
#include "quillrt/files/file_names.h"
#include "quillrt/files/folder_queries.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/platform/mount_table.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::TempDir;
using testing::WriteText;

TEST(FolderQueries, ExistenceSizesAndChecksums) {
  TempDir dir;
  const UnicodeString folder = Utf8ToUtf16(dir.path().string());
  WriteText(dir.Path("ro.txt"), "x");
  ::chmod(dir.Path("ro.txt").c_str(), 0444);
  // Words 0x04030201 + 0x08070605, the three trailing bytes left out.
  WriteText(dir.Path("sum.bin"), std::string("\x01\x02\x03\x04\x05\x06\x07\x08\xFF\xFF\xFF", 11));
  std::string big(200003, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  WriteText(dir.Path("big.bin"), big);
  std::uint32_t expected = 0;
  for (std::size_t i = 0; i + 4 <= big.size(); i += 4)
    expected += static_cast<std::uint32_t>(static_cast<unsigned char>(big[i])) |
                static_cast<std::uint32_t>(static_cast<unsigned char>(big[i + 1])) << 8 |
                static_cast<std::uint32_t>(static_cast<unsigned char>(big[i + 2])) << 16 |
                static_cast<std::uint32_t>(static_cast<unsigned char>(big[i + 3])) << 24;

  EXPECT_TRUE(IsDirectoryWriteable(folder));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("chk.tmp")));
  EXPECT_FALSE(IsDirectoryWriteable(folder + u"/missing"));
  EXPECT_TRUE(ReadOnlyFileW(folder + u"/RO.*"));
  EXPECT_FALSE(ReadOnlyFileW(folder + u"/sum.bin"));
  EXPECT_FALSE(ReadOnlyFolderW(folder + u"/ro.txt"));
  EXPECT_EQ(FileSize(dir.File("sum.bin")), 11);
  EXPECT_EQ(FileSize(dir.File("missing")), -1);
  EXPECT_EQ(FileSize(folder), -1);
  EXPECT_EQ(CheckSumOfAFile(dir.File("sum.bin")), 0x04030201u + 0x08070605u);
  EXPECT_EQ(CheckSumOfAFile(dir.File("big.bin")), expected);
  EXPECT_EQ(CheckSumOfAFile(dir.File("missing")), 0u);
  EXPECT_TRUE(DriveAndFolderExist(folder));
  EXPECT_FALSE(DriveAndFolderExist(dir.File("sum.bin")));
  EXPECT_TRUE(DriveAndFileExist(dir.File("sum.bin")));
  EXPECT_FALSE(DriveAndFileExist(folder));
}

TEST(FolderQueries, EmptyFoldersAndListings) {
  TempDir dir;
  const UnicodeString folder = Utf8ToUtf16(dir.path().string());
  std::filesystem::create_directories(dir.path() / "only_dots");
  WriteText(dir.path() / "only_dots" / ".DS_Store", "x");
  std::filesystem::create_directories(dir.path() / "empty");
  std::filesystem::create_directories(dir.path() / "full" / "sub");
  EXPECT_TRUE(FolderIsEmpty(folder + u"/only_dots"));
  EXPECT_FALSE(FolderIsEmpty(folder + u"/full"));  // a subfolder counts
  EXPECT_TRUE(RemovedEmptyFolder(folder + u"/empty"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "empty"));
  EXPECT_FALSE(RemovedEmptyFolder(folder + u"/only_dots"));  // empty, but its dot file stays
  EXPECT_TRUE(RemovedEmptyFolder(folder + u"/full"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "full"));

  for (const char* name : {"b.txt", "a.txt", "a.doc", "a.bak", ".hidden", "c"}) WriteText(dir.path() / name, "x");
  auto all = ListOfAllFilesIn(folder);
  all->Sort();
  EXPECT_EQ(all->ToStringArray(), (std::vector<UnicodeString>{folder + u"/a.bak", folder + u"/a.doc",
                                                              folder + u"/a.txt", folder + u"/b.txt", folder + u"/c"}));
  auto siblings = ListOfAllFilesMatchingExt(folder + u"/a.txt", u".*", false);
  siblings->Sort();
  EXPECT_EQ(siblings->ToStringArray(), (std::vector<UnicodeString>{folder + u"/a.bak", folder + u"/a.doc"}));
  EXPECT_EQ(ListOfAllFilesMatchingExt(folder + u"/a.txt", u".*", true)->Count(), 3);
}

TEST(FolderQueries, SortingFileNamesAndAccessTimes) {
  TempDir dir;
  const UnicodeString folder = Utf8ToUtf16(dir.path().string());
  TStringList list;
  list.Add(folder + u"/z/B.txt");
  list.Add(folder + u"/a.txt");
  list.Add(folder + u"/y/b.txt");
  SortListOfFiles(list, false, true);
  EXPECT_EQ(list.ToStringArray(),
            (std::vector<UnicodeString>{folder + u"/a.txt", folder + u"/y/b.txt", folder + u"/z/B.txt"}));
  SortListOfFiles(list, false, false);
  EXPECT_EQ(list[0], folder + u"/z/B.txt");

  TStringList files;
  for (const char* name : {"old", "new", "mid"}) {
    WriteText(dir.path() / name, "x");
    files.Add(Utf8ToUtf16((dir.path() / name).string()));
  }
  auto access = [&](const char* name, std::int64_t seconds) {
    struct timespec times[2] = {{seconds, 0}, {0, UTIME_OMIT}};
    ::utimensat(AT_FDCWD, (dir.path() / name).c_str(), times, 0);
  };
  access("old", 1000000000);
  access("mid", 1100000000);
  access("new", 1200000000);
  SortListOfFiles(files, true, true);
  EXPECT_EQ(ExtractFileName(files[0]), u"old");
  EXPECT_EQ(ExtractFileName(files[2]), u"new");
  SortListOfFiles(files, true, false);
  EXPECT_EQ(ExtractFileName(files[0]), u"new");
}

TEST(FolderQueries, SubFoldersAndTheSameFolder) {
  EXPECT_EQ(NewSubFolderFrom(u"/c/base/sub/deep/x.txt", u"/c/base"), u"sub/deep/");
  EXPECT_EQ(NewSubFolderFrom(u"/c/base/x.txt", u"/c/base/"), u"");
  EXPECT_EQ(NewSubFolderFrom(u"/c/x.txt", u"/c/base"), u"");
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "real");
  std::filesystem::create_directory_symlink(dir.path() / "real", dir.path() / "alias");
  const UnicodeString folder = Utf8ToUtf16(dir.path().string());
  EXPECT_TRUE(FolderProposedIsOriginalFolder(folder + u"/real/a.txt", folder + u"/alias/b.txt"));
  EXPECT_TRUE(FolderProposedIsOriginalFolder(folder + u"/real/../real/a.txt", folder + u"/real/c.txt"));
  EXPECT_FALSE(FolderProposedIsOriginalFolder(folder + u"/real/a.txt", folder + u"/other/a.txt"));
  EXPECT_FALSE(FolderProposedIsOriginalFolder(u"", folder + u"/real/a.txt"));
}

TEST(FileNames, Helpers) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "Corpus" / "Texts");
  WriteText(dir.path() / "Corpus" / "Texts" / "One.TXT", "x");
  const UnicodeString folder = Utf8ToUtf16(dir.path().string());
  EXPECT_EQ(GetLongPathNameW(folder + u"/corpus/TEXTS/one.txt"), folder + u"/Corpus/Texts/One.TXT");
  EXPECT_EQ(GetLongPathNameW(folder + u"/corpus/missing/one.txt"), folder + u"/Corpus/missing/one.txt");
  EXPECT_EQ(GetLongPathNameW(folder + u"/Corpus/./Texts"), folder + u"/Corpus/Texts");

  EXPECT_EQ(PathDelimiterCount(u"/a/b/c.txt"), 3);
  EXPECT_EQ(NameUpToXPathDelimiters(u"/a/b/c.txt", 3), u"/a/b");
  EXPECT_EQ(NameUpToXPathDelimiters(u"/a/b/c.txt", 1), u"");
  EXPECT_EQ(NameUpToXPathDelimiters(u"/a/b/c.txt", 4), u"");
  EXPECT_EQ(RemoveDotsFromFilename(u"a.b.c"), u"abc");
  EXPECT_EQ(CleanedUpFilename(u"/x/we?ird:<na|me>*\"[1]+=^.txt"), u"weirdname1.txt");
  EXPECT_EQ(CleanedUpFilename(u"/x/tab\there"), u"tabhere");
  EXPECT_EQ(FormattedFNAsParameter(dir.File("Corpus/Texts/One.TXT")), u"\"" + dir.File("Corpus/Texts/One.TXT") + u"\"");
  EXPECT_EQ(FormattedFNAsParameter(u"/no/such file"), u"/no/such file");
  EXPECT_EQ(FileFilterWithinFilterText(u"Text files ( *.txt )"), u"*.txt");
  EXPECT_EQ(FileFilterWithinFilterText(u"All files"), u"All files");
  EXPECT_EQ(FileFilterWithinFilterText(u"()"), u"*.*");
  EXPECT_EQ(FileFilterWithinFilterText(u"odd ) then (x)"), u"odd ) then (x)");
}

class Drives : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* sub : {"fixed", "stick", "disk/by-label", "disk/by-uuid"}) std::filesystem::create_directories(dir_.path() / sub);
    WriteText(dir_.Path("sdz1"), "");  // stands for the device file
    std::filesystem::create_symlink(dir_.path() / "sdz1", dir_.path() / "disk/by-label/My\\x20Stick");
    std::filesystem::create_symlink(dir_.path() / "sdz1", dir_.path() / "disk/by-uuid/1A2B-3C4D");
    const std::string base = dir_.path().string();
    WriteText(dir_.Path("mounts"), "proc /proc proc rw 0 0\n"
                                   "/dev/vda1 / ext4 rw 0 0\n"
                                   "//server/Share " + base + "/net cifs rw 0 0\n" +
                                   "/dev/vdb1 " + base + "/fixed ext4 rw 0 0\n" +
                                   base + "/sdz1 " + base + "/stick vfat rw 0 0\n");
    saved_table_ = global_mount_table_file;
    saved_disk_ = global_disk_folder;
    saved_test_ = global_removable_device_test;
    global_mount_table_file = dir_.File("mounts");
    global_disk_folder = (dir_.path() / "disk").string();
    global_removable_device_test = [](const std::string& device) { return device == "sdz1"; };
  }
  void TearDown() override {
    global_mount_table_file = saved_table_;
    global_disk_folder = saved_disk_;
    global_removable_device_test = saved_test_;
  }
  UnicodeString Path(const std::string& sub) const { return Utf8ToUtf16((dir_.path() / sub).string()); }

  TempDir dir_;
  UnicodeString saved_table_;
  std::string saved_disk_;
  TRemovableDeviceTest saved_test_;
};

TEST_F(Drives, LettersTypesAndNetworkDrives) {
  const auto drives = LogicalDrives();
  ASSERT_EQ(drives.size(), 4u);
  EXPECT_EQ(drives[0].Letter, u'C');
  EXPECT_EQ(drives[0].Root, u"/");
  EXPECT_EQ(drives[1].Type, DRIVE_REMOTE);
  EXPECT_EQ(drives[2].Type, DRIVE_FIXED);
  EXPECT_EQ(drives[3].Type, DRIVE_REMOVABLE);
  EXPECT_EQ(NumberOfDrives(), 4);
  EXPECT_EQ(NumberOfNetworkDrives(), 1);
  EXPECT_EQ(AllNetworkDrives(), Path("net") + u"/");
  EXPECT_EQ(DriveRoot(u'f'), Path("stick") + u"/");
  EXPECT_EQ(DriveRoot(u'G'), u"");
  EXPECT_EQ(NetworkVolume(u'd'), u"//SERVER/SHARE");

  // Both fixed drives lie on this machine's disk; the one with more room wins,
  // the first on a tie.
  const UnicodeString most = DriveWithMostFreeSpace();
  EXPECT_TRUE(most == u"/" || most == Path("fixed") + u"/");

  UnicodeString drive;
  EXPECT_TRUE(PathDrive(Path("stick/corpus/a.txt"), drive));
  EXPECT_EQ(drive, Path("stick"));
  EXPECT_TRUE(PathDrive(u"/usr/share", drive));
  EXPECT_EQ(drive, u"");
  EXPECT_FALSE(PathDrive(u"relative/path", drive));
}

TEST_F(Drives, LabelsAndSerialNumbers) {
  EXPECT_EQ(VolumeID(u'F'), u"[MY STICK]");
  EXPECT_EQ(NetworkVolume(u'f'), u"[MY STICK]");
  EXPECT_EQ(VolumeID(u'E'), u"[]");
  EXPECT_EQ(VolumeID(u'Z'), u"[]");
  TNameAndSerialNumber rec;
  std::filesystem::create_directories(dir_.path() / "stick" / "corpus");
  DiskVolumeNameAndSerialNo(Path("stick/corpus"), rec);
  EXPECT_EQ(UnicodeString(rec.nome), u"My Stick");
  EXPECT_EQ(rec.number, 0x1A2B3C4Du);
  EXPECT_EQ(VolumeSerialNumber(Path("stick")), 0x1A2B3C4Du);
  EXPECT_EQ(VolumeSerialNumberStr(Path("stick")), u"1A2B-3C4D");
  EXPECT_EQ(FormattedVolumeSerial(0x000A00B0), u"000A-00B0");
  DiskVolumeNameAndSerialNo(u"relative", rec);
  EXPECT_EQ(rec.number, 0u);
  EXPECT_EQ(rec.nome[0], 0);
}

}  // namespace
}  // namespace quill
