#include "quillctl/image_lists.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

#include "quillctl/image_list_files.h"
#include "quillctl/qt_canvas.h"
#include "quillrt/framework/exceptions.h"

namespace quill {

std::int32_t GlobalImageHeight = 20;
TImageDimensions GlobalImageDimension = 1;
double GlobalMonitorFontScale = 1.0;

namespace {

constexpr std::array<std::int32_t, kImageDimensionCount> kDimensionPixels{16, 20, 24, 32, 40, 48, 64, 96, 128};
constexpr TImageDimensions kStandardDimension = 1;
const char* const kIconProperty = "quillIcon";

// ---- The icons, drawn on a 16-unit grid scaled to the image size ------------

void DrawPage(QPainter& p) {
  p.setPen(QPen(QColor(90, 90, 90), 0.8));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(2.5, 1.5, 11, 13));
}

void DrawTextLines(QPainter& p, std::initializer_list<double> ys, double from, double to) {
  p.setPen(QPen(QColor(120, 120, 120), 1.0));
  for (const double y : ys) p.drawLine(QPointF(from, y), QPointF(to, y));
}

void DrawConcordance(QPainter& p) {
  DrawPage(p);
  DrawTextLines(p, {4.5, 7.5, 10.5, 13.0}, 4, 12);
  p.fillRect(QRectF(6.5, 3.5, 3, 10), QColor(200, 30, 30));  // the hits, aligned in the centre
}

void DrawWordList(QPainter& p) {
  DrawPage(p);
  DrawTextLines(p, {4.5, 7.5, 10.5, 13.0}, 4, 8.5);
  p.setBrush(QColor(40, 100, 200));
  p.setPen(Qt::NoPen);
  const std::array<double, 4> lengths{3.5, 2.8, 2.0, 1.2};
  for (std::size_t i = 0; i < lengths.size(); ++i) p.drawRect(QRectF(9.5, 3.8 + 3.0 * i, lengths[i], 1.6));
}

void DrawKey(QPainter& p) {
  p.setPen(QPen(QColor(170, 120, 20), 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(5, 8), 3, 3);
  p.drawLine(QPointF(8, 8), QPointF(14.5, 8));
  p.drawLine(QPointF(12.5, 8), QPointF(12.5, 11));
  p.drawLine(QPointF(14.5, 8), QPointF(14.5, 10.5));
}

void DrawFolderShape(QPainter& p, bool open) {
  p.setPen(QPen(QColor(150, 110, 20), 0.8));
  p.setBrush(QColor(240, 200, 80));
  QPainterPath back;
  back.moveTo(1.5, 3.5);
  back.lineTo(6, 3.5);
  back.lineTo(7.5, 5);
  back.lineTo(14.5, 5);
  back.lineTo(14.5, 13.5);
  back.lineTo(1.5, 13.5);
  back.closeSubpath();
  p.drawPath(back);
  if (!open) return;
  p.setBrush(QColor(250, 225, 130));
  p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
}

void DrawSave(QPainter& p) {
  p.setPen(QPen(QColor(30, 50, 110), 0.8));
  p.setBrush(QColor(60, 90, 170));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.2, 1.2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 1.5, 8, 5));
  p.setBrush(QColor(210, 210, 210));
  p.drawRect(QRectF(4.5, 9, 7, 5.5));
}

void DrawSearch(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 1.6));
  p.setBrush(QColor(200, 230, 250));
  p.drawEllipse(QPointF(6.5, 6.5), 4.3, 4.3);
  p.setPen(QPen(QColor(60, 60, 60), 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.8, 9.8), QPointF(14, 14));
}

void DrawSettings(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(110, 110, 120));
  p.translate(8, 8);
  for (int tooth = 0; tooth < 8; ++tooth) {
    p.drawRect(QRectF(-1.2, -7, 2.4, 3));
    p.rotate(45);
  }
  p.drawEllipse(QPointF(0, 0), 5, 5);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(0, 0), 2, 2);
}

void DrawArrow(QPainter& p, bool up) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 130, 60));
  const QPolygonF arrow({QPointF(8, 1.5), QPointF(14, 8), QPointF(10.5, 8), QPointF(10.5, 14.5), QPointF(5.5, 14.5),
                         QPointF(5.5, 8), QPointF(2, 8)});
  if (!up) {
    p.translate(0, 16);
    p.scale(1, -1);
  }
  p.drawPolygon(arrow);
}

void DrawColours(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 0.6));
  p.setBrush(QColor(220, 40, 40));
  p.drawRect(QRectF(1.5, 1.5, 6, 6));
  p.setBrush(QColor(40, 170, 60));
  p.drawRect(QRectF(8.5, 1.5, 6, 6));
  p.setBrush(QColor(40, 80, 220));
  p.drawRect(QRectF(1.5, 8.5, 6, 6));
  p.setBrush(QColor(250, 210, 40));
  p.drawRect(QRectF(8.5, 8.5, 6, 6));
}

void DrawInformation(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 100, 200));
  p.drawEllipse(QPointF(8, 8), 7, 7);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(8, 4.5), 1.3, 1.3);
  p.drawRect(QRectF(6.9, 6.8, 2.2, 6));
}

void DrawStop(QPainter& p) {
  p.setPen(QPen(QColor(120, 0, 0), 0.6));
  p.setBrush(QColor(210, 30, 30));
  QPolygonF octagon;
  for (int corner = 0; corner < 8; ++corner) {
    const double angle = (22.5 + 45.0 * corner) * M_PI / 180.0;
    octagon << QPointF(8 + 7 * std::cos(angle), 8 + 7 * std::sin(angle));
  }
  p.drawPolygon(octagon);
  p.setPen(QPen(Qt::white, 1.6));
  p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
}

TImageDimensions ValidDimension(TImageDimensions dimension) {
  return dimension >= 0 && dimension < kImageDimensionCount ? dimension : kStandardDimension;
}

std::array<std::unique_ptr<TImageList>, kImageDimensionCount>& Lists() {
  static std::array<std::unique_ptr<TImageList>, kImageDimensionCount> lists;
  return lists;
}

std::unique_ptr<TImageList> DrawList(TImageDimensions dimension) {
  auto list = std::make_unique<TImageList>(kDimensionPixels[dimension],
                                           FromQString(QStringLiteral("ImageList%1").arg(kDimensionPixels[dimension])));
  for (std::int32_t icon = 0; icon < qi_icon_count; ++icon) list->Add(DrawQuillIcon(icon, list->Size()));
  return list;
}

std::uint16_t Word(const QByteArray& bytes, qsizetype at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                    (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}

std::uint32_t DoubleWord(const QByteArray& bytes, qsizetype at) {
  return static_cast<std::uint32_t>(Word(bytes, at)) | (static_cast<std::uint32_t>(Word(bytes, at + 2)) << 16);
}

}  // namespace

std::int32_t ImageDimensionPixels(TImageDimensions dimension) { return kDimensionPixels[ValidDimension(dimension)]; }

TImageDimensions IntegerToNearestImageDimension(std::int32_t pixels) {
  // Heights beyond the table (and negative ones) get the standard size, as
  // stored settings and the tools' layouts expect; the largest size is asked
  // for by its dimension, never by a height.
  if (pixels < 0) return kStandardDimension;
  constexpr std::array<std::int32_t, kImageDimensionCount - 1> kUpperBounds{17, 21, 26, 35, 43, 55, 79, 111};
  for (std::size_t d = 0; d < kUpperBounds.size(); ++d)
    if (pixels <= kUpperBounds[d]) return static_cast<TImageDimensions>(d);
  return kStandardDimension;
}

std::int32_t IntegerToNearestImageHeight(std::int32_t pixels) {
  return kDimensionPixels[IntegerToNearestImageDimension(pixels)];
}

QImage DrawQuillIcon(std::int32_t icon, std::int32_t size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  switch (icon) {
    case qi_concordance: DrawConcordance(p); break;
    case qi_word_list: DrawWordList(p); break;
    case qi_keywords: DrawKey(p); break;
    case qi_open: DrawFolderShape(p, true); break;
    case qi_save: DrawSave(p); break;
    case qi_search: DrawSearch(p); break;
    case qi_settings: DrawSettings(p); break;
    case qi_sort_ascending: DrawArrow(p, true); break;
    case qi_sort_descending: DrawArrow(p, false); break;
    case qi_colours: DrawColours(p); break;
    case qi_information: DrawInformation(p); break;
    case qi_stop: DrawStop(p); break;
    case qi_folder: DrawFolderShape(p, false); break;
    default: break;
  }
  return image;
}

TImageList::TImageList(std::int32_t size, UnicodeString name) : size_(size), name_(std::move(name)) {}

void TImageList::Add(QImage image) {
  images_.push_back(image.size() == QSize(size_, size_) ? std::move(image) : image.scaled(size_, size_));
}

QImage TImageList::Image(std::int32_t index) const {
  return index >= 0 && index < Count() ? images_[index] : QImage();
}

QIcon TImageList::Icon(std::int32_t index) const {
  const QImage image = Image(index);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

const TImageList& ImageListOfDimension(TImageDimensions dimension) {
  std::unique_ptr<TImageList>& list = Lists()[ValidDimension(dimension)];
  if (!list) list = DrawList(ValidDimension(dimension));
  return *list;
}

const TImageList& ImageListMain() {
  GlobalImageDimension = IntegerToNearestImageDimension(GlobalImageHeight);
  return ImageListOfDimension(GlobalImageDimension);
}

const TImageList& ImageListMain_Times(double factor) {
  return ImageListOfDimension(
      IntegerToNearestImageDimension(static_cast<std::int32_t>(std::lround(GlobalImageHeight * factor))));
}

std::vector<TImageDimensions> LoadupAllTheImageLists(const QString& folder) {
  std::vector<TImageDimensions> from_files;
  const QDir dir(folder);
  for (TImageDimensions d = 0; d < kImageDimensionCount; ++d) {
    std::unique_ptr<TImageList>& list = Lists()[d];
    const QString path = dir.filePath(QStringLiteral("ImageListMain%1.res").arg(kDimensionPixels[d]));
    if (!QFileInfo::exists(path)) {
      list = DrawList(d);
      continue;
    }
    try {
      std::unique_ptr<TImageList> read = ReadImageListFile(path);
      // A list of another size does not fit this dimension.
      if (read->Size() != kDimensionPixels[d]) throw EReadError(std::string_view("Image list file: wrong size"));
      list = std::move(read);
      from_files.push_back(d);
    } catch (const Exception&) {
      // A damaged or unreadable file changes nothing: the list in use stays.
      if (!list) list = DrawList(d);
    }
  }
  return from_files;
}

std::vector<TImageDimensions> LoadupAllTheImageLists() {
  return LoadupAllTheImageLists(QCoreApplication::applicationDirPath());
}

std::int32_t ImageIndexOfIcon(std::int32_t icon) { return icon >= 0 && icon < qi_icon_count ? icon : -1; }

bool GetABitmap(std::int32_t index, QImage& bitmap) {
  const QImage image = ImageListMain().Image(index);
  if (image.isNull()) return false;
  bitmap = image;
  return true;
}

std::vector<QAction*> AllMenuItemsAsList(const QMenu& menu) {
  std::vector<QAction*> items;
  std::set<const QAction*> seen;
  std::set<const QMenu*> walked;
  const auto walk = [&](const QMenu& m, const auto& self) -> void {
    if (!walked.insert(&m).second) return;  // a menu reachable twice is listed once
    for (QAction* action : m.actions()) {
      if (action->isSeparator() || !seen.insert(action).second) continue;
      items.push_back(action);
      if (const QMenu* sub = action->menu()) self(*sub, self);
    }
  };
  walk(menu, walk);
  return items;
}

std::int32_t IconNumberOf(const QObject& object) {
  const QVariant number = object.property(kIconProperty);
  return number.isValid() ? number.toInt() : -1;
}

void SetIconNumber(QObject& object, std::int32_t icon) { object.setProperty(kIconProperty, icon); }

void SetImagesForListOfMenuItems(const QMenu& menu) { (void)GetImagesListOfMenuItems(menu); }

std::vector<QAction*> GetImagesListOfMenuItems(const QMenu& menu) {
  const TImageList& list = ImageListMain();
  std::vector<QAction*> items = AllMenuItemsAsList(menu);
  for (QAction* action : items)
    if (const std::int32_t icon = IconNumberOf(*action); icon >= 0) action->setIcon(list.Icon(ImageIndexOfIcon(icon)));
  return items;
}

void SetImagesAndNumberForToolbarButton(QToolBar& bar, QAction& action, std::int32_t icon) {
  const TImageList& list = ImageListMain();
  bar.setIconSize(QSize(list.Size(), list.Size()));
  SetIconNumber(action, icon);
  action.setIcon(list.Icon(ImageIndexOfIcon(icon)));
}

void SetImagesAndNumberForStatusBarPanel(QStatusBar& bar, QLabel& panel, std::int32_t icon) {
  (void)bar;  // the panel is the bar's; only the panel shows the image
  SetIconNumber(panel, icon);
  panel.setPixmap(QPixmap::fromImage(ImageListMain().Image(ImageIndexOfIcon(icon))));
}

void SetImagesAndNumberForAdvOfficePager(QTabWidget& pager, QWidget& page, std::int32_t icon) {
  const TImageList& list = ImageListMain();
  const int tab = pager.indexOf(&page);
  if (tab < 0) return;
  SetIconNumber(page, icon);
  pager.setIconSize(QSize(list.Size(), list.Size()));
  pager.setTabIcon(tab, list.Icon(ImageIndexOfIcon(icon)));
}

void SetImagesAndNumberForButton(QAbstractButton& button, std::int32_t icon) {
  const TImageList& list = ImageListMain();
  SetIconNumber(button, icon);
  button.setIconSize(QSize(list.Size(), list.Size()));
  button.setIcon(list.Icon(ImageIndexOfIcon(icon)));
}

std::vector<std::int32_t> IconsizesInAnIconfile(const UnicodeString& name, std::int32_t colour_bits,
                                                const std::vector<std::int32_t>& sizes_wanted) {
  constexpr qsizetype kHeaderSize = 6;
  constexpr qsizetype kEntrySize = 16;
  std::vector<std::int32_t> sizes;
  QFile file(QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size())));
  if (!file.open(QIODevice::ReadOnly)) return sizes;
  const QByteArray header = file.read(kHeaderSize);
  if (header.size() < kHeaderSize || Word(header, 2) != 1) return sizes;
  const std::uint16_t count = Word(header, 4);
  const QByteArray directory = file.read(kEntrySize * count);
  // A directory cut short keeps the entries that arrived whole.
  for (qsizetype at = 0; at + kEntrySize <= directory.size(); at += kEntrySize) {
    const std::int32_t width = static_cast<std::uint8_t>(directory[at]);
    const std::int32_t bits = Word(directory, at + 6);
    const std::uint32_t data_size = DoubleWord(directory, at + 8);
    if (bits != colour_bits) continue;
    const auto matches = [&](std::int32_t wanted) {
      return wanted == 256 ? width == 0 && data_size != 0 : wanted == width;
    };
    const auto found = std::find_if(sizes_wanted.begin(), sizes_wanted.end(), matches);
    if (found != sizes_wanted.end() && std::find(sizes.begin(), sizes.end(), *found) == sizes.end())
      sizes.push_back(*found);
  }
  return sizes;
}

}  // namespace quill
