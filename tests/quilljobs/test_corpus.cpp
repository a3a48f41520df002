// The corpus: which files it collects and in what order, what it reports
// instead of losing quietly, and that its two ways of reading a text agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "quilljobs/corpus.h"
#include "quilljobs/job_control.h"
#include "quilljobs/text_decoding.h"
#include "quillrt/platform/vector_width.h"
#include "quillrt/framework/encoding.h"
#include "test_support.h"

namespace quill::jobs {
namespace {

using quill::testing::TempDir;
using quill::testing::WriteText;

struct Reports {
  std::vector<std::string> skipped, binary, warnings;
  CorpusEvents Events() {
    return {[this](const std::string& name, const std::string&) { skipped.push_back(name); },
            [this](const std::string& name) { binary.push_back(name); },
            [this](const std::string& message) { warnings.push_back(message); }};
  }
};

std::vector<std::string> Names(const Corpus& corpus, const TempDir& dir) {
  std::vector<std::string> names;
  const std::string prefix = dir.path().string() + "/";
  for (const CorpusFile& file : corpus.Files()) names.push_back(Utf16ToUtf8(file.name).substr(prefix.size()));
  return names;
}

TEST(JobsCorpus, CollectsFoldersSortedWithMasksSubfoldersAndExclusions) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("b/old"));
  WriteText(dir.Path("b/2.txt"), "two");
  WriteText(dir.Path("a.txt"), "one");
  WriteText(dir.Path("b/old/3.txt"), "three");
  WriteText(dir.Path("b/notes.bak"), "skip me");

  CorpusOptions options;
  options.paths = {dir.path().string()};
  options.exclude_ext = ".bak";
  EXPECT_EQ(Names(Corpus(options), dir), (std::vector<std::string>{"a.txt", "b/2.txt", "b/old/3.txt"}));

  options.exclude_dirs = "old";
  EXPECT_EQ(Names(Corpus(options), dir), (std::vector<std::string>{"a.txt", "b/2.txt"}));

  options.subfolders = false;
  EXPECT_EQ(Names(Corpus(options), dir), (std::vector<std::string>{"a.txt"}));

  options.subfolders = true;
  options.exclude_dirs.clear();
  options.exclude_ext.clear();
  options.mask = "*.bak";
  EXPECT_EQ(Names(Corpus(options), dir), (std::vector<std::string>{"b/notes.bak"}));
}

TEST(JobsCorpus, FilesOfFourGigabytesAndMoreKeepTheirSize) {
  TempDir dir;
  // Sparse: nothing is written but the last bytes.
  const std::uintmax_t size = (std::uintmax_t{1} << 32) + 10;
  WriteText(dir.Path("huge.txt"), "end");
  std::filesystem::resize_file(dir.Path("huge.txt"), size);
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options);
  ASSERT_EQ(corpus.Files().size(), 1u);
  EXPECT_EQ(corpus.Files()[0].size, static_cast<std::int64_t>(size));
  EXPECT_EQ(corpus.TotalBytes(), static_cast<std::int64_t>(size));

  // Many files are measured on several threads: each keeps its own size.
  for (int i = 0; i < 1200; ++i) WriteText(dir.Path("f" + std::to_string(10000 + i)), std::string(i % 37, 'x'));
  const Corpus many(options);
  ASSERT_EQ(many.Files().size(), 1201u);
  for (std::size_t i = 0; i + 1 < many.Files().size(); ++i) {
    const CorpusFile& file = many.Files()[i];
    EXPECT_EQ(file.size, static_cast<std::int64_t>(i % 37)) << Utf16ToUtf8(file.name);
    EXPECT_TRUE(file.regular);
  }
  EXPECT_EQ(many.Files().back().size, static_cast<std::int64_t>(size));

  // Without the large file the walk's own measures stand; favourites saved
  // then are measured again when read, as the files may have changed since.
  std::filesystem::remove(dir.Path("huge.txt"));
  const std::string favourites = (dir.path().parent_path() / (dir.path().filename().string() + ".fav")).string();
  {
    const Corpus walked(options);
    ASSERT_EQ(walked.Files().size(), 1200u);
    for (std::size_t i = 0; i < walked.Files().size(); ++i) {
      EXPECT_EQ(walked.Files()[i].size, static_cast<std::int64_t>(i % 37));
      EXPECT_TRUE(walked.Files()[i].regular);
    }
    walked.SaveFavourites(favourites);
  }
  WriteText(dir.Path("f10001"), "grown since");
  CorpusOptions from_favourites;
  from_favourites.favourites = favourites;
  const Corpus read(from_favourites);
  std::filesystem::remove(favourites);
  ASSERT_EQ(read.Files().size(), 1200u);
  EXPECT_EQ(read.Files()[1].size, 11);
  EXPECT_TRUE(read.Files()[1].regular);
}

TEST(JobsCorpus, ReportsWhatItLeavesOutAndRefusesBadRequests) {
  TempDir dir;
  WriteText(dir.Path("text.txt"), "plain words");
  WriteText(dir.Path("data.bin"), std::string("\x01\x02\0\0binary\0", 12));
  Reports reports;
  CorpusOptions options;
  options.paths = {dir.Path("missing").string(), dir.path().string()};
  const Corpus corpus(options, reports.Events());
  EXPECT_EQ(reports.skipped, std::vector<std::string>{dir.Path("missing").string()});
  EXPECT_EQ(corpus.SkippedInputs(), 1);
  ASSERT_EQ(corpus.Files().size(), 2u);  // the binary file is listed; reading it is refused

  UnicodeString text;
  EXPECT_FALSE(corpus.ReadText(corpus.Files()[0], text));  // data.bin
  EXPECT_EQ(corpus.BinaryFilesSkipped(), 1);
  EXPECT_EQ(reports.binary.size(), 1u);
  EXPECT_TRUE(corpus.ReadText(corpus.Files()[1], text));
  EXPECT_EQ(text, u"plain words");

  options.paths = {};
  try {
    Corpus none(options);
    FAIL() << "a corpus of no path was made";
  } catch (const JobError& e) {
    EXPECT_EQ(e.kind(), JobError::bad_request);
  }
  options.paths = {dir.path().string()};
  options.lang = "xx_NOWHERE";
  EXPECT_THROW(Corpus{options}, JobError);
}

// A file's text as read in pieces, joined; the pieces counted in `pieces`.
UnicodeString JoinedPieces(const Corpus& corpus, const CorpusFile& file, int* pieces = nullptr) {
  UnicodeString joined;
  EXPECT_TRUE(corpus.ReadTextInPieces(file, [&](std::u16string_view piece) {
    if (pieces != nullptr) ++*pieces;
    joined.append(piece);
  }));
  return joined;
}

TEST(JobsCorpus, PiecesOfALargeTextJoinToTheWholeTextInEveryEncoding) {
  TempDir dir;
  std::string utf8;
  for (int i = 0; utf8.size() < (9u << 20); ++i) utf8 += "caf\xC3\xA9 number " + std::to_string(i) + (i % 7 ? " " : "\n");
  WriteText(dir.Path("big-utf8.txt"), utf8);
  const UnicodeString wide = Utf8ToUtf16(utf8);
  std::string utf16le("\xFF\xFE", 2);
  for (const char16_t unit : wide) {
    utf16le.push_back(static_cast<char>(unit & 0xFF));
    utf16le.push_back(static_cast<char>(unit >> 8));
  }
  WriteText(dir.Path("big-utf16.txt"), utf16le);

  Reports reports;
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options, reports.Events());
  ASSERT_EQ(corpus.Files().size(), 2u);
  for (const CorpusFile& file : corpus.Files()) {
    UnicodeString whole;
    int pieces = 0;
    ASSERT_TRUE(corpus.ReadText(file, whole));
    EXPECT_EQ(whole, wide) << Utf16ToUtf8(file.name);
    EXPECT_EQ(JoinedPieces(corpus, file, &pieces), wide) << Utf16ToUtf8(file.name);
    EXPECT_GT(pieces, 1);
  }
  EXPECT_TRUE(reports.warnings.empty());
  EXPECT_EQ(corpus.TotalBytes(), static_cast<std::int64_t>(utf8.size() + utf16le.size()));
}

TEST(JobsCorpus, BadUtf8IsReadWithAWarningNamingTheFile) {
  TempDir dir;
  WriteText(dir.Path("bad.txt"), "good text \xC3\xA9 and one bad \xFF byte in it, more words to judge by");
  Reports reports;
  CorpusOptions options;
  options.paths = {dir.Path("bad.txt").string()};
  const Corpus corpus(options, reports.Events());
  UnicodeString text;
  ASSERT_TRUE(corpus.ReadText(corpus.Files()[0], text));
  EXPECT_NE(text.find(u'\uFFFD'), UnicodeString::npos);
  ASSERT_EQ(reports.warnings.size(), 1u);
  EXPECT_NE(reports.warnings[0].find("bad.txt"), std::string::npos);
}

// A large file is judged a block of a megabyte at a time: sequences cut by
// the blocks' ends must be counted whole, once, as a count of the whole file
// counts them. (With these lines, four block ends fall inside a sequence.)
TEST(JobsCorpus, ALargeFileIsJudgedAsItsWholeBytesWouldBe) {
  std::string line;
  for (int k = 0; k < 17; ++k) line += "\xF0\x9F\x98\x80";  // four-byte characters
  for (int k = 0; k < 3; ++k) line += "\xE2\x82\xAC";        // and three-byte ones
  line += '\n';
  std::string utf8;
  while (utf8.size() < (std::size_t{4} << 20) + 100) utf8 += line;
  for (const std::size_t at : {100u, 20000u, 50000u}) utf8[at * line.size() + line.size() - 1] = '\xFF';
  // Latin-1 bytes in a large file: never well-formed, so 8-bit.
  std::string latin((std::size_t{2} << 20) + 7, 'b');
  for (std::size_t at = 100; at < latin.size(); at += 1000) latin[at] = '\xE9';
  TempDir dir;
  WriteText(dir.Path("a-utf8.txt"), utf8);
  WriteText(dir.Path("b-latin.txt"), latin);

  Reports reports;
  CorpusOptions options;
  options.paths = {dir.path().string()};
  const Corpus corpus(options, reports.Events());
  ASSERT_EQ(corpus.Files().size(), 2u);
  for (const CorpusFile& file : corpus.Files()) {
    UnicodeString whole;
    ASSERT_TRUE(corpus.ReadText(file, whole));
    EXPECT_EQ(JoinedPieces(corpus, file), whole) << Utf16ToUtf8(file.name);
  }
  // Once for the whole read, once for the read in pieces.
  ASSERT_EQ(reports.warnings.size(), 2u);
  for (const std::string& warning : reports.warnings)
    EXPECT_NE(warning.find("a-utf8.txt is UTF-8 with 3 invalid byte(s)"), std::string::npos) << warning;
  const UnicodeString latin_text = JoinedPieces(corpus, corpus.Files()[1]);
  EXPECT_EQ(std::count(latin_text.begin(), latin_text.end(), u'\u00E9'), std::count(latin.begin(), latin.end(), '\xE9'));
}

// Counting a text a stretch at a time: each count comes back at its
// stretch's end (a long ASCII run must not carry it to the end of the text,
// whose pages the caller lets go stretch by stretch), a sequence cut by a
// stretch's end is counted whole once, and the sums are those of one count.
TEST(TextDecodingTally, StretchByStretchCountsAsOnePassAndStopsAtEachEnd) {
  std::string bytes(300, 'a');
  for (const std::size_t at : {20, 62, 64, 127, 200, 290}) bytes.replace(at, 2, "\xC3\xA9");
  bytes[150] = '\xE9';  // a damaged byte
  Utf8Tally whole;
  EXPECT_EQ(whole.Count(bytes, 0, bytes.size()), bytes.size());
  EXPECT_EQ(whole.well_formed, 6u);
  EXPECT_EQ(whole.invalid, 1u);
  for (const std::size_t stretch : {1, 7, 16, 64, 100}) {
    Utf8Tally parts;
    for (std::size_t i = 0; i < bytes.size();) {
      const std::size_t end = std::min(i + stretch, bytes.size());
      const std::size_t next = parts.Count(bytes, i, end);
      ASSERT_GE(next, end);
      ASSERT_LE(next, end + 3) << "a count ran on past its stretch";  // at most the rest of a cut sequence
      i = next;
    }
    EXPECT_EQ(parts.well_formed, whole.well_formed) << stretch;
    EXPECT_EQ(parts.invalid, whole.invalid) << stretch;
  }
}

}  // namespace
}  // namespace quill::jobs

namespace quill::jobs {
namespace {

// Widening sixteen bytes at a time must give the plain loop's units and see a
// byte above 0x7F wherever it falls: in a block, in the tail, or nowhere.
TEST(TextDecodingWidening, AgreesWithAPlainLoopAndSeesEveryHighByte) {
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t high = 0; high <= length; ++high) {
      std::string bytes;
      for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>('a' + i % 26);
      if (high < length) bytes[high] = '\xE9';
      std::u16string units(length, u'\0');
      EXPECT_EQ(WidenedAscii(bytes, units.data()), high == length) << length << " " << high;
      for (std::size_t i = 0; i < length; ++i) ASSERT_EQ(units[i], static_cast<unsigned char>(bytes[i]));
    }
  }
}

// Judging and widening in one pass must say "plain ASCII" exactly when the
// judge does, wherever the first other byte falls, and then give the text;
// with the processor's widest vectors and limited to the narrow ones.
TEST(TextDecodingWidening, PlainAsciiInOnePassAgreesWithTheJudge) {
  for (const bool narrow : {false, true})
  for (const char other : {'\xE9', '\0', '\x7F', '\x01', '\xFF'}) {
    LimitToNarrowVectors(narrow);
    for (std::size_t length = 4; length <= 80; ++length) {
      for (std::size_t at = 0; at <= length; ++at) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) bytes += "ab\tc d\r\ne"[i % 9];
        if (at < length) bytes[at] = other;
        std::u16string units(length, u'\0');
        const bool plain = WidenedPlainAscii(bytes, units.data());
        ASSERT_EQ(plain, KindOfText(bytes).encoding == TextKind::ascii && at == length)
            << int(other) << " " << length << " " << at << (narrow ? " narrow" : " widest");
        if (plain) {
          EXPECT_EQ(units, DecodeText(bytes, KindOfText(bytes)));
        }
      }
    }
  }
  LimitToNarrowVectors(false);
}

}  // namespace
}  // namespace quill::jobs
