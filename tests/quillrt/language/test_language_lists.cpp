#include <gtest/gtest.h>

#include "quillrt/language/language_holders.h"
#include "test_support.h"

namespace quill {
namespace {

fixed_lang_details_rec32 Named(const UnicodeString& name, std::uint32_t lcid) {
  fixed_lang_details_rec32 rec;
  rec.lcid = lcid;
  SetLangRecName(rec, name);
  return rec;
}

TEST(FixedLangDetailsList, GetsAndSetsCopiesWithinTheList) {
  TFixedLangDetailsList list;
  list.Add(std::make_unique<TFixedLangDetailsHolder>(Named(u"English", 0x0409)));
  list.Add(std::make_unique<TFixedLangDetailsHolder>(Named(u"Deutsch", 0x0407)));

  fixed_lang_details_rec32 copy = list.GetALang(1);
  EXPECT_EQ(LangRecName(copy), u"Deutsch");
  copy.lcid = 0x0807;
  EXPECT_EQ(list.GetALang(1).lcid, 0x0407u) << "GetALang hands out a copy";

  list.SetALang(0, copy);
  EXPECT_EQ(list.GetALang(0).lcid, 0x0807u);

  // Outside the list: an all-zero record, and no change.
  EXPECT_EQ(list.GetALang(2), fixed_lang_details_rec32{});
  EXPECT_EQ(list.GetALang(-1), fixed_lang_details_rec32{});
  list.SetALang(2, Named(u"x", 1));
  list.SetALang(-1, Named(u"x", 1));
  EXPECT_EQ(list.Count(), 2);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.GetALang(0), fixed_lang_details_rec32{});
}

TEST(DefinedLanguageHolder, SettersWriteTheirFields) {
  fixed_lang_details_rec32 rec = Named(u"English", 0x0409);
  rec.allowable_middle_letters = StringToTenWidechar(u"abcdefghij");
  TQYDefinedLanguageHolder holder(rec, 18);
  EXPECT_EQ(holder.versionNumber, 18);
  EXPECT_EQ(holder.data.lcid, 0x0409u);

  EXPECT_TRUE(holder.SetAllowables(u"'-"));
  EXPECT_EQ(holder.data.allowable_middle_letters[0], u'\'');
  EXPECT_EQ(holder.data.allowable_middle_letters[1], u'-');
  for (std::size_t i = 2; i <= 10; ++i) EXPECT_EQ(holder.data.allowable_middle_letters[i], 0) << i;

  holder.data.new_win_font.charset = 0;
  EXPECT_TRUE(holder.SetWinFontName(u"DejaVu Sans"));
  EXPECT_TRUE(holder.SetWinFontSize(300));
  EXPECT_EQ(GetFixedChars(holder.data.new_win_font.fontname), u"DejaVu Sans");
  EXPECT_EQ(holder.data.new_win_font.fontsize, 300 & 0xFF) << "the size is one byte";

  EXPECT_TRUE(holder.SetCustomLanguage(true));
  EXPECT_TRUE(holder.SetPreference(lang_rank_2));
  EXPECT_TRUE(holder.SetHyphenBreaks(true));
  EXPECT_TRUE(holder.data.custom_language);
  EXPECT_EQ(holder.data.preference, lang_rank_2);
  EXPECT_TRUE(holder.data.hyphen_breaks_word);
  EXPECT_EQ(LangRecName(holder.data), u"English") << "other fields untouched";
}

TEST(ListOfAllNames, LinesOwnTheirEntries) {
  TListOfAllNamesStringlist names;
  names.SetSorted(true);
  EXPECT_EQ(names.AddLanguage({u"Welsh", 0x0452, false}), 0);
  EXPECT_EQ(names.AddLanguage({u"Basque", 0x042D, true}), 0);
  ASSERT_EQ(names.Count(), 2);
  EXPECT_EQ(names[1], u"Welsh");
  EXPECT_EQ(names.GetLanguage(0), (TMyLangRec{u"Basque", 0x042D, true}));
  EXPECT_EQ(names.GetObject(1)->data.FLCID, 0x0452u);
  EXPECT_EQ(names.GetLanguage(5), TMyLangRec{});
  names.Delete(0);
  EXPECT_EQ(names.GetLanguage(0).LangName, u"Welsh");
}

TEST(LanguageStringlist, SavesAsUtf16UnlessToldOtherwise) {
  testing::TempDir dir;
  TLanguageStringlist lines(0x0419);
  EXPECT_EQ(lines.Language, 0x0419u);
  EXPECT_TRUE(lines.SaveUnicode);
  lines.Add(u"\u041F\u0440\u0438");

  lines.SaveToFile(dir.File("unicode.txt"));
  const auto bytes = testing::ReadAllBytes(dir.Path("unicode.txt"));
  const std::vector<unsigned char> expected = {0xFF, 0xFE, 0x1F, 0x04, 0x40, 0x04, 0x38, 0x04, 0x0D, 0x00, 0x0A, 0x00};
  EXPECT_EQ(bytes, expected);

  lines.SaveToFile(dir.File("utf8.txt"), TEncoding::UTF8());
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("utf8.txt"))[0], 0xEF) << "a named encoding wins";

  lines.SaveUnicode = false;
  lines.SetEncoding(TEncoding::UTF8());
  lines.SaveToFile(dir.File("remembered.txt"));
  EXPECT_EQ(testing::ReadAllBytes(dir.Path("remembered.txt"))[0], 0xEF);
}

}  // namespace
}  // namespace quill
