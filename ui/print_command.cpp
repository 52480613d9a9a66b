#include "ui/print_command.h"

#include <QFile>

#include "document/lyx_obj.h"
#include "document/offer_report.h"
#include "ui/printer_text_device.h"
#include "ui/qstring_codec.h"
#include "ui/window_dialogs.h"
#include "util/message_boxes.h"

namespace {

// The imported file's name without its extension, as the user reads it.
std::string NameWithoutExtension(const KsLyxObj& document) {
  QString name = QFile::decodeName(QByteArray::fromStdString(document.FileName()));
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  return ToCp1252(name);
}

}  // namespace

QtPrintTarget::QtPrintTarget(WindowDialogs& dialogs, QWidget* parent)
    : dialogs_(dialogs), parent_(parent) {}

QPrinter& QtPrintTarget::Printer() const {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

bool QtPrintTarget::Choose(const std::string& jobTitle) {
  QPrinter& printer = Printer();
  printer.setDocName(FromCp1252(jobTitle));
  // The dialog offers the margins the print keeps, and may not narrow them.
  KeepPrintMargins(printer);
  if (!dialogs_.ChoosePrinter(parent_, printer)) return false;
  KeepPrintMargins(printer);
  return true;
}

int QtPrintTarget::PageChars(int points) const { return PrinterPageChars(Printer(), points); }

int QtPrintTarget::CountPages(const std::function<void(TextDevice&)>& print) {
  PrinterTextDevice measure(Printer(), PrinterTextDevice::Mode::Measure);
  print(measure);
  return measure.PagesUsed();
}

bool PaintOffer(KsLyxObj& document, bool longTexts, QPrinter& printer) {
  const std::unique_ptr<std::vector<std::string>> head = document.BuildPrintHeader();
  if (!head) return false;
  const std::string name = NameWithoutExtension(document);
  PrinterTextDevice measure(printer, PrinterTextDevice::Mode::Measure);
  if (!PrintOffer(document, *head, measure, name, longTexts)) return false;
  PrinterTextDevice device(printer);
  return device.IsOpen() &&
         PrintOffer(document, *head, device, name, longTexts, measure.PagesUsed());
}

std::unique_ptr<TextDevice> QtPrintTarget::Open() {
  auto device = std::make_unique<PrinterTextDevice>(Printer());
  if (!device->IsOpen()) return nullptr;
  return device;
}

void PrintOfferCommand(KsLyxObj& document, bool longTexts, PrintTarget& target) {
  if (!document.Reader() && !document.Loaded()) {  // a restored offer has no reader
    MessageBoxes().ShowError(
        "Es sind keine Daten zum Drucken vorhanden. Bitte \xF6"
        "ffnen Sie zun\xE4"
        "chst eine "
        "GAEB-Datei.");
    return;
  }
  const std::string name = NameWithoutExtension(document);
  if (!target.Choose("Angebotsdruck " + name)) return;
  const std::unique_ptr<std::vector<std::string>> head = document.BuildPrintHeader();
  if (!head) {
    MessageBoxes().ShowError(document.LastError);
    return;
  }
  const int needed = OfferTableWidth(document);
  const int available = target.PageChars(kOfferTablePoints);
  if (available < needed) {
    MessageBoxes().ShowError(TooNarrowMessage(available, needed) +
                             " Bitte w\xE4hlen Sie das Querformat oder ein breiteres Papier.");
    return;
  }
  const std::unique_ptr<TextDevice> device = target.Open();
  if (!device) {
    MessageBoxes().ShowError("Der Drucker konnte nicht gestartet werden.");
    return;
  }
  const int pages = target.CountPages(
      [&](TextDevice& measure) { PrintOffer(document, *head, measure, name, longTexts); });
  PrintOffer(document, *head, *device, name, longTexts, pages);
}
