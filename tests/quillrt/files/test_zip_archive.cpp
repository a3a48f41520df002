// The zip archive class: reading, writing on disk and in memory, comments,
// failures, and extraction that stays inside its folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::TempDir;
using testing::WriteText;

// Writes an archive with the given (stored name, content) entries.
void MakeZip(const UnicodeString& path, const std::vector<std::pair<std::string, std::string>>& entries,
             const AnsiString& comment = {}) {
  TZipArchive zip;
  zip.SetFileName(path);
  zip.OpenArchive(TZipOpenMode::create);
  for (const auto& [name, content] : entries) zip.AddFromBytes(Utf8ToUtf16(name), content, EncodeDateTime(2020, 3, 4, 5, 6, 8, 0));
  if (!comment.empty()) zip.SetComment(comment);
  zip.CloseArchive();
}

TEST(ZipArchive, WritesAndReadsEntriesWithDetails) {
  TempDir dir;
  const UnicodeString path = dir.File("a.zip");
  MakeZip(path, {{"one.txt", "first"}, {"d/two.txt", std::string(10000, 'x')}, {"folder/", ""}}, "Quilry Batch file .lst");

  TZipArchive zip;
  zip.SetFileName(path);
  zip.OpenArchive();
  ASSERT_EQ(zip.EntryCount(), 3);
  const TZipEntryInfo two = zip.EntryInfo(1);
  EXPECT_EQ(two.StoredName, u"d/two.txt");
  EXPECT_EQ(two.Size, 10000);
  EXPECT_LT(two.CompressedSize, 10000);
  EXPECT_EQ(two.Attr & faDirectory, 0);
  EXPECT_DOUBLE_EQ(two.DateTime, EncodeDateTime(2020, 3, 4, 5, 6, 8, 0));
  EXPECT_EQ(zip.EntryInfo(2).Attr & faDirectory, faDirectory);
  EXPECT_EQ(zip.Comment(), "Quilry Batch file .lst");

  EXPECT_EQ(zip.ExtractToBytes(0), "first");
  TMemoryStream stream;
  EXPECT_TRUE(zip.ExtractToStream(u"D\\TWO.TXT", stream));  // either delimiter, any case
  EXPECT_EQ(stream.GetSize(), 10000);
  EXPECT_EQ(zip.FindEntry(u"d/two.txt"), 1);
  EXPECT_EQ(zip.FindEntry(u"missing"), -1);
  EXPECT_THROW(zip.ExtractToStream(u"missing", stream), EZipError);
  EXPECT_THROW(zip.EntryInfo(3), EZipError);
  EXPECT_THROW(zip.AddFromBytes(u"x", "y"), EZipError);  // opened for reading
  zip.CloseArchive();
  EXPECT_FALSE(zip.Active());
  EXPECT_EQ(zip.EntryCount(), 0);
}

TEST(ZipArchive, OpeningMissingOrNonArchiveFilesRaises) {
  TempDir dir;
  WriteText(dir.Path("not.zip"), "this is plain text, not an archive at all");
  TZipArchive zip;
  zip.SetFileName(dir.File("missing.zip"));
  EXPECT_THROW(zip.OpenArchive(), EZipError);
  zip.SetFileName(dir.File("not.zip"));
  EXPECT_THROW(zip.OpenArchive(), EZipError);
  zip.SetFileName(Utf8ToUtf16(dir.path().string()));
  EXPECT_THROW(zip.OpenArchive(), EZipError);
  EXPECT_THROW(zip.OpenFromBytes("PK\x03\x04 truncated"), EZipError);
  EXPECT_FALSE(zip.Active());
}

TEST(ZipArchive, AddsFilesAtALevelIntoMemoryAndCountsThem) {
  TempDir dir;
  WriteText(dir.Path("source.txt"), std::string(50000, 'q'));
  for (std::uint16_t level : {0, 9}) {
    TZipArchive zip;
    zip.CreateInMemory();
    zip.SetPackLevel(level);
    EXPECT_EQ(zip.AddFile(dir.File("source.txt")), 1);
    int failures = 0;
    zip.OnProcessFileFailure = [&](TZipArchive&, const UnicodeString&, TZipOperation operation, const UnicodeString&,
                                   TZipFailureAction& action) {
      ++failures;
      EXPECT_EQ(operation, TZipOperation::add);
      EXPECT_EQ(action, zfaSkip);
    };
    EXPECT_EQ(zip.AddFile(dir.File("absent.txt")), 0);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(zip.FilesAdded(), 1);
    zip.CloseArchive();
    const std::string bytes = zip.InMemoryBytes();
    if (level == 0)
      EXPECT_GT(bytes.size(), 50000u);
    else
      EXPECT_LT(bytes.size(), 1000u);

    TZipArchive back;
    back.OpenFromBytes(bytes);
    ASSERT_EQ(back.EntryCount(), 1);
    EXPECT_EQ(back.EntryName(0), u"source.txt");
    EXPECT_EQ(back.ExtractToBytes(0), std::string(50000, 'q'));
  }
}

TEST(ZipArchive, UpdateAddsToAnExistingArchive) {
  TempDir dir;
  const UnicodeString path = dir.File("u.zip");
  MakeZip(path, {{"a.txt", "A"}});
  TZipArchive zip;
  zip.SetFileName(path);
  zip.OpenArchive(TZipOpenMode::update);
  zip.AddFromBytes(u"b.txt", "B");
  zip.AddFromBytes(u"a.txt", "A2");  // replaces the entry of that name
  zip.CloseArchive();
  zip.OpenArchive();
  ASSERT_EQ(zip.EntryCount(), 2);
  EXPECT_EQ(zip.ExtractToBytes(zip.FindEntry(u"a.txt")), "A2");
}

TEST(ZipArchive, FailureEventDecidesWhatHappensToADamagedEntry) {
  TempDir dir;
  const UnicodeString path = dir.File("bad.zip");
  MakeZip(path, {{"a.txt", std::string(3000, 'a')}});
  // Damage the stored data (not the directory): the CRC check fails on reading.
  std::vector<unsigned char> bytes = testing::ReadAllBytes(dir.Path("bad.zip"));
  bytes[40] ^= 0xFF;
  bytes[41] ^= 0xFF;
  testing::WriteAllBytes(dir.Path("bad.zip"), bytes);

  TZipArchive zip;
  zip.SetFileName(path);
  zip.OpenArchive();
  TMemoryStream stream;
  stream.WriteBuffer("keep", 4);
  EXPECT_THROW(zip.ExtractToStream(0, stream), EZipError);  // the default for extracting: abort
  zip.OnProcessFileFailure = [](TZipArchive&, const UnicodeString& name, TZipOperation, const UnicodeString&,
                                TZipFailureAction& action) {
    EXPECT_EQ(name, u"a.txt");
    action = zfaSkip;
  };
  stream.SetSize(4);
  stream.SetPosition(4);
  EXPECT_FALSE(zip.ExtractToStream(0, stream));
  EXPECT_EQ(stream.GetSize(), 4);  // what was written of the entry is taken back
}

TEST(ZipArchive, AnEntryShorterThanListedIsDamaged) {
  TempDir dir;
  const UnicodeString path = dir.File("short.zip");
  TZipArchive writer;
  writer.SetFileName(path);
  writer.OpenArchive(TZipOpenMode::create);
  writer.SetPackLevel(0);
  writer.AddFromBytes(u"empty/", "");
  writer.CloseArchive();
  // Make the central directory promise 0x40000 bytes for the empty, stored entry.
  std::vector<unsigned char> bytes = testing::ReadAllBytes(dir.Path("short.zip"));
  const std::size_t central = std::search(bytes.begin(), bytes.end(), std::begin("PK\x01\x02"), std::begin("PK\x01\x02") + 4) - bytes.begin();
  ASSERT_LT(central, bytes.size());
  bytes[central + 26] = 0x04;  // uncompressed size at offset 24, little-endian
  testing::WriteAllBytes(dir.Path("short.zip"), bytes);

  TZipArchive zip;
  zip.SetFileName(path);
  zip.OpenArchive();
  ASSERT_EQ(zip.EntryInfo(0).Size, 0x40000);
  TMemoryStream stream;
  EXPECT_THROW(zip.ExtractToStream(0, stream), EZipError);
}

TEST(ZipArchive, ExtractingToAFolderNeverLeavesIt) {
  TempDir dir;
  const UnicodeString path = dir.File("evil.zip");
  MakeZip(path, {{"../../escape.txt", "1"}, {"/etc/absolute.txt", "2"}, {"C:\\win\\drive.txt", "3"},
                 {"sub/./../inner.txt", "4"}, {"link/through.txt", "5"}});
  const std::filesystem::path target = dir.path() / "out";
  std::filesystem::create_directories(target);
  const std::filesystem::path elsewhere = dir.path() / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  std::filesystem::create_directory_symlink(elsewhere, target / "link");

  TZipArchive zip;
  zip.SetFileName(path);
  zip.OpenArchive();
  const UnicodeString folder = Utf8ToUtf16(target.string());
  EXPECT_EQ(zip.ExtractToFolder(0, folder), Utf8ToUtf16((target / "escape.txt").string()));
  EXPECT_EQ(zip.ExtractToFolder(1, folder), Utf8ToUtf16((target / "etc/absolute.txt").string()));
  EXPECT_EQ(zip.ExtractToFolder(2, folder), Utf8ToUtf16((target / "win/drive.txt").string()));
  EXPECT_EQ(zip.ExtractToFolder(3, folder), Utf8ToUtf16((target / "sub/inner.txt").string()));
  EXPECT_THROW(zip.ExtractToFolder(4, folder), EZipError);  // a link on the way is not followed
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "escape.txt"));
  EXPECT_FALSE(std::filesystem::exists(elsewhere / "through.txt"));
  EXPECT_EQ(testing::ReadAllBytes(target / "win/drive.txt"), std::vector<unsigned char>{'3'});
}

// libzip is loaded by the first archive opened. Run on its own (as ctest runs
// each test), this test's threads are that first use, all at once: each must
// find the library whole.
TEST(ZipArchive, ThreadsOpeningTheFirstArchivesAtOnceAllSucceed) {
  constexpr int kThreads = 4;
  std::latch start(kThreads);
  std::vector<std::string> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      try {
        TZipArchive zip;
        zip.CreateInMemory();
        zip.AddFromBytes(u"t.txt", "thread " + std::to_string(t));
        zip.CloseArchive();
        TZipArchive back;
        back.OpenFromBytes(zip.InMemoryBytes());
        results[t] = back.ExtractToBytes(0);
      } catch (const std::exception& error) {
        results[t] = error.what();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[t], "thread " + std::to_string(t));
}

}  // namespace
}  // namespace quill
