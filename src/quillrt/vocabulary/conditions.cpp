#include "quillrt/vocabulary/conditions.h"

#include <string_view>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/sysutils.h"

namespace quill {
namespace {

// The pieces every sentence is built from: the column, the first and second
// value, the word and the span, already in their final wording.
struct SentenceParts {
  UnicodeString column;
  UnicodeString value;
  UnicodeString second_value;
  UnicodeString word;
  std::int32_t span = 0;
  bool text_column = false;
};

UnicodeString Said(std::string_view key, std::initializer_list<TVarRec> args) {
  return Format(CatalogueText(key), args);
}

UnicodeString Sentence(TColourCategSeeks cond, const SentenceParts& p) {
  switch (cond) {
    case ccp_Ignore: return CatalogueText("_QYIgnore");
    case ccp_FoundAnywhereIn: return Said("_QYFoundAnywhereIn", {p.value, p.column});
    case ccp_FoundWithinNWordsOf: return Said("_QYFoundWithinNWordsOf", {p.value, p.column, p.span, p.word});
    case ccp_FoundWithinNWordsToLeftOf:
      return Said("_QYFoundWithinNWordsLeftOf", {p.value, p.column, p.span, p.word});
    case ccp_FoundWithinNWordsToRightOf:
      return Said("_QYFoundWithinNWordsRightOf", {p.value, p.column, p.span, p.word});
    case ccp_EndsWith: return Said("_QYEndsWith", {p.column, p.value});
    case ccp_StartsWith: return Said("_QYStartsWith", {p.column, p.value});
    case ccp_WordLengthEquals: return Said("_QYEquals", {Said("_QYXLength", {p.column}), p.value});
    case ccp_WordLengthGreaterThan: return Said("_QYXAboveY", {Said("_QYXLength", {p.column}), p.value});
    case ccp_WordLengthLessThan: return Said("_QYXBelowY", {Said("_QYXLength", {p.column}), p.value});
    case ccp_Equals: return Said("_QYEquals", {p.column, p.value});
    case ccp_Between: return Said("_QYAIsBetweenXandY", {p.column, p.value, p.second_value});
    case ccp_GreaterThan: return Said(p.text_column ? "_QYComesAfter" : "_QYXAboveY", {p.column, p.value});
    case ccp_LessThan: return Said(p.text_column ? "_QYComesBefore" : "_QYXBelowY", {p.column, p.value});
    case ccp_spare4: break;
  }
  return {};
}

bool IsLengthCondition(TColourCategSeeks cond) {
  return cond == ccp_WordLengthEquals || cond == ccp_WordLengthGreaterThan || cond == ccp_WordLengthLessThan;
}

// An integer or a decimal: optional sign, digits, at most one decimal point
// ("." or the locale's), at least one digit.
bool IsPlainNumber(const UnicodeString& text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      digits = true;
    } else if ((c == u'.' || c == FormatSettings.DecimalSeparator) && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

UnicodeString WithoutSingleQuotes(const UnicodeString& text) {
  UnicodeString result;
  for (char16_t c : text)
    if (c != u'\'') result += c;
  return result;
}

UnicodeString ValueText(TColourCategSeeks cond, const TConditionOperands& o) {
  if (!o.other_column_name.empty()) {
    return o.show_column_number ? Said("_QYXsColumnNsValue", {o.other_column_number, o.other_column_name})
                                : Said("_QYXsColumnsValue", {o.other_column_name});
  }
  if (IsLengthCondition(cond)) {
    const UnicodeString length = WithoutSingleQuotes(Trim(o.value));
    return IsPlainNumber(length) ? length : UnicodeString(u"??");
  }
  return o.value;
}

}  // namespace

UnicodeString ConditionDropdownOption(TColourCategSeeks cond) {
  SentenceParts sample;
  sample.column = kConditionColumnToken;
  sample.value = kConditionValueToken;
  sample.second_value = kConditionSecondValueToken;
  sample.word = kConditionWordToken;
  sample.span = kConditionSampleSpan;
  return Sentence(cond, sample);
}

UnicodeString ConditionArguments(TColourCategSeeks cond, const TConditionOperands& operands) {
  SentenceParts parts;
  parts.column = Said(operands.numeric_column ? "_QYXColumnValue" : "_QYXColumnText", {operands.column_name});
  parts.value = ValueText(cond, operands);
  parts.second_value = operands.second_value;
  parts.word = operands.word;
  parts.span = operands.word_span;
  parts.text_column = !operands.numeric_column;
  return Sentence(cond, parts);
}

}  // namespace quill
