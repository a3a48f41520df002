// How files are decoded (UTF-8 with damaged bytes, UTF-16 without a mark,
// binary content) and the inputs people pipe: standard input and FIFOs.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>
#include <thread>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

TEST(CliDecoding, Utf8WithAFewBadBytesStaysUtf8) {
  TempDir dir;
  // One stray byte early on, then ordinary UTF-8.
  WriteText(dir.Path("a.txt"), "Men\xFF" "u: caf\xC3\xA9 au lait, cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e, caf\xC3\xA9.\n");
  const std::string file = dir.Path("a.txt").string();
  const CliResult concord = RunQuill({"concord", "-q", "--count", "-s", "caf\xC3\xA9", file});
  EXPECT_EQ(concord.exit_code, 0) << concord.err;
  EXPECT_TRUE(Has(concord.out, "total\t2\n")) << concord.out;
  EXPECT_TRUE(Has(concord.err, "a.txt is UTF-8 with 1 invalid byte")) << concord.err;
  const CliResult list = RunQuill({"wordlist", file});
  EXPECT_TRUE(Has(list.out, "cr\xC3\xA8me\t1\n")) << list.out;
  EXPECT_FALSE(Has(list.out, "\xC3\x83")) << list.out;  // no mojibake
  EXPECT_TRUE(Has(RunQuill({"detect", file}).out, "\tUTF-8 (1 invalid bytes)\n"));
}

TEST(CliDecoding, DetectKnowsUnmarkedUtf16BinaryAndAscii) {
  TempDir dir;
  const std::u16string text = u"Unmarked UTF-16 text with enough letters to judge.";
  std::string little, big;
  for (const char16_t c : text) {
    little += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    big += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  }
  WriteText(dir.Path("le.txt"), little);
  WriteText(dir.Path("be.txt"), big);
  WriteText(dir.Path("ascii.txt"), "seven-bit text\n");
  WriteText(dir.Path("latin1.txt"), "caf\xE9 cr\xE8me\n");
  std::string random(1 << 16, '\0');
  std::mt19937 generator(7);
  for (char& c : random) c = static_cast<char>(generator());
  WriteText(dir.Path("random.bin"), random);
  static constexpr char kPickle[] = "\x80\x04\x95\x1a\x00\x00\x00\x00\x00\x00\x00}\x94(\x8c\x03key\x94K\x01u.";
  WriteText(dir.Path("data.pickle"), std::string(kPickle, sizeof kPickle - 1));
  std::vector<std::string> args{"detect"};
  for (const char* name : {"le.txt", "be.txt", "ascii.txt", "latin1.txt", "random.bin", "data.pickle"})
    args.push_back(dir.Path(name).string());
  const CliResult detect = RunQuill(args);
  EXPECT_EQ(detect.exit_code, 0) << detect.err;
  for (const char* line : {"le.txt\tUTF-16LE\n", "be.txt\tUTF-16BE\n", "ascii.txt\tASCII\n", "latin1.txt\t8-bit\n",
                           "random.bin\tbinary\n", "data.pickle\tbinary\n"})
    EXPECT_TRUE(Has(detect.out, line)) << line << "\n" << detect.out;
}

TEST(CliDecoding, BinaryFilesAreSkippedWithANoteUnlessAskedFor) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("c"));
  WriteText(dir.Path("c/text.txt"), "a word here\n");
  WriteText(dir.Path("c/blob.bin"), std::string("\x00\x01word\x02\x00\x03\x04word\x05\x00", 15));
  const std::string corpus = dir.Path("c").string();
  const CliResult plain = RunQuill({"wordlist", corpus});
  EXPECT_EQ(plain.exit_code, 0) << plain.err;
  EXPECT_EQ(plain.out, "a\t1\nhere\t1\nword\t1\n");
  EXPECT_TRUE(Has(plain.err, "1 binary file skipped")) << plain.err;
  const CliResult binary = RunQuill({"wordlist", "--binary", corpus});
  EXPECT_TRUE(Has(binary.out, "word\t3\n")) << binary.out;
  const CliResult concord = RunQuill({"concord", "--count", "-s", "word", corpus});
  EXPECT_TRUE(Has(concord.out, "total\t1\n")) << concord.out;
  EXPECT_TRUE(Has(concord.err, "binary file")) << concord.err;
}

TEST(CliInputs, StandardInputAndFifosAreReadByEveryCommand) {
  TempDir dir;
  WriteText(dir.Path("in.txt"), "the cat saw the dog\n");
  const std::string in = dir.Path("in.txt").string();
  EXPECT_EQ(RunQuillRedirected({"wordlist", "--by-freq", "--top", "1", "-"}, in, "").out, "the\t2\n");
  EXPECT_EQ(RunQuillRedirected({"ngrams", "--top", "1", "-"}, in, "").out, "cat saw\t1\n");
  EXPECT_TRUE(Has(RunQuillRedirected({"concord", "-q", "--count", "-s", "cat", "-"}, in, "").out, "total\t1\n"));
  EXPECT_EQ(RunQuillRedirected({"wordlist", "--top", "1", "/dev/stdin"}, in, "").out, "cat\t1\n");

  const std::string fifo = dir.Path("fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { WriteText(fifo, "words through a pipe\n"); });
  const CliResult piped = RunQuill({"wordlist", fifo});
  writer.join();
  EXPECT_EQ(piped.exit_code, 0) << piped.err;
  EXPECT_EQ(piped.out, "a\t1\npipe\t1\nthrough\t1\nwords\t1\n");
}

TEST(CliInputs, NamesWithControlCharactersStayOnTheirLine) {
  TempDir dir;
  WriteText(dir.Path("two\nlines.txt"), "a target\n");
  const CliResult result = RunQuill({"concord", "-q", "-s", "target", dir.path().string()});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1) << result.out;
  EXPECT_TRUE(Has(result.out, "two\\x0Alines.txt")) << result.out;
}

}  // namespace
}  // namespace quill::testing
