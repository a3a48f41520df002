#include "quillctl/styled_tree_view.h"

#include <QHeaderView>

#include "quillctl/qt_canvas.h"

namespace quill {

namespace {

constexpr int kUnnumberedRole = Qt::UserRole + 0x51;

void AppendNodeLines(const QTreeWidgetItem& node, int columns, const TOnGetNodeText& text_of, int& number,
                     UnicodeString& out) {
  out += u"\r\n";
  if (TMyAdvTreeView::IsUnnumbered(node)) out += u" ";
  else out += FromQString(QString::number(++number));
  for (int column = 0; column < columns; ++column)
    out += u"\t" + (text_of ? text_of(node, column) : FromQString(node.text(column)));
  for (int child = 0; child < node.childCount(); ++child)
    AppendNodeLines(*node.child(child), columns, text_of, number, out);
}

}  // namespace

TMyAdvTreeView::TMyAdvTreeView(QWidget* parent) : QTreeWidget(parent) { SetComponentStyle(GlobalTMSStyle); }

void TMyAdvTreeView::SetComponentStyle(TTMSStyle style) {
  QPalette colours = palette();
  colours.setColor(QPalette::Base, ToQColor(GetTMSBackgroundColour(style)));
  colours.setColor(QPalette::Window, ToQColor(GetTMSBackgroundColour(style)));
  colours.setColor(QPalette::Text, ToQColor(GetTMSTextColour(style)));
  colours.setColor(QPalette::Highlight, ToQColor(GetTMSHighlightBackgroundColour(style)));
  colours.setColor(QPalette::HighlightedText, ToQColor(GetTMSHighlightedTextColour(style)));
  colours.setColor(QPalette::Button, ToQColor(GetTMSDarkScrollBackgroundColour(style)));
  colours.setColor(QPalette::ButtonText, ToQColor(GetTMSTextColour(style)));
  setPalette(colours);
  header()->setPalette(colours);
  viewport()->update();
}

void TMyAdvTreeView::SetUnnumbered(QTreeWidgetItem& node, bool unnumbered) {
  node.setData(0, kUnnumberedRole, unnumbered);
}

bool TMyAdvTreeView::IsUnnumbered(const QTreeWidgetItem& node) { return node.data(0, kUnnumberedRole).toBool(); }

UnicodeString AllStringsOfTreeview(const QTreeWidget& view, const TOnGetNodeText& aOnGetText) {
  const int columns = view.columnCount();
  UnicodeString out;
  const QTreeWidgetItem* captions = view.headerItem();
  for (int column = 0; column < columns; ++column) {
    if (column > 0) out += u"\t";
    out += captions ? FromQString(captions->text(column)) : UnicodeString{};
  }
  int number = 0;
  for (int top = 0; top < view.topLevelItemCount(); ++top)
    AppendNodeLines(*view.topLevelItem(top), columns, aOnGetText, number, out);
  return out;
}

TTransparentContainingGroup::TTransparentContainingGroup(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(false);
  setAttribute(Qt::WA_TranslucentBackground);
}

TContainBox::TContainBox(QWidget* parent) : QWidget(parent) {
  // Takes the parent's palette (and so its colour) and paints it.
  setAutoFillBackground(true);
}

}  // namespace quill
