#include <gtest/gtest.h>

#include <vector>

#include "quillrt/analysis/sentences.h"

namespace quill {
namespace {

using Lines = std::vector<UnicodeString>;

constexpr std::uint32_t en_us = 0x0409;

Lines ByTypes(const UnicodeString& text, int max_tag_len = 20) {
  return SentencesFromParagraph(text, u"", en_us, max_tag_len)->ToStringArray();
}

Lines Extracted(const UnicodeString& text, bool flush = false, int min_letters = 0) {
  return SentencesExtractedFromParagraph(flush, min_letters, text)->ToStringArray();
}

TEST(EndOfSentence, LooksOnlyAtTheNextCharacter) {
  const UnicodeString prices = u"Prices rose 3.5 percent. Then";
  EXPECT_EQ(EndOfSentence(1, prices), 24) << "not inside 3.5";
  EXPECT_EQ(EndOfSentence(25, prices), 29) << "the last character ends the rest";
  EXPECT_EQ(EndOfSentence(1, u"Dr. Smith came"), 3) << "an abbreviation ends here";
  EXPECT_EQ(EndOfSentence(1, u"Stop!Go"), 7) << "a letter right after the mark";
  EXPECT_EQ(EndOfSentence(1, u"Why?\u201D He left"), 4);
  // Ideographic stops are written without a blank after them.
  EXPECT_EQ(EndOfSentence(1, u"\u4ECA\u5929\u3002\u6211\u4EEC"), 3);
  EXPECT_EQ(EndOfSentence(1, u"Full\uFF01Width"), 5);
}

TEST(EndOfSentence, NeedsALetterOrDigitAndATextLongEnough) {
  EXPECT_EQ(EndOfSentence(1, u"... !?"), -1);
  EXPECT_EQ(EndOfSentence(1, u"... a"), 5);
  EXPECT_EQ(EndOfSentence(1, u".. x."), 5);
  EXPECT_EQ(EndOfSentence(6, u"Hello"), -1);
  EXPECT_EQ(EndOfSentence(1, u""), -1);
  EXPECT_EQ(EndOfSentence(0, u"Go. On"), 3) << "a start below 1 counts as 1";
  EXPECT_EQ(EndOfSentence(-5, u""), -1);
}

TEST(SentenceStarts, FirstLetterOrDigitAndItsCase) {
  EXPECT_EQ(FirstLetterOrDigitPosAfterSentenceEnd(u"end.  \"Next", 4), 8);
  EXPECT_EQ(FirstLetterOrDigitPosAfterSentenceEnd(u"end. ..", 4), 7) << "never past the last position";
  EXPECT_EQ(FirstLetterOrDigitPosAfterSentenceEnd(u"abc", 9), 9);
  EXPECT_EQ(FirstLetterOrDigitPosAfterSentenceEnd(u"  ab", -3), 3);
  EXPECT_EQ(FirstLetterOrDigitPosAfterSentenceEnd(u"", 0), 1);

  EXPECT_FALSE(FirstCharAfterSentenceEndUpperCase(u"a b", 1));
  EXPECT_TRUE(FirstCharAfterSentenceEndUpperCase(u"A b", 1));
  EXPECT_TRUE(FirstCharAfterSentenceEndUpperCase(u"ab", 2)) << "the last character never counts";
  EXPECT_TRUE(FirstCharAfterSentenceEndUpperCase(u"ab", 0));
  EXPECT_TRUE(FirstCharAfterSentenceEndUpperCase(u"ab", 7));
  EXPECT_TRUE(FirstCharAfterSentenceEndUpperCase(u"\u4E2D\u6587", 1)) << "caseless letters start sentences";
}

TEST(SentenceStarts, FirstValidStartSkipsLowerCaseSentences) {
  const UnicodeString text = u"and so on. more here. Real start";
  EXPECT_EQ(FirstValidStartOfSentence(text, 1), 23);
  EXPECT_EQ(FirstValidStartOfSentence(u"  Begin", 1), 3);
  EXPECT_EQ(FirstValidStartOfSentence(u"so. 42 is", 1), 5) << "a number starts a sentence";
  // A lower-case start with no further end: the last position, never outside.
  EXPECT_EQ(FirstValidStartOfSentence(u"abc!!!", 1), 6);
  EXPECT_EQ(FirstValidStartOfSentence(u"a!!", 1), 3);
  EXPECT_EQ(FirstValidStartOfSentence(u"lower only", 1), 10);
  EXPECT_EQ(FirstValidStartOfSentence(u"", 1), 1);
  EXPECT_EQ(FirstValidStartOfSentence(u"Ab", 40), 40);
}

TEST(SentenceStarts, CapitalisedWords) {
  EXPECT_TRUE(FirstLetterIsCapitalised(u"Hello"));
  EXPECT_TRUE(FirstLetterIsCapitalised(u"\u00C9t\u00E9"));
  EXPECT_FALSE(FirstLetterIsCapitalised(u"\"Hello"));
  EXPECT_FALSE(FirstLetterIsCapitalised(u""));

  EXPECT_TRUE(NextWordCapitalised(u"end. \u201CThe", 4));
  EXPECT_FALSE(NextWordCapitalised(u"end. the", 4));
  EXPECT_FALSE(NextWordCapitalised(u"end. 7", 4));
  EXPECT_TRUE(NextWordCapitalised(u"...X", 1));
  EXPECT_FALSE(NextWordCapitalised(u"...", 1));
  EXPECT_FALSE(NextWordCapitalised(u"", 1));
  EXPECT_FALSE(NextWordCapitalised(u"Ab", 3));
}

TEST(SentencesExtracted, StartOnlyAtCapitalsAndNumbers) {
  EXPECT_EQ(Extracted(u"the end. New start. ok"), (Lines{u"New start."}));
  EXPECT_EQ(Extracted(u"It cost 3.50 dollars. 42 came!"), (Lines{u"It cost 3.50 dollars.", u"42 came!"}));
  EXPECT_EQ(Extracted(u"Wait; no: stop, A? Yes."), (Lines{u"Wait; no: stop, A?", u"Yes."}));
  // Only Po terminators end; closing quotes are left behind.
  EXPECT_EQ(Extracted(u"He said \u201CGo.\u201D Then"), (Lines{u"He said \u201CGo."}));
  EXPECT_EQ(Extracted(u""), Lines{});
}

TEST(SentencesExtracted, MinimumLettersAndFlushing) {
  // "A." has one letter: with a minimum of 2 the stop does not end it.
  EXPECT_EQ(Extracted(u"A. Bc. De", false, 2), (Lines{u"A. Bc."}));
  // Kept only when longer than the minimum; the lower-case words before it count
  // towards the minimum but are not part of it.
  EXPECT_EQ(Extracted(u"xyz Ab. Cdef.", false, 3), (Lines{u"Cdef."}));

  EXPECT_EQ(Extracted(u"One. Two three", true), (Lines{u"One.", u"Two three"}));
  // Nothing pending at the end: before any sentence the whole paragraph ...
  EXPECT_EQ(Extracted(u"all lower. case", true), (Lines{u"all lower. case"}));
  // ... and after one, the text that followed it, never the earlier sentences again.
  EXPECT_EQ(Extracted(u"First one. then lower", true), (Lines{u"First one.", u"then lower"}));
  EXPECT_EQ(Extracted(u"End.", true), (Lines{u"End."}));
}

TEST(SentencesFromParagraph, QuotationsBelongToTheirSentence) {
  EXPECT_EQ(ByTypes(u"He said \"Go.\" Then he left."), (Lines{u"He said \"Go.\"", u"Then he left."}));
  EXPECT_EQ(ByTypes(u"She asked (why?) Nobody knew."), (Lines{u"She asked (why?)", u"Nobody knew."}));
  EXPECT_EQ(ByTypes(u"He said \u201CGo!\u201D Then he left."),
            (Lines{u"He said \u201CGo!\u201D", u"Then he left."}));
}

TEST(SentencesFromParagraph, DecimalsEllipsesAndLowerCaseContinuations) {
  EXPECT_EQ(ByTypes(u"Prices rose 3.5 percent. Then"), (Lines{u"Prices rose 3.5 percent.", u"Then"}));
  EXPECT_EQ(ByTypes(u"Wait... and see. Now"), (Lines{u"Wait... and see.", u"Now"}));
  EXPECT_EQ(ByTypes(u"Really?! Yes."), (Lines{u"Really?!", u"Yes."}));
  // Only a lower-case letter after the blank keeps the sentence going.
  EXPECT_EQ(ByTypes(u"See p. 4 for it."), (Lines{u"See p.", u"4 for it."}));
  EXPECT_EQ(ByTypes(u"e.g. this one. Next"), (Lines{u"e.g. this one.", u"Next"}));
  // An opening bracket right after the stop begins the next sentence.
  EXPECT_EQ(ByTypes(u"End.(See below) Next"), (Lines{u"End.", u"(See below) Next"}));
  EXPECT_EQ(ByTypes(u"End.) (Next"), (Lines{u"End.)", u"(Next"}));
}

TEST(SentencesFromParagraph, MarksThatDoNotEndSentences) {
  EXPECT_EQ(ByTypes(u"One; Two: Three, Four & Five \u00B7 Six \u00BF Seven"),
            (Lines{u"One; Two: Three, Four & Five \u00B7 Six \u00BF Seven"}));
  // Other Po marks end a sentence on the look-ahead alone.
  EXPECT_EQ(ByTypes(u"Rule one \u00A7 Rule two"), (Lines{u"Rule one \u00A7", u"Rule two"}));
  EXPECT_EQ(ByTypes(u"\u00B6 starts"), (Lines{u"\u00B6 starts"})) << "the first character never ends one";
  EXPECT_EQ(ByTypes(u"Ideo\u3001Graph\u3002Next\u3002next"), (Lines{u"Ideo\u3001Graph\u3002", u"Next\u3002next"}));
}

TEST(SentencesFromParagraph, TagsAfterAStopDoNotBlockTheCut) {
  EXPECT_EQ(ByTypes(u"It ended.<p>New words follow"), (Lines{u"It ended.<p>", u"New words follow"}));
  EXPECT_EQ(ByTypes(u"It ended. <i>Then</i> more"), (Lines{u"It ended.", u"<i>Then</i> more"}));
  // The word after the tag still decides.
  EXPECT_EQ(ByTypes(u"It ended.<p>new words"), (Lines{u"It ended.<p>new words"}));
  // A run longer than the limit is text: its lower-case letters block the cut.
  EXPECT_EQ(ByTypes(u"It ended.<paragraph>X", 5), (Lines{u"It ended.<paragraph>X"}));
  EXPECT_EQ(ByTypes(u"It ended.<para>X", 5), (Lines{u"It ended.<para>", u"X"})) << "5 characters: a tag";
  EXPECT_EQ(ByTypes(u"It ended.<paras>X", 5), (Lines{u"It ended.<paras>X"})) << "6 characters: text";
  // An unclosed run at the end of the text is a tag when short enough.
  EXPECT_EQ(ByTypes(u"Done. <b"), (Lines{u"Done.", u"<b"}));
}

TEST(SentencesFromParagraph, AStopInsideATagNeverCuts) {
  EXPECT_EQ(ByTypes(u"See <a href=x.html>Here</a> now.", 40), (Lines{u"See <a href=x.html>Here</a> now."}));
  EXPECT_EQ(ByTypes(u"Odd <!X> Tag.", 10), (Lines{u"Odd <!X> Tag."}));
}

TEST(SentencesFromParagraph, SeparatorMode) {
  auto with = [](const UnicodeString& text, const UnicodeString& sep) {
    return SentencesFromParagraph(text, sep, en_us, 0)->ToStringArray();
  };
  EXPECT_EQ(with(u"A; B; C", u";"), (Lines{u"A", u"B", u"C"}));
  // The character right after a separator stays with its piece.
  EXPECT_EQ(with(u"A;B", u";"), (Lines{u"A", u"B"}));
  EXPECT_EQ(with(u"one || two ||  || three ||", u"||"), (Lines{u"one", u"two", u"three"}));
  EXPECT_EQ(with(u"no separator here", u"#"), (Lines{u"no separator here"}));
  EXPECT_EQ(with(u"", u";"), Lines{});
}

TEST(SentencesFromParagraph, EmptyAndSingleSentences) {
  EXPECT_EQ(ByTypes(u""), Lines{});
  EXPECT_EQ(ByTypes(u"   "), Lines{});
  EXPECT_EQ(ByTypes(u"No stop at all"), (Lines{u"No stop at all"}));
  EXPECT_EQ(ByTypes(u"  Trailing blank. "), (Lines{u"Trailing blank."}));
  EXPECT_EQ(ByTypes(u"One.\r\nTwo."), (Lines{u"One.", u"Two."}));
}

}  // namespace
}  // namespace quill
