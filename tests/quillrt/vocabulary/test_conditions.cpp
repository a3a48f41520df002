#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/vocabulary/conditions.h"
#include "quillrt/vocabulary/relationships.h"

namespace quill {
namespace {

TEST(ConditionSentences, SamplesCarryTheTokensInEachSentencesOrder) {
  EXPECT_EQ(ConditionDropdownOption(ccp_Ignore), u"ignore");
  EXPECT_EQ(ConditionDropdownOption(ccp_FoundAnywhereIn), u"!X found anywhere in !C");
  EXPECT_EQ(ConditionDropdownOption(ccp_FoundWithinNWordsOf), u"!X found in !C within 99999 words of !W");
  EXPECT_EQ(ConditionDropdownOption(ccp_FoundWithinNWordsToLeftOf), u"!X found in !C within 99999 words left of !W");
  EXPECT_EQ(ConditionDropdownOption(ccp_FoundWithinNWordsToRightOf),
            u"!X found in !C within 99999 words right of !W");
  EXPECT_EQ(ConditionDropdownOption(ccp_EndsWith), u"!C ends with !X");
  EXPECT_EQ(ConditionDropdownOption(ccp_StartsWith), u"!C starts with !X");
  EXPECT_EQ(ConditionDropdownOption(ccp_WordLengthEquals), u"length of !C = !X");
  EXPECT_EQ(ConditionDropdownOption(ccp_WordLengthGreaterThan), u"length of !C is above !X");
  EXPECT_EQ(ConditionDropdownOption(ccp_WordLengthLessThan), u"length of !C is below !X");
  EXPECT_EQ(ConditionDropdownOption(ccp_Equals), u"!C = !X");
  EXPECT_EQ(ConditionDropdownOption(ccp_Between), u"!C is between !X and !Y");
  EXPECT_EQ(ConditionDropdownOption(ccp_GreaterThan), u"!C is above !X");
  EXPECT_EQ(ConditionDropdownOption(ccp_LessThan), u"!C is below !X");
  EXPECT_EQ(ConditionDropdownOption(ccp_spare4), u"");
  EXPECT_EQ(ConditionDropdownOption(static_cast<TColourCategSeeks>(200)), u"");
}

TEST(ConditionSentences, ArgumentsNameTheColumnByItsKind) {
  TConditionOperands numbers;
  numbers.column_name = u"Freq.";
  numbers.numeric_column = true;
  numbers.value = u"5";
  numbers.second_value = u"10";
  EXPECT_EQ(ConditionArguments(ccp_Between, numbers), u"Freq. column value is between 5 and 10");
  EXPECT_EQ(ConditionArguments(ccp_GreaterThan, numbers), u"Freq. column value is above 5");
  EXPECT_EQ(ConditionArguments(ccp_LessThan, numbers), u"Freq. column value is below 5");

  TConditionOperands words;
  words.column_name = u"Word";
  words.value = u"ing";
  words.word = u"house";
  words.word_span = 5;
  EXPECT_EQ(ConditionArguments(ccp_EndsWith, words), u"Word column text ends with ing");
  EXPECT_EQ(ConditionArguments(ccp_FoundWithinNWordsToRightOf, words),
            u"ing found in Word column text within 5 words right of house");
  // Text columns compare alphabetically.
  EXPECT_EQ(ConditionArguments(ccp_GreaterThan, words), u"Word column text follows ing alphabetically");
  EXPECT_EQ(ConditionArguments(ccp_LessThan, words), u"Word column text before ing alphabetically");
}

TEST(ConditionSentences, ASecondColumnTakesThePlaceOfTheValue) {
  TConditionOperands two;
  two.column_name = u"Freq.";
  two.numeric_column = true;
  two.value = u"ignored";
  two.other_column_name = u"Texts";
  two.other_column_number = 3;
  EXPECT_EQ(ConditionArguments(ccp_Equals, two), u"Freq. column value = value of column Texts");
  two.show_column_number = true;
  EXPECT_EQ(ConditionArguments(ccp_GreaterThan, two), u"Freq. column value is above col 3 (Texts) value");
}

TEST(ConditionSentences, LengthsShowOnlyNumbers) {
  TConditionOperands length;
  length.column_name = u"Word";
  for (const auto& [typed, shown] : std::initializer_list<std::pair<const char16_t*, const char16_t*>>{
           {u"7", u"7"}, {u"'12'", u"12"}, {u"2.5", u"2.5"}, {u"-3", u"-3"},
           {u"seven", u"??"}, {u"", u"??"}, {u"1.2.3", u"??"}, {u"'", u"??"}}) {
    length.value = typed;
    EXPECT_EQ(ConditionArguments(ccp_WordLengthGreaterThan, length),
              UnicodeString(u"length of Word column text is above ") + shown)
        << Utf16ToUtf8(typed);
  }
  // Other conditions keep the value as typed.
  length.value = u"seven";
  EXPECT_EQ(ConditionArguments(ccp_Equals, length), u"Word column text = seven");
}

TEST(ConditionSentences, FollowATranslatedCatalogue) {
  SetCatalogueText("_QYEndsWith", u"%s endet auf %s");
  EXPECT_EQ(ConditionDropdownOption(ccp_EndsWith), u"!C endet auf !X");
  ResetCatalogue();
}

// ---- relationship thresholds -------------------------------------------------

TConcgramMutualChecks Checks(bool all_procedures, bool all_words) {
  TConcgramMutualChecks checks;
  checks.test_all_procedures = all_procedures;
  checks.test_all_words = all_words;
  return checks;
}

void Enable(TConcgramMutualChecks& checks, TMutualInfoStats stat, float threshold) {
  checks.proc_settings[stat] = {true, threshold};
}

TEST(RelationshipThresholds, NothingEnabledNeverPasses) {
  TRelationshipArray values;
  values.fill(1000.0f);
  for (const bool all_procedures : {false, true})
    for (const bool all_words : {false, true})
      EXPECT_FALSE(PassesRelationshipThresholdTests(Checks(all_procedures, all_words), values));
}

TEST(RelationshipThresholds, OneIsEnoughModeStopsAtAFailureUnlessAllWordsAreTried) {
  TRelationshipArray values{};
  values[MI_Dice] = 0.1f;  // fails its threshold
  values[MI_MI] = 5.0f;    // passes
  auto checks = Checks(false, false);
  Enable(checks, MI_Dice, 0.5f);
  Enable(checks, MI_MI, 3.0f);
  EXPECT_FALSE(PassesRelationshipThresholdTests(checks, values));
  checks.test_all_words = true;
  EXPECT_TRUE(PassesRelationshipThresholdTests(checks, values));
  // A disabled failing statistic is not looked at.
  checks.test_all_words = false;
  checks.proc_settings[MI_Dice].do_it = false;
  EXPECT_TRUE(PassesRelationshipThresholdTests(checks, values));
  // The threshold itself passes.
  values[MI_MI] = 3.0f;
  EXPECT_TRUE(PassesRelationshipThresholdTests(checks, values));
}

TEST(RelationshipThresholds, AllProceduresModeNeedsEveryEnabledOne) {
  TRelationshipArray values{};
  values[MI_Z] = 4.0f;
  values[MI_log_likelihood] = 10.0f;
  values[MI_Log_Ratio] = -2.0f;
  auto checks = Checks(true, false);
  Enable(checks, MI_Z, 3.0f);
  Enable(checks, MI_log_likelihood, 6.63f);
  EXPECT_TRUE(PassesRelationshipThresholdTests(checks, values));
  Enable(checks, MI_Log_Ratio, -3.0f);  // negative thresholds work as well
  EXPECT_TRUE(PassesRelationshipThresholdTests(checks, values));
  Enable(checks, MI_T_Score, 2.0f);  // scores 0
  EXPECT_FALSE(PassesRelationshipThresholdTests(checks, values));
}

TEST(RelationshipThresholds, AMissingScoreNeverPasses) {
  TRelationshipArray values{};
  values[MI_MI3] = std::numeric_limits<float>::quiet_NaN();
  auto checks = Checks(true, false);
  Enable(checks, MI_MI3, -1000.0f);
  EXPECT_FALSE(PassesRelationshipThresholdTests(checks, values));
  checks.test_all_procedures = false;
  EXPECT_FALSE(PassesRelationshipThresholdTests(checks, values));
}

TEST(RelationshipThresholds, StatisticsAreNamed) {
  const char16_t* names[] = {u"Dice coefficient", u"Specific Mutual Information", u"MI3", u"Z Score",
                             u"Log likelihood",   u"T Score",                     u"Log ratio"};
  for (int i = 0; i < kMutualInfoStatsCount; ++i)
    EXPECT_EQ(MutualInfoChoices(static_cast<TMutualInfoStats>(i)), names[i]);
  EXPECT_EQ(MutualInfoChoices(static_cast<TMutualInfoStats>(7)), u"");
}

}  // namespace
}  // namespace quill
