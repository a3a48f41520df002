#include <gtest/gtest.h>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/ini_files.h"
#include "quillrt/framework/string_list.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::TempDir;

TEST(MemIniFile, ReadsSectionsValuesAndSkipsWhatIsNotAValue) {
  TempDir dir;
  testing::WriteText(dir.Path("a.ini"),
                     "orphan=dropped\r\n; comment\r\n[General]\r\n  Width = 42 \r\nName=a=b\r\n"
                     "bare line\r\n\r\n[ Other ]\nx=1\n[general]\nHeight=7\n");
  TMemIniFile ini(dir.File("a.ini"), TEncoding::UTF8());
  EXPECT_EQ(ini.ReadString(u"GENERAL", u"width", u"?"), u"42");
  EXPECT_EQ(ini.ReadInteger(u"General", u" Width ", 0), 42);
  EXPECT_EQ(ini.ReadString(u"General", u"Name", u""), u"a=b");
  EXPECT_EQ(ini.ReadInteger(u"General", u"Height", 0), 7);  // duplicate section merged
  EXPECT_EQ(ini.ReadString(u"Other", u"x", u""), u"1");
  EXPECT_EQ(ini.ReadString(u"General", u"orphan", u"none"), u"none");
  EXPECT_EQ(ini.ReadString(u"General", u"bare line", u"none"), u"none");
  TStringList lines;
  ini.ReadSections(lines);
  EXPECT_EQ(lines.Text(), u"General\r\nOther\r\n");
  ini.ReadSection(u"General", lines);
  EXPECT_EQ(lines.Text(), u"Width\r\nName\r\nHeight\r\n");
  ini.ReadSectionValues(u"General", lines);
  EXPECT_EQ(lines.Text(), u"Width=42\r\nName=a=b\r\nbare line\r\nHeight=7\r\n");
}

TEST(MemIniFile, TypedValuesAndDefaults) {
  TMemIniFile ini(u"");
  ini.WriteInteger(u"S", u"i", -5);
  ini.WriteBool(u"S", u"b", true);
  ini.WriteFloat(u"S", u"f", 1.5);
  ini.WriteString(u"S", u"empty", u"");
  ini.WriteString(u"S", u"word", u"abc");
  EXPECT_EQ(ini.ReadInteger(u"S", u"i", 0), -5);
  EXPECT_TRUE(ini.ReadBool(u"S", u"b", false));
  EXPECT_EQ(ini.ReadString(u"S", u"b", u""), u"1");
  EXPECT_EQ(ini.ReadFloat(u"S", u"f", 0), 1.5);
  EXPECT_EQ(ini.ReadString(u"S", u"f", u""), u"1.5");
  EXPECT_TRUE(ini.ValueExists(u"S", u"empty"));
  EXPECT_EQ(ini.ReadString(u"S", u"empty", u"default"), u"");
  EXPECT_EQ(ini.ReadInteger(u"S", u"word", 9), 9);
  EXPECT_TRUE(ini.ReadBool(u"S", u"word", true));
  EXPECT_EQ(ini.ReadInteger(u"Missing", u"i", 3), 3);
  ini.DeleteKey(u"S", u"i");
  EXPECT_FALSE(ini.ValueExists(u"S", u"i"));
  ini.EraseSection(u"s");
  EXPECT_FALSE(ini.SectionExists(u"S"));
}

TEST(MemIniFile, RefusesNamesAndValuesThatWouldNotReadBack) {
  TMemIniFile ini(u"");
  EXPECT_THROW(ini.WriteString(u"S", u"a=b", u"1"), EConvertError);
  EXPECT_THROW(ini.WriteString(u"S", u"", u"1"), EConvertError);
  EXPECT_THROW(ini.WriteString(u"S", u"[x]", u"1"), EConvertError);
  EXPECT_THROW(ini.WriteString(u"S", u"a", u"line1\nline2"), EConvertError);
  EXPECT_THROW(ini.WriteString(u"S\r\n[T]", u"a", u"1"), EConvertError);
  EXPECT_FALSE(ini.SectionExists(u"S"));
}

TEST(MemIniFile, UpdateFileWritesEverythingAndReadsBack) {
  TempDir dir;
  const UnicodeString name = dir.File("b.ini");
  {
    TMemIniFile ini(name, TEncoding::Unicode());
    ini.WriteString(u"One", u"k", u"v\u00e9");
    ini.WriteString(u"Two", u"n", u"");
    ini.UpdateFile();
  }
  const auto bytes = testing::ReadAllBytes(dir.Path("b.ini"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  TMemIniFile again(name);
  EXPECT_EQ(again.Encoding(), TEncoding::Unicode());  // from the mark
  EXPECT_EQ(again.ReadString(u"One", u"k", u""), u"v\u00e9");
  TStringList lines;
  again.GetStrings(lines);
  EXPECT_EQ(lines.Text(), u"[One]\r\nk=v\u00e9\r\n\r\n[Two]\r\nn=\r\n\r\n");
  // No temporary file is left beside it.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(MemIniFile, RenameWithReload) {
  TempDir dir;
  testing::WriteText(dir.Path("c.ini"), "[A]\nx=1\n");
  TMemIniFile ini(u"");
  ini.WriteString(u"B", u"y", u"2");
  ini.Rename(dir.File("c.ini"), true);
  EXPECT_EQ(ini.ReadString(u"A", u"x", u""), u"1");
  EXPECT_FALSE(ini.SectionExists(u"B"));
  ini.Rename(dir.File("missing.ini"), true);
  EXPECT_FALSE(ini.SectionExists(u"A"));
}

}  // namespace
}  // namespace quill
