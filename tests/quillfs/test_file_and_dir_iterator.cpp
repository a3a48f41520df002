#include "quillfs/file_and_dir_iterator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "quillrt/files/zip_archive.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/process/yield.h"
#include "quillrt/vocabulary/tool_names.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

class FileAndDirIteratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() / (std::string("quill_iter_") + info->name() + "_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    saved_tool_ = current_tool_var;
    current_tool_var = tool_concordancer;
    iterator_.SetHeadDir(U(root_));
    iterator_.SetFavourites(U(root_.parent_path() / (root_.filename().string() + ".fav")));
  }
  void TearDown() override {
    current_tool_var = saved_tool_;
    AYieldProcessProc = nullptr;
    fs::remove_all(root_);
    fs::remove(Utf16ToUtf8(iterator_.Favourites()));
  }

  static UnicodeString U(const fs::path& path) { return Utf8ToUtf16(path.string()); }
  void MakeFile(const std::string& relative, const std::string& contents = "text") {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << contents;
  }
  // head: x.txt y.txt; B: b1.txt; a: a1.txt a2.txt; a/empty: (nothing); c: notes.dat
  void MakeTree() {
    MakeFile("x.txt");
    MakeFile("y.txt");
    MakeFile("B/b1.txt");
    MakeFile("a/a1.txt");
    MakeFile("a/a2.txt");
    fs::create_directories(root_ / "a" / "empty");
    MakeFile("c/notes.dat");
  }
  std::vector<std::string> Dirs() const {
    std::vector<std::string> dirs;
    for (int i = 0; i < iterator_.Dirs().Count(); ++i) dirs.push_back(Utf16ToUtf8(iterator_.Dirs()[i]));
    return dirs;
  }
  std::string Dir(const std::string& relative) const {
    return relative.empty() ? root_.string() + "/" : (root_ / relative).string() + "/";
  }
  std::vector<std::string> HandOver() {
    std::vector<std::string> names;
    iterator_.OnProcessingAFile = [&names](const UnicodeString& full, const TMySearchRec&) {
      names.push_back(Utf16ToUtf8(full));
    };
    iterator_.SetProcessingFiles(true);
    iterator_.ProcessAllFilesFound();
    return names;
  }

  fs::path root_;
  tool_type saved_tool_ = tool_none;
  TFileAndDirIterator iterator_;
};

TEST_F(FileAndDirIteratorTest, WithoutSubfoldersOnlyTheHeadFolderIsWalked) {
  MakeTree();
  iterator_.IterateFindingFiles();
  EXPECT_EQ(Dirs(), std::vector<std::string>{Dir("")});
  EXPECT_EQ(iterator_.DirCount(), 1);
  EXPECT_EQ(iterator_.Total(), 2);
  EXPECT_EQ(iterator_.HeadDirFiles(), 2);
  EXPECT_EQ(HandOver(), (std::vector<std::string>{Dir("") + "x.txt", Dir("") + "y.txt"}));
}

TEST_F(FileAndDirIteratorTest, FoldersAreSortedIgnoringCaseAndFilesNumberedAcrossThem) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  iterator_.SetFileMask(u"*.txt");
  std::vector<std::string> found, examined;
  int done_subfolders = -1;
  iterator_.OnFoundDir = [&](const UnicodeString& name) { found.push_back(Utf16ToUtf8(name)); };
  iterator_.OnDoneSubFolders = [&](int folders) { done_subfolders = folders; };
  iterator_.OnDirExamining = [&](const UnicodeString& name, int n, int out_of, int files) {
    examined.push_back(Utf16ToUtf8(name) + " " + std::to_string(n) + "/" + std::to_string(out_of) + " " +
                       std::to_string(files));
  };
  iterator_.IterateFindingFiles();

  EXPECT_EQ(Dirs(), (std::vector<std::string>{Dir(""), Dir("a"), Dir("a/empty"), Dir("B"), Dir("c")}));
  EXPECT_EQ(found.size(), 5u);
  EXPECT_EQ(done_subfolders, 4);
  ASSERT_EQ(examined.size(), 5u);
  EXPECT_EQ(examined[2], Dir("a/empty") + " 3/5 0");
  EXPECT_EQ(iterator_.Total(), 5);
  EXPECT_EQ(iterator_.HeadDirFiles(), 2);

  // head 0-1, a 2-3, a/empty none, B 4, c (no .txt) none.
  const std::vector<std::pair<int, int>> expected = {{0, 1}, {2, 3}, {kNoFilesStarts, kNoFilesEnds}, {4, 4},
                                                     {kNoFilesStarts, kNoFilesEnds}};
  for (int i = 0; i < 5; ++i) {
    const TFolderful* folder = iterator_.Folder(i);
    ASSERT_NE(folder, nullptr) << i;
    EXPECT_EQ(std::make_pair(folder->Starts(), folder->Ends()), expected[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(folder->dirnum(), i);
  }
  EXPECT_EQ(HandOver(), (std::vector<std::string>{Dir("") + "x.txt", Dir("") + "y.txt", Dir("a") + "a1.txt",
                                                  Dir("a") + "a2.txt", Dir("B") + "b1.txt"}));
}

TEST_F(FileAndDirIteratorTest, ExclusionsAndMasksReachTheWalker) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  iterator_.SetExcludedFoldersMask(u"a");
  iterator_.SetExcludedExtensions(u".dat");
  iterator_.IterateFindingFiles();
  EXPECT_EQ(Dirs(), (std::vector<std::string>{Dir(""), Dir("B"), Dir("c")}));
  EXPECT_EQ(iterator_.Total(), 3);
}

TEST_F(FileAndDirIteratorTest, HandOverReportsFoldersProgressAndHonoursNorfolkSquare) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  iterator_.SetFileMask(u"*.txt");
  iterator_.IterateFindingFiles();

  std::vector<int> progress;
  std::vector<std::string> folders;
  iterator_.OnFilesProgress = [&](int percent) { progress.push_back(percent); };
  iterator_.OnProcessingAFolder = [&](const UnicodeString& name, int n, int out_of, int files) {
    folders.push_back(Utf16ToUtf8(name).substr(root_.string().size()) + " " + std::to_string(n) + "/" +
                      std::to_string(out_of) + " " + std::to_string(files));
  };
  EXPECT_EQ(HandOver().size(), 5u);
  EXPECT_EQ(progress, (std::vector<int>{20, 40, 60, 80, 100}));
  EXPECT_EQ(folders, (std::vector<std::string>{"/ 1/5 2", "/a/ 2/5 2", "/a/empty/ 3/5 0", "/B/ 4/5 1", "/c/ 5/5 0"}));
  EXPECT_EQ(iterator_.doing, 5);

  iterator_.NorfolkSquare = 3;
  EXPECT_EQ(HandOver().size(), 2u);
}

TEST_F(FileAndDirIteratorTest, StopDuringTheWalkLeavesTheLaterFoldersEmpty) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  int done_events = 0;
  iterator_.OnDoneFileIterating = [&](int) { ++done_events; };
  iterator_.OnDirProgress = [&](int dirnum) {
    if (dirnum == 1) iterator_.Stop();
  };
  iterator_.IterateFindingFiles();
  EXPECT_EQ(done_events, 1);
  EXPECT_FALSE(iterator_.ProcessingFiles());
  EXPECT_FALSE(iterator_.RecordsMeasuredWhole()) << "a stopped walk measured only some files";
  EXPECT_NE(iterator_.Folder(0), nullptr);
  EXPECT_NE(iterator_.Folder(1), nullptr);
  for (int i = 2; i < iterator_.DirCount(); ++i) EXPECT_EQ(iterator_.Folder(i), nullptr) << i;
  EXPECT_TRUE(HandOver().empty()) << "stopped folders report no files";
}

// Everything a walk leaves, and the events it raises, as text.
std::string WalkOutcome(TFileAndDirIterator& walk) {
  std::string outcome;
  walk.OnDirExamining = [&](const UnicodeString& name, int n, int out_of, int files) {
    outcome += "examined " + Utf16ToUtf8(name) + " " + std::to_string(n) + "/" + std::to_string(out_of) + " " +
               std::to_string(files) + "\n";
  };
  walk.OnDirProgress = [&](int dirnum) { outcome += "listed " + std::to_string(dirnum) + "\n"; };
  walk.IterateFindingFiles();
  outcome += "total " + std::to_string(walk.Total()) + " head " + std::to_string(walk.HeadDirFiles()) +
             " measured " + std::to_string(walk.RecordsMeasuredWhole()) + "\n";
  for (int i = 0; i < walk.DirCount(); ++i) {
    const TFolderful* folder = walk.Folder(i);
    outcome += Utf16ToUtf8(walk.Dirs()[i]);
    if (folder == nullptr) {
      outcome += " none\n";
      continue;
    }
    outcome += " " + std::to_string(folder->Starts()) + "-" + std::to_string(folder->Ends()) + " #" +
               std::to_string(folder->dirnum()) + ":";
    for (int j = 0; j < folder->Count(); ++j)
      outcome += " " + Utf16ToUtf8(folder->ShortName(j)) + "=" + std::to_string(folder->SearchRec(j).Size);
    outcome += "\n";
  }
  return outcome;
}

// Folders listed on several threads leave what one thread leaves, events and
// numbering in the same order; a stop from an event, the same folders empty;
// a file too large for its record, found by any thread, is counted.
TEST_F(FileAndDirIteratorTest, FoldersListedAtOnceLeaveWhatOneThreadLeaves) {
  for (int f = 0; f < 40; ++f)
    for (int k = 0; k <= f % 7; ++k)
      MakeFile("d" + std::to_string(f % 5) + "/f" + std::to_string(f) + "/t" + std::to_string(k) + ".txt",
               std::string(static_cast<std::size_t>(f * 3 + k), 'x'));
  MakeFile("top.txt");
  MakeFile("d1/.hidden.txt");
  MakeFile("d2/skip/never.txt");
  MakeFile("d3/f3/old.bak");
  iterator_.SetIncludeSubFolders(true);
  iterator_.SetReadZipfiles(false);
  iterator_.SetExcludedFoldersMask(u"skip");
  iterator_.SetExcludedExtensions(u".bak");

  const std::string one_by_one = WalkOutcome(iterator_);
  EXPECT_EQ(iterator_.LastListingThreads(), 1);
  iterator_.SetListingThreads(3);
  EXPECT_EQ(WalkOutcome(iterator_), one_by_one);
  EXPECT_EQ(iterator_.LastListingThreads(), 3);
  EXPECT_NE(one_by_one.find("/d1/f6/ "), std::string::npos) << one_by_one;
  EXPECT_NE(one_by_one.find("t6.txt=24"), std::string::npos) << one_by_one;

  // Stopped from the event of the fourth folder.
  const auto stop_at_fourth = [this](int dirnum) {
    if (dirnum == 3) iterator_.Stop();
  };
  iterator_.SetListingThreads(1);
  iterator_.OnDirProgress = stop_at_fourth;
  std::string stopped_one_by_one;
  iterator_.OnDirExamining = nullptr;
  iterator_.IterateFindingFiles();
  for (int i = 0; i < iterator_.DirCount(); ++i) stopped_one_by_one += iterator_.Folder(i) ? "+" : "-";
  iterator_.SetListingThreads(3);
  iterator_.OnDirProgress = stop_at_fourth;
  iterator_.IterateFindingFiles();
  std::string stopped_at_once;
  for (int i = 0; i < iterator_.DirCount(); ++i) stopped_at_once += iterator_.Folder(i) ? "+" : "-";
  EXPECT_EQ(stopped_at_once, stopped_one_by_one);
  EXPECT_EQ(stopped_at_once.substr(0, 5), "++++-");
  EXPECT_FALSE(iterator_.RecordsMeasuredWhole());

  // Stopped from a yield that an event installs: the folder whose yield stops
  // the walk is left empty as well.
  const auto walk_stopped_by_yield = [this](int threads) {
    iterator_.SetListingThreads(threads);
    bool stopped = false;  // Stop yields too
    iterator_.OnDirProgress = [this, &stopped](int dirnum) {
      if (dirnum != 2) return;
      AYieldProcessProc = [this, &stopped] {
        if (!std::exchange(stopped, true)) iterator_.Stop();
      };
    };
    iterator_.IterateFindingFiles();
    AYieldProcessProc = nullptr;
    std::string folders;
    for (int i = 0; i < iterator_.DirCount(); ++i) folders += iterator_.Folder(i) ? "+" : "-";
    return folders;
  };
  const std::string yield_stopped_one_by_one = walk_stopped_by_yield(1);
  EXPECT_EQ(yield_stopped_one_by_one.substr(0, 4), "+++-");
  EXPECT_EQ(walk_stopped_by_yield(3), yield_stopped_one_by_one);

  // A sparse file of 4 GB in the last folder, which another thread lists.
  const fs::path large = root_ / "d4" / "f39" / "large.txt";
  { std::ofstream(large) << ""; }
  fs::resize_file(large, std::uintmax_t{1} << 32);
  iterator_.OnDirProgress = nullptr;
  iterator_.IterateFindingFiles();
  EXPECT_FALSE(iterator_.RecordsMeasuredWhole());
  iterator_.SetListingThreads(1);
  iterator_.IterateFindingFiles();
  EXPECT_FALSE(iterator_.RecordsMeasuredWhole());
}

TEST_F(FileAndDirIteratorTest, StopFromTheYieldEndsTheHandOver) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  iterator_.IterateFindingFiles();
  int handed = 0;
  iterator_.OnProcessingAFile = [&](const UnicodeString&, const TMySearchRec&) { ++handed; };
  AYieldProcessProc = [&] {
    if (handed == 3 && iterator_.ProcessingFiles()) iterator_.Stop();
  };
  iterator_.SetProcessingFiles(true);
  iterator_.ProcessAllFilesFound();
  EXPECT_EQ(handed, 3);
}

TEST_F(FileAndDirIteratorTest, FavouritesRoundTripWithoutTheDisk) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  iterator_.SetFileMask(u"*.txt");
  iterator_.SetSortOrder(sr_sort_by_size);
  EXPECT_FALSE(iterator_.RecordsMeasuredWhole());
  iterator_.IterateFindingFiles();
  EXPECT_TRUE(iterator_.RecordsMeasuredWhole());
  const std::vector<std::string> dirs = Dirs();
  const std::vector<std::string> files = HandOver();
  ASSERT_TRUE(iterator_.SaveFavourites());

  fs::remove_all(root_);  // reading must not need the disk
  TFileAndDirIterator reader;
  reader.SetFavourites(iterator_.Favourites());
  reader.SetIncludeSubFolders(false);
  ASSERT_TRUE(reader.ReadFavourites());
  EXPECT_FALSE(reader.RecordsMeasuredWhole()) << "stored records say what was true when they were saved";
  EXPECT_TRUE(reader.IncludeSubFolders());
  EXPECT_EQ(reader.SortOrder(), sr_sort_by_size);
  EXPECT_EQ(reader.FileMask(), u"*.txt");
  EXPECT_EQ(reader.HeadDir(), iterator_.HeadDir());
  EXPECT_EQ(reader.Total(), 5);
  EXPECT_EQ(reader.DirCount(), 5);
  EXPECT_EQ(reader.HeadDirFiles(), 2);
  for (int i = 0; i < reader.DirCount(); ++i) {
    EXPECT_EQ(Utf16ToUtf8(reader.Dirs()[i]), dirs[static_cast<std::size_t>(i)]);
    const TFolderful* original = iterator_.Folder(i);
    const TFolderful* read = reader.Folder(i);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Starts(), original->Starts());
    EXPECT_EQ(read->Ends(), original->Ends());
    EXPECT_EQ(read->dirnum(), i);
    ASSERT_EQ(read->Count(), original->Count());
    for (int j = 0; j < read->Count(); ++j) EXPECT_EQ(read->SearchRec(j), original->SearchRec(j));
  }
  std::vector<std::string> reread;
  reader.OnProcessingAFile = [&](const UnicodeString& full, const TMySearchRec&) { reread.push_back(Utf16ToUtf8(full)); };
  reader.SetProcessingFiles(true);
  reader.ProcessAllFilesFound();
  EXPECT_EQ(reread, files);
  EXPECT_EQ(Utf16ToUtf8(reader.FoundMatch(u"A2.TXT")), Dir("a") + "a2.txt");
}

TEST_F(FileAndDirIteratorTest, FavouritesHeaderIsLaidOutFieldByField) {
  MakeFile("x.txt");
  iterator_.SetHeadDir(U(root_) + u"/");
  iterator_.SetDirMask(u"d*");
  iterator_.SetFileMask(u"*.txt");
  iterator_.SetReadZipfiles(false);
  iterator_.IterateFindingFiles();
  iterator_.SaveFavourites();

  std::ifstream in(Utf16ToUtf8(iterator_.Favourites()), std::ios::binary);
  const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto i32 = [&b](std::size_t at) {
    return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24);
  };
  ASSERT_GT(b.size(), 20u);
  EXPECT_EQ(i32(0), CurrentSignatureOf(tool_concordancer));
  EXPECT_EQ(b[4], 0);   // ReadZipfiles
  EXPECT_EQ(b[5], 0);   // IncludeSubFolders
  EXPECT_EQ(i32(6), 1);  // files
  EXPECT_EQ(b[10], sr_sort_by_name);
  const std::string head = Dir("");
  ASSERT_EQ(i32(11), static_cast<std::int32_t>(head.size()));
  EXPECT_EQ(b[15], head[0]);
  EXPECT_EQ(b[16], 0);  // UTF-16 little-endian
  std::size_t at = 15 + 2 * head.size();
  ASSERT_EQ(i32(at), 2);  // DirMask "d*"
  EXPECT_EQ(b[at + 4], 'd');
  at += 4 + 4;
  ASSERT_EQ(i32(at), 5);  // FileMask "*.txt"
  at += 4 + 10;
  EXPECT_EQ(i32(at), 1);  // one folder
  ASSERT_EQ(i32(at + 4), static_cast<std::int32_t>(head.size()));  // its name
  at += 8 + 2 * head.size();
  EXPECT_EQ(b[at], sr_sort_by_name);  // the folder's own stream form follows
  EXPECT_EQ(i32(at + 1), 0);          // Starts
  EXPECT_EQ(i32(at + 5), 0);          // Ends
  EXPECT_EQ(i32(at + 9), 0);          // dirnum
}

TEST_F(FileAndDirIteratorTest, FavouritesOfAnotherToolOrDamagedAreRefused) {
  MakeTree();
  iterator_.IterateFindingFiles();
  iterator_.SaveFavourites();
  const std::string path = Utf16ToUtf8(iterator_.Favourites());

  current_tool_var = tool_word_lister;  // signature 37, the concordancer's is 36
  EXPECT_FALSE(iterator_.ReadFavourites());
  EXPECT_EQ(iterator_.Total(), 0);
  current_tool_var = tool_concordancer;
  EXPECT_TRUE(iterator_.ReadFavourites());

  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  auto expect_unreadable = [&](const std::string& contents, const char* what) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
    try {
      iterator_.ReadFavourites();
      ADD_FAILURE() << what << " was read";
    } catch (const EFavouritesError& e) {
      EXPECT_EQ(e.Message(), u"Cannot read: " + iterator_.Favourites()) << what;
    }
    EXPECT_EQ(iterator_.Total(), 0) << what;
    EXPECT_EQ(iterator_.DirCount(), 0) << what;
  };
  expect_unreadable(bytes.substr(0, bytes.size() - 3), "a truncated file");
  expect_unreadable(bytes.substr(0, 2), "a file shorter than its signature");
  std::string wrong_total = bytes;
  wrong_total[6] = 9;  // the stored total no longer matches the folders
  expect_unreadable(wrong_total, "a wrong total");
  fs::remove(path);
  expect_unreadable(std::string(), "an empty file");
}

TEST_F(FileAndDirIteratorTest, UnwritableFavouritesRaise) {
  MakeFile("x.txt");
  iterator_.IterateFindingFiles();
  iterator_.SetFavourites(U(root_ / "missing" / "fav.txt"));
  try {
    iterator_.SaveFavourites();
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const EFavouritesError& e) {
    EXPECT_EQ(e.Message(), u"Cannot write to: " + iterator_.Favourites());
  }
}

TEST_F(FileAndDirIteratorTest, FindsFilesByNameAndByPattern) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  iterator_.IterateFindingFiles();
  EXPECT_EQ(Utf16ToUtf8(iterator_.FoundMatch(u"B1.Txt")), Dir("B") + "b1.txt");
  EXPECT_TRUE(iterator_.FoundMatch(u"absent.txt").empty());

  MakeFile("a/a3.txt");  // the pattern search looks at the disk again
  auto found = iterator_.FoundMatchesWildcarded(u"a?.txt");
  std::vector<std::string> names;
  for (int i = 0; i < found->Count(); ++i) names.push_back(Utf16ToUtf8((*found)[i]));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{Dir("a") + "a1.txt", Dir("a") + "a2.txt", Dir("a") + "a3.txt"}));
}

TEST_F(FileAndDirIteratorTest, DetailedListHoldsEveryFileSorted) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  iterator_.IterateFindingFiles();
  std::vector<std::string> folders;
  iterator_.OnBuildingDetailedList = [&](const UnicodeString& name) { folders.push_back(Utf16ToUtf8(name)); };
  iterator_.BuildDetailedList(ss_shortname, ss_shortname);
  EXPECT_EQ(folders.size(), 5u);
  const auto& list = iterator_.DetailedListOfAllFiles;
  ASSERT_EQ(list.Count(), 6);
  EXPECT_EQ(Utf16ToUtf8(list.GetFullFilename(0)), Dir("a") + "a1.txt");
  EXPECT_EQ(Utf16ToUtf8(list.GetFullFilename(5)), Dir("") + "y.txt");

  iterator_.Clear();
  iterator_.BuildDetailedList(ss_shortname, ss_shortname);
  EXPECT_EQ(iterator_.DetailedListOfAllFiles.Count(), 0);
}

TEST_F(FileAndDirIteratorTest, AMissingHeadFolderGivesAnEmptyWalk) {
  iterator_.SetHeadDir(U(root_ / "nowhere"));
  iterator_.SetIncludeSubFolders(true);
  iterator_.IterateFindingFiles();
  EXPECT_EQ(iterator_.DirCount(), 1);
  EXPECT_EQ(iterator_.Folder(0), nullptr);
  EXPECT_EQ(iterator_.Total(), 0);
  ASSERT_TRUE(iterator_.SaveFavourites());
  ASSERT_TRUE(iterator_.ReadFavourites());
  EXPECT_EQ(iterator_.DirCount(), 1);
  ASSERT_NE(iterator_.Folder(0), nullptr);
  EXPECT_EQ(iterator_.Folder(0)->Starts(), kNoFilesStarts);
  iterator_.FreeAFolderFul(0);
  iterator_.FreeAFolderFul(7);
  EXPECT_EQ(iterator_.Folder(0), nullptr);
}

TEST_F(FileAndDirIteratorTest, FreeingTheFoldersInUseIsRefused) {
  MakeTree();
  iterator_.SetIncludeSubFolders(true);
  iterator_.OnDirExamining = [&](const UnicodeString&, int n, int, int) {
    if (n == 2) iterator_.Clear();
  };
  EXPECT_THROW(iterator_.IterateFindingFiles(), EIteratorBusy);
  iterator_.OnDirExamining = nullptr;
  iterator_.IterateFindingFiles();
  iterator_.OnProcessingAFile = [&](const UnicodeString&, const TMySearchRec&) { iterator_.FreeAFolderFul(0); };
  iterator_.SetProcessingFiles(true);
  EXPECT_THROW(iterator_.ProcessAllFilesFound(), EIteratorBusy);
  iterator_.OnProcessingAFile = nullptr;
  EXPECT_EQ(HandOver().size(), 6u) << "the refusal left the walk whole";
}

TEST_F(FileAndDirIteratorTest, ZipEntriesAreFilesOfTheirFolderUnlessZipsAreLeftAlone) {
  MakeFile("x.txt");
  {
    TZipArchive zip;
    zip.SetFileName(U(root_ / "texts.zip"));
    zip.OpenArchive(TZipOpenMode::create);
    zip.AddFromBytes(u"d/e.txt", "one");
    zip.AddFromBytes(u"f.txt", "two");
    zip.CloseArchive();
  }
  std::vector<std::string> zips_started;
  iterator_.OnZipStartReading = [&](const UnicodeString& name) { zips_started.push_back(Utf16ToUtf8(name)); };
  int zips_examined = -1;
  iterator_.OnDoneFileIterating = [&](int zips) { zips_examined = zips; };
  iterator_.SetSortOrder(sr_sort_none);
  iterator_.IterateFindingFiles();
  EXPECT_EQ(zips_started.size(), 1u);
  EXPECT_EQ(zips_examined, 1);
  ASSERT_EQ(iterator_.Total(), 3);
  EXPECT_EQ(Utf16ToUtf8(iterator_.FoundMatch(u"TEXTS.ZIP\\d/e.txt")), Dir("") + "texts.zip\\d/e.txt");

  iterator_.SetReadZipfiles(false);
  iterator_.IterateFindingFiles();
  EXPECT_EQ(iterator_.Total(), 1) << "the archive is neither opened nor listed";
  iterator_.SetTreatZipsLikeAnyOtherFile(true);
  iterator_.IterateFindingFiles();
  EXPECT_EQ(iterator_.Total(), 2) << "the archive listed as a file";
}

}  // namespace
}  // namespace quill
