#include "quilljobs/concordance_lines.h"

#include "quillrt/rendering/colours.h"

#include <algorithm>
#include <cwctype>

namespace quill::jobs {
namespace {

bool IsWordChar(WideChar c) {
  // Letters, digits and the surrogates of letters outside the BMP: a cut never
  // splits a surrogate pair this way.
  return std::iswalnum(static_cast<wint_t>(c)) || (c >= 0xD800 && c <= 0xDFFF) || c == u'\'' || c == u'-';
}

bool IsSpaceLike(WideChar c) { return c == u'\r' || c == u'\n' || c == u'\t' || c == u'\f' || c == u'\v'; }

// Line breaks and tabs become spaces, runs of them one space; markup <...>
// drops out as one space so that tags do not eat the context's width.
UnicodeString Flattened(std::u16string_view text, std::size_t from, std::size_t to, const HiddenCharacter& hidden) {
  const std::u16string_view s = text.substr(from, to - from);
  UnicodeString out;
  out.reserve(s.size());
  bool in_tag = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const WideChar c = s[i];
    if (hidden && hidden(from + i)) continue;
    if (c == u'<') in_tag = true;
    if (in_tag) {
      if (c == u'>') {
        in_tag = false;
        if (out.empty() || out.back() != u' ') out.push_back(u' ');
      }
      continue;
    }
    if (IsSpaceLike(c) || c == u' ') {
      if (out.empty() || out.back() != u' ') out.push_back(u' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

UnicodeString FoldLower(const UnicodeString& s) {
  UnicodeString out(s);
  for (WideChar& c : out) c = static_cast<WideChar>(std::towlower(static_cast<wint_t>(c)));
  return out;
}

std::vector<UnicodeString> Words(const UnicodeString& s) {
  std::vector<UnicodeString> words;
  UnicodeString current;
  for (WideChar c : s) {
    if (IsWordChar(c)) {
      current.push_back(c);
    } else if (!current.empty()) {
      words.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) words.push_back(std::move(current));
  return words;
}

}  // namespace

ConcordanceLine MakeConcordanceLine(const UnicodeString& text, std::size_t hit_pos, std::size_t hit_length,
                                    std::size_t width, const HiddenCharacter& hidden) {
  ConcordanceLine line;
  hit_pos = std::min(hit_pos, text.size());
  hit_length = std::min(hit_length, text.size() - hit_pos);
  line.hit = Flattened(text, hit_pos, hit_pos + hit_length, hidden);

  // Read a generous stretch either side (markup and spacing shrink when
  // flattened), then cut to the width.
  width = std::min(width, text.size());
  const std::size_t reach = width * 4 + 64;
  const std::size_t left_from = hit_pos > reach ? hit_pos - reach : 0;
  UnicodeString left = Flattened(text, left_from, hit_pos, hidden);
  if (left.size() > width) {
    std::size_t cut = left.size() - width;
    // Part of a word at the cut: start after it.
    if (IsWordChar(left[cut]) && IsWordChar(left[cut - 1])) {
      while (cut < left.size() && IsWordChar(left[cut])) ++cut;
    }
    left.erase(0, cut);
  }
  while (!left.empty() && left.front() == u' ') left.erase(0, 1);
  line.left = std::move(left);

  const std::size_t right_from = hit_pos + hit_length;
  UnicodeString right = Flattened(text, right_from, std::min(text.size(), right_from + reach), hidden);
  if (right.size() > width) {
    std::size_t cut = width;
    if (IsWordChar(right[cut]) && IsWordChar(right[cut - 1])) {
      while (cut > 0 && IsWordChar(right[cut - 1])) --cut;
    }
    right.resize(cut);
  }
  while (!right.empty() && right.back() == u' ') right.pop_back();
  line.right = std::move(right);
  return line;
}

bool ParseSortKey(const std::string& name, SortKey& key) {
  std::string n;
  for (char c : name) n.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  if (n.size() == 2 && (n[0] == 'l' || n[0] == 'r') && n[1] >= '1' && n[1] <= '5') {
    const int d = n[1] - '0';
    key = static_cast<SortKey>(n[0] == 'l' ? static_cast<int>(SortKey::Centre) - d : static_cast<int>(SortKey::Centre) + d);
    return true;
  }
  if (n == "c" || n == "centre" || n == "center") {
    key = SortKey::Centre;
  } else if (n == "file" || n == "filename") {
    key = SortKey::Filename;
  } else if (n == "word") {
    key = SortKey::HitWord;
  } else if (n == "position" || n == "wordnumber" || n == "word-number") {
    key = SortKey::Position;
  } else {
    return false;
  }
  return true;
}

UnicodeString ContextWord(const ConcordanceLine& line, int n) {
  if (n == 0) return FoldLower(line.hit);
  const std::vector<UnicodeString> words = Words(n < 0 ? line.left : line.right);
  const std::size_t k = static_cast<std::size_t>(n < 0 ? -n : n);
  if (k > words.size()) return {};
  return FoldLower(n < 0 ? words[words.size() - k] : words[k - 1]);
}

void SortConcordance(std::vector<ConcordanceLine>& lines, const std::vector<SortKey>& keys) {
  if (keys.empty()) return;
  // Precompute each line's key values once: the comparisons then only compare.
  struct Keyed {
    std::vector<UnicodeString> text;
    std::int64_t number = 0;
    std::size_t index = 0;
  };
  std::vector<Keyed> keyed(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    keyed[i].index = i;
    for (SortKey key : keys) {
      if (key == SortKey::Filename) {
        keyed[i].text.push_back(Utf8ToUtf16(lines[i].file));
      } else if (key == SortKey::Position) {
        keyed[i].text.emplace_back();
      } else if (key == SortKey::HitWord) {
        keyed[i].text.push_back(lines[i].hit);
      } else {
        keyed[i].text.push_back(ContextWord(lines[i], static_cast<int>(key) - static_cast<int>(SortKey::Centre)));
      }
    }
  }
  std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (keys[k] == SortKey::Position) {
        const ConcordanceLine& la = lines[a.index];
        const ConcordanceLine& lb = lines[b.index];
        if (la.file_index != lb.file_index) return la.file_index < lb.file_index;
        if (la.word_number != lb.word_number) return la.word_number < lb.word_number;
        continue;
      }
      if (a.text[k] != b.text[k]) return a.text[k] < b.text[k];
    }
    return false;
  });
  std::vector<ConcordanceLine> sorted;
  sorted.reserve(lines.size());
  for (const Keyed& k : keyed) sorted.push_back(std::move(lines[k.index]));
  lines = std::move(sorted);
}

TExtraFontRec HitSpanOf(const ConcordanceLine& line) {
  const TMyCanvasColourRecAndTypeface look = SearchFoundColoursAndFontStyleFromNumber(line.search_word);
  TExtraFontRec span;
  span.switch_on_at_char = static_cast<std::int32_t>(line.left.size()) + 1;
  span.switch_off_at_char = static_cast<std::int32_t>(line.left.size() + line.hit.size());
  span.colour_rec = look.colourset;
  span.default_typeface = look.default_typeface;
  span.highlight_typeface = look.highlight_typeface;
  span.applies_to = efc_centre_word;
  return span;
}

}  // namespace quill::jobs
