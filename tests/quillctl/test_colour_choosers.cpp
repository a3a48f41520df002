// The colour list box and combo over the shared colour table.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QColor>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <memory>

#include "quillctl/colour_choosers.h"
#include "quillctl/qt_canvas.h"

namespace quill {
namespace {

// Puts a table in place of the shared one for one test.
class SharedTableSwap {
 public:
  explicit SharedTableSwap(TColorArray table) : saved_(std::move(MyColourArray)) { MyColourArray = std::move(table); }
  ~SharedTableSwap() { MyColourArray = std::move(saved_); }

 private:
  TColorArray saved_;
};

const TColorArray kSmallTable{{0x0000FF, u"Red"}, {0xFF0000, u"Blue"}, {0x00FF00, u"Lime"}, {0xFFFFFF, u"White"},
                              {0x8B0000, u"DarkBlue"}};

TEST(ColourTableInQt, WebColoursAreTheColoursQtKnowsByThoseNames) {
  int known_to_qt = 0;
  for (const TNamedColour& web : WebNamedColors()) {
    const QColor qt = QColor::fromString(QString::fromUtf16(web.name.data(), web.name.size()).toLower());
    if (!qt.isValid()) continue;  // the newest names (RebeccaPurple) are younger than some Qt releases
    ++known_to_qt;
    EXPECT_EQ(FromQColor(qt), web.colour) << Utf16ToUtf8(web.name);
  }
  EXPECT_GE(known_to_qt, 147);
}

TEST(ColourSharingListbox, SelectsByColourAndNamesTheSelection) {
  SharedTableSwap swap(kSmallTable);
  TColourSharingListbox list;
  EXPECT_EQ(list.width(), 80);
  EXPECT_EQ(list.height(), 70);
  EXPECT_EQ(list.ItemCount(), 5);
  list.SetASelected(0x00FF00);
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(list.GetASelected(), 0x00FF00);
  EXPECT_EQ(list.SelectedColourName(), u"Lime");
  list.SetASelected(0x123456);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.SelectedColourName(), u"");
  EXPECT_EQ(list.GetASelected(), kNoColour);
  EXPECT_EQ(list.GetAColour(99), 0);
}

TEST(ColourSharingListbox, CaptionsShowIndexHexAndName) {
  SharedTableSwap swap(kSmallTable);
  TColourSharingListbox list;
  EXPECT_EQ(list.ItemCaption(2), u"Lime");
  list.SetShowText({ts_index, ts_hex});
  EXPECT_EQ(list.ItemCaption(2), u"003 0000ff00");
  list.SetShowText({ts_index, ts_hex, ts_description});
  EXPECT_EQ(list.ItemCaption(4), u"005 008b0000 DarkBlue");
  list.SetShowText({});
  EXPECT_EQ(list.ItemCaption(0), u"");
}

TEST(ColourSharingListbox, SortingSharedTableReordersEverySharingChooser) {
  SharedTableSwap swap(kSmallTable);
  TColourSharingListbox own, shared;
  TColourSharingCombo combo;
  own.SetUseSharedArray(false);
  own.SortTheColours(cs_by_name);
  EXPECT_EQ(MyColourArray, kSmallTable);  // a private sort leaves the others alone
  EXPECT_EQ(own.GetAColour(0), 0xFF0000);   // Blue
  EXPECT_EQ(shared.GetAColour(0), 0x0000FF);

  shared.SortTheColours(cs_by_brightness);
  EXPECT_EQ(shared.GetAColour(0), 0x8B0000);  // DarkBlue is the darkest
  EXPECT_EQ(combo.GetAColour(0), 0x8B0000);
  EXPECT_EQ(own.GetAColour(0), 0xFF0000);
  combo.setCurrentIndex(0);
  EXPECT_EQ(combo.SelectedColourName(), u"DarkBlue");

  // Back to sharing: the shared order shows, the private copy is kept for later.
  own.SetUseSharedArray(true);
  EXPECT_EQ(own.GetAColour(0), 0x8B0000);
}

TEST(ColourSharingListbox, SortedTellsWhetherTheSharedTableMoved) {
  SharedTableSwap swap(BuildMyColourArray());
  TColourSharingListbox list;
  EXPECT_FALSE(list.Sorted());
  list.SortTheColours(cs_by_brightness);
  EXPECT_TRUE(list.Sorted());
}

TEST(ColourSharingListbox, PaintsSwatchesAndMarksTheDefaultColour) {
  SharedTableSwap swap(kSmallTable);
  TColourSharingListbox list;
  list.resize(240, 120);
  list.SetItemHeight(20);
  list.SetDefaultColour(0xFF0000);
  const QImage shot = list.viewport()->grab().toImage();
  const int m = QFontMetrics(list.font()).horizontalAdvance(QLatin1Char('M'));
  for (std::int32_t i = 0; i < 5; ++i) {
    const TRect r = list.ItemRect(i);
    // The swatch begins one pixel right of the marker column.
    EXPECT_EQ(FromQColor(shot.pixelColor(m + 4, r.top + r.Height() / 2)), kSmallTable[i].colour) << i;
  }
  // The dot sits in the marker column of the default colour's line only.
  const auto dot_in = [&](int index) {
    const TRect r = list.ItemRect(index);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = 0; x < m; ++x)
        if (FromQColor(shot.pixelColor(x, y)) == HighlightShade(0, 19)) return true;
    return false;
  };
  EXPECT_TRUE(dot_in(1));
  EXPECT_FALSE(dot_in(0));
  EXPECT_FALSE(dot_in(2));
}

TEST(ColourSharingCombo, SwatchFramesContrastWithTheirColour) {
  EXPECT_EQ(SwatchFrameColour(0xFFFFFF, false), 0x000000);
  EXPECT_EQ(SwatchFrameColour(0xFFFFFF, true), 0x000000);
  EXPECT_EQ(SwatchFrameColour(0x8B0000, true), 0xFFFFFF);
  EXPECT_EQ(SwatchFrameColour(0x8B0000, false), 0x8B0000);
  EXPECT_EQ(SwatchFrameColour(0x0000C1, false), 0x000000);  // one channel above 192 is light
  EXPECT_EQ(SwatchFrameColour(0xC0C0C0, false), 0xC0C0C0);
}

TEST(ColourSharingCombo, ReturnsTheColourChosenInItsList) {
  SharedTableSwap swap(kSmallTable);
  QWidget form;
  form.resize(300, 200);
  auto* combo = new TColourSharingCombo(&form);  // the form's child, as on a tool's window
  combo->setGeometry(80, 40, 180, 26);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(combo->count(), 5);
  combo->SetASelected(0xFFFFFF);
  EXPECT_EQ(combo->currentIndex(), 3);

  combo->showPopup();
  QAbstractItemView* view = combo->view();
  const QRect item = view->visualRect(view->model()->index(1, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
  EXPECT_EQ(combo->GetASelected(), 0xFF0000);
  EXPECT_EQ(combo->SelectedColourName(), u"Blue");

  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(combo->GetASelected(), 0x00FF00);

  // The closed combo shows the chosen colour's swatch, framed, beside its name.
  const QImage shot = combo->grab().toImage();
  bool swatch = false;
  for (int x = 0; x < shot.width() / 3 && !swatch; ++x)
    swatch = FromQColor(shot.pixelColor(x, shot.height() / 2)) == 0x00FF00;
  EXPECT_TRUE(swatch);

  combo->SetASelected(0x123456);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(combo->GetASelected(), kNoColour);
  EXPECT_EQ(combo->SelectedColourName(), u"");
}

TEST(ColourSharingCombo, LabelIsPlacedBesideTheComboAndGoesWithIt) {
  const QRect combo(100, 50, 120, 20);
  const QSize label(40, 14);
  EXPECT_EQ(LabelPlace(lpLeftTop, combo, label, 38, 4), QPoint(58, 50));
  EXPECT_EQ(LabelPlace(lpLeftCenter, combo, label, 38, 4), QPoint(58, 53));
  EXPECT_EQ(LabelPlace(lpLeftBottom, combo, label, 38, 4), QPoint(58, 56));
  EXPECT_EQ(LabelPlace(lpTopLeft, combo, label, 38, 4), QPoint(100, 32));
  EXPECT_EQ(LabelPlace(lpBottomLeft, combo, label, 38, 4), QPoint(100, 74));
  EXPECT_EQ(LabelPlace(lpLeftCenterLeft, combo, label, 38, 4), QPoint(96, 53));
  EXPECT_EQ(LabelPlace(lpTopCenter, combo, label, 38, 4), QPoint(140, 32));
  EXPECT_EQ(LabelPlace(lpBottomCenter, combo, QSize(200, 14), 38, 4), QPoint(60, 74));

  QWidget form;
  form.resize(300, 200);
  form.show();
  QPointer<QLabel> label_of_combo;
  {
    TColourSharingCombo combo_box(&form);
    combo_box.show();
    EXPECT_EQ(combo_box.LabelCaption(), u"");
    combo_box.SetBounds(100, 50, 120, 24);
    combo_box.SetLabelCaption(u"Hit colour");
    label_of_combo = combo_box.Label();
    ASSERT_TRUE(label_of_combo);
    EXPECT_EQ(label_of_combo->parentWidget(), &form);
    EXPECT_EQ(combo_box.LabelCaption(), u"Hit colour");
    combo_box.SetLabelPosition(lpTopLeft);
    EXPECT_EQ(label_of_combo->pos(), QPoint(100, 50 - label_of_combo->height() - 4));
    combo_box.move(10, 100);
    EXPECT_EQ(label_of_combo->x(), 10);
    combo_box.setEnabled(false);
    EXPECT_FALSE(label_of_combo->isEnabled());
    combo_box.SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(label_of_combo->isEnabled());
  }
  EXPECT_TRUE(label_of_combo.isNull());  // the combo took its label along

  // A form that goes first takes both, in whatever order.
  auto owner = std::make_unique<QWidget>();
  auto* combo_box = new TColourSharingCombo(owner.get());
  combo_box->SetLabelCaption(u"x");
  owner.reset();
}

// Bounds given to an aligned combo make room for its label inside them.
TEST(ColourSharingCombo, AlignedBoundsMakeRoomForTheLabel) {
  QWidget form;
  form.resize(400, 300);
  form.show();
  const TLabelPosition positions[] = {lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpTopCenter,
                                      lpBottomLeft, lpLeftCenterLeft};
  const TAlign aligns[] = {alNone, alTop, alBottom, alLeft, alRight, alClient};
  for (const TLabelPosition position : positions)
    for (const TAlign align : aligns) {
      TColourSharingCombo combo(&form);
      combo.SetLabelCaption(u"Hit colour");
      combo.SetLabelPosition(position);
      combo.SetAlign(align);
      combo.SetBounds(20, 30, 200, 24);
      const QLabel& label = *combo.Label();
      const bool label_left = position == lpLeftTop || position == lpLeftCenter || position == lpLeftBottom;
      const bool label_above = position == lpTopLeft || position == lpTopCenter;
      QRect expected(20, 30, 200, 24);
      if (label_left && (align == alTop || align == alBottom || align == alClient))
        expected.setLeft(20 + label.width() + 4);
      if (label_above && align != alNone && align != alBottom) expected.translate(0, label.height() + 4);
      EXPECT_EQ(combo.geometry(), expected) << "position " << int(position) << ", align " << int(align);
      EXPECT_EQ(combo.RequestedBounds(), QRect(20, 30, 200, 24));
      // The label was placed against the combo's new bounds.
      const std::int32_t caption = QFontMetrics(label.font()).horizontalAdvance(label.text());
      EXPECT_EQ(label.pos(), LabelPlace(position, combo.geometry(), label.size(), caption, 4));
      if (expected != QRect(20, 30, 200, 24)) {  // where room was made, the label stays inside the bounds
        EXPECT_GE(label.x(), 20);
        EXPECT_GE(label.y(), 30);
      }
    }
}

TEST(ColourSharingCombo, AlignedComboFollowsItsParentAndLoadsOnce) {
  QWidget form;
  form.resize(400, 300);
  form.show();
  auto* combo = new TColourSharingCombo(&form);
  combo->SetBounds(0, 0, 150, 24);
  combo->SetLabelCaption(u"Colour");
  combo->SetAlign(alTop);
  const int room = combo->Label()->width() + 4;
  EXPECT_EQ(combo->geometry(), QRect(room, 0, 400 - room, 24));
  form.resize(500, 300);
  EXPECT_EQ(combo->geometry(), QRect(room, 0, 500 - room, 24));
  // Loading re-applies the bounds asked for: room is made once, not again.
  combo->Loaded();
  combo->Loaded();
  EXPECT_EQ(combo->geometry(), QRect(room, 0, 500 - room, 24));
  // A longer caption takes more room.
  combo->SetLabelCaption(u"A much longer caption");
  const int wider = combo->Label()->width() + 4;
  EXPECT_GT(wider, room);
  EXPECT_EQ(combo->x(), wider);

  combo->SetAlign(alBottom);
  EXPECT_EQ(combo->geometry(), QRect(wider, 300 - 24, 500 - wider, 24));
  combo->SetLabelPosition(lpTopLeft);  // bottom-aligned: a label above takes no room
  EXPECT_EQ(combo->geometry(), QRect(0, 300 - 24, 500, 24));
  combo->SetAlign(alClient);
  EXPECT_EQ(combo->geometry(), QRect(0, combo->Label()->height() + 4, 500, 300));
  combo->SetAlign(alNone);  // stays where it is; the parent no longer moves it
  form.resize(300, 200);
  EXPECT_EQ(combo->width(), 500);

  // Loaded disables the label with the combo and gives it the combo's font.
  combo->setEnabled(false);
  combo->Label()->setEnabled(true);
  combo->Label()->setFont(QFont(QStringLiteral("Serif"), 31));
  combo->Loaded();
  EXPECT_FALSE(combo->Label()->isEnabled());
  EXPECT_EQ(combo->Label()->font(), combo->font());
}

}  // namespace
}  // namespace quill
