#include "ui/price_cell_delegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "ui/one_line.h"

namespace {

// Black on light backgrounds, white on dark ones, whatever the palette's
// text colour: editable cells are white also on a dark desktop.
QColor TextColorOn(const QColor& background) {
  return background.lightness() >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

QFont PriceCellDelegate::CellFont(const QStyleOptionViewItem& option, const QModelIndex& index) {
  const QVariant font = index.data(Qt::FontRole);
  return font.canConvert<QFont>() ? font.value<QFont>().resolve(option.font) : option.font;
}

QRect PriceCellDelegate::TextArea(const QRect& cell) { return cell.adjusted(1, 0, -2, 0); }

void PriceCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QVariant background = index.data(Qt::BackgroundRole);
  QColor fill = option.palette.color(QPalette::Base);
  if (selected)
    fill = option.palette.color(QPalette::Highlight);
  else if (background.canConvert<QBrush>())
    fill = background.value<QBrush>().color();
  painter->fillRect(option.rect, fill);

  QString text = index.data(Qt::DisplayRole).toString();
  if (text.isEmpty()) return;
  const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
  const QRect area = TextArea(option.rect);
  const QFont font = CellFont(option, index);
  if (!(alignment & Qt::AlignRight))
    text = QFontMetrics(font).elidedText(OneLine(text), Qt::ElideRight, area.width());
  painter->save();
  painter->setClipRect(option.rect);
  painter->setFont(font);
  painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : TextColorOn(fill));
  painter->drawText(area, int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, text);
  painter->restore();
}

bool PriceCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip)
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  const QString text = index.data(Qt::DisplayRole).toString();
  const int room = TextArea(option.rect).width();
  const QString shown = OneLine(text);
  if (shown != text || QFontMetrics(CellFont(option, index)).horizontalAdvance(text) > room)
    QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
  else
    QToolTip::hideText();
  return true;
}
