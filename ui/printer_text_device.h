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
// dialog (printer or PDF file, job title, page range: pages outside it are
// laid out and not printed); its margins are kept. Measuring lays the pages
// out as printing would and prints nothing, to count them first.
class PrinterTextDevice final : public TextDevice {
 public:
  enum class Mode { Print, Measure };
  explicit PrinterTextDevice(QPrinter& printer, Mode mode = Mode::Print);
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
  // The pages written so far.
  int PagesUsed() const { return page_; }

 private:
  bool PageFull() const;
  void WriteSubLine(const QString& text);
  // Within the page range chosen (every page when none was).
  bool Printed(int page) const;

  QPrinter& printer_;
  const bool measuring_;
  QPainter painter_;
  QFont font_;
  bool anyPrinted_ = false;
  int points_ = 0;
  int page_height_ = 0;
  int page_ = 1;
  int y_ = 0;
};
