// The built-in English tables as a whole: complete, well formed, and in step with
// the keys the library's code asks for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "quillrt/catalogue/english_texts.h"
#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/format.h"

namespace quill {
namespace {

TEST(CatalogueTables, HoldEveryKeyOnceWithARealText) {
  const auto keys = CatalogueKeys();
  EXPECT_EQ(keys.size(), 1396u);
  for (const auto key : keys) {
    EXPECT_TRUE(key.starts_with("_QY") || key == "_WESEpisodes") << key;
    const UnicodeString text = EnglishCatalogueText(key);
    EXPECT_FALSE(text.empty()) << key;
    EXPECT_NE(text, Utf8ToUtf16(key)) << key;
    EXPECT_FALSE(text.starts_with(u"_QY")) << key;
    EXPECT_EQ(text.find_first_of(u"\t"), UnicodeString::npos) << key;
  }
}

TEST(CatalogueTables, KeysInSeveralTablesAgreeOnTheirText) {
  std::map<std::string_view, std::string_view> seen;
  int shared = 0;
  for (const auto table : catalogue::EnglishTables()) {
    for (const catalogue::Entry& entry : table) {
      const auto [it, fresh] = seen.emplace(entry.key, entry.text);
      if (!fresh) {
        ++shared;
        EXPECT_EQ(it->second, entry.text) << entry.key;
      }
    }
  }
  EXPECT_EQ(shared, 4);  // _QYCentre, _QYL, _QYNo and _QYR belong to two tables
}

// Every text that takes arguments must survive Format with arguments of its kinds,
// so that a stray "%" or a mistyped specifier is caught here and not by a user.
TEST(CatalogueTables, EveryPlaceholderTextFormats) {
  for (const auto key : CatalogueKeys()) {
    const UnicodeString text = EnglishCatalogueText(key);
    const std::string placeholders = CatalogueFormatPlaceholders(text);
    if (placeholders.empty()) {
      // Shown as it is: a doubled percent sign would show doubled.
      EXPECT_EQ(text.find(u"%%"), UnicodeString::npos) << key;
      continue;
    }
    std::vector<TVarRec> args;
    for (const char kind : placeholders) {
      if (kind == 's') args.emplace_back(u"x");
      else if (kind == 'd' || kind == 'u' || kind == 'x') args.emplace_back(7);
      else args.emplace_back(1.5);
    }
    EXPECT_NO_THROW(Format(FormatSettings, text, std::span<const TVarRec>(args))) << key;
  }
}

// Texts whose wording is fixed (other code, stored files or tests of the tools
// depend on them) must stay exactly as they are.
TEST(CatalogueTables, FixedTextsAreExact) {
  const std::pair<const char*, const char16_t*> fixed[] = {
      {"_QYFileReadError", u"file read error : %s"},
      {"_QYUnknown_date_str", u"<no date found>"},
      {"_QYEnter", u"<Enter>"},
      {"_QYTab", u"<Tab>"},
      {"_QYTrue", u"true"},
      {"_QYByte", u"bytes"},
      {"_QYGigabyte", u"Gb"},
      {"_QYEtc", u"etc."},
      {"_QYOverwriteXQ", u"Overwrite %s?"},
      {"_QYOverwriteXWithBackupQ", u"Overwrite %s (with backup)?"},
      {"_QYOnlyMbSpaceOnDriveDProceed", u"Only %dMb space left on %s -- Proceed?"},
      {"_QYDeleteXQ", u"Delete %s?"},
      {"_QYDeleteThe1XFileInY", u"Delete the one %s file in %s?"},
      {"_QYDeleteAllXFilesInY", u"Delete all %d %s files in %s?"},
      {"_QYFileAlreadyExists", u"File(s) already found there."},
      {"_QYConfirmation", u"Confirmation"},
      {"_QYSureQ", u"Sure?"},
      // list kinds
      {"_QYWordList", u"Word list"},
      {"_QYKeyWordList", u"Key word list"},
      {"_QYKeyWordDatabase", u"Keywords Database"},
      {"_QYConcordanceList", u"Concordance list"},
      {"_QYConcgramList", u"QYConcgram List"},
      {"_QYTextList", u"Text List"},
      {"_QYSourceText", u"source text"},
      {"_QYMutualINformationList", u"Mutual Information List"},
      // timeline periods and descriptive statistics
      {"_QYMillennia", u"millennia"},
      {"_QYTimeLineData", u"data field"},
      {"_QYSd", u"Sd."},
      {"_QYDiv", u"%d/%d"},
      // sort names
      {"_QYL5", u"L5"},
      {"_QYCentre", u"Centre"},
      {"_QYR3", u"R3"},
      {"_QYFilePercent", u"File %"},
      {"_QYContextualFrequency", u"Contextual frequency"},
      {"_QYWholeConcLine", u"Whole concordance line"},
      {"_QYBytePosition", u"position in file"},
      // conditions and statistics
      {"_QYIgnore", u"ignore"},
      {"_QYFoundWithinNWordsLeftOf", u"%s found in %s within %d words left of %s"},
      {"_QYAIsBetweenXandY", u"%s is between %s and %s"},
      {"_QYXsColumnNsValue", u"col %d (%s) value"},
      {"_QYComesAfter", u"%s follows %s alphabetically"},
      {"_QYSpecificMutualInfo", u"Specific Mutual Information"},
      {"_QYLogRatio", u"Log ratio"},
      {"_QYTypeIn", u"Type-in"},
  };
  for (const auto& [key, text] : fixed) EXPECT_EQ(EnglishCatalogueText(key), text) << key;
}

// Every "_QY..." string literal in the library's sources must name a text of the
// tables; a misspelt key would otherwise show up as its own name in the interface.
TEST(CatalogueTables, EveryKeyTheSourcesUseExists) {
  const std::filesystem::path sources = std::filesystem::path(QUILL_SOURCE_DIR);
  ASSERT_TRUE(std::filesystem::is_directory(sources)) << sources;
  const std::regex literal("\"((_QY|_WES)[A-Za-z0-9_]*)\"");
  int uses = 0;
  for (const auto& item : std::filesystem::recursive_directory_iterator(sources)) {
    const auto ext = item.path().extension();
    if (!item.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    if (item.path().parent_path().filename() == "catalogue") continue;  // the tables themselves
    std::ifstream file(item.path());
    std::stringstream contents;
    contents << file.rdbuf();
    const std::string text = contents.str();
    for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) {
      ++uses;
      EXPECT_TRUE(HasCatalogueText((*it)[1].str())) << (*it)[1].str() << " in " << item.path();
    }
  }
  EXPECT_GT(uses, 0);  // the scan found the sources
}

TEST(CatalogueTables, PlaceholdersAreReadLikeFormatReadsThem) {
  EXPECT_EQ(CatalogueFormatPlaceholders(u"%s found in %s within %d words of %s"), "ssds");
  EXPECT_EQ(CatalogueFormatPlaceholders(u"%5.4d|%-6s|%.0n|%1:s|%*d"), "dsnsd");
  EXPECT_EQ(CatalogueFormatPlaceholders(u"100%% sure, File %"), "");
  EXPECT_EQ(CatalogueFormatPlaceholders(u"%S and %D"), "sd");
}

}  // namespace
}  // namespace quill
