// Mask lists built from text, and names tested against them.
#include <gtest/gtest.h>

#include "quillrt/files/masks.h"

namespace quill {
namespace {

TEST(Masks, BuildingKeepsPartsAsTheyStand) {
  TMaskList masks{u"stale"};
  BuildAMask(masks, u"  *.txt;*.htm\r\n");
  EXPECT_EQ(masks, (TMaskList{u"*.txt", u"*.htm"}));
  BuildAMask(masks, u"a;;b");
  EXPECT_EQ(masks, (TMaskList{u"a", u"", u"b"}));
  BuildAMask(masks, u"*.txt;");
  EXPECT_EQ(masks, (TMaskList{u"*.txt"}));
  BuildAMask(masks, u"*.txt\r\n*.xml; *.doc ");
  EXPECT_EQ(masks, (TMaskList{u"*.txt", u"*.xml", u" *.doc"}));
  BuildAMask(masks, u" \t\r\n");
  EXPECT_TRUE(masks.empty());
}

TEST(Masks, MatchingAndFindingTheFirstMask) {
  EXPECT_FALSE(MatchesMask(u"", u"*"));
  EXPECT_TRUE(MatchesMask(u"NOTES.Txt", u"*.txt"));
  EXPECT_TRUE(MatchesMask(u"/corpus/sub/old", u"*\\old"));
  EXPECT_TRUE(MatchesMask(u"noextension", u"*.*"));
  const TMaskList masks{u"", u"*.htm", u"*.txt", u"a*"};
  EXPECT_EQ(WhereInAMask(u"a.txt", masks), 2);
  EXPECT_EQ(WhereInAMask(u"b.doc", masks), -1);
  EXPECT_EQ(WhereInAMask(u"", masks), -1);  // the empty mask is never used
}

}  // namespace
}  // namespace quill
