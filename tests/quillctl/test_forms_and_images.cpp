// Stylable forms (style changes, resolution) and the image lists.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QMenuBar>
#include <QProgressBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <set>

#include "quillctl/colour_choosers.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/stylable_form.h"
#include "quillctl/styled_listboxes.h"

namespace quill {
namespace {

// Restores the process-wide style and image settings a test changes.
class GlobalsGuard {
 public:
  ~GlobalsGuard() {
    GlobalTMSStyle = style_;
    GlobalImageHeight = height_;
    GlobalImageDimension = dimension_;
    GlobalMonitorFontScale = scale_;
  }

 private:
  TTMSStyle style_ = GlobalTMSStyle;
  std::int32_t height_ = GlobalImageHeight;
  TImageDimensions dimension_ = GlobalImageDimension;
  double scale_ = GlobalMonitorFontScale;
};

TEST(ImageLists, HeightsMapToTheNearestDimension) {
  const std::pair<int, int> cases[] = {{0, 0},   {17, 0},  {18, 1},  {20, 1},  {21, 1},  {22, 2},
                                       {26, 2},  {27, 3},  {29, 3},  {35, 3},  {36, 4},  {43, 4},
                                       {44, 5},  {55, 5},  {56, 6},  {79, 6},  {80, 7},  {111, 7},
                                       {112, 1}, {120, 1}, {5000, 1}, {-1, 1}};
  for (const auto& [pixels, dimension] : cases) EXPECT_EQ(IntegerToNearestImageDimension(pixels), dimension) << pixels;
  EXPECT_EQ(IntegerToNearestImageHeight(29), 32);
  EXPECT_EQ(IntegerToNearestImageHeight(19), 20);
}

TEST(ImageLists, EveryDimensionHoldsEveryIconDrawnAtItsSize) {
  GlobalsGuard guard;
  for (TImageDimensions d = 0; d < kImageDimensionCount; ++d) {
    const TImageList& list = ImageListOfDimension(d);
    ASSERT_EQ(list.Count(), qi_icon_count);
    EXPECT_EQ(list.Size(), ImageDimensionPixels(d));
    std::set<QByteArray> distinct;
    for (std::int32_t i = 0; i < list.Count(); ++i) {
      const QImage image = list.Image(i);
      ASSERT_EQ(image.size(), QSize(list.Size(), list.Size()));
      int opaque = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 128;
      EXPECT_GT(opaque, list.Size() * list.Size() / 10) << "icon " << i << " at " << list.Size();
      distinct.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(qi_icon_count)) << "no two icons alike";
  }
  EXPECT_TRUE(ImageListOfDimension(0).Image(qi_icon_count).isNull());

  GlobalImageHeight = 32;
  EXPECT_EQ(ImageListMain().Size(), 32);
  EXPECT_EQ(GlobalImageDimension, 3);
  EXPECT_EQ(ImageListMain_Times(2).Size(), 64);
  QImage bitmap;
  EXPECT_TRUE(GetABitmap(qi_save, bitmap));
  EXPECT_EQ(bitmap.width(), 32);
  EXPECT_FALSE(GetABitmap(-1, bitmap));
}

TEST(ImageLists, MenusListEveryItemOnceAndTakeTheirImages) {
  QMenu menu;
  QAction* open = menu.addAction(QStringLiteral("Open"));
  menu.addSeparator();
  QMenu* sub = menu.addMenu(QStringLiteral("Sort"));
  QAction* up = sub->addAction(QStringLiteral("Up"));
  sub->addSeparator();
  sub->addAction(open);  // the same action in two places
  SetIconNumber(*open, qi_open);
  SetIconNumber(*up, qi_sort_ascending);
  const std::vector<QAction*> items = GetImagesListOfMenuItems(menu);
  ASSERT_EQ(items.size(), 3u);  // Open, the submenu's own item, Up
  EXPECT_EQ(items[0], open);
  EXPECT_EQ(items[1], sub->menuAction());
  EXPECT_EQ(items[2], up);
  EXPECT_FALSE(open->icon().isNull());
  EXPECT_FALSE(up->icon().isNull());
  EXPECT_TRUE(sub->menuAction()->icon().isNull());
}

TEST(IconFiles, DirectoryEntriesGiveTheSizesHeld) {
  // An icon directory: 6-byte header, then 16-byte entries, little-endian.
  const auto entry = [](std::uint8_t width, std::uint16_t bits, std::uint32_t size) {
    QByteArray e(16, '\0');
    e[0] = static_cast<char>(width);  // width byte
    e[1] = static_cast<char>(width);  // height byte
    e[2] = 0;                         // colour count
    e[3] = 0;                         // reserved
    e[4] = 1;                         // planes, 16-bit
    e[6] = static_cast<char>(bits & 0xFF);  // bits per pixel, 16-bit
    e[7] = static_cast<char>(bits >> 8);
    for (int b = 0; b < 4; ++b) e[8 + b] = static_cast<char>((size >> (8 * b)) & 0xFF);  // data size, 32-bit
    e[12] = 0x46;                                                                          // offset, 32-bit
    return e;
  };
  const auto header = [](std::uint16_t type, std::uint16_t count) {
    QByteArray h(6, '\0');
    h[2] = static_cast<char>(type);
    h[4] = static_cast<char>(count & 0xFF);
    h[5] = static_cast<char>(count >> 8);
    return h;
  };
  QTemporaryDir dir;
  const auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    const QString path = file.fileName();
    return UnicodeString(reinterpret_cast<const char16_t*>(path.utf16()), path.size());
  };
  const QByteArray entries = entry(16, 32, 1128) + entry(32, 32, 4264) + entry(48, 8, 3752) + entry(16, 32, 99) +
                             entry(0, 32, 40000) + entry(0, 8, 0);
  const UnicodeString icon = write(QStringLiteral("a.ico"), header(1, 6) + entries);
  EXPECT_EQ(IconsizesInAnIconfile(icon, 32, {16, 32, 48, 256}), (std::vector<std::int32_t>{16, 32, 256}));
  EXPECT_EQ(IconsizesInAnIconfile(icon, 8, {48, 256}), (std::vector<std::int32_t>{48}));  // no data: no 256
  EXPECT_TRUE(IconsizesInAnIconfile(icon, 24, {16, 32}).empty());
  // A cursor file (type 2) is not an icon file; a cut directory keeps its whole entries.
  EXPECT_TRUE(IconsizesInAnIconfile(write(QStringLiteral("c.cur"), header(2, 6) + entries), 32, {16}).empty());
  const UnicodeString cut = write(QStringLiteral("cut.ico"), header(1, 6) + entries.left(16 + 10));
  EXPECT_EQ(IconsizesInAnIconfile(cut, 32, {16, 32}), (std::vector<std::int32_t>{16}));
  EXPECT_TRUE(IconsizesInAnIconfile(u"/no/such/file.ico", 32, {16}).empty());
}

TEST(CallingProgramMessages, CodeExtraAndValueAreDecoded) {
  EXPECT_EQ(MessageFromCallingProgram(0x0002'02BF, -55), (TCallingProgramMessage{703, 2, 55}));
  EXPECT_EQ(MessageExtraFromCallingProgram(0x0002'02BF, -55), (TCallingProgramMessage{703, 2, -55}));
}

TEST(Properties, SetByNameOnlyWhenDeclared) {
  QLabel label;
  EXPECT_TRUE(TrySetPropValue(label, "text", QStringLiteral("hello")));
  EXPECT_EQ(label.text(), QStringLiteral("hello"));
  EXPECT_FALSE(TrySetPropValue(label, "noSuchProperty", 3));
  EXPECT_FALSE(label.property("noSuchProperty").isValid());  // no dynamic property left behind
  EXPECT_TRUE(ObjHasPropertyAndNotValue(label, "frameShape", QFrame::Box));
  EXPECT_FALSE(ObjHasPropertyAndNotValue(label, "frameShape", QFrame::NoFrame));
  EXPECT_FALSE(ObjHasPropertyAndNotValue(label, "noSuchProperty", 0));
}

TEST(Properties, ObjectPropertiesTakeOnlyObjectsOfTheirClass) {
  QTextEdit edit;
  QTextDocument document;
  QObject not_a_document;
  EXPECT_TRUE(TrySetPropValue(edit, "document", &document));
  EXPECT_EQ(edit.document(), &document);
  EXPECT_FALSE(TrySetPropValue(edit, "document", &not_a_document));
  EXPECT_EQ(edit.document(), &document);
  EXPECT_FALSE(TrySetPropValue(edit, "readOnly", &document));  // not an object property
  EXPECT_FALSE(TrySetPropValue(edit, "noSuchProperty", &document));
  // A literal 0 is a number, not an object.
  EXPECT_TRUE(TrySetPropValue(edit, "tabStopDistance", 0));
  EXPECT_EQ(edit.tabStopDistance(), 0.0);
}

// A form with controls nested in a group, an action and a label.
class ComponentWalks : public ::testing::Test {
 protected:
  void SetUp() override {
    label = new QLabel(QStringLiteral("label"), &form);
    button = new QPushButton(&form);
    SetIconNumber(*button, qi_open);
    auto* group = new QGroupBox(&form);
    check = new QCheckBox(group);
    nested_list = new TStyledListbox(group);
    action = new QAction(&form);
    SetIconNumber(*action, qi_save);
  }

  QWidget form;
  QLabel* label = nullptr;
  QPushButton* button = nullptr;
  QCheckBox* check = nullptr;
  TStyledListbox* nested_list = nullptr;
  QAction* action = nullptr;
};

bool Holds(const TMyComponentList& list, const QObject* component) {
  return std::any_of(list.begin(), list.end(), [&](const TMyComponentRec& rec) { return rec.obj == component; });
}

TEST_F(ComponentWalks, PropertiesFindComponentsAtAnyDepthEachOnce) {
  TMyComponentList list;
  // A dynamic property that is set: the numbered button and action, not a control only.
  EXPECT_EQ(FindComponentsWPropertyOfTypes(form, list, "quillIcon"), 2);
  EXPECT_TRUE(Holds(list, button));
  EXPECT_TRUE(Holds(list, action));
  // A declared property differing from a value: only the check box is checkable
  // (the group box and button are not).
  EXPECT_EQ(FindComponentsWPropertyOfTypes(form, list, "checkable", false), 1);
  EXPECT_TRUE(Holds(list, check));
  EXPECT_EQ(list.back().classe, &QCheckBox::staticMetaObject);
  EXPECT_EQ(FindComponentsWPropertyOfTypes(form, list, "checkable", false), 0);  // already held
  EXPECT_EQ(list.size(), 3u);
}

TEST_F(ComponentWalks, ClassesSelectTheControlsToDoThingsTo) {
  TMyComponentList list;
  EXPECT_EQ(LoadAllRelevantComponentsOfForm(form, {ClassOf<TOwnerDrawnList>(), ClassOf<QAbstractButton>()}, list), 3);
  EXPECT_TRUE(Holds(list, nested_list));
  EXPECT_TRUE(Holds(list, button));
  EXPECT_TRUE(Holds(list, check));

  SetAllOfXTypesComponentsToDoThis(form, {ClassOf<QLabel>(), ClassOf<QCheckBox>()},
                                   [](QWidget& control) { control.setEnabled(false); });
  EXPECT_FALSE(label->isEnabled());
  EXPECT_FALSE(check->isEnabled());
  EXPECT_TRUE(button->isEnabled());

  std::vector<QWidget*> buttons;
  SetAllOfThisComponentsToDoThis(form, ClassOf<QAbstractButton>(),
                                 [&](QWidget& control) { buttons.push_back(&control); });
  EXPECT_EQ(buttons, (std::vector<QWidget*>{button, check}));

  // A component destroyed after it was listed is passed over.
  delete check;
  std::int32_t visited = 0;
  SetAllOfTheseComponentsToDoThis(list, [&](QWidget&) { ++visited; });
  EXPECT_EQ(visited, 2);
}

// A tool's form with the controls that follow the resolution.
class StylableForm : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TTMSStylableForm>();
    form->resize(400, 300);
    plain = new TStyledListbox(form.get());  // children of the form, as on a tool's window
    columns = new TStyledColumnListbox(form.get());
    colours = new TColourSharingListbox(form.get());
    combo = new TColourSharingCombo(form.get());
    grid = new QTableView(form.get());
    button = new QPushButton(form.get());
    SetImagesAndNumberForButton(*button, qi_search);
    new QLabel(QStringLiteral("not resized"), form.get());
    progress = new QProgressBar(form.get());
    plain_combo = new QComboBox(form.get());
    check = new QCheckBox(QStringLiteral("Case sensitive"), form.get());
    tabs = new QTabWidget(form.get());
    auto* page = new QWidget;
    tabs->addTab(page, QStringLiteral("Hits"));
    SetImagesAndNumberForAdvOfficePager(*tabs, *page, qi_concordance);
    menu_bar = new QMenuBar(form.get());
    menu = menu_bar->addMenu(QStringLiteral("File"));
    open_action = menu->addAction(QStringLiteral("Open"));
    SetIconNumber(*open_action, qi_open);
    form->AddAFormStyler();
  }

  int SmallIconSize(const QWidget& widget) const {
    return widget.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &widget);
  }
  int IndicatorSize(const QWidget& widget) const {
    return widget.style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, &widget);
  }

  GlobalsGuard guard;
  std::unique_ptr<TTMSStylableForm> form;
  TStyledListbox* plain = nullptr;
  TStyledColumnListbox* columns = nullptr;
  TColourSharingListbox* colours = nullptr;
  TColourSharingCombo* combo = nullptr;
  QTableView* grid = nullptr;
  QPushButton* button = nullptr;
  QProgressBar* progress = nullptr;
  QComboBox* plain_combo = nullptr;
  QCheckBox* check = nullptr;
  QTabWidget* tabs = nullptr;
  QMenuBar* menu_bar = nullptr;
  QMenu* menu = nullptr;
  QAction* open_action = nullptr;
};

TEST_F(StylableForm, CollectsTheControlsThatFollowTheResolution) {
  // Six list boxes, combos, grid and button; progress bar, plain combo, check
  // box, tab widget, menu bar and its menu. Not the label, nor the parts
  // (tab bar, extension button) the tab widget and menu bar make for themselves.
  EXPECT_EQ(form->ComponentsToResize().size(), 12u);
  ASSERT_NE(form->GetFormStyler(), nullptr);
}

TEST_F(StylableForm, NinetySixPixelsPerInchChangesNoSizes) {
  const std::int32_t before = plain->ItemHeight();
  const std::int32_t grid_rows = grid->verticalHeader()->defaultSectionSize();
  form->AdaptToPixelsPerInch(96);
  EXPECT_FALSE(form->NeedsSizeAdjust());
  EXPECT_EQ(GlobalImageHeight, 20);
  EXPECT_DOUBLE_EQ(GlobalMonitorFontScale, 1.0);
  EXPECT_EQ(plain->ItemHeight(), before);
  EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), grid_rows);
}

TEST_F(StylableForm, HighResolutionResizesListsCombosGridsAndImages) {
  form->AdaptToPixelsPerInch(144);
  EXPECT_TRUE(form->NeedsSizeAdjust());
  EXPECT_EQ(GlobalImageHeight, 32);  // the nearest to 144 / 5 = 29
  EXPECT_EQ(GlobalImageDimension, 3);
  EXPECT_DOUBLE_EQ(GlobalMonitorFontScale, 1.5);
  EXPECT_EQ(plain->ItemHeight(), 26);  // round(0.8 x 32)
  EXPECT_EQ(combo->ItemHeight(), 26);
  EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 26);
  EXPECT_EQ(colours->ItemHeight(), 24);  // 16 at scale 1.5
  EXPECT_EQ(columns->ItemHeight(), QFontMetrics(form->font()).boundingRect(QStringLiteral("gh")).height() * 5 / 4);
  EXPECT_EQ(button->iconSize(), QSize(32, 32));
}

TEST_F(StylableForm, ShownAtNinetySixNothingChangesSize) {
  const std::int32_t list_items = plain->ItemHeight();
  const int menu_icons = SmallIconSize(*menu);
  const int indicator = IndicatorSize(*check);
  form->SetPixelsPerInch(96);
  form->show();
  EXPECT_FALSE(form->NeedsSizeAdjust());
  EXPECT_EQ(plain->ItemHeight(), list_items);
  EXPECT_EQ(progress->minimumHeight(), 0);
  EXPECT_EQ(plain_combo->minimumHeight(), 0);
  EXPECT_EQ(SmallIconSize(*menu), menu_icons);
  EXPECT_EQ(IndicatorSize(*check), indicator);
}

TEST_F(StylableForm, ShownAtOneHundredFortyFourEveryKindOfControlIsCorrected) {
  const int progress_height = progress->sizeHint().height();
  const int combo_height = plain_combo->sizeHint().height();
  form->SetPixelsPerInch(144);
  form->show();
  EXPECT_EQ(GlobalImageHeight, 32);  // the nearest image height to 144 / 5 = 29
  EXPECT_EQ(GlobalImageDimension, 3);
  EXPECT_EQ(plain->ItemHeight(), 26);  // round(0.8 x 32)
  EXPECT_EQ(combo->ItemHeight(), 26);
  EXPECT_EQ(progress->minimumHeight(), std::lround(progress_height * 1.5));
  EXPECT_EQ(plain_combo->minimumHeight(), std::lround(combo_height * 1.5));
  EXPECT_EQ(plain_combo->iconSize(), QSize(32, 32));
  EXPECT_EQ(tabs->iconSize(), QSize(32, 32));
  EXPECT_EQ(tabs->tabIcon(0).availableSizes(), QList<QSize>{QSize(32, 32)});
  EXPECT_EQ(SmallIconSize(*menu), 32);
  EXPECT_EQ(SmallIconSize(*menu_bar), 32);
  EXPECT_EQ(open_action->icon().availableSizes(), QList<QSize>{QSize(32, 32)});
  EXPECT_EQ(IndicatorSize(*check), 21);  // round(0.65 x 32)
  EXPECT_GE(check->sizeHint().height(), 21);

  // Corrections start from the first sizes each time: they never compound,
  // and going back to 96 gives the first sizes back.
  form->SetPixelsPerInch(144);
  EXPECT_EQ(progress->minimumHeight(), std::lround(progress_height * 1.5));
  form->SetPixelsPerInch(96);
  EXPECT_EQ(progress->minimumHeight(), progress_height);
  EXPECT_EQ(plain->ItemHeight(), 16);  // round(0.8 x 20)
  EXPECT_EQ(IndicatorSize(*check), 13);
}

TEST_F(StylableForm, OnlyTheStyleChangeMessageRestylesTheForm) {
  form->show();
  GlobalTMSStyle = 2;
  TTMSStylableForm::BroadcastToForms({702, 0, 0});
  EXPECT_NE(FromQColor(form->palette().color(QPalette::Window)), 0xCFF0EA);
  TTMSStylableForm::BroadcastToForms({kStyleChangeCode, 0, 0});
  EXPECT_EQ(FromQColor(form->palette().color(QPalette::Window)), 0xCFF0EA);
  EXPECT_EQ(form->GetFormStyler()->Style(), 2);
  // The grabbed window shows it.
  const QImage shot = form->grab().toImage();
  EXPECT_EQ(FromQColor(shot.pixelColor(shot.width() - 2, shot.height() - 2)), 0xCFF0EA);
}

}  // namespace
}  // namespace quill
