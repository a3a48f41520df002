#pragma once
// Colour choosers that share one table of named colours: a list box with a
// swatch, an optional default-colour dot and a caption per colour, and a combo
// with a swatch per colour and an optional label beside it. Both read the
// process-wide table (MyColourArray) unless switched to a private copy, so
// sorting through any sharing chooser reorders them all.
#include <QComboBox>
#include <QFont>
#include <cstdint>
#include <memory>

#include "quillctl/quillctl_export.h"
#include "quillctl/styled_listboxes.h"
#include "quillrt/rendering/colour_table.h"

class QLabel;

namespace quill {

enum TShowHexOrDescription : std::uint8_t { ts_index, ts_hex, ts_description };

class TShowHexOrDescriptionSet {
 public:
  constexpr TShowHexOrDescriptionSet() = default;
  constexpr TShowHexOrDescriptionSet(std::initializer_list<TShowHexOrDescription> parts) {
    for (const TShowHexOrDescription part : parts) bits_ = static_cast<std::uint8_t>(bits_ | (1u << part));
  }
  constexpr bool Contains(TShowHexOrDescription part) const { return (bits_ & (1u << part)) != 0; }
  friend constexpr bool operator==(TShowHexOrDescriptionSet, TShowHexOrDescriptionSet) = default;

 private:
  std::uint8_t bits_ = 0;
};

// The highlight shade of a colour: `percent` of the way to white.
QUILLCTL_API TColor HighlightShade(TColor colour, std::int32_t percent);
// The frame round a combo's swatch: black round a light colour (a channel above
// 192), white round a dark one when selected, else the colour itself.
QUILLCTL_API TColor SwatchFrameColour(TColor colour, bool selected);

// A list box of the colours of a table.
class QUILLCTL_API TColourSharingListbox : public TOwnerDrawnList {
 public:
  explicit TColourSharingListbox(QWidget* parent = nullptr);
  ~TColourSharingListbox() override;

  const TColorArray& Table() const;
  std::int32_t ItemCount() const override;
  TColor ControlColour() const override { return fBackgroundColour; }

  // The colour of an entry; 0 outside the table.
  TColor GetAColour(std::int32_t index) const;
  // The selected colour; kNoColour when nothing is selected.
  TColor GetASelected() const;
  // Selects the first entry of that colour, or nothing when none has it.
  void SetASelected(TColor colour);
  // The selected entry's name; empty when nothing is selected.
  UnicodeString SelectedColourName() const;

  bool UsesSharedArray() const { return fUsesSharedArray; }
  // Going private copies the shared table; going back to it leaves the copy.
  void SetUseSharedArray(bool flag);
  // Sorts the table in use: the shared one reorders every sharing chooser.
  void SortTheColours(TColorArraySortType method);

  void SetComponentStyle(TTMSStyle style);
  TShowHexOrDescriptionSet ShowText() const { return fShowText; }
  void SetShowText(TShowHexOrDescriptionSet show);
  TColor DefaultColour() const { return fDefaultColour; }
  void SetDefaultColour(TColor colour);
  // Whether the shared table no longer starts with the first web colour.
  bool Sorted() const;
  // Item height 16 at the given scale, recomputed when the scale or the
  // screen's resolution changed since the last call.
  void CorrectForScreenResolucao(double aFontScale);

  // The caption of entry `index`: number ("%.3d", from 1), value ("%.8x") and
  // name, as ShowText asks, joined by blanks.
  UnicodeString ItemCaption(std::int32_t index) const;

 protected:
  void DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state) override;

 private:
  TColor fDefaultColour = kNoColour;
  TColor fTextColour = 0x000000;
  TColor fBackgroundColour = 0xFFFFFF;
  TColor fSelectedText = 0xFFFFFF;
  TColor fSelectedBackgound = 0x000000;
  TColorArray fOwnArray;
  bool fUsesSharedArray = true;
  TShowHexOrDescriptionSet fShowText{ts_description};
  std::int32_t current_PPI = 0;
  double currentFontScale = 0;
};

enum TLabelPosition : std::uint8_t {
  lpLeftTop,
  lpLeftCenter,
  lpLeftBottom,
  lpTopLeft,
  lpBottomLeft,
  lpLeftTopLeft,
  lpLeftCenterLeft,
  lpLeftBottomLeft,
  lpTopCenter,
  lpBottomCenter,
};

// How a control fills its parent, as a form designer aligns it: not at all
// (it stays where it is put), as a strip along the top, bottom, left or right
// edge of the parent's client area (keeping its own height or width), or over
// the whole client area. Qt widgets have no such property; controls that
// offer it here follow their parent's resizes themselves.
enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Where a label of size `label` goes beside a combo at `combo`, with the
// caption `caption_width` wide and `margin` pixels between them.
QUILLCTL_API QPoint LabelPlace(TLabelPosition position, const QRect& combo, const QSize& label,
                               std::int32_t caption_width, std::int32_t margin);

// A combo of the colours of a table, each with a framed swatch and its name.
class QUILLCTL_API TColourSharingCombo : public QComboBox {
 public:
  explicit TColourSharingCombo(QWidget* parent = nullptr);
  ~TColourSharingCombo() override;

  const TColorArray& Table() const;
  TColor GetAColour(std::int32_t index) const;
  TColor GetASelected() const;
  void SetASelected(TColor colour);
  UnicodeString SelectedColourName() const;
  bool UsesSharedArray() const { return fUsesSharedArray; }
  void SetUseSharedArray(bool flag);
  void SortTheColours(TColorArraySortType method);
  // One blank item per table entry, so that items match entries by index.
  void GetColours();
  // The height of the items in the open list; 0 leaves it to the style.
  std::int32_t ItemHeight() const { return item_height_; }
  void SetItemHeight(std::int32_t height);

  // The label: reading gives its text (empty without one); writing makes it
  // when there is none, beside the combo in its parent.
  UnicodeString LabelCaption() const;
  void SetLabelCaption(const UnicodeString& caption);
  QLabel* Label() const { return FLabel.get(); }
  const QFont& LabelFont() const { return FLabelFont; }
  void SetLabelFont(const QFont& font);
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition position);
  std::int32_t LabelMargin() const { return FLabelMargin; }
  void SetLabelMargin(std::int32_t margin);
  bool LabelTransparent() const { return FLabelTransparent; }
  void SetLabelTransparent(bool transparent);
  bool LabelAlwaysEnabled() const { return FlabelAlwaysEnabled; }
  void SetLabelAlwaysEnabled(bool always);
  // Places the combo at the bounds given. Aligned, it makes room for its label
  // inside them: a label on the left (lpLeftTop, lpLeftCenter, lpLeftBottom) of
  // a combo aligned to the top, the bottom or the client area moves its left
  // edge right by the label's width + the margin and narrows it as much; a
  // label above it (lpTopLeft, lpTopCenter) of a combo aligned to the top, the
  // left, the right or the client area moves it down by the label's height +
  // the margin. Then the label is placed again.
  void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  // The bounds last given to SetBounds, before any room was made for the label.
  QRect RequestedBounds() const { return requested_bounds_; }
  TAlign Align() const { return align_; }
  // Aligned, the combo takes its part of the parent's client area now and
  // whenever the parent is resized.
  void SetAlign(TAlign align);
  // Once a form has built the combo: its bounds again, the label disabled
  // with the combo unless always enabled, and the combo's font on the label
  // while the combo follows its parent's font.
  void Loaded();

  // Paints one entry (swatch, frame and name) into `rect`.
  void DrawColourItem(QPainter& painter, std::int32_t index, const QRect& rect, bool selected) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceLabel();
  void LabelChanged();
  void ApplyAlign();
  // Room the label takes from bounds given with the current alignment.
  QRect MakeRoomForLabel(QRect bounds) const;

  std::unique_ptr<QLabel> FLabel;
  QFont FLabelFont;
  TLabelPosition FLabelPosition = lpLeftCenter;
  std::int32_t FLabelMargin = 4;
  bool FlabelAlwaysEnabled = false;
  bool FLabelTransparent = false;
  TColorArray fOwnArray;
  bool fUsesSharedArray = true;
  std::int32_t item_height_ = 0;
  TAlign align_ = alNone;
  QRect requested_bounds_;
};

}  // namespace quill
