#include "ui/qt_window_dialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

#include "ui/german_message_box.h"
#include "ui/tender_file_types.h"

namespace {

const QString kTenderFilter =
    QStringLiteral("GAEB DA XML-Ausschreibung (*.X83 *.x83);;alle Dateien (*)");
const QString kD84Filter = QStringLiteral("D84 - Datei (*.d84);;Alle Dateien (*)");
const QString kGaeb90Filter = QStringLiteral("GAEB 90 D84 - Datei (*.d84 *.D84)");
const QString kGaeb2000Filter = QStringLiteral("GAEB 2000 D84 - Datei (*.d84 *.D84)");
const QString kX84Filter = QStringLiteral("X84 - Datei (*.x84 *.X84);;Alle Dateien (*)");

// Qt's own dialog opens so small that it cuts its size and type columns.
QString Run(QFileDialog& dialog) {
  const QScreen* screen = dialog.screen();
  const QSize room = screen ? screen->availableGeometry().size() * 0.8 : QSize(800, 500);
  dialog.resize(room.boundedTo(QSize(1000, 650)));
  // Its file list exists once it is shown (and never when the desktop's own
  // dialog is used).
  QTimer::singleShot(0, &dialog, [&dialog] {
    if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
      files->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
      files->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace

// The dialog starts where the last file was chosen, as the system's own would.
QString QtWindowDialogs::OpenFileName(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("\u00D6ffnen"), openDirectory_, OpenFileFilter());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("D83"));
  const QString file = Run(dialog);
  if (!file.isEmpty()) openDirectory_ = dialog.directory().absolutePath();
  return file;
}

QString QtWindowDialogs::TenderFileName(QWidget* parent, const QString& directory) {
  QFileDialog dialog(parent, QStringLiteral("Zugeh\u00F6rige Ausschreibung w\u00E4hlen"), directory,
                     kTenderFilter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Run(dialog);
}

// The window asks about overwriting itself, so the dialog must not ask as well.
QString QtWindowDialogs::SaveFileName(QWidget* parent, const QString& directory,
                                      const QString& proposedName) {
  // The filter and default suffix follow the proposed name: an XML tender is answered as X84.
  const bool x84 =
      QFileInfo(proposedName).suffix().compare(QStringLiteral("X84"), Qt::CaseInsensitive) == 0;
  QFileDialog dialog(parent, QStringLiteral("Speichern unter"), directory,
                     x84 ? kX84Filter : kD84Filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(x84 ? QStringLiteral("X84") : QStringLiteral("D84"));
  dialog.selectFile(proposedName);
  return Run(dialog);
}

QString QtWindowDialogs::SaveOfferFileName(QWidget* parent, const QString& directory,
                                           const QString& proposedName, bool& gaeb2000) {
  QFileDialog dialog(parent, QStringLiteral("Speichern unter"), directory,
                     kGaeb90Filter + QStringLiteral(";;") + kGaeb2000Filter +
                         QStringLiteral(";;Alle Dateien (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(QStringLiteral("D84"));
  dialog.selectFile(proposedName);
  const QString file = Run(dialog);
  gaeb2000 = dialog.selectedNameFilter() == kGaeb2000Filter;
  return file;
}

bool QtWindowDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  // The pages are counted once the printer is known: any range can be asked for.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange);
  dialog.setMinMax(1, 9999);
  return dialog.exec() == QDialog::Accepted;
}

// Ja is the default: Enter keeps the work; Esc and the close box cancel.
WindowDialogs::SaveChanges QtWindowDialogs::AskSaveChanges(QWidget* parent,
                                                           const QString& question) {
  QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(), question,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
  GermanMessageBox(box);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return SaveChanges::Save;
    case QMessageBox::No:
      return SaveChanges::Discard;
    default:
      return SaveChanges::Cancel;
  }
}

// Abbrechen is the default: Enter leads to what is missing.
bool QtWindowDialogs::GoOnDespite(QWidget* parent, const QString& findings) {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), findings,
                  QMessageBox::NoButton, parent);
  QPushButton* goOn = box.addButton(QStringLiteral("Trotzdem fortfahren"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == goOn;
}

std::optional<QString> QtWindowDialogs::InputBox(QWidget* parent, const QString& title,
                                                 const QString& prompt, const QString& value) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setTextValue(value);
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
  // The dialog sizes itself from its layout, so the title's width goes into its line.
  if (auto* line = dialog.findChild<QLineEdit*>()) line->setMinimumWidth(TitleWidth(dialog));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}
