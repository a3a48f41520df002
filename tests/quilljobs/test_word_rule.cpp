// The words the rule finds: the block-wise search for word edges against a
// plain walk over the classes, on texts long enough to cross its blocks, with
// the processor's widest vectors and limited to the narrow ones.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "quilljobs/word_rule.h"
#include "quillrt/platform/vector_width.h"
#include "quillrt/text/class_bits.h"

namespace quill::jobs {
namespace {

std::vector<WordSpan> WordsByPlainWalk(const ClassifiedText& classified, std::size_t length) {
  std::vector<WordSpan> words;
  for (std::size_t i = 0; i < length;) {
    if (!IsWordClass(classified.classes[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < length && IsWordClass(classified.classes[i])) ++i;
    words.push_back({start, i});
  }
  return words;
}

void ExpectSameWords(const std::u16string& text) {
  ClassifiedText classified;
  ClassifyText(text, WordRule{}, classified);
  std::vector<WordSpan> found;
  FindWords(classified, text.size(), found);
  const std::vector<WordSpan> expected = WordsByPlainWalk(classified, text.size());
  ASSERT_EQ(found.size(), expected.size());
  for (std::size_t k = 0; k < found.size(); ++k) {
    EXPECT_EQ(found[k].start, expected[k].start) << "word " << k;
    EXPECT_EQ(found[k].end, expected[k].end) << "word " << k;
  }
  EXPECT_EQ(CountWordStarts(classified, 0, text.size()), expected.size());
  // Counts and starts from any place: every word's own start, one past it
  // (inside the word, which starts before), and its end.
  for (std::size_t k = 0; k < expected.size(); k += 1 + expected.size() / 50) {
    EXPECT_EQ(CountWordStarts(classified, 0, expected[k].start), k);
    EXPECT_EQ(CountWordStarts(classified, expected[k].start + 1, text.size()), expected.size() - k - 1);
    EXPECT_EQ(StartOfWordBefore(classified, expected[k].end, 1), expected[k].start);
    EXPECT_EQ(StartOfWordBefore(classified, expected[k].start + 1, k + 1), expected[0].start);
  }
  EXPECT_EQ(StartOfWordBefore(classified, text.size(), expected.size() + 1), 0u);
}

void ExpectSameWordsInEveryBlockSize() {
  ExpectSameWords(u"");
  ExpectSameWords(u"word");
  ExpectSameWords(u"  don't stop, well-known <b>tags</b> ");
  // A word that runs over a block's end, one that ends right at it, one that
  // starts right after it, and a text that ends inside a word.
  for (const std::size_t edge : {4095u, 4096u, 4097u, 8191u, 8192u}) {
    std::u16string text(edge, u' ');
    text.replace(edge - 3, 3, u"abc");
    text += u"def ghi";
    ExpectSameWords(text);
    ExpectSameWords(text.substr(0, edge));
    ExpectSameWords(std::u16string(edge, u'w'));
  }
  std::mt19937 random(7);
  const std::u16string alphabet = u"ab1 .,-'\u00e9\u05d0\n<>";
  std::u16string text;
  for (int i = 0; i < 30000; ++i) text += alphabet[random() % alphabet.size()];
  ExpectSameWords(text);
}

TEST(WordRuleWords, EdgesAreFoundAcrossBlocksAsByAPlainWalk) {
  for (const bool narrow : {false, true}) {
    SCOPED_TRACE(narrow ? "narrow vectors" : "widest vectors");
    LimitToNarrowVectors(narrow);
    ExpectSameWordsInEveryBlockSize();
  }
  LimitToNarrowVectors(false);
}

}  // namespace
}  // namespace quill::jobs
