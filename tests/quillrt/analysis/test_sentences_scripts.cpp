// Sentence splitting on real text in several scripts. Each test records what the
// functions give, the known weaknesses included (abbreviations, ordinals), so
// that a change in behaviour shows up here.
#include <gtest/gtest.h>

#include <vector>

#include "quillrt/analysis/sentences.h"

namespace quill {
namespace {

using Lines = std::vector<UnicodeString>;

Lines ByTypes(const char* utf8, std::uint32_t lcid) {
  return SentencesFromParagraph(U(utf8), u"", lcid, 20)->ToStringArray();
}

Lines Extracted(const char* utf8) { return SentencesExtractedFromParagraph(true, 0, U(utf8))->ToStringArray(); }

Lines Utf16(std::initializer_list<const char*> utf8) {
  Lines lines;
  for (const char* line : utf8) lines.push_back(U(line));
  return lines;
}

// Every end EndOfSentence finds, walking from the start.
std::vector<int> SentenceEnds(const UnicodeString& text) {
  std::vector<int> ends;
  for (int start = 1;;) {
    const int end = EndOfSentence(start, text);
    if (end < 0) return ends;
    ends.push_back(end);
    start = end + 1;
  }
}

const char* const english =
    "Mr. and Mrs. Dursley, of number four, Privet Drive, were proud to say that they were perfectly "
    "normal. The U.S. economy grew 2.5% in Q3, i.e. faster than expected. \"Is it over?\" she asked. "
    "\"Not yet,\" he said. Dr. Smith arrived at 10 a.m. on Monday... Nobody noticed.";

TEST(SentencesInEnglish, AbbreviationsDecimalsAndQuotations) {
  // Decimals, "i.e.", "a.m." and an ellipsis before a lower-case word hold; an
  // abbreviation before a capital ("Mrs. Dursley", "U.S. economy", "Dr. Smith")
  // is cut. Quotations stay with the sentence that holds them.
  EXPECT_EQ(ByTypes(english, 0x0409),
            Utf16({"Mr. and Mrs.",
                   "Dursley, of number four, Privet Drive, were proud to say that they were perfectly normal.",
                   "The U.", "S. economy grew 2.5% in Q3, i.e. faster than expected.", "\"Is it over?\" she asked.",
                   "\"Not yet,\" he said.", "Dr.", "Smith arrived at 10 a.m. on Monday...", "Nobody noticed."}));

  // By category alone, every stop after a letter ends a sentence and only
  // capitals and numbers start one: quotes are lost at the start.
  EXPECT_EQ(Extracted(english),
            Utf16({"Mr.", "Mrs.",
                   "Dursley, of number four, Privet Drive, were proud to say that they were perfectly normal.",
                   "The U.", "S.", "2.5% in Q3, i.", "Is it over?", "Not yet,\" he said.", "Dr.",
                   "Smith arrived at 10 a.", "Monday.", "Nobody noticed."}));

  // EndOfSentence looks only at the character after a stop: "Mr." (3), "Mrs."
  // (12), "U.S." (111), "i.e." (141), "a.m." (237) and the first stop of the
  // ellipsis (248) all end sentences; the stops inside them do not.
  EXPECT_EQ(SentenceEnds(U(english)),
            (std::vector<int>{3, 12, 102, 111, 141, 163, 176, 188, 208, 212, 237, 248, 266}));
}

TEST(SentencesInGerman, OrdinalsAbbreviationsAndLowQuotes) {
  const char* text =
      "Am 3. Oktober feiern wir den Tag der Deutschen Einheit. Das Wetter war z. B. schön, d. h. sonnig. "
      "„Kommst du mit?“, fragte sie. Er antwortete nicht. Die Straße ist 2,5 km lang.";
  // An ordinal before a capitalised noun and "z. B." are cut; "d. h." before a
  // lower-case word is not. The closing quote after "?" stays with the question,
  // and the comma and lower-case word after it keep the sentence going.
  EXPECT_EQ(ByTypes(text, 0x0407),
            Utf16({"Am 3.", "Oktober feiern wir den Tag der Deutschen Einheit.", "Das Wetter war z.",
                   "B. schön, d. h. sonnig.", "„Kommst du mit?“, fragte sie.", "Er antwortete nicht.",
                   "Die Straße ist 2,5 km lang."}));
  EXPECT_EQ(Extracted(text), Utf16({"Am 3.", "Oktober feiern wir den Tag der Deutschen Einheit.", "Das Wetter war z.",
                                    "B.", "Kommst du mit?", "Er antwortete nicht.", "Die Straße ist 2,5 km lang."}));
}

TEST(SentencesInPersianAndArabic, ArabicQuestionMarkAndComma) {
  // The Arabic question mark ends a sentence, the Arabic comma does not, and
  // the stop between Persian digits does not.
  const Lines persian = Utf16({"زبان فارسی یکی از زبان‌های هندواروپایی است.", "آیا شما فارسی صحبت می‌کنید؟",
                               "بله، کمی.", "این کتاب ۳.۵ میلیون نسخه فروخته است."});
  const char* persian_text =
      "زبان فارسی یکی از زبان‌های هندواروپایی است. آیا شما فارسی صحبت می‌کنید؟ بله، کمی. "
      "این کتاب ۳.۵ میلیون نسخه فروخته است.";
  EXPECT_EQ(ByTypes(persian_text, 0x0429), persian);
  EXPECT_EQ(Extracted(persian_text), persian) << "caseless letters start sentences";
  EXPECT_EQ(SentenceEnds(U(persian_text)).size(), 4u);

  const char* arabic_text = "ذهب الولد إلى المدرسة. هل رأيت المعلم؟ نعم، رأيته أمس.";
  const Lines arabic = Utf16({"ذهب الولد إلى المدرسة.", "هل رأيت المعلم؟", "نعم، رأيته أمس."});
  EXPECT_EQ(ByTypes(arabic_text, 0x0401), arabic);
  EXPECT_EQ(Extracted(arabic_text), arabic);
}

TEST(SentencesInChineseAndJapanese, IdeographicStopsWithoutBlanks) {
  const char* chinese_text = "今天天气很好。我们去公园散步吧！你觉得怎么样？好的，我们走吧。";
  const Lines chinese = Utf16({"今天天气很好。", "我们去公园散步吧！", "你觉得怎么样？", "好的，我们走吧。"});
  EXPECT_EQ(ByTypes(chinese_text, 0x0804), chinese);
  EXPECT_EQ(Extracted(chinese_text), chinese);
  EXPECT_EQ(SentenceEnds(U(chinese_text)), (std::vector<int>{7, 16, 23, 31}));

  // An opening corner bracket after a full stop begins the next sentence.
  const char* japanese_text =
      "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"
      "「何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。」";
  EXPECT_EQ(ByTypes(japanese_text, 0x0411),
            Utf16({"吾輩は猫である。", "名前はまだ無い。", "どこで生れたかとんと見当がつかぬ。",
                   "「何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。」"}));
  // By category, the brackets are neither starts nor ends.
  EXPECT_EQ(Extracted(japanese_text),
            Utf16({"吾輩は猫である。", "名前はまだ無い。", "どこで生れたかとんと見当がつかぬ。",
                   "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。"}));
  EXPECT_EQ(SentenceEnds(U(japanese_text)).size(), 4u);
}

TEST(SentencesInHindi, DandaAndDoubleDanda) {
  const char* text = "भारत एक विशाल देश है। यहाँ अनेक भाषाएँ बोली जाती हैं। क्या आप हिंदी बोलते हैं? हाँ, थोड़ी-सी॥ धन्यवाद।";
  const Lines hindi = Utf16({"भारत एक विशाल देश है।", "यहाँ अनेक भाषाएँ बोली जाती हैं।", "क्या आप हिंदी बोलते हैं?",
                             "हाँ, थोड़ी-सी॥", "धन्यवाद।"});
  EXPECT_EQ(ByTypes(text, 0x0439), hindi);
  EXPECT_EQ(Extracted(text), hindi) << "vowel signs count as marks, not as starts";
  EXPECT_EQ(SentenceEnds(U(text)).size(), 5u);
}

}  // namespace
}  // namespace quill
