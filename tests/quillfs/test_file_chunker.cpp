// Making and restoring chunk sets: round trips at the size boundaries, the
// questions asked, and every kind of damaged set, which must never produce a
// restored file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "quillfs/file_chunker.h"
#include "quillfs_test_support.h"
#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/text/buffer_checksums.h"
#include "test_support.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::FolderNames;
using testing::PatternBytes;
using testing::ReadAllBytes;
using testing::ScriptedAnswers;
using testing::TempDir;
using testing::WriteAllBytes;

constexpr std::int32_t kSmallChunk = 200000;  // several copy blocks per chunk

class ChunkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dir_.Path("set"));
    fs::create_directory(dir_.Path("back"));
  }
  UnicodeString Folder(const std::string& name) const { return Utf8ToUtf16((dir_.path() / name).string()); }
  fs::path SetFile(std::int32_t number, std::int32_t out_of) const {
    return dir_.Path("set") / ("chunk " + std::to_string(number) + " of " + std::to_string(out_of) + ".tmp");
  }
  fs::path Restored() const { return dir_.Path("back") / "source.bin"; }

  // Writes source.bin and cuts it; returns the number of chunks.
  std::int32_t MakeSet(const std::vector<unsigned char>& bytes, std::int32_t chunk_size = kSmallChunk,
                       bool manifest = true) {
    WriteAllBytes(dir_.Path("source.bin"), bytes);
    TFileChunker chunker;
    chunker.SetSourcename(dir_.File("source.bin"));
    chunker.SetDirCreating(Folder("set") + u"/");
    chunker.SetChunkSize(chunk_size);
    chunker.SetWriteManifest(manifest);
    const std::int32_t made = chunker.MakeChunkFiles();
    EXPECT_TRUE(chunker.ChunkerFilenames().IsEmpty());
    first_chunk_ = chunker.FirstFileInSet();
    return made;
  }

  bool Restore(TFileChunker& chunker) {
    chunker.SetSourcename(first_chunk_);
    chunker.SetDirRestoring(Folder("back"));
    return chunker.RestoreAllChunks();
  }

  // A restore that must fail: false, the reason naming `culprit`, nothing in
  // the restore folder (no target, no temporary file), the set untouched.
  void ExpectRefused(const std::string& culprit, bool delete_after = true) {
    const auto set_before = FolderNames(dir_.Path("set"));
    TFileChunker chunker;
    chunker.SetDeleteAfterRestore(delete_after);
    EXPECT_FALSE(Restore(chunker));
    EXPECT_NE(Utf16ToUtf8(chunker.LastProblem()).find(culprit), std::string::npos) << Utf16ToUtf8(chunker.LastProblem());
    EXPECT_TRUE(FolderNames(dir_.Path("back")).empty());
    EXPECT_EQ(FolderNames(dir_.Path("set")), set_before);
  }

  TempDir dir_;
  UnicodeString first_chunk_;
};

TEST_F(ChunkerTest, RoundTripsAtTheSizeBoundaries) {
  const std::int64_t overhead = static_cast<std::int64_t>(Utf16ToUtf8(dir_.File("source.bin")).size()) + 32;
  const std::int64_t first_capacity = kSmallChunk - overhead;
  const std::int64_t later_capacity = kSmallChunk - 8;
  struct Case {
    std::int64_t size;
    std::int32_t chunks;
    std::int64_t last_file;
  };
  const Case cases[] = {
      {0, 1, overhead},                                  // header, number 0, checksum 0
      {1, 1, overhead + 1},
      {first_capacity, 1, kSmallChunk},                  // exactly one full chunk
      {first_capacity + 1, 2, 9},                        // one byte over: 9-byte second chunk
      {first_capacity + later_capacity - 3, 2, kSmallChunk - 3},  // last piece in the last 8 bytes' reach
      {first_capacity + 2 * later_capacity, 3, kSmallChunk},
  };
  // With a manifest the data are hashed as they pass; without one they move
  // inside the kernel up to the last block, which alone is read and summed.
  for (const bool manifest : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.size << (manifest ? " with" : " without") << " manifest");
      fs::remove_all(dir_.Path("set"));
      fs::create_directory(dir_.Path("set"));
      fs::remove(Restored());
      const auto bytes = PatternBytes(static_cast<std::size_t>(c.size), static_cast<std::uint32_t>(c.size));
      ASSERT_EQ(MakeSet(bytes, kSmallChunk, manifest), c.chunks);
      for (std::int32_t k = 1; k <= c.chunks; ++k) {
        EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(SetFile(k, c.chunks))), k < c.chunks ? kSmallChunk : c.last_file);
      }
      TFileChunker chunker;
      ASSERT_TRUE(Restore(chunker)) << Utf16ToUtf8(chunker.LastProblem());
      EXPECT_EQ(chunker.ManifestVerified(), manifest);
      EXPECT_EQ(chunker.ChunkerFilenames().Count(), c.chunks);
      EXPECT_EQ(ReadAllBytes(Restored()), bytes);
    }
  }
}

TEST_F(ChunkerTest, EachChunkCarriesItsNumberAndTheChecksumOfItsLastBlock) {
  const auto bytes = PatternBytes(kSmallChunk * 2);
  ASSERT_EQ(MakeSet(bytes), 3);
  const auto second = ReadAllBytes(SetFile(2, 3));
  EXPECT_EQ(TStream::FromLE<std::int32_t>(second.data()), 1);
  // Data of chunk 2: 199992 bytes = 3 blocks of 61440 and 15672 more.
  const std::size_t data = second.size() - 8;
  const std::size_t last_block = data % kChunkCopyBlock;
  EXPECT_EQ(TStream::FromLE<std::uint32_t>(&second[second.size() - 4]),
            My4Checksum(&second[4 + data - last_block], static_cast<std::int32_t>(last_block)));
  const auto empty_set = [&] {
    fs::remove_all(dir_.Path("set"));
    fs::create_directory(dir_.Path("set"));
    return MakeSet({});
  };
  ASSERT_EQ(empty_set(), 1);
  const auto only = ReadAllBytes(SetFile(1, 1));
  EXPECT_EQ(TStream::FromLE<std::int32_t>(&only[only.size() - 8]), 0);  // number 0
  EXPECT_EQ(TStream::FromLE<std::uint32_t>(&only[only.size() - 4]), 0u);  // checksum of no data
}

TEST_F(ChunkerTest, TheRestoredFileGetsTheSourcesTimeAndReadOnlyBit) {
  ASSERT_EQ(MakeSet(PatternBytes(1000)), 1);
  // Give chunk 1 a known time and read-only bit by making the set again.
  const TDateTime when = EncodeDateTime(2019, 5, 17, 10, 30, 12, 0);
  ASSERT_TRUE(SetFileLastWriteTime(dir_.File("source.bin"), when));
  fs::permissions(dir_.Path("source.bin"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  {
    ScriptedAnswers yes(IDYES);  // the chunk is there already
    TFileChunker chunker;
    chunker.SetSourcename(dir_.File("source.bin"));
    chunker.SetDirCreating(Folder("set"));
    ASSERT_EQ(chunker.MakeChunkFiles(), 1);
  }
  TFileChunker chunker;
  ASSERT_TRUE(Restore(chunker));
  TFoundEntry restored;
  ASSERT_TRUE(GetFileDetails(Utf8ToUtf16(Restored().string()), restored));
  TDateTime restored_time = 0;
  ASSERT_TRUE(TryFileStampToDateTime(restored.LastWrite, restored_time));
  EXPECT_NEAR(restored_time, when, 1.0 / MSecsPerDay);
  EXPECT_NE(restored.Attr & faReadOnly, 0);
}

TEST_F(ChunkerTest, AChunkSizeWithNoRoomForDataIsRefused) {
  WriteAllBytes(dir_.Path("source.bin"), PatternBytes(10));
  TFileChunker chunker;
  chunker.SetSourcename(dir_.File("source.bin"));
  chunker.SetDirCreating(Folder("set"));
  for (std::int32_t size : {0, -5, 8, static_cast<std::int32_t>(Utf16ToUtf8(dir_.File("source.bin")).size()) + 32}) {
    chunker.SetChunkSize(size);
    EXPECT_THROW(chunker.MakeChunkFiles(), EChunkError) << size;
  }
  EXPECT_TRUE(FolderNames(dir_.Path("set")).empty());
  chunker.SetSourcename(dir_.File("missing.bin"));
  EXPECT_EQ(chunker.MakeChunkFiles(), 0);
}

TEST_F(ChunkerTest, MakingASetNeverOverwritesUnlessTold) {
  fs::create_directory(dir_.Path("set"));
  testing::WriteText(SetFile(2, 3), "keep me");
  WriteAllBytes(dir_.Path("source.bin"), PatternBytes(kSmallChunk * 2));
  TFileChunker chunker;
  chunker.SetSourcename(dir_.File("source.bin"));
  chunker.SetDirCreating(Folder("set"));
  chunker.SetChunkSize(kSmallChunk);
  {
    ScriptedAnswers default_answer(IDNO);
    EXPECT_THROW(chunker.MakeChunkFiles(), EChunkError);
    ASSERT_EQ(default_answer.asked.size(), 1u);
    EXPECT_NE(default_answer.asked[0].find("chunk 2 of 3.tmp"), std::string::npos);
  }
  const auto kept = ReadAllBytes(SetFile(2, 3));
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep me");
  EXPECT_FALSE(fs::exists(SetFile(3, 3)));
  ScriptedAnswers yes(IDYES);
  EXPECT_EQ(chunker.MakeChunkFiles(), 3);
}

TEST_F(ChunkerTest, StopEndsMakingAfterTheChunkInHand) {
  WriteAllBytes(dir_.Path("source.bin"), PatternBytes(kSmallChunk * 3));
  TFileChunker chunker;
  chunker.SetSourcename(dir_.File("source.bin"));
  chunker.SetDirCreating(Folder("set"));
  chunker.SetChunkSize(kSmallChunk);
  chunker.OnChunkMade = [&](const UnicodeString&, std::int32_t number, std::int32_t) {
    if (number == 2) chunker.Stop();
  };
  EXPECT_THROW(chunker.MakeChunkFiles(), EChunkError);
  EXPECT_EQ(FolderNames(dir_.Path("set")), (std::vector<std::string>{"chunk 1 of 4.tmp", "chunk 2 of 4.tmp"}));
  EXPECT_FALSE(chunker.Processing());
}

TEST_F(ChunkerTest, WithWaitForNewDiskTheToolIsAskedAndNoBoxIsShown) {
  ScriptedAnswers recorder(IDCANCEL);
  WriteAllBytes(dir_.Path("source.bin"), PatternBytes(kSmallChunk * 2));
  TFileChunker chunker;
  std::vector<std::int32_t> asked_for;
  chunker.SetWaitForNewDisk(true);
  chunker.OnNewDiskNeeded = [&](std::int32_t number) { asked_for.push_back(number); };
  chunker.SetSourcename(dir_.File("source.bin"));
  chunker.SetDirCreating(Folder("set"));
  chunker.SetChunkSize(kSmallChunk);
  ASSERT_EQ(chunker.MakeChunkFiles(), 3);
  first_chunk_ = chunker.FirstFileInSet();
  ASSERT_TRUE(Restore(chunker));
  EXPECT_EQ(asked_for, (std::vector<std::int32_t>{1, 2, 3, 1, 2, 3}));
  EXPECT_TRUE(recorder.asked.empty());
}

TEST_F(ChunkerTest, ZipTooCutsAnArchiveOfTheSource) {
  // Barely compressible, so that the archive (read from memory, where nothing
  // moves inside the kernel) fills chunks of several blocks.
  const auto bytes = PatternBytes(300000);
  WriteAllBytes(dir_.Path("source.bin"), bytes);
  TFileChunker chunker;
  chunker.SetSourcename(dir_.File("source.bin"));
  chunker.SetDirCreating(Folder("set"));
  chunker.SetChunkSize(kSmallChunk);
  chunker.SetZipToo(true);
  ASSERT_EQ(chunker.MakeChunkFiles(), 2);
  first_chunk_ = chunker.FirstFileInSet();
  ASSERT_TRUE(Restore(chunker));
  TZipArchive archive;
  archive.SetFileName(Utf8ToUtf16(Restored().string()));
  archive.OpenArchive();
  ASSERT_EQ(archive.EntryCount(), 1);
  const std::string entry = archive.ExtractToBytes(0);
  EXPECT_EQ(std::vector<unsigned char>(entry.begin(), entry.end()), bytes);
}

// ---- damaged sets -----------------------------------------------------------

void FlipByte(const fs::path& file, std::uintmax_t offset) {
  auto bytes = ReadAllBytes(file);
  bytes.at(offset) ^= 0x5A;
  WriteAllBytes(file, bytes);
}

TEST_F(ChunkerTest, TheManifestHoldsTheDigestsOfTheFilesAsWritten) {
  // Chunks of several pieces and a set larger than the pieces in flight, so
  // that the hashing threads run behind the copy and pieces are reused.
  constexpr std::int32_t kChunk = 3 << 20;
  const auto bytes = PatternBytes(20 << 20, 5);
  const std::int32_t made = MakeSet(bytes, kChunk);
  ASSERT_EQ(made, 7);
  const auto digest_of = [](const std::vector<unsigned char>& data) {
    TSha256 digest;
    digest.Add(data.data(), data.size());
    return digest.HexDigest();
  };
  TChunkManifest manifest;
  UnicodeString problem;
  ASSERT_TRUE(LoadChunkManifest(ChunkManifestFileName(first_chunk_), manifest, problem)) << Utf16ToUtf8(problem);
  EXPECT_EQ(manifest.Source.Size, static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(manifest.Source.Sha256, digest_of(bytes));
  ASSERT_EQ(manifest.Chunks.size(), 7u);
  for (std::int32_t k = 1; k <= made; ++k) {
    SCOPED_TRACE(k);
    const auto chunk = ReadAllBytes(SetFile(k, made));
    EXPECT_EQ(manifest.Chunks[static_cast<std::size_t>(k - 1)].Size, static_cast<std::int64_t>(chunk.size()));
    EXPECT_EQ(manifest.Chunks[static_cast<std::size_t>(k - 1)].Sha256, digest_of(chunk));
  }
  // A change early in the first chunk is caught, though its digest is
  // compared only once the copy has moved on.
  FlipByte(SetFile(1, made), 5000);
  ExpectRefused("chunk 1 of 7.tmp");
}

TEST_F(ChunkerTest, ASetIsTheSameByteForByteWithAndWithoutAManifest) {
  // With a manifest the workers read the source for the digests while the
  // copy runs on its own; the chunks must not differ from those of a plain
  // cut. Chunks of several write-back steps, the last one partial.
  constexpr std::int32_t kChunk = 20 << 20;
  const auto bytes = PatternBytes((45 << 20) + 12345, 9);
  WriteAllBytes(dir_.Path("source.bin"), bytes);  // once: chunk 1 holds its time
  const auto cut = [&](const std::string& folder, bool manifest) {
    fs::create_directory(dir_.Path(folder));
    TFileChunker chunker;
    chunker.SetSourcename(dir_.File("source.bin"));
    chunker.SetDirCreating(Folder(folder));
    chunker.SetChunkSize(kChunk);
    chunker.SetWriteManifest(manifest);
    EXPECT_EQ(chunker.MakeChunkFiles(), 3);
    return chunker.FirstFileInSet();
  };
  cut("plain", false);
  first_chunk_ = cut("set", true);
  const fs::path plain = dir_.Path("plain");
  for (std::int32_t k = 1; k <= 3; ++k) {
    SCOPED_TRACE(k);
    const std::string name = SetFile(k, 3).filename().string();
    EXPECT_TRUE(ReadAllBytes(plain / name) == ReadAllBytes(SetFile(k, 3)));
  }
  TChunkManifest manifest;
  UnicodeString problem;
  ASSERT_TRUE(LoadChunkManifest(ChunkManifestFileName(first_chunk_), manifest, problem)) << Utf16ToUtf8(problem);
  TSha256 whole;
  whole.Add(bytes.data(), bytes.size());
  EXPECT_EQ(manifest.Source.Sha256, whole.HexDigest());
}

TEST_F(ChunkerTest, ASourceCutShortDuringACutLeavesNoHalfWrittenChunk) {
  for (const bool manifest : {true, false}) {
    SCOPED_TRACE(manifest ? "with manifest" : "without manifest");
    fs::remove_all(dir_.Path("set"));
    fs::create_directory(dir_.Path("set"));
    WriteAllBytes(dir_.Path("source.bin"), PatternBytes(kSmallChunk * 3));
    TFileChunker chunker;
    chunker.SetSourcename(dir_.File("source.bin"));
    chunker.SetDirCreating(Folder("set"));
    chunker.SetChunkSize(kSmallChunk);
    chunker.SetWriteManifest(manifest);
    // The source loses its end once chunk 1 is made, before chunk 2 is read.
    chunker.OnChunkMade = [&](const UnicodeString&, std::int32_t number, std::int32_t) {
      if (number == 1) fs::resize_file(dir_.Path("source.bin"), kSmallChunk + 1000);
    };
    EXPECT_THROW(chunker.MakeChunkFiles(), EStreamError);
    EXPECT_EQ(FolderNames(dir_.Path("set")), (std::vector<std::string>{"chunk 1 of 4.tmp"}));
  }
}

TEST_F(ChunkerTest, AMissingChunkIsAskedForOnceAndRefused) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2)), 3);
  fs::remove(SetFile(2, 3));
  ScriptedAnswers ok(IDOK);  // "inserted", but the chunk is still not there
  ExpectRefused("chunk 2 of 3.tmp");
  ASSERT_EQ(ok.asked.size(), 1u);
  EXPECT_NE(ok.asked[0].find("Change Disk: Insert disk 2 in "), std::string::npos);
}

TEST_F(ChunkerTest, ATruncatedChunkIsRefused) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2)), 3);
  fs::resize_file(SetFile(2, 3), kSmallChunk - 1);
  ExpectRefused("chunk 2 of 3.tmp");
  fs::remove_all(dir_.Path("set"));
  fs::create_directory(dir_.Path("set"));
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2), kSmallChunk, false), 3);
  fs::resize_file(SetFile(3, 3), 7);  // shorter than a chunk's overhead
  ExpectRefused("chunk 3 of 3.tmp");
}

TEST_F(ChunkerTest, ChunksOutOfOrderAreRefused) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 3), kSmallChunk, false), 4);
  fs::rename(SetFile(2, 4), dir_.Path("set") / "swap");
  fs::rename(SetFile(3, 4), SetFile(2, 4));
  fs::rename(dir_.Path("set") / "swap", SetFile(3, 4));
  ExpectRefused("chunk 2 of 4.tmp");
}

TEST_F(ChunkerTest, AChangeInTheLastBlockFailsTheChecksum) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2), kSmallChunk, false), 3);
  FlipByte(SetFile(2, 3), kSmallChunk - 10);
  ExpectRefused("chunk 2 of 3.tmp");
}

TEST_F(ChunkerTest, AChangeInAnEarlierBlockNeedsTheManifest) {
  // The format's own checksum covers only the last block of a chunk.
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2), kSmallChunk, false), 3);
  FlipByte(SetFile(2, 3), 100);
  {
    TFileChunker chunker;
    EXPECT_TRUE(Restore(chunker));
    EXPECT_FALSE(chunker.ManifestVerified());
  }
  fs::remove_all(dir_.Path("set"));
  fs::remove_all(dir_.Path("back"));
  fs::create_directory(dir_.Path("set"));
  fs::create_directory(dir_.Path("back"));
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2)), 3);
  FlipByte(SetFile(2, 3), 100);
  ExpectRefused("chunk 2 of 3.tmp");
}

TEST_F(ChunkerTest, AChunkOfAnotherSetIsCaughtByTheManifest) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2, 7)), 3);
  fs::rename(dir_.Path("set"), dir_.Path("first"));
  fs::create_directory(dir_.Path("set"));
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2, 8)), 3);  // same shape, other bytes
  fs::copy_file(dir_.Path("set") / "chunk 3 of 3.tmp", dir_.Path("first") / "chunk 3 of 3.tmp",
                fs::copy_options::overwrite_existing);
  fs::remove_all(dir_.Path("set"));
  fs::rename(dir_.Path("first"), dir_.Path("set"));
  ExpectRefused("chunk 3 of 3.tmp");
}

TEST_F(ChunkerTest, ADamagedManifestIsRefusedRatherThanIgnored) {
  ASSERT_EQ(MakeSet(PatternBytes(1000)), 1);
  testing::WriteText(dir_.Path("set") / "chunk 1 of 1.tmp.sha256", "quill chunk manifest 1\nsource 12 zz x\n");
  ExpectRefused("manifest");
}

TEST_F(ChunkerTest, StartingFromAnotherChunkThanTheFirstIsRefused) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2)), 3);
  first_chunk_ = Utf8ToUtf16(SetFile(2, 3).string());
  ExpectRefused("chunk 2 of 3.tmp");
}

TEST_F(ChunkerTest, ADamagedCountAsksNoQuestions) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2), kSmallChunk, false), 3);
  const std::int64_t count_at =
      ChunkHeaderLayout(static_cast<std::int64_t>(Utf16ToUtf8(dir_.File("source.bin")).size())).chunk_count;
  auto first = ReadAllBytes(SetFile(1, 3));
  TStream::ToLE<std::int32_t>(2000000000, &first[static_cast<std::size_t>(count_at)]);
  WriteAllBytes(SetFile(1, 3), first);
  ScriptedAnswers ok(IDOK);
  ExpectRefused("chunk 1 of 3.tmp");  // its name says 3
  // Under another name the claimed size is beyond any disk.
  fs::rename(SetFile(1, 3), dir_.Path("set") / "first.tmp");
  first_chunk_ = Utf8ToUtf16((dir_.Path("set") / "first.tmp").string());
  ExpectRefused("2000000000");
  EXPECT_TRUE(ok.asked.empty());
}

TEST_F(ChunkerTest, AHeaderTimeThatIsNoNumberStillRestores) {
  ASSERT_EQ(MakeSet(PatternBytes(3000), kSmallChunk, false), 1);
  const std::int64_t time_at =
      ChunkHeaderLayout(static_cast<std::int64_t>(Utf16ToUtf8(dir_.File("source.bin")).size())).last_write;
  auto first = ReadAllBytes(SetFile(1, 1));
  TStream::ToLE<double>(std::nan(""), &first[static_cast<std::size_t>(time_at)]);
  WriteAllBytes(SetFile(1, 1), first);
  TFileChunker chunker;
  ASSERT_TRUE(Restore(chunker)) << Utf16ToUtf8(chunker.LastProblem());
  EXPECT_EQ(ReadAllBytes(Restored()), PatternBytes(3000));
}

TEST_F(ChunkerTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSoAndIsBackedUp) {
  ASSERT_EQ(MakeSet(PatternBytes(5000)), 1);
  testing::WriteText(Restored(), "older");
  {
    ScriptedAnswers no(IDNO);
    TFileChunker chunker;
    EXPECT_FALSE(Restore(chunker));
    ASSERT_EQ(no.asked.size(), 1u);
    EXPECT_NE(no.asked[0].find("(with backup)?"), std::string::npos);
  }
  EXPECT_EQ(ReadAllBytes(Restored()).size(), 5u);
  ScriptedAnswers yes(IDYES);
  TFileChunker chunker;
  ASSERT_TRUE(Restore(chunker));
  EXPECT_EQ(ReadAllBytes(Restored()), PatternBytes(5000));
  EXPECT_EQ(ReadAllBytes(dir_.Path("back") / "source.bak").size(), 5u);
}

TEST_F(ChunkerTest, ChunksAreDeletedOnlyAfterTheWholeRestoreSucceeded) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2)), 3);
  FlipByte(SetFile(3, 3), 20);  // chunks 1 and 2 pass, chunk 3 fails
  ExpectRefused("chunk 3 of 3.tmp", true);
  FlipByte(SetFile(3, 3), 20);
  TFileChunker chunker;
  chunker.SetDeleteAfterRestore(true);
  ASSERT_TRUE(Restore(chunker));
  EXPECT_TRUE(FolderNames(dir_.Path("set")).empty());
}

TEST_F(ChunkerTest, StopDuringARestoreLeavesNoFile) {
  ASSERT_EQ(MakeSet(PatternBytes(kSmallChunk * 2)), 3);
  TFileChunker chunker;
  chunker.OnRestoreOne = [&](const UnicodeString&, std::int32_t, std::int32_t) { chunker.Stop(); };
  EXPECT_FALSE(Restore(chunker));
  EXPECT_TRUE(FolderNames(dir_.Path("back")).empty());
}

// A few hundred MB through a split and a restore, generated and checked in
// pieces so that the test itself holds little memory. Under AddressSanitizer the
// file is smaller: the same paths run, and the full size would only be slow.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::int64_t kLargeSize = 24LL << 20;
#else
constexpr std::int64_t kLargeSize = 300LL << 20;
#endif

TEST_F(ChunkerTest, ALargeFileRoundTripsInBoundedMemory) {
  const std::size_t piece = 1 << 20;
  {
    std::ofstream out(dir_.Path("source.bin"), std::ios::binary);
    for (std::int64_t done = 0; done < kLargeSize; done += piece) {
      const auto bytes = PatternBytes(piece, static_cast<std::uint32_t>(done / piece));
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
  }
  TFileChunker chunker;
  chunker.SetSourcename(dir_.File("source.bin"));
  chunker.SetDirCreating(Folder("set"));
  chunker.SetChunkSize(64 << 20);
  chunker.SetWriteManifest(true);
  const std::int32_t made = chunker.MakeChunkFiles();
  EXPECT_EQ(made, static_cast<std::int32_t>(kLargeSize / ((64 << 20) - 8) + 1));
  first_chunk_ = chunker.FirstFileInSet();
  fs::remove(dir_.Path("source.bin"));  // the restore is checked against the pattern
  ASSERT_TRUE(Restore(chunker)) << Utf16ToUtf8(chunker.LastProblem());
  EXPECT_TRUE(chunker.ManifestVerified());
  ASSERT_EQ(static_cast<std::int64_t>(fs::file_size(Restored())), kLargeSize);
  std::ifstream in(Restored(), std::ios::binary);
  std::vector<unsigned char> read(piece);
  for (std::int64_t done = 0; done < kLargeSize; done += piece) {
    in.read(reinterpret_cast<char*>(read.data()), static_cast<std::streamsize>(piece));
    ASSERT_EQ(read, PatternBytes(piece, static_cast<std::uint32_t>(done / piece))) << done;
  }
}

}  // namespace
}  // namespace quill
