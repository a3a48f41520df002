#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "quillrt/rendering/colour_table.h"

namespace quill {
namespace {

TEST(ColourTable, SharedTableHoldsEachWebValueOnceThenTheStyleColours) {
  const TColorArray table = BuildMyColourArray();
  std::set<TColor> web_values;
  for (const TNamedColour& web : WebNamedColors()) web_values.insert(web.colour);
  ASSERT_EQ(table.size(), web_values.size() + 6);
  // The first name of a value wins: Aqua before Cyan, Gray before Grey.
  EXPECT_EQ(NameOfAMyColourArrayColour(0xFFFF00, table), u"Aqua");
  EXPECT_EQ(NameOfAMyColourArrayColour(0x808080, table), u"Gray");
  EXPECT_EQ(ColourOfAMyColourArrayName(u"Cyan", table), kNoColour);
  const TNamedColour last_six[] = {{0xE4F0F2, u"VLightOlive_TMS"}, {0x7BEEFF, u"Yellow_TMS"},
                                   {0x8CC0B1, u"LightOlive"},      {0xFDEADA, u"LightBlue_TMS"},
                                   {0xFADAC4, u"BlueX_TMS"},       {0xFDF0D7, u"LightSkyBlue_TMS"}};
  EXPECT_TRUE(std::equal(std::begin(last_six), std::end(last_six), table.end() - 6));
  EXPECT_EQ(MyColourArray, table);
}

TEST(ColourTable, NamesAndValuesConvertBothWays) {
  // Colours are stored blue-green-red: web red FF0000 is 0x0000FF.
  EXPECT_EQ(NameToWebColour(u"Red"), 0x0000FF);
  EXPECT_EQ(NameToWebColour(u"cornflowerblue"), 0xED9564);
  EXPECT_EQ(NameToWebColour(u"NoSuchColour"), 0);
  EXPECT_EQ(WebColourToName(0x0000FF), u"Red");
  EXPECT_EQ(WebColourToName(0x123456), u"Black");
  EXPECT_EQ(ColourOfAMyColourArrayName(u"LightOlive", MyColourArray), 0x8CC0B1);
  EXPECT_EQ(ColourOfAMyColourArrayName(u"lightolive", MyColourArray), kNoColour);
  EXPECT_EQ(NameOfAMyColourArrayColour(0x123457, MyColourArray), u"");
  EXPECT_EQ(NameOfAMyColourArrayColour(0, TColorArray{}), u"");
}

TEST(ColourTable, MixLeansTowardTheFirstColourAsWeightGrows) {
  EXPECT_EQ(MixColors(0xFFFFFF, 0x000000, 255), 0xFEFEFE);  // 255 * 255 div 256
  EXPECT_EQ(MixColors(0xFFFFFF, 0x000000, 0), 0);
  EXPECT_EQ(MixColors(0x0000FF, 0xFF0000, 128), 0x7E007F);  // red 128 * 255 div 256, blue 127 * 255 div 256
  EXPECT_EQ(MixColors(0x102030, 0x102030, 128), 0x0F1F2F);  // the div 256 darkens slightly
}

TEST(ColourTable, SortsByEachCriterionStably) {
  TColorArray table{{0xFFFFFF, u"white"}, {0x0000FF, u"Red"}, {0, u"black"}, {0xFF0000, u"Blue"},
                    {0x00FF00, u"Lime"},  {0x808080, u"grey"}, {0x00FF00, u"Lime2"}};
  SortColorArray(table, cs_by_name);
  EXPECT_EQ(table.front().name, u"black");
  EXPECT_EQ(table[1].name, u"Blue");
  EXPECT_EQ(table.back().name, u"white");
  SortColorArray(table, cs_by_brightness);
  EXPECT_EQ(table.front().colour, 0);
  EXPECT_EQ(table.back().colour, 0xFFFFFF);
  SortColorArray(table, cs_by_value);
  EXPECT_EQ(table.front().colour, 0);
  EXPECT_EQ(table.back().colour, 0xFFFFFF);
  SortColorArray(table, cs_by_hue);
  // Greys first (dark to light), then red, green, blue round the wheel.
  const std::vector<UnicodeString> names = [&] {
    std::vector<UnicodeString> n;
    for (const TNamedColour& e : table) n.push_back(e.name);
    return n;
  }();
  const std::vector<UnicodeString> expected{u"black", u"grey", u"white", u"Red", u"Lime", u"Lime2", u"Blue"};
  EXPECT_EQ(names, expected);
}

}  // namespace
}  // namespace quill
