#include "concordance_list.h"

#include <QGuiApplication>
#include <algorithm>
#include <array>

#include "quillctl/qt_canvas.h"
#include "quillrt/rendering/colours.h"
#include "quillrt/rendering/extra_fonts.h"

namespace quill::workbench {
namespace {

// Width of each column in percent of the list: the line's columns share most
// of it, the centre a little more so that the hit sits under its caption.
constexpr std::array<std::int32_t, kConcordanceColumns> kColumnPercent = {6, 7, 7, 7, 7, 7, 9, 7, 7, 7, 7, 7, 15};
constexpr std::array<const char16_t*, kConcordanceColumns> kCaptions = {
    u"N", u"L5", u"L4", u"L3", u"L2", u"L1", u"Centre", u"R1", u"R2", u"R3", u"R4", u"R5", u"File"};
constexpr std::int32_t kNumberPadding = 4;

// The part of a path after its last separator.
UnicodeString BaseName(const std::string& path) {
  const std::size_t cut = path.find_last_of("/\\");
  return Utf8ToUtf16(cut == std::string::npos ? path : path.substr(cut + 1));
}

}  // namespace

jobs::SortKey SortKeyOfColumn(std::int32_t column) {
  if (column == kNumberColumn) return jobs::SortKey::Position;
  if (column == kFileColumn) return jobs::SortKey::Filename;
  // L5..R5 are the first eleven keys, in column order.
  return static_cast<jobs::SortKey>(std::clamp<std::int32_t>(column, kFirstContextColumn, kLastContextColumn) - kFirstContextColumn);
}

const char* SortKeyName(jobs::SortKey key) {
  static constexpr std::array<const char*, 14> kNames = {"L5", "L4", "L3", "L2", "L1",   "C",    "R1",
                                                         "R2", "R3", "R4", "R5", "File", "Word", "Position"};
  return kNames[static_cast<std::size_t>(key)];
}

ConcordanceList::ConcordanceList(QWidget* parent) : TStyledColumnListbox(parent) {
  setObjectName(QStringLiteral("concordanceList"));
  OnSortTheColumn = [this](TOwnerDrawnList&, std::int32_t column, bool) { return ColumnClicked(column); };
}

void ConcordanceList::SetUpHeader(THeaderControl* header) {
  SetHeaderControl(header);
  SetColumns(kConcordanceColumns);
  std::vector<TStringAndIntegerRec> headers;
  for (std::int32_t c = 0; c < kConcordanceColumns; ++c) headers.push_back({kCaptions[c], kColumnPercent[c]});
  DefineHeaders(headers, false);
}

void ConcordanceList::resizeEvent(QResizeEvent* event) {
  TStyledColumnListbox::resizeEvent(event);
  ShareOutWidth();
}

void ConcordanceList::ShareOutWidth() {
  THeaderControl* header = HeaderControl();
  if (!header || header->SectionCount() != kConcordanceColumns) return;
  const std::int32_t width = viewport()->width();
  std::int32_t used = 0;
  for (std::int32_t c = 0; c < kConcordanceColumns; ++c) {
    const std::int32_t share = c + 1 < kConcordanceColumns ? width * kColumnPercent[c] / 100 : width - used;
    header->SetSectionWidth(c, std::max(share, 0));
    used += share;
  }
}

void ConcordanceList::Clear() {
  lines_.clear();
  SetItemIndex(-1);
  ItemCountChanged();
}

void ConcordanceList::Append(std::span<const jobs::ConcordanceLine> lines) {
  if (lines.empty()) return;
  lines_.insert(lines_.end(), lines.begin(), lines.end());
  ItemCountChanged();
}

void ConcordanceList::SetLanguage(std::uint32_t lcid) {
  lcid_ = lcid;
  viewport()->update();
}

void ConcordanceList::SetSortKey(std::size_t level, jobs::SortKey key) {
  level = std::min(level, sort_keys_.size());
  if (level >= 3) return;
  if (level == 0) sort_keys_.clear();  // a new first key starts a new order
  if (level == sort_keys_.size()) sort_keys_.push_back(key);
  else sort_keys_[level] = key;
}

void ConcordanceList::ApplySort() {
  if (sort_keys_.empty()) {
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const auto& a, const auto& b) { return a.hit_number < b.hit_number; });
  } else {
    jobs::SortConcordance(lines_, sort_keys_);
  }
  viewport()->update();
}

bool ConcordanceList::ColumnClicked(std::int32_t column) {
  if (column < 0 || column >= kConcordanceColumns) return false;
  const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
  const std::size_t level = modifiers.testFlag(Qt::ControlModifier) ? 2 : modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0;
  SetSortKey(level, SortKeyOfColumn(column));
  if (!CanSortNow || CanSortNow()) ApplySort();
  if (OnSortChanged) OnSortChanged();
  return true;
}

TRect ConcordanceList::ColumnsRect(std::int32_t first, std::int32_t last, const TRect& row) const {
  std::int32_t left = row.right;
  std::int32_t right = row.left;
  for (std::int32_t c = first; c <= last; ++c) {
    const auto [x, width] = GetColumnSize(c);
    left = std::min(left, row.left + x);
    right = std::max(right, row.left + x + width);
  }
  return {left, row.top, std::max(left, right), row.bottom};
}

void ConcordanceList::DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state) {
  if (index < 0 || index >= ItemCount()) return;
  const jobs::ConcordanceLine& line = lines_[static_cast<std::size_t>(index)];
  PaintItemBackground(canvas, rect, state);

  const TRect number = ColumnsRect(kNumberColumn, kNumberColumn, rect);
  DrawLeftOrRightIfNumbered(canvas, Utf8ToUtf16(std::to_string(index + 1)), number, number.right - kNumberPadding);

  const TRect file = ColumnsRect(kFileColumn, kFileColumn, rect);
  EllipsisOutputALine(canvas, BaseName(line.file), {file.left + kNumberPadding, file.top, file.right, file.bottom},
                      file.right - file.left - kNumberPadding);

  if (line.hit.empty()) return;
  TExtraFontList spans;
  spans.AddOne(jobs::HitSpanOf(line));
  const TRect text = ColumnsRect(kFirstContextColumn, kLastContextColumn, rect);
  canvas.SetClipRect(&text);
  drawer_.DrawConcText(line.left + line.hit + line.right, static_cast<std::int32_t>(line.left.size()) + 1,
                       static_cast<std::int32_t>(line.hit.size()), canvas, lcid_, &spans, text, state.selected, false,
                       pra_screen);
  canvas.SetClipRect(nullptr);
}

}  // namespace quill::workbench
