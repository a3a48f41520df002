#pragma once
// The conditions by which a user colours or filters the entries of a list ("the
// word ends with -ing", "the frequency is between 5 and 10"), and the sentences
// that describe them: a sample sentence for the list of conditions, with tokens
// standing for what the user fills in, and the same sentence with the real
// column and values once the condition is set.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Stored as one byte in the tools' settings: the order is fixed.
enum TColourCategSeeks : std::uint8_t {
  ccp_Ignore,
  ccp_FoundAnywhereIn,
  ccp_FoundWithinNWordsOf,
  ccp_FoundWithinNWordsToLeftOf,
  ccp_FoundWithinNWordsToRightOf,
  ccp_EndsWith,
  ccp_StartsWith,
  ccp_WordLengthEquals,
  ccp_WordLengthGreaterThan,
  ccp_WordLengthLessThan,
  ccp_Equals,
  ccp_Between,
  ccp_GreaterThan,
  ccp_LessThan,
  ccp_spare4,
};

// The tokens of the sample sentences, replaced by the tools' dialogs.
inline constexpr char16_t kConditionColumnToken[] = u"!C";
inline constexpr char16_t kConditionValueToken[] = u"!X";
inline constexpr char16_t kConditionSecondValueToken[] = u"!Y";
inline constexpr char16_t kConditionWordToken[] = u"!W";
// The word span shown in the sample sentences of the "within n words" conditions.
inline constexpr int kConditionSampleSpan = 99999;

// The sample sentence of `cond` ("!X found in !C within 99999 words of !W");
// empty for ccp_spare4 and for a value outside the enumeration.
QUILLRT_API UnicodeString ConditionDropdownOption(TColourCategSeeks cond);

// What a set condition refers to.
struct TConditionOperands {
  UnicodeString value;         // the value typed by the user (!X)
  UnicodeString second_value;  // the upper bound of ccp_Between (!Y)
  UnicodeString word;          // the word of the "within n words" conditions (!W)
  UnicodeString column_name;   // the column tested (!C)
  // When not empty, the value is this second column's value, not a typed one.
  UnicodeString other_column_name;
  std::int32_t column_number = 0;
  std::int32_t other_column_number = 0;
  std::int32_t word_span = 0;
  bool numeric_column = false;      // the tested column holds numbers, not text
  bool show_column_number = false;  // name the second column by its number too
};

// The sentence of `cond` with the real column and values, for example
// "Freq. column value is between 5 and 10" or "Word column text ends with ing".
// The length conditions show the value only when it is a number (single quotes
// removed), else "??"; on a text column ccp_GreaterThan and ccp_LessThan read
// "... follows ... alphabetically" and "... before ... alphabetically".
QUILLRT_API UnicodeString ConditionArguments(TColourCategSeeks cond, const TConditionOperands& operands);

}  // namespace quill
