// quill split, quill join and quill compare on files made here.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

namespace fs = std::filesystem;

std::string Bytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 997) & 0xFF);
  return bytes;
}

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t CountFiles(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(CliSplitJoin, RoundTripWithAVerifiedManifest) {
  TempDir dir;
  fs::create_directory(dir.Path("set"));
  fs::create_directory(dir.Path("back"));
  Write(dir.Path("data.bin"), Bytes(250000));
  const auto split = RunQuill({"split", dir.Path("data.bin").string(), "--size", "100K", "--out", dir.Path("set").string()});
  ASSERT_EQ(split.exit_code, 0) << split.err;
  EXPECT_NE(split.out.find("in 3 chunks"), std::string::npos) << split.out;
  EXPECT_TRUE(fs::exists(dir.Path("set") / "chunk 1 of 3.tmp.sha256"));

  const auto join = RunQuill({"join", (dir.Path("set") / "chunk 1 of 3.tmp").string(), "--out", dir.Path("back").string()});
  ASSERT_EQ(join.exit_code, 0) << join.err;
  EXPECT_NE(join.out.find("verified"), std::string::npos) << join.out;
  EXPECT_EQ(Read(dir.Path("back") / "data.bin"), Read(dir.Path("data.bin")));

  // Joining again without --force leaves the file alone.
  const auto again = RunQuill({"join", (dir.Path("set") / "chunk 1 of 3.tmp").string(), "--out", dir.Path("back").string()});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;

  // Without the manifest the join works but says it could not verify fully.
  fs::remove(dir.Path("set") / "chunk 1 of 3.tmp.sha256");
  const auto unverified = RunQuill({"join", (dir.Path("set") / "chunk 1 of 3.tmp").string(), "--out",
                                    (dir.Path("back") / "again.bin").string()});
  ASSERT_EQ(unverified.exit_code, 0) << unverified.err;
  EXPECT_NE(unverified.out.find("not fully verified"), std::string::npos) << unverified.out;
}

TEST(CliSplitJoin, ADamagedSetGivesNoFile) {
  TempDir dir;
  fs::create_directory(dir.Path("set"));
  fs::create_directory(dir.Path("back"));
  Write(dir.Path("data.bin"), Bytes(250000));
  ASSERT_EQ(RunQuill({"split", dir.Path("data.bin").string(), "--size", "100K", "--out", dir.Path("set").string()}).exit_code, 0);
  std::string second = Read(dir.Path("set") / "chunk 2 of 3.tmp");
  second[10] = static_cast<char>(second[10] ^ 1);  // an early block: only the manifest sees it
  Write(dir.Path("set") / "chunk 2 of 3.tmp", second);
  const auto join = RunQuill({"join", (dir.Path("set") / "chunk 1 of 3.tmp").string(), "--out", dir.Path("back").string()});
  EXPECT_EQ(join.exit_code, 1);
  EXPECT_NE(join.err.find("chunk 2 of 3.tmp"), std::string::npos) << join.err;
  EXPECT_EQ(CountFiles(dir.Path("back")), 0u);
}

TEST(CliSplitJoin, ExistingChunksAreKeptUnlessForced) {
  TempDir dir;
  fs::create_directory(dir.Path("set"));
  Write(dir.Path("data.bin"), Bytes(250000));
  Write(dir.Path("set") / "chunk 3 of 3.tmp", "someone else's");
  const auto split = RunQuill({"split", dir.Path("data.bin").string(), "--size", "100K", "--out", dir.Path("set").string()});
  EXPECT_EQ(split.exit_code, 1);
  EXPECT_NE(split.err.find("chunk 3 of 3.tmp"), std::string::npos) << split.err;
  EXPECT_EQ(Read(dir.Path("set") / "chunk 3 of 3.tmp"), "someone else's");
  EXPECT_EQ(CountFiles(dir.Path("set")), 1u);  // the chunks made before it are gone again
  EXPECT_EQ(RunQuill({"split", dir.Path("data.bin").string(), "--size", "100K", "--out", dir.Path("set").string(),
                      "--force"}).exit_code, 0);
}

// The source is 4 GB of sparse file, so that the split is surely under way
// when its first chunk appears and Ctrl-C comes.
TEST(CliSplitJoin, CtrlCLeavesNoPartOfTheSet) {
  TempDir dir;
  fs::create_directory(dir.Path("set"));
  const fs::path source = dir.Path("big.bin");
  Write(source, "");
  fs::resize_file(source, std::uintmax_t{4} << 30);
  const auto run = RunShell("set -m\n"
                            "\"$QUILL\" split '" + source.string() + "' --size 1M --out '" + dir.Path("set").string() +
                            "' 2> '" + dir.Path("err").string() + "' & q=$!\n"
                            "while kill -0 $q 2> /dev/null && ! ls '" + dir.Path("set").string() +
                            "' | grep -q chunk; do sleep 0.01; done\n"
                            "kill -INT $q\n"
                            "wait $q\n"
                            "echo \"status $?\"\n");
  EXPECT_NE(run.out.find("status 130"), std::string::npos) << run.out << run.err;
  EXPECT_NE(Read(dir.Path("err")).find("interrupted: no chunk set made"), std::string::npos) << Read(dir.Path("err"));
  EXPECT_EQ(CountFiles(dir.Path("set")), 0u);
}

TEST(CliSplitJoin, BadSizesAreUsageErrors) {
  TempDir dir;
  Write(dir.Path("data.bin"), Bytes(100));
  for (const char* size : {"0", "12Q", "3G", "-1", "M"}) {
    const auto split = RunQuill({"split", dir.Path("data.bin").string(), "--size", size, "--out", dir.path().string()});
    EXPECT_EQ(split.exit_code, 2) << size;
  }
  // A folder (or a pipe) is not a file of a known size.
  const auto folder = RunQuill({"split", dir.path().string(), "--out", dir.path().string()});
  EXPECT_EQ(folder.exit_code, 2);
  EXPECT_NE(folder.err.find("not a regular file"), std::string::npos) << folder.err;
  // A size with no room for data after the header.
  const auto tiny = RunQuill({"split", dir.Path("data.bin").string(), "--size", "20", "--out", dir.path().string()});
  EXPECT_EQ(tiny.exit_code, 1);
  EXPECT_NE(tiny.err.find("no room for data"), std::string::npos) << tiny.err;
}

TEST(CliCompare, ExitCodesTellIdenticalDifferentAndErrors) {
  TempDir dir;
  Write(dir.Path("a"), Bytes(300000));
  Write(dir.Path("b"), Bytes(300000));
  std::string changed = Bytes(300000);
  changed[150000] = 'x';
  Write(dir.Path("c"), changed);
  Write(dir.Path("crlf.txt"), "one\r\ntwo\r\n");
  Write(dir.Path("lf.txt"), "one\ntwo\n");

  const auto same = RunQuill({"compare", dir.Path("a").string(), dir.Path("b").string()});
  EXPECT_EQ(same.exit_code, 0) << same.err;
  EXPECT_NE(same.out.find("100.00% matching"), std::string::npos) << same.out;

  const auto different = RunQuill({"compare", dir.Path("a").string(), dir.Path("c").string()});
  EXPECT_EQ(different.exit_code, 1);
  EXPECT_NE(different.out.find("50.00% matching"), std::string::npos) << different.out;

  EXPECT_EQ(RunQuill({"compare", dir.Path("crlf.txt").string(), dir.Path("lf.txt").string()}).exit_code, 1);
  const auto blind = RunQuill({"compare", dir.Path("crlf.txt").string(), dir.Path("lf.txt").string(), "--ignore-line-ends"});
  EXPECT_EQ(blind.exit_code, 0);
  EXPECT_NE(blind.out.find("line ends ignored"), std::string::npos) << blind.out;

  EXPECT_EQ(RunQuill({"compare", dir.Path("a").string(), dir.Path("gone").string()}).exit_code, 2);
}

}  // namespace
}  // namespace quill::testing
