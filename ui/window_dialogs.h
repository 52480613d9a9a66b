#pragma once

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

// The standard dialogs of the main window, behind an interface so that tests
// can answer them. Paths are the file system's own (QString).
class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;
  // The file to open; empty when the user cancels.
  virtual QString OpenFileName(QWidget* parent) = 0;
  // The tender an offer answers, when it is not beside it ("Zugehörige
  // Ausschreibung wählen"), starting in `directory`; empty on cancel.
  virtual QString TenderFileName(QWidget* parent, const QString& directory) = 0;
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
  // A workbook to take prices from (.xlsx, .csv); empty on cancel.
  virtual QString OpenWorkbookName(QWidget* parent) = 0;
  // Where to export the LV; the proposed name's suffix (.xlsx, .csv) gives
  // the format. Empty on cancel.
  virtual QString SaveWorkbookName(QWidget* parent, const QString& proposedName) = 0;
  // The print dialog on a printer whose job title is set; false on cancel.
  virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;

  enum class SaveChanges { Save, Discard, Cancel };
  // A question whether to save first ("Die Änderungen an ... speichern?")
  // with Ja, Nein and Abbrechen.
  virtual SaveChanges AskSaveChanges(QWidget* parent, const QString& question) = 0;
  // What is missing in the offer, with "Trotzdem fortfahren" (true) and "Abbrechen".
  virtual bool GoOnDespite(QWidget* parent, const QString& findings) = 0;
  // An input box starting with `value`: the text typed, nothing on cancel.
  virtual std::optional<QString> InputBox(QWidget* parent, const QString& title,
                                          const QString& prompt, const QString& value) = 0;
};
