// quill files and quill detect on files made here.
#include <gtest/gtest.h>

#include <fstream>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(CliDetect, NamesTheContentKindOfEachFile) {
  TempDir dir;
  Write(dir.Path("plain.txt"), "plain ASCII text\n");
  Write(dir.Path("utf8.txt"), "na\xC3\xAFve caf\xC3\xA9\n");
  Write(dir.Path("le.txt"), std::string("\xFF\xFE" "a\0b\0c\0", 8));
  Write(dir.Path("be.txt"), std::string("\xFE\xFF\0a\0b\0c", 8));
  Write(dir.Path("a.zip"), std::string("PK\x03\x04rest", 8));
  const auto result = RunQuill({"detect", dir.Path("plain.txt").string(), dir.Path("utf8.txt").string(),
                                dir.Path("le.txt").string(), dir.Path("be.txt").string(), dir.Path("a.zip").string()});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.out.find("plain.txt\tASCII\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("utf8.txt\tUTF-8\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("le.txt\tUTF-16LE\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("be.txt\tUTF-16BE\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("a.zip\tzip\n"), std::string::npos) << result.out;

  const auto missing = RunQuill({"detect", dir.Path("plain.txt").string(), dir.Path("gone.txt").string()});
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("gone.txt"), std::string::npos);
  EXPECT_NE(missing.out.find("plain.txt"), std::string::npos);  // the others are still named
}

TEST(CliFiles, ListsWhatAConcordanceWouldRead) {
  TempDir dir;
  Write(dir.Path("c/a.txt"), "12345");
  Write(dir.Path("c/sub/b.txt"), "na\xC3\xAFve\n");
  Write(dir.Path("c/old/c.txt"), "x");
  const auto result = RunQuill({"files", "--exclude-dirs", "old", dir.Path("c").string()});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.out.find("a.txt\t5\t"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("b.txt\t7\t"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\tUTF-8\n"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("c.txt"), std::string::npos) << result.out;
  EXPECT_EQ(RunQuill({"files", dir.Path("none").string()}).exit_code, 2);
}

}  // namespace
}  // namespace quill::testing
