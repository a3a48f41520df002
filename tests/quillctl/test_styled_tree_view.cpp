#include <gtest/gtest.h>

#include "quillctl/qt_canvas.h"
#include "quillctl/styled_tree_view.h"

namespace quill {
namespace {

TEST(StyledTreeView, TreeAsTextNumbersOnlyNumberedNodesInDisplayOrder) {
  TMyAdvTreeView tree;
  tree.setColumnCount(2);
  tree.setHeaderLabels({QStringLiteral("Word"), QStringLiteral("Freq")});
  auto* nouns = new QTreeWidgetItem(&tree, {QStringLiteral("Nouns"), QString()});  // owned by the tree
  TMyAdvTreeView::SetUnnumbered(*nouns, true);
  new QTreeWidgetItem(nouns, {QStringLiteral("time"), QStringLiteral("1598")});
  auto* year = new QTreeWidgetItem(nouns, {QStringLiteral("year"), QStringLiteral("658")});
  new QTreeWidgetItem(year, {QStringLiteral("years"), QStringLiteral("949")});
  new QTreeWidgetItem(&tree, {QStringLiteral("the"), QStringLiteral("69971")});
  nouns->setExpanded(false);  // collapsed nodes are listed too

  EXPECT_EQ(AllStringsOfTreeview(tree),
            u"Word\tFreq\r\n \tNouns\t\r\n1\ttime\t1598\r\n2\tyear\t658\r\n3\tyears\t949\r\n4\tthe\t69971");
  const UnicodeString given = AllStringsOfTreeview(tree, [](const QTreeWidgetItem&, int column) {
    return column == 0 ? UnicodeString(u"w") : UnicodeString(u"f");
  });
  EXPECT_EQ(given, u"Word\tFreq\r\n \tw\tf\r\n1\tw\tf\r\n2\tw\tf\r\n3\tw\tf\r\n4\tw\tf");
}

TEST(StyledTreeView, StyleColoursReachThePalette) {
  TMyAdvTreeView tree;
  tree.SetComponentStyle(2);
  EXPECT_EQ(FromQColor(tree.palette().color(QPalette::Base)), 0xCFF0EA);
  EXPECT_EQ(FromQColor(tree.palette().color(QPalette::Highlight)), 0x8CC0B1);
  EXPECT_EQ(FromQColor(tree.palette().color(QPalette::HighlightedText)), 0xFFFFFF);
}

}  // namespace
}  // namespace quill
