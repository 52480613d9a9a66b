#include "ui/send_icon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap Envelope(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF body(size * 0.08, size * 0.22, size * 0.84, size * 0.58);
  painter.setPen(QPen(QColor(0x1F, 0x4E, 0x9A), size / 12.0));
  painter.setBrush(QColor(0xF4, 0xF6, 0xFA));
  painter.drawRect(body);
  painter.drawPolyline(
      QPolygonF({body.topLeft(), QPointF(body.center().x(), body.top() + body.height() * 0.55),
                 body.topRight()}));
  return pixmap;
}

}  // namespace

QIcon MailIcon() {
  QIcon drawn;
  for (int size : {16, 24, 32, 48}) drawn.addPixmap(Envelope(size));
  return QIcon::fromTheme(QStringLiteral("mail-send"), drawn);
}
