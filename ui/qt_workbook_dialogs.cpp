#include <QFileDialog>
#include <QFileInfo>

#include "ui/qt_window_dialogs.h"

namespace {

const QString kXlsxFilter = QStringLiteral("Excel-Arbeitsmappe (*.xlsx)");
const QString kCsvFilter = QStringLiteral("CSV (;) (*.csv)");

QString Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtWindowDialogs::OpenWorkbookName(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Preise \u00FCbernehmen aus Arbeitsmappe"),
                     openDirectory_,
                     QStringLiteral("Arbeitsmappen (*.xlsx *.csv);;") + kXlsxFilter +
                         QStringLiteral(";;") + kCsvFilter + QStringLiteral(";;Alle Dateien (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Chosen(dialog);
}

QString QtWindowDialogs::SaveWorkbookName(QWidget* parent, const QString& proposedName) {
  const bool csv =
      QFileInfo(proposedName).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
  QFileDialog dialog(parent, QStringLiteral("Exportieren"), openDirectory_,
                     csv ? kCsvFilter : kXlsxFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(csv ? QStringLiteral("csv") : QStringLiteral("xlsx"));
  dialog.selectFile(proposedName);
  return Chosen(dialog);
}
