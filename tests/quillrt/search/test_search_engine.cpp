// The search engine over real buffers: what the tool's callback sees for every
// hit, when a search stops, where it starts, what it does to the search word,
// and the statistics it keeps across the hits of one chunk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "quillrt/framework/exceptions.h"
#include "quillrt/process/log.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/search/search_engine.h"
#include "quillrt/search/search_found.h"
#include "quillrt/search/search_word_syntax.h"
#include "test_support.h"

namespace quill {
namespace {

constexpr std::uint32_t kEnglish = 0x0409;  // code page 1252

TSearch_word_format_rec Word(const UnicodeString& typed) {
  UnicodeString s = typed;
  TSearch_word_format_rec rec;
  Parsed_SearchWord(TIgnore_tag_type{}, s, rec);
  return rec;
}

// Restores the shared globals a test changes.
class EngineTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Global_LowestJumpTo = 0;
    Global_in_heading = false;
  }
};

// A tool's view of a search: every record the callback received.
struct Recorder {
  std::vector<TSearchFound_Rec> hits;
  bool counts = true;
  std::function<void(TSearchAndDoEngine&)> on_hit;

  TSearchFoundEvent Event() {
    return [this](TObject* sender, const TSearchFound_Rec& rec) {
      hits.push_back(rec);
      if (on_hit) on_hit(*static_cast<TSearchAndDoEngine*>(sender));
      return counts;
    };
  }
  std::vector<std::int32_t> Offsets() const {
    std::vector<std::int32_t> offsets;
    for (const auto& hit : hits) offsets.push_back(hit.hit_pos_in_characters);
    return offsets;
  }
};

TEST_F(EngineTest, WantedNumberCountsOnlyTheHitsTheToolAccepts) {
  const UnicodeString text = u"the cat, the dog, the end, the one, the last";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder accepted;
  engine.PrepareFirst(text.c_str(), 88, 0, accepted.Event(), nullptr);
  TSearch_word_format_rec the = Word(u"the");
  the.n_to_find = 2;
  ASSERT_TRUE(engine.SearchAndDo(&the));
  EXPECT_EQ(accepted.Offsets(), (std::vector<std::int32_t>{0, 9}));

  Recorder refused;
  refused.counts = false;
  engine.PrepareFirst(text.c_str(), 88, 0, refused.Event(), nullptr);
  ASSERT_TRUE(engine.SearchAndDo(&the));
  EXPECT_EQ(refused.Offsets(), (std::vector<std::int32_t>{0, 9, 18, 27, 36}));
  // Every hit reported since creation counts, accepted or not.
  EXPECT_EQ(engine.GetHits_found(), 7);

  // No limit below 1.
  the.n_to_find = 0;
  Recorder all;
  engine.PrepareFirst(text.c_str(), 88, 0, all.Event(), nullptr);
  ASSERT_TRUE(engine.SearchAndDo(&the));
  EXPECT_EQ(all.hits.size(), 5u);
}

TEST_F(EngineTest, FoundEnoughAndCancelEndTheSearchAfterTheCurrentHit) {
  const UnicodeString text = u"a cat, a cat, a cat";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  recorder.on_hit = [](TSearchAndDoEngine& e) { e.FoundEnough(); };
  int word_counts = 0;
  engine.PrepareFirst(text.c_str(), 38, 0, recorder.Event(),
                      [&](TObject*, const TSearchStatsRec&) { ++word_counts; });
  TSearch_word_format_rec cat = Word(u"cat");
  ASSERT_TRUE(engine.SearchAndDo(&cat));
  EXPECT_EQ(recorder.hits.size(), 1u);
  EXPECT_TRUE(engine.GetChega());
  EXPECT_EQ(word_counts, 1) << "the word-count event comes at the end of every search";

  // The next search starts afresh, and a cancel from the yield hook stops it
  // before the next matcher call.
  recorder.hits.clear();
  recorder.on_hit = nullptr;
  int yields = 0;
  AYieldProcessProc = [&] {
    if (++yields == 2) engine.Cancel();
  };
  ASSERT_TRUE(engine.SearchAndDo(&cat));
  AYieldProcessProc = nullptr;
  EXPECT_EQ(recorder.hits.size(), 1u);
  EXPECT_TRUE(engine.GetCancelled());
  EXPECT_FALSE(engine.GetChega());
  EXPECT_EQ(word_counts, 2);
}

TEST_F(EngineTest, OverlappingHitsAreAllFound) {
  const UnicodeString text = u"aaaa";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  engine.PrepareFirst(text.c_str(), 8, 0, recorder.Event(), nullptr);
  TSearch_word_format_rec aa = Word(u"*aa*");
  ASSERT_TRUE(engine.SearchAndDo(&aa));
  EXPECT_EQ(recorder.Offsets(), (std::vector<std::int32_t>{0, 1, 2}));
}

TEST_F(EngineTest, LowestJumpIsAByteOffset) {
  const UnicodeString text = u"xxxxthe the";
  TSearch_word_format_rec the = Word(u"*the");
  TSearchAndDoEngine wide(true, true, kEnglish);
  Recorder recorder;
  wide.PrepareFirst(text.c_str(), 22, 0, recorder.Event(), nullptr);

  Global_LowestJumpTo = 10;  // the sixth character
  ASSERT_TRUE(wide.SearchAndDo(&the));
  EXPECT_EQ(recorder.Offsets(), std::vector<std::int32_t>{8});

  recorder.hits.clear();
  Global_LowestJumpTo = 9;  // half a character: the fifth
  ASSERT_TRUE(wide.SearchAndDo(&the));
  EXPECT_EQ(recorder.Offsets(), (std::vector<std::int32_t>{4, 8}));

  recorder.hits.clear();
  Global_LowestJumpTo = 1000;  // beyond the buffer: nothing, but the search ran
  EXPECT_TRUE(wide.SearchAndDo(&the));
  EXPECT_TRUE(recorder.hits.empty());

  // In an 8-bit buffer a byte is a character.
  const std::string bytes = "xxxxthe the";
  TSearchAndDoEngine narrow(false, true, kEnglish);
  Recorder narrow_hits;
  narrow.PrepareFirst(bytes.c_str(), 11, 0, narrow_hits.Event(), nullptr);
  Global_LowestJumpTo = 5;
  ASSERT_TRUE(narrow.SearchAndDo(&the));
  EXPECT_EQ(narrow_hits.Offsets(), std::vector<std::int32_t>{8});
}

TEST_F(EngineTest, ToolCanSendTheScanBackToTheLowestJump) {
  const UnicodeString text = u"one two one two one";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  // After the first hit the tool moves the lowest jump past the second "one".
  recorder.on_hit = [&](TSearchAndDoEngine& e) {
    if (recorder.hits.size() == 1) {
      Global_LowestJumpTo = 2 * 9;
      e.SetLowestJumpToChanged(true);
    }
  };
  engine.PrepareFirst(text.c_str(), 38, 0, recorder.Event(), nullptr);
  TSearch_word_format_rec one = Word(u"one");
  ASSERT_TRUE(engine.SearchAndDo(&one));
  EXPECT_EQ(recorder.Offsets(), (std::vector<std::int32_t>{0, 16}));
  EXPECT_FALSE(engine.GetLowestJumpToChanged());
}

TEST_F(EngineTest, HitRecordFields) {
  const UnicodeString text = u"going, gone";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  engine.PrepareFirst(text.c_str(), 1000, 500, recorder.Event(), nullptr);
  TSearch_word_format_rec go = Word(u"go*");
  ASSERT_TRUE(engine.SearchAndDo(&go, 7));
  ASSERT_EQ(recorder.hits.size(), 2u);
  const TSearchFound_Rec& first = recorder.hits[0];
  EXPECT_EQ(first.start_of_text, text.c_str());
  EXPECT_EQ(first.start_of_memory, text.c_str());
  EXPECT_EQ(first.where_hit_started, text.c_str());
  EXPECT_FLOAT_EQ(first.percent_of_file, 50.0f);  // byte 0 of a chunk at 500 in 1,000 bytes
  EXPECT_EQ(first.FileBytePos, 500u);
  EXPECT_EQ(first.exact_hit_len, 2);
  EXPECT_EQ(first.hit_characters, 5);  // extended to the end of "going"
  EXPECT_EQ(first.search_number, 7);
  EXPECT_EQ(first.hit_pos_in_characters, 0);
  EXPECT_EQ(first.hit_pos_in_wchar_kinds, 0);
  EXPECT_EQ(first.spare, (std::array<std::uint8_t, 20>{}));
  const TSearchFound_Rec& second = recorder.hits[1];
  EXPECT_EQ(second.where_hit_started, text.c_str() + 7);
  EXPECT_FLOAT_EQ(second.percent_of_file, 51.4f);  // (14 + 500) * 100 / 1000
  EXPECT_EQ(second.hit_characters, 4);
}

TEST_F(EngineTest, UnknownFileSizeGivesNoPercentageInsteadOfFailing) {
  const UnicodeString text = u"the end";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  engine.PrepareFirst(text.c_str(), 0, 500, recorder.Event(), nullptr);
  TSearch_word_format_rec the = Word(u"the");
  ASSERT_NO_THROW(EXPECT_TRUE(engine.SearchAndDo(&the)));
  ASSERT_EQ(recorder.hits.size(), 1u);
  EXPECT_EQ(recorder.hits[0].percent_of_file, 0.0f);
}

TEST_F(EngineTest, SearchesThatCannotStart) {
  const UnicodeString text = u"the end";
  TSearch_word_format_rec the = Word(u"the");
  TSearchAndDoEngine engine(true, true, kEnglish);
  EXPECT_FALSE(engine.SearchAndDo(&the)) << "no buffer, no callback";

  Recorder recorder;
  engine.PrepareFirst(text.c_str(), 14, 0, nullptr, nullptr);
  EXPECT_FALSE(engine.GetReady());
  EXPECT_FALSE(engine.SearchAndDo(&the)) << "no hit callback";

  engine.PrepareFirst(text.c_str(), 14, 0, recorder.Event(), nullptr);
  EXPECT_TRUE(engine.GetReady());
  EXPECT_EQ(engine.GetBuffer_Characters(), 7);
  EXPECT_FALSE(engine.SearchAndDo(nullptr));
  TSearch_word_format_rec empty;
  EXPECT_FALSE(engine.SearchAndDo(&empty));

  engine.FoundEnough();
  engine.SetABuffer(nullptr);
  EXPECT_EQ(engine.GetBuffer_Characters(), 0);
  EXPECT_EQ(engine.GetBufferDetailsEnd(), nullptr);
  EXPECT_FALSE(engine.SearchAndDo(&the));
  EXPECT_FALSE(engine.GetChega()) << "the stop flags are reset even so";
  EXPECT_TRUE(recorder.hits.empty());
}

TEST_F(EngineTest, BufferLengthEndsAtTheNul) {
  // Every length from 0 to 40 at every alignment of the buffer's start.
  std::vector<char16_t> block(64, u'a');
  TSearchAndDoEngine wide(true, true, kEnglish);
  for (std::size_t start = 0; start < 8; ++start) {
    for (std::size_t length = 0; length <= 40; ++length) {
      std::fill(block.begin(), block.end(), u'a');
      block[start + length] = 0;
      wide.SetABuffer(block.data() + start);
      ASSERT_EQ(wide.GetBuffer_Characters(), static_cast<std::int32_t>(length)) << start << " " << length;
      ASSERT_EQ(wide.GetBufferDetailsEnd(), wide.GetBufferDetailsStart() + length + 1);
    }
  }
  // A text exactly as long as its allocation (the NUL is the string's own).
  const UnicodeString exact(17, u'b');
  wide.SetABuffer(exact.c_str());
  EXPECT_EQ(wide.GetBuffer_Characters(), 17);
  // In 8-bit buffers a byte is a character, and a zero byte ends the text.
  TSearchAndDoEngine narrow(false, true, kEnglish);
  const char bytes[] = "abc\0def";
  narrow.SetABuffer(bytes);
  EXPECT_EQ(narrow.GetBuffer_Characters(), 3);
}

TEST_F(EngineTest, CaseSensitiveWordUsesItsTextInEveryCopy) {
  const UnicodeString text = u"may May MAY";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  TSearch_word_format_rec may = Word(u"==May==");
  ASSERT_TRUE(may.flags.Contains(myCaseIsSensitive));
  UnicodeString copies_during_search[3];
  recorder.on_hit = [&](TSearchAndDoEngine&) {
    copies_during_search[0] = may.copies[upper_copy];
    copies_during_search[1] = may.copies[lower_copy];
    copies_during_search[2] = may.copies[title_copy];
  };
  engine.PrepareFirst(text.c_str(), 22, 0, recorder.Event(), nullptr);
  ASSERT_TRUE(engine.SearchAndDo(&may));
  EXPECT_EQ(recorder.Offsets(), std::vector<std::int32_t>{4});
  for (const UnicodeString& copy : copies_during_search) EXPECT_EQ(copy, u"May");

  // Without the marker every case form is a hit.
  recorder.hits.clear();
  TSearch_word_format_rec any_case = Word(u"may");
  ASSERT_TRUE(engine.SearchAndDo(&any_case));
  EXPECT_EQ(recorder.Offsets(), (std::vector<std::int32_t>{0, 4, 8}));
}

TEST_F(EngineTest, EightBitSearchNarrowsTheWordOnce) {
  // "cœur" and "CŒUR" in code page 1252: œ is 0x9C, Œ is 0x8C.
  const std::string bytes = "mon c\x9Cur, MON C\x8CUR";
  TSearchAndDoEngine engine(false, true, kEnglish);
  EXPECT_EQ(engine.Codepage, 1252);
  Recorder recorder;
  engine.PrepareFirst(bytes.c_str(), 18, 0, recorder.Event(), nullptr);
  TSearch_word_format_rec heart = Word(u"cœur");
  ASSERT_FALSE(heart.copies_converted);
  ASSERT_TRUE(engine.SearchAndDo(&heart));
  EXPECT_EQ(recorder.Offsets(), (std::vector<std::int32_t>{4, 14}));
  EXPECT_TRUE(heart.copies_converted);
  EXPECT_EQ(heart.copies[lower_copy], UnicodeString(u"c\u009Cur"));
  EXPECT_EQ(heart.copies[upper_copy], UnicodeString(u"C\u008CUR"));
  EXPECT_EQ(heart.copies[title_copy], UnicodeString(u"C\u009Cur"));

  // Searching again leaves the narrowed copies alone (narrowing them again
  // would turn them into question marks).
  const auto narrowed = heart.copies;
  recorder.hits.clear();
  ASSERT_TRUE(engine.SearchAndDo(&heart));
  EXPECT_EQ(heart.copies, narrowed);
  EXPECT_EQ(recorder.Offsets(), (std::vector<std::int32_t>{4, 14}));
}

TEST_F(EngineTest, ExceptionInTheLoopNamesFileAndWord) {
  const UnicodeString text = u"the cat and the dog";
  TSearchAndDoEngine engine(true, true, kEnglish);
  engine.SetFilename(u"story.txt");
  int seen = 0;
  engine.PrepareFirst(text.c_str(), 38, 0,
                      [&](TObject*, const TSearchFound_Rec&) -> bool {
                        if (++seen == 2) throw EConvertError("bad hit");
                        return true;
                      },
                      nullptr);
  TSearch_word_format_rec the = Word(u"the");
  try {
    engine.SearchAndDo(&the);
    FAIL() << "no exception";
  } catch (const ESearchProblem& e) {
    EXPECT_EQ(e.Message(), u"problem searching story.txt for \"the\"");
  }
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(engine.GetHits_found(), 2);
}

// The log while logging is on: the start of each search and every hit.
class LoggedSearch : public EngineTest {
 protected:
  void SetUp() override {
    SetLogFilename(dir_.File("search.log"));
    keeping_log = true;
  }
  void TearDown() override {
    keeping_log = false;
    SetLogFilename(u"");
    EngineTest::TearDown();
  }
  UnicodeString LogText() const {
    const std::vector<unsigned char> bytes = testing::ReadAllBytes(dir_.Path("search.log"));
    UnicodeString text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(static_cast<WideChar>(bytes[i] | bytes[i + 1] << 8));
    return text;
  }
  testing::TempDir dir_;
};

TEST_F(LoggedSearch, StartAndHitLines) {
  const UnicodeString text = u"A <b>tag</b>\tthe end";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  engine.PrepareFirst(text.c_str(), 1000, 0x100, recorder.Event(), nullptr);
  TSearch_word_format_rec the = Word(u"the");
  ASSERT_TRUE(engine.SearchAndDo(&the));
  const UnicodeString log = LogText();
  EXPECT_NE(log.find(u"seeking \r\n\"THE\"\r\n\"the\"\r\n\"The\"\r\nand file begins \"A <b>tag</b>\tthe end...\"\r\n"),
            UnicodeString::npos)
      << Utf16ToUtf8(log);
  // The hit at character 13, byte 26 of a chunk that starts at byte 0x100: 282 of 1,000.
  EXPECT_NE(log.find(u"(1) \"the end\" at chunk 000100+00000D= byte 00011A\tdone: 000000\tto go: 000014\t"
                     u"28.20% words = 2\r\n"),
            UnicodeString::npos)
      << Utf16ToUtf8(log);

  // Tag codes in a hit's extract show as angle brackets, other controls as spaces.
  const UnicodeString coded = UnicodeString(u"x ") + pattern_tag_open + u"p" + pattern_tag_close + u"\rend";
  engine.PrepareFirst(coded.c_str(), 1000, 0, recorder.Event(), nullptr);
  TSearch_word_format_rec x = Word(u"x");
  ASSERT_TRUE(engine.SearchAndDo(&x));
  EXPECT_NE(LogText().find(u"(2) \"x <p> end\" at chunk"), UnicodeString::npos);

  // A search that cannot start says why; an additional engine logs nothing else.
  EXPECT_FALSE(engine.SearchAndDo(nullptr));
  EXPECT_NE(LogText().find(u"item = nil True\r\n"), UnicodeString::npos);
  EXPECT_NE(LogText().find(u"buffer = nil False\r\n"), UnicodeString::npos);
  const std::size_t size_before = LogText().size();
  TAdditionalSearchAndDoEngine additional(true, true, kEnglish);
  additional.PrepareFirst(text.c_str(), 1000, 0, recorder.Event(), nullptr);
  ASSERT_TRUE(additional.SearchAndDo(&the));
  EXPECT_EQ(LogText().size(), size_before);
}

// ---- statistics --------------------------------------------------------------

struct SegmentEnd {
  std::int32_t number;
  std::int32_t words;
  bool operator==(const SegmentEnd&) const = default;
};
std::vector<SegmentEnd> sentence_ends;
std::vector<SegmentEnd> heading_ends;
void OnSentenceEnd(std::int32_t number, std::int32_t words) { sentence_ends.push_back({number, words}); }
void OnHeadingEnd(std::int32_t number, std::int32_t words) { heading_ends.push_back({number, words}); }

// A text whose class array carries the tool's segment markers: { heading start,
// } heading end, ~ sentence start.
class MarkedText {
 public:
  explicit MarkedText(UnicodeString text) : text_(std::move(text)) {
    classes_ = MakeClassArray(text_.data(), text_.size(), kEnglish);
    for (std::size_t i = 0; i < text_.size(); ++i) {
      if (text_[i] == u'{') classes_[i] = class_segment_marker | ts_heading_start;
      if (text_[i] == u'}') classes_[i] = class_segment_marker | ts_heading_end;
      if (text_[i] == u'~') classes_[i] = class_segment_marker | ts_sentence_start;
    }
  }
  const UnicodeString& text() const { return text_; }
  TClassArray& classes() { return classes_; }
  std::int32_t size() const { return static_cast<std::int32_t>(text_.size()); }

 private:
  UnicodeString text_;
  TClassArray classes_;
};

TEST_F(EngineTest, StatisticsAtEveryHitAndSegmentHooks) {
  MarkedText marked(u"{Big cat news} ~The cat sat. ~A dog and a cat ran.");
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  TSearchStatsRec final_stats;
  engine.PrepareForConcordancing(u"news.txt", marked.text().c_str(), marked.classes().data(),
                                 marked.classes().data() + marked.size() + 1, 200, marked.size(), 0, false,
                                 recorder.Event(),
                                 [&](TObject*, const TSearchStatsRec& stats) { final_stats = stats; });
  EXPECT_TRUE(engine.GetSkipAnyTags());
  EXPECT_TRUE(engine.GetPreAssigned());
  // The text marks where headings end, not where sentences end.
  TTagsFoundArray markers;
  markers[ts_heading_start] = 1;
  markers[ts_heading_end] = 1;
  markers[ts_sentence_start] = 2;
  engine.SetArrayOfTagsFound(markers);
  engine.ClearChunkTextStats();

  sentence_ends.clear();
  heading_ends.clear();
  HandleSentenceEndProc = OnSentenceEnd;
  HandleHeadingEndProc = OnHeadingEnd;
  TSearch_word_format_rec cat = Word(u"cat");
  const bool started = engine.SearchAndDo(&cat);
  HandleSentenceEndProc = DoNothingWithTextSection;
  HandleHeadingEndProc = DoNothingWithTextSection;
  ASSERT_TRUE(started);
  ASSERT_EQ(recorder.Offsets(), (std::vector<std::int32_t>{5, 20, 42}));

  // Inside the heading: its number and word position.
  const TSearchStatsRec& in_heading = recorder.hits[0].count_stats;
  EXPECT_EQ(in_heading.number[word_stats], 1);
  EXPECT_EQ(in_heading.number[heading_stats], 0);
  EXPECT_EQ(in_heading.position[heading_stats], 1);
  EXPECT_EQ(in_heading.number[sentence_stats], 0);

  // After it: no heading, and the sentences counted from their start markers.
  const TSearchStatsRec& second = recorder.hits[1].count_stats;
  EXPECT_EQ(second.number[heading_stats], -1);
  EXPECT_EQ(second.position[heading_stats], -1);
  EXPECT_EQ(second.number[word_stats], 4);
  EXPECT_EQ(second.number[sentence_stats], 1);
  EXPECT_EQ(second.position[sentence_stats], 2);
  EXPECT_EQ(second.out_of[sentence_stats], 2);

  const TSearchStatsRec& third = recorder.hits[2].count_stats;
  EXPECT_EQ(third.number[heading_stats], -1);
  EXPECT_EQ(third.number[word_stats], 10);
  EXPECT_EQ(third.number[sentence_stats], 2);
  EXPECT_EQ(third.position[sentence_stats], 5);
  EXPECT_EQ(third.position[paragraph_stats], 10);

  // The chunk's own record keeps the heading numbers; the scan went on to the end.
  EXPECT_EQ(final_stats.number[word_stats], 11);
  EXPECT_EQ(final_stats.number[heading_stats], 1);
  EXPECT_EQ(final_stats.position[sentence_stats], 6);
  EXPECT_FALSE(Global_in_heading);

  EXPECT_EQ(heading_ends, (std::vector<SegmentEnd>{{0, 2}}));
  EXPECT_EQ(sentence_ends, (std::vector<SegmentEnd>{{0, 3}, {1, 4}}));
}

TEST_F(EngineTest, ClassArraysOfTheCaller) {
  // An array given at creation is used as it is, never resized.
  const UnicodeString text = u"the cat";
  TClassArray own = MakeClassArray(text.data(), text.size(), kEnglish);
  TSearchAndDoEngine engine(true, true, kEnglish, &own);
  Recorder recorder;
  engine.PrepareFirst(text.c_str(), 14, 0, recorder.Event(), nullptr);
  EXPECT_EQ(engine.GetBufferDetailsStart(), own.data());
  TSearch_word_format_rec cat = Word(u"cat");
  ASSERT_TRUE(engine.SearchAndDo(&cat));
  EXPECT_EQ(recorder.Offsets(), std::vector<std::int32_t>{4});

  // A concordancing chunk brings its own array for itself alone.
  TClassArray chunk = MakeClassArray(text.data(), text.size(), kEnglish);
  engine.PrepareForConcordancing(u"x.txt", text.c_str(), chunk.data(), nullptr, 14, 7, 0, false, recorder.Event(),
                                 nullptr);
  EXPECT_EQ(engine.GetBufferDetailsStart(), chunk.data());
  EXPECT_EQ(engine.GetBufferDetailsEnd(), chunk.data() + 8);
  engine.PrepareFirst(text.c_str(), 14, 0, recorder.Event(), nullptr);
  EXPECT_EQ(engine.GetBufferDetailsStart(), own.data());
  EXPECT_TRUE(engine.GetPreAssigned());

  // Too short for a longer buffer: the search does not start rather than read
  // past the array.
  const UnicodeString longer = u"the cat and the other cat";
  engine.PrepareFirst(longer.c_str(), 50, 0, recorder.Event(), nullptr);
  EXPECT_EQ(own.size(), text.size() + 2);
  EXPECT_FALSE(engine.SearchAndDo(&cat));

  // A chunk that comes without a class array is classified by the engine.
  TSearchAndDoEngine concordancer(true, true, kEnglish);
  Recorder found;
  concordancer.PrepareForConcordancing(u"x.txt", longer.c_str(), nullptr, nullptr, 50,
                                       static_cast<std::int32_t>(longer.size()), 0, false, found.Event(), nullptr);
  ASSERT_TRUE(concordancer.SearchAndDo(&cat));
  EXPECT_EQ(found.Offsets(), (std::vector<std::int32_t>{4, 22}));

  // A count beyond the tool's array is cut to what the array classifies.
  TClassArray short_array = MakeClassArray(longer.data(), 7, kEnglish);
  concordancer.PrepareForConcordancing(u"x.txt", longer.c_str(), short_array.data(), short_array.data() + 8, 50,
                                       static_cast<std::int32_t>(longer.size()), 0, false, found.Event(), nullptr);
  EXPECT_EQ(concordancer.GetBuffer_Characters(), 7);
  // The next buffer of its own gets a class array of the engine's again.
  concordancer.PrepareFirst(longer.c_str(), 50, 0, found.Event(), nullptr);
  EXPECT_FALSE(concordancer.GetPreAssigned());
  EXPECT_NE(concordancer.GetBufferDetailsStart(), short_array.data());
}

TEST_F(EngineTest, AllowableMiddleCharactersJoinWords) {
  const UnicodeString text = u"don't stop";
  TSearchAndDoEngine engine(true, true, kEnglish);
  Recorder recorder;
  engine.PrepareFirst(text.c_str(), 20, 0, recorder.Event(), nullptr);
  TSearch_word_format_rec don = Word(u"don");
  ASSERT_TRUE(engine.SearchAndDo(&don));
  EXPECT_EQ(recorder.hits.size(), 1u) << "the apostrophe ends a word";

  recorder.hits.clear();
  const std::array<WideChar, 11> allowables{u'\'', 0};
  engine.HandleAllowables(UnicodeString(allowables.data(), allowables.size()), false, false);
  ASSERT_TRUE(engine.SearchAndDo(&don));
  EXPECT_TRUE(recorder.hits.empty()) << "now inside the word don't";
}

TEST_F(EngineTest, LocaleSetsTheCodePage) {
  TSearchAndDoEngine engine(false, true, kEnglish);
  engine.SetLCID(0x0419);  // Russian
  EXPECT_EQ(engine.GetLCID(), 0x0419u);
  EXPECT_EQ(engine.Codepage, 1251);
  TAdditionalSearchAndDoEngine additional(true, true, kEnglish);
  EXPECT_TRUE(additional.IsAdditionalEngine);
  additional.SetContext_exact_gap_required(3);
  EXPECT_EQ(additional.context_exact_gap_required, 3);
}

// ---- the word-list tool's quick test ----------------------------------------------

TEST_F(EngineTest, WordListQuickSearch) {
  TWLSearchAndDo quick(true, true, kEnglish);
  quick.SetSearchWord(u"nEW yORK-city", TMySearchFlags::Default());
  EXPECT_EQ(quick.search_text, u"NEW YORK-CITY");
  EXPECT_EQ(quick.lo_copy, u"new york-city");
  EXPECT_EQ(quick.title_copy, u"New York-City");
  quick.SetSearchWord(u"nEW", {myCaseIsSensitive});
  EXPECT_EQ(quick.search_text, u"nEW");
  EXPECT_EQ(quick.lo_copy, u"nEW");
  EXPECT_EQ(quick.title_copy, u"nEW");

  const UnicodeString text = u"They went to New  York by train.";
  quick.SetABuffer(text.c_str());
  quick.SetSearchWord(u"new york", TMySearchFlags::Default());
  EXPECT_TRUE(quick.QuickSearchFoundIgnoringTags());
  quick.SetSearchWord(u"york city", TMySearchFlags::Default());
  EXPECT_FALSE(quick.QuickSearchFoundIgnoringTags());

  // A trailing star is not part of the length: "trai*" is found in "train."; a
  // buffer shorter than the word never holds it.
  quick.SetSearchWord(UnicodeString(u"trai") + pattern_star, {myLeftBounded});
  EXPECT_TRUE(quick.QuickSearchFoundIgnoringTags());
  const UnicodeString tiny = u"new";
  quick.SetABuffer(tiny.c_str());
  quick.SetSearchWord(u"news", TMySearchFlags::Default());
  EXPECT_FALSE(quick.QuickSearchFoundIgnoringTags());
  quick.SetSearchWord(u"new", TMySearchFlags::Default());
  EXPECT_TRUE(quick.QuickSearchFoundIgnoringTags());

  // An 8-bit buffer is searched with the word's bytes.
  TWLSearchAndDo narrow(false, true, kEnglish);
  const std::string bytes = "un C\x8CUR simple";
  narrow.SetABuffer(bytes.c_str());
  narrow.SetSearchWord(u"cœur", TMySearchFlags::Default());
  EXPECT_TRUE(narrow.QuickSearchFoundIgnoringTags());
}

// ---- kept hits ------------------------------------------------------------------

TEST(SearchFoundList, SortsHitsByTheirPositionAndOwnsThem) {
  const UnicodeString text = u"abcdefghij";
  TSearchFoundList list;
  for (const int offset : {7, 2, 9, 0, 4}) {
    TSearchFound_Rec rec;
    rec.start_of_memory = text.c_str();
    rec.where_hit_started = text.c_str() + offset;
    rec.hit_pos_in_characters = offset;
    list.AddOne(rec);
  }
  list.SortOnPosition();
  std::vector<std::int32_t> order;
  for (int i = 0; i < list.Count(); ++i) order.push_back(list.GetOne(i).hit_pos_in_characters);
  EXPECT_EQ(order, (std::vector<std::int32_t>{0, 2, 4, 7, 9}));
  EXPECT_EQ(list.GetHolder(1)->ByteOffset(), 4);  // two bytes a character

  list.SortOnPosition(false);
  EXPECT_EQ(list.GetOne(0).hit_pos_in_characters, 9);
  list.Delete(0);
  list.Delete(99);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.GetOne(4).where_hit_started, nullptr);
  EXPECT_EQ(list.GetHolder(-1), nullptr);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace quill
