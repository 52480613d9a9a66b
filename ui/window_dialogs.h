#pragma once

#include <QString>

class QPrinter;
class QWidget;

// The standard dialogs of the main window, behind an interface so that tests
// can answer them. Paths are the file system's own (QString).
class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;
  // The file to open; empty when the user cancels.
  virtual QString OpenFileName(QWidget* parent) = 0;
  // The file to save to, starting in `directory` with `proposedName`; empty on cancel.
  virtual QString SaveFileName(QWidget* parent, const QString& directory,
                               const QString& proposedName) = 0;
  // The same for the offer of a GAEB 90 tender, which may also be saved as a
  // GAEB 2000 D84: `gaeb2000` says whether the user chose that. A dialog that
  // offers no choice answers as SaveFileName, in the tender's format.
  virtual QString SaveOfferFileName(QWidget* parent, const QString& directory,
                                    const QString& proposedName, bool& gaeb2000) {
    gaeb2000 = false;
    return SaveFileName(parent, directory, proposedName);
  }
  // The print dialog on a printer whose job title is set; false on cancel.
  virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;

  enum class SaveChanges { Save, Discard, Cancel };
  // "Die Änderungen an <fileName> speichern?" with Ja, Nein and Abbrechen.
  virtual SaveChanges AskSaveChanges(QWidget* parent, const QString& fileName) = 0;
  // An input box starting with `value`: the text typed, or `value` on cancel.
  virtual QString InputBox(QWidget* parent, const QString& title, const QString& prompt,
                           const QString& value) = 0;
};
