#include "ui/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qstring_codec.h"

namespace {

// Button captions are set here so that the boxes speak German whether or not
// Qt's own translations are installed.
int Run(QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton default_button) {
  QMessageBox box(icon, QGuiApplication::applicationDisplayName(), FromCp1252(text), buttons,
                  QApplication::activeWindow());
  if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("OK"));
  if (QAbstractButton* yes = box.button(QMessageBox::Yes)) yes->setText(QStringLiteral("Ja"));
  if (QAbstractButton* no = box.button(QMessageBox::No)) no->setText(QStringLiteral("Nein"));
  box.setDefaultButton(default_button);
  return box.exec();
}

}  // namespace

void KsQtMessageBoxes::ShowMessage(const std::string& text) {
  Run(QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

// No is the default so that a hasty Enter never confirms an overwrite.
bool KsQtMessageBoxes::AskYesNo(const std::string& text) {
  return Run(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

void KsQtMessageBoxes::ShowError(const std::string& text) {
  Run(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

void KsQtMessageBoxes::ShowWarning(const std::string& text) {
  Run(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}
