// Names pointing into archives, and reading files inside archives.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "quillrt/files/zip_archive.h"
#include "quillrt/files/zip_paths.h"
#include "quillrt/framework/sysutils.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::TempDir;

TEST(ZipPaths, SplittingNamesThatPointIntoArchives) {
  EXPECT_EQ(ZipFileFullFileName(u"C:\\c\\A.ZIP\\d\\e.txt"), u"C:\\c\\A.ZIP");
  EXPECT_EQ(ZipFileWantedFileNameWithin(u"C:\\c\\A.ZIP\\d\\e.txt"), u"d\\e.txt");
  EXPECT_EQ(ZipFileFullFileName(u"/c/a.zip\\d/e.txt"), u"/c/a.zip");
  EXPECT_EQ(ZipFileWantedFileNameWithin(u"/c/a.zip\\d/e.txt"), u"d/e.txt");
  EXPECT_EQ(ZipFileFullFileName(u"/c/a.Zip/e.txt"), u"/c/a.Zip");
  // A backslash after ".zip" wins over an earlier folder called "x.zip/".
  EXPECT_EQ(ZipFileFullFileName(u"/data/x.zip/y.zip\\e.txt"), u"/data/x.zip/y.zip");
  EXPECT_EQ(ZipFileFullFileName(u"/c/a.zipper/e.txt"), u"");
  EXPECT_EQ(ZipFileWantedFileNameWithin(u"/c/plain.txt"), u"");

  EXPECT_TRUE(IsZipExtension(u".ZIP"));
  EXPECT_FALSE(IsZipExtension(u"zip"));
  EXPECT_TRUE(IsAZipFile(u"/c/Archive.Zip"));
  EXPECT_FALSE(IsAZipFile(u"/c/archive.zip.txt"));
  EXPECT_TRUE(IsWithinAZipFile(u"/nowhere/a.zip\\b.txt"));
  EXPECT_FALSE(IsWithinAZipFile(u"/nowhere/a.zip"));
}

class ZipReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    zip_ = dir_.File("texts.zip");
    TZipArchive zip;
    zip.SetFileName(zip_);
    zip.OpenArchive(TZipOpenMode::create);
    zip.AddFromBytes(u"plain.txt", "line one\rline two\nline three\r\nlast");
    zip.AddFromBytes(u"d/utf8.txt", "caf\xC3\xA9");
    zip.AddFromBytes(u"wide.txt", std::string("\xFF\xFEh\0i\0", 6));
    zip.CloseArchive();
    saved_temp_ = my_temp_path;
    my_temp_path = Utf8ToUtf16((dir_.path() / "private").string());
  }
  void TearDown() override { my_temp_path = saved_temp_; }

  TempDir dir_;
  UnicodeString zip_;
  UnicodeString saved_temp_;
};

TEST_F(ZipReaders, ContentsByNumberAndByFullName) {
  EXPECT_EQ(ContentsOfFileWithinZipFile(zip_, 2), U("café"));
  EXPECT_EQ(ContentsOfFileWithinZipFile(zip_, 3), u"hi");
  EXPECT_EQ(ContentsOfFileWithinZipFile(zip_ + u"\\d\\utf8.txt"), U("café"));
  EXPECT_EQ(ContentsOfFileWithinZipFile(zip_ + u"\\d/utf8.txt"), U("café"));
  EXPECT_THROW(ContentsOfFileWithinZipFile(zip_, 4), EZipError);
  EXPECT_THROW(ContentsOfFileWithinZipFile(zip_ + u"\\none.txt"), EZipError);
  EXPECT_THROW(ContentsOfFileWithinZipFile(dir_.File("none.zip"), 1), EZipError);
}

TEST_F(ZipReaders, TemporaryCopyIsUtf16WithCrLfLines) {
  const UnicodeString path = OpenedAZipFileToTempDir(zip_, 1);
  EXPECT_EQ(path, my_temp_path + u"/tempzip.txt");
  const auto bytes = testing::ReadAllBytes(SystemPath(path));
  std::u16string text;
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  EXPECT_EQ(text, u"line one\r\nline two\r\nline three\r\nlast\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(SystemPath(my_temp_path).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u);  // nobody else may look in

  std::filesystem::remove(SystemPath(path));
  EXPECT_EQ(OpenedAZipFileToTempDir(zip_, 4), path);  // out of range: nothing written
  EXPECT_EQ(OpenedAZipFileToTempDir(zip_, 0), path);
  EXPECT_FALSE(std::filesystem::exists(SystemPath(path)));
}

}  // namespace
}  // namespace quill
