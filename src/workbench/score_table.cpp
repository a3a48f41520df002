#include "score_table.h"

#include <QEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"

namespace quill::workbench {
namespace {

// Tabs and line ends would break the row into other columns or lines.
std::string OneField(std::string field) {
  for (char& c : field)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return field;
}

UnicodeString Rounded(double value, int decimals) {
  if (std::isnan(value)) return u"–";
  if (std::isinf(value)) return value > 0 ? u"∞" : u"−∞";
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return Utf8ToUtf16(text);
}

// NaN sorts last whichever way a column sorts.
bool Before(double a, double b, bool ascending) {
  if (std::isnan(a) || std::isnan(b)) return !std::isnan(a) && std::isnan(b);
  return ascending ? a < b : a > b;
}

}  // namespace

ScoreTable::ScoreTable(std::vector<ScoreColumn> columns, QWidget* parent)
    : QWidget(parent), columns_(std::move(columns)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  header_ = new THeaderControl(this);
  header_->setFixedHeight(header_->fontMetrics().height() * 3 / 2);
  list_ = new TStyledColumnListbox(this);
  list_->SetComponentStyle(GlobalTMSStyle);
  list_->CorrectForScreenResolucao(1.0);
  list_->SetHeaderControl(header_);
  list_->SetColumns(static_cast<std::int32_t>(columns_.size()));
  std::vector<TStringAndIntegerRec> headers;
  for (const ScoreColumn& column : columns_) headers.push_back({column.title, column.percent});
  list_->DefineHeaders(headers, false);
  list_->viewport()->installEventFilter(this);
  list_->OnSortTheColumn = [this](TOwnerDrawnList&, std::int32_t column, bool) {
    if (rows_.empty()) return false;
    SortOn(column);
    return true;
  };
  list_->OnSelectionChange = [this](TOwnerDrawnList& list) {
    if (OnRowChosen && list.ItemIndex() >= 0) OnRowChosen(list.ItemIndex());
  };
  layout->addWidget(header_);
  layout->addWidget(list_, 1);
}

bool ScoreTable::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::Resize) SizeColumns();
  return QWidget::eventFilter(watched, event);
}

void ScoreTable::SizeColumns() {
  const int count = static_cast<int>(columns_.size());
  const std::int32_t width = list_->viewport()->width();
  std::int32_t used = 0;
  for (int c = 0; c < count; ++c) {
    const std::int32_t share = c + 1 < count ? width * columns_[c].percent / 100 : width - used;
    header_->SetSectionWidth(c, std::max(share, 0));
    used += share;
  }
}

void ScoreTable::SetRows(std::vector<ScoreRow> rows) {
  rows_ = std::move(rows);
  ShowRows();
}

UnicodeString ScoreTable::ShownText(const ScoreRow& row, int column) const {
  const ScoreColumn& kind = columns_[column];
  return kind.decimals < 0 ? row[column].text : Rounded(row[column].number, kind.decimals);
}

void ScoreTable::ShowRows() {
  TStringList& lines = list_->Items();
  lines.BeginUpdate();
  lines.Clear();
  for (const ScoreRow& row : rows_) {
    UnicodeString line;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      if (c > 0) line += u'\t';
      UnicodeString shown = ShownText(row, static_cast<int>(c));
      std::replace(shown.begin(), shown.end(), u'\t', u' ');
      line += shown;
    }
    lines.Add(line);
  }
  lines.EndUpdate();
  list_->SetItemIndex(-1);
}

void ScoreTable::SortOn(int column) {
  if (column < 0 || column >= static_cast<int>(columns_.size())) return;
  const ScoreColumn& kind = columns_[column];
  const auto c = static_cast<std::size_t>(column);
  if (kind.decimals < 0)
    std::stable_sort(rows_.begin(), rows_.end(), [c](const ScoreRow& a, const ScoreRow& b) { return a[c].text < b[c].text; });
  else
    std::stable_sort(rows_.begin(), rows_.end(), [c, ascending = kind.ascending](const ScoreRow& a, const ScoreRow& b) {
      return Before(a[c].number, b[c].number, ascending);
    });
  ShowRows();
}

std::string ScoreTable::Tsv() const {
  std::string tsv;
  for (const ScoreColumn& column : columns_) tsv += std::string(tsv.empty() ? "" : "\t") + column.tsv_name;
  tsv += '\n';
  for (const ScoreRow& row : rows_) {
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      if (c > 0) tsv += '\t';
      tsv += columns_[c].decimals < 0 ? OneField(Utf16ToUtf8(row[c].text)) : TsvNumber(row[c].number);
    }
    tsv += '\n';
  }
  return tsv;
}

}  // namespace quill::workbench
