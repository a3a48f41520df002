// The class array and its editors, single-character tests, case mapping of
// strings and buffers, and the 8-bit case operations.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "quillrt/text/char_classes.h"

namespace quill {
namespace {

constexpr TClassWord L = C1_ALPHA | C1_LOWER | C1_DEFINED;  // a plain lower-case letter
constexpr TClassWord D = C1_DIGIT | C1_DEFINED;
constexpr TClassWord P = C1_PUNCT | C1_DEFINED;
constexpr TClassWord S = C1_SPACE | C1_BLANK | C1_DEFINED;
constexpr TClassWord M = class_markup | P;                   // markup
constexpr TClassWord SENT = class_segment_marker | ts_sentence_start;

// Runs HandleMiddleChars with "'" allowed over `text` and hand-made classes.
std::vector<TClassWord> Middle(const std::u16string& text, std::vector<TClassWord> classes, bool at_right = false,
                               bool at_left = false, const std::u16string& allowables = u"'") {
  HandleMiddleChars(text.data(), classes.data(), allowables.data(), static_cast<int>(allowables.size()), text.size(),
                    true, at_right, at_left);
  return classes;
}

TEST(ClassArray, HoldsTwoZeroWordsBeyondTheText) {
  const std::u16string text = u"Ab 1";
  const TClassArray classes = MakeClassArray(text.data(), text.size(), 0x0409);
  ASSERT_EQ(classes.size(), 6u);
  EXPECT_EQ(classes[0], C1_ALPHA | C1_UPPER | C1_XDIGIT | C1_DEFINED);
  EXPECT_EQ(classes[2], S);
  EXPECT_EQ(classes[4], 0);
  EXPECT_EQ(classes[5], 0);
  // Refilling a larger array reuses it and still ends in two zeros.
  TClassArray reused(20, 0xEEEE);
  FillClassArray(u"g", 1, 0x0409, reused);
  EXPECT_EQ(reused, (TClassArray{L, 0, 0}));
  EXPECT_EQ(MakeClassArray(nullptr, 5, 0x0409), (TClassArray{0, 0}));
  // 8-bit buffers go through the language's code page: 0xE0 is а in Russian, à in French.
  EXPECT_EQ(MakeClassArrayA("\xE0", 1, 0x0419), (TClassArray{L, 0, 0}));
  EXPECT_EQ(MakeClassArrayA("\xD7", 1, 0x040C), (TClassArray{P, 0, 0}));  // × in 1252
}

TEST(SingleCharacterTests, DigitsAndWildcards) {
  EXPECT_TRUE(IsOrdinaryNumberChar(u'0'));
  EXPECT_TRUE(IsOrdinaryNumberChar(u'9'));
  EXPECT_FALSE(IsOrdinaryNumberChar(u'\u0661'));  // Arabic-Indic one
  EXPECT_TRUE(IsADigitChar(u'\u0661'));
  EXPECT_TRUE(IsADigitChar(u'\u0967'));            // Devanagari one
  EXPECT_TRUE(IsADigitChar(u'5'));
  EXPECT_FALSE(IsADigitChar(u'\u00B2'));           // superscript two is no Nd digit
  EXPECT_FALSE(IsADigitChar(u'a'));
  EXPECT_TRUE(IsHashSymbol(u'\x1B'));
  EXPECT_FALSE(IsHashSymbol(u'#'));
  EXPECT_TRUE(IsHashOrBrace(u'#'));
  EXPECT_TRUE(IsHashOrBrace(u'{'));
  EXPECT_FALSE(IsHashOrBrace(u'}'));
}

TEST(CaseMappingOfStrings, LinguisticAndPlain) {
  EXPECT_EQ(Uppercase(0x041F, u"istanbul"), u"İSTANBUL");
  EXPECT_EQ(Lowercase(0x041F, u"ISPARTA"), u"ısparta");
  EXPECT_EQ(Uppercase(0x0409, u"istanbul"), u"ISTANBUL");
  EXPECT_EQ(Lowercase(u"ÀÉÎ ΣΑΣ"), u"àéî σασ");
  EXPECT_EQ(Uppercase(u"straße"), u"STRAßE");  // one unit for one unit
  EXPECT_EQ(Uppercase(0x0409, u""), u"");
  EXPECT_EQ(Lowercase(u""), u"");
  // Mapping stops at the first NUL; what follows is kept as it was.
  const UnicodeString with_nul(u"ab\0cd", 5);
  EXPECT_EQ(Uppercase(0x0409, with_nul), UnicodeString(u"AB\0cd", 5));
  const UnicodeString argument = u"keep";
  (void)Uppercase(0x0409, argument);
  EXPECT_EQ(argument, u"keep");
}

TEST(CaseMappingOfStrings, InPlaceOverNulTerminatedBuffers) {
  WideChar text[] = u"Iİi";
  EXPECT_EQ(LowercaseIt(0x041F, text), 4);  // three characters and the NUL
  EXPECT_EQ(std::u16string(text), u"ıii");
  EXPECT_EQ(UppercaseIt(0x0409, text), 4);
  EXPECT_EQ(std::u16string(text), u"III");
  EXPECT_EQ(UppercaseIt(0x0409, nullptr), 0);
  WideChar empty[] = u"";
  EXPECT_EQ(LowercaseIt(0x0409, empty), 1);
}

TEST(EightBitCase, CapitaliseABuffer) {
  // Lower and upper tables of 1252: à é ÿ against À É (a shorter upper table).
  const auto lowers = MakeANSICaseTable("\xE0\xE9\xFF");
  const auto uppers = MakeANSICaseTable("\xC0\xC9");
  std::string text = "az\xE0\xE9\xFF 1-{";
  CapitaliseABuffer(text.data(), lowers, uppers, static_cast<int>(text.size()));
  EXPECT_EQ(text, "AZ\xC0\xC9\xFF 1-{");  // ÿ lies beyond the common length
  std::string partial = "abc";
  CapitaliseABuffer(partial.data(), lowers, uppers, 2);
  EXPECT_EQ(partial, "ABc");
  CapitaliseABuffer(partial.data(), lowers, uppers, -1);
  CapitaliseABuffer(nullptr, lowers, uppers, 3);
  EXPECT_EQ(partial, "ABc");
  // A corrupt length byte cannot read past the table.
  ANSILower_or_upperStr_type corrupt = lowers;
  corrupt.length = 255;
  std::string x = "\xE0";
  CapitaliseABuffer(x.data(), corrupt, corrupt, 1);
  EXPECT_EQ(x, "\xE0");  // found at index 0 of both: maps to itself
}

TEST(EightBitCase, CutLowercaseWords) {
  const auto lowers = MakeANSICaseTable("\xE9");
  const auto uppers = MakeANSICaseTable("\xC9");
  std::string text = "the London caf\xE9 \xC9lan x1y deFG";
  CutLowercaseWords(text.data(), lowers, uppers, static_cast<int>(text.size()));
  EXPECT_EQ(text, "    London      \xC9lan  1    FG");
  // Control bytes end a word as blanks do.
  std::string controls = "Ab\tcd";
  CutLowercaseWords(controls.data(), lowers, uppers, 5);
  EXPECT_EQ(controls, "Ab\t  ");
}

TEST(ClassArrayEditors, ZeroWidthJoinersAndNonJoiners) {
  const std::u16string text = u"a\u200Db\u200Cc";
  TClassArray classes = MakeClassArray(text.data(), text.size(), 0x0409);
  SetZeroWidthJoinersToDefined(text.data(), classes.data(), text.size());
  SetZeroWidthNonJoinersToDefinedAlpha(text.data(), classes.data(), text.size());
  EXPECT_EQ(classes[1], 0x0200);
  EXPECT_EQ(classes[3], 0x0300);
  EXPECT_EQ(classes[0], C1_ALPHA | C1_LOWER | C1_XDIGIT | C1_DEFINED);
}

TEST(ClassArrayEditors, MiddleCharactersBetweenLettersAndDigits) {
  // don't: between two letters.
  EXPECT_EQ(Middle(u"n't", {L, P, L}), (std::vector<TClassWord>{L, 0x0302, L}));
  // 1'2 and a'1: a digit on either side gives the digit class.
  EXPECT_EQ(Middle(u"1'2", {D, P, D}), (std::vector<TClassWord>{D, 0x0204, D}));
  EXPECT_EQ(Middle(u"a'1", {L, P, D}), (std::vector<TClassWord>{L, 0x0204, D}));
  EXPECT_EQ(Middle(u"1'a", {D, P, L}), (std::vector<TClassWord>{D, 0x0204, L}));
  // A separator on either side refuses.
  EXPECT_EQ(Middle(u"a' ", {L, P, S, L}), (std::vector<TClassWord>{L, P, S, L}));
  // The first character can be the left neighbour (I'm at the start of a buffer).
  EXPECT_EQ(Middle(u"I'm", {L, P, L}), (std::vector<TClassWord>{L, 0x0302, L}));
  // An allowable at index 0 has no left neighbour; the last character is never examined.
  EXPECT_EQ(Middle(u"'ab'", {P, L, L, P}), (std::vector<TClassWord>{P, L, L, P}));
}

TEST(ClassArrayEditors, MiddleCharactersAtWordEdges) {
  // dogs' with allowance at the right; 'tis with allowance at the left.
  EXPECT_EQ(Middle(u"s' x", {L, P, S, L}, true, false), (std::vector<TClassWord>{L, 0x0302, S, L}));
  EXPECT_EQ(Middle(u" 'ti", {S, P, L, L}, false, true), (std::vector<TClassWord>{S, 0x0302, L, L}));
  EXPECT_EQ(Middle(u" '1", {S, P, D}, false, true), (std::vector<TClassWord>{S, 0x0204, D}));
  // Both allowances: every occurrence but the last character.
  EXPECT_EQ(Middle(u"''", {P, P}, true, true), (std::vector<TClassWord>{0x0302, P}));
  EXPECT_EQ(Middle(u"'", {P}, true, true), (std::vector<TClassWord>{P}));
}

TEST(ClassArrayEditors, MiddleCharactersSkipMarkupAndStopAtMarkers) {
  // a<b>'c: the tag's characters are stepped over.
  EXPECT_EQ(Middle(u"a<>'c", {L, M, M, P, L}), (std::vector<TClassWord>{L, M, M, 0x0302, L}));
  // A segment marker between refuses.
  EXPECT_EQ(Middle(u"a|'c", {L, SENT, P, L}), (std::vector<TClassWord>{L, SENT, P, L}));
  EXPECT_EQ(Middle(u"a'|c", {L, P, SENT, L}), (std::vector<TClassWord>{L, P, SENT, L}));
  // Markup at the allowable itself, only markup to the left: left alone.
  EXPECT_EQ(Middle(u"a'c", {L, M, L}), (std::vector<TClassWord>{L, M, L}));
  EXPECT_EQ(Middle(u"<'c", {M, P, L}), (std::vector<TClassWord>{M, P, L}));
  // A segment marker standing on an allowable character is never overwritten.
  EXPECT_EQ(Middle(u"a'c", {L, SENT, L}), (std::vector<TClassWord>{L, SENT, L}));
}

TEST(ClassArrayEditors, MiddleCharactersInOrderOfAllowables) {
  // With allowance at the right, a hyphen after an already marked apostrophe
  // sees a word character to its left: the order of the allowables matters.
  const std::u16string text = u"a'-b";
  EXPECT_EQ(Middle(text, {L, P, P, L}, true, false, u"'-"), (std::vector<TClassWord>{L, 0x0302, 0x0302, L}));
  EXPECT_EQ(Middle(text, {L, P, P, L}, true, false, u"-'"), (std::vector<TClassWord>{L, 0x0302, P, L}));
  // Nothing happens without allowables or characters.
  std::vector<TClassWord> classes = {L, P, L};
  HandleMiddleChars(u"a'b", classes.data(), u"'", 0, 3, true, false, false);
  HandleMiddleChars(u"a'b", classes.data(), u"'", 1, 0, true, false, false);
  HandleMiddleChars(nullptr, classes.data(), u"'", 1, 3, true, false, false);
  EXPECT_EQ(classes, (std::vector<TClassWord>{L, P, L}));
}

TEST(ClassArrayEditors, MiddleCharactersTogetherAsOneAtATime) {
  // A letter among the allowables is looked at before the hyphen (its order
  // among them), while the hyphen is not yet part of a word: it stays a letter.
  EXPECT_EQ(Middle(u"1-a1", {D, P, L, D}, false, false, u"'a-"), (std::vector<TClassWord>{D, 0x0204, L, D}));

  // Random runs of letters, digits, allowables, blanks, markup and markers:
  // handling the allowables together must mark exactly what handling them
  // one after another does, with every allowance.
  const std::u16string alphabet = u"a1'\u2019-_ <";
  const std::vector<TClassWord> alphabet_classes = {L, D, P, P, P, P, S, M};
  std::uint32_t seed = 12345;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int round = 0; round < 4000; ++round) {
    std::u16string text;
    std::vector<TClassWord> classes;
    for (std::size_t n = 2 + next() % 12; n > 0; --n) {
      const std::size_t pick = next() % alphabet.size();
      text += alphabet[pick];
      classes.push_back(next() % 23 == 0 ? SENT : alphabet_classes[pick]);
    }
    // A letter or digit among them is itself a word character.
    const std::u16string allowables = std::array{u"'\u2019-", u"-_'\u2019", u"'a-", u"1-'"}[round % 4];
    const bool at_right = round % 7 == 3;
    const bool at_left = round % 11 == 5;
    std::vector<TClassWord> one_at_a_time = classes;
    for (const char16_t a : allowables) one_at_a_time = Middle(text, one_at_a_time, at_right, at_left, {a});
    ASSERT_EQ(Middle(text, classes, at_right, at_left, allowables), one_at_a_time)
        << "round " << round << " text " << std::string(text.begin(), text.end());
  }
}

TEST(ClassArrayEditors, MiddleCharactersInEightBitBuffers) {
  std::vector<TClassWord> classes = {L, P, L, P, L};
  // "a'b’c" in 1252: the right quote U+2019 is byte 0x92.
  HandleMiddleChars("a'b\x92" "c", classes.data(), u"'\u2019", 2, 5, false, false, false);
  EXPECT_EQ(classes, (std::vector<TClassWord>{L, 0x0302, L, 0x0302, L}));
  // An allowable the ANSI page lacks matches no byte (not its low byte 0x19).
  std::vector<TClassWord> other = {L, P, L};
  HandleMiddleChars("a\x19" "b", other.data(), u"\u4E19", 1, 3, false, false, false);
  EXPECT_EQ(other, (std::vector<TClassWord>{L, P, L}));
}

TEST(ClassArrayEditors, SeparatorsInsideNumbers) {
  const std::u16string text = u"1,000.5 2 3\u00B74;5";
  TClassArray classes = MakeClassArray(text.data(), text.size(), 0x0409);
  HandleMiddleCharsInNumbers(true, false, text.data(), classes.data(), text.size());
  EXPECT_EQ(classes[1], 0x0204);                 // ,
  EXPECT_EQ(classes[5], 0x0204);                 // .
  EXPECT_EQ(classes[7], S);                      // space not allowed
  EXPECT_EQ(classes[11], 0x0204);                // middle dot
  EXPECT_EQ(classes[13] & C1_DIGIT, 0);          // ; is no number separator
  HandleMiddleCharsInNumbers(true, true, text.data(), classes.data(), text.size());
  EXPECT_EQ(classes[7], 0x0204);
  // A separator must have a digit on both sides; markers do not count as digits
  // (the sentence-start code 14 has the digit bit among its code bits).
  std::vector<TClassWord> with_marker = {D, P, SENT};
  HandleMiddleCharsInNumbers(true, false, u"1.2", with_marker.data(), 3);
  EXPECT_EQ(with_marker[1], P);
  std::vector<TClassWord> eight_bit = {D, P, D, P, L};
  HandleMiddleCharsInNumbers(false, false, "1\xB7" "2.x", eight_bit.data(), 5);
  EXPECT_EQ(eight_bit, (std::vector<TClassWord>{D, 0x0204, D, P, L}));
  // Fewer than three characters: nothing to do.
  std::vector<TClassWord> short_run = {D, P};
  HandleMiddleCharsInNumbers(true, true, u"1.", short_run.data(), 2);
  EXPECT_EQ(short_run[1], P);
}

}  // namespace
}  // namespace quill
