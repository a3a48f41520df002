// Listings, wildcard rules, attributes, file times, the statistical UTF-16 test
// and the mount table.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "quillrt/platform/file_system.h"
#include "quillrt/platform/mount_table.h"
#include "quillrt/platform/unicode_statistics.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::TempDir;
using testing::WriteText;

std::set<std::string> Listed(const UnicodeString& pattern) {
  std::set<std::string> names;
  TDirectoryListing listing(pattern);
  TFoundEntry entry;
  while (listing.Next(entry)) names.insert(Utf16ToUtf8(entry.Name));
  return names;
}

std::string LittleEndian(const UnicodeString& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::string BigEndian(const UnicodeString& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit >> 8));
    bytes.push_back(static_cast<char>(unit & 0xFF));
  }
  return bytes;
}

bool Utf16ByStatistics(const std::string& bytes) {
  return IsTextUnicode(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

TEST(WildcardRules, ListingMasks) {
  EXPECT_TRUE(ListingMaskMatches(u"Report.TXT", u"*.txt"));
  EXPECT_TRUE(ListingMaskMatches(u"a.b.txt", u"*.txt"));
  EXPECT_FALSE(ListingMaskMatches(u"a.txt.bak", u"*.txt"));
  EXPECT_TRUE(ListingMaskMatches(u"ab1.txt", u"ab?.txt"));
  EXPECT_FALSE(ListingMaskMatches(u"ab.txt", u"ab?.txt"));
  // A name without extension counts as ending in ".": "*.*" lists it, "*." lists only it.
  EXPECT_TRUE(ListingMaskMatches(u"README", u"*.*"));
  EXPECT_TRUE(ListingMaskMatches(u"README", u"*."));
  EXPECT_FALSE(ListingMaskMatches(u"a.txt", u"*."));
  EXPECT_TRUE(ListingMaskMatches(u"ÉTÉ.txt", u"été.*"));
  EXPECT_FALSE(ListingMaskMatches(u"", u"*"));
}

TEST(WildcardRules, PathSpecsCrossDelimitersAndStars) {
  EXPECT_TRUE(PathMatchSpec(u"/corpus/sub/old", u"*/old"));
  EXPECT_TRUE(PathMatchSpec(u"/corpus/sub/old", u"*\\old"));
  EXPECT_FALSE(PathMatchSpec(u"/corpus/older", u"*/old"));
  EXPECT_TRUE(PathMatchSpec(u"abc", u"*.*"));
  EXPECT_TRUE(PathMatchSpec(u"aXbXc", u"a*b*c"));
  EXPECT_FALSE(PathMatchSpec(u"aXbXd", u"a*b*c"));
  // Many stars against a long name stay quick (no exponential backtracking).
  EXPECT_FALSE(PathMatchSpec(UnicodeString(2000, u'a'), u"*a*a*a*a*a*a*a*a*b"));
}

TEST(DirectoryListing, AttributesAndMasks) {
  TempDir dir;
  WriteText(dir.Path("a.txt"), "hello");
  WriteText(dir.Path(".hidden.txt"), "x");
  WriteText(dir.Path("ro.txt"), "x");
  std::filesystem::create_directory(dir.Path("sub.txt"));
  std::filesystem::create_symlink(dir.Path("a.txt"), dir.Path("link.txt"));
  std::filesystem::create_symlink(dir.Path("missing"), dir.Path("dangling.txt"));
  ::chmod(dir.Path("ro.txt").c_str(), 0444);

  const UnicodeString folder = Utf8ToUtf16(dir.path().string()) + u"/";
  EXPECT_EQ(Listed(folder + u"*.TXT"),
            (std::set<std::string>{"a.txt", ".hidden.txt", "ro.txt", "sub.txt", "link.txt"}));
  EXPECT_TRUE(Listed(folder + u"").empty());
  EXPECT_TRUE(Listed(folder + u"nothing/*").empty());

  TDirectoryListing listing(folder + u"*");
  TFoundEntry entry;
  while (listing.Next(entry)) {
    const std::string name = Utf16ToUtf8(entry.Name);
    if (name == "a.txt") {
      EXPECT_EQ(entry.Attr, faArchive);
      EXPECT_EQ(entry.Size, 5u);
    } else if (name == ".hidden.txt") {
      EXPECT_EQ(entry.Attr, faArchive | faHidden);
    } else if (name == "ro.txt") {
      EXPECT_EQ(entry.Attr, faArchive | faReadOnly);
    } else if (name == "sub.txt") {
      EXPECT_EQ(entry.Attr & ~faReadOnly, faDirectory);
    } else if (name == "link.txt") {
      EXPECT_EQ(entry.Attr, faArchive | faSymLink);
      EXPECT_EQ(entry.Size, 5u);
    }
  }
  EXPECT_EQ(GetFileAttributesW(folder + u"missing"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(folder + u"sub.txt") & faDirectory, faDirectory);
}

TEST(FileTimes, PackedDatesKeepEvenSecondsAndFallBackTo1970) {
  TempDir dir;
  WriteText(dir.Path("f.txt"), "x");
  const UnicodeString file = Utf8ToUtf16(dir.Path("f.txt").string());
  ASSERT_TRUE(SetFileLastWriteTime(file, EncodeDateTime(2021, 6, 15, 10, 20, 31, 0)));
  TFoundEntry entry;
  ASSERT_TRUE(GetFileDetails(file, entry));
  TDateTime value;
  ASSERT_TRUE(TryFileStampToLocalDosDateTime(entry.LastWrite, value));
  EXPECT_DOUBLE_EQ(value, EncodeDateTime(2021, 6, 15, 10, 20, 30, 0));
  ASSERT_TRUE(TryFileStampToDateTime(entry.LastWrite, value));
  EXPECT_NEAR(value, EncodeDateTime(2021, 6, 15, 10, 20, 31, 0), 1e-9);

  ASSERT_TRUE(SetFileLastWriteTime(file, EncodeDateTime(1975, 1, 1, 12, 0, 0, 0)));
  ASSERT_TRUE(GetFileDetails(file, entry));
  EXPECT_FALSE(TryFileStampToLocalDosDateTime(entry.LastWrite, value));
  EXPECT_DOUBLE_EQ(FileStampToDateTimeOrEpoch(entry.LastWrite), EncodeDate(1970, 1, 1));
  EXPECT_FALSE(SetFileLastWriteTime(file + u"-missing", EncodeDate(2000, 1, 1)));
}

TEST(Utf16Statistics, TextWithoutMarkInThreeScripts) {
  const UnicodeString latin = U("The quick brown fox jumps over the lazy dog, again and again.\r\n");
  const UnicodeString cyrillic = U("Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n");
  const UnicodeString cjk = U("我们在语料库中查找词语的用法。这是一个很好的例子，对吧？日本語も少し書きます。");
  EXPECT_TRUE(Utf16ByStatistics(LittleEndian(latin)));
  EXPECT_TRUE(Utf16ByStatistics(LittleEndian(cyrillic)));
  EXPECT_TRUE(Utf16ByStatistics(LittleEndian(cjk)));
  // The same texts in the other byte order are not little-endian UTF-16.
  EXPECT_FALSE(Utf16ByStatistics(BigEndian(latin)));
  EXPECT_FALSE(Utf16ByStatistics(BigEndian(cyrillic)));
  EXPECT_FALSE(Utf16ByStatistics(BigEndian(cjk)));
}

// The bytes UTF-16 has and 8-bit text lacks are looked for sixteen at a
// time: a text is judged alike at every length and wherever they fall.
TEST(Utf16Statistics, JudgedAlikeAtEveryLength) {
  const UnicodeString latin = U("The quick brown fox jumps over the lazy dog, again and again.\r\n");
  for (std::size_t units = 1; units <= 40; ++units)
    EXPECT_TRUE(Utf16ByStatistics(LittleEndian(latin.substr(0, units)))) << units;
  // CJK UTF-16 has no zero bytes: control-range low bytes betray it (the
  // 0x11 of U+6211 and the like), wherever they fall in the blocks looked at.
  const UnicodeString cjk = U("我们在语料库中查找词语的用法。这是一个很好的例子");
  for (std::size_t from = 0; from < 8; ++from)
    EXPECT_TRUE(Utf16ByStatistics(LittleEndian(cjk.substr(from)))) << from;
}

TEST(Utf16Statistics, EightBitTextIsNotUtf16) {
  // Even-length ASCII, UTF-8 and 8-bit Cyrillic (code page 1251) text.
  EXPECT_FALSE(Utf16ByStatistics("This is plain ASCII text of even length!"));
  EXPECT_FALSE(Utf16ByStatistics("Caf\xC3\xA9 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9""e, d\xC3\xA9j\xC3\xA0 vu!!"));
  EXPECT_FALSE(Utf16ByStatistics("\xD1\xFA\xE5\xF8\xFC \xE6\xE5 \xE5\xF9\xB8 \xFD\xF2\xE8\xF5 \xEC\xFF\xE3\xEA\xE8\xF5"));
  // One end-of-file mark in a long ASCII file does not make it UTF-16.
  EXPECT_FALSE(Utf16ByStatistics(std::string(400, 'a') + "b\x1A"));
  // Odd size, binary zeros, a reversed mark.
  EXPECT_FALSE(Utf16ByStatistics(LittleEndian(u"odd") + "x"));
  EXPECT_FALSE(Utf16ByStatistics(std::string(64, '\0')));
  EXPECT_FALSE(Utf16ByStatistics(std::string("\xFE\xFF") + BigEndian(u"text")));
  EXPECT_TRUE(Utf16ByStatistics(std::string("\xFF\xFE") + LittleEndian(u"text")));
}

TEST(MountTable, ParsingStorageAndLookup) {
  const auto table = ParseMountTable(
      "proc /proc proc rw 0 0\n"
      "/dev/sda1 / ext4 rw 0 0\n"
      "tmpfs /tmp tmpfs rw 0 0\n"
      "/dev/sdb1 /media/my\\040stick vfat rw 0 0\n"
      "//server/share /mnt/share cifs rw 0 0\n"
      "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
      "broken-line\n"
      "/dev/sdc1 /mnt/share ext4 rw 0 0\n");
  ASSERT_EQ(table.size(), 7u);
  EXPECT_EQ(table[3].MountPoint, U("/media/my stick"));
  const auto mounts = StorageMounts(table);
  ASSERT_EQ(mounts.size(), 3u);
  EXPECT_EQ(mounts[0].MountPoint, u"/");
  EXPECT_EQ(mounts[2].Device, u"/dev/sdc1");  // a later mount hides the earlier one
  EXPECT_EQ(MountEntryFor(mounts, U("/media/my stick/corpus/a.txt")), 1);
  EXPECT_EQ(MountEntryFor(mounts, U("/media/my sticky/a.txt")), 0);
  EXPECT_EQ(MountEntryFor(mounts, u"relative/a.txt"), -1);

  const auto never_removable = [](const std::string&) { return false; };
  EXPECT_EQ(DriveTypeOf(table[3], never_removable), DRIVE_REMOVABLE);  // mounted under /media
  EXPECT_EQ(DriveTypeOf(table[4], never_removable), DRIVE_REMOTE);
  EXPECT_EQ(DriveTypeOf(table[1], never_removable), DRIVE_FIXED);
  EXPECT_EQ(DriveTypeOf(table[1], [](const std::string& device) { return device == "sda1"; }), DRIVE_REMOVABLE);
  EXPECT_EQ(DriveTypeOf({u"/dev/sr0", u"/mnt/cd", u"iso9660"}, never_removable), DRIVE_CDROM);
}

TEST(MountTable, SerialsFromVolumeUuids) {
  std::uint32_t serial = 0;
  EXPECT_TRUE(SerialFromVolumeUuid("1A2B-3C4D", serial));
  EXPECT_EQ(serial, 0x1A2B3C4Du);
  EXPECT_TRUE(SerialFromVolumeUuid("0123456789ABCDEF", serial));
  EXPECT_EQ(serial, 0x89ABCDEFu);
  EXPECT_FALSE(SerialFromVolumeUuid("3f1d2c4e-1111-2222-3333-444455556666", serial));
  EXPECT_FALSE(SerialFromVolumeUuid("1A2B-3C4G", serial));
}

}  // namespace
}  // namespace quill
