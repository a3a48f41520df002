// Typed search words, parsed and handed to the wanted-word matcher the way the
// search engine does it, over a sample text classified by the platform: each
// must be found exactly where a reader would point.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "quillrt/platform/char_types.h"
#include "quillrt/search/search_word_syntax.h"
#include "quillrt/text/class_bits.h"
#include "quillrt/text/wanted_word_matcher.h"

namespace quill {
namespace {

const UnicodeString kSample =
    u"The cat sat on the mat. Cats and dogs; a scat singer.\r\n"
    u"Colour or color? The 15th of May, and may be the 3rd.\r\n"
    u"Running and working in New   York, the end of the day\r\n"
    u"next line with a <b>bold</b> word, 5 * 3 and 50%.\r\n";

struct Hit {
  std::int32_t at;
  std::int32_t length;  // hit_characters
  std::int32_t exact;   // exact_hit_len
  bool operator==(const Hit&) const = default;
};

void PrintTo(const Hit& hit, std::ostream* os) {
  *os << "{" << hit.at << " \"" << Utf16ToUtf8(kSample.substr(hit.at, hit.length)) << "\" exact " << hit.exact << "}";
}

std::int32_t Where(std::u16string_view needle) {
  const auto at = kSample.find(needle);
  EXPECT_NE(at, UnicodeString::npos) << Utf16ToUtf8(UnicodeString(needle));
  return static_cast<std::int32_t>(at);
}

Hit At(std::u16string_view context, std::int32_t offset, std::int32_t length, std::int32_t exact = -1) {
  return {Where(context) + offset, length, exact < 0 ? length : exact};
}

// A buffer as the engine holds it: the text, its class array with two zero
// words after it, markup (from tag-open to tag-close) marked as such.
class Buffer {
 public:
  explicit Buffer(UnicodeString text) : text_(std::move(text)), classes_(text_.size() + 2, 0) {
    BuildClassArray(text_.data(), text_.size(), 0x0409, classes_.data());
    bool inside = false;
    for (std::size_t i = 0; i < text_.size(); ++i) {
      if (text_[i] == u'<' || text_[i] == pattern_tag_open) inside = true;
      if (inside) classes_[i] |= class_markup;
      if (text_[i] == u'>' || text_[i] == pattern_tag_close) inside = false;
    }
  }

  // Every hit of one parsed word, each search going on one character after the
  // last hit's start.
  std::vector<Hit> FindAll(const TSearch_word_format_rec& rec) const {
    const bool case_sensitive = rec.flags.Contains(myCaseIsSensitive);
    // A case-sensitive word is compared with its own text only.
    const UnicodeString& upper = case_sensitive ? rec.copies[unchanged_copy] : rec.copies[upper_copy];
    const UnicodeString& lower = case_sensitive ? rec.copies[unchanged_copy] : rec.copies[lower_copy];
    const UnicodeString& title = case_sensitive ? rec.copies[unchanged_copy] : rec.copies[title_copy];
    std::vector<Hit> hits;
    TSearchStatsRec stats{};
    bool in_heading = false;
    const auto size = static_cast<std::int32_t>(text_.size());
    for (std::int32_t start = 0; start < size;) {
      std::uint16_t characters = 0;
      std::uint16_t exact = 0;
      const WideChar* found = NewFindWantedInBuffer(
          text_.data() + start, size - start, classes_.data() + start, classes_.data(), classes_.data() + size + 1,
          upper, lower, title, static_cast<std::uint16_t>(lower.size()), case_sensitive,
          rec.flags.Contains(myLeftBounded), rec.flags.Contains(myRightBounded), false, false, characters, exact,
          stats, in_heading, false, false, false, false);
      if (found == nullptr) break;
      const auto at = static_cast<std::int32_t>(found - text_.data());
      hits.push_back({at, characters, exact});
      start = at + 1;
    }
    return hits;
  }

 private:
  UnicodeString text_;
  std::vector<TClassWord> classes_;
};

TIgnore_tag_type AngleTags() {
  TIgnore_tag_type tags{};
  tags[tag_on][0] = u'<';
  tags[tag_off][0] = u'>';
  return tags;
}

std::vector<Hit> Search(const UnicodeString& typed) {
  UnicodeString s = typed;
  TSearch_word_format_rec rec;
  Parsed_SearchWord(AngleTags(), s, rec);
  EXPECT_FALSE(rec.search_text.empty()) << Utf16ToUtf8(typed);
  const Buffer buffer(rec.contains_a_tag ? CleanToTagOnOff(kSample) : kSample);
  return buffer.FindAll(rec);
}

using Hits = std::vector<Hit>;

TEST(TypedSearchWords, WholeWordsAndCase) {
  EXPECT_EQ(Search(u"cat"), (Hits{At(u"cat sat", 0, 3)}));
  EXPECT_EQ(Search(u"CAT"), (Hits{At(u"cat sat", 0, 3)}));
  EXPECT_EQ(Search(u"may"), (Hits{At(u"May", 0, 3), At(u"may", 0, 3)}));
  EXPECT_EQ(Search(u"==May=="), (Hits{At(u"May", 0, 3)}));
  EXPECT_EQ(Search(u"~cat"), (Hits{At(u"cat sat", 0, 3)}));  // avoiding is the engine's affair
}

TEST(TypedSearchWords, UnboundedEdges) {
  EXPECT_EQ(Search(u"cat*"), (Hits{At(u"cat sat", 0, 3), At(u"Cats", 0, 4, 3)}));
  EXPECT_EQ(Search(u"*at"),
            (Hits{At(u"cat sat", 1, 2), At(u"sat", 1, 2), At(u"mat", 1, 2), At(u"scat", 2, 2)}));
  EXPECT_EQ(Search(u"*ing"), (Hits{At(u"Running", 4, 3), At(u"working", 4, 3)}));
  EXPECT_EQ(Search(u"work*"), (Hits{At(u"working", 0, 7, 4)}));
}

TEST(TypedSearchWords, Wildcards) {
  EXPECT_EQ(Search(u"colo?r"), (Hits{At(u"Colour", 0, 6)}));
  EXPECT_EQ(Search(u"col*r"), (Hits{At(u"Colour", 0, 6), At(u"color", 0, 5)}));
  EXPECT_EQ(Search(u"colo*r"), (Hits{At(u"Colour", 0, 6)}));  // a star takes at least one character
  EXPECT_EQ(Search(u"#th"), (Hits{At(u"15th", 0, 4)}));
  EXPECT_EQ(Search(u"^at"), (Hits{At(u"cat sat", 0, 3), At(u"sat", 0, 3), At(u"mat", 0, 3)}));
  EXPECT_EQ(Search(u"the * of"), (Hits{At(u"The 15th of", 0, 11), At(u"the end of", 0, 10)}));
}

TEST(TypedSearchWords, SpacesQuotesAndCodes) {
  EXPECT_EQ(Search(u"new york"), (Hits{At(u"New   York", 0, 10)}));
  EXPECT_EQ(Search(u"\"*\""), (Hits{At(u"5 * 3", 2, 1)}));
  EXPECT_EQ(Search(u"50{CHR(37)}"), (Hits{At(u"50%", 0, 3)}));
}

TEST(TypedSearchWords, LineBreakSymbol) {
  EXPECT_EQ(Search(u"day/\\"), (Hits{At(u"day\r", 0, 4)}));
  EXPECT_EQ(Search(u"singer./\\"), (Hits{At(u"singer.\r", 0, 8)}));
  EXPECT_EQ(Search(u"/\\next"), (Hits{At(u"\nnext", 0, 5)}));
  EXPECT_EQ(Search(u"/\\the"), Hits{});  // no line starts with "the"
}

TEST(TypedSearchWords, TagsAndMarkup) {
  EXPECT_EQ(Search(u"<b>bold"), (Hits{At(u"<b>bold", 0, 7)}));
  EXPECT_EQ(Search(u"bold"), (Hits{At(u"bold", 0, 4)}));
  EXPECT_EQ(Search(u"b"), Hits{});  // only inside markup
}

TEST(TypedSearchWords, AlternativesAndContextWords) {
  UnicodeString typed = u"cat/dog*";
  const auto alternatives = SplitSWList(typed, true);
  ASSERT_EQ(alternatives->Count(), 2);
  EXPECT_EQ(Search((*alternatives)[0]), (Hits{At(u"cat sat", 0, 3)}));
  EXPECT_EQ(Search((*alternatives)[1]), (Hits{At(u"dogs", 0, 4, 3)}));
  EXPECT_EQ(Search(u"cat context:=dog"), (Hits{At(u"cat sat", 0, 3)}));
}

}  // namespace
}  // namespace quill
