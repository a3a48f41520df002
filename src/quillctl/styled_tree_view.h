#pragma once
// A tree view in the colours of the visual style, the tree as tab-separated
// text, and two plain containers for grouping controls.
#include <QTreeWidget>
#include <functional>

#include "quillctl/quillctl_export.h"
#include "quillrt/framework/strings.h"
#include "quillrt/rendering/style_colours.h"

namespace quill {

class QUILLCTL_API TMyAdvTreeView : public QTreeWidget {
 public:
  explicit TMyAdvTreeView(QWidget* parent = nullptr);

  // Background, node text, selection, selected-node text and header text from
  // the style's table, for GlobalTMSStyle; repaints.
  void SetComponentStyle(TTMSStyle style);

  // Marks a node as a heading: it shows no running number in AllStringsOfTreeview.
  static void SetUnnumbered(QTreeWidgetItem& node, bool unnumbered);
  static bool IsUnnumbered(const QTreeWidgetItem& node);
};

// The text of a node in a column.
using TOnGetNodeText = std::function<UnicodeString(const QTreeWidgetItem& node, int column)>;

// The tree as text: a line of the column captions, then one line per node in
// display order (parents before their children, at any depth): the node's
// running number among the numbered nodes (a blank for headings), then each
// column's text, from `aOnGetText` or else the node's own. Pieces are joined
// by TAB, lines by CR LF.
QUILLCTL_API UnicodeString AllStringsOfTreeview(const QTreeWidget& view, const TOnGetNodeText& aOnGetText = {});

// A container that lets its parent show through.
class QUILLCTL_API TTransparentContainingGroup : public QWidget {
 public:
  explicit TTransparentContainingGroup(QWidget* parent = nullptr);
};

// A container in its parent's colour.
class QUILLCTL_API TContainBox : public QWidget {
 public:
  explicit TContainBox(QWidget* parent = nullptr);
};

}  // namespace quill
