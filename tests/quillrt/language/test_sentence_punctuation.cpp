#include <gtest/gtest.h>

#include <algorithm>

#include <unicode/uchar.h>

#include "quillrt/language/sentence_punctuation.h"

namespace quill {
namespace {

template <std::size_t N>
bool StrictlyAscending(const std::array<WideChar, N>& table) {
  return std::adjacent_find(table.begin(), table.end(), [](WideChar a, WideChar b) { return a >= b; }) ==
         table.end();
}

template <std::size_t N>
bool Holds(const std::array<WideChar, N>& table, WideChar c) {
  return std::find(table.begin(), table.end(), c) != table.end();
}

TEST(SentencePunctuation, TablesHaveTheirSizeOrderAndEnds) {
  EXPECT_EQ(basic_sent_terminators, (std::array<WideChar, 3>{u'!', u'.', u'?'}));

  ASSERT_EQ(other_sent_terminators.size(), 63u);
  EXPECT_TRUE(StrictlyAscending(other_sent_terminators));
  EXPECT_EQ(other_sent_terminators.front(), 0x0589);
  EXPECT_EQ(other_sent_terminators[3], 0x0700);
  EXPECT_EQ(other_sent_terminators[5], 0x0702);
  EXPECT_EQ(other_sent_terminators.back(), 0xFF61);

  ASSERT_EQ(punct_not_ending_sent.size(), 276u);
  EXPECT_TRUE(StrictlyAscending(punct_not_ending_sent));
  EXPECT_EQ(punct_not_ending_sent.front(), 0x037E);
  EXPECT_EQ(punct_not_ending_sent[2], 0x055A);
  EXPECT_EQ(punct_not_ending_sent[7], 0x055F);
  EXPECT_EQ(punct_not_ending_sent.back(), 0xFF65);
}

TEST(SentencePunctuation, TablesHoldOtherPunctuationOnly) {
  // Every entry is punctuation of category Po, no character is in both tables,
  // and ASCII is left to the basic terminators.
  for (WideChar c : other_sent_terminators) {
    EXPECT_EQ(u_charType(c), U_OTHER_PUNCTUATION) << std::hex << static_cast<int>(c);
    EXPECT_FALSE(Holds(punct_not_ending_sent, c)) << std::hex << static_cast<int>(c);
    EXPECT_GT(c, 0x7F);
  }
  // Three marks have since been reclassed as symbols (Canadian syllabics chi
  // sign, New Tai Lue signs lae and laev); they keep their place in the table.
  const std::array<WideChar, 3> now_symbols = {0x166D, 0x19DE, 0x19DF};
  for (WideChar c : punct_not_ending_sent) {
    const auto expected = Holds(now_symbols, c) ? U_OTHER_SYMBOL : U_OTHER_PUNCTUATION;
    EXPECT_EQ(u_charType(c), expected) << std::hex << static_cast<int>(c);
    EXPECT_GT(c, 0x7F);
  }
}

TEST(SentencePunctuation, KnownMembers) {
  for (WideChar c : {0x0589, 0x061F, 0x06D4, 0x0964, 0x0965, 0x1362, 0x203C, 0x3002, 0xFF01, 0xFF0E, 0xFF1F})
    EXPECT_TRUE(Holds(other_sent_terminators, c)) << std::hex << static_cast<int>(c);
  for (WideChar c : {0x037E, 0x060C, 0x061B, 0x3001, 0x30FB, 0xFF0C, 0xFF1A, 0xFF64})
    EXPECT_TRUE(IsPunctNotEndingSentence(c)) << std::hex << static_cast<int>(c);
  // Neighbours of ranges stay out.
  for (WideChar c : {0x0588, 0x0703, 0x0966, 0x2E2F, 0x3003, 0xFF62})
    EXPECT_FALSE(Holds(other_sent_terminators, c)) << std::hex << static_cast<int>(c);
  for (WideChar c : {0x0559, 0x0560, 0x2018, 0x2039, 0x3002, 0xFF66, 0x002E, 0x002C})
    EXPECT_FALSE(IsPunctNotEndingSentence(c)) << std::hex << static_cast<int>(c);
}

TEST(SentencePunctuation, PotentialTerminators) {
  EXPECT_TRUE(IsPotentialSentenceTerminator(u'.'));
  EXPECT_TRUE(IsPotentialSentenceTerminator(u'!'));
  EXPECT_TRUE(IsPotentialSentenceTerminator(u'?'));
  EXPECT_TRUE(IsPotentialSentenceTerminator(0x3002));  // ideographic full stop
  EXPECT_TRUE(IsPotentialSentenceTerminator(0x0964));  // danda
  EXPECT_TRUE(IsPotentialSentenceTerminator(0x0589));  // first of the other scripts' table
  EXPECT_TRUE(IsPotentialSentenceTerminator(0xFF61));  // last
  EXPECT_FALSE(IsPotentialSentenceTerminator(u';'));
  EXPECT_FALSE(IsPotentialSentenceTerminator(u'~'));
  EXPECT_FALSE(IsPotentialSentenceTerminator(0x00A1));
  EXPECT_FALSE(IsPotentialSentenceTerminator(0x0588));
  EXPECT_FALSE(IsPotentialSentenceTerminator(0x3001));
  EXPECT_FALSE(IsPotentialSentenceTerminator(0xFFFF));
  EXPECT_FALSE(IsPotentialSentenceTerminator(0));

  // Of ASCII, exactly the three basic terminators.
  int ascii_terminators = 0;
  for (WideChar c = 0; c < 0x80; ++c) ascii_terminators += IsPotentialSentenceTerminator(c) ? 1 : 0;
  EXPECT_EQ(ascii_terminators, 3);
  // Across all units, the 66 of the two tables.
  int all_terminators = 0;
  for (std::uint32_t c = 0; c <= 0xFFFF; ++c)
    all_terminators += IsPotentialSentenceTerminator(static_cast<WideChar>(c)) ? 1 : 0;
  EXPECT_EQ(all_terminators, 66);
}

}  // namespace
}  // namespace quill
