#include "quillrt/language/language_holders.h"

namespace quill {

fixed_lang_details_rec32 TFixedLangDetailsList::GetALang(int index) const {
  if (index < 0 || index >= Count()) return {};
  return Get(index)->data;
}

void TFixedLangDetailsList::SetALang(int index, const fixed_lang_details_rec32& rec) {
  if (index < 0 || index >= Count()) return;
  Get(index)->data = rec;
}

bool TQYDefinedLanguageHolder::SetAllowables(const UnicodeString& text) {
  data.allowable_middle_letters = StringToTenWidechar(text);
  return true;
}

bool TQYDefinedLanguageHolder::SetWinFontName(const UnicodeString& name) {
  SetARecFontname(data.new_win_font, name);
  return true;
}

bool TQYDefinedLanguageHolder::SetWinFontSize(int size) {
  data.new_win_font.fontsize = static_cast<std::uint8_t>(size);
  return true;
}

bool TQYDefinedLanguageHolder::SetCustomLanguage(bool custom) {
  data.custom_language = custom;
  return true;
}

bool TQYDefinedLanguageHolder::SetPreference(Tlang_preference_type preference) {
  data.preference = preference;
  return true;
}

bool TQYDefinedLanguageHolder::SetHyphenBreaks(bool breaks) {
  data.hyphen_breaks_word = breaks;
  return true;
}

int TListOfAllNamesStringlist::AddLanguage(const TMyLangRec& rec) {
  return AddObject(rec.LangName, std::make_unique<TMyLangRecHolder>(rec));
}

TMyLangRec TListOfAllNamesStringlist::GetLanguage(int index) const {
  if (index < 0 || index >= Count()) return {};
  const TMyLangRecHolder* holder = GetObject(index);
  return holder ? holder->data : TMyLangRec{};
}

void TLanguageStringlist::SaveToStream(TStream& stream, const TEncoding* encoding) const {
  if (encoding == nullptr && SaveUnicode) encoding = TEncoding::Unicode();
  TStringList::SaveToStream(stream, encoding);
}

}  // namespace quill
