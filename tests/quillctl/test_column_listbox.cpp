// The styled column list box with its header, driven through real widget
// events and checked on grabbed pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <optional>

#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"

namespace quill {
namespace {

bool IsDark(QRgb pixel) { return qRed(pixel) + qGreen(pixel) + qBlue(pixel) < 300; }
bool IsRed(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60; }

// The leftmost and rightmost columns of dark pixels inside a box of the image.
struct TInk {
  int left = -1;
  int right = -1;
  bool Any() const { return left >= 0; }
};

TInk InkIn(const QImage& image, const QRect& wanted) {
  const QRect box = wanted & image.rect();
  TInk ink;
  for (int y = box.top(); y <= box.bottom(); ++y)
    for (int x = box.left(); x <= box.right(); ++x)
      if (IsDark(image.pixel(x, y))) {
        if (!ink.Any() || x < ink.left) ink.left = x;
        ink.right = std::max(ink.right, x);
      }
  return ink;
}

// A form with a header bar above a column list box, as a tool's window has them.
class ColumnListbox : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<QWidget>();
    form->resize(500, 400);
    header = new THeaderControl(form.get());  // children of the form, as on a tool's window
    list = new TStyledColumnListbox(form.get());
    list->setGeometry(0, 24, kClientWidth + 2 * list->frameWidth(), 300);
    header->setGeometry(0, 0, list->width(), 24);
    list->SetHeaderControl(header);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_EQ(list->viewport()->width(), kClientWidth);
  }

  QRect RowBox(int index, int left, int width) const {
    const TRect r = list->ItemRect(index);
    return {left, r.top, width, r.Height()};
  }

  QImage GrabList() const { return list->viewport()->grab().toImage(); }

  static constexpr int kClientWidth = 300;
  std::unique_ptr<QWidget> form;
  THeaderControl* header = nullptr;
  TStyledColumnListbox* list = nullptr;
};

TEST_F(ColumnListbox, ColumnsAreSizedAutomaticallyAndByPercentages) {
  list->SetColumns(1);
  EXPECT_EQ(header->sectionSize(0), 300);
  list->SetColumns(2);
  EXPECT_EQ(header->sectionSize(0), 200);
  EXPECT_EQ(header->sectionSize(1), 100);
  list->SetColumns(4);
  EXPECT_EQ(header->sectionSize(0), 100);
  EXPECT_EQ(header->sectionSize(1), 66);
  EXPECT_EQ(header->sectionSize(2), 66);
  // The last reaches the outer edge, frame included.
  EXPECT_EQ(header->sectionSize(3), list->width() - 232);
  EXPECT_EQ(header->SectionCaption(2), u"2");

  list->resize(400 + 2 * list->frameWidth(), list->height());
  const TStringAndIntegerRec headings[] = {{u"Word", 50}, {u"Freq", 30}, {u"Texts", 20}};
  list->DefineHeaders(headings, false);
  EXPECT_FALSE(list->AutosizingColumns());
  EXPECT_EQ(list->Columns(), 4);  // fewer headings than columns keep the columns
  EXPECT_EQ(header->sectionSize(0), 200);
  EXPECT_EQ(header->sectionSize(1), 120);
  EXPECT_EQ(header->sectionSize(2), 80);
  EXPECT_EQ(header->SectionCaption(0), u"Word");

  const TStringAndIntegerRec more[] = {{u"a", 10}, {u"b", 10}, {u"c", 10}, {u"d", 10}, {u"e", 60}};
  list->DefineHeaders(more, true);
  EXPECT_EQ(list->Columns(), 5);
  EXPECT_EQ(header->SectionCount(), 5);
  EXPECT_EQ(header->SectionCaption(4), u"e");
}

TEST_F(ColumnListbox, PiecesGoToTheirColumnsNumbersRightAligned) {
  list->SetColumns(3);
  list->Items().Add(u"abc\t12\tx");
  list->Items().Add(u"only");
  const QImage shot = GrabList();
  const int m = QFontMetrics(list->font()).horizontalAdvance(QLatin1Char('M'));
  const auto column = [&](int k) {
    const auto [left, width] = list->GetColumnSize(k);
    return std::pair{left, width};
  };
  const auto [l0, w0] = column(0);
  const auto [l1, w1] = column(1);
  const auto [l2, w2] = column(2);
  const TInk abc = InkIn(shot, RowBox(0, l0, w0));
  const TInk twelve = InkIn(shot, RowBox(0, l1, w1));
  const TInk x = InkIn(shot, RowBox(0, l2, w2));
  ASSERT_TRUE(abc.Any() && twelve.Any() && x.Any());
  EXPECT_LE(abc.left - l0, 2);                       // text starts at the column's left
  EXPECT_NEAR(l1 + w1 - m - twelve.right, 1, 2);     // a number ends one "M" before the right edge
  EXPECT_GT(twelve.left - l1, w1 / 2);
  EXPECT_LE(x.left - l2, 2);
  // A line with fewer pieces leaves the later columns empty.
  EXPECT_TRUE(InkIn(shot, RowBox(1, l0, w0)).Any());
  EXPECT_FALSE(InkIn(shot, RowBox(1, l1, w1)).Any());
  EXPECT_FALSE(InkIn(shot, RowBox(1, l2, w2)).Any());
}

TEST_F(ColumnListbox, LongTextIsCutInsideItsColumnAndConvertedTextIsDrawn) {
  list->SetColumns(3);
  list->Items().Add(u"a very long word list entry that cannot fit in one column\t7\tz");
  const auto [l0, w0] = list->GetColumnSize(0);
  const auto [l1, w1] = list->GetColumnSize(1);
  const QImage shot = GrabList();
  EXPECT_TRUE(InkIn(shot, RowBox(0, l0, w0)).Any());
  EXPECT_FALSE(InkIn(shot, RowBox(0, l0 + w0, w1 / 2)).Any());  // nothing of column 0 spills over

  list->OnConvertItemText = [](TOwnerDrawnList&, std::int32_t, const UnicodeString&) { return UnicodeString(); };
  EXPECT_FALSE(InkIn(GrabList(), RowBox(0, 0, kClientWidth)).Any());
}

TEST_F(ColumnListbox, HeaderClicksSortAndTurnTheTriangle) {
  list->SetColumns(3);
  for (const char16_t* line : {u"b\t2\tx", u"a\t3\ty", u"c\t1\tz"}) list->Items().Add(line);
  std::vector<std::pair<int, bool>> calls;
  list->OnSortTheColumn = [&](TOwnerDrawnList&, std::int32_t column, bool ascending) {
    calls.emplace_back(column, ascending);
    return true;
  };
  const auto click = [&](int section) {
    const QPoint centre(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
  };
  // The rows of red pixels of the sort mark inside a section: widest at the
  // top when it points down.
  const auto triangle_points_down = [&](int section) -> std::optional<bool> {
    const QImage shot = header->viewport()->grab().toImage();
    const int left = header->sectionViewportPosition(section);
    std::vector<int> widths;
    for (int y = 0; y < shot.height(); ++y) {
      int reds = 0;
      for (int x = left; x < left + header->sectionSize(section); ++x) reds += IsRed(shot.pixel(x, y));
      if (reds > 0) widths.push_back(reds);
    }
    if (widths.size() < 2) return std::nullopt;
    return widths.front() > widths.back();
  };

  EXPECT_FALSE(triangle_points_down(1).has_value());
  click(1);
  click(1);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], std::make_pair(1, false));
  EXPECT_EQ(calls[1], std::make_pair(1, true));
  EXPECT_EQ(list->CurrentSortColumn(), 1);
  EXPECT_EQ(triangle_points_down(1), std::optional<bool>(true));
  click(1);
  EXPECT_EQ(triangle_points_down(1), std::optional<bool>(false));
  EXPECT_FALSE(triangle_points_down(0).has_value());

  // A handler that does not sort leaves the mark where it was.
  list->OnSortTheColumn = [](TOwnerDrawnList&, std::int32_t, bool) { return false; };
  click(2);
  EXPECT_EQ(list->CurrentSortColumn(), 1);
  EXPECT_FALSE(triangle_points_down(2).has_value());
}

TEST_F(ColumnListbox, ResizingASectionRepaintsAndStretchesTheLast) {
  list->SetColumns(3);
  list->Items().Add(u"w\t12\tx");
  const auto number_right = [&] {
    const auto [l1, w1] = list->GetColumnSize(1);
    return InkIn(GrabList(), RowBox(0, l1, w1)).right;
  };
  const int before = number_right();
  header->resizeSection(1, header->sectionSize(1) + 40);  // as a drag of its border does
  EXPECT_FALSE(list->AutosizingColumns());
  EXPECT_EQ(number_right(), before + 40);
  EXPECT_EQ(header->sectionSize(0) + header->sectionSize(1) + header->sectionSize(2), list->width());

  // Once the user has sized, a resized header stretches only the last column.
  const int first = header->sectionSize(0);
  header->resize(header->width() + 10, header->height());
  EXPECT_EQ(header->sectionSize(0), first);
}

TEST_F(ColumnListbox, MovedSectionTakesItsColumnAlong) {
  list->SetColumns(3);
  list->Items().Add(u"first\t\t");
  header->moveSection(0, 2);
  const auto [left, width] = list->GetColumnSize(0);
  EXPECT_GT(left, 0);
  const TInk ink = InkIn(GrabList(), RowBox(0, 0, kClientWidth));
  ASSERT_TRUE(ink.Any());
  EXPECT_GE(ink.left, left);
}

TEST_F(ColumnListbox, KeyboardMovesTheSelectionThroughAMillionLines) {
  list->SetColumns(2);
  list->Items().BeginUpdate();
  for (int i = 0; i < 1000000; ++i) list->Items().Add(u"line\t" + UnicodeString(i % 2 ? u"1" : u"2"));
  list->Items().EndUpdate();
  list->setFocus();
  EXPECT_EQ(list->ItemIndex(), -1);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 0);
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(list->ItemIndex(), 1);
  const int page = list->viewport()->height() / list->ItemHeight();
  QTest::keyClick(list, Qt::Key_PageDown);
  EXPECT_EQ(list->ItemIndex(), 1 + page);
  QTest::keyClick(list, Qt::Key_End);
  EXPECT_EQ(list->ItemIndex(), 999999);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 999999);

  // The last line is scrolled into view and painted in the selection colour.
  const TRect last = list->ItemRect(999999);
  EXPECT_LE(last.bottom, list->viewport()->height());
  EXPECT_GE(last.top, 0);
  const QImage shot = GrabList();
  EXPECT_EQ(FromQColor(shot.pixelColor(150, last.top + 1)), list->_SelectedColour());
  EXPECT_EQ(FromQColor(shot.pixelColor(150, last.top - 2)), list->_BackgroundColour());

  QTest::keyClick(list, Qt::Key_Home);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->TopIndex(), 0);
}

TEST_F(ColumnListbox, ClickSelectsAndNothingStaleRemainsBelowTheLastLine) {
  list->SetColumns(2);
  for (int i = 0; i < 40; ++i) list->Items().Add(u"row\t1");
  list->SetItemIndex(30);
  list->Items().Clear();
  list->Items().Add(u"one\t1");
  list->Items().Add(u"two\t2");
  EXPECT_EQ(list->ItemIndex(), -1);  // the selected line went
  const QImage shot = GrabList();
  const int below = list->ItemRect(1).bottom;
  const TColor back = list->ControlColour();
  for (int y = below; y < shot.height(); y += 7)
    for (int x = 0; x < shot.width(); x += 13) ASSERT_EQ(FromQColor(shot.pixelColor(x, y)), back) << x << "," << y;

  const TRect second = list->ItemRect(1);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, second.top + 2));
  EXPECT_EQ(list->ItemIndex(), 1);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, below + 30));
  EXPECT_EQ(list->ItemIndex(), 1);  // a click below the lines keeps the selection
}

TEST_F(ColumnListbox, StringSetsAreShownAsCopiesAndBadIndicesIgnored) {
  TStringList words, freqs;
  words.Add(u"the\t100");
  freqs.Add(u"of\t50");
  freqs.Add(u"and\t40");
  const TArrayOfStringLists sets{&words, &freqs, nullptr};
  list->SetStringData(sets, 2, 1);
  EXPECT_EQ(list->Columns(), 2);
  EXPECT_EQ(list->Items().Count(), 2);
  freqs.Add(u"changed\t1");
  EXPECT_EQ(list->Items().Count(), 2);  // a copy
  list->SetCurrentStringSet(0);
  EXPECT_EQ(list->CurrentStringSet(), 0);
  EXPECT_EQ(list->Items()[0], u"the\t100");
  list->SetCurrentStringSet(2);  // an empty entry
  list->SetCurrentStringSet(7);
  EXPECT_EQ(list->CurrentStringSet(), 0);
  EXPECT_EQ(list->Items().Count(), 1);
  list->SetStringData(sets, 3, 5);  // outside: cleared, nothing else
  EXPECT_EQ(list->Items().Count(), 0);
  EXPECT_EQ(list->Columns(), 2);
}

TEST(ColumnListboxLifetimes, HeaderAndListMayGoInEitherOrder) {
  QWidget form;
  auto header = std::make_unique<THeaderControl>(&form);
  {
    TStyledColumnListbox list(&form);
    list.SetHeaderControl(header.get());
    list.SetColumns(2);
    list.OnSortTheColumn = [](TOwnerDrawnList&, std::int32_t, bool) { return true; };
  }
  // The list box went: its events left the header with it.
  EXPECT_FALSE(header->OnSectionClick);
  EXPECT_FALSE(header->OnDrawSection);

  TStyledColumnListbox list(&form);
  list.SetHeaderControl(header.get());
  list.SetColumns(2);
  header.reset();
  EXPECT_EQ(list.HeaderControl(), nullptr);
  list.SetColumns(3);  // nothing to rebuild, nothing to crash on
  EXPECT_EQ(list.GetColumnSize(1).first, 0);
}

TEST(StyledListbox, NumbersAreRightAlignedAndStyleColoursPainted) {
  TStyledListboxOwnerDrawnFixed list;
  list.resize(200, 100);
  list.SetComponentStyle(2);
  EXPECT_EQ(list._BackgroundColour(), 0xCFF0EA);
  EXPECT_EQ(list._SelectedColour(), 0x8CC0B1);
  list.Items().Add(u"text");
  list.Items().Add(u"4711");
  const QImage shot = list.viewport()->grab().toImage();
  const int width = list.viewport()->width();
  const TRect first = list.ItemRect(0);
  const TRect second = list.ItemRect(1);
  EXPECT_LT(InkIn(shot, {0, first.top, width, first.Height()}).left, 4);
  EXPECT_GT(InkIn(shot, {0, second.top, width, second.Height()}).left, width / 2);
  EXPECT_EQ(FromQColor(shot.pixelColor(width / 4, second.top + 1)), 0xCFF0EA);
  list.SetItemIndex(1);
  EXPECT_EQ(FromQColor(list.viewport()->grab().toImage().pixelColor(width / 4, second.top + 1)), 0x8CC0B1);

  bool drawn_by_tool = false;
  list.OnDrawItem = [&](TQtCanvas&, std::int32_t, const TRect&, TOwnerDrawState) { drawn_by_tool = true; };
  (void)list.viewport()->grab();
  EXPECT_TRUE(drawn_by_tool);
}

}  // namespace
}  // namespace quill
