#include <gtest/gtest.h>

#include "quillrt/analysis/tags.h"

namespace quill {
namespace {

TEST(Tags, SwitchingOnOffAndNumbering) {
  EXPECT_EQ(TagSwitchedOff(u"<b>"), u"</b>");
  EXPECT_EQ(TagSwitchedOff(u"b"), u"/b");
  EXPECT_EQ(TagSwitchedOff(u""), u"");
  EXPECT_EQ(TagSwitchedOn(u"</b>"), u"<b>");
  EXPECT_EQ(TagSwitchedOn(u"</a></b>"), u"<a></b>") << "only the first";
  EXPECT_EQ(TagSwitchedOn(u"<b>"), u"<b>");
  EXPECT_EQ(TagSwitchedOn(TagSwitchedOff(u"<head>")), u"<head>");

  EXPECT_EQ(TagOnNumbered(u"<s>", 12), u"<s \"12\">");
  EXPECT_EQ(TagOnNumbered(u"<s>", -3), u"<s \"-3\">");
  EXPECT_EQ(TagOnNumbered(u"<s", 3), u"<s");
  EXPECT_EQ(TagOnNumbered(u"", 3), u"");
}

TEST(Tags, SimpleTagValues) {
  bool found = false;
  EXPECT_EQ(SimpleTagValue(u"title", u"<head><title>A Study</title></head>", found), u"A Study");
  EXPECT_TRUE(found);
  EXPECT_EQ(SimpleTagValue(u"b", u"<b></b>", found), u"");
  EXPECT_TRUE(found) << "an empty element is found";

  EXPECT_EQ(SimpleTagValue(u"b", u"x</b><b>y</b>", found), u"");
  EXPECT_FALSE(found) << "the first close comes before the first open";
  EXPECT_EQ(SimpleTagValue(u"b", u"<b>never closed", found), u"");
  EXPECT_FALSE(found);
  EXPECT_EQ(SimpleTagValue(u"B", u"<b>x</b>", found), u"");
  EXPECT_FALSE(found) << "case-sensitive";

  EXPECT_EQ(TrimmedSimpleTagValue(u"id", u"<id>  42 \t</id>", found), u"42");
  EXPECT_TRUE(found);
}

TEST(Tags, MarkupData) {
  EXPECT_EQ(ExtractMarkupDataFromText(u"a [[key]] b", u"[[", u"]]"), u"key");
  EXPECT_EQ(ExtractMarkupDataFromText(u"x=1; y=2;", u"y=", u";"), u"2") << "the end after the start";
  EXPECT_EQ(ExtractMarkupDataFromText(u"<<>>", u"<<", u"<"), u"") << "an end inside the start gives nothing";
  EXPECT_EQ(ExtractMarkupDataFromText(u"no markers", u"[[", u"]]"), u"");
  EXPECT_EQ(ExtractMarkupDataFromText(u"[[open only", u"[[", u"]]"), u"");
  EXPECT_EQ(ExtractMarkupDataFromText(u"text", u"", u"]]"), u"");
}

TEST(Tags, WithoutMarkupDropsShortTagsOnly) {
  EXPECT_EQ(WithoutMarkup(u"a <b>bold</b> word", u'<', u'>', 10), u"a bold word");
  // The distance from "<" to ">" must be at most the limit: "<b>" is 2.
  EXPECT_EQ(WithoutMarkup(u"<b>x", u'<', u'>', 2), u"x");
  EXPECT_EQ(WithoutMarkup(u"<b>x", u'<', u'>', 1), u"<b>x");
  // A long run keeps its "<" as text; the tag after it still goes.
  EXPECT_EQ(WithoutMarkup(u"1 < 2 and <i>3</i>", u'<', u'>', 3), u"1 < 2 and 3");
  // With no close, the rest goes when it is short enough.
  EXPECT_EQ(WithoutMarkup(u"end <x", u'<', u'>', 3), u"end ");
  EXPECT_EQ(WithoutMarkup(u"end <xyz", u'<', u'>', 3), u"end <xyz");
  // The same character may open and close.
  EXPECT_EQ(WithoutMarkup(u"say |hidden| it", u'|', u'|', 10), u"say  it");
  EXPECT_EQ(WithoutMarkup(u"<b>x", u'<', u'>', 0), u"<b>x");
  EXPECT_EQ(WithoutMarkup(u"", u'<', u'>', 5), u"");

  // Many opens without a close are handled in one pass.
  const UnicodeString opens(100000, u'<');
  EXPECT_EQ(WithoutMarkup(opens + u"abcdefgh", u'<', u'>', 5), opens + u"abcdefgh");
  // Near the end, the distance to just past the end is short enough.
  EXPECT_EQ(WithoutMarkup(opens + u"a", u'<', u'>', 5), UnicodeString(99996, u'<'));
}

TEST(Tags, ParagraphEndsBecomeLineEnds) {
  EXPECT_EQ(ParaDivHeadingEndToCRLF(u"<p>One</p><P>Two</P><div>x</DIV><head>h</Head>"),
            u"<p>One\r\n<P>Two\r\n<div>x\r\n<head>h\r\n");
  EXPECT_EQ(ParaDivHeadingEndToCRLF(u"no ends </pre>"), u"no ends </pre>");
}

}  // namespace
}  // namespace quill
