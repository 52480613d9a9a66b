#include "ui/action_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(0x2E, 0x34, 0x36);
const QColor kPaper(0xFA, 0xFA, 0xFA);
const QColor kFolder(0xE9, 0xB9, 0x6E);
const QColor kBlue(0x34, 0x65, 0xA4);

// A sheet of paper with a folded corner, in a square of side 1.
void Sheet(QPainter& p, const QRectF& r) {
  const qreal fold = r.width() * 0.3;
  QPainterPath path;
  path.moveTo(r.topLeft());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.bottomRight());
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  p.setBrush(kPaper);
  p.drawPath(path);
}

void DrawOpen(QPainter& p) {
  p.setBrush(kFolder.darker(115));
  p.drawRect(QRectF(0.08, 0.22, 0.84, 0.64));
  Sheet(p, QRectF(0.2, 0.12, 0.55, 0.5));
  p.setBrush(kFolder);
  QPolygonF flap({{0.08, 0.86}, {0.2, 0.44}, {0.98, 0.44}, {0.86, 0.86}});
  p.drawPolygon(flap);
}

void DrawSave(QPainter& p) {
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(0.1, 0.1, 0.8, 0.8), 0.06, 0.06);
  p.setBrush(kPaper);
  p.drawRect(QRectF(0.24, 0.1, 0.52, 0.3));
  p.setBrush(kInk);
  p.drawRect(QRectF(0.3, 0.56, 0.4, 0.34));
}

void DrawPrint(QPainter& p) {
  Sheet(p, QRectF(0.26, 0.06, 0.48, 0.36));
  p.setBrush(QColor(0xBA, 0xBD, 0xB6));
  p.drawRoundedRect(QRectF(0.06, 0.38, 0.88, 0.36), 0.06, 0.06);
  p.setBrush(kPaper);
  p.drawRect(QRectF(0.22, 0.62, 0.56, 0.3));
  p.drawLine(QPointF(0.3, 0.73), QPointF(0.7, 0.73));
  p.drawLine(QPointF(0.3, 0.82), QPointF(0.62, 0.82));
}

// The question mark is set in pixels, outside the unit square.
void DrawHelp(QPainter& p, int size) {
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(0.06, 0.06, 0.88, 0.88));
  p.resetTransform();
  QFont font;
  font.setBold(true);
  font.setPixelSize(size * 7 / 10);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
}

// An arrow pointing down, or up.
void DrawArrow(QPainter& p, bool down) {
  if (!down) {
    p.translate(0, 1);
    p.scale(1, -1);
  }
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({{0.36, 0.08},
                           {0.64, 0.08},
                           {0.64, 0.46},
                           {0.86, 0.46},
                           {0.5, 0.84},
                           {0.14, 0.46},
                           {0.36, 0.46}}));
}

QPixmap Drawn(TActionIcon icon, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size, size);
  p.setPen(QPen(kInk, 1.0 / size * (size >= 32 ? 2 : 1)));
  switch (icon) {
    case TActionIcon::Open:
      DrawOpen(p);
      break;
    case TActionIcon::Save:
      DrawSave(p);
      break;
    case TActionIcon::Print:
      DrawPrint(p);
      break;
    case TActionIcon::Help:
      DrawHelp(p, size);
      break;
    case TActionIcon::PreviousEmpty:
      DrawArrow(p, false);
      break;
    case TActionIcon::NextEmpty:
      DrawArrow(p, true);
      break;
  }
  return pixmap;
}

}  // namespace

QStringList ThemeIconNames(TActionIcon icon) {
  switch (icon) {
    case TActionIcon::Open:
      return {QStringLiteral("document-open")};
    case TActionIcon::Save:
      return {QStringLiteral("document-save")};
    case TActionIcon::Print:
      return {QStringLiteral("document-print")};
    case TActionIcon::Help:
      return {QStringLiteral("help-contents"), QStringLiteral("help-browser")};
    case TActionIcon::PreviousEmpty:
      return {QStringLiteral("go-up")};
    case TActionIcon::NextEmpty:
      return {QStringLiteral("go-down")};
  }
  return {};
}

QIcon ActionIcon(TActionIcon icon) {
  for (const QString& name : ThemeIconNames(icon))
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  QIcon drawn;
  for (int size : {16, 22, 24, 32, 48}) drawn.addPixmap(Drawn(icon, size));
  return drawn;
}
