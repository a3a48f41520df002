#include "quillrt/analysis/ascii_collation.h"

#include <unicode/ucol.h>
#include <unicode/uset.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace quill {
namespace {

constexpr char16_t kFirst = 0x21, kLast = 0x7E;  // the printable characters but the blank

struct CollatorCloser {
  void operator()(UCollator* collator) const { ucol_close(collator); }
};
struct SetCloser {
  void operator()(USet* set) const { uset_close(set); }
};

bool IsCasePair(char16_t a, char16_t b) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c; };
  return lower(a) == lower(b);
}

bool IsPrintable(UChar c) { return c >= kFirst && c <= kLast; }

// Whether some string of the set (its single code points aside) passes
// `test`; true as well when a string cannot be read, which makes every
// caller take the careful way.
template <class Test>
bool AnyString(const USet* set, const Test& test) {
  std::vector<UChar> text(64);
  const int32_t items = uset_getItemCount(set);
  for (int32_t i = 0; i < items; ++i) {
    UChar32 start = 0, end = 0;
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = uset_getItem(set, i, &start, &end, text.data(), static_cast<int32_t>(text.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {  // nothing was copied: again with room for all of it
      text.resize(static_cast<std::size_t>(length) + 1);
      status = U_ZERO_ERROR;
      length = uset_getItem(set, i, &start, &end, text.data(), static_cast<int32_t>(text.size()), &status);
    }
    if (U_FAILURE(status)) return true;
    if (length > 0 && test(std::u16string_view(text.data(), static_cast<std::size_t>(length)))) return true;
  }
  return false;
}

// Whether the locale's tailoring touches printable ASCII at all. The root
// collation gives each such character one element and has no contraction of
// them; only a tailoring could change that.
bool TailorsAscii(const UCollator* collator) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<USet, SetCloser> tailored(ucol_getTailoredSet(collator, &status));
  if (U_FAILURE(status) || !tailored) return true;
  for (char16_t c = kFirst; c <= kLast; ++c)
    if (uset_contains(tailored.get(), c)) return true;
  // A contraction's string is in the set too: one starting with ASCII.
  return AnyString(tailored.get(), [](std::u16string_view s) { return IsPrintable(s[0]); });
}

// Whether the collator expands any of the characters, or contracts a string
// made of them only (slow: it lists every contraction of the root as well).
bool ExpandsOrContractsAscii(const UCollator* collator) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<USet, SetCloser> contractions(uset_openEmpty());
  std::unique_ptr<USet, SetCloser> expansions(uset_openEmpty());
  ucol_getContractionsAndExpansions(collator, contractions.get(), expansions.get(), true, &status);
  if (U_FAILURE(status)) return true;
  for (char16_t c = kFirst; c <= kLast; ++c)
    if (uset_contains(expansions.get(), c)) return true;
  return AnyString(contractions.get(), [](std::u16string_view s) {
    return std::all_of(s.begin(), s.end(), [](UChar c) { return c < 0x80; });
  });
}

}  // namespace

AsciiCollation::AsciiCollation(const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UCollator, CollatorCloser> collator(ucol_open(locale.c_str(), &status));
  if (U_FAILURE(status)) return;
  if (ucol_getAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, &status) != UCOL_NON_IGNORABLE ||
      ucol_getAttribute(collator.get(), UCOL_NUMERIC_COLLATION, &status) != UCOL_OFF || U_FAILURE(status))
    return;
  if (TailorsAscii(collator.get()) && ExpandsOrContractsAscii(collator.get())) return;
  // Each character's first-level weights, as the sort key of the character
  // alone at primary strength gives them.
  ucol_setStrength(collator.get(), UCOL_PRIMARY);
  struct Weighed {
    std::vector<std::uint8_t> key;
    char16_t c;
  };
  std::vector<Weighed> characters;
  for (char16_t c = kFirst; c <= kLast; ++c) {
    std::uint8_t key[32];
    const int32_t length = ucol_getSortKey(collator.get(), &c, 1, key, sizeof key);
    // A key of the terminator alone (or a level separator first): ignorable.
    if (length <= 1 || length > static_cast<int32_t>(sizeof key) || key[0] <= 1) return;
    characters.push_back({std::vector<std::uint8_t>(key, key + length), c});
  }
  std::sort(characters.begin(), characters.end(), [](const Weighed& a, const Weighed& b) { return a.key < b.key; });
  std::uint8_t rank = 0;
  for (std::size_t k = 0; k < characters.size(); ++k) {
    const bool shared = k > 0 && characters[k].key == characters[k - 1].key;
    // Only a letter and its capital may share a weight; any other pair would
    // make different words compare equal.
    if (shared && !IsCasePair(characters[k].c, characters[k - 1].c)) return;
    if (!shared) ++rank;
    ranks_[characters[k].c] = rank;
  }
  usable_ = true;
}

const AsciiCollation& AsciiCollation::Of(const std::string& locale) {
  struct Cached {
    std::string locale;
    std::unique_ptr<AsciiCollation> collation;
  };
  thread_local std::vector<Cached> cache;
  for (const Cached& entry : cache)
    if (entry.locale == locale) return *entry.collation;
  cache.push_back({locale, std::make_unique<AsciiCollation>(locale)});
  return *cache.back().collation;
}

bool AsciiCollation::Ranks(std::u16string_view s) const {
  return std::all_of(s.begin(), s.end(), [this](char16_t c) { return Rank(c) != 0; });
}

int AsciiCollation::Compare(std::u16string_view a, std::u16string_view b) const {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t k = 0; k < common; ++k) {
    const std::uint8_t x = Rank(a[k]), y = Rank(b[k]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace quill
