#include "ui/price_cell_delegate.h"

#include <QPainter>

void KsPriceCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QVariant background = index.data(Qt::BackgroundRole);
  if (selected)
    painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
  else if (background.canConvert<QBrush>())
    painter->fillRect(option.rect, background.value<QBrush>());

  const QString text = index.data(Qt::DisplayRole).toString();
  if (text.isEmpty()) return;
  const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
  const QRect area = option.rect.adjusted(1, 0, -2, 0);
  painter->save();
  painter->setClipRect(option.rect);
  painter->setFont(option.font);
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(area, int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, text);
  painter->restore();
}
