#include <gtest/gtest.h>

#include <vector>

#include "quillrt/search/search_word_syntax.h"

namespace quill {
namespace {

constexpr WideChar kAnyWord = 0x1A, kDigits = 0x1B, kAnyChar = 0x1C, kStar = 0x1D, kAnyLetter = 0x1E;

TIgnore_tag_type AngleAndSquareTags() {
  TIgnore_tag_type tags{};
  tags[tag_on][0] = u'<';
  tags[tag_off][0] = u'>';
  tags[tag_on][1] = u'[';
  tags[tag_off][1] = u']';
  return tags;
}

TSearch_word_format_rec Parsed(UnicodeString typed, const TIgnore_tag_type& tags = AngleAndSquareTags()) {
  TSearch_word_format_rec rec;
  Parsed_SearchWord(tags, typed, rec);
  return rec;
}

std::vector<UnicodeString> Split(UnicodeString typed, bool at_slashes = true) {
  return SplitSWList(typed, at_slashes)->ToStringArray();
}

UnicodeString Text(std::initializer_list<WideChar> units) { return UnicodeString(units); }

TEST(SearchFlags, OneByteWithBitNForValueN) {
  EXPECT_EQ(TMySearchFlags::Default().AsByte(), 0x30);
  EXPECT_EQ(TMySearchFlags({myReplace, myCaseIsSensitive, mySW_To_Avoid}).AsByte(), 0x0D);
  const auto flags = TMySearchFlags::FromByte(0x22);
  EXPECT_TRUE(flags.Contains(myConfirmFinds));
  EXPECT_TRUE(flags.Contains(myRightBounded));
  EXPECT_FALSE(flags.Contains(myLeftBounded));
}

TEST(Markers, LeadingAndTrailingStarsDropTheBounds) {
  struct Case {
    const char16_t* typed;
    const char16_t* text;
    bool left, right;
  };
  for (const Case& c : {Case{u"*ing", u"ing", false, true}, Case{u"work*", u"work", true, false},
                        Case{u"*ent*", u"ent", false, false}, Case{u"plain", u"plain", true, true},
                        Case{u"*", u"", false, true}, Case{u"**", u"", false, false}, Case{u"", u"", true, true}}) {
    UnicodeString s = c.typed;
    const TMySearchFlags flags = FlagsFromSW(s);
    EXPECT_EQ(s, c.text) << Utf16ToUtf8(c.typed);
    EXPECT_EQ(flags.Contains(myLeftBounded), c.left) << Utf16ToUtf8(c.typed);
    EXPECT_EQ(flags.Contains(myRightBounded), c.right) << Utf16ToUtf8(c.typed);
    EXPECT_FALSE(flags.Contains(myCaseIsSensitive));
  }
}

TEST(Markers, CaseAndAvoidMarkersOnlyAtTheStart) {
  UnicodeString s = u"==May==";
  EXPECT_EQ(FlagsFromSW(s), TMySearchFlags({myCaseIsSensitive, myLeftBounded, myRightBounded}));
  EXPECT_EQ(s, u"May");

  s = u"==May";
  EXPECT_EQ(FlagsFromSW(s), TMySearchFlags::Default());
  EXPECT_EQ(s, u"==May");

  s = u"==*ing==";  // only one leading marker is read: the star stays
  EXPECT_EQ(FlagsFromSW(s), TMySearchFlags({myCaseIsSensitive, myLeftBounded, myRightBounded}));
  EXPECT_EQ(s, u"*ing");

  s = u"==";  // too short for two pairs: the text itself
  EXPECT_EQ(FlagsFromSW(s), TMySearchFlags::Default());
  EXPECT_EQ(s, u"==");

  s = u"~the";
  EXPECT_EQ(FlagsFromSW(s), TMySearchFlags({mySW_To_Avoid, myLeftBounded, myRightBounded}));
  EXPECT_EQ(s, u"the");
  EXPECT_EQ(SWStringPlusFlags(s, TMySearchFlags({mySW_To_Avoid, myLeftBounded, myRightBounded})), u"the");

  s = u"~the*";
  EXPECT_EQ(FlagsFromSW(s), TMySearchFlags({mySW_To_Avoid, myLeftBounded}));
  EXPECT_EQ(s, u"the");
}

TEST(Markers, WrittenBackAsTyped) {
  for (const UnicodeString typed : {u"*ing", u"work*", u"*ent*", u"==May==", u"==*ing==", u"plain"}) {
    UnicodeString s = typed;
    const TMySearchFlags flags = FlagsFromSW(s);
    EXPECT_EQ(SWStringPlusFlags(s, flags), typed);
  }
  EXPECT_EQ(SWStringPlusFlags(u"may", TMySearchFlags({myCaseIsSensitive})), u"==*may*==");
}

TEST(Splitting, SlashesSeparateAlternativesUnlessQuotedOrAtTheEnds) {
  EXPECT_EQ(Split(u"cat/dog"), (std::vector<UnicodeString>{u"cat", u"dog"}));
  EXPECT_EQ(Split(u"a/b/c"), (std::vector<UnicodeString>{u"a", u"b", u"c"}));
  EXPECT_EQ(Split(u"a\"/\"b"), (std::vector<UnicodeString>{u"a\"/\"b"}));
  EXPECT_EQ(Split(u"/cat"), (std::vector<UnicodeString>{u"/cat"}));
  EXPECT_EQ(Split(u"cat/"), (std::vector<UnicodeString>{u"cat/"}));
  EXPECT_EQ(Split(u" cat / dog "), (std::vector<UnicodeString>{u" cat ", u" dog "}));
  EXPECT_EQ(Split(u"cat//dog"), (std::vector<UnicodeString>{u"cat", u"/dog"}));
  EXPECT_EQ(Split(u"cat/dog", false), (std::vector<UnicodeString>{u"cat/dog"}));
  EXPECT_TRUE(Split(u"").empty());
  // The line-break symbol at the end is not a separator.
  EXPECT_EQ(Split(u"end/\\"), (std::vector<UnicodeString>{u"end/\\"}));
  EXPECT_EQ(Split(u"cat/end/\\"), (std::vector<UnicodeString>{u"cat", u"end/\\"}));
  EXPECT_EQ(Split(u"/\\start/dog"), (std::vector<UnicodeString>{u"/\\start", u"dog"}));

  UnicodeString s = u"cat/dog/bird";
  SplitSWList(s, true);
  EXPECT_EQ(s, u"bird");
}

TEST(Parsing, WildcardsBecomeTheirCodes) {
  const auto colour = Parsed(u"colo?r");
  EXPECT_EQ(colour.search_text, u"colo" + Text({kAnyChar}) + u"r");
  EXPECT_TRUE(colour.ambiguous);
  EXPECT_EQ(colour.flags, TMySearchFlags::Default());

  EXPECT_EQ(Parsed(u"the * of").search_text, u"the " + Text({kAnyWord}) + u" of");
  EXPECT_EQ(Parsed(u"a * * b").search_text, u"a " + Text({kAnyWord}) + u" " + Text({kAnyWord}) + u" b");
  EXPECT_EQ(Parsed(u"^#th").search_text, Text({kAnyLetter, kDigits}) + u"th");
  EXPECT_EQ(Parsed(u"hous*s").search_text, u"hous" + Text({kStar}) + u"s");
  EXPECT_EQ(Parsed(u"a}}}b").search_text, u"a" + Text({any_string_code}) + u"}}b");

  const auto plain = Parsed(u"cat");
  EXPECT_EQ(plain.search_text, u"cat");
  EXPECT_FALSE(plain.ambiguous);
}

TEST(Parsing, MarkersAndSpaces) {
  const auto ing = Parsed(u"*ing");
  EXPECT_EQ(ing.search_text, u"ing");
  EXPECT_EQ(ing.typed_in_text, u"*ing");
  EXPECT_FALSE(ing.flags.Contains(myLeftBounded));
  EXPECT_TRUE(ing.ambiguous);

  const auto may = Parsed(u"==May==");
  EXPECT_EQ(may.search_text, u"May");
  EXPECT_TRUE(may.flags.Contains(myCaseIsSensitive));

  EXPECT_EQ(Parsed(u"  new york  ").search_text, u"new york");
  EXPECT_EQ(Parsed(u"\tnew\t").search_text, u"\tnew\t");  // only spaces are trimmed
  EXPECT_TRUE(Parsed(u"*").search_text.empty());
  EXPECT_TRUE(Parsed(u"").search_text.empty());
}

TEST(Parsing, QuotedSpecialCharactersStandForThemselves) {
  const auto star = Parsed(u"\"*\"");
  EXPECT_EQ(star.search_text, u"*");
  EXPECT_EQ(star.flags, TMySearchFlags::Default());

  EXPECT_EQ(Parsed(u"a\"/\"b").search_text, u"a/b");
  EXPECT_EQ(Parsed(u"why\"?\"").search_text, u"why?");
  EXPECT_EQ(Parsed(u"\"#\"1").search_text, u"#1");
  EXPECT_EQ(Parsed(u"x\"^\"2").search_text, u"x^2");
  EXPECT_EQ(Parsed(u"a\"==\"b").search_text, u"a==b");
  EXPECT_EQ(Parsed(u"\"<\"b\">\"").search_text, u"<b>");
  EXPECT_EQ(Parsed(u"\"}}}\"").search_text, u"}}}");
  EXPECT_EQ(Parsed(u"c\":\\\"").search_text, u"c:\\");
  EXPECT_EQ(Parsed(u"\"/\\\"").search_text, u"/\\");
  // A quoted literal keeps its meaning next to wildcards.
  EXPECT_EQ(Parsed(u"\"*\"*").search_text, u"*");
  EXPECT_FALSE(Parsed(u"\"*\"*").flags.Contains(myRightBounded));
}

TEST(Parsing, PrivateUseCharactersComeThroughUnchanged) {
  // Fonts for older scripts put letters in the private-use area, where the
  // parser also keeps its placeholders for quoted literals.
  const UnicodeString letter(1, char16_t(0xE001));
  EXPECT_EQ(Parsed(letter + u"x").search_text, letter + u"x");
  EXPECT_EQ(Parsed(letter + u"\"/\"").search_text, letter + u"/");
  EXPECT_EQ(Parsed(u"\"/\"{CHR(57345)}").search_text, u"/" + letter);

  UnicodeString every_block;
  for (int c = 0xE000; c <= 0xF8FF; c += 11) every_block += static_cast<char16_t>(c);
  EXPECT_EQ(Parsed(every_block).search_text, every_block);
}

TEST(Parsing, LineBreakSymbolAtEitherEnd) {
  EXPECT_EQ(Parsed(u"day/\\").search_text, u"day\r");
  EXPECT_EQ(Parsed(u"/\\The").search_text, u"\nThe");
  EXPECT_EQ(Parsed(u"/\\whole line/\\").search_text, u"\nwhole line\r");
  EXPECT_EQ(Parsed(u"and/\\or").search_text, u"and/\\or");
  EXPECT_EQ(Parsed(u"1999/\\").search_text, u"1999\r");
}

TEST(Parsing, ReadableNotationIsConvertedAfterTheWildcards) {
  EXPECT_EQ(Parsed(u"a{CHR(9)}b").search_text, u"a\tb");
  EXPECT_EQ(Parsed(u"{CHR(42)}").search_text, u"*");  // a literal asterisk, not the star
  EXPECT_EQ(Parsed(u"#65").search_text, Text({kDigits}) + u"65");
}

TEST(Parsing, ContextWordSuffix) {
  const auto rec = Parsed(u"cat context:=dog");
  EXPECT_EQ(rec.search_text, u"cat");
  EXPECT_EQ(rec.sw_context_needed, u"dog");
  EXPECT_TRUE(rec.has_file_based_context_word);
  EXPECT_EQ(rec.typed_in_text, u"cat context:=dog");

  const auto none = Parsed(u"cat context:dog");
  EXPECT_FALSE(none.has_file_based_context_word);
  EXPECT_TRUE(none.sw_context_needed.empty());
}

TEST(Parsing, TagsBecomeTagCodesWhenPaired) {
  const auto rec = Parsed(u"<b>bold");
  EXPECT_EQ(rec.search_text, Text({pattern_tag_open}) + u"b" + Text({pattern_tag_close}) + u"bold");
  EXPECT_TRUE(rec.contains_a_tag);

  EXPECT_TRUE(Parsed(u"[n]word").contains_a_tag);
  EXPECT_FALSE(Parsed(u"<b bold").contains_a_tag);
  EXPECT_FALSE(Parsed(u"a > b").contains_a_tag);
  EXPECT_FALSE(Parsed(u"<b>bold", TIgnore_tag_type{}).contains_a_tag);

  // A later slot that finds nothing does not undo an earlier pair.
  UnicodeString s = u"<x>";
  EXPECT_TRUE(ContainsPairedTagMarkup(AngleAndSquareTags(), s));
  s = u"<x] y";
  EXPECT_FALSE(ContainsPairedTagMarkup(AngleAndSquareTags(), s));
  EXPECT_EQ(s, Text({pattern_tag_open}) + u"x] y");
}

TEST(Parsing, CopiesLineUpUnitForUnit) {
  const auto rec = Parsed(u"\u00C4rger \U00010428x");
  EXPECT_EQ(rec.copies[unchanged_copy], rec.search_text);
  EXPECT_EQ(rec.copies[upper_copy], u"\u00C4RGER \U00010400X");
  EXPECT_EQ(rec.copies[lower_copy], u"\u00E4rger \U00010428x");
  EXPECT_EQ(rec.copies[title_copy], u"\u00C4rger \U00010428x");
  for (const auto& copy : rec.copies) EXPECT_EQ(copy.size(), rec.search_text.size());

  const auto empty = Parsed(u"");
  for (const auto& copy : empty.copies) EXPECT_TRUE(copy.empty());
}

TEST(Parsing, EveryOtherFieldIsZero) {
  TSearch_word_format_rec rec;
  rec.n_to_find = 5;
  rec.hits_found = 9;
  rec.Langnum = 3;
  rec.extras[7] = 1;
  UnicodeString s = u"cat";
  Parsed_SearchWord(AngleAndSquareTags(), s, rec);
  TSearch_word_format_rec expected;
  expected.typed_in_text = expected.search_text = u"cat";
  expected.copies = {u"cat", u"CAT", u"cat", u"Cat"};
  expected.flags = TMySearchFlags::Default();
  EXPECT_EQ(rec, expected);
}

TEST(UnParsed, OnlyTheMarkersAreRead) {
  TSearch_word_format_rec rec;
  UnicodeString s = u"*co?r";
  UnParsed_SearchWord(s, rec);
  EXPECT_EQ(rec.search_text, u"co?r");
  EXPECT_EQ(s, u"co?r");
  EXPECT_FALSE(rec.flags.Contains(myLeftBounded));
  EXPECT_TRUE(rec.ambiguous);
  EXPECT_EQ(rec.copies[upper_copy], u"CO?R");

  s = u"the * of";
  UnParsed_SearchWord(s, rec);
  EXPECT_EQ(rec.search_text, u"the * of");
  EXPECT_FALSE(rec.ambiguous);
}

TEST(Translations, ReportWhatTheyFound) {
  UnicodeString s = u"a}}}}";
  EXPECT_TRUE(Parse_Translate(s, u"}}}", any_string_code));
  EXPECT_EQ(s, u"a" + Text({any_string_code, any_string_code}) + u"}}");
  EXPECT_FALSE(Parse_Translate(s, u"?", kAnyChar));
  EXPECT_FALSE(Parse_Translate(s, u"", kAnyChar));

  s = u"c?t*";
  EXPECT_FALSE(DoMainParse_Translates(s));  // the result is the last translation's: no "}}}"
  EXPECT_EQ(s, u"c" + Text({kAnyChar}) + u"t" + Text({kStar}));

  s = u"x\"*\"y\"*\"";
  Parse_Retain(s, retained_literal_base);
  EXPECT_EQ(s, u"x" + Text({0xE002}) + u"y" + Text({0xE002}));
  Parse_Restore(s, retained_literal_base);
  EXPECT_EQ(s, u"x*y*");
  EXPECT_FALSE(Parse_RestoreOne(s, u"\"*\"", 0xE002));
}

TEST(TagPatterns, FirstOccurrenceOfEachWildcardConverted) {
  EXPECT_EQ(TagWildcardConverted(u"~x*y*"), Text({0x1F}) + u"x" + Text({kStar}) + u"y*");
  EXPECT_EQ(TagWildcardConverted(u"\"*\"a*"), u"*a*");
  EXPECT_EQ(TagWildcardConverted(u"<^?#>"), u"<" + Text({kAnyLetter, kAnyChar, kDigits}) + u">");
  EXPECT_EQ(TagWildcardConverted(u"plain"), u"plain");
}

TEST(TagPatterns, MarkupDelimitersMarked) {
  const UnicodeString on = Text({pattern_tag_open}), off = Text({pattern_tag_close});
  EXPECT_EQ(CleanToTagOnOff(u"<b>x</b>"), on + u"b" + off + u"x" + on + u"/b" + off);
  EXPECT_EQ(CleanToTagOnOff(u"a < b"), u"a < b");
  EXPECT_EQ(CleanToTagOnOff(u"<a<b>"), on + u"a<b" + off);
  EXPECT_EQ(CleanToTagOnOff(u"x > y <z>"), u"x > y " + on + u"z" + off);
}

}  // namespace
}  // namespace quill
