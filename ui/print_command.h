#pragma once

#include <QPrinter>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class KsLyxObj;
class TextDevice;
class WindowDialogs;
class QWidget;

// Where the offer print goes: chosen in a dialog, then opened as a text device.
class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  // The print dialog for a job of this title; false when the user cancels.
  virtual bool Choose(const std::string& jobTitle) = 0;
  // Characters across the chosen page in the print font at this size.
  virtual int PageChars(int points) const = 0;
  // The chosen printer as a text device; nullptr when it cannot be started.
  virtual std::unique_ptr<TextDevice> Open() = 0;
  // The pages `print` fills on the chosen printer, laid out and not printed.
  virtual int CountPages(const std::function<void(TextDevice&)>& print) = 0;
};

// A printer (or PDF file) of the system, chosen in the print dialog.
class QtPrintTarget final : public PrintTarget {
 public:
  QtPrintTarget(WindowDialogs& dialogs, QWidget* parent);
  bool Choose(const std::string& jobTitle) override;
  int PageChars(int points) const override;
  std::unique_ptr<TextDevice> Open() override;
  int CountPages(const std::function<void(TextDevice&)>& print) override;

 private:
  // The printer, made at the first print: making one loads the system's
  // print support, which a window that never prints need not hold.
  QPrinter& Printer() const;

  WindowDialogs& dialogs_;
  QWidget* parent_;
  mutable std::unique_ptr<QPrinter> printer_;  // keeps the choices from one print to the next
};

// The command "Drucken": refuses without an imported file, runs the print
// dialog for the job "Angebotsdruck " + the file's name, and prints the head
// and the offer report to the chosen device; a page too narrow for the
// table is refused before anything is printed.
void PrintOfferCommand(KsLyxObj& document, bool longTexts, PrintTarget& target);
// The offer print onto a printer set up already (the preview's, or one
// chosen): its pages counted first, so that each says "Seite x von y".
// False when the table does not fit the page.
bool PaintOffer(KsLyxObj& document, bool longTexts, QPrinter& printer);
