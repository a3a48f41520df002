#pragma once
// The holders and lists the tools keep language definitions and language names
// in. A definition is a value: holders keep their own copy, lists own their
// holders.
#include <cstdint>
#include <memory>
#include <vector>

#include "quillrt/framework/lists.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/language/language_record.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// A definition with the file it belongs to.
struct TLangFilenameAndRTL {
  bool IsRTL = false;  // the language reads right to left
  fixed_lang_details_rec32 language;
  TMyCanvasColourRec spare_cores;
  UnicodeString filename;
};

using TarrayOfFixed_lang_details_rec32 = std::vector<fixed_lang_details_rec32>;
using TArrayOfLCID = std::vector<std::uint32_t>;

// One entry of the list of all language names.
struct TMyLangRec {
  UnicodeString LangName;
  std::uint32_t FLCID = 0;
  bool IsInstalled = false;
  friend bool operator==(const TMyLangRec&, const TMyLangRec&) = default;
};

class QUILLRT_API TFixedLangDetailsHolder {
 public:
  explicit TFixedLangDetailsHolder(const fixed_lang_details_rec32& rec) : data(rec) {}
  fixed_lang_details_rec32 data;
};

// Owns its holders from the moment they are added (Add).
class QUILLRT_API TFixedLangDetailsList : public TObjectList<TFixedLangDetailsHolder> {
 public:
  // A copy of the definition at `index`; an all-zero record for an index outside
  // the list.
  fixed_lang_details_rec32 GetALang(int index) const;
  // Overwrites the definition at `index`; nothing happens outside the list.
  void SetALang(int index, const fixed_lang_details_rec32& rec);
};

// The currently defined language of a tool, edited field by field, with the
// version of the settings it came from. Every setter answers true.
class QUILLRT_API TQYDefinedLanguageHolder {
 public:
  TQYDefinedLanguageHolder(const fixed_lang_details_rec32& rec, std::int32_t version_number)
      : versionNumber(version_number), data(rec) {}

  // Middle letters: the array cleared, then at most 10 characters of `text`.
  bool SetAllowables(const UnicodeString& text);
  // Display font name: cleared, then at most 100 characters of `name`.
  bool SetWinFontName(const UnicodeString& name);
  // Display font size in points; only the low byte is stored.
  bool SetWinFontSize(int size);
  bool SetCustomLanguage(bool custom);
  bool SetPreference(Tlang_preference_type preference);
  bool SetHyphenBreaks(bool breaks);

  std::int32_t versionNumber = 0;
  fixed_lang_details_rec32 data;
};

class QUILLRT_API TMyLangRecHolder {
 public:
  explicit TMyLangRecHolder(const TMyLangRec& rec) : data(rec) {}
  TMyLangRec data;
};

// One line per language name, each owning the holder of its entry; clearing or
// destroying the list frees the holders.
class QUILLRT_API TListOfAllNamesStringlist : public TStringListOf<std::unique_ptr<TMyLangRecHolder>> {
 public:
  // Adds a line named after the entry, holding a copy of it; returns the index.
  int AddLanguage(const TMyLangRec& rec);
  // The entry of line `index`; an empty entry for an index outside the list.
  TMyLangRec GetLanguage(int index) const;
};

// A plain string list of text in one language. While SaveUnicode is set it is
// saved (to a stream or, through the stream, to a file) as UTF-16 with its
// byte-order mark, whatever encoding it was loaded from, unless the caller
// names an encoding.
class QUILLRT_API TLanguageStringlist : public TStringList {
 public:
  explicit TLanguageStringlist(std::uint32_t language) : Language(language) {}

  void SaveToStream(TStream& stream, const TEncoding* encoding = nullptr) const override;

  std::uint32_t Language = 0;  // LCID of the lines' language
  bool SaveUnicode = true;
};

}  // namespace quill
