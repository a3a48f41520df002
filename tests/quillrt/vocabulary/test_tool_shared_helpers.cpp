#include <gtest/gtest.h>

#include <cstdlib>

#include "quillrt/platform/mount_table.h"
#include "quillrt/platform/system_colours.h"
#include "quillrt/vocabulary/tool_shared_helpers.h"
#include "test_support.h"

namespace quill {
namespace {

TEST(ToolSharedHelpers, SelectionNumbers) {
  const int at_all[] = {1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 2, 3, 3};  // n = 0 .. 15
  for (int n = 0; n < 16; ++n) EXPECT_EQ(SelectAtAllTypeFromNumber(n), at_all[n]) << n;
  EXPECT_EQ(SelectWithinTypeFromNumber(1), 2);
  EXPECT_EQ(SelectWithinTypeFromNumber(14), 3);
  EXPECT_EQ(SelectWithinTypeFromNumber(15), 0);
  EXPECT_EQ(SelectWithinTypeFromNumber(16), 1);
  EXPECT_EQ(SelectWithinTypeFromNumber(0), 3);
}

TEST(ToolSharedHelpers, ChosenBooleans) {
  const bool none[] = {false, false, false};
  const bool first[] = {true, false, false};
  const bool middle[] = {false, true, true, false};
  EXPECT_EQ(FirstChosenInArrayOfBoolean(none), 0);
  EXPECT_EQ(FirstChosenInArrayOfBoolean(first), 0);
  EXPECT_EQ(FirstChosenInArrayOfBoolean(middle), 1);
  EXPECT_EQ(LastChosenInArrayOfBoolean(none), 0);
  EXPECT_EQ(LastChosenInArrayOfBoolean(middle), 2);
  EXPECT_EQ(LastChosenInArrayOfBoolean({}), 0);
}

TEST(ToolSharedHelpers, ExchangesAndFixedArrays) {
  std::vector<UnicodeString> headings{u"Word", u"Freq.", u"%"};
  ExchangeTwoHeadings(0, 2, headings);
  EXPECT_EQ(headings, (std::vector<UnicodeString>{u"%", u"Freq.", u"Word"}));
  ExchangeTwoHeadings(0, 3, headings);  // outside: nothing happens
  EXPECT_EQ(headings[0], u"%");
  std::uint32_t a = 0x80000001u, b = 7;
  ExchangeTwoTTypeRecs(a, b);
  EXPECT_EQ(a, 7u);
  EXPECT_EQ(b, 0x80000001u);
  static_assert(MaxCardinal(0xFFFFFFFFu, 1) == 0xFFFFFFFFu && MinCardinal(0xFFFFFFFFu, 1) == 1);

  const thirtywidechar chars = StringToThirtyWideChar(UnicodeString(40, u'z'));
  EXPECT_EQ(GetFixedChars(chars), UnicodeString(30, u'z'));
  EXPECT_EQ(chars[30], 0);
}

TEST(ToolSharedHelpers, OneTextStatisticsAddUp) {
  ClearGlobalOneTextStats();
  TSearchStatsRec chunk;
  chunk.number[word_stats] = 100;
  chunk.position[sentence_stats] = 3;
  chunk.out_of[section_stats] = 2;
  CopyAChunkTextStats(chunk);
  CopyAChunkTextStats(chunk);
  EXPECT_EQ(GlobalOneFilesStats.number[word_stats], 200);
  EXPECT_EQ(GlobalOneFilesStats.position[sentence_stats], 6);
  EXPECT_EQ(GlobalOneFilesStats.out_of[section_stats], 4);
  ClearGlobalOneTextStats();
  EXPECT_EQ(GlobalOneFilesStats.number[word_stats], 0);
}

TEST(ToolSharedHelpers, SystemColoursResolveThroughTheInstalledPalette) {
  // Plain colours come back as they are, black and white included.
  EXPECT_EQ(MyColourToRGB(0x000000), 0x000000);
  EXPECT_EQ(MyColourToRGB(0x00FFFFFF), 0x00FFFFFF);
  EXPECT_EQ(MyColourToRGB(0x0000FF00), 0x0000FF00);
  // A system colour (top byte 0xFF) names its index by the low byte.
  const TColor button_face = static_cast<TColor>(0xFF000000u | COLOR_BTNFACE);
  EXPECT_EQ(MyColourToRGB(button_face), static_cast<TColor>(DefaultSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(DefaultSysColor(COLOR_HIGHLIGHT), 0x00D77800u);  // #0078D7 as 0x00BBGGRR
  // A toolkit's palette wins over the defaults; an unknown index is black.
  SetSystemColourProc([](std::int32_t index) { return index == COLOR_BTNFACE ? 0x00123456u : 0xFFFFFFFFu; });
  EXPECT_EQ(MyColourToRGB(button_face), 0x00123456);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0x00FFFFFFu);  // only the colour bytes of an answer count
  EXPECT_EQ(MyColourToRGB(static_cast<TColor>(0xFF0000FFu)), 0);
  SetSystemColourProc({});
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), DefaultSysColor(COLOR_BTNFACE));
}

TEST(ToolSharedHelpers, TimingRestartsWhenAsked) {
  StartTiming();
  const TDateTime started = Global_StartTime;
  EXPECT_GE(ElapsedTime(false), 0.0);
  EXPECT_EQ(Global_StartTime, started);
  Global_StartTime -= 1.0;  // as if started a day ago
  EXPECT_GE(ElapsedTime(true), 1.0);
  EXPECT_LT(ElapsedTime(false), 0.5);
}

TEST(ToolSharedHelpers, NetworkCopyFollowsTheSessionAndTheMountOfTheProgram) {
  testing::TempDir dir;
  const UnicodeString saved_table = global_mount_table_file;
  const char* ssh = std::getenv("SSH_CONNECTION");
  const std::string saved_ssh = ssh ? ssh : "";
  unsetenv("SSH_CONNECTION");

  testing::WriteText(dir.Path("local"), "/dev/sda1 / ext4 rw 0 0\n");
  global_mount_table_file = dir.File("local");
  EXPECT_FALSE(Network_Copy());
  testing::WriteText(dir.Path("remote"), "server:/export / nfs4 rw 0 0\n");
  global_mount_table_file = dir.File("remote");
  EXPECT_TRUE(Network_Copy());
  global_mount_table_file = dir.File("local");
  setenv("SSH_CONNECTION", "10.0.0.2 50000 10.0.0.1 22", 1);
  EXPECT_TRUE(Network_Copy());

  global_mount_table_file = saved_table;
  if (ssh) setenv("SSH_CONNECTION", saved_ssh.c_str(), 1);
  else unsetenv("SSH_CONNECTION");
}

}  // namespace
}  // namespace quill
