#pragma once
// Owner-drawn list boxes in the colours of the visual style:
//
// - TOwnerDrawnList: the scrolling, selection and keyboard of a list whose
//   lines all have one height and are painted by the derived class; only the
//   visible lines are ever touched, so a million lines scroll as lightly as ten.
// - TStyledListbox: a list of strings in the style's colours; a number is
//   right-aligned, other text starts at the left, a long path loses its middle.
// - TStyledListboxOwnerDrawnFixed: the same with an item height taken from the
//   font and a draw handler the tool may set.
// - TStyledColumnListbox: tab-separated lines in columns under a header bar
//   (THeaderControl) whose sections size, move and sort.
#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "quillctl/quillctl_export.h"
#include "quillrt/collections/basic_types.h"  // TStringAndIntegerRec: a caption and its width in percent
#include "quillrt/framework/string_list.h"
#include "quillrt/language/canvas_colour_rec.h"
#include "quillrt/rendering/canvas.h"
#include "quillrt/rendering/style_colours.h"

class QStandardItemModel;

namespace quill {

class TQtCanvas;

struct TOwnerDrawState {
  bool selected = false;
  bool focused = false;
};

// Scrolling, selection and painting of a list with lines of one height. The
// vertical scroll bar counts pixels, so the list scrolls smoothly.
class QUILLCTL_API TOwnerDrawnList : public QAbstractScrollArea {
 public:
  explicit TOwnerDrawnList(QWidget* parent = nullptr);
  ~TOwnerDrawnList() override;

  virtual std::int32_t ItemCount() const = 0;

  std::int32_t ItemHeight() const { return item_height_; }
  void SetItemHeight(std::int32_t height);
  // The selected line (which is also the focused one), -1 for none.
  std::int32_t ItemIndex() const { return item_index_; }
  // Selects a line and scrolls it into view; an index outside the list selects nothing.
  void SetItemIndex(std::int32_t index);
  // The first line at least partly visible.
  std::int32_t TopIndex() const;
  void ScrollIntoView(std::int32_t index);
  // The line under a point of the viewport, -1 below the last.
  std::int32_t ItemAtPoint(const QPoint& viewport_point) const;
  // A line's rectangle in viewport coordinates (it may lie outside the viewport).
  TRect ItemRect(std::int32_t index) const;
  // The colour below the last line.
  virtual TColor ControlColour() const = 0;

  // Call after the number of lines changed: resets the scroll range and repaints.
  void ItemCountChanged();

  std::function<void(TOwnerDrawnList& sender)> OnSelectionChange;

 protected:
  // Paints line `index` (always within the list) into `rect`.
  virtual void DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state) = 0;
  // Sets the canvas's font from the widget's.
  void TakeWidgetFont(TQtCanvas& canvas) const;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void UpdateScrollRange();
  std::int32_t LinesPerPage() const;

  std::int32_t item_height_ = 16;
  std::int32_t item_index_ = -1;
};

// A list of strings painted in the style's colours.
class QUILLCTL_API TStyledListbox : public TOwnerDrawnList {
 public:
  explicit TStyledListbox(QWidget* parent = nullptr);
  ~TStyledListbox() override;

  // The lines; any change repaints (wrap many in BeginUpdate/EndUpdate).
  TStringList& Items() { return items_; }
  const TStringList& Items() const { return items_; }
  std::int32_t ItemCount() const override { return items_.Count(); }

  // Text, background, selection and selection-text colours from the style's table.
  void SetComponentStyle(TTMSStyle style);

  TColor _SelectedColour() const { return fSelectionColour; }
  TColor _SelectedTextColour() const { return fSelectionTextColour; }
  TColor _BackgroundColour() const { return fNormalBack; }
  TColor _TextColour() const { return fTextColour; }
  void Set_SelectedColour(TColor c);
  void Set_SelectedTextColour(TColor c);
  void Set_BackgroundColour(TColor c);
  void Set_TextColour(TColor c);
  TColor ControlColour() const override { return fNormalBack; }

  // Fills the line's rectangle in its colours and sets the canvas's text colour.
  void PaintItemBackground(TQtCanvas& canvas, const TRect& rect, TOwnerDrawState state) const;
  // A single-column line: the text shortened as a path to the width, then
  // drawn by DrawLeftOrRightIfNumbered.
  void StandardDrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state);
  // A number ends one "M" width before `right`; other text starts at rect.left.
  static void DrawLeftOrRightIfNumbered(TQtCanvas& canvas, const UnicodeString& text, const TRect& rect,
                                        std::int32_t right);

 protected:
  void DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state) override;

 private:
  TStringList items_;
  TColor fSelectionColour = 0;
  TColor fSelectionTextColour = 0;
  TColor fNormalBack = 0;
  TColor fTextColour = 0;
};

// The tool's own painting of a line.
using TDrawItemEvent =
    std::function<void(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state)>;

// A styled list whose item height follows its font: 1.2 times the height of "Yg".
class QUILLCTL_API TStyledListboxOwnerDrawnFixed : public TStyledListbox {
 public:
  explicit TStyledListboxOwnerDrawnFixed(QWidget* parent = nullptr);
  // Sets the item height from the widget's current font.
  void MyMeasureItem();

  // When set, paints every line instead of the standard painting.
  TDrawItemEvent OnDrawItem;

 protected:
  void DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state) override;
  void changeEvent(QEvent* event) override;
};

// A header bar whose sections are the columns of a TStyledColumnListbox. It
// belongs to the form; the list box only sets its events. Sections can be
// resized, moved (the column goes with its section) and clicked.
class QUILLCTL_API THeaderControl : public QHeaderView {
 public:
  explicit THeaderControl(QWidget* parent = nullptr);
  ~THeaderControl() override;

  std::int32_t SectionCount() const;
  // Replaces the sections by one per caption (all 0 wide, in logical order).
  void SetSections(std::span<const UnicodeString> captions);
  UnicodeString SectionCaption(std::int32_t section) const;
  void SetSectionCaption(std::int32_t section, const UnicodeString& caption);
  // Sizes a section without telling OnSectionResize (which hears the user only).
  void SetSectionWidth(std::int32_t section, std::int32_t width);
  // The sections by their place on screen, left to right.
  std::vector<std::int32_t> SectionsInVisualOrder() const;

  std::function<void(QPainter& painter, const QRect& rect, std::int32_t section)> OnDrawSection;
  std::function<void(THeaderControl& sender)> OnResize;
  std::function<void(THeaderControl& sender, std::int32_t section)> OnSectionResize;
  std::function<void(THeaderControl& sender, std::int32_t section)> OnSectionClick;
  std::function<void(THeaderControl& sender, std::int32_t section)> OnSectionMove;

  // One line of the header's font with a small margin.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logical_index) const override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::unique_ptr<QStandardItemModel> model_;
  bool sizing_ = false;  // true while we size sections ourselves
};

// Lets the tool change a line's text just before it is drawn.
using TOnConvertItemText = std::function<UnicodeString(TOwnerDrawnList& sender, std::int32_t index,
                                                       const UnicodeString& current)>;
// Asked to sort the lines on a column; answers whether it did.
using TSortStringsOnColumn =
    std::function<bool(TOwnerDrawnList& sender, std::int32_t column, bool ascending)>;
// Alternative contents, shared with the caller, who keeps them alive.
using TArrayOfStringLists = std::vector<TStringList*>;

// Tab-separated lines in columns: the k-th piece of a line is drawn in the
// column of header section k, a number right-aligned, other text cut to the
// column with an ellipsis.
class QUILLCTL_API TStyledColumnListbox : public TStyledListboxOwnerDrawnFixed {
 public:
  explicit TStyledColumnListbox(QWidget* parent = nullptr);
  ~TStyledColumnListbox() override;

  THeaderControl* HeaderControl() const { return FHeaderControl.data(); }
  // Takes over the header's events (drawing, resizing, section resizing and clicks).
  void SetHeaderControl(THeaderControl* header);

  std::int32_t Columns() const { return fColumns; }
  // With a header, rebuilds its sections: captions "0", "1", ..., no sort directions.
  void SetColumns(std::int32_t columns);

  // Captions and width percentages of the first columns; more entries than
  // columns add columns. With autosize the widths are chosen automatically.
  void DefineHeaders(std::span<const TStringAndIntegerRec> hinf, bool autosize);

  // Keeps the array and shows a copy of entry `current` in `columns_wanted` columns.
  void SetStringData(const TArrayOfStringLists& sdata, std::int32_t columns_wanted, std::int32_t current);
  void SetCurrentStringSet(std::int32_t index);
  std::int32_t CurrentStringSet() const { return fCurrentStringSet; }

  // One column: all; two: 2/3 and 1/3; more: the first a third, the others
  // share the rest and the last reaches the outer edge.
  void SizeTheColumnsAuto();
  void SizeLastColumnToEdge();
  // The column's left and width; without a header or such a section, the
  // control's left and client width.
  std::pair<std::int32_t, std::int32_t> GetColumnSize(std::int32_t index) const;
  // The item height for the font (5/4 of the height of "gh"), then
  // automatic column sizes. The scale is not needed: fonts carry it.
  void CorrectForScreenResolucao(double aFontScale);

  bool AutosizingColumns() const { return Autosizing_Columns; }
  std::int32_t CurrentSortColumn() const { return fCurrentSortColumn; }
  // The direction flag of a column (false for an index outside the columns).
  bool ColumnSortFlag(std::int32_t column) const;

  TOnConvertItemText OnConvertItemText;
  TSortStringsOnColumn OnSortTheColumn;

 protected:
  void DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state) override;

 private:
  void CreateHeadersForColumns();
  void TakeOverHeaderEvents();
  void ReleaseHeaderEvents();
  void HeaderResized();
  void SectionResized(std::int32_t section);
  void SectionClicked(std::int32_t section);
  void DrawSection(QPainter& painter, const QRect& rect, std::int32_t section) const;
  void ShowStringSet(std::int32_t index);
  void DrawColumns(TQtCanvas& canvas, const UnicodeString& line, const TRect& rect);

  QPointer<THeaderControl> FHeaderControl;
  TArrayOfStringLists fCurrentStrings;
  std::vector<UnicodeString> fHeaderHeadings;
  std::vector<bool> fColumnSort;
  bool Autosizing_Columns = true;
  std::int32_t fColumns = 0;
  std::int32_t fCurrentSortColumn = -1;
  std::int32_t fCurrentStringSet = -1;
};

}  // namespace quill
