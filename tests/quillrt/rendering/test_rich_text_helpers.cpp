#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillrt/process/yield.h"
#include "quillrt/rendering/rich_text_helpers.h"

namespace quill {
namespace {

// A control that keeps the format of every character and a log of scrolling.
class FakeRichText : public TRichTextControl {
 public:
  explicit FakeRichText(UnicodeString text) : text_(std::move(text)), colour_(text_.size(), 0), back_(text_.size(), 0) {}
  UnicodeString Text() const override { return text_; }
  void SetMargins(std::int32_t left, std::int32_t right) override { margins = {left, right}; }
  void Select(std::int32_t start, std::int32_t length) override { sel_ = {start, length}; }
  void SetSelectionColour(TColor colour) override { ForSelection([&](std::size_t i) { colour_[i] = colour; }); }
  void SetSelectionStyles(Ttypeface_Set styles) override { last_styles = styles; }
  void SetSelectionBackground(TColor colour) override { ForSelection([&](std::size_t i) { back_[i] = colour; }); }
  std::int32_t FirstVisibleLine() const override { return first_line; }
  void ScrollLines(std::int32_t lines) override { first_line += lines; }
  void ScrollToPosition(std::int32_t position) override { scrolled_to = position; }
  void SetRedraw(bool on) override { redraw_log.push_back(on); }

  TColor ColourAt(std::size_t i) const { return colour_[i]; }
  TColor BackAt(std::size_t i) const { return back_[i]; }

  std::pair<std::int32_t, std::int32_t> margins;
  Ttypeface_Set last_styles;
  std::int32_t first_line = 0;
  std::int32_t scrolled_to = -1;
  std::vector<bool> redraw_log;

 private:
  template <class F>
  void ForSelection(const F& f) {
    for (std::int32_t i = sel_.start; i < sel_.start + sel_.length && i < static_cast<std::int32_t>(text_.size()); ++i)
      f(static_cast<std::size_t>(i));
  }
  UnicodeString text_;
  std::vector<TColor> colour_;
  std::vector<TColor> back_;
  TRichTextSpan sel_;
};

TSimpleSearch_rec Word(const char16_t* seek, TMySearchFlags flags) {
  TSimpleSearch_rec rec;
  rec.seek = seek;
  rec.flags = flags;
  return rec;
}

const TRichTextHitLooks kLooks{{0x0000FF, 0xFFFF00}, {tf_bold}, {0x808080, 0xFFFFFF}, {tf_strikeout}};

TEST(RichTextHelpers, ColoursEveryBoundedHitAndScrollsToTheFirst) {
  FakeRichText edit(u"The jury said the JURY was a jury-room injury; the court");
  TSimpleSearchlist words;
  words.AddOne(Word(u"JURY", TMySearchFlags::Default()));
  words.AddOne(Word(u"court", {myLeftBounded, myRightBounded, mySW_To_Avoid}));
  T3LongintList hits;
  std::vector<std::int32_t> percents;
  int yields = 0;
  AYieldProcessProc = [&] { ++yields; };
  const bool go_on = true;
  const std::int32_t first =
      RichEdit_ColourAllTheseWords(edit, words, kLooks, hits, [&](std::int32_t p) { percents.push_back(p); }, go_on);
  AYieldProcessProc = nullptr;

  EXPECT_EQ(first, 4);
  EXPECT_EQ(edit.scrolled_to, 4);
  ASSERT_EQ(hits.Count(), 4);  // "injury" is no hit of a bounded word
  T3_longint_rec rec;
  hits.GetATriple(2, rec);
  EXPECT_EQ(rec, (T3_longint_rec{29, 4, 0}));  // "jury" of "jury-room"
  hits.GetATriple(3, rec);
  EXPECT_EQ(rec, (T3_longint_rec{51, 5, 1}));
  EXPECT_EQ(edit.ColourAt(4), 0x0000FF);
  EXPECT_EQ(edit.BackAt(18), 0xFFFF00);
  EXPECT_EQ(edit.ColourAt(41), 0);  // in "injury"
  EXPECT_EQ(edit.ColourAt(52), 0x808080);
  EXPECT_EQ(edit.last_styles, Ttypeface_Set{tf_strikeout});
  EXPECT_EQ(percents, (std::vector<std::int32_t>{50, 100}));
  EXPECT_EQ(yields, 4 + 2);
  EXPECT_EQ(edit.redraw_log, (std::vector<bool>{false, true}));
}

TEST(RichTextHelpers, StopsWhenTheCallerClearsTheFlagAndAnswersMinusOneWithoutHits) {
  FakeRichText edit(u"jury jury jury");
  TSimpleSearchlist words;
  words.AddOne(Word(u"JURY", TMySearchFlags::Default()));
  T3LongintList hits;
  bool go_on = true;
  AYieldProcessProc = [&] { go_on = false; };  // the user presses Stop at the first hit
  RichEdit_ColourAllTheseWords(edit, words, kLooks, hits, nullptr, go_on);
  AYieldProcessProc = nullptr;
  EXPECT_EQ(hits.Count(), 1);
  EXPECT_EQ(edit.redraw_log.back(), true);

  T3LongintList none;
  go_on = true;
  FakeRichText plain(u"nothing here");
  EXPECT_EQ(RichEdit_ColourAllTheseWords(plain, words, kLooks, none, nullptr, go_on), -1);
  EXPECT_EQ(plain.scrolled_to, -1);
}

TEST(RichTextHelpers, MarginsSectionsAndScrolling) {
  FakeRichText edit(u"abcdef");
  SetRicheditMargins(edit, 4, 6);
  EXPECT_EQ(edit.margins, (std::pair<std::int32_t, std::int32_t>{4, 6}));
  RichEdit_ColourASection(edit, {0x112233, 0x445566}, {tf_italics}, {1, 2});
  EXPECT_EQ(edit.ColourAt(0), 0);
  EXPECT_EQ(edit.ColourAt(2), 0x112233);
  EXPECT_EQ(edit.BackAt(1), 0x445566);
  EXPECT_EQ(edit.ColourAt(3), 0);
  RichEdit_SetSelBgColor(edit, 0x00FF00);
  EXPECT_EQ(edit.BackAt(2), 0x00FF00);
  edit.first_line = 10;
  CentreLineVerticallyInEdit(edit, 4);
  EXPECT_EQ(edit.first_line, 4);
  RichEdit_ScrollToPOsition(edit, 5);
  EXPECT_EQ(edit.scrolled_to, 5);
}

}  // namespace
}  // namespace quill
