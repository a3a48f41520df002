#pragma once
// A small world for matcher tests: text with a hand-made class array (ASCII
// classified as the platform would, plus markup and segment markers placed by
// the test), held in blocks of exactly the text's size so that AddressSanitizer
// catches any read past the count, and a search loop that calls the matcher the
// way the search engine does.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/text/class_bits.h"
#include "quillrt/text/search_stats.h"
#include "quillrt/text/wanted_word_matcher.h"

namespace quill::testing {

inline TClassWord AsciiClass(char16_t c) {
  if (c >= u'A' && c <= u'Z') return C1_UPPER | C1_ALPHA | C1_DEFINED | (c <= u'F' ? C1_XDIGIT : 0);
  if (c >= u'a' && c <= u'z') return C1_LOWER | C1_ALPHA | C1_DEFINED | (c <= u'f' ? C1_XDIGIT : 0);
  if (c >= u'0' && c <= u'9') return C1_DIGIT | C1_XDIGIT | C1_DEFINED;
  if (c == u' ') return C1_SPACE | C1_BLANK | C1_DEFINED;
  if (c == u'\t') return C1_SPACE | C1_CNTRL | C1_BLANK | C1_DEFINED;
  if (c == u'\n' || c == u'\r') return C1_SPACE | C1_CNTRL | C1_DEFINED;
  if (c < 0x20) return C1_CNTRL | C1_DEFINED;
  if (c < 0x7F) return C1_PUNCT | C1_DEFINED;
  if (c == 0x200D) return class_zero_width_joiner;
  if (c >= 0xC0 && c <= 0xFF) return C1_ALPHA | C1_DEFINED | (c < 0xDF ? C1_UPPER : C1_LOWER);
  return C1_PUNCT | C1_DEFINED;
}

// A buffer and its class array (two zero words after the last character's).
class ClassedText {
 public:
  explicit ClassedText(const UnicodeString& text)
      : size_(static_cast<std::int32_t>(text.size())),
        chars_(new char16_t[text.size()]),
        bytes_(new char[text.size()]),
        classes_(new TClassWord[text.size() + 2]) {
    for (std::int32_t i = 0; i < size_; ++i) {
      chars_[i] = text[i];
      bytes_[i] = static_cast<char>(text[i]);
      classes_[i] = AsciiClass(text[i]);
    }
    classes_[size_] = classes_[size_ + 1] = 0;
  }

  // Everything from `open` to the next `close`, both included, becomes markup.
  ClassedText& MarkTags(char16_t open = u'<', char16_t close = u'>') {
    bool inside = false;
    for (std::int32_t i = 0; i < size_; ++i) {
      if (chars_[i] == open) inside = true;
      if (inside) classes_[i] |= class_markup;
      if (chars_[i] == close) inside = false;
    }
    return *this;
  }
  // The character at `index` becomes a segment marker with `code`.
  ClassedText& Marker(std::int32_t index, std::uint16_t code) {
    classes_[index] = static_cast<TClassWord>(class_segment_marker | code);
    return *this;
  }
  ClassedText& SetClass(std::int32_t index, TClassWord cls) {
    classes_[index] = cls;
    return *this;
  }

  std::int32_t size() const { return size_; }
  const char16_t* chars() const { return chars_.get(); }
  const char* bytes() const { return bytes_.get(); }
  TClassWord* classes() const { return classes_.get(); }
  const TClassWord* classes_end() const { return classes_.get() + size_ + 1; }

 private:
  std::int32_t size_;
  std::unique_ptr<char16_t[]> chars_;
  std::unique_ptr<char[]> bytes_;
  std::unique_ptr<TClassWord[]> classes_;
};

// What the search word says, as the parser would hand it over.
struct WantedWord {
  explicit WantedWord(const UnicodeString& text) : lower(text), upper(text) {
    for (auto& c : lower) {
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
    }
    for (auto& c : upper) {
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
    }
    title = lower;
    if (!title.empty()) title[0] = upper[0];
  }
  WantedWord& CaseSensitive() {
    upper = title = lower;
    case_sensitive = true;
    return *this;
  }
  WantedWord& Unbounded(bool left, bool right) {
    left_bounded = !left;
    right_bounded = !right;
    return *this;
  }

  UnicodeString lower, upper, title;
  bool case_sensitive = false;
  bool left_bounded = true;
  bool right_bounded = true;
  bool skip_punctuation = false;
};

struct Hit {
  std::int32_t at;
  std::int32_t characters;
  std::int32_t exact;
  bool operator==(const Hit&) const = default;
};

struct SegmentEnds {
  bool sentence = false, paragraph = false, heading = false, section = false;
};

// Every hit, found as the search engine finds them: one call per hit, the next
// one starting one character after the hit's start.
struct SearchRun {
  std::vector<Hit> hits;
  TSearchStatsRec stats;
  bool in_heading = false;
};

inline SearchRun FindAll(const ClassedText& text, const WantedWord& word, bool in_unicode = true,
                         SegmentEnds ends = {}, std::int32_t from = 0) {
  SearchRun run;
  std::int32_t start = from;
  for (;;) {
    std::uint16_t characters = 0;
    std::uint16_t exact = 0;
    const void* base = in_unicode ? static_cast<const void*>(text.chars()) : static_cast<const void*>(text.bytes());
    const std::size_t unit = in_unicode ? 2 : 1;
    const void* at = NewFindWantedInBuffer(
        static_cast<const char*>(base) + start * unit, text.size() - start, text.classes() + start, text.classes(),
        text.classes_end(), word.upper, word.lower, word.title, static_cast<std::uint16_t>(word.lower.size()),
        word.case_sensitive, word.left_bounded, word.right_bounded, in_unicode, word.skip_punctuation, false,
        characters, exact, run.stats, run.in_heading, ends.sentence, ends.paragraph, ends.heading, ends.section);
    if (at == nullptr) break;
    const auto index =
        static_cast<std::int32_t>((static_cast<const char*>(at) - static_cast<const char*>(base)) / unit);
    run.hits.push_back({index, characters, exact});
    start = index + 1;
  }
  return run;
}

inline std::vector<std::int32_t> Starts(const SearchRun& run) {
  std::vector<std::int32_t> starts;
  for (const Hit& hit : run.hits) starts.push_back(hit.at);
  return starts;
}

}  // namespace quill::testing
