#include "ui/german_message_box.h"

#include <QAbstractButton>
#include <QGridLayout>

namespace {

// Room of the title bar beside the title: the window manager's buttons.
constexpr int kTitleBarButtons = 120;

void Caption(QMessageBox& box, QMessageBox::StandardButton which, const QString& text) {
  if (QAbstractButton* button = box.button(which)) button->setText(text);
}

}  // namespace

void GermanMessageBox(QMessageBox& box) {
  Caption(box, QMessageBox::Ok, QStringLiteral("OK"));
  Caption(box, QMessageBox::Yes, QStringLiteral("&Ja"));
  Caption(box, QMessageBox::No, QStringLiteral("&Nein"));
  Caption(box, QMessageBox::Cancel, QStringLiteral("&Abbrechen"));
  // The box sizes itself from its layout, so the title's width goes in there.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(TitleWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

int TitleWidth(const QWidget& dialog) {
  return dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + kTitleBarButtons;
}
