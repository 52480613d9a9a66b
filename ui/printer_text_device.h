#pragma once

#include <QPainter>

#include "document/text_device.h"

class QPrinter;

// Margins of the print: at least 15 mm on every side, wider where the user
// chose so.
void KeepPrintMargins(QPrinter& printer);
// Characters of the monospaced print font at `points` that fit across the
// printable width of the page.
int PrinterPageChars(const QPrinter& printer, int points);

// The printer as a device for monospaced text lines: a line that no longer
// fits on the page starts a new one. The printer comes set up by the print
// dialog (printer or PDF file, job title); its margins are kept.
class PrinterTextDevice final : public TextDevice {
 public:
  explicit PrinterTextDevice(QPrinter& printer);
  ~PrinterTextDevice() override;
  PrinterTextDevice(const PrinterTextDevice&) = delete;
  PrinterTextDevice& operator=(const PrinterTextDevice&) = delete;

  // False when the printer could not be started (for example an unwritable
  // PDF file); the device then writes nothing.
  bool IsOpen() const;

  void SetFontSize(int points) override;
  int PageChars() const override;
  int PageNumber() const override;
  void WriteLine(const std::string& text) override;
  void Close() override;

 private:
  bool PageFull() const;
  void WriteSubLine(const QString& text);

  QPrinter& printer_;
  QPainter painter_;
  int points_ = 0;
  int page_height_ = 0;
  int page_ = 1;
  int y_ = 0;
};
