#pragma once
// The tools' icons, one image list per image size, and the helpers that hand
// the list of the current size to menus, tool bars, buttons, status-bar panels
// and tab pages. The icons are our own, drawn in code at every size, so they
// stay sharp without any image files.
//
// The current image height follows the screen's resolution (the stylable form
// sets it): about a fifth of the pixels per inch, rounded to the nearest size.
#include <QIcon>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "quillctl/quillctl_export.h"
#include "quillrt/framework/strings.h"

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QWidget;

namespace quill {

// Image sizes by number: 0 is the smallest, 8 the largest.
using TImageDimensions = std::int32_t;
inline constexpr std::int32_t kImageDimensionCount = 9;
QUILLCTL_API std::int32_t ImageDimensionPixels(TImageDimensions dimension);

// The image height (pixels) and its dimension that lists and buttons use now,
// and the font scale of the screen the forms are on.
extern QUILLCTL_API std::int32_t GlobalImageHeight;
extern QUILLCTL_API TImageDimensions GlobalImageDimension;
extern QUILLCTL_API double GlobalMonitorFontScale;

// The dimension for a height: 0-17 -> 0, 18-21 -> 1, 22-26 -> 2, 27-35 -> 3,
// 36-43 -> 4, 44-55 -> 5, 56-79 -> 6, 80-111 -> 7; 112 and above, and a
// negative height, fall back to 1, the standard size (dimension 8, the
// largest, is only ever chosen by number).
QUILLCTL_API TImageDimensions IntegerToNearestImageDimension(std::int32_t pixels);
// That dimension's height in pixels.
QUILLCTL_API std::int32_t IntegerToNearestImageHeight(std::int32_t pixels);

// The icons of the tools, by number.
enum TQuillIcon : std::int32_t {
  qi_concordance,
  qi_word_list,
  qi_keywords,
  qi_open,
  qi_save,
  qi_search,
  qi_settings,
  qi_sort_ascending,
  qi_sort_descending,
  qi_colours,
  qi_information,
  qi_stop,
  qi_folder,
  qi_icon_count,
};

// Draws an icon on a transparent square of `size` pixels (a blank square for
// a number that is not an icon).
QUILLCTL_API QImage DrawQuillIcon(std::int32_t icon, std::int32_t size);

// The images of one size.
class QUILLCTL_API TImageList {
 public:
  explicit TImageList(std::int32_t size, UnicodeString name = {});
  std::int32_t Size() const { return size_; }
  const UnicodeString& Name() const { return name_; }
  std::int32_t Count() const { return static_cast<std::int32_t>(images_.size()); }
  void Add(QImage image);
  // A null image / icon for an index outside the list.
  QImage Image(std::int32_t index) const;
  QIcon Icon(std::int32_t index) const;

 private:
  std::int32_t size_;
  UnicodeString name_;
  std::vector<QImage> images_;
};

// The list of a dimension (every icon, drawn at its size); dimensions outside
// 0 to 8 answer the standard size's list.
QUILLCTL_API const TImageList& ImageListOfDimension(TImageDimensions dimension);
// The list for GlobalImageHeight (which sets GlobalImageDimension).
QUILLCTL_API const TImageList& ImageListMain();
// The list for GlobalImageHeight times factor, rounded.
QUILLCTL_API const TImageList& ImageListMain_Times(double factor);
// (Re)makes the list of every dimension: from the image-list file
// "ImageListMain<pixels>.res" (see image_list_files.h) in `folder` where there
// is one of the dimension's size that reads whole, otherwise drawn. A file
// that is refused (damaged, cut short, of another size) leaves that
// dimension's list as it was. Answers the dimensions read from files.
// References to lists given out before stay valid only until this call.
QUILLCTL_API std::vector<TImageDimensions> LoadupAllTheImageLists(const QString& folder);
// The same in the program's folder.
QUILLCTL_API std::vector<TImageDimensions> LoadupAllTheImageLists();
// The index of an icon in the lists; -1 for a number that is not an icon.
QUILLCTL_API std::int32_t ImageIndexOfIcon(std::int32_t icon);
// Copies image `index` of the current list into bitmap; false (bitmap
// untouched) outside the list.
QUILLCTL_API bool GetABitmap(std::int32_t index, QImage& bitmap);

// Every item of a menu at any depth, each once, without separators.
QUILLCTL_API std::vector<QAction*> AllMenuItemsAsList(const QMenu& menu);
// The icon number an action, button or page shows (kept as the dynamic
// property "quillIcon"); -1 when none was given.
QUILLCTL_API std::int32_t IconNumberOf(const QObject& object);
QUILLCTL_API void SetIconNumber(QObject& object, std::int32_t icon);
// Gives every numbered item of the menu its image at the current size.
QUILLCTL_API void SetImagesForListOfMenuItems(const QMenu& menu);
// The same, answering the items.
QUILLCTL_API std::vector<QAction*> GetImagesListOfMenuItems(const QMenu& menu);
QUILLCTL_API void SetImagesAndNumberForToolbarButton(QToolBar& bar, QAction& action, std::int32_t icon);
QUILLCTL_API void SetImagesAndNumberForStatusBarPanel(QStatusBar& bar, QLabel& panel, std::int32_t icon);
QUILLCTL_API void SetImagesAndNumberForAdvOfficePager(QTabWidget& pager, QWidget& page, std::int32_t icon);
QUILLCTL_API void SetImagesAndNumberForButton(QAbstractButton& button, std::int32_t icon);

// The sizes among `sizes_wanted` that an icon file holds at `colour_bits` bits
// per pixel, each once, in the order the file lists them. A wanted 256 matches
// an entry whose width byte is 0 (as 256 is stored) and whose data is not
// empty. An unreadable file or one that is not an icon file answers nothing.
QUILLCTL_API std::vector<std::int32_t> IconsizesInAnIconfile(const UnicodeString& name, std::int32_t colour_bits,
                                                             const std::vector<std::int32_t>& sizes_wanted);

}  // namespace quill
