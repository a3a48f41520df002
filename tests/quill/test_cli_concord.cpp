// quill concord run as a user runs it, on small corpora made here: every
// encoding a corpus file may come in, archives, folders with exclusions,
// markup, and the files that cannot be searched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli_runner.h"
#include "quillrt/files/zip_archive.h"
#include "test_support.h"

namespace quill::testing {
namespace {

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Utf16Bytes(const std::u16string& text, bool big_endian, bool with_mark) {
  std::string bytes;
  std::u16string all = with_mark ? u"\uFEFF" + text : text;
  for (char16_t c : all) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    bytes += big_endian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

std::size_t Lines(const std::string& s) { return static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n')); }

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

std::vector<std::string> Concord(const std::string& search, const std::vector<std::string>& more) {
  std::vector<std::string> args{"concord", "-q", "--format", "tsv", "-s", search};
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST(CliConcord, FindsWordsInEveryEncodingOfText) {
  TempDir dir;
  const std::u16string text = u"The caf\u00E9 owner said the caf\u00E9 was closed.\n";
  WriteBytes(dir.Path("utf8.txt"), Utf16ToUtf8(text));
  WriteBytes(dir.Path("utf8bom.txt"), "\xEF\xBB\xBF" + Utf16ToUtf8(text));
  WriteBytes(dir.Path("le_bom.txt"), Utf16Bytes(text, false, true));
  WriteBytes(dir.Path("be_bom.txt"), Utf16Bytes(text, true, true));
  WriteBytes(dir.Path("le.txt"), Utf16Bytes(text, false, false));
  WriteBytes(dir.Path("be.txt"), Utf16Bytes(text, true, false));
  WriteBytes(dir.Path("cp1252.txt"), "The caf\xE9 owner said the caf\xE9 was closed.\n");

  const auto result = RunQuill(Concord("caf\u00E9", {dir.path().string()}));
  EXPECT_EQ(result.exit_code, 0) << result.err;
  // Header plus two hits in each of the seven files, each hit decoded right.
  EXPECT_EQ(Lines(result.out), 1u + 14u) << result.out;
  EXPECT_EQ(static_cast<std::size_t>(std::count(result.out.begin(), result.out.end(), '\t')), 7u * 15u);
  for (const char* name : {"utf8.txt", "utf8bom.txt", "le_bom.txt", "be_bom.txt", "le.txt", "be.txt", "cp1252.txt"})
    EXPECT_TRUE(Has(result.out, std::string(name) + "\t")) << name << "\n" << result.out;
  EXPECT_TRUE(Has(result.out, "\tcaf\u00C3\u00A9\t") == false);  // no mojibake
}

TEST(CliConcord, ReadsEightBitTextInTheLanguagesCodePage) {
  TempDir dir;
  // "Москва" in cp1251.
  WriteBytes(dir.Path("ru.txt"), "\xCC\xEE\xF1\xEA\xE2\xE0 \xE1\xEE\xEB\xFC\xF8\xE0\xFF.\n");
  const auto result = RunQuill(Concord("москва", {"--lang", "ru_RU", dir.path().string()}));
  EXPECT_EQ(result.exit_code, 0) << result.err << result.out;
  EXPECT_TRUE(Has(result.out, "\t\u041C\u043E\u0441\u043A\u0432\u0430\t")) << result.out;
  // The same language named by its LCID; an unknown language is a usage error.
  EXPECT_EQ(RunQuill(Concord("москва", {"--lang", "0x0419", dir.path().string()})).exit_code, 0);
  EXPECT_EQ(RunQuill(Concord("москва", {"--lang", "xx_nowhere", dir.path().string()})).exit_code, 2);
}

TEST(CliConcord, LineFieldsContextWidthAndNumbers) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"),
             "one two three four five six seven eight nine ten target eleven twelve thirteen fourteen\n"
             "and a second target here.\n");
  const auto result = RunQuill(Concord("target", {"--width", "12", dir.Path("a.txt").string()}));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  // file, hit number, word number, sentence, paragraph, left, centre, right
  EXPECT_TRUE(Has(result.out, "\t1\t11\t0\t0\tnine ten \ttarget\t eleven\n")) << result.out;
  EXPECT_TRUE(Has(result.out, "\t2\t19\t0\t0\ta second \ttarget\t here.\n")) << result.out;

  const auto json = RunQuill({"concord", "-q", "--format", "json", "-s", "target", dir.Path("a.txt").string()});
  EXPECT_EQ(Lines(json.out), 2u);
  EXPECT_TRUE(Has(json.out, "\"centre\":\"target\"")) << json.out;
  EXPECT_TRUE(Has(json.out, "\"word\":11")) << json.out;
}

TEST(CliConcord, SearchSyntaxAlternativesWildcardsContextAndExclusions) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"),
             "The grand jury met. Two juries sat. A jury of peers. The jurors left. Booking a book.\n");
  const std::string file = dir.Path("a.txt").string();
  EXPECT_EQ(Lines(RunQuill(Concord("jury/juries", {file})).out), 1u + 3u);
  EXPECT_EQ(Lines(RunQuill(Concord("jur*", {file})).out), 1u + 4u);
  // Only the jury with "grand" next to it; every jury but that one.
  EXPECT_EQ(Lines(RunQuill(Concord("jury", {"--context", "grand", "--horizon", "1", file})).out), 1u + 1u);
  EXPECT_EQ(Lines(RunQuill(Concord("jury", {"--exclude", "grand", "--horizon", "1", file})).out), 1u + 1u);
  EXPECT_EQ(Lines(RunQuill(Concord("book*", {"--exclude", "booking", "--horizon", "0", file})).out), 1u + 1u);

  const auto counts = RunQuill({"concord", "-q", "--count", "-s", "jury", "-s", "the", file});
  EXPECT_EQ(counts.exit_code, 0);
  EXPECT_EQ(counts.out, "jury\t2\nthe\t2\ntotal\t4\n");
}

TEST(CliConcord, SortLimitAndSummary) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"), "big cat. small cat. agile cat. big dog.\n");
  const std::string file = dir.Path("a.txt").string();
  const auto sorted = RunQuill({"concord", "--format", "tsv", "-s", "cat", "--sort", "L1", file});
  ASSERT_EQ(sorted.exit_code, 0);
  // The left contexts, in the order shown, end with agile, big, small.
  std::vector<std::string> lefts;
  std::istringstream rows(sorted.out);
  for (std::string row; std::getline(rows, row);) {
    std::vector<std::string> fields;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() == 8 && fields[0] != "file") lefts.push_back(fields[5]);
  }
  ASSERT_EQ(lefts.size(), 3u) << sorted.out;
  EXPECT_TRUE(lefts[0].ends_with("agile ")) << sorted.out;
  EXPECT_TRUE(lefts[1].ends_with("big ")) << sorted.out;
  EXPECT_TRUE(lefts[2].ends_with("small ")) << sorted.out;
  EXPECT_TRUE(Has(sorted.err, "1 files")) << sorted.err;
  EXPECT_TRUE(Has(sorted.err, "3 hits")) << sorted.err;

  const auto limited = RunQuill({"concord", "-q", "--format", "tsv", "-s", "cat", "--limit", "2", file});
  EXPECT_EQ(Lines(limited.out), 1u + 2u);
  EXPECT_EQ(RunQuill({"concord", "-s", "cat", "--sort", "Q9", file}).exit_code, 2);
}

TEST(CliConcord, ZipArchivesFoldersAndExclusions) {
  TempDir dir;
  WriteBytes(dir.Path("corpus/top.txt"), "word at the top\n");
  WriteBytes(dir.Path("corpus/sub/deep.txt"), "word deep down\n");
  WriteBytes(dir.Path("corpus/skip/skipped.txt"), "word never read\n");
  WriteBytes(dir.Path("corpus/notes.bak"), "word in a backup\n");
  {
    TZipArchive zip;
    zip.SetFileName(Utf8ToUtf16(dir.Path("corpus/packed.zip").string()));
    zip.OpenArchive(TZipOpenMode::create);
    zip.AddFromBytes(u"inner.txt", "a word inside the archive\n");
    zip.CloseArchive();
  }
  const std::string corpus = dir.Path("corpus").string();
  const auto all = RunQuill(Concord("word", {"--zip", corpus}));
  EXPECT_EQ(Lines(all.out), 1u + 5u) << all.out;
  EXPECT_TRUE(Has(all.out, "inside the archive")) << all.out;

  const auto fewer = RunQuill(Concord("word", {"--exclude-dirs", "skip", "--exclude-ext", ".bak", corpus}));
  EXPECT_EQ(Lines(fewer.out), 1u + 2u) << fewer.out;
  EXPECT_FALSE(Has(fewer.out, "never read"));

  const auto flat = RunQuill(Concord("word", {"--no-subfolders", "--mask", "*.txt", corpus}));
  EXPECT_EQ(Lines(flat.out), 1u + 1u) << flat.out;

  // An archive named bare lies in the working folder (it was looked for at the root).
  const std::filesystem::path working = std::filesystem::current_path();
  std::filesystem::current_path(corpus);
  const auto bare = RunQuill(Concord("word", {"packed.zip"}));
  std::filesystem::current_path(working);
  EXPECT_EQ(bare.exit_code, 0) << bare.err;
  EXPECT_TRUE(Has(bare.out, "inside the archive")) << bare.out << bare.err;
}

TEST(CliConcord, MarkupIsSkippedAndSentencesCounted) {
  TempDir dir;
  WriteBytes(dir.Path("tagged.xml"),
             "<text><p><s>The <w pos=\"NN\">river</w> rose.</s> <s>A river ran.</s></p><p><s>No river.</s></p></text>\n");
  const auto result = RunQuill(Concord("river", {dir.Path("tagged.xml").string()}));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  ASSERT_EQ(Lines(result.out), 1u + 3u) << result.out;
  // Tags never appear in the context and never count as words.
  EXPECT_FALSE(Has(result.out, "pos=")) << result.out;
  // hit, word, sentence, paragraph
  EXPECT_TRUE(Has(result.out, "\t1\t2\t1\t1\t")) << result.out;
  EXPECT_TRUE(Has(result.out, "\t2\t5\t2\t1\t")) << result.out;
  EXPECT_TRUE(std::regex_search(result.out, std::regex("\t3\t[0-9]+\t3\t2\t"))) << result.out;
  // A search for a tag's name finds nothing inside the markup.
  EXPECT_EQ(RunQuill(Concord("pos", {dir.Path("tagged.xml").string()})).exit_code, 1);
}

TEST(CliConcord, ExitStatusAndBadInput) {
  TempDir dir;
  WriteBytes(dir.Path("c/empty.txt"), "");
  WriteBytes(dir.Path("c/binary.dat"), std::string("\x00\x01\x02\xFF\xFE\x00word\x00\x9F", 13));
  WriteBytes(dir.Path("c/good.txt"), "one good word\n");
  const std::string corpus = dir.Path("c").string();

  EXPECT_EQ(RunQuill(Concord("word", {corpus})).exit_code, 0);
  EXPECT_EQ(RunQuill(Concord("absent", {corpus})).exit_code, 1);

  const auto missing = RunQuill(Concord("word", {dir.Path("nowhere").string()}));
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_TRUE(Has(missing.err, "nowhere")) << missing.err;

  EXPECT_EQ(RunQuill({"concord", corpus}).exit_code, 2);  // no search word
  EXPECT_EQ(RunQuill(Concord("word", {"--format", "xml", corpus})).exit_code, 2);

  // An unreadable file is named and skipped; the rest is still searched.
  const auto locked = dir.Path("c/locked.txt");
  WriteBytes(locked, "word\n");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (std::ifstream(locked).good()) GTEST_SKIP() << "running as a user who can read any file";
  const auto partly = RunQuill(Concord("good", {corpus}));
  EXPECT_EQ(partly.exit_code, 0);
  EXPECT_TRUE(Has(partly.err, "locked.txt")) << partly.err;
  EXPECT_EQ(Lines(partly.out), 1u + 1u);
}

}  // namespace
}  // namespace quill::testing
