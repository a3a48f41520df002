#include <gtest/gtest.h>

#include <random>

#include "quillrt/analysis/repeated_chunks.h"
#include "quillrt/analysis/substring_search.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/sysutils.h"
#include "test_support.h"
#include "word_list_test_helpers.h"

namespace quill {
namespace {

using testing::YieldHookScope;

// 120 characters of text that occur nowhere else in the tests' texts.
UnicodeString Block(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> letter(0, 25);
  UnicodeString block;
  for (int i = 0; i < 120; ++i) block.push_back(static_cast<char16_t>(u'a' + letter(random)));
  return block;
}

struct Chunk {
  std::string text;
  int count, first;
  friend bool operator==(const Chunk&, const Chunk&) = default;
};

std::vector<Chunk> ChunksOf(const TStringListWith2LongintList& list) {
  std::vector<Chunk> chunks;
  for (int i = 0; i < list.Count(); ++i) {
    T2_longint_rec rec;
    list.GetOne(i, rec);
    chunks.push_back({Utf16ToUtf8(list[i]), rec.long0, rec.long1});
  }
  return chunks;
}

TEST(SubstringSearcher, FindsEveryOccurrenceIncludingOverlaps) {
  const TSubstringSearcher ab(u"abab");
  EXPECT_EQ(ab.Find(u"xxababab", 0), 2u);
  EXPECT_EQ(ab.Find(u"xxababab", 3), 4u);
  EXPECT_EQ(ab.Find(u"xxababab", 5), TSubstringSearcher::npos);
  EXPECT_EQ(ab.Find(u"aba", 0), TSubstringSearcher::npos);
  EXPECT_EQ(ab.Find(u"abab", 9), TSubstringSearcher::npos) << "a start beyond the text";
  EXPECT_EQ(ab.CountIn(u"abababab"), 3);
  EXPECT_EQ(TSubstringSearcher(u"").CountIn(u"abc"), 0);
  // Units that share a low byte must not let the search jump over a match.
  const TSubstringSearcher wide(u"\u0161x\u0061");
  EXPECT_EQ(wide.Find(u"\u0061\u0161x\u0061\u0161", 0), 1u);
}

TEST(RepeatedXCharChunks, ShortChunksAreNeverSearched) {
  const UnicodeString text = Block(1) + Block(1) + Block(1);
  EXPECT_EQ(RepeatedXCharChunks(50, 1, 10, text, nullptr)->Count(), 0);
  EXPECT_EQ(RepeatedXCharChunks(100, 1, 10, text, nullptr)->Count(), 0);
  EXPECT_EQ(RepeatedXCharChunks(0, 1, 10, text, nullptr)->Count(), 0) << "and no endless loop";
  EXPECT_EQ(RepeatedXCharChunks(-5, 1, 10, text, nullptr)->Count(), 0);
}

TEST(RepeatedXCharChunks, CountsRepeatsAfterTheChunkWithTheFirstPosition) {
  const UnicodeString a = Block(1), b = Block(2);
  // a b a b a: the first a is found at 241 and 481, the second b at 361; the
  // a at 241 meets its own line again (one more repeat, at 481).
  const auto list = RepeatedXCharChunks(120, 1, 10, a + b + a + b + a, nullptr);
  const std::vector<Chunk> expected = {{Utf16ToUtf8(a), 3, 241}, {Utf16ToUtf8(b), 1, 361}};
  EXPECT_EQ(ChunksOf(*list), expected);
  // min_freq leaves out chunks repeated too rarely.
  EXPECT_EQ(ChunksOf(*RepeatedXCharChunks(120, 2, 10, a + b + a + b + a, nullptr)),
            (std::vector<Chunk>{{Utf16ToUtf8(a), 3, 241}}));
  // Also when there is a single chunk to leave out.
  EXPECT_EQ(RepeatedXCharChunks(120, 2, 10, a + b + a, nullptr)->Count(), 0);
}

TEST(RepeatedXCharChunks, TrimsChunksAndCountsOverlaps) {
  UnicodeString text = u"  ";
  for (int i = 0; i < 200; ++i) text += u"ab";
  // The first chunk "  abab...a" (120) trims to 118 characters starting "ab",
  // found again at every second position after it.
  const auto list = RepeatedXCharChunks(120, 1, 100, text, nullptr);
  ASSERT_GE(list->Count(), 1);
  T2_longint_rec first;
  list->GetOne(list->IndexOf(Trim(text.substr(0, 120))), first);
  EXPECT_EQ(first.long1, 121) << "searched from just after the untrimmed chunk";
  EXPECT_EQ(first.long0, 83) << "every second position from 121 to 285";
}

TEST(RepeatedXCharChunks, StopsOnceEnoughLinesRepeatAndReportsProgress) {
  const UnicodeString a = Block(1), b = Block(2), c = Block(3);
  const UnicodeString text = a + b + c + a + a + b + b + c + c;
  std::vector<int> reports;
  const auto all = RepeatedXCharChunks(120, 1, 10, text, [&](std::int32_t p) { reports.push_back(p); });
  EXPECT_EQ(all->Count(), 3);
  // Chunks end at 121, 241, ... 961 of 1080 characters (the last block is not taken).
  EXPECT_EQ(reports.front(), 121 * 100 / 1080);
  EXPECT_EQ(reports.back(), 961 * 100 / 1080);
  EXPECT_EQ(reports.size(), 8u);
  // With max_repeated 1: a's search ends once a line exists that repeats.
  const auto few = RepeatedXCharChunks(120, 1, 1, text, nullptr);
  EXPECT_EQ(ChunksOf(*few), (std::vector<Chunk>{{Utf16ToUtf8(a), 2, 361}}));
}

// ---- TStringlistWithListOfOccurrences -------------------------------------------

TEST(StringlistWithListOfOccurrences, AddsFrequenciesPerFileIgnoringCase) {
  TStringlistWithListOfOccurrences list;
  EXPECT_EQ(list.AddOrIncOneByFreq(u"The end.", 0, 2), 0);
  EXPECT_EQ(list.AddOrIncOneByFreq(u"THE END.", 0, 3), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0], u"The end.");
  ASSERT_EQ(list.GetAListOfOccurrences(0)->Count(), 1);
  T2_longint_rec rec;
  list.GetAListOfOccurrences(0)->GetADouble(0, rec);
  EXPECT_EQ(rec.long0, 0);
  EXPECT_EQ(rec.long1, 5);
  EXPECT_EQ(list.Repeateds(), 0);

  EXPECT_EQ(list.AddOrIncOneByFreq(u"The end.", 4, 1), 0);
  EXPECT_EQ(list.GetAListOfOccurrences(0)->Count(), 2);
  EXPECT_EQ(list.Repeateds(), 1);
  EXPECT_EQ(list.GetAListOfOccurrences(1), nullptr);
  EXPECT_EQ(list.GetAListOfOccurrences(-1), nullptr);
}

TEST(StringlistWithListOfOccurrences, FindsLinesAfterDeletesAndSorts) {
  TStringlistWithListOfOccurrences list;
  list.AddOrIncOneByFreq(u"a", 0, 1);
  list.AddOrIncOneByFreq(u"b", 0, 1);
  list.AddOrIncOneByFreq(u"c", 0, 1);
  list.Delete(0);
  EXPECT_EQ(list.AddOrIncOneByFreq(u"c", 1, 1), 1);
  EXPECT_EQ(list.AddOrIncOneByFreq(u"a", 1, 1), 2);
  list.Exchange(0, 2);
  EXPECT_EQ(list.AddOrIncOneByFreq(u"b", 1, 1), 2);
  list.Delete(7);  // out of range: nothing
  EXPECT_EQ(list.Count(), 3);
  list.Clear();
  EXPECT_EQ(list.AddOrIncOneByFreq(u"b", 1, 1), 0);
  // A line added without an occurrence list gets one when first counted.
  list.Add(u"plain");
  EXPECT_EQ(list.AddOrIncOneByFreq(u"PLAIN", 3, 2), 1);
  ASSERT_NE(list.GetAListOfOccurrences(1), nullptr);
  EXPECT_EQ(list.GetAListOfOccurrences(1)->Count(), 1);
}

TEST(StringlistWithListOfOccurrences, SortsByTotalFrequencyAndByFirstFile) {
  TStringlistWithListOfOccurrences list;
  list.AddOrIncOneByFreq(u"b", 2, 1);
  list.AddOrIncOneByFreq(u"b", 0, 4);  // total 5, first file 2
  list.AddOrIncOneByFreq(u"a", 1, 5);  // total 5, first file 1
  list.AddOrIncOneByFreq(u"c", 0, 9);  // total 9, first file 0
  list.AddOrIncOneByFreq(u"d", 1, 1);  // total 1, first file 1
  list.SortAllOccurrencesFreqDescending();
  EXPECT_EQ(list.ToStringArray(), (std::vector<UnicodeString>{u"c", u"b", u"a", u"d"}));
  list.SortAllOccurrencesFileAscending();
  EXPECT_EQ(list.ToStringArray(), (std::vector<UnicodeString>{u"c", u"d", u"a", u"b"}));
  // Each line keeps its own occurrences through the sorts.
  EXPECT_EQ(list.GetAListOfOccurrences(3)->Count(), 2);
}

// ---- TRepeatedChunks ------------------------------------------------------------

class RepeatedSentences : public ::testing::Test {
 protected:
  UnicodeString Write(const std::string& name, const std::string& text) {
    testing::WriteText(dir_.Path(name), text);
    return dir_.File(name);
  }
  testing::TempDir dir_;
  TRepeatedChunks finder_;
};

TEST_F(RepeatedSentences, RecordsSentencesPerFileWithTheirCounts) {
  std::vector<int> overall, totals;
  finder_.SetSettings(false, 20, 1, 3, nullptr, [&](std::int32_t p) { overall.push_back(p); },
                      [&](std::int32_t n) { totals.push_back(n); });
  const UnicodeString one = Write("one.txt",
                                  "The cat sat on the mat. Dogs <b>bark</b> loudly.\r\n"
                                  "The cat sat on the mat.\r\n"
                                  "the lower start is passed over. Birds sing.\r\n"
                                  "No line end here.");  // loading ends every line with CR LF
  const UnicodeString two = Write("two.txt", "Birds sing.\r\nTHE CAT SAT ON THE MAT.\r\n");
  ASSERT_EQ(finder_.LoadATextFile(one), 0);
  EXPECT_EQ(finder_.txt.find(u"<b>"), UnicodeString::npos) << "markup removed on loading";
  finder_.AddToRepeatedSentencesInTxt(0, 2);
  ASSERT_EQ(finder_.LoadATextFile(two), 1);
  finder_.AddToRepeatedSentencesInTxt(1, 2);
  EXPECT_EQ(overall, (std::vector<int>{0, 50}));
  EXPECT_EQ(totals, (std::vector<int>{4, 4}));

  TStringlistWithListOfOccurrences& chunks = *finder_.chunks_list;
  EXPECT_EQ(chunks.ToStringArray(),
            (std::vector<UnicodeString>{u"The cat sat on the mat.", u"Dogs bark loudly.", u"Birds sing.",
                                        u"No line end here."}));
  const auto occurrences = [&](int line) {
    std::vector<std::pair<int, int>> records;
    for (int r = 0; r < chunks.GetAListOfOccurrences(line)->Count(); ++r) {
      T2_longint_rec rec;
      chunks.GetAListOfOccurrences(line)->GetADouble(r, rec);
      records.emplace_back(rec.long0, rec.long1);
    }
    return records;
  };
  // Counted once per file over the whole text; the upper-case copy in file 1
  // occurs once there (counting is exact).
  EXPECT_EQ(occurrences(0), (std::vector<std::pair<int, int>>{{0, 2}, {1, 1}}));
  EXPECT_EQ(occurrences(2), (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}}));
  EXPECT_EQ(chunks.Repeateds(), 2);
  EXPECT_EQ(finder_.GetAFilename(1), two);
  EXPECT_TRUE(finder_.GetAFilename(2).empty());

  finder_.SortDescendingFreq();
  EXPECT_EQ(chunks[0], u"The cat sat on the mat.");
  finder_.Clear();
  EXPECT_EQ(chunks.Count(), 0);
  EXPECT_EQ(finder_.fnames->Count(), 0);
}

TEST_F(RepeatedSentences, MinHitsAndMissingFiles) {
  finder_.SetSettings(false, 20, 2, 3, nullptr, nullptr, nullptr);
  ASSERT_EQ(finder_.LoadATextFile(Write("a.txt", "Once only.\r\nTwice here.\r\nTwice here.\r\n")), 0);
  finder_.AddToRepeatedSentencesInTxt(0, 1);
  EXPECT_EQ(finder_.chunks_list->ToStringArray(), (std::vector<UnicodeString>{u"Twice here."}));
  const UnicodeString before = finder_.txt;
  EXPECT_EQ(finder_.LoadATextFile(dir_.File("missing.txt")), -1);
  EXPECT_EQ(finder_.txt, before);
  EXPECT_EQ(finder_.fnames->Count(), 1);
}

TEST_F(RepeatedSentences, StopEndsTheScanBeforeTheNextParagraph) {
  finder_.SetSettings(false, 20, 1, 3, nullptr, nullptr, nullptr);
  finder_.txt = u"First one here. Second one here.\r\nThird one here.\r\nFourth one here.\r\n";
  YieldHookScope hook([&] { finder_.Stop(); });
  finder_.AddToRepeatedSentencesInTxt(0, 1);
  EXPECT_EQ(finder_.chunks_list->ToStringArray(),
            (std::vector<UnicodeString>{u"First one here.", u"Second one here."}));
  // A direct call with processing cleared scans nothing.
  EXPECT_EQ(finder_.AddedToRepeatedSentencesInTxt(1, u"Another one.\r\n"), 0);
}

TEST_F(RepeatedSentences, MissingResultListRaises) {
  finder_.chunks_list.reset();
  try {
    finder_.AddToRepeatedSentencesInTxt(0, 1);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "list not assigned");
  }
  try {
    finder_.AddedToRepeatedSentencesInTxt(0, u"Some text.\r\n");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "chunks_list not assigned");
  }
  finder_.SortDescendingFreq();  // nothing to sort, nothing raised
  finder_.Clear();
}

}  // namespace
}  // namespace quill
