#include "quillctl/colour_choosers.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QAbstractItemView>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "quillctl/qt_canvas.h"
#include "quillctl/style_pack.h"
#include "quillrt/framework/format.h"

namespace quill {

namespace {

// The choosers that read the shared table, repainted when it is reordered.
std::vector<QWidget*>& SharingChoosers() {
  static std::vector<QWidget*> choosers;
  return choosers;
}

void Register(QWidget* surface) { SharingChoosers().push_back(surface); }
void Unregister(QWidget* surface) { std::erase(SharingChoosers(), surface); }

void SortSharedTable(TColorArraySortType method) {
  SortColorArray(MyColourArray, method);
  for (QWidget* surface : SharingChoosers()) surface->update();
}

std::int32_t IndexOfColour(const TColorArray& table, TColor colour) {
  const auto found = std::find_if(table.begin(), table.end(),
                                  [colour](const TNamedColour& entry) { return entry.colour == colour; });
  return found == table.end() ? -1 : static_cast<std::int32_t>(found - table.begin());
}

TColor ColourAt(const TColorArray& table, std::int32_t index) {
  return index >= 0 && index < static_cast<std::int32_t>(table.size()) ? table[index].colour : 0;
}

UnicodeString NameAt(const TColorArray& table, std::int32_t index) {
  return index >= 0 && index < static_cast<std::int32_t>(table.size()) ? table[index].name : UnicodeString{};
}

// Paints the combo's popup items with their swatches.
class TColourItemDelegate : public QStyledItemDelegate {
 public:
  explicit TColourItemDelegate(TColourSharingCombo& combo) : QStyledItemDelegate(&combo), combo_(combo) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    combo_.DrawColourItem(*painter, index.row(), option.rect, selected);
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (combo_.ItemHeight() > 0) size.setHeight(combo_.ItemHeight());
    return size;
  }

 private:
  TColourSharingCombo& combo_;
};

}  // namespace

TColor HighlightShade(TColor colour, std::int32_t percent) {
  const auto lift = [percent](std::uint32_t channel) { return channel + (255 - channel) * percent / 100; };
  const auto c = static_cast<std::uint32_t>(colour);
  return static_cast<TColor>(lift(c & 0xFF) | (lift((c >> 8) & 0xFF) << 8) | (lift((c >> 16) & 0xFF) << 16));
}

TColor SwatchFrameColour(TColor colour, bool selected) {
  const auto c = static_cast<std::uint32_t>(colour);
  const bool light = (c & 0xFF) > 192 || ((c >> 8) & 0xFF) > 192 || ((c >> 16) & 0xFF) > 192;
  if (light) return 0x000000;
  return selected ? 0xFFFFFF : colour;
}

// ---- TColourSharingListbox --------------------------------------------------

TColourSharingListbox::TColourSharingListbox(QWidget* parent) : TOwnerDrawnList(parent) {
  resize(80, 70);
  Register(viewport());
  ItemCountChanged();
}

TColourSharingListbox::~TColourSharingListbox() { Unregister(viewport()); }

const TColorArray& TColourSharingListbox::Table() const { return fUsesSharedArray ? MyColourArray : fOwnArray; }

std::int32_t TColourSharingListbox::ItemCount() const { return static_cast<std::int32_t>(Table().size()); }

TColor TColourSharingListbox::GetAColour(std::int32_t index) const { return ColourAt(Table(), index); }

TColor TColourSharingListbox::GetASelected() const {
  return ItemIndex() < 0 ? kNoColour : GetAColour(ItemIndex());
}

void TColourSharingListbox::SetASelected(TColor colour) { SetItemIndex(IndexOfColour(Table(), colour)); }

UnicodeString TColourSharingListbox::SelectedColourName() const { return NameAt(Table(), ItemIndex()); }

void TColourSharingListbox::SetUseSharedArray(bool flag) {
  if (flag == fUsesSharedArray) return;
  fUsesSharedArray = flag;
  if (flag) {
    Register(viewport());
  } else {
    fOwnArray = MyColourArray;
    Unregister(viewport());
  }
  ItemCountChanged();
}

void TColourSharingListbox::SortTheColours(TColorArraySortType method) {
  if (fUsesSharedArray) SortSharedTable(method);
  else SortColorArray(fOwnArray, method);
  viewport()->update();
}

void TColourSharingListbox::SetComponentStyle(TTMSStyle style) {
  fTextColour = GetTMSTextColour(style);
  fBackgroundColour = GetTMSBackgroundColour(style);
  fSelectedText = GetTMSHighlightedTextColour(style);
  fSelectedBackgound = GetTMSHighlightBackgroundColour(style);
  viewport()->update();
}

void TColourSharingListbox::SetShowText(TShowHexOrDescriptionSet show) {
  if (show == fShowText) return;
  fShowText = show;
  viewport()->update();
}

void TColourSharingListbox::SetDefaultColour(TColor colour) {
  fDefaultColour = colour;
  viewport()->update();
}

bool TColourSharingListbox::Sorted() const {
  return !MyColourArray.empty() && MyColourArray.front().colour != WebNamedColors().front().colour;
}

void TColourSharingListbox::CorrectForScreenResolucao(double aFontScale) {
  const std::int32_t ppi = WidgetPixelsPerInch(*this);
  if (aFontScale == currentFontScale && ppi == current_PPI) return;
  currentFontScale = aFontScale;
  current_PPI = ppi;
  SetItemHeight(static_cast<std::int32_t>(std::lround(16 * aFontScale)));
}

UnicodeString TColourSharingListbox::ItemCaption(std::int32_t index) const {
  std::vector<UnicodeString> parts;
  if (fShowText.Contains(ts_index)) parts.push_back(Format(u"%.3d", {index + 1}));
  if (fShowText.Contains(ts_hex)) {
    UnicodeString hex = Format(u"%.8x", {static_cast<unsigned>(GetAColour(index))});
    std::transform(hex.begin(), hex.end(), hex.begin(),
                   [](char16_t c) { return c >= u'A' && c <= u'F' ? static_cast<char16_t>(c - u'A' + u'a') : c; });
    parts.push_back(std::move(hex));
  }
  if (fShowText.Contains(ts_description)) parts.push_back(NameAt(Table(), index));
  UnicodeString caption;
  for (const UnicodeString& part : parts) caption += (caption.empty() ? u"" : u" ") + part;
  return caption;
}

void TColourSharingListbox::DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect,
                                     TOwnerDrawState state) {
  if (index < 0 || index >= ItemCount()) return;
  const std::int32_t m = canvas.TextExtent(u"M").cx;
  const TRect marker{rect.left, rect.top + rect.Height() / 2 - m / 2, rect.left + m, rect.top + m};
  const bool highlighted = state.selected || state.focused;
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(highlighted ? fSelectedBackgound : fBackgroundColour);
  canvas.SetFontColour(highlighted ? fSelectedText : fTextColour);
  canvas.FillRect(rect);

  TRect r = rect;
  r.left += m;
  const TColor colour = GetAColour(index);
  if (colour == fDefaultColour) {
    QPainter& painter = canvas.Painter();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(HighlightShade(fSelectedBackgound, 19)));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawEllipse(QRect(marker.left, marker.top, marker.Width(), std::max(marker.Height(), 1)));
  }
  r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  const std::int32_t swatch_width = std::min(canvas.TextExtent(u"99999999").cx, viewport()->width() / 4);
  const TRect swatch{r.left, r.top, r.left + swatch_width, r.bottom};
  canvas.SetBrushColour(colour);
  canvas.FillRect(swatch);
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.TextOut(swatch.right + m, r.top + 1, &rect, ItemCaption(index), false);
}

// ---- TColourSharingCombo ----------------------------------------------------

QPoint LabelPlace(TLabelPosition position, const QRect& combo, const QSize& label, std::int32_t caption_width,
                  std::int32_t margin) {
  const int l = combo.left(), t = combo.top(), wc = combo.width(), hc = combo.height();
  const int hl = label.height(), wl = label.width(), m = margin;
  const int centred = wc > wl ? l + (wc - wl) / 2 : l - (wl - wc) / 2;
  switch (position) {
    case lpLeftTop: return {l - caption_width - m, t};
    case lpLeftCenter: return {l - caption_width - m, t + (hc - hl) / 2};
    case lpLeftBottom: return {l - caption_width - m, t + hc - hl};
    case lpTopLeft: return {l, t - hl - m};
    case lpBottomLeft: return {l, t + hc + m};
    case lpLeftTopLeft: return {l - m, t};
    case lpLeftCenterLeft: return {l - m, t + (hc - hl) / 2};
    case lpLeftBottomLeft: return {l - m, t + hc - hl};
    case lpTopCenter: return {centred, t - hl - m};
    case lpBottomCenter: return {centred, t + hc + m};
  }
  return {l, t};
}

TColourSharingCombo::TColourSharingCombo(QWidget* parent) : QComboBox(parent), FLabelFont(font()) {
  setItemDelegate(new TColourItemDelegate(*this));  // the combo owns it as its Qt parent
  Register(this);
  GetColours();
}

TColourSharingCombo::~TColourSharingCombo() {
  Unregister(this);
  FLabel.reset();
}

const TColorArray& TColourSharingCombo::Table() const { return fUsesSharedArray ? MyColourArray : fOwnArray; }

void TColourSharingCombo::GetColours() {
  const std::int32_t kept = currentIndex();
  clear();
  for (std::size_t i = 0; i < Table().size(); ++i) addItem(QStringLiteral(" "));
  setCurrentIndex(kept < count() ? kept : -1);
}

void TColourSharingCombo::SetItemHeight(std::int32_t height) {
  item_height_ = std::max(height, 0);
  view()->doItemsLayout();
}

TColor TColourSharingCombo::GetAColour(std::int32_t index) const { return ColourAt(Table(), index); }

TColor TColourSharingCombo::GetASelected() const {
  return currentIndex() < 0 ? kNoColour : GetAColour(currentIndex());
}

void TColourSharingCombo::SetASelected(TColor colour) { setCurrentIndex(IndexOfColour(Table(), colour)); }

UnicodeString TColourSharingCombo::SelectedColourName() const { return NameAt(Table(), currentIndex()); }

void TColourSharingCombo::SetUseSharedArray(bool flag) {
  if (flag == fUsesSharedArray) return;
  fUsesSharedArray = flag;
  if (flag) {
    Register(this);
  } else {
    fOwnArray = MyColourArray;
    Unregister(this);
  }
  GetColours();
  update();
}

void TColourSharingCombo::SortTheColours(TColorArraySortType method) {
  if (fUsesSharedArray) SortSharedTable(method);
  else SortColorArray(fOwnArray, method);
  update();
}

void TColourSharingCombo::DrawColourItem(QPainter& painter, std::int32_t index, const QRect& rect,
                                         bool selected) const {
  if (index < 0 || index >= static_cast<std::int32_t>(Table().size())) return;
  const TColor colour = GetAColour(index);
  const QRect square(rect.left(), rect.top(), rect.height(), rect.height());
  const QRect swatch = square.adjusted(1, 1, -1, -1);
  painter.fillRect(swatch, ToQColor(colour));
  painter.setBrush(Qt::NoBrush);
  const QPen text_pen = painter.pen();
  painter.setPen(ToQColor(SwatchFrameColour(colour, selected)));
  painter.drawRect(swatch.adjusted(0, 0, -1, -1));
  painter.setPen(text_pen);
  const QRect text_rect(square.right() + 1 + 5, rect.top(), rect.right() - square.right() - 5, rect.height());
  painter.drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter, ToQString(Table()[index].name));
}

void TColourSharingCombo::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  painter.setPen(palette().color(QPalette::Text));
  DrawColourItem(painter, currentIndex(), field, false);
}

UnicodeString TColourSharingCombo::LabelCaption() const { return FLabel ? FromQString(FLabel->text()) : u""; }

void TColourSharingCombo::SetLabelCaption(const UnicodeString& caption) {
  if (!FLabel) {
    FLabel = std::make_unique<QLabel>(parentWidget());
    FLabel->setBuddy(this);
    // A parent that goes first takes the label with it.
    connect(FLabel.get(), &QObject::destroyed, this, [this] { (void)FLabel.release(); });
  }
  FLabel->setText(ToQString(caption));
  FLabel->show();
  LabelChanged();
}

void TColourSharingCombo::SetLabelFont(const QFont& font) {
  FLabelFont = font;
  LabelChanged();
}

void TColourSharingCombo::SetLabelPosition(TLabelPosition position) {
  FLabelPosition = position;
  LabelChanged();
}

void TColourSharingCombo::SetLabelMargin(std::int32_t margin) {
  FLabelMargin = margin;
  LabelChanged();
}

void TColourSharingCombo::SetLabelTransparent(bool transparent) {
  FLabelTransparent = transparent;
  PlaceLabel();
}

void TColourSharingCombo::SetLabelAlwaysEnabled(bool always) {
  FlabelAlwaysEnabled = always;
  if (FLabel) FLabel->setEnabled(always || isEnabled());
}

void TColourSharingCombo::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  requested_bounds_ = QRect(left, top, width, height);
  PlaceLabel();  // sizes the label for its caption and font before room is made
  setGeometry(MakeRoomForLabel(requested_bounds_));
  PlaceLabel();
}

QRect TColourSharingCombo::MakeRoomForLabel(QRect bounds) const {
  if (!FLabel) return bounds;
  const auto aligned_to = [this](std::initializer_list<TAlign> aligns) {
    return std::find(aligns.begin(), aligns.end(), align_) != aligns.end();
  };
  switch (FLabelPosition) {
    case lpLeftTop:
    case lpLeftCenter:
    case lpLeftBottom:
      if (aligned_to({alTop, alBottom, alClient})) {
        const int room = FLabel->width() + FLabelMargin;
        bounds.setLeft(bounds.left() + std::min(room, bounds.width()));
      }
      break;
    case lpTopLeft:
    case lpTopCenter:
      // Down by the margin as well as the label's height, so that the label
      // above stays inside the area the combo was given.
      if (aligned_to({alTop, alLeft, alRight, alClient})) bounds.translate(0, FLabel->height() + FLabelMargin);
      break;
    default: break;
  }
  return bounds;
}

void TColourSharingCombo::SetAlign(TAlign align) {
  if (align == align_) return;
  if (QWidget* parent = parentWidget()) {
    if (align_ == alNone) parent->installEventFilter(this);
    else if (align == alNone) parent->removeEventFilter(this);
  }
  align_ = align;
  if (requested_bounds_.isNull()) requested_bounds_ = geometry();
  ApplyAlign();
}

void TColourSharingCombo::ApplyAlign() {
  const QWidget* parent = parentWidget();
  if (align_ == alNone || !parent) return;
  const QRect area = parent->contentsRect();
  const int own_height = requested_bounds_.height();
  const int own_width = requested_bounds_.width();
  QRect bounds = area;
  switch (align_) {
    case alTop: bounds.setHeight(own_height); break;
    case alBottom: bounds.setTop(area.bottom() + 1 - own_height); break;
    case alLeft: bounds.setWidth(own_width); break;
    case alRight: bounds.setLeft(area.right() + 1 - own_width); break;
    default: break;  // alClient: all of it
  }
  SetBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
}

void TColourSharingCombo::Loaded() {
  // The bounds asked for, not the present ones, which may already have made
  // room for the label and would make it twice.
  if (align_ != alNone) ApplyAlign();
  else SetBounds(x(), y(), width(), height());
  if (!FLabel) return;
  FLabel->setEnabled(FlabelAlwaysEnabled || isEnabled());
  if (!testAttribute(Qt::WA_SetFont)) FLabel->setFont(font());
}

bool TColourSharingCombo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) ApplyAlign();
  return QComboBox::eventFilter(watched, event);
}

// An aligned combo makes room for its label again; otherwise only the label moves.
void TColourSharingCombo::LabelChanged() {
  if (align_ != alNone) ApplyAlign();
  else PlaceLabel();
}

void TColourSharingCombo::PlaceLabel() {
  if (!FLabel) return;
  // The label takes the combo's font while the combo follows its parent's.
  FLabel->setFont(testAttribute(Qt::WA_SetFont) ? FLabelFont : font());
  FLabel->setAutoFillBackground(!FLabelTransparent);
  FLabel->adjustSize();
  const std::int32_t caption_width = QFontMetrics(FLabel->font()).horizontalAdvance(FLabel->text());
  FLabel->move(LabelPlace(FLabelPosition, geometry(), FLabel->size(), caption_width, FLabelMargin));
}

void TColourSharingCombo::moveEvent(QMoveEvent* event) {
  QComboBox::moveEvent(event);
  PlaceLabel();
}

void TColourSharingCombo::resizeEvent(QResizeEvent* event) {
  QComboBox::resizeEvent(event);
  PlaceLabel();
}

void TColourSharingCombo::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  if (!FLabel) return;
  if (event->type() == QEvent::EnabledChange) FLabel->setEnabled(FlabelAlwaysEnabled || isEnabled());
  if (event->type() == QEvent::FontChange) LabelChanged();
}

}  // namespace quill
