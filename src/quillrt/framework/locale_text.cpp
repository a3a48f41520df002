#include "quillrt/framework/locale_text.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "quillrt/framework/exceptions.h"

namespace quill {
namespace {

struct CollatorCloser {
  void operator()(UCollator* collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

// Null when ICU cannot build a collator at all (missing data); callers then fall
// back to code-point order so that comparisons still give a total order.
CollatorPtr OpenCollator(const char* locale, UColAttributeValue strength) {
  UErrorCode status = U_ZERO_ERROR;
  CollatorPtr collator(ucol_open(locale, &status));
  if (U_FAILURE(status)) return nullptr;
  ucol_setStrength(collator.get(), strength);
  return collator;
}

struct LocaleCollators {
  std::string locale;
  bool turkic = false;        // Turkish and Azeri fold I to dotless ı
  CollatorPtr secondary;      // ASCII text ignoring case
  CollatorPtr tertiary;       // case-folded text
  CollatorPtr identical;      // equal only for the same text
};

bool IsTurkic(const char* locale) {
  char language[ULOC_LANG_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLanguage(locale, language, ULOC_LANG_CAPACITY, &status);
  return U_SUCCESS(status) && (std::strcmp(language, "tr") == 0 || std::strcmp(language, "az") == 0);
}

// Collators of the locales used so far on this thread. A program uses one or two
// locales, so a short vector searched by name beats a map.
class CollatorCache {
 public:
  const LocaleCollators& For(const char* locale) {
    for (const auto& entry : entries_)
      if (entry.locale == locale) return entry;
    LocaleCollators entry{locale, IsTurkic(locale), OpenCollator(locale, UCOL_SECONDARY),
                          OpenCollator(locale, UCOL_TERTIARY), OpenCollator(locale, UCOL_IDENTICAL)};
    entries_.push_back(std::move(entry));
    return entries_.back();
  }

 private:
  std::vector<LocaleCollators> entries_;
};

CollatorCache& Cache() {
  thread_local CollatorCache cache;
  return cache;
}

bool FitsInt32(std::u16string_view s) { return s.size() <= static_cast<std::size_t>(INT32_MAX); }

bool IsAscii(std::u16string_view s) {
  for (const char16_t c : s)
    if (c >= 0x80) return false;
  return true;
}

int Sign(int value) { return (value > 0) - (value < 0); }

int OrdinalCompare(std::u16string_view a, std::u16string_view b, bool ignore_case, bool turkic) {
  if (!ignore_case || !FitsInt32(a) || !FitsInt32(b)) return Sign(a.compare(b));
  UErrorCode status = U_ZERO_ERROR;
  const uint32_t fold = turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT;
  return Sign(u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(), static_cast<int32_t>(b.size()),
                               fold | U_COMPARE_CODE_POINT_ORDER, &status));
}

int Strcoll(const UCollator* collator, std::u16string_view a, std::u16string_view b) {
  return Sign(ucol_strcoll(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                           static_cast<int32_t>(b.size())));
}

// The full case folding of a string (ß -> ss, É -> é), in a buffer that needs no
// allocation for strings of ordinary length.
class FoldedText {
 public:
  FoldedText(std::u16string_view s, bool turkic) {
    if (!turkic && FoldLatin1(s)) return;
    const uint32_t options = turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT;
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = u_strFoldCase(local_, kLocal, s.data(), static_cast<int32_t>(s.size()), options, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      heap_.resize(static_cast<std::size_t>(length));
      status = U_ZERO_ERROR;
      length = u_strFoldCase(heap_.data(), length, s.data(), static_cast<int32_t>(s.size()), options, &status);
    }
    if (U_FAILURE(status))
      text_ = s;  // unfoldable: compare as it is
    else
      text_ = std::u16string_view(heap_.empty() ? local_ : heap_.data(), static_cast<std::size_t>(length));
  }
  std::u16string_view View() const { return text_; }

 private:
  // The folding of short Latin-1 text without calling ICU (the usual case for
  // Western European word lists). False when the text needs ICU.
  bool FoldLatin1(std::u16string_view s) {
    if (s.size() * 2 > static_cast<std::size_t>(kLocal)) return false;
    std::size_t length = 0;
    for (const char16_t c : s) {
      if (c >= 0x100) return false;
      if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        local_[length++] = static_cast<UChar>(c + 0x20);
      } else if (c == 0xDF) {  // ß folds to "ss"
        local_[length++] = u's';
        local_[length++] = u's';
      } else if (c == 0xB5) {  // the micro sign folds to Greek mu
        local_[length++] = 0x3BC;
      } else {
        local_[length++] = c;
      }
    }
    text_ = std::u16string_view(local_, length);
    return true;
  }

  static constexpr int32_t kLocal = 128;
  UChar local_[kLocal];
  std::u16string heap_;
  std::u16string_view text_;
};

// Ignoring case means comparing the full case foldings at tertiary strength, so
// that only case differences vanish ("Straße" = "STRASSE", but a full-width "Ａ"
// stays different from "a"). Within ASCII the only tertiary differences are case
// ones, so ASCII strings can skip the folding and use secondary strength.
int CompareIgnoringCase(const LocaleCollators& collators, std::u16string_view a, std::u16string_view b) {
  if (collators.secondary && IsAscii(a) && IsAscii(b)) return Strcoll(collators.secondary.get(), a, b);
  if (!collators.tertiary) return OrdinalCompare(a, b, true, collators.turkic);
  const FoldedText folded_a(a, collators.turkic);
  const FoldedText folded_b(b, collators.turkic);
  if (!FitsInt32(folded_a.View()) || !FitsInt32(folded_b.View()))
    return OrdinalCompare(a, b, true, collators.turkic);
  return Strcoll(collators.tertiary.get(), folded_a.View(), folded_b.View());
}

int Collate(std::u16string_view a, std::u16string_view b, const char* locale, bool ignore_case) {
  const LocaleCollators& collators = Cache().For(locale);
  // ICU takes int32 lengths (-1 meaning "up to a NUL"): never hand it a length
  // that would wrap.
  if (!FitsInt32(a) || !FitsInt32(b)) return OrdinalCompare(a, b, ignore_case, collators.turkic);
  if (ignore_case) return CompareIgnoringCase(collators, a, b);
  if (!collators.identical) return OrdinalCompare(a, b, false, false);
  return Strcoll(collators.identical.get(), a, b);
}

using CaseMapper = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

UnicodeString MapCase(std::u16string_view s, const char* locale, CaseMapper mapper) {
  if (s.empty()) return {};
  if (!FitsInt32(s)) throw EConvertError("String too long for case mapping");
  UnicodeString result(s.size(), u'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = mapper(result.data(), static_cast<int32_t>(result.size()), s.data(),
                                  static_cast<int32_t>(s.size()), locale, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      result.assign(static_cast<std::size_t>(length), u'\0');
      continue;
    }
    if (U_FAILURE(status)) break;
    result.resize(static_cast<std::size_t>(length));
    return result;
  }
  return UnicodeString(s);  // ICU could not map: the text unchanged beats losing it
}

// The user's locale. A C/POSIX environment gives ICU "en_US_POSIX", whose collation
// orders by code point and treats capitals as different letters, so that no
// comparison could ignore case; such a user gets plain US English instead.
const char* UserLocale() {
  const char* locale = uloc_getDefault();
  return std::strncmp(locale, "en_US_POSIX", 11) == 0 ? "en_US" : locale;
}

}  // namespace

std::string UserLocaleName() { return UserLocale(); }

int AnsiCompareText(std::u16string_view a, std::u16string_view b) { return Collate(a, b, UserLocale(), true); }
int AnsiCompareText(std::u16string_view a, std::u16string_view b, const std::string& locale) {
  return Collate(a, b, locale.c_str(), true);
}
int AnsiCompareStr(std::u16string_view a, std::u16string_view b) { return Collate(a, b, UserLocale(), false); }
int AnsiCompareStr(std::u16string_view a, std::u16string_view b, const std::string& locale) {
  return Collate(a, b, locale.c_str(), false);
}

bool AnsiSameText(std::u16string_view a, std::u16string_view b) { return AnsiCompareText(a, b) == 0; }
bool AnsiSameText(std::u16string_view a, std::u16string_view b, const std::string& locale) {
  return AnsiCompareText(a, b, locale) == 0;
}
bool AnsiSameStr(std::u16string_view a, std::u16string_view b) { return a == b || AnsiCompareStr(a, b) == 0; }
bool AnsiSameStr(std::u16string_view a, std::u16string_view b, const std::string& locale) {
  return a == b || AnsiCompareStr(a, b, locale) == 0;
}

UnicodeString AnsiUpperCase(std::u16string_view s) { return MapCase(s, UserLocale(), u_strToUpper); }
UnicodeString AnsiUpperCase(std::u16string_view s, const std::string& locale) {
  return MapCase(s, locale.c_str(), u_strToUpper);
}
UnicodeString AnsiLowerCase(std::u16string_view s) { return MapCase(s, UserLocale(), u_strToLower); }
UnicodeString AnsiLowerCase(std::u16string_view s, const std::string& locale) {
  return MapCase(s, locale.c_str(), u_strToLower);
}

}  // namespace quill
