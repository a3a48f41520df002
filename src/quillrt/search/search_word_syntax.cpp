#include "quillrt/search/search_word_syntax.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>
#include <vector>

#include "quillrt/analysis/readable_strings.h"
#include "quillrt/process/yield.h"
#include "quillrt/text/char_classes.h"

namespace quill {
namespace {

constexpr WideChar kSpace = u' ';
constexpr WideChar kQuote = u'"';
constexpr WideChar kFirstWildcardCode = 0x001A;
constexpr WideChar kLastWildcardCode = 0x001F;

// Where the placeholders of the retained literals may come from, first choice
// first: the private-use area, then the rest of the BMP above Latin-1 and below
// the surrogates. None of these characters has a meaning in the syntax.
constexpr std::array<std::pair<int, int>, 2> kPlaceholderRanges = {{{0xE000, 0xF8FF}, {0x0100, 0xD7FF}}};

// Blocks of placeholders that a word does not use.
class PlaceholderBlocks {
 public:
  PlaceholderBlocks(const UnicodeString& word, const TIgnore_tag_type& ignore_tags) : used_(0x10000, false) {
    Exclude(word);
    for (const auto& side : ignore_tags) {
      for (const WideChar c : side) used_[c] = true;
    }
  }

  // Characters that may not serve as placeholders.
  void Exclude(const UnicodeString& text) {
    for (const WideChar c : text) used_[c] = true;
  }

  // The next free block's first character; false when there is none.
  bool Next(WideChar& base) {
    const int size = static_cast<int>(retained_literals.size());
    for (; range_ < kPlaceholderRanges.size(); ++range_, candidate_ = -1) {
      const auto [first, last] = kPlaceholderRanges[range_];
      if (candidate_ < 0) candidate_ = first;
      for (; candidate_ + size - 1 <= last; candidate_ += size) {
        if (!Free(candidate_, size)) continue;
        base = static_cast<WideChar>(candidate_);
        candidate_ += size;
        return true;
      }
    }
    return false;
  }

 private:
  bool Free(int first, int size) const {
    for (int c = first; c < first + size; ++c) {
      if (used_[static_cast<std::size_t>(c)]) return false;
    }
    return true;
  }

  std::vector<bool> used_;
  std::size_t range_ = 0;
  int candidate_ = -1;
};

bool StartsWith(const UnicodeString& s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && std::u16string_view(s).substr(0, prefix.size()) == prefix;
}

bool EndsWith(const UnicodeString& s, std::u16string_view suffix) {
  return s.size() >= suffix.size() && std::u16string_view(s).substr(s.size() - suffix.size()) == suffix;
}

// Replaces every `from` by `to`; true when there was any.
bool ReplaceChar(UnicodeString& s, WideChar from, WideChar to) {
  bool any = false;
  for (WideChar& c : s) {
    if (c == from) {
      c = to;
      any = true;
    }
  }
  return any;
}

UnicodeString TrimSpaces(const UnicodeString& s) {
  const auto first = s.find_first_not_of(kSpace);
  if (first == UnicodeString::npos) return {};
  const auto last = s.find_last_not_of(kSpace);
  return s.substr(first, last - first + 1);
}

bool HoldsWildcardCode(const UnicodeString& s) {
  return std::any_of(s.begin(), s.end(), [](WideChar c) { return c >= kFirstWildcardCode && c <= kLastWildcardCode; });
}

std::size_t CountRetainCodes(const UnicodeString& s, WideChar base) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [base](WideChar c) {
    return c >= base && c - base < static_cast<int>(retained_literals.size());
  }));
}

// A lone " * ": its asterisk becomes the any-word code.
void TranslateAnyWord(UnicodeString& s) {
  for (std::size_t i = 0; i + any_word_symbol_char.size() <= s.size(); ++i) {
    if (std::u16string_view(s).substr(i, any_word_symbol_char.size()) == any_word_symbol_char) {
      s[i + 1] = pattern_any_word;
    }
  }
}

// The line-break symbol at the end and at the start of the word. Both ends are
// read: "/\line/\" is a whole line.
void TranslateLineBreaks(UnicodeString& s) {
  if (EndsWith(s, crlf_symbol_string)) {
    s.replace(s.size() - crlf_symbol_string.size(), crlf_symbol_string.size(), 1, crlf_symbol_at_end);
  }
  if (StartsWith(s, crlf_symbol_string)) s.replace(0, crlf_symbol_string.size(), 1, crlf_symbol_at_start);
}

// Steps 2 to 8 of the chunk parse with the literals held at `base`. False when
// the result holds more placeholders than were retained (a code in readable
// notation produced one), which would restore a literal that was never typed.
bool TransformWithBase(const TIgnore_tag_type& ignore_tags, bool& contains_a_tag, UnicodeString& s, WideChar base) {
  Parse_Retain(s, base);
  const std::size_t retained = CountRetainCodes(s, base);
  TranslateAnyWord(s);
  DoMainParse_Translates(s);
  TranslateLineBreaks(s);
  contains_a_tag = ContainsPairedTagMarkup(ignore_tags, s);
  s = QYFormattedReadableStringToWorkString(s);
  if (CountRetainCodes(s, base) != retained) return false;
  Parse_Restore(s, base);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Markers

TMySearchFlags FlagsFromSW(UnicodeString& sw) {
  TMySearchFlags flags = TMySearchFlags::Default();
  if (sw.empty()) return flags;
  switch (sw.front()) {
    case u'*':
      sw.erase(0, 1);
      flags.Exclude(myLeftBounded);
      break;
    case u'=':
      // Two distinct pairs: "==" or "===" alone is taken as text.
      if (sw.size() >= 4 && StartsWith(sw, u"==") && EndsWith(sw, u"==")) {
        sw = sw.substr(2, sw.size() - 4);
        flags.Include(myCaseIsSensitive);
      }
      break;
    case u'~':
      sw.erase(0, 1);
      flags.Include(mySW_To_Avoid);
      break;
    default:
      break;
  }
  if (!sw.empty() && sw.back() == u'*') {
    sw.pop_back();
    flags.Exclude(myRightBounded);
  }
  return flags;
}

UnicodeString SWStringPlusFlags(const UnicodeString& sw, TMySearchFlags flags) {
  UnicodeString result = sw;
  if (!flags.Contains(myLeftBounded)) result.insert(result.begin(), u'*');
  if (!flags.Contains(myRightBounded)) result += u'*';
  if (flags.Contains(myCaseIsSensitive)) result = u"==" + result + u"==";
  return result;
}

// ---------------------------------------------------------------------------
// Splitting and parsing

std::unique_ptr<TStringList> SplitSWList(UnicodeString& s, bool split_at_slashes) {
  auto list = std::make_unique<TStringList>();
  if (!split_at_slashes) {
    if (!s.empty()) list->Add(s);
    return list;
  }
  // 0-based i: a slash with a character on each side.
  std::size_t i = 1;
  while (i + 1 < s.size()) {
    const bool splits = s[i] == u'/' && s[i - 1] != kQuote && s[i + 1] != kQuote &&
                        !(s[i + 1] == u'\\' && i + 2 == s.size());
    if (splits) {
      MyYieldProcess();
      list->Add(s.substr(0, i));
      s.erase(0, i + 1);
      i = 1;
    } else {
      ++i;
    }
  }
  if (!s.empty()) list->Add(s);
  return list;
}

void Parsed_SearchWord(const TIgnore_tag_type& ignore_tags, UnicodeString& s, TSearch_word_format_rec& rec) {
  rec = TSearch_word_format_rec{};
  rec.typed_in_text = s;
  if (const auto at = s.find(context_word_marker); at != UnicodeString::npos) {
    rec.has_file_based_context_word = true;
    rec.sw_context_needed = s.substr(at + context_word_marker.size());
    s.erase(at);
  }
  Parse_SWChunk(ignore_tags, rec.contains_a_tag, s, rec.flags);
  rec.search_text = TrimSpaces(s);
  rec.ambiguous = rec.typed_in_text != rec.search_text || HoldsWildcardCode(rec.search_text);
  SetSearchWordCopies(rec);
}

void UnParsed_SearchWord(UnicodeString& s, TSearch_word_format_rec& rec) {
  rec = TSearch_word_format_rec{};
  rec.typed_in_text = s;
  rec.flags = FlagsFromSW(s);
  rec.search_text = s;
  rec.ambiguous = rec.typed_in_text != rec.search_text;
  SetSearchWordCopies(rec);
}

void SetSearchWordCopies(TSearch_word_format_rec& rec) {
  const UnicodeString& text = rec.search_text;
  rec.copies[unchanged_copy] = text;
  rec.copies[upper_copy] = Uppercase(text);
  rec.copies[lower_copy] = Lowercase(text);
  UnicodeString title;
  if (!text.empty()) {
    title = rec.copies[lower_copy];
    title[0] = rec.copies[upper_copy][0];
  }
  rec.copies[title_copy] = std::move(title);
}

void Parse_SWChunk(const TIgnore_tag_type& ignore_tags, bool& contains_a_tag, UnicodeString& s,
                   TMySearchFlags& flags) {
  flags = FlagsFromSW(s);
  // The literals are held as placeholder characters while the rest is parsed,
  // normally U+E000 to U+E00A. A word may hold such characters of its own (fonts
  // for older scripts put letters there) or produce them from readable notation;
  // the placeholders are then taken from a block of characters that the word
  // does not use, so that its own characters come through unchanged.
  const UnicodeString markers_stripped = s;
  PlaceholderBlocks blocks(markers_stripped, ignore_tags);
  for (WideChar base = 0; blocks.Next(base);) {
    UnicodeString work = markers_stripped;
    if (TransformWithBase(ignore_tags, contains_a_tag, work, base)) {
      s = std::move(work);
      return;
    }
    blocks.Exclude(work);
  }
  // Only a word that uses thousands of different characters gets here.
  s = markers_stripped;
  TransformWithBase(ignore_tags, contains_a_tag, s, retained_literal_base);
  Parse_Restore(s, retained_literal_base);
}

bool DoMainParse_Translates(UnicodeString& s) {
  Parse_Translate(s, u"^", pattern_any_letter);
  Parse_Translate(s, u"#", pattern_digit_run);
  Parse_Translate(s, u"*", pattern_star);
  Parse_Translate(s, u"?", pattern_any_char);
  return Parse_Translate(s, any_string_symbol_str, any_string_code);
}

bool ContainsPairedTagMarkup(const TIgnore_tag_type& ignore_tags, UnicodeString& s) {
  bool paired = false;
  for (std::size_t k = 0; k < ignore_tags[tag_on].size(); ++k) {
    const WideChar open = ignore_tags[tag_on][k];
    const WideChar close = ignore_tags[tag_off][k];
    if (open == 0 || !ReplaceChar(s, open, pattern_tag_open)) continue;
    if (close == 0 || ReplaceChar(s, close, pattern_tag_close)) paired = true;
  }
  return paired;
}

bool Parse_Translate(UnicodeString& s, std::u16string_view sub, WideChar code) {
  if (sub.empty()) return false;
  bool any = false;
  for (std::size_t i = 0; i + sub.size() <= s.size(); ++i) {
    if (std::u16string_view(s).substr(i, sub.size()) == sub) {
      s[i] = code;
      any = true;
    }
  }
  return any;
}

void Parse_Retain(UnicodeString& s, WideChar base) {
  for (std::size_t i = 0; i < retained_literals.size(); ++i) {
    Parse_RetainOne(s, retained_literals[i], static_cast<WideChar>(base + i));
  }
}

void Parse_Restore(UnicodeString& s, WideChar base) {
  for (std::size_t i = 0; i < retained_literals.size(); ++i) {
    Parse_RestoreOne(s, retained_literals[i], static_cast<WideChar>(base + i));
  }
}

bool Parse_RetainOne(UnicodeString& s, std::u16string_view literal, WideChar code) {
  if (literal.empty()) return false;
  UnicodeString out;
  bool any = false;
  std::size_t i = 0;
  for (auto at = s.find(literal); at != UnicodeString::npos; at = s.find(literal, i)) {
    out.append(s, i, at - i);
    out += code;
    i = at + literal.size();
    any = true;
  }
  if (!any) return false;
  out.append(s, i, UnicodeString::npos);
  s = std::move(out);
  return true;
}

bool Parse_RestoreOne(UnicodeString& s, std::u16string_view literal, WideChar code) {
  if (s.find(code) == UnicodeString::npos) return false;
  UnicodeString bare;
  for (const WideChar c : literal) {
    if (c != kQuote) bare += c;
  }
  bare = TrimSpaces(bare);
  UnicodeString out;
  out.reserve(s.size() + s.size() / 2);
  for (const WideChar c : s) {
    if (c == code) {
      out += bare;
    } else {
      out += c;
    }
  }
  s = std::move(out);
  return true;
}

// ---------------------------------------------------------------------------
// Tag patterns

UnicodeString TagWildcardConverted(const UnicodeString& s) {
  UnicodeString work = s;
  for (const auto& kind : tag_wildcards_converters) {
    const WideChar typed = kind[original_char];
    const UnicodeString quoted{kQuote, typed, kQuote};
    if (const auto at = work.find(quoted); at != UnicodeString::npos) {
      work.replace(at, quoted.size(), 1, typed);
    } else if (const auto at_typed = work.find(typed); at_typed != UnicodeString::npos) {
      work[at_typed] = kind[replacement_char];
    }
  }
  return work;
}

UnicodeString CleanToTagOnOff(const UnicodeString& s) {
  UnicodeString result = s;
  std::size_t from = 0;
  for (;;) {
    const auto open = result.find(u'<', from);
    if (open == UnicodeString::npos) break;
    const auto close = result.find(u'>', open + 1);
    if (close == UnicodeString::npos) break;
    result[open] = pattern_tag_open;
    result[close] = pattern_tag_close;
    from = close + 1;
  }
  return result;
}

}  // namespace quill
