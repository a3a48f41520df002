#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "quillrt/collections/file_of_char.h"
#include "quillrt/collections/mem_ini_file.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/string_list.h"
#include "test_support.h"

namespace quill {
namespace {

using Bytes = std::vector<unsigned char>;
using testing::TempDir;

Bytes Utf16LE(const std::u16string& text, bool mark) {
  Bytes bytes;
  if (mark) bytes = {0xFF, 0xFE};
  for (char16_t unit : text) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  return bytes;
}

std::string Utf16BE(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit >> 8);
    bytes += static_cast<char>(unit & 0xFF);
  }
  return bytes;
}

// A name so long that the temporary file beside it ("<name>.tmp123456") exceeds
// the file system's limit: writing through a temporary file fails, even for root.
std::string NameWithoutRoomForATemporary(const std::string& extension) {
  return std::string(252 - extension.size(), 'n') + extension;
}

TEST(SettingsFile, BooleansByTheirFirstLetter) {
  TMyMemIniFile ini(u"");
  for (auto [value, with_true_default, with_false_default] :
       {std::tuple{u"YES", true, true}, {u"Yes", true, true}, {u"NO", false, false}, {u"no", false, true},
        {u"yes", false, true}, {u"maybe", false, true}, {u"Nope", false, false}}) {
    ini.WriteString(u"Options", u"flag", value);
    EXPECT_EQ(ini.ReadBool(u"Options", u"flag", true), with_true_default) << Utf16ToUtf8(value);
    EXPECT_EQ(ini.ReadBool(u"Options", u"flag", false), with_false_default) << Utf16ToUtf8(value);
  }
  EXPECT_TRUE(ini.ReadBool(u"Options", u"missing", true));
  EXPECT_FALSE(ini.ReadBool(u"Options", u"missing", false));
  ini.WriteString(u"Options", u"empty", u"");
  EXPECT_TRUE(ini.ReadBool(u"Options", u"empty", true));
  EXPECT_FALSE(ini.ReadBool(u"Options", u"empty", false));
  ini.WriteBool(u"Options", u"on", true);
  ini.WriteBool(u"Options", u"off", false);
  EXPECT_EQ(ini.ReadString(u"Options", u"on", u""), u"YES");
  EXPECT_EQ(ini.ReadString(u"Options", u"off", u""), u"NO");
}

TEST(SettingsFile, SavesAsUtf16WithMarkAndReadsBack) {
  TempDir dir;
  const UnicodeString name = dir.File("tool.ini");
  {
    TMyMemIniFile ini(name);
    ini.WriteBool(u"Main", u"Sound", true);
    ini.WriteString(u"Main", u"Title", u"\u0416\u00e9");
    ini.UpdateFile();
  }
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("tool.ini")),
            Utf16LE(u"[Main]\r\nSound=YES\r\nTitle=\u0416\u00e9\r\n\r\n", true));
  TMyMemIniFile again(name);
  EXPECT_TRUE(again.ReadBool(u"Main", u"Sound", false));
  EXPECT_EQ(again.ReadString(u"Main", u"Title", u""), u"\u0416\u00e9");
}

TEST(SettingsFile, ReadsOtherEncodings) {
  TempDir dir;
  const std::string utf8 = "[Main]\r\nTitle=\xc3\xa9t\xc3\xa9\r\nSound=NO\r\n";
  const std::pair<std::string, std::string> files[] = {
      {"utf8.ini", utf8},
      {"utf8bom.ini", "\xef\xbb\xbf" + utf8},
      {"utf16nomark.ini", [] {
         const Bytes b = Utf16LE(u"[Main]\r\nTitle=\u00e9t\u00e9\r\nSound=NO\r\n", false);
         return std::string(b.begin(), b.end());
       }()},
      {"utf16be.ini", "\xfe\xff" + Utf16BE(u"[Main]\r\nTitle=\u00e9t\u00e9\r\nSound=NO\r\n")},
      {"cp1252.ini", "[Main]\r\nTitle=\xe9t\xe9\r\nSound=NO\r\n"},
  };
  for (const auto& [file, contents] : files) {
    testing::WriteText(dir.Path(file), contents);
    TMyMemIniFile ini(dir.File(file));
    EXPECT_EQ(ini.ReadString(u"Main", u"Title", u"?"), u"\u00e9t\u00e9") << file;
    EXPECT_FALSE(ini.ReadBool(u"Main", u"Sound", true)) << file;
    // Whatever it was read in, it is saved as UTF-16 LE with its mark.
    ini.UpdateFile();
    const Bytes saved = testing::ReadAllBytes(dir.Path(file));
    ASSERT_GE(saved.size(), 2u);
    EXPECT_EQ(saved[0], 0xFF) << file;
    EXPECT_EQ(saved[1], 0xFE) << file;
  }
}

TEST(SettingsFile, AFailedSaveLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string file = NameWithoutRoomForATemporary(".ini");
  testing::WriteText(dir.Path(file), "[A]\r\nx=1\r\n");
  TMyMemIniFile ini(dir.File(file));
  ini.WriteString(u"A", u"x", u"2");
  EXPECT_ANY_THROW(ini.UpdateFile());
  EXPECT_EQ(testing::ReadAllBytes(dir.Path(file)), Bytes({'[', 'A', ']', '\r', '\n', 'x', '=', '1', '\r', '\n'}));
}

TEST(SettingsFile, Backup) {
  TempDir dir;
  TMyMemIniFile ini(dir.File("tool.ini"));
  EXPECT_EQ(ini.BackupFileName(), dir.File("tool.BAK"));
  EXPECT_FALSE(ini.SaveABackup());  // not saved yet: nothing to copy
  EXPECT_FALSE(std::filesystem::exists(dir.Path("tool.BAK")));
  ini.WriteString(u"A", u"x", u"1");
  ini.UpdateFile();
  testing::WriteText(dir.Path("tool.BAK"), "older backup");
  EXPECT_TRUE(ini.SaveABackup());
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("tool.BAK")), testing::ReadAllBytes(dir.Path("tool.ini")));
  EXPECT_FALSE(TMyMemIniFile(u"").SaveABackup());
}

TEST(SettingsFile, AFailedBackupIsReportedAndTheEarlierOneStays) {
  TempDir dir;
  const std::string stem(247, 's');
  testing::WriteText(dir.Path(stem + ".i"), "[A]\r\nx=1\r\n");
  testing::WriteText(dir.Path(stem + ".BAK"), "older");
  TMyMemIniFile ini(dir.File(stem + ".i"));
  EXPECT_FALSE(ini.SaveABackup());
  EXPECT_EQ(testing::ReadAllBytes(dir.Path(stem + ".BAK")), Bytes({'o', 'l', 'd', 'e', 'r'}));
}

TEST(FileOfChar, AppendsUnitsAfterAMark) {
  TempDir dir;
  const UnicodeString name = dir.File("out.txt");
  AddToFileOfChar(name, u"ab");
  AddToFileOfChar(name, u"cd");
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("out.txt")),
            Bytes({0xFF, 0xFE, 0x61, 0x00, 0x62, 0x00, 0x63, 0x00, 0x64, 0x00}));
  AddToFileOfChar(dir.File("empty.txt"), u"");
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("empty.txt")), Bytes({0xFF, 0xFE}));
  AddToFileOfChar(u"", u"nothing");  // no file name: nothing happens
  AddToFileOfChar(name, u"\U0001F600");
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("out.txt")).size(), 14u);
}

TEST(FileOfChar, ExistingFilesAreAppendedByWholeUnits) {
  TempDir dir;
  testing::WriteAllBytes(dir.Path("plain.txt"), {'x', 0x00, 'y'});  // no mark, odd length
  AddToFileOfChar(dir.File("plain.txt"), u"z");
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("plain.txt")), Bytes({'x', 0x00, 'z', 0x00}));
}

TEST(FileOfChar, FailuresRaiseInputOutputErrors) {
  TempDir dir;
  EXPECT_THROW(AddToFileOfChar(dir.File("no/such/folder/x.txt"), u"a"), EInOutError);
  std::filesystem::create_directory(dir.Path("folder"));
  EXPECT_THROW(AddToFileOfChar(dir.File("folder"), u"a"), EInOutError);
}

}  // namespace
}  // namespace quill
