#pragma once

#include <QStyledItemDelegate>

// Draws a price grid cell: its background (white where it can be edited),
// its text one pixel from the left edge, or for numbers ending two pixels
// before the right edge, in a colour that reads on that background, area
// rows in bold. A text of several lines shows its first; one too long for
// its cell ends in "…", and either shows whole as the cell's tooltip; numbers always fit (the grid
// sizes their columns). The current cell shows in the selection colours.
class PriceCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

  // The cell's font: the view's, bold where the model asks for it.
  static QFont CellFont(const QStyleOptionViewItem& option, const QModelIndex& index);
  // Where the text goes within the cell.
  static QRect TextArea(const QRect& cell);
};
