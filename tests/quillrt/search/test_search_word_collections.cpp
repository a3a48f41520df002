// Search-word collections: how typed entries become stored words, the per-word
// accessors, the text-file and stream forms, and the plain-word list.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "quillrt/collections/stream_forms.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/search/search_word_collections.h"
#include "test_support.h"

namespace quill {
namespace {

using Indices = std::vector<std::int32_t>;

std::vector<UnicodeString> Typed(const TBaseSearchItems& items) {
  std::vector<UnicodeString> typed;
  for (int i = 0; i < items.Count(); ++i) typed.push_back(items.GetSWR(i).typed_in_text);
  return typed;
}

TEST(SearchWordCollection, AlternativesAreStoredLastFirstAndOnlyOnce) {
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  EXPECT_EQ(items.AddedSearchWords(u"cat/dog"), (Indices{0, 1}));
  EXPECT_EQ(Typed(items), (std::vector<UnicodeString>{u"dog", u"cat"}));
  EXPECT_EQ(items.AddedSearchWords(u"cat/dog"), (Indices{0, 1}));
  EXPECT_EQ(items.AddedSearchWords(u"dog/cow"), (Indices{2, 0}));
  EXPECT_EQ(items.Count(), 3);

  // Runs of spaces count as one; a lone star parses to nothing and is dropped.
  EXPECT_EQ(items.AddedSearchWords(u"new   york"), Indices{3});
  EXPECT_EQ(items.GetSWR(3).typed_in_text, u"new york");
  EXPECT_EQ(items.GetSpacesInSW(3), 1);
  EXPECT_TRUE(items.AddedSearchWords(u"*").empty());

  // Without splitting, the slash is part of the word.
  TBaseSearchItems whole;
  EXPECT_EQ(whole.AddedSearchWords(u"cat/dog"), Indices{0});
  EXPECT_EQ(whole.process_one_specific_SW_number, -1);
}

TEST(SearchWordCollection, LookupsAreExactAndRespectTheLanguage) {
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  items.AddedSearchWords(u"cat", std::int16_t{3});
  EXPECT_EQ(items.TypeInIndexOf(u"cat"), 0);
  EXPECT_EQ(items.TypeInIndexOf(u"Cat"), -1);

  TSearch_word_format_rec probe = items.GetSWR(0);
  EXPECT_EQ(items.IndexOf(probe), 0);
  probe.Langnum = 4;
  EXPECT_EQ(items.IndexOf(probe), -1);
  EXPECT_EQ(items.EnsureContains(probe), 1) << "another language: a word of its own";
  EXPECT_EQ(items.EnsureContains(probe), 1);
  EXPECT_EQ(items.AddOneSW(probe), 2) << "no duplicate test";
  EXPECT_EQ(items.TypeInIndexOf(u"cat"), 2) << "the last one";
}

TEST(SearchWordCollection, VariantsMarkEveryReturnedWord) {
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  for (const std::int32_t n : items.AddedSearchWords(u"a/b", std::int16_t{5})) EXPECT_EQ(items.GetLanguage(n), 5);
  for (const std::int32_t n : items.AddedSearchWords(u"c/d", true)) EXPECT_TRUE(items.GetAutoLemmaAdded(n));
  for (const std::int32_t n : items.AddedSearchWords(u"e/f", std::int32_t{12})) EXPECT_EQ(items.GetNToFind(n), 12);
  // An existing word returned again is marked again.
  items.AddedSearchWords(u"a", std::int32_t{2});
  EXPECT_EQ(items.GetNToFind(items.TypeInIndexOf(u"a")), 2);
}

TEST(SearchWordCollection, InsertAtTopMovesNewWordsUp) {
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  items.AddedSearchWords(u"a");
  items.AddedSearchWords(u"b");
  items.AddedSearchWords(u"c");
  EXPECT_EQ(items.InsertSearchWordsAtTop(u"x", true), Indices{0});
  EXPECT_EQ(Typed(items), (std::vector<UnicodeString>{u"x", u"a", u"b", u"c"}));
  EXPECT_TRUE(items.GetAutoLemmaAdded(0));

  // Two new words: each returned index names the word it belongs to.
  const Indices placed = items.InsertSearchWordsAtTop(u"p/q", false);
  EXPECT_EQ(placed, (Indices{0, 1}));
  EXPECT_EQ(Typed(items), (std::vector<UnicodeString>{u"q", u"p", u"x", u"a", u"b", u"c"}));

  // Words already at the top stay where they are; a new one goes above them.
  const Indices mixed = items.InsertSearchWordsAtTop(u"p/z", false);
  EXPECT_EQ(items.GetSWR(mixed[0]).typed_in_text, u"z");
  EXPECT_EQ(items.GetSWR(mixed[1]).typed_in_text, u"p");
  EXPECT_EQ(mixed, (Indices{0, 2}));
}

TEST(SearchWordCollection, BadIndicesAreHarmless) {
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  items.AddedSearchWords(u"one/two");
  EXPECT_EQ(items.GetSWR(5), TSearch_word_format_rec{});
  EXPECT_EQ(items.GetPtr(-1), nullptr);
  EXPECT_EQ(items.GetPtr(1)->typed_in_text, u"one");
  EXPECT_EQ(items.GetHitsFound(2), 0);
  EXPECT_FALSE(items.GetSearchFound(-3));
  EXPECT_TRUE(items.GetAFlag(9).IsEmpty());
  items.SetHitsFound(7, 4);
  items.SetLanguage(-1, 4);
  items.SetNToFind(2, 4);
  items.SetAutoLemmaAdded(2, true);
  items.PutSWR(2, TSearch_word_format_rec{});
  items.IncrementHits(2);
  items.ClearOne(2);
  items.MoveToTop(2);
  EXPECT_EQ(Typed(items), (std::vector<UnicodeString>{u"two", u"one"}));

  items.MoveToTop(1);
  EXPECT_EQ(Typed(items), (std::vector<UnicodeString>{u"one", u"two"}));
  items.ClearOne(0);
  EXPECT_EQ(Typed(items), std::vector<UnicodeString>{u"two"});
}

TEST(SearchWordCollection, HitsAndCopies) {
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  items.AddedSearchWords(u"c/b/a");
  items.IncrementHits(0);
  items.IncrementHits(0);
  items.SetHits({5, 6});
  EXPECT_EQ(items.GetHitsFound(0), 5);
  EXPECT_EQ(items.GetHitsFound(1), 6);
  items.SetHitsFound(2, 1);
  EXPECT_EQ(items.TotalHits(), 12);
  items.ClearHits();
  EXPECT_EQ(items.TotalHits(), 0);

  const std::vector<TSearch_word_format_rec> copies = items.CopyOfArrayOFSWItems({2, -1, 0, 9});
  ASSERT_EQ(copies.size(), 4u);
  EXPECT_EQ(copies[0].typed_in_text, u"c");
  EXPECT_EQ(copies[1], TSearch_word_format_rec{});
  EXPECT_EQ(copies[2].typed_in_text, u"a");
  EXPECT_EQ(copies[3], TSearch_word_format_rec{});
}

TEST(SearchWordCollection, AllTypedWordsAsOne) {
  TBaseSearchItems items;
  for (int i = 0; i < 12; ++i) items.AddedSearchWords(u"w" + IntToStr(i));
  EXPECT_EQ(items.AllTypedSearchWordsAsOne(true), u"w0/w1/w2/w3/w4/w5/w6/w7/w8/w9 etc.");
  EXPECT_EQ(items.AllTypedSearchWordsAsOne(false), u"w0/w1/w2/w3/w4/w5/w6/w7/w8/w9/w10/w11");
  items.ClearOne(11);
  items.ClearOne(10);
  EXPECT_EQ(items.AllTypedSearchWordsAsOne(true), u"w0/w1/w2/w3/w4/w5/w6/w7/w8/w9");
}

TEST(SearchWordCollection, PlainWordsAndPreCheckedFormat) {
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  items.AddedSearchWords(u"*ing/==May==/colo?r");
  const TSimpleSearchlist& plain = items.ComputePlainSearchWords();
  ASSERT_EQ(plain.Count(), 3);
  EXPECT_EQ(plain.GetAValue(0).seek, u"colo?r");
  EXPECT_EQ(plain.GetAValue(1).seek, u"May");
  EXPECT_TRUE(plain.GetAValue(1).flags.Contains(myCaseIsSensitive));
  EXPECT_EQ(plain.GetAValue(2).seek, u"ing");
  EXPECT_FALSE(plain.GetAValue(2).flags.Contains(myLeftBounded));
  EXPECT_EQ(plain.GetAValue(2).n_wanted, 1);
  EXPECT_EQ(plain.GetATypedInSW(2), u"*ing");
  EXPECT_EQ(&items.ComputePlainSearchWords(), &items.PlainSWS()) << "rebuilt in place";
  EXPECT_EQ(items.PlainSWS().Count(), 3);

  // Pre-checked entries keep their wildcard characters as they are.
  EXPECT_NE(items.GetSWR(0).search_text, u"colo?r");
  TBaseSearchItems checked;
  checked.SetFormatPreChecked(true);
  checked.AddedSearchWords(u"colo?r*");
  EXPECT_EQ(checked.GetSWR(0).search_text, u"colo?r");
  EXPECT_FALSE(checked.GetAFlag(0).Contains(myRightBounded));

  items.Clear();
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(items.PlainSWS().Count(), 0);
}

// ---- stream form -------------------------------------------------------------------

TEST(SearchWordCollectionStream, EntryLayoutAndRoundTrip) {
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  items.AddedSearchWords(u"cat", std::int16_t{2});
  items.SetHitsFound(0, 3);
  TMemoryStream stream;
  ASSERT_TRUE(items.SaveToStream(stream));
  const std::vector<unsigned char> expected = {1, 0, 0, 0, 7, 0, 0, 0, 'c', 0, 'a', 0, 't', 0,
                                               '\t', 0, '3', 0, '\t', 0, '2', 0};
  EXPECT_EQ(stream.Bytes(), expected);

  items.AddedSearchWords(u"*ing/dog");
  items.SetHitsFound(1, 12);
  items.SetLanguage(2, 7);
  TMemoryStream all;
  ASSERT_TRUE(items.SaveToStream(all));
  all.SetPosition(0);
  TBaseSearchItems copy(TIgnore_tag_type{}, 0x0409, true);
  ASSERT_TRUE(copy.ReadFromStream(all));
  ASSERT_EQ(Typed(copy), Typed(items));
  for (int i = 0; i < items.Count(); ++i) {
    EXPECT_EQ(copy.GetHitsFound(i), items.GetHitsFound(i));
    EXPECT_EQ(copy.GetLanguage(i), items.GetLanguage(i));
    EXPECT_EQ(copy.GetSWR(i).search_text, items.GetSWR(i).search_text) << "parsed anew";
  }
}

TEST(SearchWordCollectionStream, EmptyDamagedAndOddEntries) {
  TMemoryStream empty;
  empty.WriteLE<std::int32_t>(0);
  empty.SetPosition(0);
  TBaseSearchItems items;
  EXPECT_TRUE(items.ReadFromStream(empty));
  EXPECT_EQ(items.Count(), 0);

  // Numbers that do not parse, or are negative, leave the word's own values.
  TMemoryStream odd;
  odd.WriteLE<std::int32_t>(3);
  WriteAString(odd, u"a\tmany\t4");
  WriteAString(odd, u"b\t-2");
  WriteAString(odd, u"c");
  odd.SetPosition(0);
  TBaseSearchItems read;
  EXPECT_TRUE(read.ReadFromStream(odd));
  ASSERT_EQ(Typed(read), (std::vector<UnicodeString>{u"a", u"b", u"c"}));
  EXPECT_EQ(read.GetHitsFound(0), 0);
  EXPECT_EQ(read.GetLanguage(0), 4);
  EXPECT_EQ(read.GetHitsFound(1), 0);

  // A stream that ends early: false, keeping the words read whole.
  TMemoryStream cut;
  cut.WriteLE<std::int32_t>(5);
  WriteAString(cut, u"x\t1\t0");
  cut.WriteLE<std::int32_t>(40);
  cut.SetPosition(0);
  TBaseSearchItems partial;
  EXPECT_FALSE(partial.ReadFromStream(cut));
  EXPECT_EQ(Typed(partial), std::vector<UnicodeString>{u"x"});
  EXPECT_EQ(partial.GetHitsFound(0), 1);

  TMemoryStream negative;
  negative.WriteLE<std::int32_t>(-1);
  negative.SetPosition(0);
  EXPECT_FALSE(partial.ReadFromStream(negative));
}

// ---- text files --------------------------------------------------------------------

TEST(SearchWordCollectionFile, SaveAndLoad) {
  testing::TempDir dir;
  TBaseSearchItems items(TIgnore_tag_type{}, 0x0409, true);
  items.AddedSearchWords(u"cœur/==May==");
  ASSERT_TRUE(items.SaveToFile(dir.File("words.txt")));
  const std::vector<unsigned char> bytes = testing::ReadAllBytes(dir.Path("words.txt"));
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);

  TBaseSearchItems loaded(TIgnore_tag_type{}, 0x0409, true);
  loaded.AddedSearchWords(u"old");
  ASSERT_TRUE(loaded.LoadFromFile(dir.File("words.txt"), 5));
  EXPECT_TRUE(loaded.GetFrom_a_file());
  EXPECT_EQ(Typed(loaded), Typed(items));
  EXPECT_EQ(loaded.GetNToFind(0), 5);

  // Only blank lines, or no file at all: nothing loaded.
  testing::WriteText(dir.Path("blank.txt"), "\r\n\r\n");
  EXPECT_FALSE(loaded.LoadFromFile(dir.File("blank.txt"), 1));
  EXPECT_FALSE(loaded.GetFrom_a_file());
  EXPECT_FALSE(loaded.LoadFromFile(dir.File("missing.txt"), 1));
}

// ---- plain-word list -----------------------------------------------------------------

TEST(SimpleSearchList, LoadFromFile) {
  testing::TempDir dir;
  testing::WriteText(dir.Path("forms.txt"),
                     "go -> goes, went\r\n"
                     "; a comment\r\n"
                     "// another\r\n"
                     "\r\n"
                     "==Bush==,  *ing \r\n");
  TSimpleSearchlist list;
  ASSERT_TRUE(list.LoadFromFile(dir.File("forms.txt"), false));
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.AsText(u"|"), u"GO|GOES|WENT|Bush|ING");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list.GetAValue(i).n_wanted, 1);
  EXPECT_TRUE(list.GetAValue(3).flags.Contains(myCaseIsSensitive));
  EXPECT_FALSE(list.GetAValue(4).flags.Contains(myLeftBounded));

  testing::WriteText(dir.Path("counts.txt"), "north = 5, south=0\r\nnothing here\r\n");
  ASSERT_TRUE(list.LoadFromFile(dir.File("counts.txt"), true));
  ASSERT_EQ(list.Count(), 2) << "the file replaces the list; an item without a key adds nothing";
  EXPECT_EQ(list.GetAValue(0), (TSimpleSearch_rec{u"NORTH", 5, TMySearchFlags::Default()}));
  EXPECT_EQ(list.GetAValue(1).n_wanted, 1);

  EXPECT_FALSE(list.LoadFromFile(dir.File("missing.txt"), false));
  EXPECT_EQ(list.Count(), 0);
}

TEST(SimpleSearchList, RecordsAndSettings) {
  TSimpleSearchSettings settings = DefaultSimpleSearchSettings();
  EXPECT_EQ(settings.spare_wordcount_multiplier, 1000);
  EXPECT_EQ(settings.markup_search_span, 200);
  settings.markup_search_span = 50;
  TSimpleSearchlist source(settings);
  source.AddOne({u"A", 1, {}});
  source.AddOne({u"B", 1, {}});
  TSimpleSearchlist target;
  target.AddOne({u"Z", 1, {}});
  EXPECT_EQ(target.AddAll(source), 1 + 2);
  EXPECT_EQ(target.Settings.markup_search_span, 50);
  EXPECT_EQ(target.AsText(u","), u"Z,A,B");
  EXPECT_EQ(target.GetAValue(3), TSimpleSearch_rec{});
  EXPECT_EQ(target.GetATypedInSW(-1), u"");
  EXPECT_FALSE(target.IndexAssignedOK(3));
}

TEST(KeyPlusValue, SplitsAtTheFirstEqualsSign) {
  EXPECT_EQ(KeyOfKeyPlusValue(u" north = 5 "), u"north");
  EXPECT_EQ(ValueOfKeyPlusValue(u" north = 5 "), 5);
  EXPECT_EQ(KeyOfKeyPlusValue(u"north"), u"");
  EXPECT_EQ(ValueOfKeyPlusValue(u"north"), 0);
  EXPECT_EQ(ValueOfKeyPlusValue(u"a=b=3"), 0);
  EXPECT_EQ(KeyOfKeyPlusValue(u"a=b=3"), u"a");
  EXPECT_EQ(ValueOfKeyPlusValue(u"a=-4"), -4);
}

// ---- the search words of a request ---------------------------------------------------

TEST(SearchWordItems, WholeEntryTypedBeforeAddsNothing) {
  TSearchWordItems items(TIgnore_tag_type{}, 0x0409, true);
  EXPECT_EQ(items.AddedSearchWords(u"cat"), Indices{0});
  EXPECT_TRUE(items.AddedSearchWords(u"cat").empty());
  EXPECT_EQ(items.AddedSearchWords(u"cat/dog"), (Indices{1, 0}));
  EXPECT_EQ(items.GetTempEngine(), nullptr);
  EXPECT_FALSE(items.GetHasContextWord(0));
  EXPECT_FALSE(items.HasAnyContextWords);
}

TEST(SearchWordItems, ContextWordBringsItsOwnEngineAndCollection) {
  TIgnore_tag_type tags{};
  tags[tag_on][0] = u'<';
  tags[tag_off][0] = u'>';
  TSearchWordItems items(tags, 0x0419, true);
  items.AddedSearchWords(u"cat context:=dog");
  ASSERT_TRUE(items.GetHasContextWord(0));
  EXPECT_TRUE(items.HasAnyContextWords);
  EXPECT_FALSE(items.GetHasContextWord(1));
  ASSERT_NE(items.GetTempEngine(), nullptr);
  ASSERT_NE(items.GetTempCWItems(), nullptr);
  EXPECT_FALSE(items.GetTempEngine()->GetBufferInUnicode());
  EXPECT_TRUE(items.GetTempEngine()->GetSearchWordsInUnicode());
  EXPECT_EQ(items.GetTempEngine()->GetLCID(), 0x0419u);
  EXPECT_EQ(items.GetTempCWItems()->ignore_tags, tags);
  EXPECT_TRUE(items.GetTempCWItems()->GetSplitting_at_slashes());

  TSearchAndDoEngine* engine = items.GetTempEngine();
  items.AddedSearchWords(u"bird context:=tree");
  EXPECT_EQ(items.GetTempEngine(), engine) << "made once";
}

}  // namespace
}  // namespace quill
