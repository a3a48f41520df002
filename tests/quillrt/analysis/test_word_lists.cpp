#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "quillrt/analysis/ascii_collation.h"
#include "quillrt/analysis/word_batch.h"
#include "quillrt/analysis/word_boundaries.h"
#include "quillrt/analysis/word_frequency_table.h"
#include "quillrt/analysis/word_lists.h"
#include "test_support.h"
#include "word_list_test_helpers.h"

namespace quill {
namespace {

using testing::Counts;
using testing::CountsOf;
using testing::DefaultLocale;
using testing::YieldHookScope;

TEST(BasicWordCount, CountsRunsOfLettersAndDigits) {
  EXPECT_EQ(BasicWordCount(u""), 0);
  EXPECT_EQ(BasicWordCount(u"a-b c"), 3);
  EXPECT_EQ(BasicWordCount(u"  abc123,x9 "), 2);
  EXPECT_EQ(BasicWordCount(u"...!"), 0);
  EXPECT_EQ(BasicWordCount(u"\u65E5\u672C \u0928\u092E"), 2) << "letters of any script";
  // Units of a surrogate pair are no letters: the emoji splits the word.
  EXPECT_EQ(BasicWordCount(u"ab\U0001F600cd"), 2);
}

TEST(SimpleWordListOfTxt, CountsWordsIgnoringCaseSpelledAsFirstMet) {
  const auto list = SimpleWordListOfTxt(u"The cat saw the CAT", 1, false);
  EXPECT_TRUE(list->Sorted());
  EXPECT_FALSE(list->CaseSensitive());
  EXPECT_EQ(CountsOf(*list), (Counts{{"cat", 2}, {"saw", 1}, {"The", 2}}));
  EXPECT_EQ(SimpleWordListOfTxt(u"The cat saw the CAT", 4, false)->Count(), 0);
  EXPECT_EQ(CountsOf(*SimpleWordListOfTxt(u"The cat saw the CAT", 3, false)),
            (Counts{{"cat", 2}, {"saw", 1}, {"The", 2}}));
  EXPECT_EQ(SimpleWordListOfTxt(u"", 1, false)->Count(), 0);
  // The last word of the text counts too.
  EXPECT_EQ(CountsOf(*SimpleWordListOfTxt(u"x y", 0, false)), (Counts{{"x", 1}, {"y", 1}}));
}

TEST(SimpleWordListOfTxt, ByFrequencyMostFrequentFirstTiesByCodeUnits) {
  const auto list = SimpleWordListOfTxt(u"b a c. The cat saw the CAT a", 1, true);
  EXPECT_FALSE(list->Sorted());
  // "The" (T = U+0054) before "a" and "cat": ties go by code units, not by the locale.
  EXPECT_EQ(CountsOf(*list), (Counts{{"The", 2}, {"a", 2}, {"cat", 2}, {"b", 1}, {"c", 1}, {"saw", 1}}));
}

// The list a sorted, case-insensitive string list holds after adding every
// word in turn: the behaviour the hash-based count must reproduce.
Counts ReferenceWordList(const UnicodeString& text, std::size_t min_length) {
  TStringList list;
  list.SetSorted(true);
  auto add = [&](const UnicodeString& word) {
    if (word.size() < min_length) return;
    int at;
    if (list.Find(word, at))
      list.PutObject(at, TObjectRef::FromInt(list.GetObject(at).AsInt() + 1));
    else
      list.AddObject(word, TObjectRef::FromInt(1));
  };
  UnicodeString word;
  for (const WideChar c : text) {
    if (IsLetterOrDigitChar(c)) {
      word.push_back(c);
      continue;
    }
    if (!word.empty()) add(word);
    word.clear();
  }
  if (!word.empty()) add(word);
  return CountsOf(list);
}

TEST(SimpleWordListOfTxt, SameListAsSortedInsertionOverMixedScriptsAndCases) {
  // Spellings that fold alike, fold differently but compare equal, or only
  // look alike: sharp s, final sigma, the angstrom sign against A-ring, a
  // Hangul syllable against its letters, a ligature, full-width letters,
  // dotted and dotless i.
  const std::vector<UnicodeString> words = {
      u"Stra\u00DFe", u"STRASSE", u"strasse", u"\u00C9t\u00E9", u"\u00E9t\u00E9", u"ete", u"\u00C9T\u00C9",
      u"\u03A3\u039F\u03A6\u039F\u03A3", u"\u03C3\u03BF\u03C6\u03BF\u03C2", u"\u03C3\u03BF\u03C6\u03BF\u03C3",
      u"\u212Bngstr\u00F6m", u"\u00C5ngstr\u00F6m", u"\u00E5ngstr\u00F6m", u"\uAC00", u"\u1100\u1161",
      u"\uFB01le", u"file", u"FILE", u"\uFF21\uFF22", u"ab", u"AB", u"\u0130stanbul", u"istanbul", u"ISTANBUL",
      u"\u01C5emal", u"\u01C4EMAL", u"123", u"x1", u"X1", u"the", u"The", u"THE", u"a", u"zebra", u"Zebra"};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  const UnicodeString separators[] = {u" ", u", ", u".\r\n", u"-", u"  "};
  UnicodeString text;
  for (int i = 0; i < 3000; ++i) {
    text += words[pick(random)];
    text += separators[pick(random) % 5];
  }
  for (const int min_length : {1, 3}) {
    const Counts expected = ReferenceWordList(text, static_cast<std::size_t>(min_length));
    const auto list = SimpleWordListOfTxt(text, min_length, false);
    EXPECT_EQ(CountsOf(*list), expected) << "min_length " << min_length;
    // The list is handed over as Sorted without a check of its own: each
    // line must stand strictly after the one before, as a sorted list's
    // searches assume.
    ASSERT_TRUE(list->Sorted());
    for (int i = 1; i < list->Count(); ++i)
      EXPECT_LT(list->CompareStrings((*list)[i - 1], (*list)[i]), 0) << Utf16ToUtf8((*list)[i]);
  }
}

TEST(SimpleWordListOfTxt, CallsTheYieldHookOncePerCharacter) {
  int calls = 0;
  YieldHookScope hook([&] { ++calls; });
  const UnicodeString text = u"one two, three.\r\nfour";
  SimpleWordListOfTxt(text, 1, true);
  EXPECT_EQ(calls, static_cast<int>(text.size()));
}

TEST(SimpleWordListOfTxt, BlockScanAgreesWithTheCharacterLoop) {
  // Without a hook the words are found 64 units at a time; with one, one
  // character at a time. Words straddling blocks, non-ASCII units at every
  // offset and the text's last unit must come out the same either way.
  std::mt19937 random(11);
  const UnicodeString pieces[] = {u"a", u"Bc", u"x9", u" ", u", ", u"\u00E9", u"\u00C9", u"\u4E00", u"-", u"\r\n",
                                  u"\U0001F600", u"\u0301", u"Zz", u"0"};
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int round = 0; round < 40; ++round) {
    UnicodeString text;
    const int length = 1 + round * 7;
    while (static_cast<int>(text.size()) < length) text += pieces[pick(random)];
    const Counts quick = CountsOf(*SimpleWordListOfTxt(text, 1, false));
    Counts yielding;
    {
      YieldHookScope hook([] {});
      yielding = CountsOf(*SimpleWordListOfTxt(text, 1, false));
    }
    ASSERT_EQ(quick, yielding) << Utf16ToUtf8(text);
    ASSERT_EQ(quick, ReferenceWordList(text, 1)) << Utf16ToUtf8(text);
  }
}

TEST(WordFrequencyTable, MergesListsAndLimitsTheOutput) {
  TWordFrequencyTable table;
  table.AddList(*SimpleWordListOfTxt(u"Alpha beta beta", 1, false));
  table.AddList(*SimpleWordListOfTxt(u"BETA alpha gamma", 1, false));
  EXPECT_EQ(table.Total(), 6);
  EXPECT_EQ(CountsOf(*table.ToStringList(false)), (Counts{{"Alpha", 2}, {"beta", 3}, {"gamma", 1}}));
  EXPECT_EQ(CountsOf(*table.ToStringList(true, 2)), (Counts{{"beta", 3}, {"Alpha", 2}}));
  EXPECT_EQ(CountsOf(*table.ToStringList(true, 1, 1)), (Counts{{"beta", 3}}));
  // Two tables added up are the table of both texts: counts, and the first
  // spelling met of each word.
  TWordFrequencyTable first, second, both;
  CountWordsOfTxt(u"Alpha beta beta", 1, first);
  CountWordsOfTxt(u"BETA alpha gamma Delta", 1, second);
  CountWordsOfTxt(u"Alpha beta beta BETA alpha gamma Delta", 1, both);
  first.AddTable(second);
  EXPECT_EQ(first.Total(), both.Total());
  EXPECT_EQ(first.Entries(), both.Entries());
  EXPECT_EQ(CountsOf(*first.ToStringList(false)), CountsOf(*both.ToStringList(false)));
  EXPECT_EQ(CountsOf(*first.ToStringList(false)), (Counts{{"Alpha", 2}, {"beta", 3}, {"Delta", 1}, {"gamma", 1}}));
  // Counts saturate instead of wrapping round, and the list's int32 clamps them.
  TWordFrequencyTable huge;
  huge.Add(u"x", 5'000'000'000);
  CountWordsOfTxt(u"x X x", 1, huge);
  EXPECT_EQ(huge.ToStringList(false)->GetObject(0).AsInt(), INT32_MAX);
  // A table that grows well past its first size keeps every count.
  TWordFrequencyTable big;
  for (int round = 0; round < 3; ++round)
    for (int i = 0; i < 5000; ++i) big.Add(Utf8ToUtf16(std::to_string(i)));
  EXPECT_EQ(big.Entries(), 5000);
  const auto list = big.ToStringList(true);
  EXPECT_EQ(list->Count(), 5000);
  EXPECT_EQ(list->GetObject(4999).AsInt(), 3);
}

// Parts of a text counted on several tables, each taking its parts in order,
// and merged: the table of counting every part in order on one. The parts
// spell words differently (so first spellings tell the order apart), hold
// canonically equivalent spellings that fold apart (so the order of entries
// matters for the line they share), and one is large enough for the table's
// slots to reach the size that is mapped on its own.
TEST(WordFrequencyTable, TablesOfInterleavedPartsMergeToTheTableOfAll) {
  std::mt19937 random(7);
  const std::vector<std::u16string> spellings = {u"Alpha", u"ALPHA", u"alpha", u"Beta", u"beta", u"caf\u00e9",
                                                 u"cafe\u0301", u"CAF\u00c9", u"delta", u"Delta"};
  std::vector<std::u16string> parts;
  for (int p = 0; p < 12; ++p) {
    std::u16string text;
    for (int w = 0; w < 40; ++w) text += spellings[random() % spellings.size()] + u" ";
    parts.push_back(text);
  }
  std::u16string many;
  for (int i = 0; i < 40000; ++i) many += u"w" + Utf8ToUtf16(std::to_string(i)) + u" ";
  parts[5] += many;

  TWordFrequencyTable whole;
  for (std::size_t p = 0; p < parts.size(); ++p) {
    whole.SetPart(static_cast<std::uint32_t>(p));
    CountWordsOfTxt(parts[p], 1, whole);
  }
  for (int trial = 0; trial < 4; ++trial) {
    std::vector<TWordFrequencyTable> tables(3);
    for (std::size_t p = 0; p < parts.size(); ++p) {
      TWordFrequencyTable& table = tables[random() % tables.size()];
      table.SetPart(static_cast<std::uint32_t>(p));
      CountWordsOfTxt(parts[p], 1, table);
    }
    tables[0].MergeParts(tables[1]);
    tables[0].MergeParts(tables[2]);
    EXPECT_EQ(tables[0].Total(), whole.Total());
    EXPECT_EQ(tables[0].Entries(), whole.Entries());
    EXPECT_EQ(CountsOf(*tables[0].ToStringList(false)), CountsOf(*whole.ToStringList(false)));
    EXPECT_EQ(CountsOf(*tables[0].ToStringList(true)), CountsOf(*whole.ToStringList(true)));
  }
  // Canonically equivalent spellings fold apart but share a line, named by
  // the entry met first: the merge must order entries, not only spellings.
  TWordFrequencyTable later, earlier, in_order;
  later.SetPart(1);
  later.Add(u"caf\u00e9");
  earlier.SetPart(0);
  earlier.Add(u"zeta");
  earlier.Add(u"cafe\u0301");
  for (const std::u16string_view word : {u"zeta", u"cafe\u0301", u"caf\u00e9"}) in_order.Add(word);
  later.MergeParts(earlier);
  EXPECT_EQ(CountsOf(*later.ToStringList(false)), CountsOf(*in_order.ToStringList(false)));
  EXPECT_EQ(CountsOf(*in_order.ToStringList(false)).size(), 2u);
  // A table merged with an empty one is unchanged, and the other way round.
  TWordFrequencyTable empty, copy;
  copy.SetPart(0);
  CountWordsOfTxt(parts[0], 1, copy);
  const Counts before = CountsOf(*copy.ToStringList(false));
  copy.MergeParts(empty);
  EXPECT_EQ(CountsOf(*copy.ToStringList(false)), before);
  empty.MergeParts(copy);
  EXPECT_EQ(CountsOf(*empty.ToStringList(false)), before);
  EXPECT_THROW(copy.MergeParts(copy), std::invalid_argument);
}

// Room made at once, before counting or halfway through, changes nothing
// but the table's size.
TEST(WordFrequencyTable, RoomMadeAtOnceKeepsWhatWasCounted) {
  std::u16string text;
  for (int i = 0; i < 5000; ++i) text += u"w" + Utf8ToUtf16(std::to_string(i % 1700)) + (i % 3 ? u" " : u" The ");
  TWordFrequencyTable plain, reserved_first, reserved_halfway;
  reserved_first.Reserve(100000);
  CountWordsOfTxt(text, 1, plain);
  CountWordsOfTxt(text, 1, reserved_first);
  const std::size_t half = text.find(u' ', text.size() / 2);  // between two words
  CountWordsOfTxt(text.substr(0, half), 1, reserved_halfway);
  reserved_halfway.Reserve(3000);
  reserved_halfway.Reserve(10);  // never shrinks
  CountWordsOfTxt(text.substr(half), 1, reserved_halfway);
  for (const TWordFrequencyTable* table : {&reserved_first, &reserved_halfway}) {
    EXPECT_EQ(table->Entries(), plain.Entries());
    EXPECT_EQ(table->Total(), plain.Total());
    EXPECT_EQ(CountsOf(*table->ToStringList(true)), CountsOf(*plain.ToStringList(true)));
  }
}

// A word's key takes one of three forms (ASCII bytes up to sixteen
// characters, other short keys as UTF-16 units, long keys apart): whichever
// way a word reaches the table (one at a time, in a batch of UTF-16 text or of
// ASCII bytes, near the text's end or not) it must land on the same entry.
TEST(WordBatch, EveryWayOfAddingAWordCountsItOnTheSameEntry) {
  std::mt19937 random(11);
  const std::u16string letters = u"aAbBzZ09'-\u00e9\u00c9\u0131";
  std::vector<std::u16string> words;
  for (const std::size_t length : {1, 7, 8, 9, 15, 16, 17, 24}) {
    for (int k = 0; k < 6; ++k) {
      std::u16string word;
      for (std::size_t i = 0; i < length; ++i) word += letters[random() % (k < 3 ? 8 : letters.size())];
      words.push_back(word);
    }
  }
  for (int trial = 0; trial < 20; ++trial) {
    std::vector<std::u16string> chosen;
    for (int w = 0; w < 300; ++w) chosen.push_back(words[random() % words.size()]);
    std::u16string text;
    std::vector<std::size_t> at;
    for (const std::u16string& word : chosen) {
      at.push_back(text.size());
      text += word + u" ";
    }
    text.pop_back();  // the last word ends the text: read without room to spare

    TWordFrequencyTable one_at_a_time, batched;
    for (const std::u16string& word : chosen) one_at_a_time.Add(word);
    {
      WordBatch batch(batched, text);
      for (std::size_t w = 0; w < chosen.size(); ++w) batch.Add(text.data() + at[w], chosen[w].size());
      batch.Flush();
    }
    EXPECT_EQ(batched.Entries(), one_at_a_time.Entries());
    EXPECT_EQ(CountsOf(*batched.ToStringList(false)), CountsOf(*one_at_a_time.ToStringList(false)));

    // The ASCII words again, as bytes, into a table that already holds them
    // from UTF-16 text (and merged into it from another part).
    std::string bytes;
    std::vector<std::size_t> ascii_at, ascii_length;
    for (const std::u16string& word : chosen) {
      if (!std::all_of(word.begin(), word.end(), [](char16_t c) { return c < 0x80; })) continue;
      ascii_at.push_back(bytes.size());
      ascii_length.push_back(word.size());
      bytes.append(word.begin(), word.end());
      bytes += ' ';
    }
    TWordFrequencyTable from_bytes;
    from_bytes.SetPart(1);
    {
      WordBatch batch(from_bytes, std::string_view(bytes));
      for (std::size_t w = 0; w < ascii_at.size(); ++w) batch.AddAscii(bytes.data() + ascii_at[w], ascii_length[w]);
      batch.Flush();
      WordBatch again(batched, std::string_view(bytes));
      for (std::size_t w = 0; w < ascii_at.size(); ++w) again.AddAscii(bytes.data() + ascii_at[w], ascii_length[w]);
      again.Flush();
    }
    EXPECT_EQ(batched.Entries(), one_at_a_time.Entries()) << "ASCII bytes found entries of their own";
    TWordFrequencyTable merged;
    for (const std::u16string& word : chosen) merged.Add(word);
    merged.MergeParts(from_bytes);
    EXPECT_EQ(CountsOf(*merged.ToStringList(true)), CountsOf(*batched.ToStringList(true)));
    TWordFrequencyTable added;
    added.AddTable(from_bytes);
    for (std::size_t w = 0; w < ascii_at.size(); ++w)
      EXPECT_FALSE(added.Add(Utf8ToUtf16(bytes.substr(ascii_at[w], ascii_length[w])))) << "a word met again opened an entry";
  }
}

// Lists of ASCII words skip the sort keys and the comparison of neighbours
// where the locale orders such words by their characters. In locales that do
// (one with capital I apart from i, one that puts vowels first, one that puts
// capitals first) and in locales that do not (contractions, letters told
// apart only at the second level, punctuation ignored, digits as numbers),
// the list must be the one the sort keys give: that of the same table with
// one word more that is not ASCII (which takes the list the general way),
// that word's line aside. Where folding keeps apart what the locale keeps
// apart (not Turkish I and i, not Danish "aA" and "aa", a contraction only in
// one case), it is also the list sorted insertion gives.
TEST(WordFrequencyTable, ListsOfAsciiWordsFollowTheLocaleWhereverItOrdersThem) {
  const struct {
    const char* locale;
    bool by_characters;
    bool folds_as_it_compares;
  } locales[] = {{"en_US", true, true},  {"tr_TR", true, false}, {"haw", true, true}, {"de@colCaseFirst=upper", true, true},
                 {"da_DK", false, false}, {"lt", false, true},    {"th", false, true}, {"en@colNumeric=yes", false, true}};
  std::mt19937 random(13);
  const std::u16string alphabet = u"aAbBhHiIyYzZcC09'-_";
  const std::u16string other = u"\u00E9t\u00E9";
  for (const auto& [locale, by_characters, folds_as_it_compares] : locales) {
    const DefaultLocale scope(locale);
    EXPECT_EQ(AsciiCollation(locale).Usable(), by_characters) << locale;
    TWordFrequencyTable ascii, with_other;
    with_other.Add(other);
    TStringList inserted;
    inserted.SetSorted(true);
    for (int w = 0; w < 2000; ++w) {
      // Short words, and long ones that share their first eight characters.
      std::u16string word = random() % 3 == 0 ? u"HaHa-hah" : u"";
      const std::size_t length = (word.empty() ? 1 : 0) + random() % 6;
      for (std::size_t k = 0; k < length; ++k) word += alphabet[random() % alphabet.size()];
      ascii.Add(word);
      with_other.Add(word);
      int at;
      if (inserted.Find(word, at))
        inserted.PutObject(at, TObjectRef::FromInt(inserted.GetObject(at).AsInt() + 1));
      else
        inserted.AddObject(word, TObjectRef::FromInt(1));
    }
    for (const bool by_freq : {false, true}) {
      const auto list = ascii.ToStringList(by_freq);
      Counts general = CountsOf(*with_other.ToStringList(by_freq));
      std::erase(general, std::pair<std::string, long>{Utf16ToUtf8(other), 1});
      if (by_characters) {
        EXPECT_EQ(CountsOf(*list), general) << locale << (by_freq ? " by frequency" : " alphabetical");
      }
      if (by_freq) continue;
      if (folds_as_it_compares) {
        EXPECT_EQ(CountsOf(*list), CountsOf(inserted)) << locale;
      }
      for (int i = 1; i < list->Count(); ++i)
        ASSERT_LT(list->CompareStrings((*list)[i - 1], (*list)[i]), 0) << locale << " line " << i;
    }
  }
}

TEST(BagOfWordsSimilar, NamesTheMostFrequentWordWhoseCountsDiffer) {
  const TFreqDifference same = BagOfWordsSimilar(u"a b b c", u"c b a b", 0, 1, 1);
  EXPECT_TRUE(same.wd.empty());
  EXPECT_EQ(same.first_text_freq, 0);
  EXPECT_EQ(same.second_text_freq, 0);

  // Equal list lengths: text2's list is walked, counts still come in text order.
  const TFreqDifference d = BagOfWordsSimilar(u"the the the cat", u"the cat Cat cat", 1, 1, 1);
  EXPECT_EQ(d.wd, u"CAT");
  EXPECT_EQ(d.first_text_freq, 1);
  EXPECT_EQ(d.second_text_freq, 3);

  // The longer list (text1's) is walked, most frequent first; a word missing
  // from the other text counts 0 there.
  const TFreqDifference longer = BagOfWordsSimilar(u"x x x x y y z", u"y y x x x x", 0, 1, 1);
  EXPECT_EQ(longer.wd, u"Z");
  EXPECT_EQ(longer.first_text_freq, 1);
  EXPECT_EQ(longer.second_text_freq, 0);

  // Words met fewer than min_freq times, or shorter than min_length, are not examined.
  EXPECT_TRUE(BagOfWordsSimilar(u"x x x x y y z", u"y y x x x x", 0, 1, 2).wd.empty());
  EXPECT_TRUE(BagOfWordsSimilar(u"x x x x y y z", u"y y x x x x", 0, 2, 1).wd.empty());
  // Within max_diff the texts count as similar.
  EXPECT_TRUE(BagOfWordsSimilar(u"a a a b", u"a b", 2, 1, 1).wd.empty());
}

class TypeAndTokenDifferences : public ::testing::Test {
 protected:
  std::pair<std::int32_t, std::int32_t> Compare(const std::string& a, const std::string& b, int threshold,
                                                UnicodeString* last = nullptr) {
    testing::WriteText(dir_.Path("one.txt"), a);
    testing::WriteText(dir_.Path("two.txt"), b);
    UnicodeString last_word = u"stale";
    const auto result = TypeAndTokenDifferences2Files(dir_.File("one.txt"), dir_.File("two.txt"), u'<', u'>',
                                                      threshold, 20, last_word);
    if (last) *last = last_word;
    return result;
  }
  testing::TempDir dir_;
};

using Result = std::pair<std::int32_t, std::int32_t>;

TEST_F(TypeAndTokenDifferences, IdenticalTextsForAnyThreshold) {
  UnicodeString last;
  for (const int threshold : {0, 1, 10, 100}) {
    EXPECT_EQ(Compare("The cat sat.\n", "The cat sat.\n", threshold, &last), Result(0, 0)) << threshold;
    EXPECT_TRUE(last.empty());
  }
  // Markup is removed before comparing.
  EXPECT_EQ(Compare("<b>The</b> cat\n", "The cat\n", 0), Result(0, 0));
  EXPECT_EQ(Compare("The cat\n", "The dog\n", 0), Result(-1, -1)) << "threshold 0 asks for identity";
}

TEST_F(TypeAndTokenDifferences, CountsTypesAndTokensThatDiffer) {
  UnicodeString last;
  // mat/hat differ: 2 types not shared, 2 tokens; 4 of 6 types shared.
  EXPECT_EQ(Compare("the cat sat on the mat", "the cat sat on The hat", 50, &last), Result(2, 2));
  EXPECT_EQ(last, u"hat");
  // 2 of 7 tokens differ (29%) and 4 of 6 types are shared (67%): too different at 20.
  EXPECT_EQ(Compare("the cat sat on the mat", "the cat sat on The hat", 20), Result(-1, -1));
  // Differences of count alone: types all shared.
  EXPECT_EQ(Compare("a a b", "a b b", 50, &last), Result(0, 2));
  EXPECT_TRUE(last.empty());
  // Lengths that differ by more than the threshold (percent of the mean length).
  EXPECT_EQ(Compare("a", "a a a a a a", 30), Result(-1, -1));
}

TEST_F(TypeAndTokenDifferences, TextsWithoutWordsAndMissingFiles) {
  // No words at all: nothing differs by type or token (and nothing divides by zero).
  EXPECT_EQ(Compare("...", "..", 100), Result(0, 0));
  UnicodeString last = u"stale";
  EXPECT_EQ(TypeAndTokenDifferences2Files(dir_.File("none1.txt"), dir_.File("none2.txt"), u'<', u'>', 10, 20, last),
            Result(-1, -1))
      << "two missing files are not two identical texts";
  EXPECT_TRUE(last.empty());
}

}  // namespace
}  // namespace quill
