#include "quillrt/files/folder_efficient_file_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace quill {
namespace {

std::vector<UnicodeString> FullNames(const TFolderEfficientFileStringlist& list) {
  return list.GetAsStringlist()->ToStringArray();
}

TMySimpleSearchRec Rec(const UnicodeString& name, std::int32_t size, TDateTime when, std::int32_t folder = 0) {
  TMySimpleSearchRec rec;
  rec.ShortName = name;
  rec.Size = size;
  rec.DateTime = when;
  rec.folder_number = folder;
  return rec;
}

TEST(FolderEfficientFileList, KeepsEachFolderOnceAndFindsFilesByFolderAndName) {
  TFolderEfficientFileStringlist list;
  EXPECT_EQ(list.AddOne(u"/d/x.txt"), 0);
  EXPECT_EQ(list.Add(u"/d/y.txt"), 1);
  EXPECT_EQ(list.AddOne(u"/e/x.txt"), 2);
  EXPECT_EQ(list.folders.ToStringArray(), (std::vector<UnicodeString>{u"/d", u"/e"}));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.GetFullFilename(2), u"/e/x.txt");
  EXPECT_EQ(list.GetASimpleSearchRec(2).folder_number, 1);
  EXPECT_EQ(list.files[2], u"x.txt");

  // The file in the folder named, not the first file of that name.
  EXPECT_EQ(list.IndexOf(u"/e/x.txt"), 2);
  EXPECT_EQ(list.IndexOf(u"/d/x.txt"), 0);
  EXPECT_EQ(list.IndexOf(u"/d/z.txt"), -1);
  EXPECT_EQ(list.IndexOf(u"/f/x.txt"), -1);
  EXPECT_EQ(list.IndexOf(u"/E/x.txt"), -1);  // folder names are case-sensitive here
  EXPECT_EQ(list.IndexOf(u"/e/X.txt"), -1);
  EXPECT_EQ(FullNames(list), (std::vector<UnicodeString>{u"/d/x.txt", u"/d/y.txt", u"/e/x.txt"}));
}

TEST(FolderEfficientFileList, SplitsAndRebuildsEveryKindOfName) {
  TFolderEfficientFileStringlist list;
  list.AddOne(u"C:\\d\\x.txt");                 // a Windows-style path
  list.AddOne(u"/corpus/a.zip\\sub\\x.txt");    // an entry of a zip archive stays whole
  list.AddOne(u"/root.txt");
  list.AddOne(u"bare.txt");
  list.AddOne(u"C:\\d\\y.txt");
  EXPECT_EQ(FullNames(list), (std::vector<UnicodeString>{u"C:\\d\\x.txt", u"/corpus/a.zip\\sub\\x.txt",
                                                         u"/root.txt", u"bare.txt", u"C:\\d\\y.txt"}));
  EXPECT_EQ(list.folders.ToStringArray(), (std::vector<UnicodeString>{u"C:\\d", u"/corpus", u"/", u""}));
  EXPECT_EQ(list.files[1], u"a.zip\\sub\\x.txt");
  EXPECT_EQ(list.IndexOf(u"C:\\d\\y.txt"), 4);
  EXPECT_EQ(list.IndexOf(u"bare.txt"), 3);
}

TEST(FolderEfficientFileList, AddingRecordsUnderAFolderOrAFolderNumber) {
  TFolderEfficientFileStringlist list;
  list.AddOne(u"/a", Rec(u"one.txt", 10, 1.0, 77));  // the folder number is replaced
  list.AddOne(u"/b", Rec(u"two.txt", 20, 2.0));
  list.AddOne(u"/a", Rec(u"three.txt", 30, 3.0));
  EXPECT_EQ(list.folders.Count(), 2);
  EXPECT_EQ(list.GetASimpleSearchRec(0), Rec(u"one.txt", 10, 1.0, 0));
  EXPECT_EQ(list.GetASimpleSearchRec(2).folder_number, 0);

  // A known folder number is taken from the record as it is.
  EXPECT_EQ(list.AddOne(5, Rec(u"four.txt", 40, 4.0, 1)), 3);
  EXPECT_EQ(list.GetFullFilename(3), u"/b/four.txt");
  list.AddOne(1, Rec(u"lost.txt", 0, 0.0, 99));
  EXPECT_EQ(list.GetFullFilename(4), u"lost.txt");  // folder out of range: the name alone
  list.AddOne(1, Rec(u"neg.txt", 0, 0.0, -1));
  EXPECT_EQ(list.GetFullFilename(5), u"neg.txt");
}

TEST(FolderEfficientFileList, BadIndexesRenamingDeletingAndClearing) {
  TFolderEfficientFileStringlist list;
  list.AddOne(u"/d/x.txt");
  list.AddOne(u"/e/y.txt");
  EXPECT_EQ(list.GetFullFilename(2), u"");
  EXPECT_EQ(list.GetFullFilename(-1), u"");
  EXPECT_EQ(list.GetASimpleSearchRec(9), TMySimpleSearchRec{});
  EXPECT_EQ(list.files.Get(9), u"");
  EXPECT_EQ(list.files.GetAFolderNumber(9), 0);

  // Renaming changes the name everywhere and keeps the folder.
  list.SetFullFilename(0, u"/elsewhere/renamed.txt");
  list.SetFullFilename(7, u"/d/ignored.txt");
  EXPECT_EQ(list.GetFullFilename(0), u"/d/renamed.txt");
  EXPECT_EQ(list.files.Get(0), u"renamed.txt");
  EXPECT_EQ(list.IndexOf(u"/d/renamed.txt"), 0);
  EXPECT_EQ(list.IndexOf(u"/d/x.txt"), -1);

  list.Delete(5);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.folders.Count(), 2);  // the folder stays
  EXPECT_EQ(list.GetFullFilename(0), u"/e/y.txt");
  // Adding to a folder that is still listed reuses it.
  list.AddOne(u"/d/z.txt");
  EXPECT_EQ(list.folders.Count(), 2);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.folders.Count(), 0);
  list.AddOne(u"/new/a.txt");
  EXPECT_EQ(list.GetASimpleSearchRec(0).folder_number, 0);
}

class FolderEfficientFileListSort : public ::testing::Test {
 protected:
  void SetUp() override {
    // name, size, date, folder
    list.AddOne(u"/f0", Rec(u"b", 300, 10.0));
    list.AddOne(u"/f1", Rec(u"a", 100, 30.0));
    list.AddOne(u"/f0", Rec(u"c", 100, 20.0));
    list.AddOne(u"/f1", Rec(u"d", 200, 25.0));
    list.AddOne(u"/f0", Rec(u"a", -5, 5.0));
  }
  std::vector<UnicodeString> Names() { return list.files.ToStringArray(); }
  TFolderEfficientFileStringlist list;
};

TEST_F(FolderEfficientFileListSort, NoneLeavesTheOrderAndRecordsTheKeys) {
  list.DoASort(ss_none, ss_size, false);
  EXPECT_EQ(Names(), (std::vector<UnicodeString>{u"b", u"a", u"c", u"d", u"a"}));
  EXPECT_EQ(list.sort_1, ss_none);
  EXPECT_EQ(list.sort_2, ss_size);
}

TEST_F(FolderEfficientFileListSort, EachPrimaryKeyWithItsSecondary) {
  list.DoASort(ss_size, ss_size, true);  // size alone, signed
  std::vector<std::int32_t> sizes;
  for (int i = 0; i < list.Count(); ++i) sizes.push_back(list.GetASimpleSearchRec(i).Size);
  EXPECT_EQ(sizes, (std::vector<std::int32_t>{-5, 100, 100, 200, 300}));

  list.DoASort(ss_size, ss_shortname, true);
  EXPECT_EQ(Names(), (std::vector<UnicodeString>{u"a", u"a", u"c", u"d", u"b"}));
  list.DoASort(ss_size, ss_shortname, false);  // the whole order reversed
  EXPECT_EQ(Names(), (std::vector<UnicodeString>{u"b", u"d", u"c", u"a", u"a"}));

  list.DoASort(ss_date, ss_shortname, true);  // newest first, ties by name
  EXPECT_EQ(Names(), (std::vector<UnicodeString>{u"a", u"d", u"c", u"b", u"a"}));
  list.DoASort(ss_date, ss_shortname, false);  // oldest first
  EXPECT_EQ(Names(), (std::vector<UnicodeString>{u"a", u"b", u"c", u"d", u"a"}));

  list.DoASort(ss_shortname, ss_date, true);  // name, ties newest first
  std::vector<UnicodeString> full = FullNames(list);
  EXPECT_EQ(full, (std::vector<UnicodeString>{u"/f1/a", u"/f0/a", u"/f0/b", u"/f0/c", u"/f1/d"}));

  list.DoASort(ss_folder, ss_size, true);
  EXPECT_EQ(FullNames(list), (std::vector<UnicodeString>{u"/f0/a", u"/f0/c", u"/f0/b", u"/f1/a", u"/f1/d"}));
  list.DoASort(ss_folder, ss_date, true);
  EXPECT_EQ(FullNames(list), (std::vector<UnicodeString>{u"/f0/c", u"/f0/b", u"/f0/a", u"/f1/a", u"/f1/d"}));
  EXPECT_EQ(list.sort_1, ss_folder);
  EXPECT_EQ(list.sort_2, ss_date);
}

}  // namespace
}  // namespace quill
