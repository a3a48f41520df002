#include <gtest/gtest.h>

#include <string>

#include "quillrt/analysis/docx_text.h"
#include "quillrt/files/zip_archive.h"
#include "test_support.h"
#include "word_list_test_helpers.h"

namespace quill {
namespace {

using testing::TempDir;

constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
constexpr const char* kTail = "</w:body></w:document>";

std::string Body(const std::string& paragraphs) { return kHead + paragraphs + kTail; }

// Writes a .docx-like archive holding `entries` (stored name, bytes) and returns its name.
UnicodeString WriteDocx(const TempDir& dir, const std::string& name,
                        const std::vector<std::pair<std::string, std::string>>& entries) {
  TZipArchive zip;
  zip.CreateInMemory();
  for (const auto& [stored, bytes] : entries) zip.AddFromBytes(U(stored), bytes);
  zip.CloseArchive();
  const std::string& bytes = zip.InMemoryBytes();
  testing::WriteText(dir.Path(name), bytes);
  return dir.File(name);
}

UnicodeString TextOf(const std::string& document_xml) { return DOCXTextFromDocumentXml(document_xml); }

TEST(DOCXText, ParagraphsAndRunsBecomeLines) {
  EXPECT_EQ(TextOf(Body("<w:p><w:r><w:t>Hel</w:t></w:r><w:r><w:t xml:space=\"preserve\">lo</w:t></w:r></w:p>"
                        "<w:p w:rsidR=\"00AB\"><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:t>world</w:t>"
                        "<w:tab/><w:t>!</w:t></w:r></w:p>")),
            u"Hello\r\nworld!\r\n");
  // Properties and tabs look like the tags but are none of them.
  EXPECT_EQ(TextOf(Body("<w:p><w:pPr/><w:r><w:tab/><w:tbl/></w:r></w:p>")), u"\r\n");
  EXPECT_EQ(TextOf(""), u"");
  EXPECT_EQ(TextOf(Body("")), u"");
}

TEST(DOCXText, OnlyParagraphsWithBothTagsGiveLines) {
  EXPECT_EQ(TextOf(Body("<w:p/><w:p /><w:p></w:p><w:p><w:r><w:t>x</w:t></w:r></w:p><w:p w:rsidR=\"1\"/>"
                        "<w:p w:rsidR=\"1\"></w:p>")),
            u"\r\nx\r\n\r\n");
  // A self-closing run is empty and does not swallow the next run's text.
  EXPECT_EQ(TextOf(Body("<w:p><w:r><w:t/><w:t /><w:t>a</w:t></w:r></w:p>")), u"a\r\n");
}

TEST(DOCXText, CharacterReferencesStayAsWritten) {
  const std::string xml = Body("<w:p><w:r><w:t>R&amp;D &lt;&#233;&#x263A;&gt; caf\xC3\xA9</w:t></w:r></w:p>");
  EXPECT_EQ(TextOf(xml), u"R&amp;D &lt;&#233;&#x263A;&gt; caf\u00E9\r\n");
  EXPECT_EQ(DecodedXmlCharacterReferences(TextOf(xml)), u"R&D <\u00E9\u263A> caf\u00E9\r\n");
  EXPECT_EQ(DecodedXmlCharacterReferences(u"&#x1F600;&#0;&#xD800;&bogus; & &;&#x;&#99999999;"),
            u"\U0001F600&#0;&#xD800;&bogus; & &;&#x;&#99999999;");
}

TEST(DOCXText, BytesAfterAZeroByteAreIgnored) {
  std::string xml = Body("<w:p><w:r><w:t>kept</w:t></w:r></w:p>");
  xml += std::string(1, '\0') + "<w:p><w:r><w:t>lost</w:t></w:r></w:p>";
  EXPECT_EQ(TextOf(xml), u"kept\r\n");
}

TEST(DOCXText, AlternateContentKeepsTheFallbackOnly) {
  const std::string block =
      "<mc:AlternateContent><mc:Choice Requires=\"wps\"><w:r><w:t>choice</w:t></w:r></mc:Choice>"
      "<mc:Fallback><w:r><w:t>fallback</w:t></w:r></mc:Fallback></mc:AlternateContent>";
  EXPECT_EQ(TextOf(Body("<w:p><w:r><w:t>a</w:t></w:r>" + block + "<w:r><w:t>b</w:t></w:r></w:p><w:p>" + block +
                        "</w:p>")),
            u"afallbackb\r\nfallback\r\n");
  // Without a fallback, or without its closing tag, the block stays as it is.
  const std::string no_fallback =
      "<mc:AlternateContent><mc:Choice><w:r><w:t>only</w:t></w:r></mc:Choice></mc:AlternateContent>";
  EXPECT_EQ(TextOf(Body("<w:p>" + no_fallback + "</w:p><w:p>" + block + "</w:p>")), u"only\r\nfallback\r\n");
  EXPECT_EQ(TextOf(Body("<w:p><mc:AlternateContent><mc:Choice><w:r><w:t>c</w:t></w:r></mc:Choice>"
                        "<mc:Fallback><w:r><w:t>f</w:t></w:r></mc:Fallback></w:p>")),
            u"cf\r\n");
  // Blocks are closed by the first closing tag met, without counting nesting: a block
  // nested in a fallback keeps both its branches once the outer fallback is cut.
  const std::string nested = "<mc:AlternateContent><mc:Choice><w:t>1</w:t></mc:Choice><mc:Fallback>" +
                             std::string("<mc:AlternateContent><mc:Choice><w:t>2</w:t></mc:Choice>") +
                             "<mc:Fallback><w:t>3</w:t></mc:Fallback></mc:AlternateContent>" +
                             "</mc:Fallback></mc:AlternateContent>";
  EXPECT_EQ(TextOf(Body("<w:p>" + nested + "</w:p>")), u"23\r\n");
  EXPECT_EQ(AlternateContentReducedToFallback(u"x<mc:AlternateContent>y"), u"x<mc:AlternateContent>y");
  EXPECT_EQ(AlternateContentReducedToFallback(
                u"a<mc:AlternateContent>c<mc:Fallback>F</mc:Fallback></mc:AlternateContent>b"),
            u"a<mc:Fallback>F</mc:AlternateContent>b");
  // Many blocks cost time in proportion to the text, not to its square.
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "<w:p>" + block + "</w:p>";
  const UnicodeString text = TextOf(Body(many));
  EXPECT_EQ(text.size(), 5000u * 10);
  EXPECT_EQ(text.substr(0, 10), u"fallback\r\n");
}

TEST(DOCXText, UnclosedTagsAtTheEndDoNotLoseOrInventText) {
  EXPECT_EQ(TextOf("<w:p><w:r><w:t>open"), u"open\r\n");
  EXPECT_EQ(TextOf("<w:p><w:r><w:t"), u"\r\n");
  EXPECT_EQ(TextOf("<w:p"), u"");
}

TEST(DOCXFileText, FindsTheDocumentPartByNameInAnyCase) {
  TempDir dir;
  const std::string xml = Body("<w:p><w:r><w:t>one</w:t></w:r></w:p><w:p><w:r><w:t>two</w:t></w:r></w:p>");
  const UnicodeString file = WriteDocx(dir, "a.docx",
                                       {{"[Content_Types].xml", "<Types/>"},
                                        {"word/styles.xml", "<w:p><w:t>style</w:t></w:p>"},
                                        {"word\\DOCUMENT.XML", xml},
                                        {"other/document.xml", Body("<w:p><w:t>second</w:t></w:p>")}});
  int yields = 0;
  testing::YieldHookScope hook([&] { ++yields; });
  EXPECT_EQ(DOCXFileText(file), u"one\r\ntwo\r\n");
  EXPECT_EQ(yields, 3) << "once per entry walked, up to the document part";
  EXPECT_EQ(DocxCorpusText(file), u"one\r\ntwo\r\n");
}

TEST(DocxCorpusText, DecodesReferencesKeepingOneLinePerParagraph) {
  TempDir dir;
  const UnicodeString file = WriteDocx(
      dir, "refs.docx",
      {{"word/document.xml", Body("<w:p><w:r><w:t>Fish &amp; chips&#13;&#10;to go</w:t></w:r></w:p><w:p/>"
                                  "<w:p><w:r><w:t>caf&#xE9; &lt;b&gt;</w:t></w:r></w:p>")}});
  EXPECT_EQ(DocxCorpusText(file), u"Fish & chips  to go\r\ncaf\u00E9 <b>\r\n");
  EXPECT_EQ(DocxCorpusText(dir.File("none.docx")), u"");
}

TEST(DOCXFileText, MissingFileOrPartOrEmptyPartGiveNothing) {
  TempDir dir;
  EXPECT_EQ(DOCXFileText(dir.File("absent.docx")), u"");
  EXPECT_EQ(DOCXFileText(WriteDocx(dir, "b.docx", {{"word/styles.xml", Body("<w:p><w:t>s</w:t></w:p>")}})), u"");
  EXPECT_EQ(DOCXFileText(WriteDocx(dir, "c.docx", {{"word/document.xml", ""}})), u"");
  // The name must be the whole file name, not a tail of it.
  EXPECT_EQ(DOCXFileText(WriteDocx(dir, "d.docx", {{"word/mydocument.xml", Body("<w:p><w:t>s</w:t></w:p>")}})),
            u"");
}

TEST(DOCXFileText, ADamagedArchiveRaises) {
  TempDir dir;
  testing::WriteText(dir.Path("plain.docx"), "this is not an archive at all");
  EXPECT_THROW(DOCXFileText(dir.File("plain.docx")), EZipError);
  // A real archive cut short loses its central directory.
  const UnicodeString whole = WriteDocx(dir, "whole.docx", {{"word/document.xml", Body("<w:p><w:t>x</w:t></w:p>")}});
  auto bytes = testing::ReadAllBytes(dir.Path("whole.docx"));
  bytes.resize(bytes.size() / 2);
  testing::WriteAllBytes(dir.Path("cut.docx"), bytes);
  EXPECT_THROW(DOCXFileText(dir.File("cut.docx")), EZipError);
  EXPECT_EQ(DOCXFileText(whole), u"x\r\n");
}

TEST(DOCXFileText, AHugePartRaisesAClearErrorInsteadOfFillingMemory) {
  TempDir dir;
  std::string xml = Body("<w:p><w:t>" + std::string(200000, 'a') + "</w:t></w:p>");
  const UnicodeString file = WriteDocx(dir, "big.docx", {{"word/document.xml", xml}});
  EXPECT_EQ(DOCXFileText(file).size(), 200002u);
  try {
    DOCXFileText(file, 100000);
    FAIL() << "no error for a part over the limit";
  } catch (const EDocumentTooLarge& e) {
    EXPECT_NE(std::string(e.what()).find("larger than 100000 bytes"), std::string::npos) << e.what();
  }
  EXPECT_EQ(DOCXFileText(file, static_cast<std::int64_t>(xml.size())).size(), 200002u) << "exactly the limit is fine";
}

}  // namespace
}  // namespace quill
