#include "ui/print_preview.h"

#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "document/lyx_obj.h"
#include "document/offer_report.h"
#include "ui/print_command.h"
#include "ui/printer_text_device.h"
#include "util/message_boxes.h"

void PreviewOfferCommand(KsLyxObj& document, bool longTexts, QWidget* parent) {
  if (!document.Reader()) {
    MessageBoxes().ShowError(
        "Es sind keine Daten zum Drucken vorhanden. Bitte \xF6"
        "ffnen Sie zun\xE4"
        "chst eine "
        "GAEB-Datei.");
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  KeepPrintMargins(printer);
  if (PrinterPageChars(printer, kOfferTablePoints) < OfferTableWidth(document))
    printer.setPageOrientation(QPageLayout::Landscape);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
  dialog.setWindowTitle(QStringLiteral("Druckvorschau"));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&document, longTexts](QPrinter* target) {
                     KeepPrintMargins(*target);
                     if (!PaintOffer(document, longTexts, *target))
                       MessageBoxes().ShowError(
                           TooNarrowMessage(PrinterPageChars(*target, kOfferTablePoints),
                                            OfferTableWidth(document)) +
                           " Bitte w\xE4hlen Sie das Querformat oder ein breiteres Papier.");
                   });
  dialog.resize(1000, 750);
  dialog.exec();
}
