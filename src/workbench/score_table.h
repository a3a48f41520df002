#pragma once
// The table the statistics tabs (Keywords, Collocates, Dispersion) show their
// rows in: a styled column list under a header, one word and its counts and
// scores a row. A click on a column sorts on it: words alphabetically,
// numbers largest first (a rank column smallest first, giving the job's own
// order back). The rows export as TSV with every digit a score has.
#include <QWidget>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "quilljobs/association_stats.h"
#include "quillrt/framework/strings.h"

namespace quill {
class THeaderControl;
class TStyledColumnListbox;
}  // namespace quill

namespace quill::workbench {

struct ScoreColumn {
  const char16_t* title;  // in the header
  const char* tsv_name;   // in the TSV header line
  int percent;            // share of the list's width
  int decimals;           // shown after the point; -1: a text column
  bool ascending = false; // a number column sorted smallest first (a rank)
};

// A cell holds text (text columns) or a number (number columns).
struct ScoreCell {
  UnicodeString text;
  double number = std::nan("");
};
using ScoreRow = std::vector<ScoreCell>;

inline ScoreCell TextCell(UnicodeString text) { return {std::move(text), std::nan("")}; }
inline ScoreCell NumberCell(double number) { return {UnicodeString(), number}; }

class ScoreTable : public QWidget {
 public:
  ScoreTable(std::vector<ScoreColumn> columns, QWidget* parent = nullptr);

  // Shows `rows` in the order given.
  void SetRows(std::vector<ScoreRow> rows);
  const std::vector<ScoreRow>& Rows() const { return rows_; }
  void SortOn(int column);
  // The header line and one line per row, in the order shown.
  std::string Tsv() const;
  // The rows' text as shown: numbers rounded, infinities as "∞".
  UnicodeString ShownText(const ScoreRow& row, int column) const;

  TStyledColumnListbox& List() const { return *list_; }
  THeaderControl& Header() const { return *header_; }
  // Heard with the row the user selects (its index in Rows()).
  std::function<void(int row)> OnRowChosen;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowRows();
  void SizeColumns();

  const std::vector<ScoreColumn> columns_;
  std::vector<ScoreRow> rows_;
  THeaderControl* header_;
  TStyledColumnListbox* list_;
};

using jobs::TsvNumber;  // numbers in the exported TSV as the command line writes them

}  // namespace quill::workbench
