// Word-processor documents (.docx) in a corpus: read as the text of their
// paragraphs, one a line, by every command, and named by detect.
#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"
#include "quillrt/files/zip_archive.h"
#include "test_support.h"

namespace quill::testing {
namespace {

bool Has(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

// A minimal document: each paragraph's text split over two runs, with a
// character reference, and an empty paragraph between them.
void WriteDocx(const std::filesystem::path& file) {
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
      "<w:p><w:r><w:t>The jury said the </w:t></w:r><w:r><w:t>election was fair.</w:t></w:r></w:p>"
      "<w:p></w:p>"
      "<w:p><w:r><w:t xml:space=\"preserve\">A second jury met R&amp;D staff.</w:t></w:r></w:p>"
      "</w:body></w:document>";
  TZipArchive zip;
  zip.CreateInMemory();
  zip.AddFromBytes(u"[Content_Types].xml", "<Types/>");
  zip.AddFromBytes(u"word/document.xml", xml);
  zip.CloseArchive();
  WriteText(file, zip.InMemoryBytes());
}

TEST(CliDocx, ADocumentReadsAsTheSameTextSavedPlain) {
  TempDir docx_dir;
  TempDir text_dir;
  WriteDocx(docx_dir.Path("report.DOCX"));
  WriteText(text_dir.Path("report.txt"), "The jury said the election was fair.\r\n\r\nA second jury met R&D staff.\r\n");
  const std::string docx = docx_dir.path().string();
  const std::string text = text_dir.path().string();

  // The same concordance lines, numbers included, but for the file name.
  const CliResult from_docx = RunQuill({"concord", "-q", "--format", "tsv", "-s", "jury", docx});
  const CliResult from_text = RunQuill({"concord", "-q", "--format", "tsv", "-s", "jury", text});
  ASSERT_EQ(from_docx.exit_code, 0) << from_docx.err;
  ASSERT_EQ(from_text.exit_code, 0) << from_text.err;
  const auto without_names = [](std::string out, const std::string& name) {
    for (std::size_t at; (at = out.find(name)) != std::string::npos;) out.erase(at, name.size());
    return out;
  };
  EXPECT_EQ(without_names(from_docx.out, (docx_dir.path() / "report.DOCX").string()),
            without_names(from_text.out, (text_dir.path() / "report.txt").string()));
  EXPECT_TRUE(Has(from_docx.out, "jury")) << from_docx.out;

  // Word lists agree, and no archive member names or markup turn into words.
  const CliResult words_docx = RunQuill({"wordlist", docx});
  EXPECT_EQ(words_docx.out, RunQuill({"wordlist", text}).out);
  EXPECT_FALSE(Has(words_docx.out, "xml")) << words_docx.out;

  EXPECT_TRUE(Has(RunQuill({"detect", (docx_dir.path() / "report.DOCX").string()}).out, "\tdocx\n"));
}

TEST(CliDocx, ADamagedDocumentIsNamedAndFailsTheRun) {
  TempDir dir;
  WriteText(dir.Path("broken.docx"), "PK\x03\x04 not really an archive");
  WriteText(dir.Path("fine.txt"), "a jury\n");
  const CliResult result = RunQuill({"concord", "-q", "--count", "-s", "jury", dir.path().string()});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(Has(result.err, "broken.docx")) << result.err;
  EXPECT_TRUE(Has(result.out, "total\t1\n")) << result.out;  // the other file still counts
}

}  // namespace
}  // namespace quill::testing
