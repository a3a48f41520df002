// SHA-256 and the manifest file beside a chunk set.
#include <gtest/gtest.h>

#include "quillfs/chunk_manifest.h"
#include "test_support.h"

namespace quill {
namespace {

TEST(Sha256, GivesThePublishedDigests) {
  TSha256 digest;
  EXPECT_EQ(digest.HexDigest(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  digest.Add("a", 1);
  digest.Add("bc", 2);  // pieces add up to the whole
  EXPECT_EQ(digest.HexDigest(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TChunkManifest Sample() {
  TChunkManifest manifest;
  manifest.Source = {u"corpus \u00E9t\u00E9.txt", 12, std::string(64, 'a')};
  manifest.Chunks.push_back({u"chunk 1 of 2.tmp", 10, std::string(64, 'b')});
  manifest.Chunks.push_back({u"chunk 2 of 2.tmp", 9, std::string(64, 'c')});
  return manifest;
}

TEST(ChunkManifest, ReadsBackWhatWasSaved) {
  testing::TempDir dir;
  SaveChunkManifest(dir.File("m.sha256"), Sample());
  TChunkManifest read;
  UnicodeString problem;
  ASSERT_TRUE(LoadChunkManifest(dir.File("m.sha256"), read, problem)) << Utf16ToUtf8(problem);
  EXPECT_EQ(read, Sample());
}

TEST(ChunkManifest, RefusesDamagedText) {
  const std::string good = ChunkManifestText(Sample());
  TChunkManifest read;
  UnicodeString problem;
  ASSERT_TRUE(ParseChunkManifest(good, read, problem));
  const std::string digest(64, 'b');
  const std::string damaged[] = {
      good.substr(0, good.size() - 1),                                // last line cut short
      "quill chunk manifest 2\n" + good.substr(good.find('\n') + 1),  // unknown version
      good.substr(0, good.find("chunk 1")),                           // no chunks
      good + "chunk -1 " + digest + " x\n",
      good + "chunk 1 " + digest.substr(1) + "g x\n",                 // not a digest
      good + "chunk 1 " + std::string(64, 'B') + " x\n",              // upper case
      good + "chunk 1 " + digest + " a/b\n",                          // a folder in the name
      good + "chunk 1 " + digest + " \n",                             // no name
      good + "chunk 99999999999999999999 " + digest + " x\n",
  };
  for (const std::string& text : damaged) {
    EXPECT_FALSE(ParseChunkManifest(text, read, problem)) << text;
    EXPECT_FALSE(problem.empty());
  }
}

}  // namespace
}  // namespace quill
