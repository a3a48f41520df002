// The corpus walked by the file-and-folder iterator: archives in folders,
// what is left out and named, and saved walks (favourites) read back instead
// of walking the disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "quilljobs/corpus.h"
#include "quilljobs/job_control.h"
#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/encoding.h"
#include "test_support.h"

namespace quill::jobs {
namespace {

using quill::testing::ReadAllBytes;
using quill::testing::TempDir;
using quill::testing::WriteAllBytes;
using quill::testing::WriteText;

void MakeZip(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& entries) {
  TZipArchive zip;
  zip.SetFileName(Utf8ToUtf16(path.string()));
  zip.OpenArchive(TZipOpenMode::create);
  for (const auto& [name, text] : entries) zip.AddFromBytes(Utf8ToUtf16(name), text);
  zip.CloseArchive();
}

// A corpus folder: texts at two depths, an archive among them, a corrupt one.
class JobsCorpusWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.Path("c/sub"));
    WriteText(dir_.Path("c/b.txt"), "bee words");
    WriteText(dir_.Path("c/sub/a.txt"), "ay words");
    MakeZip(dir_.Path("c/sub/packed.zip"), {{"one.txt", "first packed"}, {"two.txt", "second packed"}});
  }
  std::string Folder() const { return dir_.Path("c").string(); }
  std::string Relative(const UnicodeString& name) const {
    return Utf16ToUtf8(name).substr(dir_.Path("c").string().size() + 1);
  }
  std::vector<std::string> Names(const Corpus& corpus) const {
    std::vector<std::string> names;
    for (const CorpusFile& file : corpus.Files()) names.push_back(Relative(file.name));
    return names;
  }
  CorpusOptions Options() const {
    CorpusOptions options;
    options.paths = {Folder()};
    options.zips = true;
    return options;
  }
  TempDir dir_;
};

TEST_F(JobsCorpusWalk, ArchivesInFoldersAreReadAndTheUnreadableOnesNamedOnce) {
  WriteText(dir_.Path("c/broken.zip"), "PK\x03\x04 not an archive");
  std::vector<std::pair<std::string, std::string>> skipped;
  CorpusEvents events;
  events.on_skipped = [&](const std::string& name, const std::string& reason) { skipped.emplace_back(name, reason); };
  const Corpus corpus(Options(), events);
  EXPECT_EQ(Names(corpus), (std::vector<std::string>{"b.txt", "sub/a.txt", "sub/packed.zip\\one.txt",
                                                     "sub/packed.zip\\two.txt"}));
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped[0].first, dir_.Path("c/broken.zip").string());
  EXPECT_NE(skipped[0].second.find("not a readable zip archive"), std::string::npos) << skipped[0].second;

  const CorpusFile& entry = corpus.Files()[3];
  EXPECT_TRUE(entry.in_zip);
  EXPECT_EQ(Utf16ToUtf8(entry.archive), dir_.Path("c/sub/packed.zip").string());
  EXPECT_EQ(entry.entry, 2);
  UnicodeString text;
  ASSERT_TRUE(corpus.ReadText(entry, text));
  EXPECT_EQ(text, u"second packed");
}

TEST_F(JobsCorpusWalk, ArchivesAreLeftOutLikeFilesByExtensionAndWhenHidden) {
  MakeZip(dir_.Path("c/.hidden.zip"), {{"h.txt", "hidden"}});
  CorpusOptions options = Options();
  std::vector<std::string> skipped;
  CorpusEvents events;
  events.on_skipped = [&](const std::string& name, const std::string&) { skipped.push_back(name); };
  EXPECT_EQ(Names(Corpus(options, events)).size(), 4u);  // no entry of the hidden archive
  options.exclude_ext = ".zip";
  EXPECT_EQ(Names(Corpus(options, events)), (std::vector<std::string>{"b.txt", "sub/a.txt"}));
  EXPECT_TRUE(skipped.empty());
}

TEST_F(JobsCorpusWalk, AWalkSavedAsFavouritesReadsBackWithoutTheDisk) {
  const std::string favourites = dir_.Path("walk.fav").string();
  const Corpus walked(Options());
  walked.SaveFavourites(favourites);

  // Files made after the walk are not in it: the favourites are read, not the disk.
  WriteText(dir_.Path("c/later.txt"), "too late");
  CorpusOptions options;
  options.favourites = favourites;
  const Corpus read(options);
  ASSERT_EQ(read.Files().size(), walked.Files().size());
  for (std::size_t i = 0; i < read.Files().size(); ++i) {
    const CorpusFile& a = walked.Files()[i];
    const CorpusFile& b = read.Files()[i];
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.size, b.size);
    EXPECT_EQ(a.in_zip, b.in_zip);
    EXPECT_EQ(a.archive, b.archive);
    EXPECT_EQ(a.entry, b.entry);
  }
  EXPECT_EQ(read.TotalBytes(), walked.TotalBytes());
  UnicodeString text;
  ASSERT_TRUE(read.ReadText(read.Files()[2], text));
  EXPECT_EQ(text, u"first packed");

  // A corpus read from favourites is one walk too, and paths add to it.
  read.SaveFavourites(dir_.Path("again.fav").string());
  EXPECT_EQ(ReadAllBytes(dir_.Path("again.fav")), ReadAllBytes(favourites));
  options.paths = {dir_.Path("c/later.txt").string()};
  EXPECT_EQ(Names(Corpus(options)).back(), "later.txt");

  // Cut short: damaged, not a smaller walk.
  std::vector<unsigned char> bytes = ReadAllBytes(favourites);
  bytes.resize(bytes.size() - 3);
  WriteAllBytes(favourites, bytes);
  try {
    Corpus damaged(options);
    FAIL() << "a damaged favourites file was read";
  } catch (const JobError& e) {
    EXPECT_EQ(e.kind(), JobError::failed);
    EXPECT_EQ(std::string(e.what()).rfind("Cannot read: " + favourites, 0), 0u) << e.what();
  }
}

}  // namespace
}  // namespace quill::jobs
