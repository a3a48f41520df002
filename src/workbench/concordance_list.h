#pragma once
// The concordance lines in a styled column list box: a number, the line
// itself painted by the text drawer with the hit centred in its search word's
// colours, and the file. The columns over the line are L5..L1, the centre and
// R1..R5; clicking one sorts on that word, with Shift the second level and
// with Ctrl the third.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "quillctl/styled_listboxes.h"
#include "quilljobs/concordance_lines.h"
#include "quillrt/rendering/text_drawer.h"

namespace quill::workbench {

// The list's columns, in their logical order.
enum ConcordanceColumn : std::int32_t {
  kNumberColumn = 0,
  kFirstContextColumn = 1,  // L5
  kCentreColumn = 6,
  kLastContextColumn = 11,  // R5
  kFileColumn = 12,
  kConcordanceColumns = 13
};

// The sort key of a column: L5..R5 over the line, the position under the
// number, the file name under the file.
jobs::SortKey SortKeyOfColumn(std::int32_t column);
// "L5".."R5", "C", "Position", "File".
const char* SortKeyName(jobs::SortKey key);

class ConcordanceList : public TStyledColumnListbox {
 public:
  explicit ConcordanceList(QWidget* parent = nullptr);

  // Gives the list its header bar (owned by the caller's layout) with the
  // columns and their widths.
  void SetUpHeader(THeaderControl* header);

  const std::vector<jobs::ConcordanceLine>& Lines() const { return lines_; }
  void Clear();
  void Append(std::span<const jobs::ConcordanceLine> lines);
  // The language the lines are in: right-to-left languages read from the right.
  void SetLanguage(std::uint32_t lcid);
  std::uint32_t Language() const { return lcid_; }
  std::int32_t ItemCount() const override { return static_cast<std::int32_t>(lines_.size()); }

  // The keys the lines are sorted on, first level first (empty: reading order).
  const std::vector<jobs::SortKey>& SortKeys() const { return sort_keys_; }
  // Sets the key of a level (0..2); a level beyond those set becomes the next one.
  void SetSortKey(std::size_t level, jobs::SortKey key);
  // Sorts the lines on the keys (reading order when none) and repaints.
  void ApplySort();
  // When false, clicks only choose the keys; the caller sorts later (while lines still arrive).
  std::function<bool()> CanSortNow;
  // Heard when the sort keys change.
  std::function<void()> OnSortChanged;

 protected:
  // The columns take their standard shares of the width again whenever the
  // list changes size (a column the user sized keeps its width until then).
  void resizeEvent(QResizeEvent* event) override;
  void DrawItem(TQtCanvas& canvas, std::int32_t index, const TRect& rect, TOwnerDrawState state) override;

 private:
  bool ColumnClicked(std::int32_t column);
  void ShareOutWidth();
  TRect ColumnsRect(std::int32_t first, std::int32_t last, const TRect& row) const;

  std::vector<jobs::ConcordanceLine> lines_;
  std::vector<jobs::SortKey> sort_keys_;
  std::uint32_t lcid_ = 0;
  TMyTextDrawer drawer_;
};

}  // namespace quill::workbench
