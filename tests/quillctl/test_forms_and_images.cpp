// Stylable forms (style changes, resolution) and the image lists.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
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
    form->AddAFormStyler();
  }

  GlobalsGuard guard;
  std::unique_ptr<TTMSStylableForm> form;
  TStyledListbox* plain = nullptr;
  TStyledColumnListbox* columns = nullptr;
  TColourSharingListbox* colours = nullptr;
  TColourSharingCombo* combo = nullptr;
  QTableView* grid = nullptr;
  QPushButton* button = nullptr;
};

TEST_F(StylableForm, CollectsTheControlsThatFollowTheResolution) {
  EXPECT_EQ(form->ComponentsToResize().size(), 6u);
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
