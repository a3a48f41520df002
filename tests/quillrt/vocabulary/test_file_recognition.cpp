// Recognising saved lists on disk: earlier releases' files, files of this and
// earlier versions per tool, batch zips; and the index-file family.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "quillrt/files/zip_archive.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/vocabulary/file_recognition.h"
#include "quillrt/vocabulary/saved_list_header.h"
#include "quillrt/vocabulary/tool_names.h"
#include "quillrt/vocabulary/word_list_index_files.h"
#include "test_support.h"

namespace quill {
namespace {

using testing::ReadAllBytes;
using testing::TempDir;
using testing::WriteAllBytes;

class RunningToolGuard {
 public:
  RunningToolGuard() : saved_(current_tool_var) {}
  ~RunningToolGuard() { current_tool_var = saved_; }

 private:
  tool_type saved_;
};

// A header with `version` and `type`, followed by `body_bytes` bytes.
std::vector<unsigned char> SavedList(std::int32_t version, const std::string& type, std::size_t body_bytes = 8) {
  TCheckSignature sig;
  sig.signature = version;
  sig.type_of_data = type;
  const TCheckSignatureBytes header = CheckSignatureToBytes(sig);
  std::vector<unsigned char> bytes(header.begin(), header.end());
  bytes.resize(bytes.size() + body_bytes, 0x5A);
  return bytes;
}

// The 41-byte start of an earlier release's file, then some body.
std::vector<unsigned char> OldFile(std::uint8_t length, const std::string& name, bool zero_first) {
  std::vector<unsigned char> bytes(60, 0);
  bytes[0] = length;
  std::size_t at = zero_first ? 2 : 1;
  for (const char c : name) bytes[at++] = static_cast<unsigned char>(c);
  return bytes;
}

class FileRecognition : public ::testing::Test {
 protected:
  TQYStored_File_rec Rec(const std::string& name) {
    TQYStored_File_rec rec;
    rec.filename = dir_.File(name);
    rec.ListType = lt_sorting;  // every function must reset it first
    return rec;
  }
  TempDir dir_;
  RunningToolGuard guard_;
};

TEST_F(FileRecognition, OldFilesByTheirOlderHeaderName) {
  WriteAllBytes(dir_.Path("a.lst"), OldFile(11, "Word Lister", false));
  auto rec = Rec("a.lst");
  EXPECT_TRUE(IsAnOldQuillaryFile(rec));
  EXPECT_EQ(rec.ListType, lt_word_list);

  // The name may start one byte later; the length cuts it.
  WriteAllBytes(dir_.Path("b.cnc"), OldFile(12, "Concordancer and more", true));
  rec = Rec("b.cnc");
  EXPECT_TRUE(IsAnOldQuillaryFile(rec));
  EXPECT_EQ(rec.ListType, lt_concordance_list);

  // First match in kind order: "Detailed Consistency List" is kind 4's only.
  WriteAllBytes(dir_.Path("c.lst"), OldFile(25, "Detailed Consistency List", false));
  rec = Rec("c.lst");
  EXPECT_TRUE(IsAnOldQuillaryFile(rec));
  EXPECT_EQ(rec.ListType, lt_detailed_consistency_list);
  WriteAllBytes(dir_.Path("d.txt"), OldFile(10, " Text List", false));
  rec = Rec("d.txt");
  EXPECT_TRUE(IsAnOldQuillaryFile(rec));
  EXPECT_EQ(rec.ListType, lt_aligner_plaintext_list);
}

TEST_F(FileRecognition, NotOldFiles) {
  // A zero first byte: the name is cut to nothing, which never matches.
  WriteAllBytes(dir_.Path("zero.lst"), OldFile(0, "Word Lister", false));
  // A name cut short by its length.
  WriteAllBytes(dir_.Path("cut.lst"), OldFile(4, "Word Lister", false));
  // Exactly 41 bytes is not longer than the old header.
  auto exact = OldFile(11, "Word Lister", false);
  exact.resize(41);
  WriteAllBytes(dir_.Path("exact.lst"), exact);
  WriteAllBytes(dir_.Path("other.lst"), OldFile(5, "Hello", false));
  std::filesystem::create_directory(dir_.Path("folder.lst"));
  for (const char* name : {"zero.lst", "cut.lst", "exact.lst", "other.lst", "missing.lst", "folder.lst"}) {
    auto rec = Rec(name);
    EXPECT_FALSE(IsAnOldQuillaryFile(rec)) << name;
    EXPECT_EQ(rec.ListType, lt_none_in_use) << name;
  }
}

TEST_F(FileRecognition, OldHeaderNameRules) {
  const std::uint8_t unterminated[5] = {9, 'a', 'b', 'c', 'd'};
  EXPECT_EQ(OldHeaderNameFromBytes(unterminated, 5), "abcd");
  const std::uint8_t two_zeros[5] = {9, 0, 0, 'c', 'd'};
  EXPECT_EQ(OldHeaderNameFromBytes(two_zeros, 5), "");
  EXPECT_EQ(OldHeaderNameFromBytes(two_zeros, 0), "");
}

TEST_F(FileRecognition, VersionsPerTool) {
  WriteAllBytes(dir_.Path("aligned.ali"), SavedList(38, "Aligner List32"));
  WriteAllBytes(dir_.Path("conc.cnc"), SavedList(36, "Concordance32"));
  WriteAllBytes(dir_.Path("words.lst"), SavedList(37, "Word List32"));
  WriteAllBytes(dir_.Path("strange.lst"), SavedList(40, "Word List32"));

  auto rec = Rec("aligned.ali");
  EXPECT_EQ(WhichToolsQuillary32BitFile(rec), tool_viewer_aligner);
  EXPECT_EQ(rec.ListType, lt_aligner_list);
  rec = Rec("conc.cnc");
  EXPECT_EQ(WhichToolsQuillary32BitFile(rec), tool_concordancer);  // the lowest kind with 36
  EXPECT_EQ(rec.ListType, lt_concordance_list);
  rec = Rec("words.lst");
  EXPECT_EQ(WhichToolsQuillary32BitFile(rec), tool_word_lister);
  rec = Rec("strange.lst");
  EXPECT_EQ(WhichToolsQuillary32BitFile(rec), tool_none);
  EXPECT_EQ(rec.ListType, lt_none_in_use);

  rec = Rec("conc.cnc");
  EXPECT_TRUE(IsAQuillary32BitFileForTool(rec, tool_concordancer));
  EXPECT_EQ(rec.ListType, lt_concordance_list);
  rec = Rec("conc.cnc");
  EXPECT_FALSE(IsAQuillary32BitFileForTool(rec, tool_word_lister));
  EXPECT_EQ(rec.ListType, lt_none_in_use);

  current_tool_var = tool_word_lister;
  rec = Rec("words.lst");
  EXPECT_TRUE(IsAQuillary32BitFile(rec));
  rec = Rec("conc.cnc");
  EXPECT_FALSE(IsAQuillary32BitFile(rec));
}

TEST_F(FileRecognition, EarlierVersionsOfTheRunningTool) {
  current_tool_var = tool_word_lister;  // writes 37
  WriteAllBytes(dir_.Path("v34.lst"), SavedList(34, "Word List32"));
  WriteAllBytes(dir_.Path("v35.lst"), SavedList(35, "Word List32"));
  WriteAllBytes(dir_.Path("v36.lst"), SavedList(36, "Concordance32"));
  WriteAllBytes(dir_.Path("v37.lst"), SavedList(37, "Word List32"));
  WriteAllBytes(dir_.Path("v38.lst"), SavedList(38, "Word List32"));

  struct Case {
    const char* name;
    bool earlier;
    list_type kind;
  };
  for (const Case& c : {Case{"v34.lst", false, lt_none_in_use}, Case{"v35.lst", true, lt_word_list},
                        Case{"v36.lst", true, lt_concordance_list}, Case{"v37.lst", false, lt_word_list},
                        Case{"v38.lst", false, lt_none_in_use}}) {
    auto rec = Rec(c.name);
    EXPECT_EQ(WasAQuillary32BitFile(rec), c.earlier) << c.name;
    EXPECT_EQ(rec.ListType, c.kind) << c.name;
  }
}

TEST_F(FileRecognition, HeadersNeedABody) {
  // A file of just the header is not longer than it.
  WriteAllBytes(dir_.Path("bare.lst"), SavedList(37, "Word List32", 0));
  auto rec = Rec("bare.lst");
  EXPECT_EQ(WhichToolsQuillary32BitFile(rec), tool_none);
  EXPECT_FALSE(IsAQuillary32BitFileForTool(rec, tool_word_lister));
  current_tool_var = tool_concordancer;
  EXPECT_FALSE(WasAQuillary32BitFile(rec));
  EXPECT_EQ(rec.ListType, lt_none_in_use);
  rec = Rec("missing.lst");
  EXPECT_EQ(WhichToolsQuillary32BitFile(rec), tool_none);
}

class BatchZips : public FileRecognition {
 protected:
  void MakeZip(const std::string& name, const std::string& comment, int entries) {
    TZipArchive zip;
    zip.SetFileName(dir_.File(name));
    zip.OpenArchive(TZipOpenMode::create);
    for (int i = 0; i < entries; ++i) zip.AddFromBytes(u"list" + IntToU16(i) + u".lst", "body");
    if (!comment.empty()) zip.SetComment(comment);
    zip.CloseArchive();
  }
  static UnicodeString IntToU16(int i) { return Utf8ToUtf16(std::to_string(i)); }
};

TEST_F(BatchZips, CommentNamesTheKindOfTheListsInside) {
  MakeZip("words.zip", "Quilry Batch file .lst", 3);
  auto rec = Rec("words.zip");
  rec.Number_within_Zipfile = 99;
  EXPECT_TRUE(IsABatchZipFileForListType(rec));
  EXPECT_EQ(rec.ListType, lt_word_list);
  EXPECT_EQ(rec.Number_within_Zipfile, 3);

  MakeZip("conc.zip", "Quilry Batch file .cnc", 1);
  rec = Rec("conc.zip");
  EXPECT_TRUE(IsABatchZipFileForListType(rec));
  EXPECT_EQ(rec.ListType, lt_concordance_list);
  EXPECT_EQ(rec.Number_within_Zipfile, 1);

  // A batch of an extension no kind has: still a batch file, of no kind.
  MakeZip("odd.zip", "Quilry Batch file .xyz", 2);
  rec = Rec("odd.zip");
  EXPECT_TRUE(IsABatchZipFileForListType(rec));
  EXPECT_EQ(rec.ListType, lt_none_in_use);
  EXPECT_EQ(rec.Number_within_Zipfile, 0);
}

TEST_F(BatchZips, NotBatchFiles) {
  MakeZip("short.zip", "Quilry Batch file ", 2);  // nothing after the prefix
  MakeZip("empty.zip", "Quilry Batch file .lst", 0);
  MakeZip("plain.zip", "", 2);
  MakeZip("other.zip", "quilry batch file .lst", 2);
  WriteAllBytes(dir_.Path("notzip.zip"), SavedList(37, "Word List32"));
  for (const char* name : {"short.zip", "empty.zip", "plain.zip", "other.zip", "notzip.zip", "missing.zip"}) {
    auto rec = Rec(name);
    rec.Number_within_Zipfile = 5;
    EXPECT_FALSE(IsABatchZipFileForListType(rec)) << name;
    EXPECT_EQ(rec.ListType, lt_none_in_use) << name;
    EXPECT_EQ(rec.Number_within_Zipfile, 0) << name;
  }
}

class IndexFamily : public ::testing::Test {
 protected:
  void Make(const std::string& name, const std::string& text) {
    WriteAllBytes(dir_.Path(name), std::vector<unsigned char>(text.begin(), text.end()));
  }
  std::string Read(const std::string& name) {
    const auto bytes = ReadAllBytes(dir_.Path(name));
    return std::string(bytes.begin(), bytes.end());
  }
  TempDir dir_;
};

TEST_F(IndexFamily, BackupCopiesEveryMemberThatExists) {
  Make("corpus.types", "types");
  Make("corpus.tokens", "tokens");
  Make("corpus.stats", "stats");
  Make("corpus.tokens_bak", "old backup");
  Make("other.types", "not ours");
  TryToBackupIndexFiles(dir_.File("corpus.tokens"));
  EXPECT_EQ(Read("corpus.types_bak"), "types");
  EXPECT_EQ(Read("corpus.tokens_bak"), "tokens");
  EXPECT_EQ(Read("corpus.stats_bak"), "stats");
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("corpus.markup_bak")));
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("other.types_bak")));
  // Nothing but the family and its backups: no temporary file left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path())) ++files;
  EXPECT_EQ(files, 4 + 3);
}

TEST_F(IndexFamily, AFailedCopyLeavesNoPartOfItAndTheOthersGoOn) {
  Make("corpus.markup", "markup");
  Make("corpus.types", "new");
  Make("corpus.types_bak", "old");
  // The backup's name is taken by a folder: this copy cannot take its place.
  std::filesystem::create_directories(dir_.Path("corpus.markup_bak/inside"));
  TryToBackupIndexFiles(dir_.File("corpus"));
  EXPECT_EQ(Read("corpus.types_bak"), "new");
  EXPECT_TRUE(std::filesystem::is_directory(dir_.Path("corpus.markup_bak")));
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"corpus.markup", "corpus.markup_bak", "corpus.types", "corpus.types_bak"}));
}

TEST_F(IndexFamily, DeleteRemovesTheFamilyOnly) {
  for (const char* ext : {".markup", ".types", ".tokens", ".base_pairs", ".base_index", ".base_index_cg", ".stats"})
    Make(std::string("corpus") + ext, "x");
  Make("corpus.types_bak", "backup");
  Make("corpus.lst", "word list");
  TryToDeleteIndexFiles(dir_.File("corpus.types"));
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"corpus.lst", "corpus.types_bak"}));
  TryToDeleteIndexFiles(dir_.File("corpus"));  // nothing left to delete: no harm
}

}  // namespace
}  // namespace quill
