#include "ui/qt_window_dialogs.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

const QString kOpenFilter =
    QStringLiteral("D83 Datei (*.*83);;GAEB-Dateien (*.D8* *.P8*);;alle Dateien (*)");
const QString kSaveFilter = QStringLiteral("D84 - Datei (*.d84);;Alle Dateien (*)");

QString Run(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace

// The dialog starts where the last file was chosen, as the system's own would.
QString KsQtWindowDialogs::OpenFileName(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("\u00D6ffnen"), openDirectory_, kOpenFilter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("D83"));
  const QString file = Run(dialog);
  if (!file.isEmpty()) openDirectory_ = dialog.directory().absolutePath();
  return file;
}

// The window asks about overwriting itself, so the dialog must not ask as well.
QString KsQtWindowDialogs::SaveFileName(QWidget* parent, const QString& directory,
                                        const QString& proposedName) {
  QFileDialog dialog(parent, QStringLiteral("Speichern unter"), directory, kSaveFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(QStringLiteral("D84"));
  dialog.selectFile(proposedName);
  return Run(dialog);
}

bool KsQtWindowDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}
