#include "ui/center_on_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

void CenterOnScreen(QWidget& window) {
  QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                         screen->availableGeometry()));
}
