// The string list: order, duplicates, text forms, change events and files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "quillrt/framework/string_list.h"
#include "test_support.h"

namespace quill {
namespace {

using quill::testing::ReadAllBytes;
using quill::testing::TempDir;
using quill::testing::WriteText;

std::vector<UnicodeString> Lines(std::initializer_list<const char*> lines) {
  std::vector<UnicodeString> out;
  for (const char* line : lines) out.push_back(U(line));
  return out;
}

std::vector<UnicodeString> TextLines(const UnicodeString& text) {
  TStringList list;
  list.SetText(text);
  return list.ToStringArray();
}

TEST(StringList, TextSplitsAtEveryKindOfLineBreak) {
  EXPECT_EQ(TextLines(u"a\r\nb\nc\rd"), Lines({"a", "b", "c", "d"}));
  EXPECT_EQ(TextLines(u"a\r\n"), Lines({"a"}));  // a final break adds no empty line
  EXPECT_EQ(TextLines(u"a\n\nb\n"), Lines({"a", "", "b"}));
  EXPECT_EQ(TextLines(u"a\n\rb"), Lines({"a", "", "b"}));  // LF CR is two breaks
  EXPECT_EQ(TextLines(u"\r\n"), Lines({""}));
  EXPECT_TRUE(TextLines(u"").empty());

  TStringList list;
  list.SetText(u"x\ny");
  EXPECT_EQ(list.Text(), u"x\r\ny\r\n");
  list.SetLineBreak(u"|");
  EXPECT_EQ(list.Text(), u"x|y|");
  list.SetText(u"p|q\nr||");  // another line break: only it splits
  EXPECT_EQ(list.ToStringArray(), Lines({"p", "q\nr", ""}));
}

TEST(StringList, SortedAddFollowsDuplicates) {
  TStringList list;
  list.SetSorted(true);
  EXPECT_EQ(list.Add(u"pear"), 0);
  EXPECT_EQ(list.Add(u"apple"), 0);
  EXPECT_EQ(list.Add(u"fig"), 1);
  EXPECT_EQ(list.Add(u"PEAR"), 2);  // dupIgnore: the index of the line already there
  EXPECT_EQ(list.ToStringArray(), Lines({"apple", "fig", "pear"}));

  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add(u"Fig"), EListError);
  EXPECT_EQ(list.Count(), 3);

  list.SetDuplicates(dupAccept);
  list.AddObject(u"FIG", TObjectRef::FromInt(2));
  list.AddObject(u"Fig", TObjectRef::FromInt(3));
  // Each new equal line goes in before the equal ones already there.
  EXPECT_EQ(list.ToStringArray(), Lines({"apple", "Fig", "FIG", "fig", "pear"}));
  EXPECT_EQ(list.GetObject(1).AsInt(), 3);
  int index = -1;
  EXPECT_TRUE(list.Find(u"fig", index));
  EXPECT_EQ(index, 1);  // the first of the equal run
  EXPECT_FALSE(list.Find(u"grape", index));
  EXPECT_EQ(index, 4);  // where it would go

  // Operations that would break the order are refused and change nothing.
  EXPECT_THROW(list.Put(0, u"zzz"), EListError);
  EXPECT_THROW(list.Insert(0, u"zzz"), EListError);
  EXPECT_THROW(list.Exchange(0, 4), EListError);
  EXPECT_THROW(list.Move(0, 4), EListError);
  EXPECT_EQ(list[0], u"apple");
  EXPECT_THROW(list.Get(5), EListError);
}

TEST(StringList, CaseInsensitiveSearchCoversNonAsciiLetters) {
  TStringList list;
  list.AddStrings(Lines({"Été", "ÄPFEL", "Straße", "zebra"}));
  EXPECT_EQ(list.IndexOf(U("été")), 0);
  EXPECT_EQ(list.IndexOf(U("äpfel")), 1);
  EXPECT_EQ(list.IndexOf(U("STRASSE")), 2);
  EXPECT_EQ(list.IndexOf(U("ete")), -1);  // accents matter
  list.SetSorted(true);
  EXPECT_EQ(list.ToStringArray(), Lines({"ÄPFEL", "Été", "Straße", "zebra"}));
  EXPECT_EQ(list.IndexOf(U("ÉTÉ")), 1);
  EXPECT_EQ(list.IndexOf(U("Zebra")), 3);
  EXPECT_EQ(list.Add(U("äpfel")), 0);  // dupIgnore
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, CaseSensitiveToggleResortsAndChangesMatching) {
  TStringList list;
  list.SetDuplicates(dupAccept);
  list.AddStrings(Lines({"b", "B", "a", "A"}));
  list.SetSorted(true);
  EXPECT_EQ(list.IndexOf(u"b"), 2);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.ToStringArray(), Lines({"a", "A", "b", "B"}));
  EXPECT_EQ(list.IndexOf(u"B"), 3);
  EXPECT_EQ(list.IndexOf(u"b"), 2);
  list.SetCaseSensitive(false);
  list.SetSorted(false);
  EXPECT_EQ(list.IndexOf(u"B"), 2);  // linear search: the first equal line, "b"
}

// Adding in one step must leave a sorted list exactly as adding line by line does.
TEST(StringList, BulkAddMatchesLineByLineAdd) {
  std::mt19937 random(7);
  const std::vector<UnicodeString> words = Lines({"oak", "Oak", "OAK", "elm", "ash", "Elm", "yew", "fir", "Ash"});
  for (const TDuplicates mode : {dupIgnore, dupAccept, dupError}) {
    SCOPED_TRACE(int(mode));
    std::vector<UnicodeString> first, second;
    for (int i = 0; i < 6; ++i) first.push_back(words[random() % 4]);
    for (int i = 0; i < 40; ++i) second.push_back(words[random() % words.size()]);

    TStringList one_by_one, bulk;
    for (TStringList* list : {&one_by_one, &bulk}) {
      list->SetDuplicates(dupAccept);
      list->SetSorted(true);
      for (std::size_t i = 0; i < first.size(); ++i) list->AddObject(first[i], TObjectRef::FromInt(int(i)));
      list->SetDuplicates(mode);
    }
    bool raised_one = false, raised_bulk = false;
    try {
      for (std::size_t i = 0; i < second.size(); ++i) one_by_one.AddObject(second[i], TObjectRef::FromInt(100 + int(i)));
    } catch (const EListError&) {
      raised_one = true;
    }
    TStringList source;
    for (std::size_t i = 0; i < second.size(); ++i) source.AddObject(second[i], TObjectRef::FromInt(100 + int(i)));
    try {
      bulk.AddStrings(source);
    } catch (const EListError&) {
      raised_bulk = true;
    }
    EXPECT_EQ(raised_bulk, raised_one);
    EXPECT_EQ(bulk.ToStringArray(), one_by_one.ToStringArray());
    for (int i = 0; i < bulk.Count(); ++i) EXPECT_EQ(bulk.GetObject(i), one_by_one.GetObject(i)) << i;
  }
}

TEST(StringList, SortMovesObjectsWithTheirLinesAndKeepsEqualLinesInOrder) {
  TStringList list;
  list.AddObject(u"cherry", TObjectRef::FromInt(1));
  list.AddObject(u"Apple", TObjectRef::FromInt(2));
  list.AddObject(u"banana", TObjectRef::FromInt(3));
  list.AddObject(u"apple", TObjectRef::FromInt(4));
  list.Sort();
  EXPECT_EQ(list.ToStringArray(), Lines({"Apple", "apple", "banana", "cherry"}));
  EXPECT_EQ(list.IndexOfObject(TObjectRef::FromInt(1)), 3);
  EXPECT_EQ(list.GetObject(1).AsInt(), 4);

  // Custom order: by the integer in the slot, descending.
  list.CustomSort([](TStringList& l, int a, int b) {
    return static_cast<int>(l.GetObject(b).AsInt() - l.GetObject(a).AsInt());
  });
  EXPECT_EQ(list.ToStringArray(), Lines({"apple", "banana", "Apple", "cherry"}));

  // A comparison that is no order at all still leaves every line in the list.
  TStringList many;
  for (int i = 0; i < 500; ++i) many.Add(UnicodeString(1, char16_t(u'a' + i % 26)));
  std::mt19937 random(1);
  many.CustomSort([&](TStringList&, int, int) { return int(random() % 3) - 1; });
  EXPECT_EQ(many.Count(), 500);
  many.Sort();
  EXPECT_EQ(many[0], u"a");
  EXPECT_EQ(many[499], u"z");

  // A sorted list is in order already: a custom sort leaves it alone.
  list.SetSorted(true);
  list.CustomSort([](TStringList&, int a, int b) { return b - a; });
  EXPECT_EQ(list.ToStringArray(), Lines({"apple", "Apple", "banana", "cherry"}));
}

struct Tracked {
  explicit Tracked(int* live) : live_(live) { ++*live_; }
  ~Tracked() { --*live_; }
  int* live_;
};

TEST(StringList, OwningListFreesItsObjects) {
  int live = 0;
  {
    TStringListOf<std::unique_ptr<Tracked>> list;
    list.SetSorted(true);
    list.AddObject(u"one", std::make_unique<Tracked>(&live));
    list.AddObject(u"two", std::make_unique<Tracked>(&live));
    list.AddObject(u"ONE", std::make_unique<Tracked>(&live));  // ignored duplicate: freed at once
    list.AddObject(u"three", std::make_unique<Tracked>(&live));
    EXPECT_EQ(live, 3);
    list.Delete(list.IndexOf(u"two"));
    EXPECT_EQ(live, 2);
    std::unique_ptr<Tracked> kept = list.ExtractObject(0);
    EXPECT_EQ(list.GetObject(0), nullptr);
    list.PutObject(1, std::make_unique<Tracked>(&live));  // replaces and frees
    EXPECT_EQ(live, 2);
    list.Clear();
    EXPECT_EQ(live, 1);
    list.SetText(u"a\nb");
    list.PutObject(0, std::make_unique<Tracked>(&live));
    list.PutObject(1, std::move(kept));
  }
  EXPECT_EQ(live, 0);
}

TEST(StringList, CommaAndDelimitedText) {
  TStringList list;
  list.AddStrings(Lines({"plain", "two words", "comma,inside", "say \"hi\"", ""}));
  const UnicodeString comma = list.CommaText();
  EXPECT_EQ(comma, UnicodeString(u"plain,\"two words\",\"comma,inside\",\"say \"\"hi\"\"\","));
  TStringList back;
  back.SetCommaText(comma);
  EXPECT_EQ(back.ToStringArray(), list.ToStringArray());

  back.SetCommaText(u"  a b , \"c , d\" ,e,");  // blanks separate and are skipped
  EXPECT_EQ(back.ToStringArray(), Lines({"a", "b", "c , d", "e", ""}));

  TStringList one;
  one.Add(u"");
  EXPECT_EQ(one.CommaText(), u"\"\"");

  TStringList strict;
  strict.SetDelimiter(u';');
  strict.SetStrictDelimiter(true);
  strict.SetDelimitedText(u" a b ;c");
  EXPECT_EQ(strict.ToStringArray(), Lines({" a b ", "c"}));
  EXPECT_EQ(strict.DelimitedText(), u" a b ;c");  // blanks need no quotes when strict
  strict.SetDelimitedText(u"\"unclosed;x");
  EXPECT_EQ(strict.ToStringArray(), Lines({"unclosed;x"}));
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText(u"Colour=red\nsize=10=ten\nnovalue\n");
  EXPECT_EQ(list.Names(0), u"Colour");
  EXPECT_EQ(list.Names(2), u"");
  EXPECT_EQ(list.Values(u"COLOUR"), u"red");
  EXPECT_EQ(list.Values(u"size"), u"10=ten");
  EXPECT_EQ(list.ValueFromIndex(2), u"");
  EXPECT_EQ(list.IndexOfName(u"novalue"), -1);
  list.SetValue(u"colour", u"blue");
  EXPECT_EQ(list[0], u"colour=blue");
  list.SetValue(u"shape", u"round");
  EXPECT_EQ(list.Last(), u"shape=round");
  list.SetValue(u"size", u"");
  EXPECT_EQ(list.IndexOfName(u"size"), -1);

  TStringList sorted;
  sorted.SetSorted(true);
  sorted.AddPair(u"b", u"2");
  sorted.AddPair(u"a", u"1");
  sorted.SetValue(u"a", u"z");  // no Put on a sorted list: the line is replaced at its place
  EXPECT_EQ(sorted.ToStringArray(), Lines({"a=z", "b=2"}));
}

TEST(StringList, ChangeEventsFireOncePerUpdate) {
  TStringList list;
  std::vector<std::string> events;
  list.OnChanging = [&](TStrings& sender) { events.push_back("changing " + std::to_string(sender.Count())); };
  list.OnChange = [&](TStrings& sender) { events.push_back("change " + std::to_string(sender.Count())); };
  list.Add(u"a");
  EXPECT_EQ(events, (std::vector<std::string>{"changing 0", "change 1"}));

  events.clear();
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(u"b");
  list.Add(u"c");
  list.EndUpdate();
  EXPECT_TRUE(events == std::vector<std::string>{"changing 1"});
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing 1", "change 2"}));

  events.clear();
  list.BeginUpdate();
  list.EndUpdate();  // nothing changed
  list.Clear();
  list.Clear();  // already empty: no change
  list.SetText(u"x\ny\nz");
  EXPECT_EQ(events, (std::vector<std::string>{"changing 2", "change 0", "changing 0", "change 3"}));
}

TEST(StringList, AssignCopiesLinesObjectsAndTextSettings) {
  TStringList source;
  source.SetLineBreak(u"\n");
  source.SetDelimiter(u';');
  source.AddObject(u"b", TObjectRef::FromInt(2));
  source.AddObject(u"a", TObjectRef::FromInt(1));
  source.AddObject(u"A", TObjectRef::FromInt(3));
  TStringList target;
  target.SetSorted(true);
  target.Add(u"old");
  target.Assign(source);
  EXPECT_EQ(target.ToStringArray(), Lines({"a", "b"}));  // sorted, duplicates ignored
  EXPECT_EQ(target.GetObject(0).AsInt(), 1);
  EXPECT_EQ(target.Text(), u"a\nb\n");
  EXPECT_EQ(target.DelimitedText(), u"a;b");
  EXPECT_FALSE(target.Equals(source));
  target.SetSorted(false);
  target.Insert(0, u"b");
  target.Move(2, 1);
  EXPECT_EQ(target.ToStringArray(), Lines({"b", "b", "a"}));
}

class StringListFiles : public ::testing::Test {
 protected:
  std::vector<UnicodeString> Load(const std::string& bytes, const TEncoding* encoding = nullptr) {
    WriteText(dir_.Path("in.txt"), bytes);
    TStringList list;
    list.LoadFromFile(dir_.File("in.txt"), encoding);
    loaded_encoding_ = list.Encoding();
    return list.ToStringArray();
  }
  TempDir dir_;
  const TEncoding* loaded_encoding_ = nullptr;
};

TEST_F(StringListFiles, LoadDetectsTheByteOrderMark) {
  EXPECT_EQ(Load("\xEF\xBB\xBF" "caf\xC3\xA9\r\nx"), Lines({"café", "x"}));
  EXPECT_EQ(loaded_encoding_, TEncoding::UTF8());
  EXPECT_EQ(Load(std::string("\xFF\xFE" "a\0\xE9\0\n\0b\0", 10)), Lines({"aé", "b"}));
  EXPECT_EQ(loaded_encoding_, TEncoding::Unicode());
  EXPECT_EQ(Load(std::string("\xFE\xFF\0a\0\xE9", 6)), Lines({"aé"}));
  EXPECT_EQ(loaded_encoding_, TEncoding::BigEndianUnicode());
  // No mark: the system code page, 1252 ...
  EXPECT_EQ(Load("caf\xE9\n"), Lines({"café"}));
  EXPECT_EQ(loaded_encoding_, TEncoding::ANSI(1252));
  // ... or the encoding the caller names; a mark still wins over it.
  EXPECT_EQ(Load("caf\xC3\xA9", TEncoding::UTF8()), Lines({"café"}));
  EXPECT_EQ(Load(std::string("\xFF\xFE" "a\0", 4), TEncoding::UTF8()), Lines({"a"}));
  EXPECT_TRUE(Load("").empty());
}

TEST_F(StringListFiles, MissingFileRaisesNamingIt) {
  TStringList list;
  try {
    list.LoadFromFile(dir_.File("absent.txt"));
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(u"absent.txt"), UnicodeString::npos);
  }
}

TEST_F(StringListFiles, SaveWritesTheEncodingAndRoundTrips) {
  TStringList list;
  list.SetText(U("Été\n中文"));
  list.SaveToFile(dir_.File("u16.txt"), TEncoding::Unicode());
  const auto bytes = ReadAllBytes(dir_.Path("u16.txt"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  TStringList back;
  back.LoadFromFile(dir_.File("u16.txt"));
  EXPECT_TRUE(back.Equals(list));
  // Saved again without naming an encoding, it keeps the one it was read in.
  back.SaveToFile(dir_.File("again.txt"));
  EXPECT_EQ(ReadAllBytes(dir_.Path("again.txt")), bytes);

  // By default: the system code page and no mark; what it cannot hold becomes '?'.
  list.SaveToFile(dir_.File("ansi.txt"));
  const auto ansi = ReadAllBytes(dir_.Path("ansi.txt"));
  EXPECT_EQ(std::string(ansi.begin(), ansi.end()), "\xC9t\xE9\r\n??\r\n");
}

TEST_F(StringListFiles, FailedSaveOverAFolderLeavesItAndNoTemporary) {
  TStringList list;
  list.SetText(u"new");
  // The target is a folder: the save fails after writing its temporary file.
  std::filesystem::create_directory(dir_.Path("folder"));
  std::filesystem::create_directory(dir_.Path("folder") / "child");
  EXPECT_ANY_THROW(list.SaveToFile(dir_.File("folder")));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.Path("folder")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);  // no temporary left
}

TEST_F(StringListFiles, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into a read-only folder";
  TStringList list;
  list.SetText(u"new");
  const auto locked = dir_.Path("locked");
  std::filesystem::create_directory(locked);
  WriteText(locked / "keep.txt", "old\r\n");
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_THROW(list.SaveToFile(Utf8ToUtf16((locked / "keep.txt").string())), EStreamError);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  const auto kept = ReadAllBytes(locked / "keep.txt");
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "old\r\n");
}

}  // namespace
}  // namespace quill
