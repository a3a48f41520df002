#include <gtest/gtest.h>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/format.h"
#include "test_support.h"

namespace quill {
namespace {

class CatalogueTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetCatalogue(); }
};

TEST_F(CatalogueTest, ServesTheEnglishTextsByKey) {
  EXPECT_EQ(CatalogueText("_QYTrue"), u"true");
  EXPECT_EQ(CatalogueText("_QYFalse"), u"false");
  EXPECT_EQ(CatalogueText("_QYByte"), u"bytes");
  EXPECT_EQ(CatalogueText("_QYKilobyte"), u"Kb");
  EXPECT_EQ(CatalogueText("_QYMegabyte"), u"Mb");
  EXPECT_EQ(CatalogueText("_QYGigabyte"), u"Gb");
  EXPECT_EQ(CatalogueText("_QYEtc"), u"etc.");
  EXPECT_EQ(CatalogueText("_QYUnknown_date_str"), u"<no date found>");
  // Placeholders stay for Format.
  EXPECT_EQ(Format(CatalogueText("_QYFileReadError"), {u"ReadAString"}), u"file read error : ReadAString");
}

TEST_F(CatalogueTest, AnUnknownKeyAnswersWithItself) {
  EXPECT_EQ(CatalogueText("_QYNoSuchText"), u"_QYNoSuchText");
  EXPECT_FALSE(HasCatalogueText("_QYNoSuchText"));
  EXPECT_EQ(CatalogueText(""), u"");
  // Lookup is exact: no prefix or case matches.
  EXPECT_EQ(CatalogueText("_QYtrue"), u"_QYtrue");
  EXPECT_EQ(CatalogueText("_QYTru"), u"_QYTru");
}

TEST_F(CatalogueTest, EveryBuiltInKeyIsFoundAndHasText) {
  const auto keys = CatalogueKeys();
  ASSERT_FALSE(keys.empty());
  for (const auto key : keys) {
    EXPECT_TRUE(HasCatalogueText(key)) << key;
    EXPECT_NE(CatalogueText(key), Utf8ToUtf16(key)) << key;
    EXPECT_FALSE(CatalogueText(key).empty()) << key;
  }
}

TEST_F(CatalogueTest, OverridesReplaceTextsUntilReset) {
  SetCatalogueText("_QYTrue", u"vrai");
  SetCatalogueText("_QYBrandNew", u"nouveau");
  EXPECT_EQ(CatalogueText("_QYTrue"), u"vrai");
  EXPECT_EQ(EnglishCatalogueText("_QYTrue"), u"true");
  EXPECT_EQ(CatalogueText("_QYBrandNew"), u"nouveau");
  EXPECT_TRUE(HasCatalogueText("_QYBrandNew"));
  EXPECT_EQ(CatalogueText("_QYFalse"), u"false");

  ResetCatalogueText("_QYTrue");
  EXPECT_EQ(CatalogueText("_QYTrue"), u"true");
  EXPECT_EQ(CatalogueText("_QYBrandNew"), u"nouveau");
  ResetCatalogue();
  EXPECT_EQ(CatalogueText("_QYBrandNew"), u"_QYBrandNew");
}

TEST_F(CatalogueTest, LanguagePackSetsTheNamedEntries) {
  testing::TempDir dir;
  testing::WriteText(dir.Path("fr.txt"),
                     "\xEF\xBB\xBF; French\n"
                     "_QYTrue=vrai\n"
                     "  _QYKilobyte = Ko\n"
                     "\n"
                     "# comment=ignored\n"
                     "=no key\n"
                     "no separator\n"
                     "_QYEtc=etc. (et cetera)=\n"
                     "_QYFalse=faux \xC3\xA9t\xC3\xA9\n");
  EXPECT_EQ(LoadCatalogueLanguagePack(dir.File("fr.txt")), 4);
  EXPECT_EQ(CatalogueText("_QYTrue"), u"vrai");
  EXPECT_EQ(CatalogueText("_QYKilobyte"), u" Ko");  // the text is kept as written
  EXPECT_EQ(CatalogueText("_QYEtc"), u"etc. (et cetera)=");
  EXPECT_EQ(CatalogueText("_QYFalse"), u"faux été");
  EXPECT_EQ(CatalogueText("_QYGigabyte"), u"Gb");
  EXPECT_FALSE(HasCatalogueText("# comment"));

  EXPECT_THROW(LoadCatalogueLanguagePack(dir.File("missing.txt")), EFOpenError);
  EXPECT_EQ(CatalogueText("_QYTrue"), u"vrai");
}

TEST_F(CatalogueTest, TranslationFileReplacesTheTextsItNames) {
  testing::TempDir dir;
  testing::WriteText(dir.Path("de.tsv"),
                     "\xEF\xBB\xBF# German\r\n"
                     "_QYTrue\twahr\r\n"
                     "\n"
                     "_QYDeleteXQ\t%s l\xC3\xB6schen?\n"
                     "_QYFileAlreadyExists\tDatei(en) schon da.\\nWirklich?\tTab\\\\\n"
                     "_QYXsColumnNsValue\tWert (%s) in Spalte %d");
  EXPECT_EQ(LoadCatalogueTranslation(dir.File("de.tsv")), 4);
  EXPECT_EQ(CatalogueText("_QYTrue"), u"wahr");
  EXPECT_EQ(CatalogueText("_QYDeleteXQ"), u"%s löschen?");
  EXPECT_EQ(CatalogueText("_QYFileAlreadyExists"), u"Datei(en) schon da.\nWirklich?\tTab\\");
  EXPECT_EQ(CatalogueText("_QYXsColumnNsValue"), u"Wert (%s) in Spalte %d");  // reordered, same kinds
  EXPECT_EQ(CatalogueText("_QYFalse"), u"false");
}

// A faulty translation is refused as a whole, with the file and line named.
TEST_F(CatalogueTest, FaultyTranslationsAreRefusedWithTheLine) {
  const auto error_of = [](const std::string& lines) -> std::string {
    try {
      ApplyCatalogueTranslation(lines, u"fr.tsv");
    } catch (const ECatalogueError& error) {
      return error.what();
    }
    return "accepted";
  };
  const std::string good = "# French\n_QYTrue\tvrai\n";
  EXPECT_EQ(error_of(good + "_QYNope\tnon\n"), "fr.tsv:3: unknown key _QYNope");
  EXPECT_EQ(error_of(good + "_QYFalse faux\n"), "fr.tsv:3: expected a key, a tab and the text");
  EXPECT_EQ(error_of(good + "\tfaux\n"), "fr.tsv:3: the key is empty");
  EXPECT_EQ(error_of(good + "_QYFalse\t\r\n"), "fr.tsv:3: the text of _QYFalse is empty");
  EXPECT_EQ(error_of(good + "_QYTrue\tvraiment\n"), "fr.tsv:3: _QYTrue is given again (first on line 2)");
  EXPECT_EQ(error_of(good + "_QYFalse\tfa\xFFux\n"), "fr.tsv:3: the line is not valid UTF-8");
  EXPECT_EQ(error_of(good + "_QYFalse\tC:\\data\n"),
            "fr.tsv:3: unknown escape in the text of _QYFalse (use \\t, \\n, \\r or \\\\)");
  EXPECT_EQ(error_of(good + "_QYDeleteXQ\tEffacer ?\n"),
            "fr.tsv:3: the placeholders of _QYDeleteXQ () differ from the English text's (s)");
  EXPECT_EQ(error_of(good + "_QYDeleteAllXFilesInY\tTout effacer : %s %s %s ?\n"),
            "fr.tsv:3: the placeholders of _QYDeleteAllXFilesInY (sss) differ from the English text's (dss)");
  // Nothing of a refused file was applied, not even its good lines.
  EXPECT_EQ(CatalogueText("_QYTrue"), u"true");

  EXPECT_EQ(error_of(good), "accepted");
  EXPECT_EQ(CatalogueText("_QYTrue"), u"vrai");
  testing::TempDir dir;
  EXPECT_THROW(LoadCatalogueTranslation(dir.File("missing.tsv")), EFOpenError);
}

}  // namespace
}  // namespace quill
