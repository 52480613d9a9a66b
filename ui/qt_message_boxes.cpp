#include "ui/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/german_message_box.h"
#include "ui/qstring_codec.h"

namespace {

int Run(QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton default_button) {
  QMessageBox box(icon, QGuiApplication::applicationDisplayName(), FromCp1252(text), buttons,
                  QApplication::activeWindow());
  GermanMessageBox(box);
  box.setDefaultButton(default_button);
  return box.exec();
}

}  // namespace

void QtMessageBoxes::ShowMessage(const std::string& text) {
  Run(QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

// No is the default so that a hasty Enter never confirms an overwrite.
bool QtMessageBoxes::AskYesNo(const std::string& text) {
  return Run(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

void QtMessageBoxes::ShowError(const std::string& text) {
  Run(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtMessageBoxes::ShowWarning(const std::string& text) {
  Run(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}
