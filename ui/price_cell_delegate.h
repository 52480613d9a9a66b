#pragma once

#include <QStyledItemDelegate>

// Draws a price grid cell the way the grid has always looked: its background
// (white where it can be edited), its text one pixel from the left edge, or
// for numbers ending two pixels before the right edge, cut off rather than
// shortened with dots. The current cell shows in the selection colours.
class KsPriceCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};
