#include <gtest/gtest.h>

#include "quillrt/search/text_selection.h"

namespace quill {
namespace {

TIgnore_tag_type Pairs(const UnicodeString& text) {
  TIgnore_tag_type pairs;
  pairs[tag_on].fill(u'x');  // stale contents must go
  StringToIgnoreTag_Type(text, pairs);
  return pairs;
}

TEST(IgnoreTagPairs, ReadAndWriteBackTheSameText) {
  const TIgnore_tag_type pairs = Pairs(u"<*>,[*]");
  EXPECT_EQ(pairs[tag_on][0], u'<');
  EXPECT_EQ(pairs[tag_off][0], u'>');
  EXPECT_EQ(pairs[tag_on][1], u'[');
  EXPECT_EQ(pairs[tag_off][1], u']');
  EXPECT_EQ(pairs[tag_on][2], 0);
  EXPECT_EQ(IgnoreTag_TypeToString(pairs), u"<*>,[*]");
}

TEST(IgnoreTagPairs, BlanksStarsAndEmptyItemsAreDropped) {
  EXPECT_EQ(IgnoreTag_TypeToString(Pairs(u" < * > , , {}")), u"<*>,{*}");
  EXPECT_EQ(IgnoreTag_TypeToString(Pairs(u"|")), u"|*|");  // one character opens and closes
  EXPECT_EQ(IgnoreTag_TypeToString(Pairs(u"")), u"");
  EXPECT_EQ(IgnoreTag_TypeToString(Pairs(u"*,*")), u"");
}

TEST(IgnoreTagPairs, ItemsBeyondTheSixthOverwriteIt) {
  const TIgnore_tag_type pairs = Pairs(u"a*b,c*d,e*f,g*h,i*j,k*l,m*n,o*p");
  EXPECT_EQ(pairs[tag_on][5], u'o');
  EXPECT_EQ(pairs[tag_off][5], u'p');
  EXPECT_EQ(IgnoreTag_TypeToString(pairs), u"a*b,c*d,e*f,g*h,i*j,o*p");
}

TEST(IgnoreTagPairs, OnlyCompletePairsAreWritten) {
  TIgnore_tag_type pairs{};
  pairs[tag_on][0] = u'<';  // no end
  pairs[tag_off][1] = u']';  // no start
  pairs[tag_on][3] = u'{';
  pairs[tag_off][3] = u'}';
  EXPECT_EQ(IgnoreTag_TypeToString(pairs), u"{*}");
}

TEST(TextSelectionPatterns, SplitAroundTheWildcards) {
  TSelectTextFile_RecW rec;
  rec.ato_necessario = excluir_or;
  StringToTSelectTextFile_RecW(u"<doc id=*>", rec);
  EXPECT_EQ(GetFixedChars(rec.seekStart), u"<doc id=");
  EXPECT_EQ(GetFixedChars(rec.seek_wilds), UnicodeString(1, char16_t{29}));
  EXPECT_EQ(GetFixedChars(rec.seekEnd), u">");
  EXPECT_EQ(rec.length_of_seek, 8);
  EXPECT_TRUE(rec.contains_wildcard);
  EXPECT_EQ(rec.ato_necessario, incluir_and);  // the record is cleared first
  EXPECT_EQ(TSelectTextFile_RecWToString(rec), u"<doc id=*>");
}

TEST(TextSelectionPatterns, EveryCodeGoesToTheWildcardsAndBack) {
  TSelectTextFile_RecW rec;
  StringToTSelectTextFile_RecW(u"a~b^c*d?e#f", rec);
  EXPECT_EQ(GetFixedChars(rec.seekStart), u"a");
  EXPECT_EQ(GetFixedChars(rec.seek_wilds), (UnicodeString{31, 30, 29, 28, 27}));
  EXPECT_EQ(GetFixedChars(rec.seekEnd), u"bcdef");  // text after the first code, joined
  EXPECT_EQ(TSelectTextFile_RecWToString(rec), u"a~^*?#bcdef");
}

TEST(TextSelectionPatterns, PlainAndQuotedTextHasNoWildcard) {
  TSelectTextFile_RecW rec;
  StringToTSelectTextFile_RecW(u"<head>", rec);
  EXPECT_EQ(GetFixedChars(rec.seekStart), u"<head>");
  EXPECT_FALSE(rec.contains_wildcard);
  EXPECT_EQ(GetFixedChars(rec.seekEnd), u"");
  StringToTSelectTextFile_RecW(u"5\"*\"2", rec);  // a quoted star is a star
  EXPECT_EQ(GetFixedChars(rec.seekStart), u"5*2");
  EXPECT_FALSE(rec.contains_wildcard);
}

TEST(TextSelectionPatterns, FieldsKeepAtMost80Characters) {
  TSelectTextFile_RecW rec;
  const UnicodeString long_start(100, u's');
  const UnicodeString long_end(90, u'e');
  StringToTSelectTextFile_RecW(long_start + u"*" + long_end, rec);
  EXPECT_EQ(GetFixedChars(rec.seekStart), UnicodeString(80, u's'));
  EXPECT_EQ(rec.length_of_seek, 80);
  EXPECT_EQ(GetFixedChars(rec.seekEnd), UnicodeString(80, u'e'));
  EXPECT_EQ(rec.seekStart.back(), 0);
  EXPECT_EQ(rec.seekEnd.back(), 0);
}

}  // namespace
}  // namespace quill
