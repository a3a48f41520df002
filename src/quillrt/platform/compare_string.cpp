#include "quillrt/platform/compare_string.h"

#include "quillrt/platform/code_pages.h"
#include "quillrt/platform/locale_info.h"

#include <unicode/ucol.h>
#include <unicode/unorm2.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quill {

namespace {

constexpr std::uint32_t kValidFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS |
                                      SORT_DIGITSASNUMBERS | LINGUISTIC_IGNORECASE | LINGUISTIC_IGNOREDIACRITIC |
                                      SORT_STRINGSORT | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH |
                                      NORM_LINGUISTIC_CASING;

struct CollatorCloser {
  void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

bool ConfigureCollator(UCollator* coll, std::uint32_t flags) {
  UErrorCode status = U_ZERO_ERROR;
  const bool ignore_case = (flags & (NORM_IGNORECASE | LINGUISTIC_IGNORECASE)) != 0;
  const bool ignore_marks = (flags & (NORM_IGNORENONSPACE | LINGUISTIC_IGNOREDIACRITIC)) != 0;
  UColAttributeValue strength = UCOL_TERTIARY;
  if (ignore_marks) {
    strength = UCOL_PRIMARY;
    if (!ignore_case) ucol_setAttribute(coll, UCOL_CASE_LEVEL, UCOL_ON, &status);
  } else if (ignore_case) {
    strength = UCOL_SECONDARY;
  }
  ucol_setAttribute(coll, UCOL_STRENGTH, strength, &status);
  ucol_setAttribute(coll, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
  if (flags & NORM_IGNORESYMBOLS) {
    ucol_setAttribute(coll, UCOL_ALTERNATE_HANDLING, UCOL_SHIFTED, &status);
    ucol_setMaxVariable(coll, UCOL_REORDER_CODE_CURRENCY, &status);
  } else {
    ucol_setAttribute(coll, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
  }
  ucol_setAttribute(coll, UCOL_NUMERIC_COLLATION, (flags & SORT_DIGITSASNUMBERS) ? UCOL_ON : UCOL_OFF, &status);
  return U_SUCCESS(status);
}

// Per-thread cache of collators by (locale, flags). A null entry remembers a
// locale identifier that does not resolve, so failures are cheap too.
class CollatorCache {
 public:
  UCollator* Get(std::uint32_t locale, std::uint32_t flags) {
    // The default identifiers follow the user's locale, which may change.
    locale = ResolveLCID(locale);
    const std::uint64_t key = (static_cast<std::uint64_t>(locale) << 32) | flags;
    if (has_last_ && key == last_key_) return last_;
    auto it = cache_.find(key);
    if (it == cache_.end()) it = cache_.emplace(key, Open(locale, flags)).first;
    has_last_ = true;
    last_key_ = key;
    last_ = it->second.get();
    return last_;
  }

 private:
  static CollatorPtr Open(std::uint32_t locale, std::uint32_t flags) {
    const std::string name = CollationLocaleName(locale);
    if (name.empty()) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    CollatorPtr coll(ucol_open(name == "root" ? "" : name.c_str(), &status));
    if (U_FAILURE(status) || !coll) return nullptr;
    if (!ConfigureCollator(coll.get(), flags)) return nullptr;
    return coll;
  }

  std::unordered_map<std::uint64_t, CollatorPtr> cache_;
  bool has_last_ = false;
  std::uint64_t last_key_ = 0;
  UCollator* last_ = nullptr;
};

CollatorCache& Cache() {
  thread_local CollatorCache cache;
  return cache;
}

int ToCstr(UCollationResult r) {
  switch (r) {
    case UCOL_LESS: return CSTR_LESS_THAN;
    case UCOL_EQUAL: return CSTR_EQUAL;
    default: return CSTR_GREATER_THAN;
  }
}

std::u16string_view View(const WideChar* s, int count) {
  if (count < 0) return std::u16string_view(s);
  return std::u16string_view(s, static_cast<std::size_t>(count));
}

bool IsWordSortMark(char16_t c) { return c == u'-' || c == u'\''; }

bool HasWordSortMark(std::u16string_view s) {
  for (char16_t c : s)
    if (IsWordSortMark(c)) return true;
  return false;
}

// Half-/full-width folding: the compatibility decompositions of the Halfwidth and
// Fullwidth Forms block, and the ideographic space.
bool IsWidthVariant(char16_t c) { return c == 0x3000 || (c >= 0xFF00 && c <= 0xFFEF); }

void FoldWidth(std::u16string& s) {
  bool any = false;
  for (char16_t c : s) any = any || IsWidthVariant(c);
  if (!any) return;
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfkc = unorm2_getNFKCInstance(&status);
  std::u16string out;
  out.reserve(s.size());
  for (char16_t c : s) {
    if (c == 0x3000) {
      out.push_back(u' ');
    } else if (c >= 0xFF00 && c <= 0xFFEF && U_SUCCESS(status)) {
      UChar decomposition[8];
      UErrorCode st = U_ZERO_ERROR;
      const int32_t n = unorm2_getDecomposition(nfkc, c, decomposition, 8, &st);
      if (U_SUCCESS(st) && n > 0)
        out.append(decomposition, static_cast<std::size_t>(n));
      else
        out.push_back(c);
    } else {
      out.push_back(c);
    }
  }
  s.swap(out);
}

// Katakana letters (and the iteration marks) fold onto their hiragana twins.
void FoldKana(std::u16string& s) {
  for (char16_t& c : s) {
    if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) c = static_cast<char16_t>(c - 0x60);
  }
}

void StripWordSortMarks(std::u16string_view in, std::u16string& out, int& removed) {
  out.clear();
  removed = 0;
  for (char16_t c : in) {
    if (IsWordSortMark(c))
      ++removed;
    else
      out.push_back(c);
  }
}

UCollationResult Collate(const UCollator* coll, std::u16string_view a, std::u16string_view b) {
  return ucol_strcoll(coll, reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                      reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()));
}

int CompareViews(const UCollator* coll, std::uint32_t flags, std::u16string_view a, std::u16string_view b) {
  thread_local std::u16string fa, fb, sa, sb;
  if (flags & (NORM_IGNOREWIDTH | NORM_IGNOREKANATYPE)) {
    fa.assign(a);
    fb.assign(b);
    if (flags & NORM_IGNOREWIDTH) {
      FoldWidth(fa);
      FoldWidth(fb);
    }
    if (flags & NORM_IGNOREKANATYPE) {
      FoldKana(fa);
      FoldKana(fb);
    }
    a = fa;
    b = fb;
  }
  const bool word_sort = !(flags & (SORT_STRINGSORT | NORM_IGNORESYMBOLS));
  if (word_sort && (HasWordSortMark(a) || HasWordSortMark(b))) {
    int removed_a = 0, removed_b = 0;
    StripWordSortMarks(a, sa, removed_a);
    StripWordSortMarks(b, sb, removed_b);
    const UCollationResult stripped = Collate(coll, sa, sb);
    if (stripped != UCOL_EQUAL) return ToCstr(stripped);
    if (removed_a != removed_b) return removed_a < removed_b ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  }
  return ToCstr(Collate(coll, a, b));
}

// The code page in which CompareStringA reads its bytes.
// Languages written only in Unicode have no ANSI page: the system's serves.
std::uint32_t AnsiCodePageOf(std::uint32_t locale) {
  const std::uint32_t code_page = AnsiCodePageOfLCID(locale);
  return code_page != 0 ? code_page : GetACP();
}

}  // namespace

std::string CollationLocaleName(std::uint32_t locale) {
  locale = ResolveLCID(locale);
  if (locale == LOCALE_INVARIANT) return "root";
  return LCIDToLocaleName(locale);
}

int CompareStringW(std::uint32_t locale, std::uint32_t flags, const WideChar* string1, int count1,
                   const WideChar* string2, int count2) {
  if (string1 == nullptr || string2 == nullptr) return 0;
  if ((flags & ~kValidFlags) != 0) return 0;
  const UCollator* coll = Cache().Get(locale, flags);
  if (coll == nullptr) return 0;
  return CompareViews(coll, flags, View(string1, count1), View(string2, count2));
}

int CompareStringA(std::uint32_t locale, std::uint32_t flags, const char* string1, int count1, const char* string2,
                   int count2) {
  if (string1 == nullptr || string2 == nullptr) return 0;
  if ((flags & ~kValidFlags) != 0) return 0;
  const UCollator* coll = Cache().Get(locale, flags);
  if (coll == nullptr) return 0;
  const std::uint32_t code_page = AnsiCodePageOf(locale);
  const auto bytes = [](const char* s, int count) {
    return count < 0 ? std::string_view(s) : std::string_view(s, static_cast<std::size_t>(count));
  };
  const UnicodeString a = AnsiToUnicode(bytes(string1, count1), code_page);
  const UnicodeString b = AnsiToUnicode(bytes(string2, count2), code_page);
  return CompareViews(coll, flags, a, b);
}

}  // namespace quill
