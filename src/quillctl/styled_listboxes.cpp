#include "quillctl/styled_listboxes.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QStandardItemModel>
#include <algorithm>
#include <climits>
#include <cmath>

#include "quillctl/qt_canvas.h"
#include "quillctl/style_pack.h"
#include "quillrt/analysis/number_formats.h"
#include "quillrt/framework/format.h"
#include "quillrt/rendering/text_drawer.h"

namespace quill {

namespace {

// The pieces of a line between TAB characters (an empty line is one empty piece).
std::vector<std::u16string_view> TabPieces(std::u16string_view line) {
  std::vector<std::u16string_view> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find(u'\t', start);
    if (tab == std::u16string_view::npos) {
      pieces.push_back(line.substr(start));
      return pieces;
    }
    pieces.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
}

}  // namespace

// ---- TOwnerDrawnList --------------------------------------------------------

TOwnerDrawnList::TOwnerDrawnList(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Every pixel of the viewport is painted by paintEvent.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

TOwnerDrawnList::~TOwnerDrawnList() = default;

void TOwnerDrawnList::SetItemHeight(std::int32_t height) {
  item_height_ = std::max(height, 1);
  UpdateScrollRange();
  viewport()->update();
}

void TOwnerDrawnList::SetItemIndex(std::int32_t index) {
  if (index < 0 || index >= ItemCount()) index = -1;
  if (index >= 0) ScrollIntoView(index);
  if (index == item_index_) return;
  item_index_ = index;
  viewport()->update();
  if (OnSelectionChange) OnSelectionChange(*this);
}

std::int32_t TOwnerDrawnList::TopIndex() const { return verticalScrollBar()->value() / item_height_; }

void TOwnerDrawnList::ScrollIntoView(std::int32_t index) {
  if (index < 0 || index >= ItemCount()) return;
  QScrollBar& bar = *verticalScrollBar();
  const std::int64_t top = static_cast<std::int64_t>(index) * item_height_;
  const std::int64_t bottom = top + item_height_;
  if (top < bar.value()) bar.setValue(static_cast<int>(top));
  else if (bottom > bar.value() + viewport()->height())
    bar.setValue(static_cast<int>(std::min<std::int64_t>(bottom - viewport()->height(), INT_MAX)));
}

std::int32_t TOwnerDrawnList::ItemAtPoint(const QPoint& viewport_point) const {
  const std::int64_t y = static_cast<std::int64_t>(verticalScrollBar()->value()) + viewport_point.y();
  if (y < 0) return -1;
  const std::int64_t index = y / item_height_;
  return index < ItemCount() ? static_cast<std::int32_t>(index) : -1;
}

TRect TOwnerDrawnList::ItemRect(std::int32_t index) const {
  const std::int64_t top = static_cast<std::int64_t>(index) * item_height_ - verticalScrollBar()->value();
  const auto clamped = static_cast<std::int32_t>(std::clamp<std::int64_t>(top, INT_MIN / 2, INT_MAX / 2));
  return {0, clamped, viewport()->width(), clamped + item_height_};
}

void TOwnerDrawnList::ItemCountChanged() {
  if (item_index_ >= ItemCount()) item_index_ = -1;
  UpdateScrollRange();
  viewport()->update();
}

void TOwnerDrawnList::UpdateScrollRange() {
  const std::int64_t content = static_cast<std::int64_t>(ItemCount()) * item_height_;
  const std::int64_t range = std::max<std::int64_t>(content - viewport()->height(), 0);
  QScrollBar& bar = *verticalScrollBar();
  bar.setRange(0, static_cast<int>(std::min<std::int64_t>(range, INT_MAX)));
  bar.setSingleStep(item_height_);
  bar.setPageStep(std::max(viewport()->height() - item_height_, item_height_));
}

std::int32_t TOwnerDrawnList::LinesPerPage() const {
  return std::max(viewport()->height() / item_height_, 1);
}

void TOwnerDrawnList::TakeWidgetFont(TQtCanvas& canvas) const {
  const QFont& widget_font = font();
  canvas.SetFontName(FromQString(widget_font.family()));
  if (widget_font.pointSize() > 0) canvas.SetFontSize(widget_font.pointSize());
}

void TOwnerDrawnList::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  TQtCanvas canvas(painter);
  TakeWidgetFont(canvas);
  const QRect dirty = event->rect();
  const std::int32_t count = ItemCount();
  // The first line touching the dirty area, found by division: nothing above
  // it is visited, however long the list.
  const std::int64_t first =
      std::max<std::int64_t>((static_cast<std::int64_t>(verticalScrollBar()->value()) + dirty.top()) / item_height_, 0);
  for (std::int64_t index = first; index < count; ++index) {
    const TRect rect = ItemRect(static_cast<std::int32_t>(index));
    if (rect.top > dirty.bottom()) break;
    const bool selected = index == item_index_;
    painter.save();
    DrawItem(canvas, static_cast<std::int32_t>(index), rect, {selected, selected && hasFocus()});
    painter.restore();
  }
  // Below the last line nothing may remain of earlier painting.
  const std::int32_t bottom_of_lines = std::max(ItemRect(count).top, 0);
  if (bottom_of_lines < viewport()->height())
    painter.fillRect(QRect(0, bottom_of_lines, viewport()->width(), viewport()->height() - bottom_of_lines),
                     ToQColor(ControlColour()));
}

void TOwnerDrawnList::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

void TOwnerDrawnList::keyPressEvent(QKeyEvent* event) {
  const std::int32_t count = ItemCount();
  const std::int32_t current = item_index_;
  std::int32_t wanted = current;
  switch (event->key()) {
    case Qt::Key_Up: wanted = current < 0 ? 0 : current - 1; break;
    case Qt::Key_Down: wanted = current + 1; break;
    case Qt::Key_PageUp: wanted = current - LinesPerPage(); break;
    case Qt::Key_PageDown: wanted = current + LinesPerPage(); break;
    case Qt::Key_Home: wanted = 0; break;
    case Qt::Key_End: wanted = count - 1; break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  if (count > 0) SetItemIndex(std::clamp(wanted, 0, count - 1));
  event->accept();
}

void TOwnerDrawnList::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const std::int32_t index = ItemAtPoint(event->position().toPoint());
  if (index >= 0) SetItemIndex(index);
  event->accept();
}

// ---- TStyledListbox ---------------------------------------------------------

TStyledListbox::TStyledListbox(QWidget* parent) : TOwnerDrawnList(parent) {
  items_.OnChange = [this](TStrings&) { ItemCountChanged(); };
  SetComponentStyle(0);
}

TStyledListbox::~TStyledListbox() { items_.OnChange = nullptr; }

void TStyledListbox::SetComponentStyle(TTMSStyle style) {
  fTextColour = GetTMSTextColour(style);
  fNormalBack = GetTMSBackgroundColour(style);
  fSelectionColour = GetTMSHighlightBackgroundColour(style);
  fSelectionTextColour = GetTMSHighlightedTextColour(style);
  viewport()->update();
}

void TStyledListbox::Set_SelectedColour(TColor c) { fSelectionColour = c; viewport()->update(); }
void TStyledListbox::Set_SelectedTextColour(TColor c) { fSelectionTextColour = c; viewport()->update(); }
void TStyledListbox::Set_BackgroundColour(TColor c) { fNormalBack = c; viewport()->update(); }
void TStyledListbox::Set_TextColour(TColor c) { fTextColour = c; viewport()->update(); }

void TStyledListbox::PaintItemBackground(TQtCanvas& canvas, const TRect& rect, TOwnerDrawState state) const {
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColour(state.selected ? fSelectionColour : fNormalBack);
  canvas.SetFontColour(state.selected ? fSelectionTextColour : fTextColour);
  canvas.FillRect(rect);
  // Text goes over the filled line without boxes of its own.
  canvas.SetBrushStyle(TBrushStyle::bsClear);
}

void TStyledListbox::StandardDrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect,
                                      TOwnerDrawState state) {
  if (index < 0 || index >= items_.Count()) return;
  PaintItemBackground(canvas, rect, state);
  const UnicodeString& text = items_[index];
  const UnicodeString shown =
      canvas.TextExtent(text).cx <= rect.Width()
          ? text
          : ShortenedWithEllipsis(text, rect.Width(), TEllipsis::elPath,
                                  [&canvas](std::u16string_view t) { return canvas.TextExtent(t).cx; });
  DrawLeftOrRightIfNumbered(canvas, shown, rect, rect.right);
}

void TStyledListbox::DrawLeftOrRightIfNumbered(TQtCanvas& canvas, const UnicodeString& text, const TRect& rect,
                                               std::int32_t right) {
  if (text.empty()) return;
  std::int32_t x = rect.left;
  if (IsANumber(text)) x = right - canvas.TextExtent(u"M").cx - canvas.TextExtent(text).cx;
  canvas.TextOut(x, rect.top, &rect, text, false);
}

void TStyledListbox::DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state) {
  StandardDrawItem(canvas, index, rect, state);
}

// ---- TStyledListboxOwnerDrawnFixed ------------------------------------------

TStyledListboxOwnerDrawnFixed::TStyledListboxOwnerDrawnFixed(QWidget* parent) : TStyledListbox(parent) {
  MyMeasureItem();
}

void TStyledListboxOwnerDrawnFixed::MyMeasureItem() {
  const QFontMetrics metrics(font());
  SetItemHeight(static_cast<std::int32_t>(std::lround(1.2 * metrics.boundingRect(QStringLiteral("Yg")).height())));
}

void TStyledListboxOwnerDrawnFixed::DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect,
                                             TOwnerDrawState state) {
  if (OnDrawItem) OnDrawItem(canvas, index, rect, state);
  else StandardDrawItem(canvas, index, rect, state);
}

void TStyledListboxOwnerDrawnFixed::changeEvent(QEvent* event) {
  TStyledListbox::changeEvent(event);
  if (event->type() == QEvent::FontChange) MyMeasureItem();
}

// ---- THeaderControl ---------------------------------------------------------

THeaderControl::THeaderControl(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), model_(std::make_unique<QStandardItemModel>()) {
  setModel(model_.get());
  setSectionsMovable(true);
  setSectionsClickable(true);
  setStretchLastSection(false);
  setSectionResizeMode(QHeaderView::Interactive);
  setMinimumSectionSize(0);
  setHighlightSections(false);
  // A bar one line high; layouts give the room to the list below it.
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  connect(this, &QHeaderView::sectionResized, this, [this](int section, int, int) {
    if (!sizing_ && OnSectionResize) OnSectionResize(*this, section);
  });
  connect(this, &QHeaderView::sectionClicked, this, [this](int section) {
    if (OnSectionClick) OnSectionClick(*this, section);
  });
  connect(this, &QHeaderView::sectionMoved, this, [this](int section, int, int) {
    if (OnSectionMove) OnSectionMove(*this, section);
  });
}

THeaderControl::~THeaderControl() {
  // The view lets go of the model before the model goes.
  setModel(nullptr);
}

std::int32_t THeaderControl::SectionCount() const { return count(); }

void THeaderControl::SetSections(std::span<const UnicodeString> captions) {
  sizing_ = true;
  model_->setColumnCount(0);
  model_->setColumnCount(static_cast<int>(captions.size()));
  for (std::size_t i = 0; i < captions.size(); ++i)
    model_->setHeaderData(static_cast<int>(i), Qt::Horizontal, ToQString(captions[i]));
  for (int visual = 0; visual < count(); ++visual) moveSection(visualIndex(visual), visual);
  sizing_ = false;
}

UnicodeString THeaderControl::SectionCaption(std::int32_t section) const {
  return FromQString(model_->headerData(section, Qt::Horizontal).toString());
}

void THeaderControl::SetSectionCaption(std::int32_t section, const UnicodeString& caption) {
  if (section < 0 || section >= count()) return;
  model_->setHeaderData(section, Qt::Horizontal, ToQString(caption));
}

void THeaderControl::SetSectionWidth(std::int32_t section, std::int32_t width) {
  if (section < 0 || section >= count()) return;
  sizing_ = true;
  resizeSection(section, std::max(width, 0));
  sizing_ = false;
}

std::vector<std::int32_t> THeaderControl::SectionsInVisualOrder() const {
  std::vector<std::int32_t> order;
  for (int visual = 0; visual < count(); ++visual) order.push_back(logicalIndex(visual));
  return order;
}

void THeaderControl::paintSection(QPainter* painter, const QRect& rect, int logical_index) const {
  if (!OnDrawSection) {
    QHeaderView::paintSection(painter, rect, logical_index);
    return;
  }
  painter->save();
  OnDrawSection(*painter, rect, logical_index);
  painter->restore();
}

QSize THeaderControl::sizeHint() const {
  return {QHeaderView::sizeHint().width(), fontMetrics().height() + 6};
}

QSize THeaderControl::minimumSizeHint() const { return {0, sizeHint().height()}; }

void THeaderControl::resizeEvent(QResizeEvent* event) {
  QHeaderView::resizeEvent(event);
  if (OnResize) OnResize(*this);
}

// ---- TStyledColumnListbox ---------------------------------------------------

TStyledColumnListbox::TStyledColumnListbox(QWidget* parent) : TStyledListboxOwnerDrawnFixed(parent) {}

TStyledColumnListbox::~TStyledColumnListbox() { ReleaseHeaderEvents(); }

void TStyledColumnListbox::SetHeaderControl(THeaderControl* header) {
  if (header == FHeaderControl) return;
  ReleaseHeaderEvents();
  FHeaderControl = header;
  if (header && fColumns > 0) CreateHeadersForColumns();
  else if (header) TakeOverHeaderEvents();
}

void TStyledColumnListbox::TakeOverHeaderEvents() {
  THeaderControl* header = FHeaderControl.data();
  if (!header) return;
  header->OnDrawSection = [this](QPainter& painter, const QRect& rect, std::int32_t section) {
    DrawSection(painter, rect, section);
  };
  header->OnResize = [this](THeaderControl&) { HeaderResized(); };
  header->OnSectionResize = [this](THeaderControl&, std::int32_t section) { SectionResized(section); };
  header->OnSectionClick = [this](THeaderControl&, std::int32_t section) { SectionClicked(section); };
  header->OnSectionMove = [this](THeaderControl&, std::int32_t) { viewport()->update(); };
}

void TStyledColumnListbox::ReleaseHeaderEvents() {
  THeaderControl* header = FHeaderControl.data();
  if (!header) return;
  header->OnDrawSection = nullptr;
  header->OnResize = nullptr;
  header->OnSectionResize = nullptr;
  header->OnSectionClick = nullptr;
  header->OnSectionMove = nullptr;
}

void TStyledColumnListbox::SetColumns(std::int32_t columns) {
  fColumns = std::max(columns, 0);
  if (FHeaderControl) CreateHeadersForColumns();
  viewport()->update();
}

bool TStyledColumnListbox::ColumnSortFlag(std::int32_t column) const {
  return column >= 0 && column < static_cast<std::int32_t>(fColumnSort.size()) && fColumnSort[column];
}

void TStyledColumnListbox::CreateHeadersForColumns() {
  THeaderControl* header = FHeaderControl.data();
  if (!header) return;
  TakeOverHeaderEvents();
  fHeaderHeadings.assign(fColumns, UnicodeString{});
  fColumnSort.assign(fColumns, false);
  for (std::int32_t i = 0; i < fColumns; ++i) fHeaderHeadings[i] = Format(u"%d", {i});
  header->SetSections(fHeaderHeadings);
  SizeTheColumnsAuto();
}

void TStyledColumnListbox::DefineHeaders(std::span<const TStringAndIntegerRec> hinf, bool autosize) {
  THeaderControl* header = FHeaderControl.data();
  if (!header) return;
  const auto given = static_cast<std::int32_t>(hinf.size());
  if (given > fColumns) SetColumns(given);
  const std::int32_t defined = std::min(fColumns, given);
  for (std::int32_t i = 0; i < defined; ++i) {
    fHeaderHeadings[i] = hinf[i].s;
    header->SetSectionCaption(i, hinf[i].s);
  }
  Autosizing_Columns = autosize;
  if (autosize) {
    SizeTheColumnsAuto();
  } else {
    const std::int32_t client = viewport()->width();
    std::int32_t used = 0;
    for (std::int32_t i = 0; i < defined; ++i) {
      const std::int32_t width =
          i + 1 < defined ? static_cast<std::int32_t>(std::lround(hinf[i].i * client / 100.0)) : client - used;
      header->SetSectionWidth(i, width);
      used += width;
    }
  }
  header->viewport()->update();
  viewport()->update();
}

void TStyledColumnListbox::SizeTheColumnsAuto() {
  THeaderControl* header = FHeaderControl.data();
  if (!header || header->SectionCount() == 0) return;
  const std::vector<std::int32_t> order = header->SectionsInVisualOrder();
  const auto n = static_cast<std::int32_t>(order.size());
  const std::int32_t client = viewport()->width();
  if (n == 1) {
    header->SetSectionWidth(order[0], client);
  } else if (n == 2) {
    header->SetSectionWidth(order[0], 2 * (client / 3));
    header->SetSectionWidth(order[1], client / 3);
  } else {
    const std::int32_t first = client / 3;
    const std::int32_t others = (client - first) / (n - 1);
    header->SetSectionWidth(order[0], first);
    for (std::int32_t v = 1; v + 1 < n; ++v) header->SetSectionWidth(order[v], others);
    header->SetSectionWidth(order[n - 1], width() - first - others * (n - 2));
  }
  header->viewport()->update();
  viewport()->update();
}

void TStyledColumnListbox::SizeLastColumnToEdge() {
  THeaderControl* header = FHeaderControl.data();
  if (!header || header->SectionCount() <= 1) return;
  const std::vector<std::int32_t> order = header->SectionsInVisualOrder();
  std::int32_t before = 0;
  for (std::size_t v = 0; v + 1 < order.size(); ++v) before += header->sectionSize(order[v]);
  header->SetSectionWidth(order.back(), width() - before);
}

std::pair<std::int32_t, std::int32_t> TStyledColumnListbox::GetColumnSize(std::int32_t index) const {
  const THeaderControl* header = FHeaderControl.data();
  if (!header || index < 0 || index >= header->SectionCount()) return {0, viewport()->width()};
  return {header->sectionViewportPosition(index), header->sectionSize(index)};
}

void TStyledColumnListbox::CorrectForScreenResolucao(double /*aFontScale*/) {
  // The list box has no font of its own: it follows its parent's.
  const QFontMetrics metrics(font());
  SetItemHeight(metrics.boundingRect(QStringLiteral("gh")).height() * 5 / 4);
  SizeTheColumnsAuto();
}

void TStyledColumnListbox::HeaderResized() {
  if (Autosizing_Columns) SizeTheColumnsAuto();
  else SizeLastColumnToEdge();
  viewport()->update();
}

void TStyledColumnListbox::SectionResized(std::int32_t section) {
  Autosizing_Columns = false;
  THeaderControl* header = FHeaderControl.data();
  if (header && header->SectionCount() > 0 && header->SectionsInVisualOrder().back() != section)
    SizeLastColumnToEdge();
  viewport()->update();
}

void TStyledColumnListbox::SectionClicked(std::int32_t section) {
  if (!OnSortTheColumn || section < 0 || section >= static_cast<std::int32_t>(fColumnSort.size())) return;
  if (!OnSortTheColumn(*this, section, fColumnSort[section])) return;
  fCurrentSortColumn = section;
  fColumnSort[section] = !fColumnSort[section];
  if (FHeaderControl) FHeaderControl->viewport()->update();
  viewport()->update();
}

void TStyledColumnListbox::DrawSection(QPainter& painter, const QRect& rect, std::int32_t section) const {
  const TColor back = GetTMSDarkScrollBackgroundColour(GlobalTMSStyle);
  painter.fillRect(rect, ToQColor(back));
  const QFontMetrics metrics(painter.font());
  const QString caption = FHeaderControl ? ToQString(FHeaderControl->SectionCaption(section)) : QString();
  painter.setPen(ToQColor(GetContrastingBackgroundColour(back)));
  const int caption_left = rect.left() + (rect.width() - metrics.horizontalAdvance(caption)) / 2;
  painter.drawText(caption_left, rect.top() + metrics.ascent(), caption);
  painter.setPen(Qt::white);
  painter.drawLine(rect.right(), rect.top() + 1, rect.right(), rect.bottom() - 1);
  if (section != fCurrentSortColumn) return;
  // The sort mark: a red triangle, pointing up once the column's next sort
  // would be the other way round.
  const int w = metrics.horizontalAdvance(QLatin1Char('a'));
  const int h = metrics.height() / 2 + 1;
  const int x = rect.left() + rect.width() - 2 * w;
  const int y = rect.top() + rect.height() - static_cast<int>(std::lround(1.5 * h));
  const QPolygon triangle = ColumnSortFlag(section)
                                ? QPolygon({QPoint(x, y + h), QPoint(x + w, y + h), QPoint(x + w / 2, y)})
                                : QPolygon({QPoint(x, y), QPoint(x + w, y), QPoint(x + w / 2, y + h)});
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(0x0000FF));
  painter.drawPolygon(triangle);
}

void TStyledColumnListbox::SetStringData(const TArrayOfStringLists& sdata, std::int32_t columns_wanted,
                                         std::int32_t current) {
  Items().Clear();
  if (current < 0 || current >= static_cast<std::int32_t>(sdata.size()) || !sdata[current]) return;
  if (columns_wanted != fColumns) SetColumns(columns_wanted);
  fCurrentStrings = sdata;
  ShowStringSet(current);
}

void TStyledColumnListbox::SetCurrentStringSet(std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(fCurrentStrings.size()) || !fCurrentStrings[index]) return;
  Items().Clear();
  ShowStringSet(index);
}

void TStyledColumnListbox::ShowStringSet(std::int32_t index) {
  fCurrentStringSet = index;
  Items().Assign(*fCurrentStrings[index]);
}

void TStyledColumnListbox::DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect,
                                    TOwnerDrawState state) {
  if (index < 0 || index >= Items().Count()) return;
  if (OnDrawItem) {
    OnDrawItem(canvas, index, rect, state);
    return;
  }
  PaintItemBackground(canvas, rect, state);
  if (OnConvertItemText) DrawColumns(canvas, OnConvertItemText(*this, index, Items()[index]), rect);
  else DrawColumns(canvas, Items()[index], rect);
}

void TStyledColumnListbox::DrawColumns(TQtCanvas& canvas, const UnicodeString& line, const TRect& rect) {
  // Without a header the line is one column; pieces beyond the sections have
  // nowhere to go and are not drawn over the others.
  const std::int32_t sections = FHeaderControl ? FHeaderControl->SectionCount() : 1;
  const std::vector<std::u16string_view> pieces = TabPieces(line);
  for (std::int32_t k = 0; k < std::min<std::int32_t>(sections, static_cast<std::int32_t>(pieces.size())); ++k) {
    const auto [left, width] = GetColumnSize(k);
    const TRect column{rect.left + left, rect.top, rect.left + left + width, rect.bottom};
    const UnicodeString piece(pieces[k]);
    if (IsANumber(piece)) DrawLeftOrRightIfNumbered(canvas, piece, column, column.right);
    else EllipsisOutputALine(canvas, piece, column, width);
  }
}

}  // namespace quill
