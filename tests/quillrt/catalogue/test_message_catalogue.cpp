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

}  // namespace
}  // namespace quill
