// The folder walker, the record list with its sorts, search and stream form,
// and the per-folder list.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "quillrt/files/folderful.h"
#include "quillrt/files/peruse_dir.h"
#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/process/yield.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::TempDir;
using testing::WriteText;

UnicodeString Folder(const TempDir& dir, const std::string& sub = "") {
  return Utf8ToUtf16((sub.empty() ? dir.path() : dir.path() / sub).string());
}

TPeruseDir Walker(const UnicodeString& filemask, const UnicodeString& excluded_dirs = u"",
                  const UnicodeString& excluded_exts = u"", bool macos = false, bool zips = false,
                  bool zips_as_files = false, bool hidden = false) {
  return TPeruseDir(filemask, u"*", u"*.txt", excluded_dirs, excluded_exts, macos, zips, zips_as_files, false, hidden);
}

std::vector<UnicodeString> Names(const TMySearchRecList& list) {
  std::vector<UnicodeString> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list[i]->data.ShortName);
  return names;
}

std::vector<UnicodeString> SortedNames(const TMySearchRecList& list) {
  auto names = Names(list);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> FoundFolders(TPeruseDir& walker, const UnicodeString& head) {
  std::vector<std::string> found;
  walker.OnFoundDir = [&](const UnicodeString& dir) { found.push_back(Utf16ToUtf8(dir)); };
  walker.ProcessAllSubDirectories(head);
  std::sort(found.begin(), found.end());
  return found;
}

void MakeZip(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& entries) {
  TZipArchive zip;
  zip.SetFileName(Utf8ToUtf16(path.string()));
  zip.OpenArchive(TZipOpenMode::create);
  for (const auto& [name, content] : entries) zip.AddFromBytes(Utf8ToUtf16(name), content);
  zip.CloseArchive();
}

TEST(PeruseDir, ConstructionBuildsMasksAndPathmarks) {
  TPeruseDir walker(u"*.txt;*.htm", u"*", u"*.txt", u"old;*\\tmp;*/keep", u".bak;.tmp", true, false, false, false, false);
  EXPECT_EQ(walker.DirExcludeMasks(), (TMaskList{u"*/old", u"*\\tmp", u"*/keep"}));
  EXPECT_EQ(walker.Filemasks(), (TMaskList{u"*.txt", u"*.htm"}));
  EXPECT_EQ(walker.ExtExcludeMasks(), (TMaskList{u".bak", u".tmp"}));
  EXPECT_EQ(walker.ZipExtension(), u".zip");
  EXPECT_TRUE(walker.Processing_Files());
  EXPECT_TRUE(walker.IsExcludedFolder(u"/corpus/sub/old"));
  EXPECT_FALSE(walker.IsExcludedFolder(u"/corpus/older"));
  EXPECT_TRUE(walker.HasExcludedExtension(u"a.BAK"));
  EXPECT_FALSE(walker.HasExcludedExtension(u"bak"));
  EXPECT_TRUE(walker.IsDot_UnderscoreFile(u"._notes.txt"));
  EXPECT_FALSE(walker.IsDot_UnderscoreFile(u"notes._txt"));
  EXPECT_TRUE(walker.IsDot_UnderscoreFile(u"/corpus/._notes.txt"));
  EXPECT_FALSE(walker.IsDot_UnderscoreFile(u"/corpus/._x/notes.txt"));
}

TEST(PeruseDir, SubfolderWalkLeavesOutExcludedHiddenAndLinkedFolders) {
  TempDir dir;
  for (const char* sub : {"a", "a/old", "a/old/deep", "a/b", "a/b/old", "a/b/c", "tmp", ".git", ".git/objects", "z"})
    std::filesystem::create_directories(dir.path() / sub);
  std::filesystem::create_directory_symlink(dir.path() / "a", dir.path() / "z" / "loop");
  WriteText(dir.path() / "a" / "file.txt", "not a folder");

  TPeruseDir walker(u"*.txt", u"*", u"", u"old;*\\tmp", u"", false, false, false, false, false);
  const std::string head = dir.path().string();
  EXPECT_EQ(FoundFolders(walker, Folder(dir)),
            (std::vector<std::string>{head + "/a", head + "/a/b", head + "/a/b/c", head + "/z"}));
  EXPECT_EQ(walker.SubDirsFound(), 4);
  // The counter is never reset: a second walk adds to it.
  FoundFolders(walker, Folder(dir, "a"));
  EXPECT_EQ(walker.SubDirsFound(), 6);
}

TEST(PeruseDir, DirMaskSelectsSubfoldersAtEveryLevelAndStopping) {
  TempDir dir;
  for (const char* sub : {"data1", "data1/data2", "data1/other", "misc"}) std::filesystem::create_directories(dir.path() / sub);
  TPeruseDir walker(u"*", u"data*", u"", u"", u"", false, false, false, false, false);
  const std::string head = dir.path().string();
  EXPECT_EQ(FoundFolders(walker, Folder(dir)), (std::vector<std::string>{head + "/data1", head + "/data1/data2"}));

  TPeruseDir stopper(u"*", u"*", u"", u"", u"", false, false, false, false, false);
  int reported = 0;
  stopper.OnFoundDir = [&](const UnicodeString&) {
    ++reported;
    stopper.SetProcessing_Files(false);
  };
  stopper.ProcessAllSubDirectories(Folder(dir));
  EXPECT_EQ(reported, 1);
}

TEST(PeruseDir, FilesOfAFolderPassTheOrderedTests) {
  TempDir dir;
  for (const char* name : {"a.txt", "B.TXT", "._notes.txt", "notes._txt", "x.bak", "y.BAK", ".hidden.txt", "noext"})
    WriteText(dir.path() / name, "data");
  std::filesystem::create_directory(dir.path() / "folder.txt");

  TMySearchRecList list;
  TPeruseDir twice = Walker(u"*.txt;*.TXT");
  EXPECT_TRUE(twice.HandleAllFilesIn(Folder(dir), &list));
  // Each text file matches both parts and is listed twice; hidden ones are left out.
  EXPECT_EQ(SortedNames(list), (std::vector<UnicodeString>{u"B.TXT", u"B.TXT", u"a.txt", u"a.txt"}));

  list.Clear();
  TPeruseDir macos = Walker(u"*", u"", u".bak;.tmp", true, false, false, true);
  macos.HandleAllFilesIn(Folder(dir), &list);
  EXPECT_EQ(SortedNames(list),
            (std::vector<UnicodeString>{u".hidden.txt", u"B.TXT", u"a.txt", u"noext", u"notes._txt"}));

  list.Clear();
  TPeruseDir keep_macos = Walker(u"*.txt", u"", u"", false, false, false, true);
  keep_macos.HandleAllFilesIn(Folder(dir), &list);
  EXPECT_EQ(SortedNames(list), (std::vector<UnicodeString>{u"._notes.txt", u".hidden.txt", u"B.TXT", u"a.txt"}));

  // The acceptance event has the last word; nothing is stored without a list.
  TPeruseDir choosy = Walker(u"*.txt");
  choosy.OnCheckFileAcceptable = [](const TMySearchRec& rec, bool in_zip) {
    EXPECT_FALSE(in_zip);
    EXPECT_EQ(rec.Size, 4);
    EXPECT_EQ(rec.Number_Within_Zip, 0);
    return rec.ShortName == u"a.txt";
  };
  EXPECT_TRUE(choosy.HandleAllFilesIn(Folder(dir), nullptr));
  choosy.OnCheckFileAcceptable = [](const TMySearchRec&, bool) { return false; };
  EXPECT_FALSE(choosy.HandleAllFilesIn(Folder(dir), &list));
  choosy.SetProcessing_Files(false);
  EXPECT_FALSE(Walker(u"*.txt").HandleAllFilesIn(Folder(dir, "missing"), &list));
}

TEST(PeruseDir, RecordsCarryPackedDateSizeAndAttributes) {
  TempDir dir;
  WriteText(dir.path() / "dated.txt", "12345");
  const UnicodeString file = Utf8ToUtf16((dir.path() / "dated.txt").string());
  ASSERT_TRUE(SetFileLastWriteTime(file, EncodeDateTime(2019, 2, 3, 4, 5, 7, 0)));
  WriteText(dir.path() / "old.txt", "1");
  ASSERT_TRUE(SetFileLastWriteTime(Utf8ToUtf16((dir.path() / "old.txt").string()), EncodeDate(1970, 6, 1)));
  TMySearchRecList list;
  Walker(u"*.txt").HandleAllFilesIn(Folder(dir), &list);
  list.SetSort(sr_sort_by_name);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_DOUBLE_EQ(list[0]->data.DateTime, EncodeDateTime(2019, 2, 3, 4, 5, 6, 0));
  EXPECT_EQ(list[0]->data.Size, 5);
  EXPECT_EQ(list[0]->data.Attr, faArchive);
  EXPECT_DOUBLE_EQ(list[1]->data.DateTime, EncodeDate(1970, 1, 1));  // before packed dates begin
}

TEST(PeruseDir, ZipArchivesSkippedListedOrExamined) {
  TempDir dir;
  MakeZip(dir.path() / "x.zip", {{"a.txt", "alpha"}, {"d/b.txt", "beta"}, {"c.htm", "no"}, {"e.bak", "no"}, {"d/", ""}});
  TMySearchRecList list;

  EXPECT_FALSE(Walker(u"*").HandleAllFilesIn(Folder(dir), &list));
  EXPECT_EQ(list.Count(), 0);

  Walker(u"*", u"", u"", false, false, true).HandleAllFilesIn(Folder(dir), &list);
  EXPECT_EQ(Names(list), (std::vector<UnicodeString>{u"x.zip"}));

  list.Clear();
  TPeruseDir examiner = Walker(u"*.txt", u"", u".bak", false, true);
  std::vector<std::string> events;
  examiner.OnZipStartReading = [&](const UnicodeString& zip) { events.push_back("start " + Utf16ToUtf8(ExtractFileName(zip))); };
  examiner.OnZipReading = [&](int num, int out_of) { events.push_back(std::to_string(num) + "/" + std::to_string(out_of)); };
  examiner.OnDoneZipReading = [&](int handled) { events.push_back("done " + std::to_string(handled)); };
  bool saw_zip_entry = false;
  examiner.OnCheckFileAcceptable = [&](const TMySearchRec&, bool in_zip) { return saw_zip_entry |= in_zip, true; };
  // Entries do not make the folder's result true: only files on disk do.
  EXPECT_FALSE(examiner.HandleAllFilesIn(Folder(dir), &list));
  EXPECT_TRUE(saw_zip_entry);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[0]->data.ShortName, u"x.zip\\a.txt");
  EXPECT_EQ(list[0]->data.Number_Within_Zip, 1);
  EXPECT_EQ(list[0]->data.Size, 5);
  EXPECT_EQ(list[1]->data.ShortName, u"x.zip\\d/b.txt");
  EXPECT_EQ(list[1]->data.Number_Within_Zip, 2);
  EXPECT_EQ(examiner.ZipsExamined(), 1);
  EXPECT_EQ(examiner.TotalFilesInZips(), 2);
  EXPECT_EQ(events, (std::vector<std::string>{"start x.zip", "0/5", "1/5", "2/5", "3/5", "4/5", "done 1"}));
}

TEST(PeruseDir, AnUnreadableArchiveCostsOnlyItsOwnEntries) {
  TempDir dir;
  WriteText(dir.path() / "broken.zip", "PK\x03\x04 but nothing else that makes an archive");
  MakeZip(dir.path() / "good.zip", {{"in.txt", "x"}});
  WriteText(dir.path() / "plain.txt", "text");
  TPeruseDir walker = Walker(u"*.txt", u"", u"", false, true);
  int problems = 0;
  walker.OnZipProblem = [&](TObject* sender) {
    EXPECT_EQ(sender, &walker);
    ++problems;
  };
  TMySearchRecList list;
  EXPECT_TRUE(walker.HandleAllFilesIn(Folder(dir), &list));
  EXPECT_EQ(problems, 1);
  EXPECT_EQ(SortedNames(list), (std::vector<UnicodeString>{u"good.zip\\in.txt", u"plain.txt"}));
  EXPECT_EQ(walker.ZipsExamined(), 1);
  EXPECT_THROW(walker.AddAZip(&list, Folder(dir), u"broken.zip"), EZipError);
}

TEST(PeruseDir, StoppingFromTheYieldHookEndsTheListing) {
  TempDir dir;
  for (int i = 0; i < 20; ++i) WriteText(dir.path() / ("f" + std::to_string(i) + ".txt"), "x");
  TPeruseDir walker = Walker(u"*.txt");
  TMySearchRecList list;
  AYieldProcessProc = [&] {
    if (list.Count() == 3) walker.SetProcessing_Files(false);
  };
  walker.HandleAllFilesIn(Folder(dir), &list);
  AYieldProcessProc = nullptr;
  EXPECT_EQ(list.Count(), 3);
}

TMySearchRec Rec(const std::u16string& name, double date, int size, int attr = faArchive) {
  TMySearchRec rec;
  rec.ShortName = name;
  rec.DateTime = date;
  rec.Size = size;
  rec.Attr = attr;
  return rec;
}

TEST(MySearchRecList, SortsByEveryKey) {
  TMySearchRecList list;
  list.Add(Rec(u"b.TXT", 100, 30, 33));
  list.Add(Rec(u"A.htm", 300, 10, 32));
  list.Add(Rec(u"c.doc", 200, 20, 1));
  list.SetSort(sr_sort_by_name);
  EXPECT_EQ(Names(list), (std::vector<UnicodeString>{u"A.htm", u"b.TXT", u"c.doc"}));
  list.SetSort(sr_sort_by_date);
  EXPECT_EQ(Names(list), (std::vector<UnicodeString>{u"A.htm", u"c.doc", u"b.TXT"}));  // newest first
  list.SetSort(sr_sort_by_size);
  EXPECT_EQ(Names(list), (std::vector<UnicodeString>{u"A.htm", u"c.doc", u"b.TXT"}));
  list.SetSort(sr_sort_by_attr);
  EXPECT_EQ(Names(list), (std::vector<UnicodeString>{u"c.doc", u"A.htm", u"b.TXT"}));
  list.SetSort(sr_sort_by_extension);
  EXPECT_EQ(Names(list), (std::vector<UnicodeString>{u"c.doc", u"A.htm", u"b.TXT"}));
  EXPECT_EQ(list.CurrentSort(), sr_sort_by_extension);

  // Asking for the order the list is in does nothing, even after a hand-made swap.
  list.SetSort(sr_sort_by_date);
  list.Exchange(0, 2);
  list.SetSort(sr_sort_by_date);
  EXPECT_EQ(Names(list), (std::vector<UnicodeString>{u"b.TXT", u"c.doc", u"A.htm"}));
  // Adding makes the order unknown, so the next request sorts again.
  list.Add(Rec(u"d.txt", 250, 5));
  EXPECT_EQ(list.CurrentSort(), sr_sort_none);
  list.SetSort(sr_sort_by_date);
  EXPECT_EQ(Names(list), (std::vector<UnicodeString>{u"A.htm", u"d.txt", u"c.doc", u"b.TXT"}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.CurrentSort(), sr_sort_none);
}

TEST(MySearchRecList, FindAmongEqualKeys) {
  TMySearchRecList list;
  list.Add(Rec(u"p.txt", 10, 500));
  list.Add(Rec(u"q.txt", 11, 100));
  list.Add(Rec(u"r.txt", 12, 100));
  list.Add(Rec(u"s.txt", 13, 100));
  list.Add(Rec(u"t.txt", 14, 50));
  EXPECT_EQ(list.Find(Rec(u"s.txt", 13, 100)), 3);  // unsorted: a scan
  list.SetSort(sr_sort_by_size);
  for (const auto& wanted : {Rec(u"q.txt", 11, 100), Rec(u"r.txt", 12, 100), Rec(u"s.txt", 13, 100)}) {
    const int at = list.Find(wanted);
    ASSERT_GE(at, 0);
    EXPECT_EQ(list[at]->data.ShortName, wanted.ShortName);
  }
  EXPECT_EQ(list.IndexOF(Rec(u"t.txt", 14, 50)), 0);
  EXPECT_EQ(list.Find(Rec(u"S.TXT", 13, 100)), -1);  // names compare with case
  EXPECT_EQ(list.Find(Rec(u"s.txt", 99, 100)), -1);
  EXPECT_EQ(list.Find(Rec(u"z.txt", 1, 7)), -1);
  list.SetSort(sr_sort_by_date);
  EXPECT_EQ(list.Find(Rec(u"p.txt", 10, 500)), 4);
}

TEST(MySearchRecList, StreamRoundTripAndDamage) {
  TMySearchRecList list;
  list.Add(Rec(u"z.txt", 44000.5, 123, 33));
  list.Add(Rec(U("ü.txt"), 43000.25, -1, 1));
  TMySearchRec zipped = Rec(u"a.zip\\d/e.txt", 42000, 7);
  zipped.Number_Within_Zip = 3;
  list.Add(zipped);
  list.SetSort(sr_sort_by_name);

  TMemoryStream stream;
  EXPECT_TRUE(list.SaveToStream(stream));
  EXPECT_EQ(stream.GetSize(), 4 + 3 * 24 + 2 * (5 + 5 + 13));
  EXPECT_EQ(stream.Memory()[4 + 8 + 4 + 4 + 2], 0);  // padding
  stream.SetPosition(0);
  TMySearchRecList back;
  back.Add(Rec(u"stale", 1, 1));
  EXPECT_TRUE(back.ReadFromStream(stream));
  ASSERT_EQ(back.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(back[i]->data, list[i]->data);
  EXPECT_EQ(back.CurrentSort(), sr_sort_none);

  TMemoryStream truncated;
  truncated.WriteBuffer(stream.Memory(), stream.GetSize() - 3);
  truncated.SetPosition(0);
  EXPECT_THROW(back.ReadFromStream(truncated), EReadError);
  TMemoryStream huge;
  huge.WriteLE<std::int32_t>(1000000);
  huge.SetPosition(0);
  EXPECT_THROW(back.ReadFromStream(huge), EStreamError);
}

TEST(Folderful, FillsRenamesAndRoundTrips) {
  TempDir dir;
  WriteText(dir.path() / "one.txt", "1");
  WriteText(dir.path() / "two.txt", "22");
  MakeZip(dir.path() / "pack.zip", {{"in.txt", "333"}});
  TFolderful folder(Folder(dir));
  EXPECT_EQ(folder.DirName(), Folder(dir) + u"/");
  EXPECT_TRUE(folder.Processing_Files());
  TPeruseDir walker = Walker(u"*.txt", u"", u"", false, true);
  folder.FillList(&walker);
  folder.SetCurrentSort(sr_sort_by_size);
  ASSERT_EQ(folder.Count(), 3);
  EXPECT_EQ(folder.ShortName(0), u"one.txt");
  EXPECT_EQ(folder.FullName(2), Folder(dir) + u"/pack.zip\\in.txt");
  EXPECT_TRUE(folder.InAZip(2));
  EXPECT_FALSE(folder.InAZip(0));
  EXPECT_EQ(folder.GetAFileSize(1), 2);
  EXPECT_EQ(folder.GetAFileSize(3), -1);
  EXPECT_EQ(folder.FullName(-1), u"");
  EXPECT_EQ(folder.SearchRec(9), TMySearchRec{});
  const TMySimpleSearchRec simple = folder.SimpleSearchRec(1);
  EXPECT_EQ(simple.ShortName, u"two.txt");
  EXPECT_EQ(simple.folder_number, 0);

  folder.SetFullName(0, Folder(dir) + u"/renamed.txt");
  EXPECT_EQ(folder.ShortName(0), u"renamed.txt");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "renamed.txt"));
  try {
    folder.SetFullName(1, Folder(dir) + u"/no/such/folder/x.txt");
    ADD_FAILURE() << "renaming into a missing folder should raise";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(), u"cannot rename " + Folder(dir) + u"/two.txt");
  }
  EXPECT_EQ(folder.ShortName(1), u"two.txt");

  folder.Setdirnum(7);
  folder.SetStarts(10);
  folder.SetEnds(12);
  TMemoryStream stream;
  folder.SaveToStream(stream);
  EXPECT_EQ(stream.Memory()[0], sr_sort_by_size);
  stream.SetPosition(0);
  TFolderful back(u"/elsewhere");
  back.ReadFromStream(stream);
  EXPECT_EQ(back.DirName(), folder.DirName());
  EXPECT_EQ(back.dirnum(), 7);
  EXPECT_EQ(back.Starts(), 10);
  EXPECT_EQ(back.Ends(), 12);
  EXPECT_EQ(back.CurrentSort(), sr_sort_by_size);
  EXPECT_EQ(back.ListOfFiles().CurrentSort(), sr_sort_none);
  ASSERT_EQ(back.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(back.SearchRec(i), folder.SearchRec(i));

  back.SetProcessing_Files(false);
  EXPECT_EQ(back.Count(), 0);
  EXPECT_FALSE(back.Empty());
  back.FillList(nullptr);
  EXPECT_TRUE(back.Empty());
}

}  // namespace
}  // namespace quill
